#include "ziele.h"

#include <cstring>

namespace qk::fuzz {

std::vector<QByteArray> Saat_Idmap(), Saat_Bookdata(), Saat_Rueckgaengig(), Saat_Libpaths(),
    Saat_Textzeilen(), Saat_Ansi(), Saat_Indexname(), Saat_Zahlen();

void Verletzt(const char* bedingung, const char* datei, int zeile) {
    throw Verletzung(std::string(datei) + ":" + std::to_string(zeile) + ": " + bedingung);
}

QString Utf16_Text(const QByteArray& bytes) {
    QString text(bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(text.data(), bytes.constData(), size_t(text.size()) * 2);
    return text;
}

const std::vector<Zielangabe>& Alle_Ziele() {
    static const std::vector<Zielangabe> ziele = {
        {"idmap", Idmap, Saat_Idmap},
        {"bookdata", Bookdata, Saat_Bookdata},
        {"rueckgaengig", Rueckgaengig, Saat_Rueckgaengig},
        {"libpaths", Libpaths, Saat_Libpaths},
        {"textzeilen", Textzeilen, Saat_Textzeilen},
        {"ansi", Ansi, Saat_Ansi},
        {"indexname", Indexname, Saat_Indexname},
        {"zahlen", Zahlen, Saat_Zahlen},
    };
    return ziele;
}

} // namespace qk::fuzz
