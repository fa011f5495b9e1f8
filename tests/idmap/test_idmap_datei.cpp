#include "idmap/idmap_datei.h"
#include "idmap_bau.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QtTest>

using namespace qk;

class TestIdmapDatei : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { datei::Fehlerhaken_Setzen({}); }

    void writesOnlyLiveRecordsByteForByte() {
        QList<IdmapEintrag> liste{{QString(), 3, "ANNA", "PC03", "C:\\CAD\\"},
                                  {"DEL", 7, "BERT", "PC07", "C:\\"},
                                  {"A", 9, "CARL", QString(), QString()}};
        const QByteArray erwartet =
            test::Idmap_Satz(3, "ANNA", "PC03", "C:\\CAD\\") + test::Idmap_Satz(9, "CARL");
        const QByteArray bytes = Idmap_Bytes(liste);
        QCOMPARE(bytes.size(), 1562);
        QCOMPARE(bytes, erwartet);
        // byte 6 of the first record ends the four-letter name, the rest of the field is blank
        QCOMPARE(bytes[5], '\0');
        QCOMPARE(bytes[6], ' ');
    }

    void longTextsKeepTheirNul() {
        const QString lang(300, QLatin1Char('x'));
        const QByteArray bytes = Idmap_Bytes({{QString(), 5, lang, QString(), QString()}});
        QCOMPARE(bytes.size(), 781);
        QCOMPARE(bytes.mid(1, 259), QByteArray(259, 'x'));
        QCOMPARE(bytes[260], '\0');
        // and what was written reads back
        test::TempOrdner t;
        t.Datei("QK_IDMAP.NET", bytes);
        test::TestPlattform p;
        Zustand z(p);
        Qk_Idmap_Öffnen(z, t.Pfad());
        QCOMPARE(z.IdmapListe.size(), 1);
        QCOMPARE(z.IdmapListe[0].UserName, QString(259, QLatin1Char('x')));
        QVERIFY(p.meldungen.isEmpty());
    }

    void reads_data() {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QStringList>("namen");
        const QByteArray drei =
            test::Idmap_Satz(1, "ANNA") + test::Idmap_Satz(2, "BERT") + test::Idmap_Satz(3, "CARL");
        QTest::newRow("three records") << drei << QStringList{"ANNA", "BERT", "CARL"};
        QTest::newRow("terminator")
            << drei + QByteArray(1, '\0') << QStringList{"ANNA", "BERT", "CARL"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("single zero") << QByteArray(1, '\0') << QStringList{};
        QTest::newRow("zero record ends")
            << test::Idmap_Satz(1, "ANNA") + test::Idmap_Satz(0, "X") + test::Idmap_Satz(3, "CARL")
            << QStringList{"ANNA"};
        QTest::newRow("trimmed both sides")
            << test::Idmap_Satz(4, "  ERNA  ") << QStringList{"ERNA"};
        QTest::newRow("six letters") << test::Idmap_Satz(4, "FRIEDA") << QStringList{"FRIEDA"};
        QTest::newRow("windows-1252")
            << test::Idmap_Satz(1, "J\xFCrgen \x80") << QStringList{"Jürgen €"};
    }
    void reads() {
        QFETCH(QByteArray, inhalt);
        QFETCH(QStringList, namen);
        test::TempOrdner t;
        t.Datei("QK_IDMAP.NET", inhalt);
        test::TestPlattform p;
        Zustand z(p);
        z.IdmapListe = {{"A", 99, "ALT", "", ""}, {"DEL", 98, "ALT2", "", ""}};
        Qk_Idmap_Öffnen(z, t.Pfad());
        QStringList gelesen;
        for (const IdmapEintrag& e : z.IdmapListe) {
            gelesen << e.UserName;
            QVERIFY(e.Status.isEmpty());
        }
        QCOMPARE(gelesen, namen);
        QVERIFY(p.meldungen.isEmpty());
    }

    void readsAtMost256Records() {
        QByteArray inhalt;
        for (int i = 0; i < 300; ++i)
            inhalt += test::Idmap_Satz(static_cast<quint8>(i % 254 + 1), QByteArray::number(i));
        test::TempOrdner t;
        t.Datei("QK_IDMAP.NET", inhalt);
        test::TestPlattform p;
        Zustand z(p);
        Qk_Idmap_Öffnen(z, t.Pfad());
        QCOMPARE(z.IdmapListe.size(), 256);
        QCOMPARE(z.IdmapListe.last().UserName, QStringLiteral("255"));
    }

    void fieldWithoutNulStopsWithMessage() {
        QByteArray kaputt = test::Idmap_Satz(2, "BERT");
        kaputt.replace(261, 260, QByteArray(260, 'y'));
        test::TempOrdner t;
        t.Datei("QK_IDMAP.NET", test::Idmap_Satz(1, "ANNA") + kaputt + test::Idmap_Satz(3, "CARL"));
        test::TestPlattform p;
        Zustand z(p);
        Qk_Idmap_Öffnen(z, t.Pfad());
        QCOMPARE(z.IdmapListe.size(), 1);
        QCOMPARE(p.meldungen.size(), 1);
        QCOMPARE(p.meldungen[0].titel, QStringLiteral("Qk_Idmap_Öffnen_Error"));
        QCOMPARE(p.meldungen[0].text,
                 "Error when loading  ''" + t.Pfad() + "QK_IDMAP.NET''\r\nError number: 5");
    }

    void missingFolderAndMissingMap() {
        test::TempOrdner t;
        test::TestPlattform p;
        Zustand z(p);
        const QString weg = t.Pfad() + "weg/";
        Qk_Idmap_Öffnen(z, weg);
        QCOMPARE(p.meldungen[0].titel, QStringLiteral("Qk_Idmap_Öffnen_Error"));
        QCOMPARE(p.meldungen[0].text, "File  ''" + weg + "QK_IDMAP.NET''  not found !");
        QCOMPARE(p.meldungen[0].symbol, Symbol::Ausruf);

        Qk_Idmap_Öffnen(z, t.Pfad());
        QCOMPARE(p.meldungen[1].titel, QStringLiteral("Invalid Global Directory"));
        QCOMPARE(p.meldungen[1].text, "File  ''" + t.Pfad() + "QK_IDMAP.NET''  not found !\r\n");
        QVERIFY(z.IdmapListe.isEmpty());
        QVERIFY2(!t.Existiert("QK_IDMAP.NET"), "reading must not create the map");
    }

    void lowerCaseFileIsTheMap() {
        test::TempOrdner t;
        t.Datei("qk_idmap.net", test::Idmap_Satz(7, "OTTO"));
        test::TestPlattform p;
        Zustand z(p);
        Qk_Idmap_Öffnen(z, t.Pfad());
        QCOMPARE(z.IdmapListe.size(), 1);
        z.IdmapListe[0].UserName = "OTTMAR";
        Qk_Idmap_Speichern(z, t.Pfad());
        QVERIFY(!t.Existiert("QK_IDMAP.NET"));
        QCOMPARE(t.Lesen("qk_idmap.net"), test::Idmap_Satz(7, "OTTMAR"));
        // no case variant of the backup exists, so it gets the program's spelling
        QCOMPARE(t.Lesen("QK_IDMAP.BAK"), test::Idmap_Satz(7, "OTTO"));
    }

    void saveMakesBackupOfPreviousContent() {
        test::TempOrdner t;
        t.Datei("QK_IDMAP.NET", test::Idmap_Satz(1, "ALT"));
        t.Datei("QK_IDMAP.BAK", "older backup");
        test::TestPlattform p;
        Zustand z(p);
        z.IdmapListe = {{QString(), 1, "NEU", "", ""}};
        Qk_Idmap_Speichern(z, t.Pfad());
        QCOMPARE(t.Lesen("QK_IDMAP.BAK"), test::Idmap_Satz(1, "ALT"));
        QCOMPARE(t.Lesen("QK_IDMAP.NET"), test::Idmap_Satz(1, "NEU"));
        QVERIFY(p.meldungen.isEmpty());
    }

    void saveWithoutMapCreatesItWithoutBackup() {
        test::TempOrdner t;
        test::TestPlattform p;
        Zustand z(p);
        z.IdmapListe = {{QString(), 2, "NEU", "", ""}};
        Qk_Idmap_Speichern(z, t.Pfad());
        QVERIFY(!t.Existiert("QK_IDMAP.BAK"));
        QCOMPARE(t.Lesen("QK_IDMAP.NET"), test::Idmap_Satz(2, "NEU"));
    }

    void failedSaveLeavesOldMapReadable() {
        test::TempOrdner t;
        const QByteArray alt = test::Idmap_Satz(1, "ANNA") + test::Idmap_Satz(2, "BERT");
        t.Datei("QK_IDMAP.NET", alt);
        test::TestPlattform p;
        Zustand z(p);
        z.IdmapListe = {{QString(), 1, "NEU", "", ""}};
        datei::Fehlerhaken_Setzen([](datei::Vorgang v, const QString&) {
            if (v == datei::Vorgang::Ersetzen)
                throw Fehler(FEHLER_DATENTRAEGER_VOLL);
        });
        Qk_Idmap_Speichern(z, t.Pfad());
        datei::Fehlerhaken_Setzen({});
        QCOMPARE(p.meldungen.size(), 1);
        QCOMPARE(p.meldungen[0].titel, QStringLiteral("Qk_Idmap_Speichern_Error"));
        QCOMPARE(p.meldungen[0].text,
                 "Error when saving  ''" + t.Pfad() + "QK_IDMAP.NET''\r\nError number: 61");
        QCOMPARE(t.Lesen("QK_IDMAP.NET"), alt);
        Qk_Idmap_Öffnen(z, t.Pfad());
        QCOMPARE(z.IdmapListe.size(), 2);
    }

    void saveIntoVanishedFolder() {
        test::TempOrdner t;
        test::TestPlattform p;
        Zustand z(p);
        z.IdmapListe = {{QString(), 1, "NEU", "", ""}};
        const QString weg = t.Pfad() + "weg/";
        Qk_Idmap_Speichern(z, weg);
        QCOMPARE(p.meldungen.size(), 1);
        QCOMPARE(p.meldungen[0].titel, QStringLiteral("Qk_Idmap_Speichern_Error"));
        QCOMPARE(p.meldungen[0].text, "File  ''" + weg + "QK_IDMAP.NET''  not found !");
    }

    void removedUserNoteOnEverySave() {
        test::TempOrdner t;
        test::TestPlattform p;
        Zustand z(p);
        z.UserEntfernt = true;
        z.IdmapListe = {{"DEL", 7, "WEG", "", ""}, {QString(), 8, "DA", "", ""}};
        Qk_Idmap_Speichern(z, t.Pfad());
        Qk_Idmap_Speichern(z, t.Pfad());
        QCOMPARE(p.meldungen.size(), 2);
        QCOMPARE(p.meldungen[1].titel, QStringLiteral("Removed user"));
        QCOMPARE(p.meldungen[1].symbol, Symbol::Stopp);
        QCOMPARE(p.meldungen[1].text,
                 QStringLiteral("                   You have removed a user from the booking "
                                "system.\r\nPlease delete the file \"QK_LOCAL.NET\" in the program "
                                "folder of TAVLO, too !"));
        QCOMPARE(t.Lesen("QK_IDMAP.NET"), test::Idmap_Satz(8, "DA"));
    }
};

QTEST_GUILESS_MAIN(TestIdmapDatei)
#include "test_idmap_datei.moc"
