#include "demo/demo_site.h"

#include "bookdata/bookdata.h"
#include "config/libpaths.h"
#include "demo/buchungen.h"
#include "demo/geschichte.h"
#include "demo/namen.h"
#include "demo/zufall.h"
#include "idmap/idmap_datei.h"
#include "platform/ansi.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "platform/stille_plattform.h"
#include "shell/routinen.h"
#include "shell/zustand.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <algorithm>
#include <stdexcept>

namespace qk::demo {
namespace {

constexpr int ANWENDER = 30;
constexpr int EHEMALIGE = 2;

struct Bauplan {
    const char* name;
    int ordner;
    int erste;      // number of the first index folder
    int schritt;    // folders are numbered with gaps of 1 to `schritt`
    bool ehemaligA; // the first former user worked here
    bool ehemaligB; // the second one did
};

constexpr Bauplan BAUPLAN[] = {
    {"Projects", 160, 101, 3, true, true},
    {"Standard_Parts", 90, 1, 1, false, true},
    {"Tooling", 60, 20001, 5, true, false},
};

QString Mit_Trenner(QString pfad) {
    if (!pfad.endsWith(QLatin1Char('/')))
        pfad += QLatin1Char('/');
    return pfad;
}

QString Indexname(int nummer) {
    return QStringLiteral("IDX%1").arg(nummer, 5, 10, QLatin1Char('0'));
}

void Ordner_Anlegen(const QString& pfad) {
    if (!QDir().mkpath(pfad))
        throw std::runtime_error("cannot create folder " + pfad.toStdString());
}

// Faults of the program's routines arrive as message boxes; any one spoils the site.
void Meldungen_Prüfen(const StillePlattform& p) {
    if (!p.meldungen.isEmpty())
        throw std::runtime_error("the program reported: " + p.meldungen.join(" | ").toStdString());
}

void Zeitpunkt(StillePlattform& p, int monat, int tag, int stunde, int minute, int sekunde) {
    p.jetzt = QDateTime(QDate(2026, monat, tag), QTime(stunde, minute, sekunde));
}

// The map as it stood with the given former users still in it, in ID order.
QList<IdmapEintrag> Karte(const Belegschaft& b, const QList<int>& mitEhemaligen) {
    QList<IdmapEintrag> liste = b.anwender;
    for (const int i : mitEhemaligen) {
        IdmapEintrag e;
        e.ID = b.ehemalige.at(i);
        e.UserName = b.ehemaligeNamen.at(i);
        e.PCName = QStringLiteral("CAD-WS%1").arg(70 + i, 3, 10, QLatin1Char('0'));
        e.LocalPath = QStringLiteral("C:\\Quorvik\\Local\\");
        liste.append(e);
    }
    std::stable_sort(liste.begin(), liste.end(),
                     [](const IdmapEintrag& a, const IdmapEintrag& c) { return a.ID < c.ID; });
    return liste;
}

void Karte_Speichern(Zustand& z, const QList<IdmapEintrag>& liste) {
    z.IdmapListe = liste;
    Qk_Idmap_Speichern(z, z.GlobalPath);
}

// The first folder of the list, from `ab` on, whose bookings pass the test.
template <typename Test>
QString Ordner_Suchen(const Bibliothek& b, const QMap<QString, QList<Box>>& belegung, int ab,
                      Test test) {
    for (int i = ab; i < b.ordner.size(); ++i) {
        if (test(belegung.value(b.pfad + b.ordner.at(i))))
            return b.ordner.at(i);
    }
    throw std::runtime_error("the site has no folder fit for the earlier work");
}

int Anzahl_Von(const QList<Box>& boxen, quint8 user) {
    return int(
        std::count_if(boxen.begin(), boxen.end(), [user](const Box& b) { return b.user == user; }));
}

} // namespace

Demo_Site Demo_Bauen(const QString& ordner, std::uint32_t seed) {
    Demo_Site site;
    site.ordner = Mit_Trenner(QDir::cleanPath(QFileInfo(ordner).absoluteFilePath()));
    const QDir wurzel(site.ordner);
    if (wurzel.exists() &&
        !wurzel.isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        throw std::runtime_error(site.ordner.toStdString() +
                                 " is not empty; the demo site needs a new or empty folder");
    Ordner_Anlegen(site.ordner);

    Zufall zufall(seed);
    const Belegschaft leute = Belegschaft_Bilden(zufall, ANWENDER, EHEMALIGE);
    StillePlattform p;
    Zustand z(p);

    try {
        // The Libraries and their index folders.
        QList<Bibliothek> bibliotheken;
        QMap<QString, QList<Box>> belegung;
        for (const Bauplan& plan : BAUPLAN) {
            Bibliothek b;
            b.pfad = site.ordner + QStringLiteral("Libraries/") + QString::fromLatin1(plan.name) +
                     QLatin1Char('/');
            Ordner_Anlegen(b.pfad);
            datei::Schreiben(b.pfad + LIBINFO_DATEI,
                             Ansi(QStringLiteral("Quorvik Library ") +
                                  QString::fromLatin1(plan.name) + QStringLiteral("\r\n")));
            QList<quint8> ehemalige;
            if (plan.ehemaligA)
                ehemalige.append(leute.ehemalige.at(0));
            if (plan.ehemaligB)
                ehemalige.append(leute.ehemalige.at(1));
            int nummer = plan.erste;
            for (int i = 0; i < plan.ordner; ++i) {
                const QString name = Indexname(nummer);
                const QList<Box> boxen = Ordner_Belegen(zufall, leute, ehemalige);
                Ordner_Anlegen(b.pfad + name);
                datei::Schreiben(b.pfad + name + QStringLiteral("/BOOKDATA.NET"),
                                 Bookdata_Bytes(zufall, boxen));
                belegung.insert(b.pfad + name, boxen);
                b.ordner.append(name);
                nummer += zufall.Zahl(1, plan.schritt);
            }
            site.indexordner += int(b.ordner.size());
            bibliotheken.append(b);
            site.libraries.append(b.pfad);
        }

        // The Global Directory: the map as it was before the earlier work, the library list
        // and the markers of the workstations running now.
        site.globalPath = site.ordner + QStringLiteral("Global/");
        Ordner_Anlegen(site.globalPath);
        z.GlobalPath = site.globalPath;
        z.LibPath = site.libraries.first();
        z.LibListe = site.libraries;
        if (!Datei_LibPath_Schreiben(z, z.GlobalPath))
            throw std::runtime_error("cannot write QK_LIBPATHS.TXT");
        Karte_Speichern(z, Karte(leute, {0, 1}));

        QList<int> kandidaten;
        for (int i = 0; i < leute.anwender.size(); ++i) {
            if (leute.fleiß.at(i) > 0)
                kandidaten.append(i);
        }
        const QString kennungen = QStringLiteral("ABCDEFGHJKLMNPRSTUVWXZ");
        for (int n = 0; n < 4; ++n) {
            const int i = kandidaten.takeAt(zufall.Zahl(0, int(kandidaten.size()) - 1));
            const IdmapEintrag& e = leute.anwender.at(i);
            const QString name = QStringLiteral("_!qk") +
                                 kennungen.at(zufall.Zahl(0, int(kennungen.size()) - 1)) +
                                 QStringLiteral("%1").arg(e.ID, 3, 10, QLatin1Char('0'));
            datei::Schreiben(site.globalPath + name, Ansi(e.PCName + QStringLiteral("\r\n")));
            site.angemeldet.append(e.ID);
        }
        std::sort(site.angemeldet.begin(), site.angemeldet.end());

        // The earlier work, in the order it happened.
        const Bibliothek& projekte = bibliotheken.at(0);
        const Bibliothek& normteile = bibliotheken.at(1);

        Zeitpunkt(p, 3, 16, 8, 12, 40);
        Anwender_Entfernen(z, bibliotheken, leute.ehemalige.at(0));
        Karte_Speichern(z, Karte(leute, {1}));

        // A whole index cleared by mistake and brought back two minutes later; the removal
        // before has freed the boxes of the first former user there.
        const QString versehen = Ordner_Suchen(
            projekte, belegung, int(projekte.ordner.size()) / 3, [&](const QList<Box>& boxen) {
                return boxen.size() - Anzahl_Von(boxen, leute.ehemalige.at(0)) >= 4;
            });
        Zeitpunkt(p, 6, 2, 14, 40, 5);
        Index_Löschen(z, projekte, QString::number(versehen.mid(3).toInt()), 0);
        Zeitpunkt(p, 6, 2, 14, 42, 31);
        Index_Rückgängig(z, projekte);

        // A user's boxes freed in one index after the workstation crashed.
        quint8 wer = 0;
        const QString absturz = Ordner_Suchen(normteile, belegung, 10, [&](const QList<Box>& b) {
            for (const Box& x : b) {
                if (!leute.ehemalige.contains(x.user) && Anzahl_Von(b, x.user) >= 2) {
                    wer = x.user;
                    return true;
                }
            }
            return false;
        });
        Zeitpunkt(p, 9, 21, 10, 5, 51);
        Index_Löschen(z, normteile, QString::number(absturz.mid(3).toInt()), wer);

        Zeitpunkt(p, 11, 12, 16, 27, 9);
        Anwender_Entfernen(z, bibliotheken, leute.ehemalige.at(1));
        Karte_Speichern(z, Karte(leute, {}));
        Meldungen_Prüfen(p);

        // What is booked now.
        for (const Bibliothek& b : bibliotheken) {
            z.LibPath = b.pfad;
            z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, b.pfad);
            Bookdata_Einlesen(z, b.pfad, 0);
            site.buchungen += Buchungen_Zählen(z);
        }
        Meldungen_Prüfen(p);
    } catch (const Fehler& f) {
        throw std::runtime_error("file error " + std::to_string(f.Nummer()) + " at " +
                                 f.Pfad().toStdString());
    }
    site.anwender = int(leute.anwender.size());
    return site;
}

Demo_Site Demo_Finden(const QString& ordner) {
    Demo_Site site;
    site.ordner = Mit_Trenner(QDir::cleanPath(QFileInfo(ordner).absoluteFilePath()));
    const QString global = site.ordner + QStringLiteral("Global/");
    if (!Datei_Existiert(global, QStringLiteral("QK_IDMAP.NET")))
        return site;
    StillePlattform p;
    Zustand z(p);
    z.GlobalPath = global;
    try {
        LibPaths_Einlesen(z);
    } catch (const Fehler&) {
        return site;
    }
    site.globalPath = global;
    site.libraries = z.LibListe;
    return site;
}

} // namespace qk::demo
