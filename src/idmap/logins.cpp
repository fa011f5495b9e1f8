#include "idmap/logins.h"

#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/routinen.h"
#include "shell/texte.h"
#include "shell/zahl.h"

namespace qk {

void Login_Setzen(Zustand& z, int nummer) {
    for (IdmapEintrag& e : z.IdmapListe) {
        if (e.ID == nummer) {
            e.Status = QStringLiteral("A");
            return;
        }
    }
}

void UserLogins_Ermitteln(Zustand& z) {
    try {
        if (z.GlobalPath.isEmpty())
            throw Fehler(FEHLER_PFAD);
        const QStringList dateien = datei::Dateien(z.GlobalPath);
        if (!Datei_Existiert(z.GlobalPath, QStringLiteral("QK_IDMAP.NET")))
            return;
        z.LoginAnzahl = 0;
        if (z.IdmapListe.isEmpty())
            throw Fehler(FEHLER_INDEX);
        for (IdmapEintrag& e : z.IdmapListe) {
            if (e.Status == QLatin1String("A"))
                e.Status.clear();
        }
        for (const QString& name : dateien) {
            if (!name.startsWith(QLatin1String("_!qk")))
                continue;
            const double nummer = Runden_Gerade(Zahl_Lesen(name.mid(5, 3)));
            // A number that fits no User-ID still counts as a login, and detection goes on:
            // stopping half-way would leave logged-in users unmarked.
            if (nummer >= 0 && nummer <= 255)
                Login_Setzen(z, static_cast<int>(nummer));
            ++z.LoginAnzahl;
        }
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("UserLogins_Ermitteln"), LoadResString(2030),
                      f.Nummer());
    }
}

} // namespace qk
