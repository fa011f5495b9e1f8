#pragma once

#include "shell/zustand.h"

#include <QString>
#include <functional>
#include <vector>

// The booking store of a Library: index folders, BOOKDATA.NET, deletion with backup and undo
// list, restore, and BOOKDATA.LOG. Every routine works on the shared state and reports its
// own errors through the platform, as each one's comment says.
namespace qk {

// ---- Library and index folders ----

// The index folder name for a typed index number ("idx" and five digits), or an empty text
// after telling the user the number is invalid. An empty text, or one whose first character
// is not a digit, throws qk::Fehler(FEHLER_TYP) for the caller to report.
QString Index_Ordnername(Zustand& z, const QString& text);

// True when `name` is "IDX" followed by five digits, in any letter case.
bool Ist_Indexordner(const QString& name);

// The Library as the file layer reaches it: the spelling on disk where one exists (exact first,
// then in any letter case), separators collapsed, ending with the separator. Two paths name
// one Library exactly when their Kennung is the same; lists, joins and comparisons of
// Libraries use it.
QString Library_Kennung(const QString& libPfad);

// True when the folder holds LIBINFO.SYS (any letter case): only then is it a Library. A share
// that is gone may leave its mount point behind, an empty folder.
bool Ist_Library(const QString& libPfad);

// The Library left during a walk (reported once): Library_Verloren is set and the walk stops.
// What was done before is named in the message `was`.
void Library_Verloren_Melden(Zustand& z, const QString& prozedur, const QString& libPfad,
                             const QString& was);

// Number of index folders directly in the Library (0 after a reported error). Sets
// Anzahl_Ordner to 0; the caller stores the result into Anzahl_Ordner.
qint32 Anzahl_Ordner_Ermitteln(Zustand& z, const QString& libPfad);

// Reads the BOOKDATA.NET of every index folder directly in the Library (the folders that
// Anzahl_Ordner_Ermitteln counts), appending to BookdataListe; counts Ordner_Nr. Errors while
// listing the Library throw qk::Fehler; errors of one file are reported and the walk goes on.
void Ordner_Durchsuchen(Zustand& z, const QString& libPfad, quint8 filter);

// Updates the progress window, when one is open, with the folder being searched.
void Fortschritt_Anzeigen(Zustand& z, const QString& index, qint32 ordnerNr);

// ---- BOOKDATA.NET and BookdataListe ----

// Empties BookdataListe to its one blank element and Anzahl_Einträge to 0.
void BookdataListe_Zurücksetzen(Zustand& z);

// Number of bookings the list holds: its size when element 0 names an index folder, else 0.
qint32 Buchungen_Zählen(const Zustand& z);

// Appends the bookings of libPfad+index+"\BOOKDATA.NET" that pass the filter (0 = every
// user). Reports its own errors.
void Bookdata_Öffnen(Zustand& z, const QString& libPfad, const QString& index, quint8 filter);

// Replaces BookdataListe with the bookings of every index folder of the Library that pass the
// filter, sets Anzahl_Buchungen and hands the bookings window its captions. Reports its own
// errors.
void Bookdata_Einlesen(Zustand& z, const QString& libPfad, quint8 filter);

// ---- Deletion, backup, undo list and restore ----

// What a deletion does with the Library's undo list: replace it, or add its entries to those
// of a user removal that is still pending, so that one Undo brings back what both freed.
enum class Undo_Liste { Ersetzen, Dazu };

// Frees, in their files, the boxes listed in BookdataListe that still hold their listed
// booking, after backing each file up as BOOKDATA.BAK. The undo list is written before any file
// is touched and names, in the end, every box that is free because of this deletion. Sets the
// counters and statuses of the log block: Buchungen_Gelöscht and Summe_Dateien count what was
// changed on disk. Reports its own errors.
// Returns false when nothing was freed because the undo list could not be written (reported):
// the Library's list is then as it was. When the Library goes away during the rewrite, the walk
// stops with one message and Library_Verloren is set; the list still names every box freed.
// `liste_steht` is called once the list is in place, before any box is freed.
bool Buchungen_Löschen(Zustand& z, const QString& libPfad, Undo_Liste art = Undo_Liste::Ersetzen,
                       const std::function<void()>& liste_steht = {});

// Writes BookdataListe as the Library's undo list. Throws qk::Fehler.
void Rückgängig_Liste_Schreiben(Zustand& z, const QString& libPfad);

// Empties the undo list of every Library of LibListe, one after another in list order. At the
// first that fails, the lists emptied before it get their old bytes back and qk::Fehler is
// thrown: a removal that cannot replace every list replaces none.
void Rückgängig_Listen_Leeren(Zustand& z);

// Replaces BookdataListe with the entries of the Library's undo list, each with the user and
// revision its line records. A line that names no index folder or lacks a valid number is
// skipped; returns how many were. Throws qk::Fehler when the list cannot be read.
int Rückgängig_Liste_Lesen(Zustand& z, const QString& libPfad);

// The text before the first separator (the whole text without one), blanks at both ends
// removed.
QString Feld_Lesen(const QString& text, QChar trenner);

// Restores the boxes named in BookdataListe from each index folder's BOOKDATA.BAK (see
// satz::Boxen_Zurückholen), going on past a folder that fails, and then rewrites the Library's
// undo list to name only what is still to restore: the boxes of failed folders, and those not
// tried when the Library went away. Anzahl_Buchungen and Dateien_Bearbeitet count the boxes
// put back and the booking files written. Reports its own errors (one message for the
// Library); false when something is still to restore.
bool cmd_Wiederherstellen(Zustand& z, const QString& libPfad);

// ---- BOOKDATA.LOG ----

// Appends `text` to the Library's log. Reports its own errors; false when nothing was written.
bool LOG_Datei_Schreiben(Zustand& z, const QString& libPfad, const QString& text);

// The deletion block for LibPath; reports its own errors.
void LOG_Buchungen_Löschen(Zustand& z);

// The restore block for LibPath. Throws qk::Fehler for the undo command to report.
void LOG_Buchungen_Wiederherstellen(Zustand& z);

} // namespace qk
