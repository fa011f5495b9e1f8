#include "views/textanzeige.h"
#include "views/textzeilen.h"

#include <QApplication>
#include <QFontDatabase>
#include <QScrollBar>
#include <QtTest>

using namespace qk;

namespace {

// Sends a mouse event to the text area at the cell of column `spalte` of visible row `zeile`.
void Maus(Textanzeige& t, QEvent::Type art, int zeile, int spalte,
          Qt::KeyboardModifiers tasten = Qt::NoModifier) {
    const QFontMetrics fm = t.fontMetrics();
    const QPointF punkt(Textanzeige::RAND + spalte * fm.horizontalAdvance(QLatin1Char('M')) + 1,
                        Textanzeige::RAND + zeile * fm.lineSpacing() + fm.lineSpacing() / 2);
    QMouseEvent e(art, punkt, t.viewport()->mapToGlobal(punkt), Qt::LeftButton,
                  art == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, tasten);
    QCoreApplication::sendEvent(t.viewport(), &e);
}

} // namespace

class TestTextanzeige : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void zeilen_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("zeilen");
        QTest::addColumn<int>("breite");
        QTest::newRow("leer") << QByteArray() << QStringList() << 0;
        QTest::newRow("ohne Zeilenende") << QByteArray("abc") << QStringList{"abc"} << 3;
        QTest::newRow("CR LF") << QByteArray("a\r\nbc\r\n") << QStringList{"a", "bc"} << 2;
        QTest::newRow("LF und CR") << QByteArray("a\nb\rc") << QStringList{"a", "b", "c"} << 1;
        QTest::newRow("CR vor CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"} << 1;
        QTest::newRow("LF vor CR") << QByteArray("a\n\rb") << QStringList{"a", "", "b"} << 1;
        QTest::newRow("nur Zeilenenden") << QByteArray("\r\n\n") << QStringList{"", ""} << 0;
        QTest::newRow("Tabulator")
            << QByteArray("1234567\tx\r\n\t\t") << QStringList{"1234567\tx", "\t\t"} << 16;
        QTest::newRow("Tabulator voll")
            << QByteArray("12345678\tx") << QStringList{"12345678\tx"} << 17;
        QTest::newRow("Windows-1252") << QByteArray("Caf\xe9 \x80\x9f\x81")
                                      << QStringList{QString::fromUtf8("Café €\u0178\u0081")} << 8;
    }
    void zeilen() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, zeilen);
        const Textzeilen t(bytes);
        QCOMPARE(t.Anzahl(), zeilen.size());
        for (qsizetype i = 0; i < t.Anzahl(); ++i) {
            QCOMPARE(t.Zeile(i), zeilen[i]);
            QCOMPARE(t.Länge(i), zeilen[i].size());
        }
        QFETCH(int, breite);
        QCOMPARE(t.Breite(), breite);
        // Every line followed by CR LF, whatever ended it in the file.
        QCOMPARE(t.Text(), zeilen.isEmpty() ? QString() : zeilen.join("\r\n") + "\r\n");
    }

    void ausschnitt_data() {
        QTest::addColumn<Textstelle>("von");
        QTest::addColumn<Textstelle>("bis");
        QTest::addColumn<QString>("text");
        QTest::newRow("in einer Zeile") << Textstelle{1, 1} << Textstelle{1, 3} << "we";
        QTest::newRow("umgekehrt") << Textstelle{1, 3} << Textstelle{1, 1} << "we";
        QTest::newRow("ueber Zeilen")
            << Textstelle{0, 2} << Textstelle{2, 1} << "s\ta\r\nzwei\r\nd";
        QTest::newRow("bis hinter das Ende") << Textstelle{2, 0} << Textstelle{3, 0} << "drei\r\n";
        QTest::newRow("ueber Zeilenlaenge") << Textstelle{0, 9} << Textstelle{1, 99} << "\r\nzwei";
        QTest::newRow("leer") << Textstelle{1, 2} << Textstelle{1, 2} << "";
    }
    void ausschnitt() {
        QFETCH(Textstelle, von);
        QFETCH(Textstelle, bis);
        const Textzeilen t(QByteArray("eis\ta\r\nzwei\ndrei"));
        QTEST(t.Ausschnitt(von, bis), "text");
    }

    void spalten() {
        const QByteArray zeile("a\tbc\t\td");
        const QList<int> spalten{0, 1, 8, 9, 10, 16, 24, 25};
        for (int k = 0; k < spalten.size(); ++k) {
            QCOMPARE(Textzeilen::Spalte(zeile, k), spalten[k]);
            QCOMPARE(Textzeilen::Zeichen(zeile, spalten[k]), k);
        }
        // Inside a tab's run the character after the tab is the next place.
        QCOMPARE(Textzeilen::Zeichen(zeile, 4), 2);
        QCOMPARE(Textzeilen::Zeichen(zeile, 99), zeile.size());
        QCOMPARE(Textzeilen::Anzeigetext("a\tbc\t\td"),
                 QStringLiteral("a       bc              d"));
    }

    void mausAuswahl() {
        Textanzeige t;
        t.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        t.resize(400, 200);
        t.Inhalt_Setzen("abc\tdef\r\nzweite Zeile\r\n");
        t.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t));
        QCOMPARE(t.Auswahl(), QString());
        Maus(t, QEvent::MouseButtonPress, 0, 1);
        Maus(t, QEvent::MouseMove, 1, 6);
        Maus(t, QEvent::MouseButtonRelease, 1, 6);
        QCOMPARE(t.Auswahl(), QStringLiteral("bc\tdef\r\nzweite"));
        // Shift extends from the same anchor; a click in a tab's run lands after the tab.
        Maus(t, QEvent::MouseButtonPress, 0, 6, Qt::ShiftModifier);
        QCOMPARE(t.Auswahl(), QStringLiteral("bc\t"));
        // Below the last line is the end of the text.
        Maus(t, QEvent::MouseButtonPress, 5, 0, Qt::ShiftModifier);
        QCOMPARE(t.Auswahl(), QStringLiteral("bc\tdef\r\nzweite Zeile\r\n"));
    }

    void tastatur() {
        Textanzeige t;
        QByteArray text;
        for (int i = 0; i < 200; ++i)
            text += "Zeile " + QByteArray::number(i) + "\r\n";
        t.resize(300, 150);
        t.Inhalt_Setzen(text);
        t.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t));
        QSignalSpy kopiert(&t, &Textanzeige::kopieren);
        QTest::keyClick(&t, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(kopiert.count(), 0); // nothing selected
        QScrollBar* v = t.verticalScrollBar();
        QVERIFY(v->maximum() > 190 && v->maximum() < 201);
        QTest::keyClick(&t, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(v->value(), v->maximum());
        QTest::keyClick(&t, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(v->value(), 0);
        QTest::keyClick(&t, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&t, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(kopiert.count(), 1);
        QCOMPARE(kopiert[0][0].toString(), Von_Text(text));
        // New content drops the selection and starts at the top.
        t.Inhalt_Setzen("neu");
        QCOMPARE(t.Auswahl(), QString());
        QCOMPARE(v->value(), 0);
        QCOMPARE(v->maximum(), 0);
    }

    void breiteZeile() {
        Textanzeige t;
        t.resize(200, 100);
        t.Inhalt_Setzen(QByteArray(300, 'x') + "\r\nkurz");
        t.show();
        QCOMPARE(t.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(t.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        const int zeichen = t.fontMetrics().horizontalAdvance(QLatin1Char('M'));
        QVERIFY(t.horizontalScrollBar()->maximum() >= 300 * zeichen - t.viewport()->width());
        QTest::keyClick(&t, Qt::Key_End);
        QCOMPARE(t.horizontalScrollBar()->value(), t.horizontalScrollBar()->maximum());
    }

private:
    static QString Von_Text(const QByteArray& b) { return QString::fromLatin1(b); }
};

QTEST_MAIN(TestTextanzeige)
#include "test_textanzeige.moc"
