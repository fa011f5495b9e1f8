#include "config/local_net.h"

#include "platform/ansi.h"
#include "platform/dateien.h"
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

// Whether the text survives its way through the single-byte code page unchanged.
bool Ansi_Darstellbar(const QString& text) {
    return Von_Ansi(Ansi(text)) == text;
}

QString Pfad_Prüfen(const QString& pfad, const QString& name) {
    if (pfad.size() >= LOCAL_FELD)
        return QStringLiteral("The %1 must be shorter than 260 characters.").arg(name);
    if (!Ansi_Darstellbar(pfad))
        return QStringLiteral("The %1 contains characters that QK_LOCAL.NET cannot hold.")
            .arg(name);
    return {};
}

} // namespace

double UserNummer_Lesen(const QString& text) {
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
        const qsizetype bruch = i + 1;
        const qsizetype ende = Ziffern_Überspringen(text, bruch);
        if (ziffern || ende > bruch) {
            ziffern = ziffern || ende > bruch;
            i = ende;
        }
    }
    if (!ziffern)
        return 0;
    // An exponent belongs to the number only when digits follow it.
    if (Zeichen(text, i, 'e', 'E')) {
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
    return Runden_Gerade(wert);
}

QString Local_Eingabe_Prüfen(const QString& userNumber, const QString& dirPath,
                             const QString& progPath) {
    const double nummer = UserNummer_Lesen(userNumber);
    if (!(nummer >= 1 && nummer <= 254))
        return QStringLiteral("The User-ID must be a number from 1 to 254.");
    QString grund = Pfad_Prüfen(dirPath, QStringLiteral("Global Directory"));
    if (grund.isEmpty())
        grund = Pfad_Prüfen(progPath, QStringLiteral("Local Directory"));
    return grund;
}

QByteArray Local_Feld(const QString& text) {
    QByteArray feld = Ansi(text).left(LOCAL_FELD);
    if (feld.size() < LOCAL_FELD)
        feld.append('\0');
    feld.append(LOCAL_FELD - feld.size(), ' ');
    return feld;
}

QByteArray Local_Inhalt(quint8 userNummer, const QString& dirPath, const QString& progPath) {
    QByteArray inhalt;
    inhalt.reserve(LOCAL_GROESSE);
    inhalt.append(static_cast<char>(userNummer));
    inhalt.append(Local_Feld(dirPath));
    inhalt.append(static_cast<char>(0xFF));
    inhalt.append(Local_Feld(progPath));
    return inhalt;
}

void Local_Schreiben(const QString& dateiname, quint8 userNummer, const QString& dirPath,
                     const QString& progPath) {
    datei::Ersetzen(dateiname, Local_Inhalt(userNummer, dirPath, progPath));
}

} // namespace qk
