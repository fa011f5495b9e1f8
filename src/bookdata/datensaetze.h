#pragma once

#include "platform/dateien.h"

#include <QByteArray>
#include <QtGlobal>
#include <array>
#include <vector>

// The records of a BOOKDATA.NET as bytes in memory: 256 boxes of 16 bytes, byte 0 the user
// (255 = free), byte 1 the revision, byte 2 the extra byte, bytes 3 to 15 the tail.
// A file may be shorter than 4096 bytes (a workstation that stopped while writing); a box
// whose 16 bytes are not all there reads as free and its bytes stay as they are. Bytes past
// the 256th box are never looked at and never changed.
namespace qk::satz {

inline constexpr int BOXEN = 256;
inline constexpr int LÄNGE = 16;
inline constexpr quint8 FREI = 255;

// One booked box as the readers collect it.
struct Treffer {
    quint8 BoxNr;
    quint8 UserID;
    quint8 RevNr;
    quint8 Extra;
    quint8 Tail; // the box's last byte
};

using Trefferliste = std::array<Treffer, BOXEN>;

// Number of boxes whose 16 bytes are all present.
int Vollständige_Boxen(const QByteArray& inhalt);

// True when the box is present and booked (user byte not 255).
bool Gebucht(const QByteArray& inhalt, int box);

// Writes the booked boxes that pass the filter (0 = every user) to `ziel` in box order and
// returns how many there are.
int Buchungen_Finden(const QByteArray& inhalt, quint8 filter, Trefferliste& ziel);

// A booked box as a deletion lists it and its undo list names it.
struct Box {
    quint8 nr;
    quint8 user;
    quint8 rev;
};

// Frees each of `boxen` that still holds the listed booking (user and revision byte): user
// byte and revision byte become 255, every other byte stays. A box booked, released or changed
// since it was listed keeps what it holds. Returns the numbers of the boxes freed.
std::vector<quint8> Gelistete_Freigeben(QByteArray& inhalt, const std::vector<Box>& boxen);

// What a restore makes of one listed box. (Plain letters: moc reads this header too, and not
// enumerators with umlauts.)
enum class Rückkehr : quint8 {
    Wieder,   // put back now
    Schon_Da, // it holds its booking already
    Nie,      // it can never be put back: see Boxen_Zurückholen
    Offen,    // not decided: the file could not be read or written; it stays to restore
};

// Puts back each of `boxen` that is free in `aktuell`: copied whole from the backup when the
// backup holds that very booking, or from the box's user and revision when the backup has the
// box free (it was made after the box had been freed, by a later deletion in the folder). A box
// that already holds its booking again needs nothing. Every other box cannot be put back: it
// lies past the end of one of the files, the backup holds another booking there, or it has
// been booked again since, or a later entry of `boxen` names the same box (only the last
// booking freed there may come back). Gives what became of each, in the order of `boxen`.
std::vector<Rückkehr> Boxen_Zurückholen(QByteArray& aktuell, const QByteArray& sicherung,
                                        const std::vector<Box>& boxen);

// The pieces that turn `alt` into `neu` at the given boxes, `länge` bytes from each box's
// start: the two bytes of user and revision for a deletion, the whole box for a restore (so
// that no box is ever left half one booking, half another). Each piece is written only while
// the file still holds what `alt` holds there.
std::vector<datei::Stelle> Box_Stellen(const QByteArray& alt, const QByteArray& neu,
                                       const std::vector<quint8>& boxen, int länge);

} // namespace qk::satz
