#include "config/libraries_frm1.h"
#include "dialog_lauf.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/routinen.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

using namespace qk;
using test::Klicken;
using test::Modal_Ausführen;

namespace {

// A Global Directory and three Libraries (LibA, LibB, LibC) with their LIBINFO.SYS.
struct Umgebung {
    test::TempOrdner t;
    test::TestPlattform p;
    Zustand z{p};
    int menüsFreigegeben = 0;

    Umgebung() {
        z.GlobalPath = t.Ordner(QStringLiteral("Global"));
        for (const char* lib : {"LibA", "LibB", "LibC"})
            t.Datei(QString::fromLatin1(lib) + QStringLiteral("/LIBINFO.SYS"), "");
    }
    QString Ordner(const char* name) const { return t.Pfad() + QString::fromUtf8(name); }
    QString Lib(const char* name) const { return Ordner(name) + QLatin1Char('/'); }
    void Liste(const QByteArray& inhalt) {
        t.Datei(QStringLiteral("Global/QK_LIBPATHS.TXT"), inhalt);
        LibPaths_Einlesen(z);
    }
    QByteArray Datei() const { return t.Lesen(QStringLiteral("Global/QK_LIBPATHS.TXT")); }
    std::function<void()> Freigabe() {
        return [this] { ++menüsFreigegeben; };
    }
};

QComboBox* Combo(QDialog& d) {
    return d.findChild<QComboBox*>(QStringLiteral("cbo_Libraries"));
}

QStringList Einträge(QComboBox* c) {
    QStringList e;
    for (int i = 0; i < c->count(); ++i)
        e.append(c->itemText(i));
    return e;
}

} // namespace

class TestLibrariesFrm1 : public QObject {
    Q_OBJECT
private slots:
    void loadShowsListAndCurrentLibrary() {
        Umgebung u;
        u.Liste((u.Lib("LibA") + "\r\n" + u.Lib("LibB") + "\r\n").toUtf8());
        u.z.LibPath = u.Lib("LibC"); // not listed: shown all the same
        Libraries_frm1 d(u.z, u.Freigabe());
        QCOMPARE(d.windowTitle(), QStringLiteral("Bibliotheken"));
        QCOMPARE(Einträge(Combo(d)), QStringList({u.Lib("LibA"), u.Lib("LibB")}));
        QCOMPARE(Combo(d)->currentText(), u.Lib("LibC"));
        QCOMPARE(u.menüsFreigegeben, 0);
        QVERIFY(u.p.meldungen.isEmpty());
    }

    void chooseWithoutListFile() {
        Umgebung u;
        u.p.ordnerAntworten = {u.Ordner("LibA")};
        Libraries_frm1 d(u.z, u.Freigabe());
        QCOMPARE(Combo(d)->count(), 0);
        const auto lauf = Modal_Ausführen(d, [&] {
            Klicken(d, "cmd_Wählen");
            QCOMPARE(u.z.LibListe, QStringList{u.Lib("LibA")});
            QCOMPARE(Combo(d)->currentText(), u.Lib("LibA"));
            Klicken(d, "cmd_OK");
        });
        QCOMPARE(lauf.ergebnis, int(QDialog::Accepted));
        QCOMPARE(u.z.LibPath, u.Lib("LibA"));
        QCOMPARE(u.Datei(), (u.Lib("LibA") + "\r\n").toUtf8());
        // The very first Library does not free the menus; that waits for the next start.
        QCOMPARE(u.menüsFreigegeben, 0);
        QVERIFY(u.p.meldungen.isEmpty());
    }

    void chooseNewLibraryAppendsAndFreesMenus() {
        Umgebung u;
        u.Liste((u.Lib("LibA") + "\r\n").toUtf8());
        u.z.LibPath = u.Lib("LibA");
        u.p.ordnerAntworten = {u.Ordner("LibB")};
        Libraries_frm1 d(u.z, u.Freigabe());
        Modal_Ausführen(d, [&] { Klicken(d, "cmd_Wählen"); });
        QCOMPARE(u.z.LibListe, QStringList({u.Lib("LibA"), u.Lib("LibB")}));
        QCOMPARE(Einträge(Combo(d)), u.z.LibListe);
        QCOMPARE(Combo(d)->currentText(), u.Lib("LibB"));
        QCOMPARE(u.z.LibPath, u.Lib("LibB"));
        QCOMPARE(u.z.LibPath_Alt, u.Lib("LibA"));
        QCOMPARE(u.menüsFreigegeben, 1);
    }

    void chooseListedLibrary_data() {
        QTest::addColumn<QString>("antwort"); // the folder dialog's answer; empty: cancelled
        QTest::newRow("listed folder chosen") << "LibB";
        QTest::newRow("folder dialog cancelled") << "";
    }
    void chooseListedLibrary() {
        QFETCH(QString, antwort);
        Umgebung u;
        u.Liste((u.Lib("LibA") + "\r\n" + u.Lib("LibB") + "\r\n").toUtf8());
        u.z.LibPath = u.Lib("LibB");
        if (!antwort.isEmpty())
            u.p.ordnerAntworten = {u.Ordner(antwort.toLatin1().constData())};
        Libraries_frm1 d(u.z, u.Freigabe());
        Modal_Ausführen(d, [&] { Klicken(d, "cmd_Wählen"); });
        QCOMPARE(u.p.meldungen.size(), 1);
        QCOMPARE(u.p.meldungen[0].text, QStringLiteral("A library with this name still exists !"));
        QCOMPARE(u.p.meldungen[0].titel, QStringLiteral("Library"));
        QCOMPARE(u.p.meldungen[0].symbol, Symbol::Stopp);
        QCOMPARE(u.p.meldungen[0].knöpfe, Knöpfe::OK);
        QCOMPARE(u.z.LibListe, QStringList({u.Lib("LibA"), u.Lib("LibB")}));
        QCOMPARE(Combo(d)->count(), 2);
        QCOMPARE(u.z.LibPath, u.Lib("LibB"));
        QCOMPARE(u.menüsFreigegeben, 1);
    }

    void pathsDifferingOnlyInCase() {
        Umgebung u;
        u.Liste((u.Lib("LibA") + "\r\n").toUtf8());
        u.z.LibPath = u.Lib("LibA");
        // The folder is found whatever the spelling, but the list compares exactly.
        u.p.ordnerAntworten = {u.Ordner("LIBA")};
        Libraries_frm1 d(u.z, u.Freigabe());
        Modal_Ausführen(d, [&] {
            Klicken(d, "cmd_Wählen");
            Klicken(d, "cmd_OK");
        });
        QVERIFY(u.p.meldungen.isEmpty());
        QCOMPARE(u.z.LibListe, QStringList({u.Lib("LibA"), u.Lib("LIBA")}));
        QCOMPARE(u.z.LibPath, u.Lib("LIBA"));
        QCOMPARE(u.Datei(), (u.Lib("LibA") + "\r\n" + u.Lib("LIBA") + "\r\n").toUtf8());
    }

    void chooseThenCancel() {
        Umgebung u;
        const QByteArray alt = (u.Lib("LibA") + "\r\n").toUtf8();
        u.Liste(alt);
        u.z.LibPath = u.Lib("LibA");
        u.p.ordnerAntworten = {u.Ordner("LibB")};
        {
            Libraries_frm1 d(u.z, u.Freigabe());
            const auto lauf = Modal_Ausführen(d, [&] {
                Klicken(d, "cmd_Wählen");
                Klicken(d, "cmd_Abbrechen");
            });
            QCOMPARE(lauf.ergebnis, int(QDialog::Rejected));
        }
        QCOMPARE(u.z.LibPath, u.Lib("LibB"));
        QCOMPARE(u.Datei(), alt);
        // Opened again in the same run, the list shows what OK would now write.
        Libraries_frm1 wieder(u.z, u.Freigabe());
        QCOMPARE(Einträge(Combo(wieder)), QStringList({u.Lib("LibA"), u.Lib("LibB")}));
    }

    void chooseAgainAfterFirstLibraryAddsNoDuplicate() {
        Umgebung u;
        u.p.ordnerAntworten = {u.Ordner("LibA"), u.Ordner("LibA")};
        Libraries_frm1 d(u.z, u.Freigabe());
        Modal_Ausführen(d, [&] {
            Klicken(d, "cmd_Wählen");
            Klicken(d, "cmd_Wählen");
        });
        QCOMPARE(u.z.LibListe, QStringList{u.Lib("LibA")});
        QCOMPARE(u.p.Titel(), QStringList{QStringLiteral("Library")});
    }

    void cancelledChoiceWithNothingKnownAddsNoEmptyEntry() {
        Umgebung u;
        Libraries_frm1 d(u.z, u.Freigabe());
        Modal_Ausführen(d, [&] {
            Klicken(d, "cmd_Wählen");
            Klicken(d, "cmd_OK");
        });
        QVERIFY(u.z.LibListe.isEmpty());
        QCOMPARE(u.z.LibPath, QString());
        QCOMPARE(u.Datei(), QByteArray());
        QCOMPARE(u.menüsFreigegeben, 0);
        QVERIFY(u.p.meldungen.isEmpty());
    }

    void clickOnEntryFreesMenus() {
        Umgebung u;
        u.z.LibListe = {QString(), u.Lib("LibA"), u.Lib("LibB")};
        Libraries_frm1 d(u.z, u.Freigabe());
        Modal_Ausführen(d, [&] {
            QComboBox* c = Combo(d);
            c->setFocus();
            c->setCurrentIndex(1);
            QTest::keyClick(c, Qt::Key_Up); // to the empty entry: nothing to free
            QCOMPARE(c->currentText(), QString());
            QCOMPARE(u.menüsFreigegeben, 0);
            QTest::keyClick(c, Qt::Key_Down);
            QCOMPARE(c->currentText(), u.Lib("LibA"));
            QCOMPARE(u.menüsFreigegeben, 1);
            QTest::keyClick(c, Qt::Key_Down);
            QCOMPARE(u.menüsFreigegeben, 2);
        });
        QCOMPARE(u.z.LibPath, QString()); // only OK takes the entry
    }

    void okTakesTheComboTextUnchecked_data() {
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<QString>("libPath");
        QTest::newRow("typed folder") << "/nirgends/lib/"
                                      << "/nirgends/lib/";
        QTest::newRow("typed without separator") << "/nirgends/lib"
                                                 << "/nirgends/lib/";
        QTest::newRow("windows form") << "X:\\LIB\\"
                                      << "X:\\LIB\\";
        QTest::newRow("emptied") << ""
                                 << "";
        // "=": the text left as it is, all of it selected, as Tab leaves it.
        QTest::newRow("selected text, Return") << "="
                                               << "=";
    }
    void okTakesTheComboTextUnchecked() {
        QFETCH(QString, getippt);
        QFETCH(QString, libPath);
        Umgebung u;
        u.Liste((u.Lib("LibA") + "\r\n").toUtf8());
        u.z.LibPath = u.Lib("LibA");
        Libraries_frm1 d(u.z, u.Freigabe());
        const auto lauf = Modal_Ausführen(d, [&] {
            QLineEdit* e = Combo(d)->lineEdit();
            e->selectAll();
            if (getippt != QStringLiteral("=")) {
                QTest::keyClick(e, Qt::Key_Backspace);
                QTest::keyClicks(e, getippt);
            }
            QTest::keyClick(e, Qt::Key_Return); // the default button
        });
        QCOMPARE(lauf.ergebnis, int(QDialog::Accepted));
        QCOMPARE(u.z.LibPath, libPath == QStringLiteral("=") ? u.Lib("LibA") : libPath);
        QCOMPARE(u.z.LibListe, QStringList{u.Lib("LibA")});
        QCOMPARE(u.Datei(), (u.Lib("LibA") + "\r\n").toUtf8());
    }

    void failedWriteStillCloses() {
        Umgebung u;
        const QByteArray alt = (u.Lib("LibA") + "\r\n").toUtf8();
        u.Liste(alt);
        u.z.LibPath = u.Lib("LibA");
        u.p.ordnerAntworten = {u.Ordner("LibB")};
        Libraries_frm1 d(u.z, u.Freigabe());
        const auto lauf = Modal_Ausführen(d, [&] {
            Klicken(d, "cmd_Wählen");
            datei::Fehlerhaken_Setzen(
                [](datei::Vorgang, const QString&) { throw Fehler(FEHLER_ZUGRIFF); });
            Klicken(d, "cmd_OK");
            datei::Fehlerhaken_Setzen({});
        });
        QCOMPARE(lauf.ergebnis, int(QDialog::Accepted));
        QCOMPARE(u.z.LibPath, u.Lib("LibB"));
        QCOMPARE(u.Datei(), alt);
        QCOMPARE(u.p.meldungen.size(), 1);
        QCOMPARE(u.p.meldungen[0].titel, QStringLiteral("Datei_LibPath_Schreiben_Error"));
        QCOMPARE(u.p.meldungen[0].text,
                 QStringLiteral("Error when writting QK_LIBPATHS.TXT.\r\nError number: 75"));
    }

    void moreThan255Libraries() {
        Umgebung u;
        QByteArray inhalt;
        for (int i = 0; i < 300; ++i)
            inhalt += QStringLiteral("/srv/lib%1/\r\n").arg(i).toLatin1();
        u.Liste(inhalt);
        QCOMPARE(u.z.LibListe.size(), 300);
        u.p.ordnerAntworten = {u.Ordner("LibC")};
        Libraries_frm1 d(u.z, u.Freigabe());
        QCOMPARE(Combo(d)->count(), 300);
        Modal_Ausführen(d, [&] {
            Klicken(d, "cmd_Wählen");
            Klicken(d, "cmd_OK");
        });
        QVERIFY(u.p.meldungen.isEmpty());
        QCOMPARE(u.Datei(), inhalt + (u.Lib("LibC") + "\r\n").toUtf8());
        Zustand gelesen(u.p);
        gelesen.GlobalPath = u.z.GlobalPath;
        LibPaths_Einlesen(gelesen);
        QCOMPARE(gelesen.LibListe.size(), 301);
        QCOMPARE(gelesen.LibListe, u.z.LibListe);
    }

    void listWrittenAndReadBack() {
        Umgebung u;
        u.t.Datei(QStringLiteral("Bücher €/LIBINFO.SYS"), "");
        u.p.ordnerAntworten = {u.Ordner("LibB"), u.Ordner("Bücher €"), u.Ordner("LibA")};
        Libraries_frm1 d(u.z, u.Freigabe());
        Modal_Ausführen(d, [&] {
            for (int i = 0; i < 3; ++i)
                Klicken(d, "cmd_Wählen");
            Klicken(d, "cmd_OK");
        });
        const QStringList geschrieben = {u.Lib("LibB"), u.Lib("Bücher €"), u.Lib("LibA")};
        QCOMPARE(u.z.LibListe, geschrieben);
        QVERIFY(u.Datei().contains("B\xFC"
                                   "cher \x80/\r\n"));
        Zustand gelesen(u.p);
        gelesen.GlobalPath = u.z.GlobalPath;
        LibPaths_Einlesen(gelesen);
        QCOMPARE(gelesen.LibListe, geschrieben);
    }
};

QTEST_MAIN(TestLibrariesFrm1)
#include "test_libraries_frm1.moc"
