#include "idmap/rueckgaengig_befehl.h"

#include "idmap/library_gang.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/idmap_frm1.h"
#include "shell/texte.h"

#include <QAction>

namespace qk {

void mnu_Rückgängig_Click(Zustand& z, Idmap_frm1& frm) {
    const QString prozedur = QStringLiteral("mnu_Rückgängig");
    try {
        if (z.Gelöscht_LibListe.isEmpty()) {
            // Nothing is pending (an index that held no booking enabled the command).
            frm.mnu_Rückgängig->setEnabled(false);
            z.Summe_Buchungen = 0; // an earlier command's must not read as restored
            const Ergebnistext ergebnis = Rückgängig_Ergebnis(z, z.UserNr, {});
            frm.Fortschrittsfenster_Zeigen(QString());
            frm.Meldung_Anzeigen(ergebnis.titel, ergebnis.text);
            return;
        }
        if (z.Gelöscht_UserNr != 0) {
            Benutzer_Zurückholen(z, prozedur);
            frm.IdmapListe_In_Liste_Übertragen();
        }
        const Ergebnistext ergebnis = Rückgängig_Ausführen(z, prozedur);
        frm.Fortschrittsfenster_Zeigen(QString());
        frm.Meldung_Anzeigen(ergebnis.titel, ergebnis.text);
        frm.mnu_Speichern->setEnabled(z.Geändert);
        // Undo stays at hand while a Library still waits for its restore.
        frm.mnu_Rückgängig->setEnabled(!z.Gelöscht_LibListe.isEmpty());
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, prozedur, LoadResString(1180), f.Nummer());
    }
}

} // namespace qk
