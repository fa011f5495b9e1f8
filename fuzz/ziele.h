#pragma once

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

// The readers of outside data, each as one function that takes any bytes. A body must not
// crash, and it checks what must hold for every input; a broken property throws Verletzung.
// The fuzzer turns that into a crash, the replay test into a failure.
namespace qk::fuzz {

struct Verletzung : std::logic_error {
    using std::logic_error::logic_error;
};

[[noreturn]] void Verletzt(const char* bedingung, const char* datei, int zeile);

#define QK_PRUEFEN(bedingung)                                                                      \
    ((bedingung) ? void(0) : ::qk::fuzz::Verletzt(#bedingung, __FILE__, __LINE__))

void Idmap(const QByteArray& eingabe);        // QK_IDMAP.NET
void Bookdata(const QByteArray& eingabe);     // BOOKDATA.NET: read, free, put back
void Rueckgaengig(const QByteArray& eingabe); // the undo list "_!bookdata.txt"
void Libpaths(const QByteArray& eingabe);     // QK_LIBPATHS.TXT
void Textzeilen(const QByteArray& eingabe);   // the log viewer's lines
void Ansi(const QByteArray& eingabe);         // Windows-1252 both ways
void Indexname(const QByteArray& eingabe);    // the typed index number
void Zahlen(const QByteArray& eingabe);       // login marker numbers, the typed User-ID

struct Zielangabe {
    const char* name;
    void (*ziel)(const QByteArray& eingabe);
    // Seed inputs: typical files and the edge cases that the readers tell apart.
    std::vector<QByteArray> (*saat)();
};

// Every target, by the name its fuzzer and its folder of kept inputs carry.
const std::vector<Zielangabe>& Alle_Ziele();

// Reads an input piece by piece; past its end every piece is empty or zero.
struct Leser {
    const QByteArray& d;
    qsizetype pos = 0;
    quint8 Byte() { return pos < d.size() ? quint8(d[pos++]) : 0; }
    QByteArray Stueck(qsizetype n) {
        return d.mid(std::exchange(pos, std::min(d.size(), pos + n)), n);
    }
    QByteArray Rest() { return Stueck(d.size() - pos); }
};

// Arbitrary UTF-16 text from bytes (pairs in the machine's order), lone surrogates included.
QString Utf16_Text(const QByteArray& bytes);

} // namespace qk::fuzz
