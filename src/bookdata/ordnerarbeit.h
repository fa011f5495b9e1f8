#pragma once

#include "bookdata/datensaetze.h"

#include <QString>
#include <vector>

// The file work of the booking store on one index folder, as the walks hand it to other
// threads: it touches nothing but its arguments and the file layer, reports nothing, and
// answers with what it did and the number of the error that stopped it (0 when none).
namespace qk::ordner {

struct Gelesen {
    int fehler = 0;
    int anzahl = 0;
    satz::Trefferliste treffer;
};

// The bookings of libPfad+index+"\BOOKDATA.NET" that pass the filter (0 = every user).
Gelesen Lesen(const QString& libPfad, const QString& index, quint8 filter);

struct Umgeschrieben {
    int fehler = 0;
    int boxen = 0;                   // whole boxes of the file as it was read for the rewrite
    std::vector<quint8> freigegeben; // the boxes that may be free now because of this rewrite
    int sicher = 0;                  // of those, the ones known to be written
};

// Backs BOOKDATA.NET up as BOOKDATA.BAK and frees in it those of `boxen` that still hold their
// listed booking. Nothing is written to the booking file unless its backup is complete. A
// failure partway leaves the boxes freed so far free; `freigegeben` names them all the same.
Umgeschrieben Umschreiben(const QString& libPfad, const QString& index,
                          const std::vector<satz::Box>& boxen);

struct Zurückgeholt {
    int fehler = 0;
    int zurück = 0;                 // boxes written back by this restore
    bool geschrieben = false;       // whether the booking file was written
    std::vector<satz::Rückkehr> je; // what became of each of `boxen`
};

// Puts back from BOOKDATA.BAK those of `boxen` that are free now (see satz::Boxen_Zurückholen),
// each box whole. A folder without BOOKDATA.BAK cannot get any back; a folder that lost its
// BOOKDATA.NET gets it back from the backup. After a failure every box not yet decided is
// Offen.
Zurückgeholt Zurückholen(const QString& libPfad, const QString& index,
                         const std::vector<satz::Box>& boxen);

} // namespace qk::ordner
