#pragma once

#include <QByteArray>
#include <QString>
#include <compare>
#include <vector>

namespace qk {

// Tab stops of the text boxes: every eight columns.
inline constexpr int TABWEITE = 8;

// A place in a text: before character `zeichen` of line `zeile`.
struct Textstelle {
    qsizetype zeile = 0;
    qsizetype zeichen = 0;
    auto operator<=>(const Textstelle&) const = default;
};

// A single-byte (Windows-1252) text kept as its bytes and split into lines once. Lines are
// decoded only when asked for, so a log of many megabytes is ready as soon as it has been
// read and split. CR LF, LF and CR each end a line; a last line without its end counts.
class Textzeilen {
public:
    Textzeilen() = default;
    explicit Textzeilen(QByteArray ansi);

    qsizetype Anzahl() const { return static_cast<qsizetype>(m_anfang.size()) - 1; }
    // Line i without its line end, as raw bytes (valid while this object lives) and decoded.
    QByteArray Roh(qsizetype i) const;
    QString Zeile(qsizetype i) const;
    // The widest line, in columns with tabs expanded.
    int Breite() const { return m_breite; }
    // The whole text, each line followed by CR LF.
    QString Text() const;
    // The text between two places (in either order); line breaks inside it as CR LF. Line
    // Anzahl() is the empty line after the last line break.
    QString Ausschnitt(Textstelle a, Textstelle b) const;
    // Number of characters of line i (0 for the empty line after the last line break).
    qsizetype Länge(qsizetype i) const;

    // The column at which character `zeichen` of the line starts, tabs expanded.
    static int Spalte(const QByteArray& zeile, qsizetype zeichen);
    // The first character that starts at or after `spalte` (the line's length past its end).
    static qsizetype Zeichen(const QByteArray& zeile, int spalte);
    // The line with its tabs replaced by blanks up to the next tab stop.
    static QString Anzeigetext(const QString& zeile);

private:
    QByteArray m_bytes;
    // Where each line starts, and the end of the text after the last one.
    std::vector<qsizetype> m_anfang{0};
    int m_breite = 0;
};

} // namespace qk
