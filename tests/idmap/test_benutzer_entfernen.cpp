#include "idmap/idmap_datei.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/idmap_frm1.h"
#include "standort.h"

using namespace qk;
using test::Standort;

namespace {

const QString CRLF = QStringLiteral("\r\n");

QStringList Zeilen_Sortiert(const QString& text) {
    QStringList z = text.split(CRLF);
    z.sort();
    return z;
}

int Blöcke(const QString& log) {
    return int(log.count(QStringLiteral("*                     BOOKDATA.LOG")));
}

} // namespace

class TestBenutzerEntfernen : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        datei::Fehlerhaken_Setzen({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(test::Offene_Fenster(), QStringList());
    }

    // ---- Remove User ----

    void loggedInUserIsRefused() {
        Standort s;
        s.Buchungen_Anlegen();
        Idmap_frm1 f(s.z);
        test::Zeigen(f);
        // Logged in after the list was read: the command looks again.
        s.t.Datei("global/_!qkA007", {});
        s.Entfernen(f, 1, Antwort::Ja);

        QCOMPARE(s.p.Titel(), QStringList{"User-ID 7"});
        QCOMPARE(s.p.meldungen[0].text,
                 "Cannot remove User-ID 7  ! " + CRLF +
                     "A system with this User-ID is actually running.      ");
        QCOMPARE(s.p.meldungen[0].symbol, Symbol::Stopp);
        QCOMPARE(s.p.meldungen[0].knöpfe, Knöpfe::OK);
        QCOMPARE(s.z.IdmapListe[1].Status, QStringLiteral("A"));
        QCOMPARE(f.lstv_Idmap->topLevelItem(1)->text(4), QStringLiteral("A"));
        QVERIFY(!s.t.Existiert("global/QK_IDMAP.BAK"));
        QCOMPARE(s.Lesen(1, "IDX00012"), Standort::L1_12());
        QVERIFY(!f.mnu_Rückgängig->isEnabled());
        QVERIFY(!s.z.UserEntfernt);
    }

    void answerNoChangesNothing() {
        Standort s;
        s.Buchungen_Anlegen();
        Idmap_frm1 f(s.z);
        test::Zeigen(f);
        s.Entfernen(f, 1, Antwort::Nein);

        QCOMPARE(s.p.Titel(), QStringList{"Delete User-ID"});
        QCOMPARE(s.p.meldungen[0].text, "Do you really want to remove User-ID 7  ?" + CRLF +
                                            "If you confirm, all Bookings for the User will be "
                                            "deleted !");
        QCOMPARE(s.p.meldungen[0].symbol, Symbol::Stopp);
        QCOMPARE(s.p.meldungen[0].knöpfe, Knöpfe::JaNein);
        QCOMPARE(s.z.LibPath, s.lib);
        QVERIFY(!s.t.Existiert("global/QK_IDMAP.BAK"));
        QCOMPARE(s.Lesen(1, "IDX00012"), Standort::L1_12());
        QVERIFY(!s.t.Existiert("lib/Bookdata.log"));
        QCOMPARE(s.Rückgängig_Liste(2), QStringLiteral("IDX00001\t0\t1\t4\r\n\r\n"));
        QCOMPARE(test::Spalte1(f.lstv_Idmap).size(), 5);
        QVERIFY(!f.mnu_Rückgängig->isEnabled());
        QVERIFY(!f.mnu_Speichern->isEnabled());
    }

    void removeFromThreeLibraries() {
        Standort s;
        s.Buchungen_Anlegen();
        const QByteArray map = s.t.Lesen("global/QK_IDMAP.NET");
        Idmap_frm1 f(s.z);
        test::Zeigen(f);
        s.z.IdmapListe[3].UserName = "unsaved edit";
        s.z.Geändert = true;
        s.Entfernen(f, 1);

        QCOMPARE(s.p.Titel(), QStringList{"Delete User-ID"});
        // The map as it was before the removal, with the edit, the user still in it.
        QCOMPARE(s.t.Lesen("global/QK_IDMAP.BAK"), map);
        QList<IdmapEintrag> vorher = s.z.IdmapListe;
        vorher[1].Status.clear();
        QCOMPARE(s.t.Lesen("global/QK_IDMAP.NET"), Idmap_Bytes(vorher));

        // The bookings of user 7, and only those, are free; each changed file has its backup.
        QCOMPARE(s.Lesen(1, "IDX00012"), test::Freigegeben(Standort::L1_12(), {5, 9}));
        QCOMPARE(s.Lesen(1, "IDX00012", "BOOKDATA.BAK"), Standort::L1_12());
        QCOMPARE(s.Lesen(2, "IDX00001"), Standort::L2_01());
        QVERIFY(!s.t.Existiert(Standort::Datei(2, "IDX00001", "BOOKDATA.BAK")));
        QCOMPARE(s.Lesen(3, "IDX00003"), test::Freigegeben(Standort::L3_03(), {0}));
        QCOMPARE(s.Lesen(3, "IDX00004"), test::Freigegeben(Standort::L3_04(), {255}));
        QCOMPARE(s.Lesen(3, "IDX00004", "BOOKDATA.BAK"), Standort::L3_04());

        // Undo lists of this removal only.
        QCOMPARE(s.Rückgängig_Liste(1),
                 QStringLiteral("IDX00012\t5\t7\t3\r\nIDX00012\t9\t7\t12\r\n\r\n"));
        QCOMPARE(s.Rückgängig_Liste(2), CRLF);
        QCOMPARE(Zeilen_Sortiert(s.Rückgängig_Liste(3)),
                 Zeilen_Sortiert("IDX00003\t0\t7\t1\r\nIDX00004\t255\t7\t2\r\n\r\n"));

        // One deletion block in each Library.
        for (int lib = 1; lib <= 3; ++lib) {
            const QString log = s.Log(lib);
            QCOMPARE(Blöcke(log), 1);
            QVERIFY(log.contains("Library: " + s.libs[lib - 1] + CRLF));
            QVERIFY(log.contains("Function: &Remove User" + CRLF));
            QVERIFY(log.contains("******************* Bookings for User-ID 7 ******************"));
        }
        QVERIFY(s.Log(1).contains("IDX00012\t5\t7\t\t3\r\nIDX00012\t9\t7\t\t12\r\n"));
        QVERIFY(s.Log(1).contains("Deleted: 2Booking(s): " + CRLF + "Status: OK" + CRLF +
                                  "Written: 4096 Bytes in 1 file(s) (BOOKDATA.NET)"));
        QVERIFY(s.Log(2).endsWith("No bookings for User-ID 7." + CRLF + CRLF +
                                  "User-ID 7 deleted !" + CRLF + CRLF + CRLF));
        QVERIFY(s.Log(3).contains("Written: 8192 Bytes in 2 file(s) (BOOKDATA.NET)"));

        const test::Ergebnisfenster e = test::Ergebnis(f);
        QCOMPARE(e.titel, QStringLiteral("User-ID 7 removed !"));
        QCOMPARE(e.text, "3 Libraries." + CRLF + CRLF + "4 Booking(s) in 3 file(s) deleted !");
        QVERIFY(e.okSichtbar);
        QVERIFY(!e.balkenSichtbar);

        QCOMPARE(s.z.LibPath, s.lib);
        QCOMPARE(s.z.IdmapListe[1].Status, QStringLiteral("DEL"));
        QCOMPARE(test::Spalte1(f.lstv_Idmap), QStringList({"1", "12", "23", "254"}));
        QVERIFY(s.z.UserEntfernt);
        QVERIFY(s.z.Geändert);
        QVERIFY(s.z.Buchungen_Entfernt);
        QCOMPARE(int(s.z.Gelöscht_UserNr), 7);
        QCOMPARE(int(s.z.Gelöscht_Index), 1);
        QVERIFY(f.mnu_Rückgängig->isEnabled());
        QVERIFY(f.mnu_Speichern->isEnabled());
    }

    void userWithoutBookings() {
        Standort s;
        s.Buchungen_Anlegen();
        Idmap_frm1 f(s.z);
        test::Zeigen(f);
        s.Entfernen(f, 4); // 254

        const test::Ergebnisfenster e = test::Ergebnis(f);
        QCOMPARE(e.titel, QStringLiteral("User-ID 254 removed !"));
        QCOMPARE(e.text, CRLF + "No Bookings for User-ID 254 .");
        QCOMPARE(s.z.IdmapListe[4].Status, QStringLiteral("DEL"));
        QVERIFY(!s.z.Buchungen_Entfernt);
        QVERIFY(f.mnu_Rückgängig->isEnabled());
        for (int lib = 1; lib <= 3; ++lib) {
            QVERIFY(s.Log(lib).endsWith("No bookings for User-ID 254." + CRLF + CRLF +
                                        "User-ID 254 deleted !" + CRLF + CRLF + CRLF));
            QCOMPARE(s.Rückgängig_Liste(lib), CRLF);
        }
        QVERIFY(!s.t.Existiert(Standort::Datei(1, "IDX00012", "BOOKDATA.BAK")));
        QCOMPARE(s.Lesen(3, "IDX00004"), Standort::L3_04());
    }

    void unreachableLibraryIsReportedAndSkipped() {
        Standort s;
        s.Buchungen_Anlegen();
        const QString fehlt = s.t.Pfad() + "gone/";
        s.Libraries_Eintragen({s.lib, fehlt, s.libs[2]});
        Idmap_frm1 f(s.z);
        test::Zeigen(f);
        s.Entfernen(f, 1);

        QCOMPARE(s.p.Titel(), QStringList({"Delete User-ID", "mnu_UserLöschen_Error"}));
        QCOMPARE(s.p.meldungen[1].text, "Path:  ''" + fehlt + "''  not found !");
        QCOMPARE(s.p.meldungen[1].symbol, Symbol::Ausruf);
        QVERIFY(!s.t.Existiert("gone"));
        QCOMPARE(s.z.Gelöscht_LibListe, QStringList({s.lib, s.libs[2]}));
        QCOMPARE(test::Ergebnis(f).text,
                 "2 Libraries." + CRLF + CRLF + "4 Booking(s) in 3 file(s) deleted !");
        QCOMPARE(s.Lesen(3, "IDX00003"), test::Freigegeben(Standort::L3_03(), {0}));
        QCOMPARE(s.z.LibPath, s.lib);
    }

    void removedRecordIsNotTakenAgain() {
        Standort s;
        s.Buchungen_Anlegen();
        Idmap_frm1 f(s.z);
        test::Zeigen(f);
        s.Entfernen(f, 1); // 7
        const QString liste = s.Rückgängig_Liste(1);
        s.p.meldungen.clear();
        // The selection still points at the removed record.
        QCOMPARE(int(s.z.UserIndex), 1);
        s.p.antworten = {Antwort::Ja};
        QVERIFY(f.Befehl_Ausführen(f.mnu_UserLöschen));
        bool dialog = false;
        QTimer::singleShot(100, &f, [&dialog] {
            if (QWidget* d = QApplication::activeModalWidget()) {
                dialog = true;
                d->close();
            }
        });
        QVERIFY(f.Befehl_Ausführen(f.mnu_UserÄndern));
        QVERIFY(!dialog);
        QVERIFY(s.p.meldungen.isEmpty());
        QCOMPARE(s.Rückgängig_Liste(1), liste);
        QCOMPARE(s.Log(1).count("BOOKDATA.LOG"), 1);
    }

    void numbersOfNoUserAreRefused_data() {
        QTest::addColumn<int>("id");
        QTest::newRow("0, every user") << 0;
        QTest::newRow("255, a free box") << 255;
    }
    void numbersOfNoUserAreRefused() {
        QFETCH(int, id);
        Standort s;
        s.Buchungen_Anlegen();
        Idmap_frm1 f(s.z);
        s.z.IdmapListe[2].ID = quint8(id);
        f.IdmapListe_In_Liste_Übertragen();
        test::Zeigen(f);
        s.Entfernen(f, 2);

        QCOMPARE(s.p.Titel(), QStringList{"mnu_UserLöschen_Error"});
        QCOMPARE(s.p.meldungen[0].text, "Error when deleting a User." + CRLF + "Error number: 5");
        QVERIFY(!s.t.Existiert("global/QK_IDMAP.BAK"));
        QCOMPARE(s.Lesen(1, "IDX00012"), Standort::L1_12());
        QCOMPARE(s.Lesen(2, "IDX00001"), Standort::L2_01());
        QCOMPARE(s.z.IdmapListe[2].Status, QString());
    }

    void noLibraryListIsRemovalError() {
        test::Umgebung u;
        u.Vollständig();
        u.t.Datei("lib/IDX00001/BOOKDATA.NET", test::Bookdata({{3, 7, 1}}));
        Idmap_frm1 f(u.z);
        test::Zeigen(f);
        test::Klicken(f, 1);
        u.p.antworten = {Antwort::Ja};
        QVERIFY(f.Befehl_Ausführen(f.mnu_UserLöschen));

        QCOMPARE(u.p.Titel(), QStringList({"Delete User-ID", "mnu_UserLöschen_Error"}));
        QCOMPARE(u.p.meldungen[1].text, "Error when deleting a User." + CRLF + "Error number: 9");
        // The save came first; nothing is marked or deleted.
        QVERIFY(u.t.Existiert("global/QK_IDMAP.BAK"));
        QCOMPARE(u.z.IdmapListe[1].Status, QString());
        QCOMPARE(u.t.Lesen("lib/IDX00001/BOOKDATA.NET"), test::Bookdata({{3, 7, 1}}));
        QVERIFY(!f.mnu_Rückgängig->isEnabled());
        QCOMPARE(u.z.LibPath, u.lib);
        QCOMPARE(test::Ergebnis(f).titel, QString());
    }

    // ---- Save ----

    void saveWithoutChangesAsksNothing() {
        Standort s;
        Idmap_frm1 f(s.z);
        f.mnu_Speichern->setEnabled(true);
        QVERIFY(f.Befehl_Ausführen(f.mnu_Speichern));
        QVERIFY(s.p.meldungen.isEmpty());
        QVERIFY(!f.mnu_Speichern->isEnabled());
        QVERIFY(!s.t.Existiert("global/QK_IDMAP.BAK"));
    }

    void saveAnswers_data() {
        QTest::addColumn<Antwort>("antwort");
        QTest::newRow("Yes") << Antwort::Ja;
        QTest::newRow("No") << Antwort::Nein;
        QTest::newRow("Cancel") << Antwort::Abbrechen;
    }
    void saveAnswers() {
        QFETCH(Antwort, antwort);
        Standort s;
        const QByteArray map = s.t.Lesen("global/QK_IDMAP.NET");
        Idmap_frm1 f(s.z);
        s.z.IdmapListe[0].UserName = "ANNA";
        s.z.Geändert = true;
        f.mnu_Speichern->setEnabled(true);
        s.p.antworten = {antwort};
        QVERIFY(f.Befehl_Ausführen(f.mnu_Speichern));

        QCOMPARE(s.p.Titel(), QStringList{"Save"});
        QCOMPARE(s.p.meldungen[0].text, QStringLiteral("Do you want to save the settings ?"));
        QCOMPARE(s.p.meldungen[0].symbol, Symbol::Ausruf);
        QCOMPARE(s.p.meldungen[0].knöpfe, Knöpfe::JaNeinAbbrechen);
        const bool ja = antwort == Antwort::Ja;
        QCOMPARE(s.t.Lesen("global/QK_IDMAP.NET"), ja ? Idmap_Bytes(s.z.IdmapListe) : map);
        QCOMPARE(s.t.Existiert("global/QK_IDMAP.BAK"), ja);
        QCOMPARE(s.z.Geändert, !ja);
        QVERIFY(!f.mnu_Speichern->isEnabled());
    }

    void closingNoteOnEverySave() {
        Standort s;
        Idmap_frm1 f(s.z);
        test::Zeigen(f);
        s.Entfernen(f, 4); // 254, no bookings
        s.p.meldungen.clear();

        s.p.antworten = {Antwort::Ja};
        QVERIFY(f.Befehl_Ausführen(f.mnu_Speichern));
        QCOMPARE(s.p.Titel(), QStringList({"Save", "Removed user"}));
        QCOMPARE(s.p.meldungen[1].text,
                 "                   You have removed a user from the booking system." + CRLF +
                     "Please delete the file \"QK_LOCAL.NET\" in the program folder of TAVLO, "
                     "too !");
        QCOMPARE(s.p.meldungen[1].symbol, Symbol::Stopp);
        QByteArray ohne;
        for (int id : {1, 7, 12, 23})
            ohne += test::Idmap_Satz(quint8(id), "U" + QByteArray::number(id),
                                     "PC" + QByteArray::number(id),
                                     "C:\\L" + QByteArray::number(id) + "\\");
        QCOMPARE(s.t.Lesen("global/QK_IDMAP.NET"), ohne);
        QVERIFY(!s.z.Geändert);

        // Any later save reminds again, the one before a second removal included.
        s.p.meldungen.clear();
        s.z.Geändert = true;
        s.p.antworten = {Antwort::Ja};
        QVERIFY(f.Befehl_Ausführen(f.mnu_Speichern));
        QCOMPARE(s.p.Titel(), QStringList({"Save", "Removed user"}));
        s.p.meldungen.clear();
        f.Messages_Entladen();
        s.Entfernen(f, 3); // 23
        QCOMPARE(s.p.Titel(), QStringList({"Delete User-ID", "Removed user"}));
    }

    void failedSaveStaysUnsaved() {
        Standort s;
        Idmap_frm1 f(s.z);
        s.z.Geändert = true;
        f.mnu_Speichern->setEnabled(true);
        datei::Fehlerhaken_Setzen([](datei::Vorgang v, const QString& pfad) {
            if (v == datei::Vorgang::Ersetzen && pfad.endsWith(QLatin1String("QK_IDMAP.NET")))
                throw Fehler(FEHLER_DATENTRAEGER_VOLL);
        });
        s.p.antworten = {Antwort::Ja};
        QVERIFY(f.Befehl_Ausführen(f.mnu_Speichern));
        QCOMPARE(s.p.Titel(), QStringList({"Save", "Qk_Idmap_Speichern_Error"}));
        QVERIFY(s.z.Geändert);
        QVERIFY(f.mnu_Speichern->isEnabled());
    }
};

QTEST_MAIN(TestBenutzerEntfernen)
#include "test_benutzer_entfernen.moc"
