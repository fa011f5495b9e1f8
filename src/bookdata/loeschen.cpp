#include "bookdata/bookdata.h"
#include "bookdata/bookdata_intern.h"

#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/texte.h"

namespace qk {

bool Bookdata_Speichern(Zustand& z, const QString& libPfad, const QString& index) {
    bool geschrieben = true;
    try {
        if (!Ist_Indexordner(index))
            throw Fehler(FEHLER_PFAD);
        const QString netz = intern::Index_Datei(libPfad, index, intern::BOOKDATA_NET);
        const QByteArray gelesen = datei::Lesen(netz);
        QByteArray neu = gelesen;
        satz::Buchungen_Freigeben(neu, z.UserNr);

        // The backup is made from the very bytes that the rewrite starts from, and it must be
        // complete before the booking file is touched: when it fails, nothing else happens.
        datei::Überschreiben(intern::Index_Datei(libPfad, index, intern::BOOKDATA_BAK), gelesen);

        // Workstations book and release boxes in this file at any moment, in place. Only the
        // freed records are written, each only while it still holds what was read, so that
        // whatever a workstation did since the read stays; a failure puts the freed ones back.
        const int freigegeben = datei::Stellen_Schreiben(netz, satz::Änderungen(gelesen, neu));
        // Only what reached the file counts, so that the log's statuses tell the truth.
        z.Datensätze_Geschrieben += satz::Vollständige_Boxen(gelesen);
        z.Buchungen_Gelöscht += freigegeben;
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("Bookdata_Speichern"),
                      LoadResString(2090) + libPfad + index + LoadResString(2091), f.Nummer(),
                      LABEL_NR_PUNKT);
        geschrieben = false;
    }
    z.plattform.Ereignisse_Verarbeiten();
    return geschrieben;
}

void Buchungen_Löschen(Zustand& z, const QString& libPfad) {
    if (z.Anzahl_Einträge < 1)
        return;
    try {
        z.Dateien_Bearbeitet = 0;
        z.Anzahl_Buchungen = 0;
        z.Datensätze_Geschrieben = 0;
        z.Buchungen_Gelöscht = 0;
        // The undo list comes first: a deletion whose list could not be written (a full
        // disk, a vanished share) could not be undone, and the list of an earlier deletion
        // would restore the wrong boxes. Naming a folder whose rewrite then fails is harmless:
        // its boxes are still booked, and the restore leaves booked boxes alone.
        Rückgängig_Liste_Schreiben(z, libPfad);
        QString vorher;
        qint32 umgeschrieben = 0;
        for (const BookdataEintrag& e : z.BookdataListe) {
            if (e.Index == vorher)
                continue;
            ++z.Dateien_Bearbeitet;
            vorher = e.Index;
            if (Bookdata_Speichern(z, libPfad, e.Index))
                ++umgeschrieben;
        }
        z.Anzahl_Buchungen = Buchungen_Zählen(z);
        // The summary over several Libraries tells what was really deleted: a file that
        // could not be rewritten, or a box booked anew since the listing, still holds it.
        z.Summe_Buchungen += z.Buchungen_Gelöscht;
        z.Summe_Dateien += umgeschrieben;
        const bool alleGeschrieben =
            qint64(z.Dateien_Bearbeitet) * satz::BOXEN == qint64(z.Datensätze_Geschrieben);
        z.Status_Schreiben = LoadResString(alleGeschrieben ? 2070 : 2071);
        z.Status_Löschen = LoadResString(z.Buchungen_Gelöscht == z.Anzahl_Buchungen ? 2070 : 2071);
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("Buchungen_Löschen"), LoadResString(2072),
                      f.Nummer());
    }
}

} // namespace qk
