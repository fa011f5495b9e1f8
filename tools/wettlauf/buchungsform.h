#pragma once

#include <QByteArray>
#include <QtGlobal>

// The shape of every booking the race trials write, so that a box holding parts of two writes
// shows: bytes 2 to 13 a stamp (its four bytes three times), bytes 14 and 15 a checksum over
// bytes 0 to 13. A free box (user byte 255) is not looked at beyond its user byte: a release
// and a deletion write only its first two bytes.
namespace qk::wettlauf {

QByteArray Buchung(quint8 user, quint8 rev, quint32 stempel);

// True for a free box and for one whole booking of the shape above; `box` holds 16 bytes.
bool Ganz(const char* box);

} // namespace qk::wettlauf
