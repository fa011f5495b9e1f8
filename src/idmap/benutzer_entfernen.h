#pragma once

#include "shell/zustand.h"

namespace qk {

class Idmap_frm1;

// Remove User: takes the selected user out of the booking system, with every booking of the
// user in every Library of LibListe (backed up for Undo and logged); the record is marked
// "DEL" and leaves QK_IDMAP.NET at the next save.
void mnu_UserLöschen_Click(Zustand& z, Idmap_frm1& frm);

// Save: asks, and writes QK_IDMAP.NET on Yes.
void mnu_Speichern_Click(Zustand& z, Idmap_frm1& frm);

} // namespace qk
