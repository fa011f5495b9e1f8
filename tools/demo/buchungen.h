#pragma once

#include "demo/namen.h"
#include "demo/zufall.h"

#include <QByteArray>
#include <QList>

namespace qk::demo {

struct Box {
    int nummer; // 0 to 255
    quint8 user;
    quint8 rev;
};

// The 4096 bytes of a BOOKDATA.NET in which exactly these boxes are booked. The bytes that the
// CAD system keeps for itself (extra byte and tail) carry values of their own; some free boxes
// show the traces of an earlier booking.
QByteArray Bookdata_Bytes(Zufall& zufall, const QList<Box>& boxen);

// The bookings of one index folder: mostly a small team working on it, a few folders busy, a
// good part untouched. Users with more `fleiß` book more; `ehemalige` may appear with a few
// boxes of their own. Ascending box numbers.
QList<Box> Ordner_Belegen(Zufall& zufall, const Belegschaft& b, const QList<quint8>& ehemalige);

} // namespace qk::demo
