// A Library on the share goes away while Remove User works through the Libraries. The
// administrator is told, the other Libraries are still handled, the summary counts only what
// was deleted, and once the share is back no byte of it is lost and Undo brings every booking
// of the user back.
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

} // namespace

class TestFehlerEntfernen : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { test::Nachräumen(); }

    void libraryVanishesDuringRemoval_data() {
        QTest::addColumn<int>("vorgang");   // the operation in lib2 that finds it gone
        QTest::addColumn<QString>("datei"); // ... on this path below lib2
        QTest::addColumn<int>("ab");        // ... at the how-manieth call
        QTest::addColumn<int>("nummer");    // the error an open file then meets (0: none)
        QTest::addColumn<QString>("titel"); // the report of it
        QTest::addColumn<bool>("entfernt"); // whether the removal went on
        QTest::newRow("emptying its old undo list")
            << int(datei::Vorgang::Ersetzen) << "_!bookdata.txt" << 1 << 0
            << "mnu_UserLöschen_Error" << false;
        QTest::newRow("listing its index folders") << int(datei::Vorgang::Auflisten) << "" << 1 << 0
                                                   << "Anzahl_Ordner_Ermitteln_Error" << true;
        QTest::newRow("writing the backup")
            << int(datei::Vorgang::Schreiben) << "IDX00002/BOOKDATA.BAK" << 1 << 0
            << "Bookdata_Speichern_Error" << true;
        // The first freed box is in the file when the share goes.
        QTest::newRow("in the middle of the rewrite")
            << int(datei::Vorgang::Schreiben) << "IDX00002/BOOKDATA.NET" << 3 << int(FEHLER_ZUGRIFF)
            << "Bookdata_Speichern_Error" << true;
    }
    void libraryVanishesDuringRemoval() {
        QFETCH(int, vorgang);
        QFETCH(QString, datei);
        QFETCH(QString, titel);
        QFETCH(bool, entfernt);
        QFETCH(int, ab);
        QFETCH(int, nummer);
        Standort s;
        s.Buchungen_Anlegen();
        s.t.Datei(Standort::Datei(2, "IDX00002"), L2_02);
        const QString lib2 = s.libs[1];
        const QString fort = s.t.Pfad() + "lib2.fort";
        // The hook runs on the threads of the walk: what it shares is atomic.
        std::atomic<bool> weg = false, umbenannt = false;
        std::atomic<int> aufrufe = 0;
        datei::Fehlerhaken_Setzen([&](datei::Vorgang v, const QString& pfad) {
            if (weg && nummer && pfad.startsWith(lib2))
                throw Fehler(nummer, pfad);
            if (weg || int(v) != vorgang || pfad != lib2 + datei || ++aufrufe < ab ||
                weg.exchange(true))
                return;
            umbenannt = QDir().rename(QDir::cleanPath(lib2), fort);
            if (nummer)
                throw Fehler(nummer, pfad);
        });
        Idmap_frm1 f(s.z);
        Standort::Zeigen(f);
        s.Entfernen(f, 1);
        datei::Fehlerhaken_Setzen({});
        QVERIFY(weg && umbenannt);

        // Told once where it went wrong, and nothing made where the Library was.
        QCOMPARE(s.p.Titel().count(titel), 1);
        QVERIFY(!QFileInfo::exists(lib2));
        QCOMPARE(s.z.UserEntfernt, entfernt);
        QCOMPARE(f.mnu_Rückgängig->isEnabled(), entfernt);
        if (!entfernt) {
            QCOMPARE(s.p.meldungen.last().text,
                     QStringLiteral("Error when deleting a User.\r\nError number: 76"));
            QCOMPARE(s.Lesen(1, "IDX00012"), Standort::L1_12());
            QCOMPARE(s.Lesen(3, "IDX00004"), Standort::L3_04());
            QVERIFY(QDir().rename(fort, QDir::cleanPath(lib2)));
            QCOMPARE(s.Lesen(2, "IDX00002"), L2_02);
            f.close();
            return;
        }
        // Its log block could not be written either: one report for the whole block.
        QCOMPARE(s.p.Titel().count(QStringLiteral("LOG_Datei_Schreiben_Error")), 1);
        // Every other Library was handled, and the summary counts only those bookings.
        QCOMPARE(
            Standort::Ergebnis(f),
            QStringLiteral(
                "User-ID 7 removed !|3 Libraries.\r\n\r\n4 Booking(s) in 3 file(s) deleted !|OK"));
        QVERIFY(QDir().rename(fort, QDir::cleanPath(lib2)));
        // The share is back with every byte, and Undo restores everything.
        QCOMPARE(s.Stand(),
                 (QList<QByteArray>{Freigegeben(Standort::L1_12(), {5, 9}), Standort::L2_01(),
                                    Freigegeben(Standort::L3_03(), {0}),
                                    Freigegeben(Standort::L3_04(), {255})}));
        // Cut off in the middle of a rewrite, the file may keep what reached it; its backup
        // is whole.
        QCOMPARE(s.Lesen(2, "IDX00002", nummer ? "BOOKDATA.BAK" : "BOOKDATA.NET"), L2_02);
        s.p.meldungen.clear();
        QVERIFY(f.Befehl_Ausführen(f.mnu_Rückgängig));
        QCOMPARE(s.p.Titel(), QStringList());
        QCOMPARE(s.Stand(), Standort::Anfangsstand());
        QCOMPARE(s.Lesen(2, "IDX00002"), L2_02);
        QCOMPARE(s.z.IdmapListe[1].Status, QString());
        f.close();
    }

    // To the booking store 255 marks a free box: a user with that ID in a hand-edited map has
    // no bookings of his own, and removing "his" bookings would free every free box's bytes.
    // Another such map holds one ID twice: the row chosen is the record removed.
    void handEditedMap() {
        Standort s;
        s.Map({1, 7, 255, 7});
        s.Buchungen_Anlegen();
        const QByteArray karte = s.t.Lesen("global/QK_IDMAP.NET");
        Idmap_frm1 f(s.z);
        Standort::Zeigen(f);
        Standort::Klicken(f.lstv_Idmap, 2);
        QVERIFY(f.Befehl_Ausführen(f.mnu_UserLöschen));
        QCOMPARE(s.p.Titel(), QStringList{"mnu_UserLöschen_Error"});
        QCOMPARE(s.p.meldungen[0].text,
                 QStringLiteral("Error when deleting a User.\r\nError number: 5"));
        QCOMPARE(s.Stand(), Standort::Anfangsstand());
        QCOMPARE(s.t.Lesen("global/QK_IDMAP.NET"), karte);
        QVERIFY(!f.mnu_Rückgängig->isEnabled() && !s.z.UserEntfernt);
        s.Entfernen(f, 3);
        QCOMPARE(s.z.IdmapListe[1].Status + '|' + s.z.IdmapListe[3].Status, QStringLiteral("|DEL"));
        f.close();
    }

    // A Library is out of reach, or one of its booking files cannot be written, when Undo
    // runs: the others are restored, and Undo stays at hand for that one until the fault is
    // gone.
    void libraryFailsAtUndo_data() {
        QTest::addColumn<bool>("fort"); // else its last booking file is read-only
        QTest::addColumn<QString>("meldung");
        QTest::newRow("out of reach") << true << "mnu_Rückgängig_Error|Path:  ''%1''  not found !";
        QTest::newRow("read-only booking file")
            << false
            << "cmd_Wiederherstellen_Error|Fehler beim Wiederherstellen.\r\nError number: 75";
    }
    void libraryFailsAtUndo() {
        QFETCH(bool, fort);
        QFETCH(QString, meldung);
        Standort s;
        s.Buchungen_Anlegen();
        Idmap_frm1 f(s.z);
        Standort::Zeigen(f);
        s.Entfernen(f, 1);
        const QString weg = s.t.Pfad() + "lib3.fort";
        if (fort)
            QVERIFY(QDir().rename(QDir::cleanPath(s.libs[2]), weg));
        s.p.meldungen.clear();
        {
            test::Fehlerstelle stelle(fort ? "-" : "lib3/IDX00004/BOOKDATA.NET", FEHLER_ZUGRIFF);
            QVERIFY(f.Befehl_Ausführen(f.mnu_Rückgängig));
        }
        QCOMPARE(s.p.meldungen.size(), 1);
        QCOMPARE(s.p.meldungen[0].titel + '|' + s.p.meldungen[0].text, meldung.arg(s.libs[2]));
        QCOMPARE(s.Lesen(1, "IDX00012"), Standort::L1_12());
        QCOMPARE(Standort::Spalte(f.lstv_Idmap), (QStringList{"1", "7", "12", "23", "254"}));
        QVERIFY(f.mnu_Rückgängig->isEnabled());
        QVERIFY(!s.z.UserEntfernt && !f.mnu_Speichern->isEnabled());

        if (fort)
            QVERIFY(QDir().rename(weg, QDir::cleanPath(s.libs[2])));
        s.p.meldungen.clear();
        QVERIFY(f.Befehl_Ausführen(f.mnu_Rückgängig));
        QCOMPARE(s.p.Titel(), QStringList());
        QCOMPARE(s.Stand(), Standort::Anfangsstand());
        QCOMPARE(Standort::Spalte(f.lstv_Idmap), (QStringList{"1", "7", "12", "23", "254"}));
        QVERIFY(!f.mnu_Rückgängig->isEnabled());
        // The first Library was restored once, the failing one as often as it was tried.
        QCOMPARE(s.Log(1).count("User-ID 7 restored! "), 1);
        QCOMPARE(s.Log(3).count("User-ID 7 restored! "), fort ? 1 : 2);
        f.close();
    }

    // Another Global Directory is chosen while a removal is unsaved and waits for Undo. The
    // administrator is asked to save first; Cancel keeps everything. Once another map is read,
    // Undo brings back the bookings and leaves that map's users as they are instead of writing
    // the removed User-ID over whoever stands at that place.
    void anotherGlobalDirectoryDuringRemoval_data() {
        QTest::addColumn<Antwort>("antwort");
        QTest::addColumn<QStringList>("titel");
        QTest::newRow("Yes") << Antwort::Ja << QStringList{"Save", "Removed user"};
        QTest::newRow("No") << Antwort::Nein << QStringList{"Save"};
        QTest::newRow("Cancel") << Antwort::Abbrechen << QStringList{"Save"};
    }
    void anotherGlobalDirectoryDuringRemoval() {
        QFETCH(Antwort, antwort);
        QFETCH(QStringList, titel);
        Standort s;
        s.Buchungen_Anlegen();
        // Shorter than the map the removal worked on: the removed user's place is not in it.
        const QByteArray karte2 = test::Idmap_Satz(99, "NEUN");
        s.t.Datei("global2/QK_IDMAP.NET", karte2);
        Idmap_frm1 f(s.z);
        Standort::Zeigen(f);
        s.Entfernen(f, 1);
        const QByteArray karte = s.t.Lesen("global/QK_IDMAP.NET");
        s.p.meldungen.clear();
        s.p.antworten = {antwort};
        s.p.ordnerAntworten = {s.t.Pfad() + "global2"};
        QVERIFY(f.Befehl_Ausführen(f.mnu_GlobalDir));
        QCOMPARE(s.p.Titel(), titel);
        QCOMPARE(s.p.meldungen[0].knöpfe, Knöpfe::JaNeinAbbrechen);
        const bool gewechselt = antwort != Antwort::Abbrechen;
        QCOMPARE(s.z.GlobalPath, gewechselt ? s.t.Pfad() + "global2/" : s.global);
        // Saved, the map is without the removed user; otherwise it is as it was.
        QCOMPARE(s.t.Lesen("global/QK_IDMAP.NET").size(),
                 karte.size() - (antwort == Antwort::Ja ? 781 : 0));
        QCOMPARE(Standort::Spalte(f.lstv_Idmap),
                 (gewechselt ? QStringList{"99"} : QStringList{"1", "12", "23", "254"}));
        QCOMPARE(f.mnu_Speichern->isEnabled(), !gewechselt);

        s.p.meldungen.clear();
        QVERIFY(f.Befehl_Ausführen(f.mnu_Rückgängig));
        // The bookings come back; the user only where the map still knows him.
        QCOMPARE(s.p.Titel(), gewechselt ? QStringList{"mnu_Rückgängig_Error"} : QStringList());
        QCOMPARE(s.Stand(), Standort::Anfangsstand());
        QCOMPARE(Standort::Spalte(f.lstv_Idmap),
                 (gewechselt ? QStringList{"99"} : QStringList{"1", "7", "12", "23", "254"}));
        QVERIFY(!f.mnu_Rückgängig->isEnabled());
        QCOMPARE(s.t.Lesen("global2/QK_IDMAP.NET"), karte2);
        f.close();
    }
};

QTEST_MAIN(TestFehlerEntfernen)
#include "test_fehler_entfernen.moc"
