#include "bookdata/bookdata.h"
#include "bookdata/bookdata_intern.h"

#include "bookdata/parallel.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/texte.h"

#include <algorithm>

namespace qk {
namespace {

void Umschreiben_Melden(Zustand& z, const QString& libPfad, const QString& index, int nummer) {
    Fehler_Melden(z.plattform, QStringLiteral("Bookdata_Speichern"),
                  LoadResString(2090) + libPfad + index + LoadResString(2091), nummer,
                  LABEL_NR_PUNKT);
}

} // namespace

bool Buchungen_Löschen(Zustand& z, const QString& libPfad, Undo_Liste art,
                       const std::function<void()>& liste_steht) {
    z.Library_Verloren = false;
    if (z.Anzahl_Einträge < 1)
        return true;
    z.Dateien_Bearbeitet = 0;
    z.Anzahl_Buchungen = 0;
    z.Datensätze_Geschrieben = 0;
    z.Buchungen_Gelöscht = 0;
    // Until the files tell otherwise, the log block may not claim that anything went well.
    z.Status_Schreiben = z.Status_Löschen = LoadResString(2071);
    const std::vector<BookdataEintrag>& liste = z.BookdataListe;

    // The undo list comes first: a deletion whose list could not be written (a full disk, a
    // vanished share) could not be undone, and the list of an earlier deletion would restore
    // the wrong boxes. Naming a box whose rewrite then fails is harmless for that moment; the
    // list is written again below to name only what was freed.
    QByteArray davor;
    try {
        if (art == Undo_Liste::Dazu)
            davor = intern::Undo_Liste_Zeilen(libPfad);
        intern::Undo_Liste_Schreiben(libPfad, davor, liste, nullptr);
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("Buchungen_Löschen"), LoadResString(2072),
                      f.Nummer());
        return false;
    }
    if (liste_steht)
        liste_steht();

    const std::vector<intern::Listenordner> ordner = intern::Ordner_Der_Liste(liste);
    std::vector<char> frei(liste.size(), 0);
    qint32 umgeschrieben = 0;
    // After a folder that fails, a look whether the Library is still there: when it is gone,
    // no further folder is begun, and one message says what was done.
    bool halt = false;
    parallel::Geordnet<ordner::Umgeschrieben>(
        z.plattform, int(ordner.size()), z.Gleichzeitig,
        [&](int i) {
            const intern::Listenordner& o = ordner[size_t(i)];
            return ordner::Umschreiben(libPfad, o.index, o.boxen);
        },
        [&](int i, const ordner::Umgeschrieben& u) {
            const intern::Listenordner& o = ordner[size_t(i)];
            z.Dateien_Bearbeitet += o.gruppen;
            // Every box that may be free because of this rewrite stays in the list, also when
            // the rewrite failed partway: no box freed may be lost to Undo.
            for (const size_t e : o.einträge) {
                const quint8 box = liste[e].BoxNr;
                frei[e] = std::find(u.freigegeben.begin(), u.freigegeben.end(), box) !=
                          u.freigegeben.end();
            }
            // Only what reached the file counts, so that the log's statuses tell the truth.
            z.Buchungen_Gelöscht += u.sicher;
            if (u.sicher > 0)
                ++umgeschrieben;
            if (u.fehler == 0) {
                z.Datensätze_Geschrieben += u.boxen;
            } else if (!halt && Ist_Library(libPfad)) {
                ++z.Lesefehler;
                Umschreiben_Melden(z, libPfad, o.index, u.fehler);
            } else {
                halt = true;
            }
            z.plattform.Ereignisse_Verarbeiten();
            return !halt;
        });
    z.Anzahl_Buchungen = Buchungen_Zählen(z);

    // A box booked anew, released or changed since the listing kept what it holds; a file that
    // could not be rewritten kept its boxes. Undo must bring back nothing of those.
    const bool alleFrei = std::all_of(liste.begin(), liste.end(), [&](const BookdataEintrag& e) {
        return e.Index.isEmpty() || frei[size_t(&e - liste.data())];
    });
    if (!alleFrei && !halt) {
        try {
            intern::Undo_Liste_Schreiben(libPfad, davor, liste, &frei);
        } catch (const Fehler& f) {
            // The list keeps naming every box listed: more than was freed, nothing less.
            Fehler_Melden(z.plattform, QStringLiteral("Buchungen_Löschen"), LoadResString(2072),
                          f.Nummer());
        }
    }
    // The summary over several Libraries tells what was really deleted.
    z.Summe_Buchungen += z.Buchungen_Gelöscht;
    z.Summe_Dateien += umgeschrieben;
    if (halt) {
        Library_Verloren_Melden(z, QStringLiteral("Buchungen_Löschen"), libPfad,
                                QString::number(z.Buchungen_Gelöscht) + LoadResString(1121) +
                                    QString::number(umgeschrieben) + LoadResString(2075));
    }
    const bool alleGeschrieben =
        qint64(z.Dateien_Bearbeitet) * satz::BOXEN == qint64(z.Datensätze_Geschrieben);
    z.Status_Schreiben = LoadResString(alleGeschrieben ? 2070 : 2071);
    z.Status_Löschen = LoadResString(z.Buchungen_Gelöscht == z.Anzahl_Buchungen ? 2070 : 2071);
    return true;
}

} // namespace qk
