#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/hilfe_frm1.h"
#include "shell/hilfetexte.h"
#include "shell/idmap_frm1.h"
#include "umgebung.h"

#include <QLabel>
#include <QMenu>
#include <QtTest>

using namespace qk;
using test::Umgebung;

namespace {

const QString CRLF = QStringLiteral("\r\n");
constexpr int GLOBAL = 1, LIB = 2, OHNE_LIBINFO = 4, LISTE_UNLESBAR = 8;

// Library item, Edit, View, Save, Undo / the six user items: '1' enabled.
QString Menüs(const Idmap_frm1& f) {
    QString s;
    for (QAction* a : {f.mnu_LibDir, f.mnu_Bearbeiten->menuAction(), f.mnu_Ansicht->menuAction(),
                       f.mnu_Speichern, f.mnu_Rückgängig, f.mnu_UserÄndern, f.mnu_UserLöschen,
                       f.mnu_AlleBuchungenLöschen, f.mnu_BuchungenAufUserLöschen,
                       f.mnu_AlleBuchungen, f.mnu_UserBuchungenIndex})
        s += a->isEnabled() ? '1' : '0';
    return s.insert(5, '/');
}

void Liste_Unlesbar() {
    datei::Fehlerhaken_Setzen([](datei::Vorgang v, const QString& pfad) {
        if (v == datei::Vorgang::Lesen && pfad.endsWith(QLatin1String("QK_LIBPATHS.TXT")))
            throw Fehler(FEHLER_ZUGRIFF);
    });
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        datei::Fehlerhaken_Setzen({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(test::Offene_Fenster(), QStringList());
    }

    void startup_data() {
        QTest::addColumn<int>("stand");
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<QStringList>("titel");
        QTest::addColumn<QString>("text"); // of the last message; %1 the Library
        QTest::newRow("nothing stored") << 0 << 5 << QStringList{"No Global Directory!"}
                                        << "Please choose a Global Directory.     ";
        QTest::newRow("no Library")
            << GLOBAL << 5 << QStringList{"No Library!"} << "Please choose a library.     ";
        QTest::newRow("no LIBINFO.SYS")
            << (GLOBAL | LIB | OHNE_LIBINFO) << 5 << QStringList{"Invalid Library"}
            << "File  ''%1LIBINFO.SYS''  not found !\r\n";
        QTest::newRow("unreadable Library list")
            << (GLOBAL | LIB | LISTE_UNLESBAR) << 5 << QStringList{"Form_Load_Error"}
            << "Load Error\r\nError number: 75";
        QTest::newRow("0 users") << (GLOBAL | LIB) << 0
                                 << QStringList{"UserLogins_Ermitteln_Error",
                                                "IdmapListe_In_Liste_Übertragen_Error"}
                                 << "No entries in Array(IdmapListe) !";
        QTest::newRow("5 users") << (GLOBAL | LIB) << 5 << QStringList() << "";
        QTest::newRow("256 users") << (GLOBAL | LIB) << 256 << QStringList() << "";
    }
    void startup() {
        QFETCH(int, stand);
        QFETCH(int, anzahl);
        QFETCH(QStringList, titel);
        QFETCH(QString, text);
        Umgebung u;
        QList<int> ids;
        for (int i = 0; i < anzahl; ++i)
            ids.append(i % 254 + 1);
        u.Map(ids);
        u.t.Datei("global/QK_LIBPATHS.TXT", "/x/lib/\r\n");
        if (!(stand & OHNE_LIBINFO))
            u.Library();
        u.Speichern(stand & GLOBAL ? u.global : QString(), stand & LIB ? u.lib : QString());
        if (stand & LISTE_UNLESBAR)
            Liste_Unlesbar();
        Idmap_frm1 f(u.z);
        QCOMPARE(u.p.Titel(), titel);
        if (!titel.isEmpty()) {
            QCOMPARE(u.p.meldungen.last().text, text.arg(u.lib));
            QCOMPARE(u.p.meldungen.last().symbol, Symbol::Ausruf);
        }
        // Edit and View need a Library; Save and Undo wait for a change.
        QCOMPARE(Menüs(f), QString(!stand            ? "00000/111111"
                                   : stand == GLOBAL ? "10000/111111"
                                                     : "11100/111111"));
        QCOMPARE(u.z.GlobalPath, stand & GLOBAL ? u.global : QString());
        QCOMPARE(u.z.LibPath, (stand & LIB) && !(stand & LISTE_UNLESBAR) ? u.lib : QString());
        // Rows in map order; the users are read before any failure.
        QCOMPARE(u.Spalte(f.lstv_Idmap).size(), stand & GLOBAL ? anzahl : 0);
        QCOMPARE(f.lbl_Entries->text(),
                 stand & GLOBAL ? QString::number(anzahl) + "  User" : "Entries: ");
        const QString n = QString::number(ids.value(anzahl - 1));
        for (int s = 0; s < 5 && anzahl > 0 && (stand & GLOBAL); ++s)
            QCOMPARE(u.Spalte(f.lstv_Idmap, s).last(),
                     (QStringList{n, "U" + n, "PC" + n, "C:\\L" + n + "\\", ""}[s]));
    }

    void infoAndRefreshFollowMarkers() {
        Umgebung u;
        u.Vollständig();
        const QString marke = u.t.Datei("global/_!qkA007", {});
        Idmap_frm1 f(u.z);
        QCOMPARE(u.Spalte(f.lstv_Idmap, 4), (QStringList{"", "A", "", "", ""}));
        // Workstations log out and in after the start: Refresh and Info look again.
        QFile::remove(marke);
        u.t.Datei("global/_!qkA254", {});
        QVERIFY(f.Befehl_Ausführen(f.mnu_Aktualisieren));
        QCOMPARE(u.Spalte(f.lstv_Idmap, 4), (QStringList{"", "", "", "", "A"}));
        u.t.Datei("global/_!qk_012", {});
        QVERIFY(f.Befehl_Ausführen(f.mnu_Info));
        u.z.LibPath.clear();
        QVERIFY(f.Befehl_Ausführen(f.mnu_Info));
        QCOMPARE(u.Spalte(f.lstv_Idmap, 4), (QStringList{"", "", "A", "", "A"}));
        QCOMPARE(u.p.Titel(), (QStringList{"Info", "Info"}));
        QCOMPARE(u.p.meldungen[0].symbol, Symbol::Information);
        const QString kopf = "Global Directory:  \r\n" + u.global + "          \r\n\r\nLibrary:  ";
        const QString rest = "          \r\n\r\nUser:  5\r\n\r\nStatus:  2  Logins\r\n\r\n\r\n";
        QCOMPARE(u.p.meldungen[0].text, kopf + u.lib + rest);
        QCOMPARE(u.p.meldungen[1].text, kopf + rest);
    }

    void commandsOverARun() {
        Umgebung u;
        u.Map({1, 7, 12, 23});
        u.Speichern(u.global, QString());
        Idmap_frm1 f(u.z);
        u.Zeigen(f);
        u.Klicken(f.lstv_Idmap, 0);
        u.p.einstellungen.clear();
        bool zweiter = true;
        int läufe = 0;
        f.Befehl_Setzen(f.mnu_Info, [&] {
            ++läufe;
            // A second command, a click on another row and a close request while this one
            // lets events through: none of them gets in.
            zweiter = f.Befehl_Ausführen(f.mnu_Aktualisieren) || f.Befehl_Ausführen(f.mnu_Info);
            u.Klicken(f.lstv_Idmap, 3);
            f.close();
        });
        f.mnu_Info->trigger();
        QVERIFY(läufe == 1 && !zweiter && f.isVisible() && u.p.einstellungen.isEmpty());
        QCOMPARE(int(u.z.UserNr), 1);
        // Afterwards everything works again, and none of the shell's own commands changes
        // what later commands enable or disable.
        u.p.ordnerAntworten = {u.global.chopped(1)};
        for (QAction* a : {f.mnu_Aktualisieren, f.mnu_GlobalDir, f.mnu_Hilfethemen})
            QVERIFY(f.Befehl_Ausführen(a));
        u.Klicken(f.lstv_Idmap, 3);
        QCOMPARE(int(u.z.UserNr), 23);
        QCOMPARE(Menüs(f), QStringLiteral("10000/111111"));
        // What the library chooser enables, the main window leaves enabled.
        for (QAction* a :
             {f.mnu_Bearbeiten->menuAction(), f.mnu_Ansicht->menuAction(), f.mnu_Speichern})
            a->setEnabled(true);
        QVERIFY(f.Befehl_Ausführen(f.mnu_Aktualisieren));
        u.Klicken(f.lstv_Idmap, 0);
        QCOMPARE(Menüs(f), QStringLiteral("11110/111111"));
        f.Hilfe()->close();
    }

    void globalDirectoryCheckLoop() {
        Umgebung u;
        u.Map({1, 2});
        u.t.Datei("global/QK_LIBPATHS.TXT", "/x/lib/\r\n");
        const QString leer = u.t.Ordner("leer");
        u.Map({40}, "neu");
        u.t.Datei("neu/QK_LIBPATHS.TXT", "/y/lib/\r\n");
        Idmap_frm1 f(u.z); // nothing stored
        u.p.meldungen.clear();
        // A folder without the map, OK, the Global Directory: its users and Libraries are read.
        u.p.ordnerAntworten = {leer.chopped(1), u.global.chopped(1)};
        u.p.antworten = {Antwort::OK};
        QVERIFY(f.Befehl_Ausführen(f.mnu_GlobalDir));
        QCOMPARE(u.p.Titel(), QStringList{"Error(''" + leer + "'')"});
        QCOMPARE(u.p.meldungen[0].text, CRLF + "Please choose a Library.     ");
        QCOMPARE(u.p.meldungen[0].knöpfe, Knöpfe::OKAbbrechen);
        QCOMPARE(u.z.LibListe, QStringList{"/x/lib/"});
        QCOMPARE(Menüs(f).left(3), QStringLiteral("100"));
        // Cancel in the check, or in the dialog, returns the previous folder.
        u.p.ordnerAntworten = {leer.chopped(1), QString()};
        u.p.antworten = {Antwort::Abbrechen};
        QVERIFY(f.Befehl_Ausführen(f.mnu_GlobalDir) && f.Befehl_Ausführen(f.mnu_GlobalDir));
        QCOMPARE(u.z.GlobalPath, u.global);
        QCOMPARE(u.Spalte(f.lstv_Idmap), (QStringList{"1", "2"}));
        // Another folder whose Library list cannot be read: the previous list is not its own.
        Liste_Unlesbar();
        u.p.ordnerAntworten = {u.t.Pfad() + "neu"};
        QVERIFY(f.Befehl_Ausführen(f.mnu_GlobalDir));
        QCOMPARE(u.Spalte(f.lstv_Idmap), QStringList{"40"});
        QVERIFY(u.z.LibListe.isEmpty());
        QCOMPARE(u.p.meldungen.last().text,
                 "Error when reading from Global-Directory." + CRLF + "Error number: 75");
    }

    void leaving_data() {
        QTest::addColumn<int>("stand");
        QTest::addColumn<bool>("beenden");    // Exit, else the close box
        QTest::addColumn<Antwort>("antwort"); // to the question to save; OK: nothing changed
        QTest::addColumn<QString>("lib");     // the Library stored; "-": none
        QTest::newRow("close") << (GLOBAL | LIB) << false << Antwort::OK << "/anders/";
        QTest::newRow("close, no Library") << GLOBAL << false << Antwort::OK << "";
        QTest::newRow("close, no Global Directory") << LIB << false << Antwort::OK << "-";
        QTest::newRow("close, save") << (GLOBAL | LIB) << false << Antwort::Ja << "/anders/";
        QTest::newRow("exit") << (GLOBAL | LIB) << true << Antwort::OK << "-";
        QTest::newRow("exit, save") << (GLOBAL | LIB) << true << Antwort::Ja << "-";
        QTest::newRow("exit, do not save") << (GLOBAL | LIB) << true << Antwort::Nein << "-";
        QTest::newRow("exit, cancel") << (GLOBAL | LIB) << true << Antwort::Abbrechen << "-";
    }
    void leaving() {
        QFETCH(int, stand);
        QFETCH(bool, beenden);
        QFETCH(Antwort, antwort);
        QFETCH(QString, lib);
        Umgebung u;
        u.Map({1, 7});
        u.Library();
        u.Speichern(stand & GLOBAL ? u.global : QString(), stand & LIB ? u.lib : QString());
        const QByteArray vorher = u.t.Lesen("global/QK_IDMAP.NET");
        {
            Idmap_frm1 f(u.z);
            u.Zeigen(f);
            f.Hilfe_Zeigen(106);
            u.p.einstellungen.clear();
            u.p.meldungen.clear();
            if (stand == (GLOBAL | LIB))
                u.z.LibPath = "/anders/";
            if ((u.z.Geändert = antwort != Antwort::OK))
                u.z.IdmapListe[0].UserName = "Geändert";
            u.p.antworten = {antwort};
            QVERIFY(beenden ? f.Befehl_Ausführen(f.mnu_Beenden) : f.close());
            // The help window goes with the main window.
            QCOMPARE(f.isVisible() || f.Hilfe()->isVisible(), antwort == Antwort::Abbrechen);
        }
        QCOMPARE(u.t.Lesen("global/QK_IDMAP.NET") != vorher, antwort == Antwort::Ja);
        QCOMPARE(u.t.Existiert("global/QK_IDMAP.BAK"), antwort == Antwort::Ja);
        QCOMPARE(u.p.meldungen.size(), antwort == Antwort::OK ? 0 : 1);
        if (antwort != Antwort::OK) {
            QCOMPARE(u.p.meldungen[0].text, QStringLiteral("Do you want to save the settings ?"));
            QCOMPARE(u.p.meldungen[0].titel, QStringLiteral("Save"));
            QCOMPARE(u.p.meldungen[0].knöpfe, beenden ? Knöpfe::JaNeinAbbrechen : Knöpfe::JaNein);
        }
        // Exit stores nothing; the close box stores the paths for the next run.
        const QString global = beenden ? "-" : stand & GLOBAL ? u.global : QString();
        QCOMPARE(u.p.einstellungen.value("Pathname/GlobalPath", "-"), global);
        QCOMPARE(u.p.einstellungen.value("Pathname/LibPath", "-"), lib);
        Zustand z2(u.p);
        Idmap_frm1 f2(z2);
        QCOMPARE(z2.GlobalPath, beenden ? QString() : global);
        QCOMPARE(z2.LibPath, lib == "-" ? QString() : lib);
    }

    void everyMenuItemHasItsTopic() {
        Umgebung u;
        Idmap_frm1 f(u.z);
        QList<QAction*> punkte;
        for (QMenu* m : {f.mnu_Datei, f.mnu_Bearbeiten, f.mnu_Ansicht, f.mnu_Hilfe})
            punkte += QList<QAction*>{m->menuAction()} + m->actions();
        punkte.removeIf([](const QAction* a) { return a->isSeparator(); });
        QCOMPARE(punkte.size(), Hilfethemen().size());
        for (QAction* a : punkte) {
            const QString name = a->menu() ? a->menu()->objectName() : a->objectName();
            const Hilfethema* t = Hilfethema_Suchen(Idmap_frm1::Hilfekontext(a), name);
            QVERIFY2(t != nullptr && t->name == name, qPrintable(name));
            QCOMPARE(Hilfethema_Titel(*t), a->text().remove('&').trimmed());
        }
    }
};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
