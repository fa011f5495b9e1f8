#include "config/local_net.h"

#include "platform/ansi.h"
#include "platform/dateien.h"
#include "shell/texte.h"
#include "shell/zahl.h"

namespace qk {
namespace {

// The refusals of a path, by field: too long for it, or holding what the file cannot.
constexpr int TEXT_DIRPATH_ZU_LANG = 3304;
constexpr int TEXT_PROGPATH_ZU_LANG = 3305;
constexpr int TEXT_DIRPATH_FREMD = 3306;
constexpr int TEXT_PROGPATH_FREMD = 3307;

QString Pfad_Prüfen(const QString& pfad, int zuLang, int fremd) {
    if (pfad.size() >= LOCAL_FELD)
        return LoadResString(zuLang);
    if (!Ansi_Darstellbar(pfad))
        return LoadResString(fremd);
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
        return LoadResString(511); // the same refusal as in the user dialog
    QString grund = Pfad_Prüfen(dirPath, TEXT_DIRPATH_ZU_LANG, TEXT_DIRPATH_FREMD);
    if (grund.isEmpty())
        grund = Pfad_Prüfen(progPath, TEXT_PROGPATH_ZU_LANG, TEXT_PROGPATH_FREMD);
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
    // In place, never through a new file and a rename: the CAD program folder may let the file
    // be written but nothing be created beside it, and a replaced file would lose its access
    // rights and every other name it has.
    datei::Überschreiben(dateiname, Local_Inhalt(userNummer, dirPath, progPath));
}

} // namespace qk
