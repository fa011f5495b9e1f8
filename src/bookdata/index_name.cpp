#include "bookdata/bookdata.h"

#include "platform/fehler.h"
#include "shell/texte.h"

namespace qk {
namespace {

bool Ist_Ziffer(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool Nur_Ziffern(const QString& text) {
    for (QChar c : text) {
        if (!Ist_Ziffer(c))
            return false;
    }
    return true;
}

} // namespace

bool Ist_Indexordner(const QString& name) {
    return name.size() == 8 &&
           name.left(3).compare(QLatin1String("IDX"), Qt::CaseInsensitive) == 0 &&
           Nur_Ziffern(name.mid(3));
}

QString Index_Ordnername(Zustand& z, const QString& text) {
    // Only a number can be compared with zero; anything else is an error of the entry.
    if (text.isEmpty() || !Ist_Ziffer(text[0]))
        throw Fehler(FEHLER_TYP);
    const bool nichtNull = text[0] != QLatin1Char('0');
    const qsizetype n = text.size();
    // Typed text reaches a path: every character must be a digit.
    if (Nur_Ziffern(text) && (n == 5 || (n >= 1 && n <= 4 && nichtNull)))
        return QStringLiteral("idx") + QString(5 - n, QLatin1Char('0')) + text;
    z.plattform.Meldung(LoadResString(2140), LoadResString(2141) + text, Symbol::Ausruf);
    return {};
}

} // namespace qk
