#pragma once

#include "demo/zufall.h"
#include "shell/zustand.h"

#include <QList>
#include <QString>

namespace qk::demo {

// The people of the demo site: the users of the map, and users who have left the company but
// still held bookings until an administrator removed them.
struct Belegschaft {
    QList<IdmapEintrag> anwender; // in map order, ascending User-ID
    QList<int> fleiß;             // per user: how many bookings they make (0 = none yet)
    QList<quint8> ehemalige;      // User-IDs no longer in the map
    QList<QString> ehemaligeNamen;
};

// `anzahl` users with distinct IDs from 1 upwards with a few gaps, distinct login names and PC
// names, and `ehemalige` former users whose IDs are among the gaps.
Belegschaft Belegschaft_Bilden(Zufall& zufall, int anzahl, int ehemalige);

} // namespace qk::demo
