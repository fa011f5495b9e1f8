#include "demo/namen.h"

#include <QSet>
#include <algorithm>
#include <array>

namespace qk::demo {
namespace {

constexpr std::array VORNAMEN{
    "Anna",   "Bernd", "Clara",  "Daniel", "Elena",  "Felix",  "Greta",  "Hannes",
    "Ines",   "Jonas", "Katrin", "Lukas",  "Maria",  "Niklas", "Olga",   "Paul",
    "Ruth",   "Simon", "Tanja",  "Ulrich", "Vera",   "Walter", "Yvonne", "Sabine",
    "Thomas", "Petra", "Martin", "Julia",  "Stefan", "Monika", "Frank",  "Heike",
    "Jan",    "Laura", "Marco",  "Nadine", "Oliver", "Rita",   "Sven",   "Carsten",
};

constexpr std::array NACHNAMEN{
    "Bauer",  "Becker", "Brandt",  "Dietrich", "Engel",  "Fischer", "Graf",    "Hartmann",
    "Haas",   "Jung",   "Kaiser",  "Keller",   "Koch",   "Krause",  "Lang",    "Lehmann",
    "Lorenz", "Maier",  "Meyer",   "Neumann",  "Otto",   "Peters",  "Richter", "Roth",
    "Schulz", "Seidel", "Schwarz", "Sommer",   "Stein",  "Vogel",   "Wagner",  "Weber",
    "Wolf",   "Winter", "Ziegler", "Zimmer",   "Kramer", "Pohl",    "Arnold",  "Busch",
};

// The local directories that workstations are set up with; most keep the installer's choice.
constexpr std::array LOKAL{
    "C:\\Quorvik\\Local\\",
    "C:\\Quorvik\\Local\\",
    "C:\\Quorvik\\Local\\",
    "D:\\Quorvik\\Local\\",
    "C:\\Program Files\\Quorvik\\Local\\",
};

template <typename Liste> QString Wahl(Zufall& zufall, const Liste& liste) {
    return QString::fromLatin1(liste[size_t(zufall.Zahl(0, int(liste.size()) - 1))]);
}

// A login name as the IT department makes them: first letter of the first name and the last
// name, lower case; a second letter of the first name when that is taken.
QString Anmeldename(const QString& vor, const QString& nach, QSet<QString>& vergeben) {
    for (int n = 1; n <= vor.size(); ++n) {
        const QString name = (vor.left(n) + nach).toLower();
        if (!vergeben.contains(name)) {
            vergeben.insert(name);
            return name;
        }
    }
    QString name = (vor + nach).toLower();
    while (vergeben.contains(name))
        name += QLatin1Char('2');
    vergeben.insert(name);
    return name;
}

} // namespace

Belegschaft Belegschaft_Bilden(Zufall& zufall, int anzahl, int ehemalige) {
    // IDs 1 upwards; a few numbers were given to people who left, and are free now.
    const int lücken = ehemalige + 4;
    QList<int> ids;
    for (int id = 1; id <= anzahl + lücken; ++id)
        ids.append(id);
    QList<int> frei;
    while (frei.size() < lücken) {
        const int i = zufall.Zahl(0, int(ids.size()) - 1);
        frei.append(ids.takeAt(i));
    }

    Belegschaft b;
    QSet<QString> namen;
    QSet<int> rechner;
    for (const int id : ids) {
        IdmapEintrag e;
        e.ID = quint8(id);
        e.UserName = Anmeldename(Wahl(zufall, VORNAMEN), Wahl(zufall, NACHNAMEN), namen);
        int pc = zufall.Zahl(1, 60);
        while (rechner.contains(pc))
            pc = pc % 60 + 1;
        rechner.insert(pc);
        // Laptops of the field engineers carry their own prefix.
        e.PCName = (zufall.Prozent(15) ? QStringLiteral("NB-ENG%1") : QStringLiteral("CAD-WS%1"))
                       .arg(pc, 3, 10, QLatin1Char('0'));
        e.LocalPath = Wahl(zufall, LOKAL);
        b.anwender.append(e);
        // A few newcomers have booked nothing yet; the others work at different paces.
        b.fleiß.append(zufall.Prozent(12) ? 0 : zufall.Zahl(1, 10));
    }
    for (int i = 0; i < ehemalige; ++i) {
        b.ehemalige.append(quint8(frei.at(i)));
        b.ehemaligeNamen.append(
            Anmeldename(Wahl(zufall, VORNAMEN), Wahl(zufall, NACHNAMEN), namen));
    }
    return b;
}

} // namespace qk::demo
