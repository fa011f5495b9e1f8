#include "befehl_lauf.h"
#include "platform/dateien.h"
#include "views/textanzeige.h"

#include <QAction>
#include <QtTest>

using namespace qk;
using namespace qk::test;

namespace {

// Opens the log viewer from the View menu and returns the text it showed.
QString Log_Öffnen(Idmap_frm1& f, QStringList* fenster = nullptr) {
    QString text;
    const Befehlslauf lauf = Befehl_Mit_Dialogen(f, f.mnu_Log_öffnen, {[&](QDialog& d) {
                                                     text = Kind<Textanzeige>(d, "txt_Log")->Text();
                                                     d.close();
                                                 }});
    if (!lauf.gelaufen || !lauf.nichtBeantwortet.isEmpty())
        qWarning("the log viewer did not open and close as expected");
    if (fenster != nullptr)
        *fenster = lauf.fenster;
    return text;
}

} // namespace

class TestLogMenue : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(Offene_Fenster(), QStringList());
    }

    void logContents_data() {
        QTest::addColumn<bool>("vorhanden");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("no log") << false << QByteArray() << QString();
        QTest::newRow("last line without line end")
            << true << QByteArray("first\r\n\r\nlast") << "first\r\n\r\nlast\r\n";
    }
    void logContents() {
        QFETCH(bool, vorhanden);
        QFETCH(QByteArray, bytes);
        Standort s;
        if (vorhanden)
            s.t.Datei("lib/BOOKDATA.LOG", bytes);
        Idmap_frm1 f(s.z);
        QStringList fenster;
        QTEST(Log_Öffnen(f, &fenster), "text");
        QCOMPARE(fenster, QStringList{"Log_frm1: BOOKDATA.LOG"});
        QVERIFY(s.p.meldungen.isEmpty());
        // The viewer only reads.
        QCOMPARE(s.t.Existiert("lib/BOOKDATA.LOG"), vorhanden);
        if (vorhanden)
            QCOMPARE(s.t.Lesen("lib/BOOKDATA.LOG"), bytes);
    }

    // Each opening reads the log as it is then: a deletion in between shows up at its end.
    void logGrowsBetweenOpenings() {
        Standort s;
        s.t.Datei("lib/Bookdata.log", "earlier block");
        Idmap_frm1 f(s.z);
        const QString vorher = Log_Öffnen(f);
        QCOMPARE(vorher, QStringLiteral("earlier block\r\n"));

        const Befehlslauf lauf =
            Befehl_Mit_Dialogen(f, f.mnu_AlleBuchungenLöschen,
                                {Index_Eingeben("3"), [](QDialog& d) { Drücken(d, "cmd_OK_2"); }});
        QCOMPARE(lauf.nichtBeantwortet, QStringList());

        const QString nachher = Log_Öffnen(f);
        const QString datei = QString::fromLatin1(s.t.Lesen("lib/Bookdata.log"));
        // The old last line now ends where the new block begins.
        QVERIFY(datei.startsWith("earlier block*****"));
        QCOMPARE(nachher, datei);
        QVERIFY(nachher.contains("Function: Delete all bookings for &Index....\r\n"));
        QVERIFY(nachher.contains("idx00003\t0\t7\t\t2\r\nidx00003\t4\t12\t\t9\r\n"));
        QVERIFY(nachher.endsWith("Status: OK\r\n\r\n\r\n"));
    }
};

QTEST_MAIN(TestLogMenue)
#include "test_log_menue.moc"
