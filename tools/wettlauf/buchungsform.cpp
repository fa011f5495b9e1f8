#include "buchungsform.h"

#include "bookdata/datensaetze.h"

#include <cstring>

namespace qk::wettlauf {
namespace {

// FNV-1a folded to 16 bits: a user byte from another booking changes it, unlike a plain sum
// that two swapped bytes leave alone.
quint16 Prüfsumme(const char* box) {
    quint32 h = 0x811C9DC5u;
    for (int i = 0; i < 14; ++i)
        h = (h ^ quint8(box[i])) * 16777619u;
    return quint16((h >> 16) ^ (h & 0xFFFF));
}

} // namespace

QByteArray Buchung(quint8 user, quint8 rev, quint32 stempel) {
    QByteArray box(satz::LÄNGE, '\0');
    box[0] = char(user);
    box[1] = char(rev);
    for (int i = 2; i < 14; ++i)
        box[i] = char(stempel >> (8 * ((i - 2) % 4)));
    const quint16 summe = Prüfsumme(box.constData());
    box[14] = char(summe & 0xFF);
    box[15] = char(summe >> 8);
    return box;
}

bool Ganz(const char* box) {
    if (quint8(box[0]) == satz::FREI)
        return true;
    if (std::memcmp(box + 2, box + 6, 4) != 0 || std::memcmp(box + 2, box + 10, 4) != 0)
        return false;
    const quint16 summe = Prüfsumme(box);
    return quint8(box[14]) == (summe & 0xFF) && quint8(box[15]) == (summe >> 8);
}

} // namespace qk::wettlauf
