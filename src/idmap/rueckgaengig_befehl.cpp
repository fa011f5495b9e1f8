#include "idmap/rueckgaengig_befehl.h"

#include "bookdata/bookdata.h"
#include "idmap/library_gang.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/idmap_frm1.h"
#include "shell/texte.h"

#include <QAction>

namespace qk {
namespace {

const QString PROZEDUR = QStringLiteral("mnu_Rückgängig");

// Brings the removed user back in memory and restores the user's bookings. The messages, the
// undo lists and the log blocks name the removed user, whoever is selected now. Gives the
// Libraries that could not be reached or restored whole.
QStringList Entfernen_Rückgängig(Zustand& z, Idmap_frm1& frm) {
    if (z.Gelöscht_Index >= z.IdmapListe.size())
        throw Fehler(FEHLER_INDEX);
    IdmapEintrag& e = z.IdmapListe[z.Gelöscht_Index];
    // A map read since (another Global Directory) holds other users at that place, or the
    // removed one as the file still has him: only the entry marked removed is brought back.
    if (e.ID == z.Gelöscht_UserNr && e.Status == QLatin1String("DEL")) {
        e.Status.clear();
        frm.IdmapListe_In_Liste_Übertragen();
    }

    // However the walk ends, the current Library and the selected user are as before.
    struct Zurück {
        Zustand& z;
        quint8 gewählt;
        ~Zurück() {
            z.LibPath = z.LibPath_Alt;
            z.UserNr = gewählt;
        }
    } zurück{z, z.UserNr};
    z.UserNr = z.Gelöscht_UserNr;
    z.LibPath_Alt = z.LibPath;
    return Buchungen_In_Libraries_Wiederherstellen(z, z.Gelöscht_LibListe, PROZEDUR);
}

// Restores what the last deletion by index left in BookdataListe, in the Library where it
// deleted, even when another Library has been chosen since. Gives that Library when it could
// not be reached or restored whole.
QStringList Index_Rückgängig(Zustand& z) {
    z.Summe_Buchungen = 0;
    z.Summe_Dateien = 0;
    struct Zurück {
        Zustand& z;
        QString lib;
        ~Zurück() { z.LibPath = lib; }
    } zurück{z, z.LibPath};
    z.LibPath = z.Gelöscht_LibListe.value(0, z.LibPath);
    if (Erreichbare_Libraries(z, {z.LibPath}, PROZEDUR).isEmpty())
        return {z.LibPath};
    const bool fertig = cmd_Wiederherstellen(z, z.LibPath);
    z.LogFunktion = LoadResString(130);
    LOG_Buchungen_Wiederherstellen(z);
    z.Summe_Buchungen = z.Anzahl_Buchungen;
    z.Summe_Dateien = z.Dateien_Bearbeitet;
    return fertig ? QStringList() : QStringList{z.LibPath};
}

} // namespace

void mnu_Rückgängig_Click(Zustand& z, Idmap_frm1& frm) {
    try {
        const bool entfernen = z.Gelöscht_UserNr != 0;
        const quint8 user = entfernen ? z.Gelöscht_UserNr : z.UserNr;
        const QStringList ausgelassen =
            entfernen ? Entfernen_Rückgängig(z, frm) : Index_Rückgängig(z);

        frm.Fortschrittsfenster_Zeigen(QString());
        const Ergebnistext ergebnis = Rückgängig_Ergebnis(z, user);
        frm.Meldung_Anzeigen(ergebnis.titel, ergebnis.text);

        if (entfernen) {
            z.UserEntfernt = false;
            // The map is unchanged only when the file still is what memory holds now: a save
            // while the removal was pending wrote the map without the user, and edits since
            // the removal are not saved either.
            z.Geändert = !Map_Wie_Gespeichert(z);
        }
        frm.mnu_Speichern->setEnabled(z.Geändert);
        // A Library that was out of reach or failed halfway still holds its backups and its
        // undo list: Undo stays at hand for it alone, for when the fault is gone.
        z.Gelöscht_LibListe = ausgelassen;
        if (!ausgelassen.isEmpty())
            return;
        z.Gelöscht_UserNr = 0;
        z.Buchungen_Entfernt = false;
        frm.mnu_Rückgängig->setEnabled(false);
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, PROZEDUR, LoadResString(1180), f.Nummer());
    }
}

} // namespace qk
