#pragma once

#include "shell/zustand.h"

// The commands of the Edit menu that free the bookings of one index folder of the current
// Library. Each asks for the index, deletes with a backup and the undo list, appends a block to
// the Library's BOOKDATA.LOG and shows the result; each reports its own failures.
namespace qk {

class Idmap_frm1;

// Frees every booked box of the chosen index folder. Enables Undo once an index was chosen.
void mnu_AlleBuchungenLöschen_Click(Zustand& z, Idmap_frm1& frm);

// Frees the boxes of the selected user in the chosen index folder. Enables Undo once an index
// was chosen.
void mnu_BuchungenAufUserLöschen_Click(Zustand& z, Idmap_frm1& frm);

} // namespace qk
