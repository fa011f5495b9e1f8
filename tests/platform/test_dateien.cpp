#include "platform/ansi.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "temp_ordner.h"

#include <QtTest>

using namespace qk;

class TestDateien : public QObject {
    Q_OBJECT
private slots:
    void fallUnabhaengigesAufloesen() {
        test::TempOrdner t;
        t.Datei(QStringLiteral("Lib/idx00012/bookdata.net"), "x");
        const QString gesucht = t.Pfad() + QStringLiteral("LIB\\IDX00012\\BOOKDATA.NET");
        QVERIFY(datei::Existiert(gesucht));
        QCOMPARE(datei::Lesen(gesucht), QByteArray("x"));
        QCOMPARE(datei::Auflösen(gesucht), t.Pfad() + QStringLiteral("Lib/idx00012/bookdata.net"));
    }
    void exakteSchreibweiseZuerst() {
        test::TempOrdner t;
        t.Datei(QStringLiteral("a/QK_IDMAP.NET"), "exakt");
        t.Datei(QStringLiteral("a/qk_idmap.net"), "klein");
        QCOMPARE(datei::Lesen(t.Pfad() + QStringLiteral("a/QK_IDMAP.NET")), QByteArray("exakt"));
    }
    void neueDateiUnterProgrammSchreibweise() {
        test::TempOrdner t;
        t.Ordner(QStringLiteral("Global"));
        datei::Schreiben(t.Pfad() + QStringLiteral("GLOBAL/QK_IDMAP.NET"), "neu");
        QVERIFY(t.Existiert(QStringLiteral("Global/QK_IDMAP.NET")));
        t.Datei(QStringLiteral("Global/qk_libpaths.txt"), "alt");
        datei::Schreiben(t.Pfad() + QStringLiteral("Global/QK_LIBPATHS.TXT"), "neu");
        QCOMPARE(t.Lesen(QStringLiteral("Global/qk_libpaths.txt")), QByteArray("neu"));
        QVERIFY(!t.Existiert(QStringLiteral("Global/QK_LIBPATHS.TXT")));
    }
    void fehlernummern() {
        test::TempOrdner t;
        try {
            datei::Lesen(t.Pfad() + QStringLiteral("fehlt/datei"));
            QFAIL("no error");
        } catch (const Fehler& f) {
            QCOMPARE(f.Nummer(), int(FEHLER_PFAD));
        }
        try {
            datei::Lesen(t.Pfad() + QStringLiteral("datei"));
            QFAIL("no error");
        } catch (const Fehler& f) {
            QCOMPARE(f.Nummer(), int(FEHLER_DATEI_NICHT_GEFUNDEN));
        }
        try {
            datei::Unterordner(t.Pfad() + QStringLiteral("fehlt/"));
            QFAIL("no error");
        } catch (const Fehler& f) {
            QCOMPARE(f.Nummer(), int(FEHLER_PFAD));
        }
    }
    void ersetzenLaesstAltesBeiFehler() {
        test::TempOrdner t;
        const QString p = t.Datei(QStringLiteral("map"), "alt");
        datei::Fehlerhaken_Setzen([](datei::Vorgang v, const QString&) {
            if (v == datei::Vorgang::Ersetzen)
                throw Fehler(FEHLER_DATENTRAEGER_VOLL);
        });
        QVERIFY_THROWS_EXCEPTION(Fehler, datei::Ersetzen(p, "neu"));
        datei::Fehlerhaken_Setzen({});
        QCOMPARE(t.Lesen(QStringLiteral("map")), QByteArray("alt"));
        datei::Ersetzen(p, "neu");
        QCOMPARE(t.Lesen(QStringLiteral("map")), QByteArray("neu"));
    }
    void zeilen() {
        test::TempOrdner t;
        const QString p = t.Datei(QStringLiteral("z.txt"), "a\r\nb\nc\r\r\nletzte");
        QCOMPARE(datei::Zeilen_Lesen(p),
                 QStringList({"a", "b", "c", "", "letzte"}));
    }
    void windows1252() {
        const QByteArray b("\x80\xE4\x9F\x81", 4);
        const QString s = Von_Ansi(b);
        QCOMPARE(s, QString::fromUtf8("\u20AC\u00E4\u0178\u0081"));
        QCOMPARE(Ansi(s), b);
        QCOMPARE(Ansi(QString::fromUtf8("\u4E2D")), QByteArray("?"));
    }
};

QTEST_GUILESS_MAIN(TestDateien)
#include "test_dateien.moc"
