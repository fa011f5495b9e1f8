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
               "and changes only the shared files: the user ID map <b>QK_IDMAP.NET</b> and the "
               "list of Libraries <b>QK_LIBPATHS.TXT</b> in the Global Directory, and in each "
               "Library the index folders with their <b>BOOKDATA.NET</b>, the backups "
               "<b>BOOKDATA.BAK</b>, the undo list <b>_!bookdata.txt</b> and the log "
               "<b>BOOKDATA.LOG</b>.</p>"
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
             "<p>Opens the folder dialog. Choose the Global Directory, the folder that holds "
             "<b>QK_IDMAP.NET</b>. A folder without that file is refused: OK opens the dialog "
             "again, Cancel keeps the previous Global Directory.</p>"
             "<p>The user ID map is then read again, the login markers (files beginning with "
             "<b>_!qk</b>) are counted, the user list is rebuilt and the list of Libraries is "
             "read from <b>QK_LIBPATHS.TXT</b>. Afterwards Open Library Directory can be "
             "used.</p>"
             "<p><b>On disk:</b> nothing is changed. The new Global Directory is remembered when "
             "the main window is closed.</p>")},
        {QStringLiteral("mnu_LibDir"), QStringLiteral("mnu_Datei"), 104, 104,
         QStringLiteral(
             "<p>Opens the Library chooser. Its list shows the Libraries of "
             "<b>QK_LIBPATHS.TXT</b>; Choose adds a folder that holds <b>LIBINFO.SYS</b>, and OK "
             "makes the Library in the box the current one, on which every booking command "
             "works.</p>"
             "<p><b>On disk:</b> OK writes <b>QK_LIBPATHS.TXT</b> in the Global Directory anew "
             "with every listed Library. Cancel writes nothing. The current Library is "
             "remembered when the main window is closed.</p>")},
        {QStringLiteral("mnu_Speichern"), QStringLiteral("mnu_Datei"), 106, 106,
         QStringLiteral(
             "<p>Writes the user ID map after edits or a removal. When there are unsaved "
             "changes you are asked first; No and Cancel write nothing.</p>"
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
             "a dialog for correction. A double click on a row does the same.</p>"
             "<p><b>On disk:</b> nothing yet. OK changes the map in memory only and enables "
             "Save; the file changes when you save or leave the program.</p>")},
        {QStringLiteral("mnu_UserLöschen"), QStringLiteral("mnu_Bearbeiten"), 124, 124,
         QStringLiteral(
             "<p>Removes the selected user from the booking system together with all the "
             "user's bookings in every Library of <b>QK_LIBPATHS.TXT</b>. A user who is logged "
             "in cannot be removed; otherwise you confirm first.</p>"
             "<p><b>On disk:</b> <b>QK_IDMAP.NET</b> is saved as it is before the removal "
             "(previous version in <b>QK_IDMAP.BAK</b>); the undo list <b>_!bookdata.txt</b> of "
             "every Library is emptied; every <b>BOOKDATA.NET</b> holding a booking of the user "
             "is copied to <b>BOOKDATA.BAK</b> and rewritten with those boxes free; the undo "
             "list names the folders changed; a block is appended to each Library's "
             "<b>BOOKDATA.LOG</b>. A Library that cannot be reached is reported and left out. "
             "The user leaves <b>QK_IDMAP.NET</b> at the next save. Undo brings everything "
             "back as long as it is offered.</p>")},
        {QStringLiteral("mnu_AlleBuchungenLöschen"), QStringLiteral("mnu_Bearbeiten"), 126, 126,
         QStringLiteral(
             "<p>Asks for an index number and frees every booked box of that index folder in "
             "the current Library, whoever booked it. There is no further question.</p>"
             "<p><b>On disk:</b> the folder's <b>BOOKDATA.NET</b> is copied to "
             "<b>BOOKDATA.BAK</b> and rewritten with all boxes free; the Library's undo list "
             "<b>_!bookdata.txt</b> names the bookings deleted; a block is appended to "
             "<b>BOOKDATA.LOG</b>. Undo restores the file from the backup.</p>")},
        {QStringLiteral("mnu_BuchungenAufUserLöschen"), QStringLiteral("mnu_Bearbeiten"), 128, 128,
         QStringLiteral(
             "<p>Asks for an index number and frees the boxes of that index folder in the "
             "current Library that the selected user has booked.</p>"
             "<p><b>On disk:</b> the folder's <b>BOOKDATA.NET</b> is copied to "
             "<b>BOOKDATA.BAK</b> and rewritten with the user's boxes free; the Library's undo "
             "list <b>_!bookdata.txt</b> names the bookings deleted; a block is appended to "
             "<b>BOOKDATA.LOG</b>. Undo restores the file from the backup.</p>")},
        {QStringLiteral("mnu_NETerstellen"), QStringLiteral("mnu_Bearbeiten"), 0, 3303,
         QStringLiteral(
             "<p>Creates the workstation file <b>QK_LOCAL.NET</b>, which tells a CAD "
             "workstation its User-ID, the Global Directory and its local directory. Fill in "
             "the three fields and choose where to save it, normally the CAD system's program "
             "folder of that workstation.</p>"
             "<p><b>On disk:</b> the file chosen in the save dialog is written (522 bytes); "
             "nothing else changes.</p>")},
        {QStringLiteral("mnu_Rückgängig"), QStringLiteral("mnu_Bearbeiten"), 130, 130,
         QStringLiteral(
             "<p>Takes back the last deletion: the last user removal, in every Library, or the "
             "last deletion of bookings for an index, in the current Library. It is available "
             "right after such a deletion and no longer after one of the booking views.</p>"
             "<p><b>On disk:</b> in every index folder named in the undo list, the boxes that "
             "the deletion freed get their booking back from <b>BOOKDATA.BAK</b>; a box booked "
             "again since then keeps its new booking. A block is appended to "
             "<b>BOOKDATA.LOG</b>. A Library that cannot be reached is reported and left out. A "
             "removed user is listed again; <b>QK_IDMAP.NET</b> itself is not written, and if it "
             "was saved without the user meanwhile, the next save puts the user back.</p>")},

        {QStringLiteral("mnu_Ansicht"),
         {},
         0,
         150,
         QStringLiteral("<p>Looking at bookings, logins and the log. The menu needs a Global "
                        "Directory and a Library.</p>")},
        {QStringLiteral("mnu_AlleBuchungen"), QStringLiteral("mnu_Ansicht"), 152, 152,
         QStringLiteral("<p>Searches every index folder of the current Library for the "
                        "bookings of the selected user and lists them in a window, from which "
                        "they can be copied to the clipboard. After a view, Undo is no longer "
                        "available.</p>") +
             nichts},
        {QStringLiteral("mnu_UserBuchungenIndex"), QStringLiteral("mnu_Ansicht"), 154, 154,
         QStringLiteral("<p>Asks for an index number and lists the bookings of the selected "
                        "user in that index folder of the current Library. After a view, Undo "
                        "is no longer available.</p>") +
             nichts},
        {QStringLiteral("mnu_BuchungenIndex"), QStringLiteral("mnu_Ansicht"), 156, 156,
         QStringLiteral("<p>Asks for an index number and lists every booking of that index "
                        "folder of the current Library, for all users. After a view, Undo is no "
                        "longer available.</p>") +
             nichts},
        {QStringLiteral("mnu_Aktualisieren"), QStringLiteral("mnu_Ansicht"), 158, 158,
         QStringLiteral("<p>Looks again for the login markers in the Global Directory and "
                        "rebuilds the user list, so that the Status column shows who is logged "
                        "in now (A).</p>") +
             nichts},
        {QStringLiteral("mnu_Log_öffnen"), QStringLiteral("mnu_Ansicht"), 159, 159,
         QStringLiteral("<p>Shows the current Library's <b>BOOKDATA.LOG</b>: a block for every "
                        "deletion and every undo, with the boxes concerned, the command, the "
                        "date and whether the file checks came out right.</p>") +
             nichts},
        {QStringLiteral("mnu_Zwischenablage"), QStringLiteral("mnu_Ansicht"), 162, 162,
         QStringLiteral("<p>Copies the user ID map to the clipboard as text, one line per user "
                        "with User-ID, user name, PC name and local directory separated by tabs, "
                        "ready to paste into a spreadsheet or a mail.</p>") +
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
