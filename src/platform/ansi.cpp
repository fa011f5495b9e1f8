#include "platform/ansi.h"

#include <array>

namespace qk {
namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five unassigned positions.
constexpr std::array<char16_t, 32> OBERER_BEREICH = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char Zeichen_Nach_Ansi(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    // The five unassigned bytes read as the control characters of the same value; writing
    // them back gives the same bytes, so no text changes on its way through the program.
    if (c >= 0x80 && c <= 0x9F && OBERER_BEREICH[c - 0x80] == 0)
        return static_cast<char>(c);
    for (std::size_t i = 0; i < OBERER_BEREICH.size(); ++i) {
        if (OBERER_BEREICH[i] != 0 && OBERER_BEREICH[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

QByteArray Ansi(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text)
        out.append(Zeichen_Nach_Ansi(c.unicode()));
    return out;
}

QString Von_Ansi(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u <= 0x9F && OBERER_BEREICH[u - 0x80] != 0)
            out.append(QChar(OBERER_BEREICH[u - 0x80]));
        else
            out.append(QChar(static_cast<char16_t>(u)));
    }
    return out;
}

bool Ansi_Darstellbar(const QString& text) {
    return Von_Ansi(Ansi(text)) == text;
}

} // namespace qk
