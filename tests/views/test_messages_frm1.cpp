#include "../shell/umgebung.h"
#include "shell/idmap_frm1.h"
#include "views/messages_frm1.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>
#include <functional>

using namespace qk;
using test::Umgebung;

namespace {

const QString CRLF = QStringLiteral("\r\n");

// Runs `schritte` once the dialog's modal loop is running; a dialog left open is cancelled
// so that a failing test cannot hang.
int Modal(QDialog& d, const std::function<void()>& schritte) {
    QTimer::singleShot(0, &d, schritte);
    QTimer wächter;
    wächter.setSingleShot(true);
    QObject::connect(&wächter, &QTimer::timeout, &d, [&d] { d.reject(); });
    wächter.start(10000);
    return d.exec();
}

// What the window showed right after a click on OK.
struct Nach_OK {
    bool offen = false;
    QString text;
    QString index;
    bool fokus = false;
};

struct Bibliothek : Umgebung {
    Bibliothek() {
        Library();
        t.Datei("lib/IDX00012/BOOKDATA.NET", QByteArray(4096, '\0'));
        t.Ordner("lib/IDX00013");
        z.LibPath = lib;
    }
};

} // namespace

class TestMessagesFrm1 : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(test::Offene_Fenster(), QStringList());
    }

    void loadingGivesProgressLayout() {
        Umgebung u;
        u.z.Index_Eingabe = "idx00099";
        Messages_frm1 m(u.z);
        QVERIFY(u.z.Index_Eingabe.isEmpty());
        QCOMPARE(m.lbl_Messages->text(), QStringLiteral("Info"));
        QCOMPARE(m.cmd_OK->text(), QStringLiteral("&Ok"));
        QCOMPARE(m.cmd_OK_2->text(), QStringLiteral("&Ok"));
        QCOMPARE(m.cmd_Abbrechen->text(), QStringLiteral("&Cancel"));
        QCOMPARE(m.lbl_EingabeText->text(), QStringLiteral("Index :"));
        QVERIFY(!m.lbl_Messages->isHidden());
        QVERIFY(!m.pbr_Messages->isHidden());
        for (QWidget* w : QList<QWidget*>{m.lbl_EingabeText, m.txt_Eingabe, m.cmd_OK,
                                          m.cmd_Abbrechen, m.cmd_OK_2})
            QVERIFY2(w->isHidden(), qPrintable(w->objectName()));
        QCOMPARE(m.pbr_Messages->maximum(), 100);
        QVERIFY(m.cmd_OK->isDefault());
        // Every control lies inside the window.
        for (QWidget* w : m.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(m.rect().contains(w->geometry()), qPrintable(w->objectName()));
    }

    void inputCheck_data() {
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<bool>("angenommen");
        QTest::addColumn<QString>("index");
        QTest::addColumn<QString>("textbox");
        QTest::addColumn<QStringList>("titel");
        QTest::addColumn<QStringList>("texte");

        const QString fehlt = "\\BOOKDATA.NET''.";
        QTest::newRow("12") << "12" << true << "idx00012"
                            << "00012" << QStringList() << QStringList();
        QTest::newRow("00012") << "00012" << true << "idx00012"
                               << "00012" << QStringList() << QStringList();
        QTest::newRow("012") << "012" << false << ""
                             << "" << QStringList{"Invalid Index number: 012", ""}
                             << QStringList{"Please enter a valid Index number.",
                                            "No bookings in  ''<lib>" + fehlt};
        QTest::newRow("1a") << "1a" << false << ""
                            << "" << QStringList{"Invalid Index number: 1a", ""}
                            << QStringList{"Please enter a valid Index number.",
                                           "No bookings in  ''<lib>" + fehlt};
        QTest::newRow("13 without BOOKDATA.NET")
            << "13" << false << ""
            << "" << QStringList{"idx00013"}
            << QStringList{"No bookings in  ''<lib>idx00013" + fehlt};
        QTest::newRow("no such folder") << "77" << false << ""
                                        << "" << QStringList{"idx00077"}
                                        << QStringList{"No bookings in  ''<lib>idx00077" + fehlt};
        // The entry is no number at all: reported, and nothing changes.
        QTest::newRow("empty") << "" << false << "vorher"
                               << "" << QStringList{"cmd_OK_Error"}
                               << QStringList{"Error when entering an Index." + CRLF +
                                              "Error number: 13"};
        QTest::newRow("leading blank")
            << " 12" << false << "vorher"
            << " 12" << QStringList{"cmd_OK_Error"}
            << QStringList{"Error when entering an Index." + CRLF + "Error number: 13"};
    }
    void inputCheck() {
        QFETCH(QString, eingabe);
        QFETCH(bool, angenommen);
        QFETCH(QString, index);
        QFETCH(QString, textbox);
        QFETCH(QStringList, titel);
        QFETCH(QStringList, texte);
        Bibliothek b;
        Messages_frm1 m(b.z);
        m.Eingabemodus("Delete all Bookings for Index....",
                       "Please enter the Index for which all bookings should be deleted.");

        Nach_OK nach;
        const int ergebnis = Modal(m, [&] {
            b.z.Index_Eingabe = "vorher";
            m.txt_Eingabe->setText(eingabe);
            QTest::mouseClick(m.cmd_OK, Qt::LeftButton);
            nach = {m.isVisible(), m.txt_Eingabe->text(), b.z.Index_Eingabe,
                    m.focusWidget() == m.txt_Eingabe};
            if (m.isVisible())
                m.cmd_Abbrechen->click();
        });

        QCOMPARE(ergebnis, angenommen ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QCOMPARE(nach.offen, !angenommen);
        QCOMPARE(nach.index, index);
        QCOMPARE(nach.text, textbox);
        if (!angenommen && index.isEmpty())
            QVERIFY(nach.fokus);
        QCOMPARE(b.p.Titel(), titel);
        for (int i = 0; i < texte.size(); ++i) {
            QCOMPARE(b.p.meldungen[i].text, QString(texte[i]).replace("<lib>", b.lib));
            QCOMPARE(b.p.meldungen[i].symbol, Symbol::Ausruf);
        }
        QVERIFY(m.Entladen());
    }

    void wrongEntryThenRightOne() {
        Bibliothek b;
        Messages_frm1 m(b.z);
        m.Eingabemodus("t", "p");
        const int ergebnis = Modal(m, [&] {
            QTest::keyClicks(m.txt_Eingabe, "13");
            QTest::keyClick(m.txt_Eingabe, Qt::Key_Return);
            QTest::keyClicks(m.txt_Eingabe, "12");
            QTest::keyClick(m.txt_Eingabe, Qt::Key_Return);
        });
        QCOMPARE(ergebnis, int(QDialog::Accepted));
        QCOMPARE(b.z.Index_Eingabe, QStringLiteral("idx00012"));
        QCOMPARE(b.p.Titel(), QStringList{"idx00013"});
    }

    void cancelAndCloseBoxLeaveNoIndex_data() {
        QTest::addColumn<bool>("schließfeld");
        QTest::newRow("cancel") << false;
        QTest::newRow("close box") << true;
    }
    void cancelAndCloseBoxLeaveNoIndex() {
        QFETCH(bool, schließfeld);
        Bibliothek b;
        b.z.Index_Eingabe = "idx00012";
        Messages_frm1 m(b.z);
        m.Eingabemodus("t", "p");
        const int ergebnis = Modal(m, [&] {
            m.txt_Eingabe->setText("12");
            if (schließfeld)
                m.close();
            else
                QTest::mouseClick(m.cmd_Abbrechen, Qt::LeftButton);
        });
        QCOMPARE(ergebnis, int(QDialog::Rejected));
        QVERIFY(b.z.Index_Eingabe.isEmpty());
        QVERIFY(b.p.meldungen.isEmpty());
        QVERIFY(m.Entladen());
    }

    void progressModeReceivesProgressAndCanBeClosed() {
        Umgebung u;
        Messages_frm1 m(u.z);
        m.Fortschritt_Zeigen("Bookings for User-ID 7");
        QVERIFY(m.isVisible());
        QVERIFY(!m.isModal());
        QVERIFY(m.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(m.windowTitle(), QStringLiteral("Bookings for User-ID 7"));
        QCOMPARE(u.z.Fortschritt, &m);
        QCOMPARE(m.lbl_Messages->text(), QStringLiteral("Info"));
        QVERIFY(m.pbr_Messages->isVisible());
        QVERIFY(!m.cmd_OK->isVisible() && !m.cmd_OK_2->isVisible() && !m.txt_Eingabe->isVisible());

        const QString text = "Libpath: /lib/" + CRLF + CRLF + "Searching in Index: IDX00012";
        u.z.Fortschritt->Fortschritt_Setzen(text, 4, 3);
        QCOMPARE(m.lbl_Messages->text(), text);
        QCOMPARE(m.pbr_Messages->maximum(), 4);
        QCOMPARE(m.pbr_Messages->value(), 3);
        // A value past the end is left out, without an error.
        u.z.Fortschritt->Fortschritt_Setzen(text, 4, 9);
        QCOMPARE(m.pbr_Messages->value(), 3);

        // Left open by a failed command, the window still closes with its close box, and
        // progress goes nowhere afterwards.
        m.close();
        QVERIFY(!m.isVisible());
        QVERIFY(m.Entladen());
        QCOMPARE(u.z.Fortschritt, nullptr);
    }

    void progressWindowClosesWithEscape() {
        Umgebung u;
        Messages_frm1 m(u.z);
        m.Fortschritt_Zeigen("t");
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        QTest::keyClick(&m, Qt::Key_Escape);
        QVERIFY(!m.isVisible());
        QCOMPARE(u.z.Fortschritt, nullptr);
    }

    void progressTurnsIntoMessage() {
        Umgebung u;
        Messages_frm1 m(u.z);
        m.Fortschritt_Zeigen("Delete User-ID");
        m.Meldungsmodus("User-ID 7 removed !", CRLF + "No Bookings for User-ID 7 .");
        QVERIFY(m.isVisible());
        QCOMPARE(m.windowTitle(), QStringLiteral("User-ID 7 removed !"));
        QCOMPARE(m.lbl_Messages->text(), CRLF + "No Bookings for User-ID 7 .");
        QVERIFY(!m.pbr_Messages->isVisible());
        QVERIFY(m.cmd_OK_2->isVisible());
        QVERIFY(!m.cmd_OK->isVisible() && !m.cmd_Abbrechen->isVisible());
        QCOMPARE(u.z.Fortschritt, nullptr);
        QTest::mouseClick(m.cmd_OK_2, Qt::LeftButton);
        QVERIFY(!m.isVisible());
        QVERIFY(m.Entladen());
    }

    void destroyedWindowGetsNoProgress() {
        Umgebung u;
        {
            Messages_frm1 m(u.z);
            m.Fortschritt_Zeigen("t");
            QCOMPARE(u.z.Fortschritt, &m);
        }
        QCOMPARE(u.z.Fortschritt, nullptr);
    }

    // ---- The main window's routines ----

    void eingabeAnzeigenShowsInputModally() {
        Bibliothek b;
        b.Vollständig();
        Idmap_frm1 f(b.z);
        b.z.Index_Eingabe = "idx00099";
        QString titel, prompt;
        bool modal = false, fokus = false, fortschritt = true;
        QPointer<Messages_frm1> fenster;
        QTimer::singleShot(0, &f, [&] {
            fenster = qobject_cast<Messages_frm1*>(QApplication::activeModalWidget());
            if (fenster == nullptr)
                return;
            titel = fenster->windowTitle();
            prompt = fenster->lbl_Messages->text();
            modal = fenster->isModal();
            fokus = fenster->focusWidget() == fenster->txt_Eingabe;
            fortschritt = fenster->pbr_Messages->isVisible();
            QTest::keyClicks(fenster->txt_Eingabe, "12");
            QTest::keyClick(fenster->txt_Eingabe, Qt::Key_Return);
        });
        f.Eingabe_Anzeigen("All bookings for Index....",
                           "Please enter the Index for which all bookings should be displayed.");
        QVERIFY(fenster != nullptr);
        QCOMPARE(titel, QStringLiteral("All bookings for Index...."));
        QCOMPARE(prompt, QStringLiteral(
                             "Please enter the Index for which all bookings should be displayed."));
        QVERIFY(modal);
        QVERIFY(fokus);
        QVERIFY(!fortschritt);
        QCOMPARE(b.z.Index_Eingabe, QStringLiteral("idx00012"));
        QVERIFY(!fenster->isVisible());

        // The next use loads a new window, which empties the result.
        Messages_frm1& neu = f.Messages();
        QVERIFY(&neu != fenster.data());
        QVERIFY(b.z.Index_Eingabe.isEmpty());
    }

    void meldungAnzeigenDoesNotShow() {
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        f.Meldung_Anzeigen("All bookings in idx00012 removed !",
                           CRLF + "3 Booking(s) in idx00012 removed !");
        Messages_frm1& m = f.Messages();
        QVERIFY(!m.isVisible());
        QCOMPARE(m.windowTitle(), QStringLiteral("All bookings in idx00012 removed !"));
        QVERIFY(!m.cmd_OK_2->isHidden());
        QVERIFY(m.pbr_Messages->isHidden());
        // Shown modally by the command afterwards, closed by its OK.
        const int ergebnis = Modal(m, [&] { m.cmd_OK_2->click(); });
        QCOMPARE(ergebnis, int(QDialog::Accepted));
        QVERIFY(m.Entladen());
    }

    void progressWindowOfTheMainWindow() {
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        Messages_frm1& m = f.Fortschrittsfenster_Zeigen("Delete User-ID");
        QCOMPARE(u.z.Fortschritt, &m);
        // Shown again for the next Library: the same window.
        QCOMPARE(&f.Fortschrittsfenster_Zeigen("Delete User-ID"), &m);
        f.Meldung_Anzeigen("User-ID 7 removed !", "x");
        QCOMPARE(&f.Messages(), &m);
        QVERIFY(m.isVisible());
        f.Messages_Entladen();
        QVERIFY(!m.isVisible());
        QCOMPARE(u.z.Fortschritt, nullptr);
        QVERIFY(&f.Messages() != &m);
    }
};

QTEST_MAIN(TestMessagesFrm1)
#include "test_messages_frm1.moc"
