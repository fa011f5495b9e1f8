#pragma once

#include "shell/zustand.h"

// The pending Undo kept in the settings store (group Pathname, key Undo) beside the two paths,
// so that a command interrupted by a crash or a power cut can still be taken back at the next
// start: the undo lists and backups on disk would allow it, but the state that names them
// would be gone.
namespace qk {

// Records what the next Undo does (its kind, user, Global Directory and Libraries), before the
// command frees anything or while a restore stays pending.
void Undo_Merken(Zustand& z);

// The command ended normally and nothing is pending that was shown as such: nothing is offered
// at the next start.
void Undo_Vergessen(Zustand& z);

// At start, on the Global Directory just read: takes over the Undo of an interrupted command
// recorded for this Global Directory, as pending and shown (the caller tells the administrator).
// False when there is none.
bool Undo_Übernehmen(Zustand& z);

} // namespace qk
