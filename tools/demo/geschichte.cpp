#include "demo/geschichte.h"

#include "bookdata/bookdata.h"
#include "shell/texte.h"

#include <stdexcept>

namespace qk::demo {
namespace {

// The user's bookings of the whole Library. The command walks the folders in the order the
// file system lists them; here they go in name order, so that one seed gives one log.
void Bibliothek_Einlesen(Zustand& z, const Bibliothek& b, quint8 id) {
    z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, b.pfad);
    BookdataListe_Zurücksetzen(z);
    z.Ordner_Nr = 0;
    z.Anzahl_Dateien = 0;
    for (const QString& ordner : b.ordner) {
        ++z.Ordner_Nr;
        Bookdata_Öffnen(z, b.pfad, ordner, id);
    }
    z.Anzahl_Buchungen = Buchungen_Zählen(z);
}

} // namespace

void Anwender_Entfernen(Zustand& z, const QList<Bibliothek>& bibliotheken, quint8 id) {
    z.UserNr = id;
    z.LibPath_Alt = z.LibPath;
    z.Summe_Buchungen = 0;
    z.Summe_Dateien = 0;
    Rückgängig_Listen_Leeren(z);
    for (const Bibliothek& b : bibliotheken) {
        z.LibPath = b.pfad;
        Bibliothek_Einlesen(z, b, id);
        Buchungen_Löschen(z, b.pfad);
        z.LogFunktion = LoadResString(124);
        LOG_Buchungen_Löschen(z);
    }
    z.LibPath = z.LibPath_Alt;
}

int Index_Löschen(Zustand& z, const Bibliothek& bibliothek, const QString& nummer, quint8 user) {
    z.LibPath = bibliothek.pfad;
    z.Index_Eingabe = Index_Ordnername(z, nummer);
    if (z.Index_Eingabe.isEmpty())
        throw std::runtime_error("index number not accepted: " + nummer.toStdString());
    z.UserNr = user;
    BookdataListe_Zurücksetzen(z);
    z.Ordner_Nr = 0;
    Bookdata_Öffnen(z, z.LibPath, z.Index_Eingabe, user);
    z.Anzahl_Buchungen = Buchungen_Zählen(z);
    if (z.Anzahl_Buchungen == 0)
        throw std::runtime_error("no bookings to delete in " + z.Index_Eingabe.toStdString());
    z.Summe_Buchungen = 0;
    z.Summe_Dateien = 0;
    Buchungen_Löschen(z, z.LibPath);
    z.LogFunktion = LoadResString(user == 0 ? 126 : 128);
    LOG_Buchungen_Löschen(z);
    return z.Buchungen_Gelöscht;
}

void Index_Rückgängig(Zustand& z, const Bibliothek& bibliothek) {
    z.LibPath = bibliothek.pfad;
    cmd_Wiederherstellen(z, z.LibPath);
    z.LogFunktion = LoadResString(130);
    LOG_Buchungen_Wiederherstellen(z);
}

} // namespace qk::demo
