#include "idmap/benutzer_eintrag.h"
#include "platform/fehler.h"

#include <QtTest>

using namespace qk;

class TestBenutzerEintrag : public QObject {
    Q_OBJECT
private slots:
    void userIdNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert");
        QTest::newRow("plain") << "12" << 12.0;
        QTest::newRow("blanks around") << "  12 " << 12.0;
        QTest::newRow("sign") << "+7" << 7.0;
        QTest::newRow("half to even down") << "2.5" << 2.0;
        QTest::newRow("half to even up") << "3.5" << 4.0;
        QTest::newRow("point first") << ".6" << 1.0;
        QTest::newRow("point last") << "9." << 9.0;
        QTest::newRow("exponent") << "1.5e2" << 150.0;
        QTest::newRow("negative") << "-3" << -3.0;
        QTest::newRow("beyond double") << "1e999" << 1e300;
    }
    void userIdNumbers() {
        QFETCH(QString, text);
        QFETCH(double, wert);
        QCOMPARE(UserID_Lesen(text), wert);
    }

    void userIdNotANumber_data() {
        QTest::addColumn<QString>("text");
        for (const char* t : {"", " ", "abc", "12abc", "1 2", "1.2.3", ".", "5e", "e5", "--1",
                              "0x10", "inf", "nan", "１２"})
            QTest::newRow(t) << QString::fromUtf8(t);
    }
    void userIdNotANumber() {
        QFETCH(QString, text);
        try {
            UserID_Lesen(text);
            QFAIL("taken as a number");
        } catch (const Fehler& f) {
            QCOMPARE(f.Nummer(), int(FEHLER_TYP));
        }
    }

    void checkOrder() {
        QList<IdmapEintrag> liste{{"", 3, "A", "", ""}, {"DEL", 9, "B", "", ""}};
        // Its own number is no duplicate; a removed record's number is taken.
        QCOMPARE(Benutzereingabe_Prüfen(liste, 0, {3, "x", "y", "z"}), 0);
        QCOMPARE(Benutzereingabe_Prüfen(liste, 0, {9, "x", "y", "z"}), TEXT_ID_VERGEBEN);
        // The range comes first, then the number, then the texts.
        QCOMPARE(Benutzereingabe_Prüfen(liste, 0, {0, QString(300, 'x'), "", ""}), TEXT_ID_BEREICH);
        QCOMPARE(Benutzereingabe_Prüfen(liste, 0, {9, QString(300, 'x'), "", ""}),
                 TEXT_ID_VERGEBEN);
        // The field holds single-byte text: a character it cannot hold still takes one byte.
        QCOMPARE(Benutzereingabe_Prüfen(liste, 0, {4, "", QString(259, QChar(0x4E2D)), ""}), 0);
        QCOMPARE(Benutzereingabe_Prüfen(liste, 0, {4, "", "", QString(260, QChar(0xE4))}),
                 TEXT_ZU_LANG);
        // A new record (no index in the list) may take no number of the list.
        QCOMPARE(Benutzereingabe_Prüfen(liste, -1, {3, "", "", ""}), TEXT_ID_VERGEBEN);
    }
};

QTEST_MAIN(TestBenutzerEintrag)
#include "test_benutzer_eintrag.moc"
