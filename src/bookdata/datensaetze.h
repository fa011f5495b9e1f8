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

// Frees the boxes of `userNr` (every booked box when 0): user byte and revision byte become
// 255, every other byte stays. Returns the number of boxes freed.
int Buchungen_Freigeben(QByteArray& inhalt, quint8 userNr);

// Puts back, from the backup, each named box that is free in `aktuell` and booked in
// `sicherung` (all 16 bytes). A named box that already holds exactly the backup's booking needs
// nothing. Every other named box cannot be put back: it is free in the backup too, lies past
// the end of one of the files, or has been booked again since.
struct Rückholung {
    int zurückgeholt = 0;
    int nicht_möglich = 0;
};
Rückholung Boxen_Zurückholen(QByteArray& aktuell, const QByteArray& sicherung,
                             const std::vector<quint8>& boxen);

// What turns `alt` into `neu` (the same file after Buchungen_Freigeben or Boxen_Zurückholen),
// as pieces to write in place: one per box that differs, from its first to its last differing
// byte, with the bytes `alt` holds there. Bytes that did not change are never written, so a
// workstation's change to them since the read survives.
std::vector<datei::Stelle> Änderungen(const QByteArray& alt, const QByteArray& neu);

} // namespace qk::satz
