#include "idmap/benutzer_entfernen.h"

#include "idmap/idmap_datei.h"
#include "idmap/library_gang.h"
#include "idmap/logins.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/idmap_frm1.h"
#include "shell/texte.h"

#include <QAction>

namespace qk {
namespace {

const QString PROZEDUR = QStringLiteral("mnu_UserLöschen");

// Step by step, as the administrator confirmed it; false when the user may not be removed or
// the administrator said No.
bool Entfernen_Bestätigt(Zustand& z, const IdmapEintrag& e) {
    const QString nummer = QString::number(e.ID);
    if (e.Status == QLatin1String("A")) {
        z.plattform.Meldung(LoadResString(1110) + nummer + LoadResString(1111) + CRLF +
                                LoadResString(1112) + QString(6, QLatin1Char(' ')),
                            LoadResString(1113) + nummer, Symbol::Stopp);
        return false;
    }
    return z.plattform.Meldung(LoadResString(1114) + nummer + LoadResString(1115) + CRLF +
                                   LoadResString(1116),
                               LoadResString(1117), Symbol::Stopp, Knöpfe::JaNein) == Antwort::Ja;
}

} // namespace

void mnu_UserLöschen_Click(Zustand& z, Idmap_frm1& frm) {
    z.LibPath_Alt = z.LibPath;
    try {
        UserLogins_Ermitteln(z);
        frm.IdmapListe_In_Liste_Übertragen();
        if (z.UserIndex >= z.IdmapListe.size())
            throw Fehler(FEHLER_INDEX);
        // The selection still points at a user removed before, who is no longer listed: a
        // second removal would empty the undo lists of the first.
        if (z.IdmapListe[z.UserIndex].Status == QLatin1String("DEL"))
            return;
        // To the booking store 0 stands for every user and 255 for a free box: neither names
        // the bookings of one user.
        const quint8 nummer = z.IdmapListe[z.UserIndex].ID;
        if (nummer == 0 || nummer == 255)
            throw Fehler(FEHLER_ARGUMENT);
        z.UserNr = nummer;
        if (!Entfernen_Bestätigt(z, z.IdmapListe[z.UserIndex]))
            return;
        const std::optional<Ergebnistext> ergebnis = Entfernen_Ausführen(z, [&] {
            frm.IdmapListe_In_Liste_Übertragen();
            frm.mnu_Rückgängig->setEnabled(true);
            frm.mnu_Speichern->setEnabled(true);
            frm.Fortschrittsfenster_Zeigen(LoadResString(1117));
        });
        if (!ergebnis)
            return;
        frm.Meldung_Anzeigen(ergebnis->titel, ergebnis->text);
        z.LibPath = z.LibPath_Alt;
    } catch (const Fehler& f) {
        z.LibPath = z.LibPath_Alt;
        Fehler_Melden(z.plattform, PROZEDUR, LoadResString(1125), f.Nummer());
    }
}

void mnu_Speichern_Click(Zustand& z, Idmap_frm1& frm) {
    try {
        if (z.Geändert &&
            z.plattform.Meldung(LoadResString(1020), LoadResString(1021), Symbol::Ausruf,
                                Knöpfe::JaNeinAbbrechen) == Antwort::Ja) {
            // A map that could not be written is still unsaved: Save stays at hand, and
            // leaving the program asks again.
            if (!Qk_Idmap_Speichern(z, z.GlobalPath))
                return;
            z.Geändert = false;
        }
        frm.mnu_Speichern->setEnabled(false);
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("mnu_Speichern"), LoadResString(1022),
                      f.Nummer());
    }
}

} // namespace qk
