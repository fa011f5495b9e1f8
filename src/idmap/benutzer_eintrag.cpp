#include "idmap/benutzer_eintrag.h"

#include "idmap/idmap_datei.h"
#include "platform/ansi.h"
#include "platform/fehler.h"
#include "shell/zahl.h"

#include <QLocale>
#include <QRegularExpression>

namespace qk {

double UserID_Lesen(const QString& text) {
    static const QRegularExpression ZAHL(
        QStringLiteral("^ *([+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?) *$"));
    const QRegularExpressionMatch treffer = ZAHL.match(text);
    if (!treffer.hasMatch())
        throw Fehler(FEHLER_TYP);
    bool ok = false;
    const double wert = QLocale::c().toDouble(treffer.captured(1), &ok);
    // Only an exponent beyond the range of double fails here; such a value fits no User-ID.
    if (!ok)
        return treffer.captured(1).startsWith(QLatin1Char('-')) ? -1.0 : 1e300;
    return Runden_Gerade(wert);
}

int Benutzereingabe_Prüfen(const QList<IdmapEintrag>& liste, qsizetype index,
                           const Benutzereingabe& eingabe) {
    if (!(eingabe.id >= 1 && eingabe.id <= 254))
        return TEXT_ID_BEREICH;
    // A record that shares its ID with another (a map written by hand) keeps it while its
    // other fields are corrected; only a new ID must be free.
    const bool neueID = index < 0 || index >= liste.size() || liste[index].ID != eingabe.id;
    for (qsizetype i = 0; neueID && i < liste.size(); ++i) {
        if (i != index && liste[i].ID == eingabe.id)
            return TEXT_ID_VERGEBEN;
    }
    // The field keeps room for its closing NUL.
    for (const QString* feld : {&eingabe.userName, &eingabe.pcName, &eingabe.localPath}) {
        if (Ansi(*feld).size() > IDMAP_FELD - 1)
            return TEXT_ZU_LANG;
    }
    return 0;
}

} // namespace qk
