#pragma once

#include "shell/zustand.h"

namespace qk {

// Sets Status "A" on the records of logged-in users from the login marker files of the
// Global Directory, clears it on the others, and counts the markers in LoginAnzahl.
// Reports its own errors.
void UserLogins_Ermitteln(Zustand& z);

// Status "A" on the first record whose ID is `nummer`; nothing when none has it.
void Login_Setzen(Zustand& z, int nummer);

} // namespace qk
