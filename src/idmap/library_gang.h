#pragma once

#include "shell/zustand.h"

#include <QString>
#include <QStringList>

// The walk of a user removal and of its undo over the Libraries, without the windows: what
// the two commands do in each Library, their result texts, and whether the map in memory is
// the one on disk.
namespace qk {

// The Libraries of `libraries` whose folder can be reached. Each one that cannot is reported,
// titled `prozedur` + "_Error", and left out.
QStringList Erreichbare_Libraries(Zustand& z, const QStringList& libraries,
                                  const QString& prozedur);

// Empties the undo list of each of `libraries` (only those), so that a later undo restores
// nothing but what the removal deletes. Throws qk::Fehler.
void Rückgängig_Listen_Leeren(Zustand& z, const QStringList& libraries);

// In each Library: counts the index folders, gathers the bookings of UserNr, deletes them
// with backup and undo list, and appends the log block. LibPath is set to each in turn and
// left at the last one; Summe_Buchungen and Summe_Dateien grow; Buchungen_Entfernt becomes
// true when any booking was handed to the deletion. The store routines report their own
// errors.
void Buchungen_In_Libraries_Löschen(Zustand& z, const QStringList& libraries);

// In each Library that can still be reached: reads its undo list, restores its entries and
// appends the restore block; one that cannot be reached is reported, titled `prozedur` +
// "_Error", and left out, and so are damaged lines of an undo list (one message per list).
// LibPath is set to each in turn and left at the last one. Summe_Buchungen and Summe_Dateien
// are set to what was restored. An unreadable undo list or a failing log throws qk::Fehler.
// Gives the Libraries left out or not restored whole.
QStringList Buchungen_In_Libraries_Wiederherstellen(Zustand& z, const QStringList& libraries,
                                                    const QString& prozedur);

// Marks the record at UserIndex removed and remembers, for Undo, UserNr and the Libraries whose
// bookings the removal is about to delete.
void Entfernen_Vormerken(Zustand& z, const QStringList& libraries);

// Deletes, in LibPath, the bookings that a command by index listed in BookdataListe and appends
// the log block naming the command by text `funktion`. While a user removal is pending, the
// entries join the undo list of a Library that Undo will walk anyway, and one Undo brings back
// what both deleted; otherwise this deletion becomes what Undo takes back.
void Index_Buchungen_Löschen(Zustand& z, int funktion);

// Brings back the record of the user whose removal is pending. A map read since that holds the
// user under that place or elsewhere needs nothing; one without him gets him not back, and the
// administrator is told that only the bookings will be restored.
void Benutzer_Zurückholen(Zustand& z, const QString& prozedur);

struct Ergebnistext {
    QString titel;
    QString text;
};

// The result of removing user `user` from `libraries` Libraries, from Buchungen_Entfernt and
// the sums.
Ergebnistext Entfernen_Ergebnis(const Zustand& z, quint8 user, qsizetype libraries);

// The result of an undo for user `user`, from Buchungen_Entfernt and the sums.
Ergebnistext Rückgängig_Ergebnis(const Zustand& z, quint8 user);

// The walk of Undo: restores what the pending removal (in every Library it touched) or the last
// deletion by index deleted, then leaves the state for the next command: Undo stays pending only
// for the Libraries that were left out or not restored whole. Gives the result to show.
Ergebnistext Rückgängig_Ausführen(Zustand& z, const QString& prozedur);

// True when the map of the Global Directory holds exactly what a save would write now; false
// also when it cannot be read.
bool Map_Wie_Gespeichert(const Zustand& z);

} // namespace qk
