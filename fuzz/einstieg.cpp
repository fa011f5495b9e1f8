// Built with QK_FUZZ_ZIEL, the libFuzzer entry of that target; without, fuzz_korpus, which
// writes the seed corpus (fuzz_korpus DIR gives DIR/<target>/saat-NNN) or, with --ziele, prints
// the targets' names, one a line.
#include "ziele.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstring>

using qk::fuzz::Alle_Ziele;

#ifdef QK_FUZZ_ZIEL
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    static const auto ziel = std::ranges::find_if(Alle_Ziele(), [](const auto& z) {
                                 return std::strcmp(z.name, QK_FUZZ_ZIEL) == 0;
                             })->ziel;
    // Raw data, no copy: a read past the input's end is then a fault that ASan sees. A broken
    // property leaves as an exception and ends the run through std::terminate, with its text.
    ziel(QByteArray::fromRawData(reinterpret_cast<const char*>(daten), qsizetype(groesse)));
    return 0;
}
#else
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_korpus DIR | --ziele\n");
        return 2;
    }
    const QString ziel = QString::fromLocal8Bit(argv[1]);
    for (const qk::fuzz::Zielangabe& z : Alle_Ziele()) {
        const QDir ordner(ziel + QLatin1Char('/') + QLatin1String(z.name));
        for (size_t n = 0; ziel != QLatin1String("--ziele") && n < z.saat.size(); ++n) {
            QFile f(ordner.filePath(QStringLiteral("saat-%1").arg(n, 3, 10, QLatin1Char('0'))));
            if (!ordner.mkpath(QStringLiteral(".")) || !f.open(QIODevice::WriteOnly) ||
                f.write(z.saat[n]) != z.saat[n].size()) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
                return 1;
            }
        }
        if (ziel == QLatin1String("--ziele"))
            std::printf("%s\n", z.name);
    }
    return 0;
}
#endif
