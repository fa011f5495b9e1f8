#pragma once

#include "shell/zustand.h"

#include <QString>
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
// is touched and names, in the end, exactly the boxes that were freed; `freigegeben`, when given,
// gets those entries too. Sets the counters and statuses of the log block; reports its own
// errors.
void Buchungen_Löschen(Zustand& z, const QString& libPfad, Undo_Liste art = Undo_Liste::Ersetzen,
                       std::vector<BookdataEintrag>* freigegeben = nullptr);

// Writes BookdataListe as the Library's undo list. Throws qk::Fehler.
void Rückgängig_Liste_Schreiben(Zustand& z, const QString& libPfad);

// Empties the undo list of every Library of LibListe. Throws qk::Fehler.
void Rückgängig_Listen_Leeren(Zustand& z);

// Replaces BookdataListe with the entries of the Library's undo list, each with the user and
// revision its line records. A line that names no index folder or lacks a valid number is
// skipped; returns how many were. Throws qk::Fehler when the list cannot be read.
int Rückgängig_Liste_Lesen(Zustand& z, const QString& libPfad);

// The text before the first separator (the whole text without one), blanks at both ends
// removed.
QString Feld_Lesen(const QString& text, QChar trenner);

// Restores the boxes named in BookdataListe from each index folder's BOOKDATA.BAK (see
// satz::Boxen_Zurückholen). Reports its own errors; false when it stopped on one (a later call
// may finish the work: boxes restored already count as back).
bool cmd_Wiederherstellen(Zustand& z, const QString& libPfad);

// ---- BOOKDATA.LOG ----

// Appends `text` to the Library's log. Reports its own errors; false when nothing was written.
bool LOG_Datei_Schreiben(Zustand& z, const QString& libPfad, const QString& text);

// The deletion block for LibPath; reports its own errors.
void LOG_Buchungen_Löschen(Zustand& z);

// The restore block for LibPath. Throws qk::Fehler for the undo command to report.
void LOG_Buchungen_Wiederherstellen(Zustand& z);

} // namespace qk
