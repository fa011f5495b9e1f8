#include "bibliothek.h"
#include "bookdata/datensaetze.h"
#include "bookdata_bau.h"
#include "fehlerstelle.h"
#include "idmap/library_gang.h"

#include <QtTest>

using namespace qk;
using namespace qk::test;

namespace {

// The Library with the progress and the information line a window would show.
struct Umgebung : Bibliotheksort, Fortschrittsanzeige {
    QStringList fortschritt, info;
    Umgebung() {
        z.GlobalPath = t.Pfad() + "Global/";
        z.Buchungsinfo_Setzen = [this](const auto&... s) { info = QStringList{s...}; };
    }
    void Fortschritt_Setzen(const QString& text, int maximum, int wert) override {
        fortschritt.append(text + " of " + QString::number(maximum) + (wert > 0 ? "" : "!"));
    }
    void Netz(QString i, const QByteArray& d) const { t.Datei("Lib/" + i + "/BOOKDATA.NET", d); }
    QByteArray Lesen(const QString& name) const { return t.Lesen("Lib/" + name); }
    // What the index commands read before they delete.
    void Index_Lesen(const QString& index, quint8 user) {
        z.UserNr = user;
        BookdataListe_Zurücksetzen(z);
        Bookdata_Öffnen(z, lib, index, user);
        z.Anzahl_Buchungen = Buchungen_Zählen(z);
    }
    QString Meldungen() const { return p.Gezeigt(": ").join('|'); }
    QStringList Einträge() const {
        QStringList s;
        for (const BookdataEintrag& e : z.BookdataListe)
            s << e.Index + QStringLiteral(" %1 %2 %3").arg(e.BoxNr).arg(e.UserID).arg(e.RevNr);
        return s;
    }
    QByteArray Kopf(bool löschen, const QByteArray& funktion,
                    const char* datum = "06.12.2026\t09:30:15") const {
        const QByteArray sterne = QByteArray(56, '*') + "\r\n", user = QByteArray::number(z.UserNr);
        return sterne + "*                     BOOKDATA.LOG                     *\r\n" + sterne +
               "\r\nGlobal Directory:  " + z.GlobalPath.toLatin1() +
               "\r\nLibrary: " + lib.toLatin1() + "\r\nDate: " + datum + "\r\n" +
               (löschen ? "Function: " : "Funktion: ") + funktion + "\r\n\r\n\r\n" +
               (löschen
                    ? "******************* Bookings for User-ID " + user + " ******************"
                    : " ************** Restored bookings for User-ID " + user + " **************") +
               "\r\n\r\nIndex\t\tBoxNr\tUser-ID\tRev.-Nr\r\n" + QByteArray(51, '-') + "\r\n";
    }
};

} // namespace

class TestBuchungen : public QObject {
    Q_OBJECT
private slots:
    // Good numbers give their folder name; bad ones are refused with a message. (Text that does
    // not start with a digit is left to the caller: the fuzz body indexname and the index dialog.)
    void indexNames() {
        const QStringList gut{"7", "12", "1234", "00012", "01234", "00000"};
        const QStringList schlecht{"0", "012", "0123", "123456", "1a", "1\\..\\", "12 "};
        for (const QString& eingabe : gut + schlecht) {
            Umgebung u;
            QCOMPARE(Index_Ordnername(u.z, eingabe),
                     gut.contains(eingabe) ? "idx" + eingabe.rightJustified(5, '0') : "");
            QCOMPARE(u.Meldungen(), schlecht.contains(eingabe)
                                        ? "Invalid Index number: " + eingabe +
                                              ": Please enter a valid Index number."
                                        : QString());
        }
    }

    void walkAndCount() {
        Umgebung u;
        u.Netz("IDX00000", Bookdata({{1, 7, 1}}));
        u.Netz("IDX00001", Bookdata({{4, 7, 1}, {2, 9, 5}}));
        u.t.Datei("Lib/IDX00001/OLD_BOOKDATA.NET", Bookdata({{3, 7, 1}}));
        u.Netz("IDX00001/IDX00003", Bookdata({{8, 7, 1}}));
        // Box 30 is cut after five bytes: its user byte says 7, yet it is no booking.
        u.t.Datei("Lib/idx00002/bookdata.net", Bookdata({{20, 7, 6}, {30, 7, 1}}).left(485));
        u.Netz("IDX00004", QByteArray());
        for (const char* kein : {"Archiv", "IDXABCDE", "IDX000055", "."})
            u.Netz(kein, Bookdata({{1, 7, 1}}));
        u.z.Fortschritt = &u;
        QCOMPARE(Anzahl_Ordner_Ermitteln(u.z, u.lib), 3); // IDX00001, idx00002, IDX00004
        u.z.Anzahl_Ordner = 3;
        Bookdata_Einlesen(u.z, u.lib, 0);
        QVERIFY(u.p.meldungen.isEmpty());
        QCOMPARE(u.info, QStringList({"3 files in 3 folder", "Anzahl_Buchungen: 3",
                                      "UBound(BookdataListe) 2"}));
        // Folders in the order of the file system; within a file by box.
        QStringList e = u.Einträge();
        if (e[0].startsWith("idx"))
            e = e.mid(1) + e.mid(0, 1);
        QCOMPARE(e, QStringList({"IDX00001 2 9 5", "IDX00001 4 7 1", "idx00002 20 7 6"}));
        u.fortschritt.sort();
        const QString lp = "Libpath: " + u.lib + "\r\n\r\nSearching in Index: ";
        QCOMPARE(u.fortschritt,
                 QStringList({lp + "IDX00001 of 3", lp + "IDX00004 of 3", lp + "idx00002 of 3"}));
        QVERIFY(u.p.ereignisse >= 1 && u.p.ereignisse < 16); // per file, not per record

        Bookdata_Einlesen(u.z, u.lib, 8); // nobody's: the blank list
        QCOMPARE(u.Einträge(), QStringList{" 0 0 0"});
        QCOMPARE(u.info.mid(1), QStringList({"Anzahl_Buchungen: 0", "UBound(BookdataListe) 0"}));
    }

    // Between the listing and the rewrite a workstation books box 6 and user 8 takes box 17,
    // which user 7 held. Only boxes that still hold their listed booking are freed, and the
    // undo list names exactly those, so that Undo can bring back nobody's booking but theirs.
    // Then a deletion that finds nothing leaves the undo list alone.
    void indexDeletions() {
        Umgebung u;
        u.t.Datei("Lib/BOOKDATA.LOG", "earlier\r\n");
        u.Netz("IDX00012", Bookdata({{5, 3, 9}, {17, 7, 1}, {200, 0, 4}}));
        u.Index_Lesen("idx00012", 0);
        const QByteArray neu = Bookdata({{5, 3, 9}, {6, 4, 1}, {17, 8, 2}, {200, 0, 4}});
        u.Netz("IDX00012", neu);
        Buchungen_Löschen(u.z, u.lib);
        u.z.LogFunktion = "Delete all bookings for &Index....";
        LOG_Buchungen_Löschen(u.z);
        QVERIFY(u.p.meldungen.isEmpty());
        QCOMPARE(u.Lesen("IDX00012/BOOKDATA.NET"), Freigegeben(neu, {5, 200}));
        QCOMPARE(u.Lesen("IDX00012/BOOKDATA.BAK"), neu);
        const QByteArray liste = "idx00012\t5\t3\t9\r\nidx00012\t200\t0\t4\r\n\r\n";
        QCOMPARE(u.Lesen("_!bookdata.txt"), liste);
        const QByteArray log =
            "earlier\r\n" + u.Kopf(true, "Delete all bookings for &Index....") +
            "idx00012\t5\t3\t\t9\r\nidx00012\t17\t7\t\t1\r\nidx00012\t200\t0\t\t4\r\n"
            "\r\n\r\n************ All bookings for User-ID 0 deleted! ************\r\n\r\n"
            "Deleted: 2Booking(s): \r\nStatus: Error\r\n"
            "Written: 4096 Bytes in 1 file(s) (BOOKDATA.NET)\r\nStatus: OK\r\n\r\n\r\n";
        QCOMPARE(u.Lesen("BOOKDATA.LOG"), log);
        QCOMPARE(QDir(u.lib).entryList(QDir::Files).size(), 3); // LIBINFO.SYS, no second log
        // User 8 released box 17 again; Undo does not give it to user 7.
        u.Netz("IDX00012", Freigegeben(neu, {5, 17, 200}));
        u.Rückgängig();
        QCOMPARE(u.Lesen("IDX00012/BOOKDATA.NET"), Freigegeben(neu, {17}));
        QCOMPARE(u.z.Status_Löschen, QStringLiteral("OK"));

        u.Netz("IDX00013", Bookdata({{5, 7, 3}}));
        u.Index_Lesen("IDX00013", 9);
        Buchungen_Löschen(u.z, u.lib);
        u.z.LogFunktion = "&Remove User";
        LOG_Buchungen_Löschen(u.z);
        // Emptied by the Undo, which restored all it named; nothing listed writes nothing.
        QCOMPARE(u.Lesen("_!bookdata.txt"), "\r\n");
        QCOMPARE(u.Lesen("BOOKDATA.LOG"),
                 log + u.Kopf(true, "&Remove User") +
                     "No bookings for User-ID 9.\r\n\r\nUser-ID 9 deleted !\r\n\r\n\r\n");

        // A deletion in another Library whose undo list cannot be written frees nothing and
        // leaves the Undo of the one before, which brings back box 5 of IDX00012.
        u.Netz("IDX00012", Bookdata({{5, 7, 3}}));
        u.Index_Lesen("idx00012", 0);
        Index_Buchungen_Löschen(u.z, 126);
        const QString lib2 = u.t.Ordner("Lib2");
        u.t.Datei("Lib2/LIBINFO.SYS", {});
        u.t.Datei("Lib2/IDX00001/BOOKDATA.NET", Bookdata({{1, 8, 1}}));
        u.z.LibPath = lib2;
        BookdataListe_Zurücksetzen(u.z);
        Bookdata_Öffnen(u.z, lib2, "IDX00001", 0);
        {
            Fehlerstelle voll("Lib2/_!bookdata.txt", FEHLER_DATENTRAEGER_VOLL);
            Index_Buchungen_Löschen(u.z, 126);
        }
        Rückgängig_Ausführen(u.z, "t");
        QCOMPARE(u.Lesen("IDX00012/BOOKDATA.NET"), Bookdata({{5, 7, 3}}));
        QCOMPARE(u.t.Lesen("Lib2/IDX00001/BOOKDATA.NET"), Bookdata({{1, 8, 1}}));
    }

    void removalOverTwoFoldersAndUndo() {
        Umgebung u;
        const QByteArray a = Bookdata({{3, 70, 5}, {5, 7, 3}, {9, 7, 12}, {10, 8, 1}});
        const QByteArray b = Bookdata({{0, 7, 200}});
        u.Netz("IDX00012", a);
        u.t.Datei("Lib/idx00013/bookdata.net", b);
        u.t.Datei("Lib/idx00013/bookdata.bak", "older backup");
        u.Netz("IDX00014", Bookdata({{1, 8, 1}}));
        u.t.Datei("Lib/_!BOOKDATA.TXT", "IDX00001\t1\t1\t1\r\n\r\n");
        u.z.UserNr = 7;
        u.Löschen();
        u.z.LogFunktion = "&Remove User";
        LOG_Buchungen_Löschen(u.z);
        QVERIFY(u.p.meldungen.isEmpty());
        QCOMPARE(u.Lesen("IDX00012/BOOKDATA.NET"), Freigegeben(a, {5, 9}));
        QCOMPARE(u.Lesen("idx00013/bookdata.net"), Freigegeben(b, {0}));
        QCOMPARE(u.Lesen("idx00013/bookdata.bak"), b);
        QCOMPARE(QDir(u.lib + "idx00013").entryList(QDir::Files).size(), 2); // no twins
        QVERIFY(!u.t.Existiert("Lib/IDX00014/BOOKDATA.BAK")); // nothing of user 7 there
        // Undo list and log lines come in the order of the walk; the log has an empty column.
        const QByteArray a2 = "IDX00012\t5\t7\t3\r\nIDX00012\t9\t7\t12\r\n",
                         b2 = "idx00013\t0\t7\t200\r\n";
        const QByteArray liste = u.z.BookdataListe[0].Index == "IDX00012" ? a2 + b2 : b2 + a2;
        const QByteArray log = QByteArray(liste).replace("\t7\t", "\t7\t\t");
        QCOMPARE(u.Lesen("_!BOOKDATA.TXT"), liste + "\r\n");
        const QByteArray löschblock =
            u.Kopf(true, "&Remove User") + log +
            "\r\n\r\n************ All bookings for User-ID 7 deleted! ************\r\n\r\n"
            "Deleted: 3Booking(s): \r\nStatus: OK\r\n"
            "Written: 8192 Bytes in 2 file(s) (BOOKDATA.NET)\r\nStatus: OK\r\n\r\n\r\n";
        QCOMPARE(u.Lesen("Bookdata.log"), löschblock);

        // Since then user 8 took box 9 and user 3 booked box 40: both stay.
        QByteArray seither = Freigegeben(a, {5, 9});
        seither.replace(9 * 16, 2, "\x08\x01").replace(40 * 16, 2, "\x03\x02");
        u.Netz("IDX00012", seither);
        u.p.jetzt = QDateTime(QDate(2027, 1, 2), QTime(23, 4, 5));
        BookdataListe_Zurücksetzen(u.z);
        u.Rückgängig();
        u.z.LogFunktion = "Un&do";
        LOG_Buchungen_Wiederherstellen(u.z);
        QVERIFY(u.p.meldungen.isEmpty());
        QCOMPARE(u.Lesen("IDX00012/BOOKDATA.NET"),
                 QByteArray(seither).replace(5 * 16, 16, a.mid(5 * 16, 16)));
        QCOMPARE(u.Lesen("idx00013/bookdata.net"), b);
        QCOMPARE(u.z.Status_Löschen, QStringLiteral("Error"));
        QCOMPARE(u.Lesen("Bookdata.log"),
                 löschblock + u.Kopf(false, "Un&do", "02.01.2027\t23:04:05") + log +
                     "\r\n\r\n************* All Bookings for User-ID 7 restored! ************\r\n"
                     // Box 9 is user 8's now: two boxes put back, in two files.
                     "\r\nRestored: 2Booking(s) in 2 file(s) (BOOKDATA.NET)\r\nStatus: Error\r\n"
                     "\r\n\r\n");
    }

    void undoListFiles() {
        Umgebung u;
        u.z.UserNr = 7;
        // Blanks around fields; a blank line ends the list.
        u.t.Datei("Lib/_!bookdata.txt", " IDX00012 \t 5 \t9\t 3 \r\n\r\nIDX00013\t1\t7\t1\r\n");
        Rückgängig_Liste_Lesen(u.z, u.lib);
        QCOMPARE(u.Einträge(), QStringList{"IDX00012 5 9 3"});
        Rückgängig_Liste_Lesen(u.z, u.t.Pfad() + "ohne/");
        QCOMPARE(u.Einträge(), QStringList{" 0 0 0"});

        u.t.Ordner("B");
        u.z.LibListe = {u.lib, u.t.Pfad() + "B/"};
        Rückgängig_Listen_Leeren(u.z);
        QCOMPARE(u.Lesen("_!bookdata.txt"), QByteArray("\r\n"));
        QCOMPARE(u.t.Lesen("B/_!bookdata.txt"), QByteArray("\r\n"));
        // One that cannot be emptied: the lists emptied before it get their lines back, so
        // that the Undo pending there loses nothing.
        u.t.Datei("Lib/_!bookdata.txt", "IDX00001\t1\t1\t1\r\n\r\n");
        u.z.LibListe.append(u.t.Pfad() + "fehlt/");
        QCOMPARE(Geworfen([&] { Rückgängig_Listen_Leeren(u.z); }), int(FEHLER_PFAD));
        QCOMPARE(u.Lesen("_!bookdata.txt"), QByteArray("IDX00001\t1\t1\t1\r\n\r\n"));

        // A removal's IDX00012 and a joined deletion's idx00012 are one folder: its lost
        // booking file comes back once from the backup (made after box 9 had been freed),
        // box 9 from its line, one file written.
        u.t.Datei("Lib/IDX00012/BOOKDATA.BAK", Freigegeben(Bookdata({{5, 7, 3}}), {}));
        u.t.Datei("Lib/_!bookdata.txt", "IDX00012\t5\t7\t3\r\nidx00012\t9\t7\t12\r\n\r\n");
        u.Rückgängig();
        QCOMPARE(u.Lesen("IDX00012/BOOKDATA.NET"), Bookdata({{5, 7, 3}, {9, 7, 12}}));
        QCOMPARE(u.z.Anzahl_Buchungen * 10 + u.z.Dateien_Bearbeitet, 21);
        QCOMPARE(u.Lesen("_!bookdata.txt"), QByteArray("\r\n"));
        // Box 30 named twice in a joined list: freed, booked anew by a workstation, freed again
        // and backed up free. The later booking comes back, not the earlier one's user and
        // revision over its bytes.
        QByteArray frei = Freigegeben(Bookdata({{30, 9, 0x7c}}), {30}), jetzt = frei;
        QVERIFY(satz::Boxen_Zurückholen(jetzt, frei, {{30, 9, 0xef}, {30, 9, 0x7c}}) ==
                (std::vector{satz::Rückkehr::Nie, satz::Rückkehr::Wieder}));
        QCOMPARE(jetzt, Bookdata({{30, 9, 0x7c}}));
        // A damaged line is left out; the others are taken.
        for (const QByteArray zeile :
             {"..\\x\t5\t7\t3", "IDX00012\tfive\t7\t3", "IDX00012\t5\t7\t1000", "IDX00012\t5\t7"}) {
            u.t.Datei("Lib/_!bookdata.txt", "IDX00011\t1\t7\t1\r\n" + zeile + "\r\n");
            QCOMPARE(Rückgängig_Liste_Lesen(u.z, u.lib), 1);
            QCOMPARE(u.Einträge(), QStringList{"IDX00011 1 7 1"});
        }
    }

    // Reports of files and folders that cannot be used; %1 stands for the Library. A log block
    // that cannot be written is reported once, and the rest of it not tried.
    void errorReports() {
        const QStringList meldungen{
            "Bookdata_Öffnen_Error: File:  %1idx00099\\BOOKDATA.NET''  not found !",
            "Bookdata_Öffnen_Error: Error when reading  ''%1IDX00012\\BOOKDATA.NET''\r\n"
            "Error Nr: 75",
            "Anzahl_Ordner_Ermitteln_Error: Error when reading %1\r\nError Nr: 75|"
            "Bookdata_Einlesen_Error: Error when reading BOOKDATA.NET.\r\nError Nr: 75",
            "Bookdata_Speichern_Error: Error when creating ''%1IDX00012\\BOOKDATA.NET !''\r\n"
            "Error Nr.: 75",
            "Anzahl_Ordner_Ermitteln_Error: Path:  ''%1''  not found !|"
            "Bookdata_Einlesen_Error: File  ''%1BOOKDATA.NET''  not found !|"
            "LOG_Datei_Schreiben_Error: File:  ''%1BOOKDATA.LOG''  not found !"};
        for (int fall = 0; fall < meldungen.size(); ++fall) {
            Umgebung u;
            const QByteArray a = Bookdata({{5, 7, 3}}), b = Bookdata({{6, 7, 4}});
            u.Netz("IDX00012", a);
            u.Netz("IDX00013", b);
            // 1: IDX00012 unreadable; 2: the listing fails; 3: its backup is a folder; 4: no
            // Library at all.
            datei::Fehlerhaken_Setzen([fall](datei::Vorgang v, const QString& pfad) {
                if ((fall == 1 && v == datei::Vorgang::Lesen && pfad.contains("IDX00012")) ||
                    (fall == 2 && v == datei::Vorgang::Auflisten))
                    throw Fehler(FEHLER_ZUGRIFF);
            });
            if (fall == 3)
                u.t.Ordner("Lib/IDX00012/BOOKDATA.BAK");
            if (fall == 4) {
                u.z.LibPath = u.lib = u.t.Pfad() + "fehlt/";
                u.z.Fortschritt = &u;
            }
            if (fall == 0)
                Bookdata_Öffnen(u.z, u.lib, "idx00099", 7);
            else
                u.z.UserNr = 7;
            u.Löschen();
            if (fall == 1 || fall == 3) { // the other folder is handled all the same
                QCOMPARE(u.Lesen("IDX00013/BOOKDATA.NET"), Freigegeben(b, {6}));
                QCOMPARE(u.Lesen("IDX00012/BOOKDATA.NET"), a); // untouched without its backup
            }
            if (fall == 4) {
                QVERIFY(u.info.isEmpty() && u.fortschritt.isEmpty());
                u.z.BookdataListe = {BookdataEintrag{"IDX00012", 5, 7, 3, 0, 0}};
                LOG_Buchungen_Löschen(u.z);
            }
            QCOMPARE(u.Meldungen(), meldungen[fall].arg(u.lib));
        }
    }
};

QTEST_APPLESS_MAIN(TestBuchungen)
#include "test_buchungen.moc"
