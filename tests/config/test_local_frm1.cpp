#include "config/local_frm1.h"
#include "dialog_lauf.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace qk;
using test::Klicken;
using test::Modal_Ausführen;

namespace {

struct Umgebung {
    test::TempOrdner t;
    test::TestPlattform p;
    Zustand z{p};
    QString Ziel() const { return t.Pfad() + QStringLiteral("QK_LOCAL.NET"); }
};

void Eingeben(QDialog& d, const QString& nummer, const QString& dir, const QString& prog) {
    const std::pair<const char*, QString> felder[] = {
        {"txt_UserNumber", nummer}, {"txt_DirPath", dir}, {"txt_ProgPath", prog}};
    for (const auto& [name, text] : felder) {
        auto* feld = d.findChild<QLineEdit*>(QString::fromLatin1(name));
        QVERIFY2(feld != nullptr, name);
        QTest::keyClicks(feld, text);
    }
}

// The file that the example of the workstation file names: user 12, F:\NET\, C:\CAD\.
QByteArray Beispieldatei() {
    QByteArray b;
    b += char(12);
    b += QByteArray("F:\\NET\\") + '\0' + QByteArray(252, ' ');
    b += char(0xFF);
    b += QByteArray("C:\\CAD\\") + '\0' + QByteArray(252, ' ');
    return b;
}

} // namespace

class TestLocalFrm1 : public QObject {
    Q_OBJECT
private slots:
    void captionsFromTheTextTable() {
        Umgebung u;
        Local_frm1 d(u.z);
        QCOMPARE(d.windowTitle(), QStringLiteral("QK_LOCAL.NET"));
        const std::pair<const char*, const char*> texte[] = {{"Label1", "User-ID:"},
                                                             {"Label2", "Global Directory:  "},
                                                             {"Label4", "Local Directory:"}};
        for (const auto& [name, text] : texte)
            QCOMPARE(d.findChild<QLabel*>(QString::fromLatin1(name))->text(),
                     QString::fromLatin1(text));
        QCOMPARE(d.findChild<QAbstractButton*>(QStringLiteral("cmd_OK"))->text(),
                 QStringLiteral("&Ok"));
        QCOMPARE(d.findChild<QAbstractButton*>(QStringLiteral("cmd_Abbrechen"))->text(),
                 QStringLiteral("&Cancel"));
        for (QLineEdit* feld : d.findChildren<QLineEdit*>())
            QVERIFY(feld->text().isEmpty());
        QCOMPARE(d.findChildren<QLineEdit*>().size(), 3);
    }

    void writesTheExampleFile() {
        Umgebung u;
        u.p.speichernAntworten = {u.Ziel()};
        Local_frm1 d(u.z);
        const auto lauf = Modal_Ausführen(d, [&] {
            Eingeben(d, QStringLiteral("12"), QStringLiteral("F:\\NET\\"),
                     QStringLiteral("C:\\CAD\\"));
            Klicken(d, "cmd_OK");
        });
        QCOMPARE(lauf.ergebnis, int(QDialog::Accepted));
        QCOMPARE(u.t.Lesen(QStringLiteral("QK_LOCAL.NET")), Beispieldatei());
        QCOMPARE(u.p.speichernFilter, QStringList{QStringLiteral("QK_LOCAL.NET (*.net)")});
        QVERIFY(u.p.meldungen.isEmpty());
    }

    void userNumberAsWritten_data() {
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<int>("byte");
        QTest::newRow("seven then letters") << "7abc" << 7;
        QTest::newRow("2.5") << "2.5" << 2;
        QTest::newRow("3.5") << "3.5" << 4;
    }
    void userNumberAsWritten() {
        QFETCH(QString, eingabe);
        QFETCH(int, byte);
        Umgebung u;
        // A longer file of the same name is there already.
        u.t.Datei(QStringLiteral("QK_LOCAL.NET"), QByteArray(4096, 'x'));
        u.p.speichernAntworten = {u.Ziel()};
        Local_frm1 d(u.z);
        Modal_Ausführen(d, [&] {
            Eingeben(d, eingabe, QStringLiteral("G"), QStringLiteral("L"));
            Klicken(d, "cmd_OK");
        });
        const QByteArray b = u.t.Lesen(QStringLiteral("QK_LOCAL.NET"));
        QCOMPARE(b.size(), 522);
        QCOMPARE(int(quint8(b[0])), byte);
        QVERIFY(!b.contains('x'));
    }

    void emptyField_data() {
        QTest::addColumn<QString>("nummer");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("prog");
        QTest::newRow("user number") << ""
                                     << "G"
                                     << "L";
        QTest::newRow("global directory") << "5"
                                          << ""
                                          << "L";
        QTest::newRow("local directory") << "5"
                                         << "G"
                                         << "";
        QTest::newRow("all") << ""
                             << ""
                             << "";
    }
    void emptyField() {
        QFETCH(QString, nummer);
        QFETCH(QString, dir);
        QFETCH(QString, prog);
        Umgebung u;
        u.p.speichernAntworten = {u.Ziel()};
        Local_frm1 d(u.z);
        const auto lauf = Modal_Ausführen(d, [&] {
            Eingeben(d, nummer, dir, prog);
            Klicken(d, "cmd_OK");
        });
        QVERIFY(lauf.offenGeblieben);
        QCOMPARE(u.p.meldungen.size(), 1);
        QCOMPARE(u.p.meldungen[0].text, QStringLiteral("Please insert a value."));
        QCOMPARE(u.p.meldungen[0].titel, QStringLiteral("Error"));
        QCOMPARE(u.p.meldungen[0].symbol, Symbol::Information);
        QVERIFY(u.p.speichernFilter.isEmpty());
        QVERIFY(!u.t.Existiert(QStringLiteral("QK_LOCAL.NET")));
    }

    void refusedInput_data() {
        QTest::addColumn<QString>("nummer");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("prog");
        QTest::addColumn<QString>("meldung");
        const QString id = QStringLiteral("The User-ID must be a number from 1 to 254.");
        QTest::newRow("letters alone") << "abc"
                                       << "G"
                                       << "L" << id;
        QTest::newRow("255") << "255"
                             << "G"
                             << "L" << id;
        QTest::newRow("negative") << "-3"
                                  << "G"
                                  << "L" << id;
        QTest::newRow("global directory of 260")
            << "5" << QString(260, QLatin1Char('g')) << "L"
            << "The Global Directory must be shorter than 260 characters.";
        QTest::newRow("local directory of 400")
            << "5"
            << "G" << QString(400, QLatin1Char('l'))
            << "The Local Directory must be shorter than 260 characters.";
    }
    void refusedInput() {
        QFETCH(QString, nummer);
        QFETCH(QString, dir);
        QFETCH(QString, prog);
        QFETCH(QString, meldung);
        Umgebung u;
        const QString alt = u.t.Datei(QStringLiteral("QK_LOCAL.NET"), "old");
        u.p.speichernAntworten = {alt};
        Local_frm1 d(u.z);
        const auto lauf = Modal_Ausführen(d, [&] {
            Eingeben(d, nummer, dir, prog);
            Klicken(d, "cmd_OK");
        });
        QVERIFY(lauf.offenGeblieben);
        QCOMPARE(u.p.meldungen.size(), 1);
        QCOMPARE(u.p.meldungen[0].text, meldung);
        QCOMPARE(u.p.meldungen[0].titel, QStringLiteral("Error"));
        QVERIFY(u.p.speichernFilter.isEmpty());
        QCOMPARE(u.t.Lesen(QStringLiteral("QK_LOCAL.NET")), QByteArray("old"));
    }

    void cancelledSaveDialog() {
        Umgebung u;
        u.p.speichernAntworten = {QString()};
        Local_frm1 d(u.z);
        const auto lauf = Modal_Ausführen(d, [&] {
            Eingeben(d, QStringLiteral("5"), QStringLiteral("G"), QStringLiteral("L"));
            Klicken(d, "cmd_OK");
        });
        QVERIFY(!lauf.offenGeblieben);
        QCOMPARE(lauf.ergebnis, int(QDialog::Rejected));
        QCOMPARE(u.p.speichernFilter.size(), 1);
        QVERIFY(u.p.meldungen.isEmpty());
        QVERIFY(QDir(u.t.Pfad()).isEmpty());
    }

    void saveDialogFailure_data() {
        QTest::addColumn<int>("nummer");
        QTest::addColumn<QString>("meldung"); // empty: silent
        QTest::newRow("cancel reported as an error") << int(FEHLER_ABBRUCH) << "";
        QTest::newRow("other failure")
            << 20477 << "Fehler beim \u00D6ffnen der Datei.\r\nErrorNr: 20477";
    }
    void saveDialogFailure() {
        QFETCH(int, nummer);
        QFETCH(QString, meldung);
        Umgebung u;
        u.p.speichernFehler = nummer;
        Local_frm1 d(u.z);
        const auto lauf = Modal_Ausführen(d, [&] {
            Eingeben(d, QStringLiteral("5"), QStringLiteral("G"), QStringLiteral("L"));
            Klicken(d, "cmd_OK");
        });
        QVERIFY(!lauf.offenGeblieben);
        QVERIFY(QDir(u.t.Pfad()).isEmpty());
        if (meldung.isEmpty()) {
            QVERIFY(u.p.meldungen.isEmpty());
            return;
        }
        QCOMPARE(u.p.meldungen.size(), 1);
        QCOMPARE(u.p.meldungen[0].text, meldung);
        QCOMPARE(u.p.meldungen[0].titel, QStringLiteral("Speichern_Err"));
        QCOMPARE(u.p.meldungen[0].symbol, Symbol::Ausruf);
    }

    void failedWriteKeepsDialogAndOldFile() {
        Umgebung u;
        const QString ziel = u.t.Datei(QStringLiteral("QK_LOCAL.NET"), "old");
        u.p.speichernAntworten = {ziel, ziel};
        Local_frm1 d(u.z);
        const auto lauf = Modal_Ausführen(d, [&] {
            Eingeben(d, QStringLiteral("12"), QStringLiteral("F:\\NET\\"),
                     QStringLiteral("C:\\CAD\\"));
            datei::Fehlerhaken_Setzen(
                [](datei::Vorgang, const QString&) { throw Fehler(FEHLER_DATENTRAEGER_VOLL); });
            Klicken(d, "cmd_OK");
            datei::Fehlerhaken_Setzen({});
            QVERIFY(d.isVisible());
            QCOMPARE(u.t.Lesen(QStringLiteral("QK_LOCAL.NET")), QByteArray("old"));
            Klicken(d, "cmd_OK"); // the input is still there for a second try
        });
        QCOMPARE(lauf.ergebnis, int(QDialog::Accepted));
        QCOMPARE(u.p.meldungen.size(), 1);
        QCOMPARE(u.p.meldungen[0].titel, QStringLiteral("Local_Schreiben_Error"));
        QCOMPARE(u.p.meldungen[0].text, QStringLiteral("Error when saving  ''") + ziel +
                                            QStringLiteral("''\r\nError number: 61"));
        QCOMPARE(u.t.Lesen(QStringLiteral("QK_LOCAL.NET")), Beispieldatei());
    }

    void cancelWritesNothing() {
        Umgebung u;
        u.p.speichernAntworten = {u.Ziel()};
        Local_frm1 d(u.z);
        const auto lauf = Modal_Ausführen(d, [&] {
            Eingeben(d, QStringLiteral("5"), QStringLiteral("G"), QStringLiteral("L"));
            Klicken(d, "cmd_Abbrechen");
        });
        QCOMPARE(lauf.ergebnis, int(QDialog::Rejected));
        QVERIFY(u.p.speichernFilter.isEmpty());
        QVERIFY(QDir(u.t.Pfad()).isEmpty());
    }
};

QTEST_MAIN(TestLocalFrm1)
#include "test_local_frm1.moc"
