#pragma once

#include "shell/zustand.h"

namespace qk {

class Idmap_frm1;

// Undo: takes back the last deletion of bookings, a pending user removal (the user comes back
// and the user's bookings are restored in every Library the removal touched) or else the last
// deletion by index in the current Library. One level only; Undo is disabled afterwards, unless
// a Library could not be reached or restored whole: then Undo stays for that Library alone.
void mnu_Rückgängig_Click(Zustand& z, Idmap_frm1& frm);

} // namespace qk
