#include "bookdata/datensaetze.h"
#include "bookdata_bau.h"

#include <QtTest>

using namespace qk;
using qk::test::Bookdata;
using qk::test::Freigegeben;

class TestDatensaetze : public QObject {
    Q_OBJECT
private slots:
    void recordFieldsComeFromTheirBytes() {
        QByteArray d = Bookdata({{64, 7, 3}});
        d[64 * 16 + 2] = char(0xAB);
        d[64 * 16 + 15] = char(0xCD);
        satz::Trefferliste t;
        QCOMPARE(satz::Buchungen_Finden(d, 0, t), 1);
        QCOMPARE(int(t[0].BoxNr), 64); // the record at byte 1024
        QCOMPARE(int(t[0].UserID), 7);
        QCOMPARE(int(t[0].RevNr), 3);
        QCOMPARE(int(t[0].Extra), 0xAB);
        QCOMPARE(int(t[0].Tail), 0xCD);
    }

    void shortAndLongFiles() {
        // 100 complete boxes and 7 bytes of the next one: the broken box reads as free even
        // though its user byte names user 7.
        QByteArray kurz = Bookdata({{3, 7, 1}, {100, 7, 2}}).left(100 * 16 + 7);
        satz::Trefferliste t;
        QCOMPARE(satz::Vollständige_Boxen(kurz), 100);
        QCOMPARE(satz::Buchungen_Finden(kurz, 7, t), 1);
        QCOMPARE(int(t[0].BoxNr), 3);
        QCOMPARE(satz::Buchungen_Finden(QByteArray(), 0, t), 0);

        QByteArray gefreit = kurz;
        QCOMPARE(satz::Buchungen_Freigeben(gefreit, 7), 1);
        QCOMPARE(gefreit.size(), kurz.size());
        QCOMPARE(gefreit, Freigegeben(kurz, {3}).left(kurz.size()));

        // Bytes past the 256th box are neither read nor changed.
        QByteArray lang = Bookdata({{1, 7, 1}}) + QByteArray(16, char(7));
        QCOMPARE(satz::Vollständige_Boxen(lang), 256);
        QCOMPARE(satz::Buchungen_Freigeben(lang, 7), 1);
        QCOMPARE(lang.right(16), QByteArray(16, char(7)));
    }

    void restoringNamedBoxes() {
        const QByteArray sicherung = Bookdata({{5, 7, 3}, {9, 7, 12}, {20, 7, 1}, {30, 7, 2}});
        // Since the deletion: 5 and 9 freed; 20 freed and booked again by user 8; 30 freed
        // and booked again with the backup's very bytes; 40 was never booked.
        QByteArray aktuell = Freigegeben(sicherung, {5, 9, 20});
        aktuell[20 * 16] = char(8);
        aktuell[20 * 16 + 1] = char(1);
        const QByteArray vorher = aktuell;

        const satz::Rückholung r = satz::Boxen_Zurückholen(aktuell, sicherung, {5, 9, 20, 30, 40});
        QCOMPARE(r.zurückgeholt, 2);
        QCOMPARE(r.nicht_möglich, 2); // 20 booked by someone else, 40 free in the backup
        QByteArray erwartet = vorher;
        erwartet.replace(5 * 16, 16, sicherung.mid(5 * 16, 16));
        erwartet.replace(9 * 16, 16, sicherung.mid(9 * 16, 16));
        QCOMPARE(aktuell, erwartet);
    }

    void restoringPastTheEndOfAFile() {
        const QByteArray sicherung = Bookdata({{5, 7, 3}, {200, 7, 4}});
        QByteArray aktuell = Freigegeben(sicherung, {5, 200}).left(100 * 16);
        const satz::Rückholung r = satz::Boxen_Zurückholen(aktuell, sicherung, {5, 200});
        QCOMPARE(r.zurückgeholt, 1);
        QCOMPARE(r.nicht_möglich, 1);
        QCOMPARE(aktuell.size(), 100 * 16); // never grows

        QByteArray voll = Freigegeben(sicherung, {5, 200});
        const satz::Rückholung kurz =
            satz::Boxen_Zurückholen(voll, sicherung.left(100 * 16), {5, 200});
        QCOMPARE(kurz.zurückgeholt, 1);
        QCOMPARE(kurz.nicht_möglich, 1);
    }
};

QTEST_APPLESS_MAIN(TestDatensaetze)
#include "test_datensaetze.moc"
