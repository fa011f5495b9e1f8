#include "config/local_net.h"

#include "platform/ansi.h"
#include "platform/dateien.h"
#include "shell/zahl.h"

namespace qk {
namespace {

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
    return Runden_Gerade(Zahl_Lesen(text, true));
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
