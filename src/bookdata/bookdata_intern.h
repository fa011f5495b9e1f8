#pragma once

#include "bookdata/datensaetze.h"
#include "bookdata/ordnerarbeit.h"
#include "shell/zustand.h"

#include <QString>
#include <vector>

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

// The reading of one index folder's BOOKDATA.NET as the user sees it: a failure is reported as
// Bookdata_Öffnen's and gives false; a success counts Anzahl_Dateien and moves the progress
// display. With `fehlendOhneMeldung` a folder that simply has no booking file gives false
// without a message, as the walk wants it.
bool Gelesen_Melden(Zustand& z, const QString& libPfad, const QString& index,
                    const ordner::Gelesen& g, bool fehlendOhneMeldung);

// One index folder of a list of bookings, with every box the list names there.
struct Listenordner {
    QString index;
    std::vector<satz::Box> boxen;
    std::vector<size_t> einträge; // their places in the list
    int gruppen = 0;              // runs of adjacent entries naming it (1 in a list as read)
};

// The folders of the list in the order they first appear; the blank entry names none.
std::vector<Listenordner> Ordner_Der_Liste(const std::vector<BookdataEintrag>& liste);

// Writes the Library's undo list: `davor`, then one line for each entry of `liste` (for each
// one marked in `frei`, when given), then the empty line. Throws qk::Fehler.
void Undo_Liste_Schreiben(const QString& libPfad, const QByteArray& davor,
                          const std::vector<BookdataEintrag>& liste,
                          const std::vector<char>* frei = nullptr);

// The lines of the Library's undo list up to its first empty line, each ended by CR LF, as
// they stand (none when there is no list). Throws qk::Fehler.
QByteArray Undo_Liste_Zeilen(const QString& libPfad);

} // namespace qk::intern
