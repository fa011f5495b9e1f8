// The log viewer's lines: any bytes split into lines that read back as the text, whose columns
// and characters map onto each other, and whose pieces do not depend on the order of places.
#include "views/textzeilen.h"
#include "platform/ansi.h"
#include "ziele.h"

#include <algorithm>

namespace qk::fuzz {

// Input: two places (line and character, a byte each) for a piece of the text, then the text.
void Textzeilen(const QByteArray& eingabe) {
    using T = qk::Textzeilen;
    Leser l{eingabe};
    const Textstelle a{l.Byte(), l.Byte()};
    const Textstelle b{l.Byte(), l.Byte()};
    const QByteArray roh = l.Rest();
    const T t(roh);

    QString ganz;
    int breite = 0;
    for (qsizetype i = 0; i < t.Anzahl(); ++i) {
        const QByteArray zeile = t.Roh(i);
        QK_PRUEFEN(!zeile.contains('\r') && !zeile.contains('\n') && t.Länge(i) == zeile.size() &&
                   t.Zeile(i) == Von_Ansi(zeile));
        ganz += t.Zeile(i) + QStringLiteral("\r\n");
        const int spalten = T::Spalte(zeile, zeile.size());
        breite = std::max(breite, spalten);
        const QString anzeige = T::Anzeigetext(t.Zeile(i));
        QK_PRUEFEN(anzeige.size() == spalten && !anzeige.contains(QLatin1Char('\t')));
        // Columns and characters map onto each other (the first 64 characters suffice).
        for (qsizetype k = 0; k <= std::min<qsizetype>(zeile.size(), 64); ++k)
            QK_PRUEFEN(T::Zeichen(zeile, T::Spalte(zeile, k)) == k);
    }
    // Every line end as CR LF, a last line without one given one: the same lines.
    QByteArray erwartet = roh;
    erwartet.replace("\r\n", "\n").replace('\r', '\n');
    if (!erwartet.isEmpty() && !erwartet.endsWith('\n'))
        erwartet += '\n';
    QK_PRUEFEN(ganz == Von_Ansi(erwartet.replace("\n", "\r\n")) && t.Text() == ganz);
    QK_PRUEFEN(t.Breite() == breite && t.Länge(t.Anzahl()) == 0);
    QK_PRUEFEN(t.Ausschnitt({0, 0}, {t.Anzahl(), 0}) == ganz && t.Ausschnitt(a, a).isEmpty());
    QK_PRUEFEN(t.Ausschnitt(a, b) == t.Ausschnitt(b, a));
}

std::vector<QByteArray> Saat_Textzeilen() {
    const QByteArray kopf("\x00\x02\x03\x05", 4);
    return {
        kopf + "a\rb\nc\r\nd",
        kopf + "\r\n\r\n\n\r\r",
        kopf + "\t\t\tx\ty\tJ\xFCrgen \x80\x81\x8D" + QByteArray(70, 'x'),
        QByteArray("\xFF\xFF\x00\x00", 4) + "eins\r\nzwei\r\n",
    };
}

} // namespace qk::fuzz
