#include "fehlerstelle.h"
#include "shell/hilfe_frm1.h"
#include "shell/hilfetexte.h"
#include "shell/idmap_frm1.h"
#include "shell/texte.h"
#include "umgebung.h"

#include <QtTest>
#include <QtWidgets>

using namespace qk;
using test::Umgebung;

namespace {

constexpr int GLOBAL = 1, LIB = 2, OHNE_LIBINFO = 4, LISTE_UNLESBAR = 8;

// Library item, Edit, View, Save, Undo: '1' enabled.
QString Menüs(const Idmap_frm1& f) {
    QString s;
    for (QAction* a : {f.mnu_LibDir, f.mnu_Bearbeiten->menuAction(), f.mnu_Ansicht->menuAction(),
                       f.mnu_Speichern, f.mnu_Rückgängig})
        s += a->isEnabled() ? '1' : '0';
    return s;
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { test::Nachräumen(); }

    void startup_data() {
        QTest::addColumn<int>("stand");
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<QString>("meldungen"); // captions, then the last text; %1 the Library
        QTest::newRow("no Library") << 0 << 5 << "No Library!|Please choose a library.     ";
        QTest::newRow("no LIBINFO.SYS")
            << (LIB | OHNE_LIBINFO) << 5
            << "Invalid Library|File  ''%1LIBINFO.SYS''  not found !\r\n";
        QTest::newRow("unreadable Library list")
            << (LIB | LISTE_UNLESBAR) << 5 << "Form_Load_Error|Load Error\r\nError number: 75";
        QTest::newRow("0 users")
            << LIB << 0
            << "UserLogins_Ermitteln_Error;IdmapListe_In_Liste_Übertragen_Error|"
               "No entries in Array(IdmapListe) !";
        QTest::newRow("256 users") << LIB << 256 << "|";
    }
    void startup() {
        QFETCH(int, stand);
        QFETCH(int, anzahl);
        Umgebung u;
        QList<int> ids;
        QStringList zeilen;
        for (int i = 0; i < anzahl; ++i)
            zeilen.append(QString::number(ids.emplace_back(i % 254 + 1)));
        u.Map(ids);
        u.t.Datei("global/QK_LIBPATHS.TXT", "/x/lib/\r\n");
        if (!(stand & OHNE_LIBINFO))
            u.Library();
        u.Speichern(u.global, stand & LIB ? u.lib : QString());
        if (stand & LISTE_UNLESBAR)
            test::Verweigern(datei::Vorgang::Lesen, "QK_LIBPATHS.TXT");
        Idmap_frm1 f(u.z);
        const auto& m = u.p.meldungen;
        QTEST(u.p.Titel().join(';') + '|' +
                  (m.isEmpty() ? "" : QString(m.last().text).replace(u.lib, "%1")),
              "meldungen");
        QVERIFY(m.isEmpty() || m.last().symbol == Symbol::Ausruf);
        // Edit and View need a Library; Save and Undo wait for a change.
        QCOMPARE(Menüs(f), stand & LIB ? "11100" : "10000");
        QCOMPARE(u.z.GlobalPath, u.global);
        QCOMPARE(u.z.LibPath, (stand & LIB) && !(stand & LISTE_UNLESBAR) ? u.lib : QString());
        // Rows in map order; the users are read before any failure.
        QCOMPARE(u.Spalte(f.lstv_Idmap), zeilen);
        QCOMPARE(f.lbl_Entries->text(), QString::number(anzahl) + "  User");
    }

    // One run: the Global Directory chosen through its check loop, Refresh and Info looking at
    // the login markers again, one command at a time, and the menus each step leaves.
    void commandsOverARun() {
        Umgebung u;
        u.Map({1, 7, 12, 23});
        u.t.Datei("global/QK_LIBPATHS.TXT", "/x/lib/\r\n");
        u.t.Datei("global/_!qkA007", {});
        u.Map({40}, "neu");
        u.t.Datei("neu/QK_LIBPATHS.TXT", "/y/lib/\r\n");
        const QString leer = u.t.Ordner("leer");
        Idmap_frm1 f(u.z); // nothing stored
        u.Zeigen(f);
        QCOMPARE(Menüs(f), QStringLiteral("00000"));
        // A folder without the map, OK, the Global Directory: its users and Libraries are read.
        u.p.ordnerAntworten = {leer.chopped(1), u.global.chopped(1)};
        u.p.antworten = {Antwort::OK};
        QVERIFY(f.Befehl_Ausführen(f.mnu_GlobalDir));
        QCOMPARE(u.p.Gezeigt(),
                 (QStringList{"No Global Directory!|Please choose a Global Directory.     ",
                              "Error(''" + leer + "'')|\r\nPlease choose a Library.     "}));
        QCOMPARE(u.p.meldungen[1].knöpfe, Knöpfe::OKAbbrechen);
        QCOMPARE(u.z.LibListe, QStringList{"/x/lib/"});
        QCOMPARE(Menüs(f), QStringLiteral("10000"));
        QCOMPARE(u.Spalte(f.lstv_Idmap, 4), (QStringList{"", "A", "", ""}));
        // Cancel in the check, or in the dialog, returns the previous folder.
        u.p.ordnerAntworten = {leer.chopped(1), QString()};
        u.p.antworten = {Antwort::Abbrechen};
        QVERIFY(f.Befehl_Ausführen(f.mnu_GlobalDir) && f.Befehl_Ausführen(f.mnu_GlobalDir));
        QCOMPARE(u.z.GlobalPath, u.global);
        // Workstations log out and in after the start.
        QVERIFY(QFile::remove(u.global + "_!qkA007"));
        u.t.Datei("global/_!qkA023", {});
        QVERIFY(f.Befehl_Ausführen(f.mnu_Aktualisieren));
        QCOMPARE(u.Spalte(f.lstv_Idmap, 4), (QStringList{"", "", "", "A"}));
        u.t.Datei("global/_!qk_012", {});
        u.p.meldungen.clear();
        u.z.LibPath = u.lib;
        QVERIFY(f.Befehl_Ausführen(f.mnu_Info));
        u.z.LibPath.clear();
        QVERIFY(f.Befehl_Ausführen(f.mnu_Info));
        QCOMPARE(u.p.Titel(), (QStringList{"Info", "Info"}));
        const QString kopf = "Global Directory:  \r\n" + u.global + "          \r\n\r\nLibrary:  ";
        const QString rest = "          \r\n\r\nUser:  4\r\n\r\nStatus:  2  Logins\r\n\r\n\r\n";
        QCOMPARE(u.p.meldungen[0].text, kopf + u.lib + rest);
        QCOMPARE(u.p.meldungen[1].text, kopf + rest);

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
        u.p.ordnerAntworten = {u.global.chopped(1)};
        for (QAction* a : {f.mnu_Aktualisieren, f.mnu_GlobalDir, f.mnu_Hilfethemen})
            QVERIFY(f.Befehl_Ausführen(a));
        // What a change enables, Refresh and a click leave enabled.
        f.mnu_Speichern->setEnabled(true);
        QVERIFY(f.Befehl_Ausführen(f.mnu_Aktualisieren));
        u.Klicken(f.lstv_Idmap, 3);
        QCOMPARE(int(u.z.UserNr), 23);
        QCOMPARE(Menüs(f), QStringLiteral("10010"));
        f.Hilfe()->close();
        // Another folder whose Library list cannot be read: the previous list is not its own.
        test::Verweigern(datei::Vorgang::Lesen, "QK_LIBPATHS.TXT");
        u.p.ordnerAntworten = {u.t.Pfad() + "neu"};
        QVERIFY(f.Befehl_Ausführen(f.mnu_GlobalDir));
        QCOMPARE(u.Spalte(f.lstv_Idmap), QStringList{"40"});
        QVERIFY(u.z.LibListe.isEmpty());
        QCOMPARE(u.p.meldungen.last().text,
                 QStringLiteral("Error when reading from Global-Directory.\r\nError number: 75"));
        // OK in the Library chooser then must not wipe the list it never saw.
        QTimer::singleShot(0, [] {
            QApplication::activeModalWidget()->findChild<QAbstractButton*>("cmd_OK")->click();
        });
        QVERIFY(f.Befehl_Ausführen(f.mnu_LibDir));
        QCOMPARE(u.t.Lesen("neu/QK_LIBPATHS.TXT"), QByteArray("/y/lib/\r\n"));
        QCOMPARE(u.p.meldungen.last().titel + '|' + u.p.meldungen.last().text,
                 "Datei_LibPath_Schreiben_Error|QK_LIBPATHS.TXT could not be read, so it is not "
                 "written: the Libraries it lists would be lost.\r\nError number: 75");
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
        QCOMPARE(u.t.Lesen("global/QK_IDMAP.NET") != vorher, antwort == Antwort::Ja);
        QCOMPARE(u.p.Titel(), antwort == Antwort::OK ? QStringList() : QStringList{"Save"});
        for (const test::GezeigteMeldung& m : u.p.meldungen)
            QVERIFY(m.text == "Do you want to save the settings ?" &&
                    m.knöpfe == (beenden ? Knöpfe::JaNeinAbbrechen : Knöpfe::JaNein));
        // Exit stores nothing; the close box stores the paths for the next run.
        const QString global = beenden ? "-" : stand & GLOBAL ? u.global : QString();
        QCOMPARE(u.p.einstellungen.value("Pathname/GlobalPath", "-"), global);
        QCOMPARE(u.p.einstellungen.value("Pathname/LibPath", "-"), lib);
        Zustand z2(u.p);
        Idmap_frm1 f2(z2);
        QCOMPARE(z2.GlobalPath, beenden ? QString() : global);
        QCOMPARE(z2.LibPath, lib == "-" ? QString() : lib);
    }

    // Every text number the program looks up is in the table, and no message is a sentence
    // written into the code instead; only the fixed German texts are. The scan has to find the
    // program's many lookups, or it proves nothing.
    void everyTextComesFromTheTable() {
        const QRegularExpression nachschlagen("LoadResString\\(([^()]*)\\)|TEXT_\\w+ = (\\d+)");
        const QRegularExpression zahl("\\b[1-9]\\d{2,3}\\b");
        const QRegularExpression satz("\"([A-Z][a-z]+ [^\"]*[.!?])\"");
        const QStringList fest{"Fehler beim \u00D6ffnen der Datei.",
                               "Fehler beim Schreiben von BOOKDATA.LOG.",
                               "Fehler beim Wiederherstellen."};
        QSet<int> nummern;
        QStringList sätze;
        QDirIterator it(QK_QUELLEN, {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile datei(it.next());
            QVERIFY(datei.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(datei.readAll());
            for (const auto& n : nachschlagen.globalMatch(text))
                for (const auto& z : zahl.globalMatch(n.captured(1) + ' ' + n.captured(2)))
                    nummern.insert(z.captured().toInt());
            if (it.fileName() == "texte.cpp" || it.fileName() == "hilfetexte.cpp")
                continue;
            for (const auto& s : satz.globalMatch(text)) {
                if (!fest.contains(s.captured(1)))
                    sätze.append(it.fileName() + ": " + s.captured(1));
            }
        }
        QVERIFY2(nummern.size() > 150, qPrintable(QString::number(nummern.size())));
        for (int n : std::as_const(nummern))
            QVERIFY2(Textnummern().contains(n), qPrintable(QString::number(n)));
        QCOMPARE(sätze, QStringList());
    }

    // F1 on any menu or item finds a topic titled like the item.
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
        // A highlighted item that is disabled (Save, before any change) is explained all the same.
        f.mnu_Datei->popup(QPoint());
        f.mnu_Datei->setActiveAction(f.mnu_Speichern);
        QTest::keyClick(f.mnu_Datei, Qt::Key_F1);
        QTRY_COMPARE(f.Hilfe() ? f.Hilfe()->Aktuelles_Thema() : "",
                     QStringLiteral("mnu_Speichern"));
    }
};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
