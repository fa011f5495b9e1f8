#include "config/libpaths.h"

#include "platform/ansi.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/texte.h"

namespace qk {

QByteArray LibPaths_Inhalt(const QStringList& liste) {
    QByteArray inhalt;
    for (const QString& eintrag : liste) {
        inhalt += Ansi(eintrag);
        inhalt += "\r\n";
    }
    return inhalt;
}

QStringList LibPaths_Aus_Zeilen(const QStringList& zeilen) {
    QStringList liste;
    for (QString zeile : zeilen) {
        // An empty line names no Library; a path without its closing separator would put
        // the Library's files next to the folder instead of into it.
        if (zeile.trimmed().isEmpty())
            continue;
        if (!zeile.endsWith(QLatin1Char('\\')) && !zeile.endsWith(QLatin1Char('/')))
            zeile += datei::Trenner();
        liste.append(zeile);
    }
    return liste;
}

bool Datei_LibPath_Schreiben(Zustand& z, const QString& globalPath) {
    try {
        // Without a Global Directory the name would point into whatever folder the program
        // runs in; the workstations would never find the list there.
        if (globalPath.isEmpty())
            throw Fehler(FEHLER_PFAD);
        // A list that could not be read is not known: writing what is in memory would drop
        // every Library of the file for all workstations.
        if (z.LibPaths_Fehler != 0) {
            Fehler_Melden(z.plattform, QStringLiteral("Datei_LibPath_Schreiben"),
                          LoadResString(2175), z.LibPaths_Fehler);
            return false;
        }
        const QString pfad = globalPath + LIBPATHS_DATEI;
        // A file kept by hand keeps its own form while it names the same Libraries. The program
        // never takes a Library out, so an empty list says nothing new: it could only create an
        // empty file or wipe a list written since the last reading.
        const QStringList da =
            datei::Existiert(pfad) ? LibPaths_Aus_Zeilen(datei::Zeilen_Lesen(pfad)) : QStringList();
        if (da != z.LibListe && !z.LibListe.isEmpty())
            datei::Ersetzen(pfad, LibPaths_Inhalt(z.LibListe));
        return true;
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("Datei_LibPath_Schreiben"), LoadResString(2210),
                      f.Nummer());
        return false;
    }
}

bool LibPath_Vorhanden(const QStringList& liste, const QString& pfad) {
    return liste.contains(pfad, Qt::CaseSensitive);
}

Aufnahme LibPath_Aufnehmen(QStringList& liste, const QString& pfad) {
    // An empty entry would make every walk over the Libraries work in the program's own
    // folder, so it never enters the list.
    if (pfad.isEmpty())
        return Aufnahme::Leer;
    if (liste.isEmpty()) {
        liste.append(pfad);
        return Aufnahme::Erste;
    }
    if (LibPath_Vorhanden(liste, pfad))
        return Aufnahme::Vorhanden;
    // A hand-edited file may start with an empty line; the new Library takes its place.
    if (liste.first().isEmpty())
        liste.first() = pfad;
    else
        liste.append(pfad);
    return Aufnahme::Angehaengt;
}

} // namespace qk
