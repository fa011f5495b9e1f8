#include "idmap/library_gang.h"

#include "bookdata/bookdata.h"
#include "idmap/idmap_datei.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/texte.h"

namespace qk {
namespace {

bool Erreichbar(Zustand& z, const QString& lib, const QString& prozedur) {
    if (datei::Ordner_Existiert(lib))
        return true;
    z.plattform.Meldung(LoadResString(2040) + lib + LoadResString(2041),
                        prozedur + QStringLiteral("_Error"), Symbol::Ausruf);
    return false;
}

// Reads the Library's undo list into BookdataListe; damaged lines are left out, with one message.
void Undo_Liste_Lesen(Zustand& z, const QString& lib) {
    const int beschädigt = Rückgängig_Liste_Lesen(z, lib);
    if (beschädigt > 0) {
        z.plattform.Meldung(LoadResString(2081) + lib + LoadResString(2082) +
                                QString::number(beschädigt),
                            QStringLiteral("Rückgängig_Liste_Lesen_Error"), Symbol::Ausruf);
    }
}

// Restores what the last deletion by index freed, in the Library where it deleted, even when
// another Library has been chosen since. Gives that Library when it could
// not be reached or restored whole.
QStringList Index_Wiederherstellen(Zustand& z, const QString& prozedur) {
    z.Summe_Buchungen = 0;
    z.Summe_Dateien = 0;
    z.LibPath = z.Gelöscht_LibListe.value(0, z.LibPath);
    if (!Erreichbar(z, z.LibPath, prozedur))
        return {z.LibPath};
    z.BookdataListe =
        z.Gelöscht_Buchungen.empty() ? std::vector<BookdataEintrag>(1) : z.Gelöscht_Buchungen;
    const bool fertig = cmd_Wiederherstellen(z, z.LibPath);
    z.LogFunktion = LoadResString(130);
    LOG_Buchungen_Wiederherstellen(z);
    z.Summe_Buchungen = z.Anzahl_Buchungen;
    z.Summe_Dateien = z.Dateien_Bearbeitet;
    return fertig ? QStringList() : QStringList{z.LibPath};
}

} // namespace

QStringList Erreichbare_Libraries(Zustand& z, const QStringList& libraries,
                                  const QString& prozedur) {
    QStringList erreichbar;
    for (const QString& lib : libraries) {
        if (Erreichbar(z, lib, prozedur))
            erreichbar.append(lib);
    }
    return erreichbar;
}

void Rückgängig_Listen_Leeren(Zustand& z, const QStringList& libraries) {
    // The store empties the lists of LibListe; lend it the chosen ones for the call.
    struct Zurück {
        Zustand& z;
        QStringList liste;
        ~Zurück() { z.LibListe.swap(liste); }
    } zurück{z, libraries};
    z.LibListe.swap(zurück.liste);
    Rückgängig_Listen_Leeren(z);
}

void Buchungen_In_Libraries_Löschen(Zustand& z, const QStringList& libraries) {
    for (const QString& lib : libraries) {
        z.LibPath = lib;
        z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, lib);
        Bookdata_Einlesen(z, lib, z.UserNr);
        Buchungen_Löschen(z, lib);
        z.LogFunktion = LoadResString(124);
        LOG_Buchungen_Löschen(z);
        if (z.Anzahl_Buchungen > 0)
            z.Buchungen_Entfernt = true;
    }
}

QStringList Buchungen_In_Libraries_Wiederherstellen(Zustand& z, const QStringList& libraries,
                                                    const QString& prozedur) {
    z.Summe_Buchungen = 0;
    z.Summe_Dateien = 0;
    QStringList ausgelassen;
    for (const QString& lib : libraries) {
        z.LibPath = lib;
        if (!Erreichbar(z, lib, prozedur)) {
            ausgelassen.append(lib);
            continue;
        }
        Undo_Liste_Lesen(z, lib);
        if (!cmd_Wiederherstellen(z, lib))
            ausgelassen.append(lib);
        z.LogFunktion = LoadResString(130);
        LOG_Buchungen_Wiederherstellen(z);
        z.Summe_Buchungen += z.Anzahl_Buchungen;
        z.Summe_Dateien += z.Dateien_Bearbeitet;
    }
    return ausgelassen;
}

void Entfernen_Vormerken(Zustand& z, const QStringList& libraries) {
    z.Gelöscht_Index = z.UserIndex;
    z.Gelöscht_UserNr = z.UserNr;
    z.Gelöscht_LibListe = libraries;
    z.IdmapListe[z.Gelöscht_Index].Status = QStringLiteral("DEL");
    z.UserEntfernt = true;
    z.Geändert = true;
}

void Index_Buchungen_Löschen(Zustand& z, int funktion) {
    // There is one level of undo. A user removal still pending stays what Undo takes back, and
    // this deletion joins it: its Library's list holds the removal's entries (or those of an
    // earlier deletion that joined), and losing them would lose bookings for good.
    Undo_Liste art = Undo_Liste::Ersetzen;
    if (z.Gelöscht_UserNr == 0) {
        z.Gelöscht_LibListe = QStringList{z.LibPath};
    } else if (z.Gelöscht_LibListe.contains(z.LibPath)) {
        art = Undo_Liste::Dazu;
    } else {
        z.Gelöscht_LibListe.append(z.LibPath);
    }
    z.Summe_Buchungen = 0;
    z.Summe_Dateien = 0;
    // Undo of a deletion by index alone takes back what it freed; one that joined a removal
    // is taken back from the undo lists, with the removal.
    Buchungen_Löschen(z, z.LibPath, art, z.Gelöscht_UserNr == 0 ? &z.Gelöscht_Buchungen : nullptr);
    z.LogFunktion = LoadResString(funktion);
    LOG_Buchungen_Löschen(z);
}

void Benutzer_Zurückholen(Zustand& z, const QString& prozedur) {
    const quint8 user = z.Gelöscht_UserNr;
    if (z.Gelöscht_Index < z.IdmapListe.size()) {
        IdmapEintrag& e = z.IdmapListe[z.Gelöscht_Index];
        if (e.ID == user && e.Status == QLatin1String("DEL")) {
            e.Status.clear();
            return;
        }
    }
    // A map read since (another Global Directory, or the same one again) holds other users at
    // that place, or the user as the file still has him.
    for (const IdmapEintrag& e : std::as_const(z.IdmapListe)) {
        if (e.ID == user && e.Status != QLatin1String("DEL"))
            return;
    }
    const QString nummer = QString::number(user);
    z.plattform.Meldung(LoadResString(1113) + nummer + LoadResString(1181) + CRLF +
                            LoadResString(1182),
                        prozedur + QStringLiteral("_Error"), Symbol::Ausruf);
}

Ergebnistext Rückgängig_Ausführen(Zustand& z, const QString& prozedur) {
    const bool entfernen = z.Gelöscht_UserNr != 0;
    QStringList ausgelassen;
    quint8 user = z.UserNr;
    {
        // However the walk ends, the current Library and the selected user are as before.
        struct Zurück {
            Zustand& z;
            QString lib;
            quint8 gewählt;
            ~Zurück() {
                z.LibPath = lib;
                z.UserNr = gewählt;
            }
        } zurück{z, z.LibPath, z.UserNr};
        z.LibPath_Alt = z.LibPath;
        if (entfernen) {
            // The undo lists, the log blocks and the result name the removed user, whoever is
            // selected now.
            user = z.UserNr = z.Gelöscht_UserNr;
            ausgelassen = Buchungen_In_Libraries_Wiederherstellen(z, z.Gelöscht_LibListe, prozedur);
        } else {
            ausgelassen = Index_Wiederherstellen(z, prozedur);
        }
    }
    const Ergebnistext ergebnis = Rückgängig_Ergebnis(z, user);
    if (entfernen) {
        z.UserEntfernt = false;
        // The map is unchanged only when the file still is what memory holds now: a save
        // while the removal was pending wrote the map without the user, and edits since the
        // removal are not saved either.
        z.Geändert = !Map_Wie_Gespeichert(z);
    }
    // A Library that was out of reach or failed halfway still holds its backups and its undo
    // list: Undo stays pending for it alone, for when the fault is gone.
    z.Gelöscht_LibListe = ausgelassen;
    if (ausgelassen.isEmpty()) {
        z.Gelöscht_UserNr = 0;
        z.Gelöscht_Buchungen.clear();
        z.Buchungen_Entfernt = false;
    }
    return ergebnis;
}

Ergebnistext Entfernen_Ergebnis(const Zustand& z, quint8 user, qsizetype libraries) {
    const QString nummer = QString::number(user);
    Ergebnistext e;
    e.titel = LoadResString(1113) + nummer + LoadResString(1120);
    if (z.Buchungen_Entfernt) {
        e.text = QString::number(libraries) + LoadResString(1128) + CRLF + CRLF +
                 QString::number(z.Summe_Buchungen) + LoadResString(1121) +
                 QString::number(z.Summe_Dateien) + LoadResString(1122);
    } else {
        e.text = CRLF + LoadResString(1123) + nummer + LoadResString(1124);
    }
    return e;
}

Ergebnistext Rückgängig_Ergebnis(const Zustand& z, quint8 user) {
    const QString nummer = QString::number(user);
    if (z.Buchungen_Entfernt) {
        return {LoadResString(1170), CRLF + QString::number(z.Summe_Buchungen) +
                                         LoadResString(1121) + QString::number(z.Summe_Dateien) +
                                         LoadResString(1171)};
    }
    return {LoadResString(1113) + nummer + LoadResString(1172),
            CRLF + LoadResString(1123) + nummer + LoadResString(1124)};
}

bool Map_Wie_Gespeichert(const Zustand& z) {
    if (z.GlobalPath.isEmpty())
        return false;
    try {
        return datei::Lesen(z.GlobalPath + QStringLiteral("QK_IDMAP.NET")) ==
               Idmap_Bytes(z.IdmapListe) + z.Idmap_Rest;
    } catch (const Fehler&) {
        return false;
    }
}

} // namespace qk
