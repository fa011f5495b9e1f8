#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/zustand.h"
#include "temp_ordner.h"
#include "test_plattform.h"
#include "views/log_frm1.h"
#include "views/textanzeige.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QtTest>

using namespace qk;

namespace {

Textanzeige* Log(Log_frm1& f) {
    auto* t = f.findChild<Textanzeige*>(QStringLiteral("txt_Log"));
    if (t == nullptr)
        qFatal("missing txt_Log");
    return t;
}

} // namespace

class TestLogFrm1 : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        datei::Fehlerhaken_Setzen({});
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void fehlendesLog() {
        test::TempOrdner t;
        test::TestPlattform p;
        Zustand z(p);
        z.LibPath = t.Ordner(QStringLiteral("Lib"));
        Log_frm1 f(z);
        f.show();
        QCOMPARE(f.windowTitle(), QStringLiteral("BOOKDATA.LOG"));
        QVERIFY(f.isModal());
        QCOMPARE(Log(f)->Text(), QString());
        QVERIFY(p.meldungen.isEmpty());
        // Columns of the log line up: every character is as wide as any other.
        const QFontMetrics fm(Log(f)->font());
        QCOMPARE(fm.horizontalAdvance(QLatin1Char('i')), fm.horizontalAdvance(QLatin1Char('M')));
        QCOMPARE(fm.horizontalAdvance(QLatin1Char('.')), fm.horizontalAdvance(QLatin1Char('W')));
        QVERIFY(f.findChildren<QPushButton*>().isEmpty());
        QCOMPARE(f.size(), QSize(537, 328));
        QCOMPARE(Log(f)->geometry(), QRect(8, 8, 521, 313));
    }

    void inhalt_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("CR LF") << "BOOKDATA.LOG" << QByteArray("a\r\n\r\nb\r\n")
                               << "a\r\n\r\nb\r\n";
        QTest::newRow("letzte Zeile ohne Ende")
            << "BOOKDATA.LOG" << QByteArray("a\r\nb") << "a\r\nb\r\n";
        QTest::newRow("LF") << "BOOKDATA.LOG" << QByteArray("a\nb\n") << "a\r\nb\r\n";
        QTest::newRow("leere Datei") << "BOOKDATA.LOG" << QByteArray() << "";
        QTest::newRow("Windows-1252") << "BOOKDATA.LOG" << QByteArray("M\xfcller \x80 5\t7\r\n")
                                      << QString::fromUtf8("Müller € 5\t7\r\n");
        // The log's writers spell it Bookdata.log.
        QTest::newRow("Schreibweise") << "Bookdata.log" << QByteArray("x\r\n") << "x\r\n";
    }
    void inhalt() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        test::TempOrdner t;
        test::TestPlattform p;
        Zustand z(p);
        z.LibPath = t.Ordner(QStringLiteral("Lib"));
        t.Datei(QStringLiteral("Lib/") + name, bytes);
        Log_frm1 f(z);
        QTEST(Log(f)->Text(), "text");
        QVERIFY(p.meldungen.isEmpty());
    }

    void wachsendesLog() {
        test::TempOrdner t;
        test::TestPlattform p;
        Zustand z(p);
        z.LibPath = t.Ordner(QStringLiteral("Lib"));
        t.Datei(QStringLiteral("Lib/BOOKDATA.LOG"), "erster Block\r\n");
        Log_frm1 erstes(z);
        datei::Anhängen(z.LibPath + QStringLiteral("Bookdata.log"), "zweiter Block\r\n");
        Log_frm1 zweites(z);
        QCOMPARE(erstes.findChild<Textanzeige*>()->Text(), QStringLiteral("erster Block\r\n"));
        QCOMPARE(Log(zweites)->Text(), QStringLiteral("erster Block\r\nzweiter Block\r\n"));
    }

    void unlesbaresLog() {
        test::TempOrdner t;
        test::TestPlattform p;
        Zustand z(p);
        z.LibPath = t.Ordner(QStringLiteral("Lib"));
        t.Datei(QStringLiteral("Lib/BOOKDATA.LOG"), "gesperrt\r\n");
        datei::Fehlerhaken_Setzen([](datei::Vorgang v, const QString& pfad) {
            if (v == datei::Vorgang::Lesen && pfad.endsWith(QStringLiteral("BOOKDATA.LOG")))
                throw Fehler(FEHLER_ZUGRIFF, pfad);
        });
        Log_frm1 f(z);
        QCOMPARE(p.meldungen.size(), 1);
        QCOMPARE(p.meldungen[0].text, QStringLiteral("Error when reading  ''") + z.LibPath +
                                          QStringLiteral("BOOKDATA.LOG''\r\nError Nr: 75"));
        QCOMPARE(p.meldungen[0].titel, QStringLiteral("Form_Load_Error"));
        QCOMPARE(p.meldungen[0].symbol, Symbol::Ausruf);
        QCOMPARE(p.meldungen[0].knöpfe, Knöpfe::OK);
        QCOMPARE(Log(f)->Text(), QString());
    }

    void ohneBibliothek() {
        // With no Library chosen, a log in the working folder is not the one to show.
        test::TempOrdner t;
        t.Datei(QStringLiteral("BOOKDATA.LOG"), "fremd\r\n");
        const QString vorher = QDir::currentPath();
        QVERIFY(QDir::setCurrent(t.Pfad()));
        test::TestPlattform p;
        Zustand z(p);
        QString text;
        {
            Log_frm1 f(z);
            text = Log(f)->Text();
        }
        QDir::setCurrent(vorher);
        QCOMPARE(text, QString());
        QVERIFY(p.meldungen.isEmpty());
    }

    void kopieren() {
        test::TempOrdner t;
        test::TestPlattform p;
        Zustand z(p);
        z.LibPath = t.Ordner(QStringLiteral("Lib"));
        t.Datei(QStringLiteral("Lib/BOOKDATA.LOG"), "Index\t\tBoxNr\r\nIDX00012\t5\r\n");
        Log_frm1 f(z);
        f.show();
        QTest::keyClick(Log(f), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(Log(f), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(p.zwischenablage, QStringLiteral("Index\t\tBoxNr\r\nIDX00012\t5\r\n"));
        QVERIFY(p.meldungen.isEmpty());
        p.zwischenablageFehler = FEHLER_ZUGRIFF;
        QTest::keyClick(Log(f), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(p.meldungen.size(), 1);
        QCOMPARE(p.meldungen[0].titel, QStringLiteral("txt_Log_Kopieren_Error"));
        QVERIFY(p.meldungen[0].text.endsWith(QStringLiteral("\r\nError number: 75")));
    }
};

QTEST_MAIN(TestLogFrm1)
#include "test_log_frm1.moc"
