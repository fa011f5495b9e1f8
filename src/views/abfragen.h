#pragma once

#include "shell/zustand.h"

#include <QString>

// The commands of the View menu that show bookings and the booking log. Each one runs to its
// end on the user-interface thread, reports its own failures and returns normally.
namespace qk {

class Idmap_frm1;

// Takes the user selected in the main window's list into UserNr and returns it. After a
// refresh no row is selected and the last selected user still counts. Throws
// qk::Fehler(FEHLER_OBJEKT) when no user has been selected in this run: a User-ID of 0 would
// stand for every user.
quint8 Gewählten_Anwender_Übernehmen(Zustand& z, Idmap_frm1& frm);

// The index dialog, always in a freshly loaded small window (one still on screen is closed
// first); afterwards Index_Eingabe holds the chosen index folder or is empty.
void Index_Erfragen(Idmap_frm1& frm, const QString& titel, const QString& text);

// All bookings of the selected user in the current Library, read with a progress window and
// shown in the bookings window, or a message that there are none. Disables Undo.
void mnu_AlleBuchungen_Click(Zustand& z, Idmap_frm1& frm);

// Asks for an index and shows the selected user's bookings in it. Disables Undo, also when
// the index dialog was cancelled.
void mnu_UserBuchungenIndex_Click(Zustand& z, Idmap_frm1& frm);

// Asks for an index and shows the bookings of every user in it. Leaves UserNr at 0. Disables
// Undo, also when the index dialog was cancelled.
void mnu_BuchungenIndex_Click(Zustand& z, Idmap_frm1& frm);

// Collects into BookdataListe the bookings of UserNr (every user when 0) in the index folder
// `index` of LibPath; sets Anzahl_Buchungen and Buchungen_Gefunden. When bookings were found
// and Buchungen_Anzeigen is set, shows them in the bookings window captioned `titel`; when
// none were found, says so in a message box.
void Buchungen_Anwender_Index(Zustand& z, Idmap_frm1& frm, const QString& index,
                              const QString& titel = {});

// Shows the current Library's BOOKDATA.LOG, modal.
void mnu_Log_öffnen_Click(Zustand& z, Idmap_frm1& frm);

} // namespace qk
