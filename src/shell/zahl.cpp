#include "shell/zahl.h"

#include <cmath>

namespace qk {

double Zahl_Lesen(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    QString zahl;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        zahl += text[i++];
    bool punkt = false;
    bool ziffern = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            zahl += c;
            ziffern = true;
        } else if (c == QLatin1Char('.') && !punkt) {
            zahl += c;
            punkt = true;
        } else {
            break;
        }
    }
    if (!ziffern)
        return 0;
    return zahl.toDouble();
}

double Runden_Gerade(double wert) {
    return std::nearbyint(wert);
}

} // namespace qk
