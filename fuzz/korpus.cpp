// Writes the seed corpus of every fuzz target: fuzz_korpus DIR gives DIR/<target>/saat-NNN.
// With --ziele it prints the targets' names, one a line.
#include "ziele.h"

#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_korpus DIR | --ziele\n");
        return 2;
    }
    const QString ziel = QString::fromLocal8Bit(argv[1]);
    for (const qk::fuzz::Zielangabe& z : qk::fuzz::Alle_Ziele()) {
        if (ziel == QLatin1String("--ziele")) {
            std::printf("%s\n", z.name);
            continue;
        }
        const QDir ordner(ziel + QLatin1Char('/') + QLatin1String(z.name));
        int n = 0;
        for (const QByteArray& saat : z.saat()) {
            QFile f(ordner.filePath(QStringLiteral("saat-%1").arg(n++, 3, 10, QLatin1Char('0'))));
            if (!ordner.mkpath(QStringLiteral(".")) || !f.open(QIODevice::WriteOnly) ||
                f.write(saat) != saat.size()) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
                return 1;
            }
        }
    }
    return 0;
}
