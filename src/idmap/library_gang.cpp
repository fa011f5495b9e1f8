#include "idmap/library_gang.h"

#include "bookdata/bookdata.h"
#include "idmap/idmap_datei.h"
#include "idmap/undo_merker.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/texte.h"

namespace qk {
namespace {

// Reads the Library's undo list into BookdataListe; damaged lines are left out, with one message.
void Undo_Liste_Lesen(Zustand& z, const QString& lib) {
    const int beschädigt = Rückgängig_Liste_Lesen(z, lib);
    if (beschädigt > 0) {
        z.plattform.Meldung(LoadResString(2081) + lib + LoadResString(2082) +
                                QString::number(beschädigt),
                            QStringLiteral("Rückgängig_Liste_Lesen_Error"), Symbol::Ausruf);
    }
}

QString Zeilen(const QStringList& libraries) {
    return libraries.join(CRLF);
}

// The pending Undo as memory holds it, to put back when a command freed nothing after all.
struct Offenes_Undo {
    quint8 user, index, indexUser;
    IdmapEintrag eintrag;
    QString global, ordner;
    QStringList libraries;
    bool gemeldet, unterbrochen;
};

Offenes_Undo Offenes_Undo_Von(const Zustand& z) {
    return {z.Gelöscht_UserNr,   z.Gelöscht_Index,      z.Gelöscht_IndexUser,
            z.Gelöscht_Eintrag,  z.Gelöscht_GlobalPath, z.Gelöscht_Indexordner,
            z.Gelöscht_LibListe, z.Gelöscht_Gemeldet,   z.Gelöscht_Unterbrochen};
}

void Offenes_Undo_Setzen(Zustand& z, const Offenes_Undo& o) {
    z.Gelöscht_UserNr = o.user;
    z.Gelöscht_Index = o.index;
    z.Gelöscht_IndexUser = o.indexUser;
    z.Gelöscht_Eintrag = o.eintrag;
    z.Gelöscht_GlobalPath = o.global;
    z.Gelöscht_Indexordner = o.ordner;
    z.Gelöscht_LibListe = o.libraries;
    z.Gelöscht_Gemeldet = o.gemeldet;
    z.Gelöscht_Unterbrochen = o.unterbrochen;
}

void Nichts_Offen(Zustand& z) {
    z.Gelöscht_UserNr = 0;
    z.Gelöscht_LibListe.clear();
    z.Gelöscht_Indexordner.clear();
    z.Gelöscht_IndexUser = 0;
    z.Gelöscht_Gemeldet = false;
    z.Gelöscht_Unterbrochen = false;
}

} // namespace

void Keine_Library_Melden(Zustand& z, const QString& lib, const QString& prozedur) {
    z.plattform.Meldung(LoadResString(2010) + lib + LoadResString(2016) + LoadResString(2041),
                        prozedur + QStringLiteral("_Error"), Symbol::Ausruf);
}

QStringList Erreichbare_Libraries(Zustand& z, const QStringList& libraries, const QString& prozedur,
                                  QStringList& nicht_erreicht) {
    QStringList erreichbar;
    for (const QString& eintrag : libraries) {
        const QString lib = Library_Kennung(eintrag);
        // One Library listed twice (another spelling): a second walk would replace the undo
        // list of the first with nothing.
        if (erreichbar.contains(lib) || nicht_erreicht.contains(lib))
            continue;
        if (Ist_Library(lib)) {
            erreichbar.append(lib);
        } else {
            Keine_Library_Melden(z, lib, prozedur);
            nicht_erreicht.append(lib);
        }
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

QStringList Buchungen_In_Libraries_Löschen(Zustand& z, const QStringList& libraries,
                                           const QStringList& beitreten, int& lesefehler) {
    QStringList nicht_erreicht;
    for (const QString& lib : libraries) {
        z.LibPath = lib;
        // A share that went since the start leaves its mount point behind, an empty folder:
        // nothing is written into it.
        if (!Ist_Library(lib)) {
            Keine_Library_Melden(z, lib, QStringLiteral("mnu_UserLöschen"));
            nicht_erreicht.append(lib);
            continue;
        }
        z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, lib);
        if (z.Anzahl_Ordner == 0 && !Ist_Library(lib)) {
            // Gone while its folders were listed: told by the count.
            nicht_erreicht.append(lib);
            continue;
        }
        Bookdata_Einlesen(z, lib, z.UserNr);
        if (!z.Library_Verloren) {
            const qint32 vorher = z.Summe_Buchungen;
            Buchungen_Löschen(z, lib,
                              beitreten.contains(lib) ? Undo_Liste::Dazu : Undo_Liste::Ersetzen);
            if (z.Summe_Buchungen > vorher)
                z.Buchungen_Entfernt = true;
        }
        lesefehler += z.Lesefehler;
        if (z.Library_Verloren) {
            nicht_erreicht.append(lib);
            continue;
        }
        z.LogFunktion = LoadResString(124);
        LOG_Buchungen_Löschen(z);
    }
    return nicht_erreicht;
}

QStringList Buchungen_In_Libraries_Wiederherstellen(Zustand& z, const QStringList& libraries,
                                                    const QString& prozedur) {
    z.Summe_Buchungen = 0;
    z.Summe_Dateien = 0;
    QStringList offen;
    for (const QString& lib : libraries) {
        z.LibPath = lib;
        if (!Ist_Library(lib)) {
            Keine_Library_Melden(z, lib, prozedur);
            offen.append(lib);
            continue;
        }
        Undo_Liste_Lesen(z, lib);
        if (!cmd_Wiederherstellen(z, lib))
            offen.append(lib);
        z.Summe_Buchungen += z.Anzahl_Buchungen;
        z.Summe_Dateien += z.Dateien_Bearbeitet;
        if (z.Library_Verloren)
            continue;
        z.LogFunktion = LoadResString(130);
        LOG_Buchungen_Wiederherstellen(z);
    }
    return offen;
}

void Entfernen_Vormerken(Zustand& z, const QStringList& libraries) {
    Nichts_Offen(z);
    z.Gelöscht_Index = z.UserIndex;
    z.Gelöscht_UserNr = z.UserNr;
    z.Gelöscht_Eintrag = z.IdmapListe[z.Gelöscht_Index];
    z.Gelöscht_Eintrag.Status.clear();
    z.Gelöscht_GlobalPath = z.GlobalPath;
    z.Gelöscht_LibListe = libraries;
    z.IdmapListe[z.Gelöscht_Index].Status = QStringLiteral("DEL");
    z.UserEntfernt = true;
    z.Geändert = true;
}

bool Offenes_Undo_Aufgeben(Zustand& z, bool beitreten) {
    if (beitreten || !z.Gelöscht_Gemeldet || z.Gelöscht_LibListe.isEmpty())
        return true;
    return z.plattform.Meldung(LoadResString(1188) + CRLF + Zeilen(z.Gelöscht_LibListe) + CRLF +
                                   CRLF + LoadResString(1189),
                               LoadResString(1191), Symbol::Ausruf, Knöpfe::JaNein) == Antwort::Ja;
}

bool Undo_Bleibt(const Zustand& z) {
    return z.Gelöscht_Gemeldet && !z.Gelöscht_LibListe.isEmpty();
}

bool Index_Buchungen_Löschen(Zustand& z, int funktion) {
    const QString lib = Library_Kennung(z.LibPath);
    const QString index = z.BookdataListe.front().Index;
    // There is one level of undo. A user removal still pending stays what Undo takes back, and
    // this deletion joins it: its Library's list holds the removal's entries (or those of an
    // earlier deletion that joined), and losing them would lose bookings for good. So does the
    // same deletion run again after it was interrupted.
    const bool entfernen = z.Gelöscht_UserNr != 0;
    const bool wiederholt = !entfernen && z.Gelöscht_Unterbrochen &&
                            z.Gelöscht_Indexordner.compare(index, Qt::CaseInsensitive) == 0 &&
                            z.Gelöscht_IndexUser == z.UserNr;
    const bool dazu = (entfernen || wiederholt) && z.Gelöscht_LibListe.contains(lib);
    if (!Offenes_Undo_Aufgeben(z, entfernen || dazu))
        return false;
    // Joining, this deletion is part of the pending Undo: until it ends, a crash offers that
    // Undo as it stands, also one that was only in memory.
    if (entfernen || dazu)
        Undo_Merken(z);

    // What Undo will do once this deletion has freed anything; recorded in the settings once
    // the undo list names it (before, a crash would offer the list of an earlier deletion).
    const Offenes_Undo vorher = Offenes_Undo_Von(z);
    if (entfernen) {
        if (!dazu)
            z.Gelöscht_LibListe.append(lib);
    } else if (!dazu) {
        // Given up: a crash from here on offers nothing, not the Undo this one replaces.
        Nichts_Offen(z);
        Undo_Vergessen(z);
        z.Gelöscht_LibListe = QStringList{lib};
        z.Gelöscht_GlobalPath = z.GlobalPath;
        z.Gelöscht_Indexordner = index;
        z.Gelöscht_IndexUser = z.UserNr;
    }

    z.Summe_Buchungen = 0;
    z.Summe_Dateien = 0;
    const bool gelöscht =
        Buchungen_Löschen(z, z.LibPath, dazu ? Undo_Liste::Dazu : Undo_Liste::Ersetzen, [&z, dazu] {
            if (!dazu) // joined to a list that Undo walks anyway, the record stands as it is
                Undo_Merken(z);
        });
    if (!gelöscht) // nothing was freed, and the list on disk is the old one: so is the Undo
        Offenes_Undo_Setzen(z, vorher);
    if (!z.Library_Verloren) {
        z.LogFunktion = LoadResString(funktion);
        LOG_Buchungen_Löschen(z);
    }
    // Ended with its log block. The interrupted deletion is done now; a removal it joined
    // stays one to run again.
    if (gelöscht && wiederholt)
        z.Gelöscht_Unterbrochen = false;
    Befehl_Beendet(z);
    return true;
}

void Befehl_Beendet(Zustand& z) {
    // What was shown as pending stays offered at the next start until it is done or given up;
    // anything else ends with the program, as one level of undo always did.
    if (z.Gelöscht_Gemeldet)
        Undo_Merken(z);
    else
        Undo_Vergessen(z);
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
    const IdmapEintrag& kopie = z.Gelöscht_Eintrag;
    bool vergeben = false;
    for (const IdmapEintrag& e : std::as_const(z.IdmapListe)) {
        if (e.ID != user || e.Status == QLatin1String("DEL"))
            continue;
        if (kopie.ID != user || e.UserName == kopie.UserName)
            return;
        vergeben = true;
    }
    // Saved without him and read again: he comes back from the record kept since the removal.
    const bool hier = !z.GlobalPath.isEmpty() &&
                      Library_Kennung(z.GlobalPath) == Library_Kennung(z.Gelöscht_GlobalPath);
    if (!vergeben && hier && kopie.ID == user && z.IdmapListe.size() < 256) {
        z.IdmapListe.append(kopie);
        z.Gelöscht_Index = quint8(z.IdmapListe.size() - 1);
        z.Geändert = true;
        return;
    }
    const QString nummer = QString::number(user);
    z.plattform.Meldung(LoadResString(1113) + nummer + LoadResString(1181) + CRLF +
                            LoadResString(1182),
                        prozedur + QStringLiteral("_Error"), Symbol::Ausruf);
}

Ergebnistext Rückgängig_Ausführen(Zustand& z, const QString& prozedur) {
    const bool entfernen = z.Gelöscht_UserNr != 0;
    QStringList offen;
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
        // The undo lists, the log blocks and the result name the removed user, whoever is
        // selected now; for a deletion by index, the user it deleted for.
        user = z.UserNr = entfernen ? z.Gelöscht_UserNr : z.Gelöscht_IndexUser;
        // Until it ends, an interrupted Undo is offered at the next start.
        Undo_Merken(z);
        try {
            offen = Buchungen_In_Libraries_Wiederherstellen(z, z.Gelöscht_LibListe, prozedur);
        } catch (const Fehler&) {
            // Told as a failed Undo: it stays pending as shown, and is not given up unasked.
            z.Gelöscht_Gemeldet = true;
            throw;
        }
    }
    const Ergebnistext ergebnis = Rückgängig_Ergebnis(z, user, offen);
    if (entfernen) {
        z.UserEntfernt = false;
        // The map is unchanged only when the file still is what memory holds now: a save
        // while the removal was pending wrote the map without the user, and edits since the
        // removal are not saved either.
        z.Geändert = !Map_Wie_Gespeichert(z);
    }
    // Where something is still to restore, its list names it: Undo stays pending for those
    // Libraries alone, shown as such, and survives the end of the program.
    z.Gelöscht_LibListe = offen;
    if (offen.isEmpty()) {
        Nichts_Offen(z);
        Undo_Vergessen(z);
        z.Buchungen_Entfernt = false;
    } else {
        z.Gelöscht_Gemeldet = true;
        Undo_Merken(z);
    }
    return ergebnis;
}

std::optional<Ergebnistext> Entfernen_Ausführen(Zustand& z,
                                                const std::function<void()>& vorgemerkt) {
    const QString prozedur = QStringLiteral("mnu_UserLöschen");
    const quint8 nummer = z.UserNr;
    // The same removal run again after it was interrupted joins what the first run freed:
    // emptying its lists would lose those bookings for good.
    const bool wiederholt = z.Gelöscht_Unterbrochen && z.Gelöscht_UserNr == nummer &&
                            Library_Kennung(z.Gelöscht_GlobalPath) == Library_Kennung(z.GlobalPath);
    if (!Offenes_Undo_Aufgeben(z, wiederholt))
        return std::nullopt;
    const QStringList beitreten = wiederholt ? z.Gelöscht_LibListe : QStringList();
    const bool gemeldet = wiederholt && z.Gelöscht_Gemeldet;

    // The map as it is before the removal, so that Undo has nothing to write back.
    if (Qk_Idmap_Speichern(z, z.GlobalPath))
        z.Geändert = false;
    z.Summe_Buchungen = 0;
    z.Summe_Dateien = 0;
    z.Buchungen_Entfernt = false;
    if (z.LibListe.isEmpty())
        throw Fehler(FEHLER_INDEX);

    // A Library that is not one now keeps its bookings and its old undo list; it takes no part,
    // and Undo later leaves it alone too.
    QStringList nicht_erreicht;
    QStringList libraries = Erreichbare_Libraries(z, z.LibListe, prozedur, nicht_erreicht);
    QStringList leeren = libraries;
    leeren.removeIf([&](const QString& lib) { return beitreten.contains(lib); });
    // The Undo this removal replaces is given up from here on: a crash while its lists are
    // emptied must not offer it again, half. Put back whole, it stays what Undo takes back.
    if (!wiederholt)
        Undo_Vergessen(z);
    try {
        Rückgängig_Listen_Leeren(z, leeren);
    } catch (const Fehler&) {
        Befehl_Beendet(z);
        throw;
    }
    for (const QString& lib : beitreten) {
        if (!libraries.contains(lib))
            libraries.append(lib);
    }

    Entfernen_Vormerken(z, libraries);
    z.Gelöscht_Gemeldet = gemeldet;
    // Before anything is freed: a crash from here on leaves an Undo to offer.
    Undo_Merken(z);
    if (vorgemerkt)
        vorgemerkt();
    int lesefehler = 0;
    const QStringList verloren =
        Buchungen_In_Libraries_Löschen(z, libraries, beitreten, lesefehler);
    Befehl_Beendet(z);
    return Entfernen_Ergebnis(z, nummer, libraries.size(), nicht_erreicht + verloren, lesefehler);
}

Ergebnistext Entfernen_Ergebnis(const Zustand& z, quint8 user, qsizetype libraries,
                                const QStringList& nicht_erreicht, int lesefehler) {
    const QString nummer = QString::number(user);
    Ergebnistext e;
    e.titel = LoadResString(1113) + nummer + LoadResString(1120);
    if (z.Buchungen_Entfernt) {
        e.text = QString::number(libraries) + LoadResString(1128) + CRLF + CRLF +
                 QString::number(z.Summe_Buchungen) + LoadResString(1121) +
                 QString::number(z.Summe_Dateien) + LoadResString(1122);
    } else if (lesefehler > 0 || !nicht_erreicht.isEmpty()) {
        // Bookings that could not be read are no proof of none.
        e.text = CRLF + LoadResString(1185) + nummer + LoadResString(1124);
    } else {
        e.text = CRLF + LoadResString(1123) + nummer + LoadResString(1124);
    }
    if (lesefehler > 0)
        e.text += CRLF + CRLF + LoadResString(1184) + QString::number(lesefehler);
    if (!nicht_erreicht.isEmpty())
        e.text += CRLF + CRLF + LoadResString(1183) + CRLF + Zeilen(nicht_erreicht);
    return e;
}

Ergebnistext Rückgängig_Ergebnis(const Zustand& z, quint8 user, const QStringList& offen) {
    const QString nummer = QString::number(user);
    const QString zahlen = CRLF + QString::number(z.Summe_Buchungen) + LoadResString(1121) +
                           QString::number(z.Summe_Dateien) + LoadResString(1171);
    if (!offen.isEmpty()) {
        return {LoadResString(z.Summe_Buchungen > 0 ? 1170 : 1187),
                zahlen + CRLF + CRLF + LoadResString(1186) + CRLF + Zeilen(offen)};
    }
    if (z.Summe_Buchungen > 0)
        return {LoadResString(1170), zahlen};
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
