// qk_demo_site DIR [--seed N]   builds a demo site in DIR (new or empty)
// qk_demo_site --first-run DIR  when the settings store names no Global Directory, makes the
//                               demo site in DIR (or takes the one there) and stores its paths
#include "demo/demo_site.h"
#include "demo/einstellungen.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <exception>

namespace {

void Ausgeben(const QString& text) {
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
}

void Beschreiben(const qk::demo::Demo_Site& s) {
    Ausgeben(QStringLiteral("  Global Directory: %1").arg(s.globalPath));
    for (const QString& lib : s.libraries)
        Ausgeben(QStringLiteral("  Library:          %1").arg(lib));
    if (s.anwender > 0) {
        QStringList ids;
        for (const int id : s.angemeldet)
            ids.append(QString::number(id));
        Ausgeben(QStringLiteral("  %1 users (logged in: %2), %3 index folders, %4 bookings")
                     .arg(s.anwender)
                     .arg(ids.join(QStringLiteral(", ")))
                     .arg(s.indexordner)
                     .arg(s.buchungen));
    }
}

int Benutzung() {
    std::fputs("usage: qk_demo_site DIR [--seed N]\n"
               "       qk_demo_site --first-run DIR\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    try {
        if (args.size() == 2 && args.at(0) == QLatin1String("--first-run")) {
            qk::demo::Demo_Site site;
            switch (qk::demo::Ersten_Start_Vorbereiten(args.at(1), site)) {
            case qk::demo::Erster_Start::Vorhanden:
                return 0;
            case qk::demo::Erster_Start::Gebaut:
                Ausgeben(QStringLiteral("No Global Directory was stored yet: made a demo site in "
                                        "%1 and stored its paths.")
                             .arg(site.ordner));
                break;
            case qk::demo::Erster_Start::Wiederverwendet:
                Ausgeben(QStringLiteral("No Global Directory was stored yet: stored the paths of "
                                        "the demo site made earlier in %1.")
                             .arg(site.ordner));
                break;
            }
            Beschreiben(site);
            Ausgeben(
                QStringLiteral("  (Open Global Directory and Open Library Directory choose "
                               "others; delete the demo folder for a fresh one at the next run.)"));
            return 0;
        }

        std::uint32_t seed = qk::demo::DEMO_SEED;
        if (args.size() == 3 && args.at(1) == QLatin1String("--seed")) {
            bool ok = false;
            seed = args.at(2).toUInt(&ok);
            if (!ok)
                return Benutzung();
            args = args.mid(0, 1);
        }
        if (args.size() != 1 || args.at(0).startsWith(QLatin1Char('-')))
            return Benutzung();
        const qk::demo::Demo_Site site = qk::demo::Demo_Bauen(args.at(0), seed);
        Ausgeben(QStringLiteral("Demo site made in %1").arg(site.ordner));
        Beschreiben(site);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qk_demo_site: %s\n", e.what());
        return 1;
    }
}
