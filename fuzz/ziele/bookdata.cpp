// BOOKDATA.NET of any length and content: reading, freeing and putting back boxes touch only
// the bytes they own.
#include "bookdata/datensaetze.h"
#include "bookdata_bau.h"
#include "ziele.h"

#include <QByteArrayView>
#include <algorithm>
#include <set>

namespace qk::fuzz {
namespace {

using namespace qk::satz;

qsizetype Anfang(int box) {
    return qsizetype(box) * LÄNGE;
}

// A box's bytes (fewer at the end of a file cut short, none past it), without a copy: the
// checks look at every box of every input.
QByteArrayView Satz(const QByteArray& inhalt, int box) {
    const qsizetype a = Anfang(box);
    if (a >= inhalt.size())
        return {};
    return QByteArrayView(inhalt).sliced(a, std::min<qsizetype>(LÄNGE, inhalt.size() - a));
}

bool Gleich(QByteArrayView a, QByteArrayView b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

void Lesen_Prüfen(const QByteArray& inhalt, quint8 filter) {
    Trefferliste treffer;
    const int n = Buchungen_Finden(inhalt, filter, treffer);
    int erwartet = 0;
    for (int b = 0; b < Vollständige_Boxen(inhalt); ++b) {
        const quint8 u = quint8(inhalt[Anfang(b)]);
        if (u != FREI && (filter == 0 || u == filter))
            ++erwartet;
    }
    QK_PRUEFEN(n == erwartet);
    for (int i = 0; i < n; ++i) {
        const Treffer& t = treffer[i];
        QK_PRUEFEN(i == 0 || treffer[i - 1].BoxNr < t.BoxNr);
        QK_PRUEFEN(Gebucht(inhalt, t.BoxNr));
        QK_PRUEFEN(t.UserID == quint8(inhalt[Anfang(t.BoxNr)]));
        QK_PRUEFEN(t.RevNr == quint8(inhalt[Anfang(t.BoxNr) + 1]));
        QK_PRUEFEN(t.Extra == quint8(inhalt[Anfang(t.BoxNr) + 2]));
        QK_PRUEFEN(t.Tail == quint8(inhalt[Anfang(t.BoxNr) + LÄNGE - 1]));
    }
}

// The pieces written in place turn the old bytes into the new ones, lie each within one box,
// start and end on a byte that changes, and carry the old bytes for the comparison.
void Änderungen_Prüfen(const QByteArray& alt, const QByteArray& neu) {
    const std::vector<datei::Stelle> stellen = Änderungen(alt, neu);
    QByteArray ergebnis = alt;
    qint64 vorher = -1;
    for (const datei::Stelle& s : stellen) {
        QK_PRUEFEN(s.offset > vorher && !s.neu.isEmpty() && s.neu.size() == s.vorher.size());
        QK_PRUEFEN(s.offset / LÄNGE == (s.offset + s.neu.size() - 1) / LÄNGE);
        QK_PRUEFEN(s.offset + s.neu.size() <= alt.size());
        QK_PRUEFEN(alt.mid(s.offset, s.vorher.size()) == s.vorher);
        QK_PRUEFEN(s.vorher.front() != s.neu.front() && s.vorher.back() != s.neu.back());
        ergebnis.replace(s.offset, s.neu.size(), s.neu);
        vorher = s.offset;
    }
    QK_PRUEFEN(ergebnis == neu);
}

// Frees the boxes of `user` and checks that only their user and revision bytes changed.
QByteArray Freigeben_Prüfen(const QByteArray& alt, quint8 user) {
    QByteArray neu = alt;
    const int frei = Buchungen_Freigeben(neu, user);
    QK_PRUEFEN(neu.size() == alt.size());
    int geändert = 0;
    for (int b = 0; b * LÄNGE < alt.size(); ++b) {
        if (Gleich(Satz(alt, b), Satz(neu, b)))
            continue;
        ++geändert;
        QK_PRUEFEN(b < BOXEN && Gebucht(alt, b));
        QK_PRUEFEN(user == 0 || quint8(alt[Anfang(b)]) == user);
        QK_PRUEFEN(quint8(neu[Anfang(b)]) == FREI && quint8(neu[Anfang(b) + 1]) == FREI);
        QK_PRUEFEN(Gleich(Satz(alt, b).sliced(2), Satz(neu, b).sliced(2)));
    }
    QK_PRUEFEN(geändert == frei);
    QK_PRUEFEN(int(Änderungen(alt, neu).size()) == frei);
    Änderungen_Prüfen(alt, neu);
    Trefferliste rest;
    QK_PRUEFEN(Buchungen_Finden(neu, user, rest) == 0);
    return neu;
}

void Zurückholen_Prüfen(const QByteArray& vorher, const QByteArray& sicherung,
                        const std::vector<quint8>& boxen) {
    QByteArray aktuell = vorher;
    const Rückholung r = Boxen_Zurückholen(aktuell, sicherung, boxen);
    QK_PRUEFEN(aktuell.size() == vorher.size());
    QK_PRUEFEN(r.zurückgeholt >= 0 && r.nicht_möglich >= 0);
    QK_PRUEFEN(size_t(r.zurückgeholt) + size_t(r.nicht_möglich) <= boxen.size());
    const std::set<quint8> genannt(boxen.begin(), boxen.end());
    int geändert = 0;
    for (int b = 0; b * LÄNGE < vorher.size(); ++b) {
        const bool anders = !Gleich(Satz(aktuell, b), Satz(vorher, b));
        if (anders) {
            ++geändert;
            // Only a named box that was free and is booked in the backup, copied whole.
            QK_PRUEFEN(genannt.count(quint8(b)) == 1 && b < BOXEN);
            QK_PRUEFEN(!Gebucht(vorher, b) && Gebucht(sicherung, b));
            QK_PRUEFEN(Gleich(Satz(aktuell, b), Satz(sicherung, b)));
        } else if (genannt.count(quint8(b)) == 1 && b < Vollständige_Boxen(vorher) &&
                   Gebucht(sicherung, b)) {
            // A named box that the backup holds booked and that stayed as it was: it was
            // booked already (by someone, perhaps someone else).
            QK_PRUEFEN(Gebucht(vorher, b));
        }
    }
    QK_PRUEFEN(geändert == r.zurückgeholt);
    QK_PRUEFEN(int(Änderungen(vorher, aktuell).size()) == r.zurückgeholt);
    Änderungen_Prüfen(vorher, aktuell);
}

} // namespace

// Input: the user to delete, a count and that many named boxes, a count and that many
// bookings (box, user) that a workstation makes after the deletion, then the file.
void Bookdata(const QByteArray& eingabe) {
    Leser l(eingabe);
    const quint8 user = l.Byte();
    std::vector<quint8> boxen(l.Byte());
    for (quint8& b : boxen)
        b = l.Byte();
    const int buchungen = l.Byte();
    std::vector<std::pair<quint8, quint8>> neueBuchungen;
    for (int i = 0; i < buchungen; ++i) {
        const quint8 box = l.Byte();
        neueBuchungen.emplace_back(box, l.Byte());
    }
    const QByteArray datei = l.Rest();

    Lesen_Prüfen(datei, 0);
    Lesen_Prüfen(datei, user);
    QByteArray nachher = Freigeben_Prüfen(datei, user);
    for (const auto& [box, u] : neueBuchungen) {
        if (Anfang(box) + LÄNGE <= nachher.size())
            nachher[Anfang(box)] = char(u);
    }
    Zurückholen_Prüfen(nachher, datei, boxen);
    // A backup of another length than the file (a file cut short or grown since).
    Zurückholen_Prüfen(nachher, datei.left(datei.size() / 2), boxen);
    Zurückholen_Prüfen(datei, nachher, boxen);
}

std::vector<QByteArray> Saat_Bookdata() {
    using test::Bookdata;
    const QByteArray kopf7 = QByteArray("\x07\x03\x05\x09\x0A\x01\x05\x08", 8);
    const QByteArray kopf0 = QByteArray("\x00\x02\x00\xFF\x00", 5);
    const QByteArray drei = Bookdata({{5, 7, 3}, {9, 7, 12}, {10, 8, 1}});
    QByteArray alleGebucht = Bookdata();
    for (int b = 0; b < 256; ++b)
        alleGebucht[b * 16] = char(b % 2 ? 7 : 0);
    return {
        kopf7 + drei,
        kopf0 + drei,
        kopf7 + Bookdata(),
        kopf7 + alleGebucht,
        kopf0 + alleGebucht,
        kopf7 + drei.left(4096 - 8),
        kopf7 + drei.left(170),
        kopf7 + drei + QByteArray(100, '\x07'),
        kopf7,
    };
}

} // namespace qk::fuzz
