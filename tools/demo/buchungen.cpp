#include "demo/buchungen.h"

#include "bookdata/datensaetze.h"

#include <QSet>
#include <algorithm>

namespace qk::demo {
namespace {

// A user picked with a chance in proportion to their `fleiß`.
quint8 Anwender_Ziehen(Zufall& zufall, const Belegschaft& b) {
    int summe = 0;
    for (const int f : b.fleiß)
        summe += f;
    int wurf = zufall.Zahl(1, summe);
    for (int i = 0; i < b.fleiß.size(); ++i) {
        wurf -= b.fleiß.at(i);
        if (wurf <= 0)
            return b.anwender.at(i).ID;
    }
    return b.anwender.constLast().ID;
}

int Anzahl_Buchungen(Zufall& zufall) {
    const int art = zufall.Zahl(0, 99);
    if (art < 30)
        return 0;
    if (art < 75)
        return zufall.Zahl(1, 6);
    if (art < 95)
        return zufall.Zahl(7, 25);
    return zufall.Zahl(26, 80);
}

} // namespace

QByteArray Bookdata_Bytes(Zufall& zufall, const QList<Box>& boxen) {
    using namespace satz;
    QByteArray d(BOXEN * LÄNGE, char(0));
    for (int box = 0; box < BOXEN; ++box) {
        char* r = d.data() + box * LÄNGE;
        r[0] = char(FREI);
        r[1] = char(FREI);
        // A box that was booked once keeps what the workstation wrote besides user and
        // revision.
        if (zufall.Prozent(20)) {
            r[2] = char(zufall.Zahl(0, 3));
            for (int i = 3; i < LÄNGE; ++i)
                r[i] = char(zufall.Byte());
        }
    }
    for (const Box& b : boxen) {
        char* r = d.data() + b.nummer * LÄNGE;
        r[0] = char(b.user);
        r[1] = char(b.rev);
        r[2] = char(zufall.Zahl(0, 3));
        for (int i = 3; i < LÄNGE; ++i)
            r[i] = char(zufall.Byte());
    }
    return d;
}

QList<Box> Ordner_Belegen(Zufall& zufall, const Belegschaft& b, const QList<quint8>& ehemalige) {
    QList<quint8> team;
    const int größe = zufall.Zahl(1, 3);
    for (int i = 0; i < größe; ++i)
        team.append(Anwender_Ziehen(zufall, b));

    QList<quint8> buchende;
    const int anzahl = Anzahl_Buchungen(zufall);
    for (int i = 0; i < anzahl; ++i)
        buchende.append(team.at(zufall.Zahl(0, int(team.size()) - 1)));
    for (const quint8 id : ehemalige) {
        if (zufall.Prozent(6)) {
            const int n = zufall.Zahl(1, 4);
            for (int i = 0; i < n; ++i)
                buchende.append(id);
        }
    }

    QSet<int> belegt;
    QList<Box> boxen;
    for (const quint8 user : buchende) {
        int nummer = zufall.Zahl(0, satz::BOXEN - 1);
        while (belegt.contains(nummer))
            nummer = (nummer + 1) % satz::BOXEN;
        belegt.insert(nummer);
        // Most boxes are in their first revisions; a few have been worked on for long.
        const int rev = zufall.Zahl(0, zufall.Prozent(85) ? 6 : 40);
        boxen.append(Box{nummer, user, quint8(rev)});
    }
    std::sort(boxen.begin(), boxen.end(),
              [](const Box& a, const Box& c) { return a.nummer < c.nummer; });
    return boxen;
}

} // namespace qk::demo
