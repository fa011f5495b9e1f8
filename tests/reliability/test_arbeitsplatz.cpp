// The tool beside a running CAD workstation: a second process books and releases boxes in the
// same BOOKDATA.NET files while the tool deletes a user's bookings and undoes the deletion,
// again and again. No booking the workstation holds may be lost, none it released may come
// back, and the deleted user's bookings must all be there again after the last undo.
#include "bookdata/bookdata.h"
#include "bookdata_bau.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

using namespace qk;

namespace {

constexpr quint8 ENTFERNT = 7;     // the user whose bookings the tool deletes and restores
constexpr quint8 ANDERER = 8;      // a user nobody touches
constexpr quint8 ARBEITSPLATZ = 9; // the workstation's user
constexpr int ERSTE_FREIE = 128;   // the workstation books boxes 128..255 only
constexpr int ORDNER = 4;

QString Index(int i) {
    return QStringLiteral("IDX%1").arg(i + 1, 5, 10, QLatin1Char('0'));
}

QByteArray Anfangsinhalt(int i) {
    return test::Bookdata({{3, ENTFERNT, quint8(10 + i)},
                           {17, ENTFERNT, 2},
                           {40, ANDERER, 5},
                           {99, ENTFERNT, 200},
                           {120, ENTFERNT, 1},
                           {127, ANDERER, 9}});
}

struct Gehalten {
    int datei;
    int box;
    int revision;
};

} // namespace

class TestArbeitsplatz : public QObject {
    Q_OBJECT
private slots:
    void deleteAndUndoBesideABookingWorkstation() {
        test::TempOrdner t;
        t.Datei("Lib/LIBINFO.SYS", "");
        const QString lib = t.Pfad() + "Lib/";
        QStringList dateien;
        for (int i = 0; i < ORDNER; ++i)
            dateien << t.Datei("Lib/" + Index(i) + "/BOOKDATA.NET", Anfangsinhalt(i));
        const QString stopp = t.Pfad() + "stop";

        QProcess arbeitsplatz;
        arbeitsplatz.start(QStringLiteral(QK_ARBEITSPLATZ),
                           QStringList{QString::number(ARBEITSPLATZ), "4711",
                                       QString::number(ERSTE_FREIE), "255", stopp, "60"} +
                               dateien);
        QVERIFY2(arbeitsplatz.waitForReadyRead(10000), "the workstation did not start");
        QCOMPARE(arbeitsplatz.readLine().trimmed(), QByteArray("ready"));

        test::TestPlattform p;
        Zustand z(p);
        z.LibPath = lib;
        z.UserNr = ENTFERNT;
        QElapsedTimer uhr;
        uhr.start();
        int runden = 0;
        // Bounded in rounds and in time; enough of both for many collisions.
        while (runden < 150 && uhr.elapsed() < 15000) {
            z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, lib);
            Bookdata_Einlesen(z, lib, ENTFERNT);
            QCOMPARE(z.Anzahl_Buchungen, 4 * ORDNER);
            Buchungen_Löschen(z, lib);
            QCOMPARE(z.Status_Löschen, QStringLiteral("OK"));
            Rückgängig_Liste_Lesen(z, lib);
            cmd_Wiederherstellen(z, lib);
            QCOMPARE(z.Status_Löschen, QStringLiteral("OK"));
            ++runden;
        }
        QVERIFY2(p.meldungen.isEmpty(), qPrintable(p.meldungen.value(0).text));
        // The workstation was at work for the whole loop.
        QCOMPARE(arbeitsplatz.state(), QProcess::Running);

        t.Datei("stop", "");
        QVERIFY(arbeitsplatz.waitForFinished(20000));
        QCOMPARE(arbeitsplatz.exitCode(), 0);
        QList<Gehalten> gehalten;
        long vorgänge = 0;
        long gesehenVerloren = -1;
        long gesehenZurück = -1;
        for (const QByteArray& zeile : arbeitsplatz.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> teile = zeile.split(' ');
            if (teile.value(0) == "held")
                gehalten.append({teile[1].toInt(), teile[2].toInt(), teile[3].toInt()});
            else if (teile.value(0) == "done" && teile.size() == 6) {
                vorgänge = teile[1].toLong();
                gesehenVerloren = teile[4].toLong();
                gesehenZurück = teile[5].toLong();
            }
        }
        QVERIFY2(vorgänge > 10000, qPrintable(QString::number(vorgänge)));
        QVERIFY(!gehalten.isEmpty());
        // What the workstation itself saw while it ran.
        QCOMPARE(gesehenVerloren, 0L);
        QCOMPARE(gesehenZurück, 0L);

        QStringList verloren;      // held by the workstation, not booked by it in the file
        QStringList zurückgekehrt; // released by the workstation, booked by it in the file
        for (int i = 0; i < ORDNER; ++i) {
            const QByteArray jetzt = t.Lesen("Lib/" + Index(i) + "/BOOKDATA.NET");
            const QByteArray anfang = Anfangsinhalt(i);
            QCOMPARE(jetzt.size(), anfang.size());
            // Every box outside the workstation's range is as it was at the start: the deleted
            // user's bookings all came back, byte for byte.
            QCOMPARE(jetzt.left(ERSTE_FREIE * 16), anfang.left(ERSTE_FREIE * 16));
            for (int box = ERSTE_FREIE; box < 256; ++box) {
                const auto it =
                    std::find_if(gehalten.begin(), gehalten.end(),
                                 [&](const Gehalten& g) { return g.datei == i && g.box == box; });
                const QString wo = Index(i) + QStringLiteral("/%1").arg(box);
                const bool gebucht = quint8(jetzt[box * 16]) == ARBEITSPLATZ;
                if (it != gehalten.end() &&
                    (!gebucht || quint8(jetzt[box * 16 + 1]) != it->revision))
                    verloren << wo;
                if (it == gehalten.end() && quint8(jetzt[box * 16]) != 255)
                    zurückgekehrt << wo;
                QCOMPARE(jetzt.mid(box * 16 + 2, 14), anfang.mid(box * 16 + 2, 14));
            }
        }
        QVERIFY2(verloren.isEmpty(), qPrintable(QStringLiteral("%1 of %2 bookings lost: ")
                                                    .arg(verloren.size())
                                                    .arg(gehalten.size()) +
                                                verloren.join(' ')));
        QVERIFY2(
            zurückgekehrt.isEmpty(),
            qPrintable(QStringLiteral("%1 released bookings back: ").arg(zurückgekehrt.size()) +
                       zurückgekehrt.join(' ')));
    }
};

QTEST_GUILESS_MAIN(TestArbeitsplatz)
#include "test_arbeitsplatz.moc"
