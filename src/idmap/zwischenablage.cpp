#include "idmap/zwischenablage.h"

#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/texte.h"

namespace qk {

QString Idmap_Bericht(const QList<IdmapEintrag>& liste) {
    const QChar tab = QLatin1Char('\t');
    QString text = QStringLiteral("*************** QK_IDMAP.NET ***************") + CRLF;
    for (const IdmapEintrag& e : liste) {
        text +=
            QString::number(e.ID) + tab + e.UserName + tab + e.PCName + tab + e.LocalPath + CRLF;
    }
    return text;
}

void mnu_Zwischenablage_Click(Zustand& z) {
    try {
        z.plattform.Zwischenablage_Setzen(Idmap_Bericht(z.IdmapListe));
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("mnu_Zwischenablage"), LoadResString(2220),
                      f.Nummer());
    }
}

} // namespace qk
