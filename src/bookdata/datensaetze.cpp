#include "bookdata/datensaetze.h"

#include <algorithm>

namespace qk::satz {
namespace {

quint8 Byte(const QByteArray& inhalt, qsizetype i) {
    return static_cast<quint8>(inhalt[i]);
}

// Whether the whole box is there and holds the booking: its user (not a free box) and revision.
bool Hält(const QByteArray& inhalt, const Box& b) {
    const qsizetype a = qsizetype(b.nr) * LÄNGE;
    return b.user != FREI && b.nr < Vollständige_Boxen(inhalt) && Byte(inhalt, a) == b.user &&
           Byte(inhalt, a + 1) == b.rev;
}

} // namespace

int Vollständige_Boxen(const QByteArray& inhalt) {
    return int(std::min<qsizetype>(BOXEN, inhalt.size() / LÄNGE));
}

bool Gebucht(const QByteArray& inhalt, int box) {
    return box >= 0 && box < Vollständige_Boxen(inhalt) &&
           Byte(inhalt, qsizetype(box) * LÄNGE) != FREI;
}

int Buchungen_Finden(const QByteArray& inhalt, quint8 filter, Trefferliste& ziel) {
    const int boxen = Vollständige_Boxen(inhalt);
    int n = 0;
    for (int r = 0; r < boxen; ++r) {
        const qsizetype a = qsizetype(r) * LÄNGE;
        const quint8 u = Byte(inhalt, a);
        if (u == FREI || (filter != 0 && u != filter))
            continue;
        ziel[n++] = Treffer{quint8(r), u, Byte(inhalt, a + 1), Byte(inhalt, a + 2),
                            Byte(inhalt, a + LÄNGE - 1)};
    }
    return n;
}

std::vector<quint8> Gelistete_Freigeben(QByteArray& inhalt, const std::vector<Box>& boxen) {
    std::vector<quint8> frei;
    for (const Box& b : boxen) {
        if (!Hält(inhalt, b))
            continue;
        const qsizetype a = qsizetype(b.nr) * LÄNGE;
        inhalt[a] = char(FREI);
        inhalt[a + 1] = char(FREI);
        frei.push_back(b.nr);
    }
    return frei;
}

Rückholung Boxen_Zurückholen(QByteArray& aktuell, const QByteArray& sicherung,
                             const std::vector<Box>& boxen) {
    Rückholung r;
    for (const Box& b : boxen) {
        const qsizetype a = qsizetype(b.nr) * LÄNGE;
        const bool vorhanden = b.nr < Vollständige_Boxen(aktuell);
        const bool gesichert = b.nr < Vollständige_Boxen(sicherung);
        if (vorhanden && Hält(aktuell, b))
            continue; // back already
        if (!vorhanden || Gebucht(aktuell, b.nr) || !gesichert || b.user == FREI) {
            ++r.nicht_möglich;
        } else if (Hält(sicherung, b)) {
            std::copy(sicherung.constBegin() + a, sicherung.constBegin() + a + LÄNGE,
                      aktuell.begin() + a);
            ++r.zurückgeholt;
        } else if (!Gebucht(sicherung, b.nr)) {
            aktuell[a] = char(b.user);
            aktuell[a + 1] = char(b.rev);
            ++r.zurückgeholt;
        } else {
            ++r.nicht_möglich;
        }
    }
    return r;
}

std::vector<datei::Stelle> Änderungen(const QByteArray& alt, const QByteArray& neu) {
    std::vector<datei::Stelle> stellen;
    const qsizetype länge = std::min(alt.size(), neu.size());
    for (qsizetype anfang = 0; anfang < länge; anfang += LÄNGE) {
        const qsizetype ende = std::min(länge, anfang + LÄNGE);
        qsizetype von = anfang;
        while (von < ende && alt[von] == neu[von])
            ++von;
        if (von == ende)
            continue;
        qsizetype bis = ende;
        while (alt[bis - 1] == neu[bis - 1])
            --bis;
        stellen.push_back(datei::Stelle{von, alt.mid(von, bis - von), neu.mid(von, bis - von)});
    }
    return stellen;
}

} // namespace qk::satz
