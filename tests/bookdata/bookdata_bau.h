#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <initializer_list>

// BOOKDATA.NET contents for the tests. Every byte that the program must carry over unchanged
// gets a value of its own (depending on box and position), so that a byte that moves, or is
// cleared where it should not be, changes the comparison.
namespace qk::test {

struct Buchung {
    int box;
    quint8 user;
    quint8 rev;
};

inline char Füllbyte(int box, int stelle) {
    return char((box * 13 + stelle * 7 + 1) % 251);
}

// 4096 bytes, every box free: user byte 255, revision byte 0x11 (a free box keeps whatever
// revision it had), the rest the fill pattern.
inline QByteArray Bookdata(std::initializer_list<Buchung> buchungen = {}) {
    QByteArray d(4096, '\0');
    for (int box = 0; box < 256; ++box) {
        d[box * 16] = char(255);
        d[box * 16 + 1] = char(0x11);
        for (int i = 2; i < 16; ++i)
            d[box * 16 + i] = Füllbyte(box, i);
    }
    for (const Buchung& b : buchungen) {
        d[b.box * 16] = char(b.user);
        d[b.box * 16 + 1] = char(b.rev);
    }
    return d;
}

// The same bytes with the named boxes freed as a deletion frees them.
inline QByteArray Freigegeben(QByteArray d, std::initializer_list<int> boxen) {
    for (const int box : boxen) {
        d[box * 16] = char(255);
        d[box * 16 + 1] = char(255);
    }
    return d;
}

} // namespace qk::test
