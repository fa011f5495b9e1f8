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

// What the bytes of a map hold: the records in file order (at most 256, up to an ID byte 0 or
// the end) and the bytes from the first record the list does not take on, so that a save can
// keep them: records past the 256th, or the record at which the reading had to stop (then
// with the error number).
struct Idmap_Inhalt {
    QList<IdmapEintrag> liste;
    int fehler = 0;
    QByteArray rest;
};
Idmap_Inhalt Idmap_Zerlegen(const QByteArray& bytes);

// Whether a record among the bytes kept behind the list (Idmap_Rest) has User-ID `id`. Such a
// record comes back as a user as soon as a save leaves room for it, or a workstation reads past
// the list; a record cut short counts too.
bool Idmap_Rest_Hat_ID(const QByteArray& rest, quint8 id);

// Reads the map of the folder `pfad` into IdmapListe (and what it could not read into
// Idmap_Rest); reports its own errors.
void Qk_Idmap_Öffnen(Zustand& z, const QString& pfad);

// Backs up the map as QK_IDMAP.BAK and writes IdmapListe (without "DEL" records), followed by
// Idmap_Rest, to the map of the folder `pfad`; reports its own errors and returns whether the
// map was written. Geändert is left to the callers.
bool Qk_Idmap_Speichern(Zustand& z, const QString& pfad);

// Copies `verzeichnis`+`dateiname` to the same name with its last four characters replaced
// by `erweiterung`, when the file exists; deletes the original afterwards when `löschen`.
void Datei_Sichern(const QString& verzeichnis, const QString& dateiname, const QString& erweiterung,
                   bool löschen);

// The bytes of a map holding these records (records marked "DEL" left out).
QByteArray Idmap_Bytes(const QList<IdmapEintrag>& liste);

} // namespace qk
