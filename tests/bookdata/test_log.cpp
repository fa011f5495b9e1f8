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

const QByteArray STERNE = "********************************************************\r\n";

QByteArray Kopf(const QString& global, const QString& lib, const QByteArray& funktion,
                const QByteArray& titel) {
    return STERNE + "*                     BOOKDATA.LOG                     *\r\n" + STERNE +
           "\r\n" + "Global Directory:  " + global.toLatin1() + "\r\n" +
           "Library: " + lib.toLatin1() + "\r\n" + "Date: 06.12.2026\t09:30:15\r\n" + funktion +
           "\r\n" + "\r\n" + "\r\n" + titel + "\r\n" + "\r\n" +
           "Index\t\tBoxNr\tUser-ID\tRev.-Nr\r\n" +
           "---------------------------------------------------\r\n";
}

QByteArray Löschkopf(const QString& g, const QString& lib, const QByteArray& funktion, int user) {
    return Kopf(g, lib, "Function: " + funktion,
                "******************* Bookings for User-ID " + QByteArray::number(user) +
                    " ******************");
}

QByteArray Rückkopf(const QString& g, const QString& lib, int user) {
    return Kopf(g, lib, "Funktion: Un&do",
                " ************** Restored bookings for User-ID " + QByteArray::number(user) +
                    " **************");
}

struct Umgebung {
    test::TempOrdner t;
    test::TestPlattform p;
    Zustand z{p};
    QString lib;
    Umgebung() {
        lib = t.Pfad() + "Lib/";
        t.Ordner("Lib");
        z.GlobalPath = t.Pfad() + "Global/";
        z.LibPath = lib;
    }
    QByteArray Log() const { return t.Lesen("Lib/Bookdata.log"); }
};

} // namespace

class TestLog : public QObject {
    Q_OBJECT
private slots:
    void deletionBlockWithBookings() {
        Umgebung u;
        u.t.Datei("Lib/IDX00012/BOOKDATA.NET", Bookdata({{5, 7, 3}, {9, 7, 12}, {130, 7, 0}}));
        u.z.UserNr = 7;
        u.z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(u.z, u.lib);
        Bookdata_Einlesen(u.z, u.lib, 7);
        Buchungen_Löschen(u.z, u.lib);
        u.z.LogFunktion = "&Remove User";
        LOG_Buchungen_Löschen(u.z);
        QVERIFY(u.p.meldungen.isEmpty());
        QCOMPARE(u.Log(), Löschkopf(u.z.GlobalPath, u.lib, "&Remove User", 7) +
                              "IDX00012\t5\t7\t\t3\r\n"
                              "IDX00012\t9\t7\t\t12\r\n"
                              "IDX00012\t130\t7\t\t0\r\n"
                              "\r\n\r\n"
                              "************ All bookings for User-ID 7 deleted! ************\r\n"
                              "\r\n"
                              "Deleted: 3Booking(s): \r\n"
                              "Status: OK\r\n"
                              "Written: 4096 Bytes in 1 file(s) (BOOKDATA.NET)\r\n"
                              "Status: OK\r\n"
                              "\r\n\r\n");
    }

    void indexDeletionOfAllUsers() {
        Umgebung u;
        u.t.Datei("Lib/IDX00012/BOOKDATA.NET", Bookdata({{5, 3, 3}, {6, 4, 4}}));
        u.z.UserNr = 0;
        BookdataListe_Zurücksetzen(u.z);
        Bookdata_Öffnen(u.z, u.lib, "idx00012", 0);
        // A box booked meanwhile makes the statuses differ.
        u.t.Datei("Lib/IDX00012/BOOKDATA.NET", Bookdata({{5, 3, 3}, {6, 4, 4}, {7, 5, 5}}));
        Buchungen_Löschen(u.z, u.lib);
        u.z.LogFunktion = "Delete all bookings for &Index....";
        LOG_Buchungen_Löschen(u.z);
        QCOMPARE(u.Log(),
                 Löschkopf(u.z.GlobalPath, u.lib, "Delete all bookings for &Index....", 0) +
                     "idx00012\t5\t3\t\t3\r\n"
                     "idx00012\t6\t4\t\t4\r\n"
                     "\r\n\r\n"
                     "************ All bookings for User-ID 0 deleted! ************\r\n"
                     "\r\n"
                     "Deleted: 3Booking(s): \r\n"
                     "Status: Error\r\n"
                     "Written: 4096 Bytes in 1 file(s) (BOOKDATA.NET)\r\n"
                     "Status: OK\r\n"
                     "\r\n\r\n");
    }

    void blocksWithoutBookings_data() {
        QTest::addColumn<bool>("rückgängig");
        QTest::newRow("deletion") << false;
        QTest::newRow("restore") << true;
    }
    void blocksWithoutBookings() {
        QFETCH(bool, rückgängig);
        Umgebung u;
        u.z.UserNr = 7;
        BookdataListe_Zurücksetzen(u.z);
        if (rückgängig) {
            u.z.LogFunktion = "Un&do";
            LOG_Buchungen_Wiederherstellen(u.z);
            QCOMPARE(u.Log(), Rückkopf(u.z.GlobalPath, u.lib, 7) +
                                  "No bookings for User-ID 7."
                                  "\r\n\r\nUser-ID 7 restored !\r\n\r\n\r\n");
        } else {
            u.z.LogFunktion = "&Remove User";
            LOG_Buchungen_Löschen(u.z);
            QCOMPARE(u.Log(), Löschkopf(u.z.GlobalPath, u.lib, "&Remove User", 7) +
                                  "No bookings for User-ID 7."
                                  "\r\n\r\nUser-ID 7 deleted !\r\n\r\n\r\n");
        }
    }

    void restoreBlockAfterDeletionBlock() {
        Umgebung u;
        u.t.Datei("Lib/IDX00012/BOOKDATA.NET", Bookdata({{5, 7, 3}, {9, 7, 12}}));
        u.z.UserNr = 7;
        u.z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(u.z, u.lib);
        Bookdata_Einlesen(u.z, u.lib, 7);
        Buchungen_Löschen(u.z, u.lib);
        u.z.LogFunktion = "&Remove User";
        LOG_Buchungen_Löschen(u.z);
        const QByteArray ersterBlock = u.Log();

        u.p.jetzt = QDateTime(QDate(2027, 1, 2), QTime(23, 4, 5));
        Rückgängig_Liste_Lesen(u.z, u.lib);
        cmd_Wiederherstellen(u.z, u.lib);
        u.z.LogFunktion = "Un&do";
        LOG_Buchungen_Wiederherstellen(u.z);
        QByteArray kopf = Rückkopf(u.z.GlobalPath, u.lib, 7);
        kopf.replace("Date: 06.12.2026\t09:30:15", "Date: 02.01.2027\t23:04:05");
        QCOMPARE(u.Log(), ersterBlock + kopf +
                              "IDX00012\t5\t7\t\t3\r\n"
                              "IDX00012\t9\t7\t\t12\r\n"
                              "\r\n\r\n"
                              "************* All Bookings for User-ID 7 restored! ************\r\n"
                              "\r\n"
                              "Restored: 2Booking(s) in 1 file(s) (BOOKDATA.NET)\r\n"
                              "Status: OK\r\n"
                              "\r\n\r\n");
    }

    void manyLinesArriveWholeAndInOrder() {
        Umgebung u;
        u.z.UserNr = 0;
        u.z.BookdataListe.clear();
        QByteArray zeilen;
        for (int i = 0; i < 9000; ++i) {
            const QString index = QStringLiteral("IDX%1").arg(i / 256, 5, 10, QLatin1Char('0'));
            u.z.BookdataListe.push_back(
                BookdataEintrag{index, quint8(i), quint8(i % 50 + 1), quint8(i % 7), 0, 0});
            zeilen += QStringLiteral("%1\t%2\t%3\t\t%4\r\n")
                          .arg(index)
                          .arg(i % 256)
                          .arg(i % 50 + 1)
                          .arg(i % 7)
                          .toLatin1();
        }
        LOG_Buchungen_Löschen(u.z);
        const QByteArray log = u.Log();
        const qsizetype anfang = log.indexOf("---\r\n") + 5;
        QCOMPARE(log.mid(anfang, zeilen.size()), zeilen);
        QVERIFY(log.mid(anfang + zeilen.size()).startsWith("\r\n\r\n************ All bookings"));
    }

    void existingLogUnderAnotherSpellingGrows() {
        Umgebung u;
        u.t.Datei("Lib/BOOKDATA.LOG", "earlier\r\n");
        LOG_Datei_Schreiben(u.z, u.lib, "more");
        QCOMPARE(u.t.Lesen("Lib/BOOKDATA.LOG"), QByteArray("earlier\r\nmore"));
        QVERIFY(!u.t.Existiert("Lib/Bookdata.log"));
    }

    void unreachableLibrary() {
        Umgebung u;
        u.z.LibPath = u.t.Pfad() + "fehlt/";
        u.z.BookdataListe = {BookdataEintrag{"IDX00012", 5, 7, 3, 0, 0},
                             BookdataEintrag{"IDX00012", 6, 7, 3, 0, 0}};
        LOG_Buchungen_Löschen(u.z);
        // One report for the block; the rest of it is not tried, so that no block in the log
        // looks whole with its lines missing.
        QCOMPARE(u.p.meldungen.size(), 1);
        for (const auto& m : u.p.meldungen) {
            QCOMPARE(m.text, "File:  ''" + u.z.LibPath + "BOOKDATA.LOG''  not found !");
            QCOMPARE(m.titel, QStringLiteral("LOG_Datei_Schreiben_Error"));
            QCOMPARE(m.symbol, Symbol::Ausruf);
        }
    }

    void appendError() {
        Umgebung u;
        datei::Fehlerhaken_Setzen([](datei::Vorgang v, const QString&) {
            if (v == datei::Vorgang::Anhaengen)
                throw Fehler(FEHLER_ZUGRIFF);
        });
        LOG_Datei_Schreiben(u.z, u.lib, "text");
        datei::Fehlerhaken_Setzen({});
        QCOMPARE(u.p.meldungen.size(), 1);
        QCOMPARE(u.p.meldungen[0].text,
                 "Error when reading  ''" + u.lib + "BOOKDATA.LOG''\r\nError Nr: 75");
        QVERIFY(!u.t.Existiert("Lib/Bookdata.log"));
    }
};

QTEST_APPLESS_MAIN(TestLog)
#include "test_log.moc"
