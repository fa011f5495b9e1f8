#pragma once

#include <QString>
#include <QtGlobal>

// Trials of the program's work on one index folder while workstations book and release boxes
// of the same BOOKDATA.NET. The program compares a box and writes it in two requests; a
// workstation that writes the box in between loses its booking, and without a lock that the
// workstations honour that window cannot be closed. The trials count how often it happens, and
// that no box is ever left holding parts of two bookings.
// (Plain letters: the tests that include this header are read by moc.)
namespace qk::wettlauf {

enum class Art {
    Wiederherstellen, // ordner::Zurückholen of 256 boxes freed as a deletion leaves them
    Freigeben,        // ordner::Umschreiben of 256 bookings of user 7 revision 1
};

struct Ergebnis {
    int versuche = 0;
    qint64 programm = 0;  // boxes the program put back or freed
    qint64 buchungen = 0; // bookings the workstations wrote
    qint64 verloren = 0;  // of those, the ones the program's write took away
    qint64 gemischt = 0;  // boxes seen booked with bytes of two bookings
    QString fehler;       // what stopped the trials; empty when they ran
};

// Runs `versuche` trials in the index folder IDX00001 of the Library `quelleLib` (the folder a
// qk_share serves; ending with '/'), the program working through `mountLib` (the share's mount
// of it). Each of `arbeitsplaetze` workstations owns every n-th box and writes it through the
// mount (`ueberShare`) or right into `quelleLib`, as on the server, pausing `pauseUs` µs after
// each booking it writes.
Ergebnis Lauf(const QString& quelleLib, const QString& mountLib, Art art, int arbeitsplaetze,
              bool ueberShare, int pauseUs, int versuche);

} // namespace qk::wettlauf
