#pragma once

#include "shell/zustand.h"

#include <QByteArray>
#include <QList>
#include <QString>

// QK_IDMAP.NET: fixed 781-byte user records, no header, ended by an ID byte 0 or the end of
// the file.
namespace qk {

inline constexpr int IDMAP_SATZ = 781;
inline constexpr int IDMAP_FELD = 260;
inline constexpr int IDMAP_MAX_SÄTZE = 256;

// Reads the map of the folder `pfad` into IdmapListe; reports its own errors.
void Qk_Idmap_Öffnen(Zustand& z, const QString& pfad);

// Backs up the map as QK_IDMAP.BAK and writes IdmapListe (without "DEL" records) to the map
// of the folder `pfad`; reports its own errors and returns whether the map was written.
// Geändert is left to the callers.
bool Qk_Idmap_Speichern(Zustand& z, const QString& pfad);

// Copies `verzeichnis`+`dateiname` to the same name with its last four characters replaced
// by `erweiterung`, when the file exists; deletes the original afterwards when `löschen`.
void Datei_Sichern(const QString& verzeichnis, const QString& dateiname, const QString& erweiterung,
                   bool löschen);

// The bytes of a map holding these records (records marked "DEL" left out).
QByteArray Idmap_Bytes(const QList<IdmapEintrag>& liste);

} // namespace qk
