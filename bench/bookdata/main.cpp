// Measures the booking store on a generated Library against plain file loops over the same
// files. Usage: bench_bookdata [--folders N] [--rounds R] [--dir PATH]
#include "befehle.h"
#include "bibliothek.h"
#include "grundlinie.h"
#include "messen.h"
#include "netz.h"
#include "null_plattform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <unistd.h>

using namespace qk;
using namespace qk::bench;

namespace {

constexpr int ANWENDER = 50;
constexpr int ANTEIL = 5; // one box in five booked
constexpr double GRENZE_LESEN = 1.5;
constexpr double GRENZE_LÖSCHEN = 3.0;
constexpr double GRENZE_ERSTE = 1.5; // the first deletion against a loop making new backups
constexpr double GRENZE_BYTES = 64.0;

// Child mode: the all-users read in a fresh process, printing idle and peak resident size.
int Speicher_Messen(const QString& lib) {
    NullPlattform p;
    Zustand z(p);
    NullFortschritt fortschritt;
    z.Fortschritt = &fortschritt;
    const long long leer = Status_kB("VmRSS");
    const qint32 n = Einlesen(z, lib, 0);
    const long long spitze = Status_kB("VmHWM");
    std::printf("%lld %lld %d %d\n", leer, spitze, int(n), int(p.meldungen.size()));
    return 0;
}

struct Quote {
    std::vector<double> wand;
    std::vector<double> cpu;
    void Dazu(const Zeit& wir, const Zeit& grund) {
        wand.push_back(wir.wand / grund.wand);
        cpu.push_back(wir.cpu / grund.cpu);
    }
};

class Lauf {
public:
    explicit Lauf(const Bibliothek& b) : bib(b), z(p) { z.Fortschritt = &fortschritt; }

    // Every round measures the plain loop and both reads back to back, so that the load of
    // the machine at that moment weighs on all three alike; the ratio is taken per round.
    void Lesen(int runden) {
        Grundlinie_Lesen(bib.pfad); // the page cache is warm for everyone
        for (int r = 0; r < runden; ++r) {
            const Zeit g = Messen([&] { Grundlinie_Lesen(bib.pfad); });
            const Zeit e = Messen([&] { nEiner = Einlesen(z, bib.pfad, 7); });
            const Zeit a = Messen([&] { nAlle = Einlesen(z, bib.pfad, 0); });
            ok = ok && nAlle == bib.buchungen && z.Ordner_Nr == bib.ordner.size() &&
                 z.Anzahl_Dateien == bib.ordner.size();
            grund.push_back(g.wand);
            einer.push_back(e.wand);
            alle.push_back(a.wand);
            quoteEiner.Dazu(e, g);
            quoteAlle.Dazu(a, g);
        }
        BookdataListe_Zurücksetzen(z);
    }

    // The user's bookings are listed, their files rewritten plainly, then deleted for real and
    // restored from the undo list, which leaves the Library as it was. `sicherung` names the
    // backup the plain loop writes: a new file for the first deletion, none otherwise.
    Zeit Löschen(quint8 user, Zeit& grundlinie, int& dateien, const QString& sicherung = {}) {
        const qint32 n = Einlesen(z, bib.pfad, user);
        const QStringList ordner = Ordner_Der_Liste(z);
        dateien = int(ordner.size());
        grundlinie = Messen([&] { Grundlinie_Umschreiben(bib.pfad, ordner, 1, sicherung); });
        for (const QString& o : ordner)
            QFile::remove(bib.pfad + o + QLatin1Char('/') + sicherung);
        z.Summe_Buchungen = 0;
        z.Summe_Dateien = 0;
        const Zeit t = Messen([&] { Buchungen_Löschen(z, bib.pfad); });
        ok = ok && z.Buchungen_Gelöscht == n && z.Dateien_Bearbeitet == dateien &&
             z.Status_Löschen == QStringLiteral("OK") && z.Status_Schreiben == QStringLiteral("OK");
        return t;
    }

    Zeit Wiederherstellen(quint8 user) {
        const Zeit t = Messen([&] { qk::bench::Wiederherstellen(z, bib.pfad, user); });
        ok = ok && z.Status_Löschen == QStringLiteral("OK");
        BookdataListe_Zurücksetzen(z);
        return t;
    }

    bool Fehlerfrei() const {
        for (const QString& m : p.meldungen)
            Ausgabe(QStringLiteral("ERROR shown during the run: ") + m);
        return p.meldungen.isEmpty();
    }

    const Bibliothek& bib;
    NullPlattform p;
    Zustand z;
    NullFortschritt fortschritt;
    bool ok = true;
    qint32 nEiner = 0;
    qint32 nAlle = 0;
    std::vector<double> grund, einer, alle;
    Quote quoteEiner, quoteAlle;
};

struct Speicher {
    long long leer = -1;
    long long spitze = -1;
    long long buchungen = 0;
    bool ok = false;
};

Speicher Speicher_Im_Kindprozess(const QString& lib) {
    QProcess kind;
    kind.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--memory-child"), lib});
    kind.waitForFinished(-1);
    const QList<QByteArray> teile = kind.readAllStandardOutput().trimmed().split(' ');
    Speicher s;
    if (teile.size() != 4)
        return s;
    s.leer = teile[0].toLongLong();
    s.spitze = teile[1].toLongLong();
    s.buchungen = teile[2].toLongLong();
    s.ok = teile[3] == "0" && s.leer > 0 && s.spitze >= s.leer;
    return s;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QStringLiteral("--memory-child"))
        return Speicher_Messen(args[2]);

    int anzahl = 10000;
    int runden = 5;
    QString basis = QDir::tempPath();
    Netzangaben netz;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QStringLiteral("--folders"))
            anzahl = std::max(1, args[i + 1].toInt());
        else if (args[i] == QStringLiteral("--rounds"))
            runden = std::max(1, args[i + 1].toInt());
        else if (args[i] == QStringLiteral("--dir"))
            basis = args[i + 1];
        else if (args[i] == QStringLiteral("--share-local"))
            netz.lokal = args[i + 1];
        else if (args[i] == QStringLiteral("--share-mount"))
            netz.mount = args[i + 1];
        else if (args[i] == QStringLiteral("--share-stats"))
            netz.stats = args[i + 1];
    }
    // On the share every figure costs real waiting: fewer rounds unless asked for.
    int netzStatus = 0;
    if (!netz.mount.isEmpty()) {
        netz.ordner = anzahl;
        netz.runden = std::min(runden, 2);
        netzStatus = Netz_Messen(netz);
        Ausgabe(QString());
        Ausgabe(QStringLiteral("Local disk:"));
    }

    QTemporaryDir temp(basis + QStringLiteral("/qk-bench-XXXXXX"));
    if (!temp.isValid()) {
        Ausgabe(QStringLiteral("cannot create a temporary folder in ") + basis);
        return 2;
    }
    Ausgabe(QStringLiteral("Building a Library of %1 index folders in %2 ...")
                .arg(anzahl)
                .arg(temp.path()));
    const Bibliothek bib =
        Bibliothek_Bauen(temp.path() + QStringLiteral("/Lib"), anzahl, ANWENDER, ANTEIL, 20261206);
    ::sync(); // the writes of the build must not go on behind the measurements
    Ausgabe(QStringLiteral("%1 bookings by %2 users").arg(bib.buchungen).arg(ANWENDER));

    Lauf lauf(bib);
    lauf.Lesen(runden);
    Ausgabe(
        QStringLiteral("plain read of every BOOKDATA.NET:   %1 ms").arg(Zahl(Median(lauf.grund))));
    Ausgabe(QStringLiteral("count + read, user 7 (%1 bookings): %2 ms")
                .arg(lauf.nEiner)
                .arg(Zahl(Median(lauf.einer))));
    Ausgabe(QStringLiteral("count + read, all users (%1):   %2 ms")
                .arg(lauf.nAlle)
                .arg(Zahl(Median(lauf.alle))));

    // The first deletion in the fresh Library creates every BOOKDATA.BAK it needs; after the
    // undo the same deletion finds them present, as every later deletion in a Library does.
    const quint8 anwender[] = {7, 23, 42};
    Quote ersteQuote, quote;
    std::vector<double> löschenMs, wiederMs;
    int ersteDateien = 0;
    for (const quint8 u : anwender) {
        Zeit g1, g2;
        int dateien = 0;
        const Zeit erste =
            lauf.Löschen(u, g1, dateien, u == anwender[0] ? QStringLiteral("BOOKDATA.NEU") : "");
        wiederMs.push_back(lauf.Wiederherstellen(u).wand);
        const Zeit zweite = lauf.Löschen(u, g2, dateien);
        lauf.Wiederherstellen(u);
        if (u == anwender[0]) {
            ersteQuote.Dazu(erste, g1);
            ersteDateien = dateien;
        }
        quote.Dazu(zweite, g2);
        löschenMs.push_back(zweite.wand);
        Ausgabe(QStringLiteral("delete user %1 in %2 files: %3 ms creating the backups, %4 ms "
                               "with backups present; plain read+rewrite %5 ms")
                    .arg(u)
                    .arg(dateien)
                    .arg(Zahl(erste.wand))
                    .arg(Zahl(zweite.wand))
                    .arg(Zahl(g2.wand)));
    }
    const bool fehlerfrei = lauf.Fehlerfrei();

    const Speicher sp = Speicher_Im_Kindprozess(bib.pfad);
    const double bytesJeBuchung = sp.ok && sp.buchungen > 0
                                      ? double(sp.spitze - sp.leer) * 1024.0 / double(sp.buchungen)
                                      : -1;
    Ausgabe(QStringLiteral("all-users read in a fresh process: idle %1 kB, peak %2 kB")
                .arg(sp.leer)
                .arg(sp.spitze));

    const double qEiner = Median(lauf.quoteEiner.wand);
    const double qAlle = Median(lauf.quoteAlle.wand);
    const double qLöschen = Median(quote.wand);
    const double qErste = Median(ersteQuote.wand);
    const bool richtig = lauf.ok && fehlerfrei && sp.ok && sp.buchungen == bib.buchungen;
    const bool innerhalb = qEiner <= GRENZE_LESEN && qAlle <= GRENZE_LESEN &&
                           qLöschen <= GRENZE_LÖSCHEN && qErste <= GRENZE_ERSTE &&
                           bytesJeBuchung >= 0 && bytesJeBuchung <= GRENZE_BYTES;

    Ausgabe(QString());
    Ausgabe(QStringLiteral("folders: %1").arg(anzahl));
    Ausgabe(QStringLiteral("bookings: %1").arg(bib.buchungen));
    Ausgabe(QStringLiteral("baseline_read_ms: %1").arg(Zahl(Median(lauf.grund))));
    Ausgabe(QStringLiteral("read_one_user_ms: %1").arg(Zahl(Median(lauf.einer))));
    Ausgabe(QStringLiteral("read_one_user_ratio: %1").arg(Zahl(qEiner)));
    Ausgabe(QStringLiteral("read_one_user_cpu_ratio: %1").arg(Zahl(Median(lauf.quoteEiner.cpu))));
    Ausgabe(QStringLiteral("read_all_users_ms: %1").arg(Zahl(Median(lauf.alle))));
    Ausgabe(QStringLiteral("read_all_users_ratio: %1").arg(Zahl(qAlle)));
    Ausgabe(QStringLiteral("read_all_users_cpu_ratio: %1").arg(Zahl(Median(lauf.quoteAlle.cpu))));
    Ausgabe(QStringLiteral("delete_files: %1").arg(ersteDateien));
    Ausgabe(QStringLiteral("delete_one_user_ms: %1").arg(Zahl(Median(löschenMs))));
    Ausgabe(QStringLiteral("delete_one_user_ratio: %1").arg(Zahl(qLöschen)));
    Ausgabe(QStringLiteral("delete_one_user_cpu_ratio: %1").arg(Zahl(Median(quote.cpu))));
    Ausgabe(QStringLiteral("delete_creating_backups_ratio: %1").arg(Zahl(qErste)));
    Ausgabe(QStringLiteral("restore_one_user_ms: %1").arg(Zahl(Median(wiederMs))));
    Ausgabe(QStringLiteral("peak_bytes_per_booking: %1").arg(Zahl(bytesJeBuchung, 1)));
    Ausgabe(QStringLiteral("results_correct: %1").arg(richtig ? "yes" : "no"));
    Ausgabe(QStringLiteral("within_limits: %1").arg(innerhalb ? "yes" : "no"));
    const int status = richtig && innerhalb ? 0 : 1;
    return std::max(status, netzStatus);
}
