#include "../bookdata/bookdata_bau.h"
#include "../shell/umgebung.h"
#include "fehlerstelle.h"
#include "platform/fehler.h"
#include "shell/idmap_frm1.h"
#include "views/messages_frm1.h"
#include "views/textanzeige.h"

#include <QtTest>
#include <QtWidgets>

using namespace qk;
using namespace qk::test;

namespace {

// "caption|text" of a message box; one that is not an exclamation with OK is marked.
QString Meldung(const Umgebung& u, const GezeigteMeldung& g) {
    return g.titel + '|' + QString(g.text).replace(u.lib, "<lib>") +
           (g.symbol == Symbol::Ausruf && g.knöpfe == Knöpfe::OK ? "" : "|not OK!");
}

// Five users and a Library with index folders: IDX00003 (box 0 user 7 rev 2, box 4 user 12
// rev 9), IDX00012 (boxes 5, 9, 17, 40, 255 of users 7, 23, 7, 12, 0), IDX00020 (nothing
// booked), IDX00031 (no BOOKDATA.NET).
struct Standort : Umgebung {
    QByteArray idx3 = Bookdata({{0, 7, 2}, {4, 12, 9}});
    QByteArray idx12 = Bookdata({{5, 7, 3}, {9, 23, 0}, {17, 7, 1}, {40, 12, 6}, {255, 0, 4}});

    Standort() {
        Vollständig();
        t.Datei("lib/IDX00003/BOOKDATA.NET", idx3);
        t.Datei("lib/IDX00012/BOOKDATA.NET", idx12);
        t.Datei("lib/IDX00020/BOOKDATA.NET", Bookdata());
        t.Ordner("lib/IDX00031");
    }
    void Wählen(Idmap_frm1& f, int id) {
        Zeigen(f);
        if (const int zeile = QList<int>{1, 7, 12, 23, 254}.indexOf(id); zeile >= 0)
            Klicken(f.lstv_Idmap, zeile);
    }
    QMap<QString, QByteArray> Dateien() const {
        QMap<QString, QByteArray> d;
        QDirIterator it(lib, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString pfad = it.next();
            d.insert(pfad.mid(lib.size()), datei::Lesen(pfad));
        }
        return d;
    }
};

// The bookings window: its rows (folders in the order the walk met them, so sorted here; boxes
// ascending inside each) and labels. Its copies to the clipboard are checked on the way: with
// and without a caption the frame of stars stays, and a failed copy is reported.
void Buchungen_Ansehen(Standort& s, QDialog& d, QStringList& p) {
    const QString titel = d.windowTitle();
    auto* liste = d.findChild<QTreeView*>("lstv_Bookdata");
    const QAbstractItemModel* m = liste->model();
    QStringList zeilen;
    QString ablage = "***** " + titel + " *****\r\n";
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList zellen;
        for (int c = 0; c < m->columnCount(); ++c)
            zellen << m->index(r, c).data().toString();
        zeilen << zellen.join('|');
        ablage += zellen.join('\t') + "\r\n";
    }
    auto* kopieren = d.findChild<QAbstractButton*>("cmd_Zwischenablage");
    kopieren->click();
    QCOMPARE(s.p.zwischenablage, ablage);
    d.setWindowTitle({});
    kopieren->click();
    QCOMPARE(s.p.zwischenablage, ablage.replace(titel, ""));
    s.p.zwischenablageFehler = FEHLER_ZUGRIFF;
    kopieren->click();
    QCOMPARE(p.takeLast(), "cmd_Zwischenablage_Error|Error when copying the bookings to the "
                           "clipboard.\r\nError number: 75");
    std::stable_sort(zeilen.begin(), zeilen.end(), [](const QString& a, const QString& b) {
        return a.section('|', 0, 0) < b.section('|', 0, 0);
    });
    p << zeilen << d.findChild<QLabel*>("lbl_Entries")->text()
      << d.findChild<QLabel*>("lbl_Info")->text();
    QTest::keyClick(liste, Qt::Key_Return);
}

// Runs a command of the main window, answering its windows as a user would, and gives what they
// showed, joined by ';': "caption: text" of the small window (the index dialog gets the next of
// `eingaben`, or Cancel), the bookings window, "caption=text" of the log viewer, "caption|text"
// of each message box. What stays open is cancelled and marked with a leading '!'.
QString Ausführen(Standort& s, Idmap_frm1& f, QAction* punkt, QStringList eingaben = {}) {
    QStringList p; // messages shown before the command, if any, then what it showed
    for (const GezeigteMeldung& g : std::exchange(s.p.meldungen, {}))
        p << Meldung(s, g);
    s.p.beiMeldung = [&](const GezeigteMeldung& g) { p << Meldung(s, g); };
    QPointer<QDialog> letztes;
    QTimer takt;
    QObject::connect(&takt, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (d == nullptr || d == letztes || !d->isVisible())
            return;
        letztes = d;
        p << d->windowTitle();
        if (d->objectName() == "Messages_frm1") {
            auto* feld = d->findChild<QLineEdit*>("txt_Eingabe");
            p.last() += ": " + d->findChild<QLabel*>("lbl_Messages")->text();
            const QString e = feld->isVisible() && !eingaben.isEmpty() ? eingaben.takeFirst() : "";
            if (e != "Cancel")
                QTest::keyClicks(feld, e);
            d->findChild<QAbstractButton*>(!feld->isVisible() ? "cmd_OK_2"
                                           : e == "Cancel"    ? "cmd_Abbrechen"
                                                              : "cmd_OK")
                ->click();
        } else if (d->objectName() == "Log_frm1") {
            auto* text = d->findChild<Textanzeige*>("txt_Log");
            p.last() += '=' + text->Text();
            QTest::keyClick(text, Qt::Key_Escape); // a key the text leaves to its window
        } else if (d->objectName() == "Bookdata_frm1") {
            Buchungen_Ansehen(s, *d, p);
        }
        if (d->isVisible()) {
            p.last().prepend('!');
            d->reject();
        }
    });
    takt.start(5);
    if (!f.Befehl_Ausführen(punkt) || !eingaben.isEmpty())
        p << "!not run, or entries left";
    s.p.beiMeldung = {};
    s.p.meldungen.clear();
    return p.join(';');
}

struct Befehl {
    QString punkt;
    int anwender;          // row clicked first; negative: then the list refreshed
    QStringList eingaben;  // typed into the index dialog
    QString protokoll;     // what the windows and message boxes showed, the prompt left out
    QList<int> boxen = {}; // freed in IDX00012
};

} // namespace

class TestAnsichten : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { test::Nachräumen(); }

    void commands_data() {
        QTest::addColumn<Befehl>("b");
        const auto zeile = [](const char* name, const char* punkt, int anwender,
                              const QStringList& eingaben, const QString& protokoll,
                              const QList<int>& boxen = {}) {
            QTest::newRow(name) << Befehl{"mnu_" + QString(punkt), anwender, eingaben, protokoll,
                                          boxen};
        };
        const QString in20 = " in <lib>idx00020\\BOOKDATA.NET''.";
        const QString alle = "Delete all Bookings for Index....;";
        const QString user = "Delete bookings for User-ID for Index....;";
        const QString keine20 = "No bookings !|No bookings in  ''<lib>idx00020\\BOOKDATA.NET''.";
        zeile("all of user 7", "AlleBuchungen", 7, {},
              "All bookings for User-ID 7;IDX00003|0|7|2;IDX00012|5|7|3;IDX00012|17|7|1;3  "
              "bookings;3 files in 4 folder");
        zeile("all of user 254, none", "AlleBuchungen", 254, {},
              "User-ID 254|No Bookings for User-ID 254 .");
        // After a refresh no row is selected; the last selected user still counts.
        zeile("all of user 12 after a refresh", "AlleBuchungen", -12, {},
              "All bookings for User-ID 12;IDX00003|4|12|9;IDX00012|40|12|6;2  bookings;3 files in "
              "4 folder");
        // Nobody chosen yet: User-ID 0 would mean every user, so nothing is read or deleted.
        zeile("all, nobody chosen", "AlleBuchungen", 0, {},
              "mnu_AlleBuchungen_Error|Error when searching for bookings.\r\nError number: 91");
        zeile("user for index, nobody chosen", "UserBuchungenIndex", 0, {},
              "mnu_UserBuchungenIndex_Error|Error when seaching the bookings for User-ID 0for "
              "Index. \r\nError number: 91");
        zeile("delete for user, nobody chosen", "BuchungenAufUserLöschen", 0, {},
              "mnu_BuchungenAufUserLöschen_Error|Error when deleting the bookings for a User.\r\n"
              "Error number: 91");
        zeile("user 7 in 12", "UserBuchungenIndex", 7, {"12"},
              "Bookings for User for Index....;Bookings to User-ID 7 for Index "
              "idx00012;idx00012|5|7|3;idx00012|17|7|1;2  bookings;");
        zeile("user 23, none in 20", "UserBuchungenIndex", 23, {"20"},
              "Bookings for User for Index....;User-ID 23|No bookings for User-ID 23" + in20);
        zeile("every user in 00012, user byte 0 too", "BuchungenIndex", 7, {"00012"},
              "All bookings for Index....;All bookings for Index idx00012;idx00012|5|7|3;idx00012|"
              "9|23|0;idx00012|17|7|1;idx00012|40|12|6;idx00012|255|0|4;5  bookings;");
        zeile("every user, none in 20", "BuchungenIndex", 0, {"20"},
              "All bookings for Index....;" + keine20);
        zeile("delete every booking of 12", "AlleBuchungenLöschen", 23, {"12"},
              alle + "All bookings in idx00012 removed !: \r\n5 Booking(s) in idx00012 removed !",
              {5, 9, 17, 40, 255});
        zeile("delete user 7 in 12", "BuchungenAufUserLöschen", 7, {"12"},
              user + "All bookings for User-ID 7 removed !: \r\n2 Booking(s) in idx00012 removed !",
              {5, 17});
        zeile("delete user 254, none in 12", "BuchungenAufUserLöschen", 254, {"12"},
              user + "User-ID 254|No bookings for User-ID 254 in <lib>idx00012\\BOOKDATA.NET''.");
        zeile("delete, nothing booked in 20", "AlleBuchungenLöschen", 7, {"20"}, alle + keine20);
    }
    void commands() {
        QFETCH(Befehl, b);
        const int anwender = std::abs(b.anwender);
        Standort s;
        s.t.Datei("lib/_!bookdata.txt", "IDX00003\t0\t7\t2\r\n\r\n");
        Idmap_frm1 f(s.z);
        s.Wählen(f, anwender);
        if (b.anwender < 0) {
            QVERIFY(f.Befehl_Ausführen(f.mnu_Aktualisieren));
            QVERIFY(f.lstv_Idmap->selectedItems().isEmpty());
            s.z.UserNr = 0; // as a query for every user of an index leaves it
        }
        // Undo starts the other way round from where the command must leave it.
        const bool löschen = b.punkt.contains("Löschen"), fehler = b.protokoll.contains("_Error|");
        f.mnu_Rückgängig->setEnabled(!löschen || fehler);
        s.z.Buchungen_Entfernt = true;
        auto soll = s.Dateien();
        // The prompt names the user where the command is about one.
        const QString wer = "for User-ID " + QString::number(anwender) + (löschen ? " " : "  ");
        if (!b.eingaben.isEmpty())
            b.protokoll.insert(b.protokoll.indexOf(';'),
                               ": Please enter the Index for which all bookings " +
                                   (b.punkt.contains("User") ? wer : "") + "should be " +
                                   (löschen ? "deleted." : "displayed."));
        QCOMPARE(Ausführen(s, f, f.findChild<QAction*>(b.punkt), b.eingaben), b.protokoll);
        QCOMPARE(s.z.Fortschritt, nullptr);
        QVERIFY(!s.z.Buchungsinfo_Setzen); // nothing left pointing at a closed window

        // A deletion frees exactly those boxes, backs the old file up, replaces the undo list
        // and logs one block; nothing else changes.
        if (!b.boxen.isEmpty()) {
            QByteArray frei = s.idx12, undo;
            for (int box : b.boxen) {
                frei = Freigegeben(frei, {box});
                const auto n = [&](int i) { return QByteArray::number(quint8(s.idx12[i])); };
                undo += "idx00012\t" + QByteArray::number(box) + '\t' + n(box * 16) + '\t' +
                        n(box * 16 + 1) + "\r\n";
            }
            const bool alle = b.punkt == "mnu_AlleBuchungenLöschen";
            soll["IDX00012/BOOKDATA.NET"] = frei;
            soll["IDX00012/BOOKDATA.BAK"] = s.idx12;
            soll["_!bookdata.txt"] = undo + "\r\n";
            // One log block, spot-checked: its bytes are pinned where it is written.
            const QByteArray log = soll["Bookdata.log"] = s.t.Lesen("lib/Bookdata.log");
            QVERIFY(
                log.count("BOOKDATA.LOG") == 1 &&
                log.contains("Bookings for User-ID " + QByteArray::number(alle ? 0 : anwender)));
            QVERIFY(log.contains(QByteArray("Function: Delete all bookings for ") +
                                 (alle ? "&Index" : "a &User for Index") + "....\r\n"));
        }
        QCOMPARE(s.Dateien(), soll);
        // A view turns Undo off, an error leaves it on, a deletion turns it on.
        QCOMPARE(f.mnu_Rückgängig->isEnabled(), löschen || fehler);
        if (löschen && !fehler)
            QCOMPARE(s.z.Buchungen_Entfernt, !b.boxen.isEmpty());
    }

    // The log viewer reads the log afresh at each opening and never writes it. Undo follows
    // the last command: on after a deletion, off after any view, unchanged by a cancelled
    // deletion; it restores the last deletion only, where it deleted.
    void logAndUndoOverARun() {
        Standort s;
        Idmap_frm1 f(s.z);
        s.Wählen(f, 7);
        const QString log = "BOOKDATA.LOG=";
        QCOMPARE(Ausführen(s, f, f.mnu_Log_öffnen), log);
        QVERIFY(!datei::Existiert(s.lib + "BOOKDATA.LOG"));
        s.t.Datei("lib/Bookdata.log", "earlier block");
        QCOMPARE(Ausführen(s, f, f.mnu_Log_öffnen), log + "earlier block\r\n");
        // A removal is pending; a deletion by index after it is the one to undo.
        s.z.Gelöscht_UserNr = 30;
        s.z.UserEntfernt = true;
        s.z.Gelöscht_LibListe = {s.t.Pfad() + "anderswo/"};
        QString p;
        const auto lauf = [&](QAction* punkt, const QStringList& eingaben, bool undo) {
            p = Ausführen(s, f, punkt, eingaben);
            QVERIFY2(!(';' + p).contains(";!"), qPrintable(p));
            QVERIFY2(f.mnu_Rückgängig->isEnabled() == undo, qPrintable(punkt->objectName()));
        };
        // A booking file that cannot be rewritten is reported; the command goes on, logs the
        // failure and tells how many bookings really went.
        Verweigern(datei::Vorgang::Schreiben, "BOOKDATA.NET");
        lauf(f.mnu_BuchungenAufUserLöschen, {"12"}, true);
        QCOMPARE(p.section(';', 1),
                 "Bookdata_Speichern_Error|Error when creating ''<lib>idx00012\\BOOKDATA.NET "
                 "!''\r\nError Nr.: 75;All bookings for User-ID 7 removed !: \r\n0 "
                 "Booking(s) in idx00012 removed !");
        datei::Fehlerhaken_Setzen({});
        QCOMPARE(s.t.Lesen("lib/IDX00012/BOOKDATA.NET"), s.idx12);
        // The block runs on from the old last line; the viewer shows the grown log.
        const QByteArray block = s.t.Lesen("lib/Bookdata.log");
        QVERIFY(block.startsWith("earlier block" + QByteArray(56, '*') + "\r\n*  "));
        QVERIFY(block.endsWith("\r\nDeleted: 0Booking(s): \r\nStatus: Error\r\nWritten: 0 Bytes "
                               "in 1 file(s) (BOOKDATA.NET)\r\nStatus: Error\r\n\r\n\r\n"));
        QCOMPARE(Ausführen(s, f, f.mnu_Log_öffnen), log + QString::fromLatin1(block));
        Verweigern(datei::Vorgang::Lesen, "Bookdata.log");
        QCOMPARE(Ausführen(s, f, f.mnu_Log_öffnen),
                 "Form_Load_Error|Error when reading  ''<lib>BOOKDATA.LOG''\r\nError Nr: 75;" +
                     log);
        datei::Fehlerhaken_Setzen({});

        // The pending removal stays what Undo takes back; the deletions join it.
        lauf(f.mnu_AlleBuchungenLöschen, {"3"}, true);
        QCOMPARE(int(s.z.Gelöscht_UserNr), 30);
        lauf(f.mnu_BuchungenIndex, {"Cancel"}, false);
        lauf(f.mnu_AlleBuchungenLöschen, {"Cancel"}, false);
        lauf(f.mnu_BuchungenAufUserLöschen, {"12"}, true);
        s.z.LibPath = s.t.Ordner("lib2");
        f.Messages_Entladen();
        // Both deletions come back in lib; the removal's other Library is out of reach, and
        // user 30 is not in this map.
        QCOMPARE(Ausführen(s, f, f.mnu_Rückgängig),
                 "mnu_Rückgängig_Error|User-ID 30 is no longer in the user list.\r\nIts bookings "
                 "are restored; the user entry cannot be.;mnu_Rückgängig_Error|File  ''" +
                     s.t.Pfad() + "anderswo/LIBINFO.SYS''  not found !");
        f.Messages_Entladen();
        QCOMPARE(s.t.Lesen("lib/IDX00012/BOOKDATA.NET"), s.idx12);
        QCOMPARE(s.t.Lesen("lib/IDX00003/BOOKDATA.NET"), s.idx3);
        QVERIFY(!s.t.Existiert("lib2/Bookdata.log"));
        QVERIFY(f.mnu_Rückgängig->isEnabled());
    }

    // An index that held no booking enables Undo with nothing pending; that Undo restores
    // nothing and says so, whatever the Undo before it restored.
    void undoWithNothingPending() {
        Standort s;
        Idmap_frm1 f(s.z);
        const auto ergebnis = [&] {
            for (Messages_frm1* m : f.findChildren<Messages_frm1*>())
                if (m->isVisible())
                    return m->windowTitle() + '|' + m->lbl_Messages->text();
            return QString();
        };
        s.Wählen(f, 7);
        Ausführen(s, f, f.mnu_BuchungenAufUserLöschen, {"12"});
        Ausführen(s, f, f.mnu_Rückgängig);
        QCOMPARE(ergebnis(),
                 "Undone the deleting of bookings !|\r\n2 Booking(s) in 1 file(s) restored !");
        s.Wählen(f, 23);
        Ausführen(s, f, f.mnu_BuchungenAufUserLöschen, {"3"});
        QVERIFY(f.mnu_Rückgängig->isEnabled());
        Ausführen(s, f, f.mnu_Rückgängig);
        QCOMPARE(ergebnis(), "User-ID 23 restored !|\r\nNo Bookings for User-ID 23 .");
        QVERIFY(!f.mnu_Rückgängig->isEnabled());
    }

    // The index dialog: OK is Return in the entry; a refused entry keeps the window open with
    // the focus in the entry. Gives window, Index_Eingabe and the entry afterwards, the
    // dialog's result and the messages.
    void indexInput() {
        const QString fehlt = "No bookings in  ''<lib>%1\\BOOKDATA.NET''.";
        const std::pair<QString, QString> fälle[] = {
            {"12", "closed:idx00012:00012=1"},
            {"012", "open::=0;Invalid Index number: 012|Please enter a valid Index number.;|" +
                        fehlt.arg("")},
            {"31", "open::=0;idx00031|" + fehlt.arg("idx00031")},
            // No number at all: reported, and nothing changes.
            {"", "open:vorher:=0;cmd_OK_Error|Error when entering an Index.\r\nError number: 13"},
            {"Cancel 12", "closed::12=0"}};
        for (const auto& [eingabe, soll] : fälle) {
            Standort u;
            u.z.LibPath = u.lib;
            Messages_frm1 m(u.z);
            m.Eingabemodus("t", "p");
            const bool ok = !eingabe.startsWith("Cancel");
            QStringList p;
            QTimer::singleShot(0, &m, [&] {
                if (ok)
                    u.z.Index_Eingabe = "vorher"; // an entry that is no number changes nothing
                QTest::keyClicks(m.txt_Eingabe, eingabe.section(' ', -1));
                if (ok)
                    QTest::keyClick(m.txt_Eingabe, Qt::Key_Return);
                else
                    QTest::mouseClick(m.findChild<QPushButton*>("cmd_Abbrechen"), Qt::LeftButton);
                p << (m.isVisible() ? "open:" : "closed:") + u.z.Index_Eingabe + ':' +
                         m.txt_Eingabe->text();
                if (m.isVisible() && m.focusWidget() != m.txt_Eingabe)
                    p.last() += " (focus lost)";
                if (m.isVisible())
                    m.reject();
            });
            p.last() += '=' + QString::number(m.exec());
            for (const GezeigteMeldung& g : u.p.meldungen)
                p << Meldung(u, g);
            QCOMPARE(eingabe + ": " + p.join(';'), eingabe + ": " + soll);
            QVERIFY(m.Entladen());
        }
    }
};

QTEST_MAIN(TestAnsichten)
#include "test_ansichten.moc"
