#pragma once

#include "bookdata/datensaetze.h"
#include "shell/zustand.h"

#include <QString>

// What the files of the booking store share among themselves and nobody else needs.
namespace qk::intern {

inline const QString BOOKDATA_NET = QStringLiteral("BOOKDATA.NET");
inline const QString BOOKDATA_BAK = QStringLiteral("BOOKDATA.BAK");
inline const QString RÜCKGÄNGIG_LISTE = QStringLiteral("_!bookdata.txt");
inline const QString LOG_DATEI = QStringLiteral("Bookdata.log");

// An index folder that the count and the walk take: "IDX" and five digits, but not IDX00000.
bool Zählt_Als_Indexordner(const QString& name);

// The path of a file in an index folder of the Library.
QString Index_Datei(const QString& libPfad, const QString& index, const QString& name);

// Reads one index folder's BOOKDATA.NET into `treffer` (the bookings passing the filter) and
// returns true; counts Anzahl_Dateien and moves the progress display. Failures are reported as
// Bookdata_Öffnen's and give false; with `fehlendOhneMeldung` a folder that simply has no
// booking file gives false without a message, as the walk wants it.
bool Bookdata_Datei_Lesen(Zustand& z, const QString& libPfad, const QString& index, quint8 filter,
                          satz::Trefferliste& treffer, int& anzahl, bool fehlendOhneMeldung);

} // namespace qk::intern
