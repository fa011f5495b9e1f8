#pragma once

#include "shell/zustand.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The walk of a user removal and of its undo over the Libraries, without the windows: what
// the two commands do in each Library, their result texts, and whether the map in memory is
// the one on disk. The undo lists of the Libraries in Gelöscht_LibListe are the journal of the
// next Undo; what is kept here in memory only names them.
namespace qk {

struct Ergebnistext {
    QString titel;
    QString text;
};

// The Libraries of `libraries`, each once by its Library_Kennung, that are Libraries now (a
// folder holding LIBINFO.SYS). Each one that is not is reported, titled `prozedur` + "_Error",
// and added to `nicht_erreicht`.
QStringList Erreichbare_Libraries(Zustand& z, const QStringList& libraries, const QString& prozedur,
                                  QStringList& nicht_erreicht);

// Tells, titled `prozedur` + "_Error", that `lib` is not a Library (any more).
void Keine_Library_Melden(Zustand& z, const QString& lib, const QString& prozedur);

// Empties the undo list of each of `libraries` (only those), one after another: a later undo
// restores nothing but what the removal deletes. Throws qk::Fehler, having emptied none.
void Rückgängig_Listen_Leeren(Zustand& z, const QStringList& libraries);

// In each Library that is still one at its turn: counts the index folders, gathers the bookings
// of UserNr, deletes them with backup and undo list (adding to the list in the Libraries of
// `beitreten`), and appends the log block. LibPath is set to each in turn and left at the last
// one; Summe_Buchungen and Summe_Dateien grow by what was freed on disk; Buchungen_Entfernt
// tells whether anything was; `lesefehler` counts booking files that could not be read or
// written. Gives the Libraries not reached, or left when they went away during the walk.
QStringList Buchungen_In_Libraries_Löschen(Zustand& z, const QStringList& libraries,
                                           const QStringList& beitreten, int& lesefehler);

// In each Library that is still one: reads its undo list, restores its entries and appends the
// restore block; one that is not is reported, titled `prozedur` + "_Error", and left out, and
// so are damaged lines of an undo list (one message per list). LibPath is set to each in turn
// and left at the last one. Summe_Buchungen and Summe_Dateien are set to what was restored. An
// unreadable undo list or a failing log throws qk::Fehler. Gives the Libraries where something
// is still to restore.
QStringList Buchungen_In_Libraries_Wiederherstellen(Zustand& z, const QStringList& libraries,
                                                    const QString& prozedur);

// Marks the record at UserIndex removed and makes the removal of UserNr from `libraries` what
// the next Undo takes back, with the record as it was.
void Entfernen_Vormerken(Zustand& z, const QStringList& libraries);

// Deletes, in LibPath, the bookings that a command by index listed in BookdataListe and appends
// the log block naming the command by text `funktion`. While a user removal is pending, the
// entries join the undo list of a Library that Undo will walk anyway, and one Undo brings back
// what both deleted; so does the same deletion run again after it was interrupted. Otherwise
// this deletion becomes what Undo takes back, once its undo list is written: a deletion that
// could not write it freed nothing and leaves the Undo as it was. False when the administrator
// kept a pending Undo that this deletion would have replaced (nothing done).
bool Index_Buchungen_Löschen(Zustand& z, int funktion);

// True when a command that replaces the pending Undo may go on: nothing pending was shown to the
// administrator as such, or he agrees to give it up. A removal of the same user (a deletion of
// the same index) run again after an interruption joins it and asks nothing: `beitreten`.
bool Offenes_Undo_Aufgeben(Zustand& z, bool beitreten);

// At the normal end of a command: the record of the settings store keeps only what was shown
// as pending.
void Befehl_Beendet(Zustand& z);

// Whether Undo stays at hand after a booking query, which ends the ordinary one: a restore
// shown to the administrator as still pending stays.
bool Undo_Bleibt(const Zustand& z);

// Brings back the record of the user whose removal is pending: the record marked removed, or,
// in a map read since from the same Global Directory that no longer holds him, the record kept
// since the removal, appended at the end. When his User-ID is taken by another user by then, or
// the map is another Global Directory's, the administrator is told that only the bookings will
// be restored.
void Benutzer_Zurückholen(Zustand& z, const QString& prozedur);

// Removes the user UserNr (at UserIndex), confirmed already, from every Library of LibListe:
// asks before giving up a pending Undo shown as such (nothing when he keeps it: no result),
// saves the map as it stands, empties the undo lists, marks the record and calls `vorgemerkt`
// (the window redraws and shows its progress), then deletes his bookings Library by Library.
// Throws qk::Fehler when there is no Library list or an undo list cannot be emptied (nothing
// removed then). LibPath is left at the last Library.
std::optional<Ergebnistext> Entfernen_Ausführen(Zustand& z,
                                                const std::function<void()>& vorgemerkt);

// The result of removing user `user` from `libraries` Libraries, from Buchungen_Entfernt and
// the sums, naming the Libraries not reached and the files that could not be read or written.
Ergebnistext Entfernen_Ergebnis(const Zustand& z, quint8 user, qsizetype libraries,
                                const QStringList& nicht_erreicht, int lesefehler);

// The result of an undo for user `user`, from the sums, naming the Libraries where something is
// still to restore.
Ergebnistext Rückgängig_Ergebnis(const Zustand& z, quint8 user, const QStringList& offen);

// The walk of Undo: restores what the pending removal (in every Library it touched) or the last
// deletion by index deleted, then leaves the state for the next command: Undo stays pending only
// for the Libraries where something is still to restore. Gives the result to show.
Ergebnistext Rückgängig_Ausführen(Zustand& z, const QString& prozedur);

// True when the map of the Global Directory holds exactly what a save would write now; false
// also when it cannot be read.
bool Map_Wie_Gespeichert(const Zustand& z);

} // namespace qk
