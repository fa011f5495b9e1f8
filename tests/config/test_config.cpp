#include "config/libpaths.h"
#include "config/libraries_frm1.h"
#include "config/local_frm1.h"
#include "config/local_net.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/routinen.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>
#include <filesystem>

using namespace qk;

namespace {

// A Global Directory and a Library LibA.
struct Umgebung {
    test::TempOrdner t;
    test::TestPlattform p;
    Zustand z{p};
    int freigaben = 0;
    Umgebung() {
        z.GlobalPath = t.Ordner("Global");
        t.Datei("LibA/LIBINFO.SYS", "");
    }
    ~Umgebung() { datei::Fehlerhaken_Setzen({}); }
    QString Lib(const QString& name) const { return t.Pfad() + name + '/'; }
    QByteArray Datei() const { return t.Lesen("Global/QK_LIBPATHS.TXT"); }
    QStringList Meldungen() const {
        QStringList m;
        for (const auto& g : p.meldungen)
            m.append(g.titel + ": " + g.text);
        return m;
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

void Klicken(QDialog& d, const char* name) {
    QTest::mouseClick(d.findChild<QAbstractButton*>(QString::fromUtf8(name)), Qt::LeftButton);
}

QStringList Einträge(QDialog& d) {
    auto* c = d.findChild<QComboBox*>("cbo_Libraries");
    QStringList e;
    for (int i = 0; i < c->count(); ++i)
        e.append(c->itemText(i));
    return e << "=" + c->currentText();
}

const QString ID_TEXT = "Error: The User-ID must be a number from 1 to 254.";

} // namespace

class TestConfig : public QObject {
    Q_OBJECT
private slots:
    void userNumber() {
        const std::pair<const char*, double> fälle[] = {
            {"12", 12}, {"7abc", 7},  {"abc", 0},     {"", 0},         {"2.5", 2},
            {"3.5", 4}, {"0.5", 0},   {"254.5", 254}, {"254.51", 255}, {"   42", 42},
            {"1 2", 1}, {"1e2", 100}, {"25E-1", 2},   {"1e", 1},       {"-3", -3},
            {".7", 1},  {"1.5.9", 2}, {"&H10", 0},    {"- 3", 0},      {"\u0661\u0662", 0}};
        for (const auto& [text, nummer] : fälle)
            QVERIFY2(UserNummer_Lesen(QString::fromUtf8(text)) == nummer, text);
    }

    void inputCheckAndFields() {
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
        QTest::addColumn<QStringList>("eingabe"); // User-ID, Global and Local Directory
        QTest::addColumn<int>("speichern");       // 0: the file; 1: Cancel; else the dialog's error
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<int>("user"); // the byte written; -1 nothing; -2 the dialog stays open
        const QStringList gut = {"5", "G", "L"};
        QTest::newRow("3.5") << QStringList{"3.5", "G", "L"} << 0 << "" << 4;
        QTest::newRow("7abc") << QStringList{"7abc", "G", "L"} << 0 << "" << 7;
        QTest::newRow("empty field")
            << QStringList{"5", "", "L"} << 0 << "Error: Please insert a value." << -2;
        QTest::newRow("letters alone") << QStringList{"abc", "G", "L"} << 0 << ID_TEXT << -2;
        QTest::newRow("out of range") << QStringList{"255", "G", "L"} << 0 << ID_TEXT << -2;
        QTest::newRow("long Local Directory")
            << QStringList{"5", "G", QString(260, 'l')} << 0
            << "Error: The Local Directory must be shorter than 260 characters." << -2;
        QTest::newRow("Cancel button") << gut << -1 << "" << -1;
        QTest::newRow("save dialog cancelled") << gut << 1 << "" << -1;
        QTest::newRow("save dialog reports cancel") << gut << int(FEHLER_ABBRUCH) << "" << -1;
        QTest::newRow("save dialog fails")
            << gut << 20477 << "Speichern_Err: Fehler beim \u00D6ffnen der Datei.\r\nErrorNr: 20477"
            << -1;
    }
    void localDialog() {
        QFETCH(QStringList, eingabe);
        QFETCH(int, speichern);
        QFETCH(QString, meldung);
        QFETCH(int, user);
        Umgebung u;
        const QString ziel = u.t.Datei("QK_LOCAL.NET", QByteArray(4096, 'x')); // a longer file
        // A second name of the same file must see what the first one is given.
        std::filesystem::create_hard_link(ziel.toStdString(),
                                          (u.t.Pfad() + "LINK.NET").toStdString());
        u.p.speichernAntworten = {speichern == 0 ? ziel : QString()};
        u.p.speichernFehler = speichern > 1 ? speichern : 0;
        Local_frm1 d(u.z);
        const int ergebnis = Modal(d, [&] {
            for (const char* feld : {"txt_UserNumber", "txt_DirPath", "txt_ProgPath"})
                QTest::keyClicks(d.findChild<QLineEdit*>(feld), eingabe.takeFirst());
            Klicken(d, speichern < 0 ? "cmd_Abbrechen" : "cmd_OK");
        });
        QCOMPARE(u.Meldungen(), meldung.isEmpty() ? QStringList{} : QStringList{meldung});
        QCOMPARE(ergebnis == -2, user == -2);
        QCOMPARE(u.p.speichernFilter.size(), user == -2 || speichern < 0 ? 0 : 1);
        QCOMPARE(u.t.Lesen("QK_LOCAL.NET"),
                 user < 0 ? QByteArray(4096, 'x') : Local_Inhalt(quint8(user), "G", "L"));
        QCOMPARE(u.t.Lesen("LINK.NET"), u.t.Lesen("QK_LOCAL.NET"));
    }

    void localFileExampleAfterAFailedWrite() {
        Umgebung u;
        const QString ziel = u.t.Datei("QK_LOCAL.NET", "old");
        u.p.speichernAntworten = {ziel, ziel};
        Local_frm1 d(u.z);
        const int ergebnis = Modal(d, [&] {
            d.findChild<QLineEdit*>("txt_UserNumber")->setText("12");
            d.findChild<QLineEdit*>("txt_DirPath")->setText("F:\\NET\\");
            d.findChild<QLineEdit*>("txt_ProgPath")->setText("C:\\CAD\\");
            datei::Fehlerhaken_Setzen(
                [](datei::Vorgang, const QString&) { throw Fehler(FEHLER_DATENTRAEGER_VOLL); });
            Klicken(d, "cmd_OK");
            datei::Fehlerhaken_Setzen({});
            QVERIFY(d.isVisible());
            QCOMPARE(u.t.Lesen("QK_LOCAL.NET"), QByteArray("old"));
            Klicken(d, "cmd_OK"); // the input is still there for a second try
        });
        QCOMPARE(ergebnis, int(QDialog::Accepted));
        QCOMPARE(u.Meldungen(), QStringList{"Local_Schreiben_Error: Error when saving  ''" + ziel +
                                            "''\r\nError number: 61"});
        const QByteArray rest = '\0' + QByteArray(252, ' ');
        QCOMPARE(u.t.Lesen("QK_LOCAL.NET"),
                 "\x0C" + QByteArray("F:\\NET\\") + rest + '\xFF' + "C:\\CAD\\" + rest);
    }

    void chooseWithoutListFileAgainAndTyped() {
        Umgebung u;
        u.p.ordnerAntworten = {u.t.Pfad() + "LibA", u.t.Pfad() + "LibA", ""};
        Libraries_frm1 d(u.z, [&] { ++u.freigaben; });
        const int ergebnis = Modal(d, [&] {
            Klicken(d, "cmd_Wählen");
            QCOMPARE(u.freigaben, 0); // the first Library waits for the next start
            Klicken(d, "cmd_Wählen");
            Klicken(d, "cmd_Wählen"); // cancelled: the current Library is listed, too
            QCOMPARE(Einträge(d), QStringList({u.Lib("LibA"), "=" + u.Lib("LibA")}));
            QLineEdit* e = d.findChild<QComboBox*>("cbo_Libraries")->lineEdit();
            e->clear();
            QTest::keyClicks(e, "/nirgends/lib");
            datei::Fehlerhaken_Setzen(
                [](datei::Vorgang, const QString&) { throw Fehler(FEHLER_ZUGRIFF); });
            QTest::keyClick(e, Qt::Key_Return); // the default button
            datei::Fehlerhaken_Setzen({});
        });
        QCOMPARE(ergebnis, int(QDialog::Accepted)); // closes all the same
        QCOMPARE(u.freigaben, 2);
        QCOMPARE(u.z.LibListe, QStringList{u.Lib("LibA")});
        QCOMPARE(u.z.LibPath, QStringLiteral("/nirgends/lib/")); // taken unchecked
        QVERIFY(!u.t.Existiert("Global/QK_LIBPATHS.TXT"));
        const QString doppelt = "Library: A library with this name still exists !";
        QCOMPARE(u.Meldungen(), QStringList({doppelt, doppelt,
                                             "Datei_LibPath_Schreiben_Error: Error when writting "
                                             "QK_LIBPATHS.TXT.\r\nError number: 75"}));
        QCOMPARE(u.p.meldungen[0].symbol, Symbol::Stopp);
    }

    void caseVariantThenCancel() {
        Umgebung u;
        u.t.Datei("Global/QK_LIBPATHS.TXT", (u.Lib("LibA") + "\r\n").toUtf8());
        LibPaths_Einlesen(u.z);
        u.z.LibPath = u.Lib("LibA");
        // The folder is found whatever the spelling, but the list compares exactly.
        u.p.ordnerAntworten = {u.t.Pfad() + "LIBA"};
        Libraries_frm1 d(u.z, [&] { ++u.freigaben; });
        const int ergebnis = Modal(d, [&] {
            Klicken(d, "cmd_Wählen");
            Klicken(d, "cmd_Abbrechen");
        });
        QCOMPARE(ergebnis, int(QDialog::Rejected));
        QVERIFY(u.p.meldungen.isEmpty());
        QCOMPARE(u.freigaben, 1);
        QCOMPARE(u.z.LibPath, u.Lib("LIBA"));
        QCOMPARE(u.Datei(), (u.Lib("LibA") + "\r\n").toUtf8());
        // Opened again in the same run, the list shows what OK now writes.
        Libraries_frm1 wieder(u.z, [] {});
        QCOMPARE(Einträge(wieder),
                 QStringList({u.Lib("LibA"), u.Lib("LIBA"), "=" + u.Lib("LIBA")}));
        Modal(wieder, [&] { Klicken(wieder, "cmd_OK"); });
        QCOMPARE(u.Datei(), (u.Lib("LibA") + "\r\n" + u.Lib("LIBA") + "\r\n").toUtf8());
    }

    void longListWrittenAndReadBack() {
        Umgebung u;
        // An empty line names no Library; a path without its separator gets one.
        u.t.Datei("Global/QK_LIBPATHS.TXT", "\r\n/srv/a\r\n  \r\n/srv/b/\r\n");
        LibPaths_Einlesen(u.z);
        QCOMPARE(u.z.LibListe, (QStringList{"/srv/a/", "/srv/b/"}));
        QByteArray inhalt;
        for (int i = 0; i < 300; ++i)
            inhalt += "/srv/lib" + QByteArray::number(i) + "/\r\n";
        u.t.Datei("Global/QK_LIBPATHS.TXT", inhalt);
        LibPaths_Einlesen(u.z);
        // The file holds single bytes: a name outside Windows-1252 would come back as '?'.
        u.t.Datei("B\u00FCcher \u4E2D/LIBINFO.SYS", "");
        u.t.Datei("B\u00FCcher \u20AC/LIBINFO.SYS", "");
        u.p.ordnerAntworten = {u.t.Pfad() + "B\u00FCcher \u4E2D",
                               u.t.Pfad() + "B\u00FCcher \u20AC"};
        Libraries_frm1 d(u.z, [] {});
        Modal(d, [&] {
            Klicken(d, "cmd_Wählen");
            QCOMPARE(u.z.LibPath, QString());
            Klicken(d, "cmd_Wählen");
            Klicken(d, "cmd_OK");
        });
        QCOMPARE(u.Meldungen(), QStringList{"Library: The name of this Library contains characters "
                                            "that QK_LIBPATHS.TXT cannot hold.\r\n" +
                                            u.t.Pfad() + "B\u00FCcher \u4E2D/"});
        QCOMPARE(u.Datei(), inhalt + u.t.Pfad().toLatin1() +
                                "B\xFC"
                                "cher \x80/\r\n");
        Zustand gelesen(u.p);
        gelesen.GlobalPath = u.z.GlobalPath;
        LibPaths_Einlesen(gelesen);
        QCOMPARE(gelesen.LibListe.size(), 301);
        QCOMPARE(gelesen.LibListe, u.z.LibListe);
    }
};

QTEST_MAIN(TestConfig)
#include "test_config.moc"
