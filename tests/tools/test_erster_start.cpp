#include "demo/demo_site.h"
#include "demo/einstellungen.h"
#include "platform/qt_plattform.h"
#include "shell/idmap_frm1.h"
#include "temp_ordner.h"
#include "test_plattform.h"
#include "views/log_frm1.h"
#include "views/textanzeige.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace qk;

namespace {
// The settings store takes its folder from the environment once, when it is first used.
QTemporaryDir* konfiguration = nullptr;

QString Store_Datei() {
    return konfiguration->path() + QStringLiteral("/Admin-Quorvik.conf");
}
} // namespace

class TestErsterStart : public QObject {
    Q_OBJECT
private slots:
    void init() { QFile::remove(Store_Datei()); }

    void firstStartMakesTheSiteAndStoresWhatTheProgramReads() {
        test::TempOrdner t;
        const QString ordner = t.Pfad() + QStringLiteral("share/Admin-Quorvik/demo");
        demo::Demo_Site site;
        QCOMPARE(demo::Ersten_Start_Vorbereiten(ordner, site), demo::Erster_Start::Gebaut);
        QVERIFY(QFile::exists(site.globalPath + QStringLiteral("QK_IDMAP.NET")));

        QtPlattform p;
        const QString global =
            p.Einstellung_Lesen(QStringLiteral("Pathname"), QStringLiteral("GlobalPath"));
        const QString lib =
            p.Einstellung_Lesen(QStringLiteral("Pathname"), QStringLiteral("LibPath"));
        QCOMPARE(global, t.Pfad() + QStringLiteral("share/Admin-Quorvik/demo/Global/"));
        QCOMPARE(lib, site.libraries.first());
        QVERIFY(lib.endsWith('/'));
        QVERIFY(QFile::exists(lib + QStringLiteral("LIBINFO.SYS")));
    }

    void storedGlobalDirectoryIsLeftAlone() {
        test::TempOrdner t;
        QtPlattform p;
        p.Einstellung_Schreiben(QStringLiteral("Pathname"), QStringLiteral("GlobalPath"),
                                QStringLiteral("/srv/cad/global/"));
        const QString ordner = t.Pfad() + QStringLiteral("demo");
        demo::Demo_Site site;
        QCOMPARE(demo::Ersten_Start_Vorbereiten(ordner, site), demo::Erster_Start::Vorhanden);
        QVERIFY(!QFile::exists(ordner));
        QCOMPARE(demo::Gespeicherter_Globalpfad(), QStringLiteral("/srv/cad/global/"));
        QCOMPARE(demo::Gespeicherter_Libpfad(), QString());
    }

    void siteMadeEarlierIsTakenAgainUnchanged() {
        test::TempOrdner t;
        const QString ordner = t.Pfad() + QStringLiteral("demo");
        demo::Demo_Site erste;
        QCOMPARE(demo::Ersten_Start_Vorbereiten(ordner, erste), demo::Erster_Start::Gebaut);
        const QString karte = erste.globalPath + QStringLiteral("QK_IDMAP.NET");
        // The user played with the site: its map is not the one the generator wrote.
        QFile f(karte);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(781, '\x07'));
        f.close();
        // Someone emptied the Global Directory setting.
        demo::Pfade_Speichern(QString(), QString());

        demo::Demo_Site zweite;
        QCOMPARE(demo::Ersten_Start_Vorbereiten(ordner, zweite),
                 demo::Erster_Start::Wiederverwendet);
        QCOMPARE(zweite.globalPath, erste.globalPath);
        QCOMPARE(demo::Gespeicherter_Globalpfad(), erste.globalPath);
        QCOMPARE(demo::Gespeicherter_Libpfad(), erste.libraries.first());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray(781, '\x07'));
    }

    void deletedDemoSiteIsMadeAgainButAnotherMissingFolderIsNot() {
        test::TempOrdner t;
        const QString ordner = t.Pfad() + QStringLiteral("demo");
        demo::Demo_Site site;
        QCOMPARE(demo::Ersten_Start_Vorbereiten(ordner, site), demo::Erster_Start::Gebaut);
        QVERIFY(QDir(ordner).removeRecursively());
        QCOMPARE(demo::Ersten_Start_Vorbereiten(ordner, site), demo::Erster_Start::Gebaut);
        QVERIFY(QFile::exists(site.globalPath + QStringLiteral("QK_IDMAP.NET")));

        // A Global Directory of the user's own that is unreachable now stays stored.
        demo::Pfade_Speichern(t.Pfad() + QStringLiteral("server/global/"), QString());
        QVERIFY(QDir(ordner).removeRecursively());
        QCOMPARE(demo::Ersten_Start_Vorbereiten(ordner, site), demo::Erster_Start::Vorhanden);
        QVERIFY(!QFile::exists(ordner));
        QCOMPARE(demo::Gespeicherter_Globalpfad(), t.Pfad() + QStringLiteral("server/global/"));
    }

    void programStartsOnTheDemoSiteWithoutAMessage() {
        test::TempOrdner t;
        const demo::Demo_Site site = demo::Demo_Bauen(t.Pfad() + QStringLiteral("demo"));
        test::TestPlattform p;
        p.einstellungen.insert(QStringLiteral("Pathname/GlobalPath"), site.globalPath);
        p.einstellungen.insert(QStringLiteral("Pathname/LibPath"), site.libraries.first());
        Zustand z(p);
        {
            Idmap_frm1 f(z);
            QCOMPARE(p.Titel(), QStringList());
            QCOMPARE(f.lstv_Idmap->topLevelItemCount(), site.anwender);
            int angemeldet = 0;
            for (int i = 0; i < f.lstv_Idmap->topLevelItemCount(); ++i)
                angemeldet += f.lstv_Idmap->topLevelItem(i)->text(4) == QLatin1String("A");
            QCOMPARE(angemeldet, int(site.angemeldet.size()));
            QVERIFY(f.mnu_Bearbeiten->menuAction()->isEnabled());
            QVERIFY(f.mnu_Ansicht->menuAction()->isEnabled());
            QCOMPARE(z.LibListe, site.libraries);

            Log_frm1 log(z, &f);
            auto* text = log.findChild<Textanzeige*>(QStringLiteral("txt_Log"));
            QVERIFY(text != nullptr);
            QVERIFY(text->Text().startsWith(QStringLiteral("*****")));
            QVERIFY(text->Text().contains(QStringLiteral("Function: &Remove User")));
        }
        QCOMPARE(p.Titel(), QStringList());
    }
};

int main(int argc, char** argv) {
    QTemporaryDir dir;
    konfiguration = &dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestErsterStart t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_erster_start.moc"
