#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/hilfe_frm1.h"
#include "shell/idmap_frm1.h"
#include "umgebung.h"
#include "views/messages_frm1.h"

#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>
#include <QtTest>

using namespace qk;
using test::Umgebung;

namespace {

const QString CRLF = QStringLiteral("\r\n");

QStringList Zeile(const QTreeWidgetItem* z) {
    QStringList t;
    for (int i = 0; i < z->columnCount(); ++i)
        t.append(z->text(i));
    return t;
}

QStringList Spalte1(const QTreeWidget* l) {
    QStringList ids;
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        ids.append(l->topLevelItem(i)->text(0));
    return ids;
}

void Zeigen(QWidget& w) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}

void Klicken(Idmap_frm1& f, int zeile) {
    const QRect r = f.lstv_Idmap->visualItemRect(f.lstv_Idmap->topLevelItem(zeile));
    QTest::mouseClick(f.lstv_Idmap->viewport(), Qt::LeftButton, {}, r.center());
}

QList<QAction*> Benutzerpunkte(const Idmap_frm1& f) {
    return {f.mnu_UserÄndern,           f.mnu_UserLöschen,
            f.mnu_AlleBuchungenLöschen, f.mnu_BuchungenAufUserLöschen,
            f.mnu_AlleBuchungen,        f.mnu_UserBuchungenIndex};
}

} // namespace

class TestIdmapFrm1 : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        datei::Fehlerhaken_Setzen({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(test::Offene_Fenster(), QStringList());
    }

    // ---- Start-up ----

    void startupMenuStates_data() {
        QTest::addColumn<bool>("mitGlobal");
        QTest::addColumn<bool>("mitLib");
        QTest::addColumn<QStringList>("titel");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("libDir");
        QTest::addColumn<bool>("bearbeitenAnsicht");

        QTest::newRow("nothing stored")
            << false << false << QStringList{"No Global Directory!"}
            << "Please choose a Global Directory.     " << false << false;
        QTest::newRow("global directory only") << true << false << QStringList{"No Library!"}
                                               << "Please choose a library.     " << true << false;
        QTest::newRow("both stored") << true << true << QStringList() << QString() << true << true;
    }
    void startupMenuStates() {
        QFETCH(bool, mitGlobal);
        QFETCH(bool, mitLib);
        QFETCH(QStringList, titel);
        QFETCH(QString, text);
        QFETCH(bool, libDir);
        QFETCH(bool, bearbeitenAnsicht);

        Umgebung u;
        u.Map({3, 9});
        u.Library();
        u.Speichern(mitGlobal ? u.global : QString(), mitLib ? u.lib : QString());
        Idmap_frm1 f(u.z);

        QCOMPARE(u.p.Titel(), titel);
        if (!text.isEmpty()) {
            QCOMPARE(u.p.meldungen[0].text, text);
            QCOMPARE(u.p.meldungen[0].symbol, Symbol::Ausruf);
            QCOMPARE(u.p.meldungen[0].knöpfe, Knöpfe::OK);
        }
        QCOMPARE(f.mnu_LibDir->isEnabled(), libDir);
        QCOMPARE(f.mnu_Bearbeiten->menuAction()->isEnabled(), bearbeitenAnsicht);
        QCOMPARE(f.mnu_Ansicht->menuAction()->isEnabled(), bearbeitenAnsicht);
        // Always usable, and never usable right after the start.
        QVERIFY(f.mnu_Datei->menuAction()->isEnabled());
        QVERIFY(f.mnu_Hilfe->menuAction()->isEnabled());
        QVERIFY(f.mnu_GlobalDir->isEnabled());
        QVERIFY(f.mnu_Beenden->isEnabled());
        QVERIFY(!f.mnu_Speichern->isEnabled());
        QVERIFY(!f.mnu_Rückgängig->isEnabled());
        // The user items themselves are enabled from the start.
        for (QAction* a : Benutzerpunkte(f))
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
        QVERIFY(!u.z.Geändert);

        QCOMPARE(u.z.GlobalPath, mitGlobal ? u.global : QString());
        QCOMPARE(u.z.LibPath, mitGlobal && mitLib ? u.lib : QString());
        QCOMPARE(f.lstv_Idmap->topLevelItemCount(), mitGlobal ? 2 : 0);
        QCOMPARE(f.lbl_Entries->text(), mitGlobal ? QStringLiteral("2  User") : "Entries: ");
        QCOMPARE(f.windowTitle(), QStringLiteral("Admin-Quorvik"));
    }

    void startupWithoutLibInfoReportsButKeepsMenus() {
        Umgebung u;
        u.Map({3});
        u.Speichern(u.global, u.lib); // no LIBINFO.SYS in the Library
        Idmap_frm1 f(u.z);
        QCOMPARE(u.p.Titel(), QStringList{"Invalid Library"});
        QCOMPARE(u.p.meldungen[0].text, "File  ''" + u.lib + "LIBINFO.SYS''  not found !" + CRLF);
        QCOMPARE(u.z.LibPath, u.lib);
        QVERIFY(f.mnu_Bearbeiten->menuAction()->isEnabled());
        QVERIFY(f.mnu_Ansicht->menuAction()->isEnabled());
    }

    void startupFailureIsLoadError() {
        Umgebung u;
        u.Vollständig();
        u.t.Datei("global/QK_LIBPATHS.TXT", "/a/lib1/\r\n");
        datei::Fehlerhaken_Setzen([](datei::Vorgang v, const QString& pfad) {
            if (v == datei::Vorgang::Lesen && pfad.endsWith(QLatin1String("QK_LIBPATHS.TXT")))
                throw Fehler(FEHLER_ZUGRIFF);
        });
        Idmap_frm1 f(u.z);
        datei::Fehlerhaken_Setzen({});
        QCOMPARE(u.p.Titel(), QStringList{"Form_Load_Error"});
        QCOMPARE(u.p.meldungen[0].text, "Load Error" + CRLF + "Error number: 75");
        // The users were read before the failure.
        QCOMPARE(f.lstv_Idmap->topLevelItemCount(), 5);
    }

    void menuTreeCaptionsAndHelpContexts() {
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);

        struct Punkt {
            const char* name;
            const char* text; // nullptr: separator
            int hilfe;
        };
        const QList<QPair<QMenu*, QList<Punkt>>> baum{
            {f.mnu_Datei,
             {{"mnu_GlobalDir", "Open &Global Directory", 102},
              {"mnu_LibDir", "Open &Library Directory", 104},
              {"mnu_Strich1", nullptr, 0},
              {"mnu_Speichern", "&Save", 106},
              {"mnu_Strich5", nullptr, 0},
              {"mnu_Beenden", "&Exit", 108}}},
            {f.mnu_Bearbeiten,
             {{"mnu_UserÄndern", "&Edit User", 122},
              {"mnu_UserLöschen", "&Remove User", 124},
              {"mnu_Strich2", nullptr, 0},
              {"mnu_AlleBuchungenLöschen", "Delete all bookings for &Index....", 126},
              {"mnu_BuchungenAufUserLöschen", "Delete all bookings for a &User for Index....", 128},
              {"mnu_Strich3", nullptr, 0},
              {"mnu_NETerstellen", "&Create QK_LOCAL.NET", 0},
              {"mnu_Strich10", nullptr, 0},
              {"mnu_Rückgängig", "Un&do", 130}}},
            {f.mnu_Ansicht,
             {{"mnu_AlleBuchungen", "&All bookings", 152},
              {"mnu_UserBuchungenIndex", "Bookings for a &User for Index....", 154},
              {"mnu_BuchungenIndex", "All bookings for &Index....", 156},
              {"mnu_Strich4", nullptr, 0},
              {"mnu_Aktualisieren", "&Refresh status", 158},
              {"mnu_Strich7", nullptr, 0},
              {"mnu_Log_öffnen", "&Open BOOKDATA.LOG", 159},
              {"mnu_Strich8", nullptr, 0},
              {"mnu_Zwischenablage", "&Clipboard", 162},
              {"mnu_Strich9", nullptr, 0},
              {"mnu_Info", "I&nfo", 160}}},
            {f.mnu_Hilfe, {{"mnu_Hilfethemen", "&Help", 172}}},
        };

        const QList<QAction*> leiste = f.menuBar()->actions();
        QCOMPARE(leiste.size(), baum.size());
        const QStringList titel{" &File", "&Edit", "&View", "&?"};
        const QStringList menünamen{"mnu_Datei", "mnu_Bearbeiten", "mnu_Ansicht", "mnu_Hilfe"};
        for (int m = 0; m < baum.size(); ++m) {
            QMenu* menü = baum[m].first;
            QCOMPARE(leiste[m], menü->menuAction());
            QCOMPARE(menü->objectName(), menünamen[m]);
            QCOMPARE(menü->title(), titel[m]);
            QCOMPARE(Idmap_frm1::Hilfekontext(menü->menuAction()), m == 3 ? 170 : 0);

            const QList<QAction*> punkte = menü->actions();
            QCOMPARE(punkte.size(), baum[m].second.size());
            for (int i = 0; i < punkte.size(); ++i) {
                const Punkt& soll = baum[m].second[i];
                QAction* a = punkte[i];
                QCOMPARE(a->objectName(), QString::fromUtf8(soll.name));
                QCOMPARE(f.findChild<QAction*>(QString::fromUtf8(soll.name)), a);
                QCOMPARE(a->isSeparator(), soll.text == nullptr);
                if (soll.text != nullptr)
                    QCOMPARE(a->text(), QString::fromUtf8(soll.text));
                QCOMPARE(Idmap_frm1::Hilfekontext(a), soll.hilfe);
            }
        }
    }

    void listColumns() {
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        QTreeWidget* l = f.lstv_Idmap;
        QCOMPARE(l->columnCount(), 5);
        const QStringList köpfe{"User.- ID", "User", "PC-Name", "Local Directory:", "Status"};
        const QList<double> anteile{0.1, 0.25, 0.2, 1.0 / 3, 0.1};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(l->headerItem()->text(i), köpfe[i]);
            QVERIFY2(qAbs(l->columnWidth(i) - anteile[i] * l->width()) <= 1.0,
                     qPrintable(QString::number(i)));
        }
        QCOMPARE(l->selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(!l->isSortingEnabled());
        // The list keeps the proportions of its design within the client area.
        const QRect r = l->geometry();
        QVERIFY(qAbs(double(r.width()) / r.height() - 9135.0 / 4575) < 0.02);
        QVERIFY(f.lbl_Entries->geometry().top() > r.bottom());
    }

    // ---- The list ----

    void listAndLabel_data() {
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("titel");
        QTest::newRow("0 users") << 0 << "0  User"
                                 << QStringList{"UserLogins_Ermitteln_Error",
                                                "IdmapListe_In_Liste_Übertragen_Error"};
        QTest::newRow("5 users") << 5 << "5  User" << QStringList();
        QTest::newRow("256 users") << 256 << "256  User" << QStringList();
    }
    void listAndLabel() {
        QFETCH(int, anzahl);
        QFETCH(QString, label);
        QFETCH(QStringList, titel);
        Umgebung u;
        QList<int> ids;
        for (int i = 0; i < anzahl; ++i)
            ids.append(i % 254 + 1);
        u.Map(ids);
        u.Library();
        u.Speichern(u.global, u.lib);
        Idmap_frm1 f(u.z);
        QCOMPARE(u.p.Titel(), titel);
        QCOMPARE(f.lstv_Idmap->topLevelItemCount(), anzahl);
        QCOMPARE(f.lbl_Entries->text(), label);
        if (anzahl == 0) {
            QCOMPARE(u.p.meldungen[1].text, QStringLiteral("No entries in Array(IdmapListe) !"));
            QCOMPARE(u.p.meldungen[1].symbol, Symbol::Ausruf);
        } else {
            // Rows in map order, the last one too.
            QCOMPARE(Zeile(f.lstv_Idmap->topLevelItem(anzahl - 1)),
                     (QStringList{QString::number(ids.last()), "U" + QString::number(ids.last()),
                                  "PC" + QString::number(ids.last()),
                                  "C:\\L" + QString::number(ids.last()) + "\\", ""}));
        }
    }

    void listShowsStatusAndHidesRemoved() {
        Umgebung u;
        u.Vollständig();
        u.t.Datei("global/_!qkX012", {});
        Idmap_frm1 f(u.z);
        QCOMPARE(Zeile(f.lstv_Idmap->topLevelItem(2)),
                 (QStringList{"12", "U12", "PC12", "C:\\L12\\", "A"}));
        QCOMPARE(f.lstv_Idmap->topLevelItem(1)->text(4), QString());

        u.z.IdmapListe[1].Status = "DEL";
        f.IdmapListe_In_Liste_Übertragen();
        QCOMPARE(Spalte1(f.lstv_Idmap), (QStringList{"1", "12", "23", "254"}));
        QCOMPARE(f.lbl_Entries->text(), QStringLiteral("4  User"));

        // Emptied later: the list and its count agree again.
        u.z.IdmapListe.clear();
        f.IdmapListe_In_Liste_Übertragen();
        QCOMPARE(f.lstv_Idmap->topLevelItemCount(), 0);
        QCOMPARE(f.lbl_Entries->text(), QStringLiteral("0  User"));
        QCOMPARE(u.p.Titel().last(), QStringLiteral("IdmapListe_In_Liste_Übertragen_Error"));
    }

    void clickTakesSelection() {
        Umgebung u;
        u.Map({1, 7, 12, 23, 254});
        u.Library();
        u.Speichern(u.global, u.lib);
        Idmap_frm1 f(u.z);
        // A record marked removed before the row makes row and record index differ.
        u.z.IdmapListe[0].Status = "DEL";
        f.IdmapListe_In_Liste_Übertragen();
        Zeigen(f);

        Klicken(f, 1); // ID 12
        QCOMPARE(int(u.z.Gewählt_UserNr), 12);
        QCOMPARE(int(u.z.UserNr), 12);
        QCOMPARE(int(u.z.UserIndex), 2);

        // An arrow key moves the selection; its release takes it.
        QTest::keyClick(f.lstv_Idmap, Qt::Key_Down);
        QCOMPARE(int(u.z.UserNr), 23);
        QCOMPARE(int(u.z.UserIndex), 3);

        // A refresh keeps the values but no row is selected any more.
        f.Befehl_Ausführen(f.mnu_Aktualisieren);
        QVERIFY(f.lstv_Idmap->selectedItems().isEmpty());
        QCOMPARE(int(u.z.UserNr), 23);
        QVERIFY(u.p.meldungen.isEmpty());
    }

    void focusTakesSelection() {
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        auto* anderes = new QLineEdit(f.centralWidget());
        Zeigen(f);
        f.lstv_Idmap->topLevelItem(3)->setSelected(true);
        QCOMPARE(int(u.z.UserNr), 0);
        anderes->setFocus(Qt::OtherFocusReason);
        f.lstv_Idmap->setFocus(Qt::TabFocusReason);
        QCOMPARE(int(u.z.UserNr), 23);
        QCOMPARE(int(u.z.UserIndex), 3);
    }

    void clickWithoutRowEnablesUserItems() {
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        Zeigen(f);
        u.z.UserNr = 99;
        u.z.UserIndex = 4;
        for (QAction* a : Benutzerpunkte(f))
            a->setEnabled(false);
        // Below the last row: no row is selected.
        QTest::mouseClick(f.lstv_Idmap->viewport(), Qt::LeftButton, {},
                          QPoint(5, f.lstv_Idmap->viewport()->height() - 5));
        QVERIFY(f.lstv_Idmap->selectedItems().isEmpty());
        QCOMPARE(int(u.z.UserNr), 99);
        QCOMPARE(int(u.z.UserIndex), 4);
        QVERIFY(u.p.meldungen.isEmpty());
        for (QAction* a : Benutzerpunkte(f))
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
    }

    void doubleClickRunsEditUser() {
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        Zeigen(f);
        QList<int> geöffnet;
        f.Befehl_Setzen(f.mnu_UserÄndern, [&] { geöffnet.append(u.z.UserIndex); });
        // Disabled items do not stop the double click: it opens the record it points at.
        f.mnu_UserÄndern->setEnabled(false);
        const QRect r = f.lstv_Idmap->visualItemRect(f.lstv_Idmap->topLevelItem(2));
        // A double click on screen: a click, then the second press as a double click.
        QTest::mouseClick(f.lstv_Idmap->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(f.lstv_Idmap->viewport(), Qt::LeftButton, {}, r.center());
        QTRY_COMPARE(geöffnet, QList<int>{2});

        // A selection that points past the list opens nothing.
        u.z.UserIndex = 9;
        f.lstv_Idmap_DblClick();
        QCOMPARE(geöffnet, QList<int>{2});
    }

    // ---- Commands and the re-entry guard ----

    void commandsCannotBeEnteredTwice() {
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        Zeigen(f);
        Klicken(f, 0);
        QCOMPARE(int(u.z.UserNr), 1);
        const auto einstellungen = u.p.einstellungen;
        u.p.einstellungen.clear();

        bool zweiter = true;
        int läufe = 0;
        f.Befehl_Setzen(f.mnu_Info, [&] {
            ++läufe;
            QVERIFY(f.Beschäftigt());
            // A second command, a click on another row and a close request while this
            // one lets events through: none of them gets in.
            zweiter = f.Befehl_Ausführen(f.mnu_Aktualisieren) || f.Befehl_Ausführen(f.mnu_Info);
            Klicken(f, 3);
            f.close();
        });
        f.mnu_Info->trigger();
        QCOMPARE(läufe, 1);
        QVERIFY(!zweiter);
        QCOMPARE(int(u.z.UserNr), 1);
        QCOMPARE(f.lstv_Idmap->selectedItems().first()->text(0), QStringLiteral("1"));
        QVERIFY(f.isVisible());
        QVERIFY(u.p.einstellungen.isEmpty());

        // Afterwards everything works again.
        QVERIFY(!f.Beschäftigt());
        QVERIFY(f.Befehl_Ausführen(f.mnu_Aktualisieren));
        Klicken(f, 3);
        QCOMPARE(int(u.z.UserNr), 23);
        u.p.einstellungen = einstellungen;
    }

    void enablingOverARun() {
        Umgebung u;
        u.Map({1, 7});
        u.Speichern(u.global, QString());
        Idmap_frm1 f(u.z);
        Zeigen(f);
        auto zustand = [&f] {
            QString s;
            for (QAction* a : {f.mnu_LibDir, f.mnu_Bearbeiten->menuAction(),
                               f.mnu_Ansicht->menuAction(), f.mnu_Speichern, f.mnu_Rückgängig})
                s += a->isEnabled() ? '1' : '0';
            s += '/';
            for (QAction* a : Benutzerpunkte(f))
                s += a->isEnabled() ? '1' : '0';
            return s;
        };
        QCOMPARE(zustand(), QStringLiteral("10000/111111"));

        // None of the shell's own commands changes what later commands enable or disable.
        Klicken(f, 1);
        QVERIFY(f.Befehl_Ausführen(f.mnu_Aktualisieren));
        QVERIFY(f.Befehl_Ausführen(f.mnu_Info));
        u.p.ordnerAntworten = {u.global.chopped(1)};
        QVERIFY(f.Befehl_Ausführen(f.mnu_GlobalDir));
        QVERIFY(f.Befehl_Ausführen(f.mnu_Hilfethemen));
        QCOMPARE(zustand(), QStringLiteral("10000/111111"));

        // What the library chooser enables, the main window leaves enabled.
        f.mnu_Bearbeiten->menuAction()->setEnabled(true);
        f.mnu_Ansicht->menuAction()->setEnabled(true);
        f.mnu_Speichern->setEnabled(true);
        QVERIFY(f.Befehl_Ausführen(f.mnu_Aktualisieren));
        Klicken(f, 0);
        QCOMPARE(zustand(), QStringLiteral("11110/111111"));
        f.Hilfe()->close();
    }

    void configDialogsOpenFromTheMenu() {
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        const std::pair<QAction*, QString> fälle[] = {{f.mnu_LibDir, "Libraries_frm1"},
                                                      {f.mnu_NETerstellen, "Local_frm1"}};
        for (const auto& [punkt, name] : fälle) {
            QString gesehen;
            QTimer::singleShot(0, [&gesehen] {
                if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    gesehen = d->objectName();
                    d->reject();
                }
            });
            QVERIFY(f.Befehl_Ausführen(punkt));
            QCOMPARE(gesehen, name);
        }
        QVERIFY(!f.Befehl_Ausführen(f.mnu_Strich1));
        QVERIFY(!f.Beschäftigt());
    }

    // ---- Info and Refresh status ----

    void infoTextByteForByte() {
        Umgebung u;
        u.Vollständig();
        u.t.Datei("global/_!qkA007", {});
        u.t.Datei("global/_!qk_012", {});
        Idmap_frm1 f(u.z);
        QVERIFY(f.Befehl_Ausführen(f.mnu_Info));
        QCOMPARE(u.p.meldungen.size(), 1);
        const test::GezeigteMeldung& m = u.p.meldungen[0];
        QCOMPARE(m.titel, QStringLiteral("Info"));
        QCOMPARE(m.symbol, Symbol::Information);
        QCOMPARE(m.knöpfe, Knöpfe::OK);
        const QString soll = "Global Directory:  \r\n" + u.global +
                             "          \r\n\r\nLibrary:  " + u.lib +
                             "          \r\n\r\nUser:  5\r\n\r\nStatus:  2  Logins\r\n\r\n\r\n";
        QCOMPARE(m.text, soll);
    }

    void infoWithoutLibraryAndAfterNewLogin() {
        Umgebung u;
        u.Map({1, 7, 12});
        u.Speichern(u.global, QString());
        Idmap_frm1 f(u.z);
        u.p.meldungen.clear();
        // A workstation logs in after the start: Info refreshes before it counts.
        u.t.Datei("global/_!qkA007", {});
        QVERIFY(f.Befehl_Ausführen(f.mnu_Info));
        QCOMPARE(u.p.meldungen[0].text,
                 "Global Directory:  \r\n" + u.global +
                     "          \r\n\r\nLibrary:            \r\n\r\nUser:  3\r\n\r\nStatus:  1  "
                     "Logins\r\n\r\n\r\n");
        QCOMPARE(f.lstv_Idmap->topLevelItem(1)->text(4), QStringLiteral("A"));
    }

    void refreshFollowsMarkers() {
        Umgebung u;
        u.Vollständig();
        const QString marke = u.t.Datei("global/_!qkA007", {});
        Idmap_frm1 f(u.z);
        QCOMPARE(f.lstv_Idmap->topLevelItem(1)->text(4), QStringLiteral("A"));
        QFile::remove(marke);
        u.t.Datei("global/_!qkA254", {});
        QVERIFY(f.Befehl_Ausführen(f.mnu_Aktualisieren));
        QCOMPARE(f.lstv_Idmap->topLevelItem(1)->text(4), QString());
        QCOMPARE(f.lstv_Idmap->topLevelItem(4)->text(4), QStringLiteral("A"));
        QCOMPARE(u.z.LoginAnzahl, 1);
        QVERIFY(u.p.meldungen.isEmpty());
    }

    // ---- Choosing the Global Directory ----

    void globalDirOkReopensDialog() {
        Umgebung u;
        u.Vollständig();
        const QString leer = u.t.Ordner("leer");
        const QString neu = u.t.Ordner("neu");
        u.Map({40, 41}, "neu");
        Idmap_frm1 f(u.z);
        u.p.ordnerAntworten = {leer.chopped(1), neu.chopped(1)};
        u.p.antworten = {Antwort::OK};
        QVERIFY(f.Befehl_Ausführen(f.mnu_GlobalDir));
        QCOMPARE(u.p.ordnerHinweise.size(), 2);
        QCOMPARE(u.p.meldungen.size(), 1);
        QCOMPARE(u.p.meldungen[0].titel, "Error(''" + leer + "'')");
        QCOMPARE(u.p.meldungen[0].text, CRLF + "Please choose a Library.     ");
        QCOMPARE(u.p.meldungen[0].knöpfe, Knöpfe::OKAbbrechen);
        QCOMPARE(u.z.GlobalPath, neu);
        QCOMPARE(Spalte1(f.lstv_Idmap), (QStringList{"40", "41"}));
        QCOMPARE(f.lbl_Entries->text(), QStringLiteral("2  User"));
    }

    void globalDirCancelRereadsPrevious() {
        Umgebung u;
        u.Vollständig();
        const QString leer = u.t.Ordner("leer");
        Idmap_frm1 f(u.z);
        // The map changed on disk meanwhile: the previous folder is read again.
        u.Map({5, 6, 8});
        u.p.ordnerAntworten = {leer.chopped(1)};
        u.p.antworten = {Antwort::Abbrechen};
        QVERIFY(f.Befehl_Ausführen(f.mnu_GlobalDir));
        QCOMPARE(u.z.GlobalPath, u.global);
        QCOMPARE(Spalte1(f.lstv_Idmap), (QStringList{"5", "6", "8"}));
        QCOMPARE(u.p.Titel(), QStringList{"Error(''" + leer + "'')"});
    }

    void globalDirEnablesLibDirOnly() {
        Umgebung u;
        u.Map({1, 2});
        u.t.Datei("global/QK_LIBPATHS.TXT", "/x/lib/\r\n");
        Idmap_frm1 f(u.z); // nothing stored
        QVERIFY(!f.mnu_LibDir->isEnabled());

        // Cancelled without any Global Directory: nothing to read, nothing enabled.
        u.p.meldungen.clear();
        QVERIFY(f.Befehl_Ausführen(f.mnu_GlobalDir));
        QVERIFY(u.z.GlobalPath.isEmpty());
        QVERIFY(u.p.meldungen.isEmpty());
        QVERIFY(!f.mnu_LibDir->isEnabled());

        u.p.ordnerAntworten = {u.global.chopped(1)};
        QVERIFY(f.Befehl_Ausführen(f.mnu_GlobalDir));
        QCOMPARE(u.z.GlobalPath, u.global);
        QCOMPARE(f.lstv_Idmap->topLevelItemCount(), 2);
        QCOMPARE(u.z.LibListe, QStringList{"/x/lib/"});
        QVERIFY(f.mnu_LibDir->isEnabled());
        QVERIFY(!f.mnu_Bearbeiten->menuAction()->isEnabled());
        QVERIFY(!f.mnu_Ansicht->menuAction()->isEnabled());
    }

    void globalDirLibraryListFailureIsReported() {
        Umgebung u;
        u.Vollständig();
        u.t.Datei("global/QK_LIBPATHS.TXT", "/x/lib/\r\n");
        Idmap_frm1 f(u.z);
        datei::Fehlerhaken_Setzen([](datei::Vorgang v, const QString& pfad) {
            if (v == datei::Vorgang::Lesen && pfad.endsWith(QLatin1String("QK_LIBPATHS.TXT")))
                throw Fehler(FEHLER_ZUGRIFF);
        });
        u.p.ordnerAntworten = {u.global.chopped(1)};
        QVERIFY(f.Befehl_Ausführen(f.mnu_GlobalDir));
        QCOMPARE(u.p.Titel(), QStringList{"mnu_GlobalDir_Error"});
        QCOMPARE(u.p.meldungen[0].text,
                 "Error when reading from Global-Directory." + CRLF + "Error number: 75");
        QCOMPARE(u.p.meldungen[0].symbol, Symbol::Ausruf);
        // The map was read all the same.
        QCOMPARE(f.lstv_Idmap->topLevelItemCount(), 5);
        QVERIFY(f.mnu_LibDir->isEnabled());
    }

    void otherGlobalDirDropsLibraryListOfPrevious() {
        Umgebung u;
        u.Vollständig();
        u.t.Datei("global/QK_LIBPATHS.TXT", "/x/lib/\r\n");
        const QString neu = u.t.Ordner("neu");
        u.Map({40}, "neu");
        Idmap_frm1 f(u.z);
        QCOMPARE(u.z.LibListe, QStringList{"/x/lib/"});
        u.p.ordnerAntworten = {neu.chopped(1)};
        QVERIFY(f.Befehl_Ausführen(f.mnu_GlobalDir));
        QVERIFY(u.z.LibListe.isEmpty());
    }

    // ---- Closing and Exit ----

    void closeStoresPaths() {
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        Zeigen(f);
        u.p.einstellungen.clear();
        u.z.LibPath = "/anders/";
        QVERIFY(f.close());
        QCOMPARE(u.p.einstellungen.value("Pathname/GlobalPath"), u.global);
        QCOMPARE(u.p.einstellungen.value("Pathname/LibPath"), QStringLiteral("/anders/"));
        QVERIFY(u.p.meldungen.isEmpty());

        // The next run starts from what was stored.
        Zustand z2(u.p);
        Idmap_frm1 f2(z2);
        QCOMPARE(z2.GlobalPath, u.global);
        QCOMPARE(z2.LibPath, QStringLiteral("/anders/"));
    }

    void closeWithoutGlobalDirKeepsStoredLibrary() {
        Umgebung u;
        u.Speichern(QString(), u.lib);
        Idmap_frm1 f(u.z);
        Zeigen(f);
        QVERIFY(f.close());
        QCOMPARE(u.p.einstellungen.value("Pathname/GlobalPath", "unset"), QString());
        QCOMPARE(u.p.einstellungen.value("Pathname/LibPath"), u.lib);

        // Also when a Global Directory was chosen during the run.
        Umgebung v;
        v.Map({1});
        v.Speichern(QString(), v.lib);
        Idmap_frm1 g(v.z);
        Zeigen(g);
        v.p.ordnerAntworten = {v.global.chopped(1)};
        QVERIFY(g.Befehl_Ausführen(g.mnu_GlobalDir));
        QVERIFY(g.close());
        QCOMPARE(v.p.einstellungen.value("Pathname/GlobalPath"), v.global);
        QCOMPARE(v.p.einstellungen.value("Pathname/LibPath"), v.lib);
    }

    void closeStoresEmptyPathsThatWereRead() {
        Umgebung u;
        u.Map({1});
        u.Speichern(u.global, QString());
        Idmap_frm1 f(u.z);
        Zeigen(f);
        u.p.einstellungen.clear();
        QVERIFY(f.close());
        QCOMPARE(u.p.einstellungen.value("Pathname/LibPath", "unset"), QString());
    }

    void closeAsksToSaveChanges_data() {
        QTest::addColumn<Antwort>("antwort");
        QTest::addColumn<bool>("geschrieben");
        QTest::newRow("yes") << Antwort::Ja << true;
        QTest::newRow("no") << Antwort::Nein << false;
    }
    void closeAsksToSaveChanges() {
        QFETCH(Antwort, antwort);
        QFETCH(bool, geschrieben);
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        Zeigen(f);
        const QByteArray vorher = u.t.Lesen("global/QK_IDMAP.NET");
        u.z.IdmapListe[0].UserName = "Geändert";
        u.z.Geändert = true;
        u.p.antworten = {antwort};
        QVERIFY(f.close());
        QCOMPARE(u.p.meldungen.size(), 1);
        QCOMPARE(u.p.meldungen[0].text, QStringLiteral("Do you want to save the settings ?"));
        QCOMPARE(u.p.meldungen[0].titel, QStringLiteral("Save"));
        QCOMPARE(u.p.meldungen[0].knöpfe, Knöpfe::JaNein);
        QCOMPARE(u.t.Lesen("global/QK_IDMAP.NET") != vorher, geschrieben);
        QCOMPARE(u.t.Existiert("global/QK_IDMAP.BAK"), geschrieben);
        QCOMPARE(u.p.einstellungen.value("Pathname/GlobalPath"), u.global);
    }

    void exitStoresNothing_data() {
        QTest::addColumn<bool>("geändert");
        QTest::addColumn<Antwort>("antwort");
        QTest::addColumn<bool>("beendet");
        QTest::addColumn<bool>("geschrieben");
        QTest::newRow("unchanged") << false << Antwort::OK << true << false;
        QTest::newRow("changed, yes") << true << Antwort::Ja << true << true;
        QTest::newRow("changed, no") << true << Antwort::Nein << true << false;
        QTest::newRow("changed, cancel") << true << Antwort::Abbrechen << false << false;
    }
    void exitStoresNothing() {
        QFETCH(bool, geändert);
        QFETCH(Antwort, antwort);
        QFETCH(bool, beendet);
        QFETCH(bool, geschrieben);
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        Zeigen(f);
        u.p.einstellungen.clear();
        const QByteArray vorher = u.t.Lesen("global/QK_IDMAP.NET");
        u.z.IdmapListe[0].UserName = "Geändert";
        u.z.Geändert = geändert;
        u.p.antworten = {antwort};
        QVERIFY(f.Befehl_Ausführen(f.mnu_Beenden));
        QCOMPARE(!f.isVisible(), beendet);
        QVERIFY(u.p.einstellungen.isEmpty());
        QCOMPARE(u.t.Lesen("global/QK_IDMAP.NET") != vorher, geschrieben);
        if (geändert) {
            QCOMPARE(u.p.meldungen[0].knöpfe, Knöpfe::JaNeinAbbrechen);
            QCOMPARE(u.p.meldungen[0].titel, QStringLiteral("Save"));
            QCOMPARE(u.z.Geändert, antwort != Antwort::Ja);
        } else {
            QVERIFY(u.p.meldungen.isEmpty());
        }
    }

    void exitClosesSmallWindows() {
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        Zeigen(f);
        f.Hilfe_Zeigen(106);
        Messages_frm1& m = f.Fortschrittsfenster_Zeigen("Delete User-ID");
        QVERIFY(m.isVisible());
        QVERIFY(f.Befehl_Ausführen(f.mnu_Beenden));
        QVERIFY(!f.Hilfe()->isVisible());
        QVERIFY(!m.isVisible());
        QCOMPARE(u.z.Fortschritt, nullptr);
    }
};

QTEST_MAIN(TestIdmapFrm1)
#include "test_idmap_frm1.moc"
