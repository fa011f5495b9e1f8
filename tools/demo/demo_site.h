#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// A complete, realistic booking site for trying the program: a Global Directory with its user
// map, library list and login markers, and three Libraries full of index folders with
// bookings, backups, undo lists and a log of earlier work.
namespace qk::demo {

inline constexpr std::uint32_t DEMO_SEED = 1977;

struct Demo_Site {
    QString ordner;        // the folder given, absolute, ending with '/'
    QString globalPath;    // ends with '/'
    QStringList libraries; // as listed in QK_LIBPATHS.TXT, each ending with '/'
    int anwender = 0;      // users in QK_IDMAP.NET
    int indexordner = 0;   // over all Libraries
    int buchungen = 0;     // booked boxes left after the earlier work
    QList<int> angemeldet; // User-IDs with a login marker
};

// Builds the site in `ordner`, which must not exist yet or be empty. The same seed gives the
// same files. Throws std::runtime_error when the folder is not usable or a file cannot be
// written.
Demo_Site Demo_Bauen(const QString& ordner, std::uint32_t seed = DEMO_SEED);

// The Global Directory and first Library of a site that Demo_Bauen made in `ordner` earlier;
// empty paths when the folder holds none.
Demo_Site Demo_Finden(const QString& ordner);

} // namespace qk::demo
