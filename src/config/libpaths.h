#pragma once

#include "shell/zustand.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The list of Libraries in QK_LIBPATHS.TXT of the Global Directory.
namespace qk {

inline const QString LIBPATHS_DATEI = QStringLiteral("QK_LIBPATHS.TXT");
inline const QString LIBINFO_DATEI = QStringLiteral("LIBINFO.SYS");

// The bytes of QK_LIBPATHS.TXT: every entry in order, each followed by CR LF, Windows-1252.
QByteArray LibPaths_Inhalt(const QStringList& liste);

// The Libraries that the lines of QK_LIBPATHS.TXT name, in their order.
QStringList LibPaths_Aus_Zeilen(const QStringList& zeilen);

// Writes LibListe whole to QK_LIBPATHS.TXT in `globalPath`, unless it is empty or the file
// already names exactly these Libraries (no file counting as none); a failed write leaves the
// old file as it was and is reported. After a failed read of the list (LibPaths_Fehler) nothing
// is written, and that is reported too. Returns false when something was reported.
bool Datei_LibPath_Schreiben(Zustand& z, const QString& globalPath);

// True when `pfad` is one of the entries; letter case counts, as the workstations compare.
bool LibPath_Vorhanden(const QStringList& liste, const QString& pfad);

// What taking a chosen Library into the list did.
enum class Aufnahme {
    Erste,      // the list had no entries; it now holds exactly this one
    Angehaengt, // added at the end (or into an empty first entry)
    Vorhanden,  // already listed; nothing changed
    Leer,       // no path to take (nothing chosen and none before); nothing changed
};
Aufnahme LibPath_Aufnehmen(QStringList& liste, const QString& pfad);

} // namespace qk
