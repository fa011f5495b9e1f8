// The file layer on file systems that fail for real, through Qt and the kernel: a full tmpfs and
// a share that refuses requests. What a write reports must be what the file holds.
#include "bookdata/bookdata_intern.h"
#include "bookdata/ordnerarbeit.h"
#include "bookdata_bau.h"
#include "echtes_fs.h"
#include "idmap/idmap_datei.h"
#include "idmap/library_gang.h"
#include "idmap_bau.h"
#include "test_plattform.h"
#include "wettlauf/wettlauf.h"

#include <QtTest>

using namespace qk;
using namespace qk::test;

namespace {

QByteArray Inhalt(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("-");
}

bool Anlegen(const QString& pfad, const QByteArray& inhalt) {
    QFile f(pfad);
    return f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size();
}

QByteArray Karte(int benutzer) {
    QByteArray k;
    for (int i = 1; i <= benutzer; ++i)
        k += Idmap_Satz(quint8(i), "U" + QByteArray::number(i), "PC", "C:\\Q");
    return k;
}

enum Schreiber { Karte_Speichern, Liste_Schreiben, Ersetzen };
const QByteArray LISTE = "IDX00002\t3\t7\t1\r\n", ZEILE = "IDX00001\t5\t7\t3\r\n";
// Index folders of a Library on the share: more than the walks keep in flight.
constexpr int ORDNER = 100;

} // namespace

class TestEchteFehler : public QObject {
    Q_OBJECT
private slots:
    // A write in one step that fails leaves the old file and no temporary file behind and tells
    // why; with the fault gone, the same write goes through.
    void oneStepWrite_data() {
        QTest::addColumn<int>("schreiber");
        QTest::addColumn<QByteArray>("regel"); // qk_share's; none: a full tmpfs
        QTest::addColumn<int>("nummer");
        QTest::newRow("disk full: user map and backup")
            << int(Karte_Speichern) << QByteArray() << 61;
        QTest::newRow("disk full: undo list") << int(Liste_Schreiben) << QByteArray() << 61;
        QTest::newRow("share: EIO at the close")
            << int(Ersetzen) << QByteArray("fail flush:EIO:bookdata.txt.") << 75;
        QTest::newRow("share: EIO at the sync")
            << int(Ersetzen) << QByteArray("fail fsync:EIO:bookdata.txt.") << 75;
        QTest::newRow("share: EIO at the rename")
            << int(Ersetzen) << QByteArray("fail rename:EIO:bookdata.txt") << 75;
        QTest::newRow("share: full at a write")
            << int(Ersetzen) << QByteArray("fail write:ENOSPC:bookdata.txt.") << 61;
    }
    void oneStepWrite() {
        QFETCH(int, schreiber);
        QFETCH(QByteArray, regel);
        QFETCH(int, nummer);
        EchtesFs fs(regel.isNull() ? 256 : 0);
        if (!fs.Grund().isEmpty())
            QSKIP(qPrintable(fs.Grund()));
        const bool karte = schreiber == Karte_Speichern;
        QMap<QString, QByteArray> dateien{{"_!bookdata.txt", LISTE}};
        if (karte)
            dateien = {{"QK_IDMAP.BAK", Karte(4)}, {"QK_IDMAP.NET", Karte(10)}};
        for (auto it = dateien.begin(); it != dateien.end(); ++it)
            QVERIFY(Anlegen(fs.Quelle() + it.key(), *it));
        QFile voll(fs.Pfad() + "voll");
        if (regel.isNull()) {
            QVERIFY(voll.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            while (voll.write(QByteArray(4096, 'x')) == 4096) {
            }
            voll.close();
        } else {
            fs.Steuern(regel);
        }

        TestPlattform p;
        Zustand z{p};
        z.IdmapListe = Idmap_Zerlegen(Karte(20)).liste;
        const std::vector<BookdataEintrag> einträge(300, {"IDX00001", 5, 7, 3, 0, 0});
        const auto schreiben = [&] {
            if (karte)
                return Qk_Idmap_Speichern(z, fs.Pfad()) ? 0
                                                        : p.meldungen.last().text.right(2).toInt();
            return Geworfen([&] {
                if (schreiber == Liste_Schreiben)
                    intern::Undo_Liste_Schreiben(fs.Pfad(), LISTE, einträge);
                else
                    datei::Ersetzen(fs.Pfad() + "_!bookdata.txt",
                                    LISTE + ZEILE.repeated(300) + "\r\n");
            });
        };
        QCOMPARE(schreiben(), nummer);
        QCOMPARE(QDir(fs.Quelle()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 QStringList(dateien.keys()) << QStringList(regel.isNull() ? 1 : 0, "voll"));
        for (auto it = dateien.begin(); it != dateien.end(); ++it)
            QCOMPARE(Inhalt(fs.Quelle() + it.key()), *it);

        if (regel.isNull())
            QVERIFY(voll.remove());
        else
            fs.Steuern({});
        QCOMPARE(schreiben(), 0);
        if (karte)
            QCOMPARE(Inhalt(fs.Quelle() + "QK_IDMAP.NET") + Inhalt(fs.Quelle() + "QK_IDMAP.BAK"),
                     Karte(20) + Karte(10));
        else
            QCOMPARE(Inhalt(fs.Quelle() + "_!bookdata.txt"), LISTE + ZEILE.repeated(300) + "\r\n");
    }

    // A write in place whose close the share refuses is told too, though its bytes may be there.
    void inPlaceWriteRefusedAtTheClose() {
        EchtesFs share;
        if (!share.Grund().isEmpty())
            QSKIP(qPrintable(share.Grund()));
        share.Steuern("fail flush:EIO:QK_LOCAL.NET");
        for (const auto schreiben : {datei::Schreiben, datei::Überschreiben, datei::Anhängen})
            QCOMPARE(Geworfen([&] { schreiben(share.Pfad() + "QK_LOCAL.NET", "x"); }), 75);
    }

    // The share of a Library goes away during a removal: its server stops and leaves the mount
    // point an empty folder, or it refuses every request from the middle of a walk on; or
    // its booking files cannot be read. Nothing is written into the bare mount point, a share
    // that went is told of once, the result counts what the files show and names the Library,
    // and once the share is back Undo brings back every booking.
    void shareFailsDuringRemoval_data() {
        QTest::addColumn<int>("wann"); // 0 before the removal, 1 once its lists are emptied,
                                       // 2 once six bookings on the share are freed,
                                       // 3 once three booking files on the share are read
        QTest::addColumn<QByteArray>("regel"); // none: the server stops
        QTest::addColumn<QStringList>("titel");
        QTest::addColumn<QString>("ergebnis"); // %1 bookings in %2 files, %3 the share
        const QString gezählt = " Libraries.\r\n\r\n%1 Booking(s) in %2 file(s) deleted !";
        const QString fort = "\r\n\r\nNot reached or not finished (see the messages before):\r\n%3";
        QTest::newRow("server gone before")
            << 0 << QByteArray() << QStringList{"mnu_UserLöschen_Error"} << "1" + gezählt + fort;
        QTest::newRow("server gone after emptying the lists")
            << 1 << QByteArray() << QStringList{"mnu_UserLöschen_Error"} << "2" + gezählt + fort;
        QTest::newRow("every request refused halfway")
            << 2 << QByteArray("fail any:ENOTCONN") << QStringList{"Buchungen_Löschen_Error"}
            << "2" + gezählt + fort;
        QTest::newRow("every request refused while reading")
            << 3 << QByteArray("fail any:ENOTCONN") << QStringList{"Bookdata_Einlesen_Error"}
            << "2" + gezählt + fort;
        QTest::newRow("booking files unreadable")
            << 1 << QByteArray("fail read:EIO:BOOKDATA.NET")
            << QStringList(ORDNER, "Bookdata_Öffnen_Error")
            << "2" + gezählt + "\r\n\r\nBooking files that could not be read or written: " +
                   QString::number(ORDNER);
    }
    void shareFailsDuringRemoval() {
        QFETCH(int, wann);
        QFETCH(QByteArray, regel);
        QFETCH(QString, ergebnis);
        EchtesFs share;
        if (!share.Grund().isEmpty())
            QSKIP(qPrintable(share.Grund()));
        QTemporaryDir lokal;
        const QString global = lokal.filePath("global/"), lib = lokal.filePath("lib/");
        const QByteArray hier = Bookdata({{1, 7, 1}, {2, 7, 2}}),
                         dort = Bookdata({{3, 7, 1}, {4, 9, 1}, {5, 7, 2}}),
                         liste = "IDX00001\t4\t9\t1\r\n\r\n";
        QVERIFY(QDir().mkpath(global) && QDir().mkpath(lib + "IDX00001") &&
                Anlegen(lib + "LIBINFO.SYS", {}) && Anlegen(lib + "IDX00001/BOOKDATA.NET", hier) &&
                Anlegen(share.Quelle() + "LIBINFO.SYS", {}) &&
                Anlegen(share.Quelle() + "_!bookdata.txt", liste));
        const auto datei = [&](int i) {
            return share.Quelle() + QStringLiteral("IDX%1").arg(i, 5, 10, QChar('0'));
        };
        for (int i = 1; i <= ORDNER; ++i)
            QVERIFY(QDir().mkdir(datei(i)) && Anlegen(datei(i) + "/BOOKDATA.NET", dort));

        struct : TestPlattform {
            std::function<void()> beiArbeit;
            void Ereignisse_Verarbeiten() override { beiArbeit(); }
        } p;
        Zustand z{p};
        z.GlobalPath = global;
        z.LibListe = {share.Pfad(), lib};
        z.IdmapListe = Idmap_Zerlegen(Karte(10)).liste;
        z.UserNr = 7;
        z.UserIndex = 6;
        const auto stören = [&] {
            if (regel.isNull())
                share.Trennen();
            else
                share.Steuern(regel);
        };
        if (wann == 0)
            stören();
        p.beiArbeit = [&] {
            if ((wann == 2 && z.Buchungen_Gelöscht >= 6) || (wann == 3 && z.Anzahl_Dateien >= 3)) {
                wann = -wann;
                stören();
            }
        };
        const auto e = Entfernen_Ausführen(z, [&] {
            if (wann == 1)
                stören();
        });
        QVERIFY(e.has_value());
        QTEST(p.Titel(), "titel");
        int frei = 0, dateien = 0;
        for (int i = 1; i <= ORDNER; ++i) {
            const QByteArray jetzt = Inhalt(datei(i) + "/BOOKDATA.NET");
            frei += (jetzt.at(48) == '\xff') + (jetzt.at(80) == '\xff');
            dateien += jetzt != dort;
        }
        QCOMPARE(e->text, ergebnis.replace("%3", share.Pfad()).arg(frei + 2).arg(dateien + 1));
        QCOMPARE(Inhalt(lib + "IDX00001/BOOKDATA.NET"), Freigegeben(hier, {1, 2}));
        if (regel.isNull()) {
            QCOMPARE(QDir(share.Pfad())
                         .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                     QStringList());
            QCOMPARE(Inhalt(share.Quelle() + "_!bookdata.txt"), wann == 0 ? liste : "\r\n");
            QCOMPARE(frei, 0);
            return;
        }
        // Undo meets the share refusing every request in its walk too, and brings back the rest
        // once it answers again.
        share.Steuern(wann == -2 ? regel + "::60" : "");
        p.meldungen.clear();
        const Ergebnistext r = Rückgängig_Ausführen(z, "t");
        QCOMPARE(p.Titel().size(), wann == -2 ? 1 : 0);
        QCOMPARE(r.text.endsWith("\r\n" + share.Pfad()), wann == -2);
        share.Steuern({});
        if (wann == -2)
            Rückgängig_Ausführen(z, "t");
        QCOMPARE(Inhalt(lib + "IDX00001/BOOKDATA.NET"), hier);
        for (int i = 1; i <= ORDNER; ++i)
            QCOMPARE(Inhalt(datei(i) + "/BOOKDATA.NET"), dort);
    }

    // A removal empties the undo lists one after another; when a later one fails, the share
    // may refuse the put-back of an earlier one too. It is tried again, and a loss is told.
    void putBackOfAnEmptiedList_data() {
        QTest::addColumn<int>("abgelehnt"); // put-backs the share refuses
        QTest::newRow("refused twice") << 2;
        QTest::newRow("refused three times") << 3;
    }
    void putBackOfAnEmptiedList() {
        QFETCH(int, abgelehnt);
        EchtesFs share;
        if (!share.Grund().isEmpty())
            QSKIP(qPrintable(share.Grund()));
        QVERIFY(QDir().mkdir(share.Quelle() + "a") && QDir().mkdir(share.Quelle() + "b") &&
                Anlegen(share.Quelle() + "a/_!bookdata.txt", LISTE));
        share.Steuern("fail create:EIO:b/_!bookdata.txt\nfail rename:EIO:a/_!bookdata.txt:1:" +
                      QByteArray::number(abgelehnt));
        TestPlattform p;
        Zustand z{p};
        QCOMPARE(Geworfen([&] {
                     Rückgängig_Listen_Leeren(z, {share.Pfad() + "a/", share.Pfad() + "b/"});
                 }),
                 75);
        QCOMPARE(Inhalt(share.Quelle() + "a/_!bookdata.txt"), abgelehnt < 3 ? LISTE : "\r\n");
        QCOMPARE(p.Gezeigt(),
                 QStringList(abgelehnt / 3, "mnu_UserLöschen_Error|This undo list could not be put "
                                            "back; Undo cannot restore what it named:\r\n" +
                                                share.Pfad() + "a/_!bookdata.txt"));
    }

    // A change in place that a fault stops halfway names every piece the file may hold, and the
    // file holds exactly the pieces written before the fault.
    void rewriteOnFailingShare_data() {
        QTest::addColumn<QByteArray>("regel");
        QTest::addColumn<int>("nummer");
        QTest::addColumn<QList<int>>("gemeldet");
        QTest::addColumn<QList<int>>("neu");
        QTest::newRow("EIO after three writes") << QByteArray("fail write:EIO:BOOKDATA.NET:3") << 75
                                                << QList<int>{1, 2, 3, 4} << QList<int>{0, 1, 2};
        QTest::newRow("full at the first write")
            << QByteArray("fail write:ENOSPC:BOOKDATA.NET") << 61 << QList<int>{1} << QList<int>{};
        // Not taken for a piece that a workstation changed: the rest is not tried.
        QTest::newRow("EIO at the third compare read")
            << QByteArray("fail read:EIO:BOOKDATA.NET:3") << 75 << QList<int>{1, 2}
            << QList<int>{0, 1};
    }
    void rewriteOnFailingShare() {
        QFETCH(QByteArray, regel);
        QFETCH(int, nummer);
        QFETCH(QList<int>, gemeldet);
        QFETCH(QList<int>, neu);
        EchtesFs share;
        if (!share.Grund().isEmpty())
            QSKIP(qPrintable(share.Grund()));
        // Through the rewrite of a deletion: what it reports freed goes into the undo list.
        const QByteArray vorher = Bookdata({{1, 7, 1}, {2, 7, 2}, {3, 7, 3}, {4, 7, 4}, {5, 7, 5}});
        QVERIFY(QDir().mkdir(share.Quelle() + "IDX00001") &&
                Anlegen(share.Quelle() + "IDX00001/BOOKDATA.NET", vorher));
        std::vector<satz::Box> boxen;
        for (int box = 1; box <= 5; ++box)
            boxen.push_back({quint8(box), 7, quint8(box)});
        share.Steuern(regel);
        const ordner::Umgeschrieben u = ordner::Umschreiben(share.Pfad(), "IDX00001", boxen);
        QCOMPARE(u.fehler, nummer);
        QCOMPARE(QList<int>(u.freigegeben.begin(), u.freigegeben.end()), gemeldet);
        QCOMPARE(u.sicher, neu.size());
        const QByteArray nachher = Inhalt(share.Quelle() + "IDX00001/BOOKDATA.NET");
        QList<int> gefunden;
        for (int i = 0; i < 5; ++i) {
            if (nachher.mid(i * 16 + 16, 2) == "\xff\xff")
                gefunden << i;
        }
        QCOMPARE(gefunden, neu);
    }

    // A workstation that books a box between the program's compare and its write may lose that
    // booking (no lock shared with the workstations closes the window), but no box may ever be
    // left with bytes of two bookings: a restore writes each box whole.
    void workstationBooksBetweenCompareAndWrite_data() {
        QTest::addColumn<int>("art");
        QTest::newRow("restore") << int(wettlauf::Art::Wiederherstellen);
        QTest::newRow("deletion") << int(wettlauf::Art::Freigeben);
    }
    void workstationBooksBetweenCompareAndWrite() {
        QFETCH(int, art);
        EchtesFs share;
        if (!share.Grund().isEmpty())
            QSKIP(qPrintable(share.Grund()));
        // One workstation in a tight loop on the server, as close to the program as it gets.
        const wettlauf::Ergebnis e =
            wettlauf::Lauf(share.Quelle(), share.Pfad(), wettlauf::Art(art), 1, false, 0, 5);
        QVERIFY2(e.fehler.isEmpty(), qPrintable(e.fehler));
        QCOMPARE(e.versuche, 5);
        QVERIFY(e.buchungen > 0 && e.programm > 0); // the race did take place
        QCOMPARE(e.gemischt, 0);
    }
};

QTEST_GUILESS_MAIN(TestEchteFehler)
#include "test_echte_fehler.moc"
