#include "config/local_net.h"
#include "temp_ordner.h"

#include <QtTest>
#include <cmath>

using namespace qk;

class TestLocalNet : public QObject {
    Q_OBJECT
private slots:
    void layoutExample() {
        const QByteArray b =
            Local_Inhalt(12, QStringLiteral("F:\\NET\\"), QStringLiteral("C:\\CAD\\"));
        QCOMPARE(b.size(), 522);
        QCOMPARE(quint8(b[0]), quint8(12));
        QCOMPARE(b.mid(1, 7), QByteArray("F:\\NET\\"));
        QCOMPARE(b[8], '\0');
        QCOMPARE(b.mid(9, 252), QByteArray(252, ' '));
        QCOMPARE(quint8(b[261]), quint8(0xFF));
        QCOMPARE(b.mid(262, 7), QByteArray("C:\\CAD\\"));
        QCOMPARE(b[269], '\0');
        QCOMPARE(b.mid(270, 252), QByteArray(252, ' '));
    }

    void fieldLengths_data() {
        QTest::addColumn<int>("laenge");
        QTest::addColumn<bool>("mitNull");
        QTest::newRow("empty") << 0 << true;
        QTest::newRow("259 fits with its NUL") << 259 << true;
        QTest::newRow("260 has no NUL") << 260 << false;
        QTest::newRow("300 is cut") << 300 << false;
    }
    void fieldLengths() {
        QFETCH(int, laenge);
        QFETCH(bool, mitNull);
        QString text;
        for (int i = 0; i < laenge; ++i)
            text.append(QLatin1Char('a' + i % 26));
        const QByteArray feld = Local_Feld(text);
        QCOMPARE(feld.size(), 260);
        const int kopiert = qMin(laenge, 260);
        QCOMPARE(feld.left(kopiert), text.left(kopiert).toLatin1());
        QCOMPARE(feld.contains('\0'), mitNull);
        if (mitNull)
            QCOMPARE(feld.indexOf('\0'), laenge);
        QCOMPARE(Local_Inhalt(1, text, text).size(), 522);
    }

    void fieldIsWindows1252() {
        const QByteArray feld = Local_Feld(QStringLiteral("C:\\Büro\\€\\"));
        QCOMPARE(feld.left(10), QByteArray("C:\\B\xFCro\\\x80\\\0", 10));
    }

    void userNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("nummer");
        QTest::newRow("plain") << "12" << 12.0;
        QTest::newRow("seven then letters") << "7abc" << 7.0;
        QTest::newRow("letters alone") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("2.5 to even below") << "2.5" << 2.0;
        QTest::newRow("3.5 to even above") << "3.5" << 4.0;
        QTest::newRow("0.5 to zero") << "0.5" << 0.0;
        QTest::newRow("254.5 stays 254") << "254.5" << 254.0;
        QTest::newRow("254.51 rounds up") << "254.51" << 255.0;
        QTest::newRow("leading blanks") << "   42" << 42.0;
        QTest::newRow("blank ends the number") << "1 2" << 1.0;
        QTest::newRow("exponent") << "1e2" << 100.0;
        QTest::newRow("signed exponent") << "25E-1" << 2.0;
        QTest::newRow("e without digits") << "1e" << 1.0;
        QTest::newRow("e then letter") << "3ex" << 3.0;
        QTest::newRow("negative") << "-3" << -3.0;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("fraction only") << ".7" << 1.0;
        QTest::newRow("point alone") << "." << 0.0;
        QTest::newRow("trailing point") << "8." << 8.0;
        QTest::newRow("second point stops") << "1.5.9" << 2.0;
        QTest::newRow("hex notation is no number") << "&H10" << 0.0;
        QTest::newRow("blank after sign") << "- 3" << 0.0;
        QTest::newRow("arabic-indic digits") << QStringLiteral("\u0661\u0662") << 0.0;
    }
    void userNumber() {
        QFETCH(QString, text);
        QFETCH(double, nummer);
        QCOMPARE(UserNummer_Lesen(text), nummer);
    }

    void userNumberBeyondDouble() {
        QVERIFY(std::isinf(UserNummer_Lesen(QStringLiteral("1e400"))));
        QVERIFY(UserNummer_Lesen(QStringLiteral("-1e400")) < 0);
        QVERIFY(
            !Local_Eingabe_Prüfen(QStringLiteral("1e400"), QStringLiteral("a"), QStringLiteral("b"))
                 .isEmpty());
    }

    void inputCheck_data() {
        QTest::addColumn<QString>("nummer");
        QTest::addColumn<int>("dirLaenge");
        QTest::addColumn<QString>("dirZusatz");
        QTest::addColumn<int>("progLaenge");
        QTest::addColumn<QString>("erwartet"); // empty: accepted
        const QString id = QStringLiteral("The User-ID must be a number from 1 to 254.");
        QTest::newRow("sound") << "12" << 10 << "" << 10 << "";
        QTest::newRow("254.5 rounds into range") << "254.5" << 10 << "" << 10 << "";
        QTest::newRow("0.5 rounds to 0") << "0.5" << 10 << "" << 10 << id;
        QTest::newRow("zero") << "0" << 10 << "" << 10 << id;
        QTest::newRow("255") << "255" << 10 << "" << 10 << id;
        QTest::newRow("256 would wrap to 0") << "256" << 10 << "" << 10 << id;
        QTest::newRow("negative") << "-3" << 10 << "" << 10 << id;
        QTest::newRow("letters") << "abc" << 10 << "" << 10 << id;
        QTest::newRow("dir 259") << "5" << 259 << "" << 10 << "";
        QTest::newRow("dir 260") << "5" << 260 << "" << 10
                                 << "The Global Directory must be shorter than 260 characters.";
        QTest::newRow("prog 259") << "5" << 10 << "" << 259 << "";
        QTest::newRow("prog 260") << "5" << 10 << "" << 260
                                  << "The Local Directory must be shorter than 260 characters.";
        QTest::newRow("dir outside code page")
            << "5" << 3 << QStringLiteral("\u4E2D") << 10
            << "The Global Directory contains characters that QK_LOCAL.NET cannot hold.";
        QTest::newRow("umlaut and euro fit") << "5" << 3 << QStringLiteral("ä€") << 10 << "";
    }
    void inputCheck() {
        QFETCH(QString, nummer);
        QFETCH(int, dirLaenge);
        QFETCH(QString, dirZusatz);
        QFETCH(int, progLaenge);
        QFETCH(QString, erwartet);
        const QString dir = QString(dirLaenge, QLatin1Char('d')) + dirZusatz;
        const QString prog(progLaenge, QLatin1Char('p'));
        QCOMPARE(Local_Eingabe_Prüfen(nummer, dir, prog), erwartet);
    }

    void longerFileIsCut() {
        test::TempOrdner t;
        const QString name = t.Datei(QStringLiteral("QK_LOCAL.NET"), QByteArray(1000, 'x'));
        Local_Schreiben(name, 3, QStringLiteral("a"), QStringLiteral("b"));
        const QByteArray b = t.Lesen(QStringLiteral("QK_LOCAL.NET"));
        QCOMPARE(b.size(), 522);
        QVERIFY(!b.contains('x'));
        QCOMPARE(b, Local_Inhalt(3, QStringLiteral("a"), QStringLiteral("b")));
    }
};

QTEST_APPLESS_MAIN(TestLocalNet)
#include "test_local_net.moc"
