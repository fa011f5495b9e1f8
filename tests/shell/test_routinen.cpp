#include "platform/fehler.h"
#include "shell/routinen.h"
#include "shell/texte.h"
#include "shell/zahl.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QtTest>

using namespace qk;

class TestRoutinen : public QObject {
    Q_OBJECT
private slots:
    void textTable() {
        QCOMPARE(Textnummern().size(), 199);
        QCOMPARE(LoadResString(1115), QStringLiteral("  ?"));
        QCOMPARE(LoadResString(3000).size(), 56);
        QCOMPARE(LoadResString(3010).size(), 51);
        QCOMPARE(LoadResString(2126),
                 QStringLiteral("Please delete the file \"QK_LOCAL.NET\" in the program folder of "
                                "TAVLO, too !"));
        QVERIFY_THROWS_EXCEPTION(Fehler, LoadResString(230));
    }

    void cutAtNul() {
        QCOMPARE(Bis_Null_Abschneiden(QString::fromLatin1("ab\0cd", 5)), QStringLiteral("ab"));
        QCOMPARE(Bis_Null_Abschneiden(QString::fromLatin1("\0", 1)), QString());
        try {
            Bis_Null_Abschneiden("ohne");
            QFAIL("no error");
        } catch (const Fehler& f) {
            QCOMPARE(f.Nummer(), int(FEHLER_ARGUMENT));
        }
    }

    void numbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert");
        QTest::newRow("7 and letters") << "7abc" << 7.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("half down to even") << "2.5" << 2.0;
        QTest::newRow("half up to even") << "3.5" << 4.0;
        QTest::newRow("leading blanks") << "   12" << 12.0;
        QTest::newRow("sign") << "-3" << -3.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("second point stops") << "1.2.3" << 1.0;
    }
    void numbers() {
        QFETCH(QString, text);
        QFETCH(double, wert);
        QCOMPARE(Runden_Gerade(Zahl_Lesen(text)), wert);
    }

    void folderCheckLoop() {
        test::TempOrdner t;
        const QString gut = t.Ordner("gut");
        t.Datei("gut/QK_IDMAP.NET", "");
        const QString schlecht = t.Ordner("schlecht");
        test::TestPlattform p;
        Zustand z(p);

        // a folder without the map, OK, then a good one
        p.ordnerAntworten = {schlecht.chopped(1), gut.chopped(1)};
        p.antworten = {Antwort::OK};
        QCOMPARE(Verzeichnis_Wählen(z, "/vorher/", "QK_IDMAP.NET"), gut);
        QCOMPARE(p.meldungen.size(), 1);
        QCOMPARE(p.meldungen[0].titel, "Error(''" + schlecht + "'')");
        QCOMPARE(p.meldungen[0].text, QStringLiteral("\r\nPlease choose a Library.     "));
        QCOMPARE(p.meldungen[0].knöpfe, Knöpfe::OKAbbrechen);

        // Cancel in the message returns the previous path
        p.ordnerAntworten = {schlecht.chopped(1)};
        p.antworten = {Antwort::Abbrechen};
        QCOMPARE(Verzeichnis_Wählen(z, "/vorher/", "QK_IDMAP.NET"), QStringLiteral("/vorher/"));

        // Cancel in the dialog itself
        p.ordnerAntworten = {QString()};
        QCOMPARE(Verzeichnis_Wählen(z, "/vorher/", "QK_IDMAP.NET"), QStringLiteral("/vorher/"));
        QCOMPARE(p.unbeantwortet, 0);
    }

    void libraryList() {
        test::TempOrdner t;
        test::TestPlattform p;
        Zustand z(p);
        z.GlobalPath = t.Pfad();
        z.LibListe = {"/alt/"};
        LibPaths_Einlesen(z); // no file: nothing happens
        QCOMPARE(z.LibListe, QStringList{"/alt/"});

        t.Datei("QK_LIBPATHS.TXT", "");
        LibPaths_Einlesen(z); // empty file leaves the list
        QCOMPARE(z.LibListe, QStringList{"/alt/"});

        QByteArray viele;
        for (int i = 0; i < 300; ++i)
            viele += "F:\\LIB" + QByteArray::number(i) + "\\\r\n";
        QFile::remove(t.Pfad() + "QK_LIBPATHS.TXT");
        t.Datei("qk_libpaths.txt", viele + "\r\n/ohne/trenner\r\n");
        LibPaths_Einlesen(z);
        QCOMPARE(z.LibListe.size(), 301);
        QCOMPARE(z.LibListe[299], QStringLiteral("F:\\LIB299\\"));
        QCOMPARE(z.LibListe[300], QStringLiteral("/ohne/trenner/"));
    }

    void fileExists() {
        test::TempOrdner t;
        t.Datei("lib/LIBINFO.SYS", "");
        QVERIFY(Datei_Existiert(t.Pfad() + "LIB/", "libinfo.sys"));
        QVERIFY(!Datei_Existiert(t.Pfad(), "lib")); // a folder is no file
        QVERIFY(!Datei_Existiert(QString(), "LIBINFO.SYS"));
    }
};

QTEST_GUILESS_MAIN(TestRoutinen)
#include "test_routinen.moc"
