#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>
#include <string>
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

using Ziel = void (*)(const QByteArray& eingabe);

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
    Ziel ziel;
    // Seed inputs: typical files and the edge cases that the readers tell apart.
    std::vector<QByteArray> (*saat)();
};

// Every target, by the name its fuzzer and its folder of kept inputs carry.
const std::vector<Zielangabe>& Alle_Ziele();

// Reads an input piece by piece; past its end every piece is empty or zero.
class Leser {
public:
    explicit Leser(const QByteArray& d) : m_d(d) {}
    quint8 Byte() { return m_pos < m_d.size() ? quint8(m_d[m_pos++]) : 0; }
    QByteArray Stueck(qsizetype n) {
        const QByteArray s = m_d.mid(m_pos, n);
        m_pos += s.size();
        return s;
    }
    QByteArray Rest() { return Stueck(m_d.size() - m_pos); }

private:
    const QByteArray& m_d;
    qsizetype m_pos = 0;
};

// Arbitrary UTF-16 text from bytes (pairs, little end first), lone surrogates included.
QString Utf16_Text(const QByteArray& bytes);

} // namespace qk::fuzz
