#include "platform/fehler.h"
#include "shell/zustand.h"
#include "test_plattform.h"
#include "views/bookdata_frm1.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

using namespace qk;
using Liste = std::vector<BookdataEintrag>;

namespace {

BookdataEintrag E(const char* index, quint8 box, quint8 user, quint8 rev) {
    return {QString::fromLatin1(index), box, user, rev, 0, 0};
}

void Füllen(Zustand& z, const Liste& liste) {
    z.BookdataListe = liste;
    z.Anzahl_Einträge = static_cast<qint32>(liste.size());
    z.Anzahl_Buchungen = static_cast<qint32>(liste.size());
}

template <typename W> W* Teil(QWidget& f, const char* name) {
    W* w = f.findChild<W*>(QLatin1String(name));
    if (w == nullptr)
        qFatal("missing %s", name);
    return w;
}

QString Zelle(QWidget& f, int zeile, int spalte) {
    QAbstractItemModel* m = Teil<QTreeView>(f, "lstv_Bookdata")->model();
    return m->data(m->index(zeile, spalte)).toString();
}

} // namespace

class TestBookdataFrm1 : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void spaltenUndZeilen() {
        test::TestPlattform p;
        Zustand z(p);
        Füllen(z, {E("IDX00003", 0, 7, 2), E("idx00012", 17, 7, 0), E("IDX00012", 255, 254, 255)});
        Bookdata_frm1 f(z);
        f.show();
        auto* liste = Teil<QTreeView>(f, "lstv_Bookdata");
        QAbstractItemModel* m = liste->model();
        QCOMPARE(m->columnCount(), 4);
        const QStringList köpfe{"Index", "Box-Nr.", "User.- ID", "Revisions-Nr."};
        for (int s = 0; s < 4; ++s)
            QCOMPARE(m->headerData(s, Qt::Horizontal).toString(), köpfe[s]);
        QCOMPARE(m->rowCount(), 3);
        const QList<QStringList> erwartet{{"IDX00003", "0", "7", "2"},
                                          {"idx00012", "17", "7", "0"},
                                          {"IDX00012", "255", "254", "255"}};
        for (int r = 0; r < 3; ++r) {
            for (int s = 0; s < 4; ++s) {
                QCOMPARE(Zelle(f, r, s), erwartet[r][s]);
                QCOMPARE(m->data(m->index(r, s), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                             Qt::AlignHorizontal_Mask,
                         Qt::AlignLeft);
            }
        }
        // A quarter, a fifth, a fifth and a quarter of the list's width.
        QCOMPARE(liste->width(), 361);
        const QList<int> breiten{90, 72, 72, 90};
        for (int s = 0; s < 4; ++s)
            QCOMPARE(liste->header()->sectionSize(s), breiten[s]);
    }

    void eintraege_data() {
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<QString>("text");
        QTest::newRow("eine") << 1 << "1  bookings";
        QTest::newRow("fuenf") << 5 << "5  bookings";
        QTest::newRow("hunderttausend") << 100000 << "100000  bookings";
    }
    void eintraege() {
        QFETCH(int, anzahl);
        test::TestPlattform p;
        Zustand z(p);
        Liste liste;
        for (int i = 0; i < anzahl; ++i)
            liste.push_back(E("IDX00001", static_cast<quint8>(i % 256), 3, 1));
        liste.back().Index = QStringLiteral("IDX99999");
        Füllen(z, liste);
        Bookdata_frm1 f(z);
        QCOMPARE(Teil<QLabel>(f, "lbl_Entries")->text(), QStringLiteral("Entries: "));
        f.show();
        QFETCH(QString, text);
        QCOMPARE(Teil<QLabel>(f, "lbl_Entries")->text(), text);
        QCOMPARE(Teil<QTreeView>(f, "lstv_Bookdata")->model()->rowCount(), anzahl);
        QCOMPARE(Zelle(f, anzahl - 1, 0), QStringLiteral("IDX99999"));
    }

    void nichtsOhneEintraege() {
        test::TestPlattform p;
        Zustand z(p);
        // Entries left in the list count for nothing while the counter says none were read.
        z.BookdataListe = {E("IDX00003", 1, 2, 3), E("IDX00003", 4, 2, 3)};
        z.Anzahl_Einträge = 0;
        Bookdata_frm1 f(z);
        f.show();
        QCOMPARE(Teil<QTreeView>(f, "lstv_Bookdata")->model()->rowCount(), 0);
        QCOMPARE(Teil<QLabel>(f, "lbl_Entries")->text(), QStringLiteral("Entries: "));
    }

    void einmalGefuellt() {
        test::TestPlattform p;
        Zustand z(p);
        Füllen(z, {E("IDX00001", 1, 1, 1), E("IDX00001", 2, 1, 1)});
        Bookdata_frm1 f(z);
        auto* liste = Teil<QTreeView>(f, "lstv_Bookdata");
        QSignalSpy füllungen(liste->model(), &QAbstractItemModel::modelReset);
        f.show();
        for (int i = 0; i < 3; ++i) {
            f.repaint();
            QCoreApplication::processEvents();
        }
        QCOMPARE(füllungen.count(), 1);
        // Hidden and shown again: the same rows and count.
        f.hide();
        f.show();
        QCOMPARE(liste->model()->rowCount(), 2);
        QCOMPARE(Teil<QLabel>(f, "lbl_Entries")->text(), QStringLiteral("2  bookings"));
        // A list that shrank behind the window's back is never read past its end.
        z.BookdataListe.resize(1);
        QVERIFY(!liste->model()->data(liste->model()->index(1, 0)).isValid());
        QCOMPARE(Zelle(f, 0, 1), QStringLiteral("1"));
    }

    void zwischenablage_data() {
        QTest::addColumn<QString>("titel");
        QTest::addColumn<int>("eintraege");
        QTest::addColumn<QString>("text");
        QTest::newRow("zwei") << "All bookings for User-ID 7" << 2
                              << "***** All bookings for User-ID 7 *****\r\n"
                                 "IDX00003\t0\t7\t2\r\nIDX00012\t17\t7\t1\r\n";
        QTest::newRow("ohne Titel")
            << "" << 2 << "*****  *****\r\nIDX00003\t0\t7\t2\r\nIDX00012\t17\t7\t1\r\n";
        // Every element of the list, whatever the counter says.
        QTest::newRow("Zaehler 0")
            << "x" << 0 << "***** x *****\r\nIDX00003\t0\t7\t2\r\nIDX00012\t17\t7\t1\r\n";
    }
    void zwischenablage() {
        QFETCH(QString, titel);
        test::TestPlattform p;
        Zustand z(p);
        Füllen(z, {E("IDX00003", 0, 7, 2), E("IDX00012", 17, 7, 1)});
        QFETCH(int, eintraege);
        z.Anzahl_Einträge = eintraege;
        Bookdata_frm1 f(z);
        f.setWindowTitle(titel);
        f.show();
        Teil<QPushButton>(f, "cmd_Zwischenablage")->click();
        QFETCH(QString, text);
        QCOMPARE(p.zwischenablage, text);
        QVERIFY(p.meldungen.isEmpty());
        QVERIFY(f.isVisible());
    }

    void zwischenablageFehler() {
        test::TestPlattform p;
        p.zwischenablageFehler = FEHLER_ZUGRIFF;
        Zustand z(p);
        Füllen(z, {E("IDX00003", 0, 7, 2)});
        Bookdata_frm1 f(z);
        f.show();
        Teil<QPushButton>(f, "cmd_Zwischenablage")->click();
        QCOMPARE(p.meldungen.size(), 1);
        QCOMPARE(p.meldungen[0].text, QStringLiteral("Error when copying the bookings to the "
                                                     "clipboard.\r\nError number: 75"));
        QCOMPARE(p.meldungen[0].titel, QStringLiteral("cmd_Zwischenablage_Error"));
        QCOMPARE(p.meldungen[0].symbol, Symbol::Ausruf);
        QCOMPARE(p.meldungen[0].knöpfe, Knöpfe::OK);
    }

    void schliessen_data() {
        QTest::addColumn<int>("taste");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
    }
    void schliessen() {
        test::TestPlattform p;
        Zustand z(p);
        Füllen(z, {E("IDX00003", 0, 7, 2)});
        Bookdata_frm1 f(z);
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QCOMPARE(QApplication::focusWidget(), Teil<QPushButton>(f, "cmd_Beenden"));
        auto* liste = Teil<QTreeView>(f, "lstv_Bookdata");
        liste->setFocus();
        liste->setCurrentIndex(liste->model()->index(0, 0));
        QFETCH(int, taste);
        QTest::keyClick(liste, static_cast<Qt::Key>(taste));
        QVERIFY(!f.isVisible());
        QCOMPARE(f.result(), int(QDialog::Accepted));
    }

    void tabReihenfolge() {
        test::TestPlattform p;
        Zustand z(p);
        Bookdata_frm1 f(z);
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        const QList<QWidget*> reihe{Teil<QPushButton>(f, "cmd_Beenden"),
                                    Teil<QTreeView>(f, "lstv_Bookdata"),
                                    Teil<QPushButton>(f, "cmd_Zwischenablage")};
        for (int i = 0; i <= reihe.size(); ++i) {
            QCOMPARE(QApplication::focusWidget(), reihe[i % reihe.size()]);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    }

    void infoUndVerborgeneFelder() {
        test::TestPlattform p;
        Zustand z(p);
        Füllen(z, {E("IDX00001", 1, 7, 1), E("IDX00002", 2, 7, 1)});
        z.UserNr = 7;
        z.Anzahl_Ordner = 12;
        z.Ordner_Nr = 11;
        QStringList vorher;
        z.Buchungsinfo_Setzen = [&](const QString& info, const QString&, const QString&) {
            vorher << info;
        };
        Bookdata_frm1 f(z);
        QCOMPARE(Teil<QLabel>(f, "lbl_Info")->text(), QString());
        QCOMPARE(Teil<QLineEdit>(f, "Text1")->text(), QStringLiteral("7"));
        QCOMPARE(Teil<QLineEdit>(f, "Text2")->text(), QStringLiteral("12"));
        QCOMPARE(Teil<QLineEdit>(f, "Text3")->text(), QStringLiteral("11"));
        QCOMPARE(Teil<QLabel>(f, "Label1")->text(), QStringLiteral("Anzahl_Buchungen 2"));
        QCOMPARE(Teil<QLabel>(f, "Label2")->text(), QStringLiteral("UBound(BookdataListe) 1"));
        {
            Buchungsinfo_Verbindung v(z, f);
            z.Buchungsinfo_Setzen(QStringLiteral("12 files in 12 folder"),
                                  QStringLiteral("Anzahl_Buchungen: 2"),
                                  QStringLiteral("UBound(BookdataListe) 1"));
        }
        QVERIFY(vorher.isEmpty());
        z.Buchungsinfo_Setzen(QStringLiteral("danach"), {}, {});
        QCOMPARE(vorher, QStringList{"danach"});
        f.show();
        QCOMPARE(Teil<QLabel>(f, "lbl_Info")->text(), QStringLiteral("12 files in 12 folder"));
        QCOMPARE(Teil<QLabel>(f, "Label1")->text(), QStringLiteral("Anzahl_Buchungen: 2"));
        QVERIFY(Teil<QLabel>(f, "lbl_Info")->isVisible());
        for (const char* name : {"Label1", "Label2", "Text1", "Text2", "Text3"})
            QVERIFY2(!Teil<QWidget>(f, name)->isVisible(), name);
    }

    void anordnung() {
        test::TestPlattform p;
        Zustand z(p);
        Bookdata_frm1 f(z);
        f.show();
        QCOMPARE(f.size(), QSize(500, 285));
        QCOMPARE(Teil<QWidget>(f, "lstv_Bookdata")->geometry(), QRect(8, 16, 361, 241));
        QCOMPARE(Teil<QWidget>(f, "cmd_Beenden")->geometry(), QRect(392, 16, 97, 25));
        QCOMPARE(Teil<QWidget>(f, "cmd_Zwischenablage")->geometry(), QRect(392, 53, 97, 25));
        QCOMPARE(Teil<QPushButton>(f, "cmd_Beenden")->text(), QStringLiteral("&Exit"));
        QCOMPARE(Teil<QPushButton>(f, "cmd_Zwischenablage")->text(), QStringLiteral("&Clipboard"));
        QVERIFY(Teil<QPushButton>(f, "cmd_Beenden")->isDefault());
        QVERIFY(f.isModal());
    }
};

QTEST_MAIN(TestBookdataFrm1)
#include "test_bookdata_frm1.moc"
