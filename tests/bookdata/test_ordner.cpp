#include "bookdata/bookdata.h"
#include "bookdata_bau.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QtTest>

using namespace qk;
using qk::test::Bookdata;

namespace {

struct Aufruf {
    QString text;
    int maximum;
    int wert;
};

class Protokoll : public Fortschrittsanzeige {
public:
    QList<Aufruf> aufrufe;
    void Fortschritt_Setzen(const QString& text, int maximum, int wert) override {
        aufrufe.append({text, maximum, wert});
    }
};

// A Library with everything the count and the walk must tell apart.
QString Bibliothek(const test::TempOrdner& t) {
    t.Datei("Lib/IDX00000/BOOKDATA.NET", Bookdata({{1, 7, 1}}));
    t.Datei("Lib/IDX00001/BOOKDATA.NET", Bookdata({{4, 7, 1}, {2, 9, 5}}));
    t.Datei("Lib/IDX00001/OLD_BOOKDATA.NET", Bookdata({{3, 7, 1}}));
    t.Datei("Lib/IDX00001/IDX00003/BOOKDATA.NET", Bookdata({{8, 7, 1}}));
    t.Datei("Lib/idx00002/bookdata.net", Bookdata({{250, 7, 6}}));
    t.Ordner("Lib/IDX00004");
    t.Datei("Lib/Archiv/BOOKDATA.NET", Bookdata({{1, 7, 1}}));
    t.Datei("Lib/IDXABCDE/BOOKDATA.NET", Bookdata({{1, 7, 1}}));
    t.Datei("Lib/IDX000055/BOOKDATA.NET", Bookdata({{1, 7, 1}}));
    t.Datei("Lib/BOOKDATA.NET", Bookdata({{1, 7, 1}}));
    t.Datei("Lib/LIBINFO.SYS", "");
    return t.Pfad() + "Lib/";
}

QStringList Einträge(const Zustand& z) {
    QStringList s;
    for (const BookdataEintrag& e : z.BookdataListe)
        s.append(
            QStringLiteral("%1 %2 %3 %4").arg(e.Index).arg(e.BoxNr).arg(e.UserID).arg(e.RevNr));
    return s;
}

} // namespace

class TestOrdner : public QObject {
    Q_OBJECT
private slots:
    void countTakesOnlyIndexFoldersOfTheLibrary() {
        test::TempOrdner t;
        const QString lib = Bibliothek(t);
        test::TestPlattform p;
        Zustand z(p);
        z.Anzahl_Ordner = 99;
        QCOMPARE(Anzahl_Ordner_Ermitteln(z, lib), 3); // IDX00001, idx00002, IDX00004
        QCOMPARE(z.Anzahl_Ordner, 0);
        QVERIFY(p.meldungen.isEmpty());
    }

    void walkReadsEachBookingFileOnce() {
        test::TempOrdner t;
        const QString lib = Bibliothek(t);
        test::TestPlattform p;
        Zustand z(p);
        Protokoll fortschritt;
        z.Fortschritt = &fortschritt;
        z.LibPath = lib;
        z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, lib);
        Bookdata_Einlesen(z, lib, 0);

        QVERIFY2(p.meldungen.isEmpty(), qPrintable(p.Titel().join(',')));
        QCOMPARE(z.Ordner_Nr, 3);
        QCOMPARE(z.Anzahl_Dateien, 2);
        QCOMPARE(z.Anzahl_Buchungen, 3);
        QCOMPARE(z.Anzahl_Einträge, 3);
        QStringList e = Einträge(z);
        // Folders come in the order of the file system; within a file by box.
        if (e[0].startsWith("idx"))
            e = e.mid(1) + e.mid(0, 1);
        QCOMPARE(e, QStringList({"IDX00001 2 9 5", "IDX00001 4 7 1", "idx00002 250 7 6"}));

        // One progress step per file read, with the folder's name as found on disk.
        QCOMPARE(fortschritt.aufrufe.size(), 2);
        for (const Aufruf& a : fortschritt.aufrufe) {
            QCOMPARE(a.maximum, 3);
            QVERIFY(a.wert >= 1 && a.wert <= 3);
            QVERIFY(a.text == "Libpath: " + lib + "\r\n\r\nSearching in Index: IDX00001" ||
                    a.text == "Libpath: " + lib + "\r\n\r\nSearching in Index: idx00002");
        }
        QVERIFY(fortschritt.aufrufe[0].text != fortschritt.aufrufe[1].text);
    }

    void walkAppendsAfterEarlierEntries() {
        test::TempOrdner t;
        const QString lib = Bibliothek(t);
        test::TestPlattform p;
        Zustand z(p);
        z.BookdataListe = {BookdataEintrag{"IDX00077", 1, 7, 1, 0, 0}, BookdataEintrag{}};
        z.Anzahl_Einträge = 1; // the second element is beyond the entries and goes
        Ordner_Durchsuchen(z, lib, 7);
        QCOMPARE(z.Anzahl_Einträge, 3);
        QStringList e = Einträge(z);
        QCOMPARE(e.size(), 3);
        QCOMPARE(e[0], QStringLiteral("IDX00077 1 7 1"));
        QVERIFY(e.contains("IDX00001 4 7 1"));
        QVERIFY(e.contains("idx00002 250 7 6"));
    }

    void eventsPerFileNotPerRecord() {
        test::TempOrdner t;
        const QString lib = Bibliothek(t);
        test::TestPlattform p;
        Zustand z(p);
        Bookdata_Öffnen(z, lib, "IDX00001", 0);
        QCOMPARE(z.Anzahl_Einträge, 2);
        QVERIFY(p.ereignisse >= 1);
        QVERIFY(p.ereignisse < 16); // a call per record would make 256
    }

    void noProgressWithoutFolderCount() {
        test::TempOrdner t;
        const QString lib = Bibliothek(t);
        test::TestPlattform p;
        Zustand z(p);
        Protokoll fortschritt;
        z.Fortschritt = &fortschritt;
        z.Anzahl_Ordner = 0;
        Bookdata_Einlesen(z, lib, 7);
        QCOMPARE(z.Anzahl_Buchungen, 2);
        QVERIFY(fortschritt.aufrufe.isEmpty());
        z.Fortschritt = nullptr;
        z.Anzahl_Ordner = 3;
        Bookdata_Einlesen(z, lib, 7); // no window open: progress goes nowhere
        QCOMPARE(z.Anzahl_Buchungen, 2);
    }

    void missingLibrary() {
        test::TempOrdner t;
        const QString lib = t.Pfad() + "fehlt/";
        test::TestPlattform p;
        Zustand z(p);
        Protokoll fortschritt;
        z.Fortschritt = &fortschritt;
        bool gerufen = false;
        z.Buchungsinfo_Setzen = [&](const QString&, const QString&, const QString&) {
            gerufen = true;
        };
        z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, lib);
        QCOMPARE(z.Anzahl_Ordner, 0);
        Bookdata_Einlesen(z, lib, 7);
        QCOMPARE(p.meldungen.size(), 2);
        QCOMPARE(p.meldungen[0].text, "Path:  ''" + lib + "''  not found !");
        QCOMPARE(p.meldungen[0].titel, QStringLiteral("Anzahl_Ordner_Ermitteln_Error"));
        QCOMPARE(p.meldungen[0].symbol, Symbol::Ausruf);
        QCOMPARE(p.meldungen[1].text, "File  ''" + lib + "BOOKDATA.NET''  not found !");
        QCOMPARE(p.meldungen[1].titel, QStringLiteral("Bookdata_Einlesen_Error"));
        QCOMPARE(z.Anzahl_Buchungen, 0);
        QVERIFY(!gerufen);
        QVERIFY(fortschritt.aufrufe.isEmpty());
        QCOMPARE(z.BookdataListe.size(), size_t(1));
    }

    void listingErrors_data() {
        QTest::addColumn<int>("nummer");
        QTest::addColumn<QString>("zählen");
        QTest::addColumn<QString>("einlesen");
        QTest::newRow("access") << 75 << "Error when reading %1\r\nError Nr: 75"
                                << "Error when reading BOOKDATA.NET.\r\nError Nr: 75";
        QTest::newRow("subscript") << 9 << "Error when reading %1\r\nError Nr: 9"
                                   << "No bookings for User-ID 7 !\r\nError Nr: 9";
    }
    void listingErrors() {
        QFETCH(int, nummer);
        QFETCH(QString, zählen);
        QFETCH(QString, einlesen);
        test::TempOrdner t;
        const QString lib = Bibliothek(t);
        test::TestPlattform p;
        Zustand z(p);
        datei::Fehlerhaken_Setzen([nummer](datei::Vorgang v, const QString&) {
            if (v == datei::Vorgang::Auflisten)
                throw Fehler(nummer);
        });
        const qint32 n = Anzahl_Ordner_Ermitteln(z, lib);
        Bookdata_Einlesen(z, lib, 7);
        datei::Fehlerhaken_Setzen({});
        QCOMPARE(n, 0);
        QCOMPARE(p.meldungen.size(), 2);
        QCOMPARE(p.meldungen[0].text, zählen.arg(lib));
        QCOMPARE(p.meldungen[1].text, einlesen);
        QCOMPARE(p.meldungen[1].titel, QStringLiteral("Bookdata_Einlesen_Error"));
        QCOMPARE(z.Anzahl_Buchungen, 0);
    }
};

QTEST_APPLESS_MAIN(TestOrdner)
#include "test_ordner.moc"
