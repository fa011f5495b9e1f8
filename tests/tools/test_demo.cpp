#include "bookdata/bookdata.h"
#include "demo/einstellungen.h"
#include "platform/dateien.h"
#include "platform/qt_plattform.h"
#include "shell/idmap_frm1.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QApplication>
#include <QTreeWidget>
#include <QtTest>
#include <stdexcept>

using namespace qk;

// What scripts/run relies on: the first start makes the demo site and stores its paths where
// the program reads them, later starts keep what is stored, and the site opens in the program
// with valid files.
class TestDemo : public QObject {
    Q_OBJECT
private slots:
    void startsOfScriptsRun() {
        test::TempOrdner t;
        const QString ordner = t.Pfad() + "demo";
        demo::Demo_Site site;
        QCOMPARE(demo::Ersten_Start_Vorbereiten(ordner, site), demo::Erster_Start::Gebaut);
        QtPlattform qt;
        QCOMPARE(qt.Einstellung_Lesen("Pathname", "GlobalPath"), ordner + "/Global/");
        QCOMPARE(qt.Einstellung_Lesen("Pathname", "LibPath"), site.libraries.first());

        // The site opens in the program: whole booking files in index folders, booked only by
        // users of the map; a log of the earlier work in every Library.
        test::TestPlattform p;
        p.einstellungen.insert("Pathname/GlobalPath", site.globalPath);
        p.einstellungen.insert("Pathname/LibPath", site.libraries.first());
        Zustand z(p);
        Idmap_frm1 f(z);
        QCOMPARE(f.lstv_Idmap->topLevelItemCount(), site.anwender);
        QList<int> angemeldet;
        QSet<int> ids;
        for (const IdmapEintrag& e : z.IdmapListe) {
            ids.insert(e.ID);
            if (e.Status == QLatin1String("A"))
                angemeldet.append(e.ID);
        }
        QCOMPARE(angemeldet, site.angemeldet);
        QCOMPARE(z.LibListe, site.libraries);
        int indexordner = 0, buchungen = 0;
        for (const QString& lib : site.libraries) {
            for (const QString& name : datei::Unterordner(lib)) {
                QVERIFY2(Ist_Indexordner(name), qPrintable(name));
                QCOMPARE(datei::Lesen(lib + name + "/BOOKDATA.NET").size(), 4096);
                ++indexordner;
            }
            Bookdata_Einlesen(z, lib, 0);
            buchungen += Buchungen_Zählen(z);
            for (const BookdataEintrag& e : z.BookdataListe)
                QVERIFY2(ids.contains(e.UserID), qPrintable(QString::number(e.UserID)));
            QVERIFY(datei::Lesen(lib + "BOOKDATA.LOG").contains("Function: &Remove User\r\n"));
        }
        QCOMPARE(indexordner, site.indexordner);
        QCOMPARE(buchungen, site.buchungen);
        QVERIFY(buchungen > 0);
        QCOMPARE(p.Titel(), QStringList());

        // The user worked on the site and the setting was emptied: the site is taken again as
        // it is now.
        const QString karte = site.globalPath + "QK_IDMAP.NET";
        t.Datei(karte.mid(t.Pfad().size()), QByteArray(781, '\x07'));
        demo::Pfade_Speichern(QString(), QString());
        QCOMPARE(demo::Ersten_Start_Vorbereiten(ordner, site), demo::Erster_Start::Wiederverwendet);
        QCOMPARE(datei::Lesen(karte), QByteArray(781, '\x07'));
        QCOMPARE(demo::Gespeicherter_Globalpfad(), site.globalPath);
        // A deleted demo site is made again; a Global Directory of the user's own stays stored
        // even while it cannot be reached, and nothing is made.
        QVERIFY(QDir(ordner).removeRecursively());
        QCOMPARE(demo::Ersten_Start_Vorbereiten(ordner, site), demo::Erster_Start::Gebaut);
        demo::Pfade_Speichern(t.Pfad() + "server/global/", QString());
        QVERIFY(QDir(ordner).removeRecursively());
        QCOMPARE(demo::Ersten_Start_Vorbereiten(ordner, site), demo::Erster_Start::Vorhanden);
        QVERIFY(!QFile::exists(ordner));
        QCOMPARE(demo::Gespeicherter_Globalpfad(), t.Pfad() + "server/global/");
        // Never into a folder that holds something.
        t.Datei("belegt/notes.txt", "keep me");
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, demo::Demo_Bauen(t.Pfad() + "belegt"));
        QCOMPARE(QDir(t.Pfad() + "belegt").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"notes.txt"});
    }
};

int main(int argc, char** argv) {
    // The settings store takes its folder from the environment once, when it is first used.
    QTemporaryDir konfiguration;
    qputenv("XDG_CONFIG_HOME", konfiguration.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestDemo t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_demo.moc"
