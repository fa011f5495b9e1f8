#include "idmap/user_info_frm1.h"
#include "shell/idmap_frm1.h"
#include "standort.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <memory>

using namespace qk;
using test::Umgebung;

namespace {

const QString CRLF = QStringLiteral("\r\n");
const char* const FELDER[] = {"txt_ID", "txt_UserName", "txt_PCName", "txt_LocalPath"};

struct Lauf {
    bool geöffnet = false;
    bool offenGeblieben = false;
    QStringList felder; // as the dialog opened
};

// Waits for the edit dialog, as the commands open it, and does the steps in it as a user
// would. A dialog the steps leave open is closed with Cancel afterwards.
// The watch ends with `besitzer`, so that it never reaches into a later test.
std::shared_ptr<Lauf> Im_Dialog(QObject* besitzer, const std::function<void(QDialog&)>& schritte) {
    auto lauf = std::make_shared<Lauf>();
    auto* uhr = new QTimer(besitzer);
    auto versuche = std::make_shared<int>(0);
    QObject::connect(uhr, &QTimer::timeout, uhr, [=] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (d == nullptr || d->objectName() != QLatin1String("User_Info_frm1")) {
            if (++*versuche > 200)
                uhr->deleteLater();
            return;
        }
        uhr->stop();
        uhr->deleteLater();
        lauf->geöffnet = true;
        for (const char* name : FELDER)
            lauf->felder.append(d->findChild<QLineEdit*>(name)->text());
        schritte(*d);
        lauf->offenGeblieben = d->isVisible();
        if (lauf->offenGeblieben)
            QTest::mouseClick(d->findChild<QPushButton*>("cmd_Abbrechen"), Qt::LeftButton);
    });
    uhr->start(5);
    return lauf;
}

std::shared_ptr<Lauf> Bearbeiten(Idmap_frm1& f, const std::function<void(QDialog&)>& schritte) {
    auto lauf = Im_Dialog(&f, schritte);
    f.Befehl_Ausführen(f.mnu_UserÄndern);
    return lauf;
}

void Eingeben(QDialog& d, const char* feld, const QString& text) {
    auto* t = d.findChild<QLineEdit*>(feld);
    QVERIFY(t != nullptr);
    t->clear();
    QTest::keyClicks(t, text);
}

void Klick(QDialog& d, const char* knopf) {
    QTest::mouseClick(d.findChild<QPushButton*>(knopf), Qt::LeftButton);
}

bool Gleich(const IdmapEintrag& a, const IdmapEintrag& b) {
    return a.Status == b.Status && a.ID == b.ID && a.UserName == b.UserName &&
           a.PCName == b.PCName && a.LocalPath == b.LocalPath;
}

} // namespace

class TestUserInfoFrm1 : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(test::Offene_Fenster(), QStringList());
    }

    void leavingWithoutOkKeepsRecord_data() {
        QTest::addColumn<QString>("wie");
        QTest::newRow("Cancel") << "cmd_Abbrechen";
        QTest::newRow("close box") << "close";
        QTest::newRow("Escape") << "escape";
    }
    void leavingWithoutOkKeepsRecord() {
        QFETCH(QString, wie);
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        test::Zeigen(f);
        test::Klicken(f, 2);
        const IdmapEintrag vorher = u.z.IdmapListe[2];
        QVERIFY(!f.mnu_Speichern->isEnabled());

        QStringList texte;
        QRect ok, abbrechen, feld;
        auto lauf = Bearbeiten(f, [&](QDialog& d) {
            texte << d.windowTitle();
            for (const char* name : {"lbl_ID", "lbl_Name", "lbl_PCName", "lbl_LocalPath"})
                texte << d.findChild<QLabel*>(name)->text();
            for (const char* name : {"cmd_OK", "cmd_Abbrechen"})
                texte << d.findChild<QPushButton*>(name)->text();
            ok = d.findChild<QPushButton*>("cmd_OK")->geometry();
            abbrechen = d.findChild<QPushButton*>("cmd_Abbrechen")->geometry();
            feld = d.findChild<QLineEdit*>("txt_UserName")->geometry();
            Eingeben(d, "txt_UserName", "changed");
            if (wie == "close")
                d.close();
            else if (wie == "escape")
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                Klick(d, "cmd_Abbrechen");
        });
        QVERIFY(lauf->geöffnet);
        QVERIFY(!lauf->offenGeblieben);
        QCOMPARE(lauf->felder, QStringList({"12", "U12", "PC12", "C:\\L12\\"}));
        QCOMPARE(texte, QStringList({"User-Informations", "User-ID (1-254):", "User-Name:",
                                     "PC-Name:", "Local Directory:", "&OK", "&Abbrechen"}));
        // The buttons side by side under the fields, as drawn.
        QCOMPARE(ok.top(), abbrechen.top());
        QVERIFY(ok.right() < abbrechen.left());
        QVERIFY(ok.top() > feld.bottom());

        QVERIFY(Gleich(u.z.IdmapListe[2], vorher));
        QVERIFY(!u.z.Geändert);
        QVERIFY(f.mnu_Speichern->isEnabled());
        QCOMPARE(int(u.z.UserIndex), 2);
        QVERIFY(u.p.meldungen.isEmpty());
    }

    void okStoresFieldsAndRedraws_data() {
        QTest::addColumn<QStringList>("eingabe");
        QTest::addColumn<QStringList>("zeile");
        QTest::newRow("all fields") << QStringList{"99", "Neu Name", "", "E:\\X\\"}
                                    << QStringList{"99", "Neu Name", "", "E:\\X\\", ""};
        QTest::newRow("unchanged")
            << QStringList() << QStringList{"12", "U12", "PC12", "C:\\L12\\", ""};
        QTest::newRow("blanks and half")
            << QStringList{" 100.5 ", " a ", "PC", "L"} << QStringList{"100", " a ", "PC", "L", ""};
    }
    void okStoresFieldsAndRedraws() {
        QFETCH(QStringList, eingabe);
        QFETCH(QStringList, zeile);
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        test::Zeigen(f);
        test::Klicken(f, 2);
        const QByteArray datei = u.t.Lesen("global/QK_IDMAP.NET");

        auto lauf = Bearbeiten(f, [&](QDialog& d) {
            for (int i = 0; i < eingabe.size(); ++i)
                Eingeben(d, FELDER[i], eingabe[i]);
            Klick(d, "cmd_OK");
        });
        QVERIFY(lauf->geöffnet);
        QVERIFY(!lauf->offenGeblieben);
        const IdmapEintrag& e = u.z.IdmapListe[2];
        QCOMPARE(QStringList({QString::number(e.ID), e.UserName, e.PCName, e.LocalPath, e.Status}),
                 zeile);
        QStringList liste;
        for (int i = 0; i < 5; ++i)
            liste << f.lstv_Idmap->topLevelItem(2)->text(i);
        QCOMPARE(liste, zeile);
        QVERIFY(u.z.Geändert);
        QVERIFY(f.mnu_Speichern->isEnabled());
        QCOMPARE(int(u.z.Gewählt_UserNr), 1);
        QCOMPARE(int(u.z.UserIndex), 0);
        QVERIFY(f.lstv_Idmap->selectedItems().isEmpty());
        QVERIFY(u.p.meldungen.isEmpty());
        // Memory only, until a save.
        QCOMPARE(u.t.Lesen("global/QK_IDMAP.NET"), datei);
    }

    void refusedValuesKeepDialogOpen_data() {
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QString>("wert");
        QTest::addColumn<QString>("meldung");
        const QString bereich = "The User-ID must be a number from 1 to 254.";
        const QString vergeben = "Another user already has this User-ID.";
        const QString lang =
            "User-Name, PC-Name and Local Directory may have at most 259 characters each.";
        QTest::newRow("0") << "txt_ID"
                           << "0" << bereich;
        QTest::newRow("255") << "txt_ID"
                             << "255" << bereich;
        QTest::newRow("-1") << "txt_ID"
                            << "-1" << bereich;
        QTest::newRow("rounds to 255") << "txt_ID"
                                       << "254.6" << bereich;
        QTest::newRow("0.4") << "txt_ID"
                             << "0.4" << bereich;
        QTest::newRow("1e3") << "txt_ID"
                             << "1e3" << bereich;
        QTest::newRow("another user's") << "txt_ID"
                                        << "7" << vergeben;
        QTest::newRow("rounds to another's") << "txt_ID"
                                             << "253.5" << vergeben;
        QTest::newRow("a removed user's") << "txt_ID"
                                          << "1" << vergeben;
        QTest::newRow("long name") << "txt_UserName" << QString(260, 'n') << lang;
        QTest::newRow("long PC") << "txt_PCName" << QString(260, 'p') << lang;
        QTest::newRow("long path") << "txt_LocalPath" << QString(260, 'l') << lang;
    }
    void refusedValuesKeepDialogOpen() {
        QFETCH(QString, feld);
        QFETCH(QString, wert);
        QFETCH(QString, meldung);
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        // User 1 removed and not yet saved: Undo would bring the number back.
        u.z.IdmapListe[0].Status = "DEL";
        f.IdmapListe_In_Liste_Übertragen();
        test::Zeigen(f);
        test::Klicken(f, 1); // ID 12
        const IdmapEintrag vorher = u.z.IdmapListe[2];

        QString nachOk;
        auto lauf = Bearbeiten(f, [&](QDialog& d) {
            d.findChild<QLineEdit*>(qPrintable(feld))->setText(wert);
            Eingeben(d, "txt_PCName", feld == "txt_PCName" ? wert : "anders");
            Klick(d, "cmd_OK");
            nachOk = d.findChild<QLineEdit*>(qPrintable(feld))->text();
        });
        QVERIFY(lauf->offenGeblieben);
        QCOMPARE(nachOk, wert);
        QCOMPARE(u.p.meldungen.size(), 1);
        QCOMPARE(u.p.meldungen[0].text, meldung);
        QCOMPARE(u.p.meldungen[0].titel, QStringLiteral("User-Informations"));
        QCOMPARE(u.p.meldungen[0].symbol, Symbol::Ausruf);
        QVERIFY(Gleich(u.z.IdmapListe[2], vorher));
        QVERIFY(f.mnu_Speichern->isEnabled());
    }

    void notANumberIsEditError_data() {
        QTest::addColumn<QString>("id");
        QTest::newRow("letters") << "abc";
        QTest::newRow("empty") << "";
        QTest::newRow("digits then letters") << "12abc";
        QTest::newRow("two points") << "1.2.3";
        QTest::newRow("exponent without digits") << "5e";
    }
    void notANumberIsEditError() {
        QFETCH(QString, id);
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        test::Zeigen(f);
        test::Klicken(f, 1);
        const IdmapEintrag vorher = u.z.IdmapListe[1];
        auto lauf = Bearbeiten(f, [&](QDialog& d) {
            Eingeben(d, "txt_ID", id);
            Eingeben(d, "txt_UserName", "neu");
            Klick(d, "cmd_OK");
        });
        QVERIFY(lauf->offenGeblieben);
        QCOMPARE(u.p.Titel(), QStringList{"cmd_OK_Error"});
        QCOMPARE(u.p.meldungen[0].text, "Error when editing a User." + CRLF + "Error number: 13");
        QCOMPARE(u.p.meldungen[0].symbol, Symbol::Ausruf);
        QVERIFY(Gleich(u.z.IdmapListe[1], vorher));
        // OK marks the map changed before it reads a field.
        QVERIFY(u.z.Geändert);
    }

    void doubleClickOpensTheRowsRecord() {
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        test::Zeigen(f);
        auto lauf = Im_Dialog(&f, [](QDialog& d) { Klick(d, "cmd_OK"); });
        const QRect r = f.lstv_Idmap->visualItemRect(f.lstv_Idmap->topLevelItem(3));
        // On screen: a click, then the second press as a double click.
        QTest::mouseClick(f.lstv_Idmap->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(f.lstv_Idmap->viewport(), Qt::LeftButton, {}, r.center());
        QTRY_VERIFY(lauf->geöffnet);
        QCOMPARE(lauf->felder, QStringList({"23", "U23", "PC23", "C:\\L23\\"}));
        QVERIFY(u.z.Geändert);
        QVERIFY(f.mnu_Speichern->isEnabled());
    }

    void noRecordNoDialog() {
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        u.z.UserIndex = 5; // past the last record
        auto lauf = Bearbeiten(f, [](QDialog& d) { Klick(d, "cmd_OK"); });
        QTest::qWait(50);
        QVERIFY(!lauf->geöffnet);
        QVERIFY(!f.mnu_Speichern->isEnabled());
        QVERIFY(!u.z.Geändert);
    }
};

QTEST_MAIN(TestUserInfoFrm1)
#include "test_user_info_frm1.moc"
