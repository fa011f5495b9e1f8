#include "bookdata/bookdata.h"
#include "bookdata_bau.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QtTest>

using namespace qk;
using qk::test::Bookdata;

class TestLesen : public QObject {
    Q_OBJECT

    struct Info {
        QString info, label1, label2;
        int aufrufe = 0;
    };
    static void Mitschreiben(Zustand& z, Info& info) {
        z.Buchungsinfo_Setzen = [&info](const QString& a, const QString& b, const QString& c) {
            info = {a, b, c, info.aufrufe + 1};
        };
    }

private slots:
    void twoFoldersInReadingOrder() {
        test::TempOrdner t;
        t.Datei("Lib/IDX00012/BOOKDATA.NET", Bookdata({{200, 7, 1}, {5, 7, 3}, {9, 8, 12}}));
        t.Datei("Lib/IDX00013/BOOKDATA.NET", Bookdata({{0, 3, 1}, {255, 4, 2}}));
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        Info info;
        Mitschreiben(z, info);
        z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, lib);
        Bookdata_Einlesen(z, lib, 0);
        QVERIFY(p.meldungen.isEmpty());
        QCOMPARE(z.Anzahl_Buchungen, 5);
        QCOMPARE(z.Anzahl_Dateien, 2);
        QCOMPARE(z.BookdataListe.size(), size_t(5));
        QCOMPARE(info.aufrufe, 1);
        QCOMPARE(info.info, QStringLiteral("2 files in 2 folder"));
        QCOMPARE(info.label1, QStringLiteral("Anzahl_Buchungen: 5"));
        QCOMPARE(info.label2, QStringLiteral("UBound(BookdataListe) 4"));

        // Each folder's entries together and by box; one text per folder.
        const auto& l = z.BookdataListe;
        const size_t a = l[0].Index == "IDX00012" ? 0 : 2;
        const size_t b = a == 0 ? 3 : 0;
        QCOMPARE(l[a].BoxNr, quint8(5));
        QCOMPARE(l[a + 1].BoxNr, quint8(9));
        QCOMPARE(l[a + 2].BoxNr, quint8(200));
        QCOMPARE(l[a + 1].UserID, quint8(8));
        QCOMPARE(l[a + 1].RevNr, quint8(12));
        QCOMPARE(l[b].BoxNr, quint8(0));
        QCOMPARE(l[b + 1].BoxNr, quint8(255));
        QCOMPARE(l[b + 1].Index, QStringLiteral("IDX00013"));
        QVERIFY(l[a].Index.constData() == l[a + 2].Index.constData());
    }

    void allFreeGivesTheBlankList() {
        test::TempOrdner t;
        t.Datei("Lib/IDX00001/BOOKDATA.NET", Bookdata());
        t.Datei("Lib/IDX00002/BOOKDATA.NET", Bookdata());
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        Info info;
        Mitschreiben(z, info);
        z.BookdataListe.assign(3, BookdataEintrag{"IDX00009", 1, 2, 3, 4, 5});
        z.Anzahl_Einträge = 3;
        z.Anzahl_Ordner = 2;
        Bookdata_Einlesen(z, lib, 0);
        QCOMPARE(z.Anzahl_Buchungen, 0);
        QCOMPARE(z.Anzahl_Einträge, 0);
        QCOMPARE(z.BookdataListe.size(), size_t(1));
        QVERIFY(z.BookdataListe[0].Index.isEmpty());
        QCOMPARE(z.BookdataListe[0].BoxNr, quint8(0));
        QCOMPARE(info.label2, QStringLiteral("UBound(BookdataListe) 0"));
        QCOMPARE(info.label1, QStringLiteral("Anzahl_Buchungen: 0"));
    }

    void openAppendsAfterTheEntriesSoFar() {
        test::TempOrdner t;
        t.Datei("Lib/IDX00012/BOOKDATA.NET", Bookdata({{5, 7, 3}, {6, 8, 3}}));
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        BookdataListe_Zurücksetzen(z);
        Bookdata_Öffnen(z, lib, "idx00012", 7);
        QCOMPARE(z.BookdataListe.size(), size_t(1)); // took the blank element's place
        QCOMPARE(z.BookdataListe[0].Index, QStringLiteral("idx00012"));
        QCOMPARE(Buchungen_Zählen(z), 1); // the lower-case name counts
        Bookdata_Öffnen(z, lib, "IDX00012", 0);
        QCOMPARE(z.Anzahl_Einträge, 3);
        QCOMPARE(z.Anzahl_Dateien, 2);
        QCOMPARE(z.BookdataListe.size(), size_t(3));
        QCOMPARE(z.BookdataListe[2].BoxNr, quint8(6));
        QCOMPARE(z.BookdataListe[2].Index, QStringLiteral("IDX00012"));
    }

    void countingLooksAtTheFirstName_data() {
        QTest::addColumn<QString>("index");
        QTest::addColumn<int>("anzahl");
        QTest::newRow("upper") << "IDX00012" << 2;
        QTest::newRow("lower") << "idx00012" << 2;
        QTest::newRow("blank") << "" << 0;
        QTest::newRow("other") << "ABC00012" << 0;
    }
    void countingLooksAtTheFirstName() {
        QFETCH(QString, index);
        QFETCH(int, anzahl);
        test::TestPlattform p;
        Zustand z(p);
        z.BookdataListe = {BookdataEintrag{index, 1, 1, 1, 1, 1}, BookdataEintrag{}};
        QCOMPARE(Buchungen_Zählen(z), anzahl);
    }

    void notFound_data() {
        QTest::addColumn<QString>("index");
        QTest::newRow("folder missing") << "idx00099";
        QTest::newRow("file missing") << "IDX00013";
        QTest::newRow("not an index folder") << "..";
        QTest::newRow("letter in the number") << "idx0001a";
    }
    void notFound() {
        QFETCH(QString, index);
        test::TempOrdner t;
        t.Ordner("Lib/IDX00013");
        t.Datei("Lib/BOOKDATA.NET", Bookdata({{1, 7, 1}}));
        t.Datei("Lib/idx0001a/BOOKDATA.NET", Bookdata({{1, 7, 1}}));
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        z.BookdataListe = {BookdataEintrag{"IDX00001", 1, 7, 1, 0, 0}};
        z.Anzahl_Einträge = 1;
        Bookdata_Öffnen(z, lib, index, 0);
        QCOMPARE(p.meldungen.size(), 1);
        QCOMPARE(p.meldungen[0].text, "File:  " + lib + index + "\\BOOKDATA.NET''  not found !");
        QCOMPARE(p.meldungen[0].titel, QStringLiteral("Bookdata_Öffnen_Error"));
        QCOMPARE(z.BookdataListe.size(), size_t(1));
        QCOMPARE(z.Anzahl_Einträge, 1);
        QCOMPARE(z.Anzahl_Dateien, 0);
    }

    void readErrorIsReportedAndTheWalkGoesOn() {
        test::TempOrdner t;
        t.Datei("Lib/IDX00012/BOOKDATA.NET", Bookdata({{5, 7, 3}}));
        t.Datei("Lib/IDX00013/BOOKDATA.NET", Bookdata({{6, 7, 3}}));
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        datei::Fehlerhaken_Setzen([](datei::Vorgang v, const QString& pfad) {
            if (v == datei::Vorgang::Lesen && pfad.contains("IDX00012"))
                throw Fehler(FEHLER_ZUGRIFF);
        });
        z.Anzahl_Ordner = 2;
        Bookdata_Einlesen(z, lib, 0);
        datei::Fehlerhaken_Setzen({});
        QCOMPARE(p.meldungen.size(), 1);
        QCOMPARE(p.meldungen[0].text,
                 "Error when reading  ''" + lib + "IDX00012\\BOOKDATA.NET''\r\nError Nr: 75");
        QCOMPARE(p.meldungen[0].titel, QStringLiteral("Bookdata_Öffnen_Error"));
        QCOMPARE(z.Anzahl_Dateien, 1);
        QCOMPARE(z.Anzahl_Buchungen, 1);
        QCOMPARE(z.BookdataListe[0].Index, QStringLiteral("IDX00013"));
    }

    void shortFileReadsMissingBoxesAsFree() {
        test::TempOrdner t;
        // Boxes 0 to 9 whole, then 5 bytes of box 10 whose user byte says 7.
        const QByteArray d = Bookdata({{2, 7, 4}, {10, 7, 5}, {100, 7, 6}}).left(10 * 16 + 5);
        t.Datei("Lib/IDX00012/BOOKDATA.NET", d);
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        z.Anzahl_Ordner = 1;
        Bookdata_Einlesen(z, lib, 7);
        QVERIFY(p.meldungen.isEmpty());
        QCOMPARE(z.Anzahl_Buchungen, 1);
        QCOMPARE(z.BookdataListe[0].BoxNr, quint8(2));
        QCOMPARE(z.Anzahl_Dateien, 1);

        t.Datei("Lib/IDX00012/BOOKDATA.NET", QByteArray());
        Bookdata_Einlesen(z, lib, 0);
        QCOMPARE(z.Anzahl_Buchungen, 0);
        QCOMPARE(z.Anzahl_Dateien, 1);
    }
};

QTEST_APPLESS_MAIN(TestLesen)
#include "test_lesen.moc"
