#include "../shell/umgebung.h"
#include "config/libraries_frm1.h"
#include "config/local_frm1.h"
#include "config/local_net.h"
#include "shell/routinen.h"

#include <QtTest>
#include <QtWidgets>
#include <filesystem>

using namespace qk;

namespace {

// A Global Directory without a list of Libraries, and the Library lib.
struct Umgebung : test::Umgebung {
    int freigaben = 0;
    Umgebung() {
        z.GlobalPath = global;
        Library();
    }
    ~Umgebung() { datei::Fehlerhaken_Setzen({}); }
    QByteArray Liste() const { return t.Lesen("global/QK_LIBPATHS.TXT"); }
    // "result count", then "|caption: text" of every message; the temporary folder as "~/".
    QString Stand(int ergebnis, qsizetype zahl) const {
        const QString s = QString::number(ergebnis) + ' ' + QString::number(zahl);
        return (QStringList{s} + p.Gezeigt(": ")).join('|').replace(t.Pfad(), "~/");
    }
};

// The steps run inside the dialog's own event loop; a dialog left open ends with -2.
int Modal(QDialog& d, const std::function<void()>& schritte) {
    QTimer::singleShot(0, &d, [&] {
        schritte();
        if (d.isVisible())
            d.done(-2);
    });
    return d.exec();
}

// The Library chooser, counting how often it releases the menus, with the steps run in it.
int Auswahl(Umgebung& u, const std::function<void(QDialog&)>& schritte) {
    Libraries_frm1 d(u.z, [&] { ++u.freigaben; });
    return Modal(d, [&] { schritte(d); });
}

void Klicken(QDialog& d, const char* name) {
    QTest::mouseClick(d.findChild<QAbstractButton*>(QString::fromUtf8(name)), Qt::LeftButton);
}

void Fehlerhaken(int nummer) {
    datei::Fehlerhaken_Setzen([nummer](datei::Vorgang, const QString&) { throw Fehler(nummer); });
}

QStringList Einträge(QDialog& d) {
    auto* c = d.findChild<QComboBox*>("cbo_Libraries");
    QStringList e;
    for (int i = 0; i < c->count(); ++i)
        e.append(c->itemText(i));
    return e << "=" + c->currentText();
}

// QK_LOCAL.NET: the User-ID and the Global Directory as in a map record, then 0xFF and the
// Local Directory the same way; 522 bytes.
QByteArray Local_Bytes(quint8 user, const QByteArray& global, const QByteArray& lokal) {
    return test::Idmap_Satz(user, global).left(261) + test::Idmap_Satz(0xFF, lokal).left(261);
}

const QString ID_TEXT = "Error: The User-ID must be a number from 1 to 254.";
const char* const FELDER[] = {"txt_UserNumber", "txt_DirPath", "txt_ProgPath"};

} // namespace

class TestConfig : public QObject {
    Q_OBJECT
private slots:
    void userNumberAndInputCheck() {
        const std::pair<const char*, double> fälle[] = {
            {"12", 12}, {"7abc", 7},  {"abc", 0},     {"", 0},         {"2.5", 2},
            {"3.5", 4}, {"0.5", 0},   {"254.5", 254}, {"254.51", 255}, {"   42", 42},
            {"1 2", 1}, {"1e2", 100}, {"25E-1", 2},   {"1e", 1},       {"-3", -3},
            {".7", 1},  {"1.5.9", 2}, {"&H10", 0},    {"- 3", 0},      {"\u0661\u0662", 0}};
        for (const auto& [text, nummer] : fälle)
            QVERIFY2(UserNummer_Lesen(QString::fromUtf8(text)) == nummer, text);
        for (const char* nummer : {"12", "254.5"})
            QCOMPARE(Local_Eingabe_Prüfen(nummer, "G\u00E4\u20AC", "L"), QString());
        for (const char* nummer : {"0.5", "0", "256", "-3", "1e400"})
            QCOMPARE(Local_Eingabe_Prüfen(nummer, "G", "L"), ID_TEXT.mid(7));
        QCOMPARE(Local_Eingabe_Prüfen("5", QString(259, 'g'), QString(259, 'l')), QString());
        QCOMPARE(Local_Eingabe_Prüfen("5", QString(260, 'g'), "L"),
                 "The Global Directory must be shorter than 260 characters.");
        QCOMPARE(Local_Eingabe_Prüfen("5", "G\u4E2D", "L"),
                 "The Global Directory contains characters that QK_LOCAL.NET cannot hold.");
        QCOMPARE(Local_Feld(QString(259, 'a')), QByteArray(259, 'a') + '\0');
        QCOMPARE(Local_Feld(QString(300, 'a')), QByteArray(260, 'a'));
        QCOMPARE(Local_Feld("C:\\B\u00FCro\\\u20AC\\").left(10),
                 QByteArray("C:\\B\xFCro\\\x80\\\0", 10));
    }

    void localDialog_data() {
        QTest::addColumn<QString>("eingabe"); // User-ID|Global Directory|Local Directory
        // 0: a file; 1: Cancel; 2: a full disk at the first try; else the dialog's error;
        // negative: the Cancel button.
        QTest::addColumn<int>("speichern");
        QTest::addColumn<QString>("stand"); // result (-2: still open) and save dialogs opened
        QTest::addColumn<int>("user");      // the User-ID written; negative: the file kept
        const QString gut = "5|G|L";
        QTest::newRow("3.5") << "3.5|G|L" << 0 << "1 1" << 4;
        QTest::newRow("written after a failed write")
            << "12|F:\\NET\\|C:\\CAD\\" << 2
            << "1 2|Local_Schreiben_Error: Error when saving  ''~/QK_LOCAL.NET''\r\nError number: "
               "61"
            << 12;
        QTest::newRow("empty field") << "5||L" << 0 << "-2 0|Error: Please insert a value." << -1;
        QTest::newRow("out of range") << "255|G|L" << 0 << "-2 0|" + ID_TEXT << -1;
        QTest::newRow("long Local Directory")
            << "5|G|" + QString(260, 'l') << 0
            << "-2 0|Error: The Local Directory must be shorter than 260 characters." << -1;
        QTest::newRow("Cancel button") << gut << -1 << "0 0" << -1;
        QTest::newRow("save dialog cancelled") << gut << 1 << "0 1" << -1;
        QTest::newRow("save dialog reports cancel") << gut << int(FEHLER_ABBRUCH) << "0 1" << -1;
        QTest::newRow("save dialog fails")
            << gut << 20477
            << "0 1|Speichern_Err: Fehler beim \u00D6ffnen der Datei.\r\nErrorNr: 20477" << -1;
    }
    void localDialog() {
        QFETCH(QString, eingabe);
        QFETCH(int, speichern);
        QFETCH(int, user);
        Umgebung u;
        const QByteArray alt(4096, 'x'); // longer than what is written over it
        const QString ziel = u.t.Datei("QK_LOCAL.NET", alt);
        // A second name of the same file must see what the first one is given.
        std::filesystem::create_hard_link(ziel.toStdString(),
                                          (u.t.Pfad() + "LINK.NET").toStdString());
        u.p.speichernAntworten = QStringList(2, speichern == 1 ? QString() : ziel);
        u.p.speichernFehler = speichern > 2 ? speichern : 0;
        Local_frm1 d(u.z);
        const QStringList felder = eingabe.split('|');
        const int ergebnis = Modal(d, [&] {
            for (int i = 0; i < 3; ++i)
                QTest::keyClicks(d.findChild<QLineEdit*>(FELDER[i]), felder[i]);
            if (speichern == 2) {
                Fehlerhaken(FEHLER_DATENTRAEGER_VOLL);
                Klicken(d, "cmd_OK");
                datei::Fehlerhaken_Setzen({});
                QVERIFY(d.isVisible()); // the input stays for a second try
                QCOMPARE(u.t.Lesen("QK_LOCAL.NET"), alt);
            }
            Klicken(d, speichern < 0 ? "cmd_Abbrechen" : "cmd_OK");
        });
        QTEST(u.Stand(ergebnis, u.p.speichernFilter.count("QK_LOCAL.NET (*.net)")), "stand");
        QCOMPARE(u.t.Lesen("QK_LOCAL.NET"),
                 user < 0 ? alt : Local_Bytes(user, felder[1].toLatin1(), felder[2].toLatin1()));
        QCOMPARE(u.t.Lesen("LINK.NET"), u.t.Lesen("QK_LOCAL.NET"));
    }

    void chooseWithoutListFileAgainAndTyped() {
        Umgebung u;
        u.p.ordnerAntworten = {u.lib, u.lib, ""};
        const int ergebnis = Auswahl(u, [&](QDialog& d) {
            Klicken(d, "cmd_Wählen");
            QCOMPARE(u.freigaben, 0); // the first Library waits for the next start
            Klicken(d, "cmd_Wählen");
            Klicken(d, "cmd_Wählen"); // cancelled: the current Library is listed, too
            QCOMPARE(Einträge(d), QStringList({u.lib, "=" + u.lib}));
            QLineEdit* e = d.findChild<QComboBox*>("cbo_Libraries")->lineEdit();
            e->clear();
            QTest::keyClicks(e, "/nirgends/lib");
            Fehlerhaken(FEHLER_ZUGRIFF);
            QTest::keyClick(e, Qt::Key_Return); // the default button
            datei::Fehlerhaken_Setzen({});
        });
        // A failed write closes all the same; a typed path is taken unchecked.
        const QString doppelt = "|Library: A library with this name still exists !";
        QCOMPARE(
            u.Stand(ergebnis, u.freigaben),
            "1 2" + doppelt + doppelt +
                "|Datei_LibPath_Schreiben_Error: Error when writting QK_LIBPATHS.TXT.\r\nError "
                "number: 75");
        QCOMPARE(u.z.LibListe, QStringList{u.lib});
        QCOMPARE(u.z.LibPath, "/nirgends/lib/");
        QVERIFY(!u.t.Existiert("global/QK_LIBPATHS.TXT"));
    }

    void listReadChosenAndWrittenBack() {
        Umgebung u;
        const auto ok = [](QDialog& d) { Klicken(d, "cmd_OK"); };
        QCOMPARE(Auswahl(u, ok), 1); // nothing to list: no empty list file
        QVERIFY(!u.t.Existiert("global/QK_LIBPATHS.TXT"));
        // An empty line names no Library; a path without its separator gets one. OK leaves a
        // file written by hand as it is while its Libraries stay the same.
        const QByteArray hand = "\n/srv/a\x80\x9F\n  \r\nF:\\b\x81\x8A\\\n";
        u.t.Datei("global/QK_LIBPATHS.TXT", hand);
        QCOMPARE(Auswahl(u, ok), 1); // written since the last reading: kept, not emptied
        LibPaths_Einlesen(u.z);
        QCOMPARE(u.z.LibListe, (QStringList{"/srv/a\u20AC\u0178/", "F:\\b\u0081\u0160\\"}));
        QCOMPARE(Auswahl(u, ok), 1);
        QCOMPARE(u.Liste(), hand);
        QStringList liste;
        for (int i = 0; i < 300; ++i)
            liste << "/srv/lib" + QString::number(i) + '/';
        liste << u.lib;
        const QByteArray inhalt = (liste.join("\r\n") + "\r\n").toLatin1();
        u.t.Datei("global/QK_LIBPATHS.TXT", inhalt);
        LibPaths_Einlesen(u.z);
        u.z.LibPath = u.lib;
        // The folder is found whatever the spelling, but the list compares exactly.
        u.p.ordnerAntworten = {u.t.Pfad() + "LIB"};
        const int ergebnis = Auswahl(u, [](QDialog& d) {
            Klicken(d, "cmd_Wählen");
            Klicken(d, "cmd_Abbrechen");
        });
        QCOMPARE(u.Stand(ergebnis, u.freigaben), "0 1");
        QCOMPARE(u.z.LibPath, u.t.Pfad() + "LIB/");
        QCOMPARE(u.Liste(), inhalt);
        // Opened again in the same run, the list shows what OK now writes. The file holds
        // single bytes: a name outside Windows-1252 would come back as '?'.
        liste << u.t.Pfad() + "LIB/";
        for (const char* name : {"B\u00FCcher \u4E2D", "B\u00FCcher \u20AC"}) {
            u.t.Datei(QString(name) + "/LIBINFO.SYS", "");
            u.p.ordnerAntworten << u.t.Pfad() + name;
        }
        const int wieder = Auswahl(u, [&](QDialog& d) {
            QCOMPARE(Einträge(d), liste + QStringList{"=" + liste.last()});
            Klicken(d, "cmd_Wählen");
            QCOMPARE(u.z.LibPath, liste.last());
            Klicken(d, "cmd_Wählen");
            Klicken(d, "cmd_OK");
        });
        QCOMPARE(u.Stand(wieder, u.freigaben),
                 "1 2|Library: The name of this Library contains characters that QK_LIBPATHS.TXT "
                 "cannot hold.\r\n~/B\u00FCcher \u4E2D/");
        QCOMPARE(u.Liste(), inhalt + u.t.Pfad().toLatin1() + "LIB/\r\n" + u.t.Pfad().toLatin1() +
                                "B\xFC"
                                "cher \x80/\r\n");
    }
};

QTEST_MAIN(TestConfig)
#include "test_config.moc"
