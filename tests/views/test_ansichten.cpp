#include "../bookdata/bookdata_bau.h"
#include "../shell/umgebung.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/idmap_frm1.h"
#include "views/messages_frm1.h"
#include "views/textanzeige.h"

#include <QtTest>
#include <QtWidgets>

using namespace qk;
using namespace qk::test;

namespace {

using Schritt = std::function<void(QDialog&)>;

// Runs a command of the main window while a script answers the modal windows it opens, one
// step per window, as a user would. Gives "objectName: caption" of every window met; a window
// no step closed is cancelled and marked with a leading '!', and so are steps left over.
QStringList Befehl_Mit_Dialogen(Idmap_frm1& f, QAction* punkt, QList<Schritt> schritte) {
    QStringList fenster;
    QPointer<QDialog> letztes;
    QTimer takt;
    QObject::connect(&takt, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (d == nullptr || d == letztes || !d->isVisible())
            return;
        letztes = d;
        fenster.append(d->objectName() + QStringLiteral(": ") + d->windowTitle());
        if (!schritte.isEmpty())
            schritte.takeFirst()(*d);
        if (d->isVisible()) {
            fenster.last().prepend(QLatin1Char('!'));
            d->reject();
        }
    });
    takt.start(5);
    if (!f.Befehl_Ausführen(punkt) || !schritte.isEmpty())
        fenster.append(QStringLiteral("!not run, or steps left"));
    return fenster;
}

template <typename T> T* Kind(QObject& w, const char* name) {
    if (T* k = w.findChild<T*>(QString::fromUtf8(name)))
        return k;
    qFatal("missing child %s", name);
}

// Presses a button of the window, keeping its message text first where asked to.
Schritt Knopf(const char* name, QString* text = nullptr) {
    return [name, text](QDialog& d) {
        if (text != nullptr)
            *text = Kind<QLabel>(d, "lbl_Messages")->text();
        Kind<QAbstractButton>(d, name)->click();
    };
}

// The index dialog: types the number and presses its OK.
Schritt Index_Eingeben(const QString& nummer, QString* aufforderung = nullptr) {
    return [nummer, aufforderung](QDialog& d) {
        QTest::keyClicks(Kind<QLineEdit>(d, "txt_Eingabe"), nummer);
        Knopf("cmd_OK", aufforderung)(d);
    };
}

// "caption|text" of every message box; one that is not an exclamation with OK is marked.
QStringList Meldungen(const Umgebung& u) {
    QStringList m;
    for (const GezeigteMeldung& g : u.p.meldungen)
        m.append(g.titel + QLatin1Char('|') +
                 QString(g.text).replace(u.lib, QStringLiteral("<lib>")) +
                 (g.symbol == Symbol::Ausruf && g.knöpfe == Knöpfe::OK ? "" : "|not OK!"));
    return m;
}

// Five users and a Library with index folders: IDX00003 (box 0 user 7 rev 2, box 4 user 12
// rev 9), IDX00012 (boxes 5, 9, 17, 40, 255 of users 7, 23, 7, 12, 0), IDX00020 (nothing
// booked), IDX00031 (no BOOKDATA.NET).
struct Standort : Umgebung {
    QByteArray idx3 = Bookdata({{0, 7, 2}, {4, 12, 9}});
    QByteArray idx12 = Bookdata({{5, 7, 3}, {9, 23, 0}, {17, 7, 1}, {40, 12, 6}, {255, 0, 4}});

    Standort() {
        Vollständig();
        t.Datei(QStringLiteral("lib/IDX00003/BOOKDATA.NET"), idx3);
        t.Datei(QStringLiteral("lib/IDX00012/BOOKDATA.NET"), idx12);
        t.Datei(QStringLiteral("lib/IDX00020/BOOKDATA.NET"), Bookdata());
        t.Ordner(QStringLiteral("lib/IDX00031"));
    }
    // Shows the main window and clicks the row of the user with that ID, if there is one.
    void Wählen(Idmap_frm1& f, int id) {
        Zeigen(f);
        if (const int zeile = QList<int>{1, 7, 12, 23, 254}.indexOf(id); zeile >= 0)
            Klicken(f.lstv_Idmap, zeile);
    }
};

const QString CRLF = QStringLiteral("\r\n");

// Every file below the Library, by its path inside it.
QMap<QString, QByteArray> Dateien(const Standort& s) {
    QMap<QString, QByteArray> d;
    QDirIterator it(s.lib, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString pfad = it.next();
        d.insert(pfad.mid(s.lib.size()), datei::Lesen(pfad));
    }
    return d;
}

} // namespace

class TestAnsichten : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { test::Nachräumen(); }

    // Every query and deletion command, through its windows.
    void commands_data() {
        QTest::addColumn<QString>("befehl");
        QTest::addColumn<int>("anwender"); // row clicked first; negative: then the list refreshed
        QTest::addColumn<QString>("eingabe"); // typed into the index dialog, if one is expected
        QTest::addColumn<QString>("fenster"); // captions of the windows
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<QString>("inhalt");   // bookings window or result window
        QTest::addColumn<QList<int>>("boxen"); // freed in IDX00012
        const auto zeile = [](const char* name, const char* befehl, int anwender,
                              const QString& eingabe, const QString& fenster,
                              const QString& meldung, const QString& inhalt = "",
                              const QList<int>& boxen = {}) {
            QTest::newRow(name) << QString::fromUtf8(befehl) << anwender << eingabe << fenster
                                << meldung << inhalt << boxen;
        };
        const QString info = ";3 files in 4 folder", in20 = " in <lib>idx00020\\BOOKDATA.NET''.";
        const QString alle = "Delete all Bookings for Index....";
        const QString user = "Delete bookings for User-ID for Index....";
        zeile("all of user 7", "mnu_AlleBuchungen", 7, "", "All bookings for User-ID 7", "",
              "IDX00003|0|7|2;IDX00012|5|7|3;IDX00012|17|7|1;3  bookings" + info);
        zeile("all of user 254, none", "mnu_AlleBuchungen", 254, "", "",
              "User-ID 254|No Bookings for User-ID 254 .");
        // After a refresh no row is selected; the last selected user still counts.
        zeile("all of user 12 after a refresh", "mnu_AlleBuchungen", -12, "",
              "All bookings for User-ID 12", "",
              "IDX00003|4|12|9;IDX00012|40|12|6;2  bookings" + info);
        // Nobody chosen yet: User-ID 0 would mean every user, so nothing is read or deleted.
        zeile("all, nobody chosen", "mnu_AlleBuchungen", 0, "", "",
              "mnu_AlleBuchungen_Error|Error when searching for bookings.\r\nError number: 91");
        zeile("user for index, nobody chosen", "mnu_UserBuchungenIndex", 0, "", "",
              "mnu_UserBuchungenIndex_Error|Error when seaching the bookings for User-ID 0for "
              "Index. \r\nError number: 91");
        zeile("delete for user, nobody chosen", "mnu_BuchungenAufUserLöschen", 0, "", "",
              "mnu_BuchungenAufUserLöschen_Error|Error when deleting the bookings for a "
              "User.\r\nError number: 91");
        zeile("user 7 in 12", "mnu_UserBuchungenIndex", 7, "12",
              "Bookings for User for Index....;Bookings to User-ID 7 for Index idx00012", "",
              "idx00012|5|7|3;idx00012|17|7|1;2  bookings;");
        zeile("user 23, none in 20", "mnu_UserBuchungenIndex", 23, "20",
              "Bookings for User for Index....", "User-ID 23|No bookings for User-ID 23" + in20);
        zeile("every user in 00012, user byte 0 too", "mnu_BuchungenIndex", 7, "00012",
              "All bookings for Index....;All bookings for Index idx00012", "",
              "idx00012|5|7|3;idx00012|9|23|0;idx00012|17|7|1;idx00012|40|12|6;idx00012|255|0|4;5  "
              "bookings;");
        zeile("every user, none in 20", "mnu_BuchungenIndex", 0, "20", "All bookings for Index....",
              "No bookings !|No bookings in  ''<lib>idx00020\\BOOKDATA.NET''.");
        zeile("delete every booking of 12", "mnu_AlleBuchungenLöschen", 23, "12",
              alle + ";All bookings in idx00012 removed !", "",
              "\r\n5 Booking(s) in idx00012 removed !", {5, 9, 17, 40, 255});
        zeile("delete user 7 in 12", "mnu_BuchungenAufUserLöschen", 7, "12",
              user + ";All bookings for User-ID 7 removed !", "",
              "\r\n2 Booking(s) in idx00012 removed !", {5, 17});
        zeile("delete user 254, none in 12", "mnu_BuchungenAufUserLöschen", 254, "12", user,
              "User-ID 254|No bookings for User-ID 254 in <lib>idx00012\\BOOKDATA.NET''.");
        zeile("delete, nothing booked in 20", "mnu_AlleBuchungenLöschen", 7, "20", alle,
              "No bookings !|No bookings in  ''<lib>idx00020\\BOOKDATA.NET''.");
    }
    void commands() {
        QFETCH(QString, befehl);
        QFETCH(int, anwender);
        QFETCH(QString, eingabe);
        QFETCH(QString, inhalt);
        QFETCH(QString, meldung);
        QFETCH(QList<int>, boxen);
        Standort s;
        s.t.Datei("lib/_!bookdata.txt", "IDX00003\t0\t7\t2\r\n\r\n");
        Idmap_frm1 f(s.z);
        s.Wählen(f, std::abs(anwender));
        if (anwender < 0) {
            QVERIFY(f.Befehl_Ausführen(f.mnu_Aktualisieren));
            QVERIFY(f.lstv_Idmap->selectedItems().isEmpty());
            s.z.UserNr = 0; // as a query for every user of an index leaves it
            anwender = -anwender;
        }
        // Undo starts the other way round from where the command must leave it.
        const bool löschen = befehl.contains("Löschen"), fehler = meldung.contains("_Error|");
        f.mnu_Rückgängig->setEnabled(!löschen || fehler);
        s.z.Buchungen_Entfernt = true;
        auto soll = Dateien(s);

        QString aufforderung, ablage, ohneTitel;
        QStringList gezeigt;
        QList<Schritt> schritte;
        if (!eingabe.isEmpty())
            schritte.append(Index_Eingeben(eingabe, &aufforderung));
        if (!inhalt.isEmpty()) {
            schritte.append([&](QDialog& d) {
                if (auto* liste = d.findChild<QTreeView*>(QStringLiteral("lstv_Bookdata"))) {
                    const QAbstractItemModel* m = liste->model();
                    for (int r = 0; r < m->rowCount(); ++r) {
                        QStringList zellen;
                        for (int c = 0; c < m->columnCount(); ++c)
                            zellen << m->index(r, c).data().toString();
                        gezeigt << zellen.join('|');
                    }
                    gezeigt << Kind<QLabel>(d, "lbl_Entries")->text()
                            << Kind<QLabel>(d, "lbl_Info")->text();
                    Knopf("cmd_Zwischenablage")(d);
                    ablage = s.p.zwischenablage;
                    // Without a caption the frame of stars stays; a failed copy is reported.
                    d.setWindowTitle(QString());
                    Knopf("cmd_Zwischenablage")(d);
                    ohneTitel = s.p.zwischenablage;
                    s.p.zwischenablageFehler = FEHLER_ZUGRIFF;
                    Knopf("cmd_Zwischenablage")(d);
                    QTest::keyClick(liste, Qt::Key_Return);
                } else {
                    gezeigt.append(Kind<QLabel>(d, "lbl_Messages")->text());
                    Knopf("cmd_OK_2")(d);
                }
            });
        }
        QTEST(Befehl_Mit_Dialogen(f, Kind<QAction>(f, qPrintable(befehl)), schritte)
                  .join(';')
                  .remove("Messages_frm1: ")
                  .remove("Bookdata_frm1: "),
              "fenster");

        // The prompt names the user where the command is about one.
        const QString wer = "for User-ID " + QString::number(anwender) + (löschen ? " " : "  ");
        if (!eingabe.isEmpty())
            QCOMPARE(aufforderung, "Please enter the Index for which all bookings " +
                                       (befehl.contains("User") ? wer : "") + "should be " +
                                       (löschen ? "deleted." : "displayed."));
        QStringList meldungen = meldung.isEmpty() ? QStringList() : QStringList{meldung};
        if (!ablage.isEmpty()) {
            QFETCH(QString, fenster);
            QString text = "***** " + fenster.section(';', -1) + " *****" + CRLF;
            for (qsizetype i = 0; i + 2 < gezeigt.size(); ++i)
                text += QString(gezeigt[i]).replace('|', '\t') + CRLF;
            QCOMPARE(ablage, text);
            QCOMPARE(ohneTitel, text.replace(fenster.section(';', -1), ""));
            meldungen << "cmd_Zwischenablage_Error|Error when copying the bookings to the "
                         "clipboard.\r\nError number: 75";
            // Folders in the order the walk met them, boxes ascending inside each.
            std::stable_sort(gezeigt.begin(), gezeigt.end() - 2,
                             [](const QString& a, const QString& b) {
                                 return a.section('|', 0, 0) < b.section('|', 0, 0);
                             });
        }
        QCOMPARE(gezeigt.join(';'), inhalt);
        QCOMPARE(Meldungen(s), meldungen);
        QCOMPARE(s.z.Fortschritt, nullptr);

        // A deletion frees exactly those boxes, backs the old file up, replaces the undo list
        // and logs one block; nothing else changes.
        if (!boxen.isEmpty()) {
            QByteArray frei = s.idx12, undo;
            for (int box : boxen) {
                frei = Freigegeben(frei, {box});
                const auto n = [&](int i) { return QByteArray::number(quint8(s.idx12[i])); };
                undo += "idx00012\t" + QByteArray::number(box) + '\t' + n(box * 16) + '\t' +
                        n(box * 16 + 1) + "\r\n";
            }
            const bool alle = befehl == "mnu_AlleBuchungenLöschen";
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
        const auto ist = Dateien(s);
        QCOMPARE(ist.keys(), soll.keys());
        QCOMPARE(ist.values(), soll.values());
        // A view turns Undo off, an error leaves it on, a deletion turns it on.
        QCOMPARE(f.mnu_Rückgängig->isEnabled(), löschen || fehler);
        if (löschen && !fehler)
            QCOMPARE(s.z.Buchungen_Entfernt, !boxen.isEmpty());
    }

    // The log viewer reads the log afresh at each opening and never writes it. Undo follows
    // the last command: on after a deletion, off after any view, unchanged by a cancelled
    // deletion; it restores the last deletion only, where it deleted.
    void logAndUndoOverARun() {
        Standort s;
        Idmap_frm1 f(s.z);
        s.Wählen(f, 7);
        const auto öffnen = [&] {
            QString text;
            const QStringList fenster =
                Befehl_Mit_Dialogen(f, f.mnu_Log_öffnen, {[&](QDialog& d) {
                                        text = Kind<Textanzeige>(d, "txt_Log")->Text();
                                        d.close();
                                    }});
            return fenster.join(';') + '=' + text;
        };
        const QString fenster = "Log_frm1: BOOKDATA.LOG=";
        QCOMPARE(öffnen(), fenster);
        QVERIFY(!datei::Existiert(s.lib + "BOOKDATA.LOG"));
        // Every line shown with CR LF, whatever ended it in the file, the last one too.
        s.t.Datei("lib/Bookdata.log", "a\nb\rc\r\r\n\r\nM\xfcller \x80\t7");
        QCOMPARE(öffnen(), fenster + QString::fromUtf8("a\r\nb\r\nc\r\n\r\n\r\nMüller €\t7\r\n"));
        s.t.Datei("lib/Bookdata.log", "earlier block");
        QCOMPARE(öffnen(), fenster + "earlier block\r\n");
        // A removal is pending; a deletion by index after it is the one to undo.
        s.z.Gelöscht_UserNr = 30;
        s.z.UserEntfernt = true;
        s.z.Gelöscht_LibListe = {s.t.Pfad() + "anderswo/"};
        const auto lauf = [&](QAction* punkt, QList<Schritt> schritte, bool undo) {
            const QStringList fenster = Befehl_Mit_Dialogen(f, punkt, std::move(schritte));
            QVERIFY2(!("\n" + fenster.join("\n")).contains("\n!"), qPrintable(fenster.join(", ")));
            QVERIFY2(f.mnu_Rückgängig->isEnabled() == undo, qPrintable(punkt->objectName()));
        };
        // A booking file that cannot be rewritten is reported; the command goes on, logs the
        // failure and tells how many bookings really went.
        datei::Fehlerhaken_Setzen([](datei::Vorgang v, const QString& pfad) {
            if (v == datei::Vorgang::Schreiben && pfad.endsWith(QLatin1String("BOOKDATA.NET")))
                throw Fehler(FEHLER_ZUGRIFF);
        });
        QString text;
        lauf(f.mnu_BuchungenAufUserLöschen, {Index_Eingeben("12"), Knopf("cmd_OK_2", &text)}, true);
        datei::Fehlerhaken_Setzen({});
        QCOMPARE(text, CRLF + "0 Booking(s) in idx00012 removed !");
        QCOMPARE(s.p.Titel(), QStringList{"Bookdata_Speichern_Error"});
        QCOMPARE(s.t.Lesen("lib/IDX00012/BOOKDATA.NET"), s.idx12);
        // The block runs on from the old last line; the viewer shows the grown log.
        const QByteArray log = s.t.Lesen("lib/Bookdata.log");
        QVERIFY(log.startsWith("earlier block" + QByteArray(56, '*') + "\r\n*  "));
        QVERIFY(log.endsWith("\r\nDeleted: 0Booking(s): \r\nStatus: Error\r\nWritten: 0 Bytes in 1 "
                             "file(s) (BOOKDATA.NET)\r\nStatus: Error\r\n\r\n\r\n"));
        QCOMPARE(öffnen(), fenster + QString::fromLatin1(log));
        s.p.meldungen.clear();
        datei::Fehlerhaken_Setzen([](datei::Vorgang v, const QString& pfad) {
            if (v == datei::Vorgang::Lesen && pfad.endsWith("Bookdata.log"))
                throw Fehler(FEHLER_ZUGRIFF, pfad);
        });
        QCOMPARE(öffnen(), fenster);
        QCOMPARE(Meldungen(s), QStringList{"Form_Load_Error|Error when reading  "
                                           "''<lib>BOOKDATA.LOG''\r\nError Nr: 75"});
        datei::Fehlerhaken_Setzen({});

        // The pending removal stays what Undo takes back; the deletions join it.
        lauf(f.mnu_AlleBuchungenLöschen, {Index_Eingeben("3"), Knopf("cmd_OK_2")}, true);
        QCOMPARE(int(s.z.Gelöscht_UserNr), 30);
        lauf(f.mnu_BuchungenIndex, {Knopf("cmd_Abbrechen")}, false);
        lauf(f.mnu_AlleBuchungenLöschen, {Knopf("cmd_Abbrechen")}, false);
        lauf(f.mnu_BuchungenAufUserLöschen, {Index_Eingeben("12"), Knopf("cmd_OK_2")}, true);
        s.z.LibPath = s.t.Ordner("lib2");
        f.Messages_Entladen();
        s.p.meldungen.clear();
        QVERIFY(f.Befehl_Ausführen(f.mnu_Rückgängig));
        f.Messages_Entladen();
        // Both deletions come back in lib; the removal's other Library is out of reach, and
        // user 30 is not in this map.
        QCOMPARE(s.t.Lesen("lib/IDX00012/BOOKDATA.NET"), s.idx12);
        QCOMPARE(s.t.Lesen("lib/IDX00003/BOOKDATA.NET"), s.idx3);
        QVERIFY(!s.t.Existiert("lib2/Bookdata.log"));
        QCOMPARE(Meldungen(s),
                 QStringList(
                     {"mnu_Rückgängig_Error|User-ID 30 is no longer in the user list.\r\n"
                      "Its bookings are restored; the user entry cannot be.",
                      "mnu_Rückgängig_Error|Path:  ''" + s.t.Pfad() + "anderswo/''  not found !"}));
        QVERIFY(f.mnu_Rückgängig->isEnabled());
    }

    // The index dialog: OK is Return in the entry.
    void indexInput_data() {
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<QString>("danach"); // window, Index_Eingabe and the entry afterwards
        QTest::addColumn<QStringList>("meldungen");
        const auto zeile = [](const char* name, const QString& eingabe, const QString& knopf,
                              const QString& danach, const QStringList& meldungen) {
            QTest::newRow(name) << eingabe << knopf << danach << meldungen;
        };
        const QString fehlt = "No bookings in  ''<lib>%1\\BOOKDATA.NET''.";
        const QString e13 = "cmd_OK_Error|Error when entering an Index.\r\nError number: 13";
        const QString ungültig = "Invalid Index number: %1|Please enter a valid Index number.";
        zeile("12", "12", "ok", "closed:idx00012:00012", {});
        zeile("00012", "00012", "ok", "closed:idx00012:00012", {});
        zeile("012", "012", "ok", "open::", {ungültig.arg("012"), "|" + fehlt.arg("")});
        zeile("31 without BOOKDATA.NET", "31", "ok",
              "open::", {"idx00031|" + fehlt.arg("idx00031")});
        // No number at all: reported, and nothing changes.
        zeile("empty", "", "ok", "open:vorher:", {e13});
        zeile("cancel", "12", "cmd_Abbrechen", "closed::12", {});
    }
    void indexInput() {
        QFETCH(QString, eingabe);
        QFETCH(QString, knopf);
        Standort u;
        u.z.LibPath = u.lib;
        Messages_frm1 m(u.z);
        m.Eingabemodus("t", "p");
        QString danach;
        QTimer::singleShot(0, &m, [&] {
            if (knopf == "ok")
                u.z.Index_Eingabe = "vorher"; // an entry that is no number changes nothing
            QTest::keyClicks(m.txt_Eingabe, eingabe);
            if (knopf == "ok")
                QTest::keyClick(m.txt_Eingabe, Qt::Key_Return);
            else
                QTest::mouseClick(Kind<QPushButton>(m, qPrintable(knopf)), Qt::LeftButton);
            // A refused entry keeps the window open with the focus in the entry.
            danach = (m.isVisible() ? "open:" : "closed:") + u.z.Index_Eingabe + ':' +
                     m.txt_Eingabe->text();
            if (m.isVisible() && m.focusWidget() != m.txt_Eingabe)
                danach += " (focus lost)";
            if (m.isVisible())
                m.reject();
        });
        const int ergebnis = m.exec();
        QCOMPARE(ergebnis, danach.startsWith("closed:idx") ? QDialog::Accepted : QDialog::Rejected);
        QTEST(danach, "danach");
        QTEST(Meldungen(u), "meldungen");
        QVERIFY(m.Entladen());
    }
};

QTEST_MAIN(TestAnsichten)
#include "test_ansichten.moc"
