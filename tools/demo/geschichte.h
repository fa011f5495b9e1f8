#pragma once

#include "shell/zustand.h"

#include <QString>
#include <QStringList>

// What an administrator did on the demo site before it was handed over, done with the
// program's own routines in the order its commands use them, so that the backups, the undo
// lists and BOOKDATA.LOG are exactly what the commands leave behind.
namespace qk::demo {

struct Bibliothek {
    QString pfad;       // ends with '/'
    QStringList ordner; // index folder names, ascending
};

// The booking part of Remove User: empties every undo list, then frees the user's bookings in
// every Library and logs each Library. The map itself is the caller's.
void Anwender_Entfernen(Zustand& z, const QList<Bibliothek>& bibliotheken, quint8 id);

// Delete all bookings for Index (`user` 0) or for a User for Index, as typed (`nummer`) in the
// index dialog. Returns the number of bookings deleted.
int Index_Löschen(Zustand& z, const Bibliothek& bibliothek, const QString& nummer, quint8 user);

// Undo of the last deletion by index in that Library.
void Index_Rückgängig(Zustand& z, const Bibliothek& bibliothek);

} // namespace qk::demo
