#include "config/libpaths.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QtTest>

using namespace qk;

class TestLibPaths : public QObject {
    Q_OBJECT
private slots:
    void contentBytes() {
        QCOMPARE(LibPaths_Inhalt({}), QByteArray());
        QCOMPARE(LibPaths_Inhalt({QStringLiteral("F:\\LIB1\\"), QStringLiteral("/mnt/Büro/")}),
                 QByteArray("F:\\LIB1\\\r\n/mnt/B\xFCro/\r\n"));
        // An empty entry read from a hand-edited file is written back as it was.
        QCOMPARE(LibPaths_Inhalt({QString(), QStringLiteral("a")}), QByteArray("\r\na\r\n"));
    }

    void writesWholeFile() {
        test::TempOrdner t;
        t.Datei(QStringLiteral("QK_LIBPATHS.TXT"), "old-first\r\nold-second\r\nold-third\r\n");
        test::TestPlattform p;
        Zustand z(p);
        z.LibListe = {QStringLiteral("/a/"), QStringLiteral("/b/")};
        QVERIFY(Datei_LibPath_Schreiben(z, t.Pfad()));
        QCOMPARE(t.Lesen(QStringLiteral("QK_LIBPATHS.TXT")), QByteArray("/a/\r\n/b/\r\n"));
        QVERIFY(p.meldungen.isEmpty());
    }

    void failedWriteIsReportedAndKeepsOldFile() {
        test::TempOrdner t;
        t.Datei(QStringLiteral("QK_LIBPATHS.TXT"), "old\r\n");
        test::TestPlattform p;
        Zustand z(p);
        z.LibListe = {QStringLiteral("/new/")};
        datei::Fehlerhaken_Setzen(
            [](datei::Vorgang, const QString&) { throw Fehler(FEHLER_DATENTRAEGER_VOLL); });
        const bool geschrieben = Datei_LibPath_Schreiben(z, t.Pfad());
        datei::Fehlerhaken_Setzen({});
        QVERIFY(!geschrieben);
        QCOMPARE(t.Lesen(QStringLiteral("QK_LIBPATHS.TXT")), QByteArray("old\r\n"));
        QCOMPARE(p.meldungen.size(), 1);
        QCOMPARE(p.meldungen[0].text,
                 QStringLiteral("Error when writting QK_LIBPATHS.TXT.\r\nError number: 61"));
        QCOMPARE(p.meldungen[0].titel, QStringLiteral("Datei_LibPath_Schreiben_Error"));
        QCOMPARE(p.meldungen[0].symbol, Symbol::Ausruf);
    }

    void missingFolderIsReported() {
        test::TempOrdner t;
        test::TestPlattform p;
        Zustand z(p);
        z.LibListe = {QStringLiteral("/x/")};
        QVERIFY(!Datei_LibPath_Schreiben(z, t.Pfad() + QStringLiteral("fehlt/")));
        QVERIFY(!Datei_LibPath_Schreiben(z, QString()));
        QCOMPARE(p.Titel(), QStringList(2, QStringLiteral("Datei_LibPath_Schreiben_Error")));
        for (const test::GezeigteMeldung& m : p.meldungen)
            QVERIFY2(m.text.endsWith(QStringLiteral("Error number: 76")), qPrintable(m.text));
        QVERIFY(!QFile::exists(QStringLiteral("QK_LIBPATHS.TXT")));
    }

    void takeIntoList_data() {
        QTest::addColumn<QStringList>("vorher");
        QTest::addColumn<QString>("pfad");
        QTest::addColumn<int>("ergebnis");
        QTest::addColumn<QStringList>("nachher");
        QTest::newRow("no entries yet")
            << QStringList{} << "/a/" << int(Aufnahme::Erste) << QStringList{"/a/"};
        QTest::newRow("appended") << QStringList{"/a/"} << "/b/" << int(Aufnahme::Angehaengt)
                                  << QStringList{"/a/", "/b/"};
        QTest::newRow("already listed") << QStringList{"/a/", "/b/"} << "/b/"
                                        << int(Aufnahme::Vorhanden) << QStringList{"/a/", "/b/"};
        QTest::newRow("letter case differs")
            << QStringList{"/a/"} << "/A/" << int(Aufnahme::Angehaengt)
            << QStringList{"/a/", "/A/"};
        QTest::newRow("empty first entry is taken")
            << QStringList{"", "/b/"} << "/c/" << int(Aufnahme::Angehaengt)
            << QStringList{"/c/", "/b/"};
        QTest::newRow("nothing chosen, no entries")
            << QStringList{} << "" << int(Aufnahme::Leer) << QStringList{};
        QTest::newRow("nothing chosen, entries")
            << QStringList{"/a/"} << "" << int(Aufnahme::Leer) << QStringList{"/a/"};
    }
    void presentComparesExactly() {
        const QStringList liste = {QStringLiteral("/srv/Lib/")};
        QVERIFY(LibPath_Vorhanden(liste, QStringLiteral("/srv/Lib/")));
        QVERIFY(!LibPath_Vorhanden(liste, QStringLiteral("/srv/LIB/")));
        QVERIFY(!LibPath_Vorhanden(liste, QStringLiteral("/srv/Lib")));
    }

    void takeIntoList() {
        QFETCH(QStringList, vorher);
        QFETCH(QString, pfad);
        QFETCH(int, ergebnis);
        QFETCH(QStringList, nachher);
        QStringList liste = vorher;
        QCOMPARE(int(LibPath_Aufnehmen(liste, pfad)), ergebnis);
        QCOMPARE(liste, nachher);
    }
};

QTEST_APPLESS_MAIN(TestLibPaths)
#include "test_libpaths.moc"
