#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qk::bench {

struct Bibliothek {
    QString pfad;       // ends with '/'
    QStringList ordner; // index folder names
    long long buchungen = 0;
};

// Writes a Library of `anzahl` index folders (IDX00001 upwards) whose BOOKDATA.NET files have
// about one box in `anteil` booked, by users 1 to `anwender`, always the same for one seed.
Bibliothek Bibliothek_Bauen(const QString& pfad, int anzahl, int anwender, int anteil,
                            unsigned seed);

} // namespace qk::bench
