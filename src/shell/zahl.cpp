#include "shell/zahl.h"

#include <QLocale>
#include <cmath>

namespace qk {
namespace {

bool Ziffer(const QString& t, qsizetype i) {
    return i < t.size() && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9');
}

bool Zeichen(const QString& t, qsizetype i, char a, char b = '\0') {
    return i < t.size() && (t[i] == QLatin1Char(a) || (b != '\0' && t[i] == QLatin1Char(b)));
}

qsizetype Ziffern_Überspringen(const QString& t, qsizetype i) {
    while (Ziffer(t, i))
        ++i;
    return i;
}

} // namespace

double Zahl_Lesen(const QString& text, bool exponent) {
    qsizetype i = 0;
    while (Zeichen(text, i, ' ', '\t'))
        ++i;
    const qsizetype anfang = i;
    if (Zeichen(text, i, '+', '-'))
        ++i;
    const qsizetype ganz = i;
    i = Ziffern_Überspringen(text, i);
    bool ziffern = i > ganz;
    if (Zeichen(text, i, '.')) {
        const qsizetype ende = Ziffern_Überspringen(text, i + 1);
        ziffern = ziffern || ende > i + 1;
        if (ziffern)
            i = ende;
    }
    if (!ziffern)
        return 0;
    // An exponent belongs to the number only when digits follow it.
    if (exponent && Zeichen(text, i, 'e', 'E')) {
        qsizetype j = i + 1;
        if (Zeichen(text, j, '+', '-'))
            ++j;
        if (Ziffer(text, j))
            i = Ziffern_Überspringen(text, j);
    }
    bool ok = false;
    const double wert = QLocale::c().toDouble(text.mid(anfang, i - anfang), &ok);
    if (!ok) // only a value beyond the range of double gets here
        return text[anfang] == QLatin1Char('-') ? -HUGE_VAL : HUGE_VAL;
    return wert;
}

double Runden_Gerade(double wert) {
    return std::nearbyint(wert);
}

} // namespace qk
