// Faults while bookings are deleted and restored: a booking file that cannot be written, a
// backup that cannot be written, a full disk before and in the middle of a rewrite, booking
// files of the wrong length, damaged undo lists. Whatever fails, every booking file holds either
// its old bytes or its new ones, the administrator is told, and an undo afterwards brings back
// every byte.
#include "bookdata/bookdata.h"
#include "bookdata_bau.h"
#include "fehlerstelle.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QtTest>

using namespace qk;
using test::Bookdata;
using test::Fehlerstelle;
using test::Freigegeben;

namespace {

const QByteArray ERSTE = Bookdata({{5, 7, 3}, {9, 7, 1}, {12, 8, 1}, {77, 7, 200}});
const QByteArray ZWEITE = Bookdata({{1, 7, 4}, {200, 7, 9}});

const QByteArray VORHER = Bookdata({{5, 7, 3}, {9, 7, 12}, {10, 8, 1}});
const QByteArray GELÖSCHT = Freigegeben(VORHER, {5, 9});

// A Library with two index folders holding bookings of user 7 (and one of user 8).
struct Bibliothek {
    test::TempOrdner t;
    test::TestPlattform p;
    Zustand z{p};
    QString lib = t.Ordner("Lib");

    Bibliothek() {
        t.Datei("Lib/LIBINFO.SYS", "");
        t.Datei("Lib/IDX00001/BOOKDATA.NET", ERSTE);
        t.Datei("Lib/IDX00002/BOOKDATA.NET", ZWEITE);
        z.LibPath = lib;
        z.UserNr = 7;
    }
    QByteArray Netz(int i) const {
        return t.Lesen(QStringLiteral("Lib/IDX0000%1/BOOKDATA.NET").arg(i));
    }
    void Löschen() {
        z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, lib);
        Bookdata_Einlesen(z, lib, z.UserNr);
        Buchungen_Löschen(z, lib);
    }
    void Rückgängig() {
        Rückgängig_Liste_Lesen(z, lib);
        cmd_Wiederherstellen(z, lib);
    }
};

} // namespace

class TestFehlerBookdata : public QObject {
    Q_OBJECT
private slots:
    void rewriteFails_data() {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<int>("nummer");
        QTest::addColumn<int>("ab");
        QTest::newRow("read-only BOOKDATA.NET")
            << "IDX00001/BOOKDATA.NET" << int(FEHLER_ZUGRIFF) << 0;
        QTest::newRow("BOOKDATA.BAK cannot be written")
            << "IDX00001/BOOKDATA.BAK" << int(FEHLER_ZUGRIFF) << 0;
        QTest::newRow("disk full writing BOOKDATA.BAK")
            << "IDX00001/BOOKDATA.BAK" << int(FEHLER_DATENTRAEGER_VOLL) << 0;
        QTest::newRow("disk full before the rewrite")
            << "IDX00001/BOOKDATA.NET" << int(FEHLER_DATENTRAEGER_VOLL) << 0;
        // Two of the three freed records are in the file when the third fails.
        QTest::newRow("disk full in the middle of the rewrite")
            << "IDX00001/BOOKDATA.NET" << int(FEHLER_DATENTRAEGER_VOLL) << 3;
    }
    void rewriteFails() {
        QFETCH(QString, datei);
        QFETCH(int, nummer);
        QFETCH(int, ab);
        Bibliothek b;
        {
            Fehlerstelle f(datei, nummer, ab);
            b.Löschen();
            QVERIFY(f.aufrufe > ab);
        }
        QCOMPARE(b.p.meldungen.size(), 1);
        QCOMPARE(b.p.meldungen[0].titel, QStringLiteral("Bookdata_Speichern_Error"));
        QCOMPARE(b.p.meldungen[0].text,
                 "Error when creating ''" + b.lib +
                     "IDX00001\\BOOKDATA.NET !''\r\nError Nr.: " + QString::number(nummer));
        // The failed file holds every old byte; the other one was handled.
        QCOMPARE(b.Netz(1), ERSTE);
        QCOMPARE(b.Netz(2), Freigegeben(ZWEITE, {1, 200}));
        // The log block will say that not everything was written.
        QCOMPARE(b.z.Status_Schreiben, QStringLiteral("Error"));
        QCOMPARE(b.z.Status_Löschen, QStringLiteral("Error"));
        QCOMPARE(b.z.Buchungen_Gelöscht, 2);

        b.Rückgängig();
        QCOMPARE(b.p.meldungen.size(), 1);
        QCOMPARE(b.Netz(1), ERSTE);
        QCOMPARE(b.Netz(2), ZWEITE);
    }

    void undoListCannotBeWritten() {
        Bibliothek b;
        b.t.Datei("Lib/_!bookdata.txt", "IDX00002\t3\t7\t1\r\n\r\n");
        {
            Fehlerstelle f("_!bookdata.txt", FEHLER_DATENTRAEGER_VOLL);
            b.Löschen();
        }
        QCOMPARE(b.p.Titel(), QStringList{"Buchungen_Löschen_Error"});
        QCOMPARE(b.p.meldungen[0].text,
                 QStringLiteral("Error when deleting bookings.\r\nError number: 61"));
        // No deletion without the means to undo it: nothing changed anywhere.
        QCOMPARE(b.Netz(1), ERSTE);
        QCOMPARE(b.Netz(2), ZWEITE);
        QVERIFY(!b.t.Existiert("Lib/IDX00001/BOOKDATA.BAK"));
        QCOMPARE(b.t.Lesen("Lib/_!bookdata.txt"), QByteArray("IDX00002\t3\t7\t1\r\n\r\n"));
    }

    void restoreFails_data() {
        QTest::addColumn<int>("nummer");
        QTest::addColumn<int>("ab");
        QTest::newRow("read-only BOOKDATA.NET") << int(FEHLER_ZUGRIFF) << 0;
        QTest::newRow("disk full in the middle of the restore")
            << int(FEHLER_DATENTRAEGER_VOLL) << 2;
    }
    void restoreFails() {
        QFETCH(int, nummer);
        QFETCH(int, ab);
        Bibliothek b;
        b.Löschen();
        QVERIFY(b.p.meldungen.isEmpty());
        const QByteArray gelöscht = Freigegeben(ERSTE, {5, 9, 77});
        QCOMPARE(b.Netz(1), gelöscht);
        b.z.Status_Löschen = "vorher";
        {
            Fehlerstelle f("IDX00001/BOOKDATA.NET", nummer, ab);
            b.Rückgängig();
        }
        QCOMPARE(b.p.Titel(), QStringList{"cmd_Wiederherstellen_Error"});
        QCOMPARE(b.p.meldungen[0].text,
                 "Fehler beim Wiederherstellen.\r\nError number: " + QString::number(nummer));
        QCOMPARE(b.z.Status_Löschen, QStringLiteral("vorher"));
        // Not half restored: the file is as the deletion left it, and its backup is whole.
        QCOMPARE(b.Netz(1), gelöscht);
        QCOMPARE(b.t.Lesen("Lib/IDX00001/BOOKDATA.BAK"), ERSTE);

        // Once the fault is gone, the same undo brings every booking back.
        b.Rückgängig();
        QCOMPARE(b.p.meldungen.size(), 1);
        QCOMPARE(b.Netz(1), ERSTE);
        QCOMPARE(b.Netz(2), ZWEITE);
        QCOMPARE(b.z.Status_Löschen, QStringLiteral("OK"));
    }

    void bookingFileOfWrongLength_data() {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QList<int>>("frei");
        QTest::addColumn<QString>("status");
        const QByteArray voll = Bookdata({{3, 7, 1}, {62, 7, 2}, {255, 7, 3}});
        // Box 62 is cut after eight of its bytes: it is no booking and its bytes stay.
        QTest::newRow("cut short") << voll.left(62 * 16 + 8) << QList<int>{3} << "Error";
        QTest::newRow("last box cut short") << voll.left(4095) << QList<int>{3, 62} << "Error";
        // No box at all: nothing to delete there, and the file stays as it is.
        QTest::newRow("empty") << QByteArray() << QList<int>{} << "OK";
        // Bytes past the 256th box belong to no box: never read as one, never changed.
        QTest::newRow("longer") << voll + QByteArray(100, '\x07') << QList<int>{3, 62, 255} << "OK";
    }
    void bookingFileOfWrongLength() {
        QFETCH(QByteArray, inhalt);
        QFETCH(QList<int>, frei);
        QFETCH(QString, status);
        Bibliothek b;
        b.t.Datei("Lib/IDX00001/BOOKDATA.NET", inhalt);
        b.Löschen();
        QVERIFY(b.p.meldungen.isEmpty());
        QByteArray erwartet = inhalt;
        for (const int box : frei) {
            erwartet[box * 16] = char(255);
            erwartet[box * 16 + 1] = char(255);
        }
        QCOMPARE(b.Netz(1), erwartet);
        QCOMPARE(b.Netz(2), Freigegeben(ZWEITE, {1, 200}));
        // A file that does not hold all its boxes shows in the log block's write status.
        QCOMPARE(b.z.Status_Schreiben, status);
        LOG_Buchungen_Löschen(b.z);
        QVERIFY(
            b.t.Lesen("Lib/Bookdata.log").contains("Status: " + b.z.Status_Schreiben.toLatin1()));

        b.Rückgängig();
        QVERIFY(b.p.meldungen.isEmpty());
        QCOMPARE(b.Netz(1), inhalt);
        QCOMPARE(b.Netz(2), ZWEITE);
    }

    // A workstation books a box between the read and the backup: the backup holds the bytes
    // that were read, and the workstation's booking stays in the file.
    void bookingBetweenReadAndBackup() {
        Bibliothek b;
        const QByteArray neu =
            Bookdata({{5, 7, 3}, {9, 7, 1}, {12, 8, 1}, {77, 7, 200}, {6, 9, 9}});
        bool einmal = false;
        datei::Fehlerhaken_Setzen([&](datei::Vorgang v, const QString& pfad) {
            if (!einmal && v == datei::Vorgang::Schreiben &&
                pfad.endsWith("IDX00001/BOOKDATA.BAK")) {
                einmal = true;
                b.t.Datei("Lib/IDX00001/BOOKDATA.NET", neu);
            }
        });
        b.Löschen();
        datei::Fehlerhaken_Setzen({});
        QVERIFY(einmal);
        QCOMPARE(b.t.Lesen("Lib/IDX00001/BOOKDATA.BAK"), ERSTE);
        QCOMPARE(b.Netz(1), Freigegeben(neu, {5, 9, 77}));
    }

    void logCannotBeWritten() {
        Bibliothek b;
        b.Löschen();
        QVERIFY(b.p.meldungen.isEmpty());
        {
            Fehlerstelle f("Bookdata.log", FEHLER_DATENTRAEGER_VOLL);
            LOG_Buchungen_Löschen(b.z);
        }
        QVERIFY(!b.p.meldungen.isEmpty());
        for (const test::GezeigteMeldung& m : b.p.meldungen) {
            QCOMPARE(m.titel, QStringLiteral("LOG_Datei_Schreiben_Error"));
            QCOMPARE(m.text, "Error when reading  ''" + b.lib + "BOOKDATA.LOG''\r\nError Nr: 61");
        }
        QVERIFY(!b.t.Existiert("Lib/Bookdata.log"));
        // The deletion itself stands and can be undone.
        b.Rückgängig();
        QCOMPARE(b.Netz(1), ERSTE);
        QCOMPARE(b.Netz(2), ZWEITE);
    }

    // Undo lists that were cut short or grew too long: a list is either taken whole and
    // restores exactly the boxes of the deletion, or refused whole, and then nothing is touched
    // and the backups still hold every deleted booking.
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

QTEST_GUILESS_MAIN(TestFehlerBookdata)
#include "test_fehler_bookdata.moc"
