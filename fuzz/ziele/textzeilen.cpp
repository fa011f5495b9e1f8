// The log viewer's lines: any bytes split into lines that hold no line end, that join back
// to the text, and whose columns and characters map onto each other.
#include "views/textzeilen.h"
#include "platform/ansi.h"
#include "ziele.h"

#include <algorithm>

namespace qk::fuzz {

// Input: two places (line and character, one byte each) for a piece of the text, then the
// text.
void Textzeilen(const QByteArray& eingabe) {
    Leser l(eingabe);
    Textstelle a{l.Byte(), l.Byte()};
    Textstelle b{l.Byte(), l.Byte()};
    const QByteArray roh = l.Rest();
    const qk::Textzeilen t(roh);

    QK_PRUEFEN(t.Anzahl() >= 0 && t.Anzahl() <= roh.size());
    QString ganz;
    qsizetype zeichen = 0;
    int breite = 0;
    for (qsizetype i = 0; i < t.Anzahl(); ++i) {
        const QByteArray zeile = t.Roh(i);
        QK_PRUEFEN(!zeile.contains('\r') && !zeile.contains('\n'));
        QK_PRUEFEN(t.Länge(i) == zeile.size());
        QK_PRUEFEN(t.Zeile(i) == Von_Ansi(zeile));
        zeichen += zeile.size();
        ganz += t.Zeile(i) + QStringLiteral("\r\n");
        const int spalten = qk::Textzeilen::Spalte(zeile, zeile.size());
        breite = std::max(breite, spalten);
        QK_PRUEFEN(qk::Textzeilen::Anzeigetext(t.Zeile(i)).size() == spalten);
        QK_PRUEFEN(!qk::Textzeilen::Anzeigetext(t.Zeile(i)).contains(QLatin1Char('\t')));
        // Columns and characters map onto each other (the first 64 characters suffice).
        for (qsizetype k = 0; k <= std::min<qsizetype>(zeile.size(), 64); ++k)
            QK_PRUEFEN(qk::Textzeilen::Zeichen(zeile, qk::Textzeilen::Spalte(zeile, k)) == k);
    }
    QK_PRUEFEN(t.Breite() == breite);
    QK_PRUEFEN(t.Text() == ganz);
    QK_PRUEFEN(zeichen == roh.size() - roh.count('\r') - roh.count('\n'));
    QK_PRUEFEN(t.Roh(-1).isEmpty() && t.Roh(t.Anzahl()).isEmpty() && t.Länge(t.Anzahl()) == 0);
    QK_PRUEFEN(t.Ausschnitt(a, b) == t.Ausschnitt(b, a));
    QK_PRUEFEN(t.Ausschnitt(a, a).isEmpty());
    QK_PRUEFEN(t.Ausschnitt({0, 0}, {t.Anzahl(), 0}) == ganz);
}

std::vector<QByteArray> Saat_Textzeilen() {
    const QByteArray kopf("\x00\x02\x03\x05", 4);
    return {
        kopf + "========\r\n06.12.2026 09:30:15\tRemove User\r\nIDX00012\t5\t7\t3\r\n",
        kopf + "a\rb\nc\r\nd",
        kopf + "\r\n\r\n\n\r\r",
        kopf + "\t\t\tx\ty\t",
        kopf + "J\xFCrgen \x80\x81\x8D\x8F\x90\x9D",
        kopf + QByteArray(300, 'x') + "\r\n" + QByteArray(3, '\t'),
        kopf,
        QByteArray("\xFF\xFF\x00\x00", 4) + "eins\r\nzwei\r\n",
    };
}

} // namespace qk::fuzz
