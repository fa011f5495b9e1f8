#include "views/loeschbefehle.h"

#include "idmap/library_gang.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/idmap_frm1.h"
#include "shell/texte.h"
#include "views/abfragen.h"
#include "views/messages_frm1.h"

#include <QAction>

namespace qk {
namespace {

// The bookings of UserNr in the index folder that was entered, without showing them.
bool Buchungen_Sammeln(Zustand& z, Idmap_frm1& frm) {
    z.Buchungen_Anzeigen = false;
    Buchungen_Anwender_Index(z, frm, z.Index_Eingabe);
    return z.Buchungen_Gefunden;
}

// Undo shows "no bookings" only when nothing it takes back deleted any: a user removal that is
// still pending keeps its word.
void Entfernt_Zurücksetzen(Zustand& z) {
    if (z.Gelöscht_UserNr == 0)
        z.Buchungen_Entfernt = false;
}

// The result in the small window, modal. Both texts are built before the window is loaded
// again, because loading empties Index_Eingabe. The count is of the boxes that were freed in
// the file: a rewrite that failed (reported on its own) frees none, whatever was listed.
void Ergebnis_Zeigen(Zustand& z, Idmap_frm1& frm, const QString& titel) {
    const QString text = CRLF + QString::number(z.Buchungen_Gelöscht) + LoadResString(1121) +
                         z.Index_Eingabe + LoadResString(1120);
    frm.Meldung_Anzeigen(titel, text);
    frm.Messages().exec();
}

} // namespace

void mnu_AlleBuchungenLöschen_Click(Zustand& z, Idmap_frm1& frm) {
    try {
        Index_Erfragen(frm, LoadResString(1130), LoadResString(1131));
        if (z.Index_Eingabe.isEmpty())
            return;
        z.UserNr = 0;
        frm.mnu_Rückgängig->setEnabled(true);
        Entfernt_Zurücksetzen(z);
        if (!Buchungen_Sammeln(z, frm))
            return;
        if (!Index_Buchungen_Löschen(z, 126))
            return;
        z.Buchungen_Entfernt = true;
        Ergebnis_Zeigen(z, frm, LoadResString(1136) + z.Index_Eingabe + LoadResString(1120));
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("mnu_AlleBuchungenLöschen"), LoadResString(1140),
                      f.Nummer());
    }
}

void mnu_BuchungenAufUserLöschen_Click(Zustand& z, Idmap_frm1& frm) {
    try {
        const QString user = QString::number(Gewählten_Anwender_Übernehmen(z, frm));
        Index_Erfragen(frm, LoadResString(1150), LoadResString(1151) + user + LoadResString(1152));
        if (z.Index_Eingabe.isEmpty())
            return;
        frm.mnu_Rückgängig->setEnabled(true);
        Entfernt_Zurücksetzen(z);
        if (!Buchungen_Sammeln(z, frm))
            return;
        z.Buchungen_Entfernt = true;
        if (!Index_Buchungen_Löschen(z, 128))
            return;
        Ergebnis_Zeigen(z, frm, LoadResString(1126) + user + LoadResString(1120));
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("mnu_BuchungenAufUserLöschen"),
                      LoadResString(1160), f.Nummer());
    }
}

} // namespace qk
