// Undo lists that were cut short or grew too long: a list is either taken whole and restores
// exactly the boxes of the deletion, or refused whole, and then nothing is touched and the
// backups still hold every deleted booking.
#include "bookdata/bookdata.h"
#include "bookdata_bau.h"
#include "platform/fehler.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QtTest>

using namespace qk;
using test::Bookdata;
using test::Freigegeben;

namespace {

const QByteArray VORHER = Bookdata({{5, 7, 3}, {9, 7, 12}, {10, 8, 1}});
const QByteArray GELÖSCHT = Freigegeben(VORHER, {5, 9});

} // namespace

class TestFehlerRueckgaengig : public QObject {
    Q_OBJECT
private slots:
    void damagedUndoList_data() {
        QTest::addColumn<QByteArray>("liste");
        QTest::addColumn<int>("nummer");      // 0: the list is taken
        QTest::addColumn<QByteArray>("netz"); // BOOKDATA.NET after the undo
        const QByteArray ganz = "IDX00012\t5\t7\t3\r\nIDX00012\t9\t7\t12\r\n\r\n";
        QTest::newRow("whole") << ganz << 0 << VORHER;
        QTest::newRow("cut in a folder name") << ganz.left(22) << int(FEHLER_TYP) << GELÖSCHT;
        QTest::newRow("cut after a tab") << ganz.left(25) << int(FEHLER_TYP) << GELÖSCHT;
        // The revision is only listed; the restore takes the bytes from the backup.
        QTest::newRow("cut in the last number") << ganz.left(30) << 0 << VORHER;
        QTest::newRow("cut before the empty line") << ganz.left(32) << 0 << VORHER;
        QTest::newRow("empty file") << QByteArray() << 0 << GELÖSCHT;
        QTest::newRow("box past 255") << QByteArray("IDX00012\t5\t7\t3\r\nIDX00012\t256\t7\t12\r\n")
                                      << int(FEHLER_UEBERLAUF) << GELÖSCHT;
        QTest::newRow("a number of a million digits")
            << "IDX00012\t" + QByteArray(1 << 20, '9') + "\t7\t3\r\n"
            << int(FEHLER_UEBERLAUF) << GELÖSCHT;
        QTest::newRow("a folder outside the Library")
            << QByteArray("..\\..\\etc\t5\t7\t3\r\n") << int(FEHLER_ARGUMENT) << GELÖSCHT;
        QByteArray lang;
        for (int i = 0; i < 200000; ++i)
            lang += i % 2 ? "IDX00012\t9\t7\t12\r\n" : "IDX00012\t5\t7\t3\r\n";
        QTest::newRow("200000 lines") << lang << 0 << VORHER;
    }
    void damagedUndoList() {
        QFETCH(QByteArray, liste);
        QFETCH(int, nummer);
        QFETCH(QByteArray, netz);
        test::TempOrdner t;
        t.Datei("Lib/IDX00012/BOOKDATA.NET", VORHER);
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        z.UserNr = 7;
        z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, lib);
        Bookdata_Einlesen(z, lib, 7);
        Buchungen_Löschen(z, lib);
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"), GELÖSCHT);
        t.Datei("Lib/_!bookdata.txt", liste);

        QCOMPARE(test::Geworfen([&] { Rückgängig_Liste_Lesen(z, lib); }), nummer);
        if (nummer) {
            // Refused whole: the list names nothing, so the restore touches nothing.
            QCOMPARE(z.BookdataListe.size(), size_t(1));
            QVERIFY(z.BookdataListe[0].Index.isEmpty());
        }
        cmd_Wiederherstellen(z, lib);
        QVERIFY(p.meldungen.isEmpty());
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"), netz);
        QCOMPARE(z.Status_Löschen, QStringLiteral("OK"));
        // Whatever the list says, the deleted bookings are still in the backup.
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.BAK"), VORHER);
        QCOMPARE(t.Lesen("Lib/_!bookdata.txt"), liste);
    }
};

QTEST_GUILESS_MAIN(TestFehlerRueckgaengig)
#include "test_fehler_rueckgaengig.moc"
