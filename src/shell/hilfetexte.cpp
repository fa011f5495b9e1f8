#include "shell/hilfetexte.h"

#include "shell/texte.h"

namespace qk {
namespace {

QString Link(const char* name, const char* text) {
    return QStringLiteral("<a href=\"thema:%1\">%2</a>")
        .arg(QString::fromUtf8(name), QString::fromUtf8(text));
}

QString Inhaltsseite() {
    return QStringLiteral(
               "<p>Admin-Quorvik looks after the booking store of the CAD workstations. It reads "
               "and changes only the shared files: the user ID map <b>QK_IDMAP.NET</b>, the "
               "list of Libraries <b>QK_LIBPATHS.TXT</b> and the login markers in the Global "
               "Directory, and in each Library the index folders with their "
               "<b>BOOKDATA.NET</b>, the backups <b>BOOKDATA.BAK</b>, the undo list "
               "<b>_!bookdata.txt</b> and the log <b>BOOKDATA.LOG</b>.</p>"
               "<p>The user commands and the booking commands act on the user selected in the "
               "list; click a row first. The booking commands work in the current Library, "
               "the one chosen with Open Library Directory; Remove User and its Undo go through "
               "every Library of <b>QK_LIBPATHS.TXT</b>.</p>"
               "<p>Commands for one index ask for its number: <i>12</i> means the index folder "
               "IDX00012. Up to five digits; a number written with leading zeros needs all "
               "five (<i>00012</i>). The folder must hold a <b>BOOKDATA.NET</b> in the current "
               "Library.</p>"
               "<p>Choose a topic on the left, or press F1 while a menu item is highlighted to "
               "read about that item.</p>"
               "<h3>File</h3><ul><li>") +
           Link("mnu_GlobalDir", "Open Global Directory") + QStringLiteral("</li><li>") +
           Link("mnu_LibDir", "Open Library Directory") + QStringLiteral("</li><li>") +
           Link("mnu_Speichern", "Save") + QStringLiteral("</li><li>") +
           Link("mnu_Beenden", "Exit") + QStringLiteral("</li></ul><h3>Edit</h3><ul><li>") +
           Link("mnu_UserÄndern", "Edit User") + QStringLiteral("</li><li>") +
           Link("mnu_UserLöschen", "Remove User") + QStringLiteral("</li><li>") +
           Link("mnu_AlleBuchungenLöschen", "Delete all bookings for Index") +
           QStringLiteral("</li><li>") +
           Link("mnu_BuchungenAufUserLöschen", "Delete all bookings for a User for Index") +
           QStringLiteral("</li><li>") + Link("mnu_NETerstellen", "Create QK_LOCAL.NET") +
           QStringLiteral("</li><li>") + Link("mnu_Rückgängig", "Undo") +
           QStringLiteral("</li></ul><h3>View</h3><ul><li>") +
           Link("mnu_AlleBuchungen", "All bookings") + QStringLiteral("</li><li>") +
           Link("mnu_UserBuchungenIndex", "Bookings for a User for Index") +
           QStringLiteral("</li><li>") + Link("mnu_BuchungenIndex", "All bookings for Index") +
           QStringLiteral("</li><li>") + Link("mnu_Aktualisieren", "Refresh status") +
           QStringLiteral("</li><li>") + Link("mnu_Log_öffnen", "Open BOOKDATA.LOG") +
           QStringLiteral("</li><li>") + Link("mnu_Zwischenablage", "Clipboard") +
           QStringLiteral("</li><li>") + Link("mnu_Info", "Info") + QStringLiteral("</li></ul>");
}

QList<Hilfethema> Themen_Anlegen() {
    const QString nichts = QStringLiteral("<p><b>On disk:</b> nothing is changed.</p>");
    // What a view of bookings shows and what it leaves behind.
    const QString ansicht =
        QStringLiteral("<p>The bookings are listed with index folder, box number, User-ID and "
                       "revision number; Clipboard in that window copies the list as "
                       "tab-separated text. After a view, Undo is no longer available.</p>");
    return {
        {QStringLiteral("mnu_Hilfethemen"), QStringLiteral("mnu_Hilfe"), 172, 171, Inhaltsseite()},

        {QStringLiteral("mnu_Datei"),
         {},
         0,
         100,
         QStringLiteral("<p>Choosing the Global Directory and the Library, saving the user ID "
                        "map, and leaving the program.</p>")},
        {QStringLiteral("mnu_GlobalDir"), QStringLiteral("mnu_Datei"), 102, 102,
         QStringLiteral(
             "<p>With unsaved changes, asks first whether to save them (Yes, No, Cancel), "
             "since reading the map again replaces them.</p>"
             "<p>Opens the folder dialog. Choose the Global Directory, the folder that holds "
             "<b>QK_IDMAP.NET</b>. A folder without that file is refused: OK opens the dialog "
             "again, Cancel keeps the previous Global Directory.</p>"
             "<p>The user ID map is then read again, the login markers (files beginning with "
             "<b>_!qk</b>) are counted, the user list is rebuilt and the list of Libraries is "
             "read from <b>QK_LIBPATHS.TXT</b>. Afterwards Open Library Directory can be "
             "used.</p>"
             "<p><b>On disk:</b> nothing is changed, unless Yes saves <b>QK_IDMAP.NET</b> first. "
             "The new Global Directory is remembered when the main window is closed.</p>")},
        {QStringLiteral("mnu_LibDir"), QStringLiteral("mnu_Datei"), 104, 104,
         QStringLiteral(
             "<p>Opens the Library chooser. Its list shows the Libraries of "
             "<b>QK_LIBPATHS.TXT</b>; W&auml;hlen adds a folder that holds <b>LIBINFO.SYS</b> "
             "and makes it the current Library, and OK makes the Library in the box the "
             "current one, on which every booking command works. Picking a Library from the "
             "list, or adding one to a list that has entries, makes the Edit and View menus "
             "usable; the first Library of an empty list does so at the next start. A folder "
             "whose name has characters outside Windows-1252 is refused, since the list could "
             "not hold it.</p>"
             "<p><b>On disk:</b> OK writes <b>QK_LIBPATHS.TXT</b> in the Global Directory anew "
             "with every listed Library when W&auml;hlen added one; a list that names the same "
             "Libraries keeps its bytes, and an empty one is not created. When the list could "
             "not be read, OK writes nothing and says why, so that no Library of it is lost. "
             "Abbrechen writes nothing. The current Library is remembered when the main window "
             "is closed.</p>")},
        {QStringLiteral("mnu_Speichern"), QStringLiteral("mnu_Datei"), 106, 106,
         QStringLiteral(
             "<p>Writes the user ID map after edits or a removal. When there are unsaved "
             "changes you are asked first; No and Cancel write nothing. Save is available after "
             "Edit User and Remove User.</p>"
             "<p><b>On disk:</b> the previous <b>QK_IDMAP.NET</b> is copied to "
             "<b>QK_IDMAP.BAK</b>, then the new map replaces it in one step, so a failure leaves "
             "the old map in place. Users marked removed leave the file now; you are then "
             "reminded to delete their <b>QK_LOCAL.NET</b> on the workstation.</p>")},
        {QStringLiteral("mnu_Beenden"), QStringLiteral("mnu_Datei"), 108, 108,
         QStringLiteral(
             "<p>Ends the program. With unsaved changes of the user ID map you are asked first: "
             "Yes saves, No discards them, Cancel keeps the program running.</p>"
             "<p><b>On disk:</b> with Yes, <b>QK_IDMAP.NET</b> is written as by Save (previous "
             "version in <b>QK_IDMAP.BAK</b>). Exit does not remember the Global Directory and "
             "the Library; closing the main window with its close box does.</p>")},

        {QStringLiteral("mnu_Bearbeiten"),
         {},
         0,
         120,
         QStringLiteral("<p>Changing users, deleting bookings and undoing the last deletion. The "
                        "menu needs a Global Directory and a Library.</p>")},
        {QStringLiteral("mnu_UserÄndern"), QStringLiteral("mnu_Bearbeiten"), 122, 122,
         QStringLiteral(
             "<p>Shows the selected user's User-ID, user name, PC name and local directory in "
             "a dialog for correction. A double click on a row does the same. OK refuses a "
             "User-ID outside 1 to 254, a new User-ID that another user has (also one of the "
             "records kept behind those the map could be read up to), texts longer than 259 "
             "characters and characters outside Windows-1252; a user who shares the User-ID "
             "with another can still be corrected. Abbrechen leaves the user as it was. After "
             "OK the user stays selected.</p>"
             "<p><b>On disk:</b> nothing yet. OK changes the map in memory only; Save is "
             "available afterwards, and the file changes when you save or leave the "
             "program.</p>")},
        {QStringLiteral("mnu_UserLöschen"), QStringLiteral("mnu_Bearbeiten"), 124, 124,
         QStringLiteral(
             "<p>Removes the selected user from the booking system together with all the "
             "user's bookings in every Library of <b>QK_LIBPATHS.TXT</b>. A user who is logged "
             "in cannot be removed; otherwise you confirm first. A Library that cannot be "
             "reached is reported and left as it is. A window shows the progress and then the "
             "bookings and files concerned.</p>"
             "<p><b>On disk:</b> <b>QK_IDMAP.NET</b> is saved as it is before the removal "
             "(previous version in <b>QK_IDMAP.BAK</b>); the undo list <b>_!bookdata.txt</b> of "
             "every Library is emptied; every <b>BOOKDATA.NET</b> holding a booking of the user "
             "is copied to <b>BOOKDATA.BAK</b> and rewritten with those boxes free; the undo "
             "list names the bookings freed; a block is appended to each Library's "
             "<b>BOOKDATA.LOG</b>. The user leaves <b>QK_IDMAP.NET</b> at the next save. As "
             "long as Undo is offered, it brings the user and the bookings back.</p>")},
        {QStringLiteral("mnu_AlleBuchungenLöschen"), QStringLiteral("mnu_Bearbeiten"), 126, 126,
         QStringLiteral(
             "<p>Asks for an index number and frees every booked box of that index folder in "
             "the current Library, whoever booked it. There is no further question. When the "
             "folder holds no booking you are told so and nothing changes.</p>"
             "<p><b>On disk:</b> the folder's <b>BOOKDATA.NET</b> is copied to "
             "<b>BOOKDATA.BAK</b> and rewritten with the boxes free that still hold what was "
             "read (a box a workstation booked or changed meanwhile keeps it); the Library's "
             "undo list <b>_!bookdata.txt</b> names the bookings freed; a block is appended to "
             "<b>BOOKDATA.LOG</b>. Undo puts them back. While a user removal can still be "
             "undone, the deletion joins it: the undo list keeps the removal's lines and gets "
             "these after them, and one Undo takes back both.</p>")},
        {QStringLiteral("mnu_BuchungenAufUserLöschen"), QStringLiteral("mnu_Bearbeiten"), 128, 128,
         QStringLiteral(
             "<p>Asks for an index number and frees the boxes of that index folder in the "
             "current Library that the selected user has booked; the other users' bookings "
             "stay. When the user has none there you are told so and nothing changes.</p>"
             "<p><b>On disk:</b> the folder's <b>BOOKDATA.NET</b> is copied to "
             "<b>BOOKDATA.BAK</b> and rewritten with the user's boxes free that still hold what "
             "was read; the Library's undo list <b>_!bookdata.txt</b> names the bookings freed; "
             "a block is appended to <b>BOOKDATA.LOG</b>. Undo puts them back. While a user "
             "removal can still be undone, the deletion joins it, as with Delete all bookings "
             "for Index.</p>")},
        {QStringLiteral("mnu_NETerstellen"), QStringLiteral("mnu_Bearbeiten"), 0, 3303,
         QStringLiteral(
             "<p>Creates the workstation file <b>QK_LOCAL.NET</b>, which tells a CAD "
             "workstation its User-ID, the Global Directory and its local directory. Fill in "
             "all three fields (the User-ID from 1 to 254) and choose where to save it, "
             "normally the CAD system's program folder of that workstation. Cancelling the "
             "save dialog writes nothing.</p>"
             "<p><b>On disk:</b> the file chosen in the save dialog is written in place (522 "
             "bytes; a longer file is cut to them), so that it keeps its access rights and "
             "every other name it has; nothing else changes.</p>")},
        {QStringLiteral("mnu_Rückgängig"), QStringLiteral("mnu_Bearbeiten"), 130, 130,
         QStringLiteral(
             "<p>Takes back the last deletion: the last user removal, in every Library it "
             "changed, with the deletions for an index made since, or else the last deletion of "
             "bookings for an index, in the Library where it deleted. It is available right "
             "after such a deletion and no longer after one of the booking views. A removed user "
             "is listed again, also after the map was saved without him and read again (at its "
             "end, from his record as it was); when another Global Directory's map has been read "
             "since, or his User-ID is another user's by then, you are told that only the "
             "bookings come back. When the program was stopped in the middle of a removal, a "
             "deletion or Undo, the next start offers this Undo and says so; a restore that "
             "could not be finished stays offered too, and a new removal or deletion asks "
             "before it gives it up.</p>"
             "<p><b>On disk:</b> the bookings named in the undo list <b>_!bookdata.txt</b> are "
             "put back into <b>BOOKDATA.NET</b> from <b>BOOKDATA.BAK</b> (or from the user and "
             "revision in the list, where a later deletion made the backup after the box had "
             "been freed), each into its own box and only where that box is still free; a box "
             "booked again since the deletion keeps the new booking, and nothing else in the "
             "file changes. A <b>BOOKDATA.NET</b> lost since is made again from its backup; a "
             "damaged line of the undo list is left out and reported. A block is appended "
             "to <b>BOOKDATA.LOG</b>. A Library that cannot be reached, or where a file cannot be "
             "written, is reported; Undo then stays available for that Library alone, so that "
             "it can be finished once the fault is gone: each undo list is rewritten to name "
             "only what is still to restore, and the log block counts the bookings put back. "
             "The settings keep what Undo needs while a command runs. <b>QK_IDMAP.NET</b> is not "
             "written; when "
             "the map was saved without the user "
             "meanwhile, Save becomes available to write the user back.</p>")},

        {QStringLiteral("mnu_Ansicht"),
         {},
         0,
         150,
         QStringLiteral("<p>Looking at bookings, logins and the log. The menu needs a Global "
                        "Directory and a Library.</p>")},
        {QStringLiteral("mnu_AlleBuchungen"), QStringLiteral("mnu_Ansicht"), 152, 152,
         QStringLiteral("<p>Searches every index folder of the current Library for the "
                        "bookings of the selected user, showing the progress, and lists them in "
                        "a window; the line at its foot counts the files read and the index "
                        "folders.</p>") +
             ansicht + nichts},
        {QStringLiteral("mnu_UserBuchungenIndex"), QStringLiteral("mnu_Ansicht"), 154, 154,
         QStringLiteral("<p>Asks for an index number and lists the bookings of the selected "
                        "user in that index folder of the current Library.</p>") +
             ansicht + nichts},
        {QStringLiteral("mnu_BuchungenIndex"), QStringLiteral("mnu_Ansicht"), 156, 156,
         QStringLiteral("<p>Asks for an index number and lists every booking of that index "
                        "folder of the current Library, for all users.</p>") +
             ansicht + nichts},
        {QStringLiteral("mnu_Aktualisieren"), QStringLiteral("mnu_Ansicht"), 158, 158,
         QStringLiteral("<p>Looks again for the login markers in the Global Directory and "
                        "rebuilds the user list, so that the Status column shows who is logged "
                        "in now (A).</p>") +
             nichts},
        {QStringLiteral("mnu_Log_öffnen"), QStringLiteral("mnu_Ansicht"), 159, 159,
         QStringLiteral("<p>Shows the current Library's <b>BOOKDATA.LOG</b>: a block for every "
                        "deletion and every undo, with the boxes concerned, the command, the "
                        "date and whether the file checks came out right. Ctrl+A selects all, "
                        "Ctrl+C copies the selection.</p>") +
             nichts},
        {QStringLiteral("mnu_Zwischenablage"), QStringLiteral("mnu_Ansicht"), 162, 162,
         QStringLiteral("<p>Copies the user ID map to the clipboard as text: a heading line, "
                        "then one line per user with User-ID, user name, PC name and local "
                        "directory separated by tabs, ready to paste into a spreadsheet or a "
                        "mail. A user removed but not yet saved is still listed.</p>") +
             nichts},
        {QStringLiteral("mnu_Info"), QStringLiteral("mnu_Ansicht"), 160, 160,
         QStringLiteral("<p>Refreshes the login status like Refresh status and then shows the "
                        "Global Directory, the current Library, the number of users listed and "
                        "the number of logins.</p>") +
             nichts},

        {QStringLiteral("mnu_Hilfe"),
         {},
         170,
         170,
         QStringLiteral("<p>Help opens this window at its contents. Pressing F1 while a menu "
                        "item is highlighted opens it at the topic of that item.</p>") +
             nichts},
    };
}

} // namespace

const QList<Hilfethema>& Hilfethemen() {
    static const QList<Hilfethema> themen = Themen_Anlegen();
    return themen;
}

QString Hilfethema_Titel(const Hilfethema& thema) {
    return LoadResString(thema.titeltext).remove(QLatin1Char('&')).trimmed();
}

const Hilfethema* Hilfethema_Suchen(int kontext, const QString& name) {
    for (const Hilfethema& t : Hilfethemen()) {
        if (kontext != 0 && t.kontext == kontext)
            return &t;
    }
    for (const Hilfethema& t : Hilfethemen()) {
        if (!name.isEmpty() && t.name == name)
            return &t;
    }
    return nullptr;
}

} // namespace qk
