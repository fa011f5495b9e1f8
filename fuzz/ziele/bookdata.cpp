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

std::vector<Box> Liste(const QByteArray& datei, quint8 user) {
    Trefferliste treffer;
    const int n = Buchungen_Finden(datei, user, treffer);
    std::vector<Box> boxen;
    for (int i = 0; i < n; ++i)
        boxen.push_back(
            {treffer[size_t(i)].BoxNr, treffer[size_t(i)].UserID, treffer[size_t(i)].RevNr});
    return boxen;
}

bool Hält(const QByteArray& d, const Box& b) {
    const int a = b.nr * LÄNGE;
    return b.user != FREI && b.nr < Vollständige_Boxen(d) && quint8(d[a]) == b.user &&
           quint8(d[a + 1]) == b.rev;
}

// Frees exactly the listed boxes that still hold their listed booking, and in them only the
// user and revision bytes.
QByteArray Freigeben_Prüfen(const QByteArray& alt, const std::vector<Box>& liste) {
    QByteArray neu = alt;
    const std::vector<quint8> frei = Gelistete_Freigeben(neu, liste);
    QK_PRUEFEN(neu.size() == alt.size());
    for (int b = 0; b * LÄNGE < alt.size(); ++b) {
        const bool soll =
            std::ranges::any_of(liste, [&](const Box& x) { return x.nr == b && Hält(alt, x); });
        QK_PRUEFEN(Gleich(alt, neu, b) != soll);
        QK_PRUEFEN(!soll || (quint8(neu[b * LÄNGE]) == FREI && quint8(neu[b * LÄNGE + 1]) == FREI &&
                             std::ranges::equal(Satz(alt, b).sliced(2), Satz(neu, b).sliced(2))));
        QK_PRUEFEN(soll == (b < BOXEN && std::ranges::count(frei, quint8(b)) == 1));
    }
    Änderungen_Prüfen(alt, neu);
    return neu;
}

// Puts back exactly the named boxes that are whole and free in `vorher`: whole from the backup
// where it holds the named booking, the user and revision bytes alone where the backup has the
// box free; nothing else changes.
void Zurückholen_Prüfen(const QByteArray& vorher, const QByteArray& sicherung,
                        const std::vector<Box>& boxen) {
    QByteArray aktuell = vorher;
    const Rückholung r = Boxen_Zurückholen(aktuell, sicherung, boxen);
    QK_PRUEFEN(aktuell.size() == vorher.size() &&
               size_t(r.zurückgeholt) + size_t(r.nicht_möglich) <= boxen.size());
    int geändert = 0;
    for (int b = 0; b * LÄNGE < vorher.size(); ++b) {
        const Box* genannt = nullptr;
        for (const Box& x : boxen) {
            if (x.nr == b && x.user != FREI && !genannt &&
                (b + 1) * LÄNGE <= std::min(vorher.size(), sicherung.size()) &&
                !Gebucht(vorher, b) && (Hält(sicherung, x) || !Gebucht(sicherung, b)))
                genannt = &x; // the first entry of a box that can come back wins
        }
        QK_PRUEFEN(Gleich(aktuell, vorher, b) == (genannt == nullptr));
        if (genannt != nullptr && Hält(sicherung, *genannt))
            QK_PRUEFEN(Gleich(aktuell, sicherung, b));
        else if (genannt != nullptr)
            QK_PRUEFEN(Hält(aktuell, *genannt) &&
                       std::ranges::equal(Satz(aktuell, b).sliced(2), Satz(vorher, b).sliced(2)));
        geändert += genannt != nullptr;
    }
    QK_PRUEFEN(geändert == r.zurückgeholt);
    Änderungen_Prüfen(vorher, aktuell);
}

} // namespace

// Input: the user to delete, a count and that many bookings (box, user) that a workstation
// makes between the listing and the rewrite, a count and that many it makes after the deletion,
// then the file.
void Bookdata(const QByteArray& eingabe) {
    Leser l{eingabe};
    const quint8 user = l.Byte();
    const QByteArray vorher = l.Stueck(2 * l.Byte());
    const QByteArray nachher = l.Stueck(2 * l.Byte());
    const QByteArray datei = l.Rest();
    const auto buchen = [](QByteArray d, const QByteArray& buchungen) {
        for (qsizetype i = 0; i + 1 < buchungen.size(); i += 2) {
            const int box = quint8(buchungen[i]);
            if ((box + 1) * LÄNGE <= d.size())
                d[box * LÄNGE] = buchungen[i + 1];
        }
        return d;
    };

    const std::vector<Box> liste = Liste(datei, user);
    const QByteArray gesichert = buchen(datei, vorher);
    const QByteArray gelöscht = buchen(Freigeben_Prüfen(gesichert, liste), nachher);
    Zurückholen_Prüfen(gelöscht, gesichert, liste);
    // A backup of another length than the file (a file cut short or grown since).
    Zurückholen_Prüfen(gelöscht, gesichert.left(gesichert.size() / 2), liste);
}

std::vector<QByteArray> Saat_Bookdata() {
    const QByteArray kopf7 = QByteArray("\x07\x01\x09\x08\x02\x05\x08\x0A\x01", 9);
    const QByteArray drei = test::Bookdata({{5, 7, 3}, {9, 7, 12}, {10, 8, 1}});
    return {
        kopf7 + drei,
        // Everyone's bookings freed; the first box taken by user 3 before the rewrite.
        QByteArray("\x00\x01\x00\x03\x00", 5) +
            test::Bookdata({{0, 0, 1}, {128, 7, 2}, {255, 9, 3}}),
        kopf7 + drei.left(170),
        kopf7 + drei + QByteArray(100, '\x07'),
    };
}

} // namespace qk::fuzz
