#include "bookdata/bookdata.h"
#include "idmap/idmap_datei.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/texte.h"
#include "standort.h"

#include <QLineEdit>
#include <QTimer>

using namespace qk;
using test::Standort;
using test::Umgebung;

namespace {

const QString CRLF = QStringLiteral("\r\n");
const char* const FELDER[] = {"txt_ID", "txt_UserName", "txt_PCName", "txt_LocalPath"};

const QString TITEL = QStringLiteral("*                     BOOKDATA.LOG");

int Blöcke(const QString& log) {
    return int(log.count(TITEL));
}

QString Letzter_Block(const QString& log) {
    return log.mid(log.lastIndexOf(CRLF, log.lastIndexOf(TITEL) - 3));
}

// What the edit dialog showed (caption, labels, fields) and whether `schritte` left it open;
// it is cancelled then.
struct Dialoglauf {
    QStringList texte;
    bool offen = false;
};

Dialoglauf Im_Dialog(const std::function<void()>& auslösen,
                     const std::function<void(QDialog&)>& schritte) {
    Dialoglauf lauf;
    QTimer uhr;
    QObject::connect(&uhr, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (d == nullptr)
            return;
        uhr.stop();
        lauf.texte << d->windowTitle();
        for (const char* name : {"lbl_ID", "lbl_Name", "lbl_PCName", "lbl_LocalPath"})
            lauf.texte << d->findChild<QLabel*>(name)->text();
        for (const char* name : FELDER)
            lauf.texte << d->findChild<QLineEdit*>(name)->text();
        schritte(*d);
        if ((lauf.offen = d->isVisible()))
            d->reject();
    });
    uhr.start(5);
    auslösen();
    // A double click opens the dialog once its events are through.
    static_cast<void>(QTest::qWaitFor([&] { return !lauf.texte.isEmpty(); }, 1000));
    return lauf;
}

// Fills the fields as a user would (long or non-ASCII texts are pasted), then leaves by `knopf`.
void Eingeben(QDialog& d, const QStringList& eingabe, const QString& knopf) {
    for (int i = 0; i < eingabe.size(); ++i) {
        auto* feld = d.findChild<QLineEdit*>(FELDER[i]);
        if (eingabe[i].size() > 20 || eingabe[i].toLatin1() != eingabe[i].toUtf8()) {
            feld->setText(eingabe[i]);
        } else if (!eingabe[i].isNull()) {
            feld->clear();
            QTest::keyClicks(feld, eingabe[i]);
        }
    }
    if (knopf == QLatin1String("escape"))
        QTest::keyClick(&d, Qt::Key_Escape);
    else
        QTest::mouseClick(d.findChild<QPushButton*>(knopf), Qt::LeftButton);
}

QStringList Gezeigt(const test::TestPlattform& p) {
    QStringList texte;
    for (const test::GezeigteMeldung& m : p.meldungen)
        texte << m.titel + '|' + m.text;
    return texte;
}

// What "Delete all bookings for Index" leaves behind in the current Library: the bookings of
// the folder deleted, with backup, undo list and log block, and Undo enabled.
void Index_Löschen(Zustand& z, Idmap_frm1& f, const QString& index) {
    z.UserNr = 0;
    z.Gelöscht_UserNr = 0;
    z.Gelöscht_LibListe = QStringList{z.LibPath};
    f.mnu_Rückgängig->setEnabled(true);
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

class TestBenutzer : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        datei::Fehlerhaken_Setzen({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(test::Offene_Fenster(), QStringList());
    }

    void editUser_data() {
        QTest::addColumn<QStringList>("eingabe"); // ID, name, PC, path; null: left as it is
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<QString>("meldung");  // title|text
        QTest::addColumn<QStringList>("satz"); // the record afterwards; empty: unchanged
        const QString ok = "cmd_OK";
        QTest::newRow("Cancel") << QStringList{{}, "x"} << "cmd_Abbrechen"
                                << "" << QStringList();
        QTest::newRow("Escape") << QStringList{{}, "x"} << "escape"
                                << "" << QStringList();
        QTest::newRow("double click") << QStringList{"98"} << "double click, OK"
                                      << "" << QStringList{"98", "U12", "PC12", "C:\\L12\\", ""};
        QTest::newRow("OK") << QStringList{"99", "Neu Name", "", "E:\\X\\"} << ok << ""
                            << QStringList{"99", "Neu Name", "", "E:\\X\\", ""};
        QTest::newRow("blanks and half") << QStringList{" 100.5 ", " a ", "PC", "L"} << ok << ""
                                         << QStringList{"100", " a ", "PC", "L", ""};
        // A character the field cannot hold still takes one byte.
        const QString fremd(259, QChar(0x4E2D));
        QTest::newRow("259 foreign") << QStringList{{}, fremd} << ok << ""
                                     << QStringList{"12", fremd, "PC12", "C:\\L12\\", ""};
        const QString bereich = "User-Informations|The User-ID must be a number from 1 to 254.";
        for (const char* id : {"0", "255", "-1", "254.6", "0.4", "1e3", "1e999"})
            QTest::newRow(id) << QStringList{id, "x"} << ok << bereich << QStringList();
        // 1 is a removed user's, not saved yet: Undo would bring it back.
        for (const char* id : {"7", "253.5", "+7", "1", ".6"})
            QTest::newRow(id) << QStringList{id, "x"} << ok
                              << "User-Informations|Another user already has this User-ID."
                              << QStringList();
        for (int i = 1; i < 4; ++i) {
            QStringList eingabe(4);
            eingabe[i] = QString(260, QChar(0xE4));
            QTest::newRow(FELDER[i]) << eingabe << ok
                                     << "User-Informations|User-Name, PC-Name and Local Directory "
                                        "may have at most 259 characters each."
                                     << QStringList();
        }
        for (const char* id :
             {"abc", "", "12abc", "1 2", "1.2.3", ".", "5e", "--1", "0x10", "inf", "nan", "１２"})
            QTest::newRow(id) << QStringList{id, "x"} << ok
                              << "cmd_OK_Error|Error when editing a User.\r\nError number: 13"
                              << QStringList();
    }
    void editUser() {
        QFETCH(QStringList, eingabe);
        QFETCH(QString, knopf);
        QFETCH(QString, meldung);
        QFETCH(QStringList, satz);
        Umgebung u;
        u.Vollständig();
        const QByteArray datei = u.t.Lesen("global/QK_IDMAP.NET");
        Idmap_frm1 f(u.z);
        // A record marked removed before the row makes row and record index differ.
        u.z.IdmapListe[0].Status = "DEL";
        f.IdmapListe_In_Liste_Übertragen();
        u.Zeigen(f);
        u.Klicken(f.lstv_Idmap, 1); // ID 12
        const QPoint zeile = f.lstv_Idmap->visualItemRect(f.lstv_Idmap->topLevelItem(1)).center();
        const auto auslösen = [&] {
            if (knopf != "double click, OK")
                return static_cast<void>(f.Befehl_Ausführen(f.mnu_UserÄndern));
            QTest::mouseClick(f.lstv_Idmap->viewport(), Qt::LeftButton, {}, zeile);
            QTest::mouseDClick(f.lstv_Idmap->viewport(), Qt::LeftButton, {}, zeile);
        };
        const Dialoglauf lauf = Im_Dialog(auslösen, [&](QDialog& d) {
            Eingeben(d, eingabe, knopf.startsWith("double") ? "cmd_OK" : knopf);
        });
        QCOMPARE(lauf.texte,
                 (QStringList{"User-Informations", "User-ID (1-254):", "User-Name:", "PC-Name:",
                              "Local Directory:", "12", "U12", "PC12", "C:\\L12\\"}));
        // A refused entry keeps the dialog open.
        QCOMPARE(lauf.offen, !meldung.isEmpty());
        QCOMPARE(Gezeigt(u.p), meldung.isEmpty() ? QStringList() : QStringList{meldung});
        if (satz.isEmpty())
            satz = QStringList{"12", "U12", "PC12", "C:\\L12\\", ""};
        const IdmapEintrag& e = u.z.IdmapListe[2];
        QCOMPARE((QStringList{QString::number(e.ID), e.UserName, e.PCName, e.LocalPath, e.Status}),
                 satz);
        for (int s = 0; s < 5; ++s)
            QCOMPARE(u.Spalte(f.lstv_Idmap, s)[1], satz[s]);
        // OK marks the map changed before it reads a field; any way out enables Save.
        if (meldung.isEmpty() || meldung.startsWith("cmd_OK"))
            QCOMPARE(u.z.Geändert, knopf.contains("OK"));
        QVERIFY(f.mnu_Speichern->isEnabled());
        QCOMPARE(u.t.Lesen("global/QK_IDMAP.NET"), datei); // memory only, until a save
    }

    void removeFromThreeLibrariesAndUndo() {
        Standort s;
        s.Buchungen_Anlegen();
        const QString fehlt = s.t.Pfad() + "gone/";
        s.Libraries_Eintragen({s.lib, s.libs[1], fehlt, s.libs[2]});
        const QByteArray map = s.t.Lesen("global/QK_IDMAP.NET");
        Idmap_frm1 f(s.z);
        s.Zeigen(f);
        // Logged in after the list was read: the command looks again and refuses.
        const QString marke = s.t.Datei("global/_!qkA007", {});
        s.Entfernen(f, 1);
        QCOMPARE(s.Spalte(f.lstv_Idmap, 4)[1], QStringLiteral("A"));
        QFile::remove(marke);
        s.Entfernen(f, 1, Antwort::Nein);
        QCOMPARE(Gezeigt(s.p),
                 (QStringList{"User-ID 7|Cannot remove User-ID 7  ! " + CRLF +
                                  "A system with this User-ID is actually running.      ",
                              "Delete User-ID|Do you really want to remove User-ID 7  ?" + CRLF +
                                  "If you confirm, all Bookings for the User will be deleted !"}));
        QCOMPARE(s.p.meldungen[0].symbol, Symbol::Stopp);
        QCOMPARE(s.p.meldungen[1].knöpfe, Knöpfe::JaNein);
        QCOMPARE(s.Stand(), Standort::Anfangsstand());
        QVERIFY(!s.t.Existiert("global/QK_IDMAP.BAK") && !s.t.Existiert("lib/Bookdata.log"));
        QVERIFY(!f.mnu_Rückgängig->isEnabled() && !s.z.UserEntfernt);

        // Yes, with an unsaved edit of another user; one listed Library cannot be reached.
        s.z.IdmapListe[3].UserName = "unsaved edit";
        s.z.Geändert = true;
        s.p.meldungen.clear();
        s.Entfernen(f, 1);
        QCOMPARE(Gezeigt(s.p).value(1),
                 "mnu_UserLöschen_Error|Path:  ''" + fehlt + "''  not found !");
        QVERIFY(!s.t.Existiert("gone"));
        // The map is saved first, the user still in it, the edit too.
        QCOMPARE(s.t.Lesen("global/QK_IDMAP.BAK"), map);
        QList<IdmapEintrag> vorher = s.z.IdmapListe;
        vorher[1].Status.clear();
        QCOMPARE(s.t.Lesen("global/QK_IDMAP.NET"), Idmap_Bytes(vorher));
        // The bookings of user 7, and only those, are free; each changed file has its backup.
        QCOMPARE(s.Stand(),
                 (QList<QByteArray>{test::Freigegeben(Standort::L1_12(), {5, 9}), Standort::L2_01(),
                                    test::Freigegeben(Standort::L3_03(), {0}),
                                    test::Freigegeben(Standort::L3_04(), {255})}));
        QCOMPARE(s.Stand("BOOKDATA.BAK"),
                 (QList<QByteArray>{Standort::L1_12(), {}, Standort::L3_03(), Standort::L3_04()}));
        // Undo lists of this removal only, and one block in each log.
        QCOMPARE(s.Rückgängig_Liste(1), "IDX00012\t5\t7\t3\r\nIDX00012\t9\t7\t12\r\n" + CRLF);
        QCOMPARE(s.Rückgängig_Liste(2), CRLF);
        QStringList liste3 = s.Rückgängig_Liste(3).split(CRLF);
        liste3.sort();
        QCOMPARE(liste3, (QStringList{"", "", "IDX00003\t0\t7\t1", "IDX00004\t255\t7\t2"}));
        for (int lib = 1; lib <= 3; ++lib) {
            const QString log = s.Log(lib);
            QCOMPARE(Blöcke(log), 1);
            for (const QString& teil :
                 {"Library: " + s.libs[lib - 1] + CRLF, "Function: &Remove User" + CRLF,
                  QStringLiteral("*** Bookings for User-ID 7 ***")})
                QVERIFY2(log.contains(teil), qPrintable(teil));
        }
        QVERIFY(s.Log(1).contains("IDX00012\t5\t7\t\t3\r\nIDX00012\t9\t7\t\t12\r\n"));
        QVERIFY(s.Log(1).contains("Deleted: 2Booking(s): " + CRLF + "Status: OK" + CRLF +
                                  "Written: 4096 Bytes in 1 file(s) (BOOKDATA.NET)"));
        QVERIFY(s.Log(2).endsWith("No bookings for User-ID 7." + CRLF + CRLF +
                                  "User-ID 7 deleted !" + CRLF + CRLF + CRLF));
        QVERIFY(s.Log(3).contains("Written: 8192 Bytes in 2 file(s) (BOOKDATA.NET)"));
        QCOMPARE(Standort::Ergebnis(f), "User-ID 7 removed !|3 Libraries." + CRLF + CRLF +
                                            "4 Booking(s) in 3 file(s) deleted !|OK");
        QCOMPARE(s.z.Gelöscht_LibListe, s.libs);
        QCOMPARE(s.Spalte(f.lstv_Idmap), QStringList({"1", "12", "23", "254"}));
        QVERIFY(s.z.UserEntfernt && s.z.Geändert && s.z.Buchungen_Entfernt);
        QVERIFY(f.mnu_Rückgängig->isEnabled() && f.mnu_Speichern->isEnabled());
        QCOMPARE(s.z.LibPath, s.lib);

        // The removed, unsaved user is still in the report, with the edit from memory.
        QVERIFY(f.Befehl_Ausführen(f.mnu_Zwischenablage));
        QString soll = "*************** QK_IDMAP.NET ***************\r\n";
        for (const QString n : {"1", "7", "12", "23", "254"})
            soll += n + '\t' + (n == "23" ? "unsaved edit" : "U" + n) + "\tPC" + n + "\tC:\\L" + n +
                    "\\\r\n";
        QCOMPARE(s.p.zwischenablage, soll);

        // Since the removal user 12 has booked a box that user 7 held, and is selected now.
        s.t.Datei(Standort::Datei(1, "IDX00012"), test::Bookdata({{9, 12, 1}, {20, 12, 1}}));
        s.Klicken(f.lstv_Idmap, 1);
        s.p.meldungen.clear();
        f.Messages_Entladen();
        QVERIFY(f.Befehl_Ausführen(f.mnu_Rückgängig));
        QVERIFY(s.p.meldungen.isEmpty());
        // Box 5 is back; box 9 keeps the booking made since.
        QList<QByteArray> zurück = Standort::Anfangsstand();
        zurück[0] = test::Bookdata({{5, 7, 3}, {9, 12, 1}, {20, 12, 1}});
        QCOMPARE(s.Stand(), zurück);
        for (int lib = 1; lib <= 3; ++lib) {
            const QString block = Letzter_Block(s.Log(lib));
            QCOMPARE(Blöcke(s.Log(lib)), 2);
            for (const QString& teil :
                 {"Library: " + s.libs[lib - 1] + CRLF + "Date: 06.12.2026\t",
                  "Funktion: Un&do" + CRLF,
                  " ************** Restored bookings for User-ID 7 **************" + CRLF})
                QVERIFY2(block.contains(teil), qPrintable(teil));
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
        QCOMPARE(Standort::Ergebnis(f), "Undone the deleting of bookings !|" + CRLF +
                                            "4 Booking(s) in 3 file(s) restored !|OK");
        QCOMPARE(s.Spalte(f.lstv_Idmap), QStringList({"1", "7", "12", "23", "254"}));
        QCOMPARE(s.t.Lesen("global/QK_IDMAP.NET"), Idmap_Bytes(s.z.IdmapListe));
        QCOMPARE(int(s.z.UserNr), 12);
        QVERIFY(!s.z.UserEntfernt && !s.z.Buchungen_Entfernt && !s.z.Geändert);
        QVERIFY(!f.mnu_Rückgängig->isEnabled() && !f.mnu_Speichern->isEnabled());

        // A user without bookings: removed, undone by name, removed again and saved; the
        // closing note then comes with every later save and removal.
        f.Messages_Entladen();
        s.Entfernen(f, 4); // 254
        QCOMPARE(Standort::Ergebnis(f),
                 "User-ID 254 removed !|" + CRLF + "No Bookings for User-ID 254 .|OK");
        QVERIFY(!s.z.Buchungen_Entfernt && f.mnu_Rückgängig->isEnabled());
        QCOMPARE(s.Stand(), zurück);
        for (int lib = 1; lib <= 3; ++lib) {
            QVERIFY(s.Log(lib).endsWith("No bookings for User-ID 254." + CRLF + CRLF +
                                        "User-ID 254 deleted !" + CRLF + CRLF + CRLF));
            QCOMPARE(s.Rückgängig_Liste(lib), CRLF);
        }
        s.Klicken(f.lstv_Idmap, 0);
        f.Messages_Entladen();
        QVERIFY(f.Befehl_Ausführen(f.mnu_Rückgängig));
        QCOMPARE(Standort::Ergebnis(f),
                 "User-ID 254 restored !|" + CRLF + "No Bookings for User-ID 254 .|OK");
        QVERIFY(s.Log(3).endsWith("User-ID 254 restored !" + CRLF + CRLF + CRLF));
        QCOMPARE(int(s.z.UserNr), 1);
        f.Messages_Entladen();
        s.Entfernen(f, 4);
        s.p.meldungen.clear();
        s.p.antworten = {Antwort::Ja};
        QVERIFY(f.Befehl_Ausführen(f.mnu_Speichern));
        QCOMPARE(Gezeigt(s.p).value(1),
                 "Removed user|                   You have removed a user from the booking "
                 "system." +
                     CRLF +
                     "Please delete the file \"QK_LOCAL.NET\" in the program folder of TAVLO, "
                     "too !");
        QCOMPARE(s.p.meldungen[1].symbol, Symbol::Stopp);
        QCOMPARE(s.t.Lesen("global/QK_IDMAP.NET").size(), 4 * IDMAP_SATZ);
        QVERIFY(!s.z.Geändert);
        s.z.Geändert = true;
        s.p.antworten = {Antwort::Ja};
        QVERIFY(f.Befehl_Ausführen(f.mnu_Speichern));
        f.Messages_Entladen();
        s.Entfernen(f, 3); // 23
        QCOMPARE(s.p.Titel(),
                 (QStringList{"Save", "Removed user", "Save", "Removed user", "Delete User-ID",
                              "Removed user", "mnu_UserLöschen_Error"}));
    }

    void undoAfterDeletionByIndex() {
        Standort s;
        s.Buchungen_Anlegen();
        Idmap_frm1 f(s.z);
        s.Zeigen(f);
        // A removal still pending and unsaved: Undo now concerns the later deletion only, and
        // the map is not part of it.
        s.Entfernen(f, 4); // 254
        f.Messages_Entladen();
        s.p.meldungen.clear();
        const QByteArray liste = Idmap_Bytes(s.z.IdmapListe);
        Index_Löschen(s.z, f, "idx00012");
        QCOMPARE(s.Lesen(1, "IDX00012"), test::Freigegeben(Standort::L1_12(), {5, 9, 20}));
        // Since the deletion user 23 has booked box 20.
        s.t.Datei(Standort::Datei(1, "IDX00012"), test::Bookdata({{20, 23, 9}}));
        QVERIFY(f.Befehl_Ausführen(f.mnu_Rückgängig));
        QVERIFY(s.p.meldungen.isEmpty());
        QCOMPARE(s.Lesen(1, "IDX00012"), test::Bookdata({{5, 7, 3}, {9, 7, 12}, {20, 23, 9}}));
        const QString block = Letzter_Block(s.Log(1));
        QVERIFY(block.contains("Funktion: Un&do\r\n"));
        QVERIFY(block.contains("Restored bookings for User-ID 0 "));
        QVERIFY(block.contains("idx00012\t20\t12\t\t1" + CRLF));
        QVERIFY(block.contains("Restored: 3Booking(s) in 1 file(s) (BOOKDATA.NET)" + CRLF +
                               "Status: Error" + CRLF));
        QCOMPARE(s.Stand().mid(1), Standort::Anfangsstand().mid(1));
        QCOMPARE(Blöcke(s.Log(3)), 1);
        QCOMPARE(Standort::Ergebnis(f), "Undone the deleting of bookings !|" + CRLF +
                                            "3 Booking(s) in 1 file(s) restored !|OK");
        QCOMPARE(Idmap_Bytes(s.z.IdmapListe), liste);
        QVERIFY(s.z.Geändert && s.z.UserEntfernt && f.mnu_Speichern->isEnabled());
        QVERIFY(!f.mnu_Rückgängig->isEnabled());
    }

    void saveAnswersAndClipboard() {
        Umgebung u;
        const QByteArray map =
            test::Idmap_Satz(1, "ANNA", "PC01", "C:\\CAD\\") + test::Idmap_Satz(2, "");
        u.t.Datei("global/QK_IDMAP.NET", map);
        u.Library();
        u.Speichern(u.global, u.lib);
        u.t.Datei("global/_!qkA002", {});
        Idmap_frm1 f(u.z);
        QCOMPARE(u.z.IdmapListe[1].Status, QStringLiteral("A"));
        // Nothing changed: Save asks nothing and writes nothing.
        f.mnu_Speichern->setEnabled(true);
        QVERIFY(f.Befehl_Ausführen(f.mnu_Speichern));
        QVERIFY(u.p.meldungen.isEmpty() && !f.mnu_Speichern->isEnabled());
        // No, Cancel, and Yes on a full disk leave the file as it was and the change unsaved.
        u.z.IdmapListe[1].UserName = "BERT";
        u.z.Geändert = true;
        datei::Fehlerhaken_Setzen([](datei::Vorgang v, const QString&) {
            if (v == datei::Vorgang::Ersetzen)
                throw Fehler(FEHLER_DATENTRAEGER_VOLL);
        });
        for (const Antwort a : {Antwort::Nein, Antwort::Abbrechen, Antwort::Ja}) {
            f.mnu_Speichern->setEnabled(true);
            u.p.antworten = {a};
            QVERIFY(f.Befehl_Ausführen(f.mnu_Speichern));
            QCOMPARE(f.mnu_Speichern->isEnabled(), a == Antwort::Ja);
        }
        QCOMPARE(u.p.Titel(), (QStringList{"Save", "Save", "Save", "Qk_Idmap_Speichern_Error"}));
        QCOMPARE(u.p.meldungen[0].text, QStringLiteral("Do you want to save the settings ?"));
        QCOMPARE(u.p.meldungen[0].knöpfe, Knöpfe::JaNeinAbbrechen);
        QCOMPARE(u.t.Lesen("global/QK_IDMAP.NET"), map);
        QVERIFY(u.z.Geändert && !u.t.Existiert("global/QK_IDMAP.BAK"));
        datei::Fehlerhaken_Setzen({});
        u.p.antworten = {Antwort::Ja};
        QVERIFY(f.Befehl_Ausführen(f.mnu_Speichern));
        QCOMPARE(u.t.Lesen("global/QK_IDMAP.NET"), Idmap_Bytes(u.z.IdmapListe));
        QCOMPARE(u.t.Lesen("global/QK_IDMAP.BAK"), map);
        QVERIFY(!u.z.Geändert && !f.mnu_Speichern->isEnabled());

        // The clipboard report, from memory; without users the heading alone; a clipboard
        // that fails is reported.
        u.z.IdmapListe[1].UserName.clear();
        const QString kopf = "*************** QK_IDMAP.NET ***************\r\n";
        QVERIFY(f.Befehl_Ausführen(f.mnu_Zwischenablage));
        QCOMPARE(u.p.zwischenablage, kopf + "1\tANNA\tPC01\tC:\\CAD\\\r\n2\t\t\t\r\n");
        u.z.IdmapListe.clear();
        QVERIFY(f.Befehl_Ausführen(f.mnu_Zwischenablage));
        QCOMPARE(u.p.zwischenablage, kopf);
        u.p.meldungen.clear();
        u.p.zwischenablageFehler = 5;
        QVERIFY(f.Befehl_Ausführen(f.mnu_Zwischenablage));
        QCOMPARE(Gezeigt(u.p), QStringList{"mnu_Zwischenablage_Error|Error when copying to the "
                                           "clipboard.\r\nError number: 5"});
    }
};

QTEST_MAIN(TestBenutzer)
#include "test_benutzer.moc"
