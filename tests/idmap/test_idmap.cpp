#include "fehlerstelle.h"
#include "idmap/idmap_datei.h"
#include "idmap/logins.h"
#include "idmap/user_info_frm1.h"
#include "idmap/zwischenablage.h"
#include "standort.h"

#include <QLineEdit>
#include <QTimer>

using namespace qk;
using test::Standort;
using test::Umgebung;

namespace {

const QString CRLF = QStringLiteral("\r\n"), ENDE = CRLF + CRLF + CRLF;
const QString TITEL = QStringLiteral("*                     BOOKDATA.LOG");

// Lets `antwort` answer each modal window of type D that a command opens, as a user would.
template <typename D, typename F> void Antworten(QTimer& uhr, F antwort) {
    QObject::connect(&uhr, &QTimer::timeout, [antwort] {
        if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget()))
            antwort(*d);
    });
    uhr.start(5);
}

} // namespace

class TestIdmap : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { test::Nachräumen(); }

    // Only live records reach the map (the 1562 bytes of two records), each byte as it was
    // read, a text that is too long keeps its NUL; the clipboard report lists every record,
    // and a failed copy is told. Windows-1252 beyond Latin-1, with bytes it leaves undefined.
    void writesMapAndReport() {
        Umgebung u;
        const QByteArray anna =
            test::Idmap_Satz(3, "ANNA \x80\x8A", "PC\x81\x9F", "C:\\\x93\x9D\\");
        u.z.IdmapListe = Idmap_Zerlegen(anna + test::Idmap_Satz(7, "BERT", "PC07", "C:\\") +
                                        test::Idmap_Satz(9, "CARL"))
                             .liste;
        u.z.IdmapListe[1].Status = "DEL";
        u.z.IdmapListe[2].Status = "A";
        QCOMPARE(Idmap_Bytes(u.z.IdmapListe), anna + test::Idmap_Satz(9, "CARL"));
        QCOMPARE(Idmap_Bytes({{QString(), 5, QString(300, 'x'), {}, {}}}).mid(1, 260),
                 QByteArray(259, 'x') + '\0');
        mnu_Zwischenablage_Click(u.z);
        QCOMPARE(u.p.zwischenablage,
                 "*************** QK_IDMAP.NET ***************\r\n3\tANNA \u20AC\u0160\tPC\u0081"
                 "\u0178\tC:\\\u201C\u009D\\\r\n7\tBERT\tPC07\tC:\\\r\n9\tCARL\t\t\r\n");
        u.p.zwischenablageFehler = 5;
        mnu_Zwischenablage_Click(u.z);
        QCOMPARE(u.p.Gezeigt(), QStringList{"mnu_Zwischenablage_Error|Error when copying to the "
                                            "clipboard.\r\nError number: 5"});
    }

    // Reading stops at a letter; no number is user 0; above 255 counts but names nobody. A
    // removed user with a marker comes back. Without the map nothing changes.
    void logins() {
        // case|markers|users 7, 12, 30 before: '-', 'A' or 'D' (removed)|after|logins counted
        for (const char* zeile :
             {"007|_!qkA007,_!qk_012,anderes.txt|---|AA-|2", "upper-case prefix|_!QKA030|---|---|0",
              "7x1, letters, 300|_!qkX7x1,_!qkXabc,_!qkX300,_!qkX 12|---|AA-|4",
              "old logins, removed user|_!qkA030|ADD|-DA|1", "no map|_!qkA007,-|-A-|-A-|5"}) {
            const QStringList t = QString::fromLatin1(zeile).split('|');
            Umgebung o;
            if (!t[1].split(',').contains("-"))
                o.t.Datei("global/QK_IDMAP.NET", "");
            for (const QString& m : t[1].split(','))
                o.t.Datei("global/" + m, "");
            o.z.GlobalPath = o.global;
            o.z.LoginAnzahl = 5;
            for (int i = 0; i < 3; ++i)
                o.z.IdmapListe.append({QString(t[2][i]).replace("D", "DEL").remove('-'),
                                       quint8(QList<int>{7, 12, 30}[i]), "", "", ""});
            UserLogins_Ermitteln(o.z);
            QString stand = t.mid(0, 3).join('|') + '|';
            for (const IdmapEintrag& e : o.z.IdmapListe)
                stand += e.Status.isEmpty() ? QChar('-') : e.Status[0];
            stand +=
                '|' + QString::number(o.z.LoginAnzahl) + (o.p.meldungen.isEmpty() ? "" : "|told");
            QCOMPARE(stand, QString::fromLatin1(zeile));
        }
    }

    void editUser_data() {
        QTest::addColumn<QStringList>("eingabe"); // ID, name, PC, path; null: left as it is
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<QString>("meldung");  // title|text
        QTest::addColumn<QStringList>("satz"); // the record afterwards; empty: unchanged
        QTest::addColumn<bool>("doppelt");     // the record before it has its ID, too
        const auto zeile = [](const QString& name, const QStringList& eingabe, const char* knopf,
                              const QString& meldung, const QStringList& satz = {},
                              bool doppelt = false) {
            QTest::newRow(qPrintable(name))
                << eingabe << QString(knopf) << meldung << satz << doppelt;
        };
        zeile("Cancel", {{}, "x"}, "cmd_Abbrechen", "");
        zeile("double click", {"98"}, "double click", "", {"98", "U12", "PC12", "C:\\L12\\", ""});
        // A map written by hand: the second record of an ID can be corrected.
        zeile("double click, ID twice", {{}, "x"}, "double click", "",
              {"12", "x", "PC12", "C:\\L12\\", ""}, true);
        zeile("OK, blanks and half", {" 100.5 ", " a ", "", "E:\\X\\"}, "cmd_OK", "",
              {"100", " a ", "", "E:\\X\\", ""});
        // Windows-1252 beyond Latin-1, and a byte it leaves undefined: one byte each.
        const QString oben =
            QString::fromUtf8("\u20AC\u0081\u0160\u017D\u201C\u0178\u2122").repeated(37);
        zeile("259 upper half", {{}, oben}, "cmd_OK", "", {"12", oben, "PC12", "C:\\L12\\", ""});
        for (int i = 1; i < 4; ++i)
            zeile("\u0141 in field " + QString::number(i),
                  QStringList(i) << QString::fromUtf8("\u0141ukasz \u4E2D"), "cmd_OK",
                  "User-Informations|This text contains characters that QK_IDMAP.NET cannot "
                  "hold:\r\n\u0141ukasz \u4E2D");
        for (const char* id : {"0", "255", "-1", "254.6", "0.4", "1e3", "1e999"})
            zeile(id, {id, "x"}, "cmd_OK",
                  "User-Informations|The User-ID must be a number from 1 to 254.");
        // 1 is a removed user's, not saved yet: Undo would bring it back; 99 a record's that
        // the reader kept behind the list.
        for (const char* id : {"7", "253.5", "+7", "1", ".6", "99"})
            zeile(id, {id, "x"}, "cmd_OK",
                  "User-Informations|Another user already has this User-ID.");
        for (int i = 1; i < 4; ++i)
            zeile("260 in field " + QString::number(i), QStringList(i) << QString(260, QChar(0xE4)),
                  "cmd_OK",
                  "User-Informations|User-Name, PC-Name and Local Directory may have at most 259 "
                  "characters each.");
        for (const char* id :
             {"abc", "", "12abc", "1 2", "1.2.3", ".", "5e", "--1", "0x10", "inf", "nan", "１２"})
            zeile(id, {id, "x"}, "cmd_OK",
                  "cmd_OK_Error|Error when editing a User.\r\nError number: 13");
    }
    void editUser() {
        QFETCH(QStringList, eingabe);
        QFETCH(QString, knopf);
        QFETCH(QString, meldung);
        QFETCH(QStringList, satz);
        QFETCH(bool, doppelt);
        Standort u;
        const QByteArray datei = u.t.Lesen("global/QK_IDMAP.NET");
        Idmap_frm1 f(u.z);
        QTreeWidget* l = f.lstv_Idmap;
        // A record marked removed before the row makes row and record index differ.
        u.z.IdmapListe[0].Status = "DEL";
        u.z.IdmapListe[1].ID = doppelt ? 12 : 7;
        // Kept behind the list: the edited record's own 12, 99, and after the end 98.
        u.z.Idmap_Rest = test::Idmap_Satz(12, "R") + test::Idmap_Satz(99, "R") +
                         test::Idmap_Satz(0, "") + QByteArray(1, 98);
        f.IdmapListe_In_Liste_Übertragen();
        u.Zeigen(f);
        u.Klicken(l, 1); // ID 12
        QStringList texte;
        QTimer uhr;
        Antworten<User_Info_frm1>(uhr, [&](User_Info_frm1& d) {
            uhr.stop();
            // Typed as a user would; long or non-ASCII texts are pasted.
            const QList<QLineEdit*> felder{d.txt_ID, d.txt_UserName, d.txt_PCName, d.txt_LocalPath};
            for (int i = 0; i < 4; ++i) {
                const QString neu = eingabe.value(i);
                texte << felder[i]->text();
                if (neu.size() > 20 || neu.toLatin1() != neu.toUtf8())
                    felder[i]->setText(neu);
                else if (!neu.isNull())
                    felder[i]->clear(), QTest::keyClicks(felder[i], neu);
            }
            (knopf == "cmd_Abbrechen" ? d.cmd_Abbrechen : d.cmd_OK)->click();
            // A refused entry is told and keeps the dialog open.
            texte << u.p.Gezeigt();
            if (d.isVisible())
                texte << "open", d.reject();
        });
        if (knopf == "double click")
            QTest::mouseDClick(l->viewport(), Qt::LeftButton, {},
                               l->visualItemRect(l->topLevelItem(1)).center());
        else
            QVERIFY(f.Befehl_Ausführen(f.mnu_UserÄndern));
        QVERIFY(QTest::qWaitFor([&] { return !texte.isEmpty(); }, 1000));
        QCOMPARE(texte, QStringList({"12", "U12", "PC12", "C:\\L12\\"}) +
                            (meldung.isEmpty() ? QStringList() : QStringList{meldung, "open"}));
        // The record and its row; a refused or cancelled entry leaves both as they were.
        if (satz.isEmpty())
            satz = QStringList{"12", "U12", "PC12", "C:\\L12\\", ""};
        const IdmapEintrag& e = u.z.IdmapListe[2];
        QStringList zeile{QString::number(e.ID), e.UserName, e.PCName, e.LocalPath, e.Status};
        for (int s = 0; s < 5; ++s)
            zeile << u.Spalte(l, s)[1];
        QCOMPARE(zeile, satz + satz);
        // OK marks the map changed before it reads a field; any way out enables Save.
        QVERIFY(u.z.Geändert == (knopf != "cmd_Abbrechen") && f.mnu_Speichern->isEnabled());
        QCOMPARE(u.t.Lesen("global/QK_IDMAP.NET"), datei); // memory only, until a save
        // The row stays chosen, and the next command acts on its record.
        QCOMPARE(l->selectedItems(), QList<QTreeWidgetItem*>{l->topLevelItem(1)});
        QVERIFY(f.Befehl_Ausführen(f.mnu_UserLöschen)); // answered No
        QVERIFY(u.p.meldungen.last().text.startsWith("Do you really want to remove User-ID " +
                                                     satz[0] + "  ?"));
    }

    // A run of the user commands: Remove User over the listed Libraries (user 7 has bookings
    // in the first and third, none in the second, and one listed Library is out of reach), the
    // report, Save, and Undo after a removal and after a deletion by index.
    void removeSaveAndUndoOverARun() {
        Standort s;
        s.Buchungen_Anlegen();
        const QString fehlt = s.t.Pfad() + "gone/";
        s.Libraries_Eintragen({s.lib, s.libs[1], fehlt, s.libs[2]});
        const QByteArray map = s.t.Lesen("global/QK_IDMAP.NET");
        Idmap_frm1 f(s.z);
        s.Zeigen(f);
        // Nothing changed yet: Save asks nothing and writes nothing.
        f.mnu_Speichern->setEnabled(true);
        QVERIFY(f.Befehl_Ausführen(f.mnu_Speichern));
        QVERIFY(s.p.meldungen.isEmpty() && !f.mnu_Speichern->isEnabled());
        // Logged in after the list was read: the command looks again and refuses.
        const QString marke = s.t.Datei("global/_!qkA007", {});
        s.Entfernen(f, 1);
        QFile::remove(marke);
        s.Entfernen(f, 1, Antwort::Nein);
        QCOMPARE(s.p.Gezeigt(),
                 (QStringList{"User-ID 7|Cannot remove User-ID 7  ! " + CRLF +
                                  "A system with this User-ID is actually running.      ",
                              "Delete User-ID|Do you really want to remove User-ID 7  ?" + CRLF +
                                  "If you confirm, all Bookings for the User will be deleted !"}));
        QVERIFY(s.p.meldungen[0].symbol == Symbol::Stopp &&
                s.p.meldungen[1].knöpfe == Knöpfe::JaNein);
        QVERIFY(!s.t.Existiert("global/QK_IDMAP.BAK") && !s.t.Existiert("lib/Bookdata.log"));
        QVERIFY(s.Stand() == Standort::Anfangsstand() && !s.z.UserEntfernt);

        // Yes, with an unsaved edit of another user.
        s.z.IdmapListe[3].UserName = "unsaved edit";
        s.z.Geändert = true;
        s.p.meldungen.clear();
        s.Entfernen(f, 1);
        QCOMPARE(s.p.Gezeigt().value(1),
                 "mnu_UserLöschen_Error|File  ''" + fehlt + "LIBINFO.SYS''  not found !");
        // The map is saved first, the user still in it, the edit too.
        QCOMPARE(s.t.Lesen("global/QK_IDMAP.BAK"), map);
        QList<IdmapEintrag> vorher = s.z.IdmapListe;
        vorher[1].Status.clear();
        QCOMPARE(s.t.Lesen("global/QK_IDMAP.NET"), Idmap_Bytes(vorher));
        // An earlier undo list is replaced; one log block in each Library, with its own totals.
        QCOMPARE(s.Rückgängig_Liste(2), CRLF);
        for (int lib = 1; lib <= 3; ++lib)
            QVERIFY(s.Log(lib).count(TITEL) == 1 &&
                    s.Log(lib).contains("Library: " + s.libs[lib - 1] + CRLF));
        QVERIFY(s.Log(1).contains("Function: &Remove User" + CRLF) &&
                s.Log(2).endsWith("User-ID 7 deleted !" + ENDE));
        QVERIFY(s.Log(3).contains("Written: 8192 Bytes in 2 file(s) (BOOKDATA.NET)"));
        QCOMPARE(Standort::Ergebnis(f), "User-ID 7 removed !|3 Libraries." + CRLF + CRLF +
                                            "4 Booking(s) in 3 file(s) deleted !" + CRLF + CRLF +
                                            "Not reached or not finished (see the messages "
                                            "before):" +
                                            CRLF + fehlt + "|OK");
        QCOMPARE(s.Spalte(f.lstv_Idmap), QStringList({"1", "12", "23", "254"}));
        QVERIFY(s.z.UserEntfernt && s.z.Geändert && s.z.Buchungen_Entfernt && s.z.LibPath == s.lib);
        QVERIFY(f.mnu_Rückgängig->isEnabled() && f.mnu_Speichern->isEnabled());

        // The removed, unsaved user is still in the report, with the edit from memory.
        QVERIFY(f.Befehl_Ausführen(f.mnu_Zwischenablage));
        QVERIFY(s.p.zwischenablage.contains("\r\n7\tU7\tPC7\tC:\\L7\\\r\n12\tU12\t") &&
                s.p.zwischenablage.contains("\n23\tunsaved edit\tPC23\t"));

        // Since the removal user 12 has booked a box that user 7 held, and is selected now.
        s.t.Datei(Standort::Datei(1, "IDX00012"), test::Bookdata({{9, 12, 1}, {20, 12, 1}}));
        s.Klicken(f.lstv_Idmap, 1);
        s.p.meldungen.clear();
        f.Messages_Entladen();
        QVERIFY(f.Befehl_Ausführen(f.mnu_Rückgängig));
        QVERIFY(s.p.meldungen.isEmpty());
        // Box 5 is back; box 9 keeps the booking made since, and the log says so.
        QList<QByteArray> zurück = Standort::Anfangsstand();
        zurück[0] = test::Bookdata({{5, 7, 3}, {9, 12, 1}, {20, 12, 1}});
        QCOMPARE(s.Stand(), zurück);
        QVERIFY(s.Log(1).contains("Funktion: Un&do" + ENDE +
                                  " ************** Restored bookings for User-ID 7 "));
        // The counts are of the boxes put back and the files written.
        QVERIFY(s.Log(1).endsWith("Restored: 1Booking(s) in 1 file(s) (BOOKDATA.NET)" + CRLF +
                                  "Status: Error" + ENDE));
        QVERIFY(s.Log(2).endsWith("User-ID 7 restored !" + ENDE));
        QVERIFY(s.Log(3).endsWith("Restored: 2Booking(s) in 2 file(s) (BOOKDATA.NET)" + CRLF +
                                  "Status: OK" + ENDE));
        QCOMPARE(Standort::Ergebnis(f), "Undone the deleting of bookings !|" + CRLF +
                                            "3 Booking(s) in 3 file(s) restored !|OK");
        QCOMPARE(s.Spalte(f.lstv_Idmap), QStringList({"1", "7", "12", "23", "254"}));
        QCOMPARE(s.t.Lesen("global/QK_IDMAP.NET"), Idmap_Bytes(s.z.IdmapListe));
        QVERIFY(s.z.UserNr == 12 && !s.z.UserEntfernt && !s.z.Buchungen_Entfernt && !s.z.Geändert);
        QVERIFY(!f.mnu_Rückgängig->isEnabled() && !f.mnu_Speichern->isEnabled());

        // A user without bookings. No, Cancel and Yes on a full disk then leave the map as it
        // was, the removal unsaved and only the failed Save at hand; Yes saves it. The closing
        // note comes first with every save from now on.
        f.Messages_Entladen();
        s.Entfernen(f, 4); // 254
        QCOMPARE(Standort::Ergebnis(f),
                 "User-ID 254 removed !|" + CRLF + "No Bookings deleted for User-ID 254 ." + CRLF +
                     CRLF + "Not reached or not finished (see the messages before):" + CRLF +
                     fehlt + "|OK");
        QVERIFY(!s.z.Buchungen_Entfernt && s.Rückgängig_Liste(1) == CRLF && s.Stand() == zurück);
        const QByteArray netz = s.t.Lesen("global/QK_IDMAP.NET");
        s.p.meldungen.clear();
        for (int i = 0; i < 5; ++i) {
            f.mnu_Speichern->setEnabled(true);
            s.z.Geändert = true;
            s.p.antworten = {i == 0 ? Antwort::Nein : i == 1 ? Antwort::Abbrechen : Antwort::Ja};
            {
                test::Fehlerstelle voll(i == 2 ? "QK_IDMAP.NET" : "-", FEHLER_DATENTRAEGER_VOLL);
                QVERIFY(f.Befehl_Ausführen(f.mnu_Speichern));
            }
            QCOMPARE(s.t.Lesen("global/QK_IDMAP.NET") == netz, i < 3);
            QCOMPARE(s.z.Geändert, i < 3);
            QCOMPARE(f.mnu_Speichern->isEnabled(), i == 2);
            QVERIFY(i != 3 || (s.t.Lesen("global/QK_IDMAP.BAK") == netz &&
                               s.t.Lesen("global/QK_IDMAP.NET").size() == 4 * IDMAP_SATZ));
        }
        const QString frage = "Save|Do you want to save the settings ?",
                      notiz = "Removed user|                   You have removed a user from the "
                              "booking system.\r\nPlease delete the file \"QK_LOCAL.NET\" in "
                              "the program folder of TAVLO, too !";
        QCOMPARE(s.p.Gezeigt(), QStringList(3, frage)
                                    << notiz
                                    << "Qk_Idmap_Speichern_Error|Error when saving  ''" + s.global +
                                           "QK_IDMAP.NET''\r\nError number: 61"
                                    << frage << notiz << frage << notiz);
        QVERIFY(s.p.meldungen[0].knöpfe == Knöpfe::JaNeinAbbrechen &&
                s.p.meldungen[3].symbol == Symbol::Stopp);
        f.Messages_Entladen();

        // A deletion by index while that removal is pending joins it: one Undo brings back the
        // user (whom the map on disk no longer holds) and the bookings of both. User 23 books
        // box 20 in between.
        QTimer uhr;
        Antworten<Messages_frm1>(uhr, [](Messages_frm1& m) {
            m.txt_Eingabe->isVisible() ? QTest::keyClicks(m.txt_Eingabe, "12\r")
                                       : m.cmd_OK_2->click();
        });
        QVERIFY(f.Befehl_Ausführen(f.mnu_AlleBuchungenLöschen));
        QCOMPARE(s.Rückgängig_Liste(1),
                 "idx00012\t5\t7\t3\r\nidx00012\t9\t12\t1\r\nidx00012\t20\t12\t1\r\n\r\n");
        s.t.Datei(Standort::Datei(1, "IDX00012"), test::Bookdata({{20, 23, 9}}));
        s.p.meldungen.clear();
        f.Messages_Entladen();
        QVERIFY(f.Befehl_Ausführen(f.mnu_Rückgängig));
        QVERIFY(s.p.meldungen.isEmpty());
        QCOMPARE(s.Lesen(1, "IDX00012"), test::Bookdata({{5, 7, 3}, {9, 12, 1}, {20, 23, 9}}));
        QCOMPARE(s.Stand().mid(1), zurück.mid(1));
        QVERIFY(s.Log(1).contains("Funktion: Un&do" + ENDE +
                                  " ************** Restored bookings for User-ID 254 "));
        QVERIFY(s.Log(1).endsWith("Restored: 2Booking(s) in 1 file(s) (BOOKDATA.NET)" + CRLF +
                                  "Status: Error" + ENDE));
        QVERIFY(s.Log(3).endsWith("User-ID 254 restored !" + ENDE));
        QCOMPARE(Standort::Ergebnis(f), "Undone the deleting of bookings !|" + CRLF +
                                            "2 Booking(s) in 1 file(s) restored !|OK");
        QCOMPARE(s.Spalte(f.lstv_Idmap), QStringList({"1", "7", "12", "23", "254"}));
        QVERIFY(s.z.Geändert && !s.z.UserEntfernt && f.mnu_Speichern->isEnabled());
        QVERIFY(!f.mnu_Rückgängig->isEnabled() && s.z.Gelöscht_UserNr == 0);
    }
};

QTEST_MAIN(TestIdmap)
#include "test_idmap.moc"
