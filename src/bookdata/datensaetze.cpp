#include "bookdata/datensaetze.h"

#include <algorithm>
#include <array>

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

std::vector<Rückkehr> Boxen_Zurückholen(QByteArray& aktuell, const QByteArray& sicherung,
                                        const std::vector<Box>& boxen) {
    // A box named twice was freed again by a deletion that joined later: only the last booking
    // freed there may come back. An earlier other one had been booked over (its user and
    // revision over the later one's bytes would mix the two); the same one needs nothing more.
    std::array<size_t, BOXEN> letzter{};
    for (size_t i = 0; i < boxen.size(); ++i)
        letzter[boxen[i].nr] = i;
    std::vector<Rückkehr> r;
    r.reserve(boxen.size());
    for (const Box& b : boxen) {
        const qsizetype a = qsizetype(b.nr) * LÄNGE;
        if (const Box& l = boxen[letzter[b.nr]]; letzter[b.nr] != r.size()) {
            r.push_back(l.user == b.user && l.rev == b.rev ? Rückkehr::Schon_Da : Rückkehr::Nie);
            continue;
        }
        const bool vorhanden = b.nr < Vollständige_Boxen(aktuell);
        const bool gesichert = b.nr < Vollständige_Boxen(sicherung);
        if (vorhanden && Hält(aktuell, b)) {
            r.push_back(Rückkehr::Schon_Da);
        } else if (!vorhanden || Gebucht(aktuell, b.nr) || !gesichert || b.user == FREI) {
            r.push_back(Rückkehr::Nie);
        } else if (Hält(sicherung, b)) {
            std::copy(sicherung.constBegin() + a, sicherung.constBegin() + a + LÄNGE,
                      aktuell.begin() + a);
            r.push_back(Rückkehr::Wieder);
        } else if (!Gebucht(sicherung, b.nr)) {
            aktuell[a] = char(b.user);
            aktuell[a + 1] = char(b.rev);
            r.push_back(Rückkehr::Wieder);
        } else {
            r.push_back(Rückkehr::Nie);
        }
    }
    return r;
}

std::vector<datei::Stelle> Box_Stellen(const QByteArray& alt, const QByteArray& neu,
                                       const std::vector<quint8>& boxen, int länge) {
    std::vector<datei::Stelle> stellen;
    stellen.reserve(boxen.size());
    for (const quint8 nr : boxen) {
        const qsizetype a = qsizetype(nr) * LÄNGE;
        if (a + länge > std::min(alt.size(), neu.size()))
            continue;
        stellen.push_back(datei::Stelle{a, alt.mid(a, länge), neu.mid(a, länge)});
    }
    return stellen;
}

} // namespace qk::satz
