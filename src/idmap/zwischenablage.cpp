#include "idmap/zwischenablage.h"

#include "platform/fehler.h"
#include "shell/fehlerbericht.h"

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
        Fehler_Melden(z.plattform, QStringLiteral("mnu_Zwischenablage"),
                      QStringLiteral("Error when copying to the clipboard."), f.Nummer());
    }
}

} // namespace qk
