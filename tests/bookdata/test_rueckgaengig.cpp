#include "bookdata/bookdata.h"
#include "bookdata_bau.h"
#include "platform/fehler.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QtTest>

using namespace qk;
using qk::test::Bookdata;
using qk::test::Freigegeben;

namespace {

QString Bibliothek_Mit_Liste(const test::TempOrdner& t, const QByteArray& liste) {
    t.Datei("Lib/_!bookdata.txt", liste);
    return t.Pfad() + "Lib/";
}

// Deletes the bookings of `user` in the whole Library as the user removal does.
void Löschen(Zustand& z, const QString& lib, quint8 user) {
    z.UserNr = user;
    z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, lib);
    Bookdata_Einlesen(z, lib, user);
    Buchungen_Löschen(z, lib);
}

void Rückgängig(Zustand& z, const QString& lib) {
    Rückgängig_Liste_Lesen(z, lib);
    cmd_Wiederherstellen(z, lib);
}

} // namespace

class TestRueckgaengig : public QObject {
    Q_OBJECT
private slots:
    void readBack() {
        test::TempOrdner t;
        const QString lib = Bibliothek_Mit_Liste(
            t, "IDX00012\t5\t7\t3\r\nIDX00012\t9\t7\t12\r\n\r\nIDX00013\t1\t7\t1\r\n");
        test::TestPlattform p;
        Zustand z(p);
        z.UserNr = 4; // the third field is not read: the entries are the undo's user's
        z.Anzahl_Einträge = 17;
        Rückgängig_Liste_Lesen(z, lib);
        QCOMPARE(z.BookdataListe.size(), size_t(2));
        QCOMPARE(z.BookdataListe[0].Index, QStringLiteral("IDX00012"));
        QCOMPARE(z.BookdataListe[0].BoxNr, quint8(5));
        QCOMPARE(z.BookdataListe[0].UserID, quint8(4));
        QCOMPARE(z.BookdataListe[0].RevNr, quint8(3));
        QCOMPARE(z.BookdataListe[1].BoxNr, quint8(9));
        QCOMPARE(z.BookdataListe[1].RevNr, quint8(12));
        QCOMPARE(z.Anzahl_Einträge, 17);
    }

    void emptyAndMissingLists() {
        test::TempOrdner t;
        test::TestPlattform p;
        Zustand z(p);
        z.BookdataListe = {BookdataEintrag{"IDX00001", 1, 1, 1, 1, 1}};
        Rückgängig_Liste_Lesen(z, Bibliothek_Mit_Liste(t, "\r\n"));
        QCOMPARE(z.BookdataListe.size(), size_t(1));
        QVERIFY(z.BookdataListe[0].Index.isEmpty());

        z.BookdataListe = {BookdataEintrag{"IDX00001", 1, 1, 1, 1, 1}};
        Rückgängig_Liste_Lesen(z, t.Pfad() + "ohne/");
        QCOMPARE(z.BookdataListe.size(), size_t(1));
        QVERIFY(z.BookdataListe[0].Index.isEmpty());
    }

    void writtenListReadsBack() {
        test::TempOrdner t;
        const QString lib = t.Pfad();
        test::TestPlattform p;
        Zustand z(p);
        z.UserNr = 7;
        z.BookdataListe = {BookdataEintrag{"idx00012", 0, 7, 255, 1, 2},
                           BookdataEintrag{"IDX99999", 255, 7, 0, 1, 2}};
        Rückgängig_Liste_Schreiben(z, lib);
        QCOMPARE(t.Lesen("_!bookdata.txt"),
                 QByteArray("idx00012\t0\t7\t255\r\nIDX99999\t255\t7\t0\r\n\r\n"));
        Rückgängig_Liste_Lesen(z, lib);
        QCOMPARE(z.BookdataListe.size(), size_t(2));
        QCOMPARE(z.BookdataListe[0].Index, QStringLiteral("idx00012"));
        QCOMPARE(z.BookdataListe[0].RevNr, quint8(255));
        QCOMPARE(z.BookdataListe[1].BoxNr, quint8(255));
    }

    void badLines_data() {
        QTest::addColumn<QByteArray>("zeile");
        QTest::addColumn<int>("nummer");
        QTest::newRow("path out of the Library") << QByteArray("..\\..\\x\t5\t7\t3") << 5;
        QTest::newRow("short name") << QByteArray("IDX0001\t5\t7\t3") << 5;
        QTest::newRow("IDX and letters") << QByteArray("IDXABCDE\t5\t7\t3") << 5;
        QTest::newRow("box not a number") << QByteArray("IDX00012\tfive\t7\t3") << 13;
        QTest::newRow("box empty") << QByteArray("IDX00012\t\t7\t3") << 13;
        QTest::newRow("box negative") << QByteArray("IDX00012\t-1\t7\t3") << 13;
        QTest::newRow("box 256") << QByteArray("IDX00012\t256\t7\t3") << 6;
        QTest::newRow("revision 1000") << QByteArray("IDX00012\t5\t7\t1000") << 6;
        QTest::newRow("revision missing") << QByteArray("IDX00012\t5\t7\t") << 13;
        QTest::newRow("no fields") << QByteArray("IDX00012") << 13;
    }
    void badLines() {
        QFETCH(QByteArray, zeile);
        QFETCH(int, nummer);
        test::TempOrdner t;
        const QString lib = Bibliothek_Mit_Liste(t, "IDX00011\t1\t7\t1\r\n" + zeile + "\r\n\r\n");
        test::TestPlattform p;
        Zustand z(p);
        try {
            Rückgängig_Liste_Lesen(z, lib);
            QFAIL("no error");
        } catch (const Fehler& f) {
            QCOMPARE(f.Nummer(), nummer);
        }
        // Nothing of a broken list is left to be restored.
        QCOMPARE(z.BookdataListe.size(), size_t(1));
        QVERIFY(z.BookdataListe[0].Index.isEmpty());
    }

    void blanksAroundFields() {
        test::TempOrdner t;
        const QString lib = Bibliothek_Mit_Liste(t, " IDX00012 \t 5 \t7\t 3 \r\n");
        test::TestPlattform p;
        Zustand z(p);
        Rückgängig_Liste_Lesen(z, lib);
        QCOMPARE(z.BookdataListe[0].Index, QStringLiteral("IDX00012"));
        QCOMPARE(z.BookdataListe[0].BoxNr, quint8(5));
        QCOMPARE(z.BookdataListe[0].RevNr, quint8(3));
    }

    void fields_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("feld");
        QTest::newRow("first of several") << "IDX00012\t5\t7"
                                          << "IDX00012";
        QTest::newRow("no separator") << "  12 "
                                      << "12";
        QTest::newRow("empty first field") << "\t5"
                                           << "";
        QTest::newRow("only blanks") << "   \t5"
                                     << "";
        QTest::newRow("empty text") << ""
                                    << "";
        QTest::newRow("inner blank kept") << " a b \tc"
                                          << "a b";
    }
    void fields() {
        QFETCH(QString, text);
        QFETCH(QString, feld);
        QCOMPARE(Feld_Lesen(text, QLatin1Char('\t')), feld);
    }

    void emptyingEveryLibrary() {
        test::TempOrdner t;
        t.Datei("A/_!bookdata.txt", "IDX00001\t1\t1\t1\r\n\r\n");
        t.Ordner("B");
        test::TestPlattform p;
        Zustand z(p);
        z.LibListe = {t.Pfad() + "A/", t.Pfad() + "B/"};
        Rückgängig_Listen_Leeren(z);
        QCOMPARE(t.Lesen("A/_!bookdata.txt"), QByteArray("\r\n"));
        QCOMPARE(t.Lesen("B/_!bookdata.txt"), QByteArray("\r\n"));

        z.LibListe.append(t.Pfad() + "fehlt/");
        QVERIFY_THROWS_EXCEPTION(Fehler, Rückgängig_Listen_Leeren(z));
    }

    void deleteThenRestore() {
        test::TempOrdner t;
        const QByteArray a = Bookdata({{5, 7, 3}, {9, 7, 12}, {10, 8, 1}});
        const QByteArray b = Bookdata({{0, 7, 200}});
        t.Datei("Lib/IDX00012/BOOKDATA.NET", a);
        t.Datei("Lib/IDX00013/BOOKDATA.NET", b);
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        Löschen(z, lib, 7);
        BookdataListe_Zurücksetzen(z);
        Rückgängig(z, lib);
        QVERIFY(p.meldungen.isEmpty());
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"), a);
        QCOMPARE(t.Lesen("Lib/IDX00013/BOOKDATA.NET"), b);
        QCOMPARE(z.Anzahl_Buchungen, 3);
        QCOMPARE(z.Dateien_Bearbeitet, 2);
        QCOMPARE(z.Status_Löschen, QStringLiteral("OK"));
    }

    void bookingsSinceTheDeletionStay() {
        test::TempOrdner t;
        const QByteArray a = Bookdata({{5, 7, 3}, {9, 7, 12}});
        t.Datei("Lib/IDX00012/BOOKDATA.NET", a);
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        Löschen(z, lib, 7);
        // Since then: user 8 took box 9, user 3 booked the free box 40.
        QByteArray seither = Freigegeben(a, {5, 9});
        seither[9 * 16] = char(8);
        seither[9 * 16 + 1] = char(1);
        seither[40 * 16] = char(3);
        seither[40 * 16 + 1] = char(2);
        t.Datei("Lib/IDX00012/BOOKDATA.NET", seither);

        Rückgängig(z, lib);
        QByteArray erwartet = seither;
        erwartet.replace(5 * 16, 16, a.mid(5 * 16, 16));
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"), erwartet);
        QCOMPARE(z.Status_Löschen, QStringLiteral("Error"));
        QCOMPARE(z.Anzahl_Buchungen, 2);
        QCOMPARE(z.Dateien_Bearbeitet, 1);
        QVERIFY(p.meldungen.isEmpty());
    }

    void folderWithoutBackup() {
        test::TempOrdner t;
        const QByteArray jetzt = Bookdata({{1, 3, 1}});
        t.Datei("Lib/IDX00012/BOOKDATA.NET", jetzt);
        const QString lib =
            Bibliothek_Mit_Liste(t, "IDX00012\t5\t7\t3\r\nIDX00012\t9\t7\t12\r\n\r\n");
        test::TestPlattform p;
        Zustand z(p);
        z.UserNr = 7;
        Rückgängig(z, lib);
        QVERIFY(p.meldungen.isEmpty());
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"), jetzt);
        QVERIFY(!t.Existiert("Lib/IDX00012/BOOKDATA.BAK"));
        QCOMPARE(z.Dateien_Bearbeitet, 1);
        QCOMPARE(z.Anzahl_Buchungen, 2);
        QCOMPARE(z.Status_Löschen, QStringLiteral("Error")); // the two bookings did not come back
    }

    void restoringTheBlankList() {
        test::TempOrdner t;
        const QByteArray jetzt = Bookdata();
        const QByteArray bak = Bookdata({{5, 7, 3}});
        t.Datei("Lib/IDX00012/BOOKDATA.NET", jetzt);
        t.Datei("Lib/IDX00012/BOOKDATA.BAK", bak);
        const QString lib = Bibliothek_Mit_Liste(t, "\r\n");
        test::TestPlattform p;
        Zustand z(p);
        z.Anzahl_Buchungen = 8;
        z.Dateien_Bearbeitet = 8;
        Rückgängig(z, lib);
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"), jetzt);
        QCOMPARE(z.Anzahl_Buchungen, 0);
        QCOMPARE(z.Dateien_Bearbeitet, 0);
        QCOMPARE(z.Status_Löschen, QStringLiteral("OK"));
    }

    void restoreErrorStopsAtTheFailingFolder() {
        test::TempOrdner t;
        const QByteArray bak = Bookdata({{5, 7, 3}});
        t.Datei("Lib/IDX00012/BOOKDATA.NET", Freigegeben(bak, {5}));
        t.Datei("Lib/IDX00012/BOOKDATA.BAK", bak);
        t.Datei("Lib/IDX00013/BOOKDATA.BAK", bak); // its BOOKDATA.NET is gone
        t.Datei("Lib/IDX00014/BOOKDATA.NET", Freigegeben(bak, {5}));
        t.Datei("Lib/IDX00014/BOOKDATA.BAK", bak);
        const QString lib = Bibliothek_Mit_Liste(
            t, "IDX00012\t5\t7\t3\r\nIDX00013\t5\t7\t3\r\nIDX00014\t5\t7\t3\r\n\r\n");
        test::TestPlattform p;
        Zustand z(p);
        z.Status_Löschen = "vorher";
        Rückgängig(z, lib);
        QCOMPARE(p.meldungen.size(), 1);
        QCOMPARE(p.meldungen[0].text,
                 QStringLiteral("Fehler beim Wiederherstellen.\r\nError number: 53"));
        QCOMPARE(p.meldungen[0].titel, QStringLiteral("cmd_Wiederherstellen_Error"));
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"), bak);
        QCOMPARE(t.Lesen("Lib/IDX00014/BOOKDATA.NET"), Freigegeben(bak, {5}));
        QVERIFY(!t.Existiert("Lib/IDX00013/BOOKDATA.NET"));
        QCOMPARE(z.Status_Löschen, QStringLiteral("vorher"));
    }
};

QTEST_APPLESS_MAIN(TestRueckgaengig)
#include "test_rueckgaengig.moc"
