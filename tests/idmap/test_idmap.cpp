#include "idmap/idmap_datei.h"
#include "idmap/logins.h"
#include "idmap_bau.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QtTest>

using namespace qk;
using test::Idmap_Satz;

namespace {

// A temporary folder and the state of a fresh run.
struct Ordner {
    test::TempOrdner t;
    test::TestPlattform p;
    Zustand z{p};
};

} // namespace

class TestIdmap : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { datei::Fehlerhaken_Setzen({}); }

    void writesOnlyLiveRecordsByteForByte() {
        const QByteArray bytes = Idmap_Bytes({{QString(), 3, "ANNA", "PC03", "C:\\CAD\\"},
                                              {"DEL", 7, "BERT", "PC07", "C:\\"},
                                              {"A", 9, "CARL", QString(), QString()}});
        QCOMPARE(bytes.size(), 1562);
        QCOMPARE(bytes, Idmap_Satz(3, "ANNA", "PC03", "C:\\CAD\\") + Idmap_Satz(9, "CARL"));
        // The NUL ends the four-letter name, blanks fill the field; a text that is too long
        // keeps its NUL.
        QCOMPARE(bytes.mid(5, 2), QByteArray("\0 ", 2));
        QCOMPARE(Idmap_Bytes({{QString(), 5, QString(300, 'x'), {}, {}}}).mid(1, 260),
                 QByteArray(259, 'x') + '\0');
    }

    void reads_data() {
        QTest::addColumn<QByteArray>("inhalt"); // null: no map
        QTest::addColumn<QString>("ordner");
        QTest::addColumn<QStringList>("namen");
        QTest::addColumn<QString>("meldung"); // title|text, %1 the folder
        const QByteArray drei = Idmap_Satz(1, "ANNA") + Idmap_Satz(2, "BERT") + Idmap_Satz(3, "C");
        QByteArray viele, ohneNull = Idmap_Satz(2, "BERT");
        QStringList namen;
        for (int i = 0; i < 300; ++i) {
            viele += Idmap_Satz(quint8(i % 254 + 1), QByteArray::number(i));
            namen << QString::number(i);
        }
        ohneNull.replace(261, 260, QByteArray(260, 'y'));
        const QStringList abc{"ANNA", "BERT", "C"};
        QTest::newRow("terminator") << drei + '\0' << "" << abc << "";
        QTest::newRow("trimmed") << Idmap_Satz(4, "  ERNA  ") << "" << QStringList{"ERNA"} << "";
        QTest::newRow("windows-1252")
            << Idmap_Satz(1, "J\xFCrgen \x80") << "" << QStringList{"Jürgen €"} << "";
        QTest::newRow("300 records")
            << viele << "" << namen.mid(0, 256)
            << "Qk_Idmap_Öffnen_Error|Error when loading  ''%1QK_IDMAP.NET''\r\nError number: 6";
        QTest::newRow("field without NUL")
            << Idmap_Satz(1, "ANNA") + ohneNull << "" << QStringList{"ANNA"}
            << "Qk_Idmap_Öffnen_Error|Error when loading  ''%1QK_IDMAP.NET''\r\nError number: 5";
        QTest::newRow("no map")
            << QByteArray() << "" << QStringList()
            << "Invalid Global Directory|File  ''%1QK_IDMAP.NET''  not found !\r\n";
        QTest::newRow("missing folder")
            << QByteArray() << "weg/" << QStringList()
            << "Qk_Idmap_Öffnen_Error|File  ''%1QK_IDMAP.NET''  not found !";
    }
    void reads() {
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, ordner);
        QFETCH(QStringList, namen);
        QFETCH(QString, meldung);
        Ordner o;
        if (!inhalt.isNull())
            o.t.Datei("QK_IDMAP.NET", inhalt);
        o.z.IdmapListe = {{"A", 99, "ALT", "", ""}, {"DEL", 98, "ALT2", "", ""}};
        Qk_Idmap_Öffnen(o.z, o.t.Pfad() + ordner);
        QStringList gelesen;
        for (const IdmapEintrag& e : o.z.IdmapListe)
            gelesen << e.UserName + e.Status;
        QCOMPARE(gelesen, namen);
        QStringList gezeigt;
        for (const test::GezeigteMeldung& m : o.p.meldungen)
            gezeigt << m.titel + '|' + m.text;
        QCOMPARE(gezeigt,
                 meldung.isEmpty() ? QStringList() : QStringList{meldung.arg(o.t.Pfad() + ordner)});
        QVERIFY2(inhalt.isNull() == !o.t.Existiert("QK_IDMAP.NET"), "reading creates no map");
    }

    void saveKeepsBackupAndSpelling() {
        Ordner o;
        // No map yet: it is created, without a backup.
        o.z.IdmapListe = {{QString(), 7, "OTTO", "", ""}};
        QVERIFY(Qk_Idmap_Speichern(o.z, o.t.Pfad()));
        QVERIFY(!o.t.Existiert("QK_IDMAP.BAK"));
        QVERIFY(QFile::rename(o.t.Pfad() + "QK_IDMAP.NET", o.t.Pfad() + "qk_idmap.net"));
        // A lower-case file is the map; the backup gets the program's spelling.
        Qk_Idmap_Öffnen(o.z, o.t.Pfad());
        QCOMPARE(o.z.IdmapListe.size(), 1);
        for (const char* name : {"OTTMAR", "OLAF"}) {
            o.z.IdmapListe[0].UserName = name;
            QVERIFY(Qk_Idmap_Speichern(o.z, o.t.Pfad()));
        }
        QVERIFY(!o.t.Existiert("QK_IDMAP.NET"));
        QCOMPARE(o.t.Lesen("qk_idmap.net"), Idmap_Satz(7, "OLAF"));
        QCOMPARE(o.t.Lesen("QK_IDMAP.BAK"), Idmap_Satz(7, "OTTMAR"));
        QVERIFY(o.p.meldungen.isEmpty());

        // A save that cannot replace the map leaves the old one intact and readable.
        datei::Fehlerhaken_Setzen([](datei::Vorgang v, const QString&) {
            if (v == datei::Vorgang::Ersetzen)
                throw Fehler(FEHLER_DATENTRAEGER_VOLL);
        });
        o.z.IdmapListe = {{QString(), 1, "NEU", "", ""}, {QString(), 2, "NEU", "", ""}};
        QVERIFY(!Qk_Idmap_Speichern(o.z, o.t.Pfad()));
        datei::Fehlerhaken_Setzen({});
        QCOMPARE(o.p.Titel(), QStringList{"Qk_Idmap_Speichern_Error"});
        QCOMPARE(o.p.meldungen[0].text,
                 "Error when saving  ''" + o.t.Pfad() + "QK_IDMAP.NET''\r\nError number: 61");
        QCOMPARE(o.t.Lesen("qk_idmap.net"), Idmap_Satz(7, "OLAF"));
        Qk_Idmap_Öffnen(o.z, o.t.Pfad());
        QCOMPARE(o.z.IdmapListe.size(), 1);
    }

    void logins_data() {
        QTest::addColumn<QStringList>("marken");
        QTest::addColumn<QString>("vorher"); // users 7, 12, 30: '-', 'A' or 'D' (removed)
        QTest::addColumn<QString>("nachher");
        QTest::addColumn<int>("anzahl");
        // Reading stops at a letter; no number is user 0; above 255 counts but names nobody.
        // A removed user with a marker comes back. Without the map nothing changes.
        for (const char* zeile :
             {"007|_!qkA007,_!qk_012,anderes.txt|---|AA-|2", "upper-case prefix|_!QKA030|---|---|0",
              "7x1, letters, 300|_!qkX7x1,_!qkXabc,_!qkX300,_!qkX 12|---|AA-|4",
              "old logins, removed user|_!qkA030|ADD|-DA|1", "no map|_!qkA007,-|-A-|-A-|5"}) {
            const QStringList t = QString::fromLatin1(zeile).split('|');
            QTest::newRow(qPrintable(t[0])) << t[1].split(',') << t[2] << t[3] << t[4].toInt();
        }
    }
    void logins() {
        QFETCH(QStringList, marken);
        QFETCH(QString, vorher);
        QFETCH(QString, nachher);
        QFETCH(int, anzahl);
        Ordner o;
        if (!marken.contains("-"))
            o.t.Datei("QK_IDMAP.NET", "");
        for (const QString& m : marken)
            o.t.Datei(m, "");
        o.z.GlobalPath = o.t.Pfad();
        o.z.LoginAnzahl = 5;
        for (int i = 0; i < 3; ++i)
            o.z.IdmapListe.append({QString(vorher[i]).replace("D", "DEL").remove('-'),
                                   quint8(QList<int>{7, 12, 30}[i]), "", "", ""});
        UserLogins_Ermitteln(o.z);
        QString stand;
        for (const IdmapEintrag& e : o.z.IdmapListe)
            stand += e.Status.isEmpty() ? QChar('-') : e.Status[0];
        QCOMPARE(stand, nachher);
        QCOMPARE(o.z.LoginAnzahl, anzahl);
        QVERIFY(o.p.meldungen.isEmpty());
        if (marken.contains("-"))
            return;
        // No users, or no Global Directory: reported.
        o.z.IdmapListe.clear();
        UserLogins_Ermitteln(o.z);
        o.z.GlobalPath += "weg/";
        UserLogins_Ermitteln(o.z);
        QCOMPARE(o.p.meldungen.size(), 2);
        QCOMPARE(o.p.meldungen[0].text,
                 QStringLiteral("Error when detecting logins.\r\nError number: 9"));
        QCOMPARE(o.p.meldungen[1].text,
                 QStringLiteral("Error when detecting logins.\r\nError number: 76"));
    }
};

QTEST_GUILESS_MAIN(TestIdmap)
#include "test_idmap.moc"
