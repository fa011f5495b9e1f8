#include "bibliothek.h"

#include <QDir>
#include <QFile>
#include <random>
#include <stdexcept>

namespace qk::bench {

Bibliothek Bibliothek_Bauen(const QString& pfad, int anzahl, int anwender, int anteil,
                            unsigned seed) {
    Bibliothek b;
    b.pfad = pfad.endsWith(QLatin1Char('/')) ? pfad : pfad + QLatin1Char('/');
    QDir().mkpath(b.pfad);
    QFile marke(b.pfad + QStringLiteral("LIBINFO.SYS"));
    if (!marke.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot create LIBINFO.SYS");
    marke.close();

    std::mt19937 zufall(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> user(1, anwender);
    std::uniform_int_distribution<int> gebucht(0, anteil - 1);
    QByteArray inhalt(4096, '\0');
    for (int n = 1; n <= anzahl; ++n) {
        const QString name = QStringLiteral("IDX%1").arg(n, 5, 10, QLatin1Char('0'));
        for (int r = 0; r < 256; ++r) {
            const int a = r * 16;
            for (int i = 2; i < 16; ++i)
                inhalt[a + i] = char(byte(zufall));
            if (gebucht(zufall) == 0) {
                inhalt[a] = char(user(zufall));
                inhalt[a + 1] = char(byte(zufall) % 255);
                ++b.buchungen;
            } else {
                inhalt[a] = char(255);
                inhalt[a + 1] = char(255);
            }
        }
        QDir().mkpath(b.pfad + name);
        QFile f(b.pfad + name + QStringLiteral("/BOOKDATA.NET"));
        if (!f.open(QIODevice::WriteOnly) || f.write(inhalt) != inhalt.size())
            throw std::runtime_error("cannot write BOOKDATA.NET");
        b.ordner.append(name);
    }
    return b;
}

} // namespace qk::bench
