#include "bookdata/bookdata.h"
#include "idmap/idmap_datei.h"
#include "platform/dateien.h"
#include "shell/idmap_frm1.h"
#include "shell/texte.h"
#include "standort.h"

#include <QDir>

using namespace qk;
using test::Standort;

namespace {

const QString CRLF = QStringLiteral("\r\n");

const QString TITEL_BLOCK = QStringLiteral("*                     BOOKDATA.LOG");
const QString RESTORE_KOPF = QStringLiteral("Funktion: Un&do\r\n");

int Blöcke(const QString& log) {
    return int(log.count(TITEL_BLOCK));
}

// The last block of the log.
QString Letzter_Block(const QString& log) {
    const qsizetype titel = log.lastIndexOf(TITEL_BLOCK);
    return titel < 0 ? QString() : log.mid(log.lastIndexOf(CRLF, titel - 3));
}

bool Rückgängig(Idmap_frm1& f) {
    f.Messages_Entladen();
    return f.Befehl_Ausführen(f.mnu_Rückgängig);
}

// What "Delete all bookings for Index" leaves behind in the current Library: the bookings of
// the folder deleted, with backup, undo list and log block, and Undo enabled.
void Index_Löschen(Zustand& z, Idmap_frm1& f, const QString& index) {
    z.UserNr = 0;
    f.mnu_Rückgängig->setEnabled(true);
    z.Buchungen_Entfernt = false;
    BookdataListe_Zurücksetzen(z);
    Bookdata_Öffnen(z, z.LibPath, index, 0);
    z.Anzahl_Buchungen = Buchungen_Zählen(z);
    z.Summe_Buchungen = 0;
    z.Summe_Dateien = 0;
    Buchungen_Löschen(z, z.LibPath);
    z.LogFunktion = LoadResString(126);
    LOG_Buchungen_Löschen(z);
    z.Buchungen_Entfernt = true;
}

} // namespace

class TestRueckgaengigBefehl : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        datei::Fehlerhaken_Setzen({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(test::Offene_Fenster(), QStringList());
    }

    void undoAfterRemoval() {
        Standort s;
        s.Buchungen_Anlegen();
        Idmap_frm1 f(s.z);
        test::Zeigen(f);
        s.Entfernen(f, 1); // 7
        // Since the removal user 12 has booked a box that user 7 held, and is selected now.
        s.Bookdata(1, "IDX00012", test::Bookdata({{9, 12, 1}, {20, 12, 1}}));
        test::Klicken(f, 1);
        QCOMPARE(int(s.z.UserNr), 12);
        s.p.meldungen.clear();
        QVERIFY(Rückgängig(f));

        QVERIFY(s.p.meldungen.isEmpty());
        // Box 5 is back; box 9 keeps the booking made since.
        QCOMPARE(s.Lesen(1, "IDX00012"), test::Bookdata({{5, 7, 3}, {9, 12, 1}, {20, 12, 1}}));
        QCOMPARE(s.Lesen(3, "IDX00003"), Standort::L3_03());
        QCOMPARE(s.Lesen(3, "IDX00004"), Standort::L3_04());
        QCOMPARE(s.Lesen(2, "IDX00001"), Standort::L2_01());
        QVERIFY(!s.t.Existiert(Standort::Datei(2, "IDX00001", "BOOKDATA.BAK")));

        // A restore block in every Library, for the removed user.
        for (int lib = 1; lib <= 3; ++lib) {
            const QString block = Letzter_Block(s.Log(lib));
            QCOMPARE(Blöcke(s.Log(lib)), 2);
            QVERIFY(block.contains("Library: " + s.libs[lib - 1] + CRLF + "Date: 06.12.2026\t"));
            QVERIFY(block.contains(RESTORE_KOPF));
            QVERIFY(block.contains(
                " ************** Restored bookings for User-ID 7 **************" + CRLF));
        }
        const QString block1 = Letzter_Block(s.Log(1));
        QVERIFY(block1.contains("IDX00012\t5\t7\t\t3" + CRLF + "IDX00012\t9\t7\t\t12" + CRLF));
        QVERIFY(block1.contains("************* All Bookings for User-ID 7 restored! ************" +
                                CRLF + CRLF + "Restored: 2Booking(s) in 1 file(s) (BOOKDATA.NET)" +
                                CRLF + "Status: Error" + CRLF));
        QVERIFY(s.Log(2).endsWith("No bookings for User-ID 7." + CRLF + CRLF +
                                  "User-ID 7 restored !" + CRLF + CRLF + CRLF));
        QVERIFY(Letzter_Block(s.Log(3)).contains(
            "Restored: 2Booking(s) in 2 file(s) (BOOKDATA.NET)" + CRLF + "Status: OK" + CRLF));

        const test::Ergebnisfenster e = test::Ergebnis(f);
        QCOMPARE(e.titel, QStringLiteral("Undone the deleting of bookings !"));
        QCOMPARE(e.text, CRLF + "4 Booking(s) in 3 file(s) restored !");
        QVERIFY(e.okSichtbar);

        QCOMPARE(test::Spalte1(f.lstv_Idmap), QStringList({"1", "7", "12", "23", "254"}));
        QCOMPARE(s.z.IdmapListe[1].Status, QString());
        QCOMPARE(int(s.z.UserNr), 12);
        QCOMPARE(int(s.z.Gelöscht_UserNr), 0);
        QCOMPARE(s.z.LibPath, s.lib);
        QVERIFY(!s.z.UserEntfernt);
        QVERIFY(!s.z.Buchungen_Entfernt);
        QVERIFY(!s.z.Geändert);
        QVERIFY(!f.mnu_Rückgängig->isEnabled());
        QVERIFY(!f.mnu_Speichern->isEnabled());
        // Leaving asks nothing about the map.
        f.close();
        QVERIFY(s.p.meldungen.isEmpty());
    }

    void undoAfterRemovalWithoutBookingsNamesRemovedUser() {
        Standort s;
        s.Buchungen_Anlegen();
        Idmap_frm1 f(s.z);
        test::Zeigen(f);
        s.Entfernen(f, 4); // 254
        test::Klicken(f, 0);
        QVERIFY(Rückgängig(f));

        const test::Ergebnisfenster e = test::Ergebnis(f);
        QCOMPARE(e.titel, QStringLiteral("User-ID 254 restored !"));
        QCOMPARE(e.text, CRLF + "No Bookings for User-ID 254 .");
        QCOMPARE(int(s.z.IdmapListe[4].ID), 254);
        for (int lib = 1; lib <= 3; ++lib)
            QVERIFY(s.Log(lib).endsWith("User-ID 254 restored !" + CRLF + CRLF + CRLF));
        QCOMPARE(s.Lesen(1, "IDX00012"), Standort::L1_12());
        QCOMPARE(int(s.z.UserNr), 1);
    }

    void mapChangedAfterUndo_data() {
        QTest::addColumn<QString>("dazwischen");
        QTest::addColumn<bool>("geändert");
        QTest::newRow("nothing") << "" << false;
        QTest::newRow("saved while pending") << "save" << true;
        QTest::newRow("edited since") << "edit" << true;
    }
    void mapChangedAfterUndo() {
        QFETCH(QString, dazwischen);
        QFETCH(bool, geändert);
        Standort s;
        const QByteArray map = s.t.Lesen("global/QK_IDMAP.NET");
        Idmap_frm1 f(s.z);
        test::Zeigen(f);
        s.Entfernen(f, 4); // 254
        if (dazwischen == "save") {
            s.p.antworten = {Antwort::Ja};
            QVERIFY(f.Befehl_Ausführen(f.mnu_Speichern));
            QCOMPARE(s.t.Lesen("global/QK_IDMAP.NET").size(), 4 * IDMAP_SATZ);
        } else if (dazwischen == "edit") {
            s.z.IdmapListe[0].PCName = "PC99";
        }
        QVERIFY(Rückgängig(f));
        QCOMPARE(s.z.Geändert, geändert);
        QCOMPARE(f.mnu_Speichern->isEnabled(), geändert);
        QVERIFY(!f.mnu_Rückgängig->isEnabled());

        // The next save brings the file up to memory, without the note of a removal.
        s.p.meldungen.clear();
        s.p.antworten = {Antwort::Ja};
        f.mnu_Speichern->setEnabled(true);
        QVERIFY(f.Befehl_Ausführen(f.mnu_Speichern));
        QCOMPARE(s.p.Titel(), geändert ? QStringList{"Save"} : QStringList());
        QCOMPARE(s.t.Lesen("global/QK_IDMAP.NET"), Idmap_Bytes(s.z.IdmapListe));
        if (dazwischen != "edit")
            QCOMPARE(s.t.Lesen("global/QK_IDMAP.NET"), map);
    }

    void unreachableLibraryAtUndoIsSkipped() {
        Standort s;
        s.Buchungen_Anlegen();
        Idmap_frm1 f(s.z);
        test::Zeigen(f);
        s.Entfernen(f, 1); // 7
        QVERIFY(QDir().rename(s.libs[2], s.t.Pfad() + "away"));
        s.p.meldungen.clear();
        QVERIFY(Rückgängig(f));

        QCOMPARE(s.p.Titel(), QStringList{"mnu_Rückgängig_Error"});
        QCOMPARE(s.p.meldungen[0].text, "Path:  ''" + s.libs[2] + "''  not found !");
        QVERIFY(!s.t.Existiert("lib3"));
        QCOMPARE(s.Lesen(1, "IDX00012"), Standort::L1_12());
        QCOMPARE(Blöcke(s.Log(2)), 2);
        QCOMPARE(test::Ergebnis(f).text, CRLF + "2 Booking(s) in 1 file(s) restored !");
        QCOMPARE(s.z.LibPath, s.lib);
        QVERIFY(!f.mnu_Rückgängig->isEnabled());
        QCOMPARE(s.t.Lesen("away/IDX00003/BOOKDATA.NET"),
                 test::Freigegeben(Standort::L3_03(), {0}));
    }

    void libraryUnreachableAtRemovalStaysUntouched() {
        Standort s;
        s.Buchungen_Anlegen();
        const QString später = s.t.Pfad() + "later/";
        s.Libraries_Eintragen({s.lib, später});
        Idmap_frm1 f(s.z);
        test::Zeigen(f);
        s.Entfernen(f, 1); // 7; "later" is reported and left out
        // It comes back with what an older deletion left: a backup and an undo list.
        const QByteArray frei = test::Bookdata();
        s.t.Datei("later/IDX00001/BOOKDATA.NET", frei);
        s.t.Datei("later/IDX00001/BOOKDATA.BAK", test::Bookdata({{0, 7, 1}}));
        s.t.Datei("later/_!bookdata.txt", "IDX00001\t0\t7\t1\r\n\r\n");
        s.p.meldungen.clear();
        QVERIFY(Rückgängig(f));

        QVERIFY(s.p.meldungen.isEmpty());
        QCOMPARE(s.t.Lesen("later/IDX00001/BOOKDATA.NET"), frei);
        QVERIFY(!s.t.Existiert("later/Bookdata.log"));
        QCOMPARE(s.Lesen(1, "IDX00012"), Standort::L1_12());
        QCOMPARE(test::Ergebnis(f).text, CRLF + "2 Booking(s) in 1 file(s) restored !");
    }

    void undoAfterIndexDeletion_data() {
        QTest::addColumn<bool>("entfernenVorher");
        QTest::addColumn<bool>("geändert");
        QTest::newRow("alone") << false << false;
        QTest::newRow("unsaved edit") << false << true;
        QTest::newRow("after a removal and its undo") << true << false;
    }
    void undoAfterIndexDeletion() {
        QFETCH(bool, entfernenVorher);
        QFETCH(bool, geändert);
        Standort s;
        s.Buchungen_Anlegen();
        Idmap_frm1 f(s.z);
        test::Zeigen(f);
        if (entfernenVorher) {
            s.Entfernen(f, 4);
            QVERIFY(Rückgängig(f));
        }
        const int blöcke3 = Blöcke(s.Log(3));
        s.z.Geändert = geändert;
        f.mnu_Speichern->setEnabled(geändert);
        const QList<IdmapEintrag> liste = s.z.IdmapListe;

        Index_Löschen(s.z, f, "idx00012");
        QCOMPARE(s.Lesen(1, "IDX00012"), test::Freigegeben(Standort::L1_12(), {5, 9, 20}));
        // Since the deletion user 23 has booked box 20.
        s.Bookdata(1, "IDX00012", test::Bookdata({{20, 23, 9}}));
        s.p.meldungen.clear();
        QVERIFY(Rückgängig(f));

        QVERIFY(s.p.meldungen.isEmpty());
        QCOMPARE(s.Lesen(1, "IDX00012"), test::Bookdata({{5, 7, 3}, {9, 7, 12}, {20, 23, 9}}));
        const QString block = Letzter_Block(s.Log(1));
        QVERIFY(block.contains(RESTORE_KOPF));
        QVERIFY(block.contains("Restored bookings for User-ID 0 "));
        QVERIFY(block.contains("idx00012\t20\t12\t\t1" + CRLF));
        QVERIFY(block.contains("Restored: 3Booking(s) in 1 file(s) (BOOKDATA.NET)" + CRLF +
                               "Status: Error" + CRLF));
        QCOMPARE(Blöcke(s.Log(3)), blöcke3);
        QCOMPARE(s.Lesen(3, "IDX00003"), Standort::L3_03());

        const test::Ergebnisfenster e = test::Ergebnis(f);
        QCOMPARE(e.titel, QStringLiteral("Undone the deleting of bookings !"));
        QCOMPARE(e.text, CRLF + "3 Booking(s) in 1 file(s) restored !");
        // The map is not part of it.
        QCOMPARE(s.z.IdmapListe.size(), liste.size());
        for (int i = 0; i < liste.size(); ++i)
            QCOMPARE(s.z.IdmapListe[i].Status, liste[i].Status);
        QCOMPARE(s.z.Geändert, geändert);
        QCOMPARE(f.mnu_Speichern->isEnabled(), geändert);
        QVERIFY(!f.mnu_Rückgängig->isEnabled());
    }

    void unreadableUndoListKeepsUndo() {
        Standort s;
        s.Buchungen_Anlegen();
        Idmap_frm1 f(s.z);
        test::Zeigen(f);
        s.Entfernen(f, 1); // 7
        s.t.Datei("lib/_!bookdata.txt", "IDX00012\tfive\t7\t3\r\n\r\n");
        test::Klicken(f, 2); // 23
        s.p.meldungen.clear();
        QVERIFY(Rückgängig(f));

        QCOMPARE(s.p.Titel(), QStringList{"mnu_Rückgängig_Error"});
        QCOMPARE(s.p.meldungen[0].text,
                 "Error when undoing the deleting of bookings." + CRLF + "Error number: 13");
        QCOMPARE(s.z.LibPath, s.lib);
        QCOMPARE(int(s.z.UserNr), 23);
        QCOMPARE(int(s.z.Gelöscht_UserNr), 7);
        QVERIFY(f.mnu_Rückgängig->isEnabled());
        QVERIFY(s.z.UserEntfernt);
        QCOMPARE(test::Ergebnis(f).titel, QString());
        // The walk stopped at the first Library.
        QCOMPARE(Blöcke(s.Log(3)), 1);
    }
};

QTEST_MAIN(TestRueckgaengigBefehl)
#include "test_rueckgaengig_befehl.moc"
