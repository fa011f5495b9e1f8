// BOOKDATA.NET of any length and content: freeing and putting back boxes touch only the bytes
// they own, and the pieces written in place carry exactly that change.
#include "bookdata/datensaetze.h"
#include "bookdata_bau.h"
#include "ziele.h"

#include <QByteArrayView>
#include <algorithm>
#include <set>

namespace qk::fuzz {
namespace {

using namespace qk::satz;

// A box's bytes (fewer at the end of a file cut short), without a copy: every input has many.
QByteArrayView Satz(const QByteArray& d, int box) {
    const qsizetype a = std::min<qsizetype>(d.size(), qsizetype(box) * LÄNGE);
    return QByteArrayView(d).sliced(a, std::min<qsizetype>(LÄNGE, d.size() - a));
}

bool Gleich(const QByteArray& a, const QByteArray& b, int box) {
    return std::ranges::equal(Satz(a, box), Satz(b, box));
}

// The pieces written in place turn the old bytes into the new ones, lie each within one box,
// start and end on a byte that changes, and carry the old bytes for the comparison.
void Änderungen_Prüfen(const QByteArray& alt, const QByteArray& neu) {
    QByteArray ergebnis = alt;
    for (const datei::Stelle& s : Änderungen(alt, neu)) {
        QK_PRUEFEN(!s.neu.isEmpty() && alt.mid(s.offset, s.neu.size()) == s.vorher);
        QK_PRUEFEN(s.offset / LÄNGE == (s.offset + s.neu.size() - 1) / LÄNGE);
        QK_PRUEFEN(s.vorher.front() != s.neu.front() && s.vorher.back() != s.neu.back());
        ergebnis.replace(s.offset, s.neu.size(), s.neu);
    }
    QK_PRUEFEN(ergebnis == neu);
}

// Frees the boxes of `user`: exactly the whole boxes among the first 256 that it (or, for 0,
// anyone) booked, as many as the reader finds, and in them only the user and revision bytes.
QByteArray Freigeben_Prüfen(const QByteArray& alt, quint8 user) {
    QByteArray neu = alt;
    const int frei = Buchungen_Freigeben(neu, user);
    QK_PRUEFEN(neu.size() == alt.size());
    int geändert = 0;
    for (int b = 0; b * LÄNGE < alt.size(); ++b) {
        const quint8 u = quint8(alt[b * LÄNGE]);
        const bool soll =
            b < BOXEN && (b + 1) * LÄNGE <= alt.size() && u != FREI && (user == 0 || u == user);
        QK_PRUEFEN(Gleich(alt, neu, b) != soll);
        QK_PRUEFEN(!soll || (quint8(neu[b * LÄNGE]) == FREI && quint8(neu[b * LÄNGE + 1]) == FREI &&
                             std::ranges::equal(Satz(alt, b).sliced(2), Satz(neu, b).sliced(2))));
        geändert += soll;
    }
    Trefferliste treffer;
    QK_PRUEFEN(geändert == frei && Buchungen_Finden(alt, user, treffer) == frei);
    Änderungen_Prüfen(alt, neu);
    return neu;
}

// Puts back exactly the named boxes that are whole and free in `vorher` and booked in the
// backup, each copied whole.
void Zurückholen_Prüfen(const QByteArray& vorher, const QByteArray& sicherung,
                        const std::vector<quint8>& boxen) {
    QByteArray aktuell = vorher;
    const Rückholung r = Boxen_Zurückholen(aktuell, sicherung, boxen);
    QK_PRUEFEN(aktuell.size() == vorher.size() &&
               size_t(r.zurückgeholt) + size_t(r.nicht_möglich) <= boxen.size());
    const std::set<quint8> genannt(boxen.begin(), boxen.end());
    int geändert = 0;
    for (int b = 0; b * LÄNGE < vorher.size(); ++b) {
        const bool soll = b < BOXEN && genannt.count(quint8(b)) == 1 &&
                          (b + 1) * LÄNGE <= vorher.size() && !Gebucht(vorher, b) &&
                          Gebucht(sicherung, b);
        QK_PRUEFEN(Gleich(aktuell, vorher, b) != soll);
        QK_PRUEFEN(!soll || Gleich(aktuell, sicherung, b));
        geändert += soll;
    }
    QK_PRUEFEN(geändert == r.zurückgeholt);
    Änderungen_Prüfen(vorher, aktuell);
}

} // namespace

// Input: the user to delete, a count and that many named boxes, a count and that many
// bookings (box, user) that a workstation makes after the deletion, then the file.
void Bookdata(const QByteArray& eingabe) {
    Leser l{eingabe};
    const quint8 user = l.Byte();
    const QByteArray genannt = l.Stueck(l.Byte());
    const std::vector<quint8> boxen(genannt.begin(), genannt.end());
    const QByteArray buchungen = l.Stueck(2 * l.Byte());
    const QByteArray datei = l.Rest();

    QByteArray nachher = Freigeben_Prüfen(datei, user);
    for (qsizetype i = 0; i + 1 < buchungen.size(); i += 2) {
        const int box = quint8(buchungen[i]);
        if ((box + 1) * LÄNGE <= nachher.size())
            nachher[box * LÄNGE] = buchungen[i + 1];
    }
    Zurückholen_Prüfen(nachher, datei, boxen);
    // A backup of another length than the file (a file cut short or grown since).
    Zurückholen_Prüfen(nachher, datei.left(datei.size() / 2), boxen);
}

std::vector<QByteArray> Saat_Bookdata() {
    const QByteArray kopf7 = QByteArray("\x07\x03\x05\x09\x0A\x01\x05\x08", 8);
    const QByteArray drei = test::Bookdata({{5, 7, 3}, {9, 7, 12}, {10, 8, 1}});
    return {
        kopf7 + drei,
        // Everyone's bookings freed, the first and the last box named.
        QByteArray("\x00\x02\x00\xFF\x00", 5) +
            test::Bookdata({{0, 0, 1}, {128, 7, 2}, {255, 9, 3}}),
        kopf7 + drei.left(170),
        kopf7 + drei + QByteArray(100, '\x07'),
    };
}

} // namespace qk::fuzz
