// Remove User and its Undo over several Libraries when something fails between them: a Library
// that goes away during the removal or is out of reach at Undo, a booking file that cannot be
// written, a map written by hand, another Global Directory chosen in between. The administrator
// is told, the other Libraries are still handled, and no booking of the user is lost.
#include "fehlerstelle.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "standort.h"

#include <QDir>
#include <atomic>

using namespace qk;
using test::Freigegeben;
using test::Standort;

namespace {

const QByteArray L2_02 = test::Bookdata({{4, 7, 1}, {6, 7, 3}, {8, 12, 2}});
const QString ALLE = QStringLiteral("1 7 12 23 254");

// The site with its bookings, a map of these users and the main window shown.
struct Lauf : Standort {
    bool angelegt;
    Idmap_frm1 f{z};
    explicit Lauf(const QList<int>& ids = {1, 7, 12, 23, 254})
        : angelegt((Map(ids), Buchungen_Anlegen(), true)) {
        Zeigen(f);
    }
    // Runs the command; then the titles shown, the rows, and what is at hand: Undo, Save and a
    // removal that waits for them. The messages are forgotten.
    QString Nach(QAction* befehl = nullptr) {
        QString lage = befehl && !f.Befehl_Ausführen(befehl) ? "not run|" : "";
        lage += p.Titel().join(',') + '|' + Spalte(f.lstv_Idmap).join(' ') + '|' +
                (f.mnu_Rückgängig->isEnabled() ? "undo " : "") +
                (f.mnu_Speichern->isEnabled() ? "save " : "") + (z.UserEntfernt ? "removed" : "");
        p.meldungen.clear();
        return lage;
    }
};

struct Schwund {
    datei::Vorgang vorgang; // the operation in lib2 that finds it gone
    QString datei;          // ... on this path below lib2
    int ab;                 // ... at the how-manieth call
    int nummer;             // the error an open file then meets (0: none)
    QString titel;          // the report of it
    bool entfernt;          // whether the removal went on
};

} // namespace

class TestFehlerEntfernen : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { test::Nachräumen(); }

    void libraryVanishesDuringRemoval_data() {
        QTest::addColumn<Schwund>("w");
        const auto zeile = [](const char* name, datei::Vorgang v, const char* datei, int ab,
                              int nummer, const char* titel, bool entfernt) {
            QTest::newRow(name) << Schwund{v, datei, ab, nummer, titel, entfernt};
        };
        zeile("emptying its old undo list", datei::Vorgang::Ersetzen, "_!bookdata.txt", 1, 0,
              "mnu_UserLöschen_Error", false);
        zeile("listing its index folders", datei::Vorgang::Auflisten, "", 1, 0,
              "Anzahl_Ordner_Ermitteln_Error", true);
        zeile("writing the backup", datei::Vorgang::Schreiben, "IDX00002/BOOKDATA.BAK", 1, 0,
              "Buchungen_Löschen_Error", true);
        // The first freed box is in the file when the share goes.
        zeile("in the middle of the rewrite", datei::Vorgang::Schreiben, "IDX00002/BOOKDATA.NET", 3,
              FEHLER_ZUGRIFF, "Buchungen_Löschen_Error", true);
    }
    void libraryVanishesDuringRemoval() {
        QFETCH(Schwund, w);
        Lauf s;
        s.t.Datei(Standort::Datei(2, "IDX00002"), L2_02);
        const QString lib2 = s.libs[1], fort = s.t.Pfad() + "lib2.fort";
        // The hook runs on the threads of the walk: what it shares is atomic.
        std::atomic<bool> weg = false, umbenannt = false;
        std::atomic<int> aufrufe = 0;
        datei::Fehlerhaken_Setzen([&](datei::Vorgang v, const QString& pfad) {
            if (weg && w.nummer && pfad.startsWith(lib2))
                throw Fehler(w.nummer, pfad);
            if (weg || v != w.vorgang || pfad != lib2 + w.datei || ++aufrufe < w.ab ||
                weg.exchange(true))
                return;
            umbenannt = QDir().rename(QDir::cleanPath(lib2), fort);
            if (w.nummer)
                throw Fehler(w.nummer, pfad);
        });
        s.Entfernen(s.f, 1);
        datei::Fehlerhaken_Setzen({});
        QVERIFY(weg && umbenannt);

        // Told once where it went wrong, and nothing made where the Library was, no log block
        // tried there either.
        QCOMPARE(s.p.Titel().count(w.titel), 1);
        QCOMPARE(s.p.Titel().count("LOG_Datei_Schreiben_Error"), 0);
        QVERIFY(!QFileInfo::exists(lib2) && QDir().rename(fort, QDir::cleanPath(lib2)));
        QCOMPARE(s.z.UserEntfernt, w.entfernt);
        QCOMPARE(s.f.mnu_Rückgängig->isEnabled(), w.entfernt);
        // The share is back with every byte. Cut off in the middle of a rewrite, the file may
        // keep what reached it; its backup is whole.
        const QList<QByteArray> danach{Freigegeben(Standort::L1_12(), {5, 9}), Standort::L2_01(),
                                       Freigegeben(Standort::L3_03(), {0}),
                                       Freigegeben(Standort::L3_04(), {255})};
        QCOMPARE(s.Stand(), w.entfernt ? danach : Standort::Anfangsstand());
        QCOMPARE(s.Lesen(2, "IDX00002", w.nummer ? "BOOKDATA.BAK" : "BOOKDATA.NET"), L2_02);
        if (!w.entfernt) {
            QCOMPARE(s.p.meldungen.last().text,
                     QStringLiteral("Error when deleting a User.\r\nError number: 76"));
            return;
        }
        // Every other Library was handled, the summary counts only those bookings (the box
        // freed before a rewrite was cut off too), and Undo restores everything.
        QCOMPARE(Standort::Ergebnis(s.f),
                 "User-ID 7 removed !|3 Libraries.\r\n\r\n" +
                     QString(w.nummer ? "5 Booking(s) in 4" : "4 Booking(s) in 3") +
                     " file(s) deleted !\r\n\r\nNot reached or not "
                     "finished (see the messages before):\r\n" +
                     lib2 + "|OK");
        s.p.meldungen.clear();
        QCOMPARE(s.Nach(s.f.mnu_Rückgängig), "|" + ALLE + "|");
        QCOMPARE(s.Stand(), Standort::Anfangsstand());
        QCOMPARE(s.Lesen(2, "IDX00002"), L2_02);
        QCOMPARE(s.z.IdmapListe[1].Status, QString());
    }

    // To the booking store 255 marks a free box: a user with that ID in a hand-edited map has
    // no bookings of his own, and removing "his" bookings would free every free box's bytes.
    // Another such map holds one ID twice: the row chosen is the record removed.
    void handEditedMap() {
        Lauf s({1, 7, 255, 7});
        const QByteArray karte = s.t.Lesen("global/QK_IDMAP.NET");
        s.Entfernen(s.f, 2);
        QCOMPARE(s.p.meldungen.value(0).text,
                 QStringLiteral("Error when deleting a User.\r\nError number: 5"));
        QCOMPARE(s.Nach(), "mnu_UserLöschen_Error|1 7 255 7|");
        QCOMPARE(s.Stand(), Standort::Anfangsstand());
        QCOMPARE(s.t.Lesen("global/QK_IDMAP.NET"), karte);
        s.Entfernen(s.f, 3);
        QCOMPARE(s.z.IdmapListe[1].Status + '|' + s.z.IdmapListe[3].Status, QStringLiteral("|DEL"));
    }

    // A Library is out of reach, or one of its booking files cannot be written, when Undo
    // runs: the others are restored, and Undo stays at hand for that one until the fault is
    // gone.
    void libraryFailsAtUndo_data() {
        QTest::addColumn<bool>("fort"); // else its last booking file is read-only
        QTest::addColumn<QString>("titel");
        QTest::addColumn<QString>("text"); // %1: the Library
        QTest::newRow("out of reach") << true << "mnu_Rückgängig_Error"
                                      << "File  ''%1LIBINFO.SYS''  not found !";
        QTest::newRow("read-only booking file")
            << false << "cmd_Wiederherstellen_Error"
            << "Fehler beim Wiederherstellen.\r\nError number: 75";
    }
    void libraryFailsAtUndo() {
        QFETCH(bool, fort);
        QFETCH(QString, titel);
        QFETCH(QString, text);
        Lauf s;
        s.Entfernen(s.f, 1);
        const QString weg = s.t.Pfad() + "lib3.fort", lib3 = QDir::cleanPath(s.libs[2]);
        QVERIFY(!fort || QDir().rename(lib3, weg));
        s.p.meldungen.clear();
        {
            test::Fehlerstelle stelle(fort ? "-" : "lib3/IDX00004/BOOKDATA.NET", FEHLER_ZUGRIFF);
            QVERIFY(s.f.Befehl_Ausführen(s.f.mnu_Rückgängig));
        }
        QCOMPARE(s.p.meldungen.value(0).text, text.replace("%1", s.libs[2]));
        QCOMPARE(s.Nach(), titel + "|" + ALLE + "|undo ");
        QCOMPARE(s.Lesen(1, "IDX00012"), Standort::L1_12());

        QVERIFY(!fort || QDir().rename(weg, lib3));
        QCOMPARE(s.Nach(s.f.mnu_Rückgängig), "|" + ALLE + "|");
        QCOMPARE(s.Stand(), Standort::Anfangsstand());
        // The first Library was restored once, the failing one as often as it was tried.
        QCOMPARE(s.Log(1).count("User-ID 7 restored! "), 1);
        QCOMPARE(s.Log(3).count("User-ID 7 restored! "), fort ? 1 : 2);
    }

    // Another Global Directory is chosen while a removal is unsaved and waits for Undo. The
    // administrator is asked to save first; Cancel keeps everything. Once another map is read,
    // Undo brings back the bookings and leaves that map's users as they are instead of writing
    // the removed User-ID over whoever stands at that place.
    void anotherGlobalDirectoryDuringRemoval_data() {
        QTest::addColumn<Antwort>("antwort");
        QTest::addColumn<QString>("gewählt"); // what is at hand after the choice
        QTest::addColumn<QString>("zurück");  // ... and after Undo
        QTest::newRow("Yes") << Antwort::Ja << "Save,Removed user|99|undo removed"
                             << "mnu_Rückgängig_Error|99|";
        QTest::newRow("No") << Antwort::Nein << "Save|99|undo removed"
                            << "mnu_Rückgängig_Error|99|";
        QTest::newRow("Cancel") << Antwort::Abbrechen << "Save|1 12 23 254|undo save removed"
                                << "|" + ALLE + "|";
    }
    void anotherGlobalDirectoryDuringRemoval() {
        QFETCH(Antwort, antwort);
        Lauf s;
        // Shorter than the map the removal worked on: the removed user's place is not in it.
        const QByteArray karte2 = test::Idmap_Satz(99, "NEUN");
        s.t.Datei("global2/QK_IDMAP.NET", karte2);
        s.Entfernen(s.f, 1);
        const QByteArray karte = s.t.Lesen("global/QK_IDMAP.NET");
        s.p.meldungen.clear();
        s.p.antworten = {antwort};
        s.p.ordnerAntworten = {s.t.Pfad() + "global2"};
        QVERIFY(s.f.Befehl_Ausführen(s.f.mnu_GlobalDir));
        QCOMPARE(s.p.meldungen[0].knöpfe, Knöpfe::JaNeinAbbrechen);
        QTEST(s.Nach(), "gewählt");
        QCOMPARE(s.z.GlobalPath,
                 antwort != Antwort::Abbrechen ? s.t.Pfad() + "global2/" : s.global);
        // Saved, the map is without the removed user; otherwise it is as it was.
        QCOMPARE(s.t.Lesen("global/QK_IDMAP.NET").size(),
                 karte.size() - (antwort == Antwort::Ja ? 781 : 0));
        // The bookings come back; the user only where the map still knows him.
        QTEST(s.Nach(s.f.mnu_Rückgängig), "zurück");
        QCOMPARE(s.Stand(), Standort::Anfangsstand());
        QCOMPARE(s.t.Lesen("global2/QK_IDMAP.NET"), karte2);
    }
};

QTEST_MAIN(TestFehlerEntfernen)
#include "test_fehler_entfernen.moc"
