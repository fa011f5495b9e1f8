#include "bookdata/datensaetze.h"

#include <algorithm>

namespace qk::satz {
namespace {

quint8 Byte(const QByteArray& inhalt, qsizetype i) {
    return static_cast<quint8>(inhalt[i]);
}

bool Gleich(const QByteArray& a, const QByteArray& b, int box) {
    const qsizetype anfang = qsizetype(box) * LÄNGE;
    return std::equal(a.constBegin() + anfang, a.constBegin() + anfang + LÄNGE,
                      b.constBegin() + anfang);
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

int Buchungen_Freigeben(QByteArray& inhalt, quint8 userNr) {
    const int boxen = Vollständige_Boxen(inhalt);
    int freigegeben = 0;
    for (int r = 0; r < boxen; ++r) {
        const qsizetype a = qsizetype(r) * LÄNGE;
        const quint8 u = Byte(inhalt, a);
        if (u == FREI || (userNr != 0 && u != userNr))
            continue;
        inhalt[a] = char(FREI);
        inhalt[a + 1] = char(FREI);
        ++freigegeben;
    }
    return freigegeben;
}

Rückholung Boxen_Zurückholen(QByteArray& aktuell, const QByteArray& sicherung,
                             const std::vector<quint8>& boxen) {
    Rückholung r;
    for (const quint8 box : boxen) {
        const bool inSicherung = Gebucht(sicherung, box);
        const bool vorhanden = box < Vollständige_Boxen(aktuell);
        if (inSicherung && vorhanden && !Gebucht(aktuell, box)) {
            const qsizetype a = qsizetype(box) * LÄNGE;
            std::copy(sicherung.constBegin() + a, sicherung.constBegin() + a + LÄNGE,
                      aktuell.begin() + a);
            ++r.zurückgeholt;
        } else if (!(inSicherung && vorhanden && Gleich(aktuell, sicherung, box))) {
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
