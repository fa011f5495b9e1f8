// The tool deletes a user's bookings and undoes it, again and again, while a CAD workstation
// (a second process) books and releases boxes in the same files. No booking the workstation
// holds may be lost, none it released may come back, and the deleted ones must all be back.
#include "bibliothek.h"
#include "bookdata_bau.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

using namespace qk;

class TestArbeitsplatz : public QObject {
    Q_OBJECT
private slots:
    void deleteAndUndoBesideABookingWorkstation() {
        // The tool deletes and restores user 7; user 8 is left alone; the workstation books for
        // user 9 in boxes 128..255 only.
        test::Bibliotheksort b;
        const test::TempOrdner& t = b.t;
        const QString name = QStringLiteral("Lib/IDX0000%1/BOOKDATA.NET");
        QStringList dateien;
        QList<QByteArray> anfang;
        for (int i = 0; i < 4; ++i) {
            anfang << test::Bookdata({{3, 7, quint8(10 + i)},
                                      {17, 7, 2},
                                      {40, 8, 5},
                                      {99, 7, 200},
                                      {120, 7, 1},
                                      {127, 8, 9}});
            dateien << t.Datei(name.arg(i + 1), anfang[i]);
        }
        QProcess arbeitsplatz;
        arbeitsplatz.start(QK_ARBEITSPLATZ,
                           QStringList{"9", "4711", "128", "255", t.Pfad() + "stop", "60"} +
                               dateien);
        QVERIFY2(arbeitsplatz.waitForReadyRead(10000), "the workstation did not start");
        QCOMPARE(arbeitsplatz.readLine(), QByteArray("ready\n"));

        Zustand& z = b.z;
        z.UserNr = 7;
        QElapsedTimer uhr;
        uhr.start();
        // Bounded in rounds and in time; enough of both for many collisions.
        for (int runde = 0; runde < 150 && uhr.elapsed() < 15000; ++runde) {
            b.Löschen();
            QCOMPARE(z.Anzahl_Buchungen, 16);
            QCOMPARE(z.Status_Löschen, QStringLiteral("OK"));
            b.Rückgängig();
            QCOMPARE(z.Status_Löschen, QStringLiteral("OK"));
        }
        QVERIFY2(b.p.meldungen.isEmpty(), qPrintable(b.p.meldungen.value(0).text));
        QCOMPARE(arbeitsplatz.state(), QProcess::Running); // at work for the whole loop

        t.Datei("stop", "");
        QVERIFY(arbeitsplatz.waitForFinished(20000));
        QCOMPARE(arbeitsplatz.exitCode(), 0);
        QList<QByteArray> zeilen = arbeitsplatz.readAllStandardOutput().trimmed().split('\n');
        const QList<QByteArray> fertig = zeilen.takeLast().split(' ');
        QVERIFY2(fertig.value(1).toLong() > 10000 && !zeilen.isEmpty(), fertig.join(' '));
        // Nor did the workstation itself, while it ran, find a booking lost or one come back.
        QCOMPARE(fertig.mid(2), (QList<QByteArray>{"0", "0"}));
        // Every byte as at the start, but the workstation's boxes: free (keeping whatever
        // revision they had), or booked as it last booked them.
        for (int i = 0; i < 4; ++i) {
            const QByteArray jetzt = t.Lesen(name.arg(i + 1));
            QCOMPARE(jetzt.size(), 4096);
            QByteArray soll = anfang[i];
            for (int box = 128; box < 256; ++box)
                soll.replace(box * 16, 2, QByteArray(1, char(255)) + jetzt[box * 16 + 1]);
            for (const QByteArray& zeile : std::as_const(zeilen)) {
                const QList<QByteArray> h = zeile.split(' '); // held FILE BOX REVISION
                if (h.value(1).toInt() == i)
                    soll.replace(h[2].toInt() * 16, 2, QByteArray(1, char(9)) + char(h[3].toInt()));
            }
            const auto wo = std::mismatch(jetzt.begin(), jetzt.end(), soll.begin()).first;
            QVERIFY2(jetzt == soll, qPrintable(QStringLiteral("%1: box %2 differs")
                                                   .arg(name.arg(i + 1))
                                                   .arg((wo - jetzt.begin()) / 16)));
        }
    }
};

QTEST_GUILESS_MAIN(TestArbeitsplatz)
#include "test_arbeitsplatz.moc"
