#include "platform/qt_plattform.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

using namespace qk;

namespace {
// The settings store takes its folder from the environment once, when it is first used.
QTemporaryDir* konfiguration = nullptr;
} // namespace

class TestQtPlattform : public QObject {
    Q_OBJECT
private slots:
    void settingsLiveInTheOrganizationsFile() {
        QtPlattform p;
        p.Einstellung_Schreiben("Pathname", "GlobalPath", "/srv/global/");
        p.Einstellung_Schreiben("Pathname", "LibPath", QString());
        QCOMPARE(p.Einstellung_Lesen("Pathname", "GlobalPath"), QStringLiteral("/srv/global/"));
        QCOMPARE(p.Einstellung_Lesen("Pathname", "LibPath"), QString());
        QCOMPARE(p.Einstellung_Lesen("Pathname", "Unbekannt"), QString());

        QFile datei(konfiguration->path() + "/Admin-Quorvik.conf");
        QVERIFY2(datei.open(QIODevice::ReadOnly), "settings file not where the program keeps it");
        const QByteArray inhalt = datei.readAll();
        QVERIFY(inhalt.contains("[Pathname]"));
        QVERIFY(inhalt.contains("GlobalPath=/srv/global/"));
    }

    void eventsAreLetThroughAtMostEveryFewMilliseconds() {
        QtPlattform p;
        int zugestellt = 0;
        // A queued call stands for a paint event waiting in the queue.
        auto anstellen = [&zugestellt] {
            QMetaObject::invokeMethod(
                qApp, [&zugestellt] { ++zugestellt; }, Qt::QueuedConnection);
        };
        QThread::msleep(30);
        anstellen();
        p.Ereignisse_Verarbeiten();
        QCOMPARE(zugestellt, 1);
        anstellen();
        p.Ereignisse_Verarbeiten(); // too soon after the last: nothing
        QCOMPARE(zugestellt, 1);
        QThread::msleep(30);
        p.Ereignisse_Verarbeiten();
        QCOMPARE(zugestellt, 2);
    }

    void clipboardHoldsTheText() {
        QtPlattform p;
        p.Zwischenablage_Setzen("a\tb\r\n");
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("a\tb\r\n"));
    }
};

int main(int argc, char** argv) {
    QTemporaryDir dir;
    konfiguration = &dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestQtPlattform t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_qt_plattform.moc"
