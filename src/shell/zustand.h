#pragma once

#include "platform/plattform.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace qk {

// One user of QK_IDMAP.NET.
struct IdmapEintrag {
    QString Status; // empty, "A" logged in, "DEL" marked removed; never stored in the file
    quint8 ID = 0;
    QString UserName;
    QString PCName;
    QString LocalPath;
};

// One booked box of a BOOKDATA.NET.
struct BookdataEintrag {
    QString Index; // index folder name as it reached the reader (IDX00012 or idx00012)
    quint8 BoxNr = 0;
    quint8 UserID = 0;
    quint8 RevNr = 0;
    quint8 Extra = 0;
    qint32 Tail = 0; // value of the record's last byte
};

// Where Fortschritt_Anzeigen writes: the label and bar of Messages_frm1 in progress mode.
class Fortschrittsanzeige {
public:
    virtual ~Fortschrittsanzeige() = default;
    virtual void Fortschritt_Setzen(const QString& text, int maximum, int wert) = 0;
};

// The state that the main window's program shares between its commands, for the whole run.
// Tests create one afresh for each case.
struct Zustand {
    explicit Zustand(Plattform& p) : plattform(p) {}
    Zustand(const Zustand&) = delete;
    Zustand& operator=(const Zustand&) = delete;

    Plattform& plattform;

    // Paths; each directory path ends with the native separator.
    QString GlobalPath;
    QString LibPath;
    QString LibPath_Alt;
    QStringList LibListe;
    // Why the last reading of QK_LIBPATHS.TXT failed; 0 when it was read or there is none.
    int LibPaths_Fehler = 0;
    bool Geändert = false;

    // The user map and the selection.
    QList<IdmapEintrag> IdmapListe;
    // The bytes of QK_IDMAP.NET from the first record the reader could not take on; written
    // back behind the records by every save, so that no user of the file is lost.
    QByteArray Idmap_Rest;
    bool UserEntfernt = false;
    quint8 Gewählt_UserNr = 0;
    quint8 UserNr = 0; // 0 = all users
    quint8 UserIndex = 0;
    int LoginAnzahl = 0;
    // What the next Undo does. The undo lists of Gelöscht_LibListe are its journal: in each of
    // these Libraries Undo restores what the list names, and nothing else.
    quint8 Gelöscht_UserNr = 0; // the user whose removal is pending; 0 for a deletion by index
    quint8 Gelöscht_Index = 0;
    // The removed user's record as it was, to bring him back also into a map read since.
    IdmapEintrag Gelöscht_Eintrag;
    QString Gelöscht_GlobalPath;
    // The Libraries (each by its Library_Kennung) whose undo lists Undo walks: where the last
    // removal deleted and deletions by index joined it, or the Library of the last deletion by
    // index. Empty when nothing is pending.
    QStringList Gelöscht_LibListe;
    // The pending deletion by index: its index folder and user (0 = all), for the same command
    // run again after a crash, which joins it.
    QString Gelöscht_Indexordner;
    quint8 Gelöscht_IndexUser = 0;
    // The administrator has been shown that this Undo is still pending (after an Undo that could
    // not restore everything, or at a start after an interrupted command): it is given up only
    // after a question. Set also when it was offered after a crash, whose command run again
    // joins it.
    bool Gelöscht_Gemeldet = false;
    bool Gelöscht_Unterbrochen = false;
    bool Buchungen_Entfernt = false;

    // The gathered bookings: always at least one element; a blank one when nothing was read.
    std::vector<BookdataEintrag> BookdataListe{BookdataEintrag{}};
    qint32 Anzahl_Buchungen = 0;
    qint32 Anzahl_Ordner = 0;
    // The index folders that the last count found, for the walk that follows it at once.
    struct {
        QString lib;
        QStringList namen;
    } Gezählte_Ordner;
    qint32 Ordner_Nr = 0;
    qint32 Anzahl_Einträge = 0;
    qint32 Anzahl_Dateien = 0;
    // Booking files of the last read that were there but could not be read.
    qint32 Lesefehler = 0;
    // The last walk stopped because its Library could no longer be reached (told once).
    bool Library_Verloren = false;

    // Results of the last deletion or restore, and the totals of one command.
    qint32 Summe_Buchungen = 0;
    qint32 Summe_Dateien = 0;
    qint32 Dateien_Bearbeitet = 0;
    qint32 Datensätze_Geschrieben = 0;
    qint32 Buchungen_Gelöscht = 0;
    QString Status_Schreiben;
    QString Status_Löschen;
    QString LogFunktion;

    // The index dialog's result and the query flags.
    QString Index_Eingabe;
    bool Buchungen_Anzeigen = false;
    bool Buchungen_Gefunden = false;

    // How many index folders the walks of the booking store work on at once: on a network
    // share each file operation waits for the server, which answers many at a time. 1 walks
    // one folder after the other. The default is measured by scripts/bench --share.
    int Gleichzeitig = 32;

    // The progress window while one is open; null otherwise, and progress then goes nowhere.
    Fortschrittsanzeige* Fortschritt = nullptr;

    // The information line (lbl_Info) and the two diagnostic captions (Label1, Label2) that a
    // whole-Library read leaves for the bookings window.
    std::function<void(const QString& info, const QString& label1, const QString& label2)>
        Buchungsinfo_Setzen;
};

} // namespace qk
