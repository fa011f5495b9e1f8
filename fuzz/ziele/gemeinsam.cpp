#include "ziele.h"

#include <cstring>

namespace qk::fuzz {

std::vector<QByteArray> Saat_Idmap();
std::vector<QByteArray> Saat_Bookdata();
std::vector<QByteArray> Saat_Rueckgaengig();
std::vector<QByteArray> Saat_Libpaths();
std::vector<QByteArray> Saat_Textzeilen();
std::vector<QByteArray> Saat_Ansi();
std::vector<QByteArray> Saat_Indexname();
std::vector<QByteArray> Saat_Zahlen();

void Verletzt(const char* bedingung, const char* datei, int zeile) {
    throw Verletzung(std::string(datei) + ":" + std::to_string(zeile) + ": " + bedingung);
}

QString Utf16_Text(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text.append(QChar(char16_t(quint8(bytes[i]) | (quint8(bytes[i + 1]) << 8))));
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
