// qk_wettlauf --source DIR --mount DIR [--trials N] [--workstations K] [--via server|share]
//             [--pause-us P]
//
// The race of scripts/race: the program's restore and deletion on one index folder, through
// the mount of a qk_share that serves DIR of --source, while K workstations book and release
// the boxes of the same BOOKDATA.NET, right into the source folder (as on the server) or
// through the mount. One line per kind:
//
//   restore: trials N, boxes put back B, workstation bookings W, lost L, mixed M
//   delete: trials N, boxes freed F, workstation bookings W, lost L, mixed M
//
// "lost" counts the workstations' bookings that the program's write took away; "mixed" the
// boxes found booked with bytes of two bookings. The exit status is 1 when a box was mixed, 2
// when the trials could not run.
#include "wettlauf.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

using namespace qk::wettlauf;

int Benutzung() {
    std::fputs("usage: qk_wettlauf --source DIR --mount DIR [--trials N] [--workstations K]\n"
               "                   [--via server|share] [--pause-us P]\n",
               stderr);
    return 2;
}

QString Ordner(QString pfad) {
    return pfad.endsWith(QLatin1Char('/')) ? pfad : pfad + QLatin1Char('/');
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    QString quelle, mount;
    int versuche = 10, plätze = 1, pause = 0;
    bool überShare = false;
    bool gut = args.size() % 2 == 0;
    for (qsizetype i = 0; gut && i + 1 < args.size(); i += 2) {
        const QString& name = args.at(i);
        const QString& wert = args.at(i + 1);
        bool zahl = true;
        if (name == QLatin1String("--source"))
            quelle = Ordner(wert);
        else if (name == QLatin1String("--mount"))
            mount = Ordner(wert);
        else if (name == QLatin1String("--trials"))
            versuche = wert.toInt(&zahl);
        else if (name == QLatin1String("--workstations"))
            plätze = wert.toInt(&zahl);
        else if (name == QLatin1String("--pause-us"))
            pause = wert.toInt(&zahl);
        else if (name == QLatin1String("--via") &&
                 (wert == QLatin1String("server") || wert == QLatin1String("share")))
            überShare = wert == QLatin1String("share");
        else
            gut = false;
        gut = gut && zahl;
    }
    // Workstations book as users 200 and up; 255 marks a free box.
    if (!gut || quelle.isEmpty() || mount.isEmpty() || versuche < 1 || plätze < 1 || plätze > 50 ||
        pause < 0)
        return Benutzung();

    bool gemischt = false;
    for (const Art art : {Art::Wiederherstellen, Art::Freigeben}) {
        const Ergebnis e = Lauf(quelle, mount, art, plätze, überShare, pause, versuche);
        const bool zurück = art == Art::Wiederherstellen;
        std::printf("%s: trials %d, boxes %s %lld, workstation bookings %lld, lost %lld, "
                    "mixed %lld\n",
                    zurück ? "restore" : "delete", e.versuche, zurück ? "put back" : "freed",
                    static_cast<long long>(e.programm), static_cast<long long>(e.buchungen),
                    static_cast<long long>(e.verloren), static_cast<long long>(e.gemischt));
        std::fflush(stdout);
        if (!e.fehler.isEmpty()) {
            std::fprintf(stderr, "qk_wettlauf: %s\n", qPrintable(e.fehler));
            return 2;
        }
        gemischt = gemischt || e.gemischt > 0;
    }
    return gemischt ? 1 : 0;
}
