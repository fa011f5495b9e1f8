#include "platform/dateien.h"
#include "platform/fehler.h"
#include "platform/qt_plattform.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QApplication>
#include <QClipboard>
#include <QThread>
#include <QtTest>

using namespace qk;

class TestGrundlagen : public QObject {
    Q_OBJECT
private slots:
    void namesInAnyLetterCaseOverwritingAndErrors() {
        test::TempOrdner t;
        t.Datei("Global/qk_idmap.net", "klein");
        QCOMPARE(datei::Lesen(t.Pfad() + "GLOBAL\\QK_IDMAP.NET"), QByteArray("klein"));
        datei::Schreiben(t.Pfad() + "Global/QK_IDMAP.NET", "neu");
        QCOMPARE(t.Lesen("Global/qk_idmap.net"), QByteArray("neu"));
        QVERIFY(!t.Existiert("Global/QK_IDMAP.NET"));
        datei::Schreiben(t.Pfad() + "GLOBAL/QK_LIBPATHS.TXT", "neu"); // a new file: our spelling
        QVERIFY(t.Existiert("Global/QK_LIBPATHS.TXT"));
        t.Datei("Global/qk_libpaths.txt", "klein"); // both spellings: the exact one is taken
        QCOMPARE(datei::Lesen(t.Pfad() + "Global/QK_LIBPATHS.TXT"), QByteArray("neu"));
        t.Datei("z.txt", "a\r\nb\nc\r\r\nletzte \x80\x9F\x8D");
        QCOMPARE(datei::Zeilen_Lesen(t.Pfad() + "Z.TXT"),
                 QStringList({"a", "b", "c", "", "letzte \u20AC\u0178\u008D"}));

        const QString p = t.Datei("IDX00012/bookdata.bak", "alt-alt-alt");
        QFile offen(p); // a workstation holding the file open sees the new bytes
        QVERIFY(offen.open(QIODevice::ReadOnly));
        datei::Überschreiben(t.Pfad() + "idx00012\\BOOKDATA.BAK", "abc");
        QVERIFY(offen.seek(0));
        QCOMPARE(offen.readAll(), QByteArray("abc"));
        datei::Überschreiben(p, "abcdefghijkl");
        QCOMPARE(t.Lesen("IDX00012/bookdata.bak"), QByteArray("abcdefghijkl"));
        QCOMPARE(QDir(t.Pfad() + "IDX00012").entryList(QDir::Files), QStringList{"bookdata.bak"});

        QCOMPARE(test::Geworfen([&] { datei::Lesen(t.Pfad() + "fehlt/f"); }), int(FEHLER_PFAD));
        QCOMPARE(test::Geworfen([&] { datei::Lesen(t.Pfad() + "g"); }),
                 int(FEHLER_DATEI_NICHT_GEFUNDEN));
        QCOMPARE(test::Geworfen([&] { datei::Überschreiben(t.Pfad() + "IDX00012", "x"); }),
                 int(FEHLER_ZUGRIFF));
    }

    void qtPlatform() {
        QtPlattform p;
        p.Einstellung_Schreiben("Pathname", "GlobalPath", "/srv/global/");
        QCOMPARE(p.Einstellung_Lesen("Pathname", "GlobalPath"), QStringLiteral("/srv/global/"));
        QFile datei(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Admin-Quorvik.conf");
        QVERIFY(datei.open(QIODevice::ReadOnly));
        QVERIFY(datei.readAll().contains("[Pathname]\nGlobalPath=/srv/global/"));

        p.Zwischenablage_Setzen("a\tb\r\n");
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("a\tb\r\n"));

        // Events pass at most every few milliseconds; a queued call stands for a paint event.
        int zugestellt = 0;
        const auto anstellen = [&] {
            QMetaObject::invokeMethod(
                qApp, [&] { ++zugestellt; }, Qt::QueuedConnection);
        };
        QThread::msleep(30);
        anstellen();
        p.Ereignisse_Verarbeiten();
        anstellen();
        p.Ereignisse_Verarbeiten(); // too soon after the last: nothing
        QCOMPARE(zugestellt, 1);
        QThread::msleep(30);
        p.Ereignisse_Verarbeiten();
        QCOMPARE(zugestellt, 2);
    }
};

int main(int argc, char** argv) {
    // The settings store takes its folder from the environment once, when it is first used.
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestGrundlagen t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_grundlagen.moc"
