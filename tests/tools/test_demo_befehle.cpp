#include "bookdata/bookdata.h"
#include "demo/demo_site.h"
#include "platform/dateien.h"
#include "shell/idmap_frm1.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QApplication>
#include <QTreeWidget>
#include <QtTest>

using namespace qk;

namespace {

// Every BOOKDATA.NET of the site, by its path.
QMap<QString, QByteArray> Buchungsdateien(const demo::Demo_Site& site) {
    QMap<QString, QByteArray> dateien;
    for (const QString& lib : site.libraries) {
        for (const QString& ordner : datei::Unterordner(lib)) {
            const QString pfad = lib + ordner + QStringLiteral("/BOOKDATA.NET");
            dateien.insert(pfad, datei::Lesen(pfad));
        }
    }
    return dateien;
}

// Bookings of `user` in each Library of the site.
QList<int> Buchungen_Je_Library(const demo::Demo_Site& site, quint8 user) {
    test::TestPlattform p;
    Zustand z(p);
    QList<int> anzahl;
    for (const QString& lib : site.libraries) {
        Bookdata_Einlesen(z, lib, user);
        anzahl.append(Buchungen_Zählen(z));
    }
    return anzahl;
}

int Blöcke(const QString& lib) {
    return int(datei::Lesen(lib + QStringLiteral("BOOKDATA.LOG"))
                   .count("*                     BOOKDATA.LOG"));
}

} // namespace

// The demo site is meant for trying the commands: a removal and its undo go through all of its
// Libraries and leave every booking file as it was.
class TestDemoBefehle : public QObject {
    Q_OBJECT
private slots:
    void removingAUserAndUndoingItRestoresEveryLibrary() {
        test::TempOrdner t;
        const demo::Demo_Site site = demo::Demo_Bauen(t.Pfad() + QStringLiteral("demo"));
        test::TestPlattform p;
        p.einstellungen.insert(QStringLiteral("Pathname/GlobalPath"), site.globalPath);
        p.einstellungen.insert(QStringLiteral("Pathname/LibPath"), site.libraries.first());
        Zustand z(p);
        Idmap_frm1 f(z);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));

        // A user who is not logged in and has bookings in more than one Library.
        int zeile = -1;
        quint8 user = 0;
        QList<int> vorher;
        for (int i = 0; i < f.lstv_Idmap->topLevelItemCount() && zeile < 0; ++i) {
            const auto id = quint8(f.lstv_Idmap->topLevelItem(i)->text(0).toInt());
            const QList<int> n = Buchungen_Je_Library(site, id);
            if (!site.angemeldet.contains(id) && n.count(0) <= 1) {
                zeile = i;
                user = id;
                vorher = n;
            }
        }
        QVERIFY(zeile >= 0);
        const QMap<QString, QByteArray> dateien = Buchungsdateien(site);
        QList<int> blöcke;
        for (const QString& lib : site.libraries)
            blöcke.append(Blöcke(lib));

        const QRect r = f.lstv_Idmap->visualItemRect(f.lstv_Idmap->topLevelItem(zeile));
        QTest::mouseClick(f.lstv_Idmap->viewport(), Qt::LeftButton, {}, r.center());
        p.antworten = {Antwort::Ja};
        QVERIFY(f.Befehl_Ausführen(f.mnu_UserLöschen));
        f.Messages_Entladen();
        QCOMPARE(p.Titel(), QStringList{QStringLiteral("Delete User-ID")});
        QCOMPARE(Buchungen_Je_Library(site, user), (QList<int>{0, 0, 0}));
        QCOMPARE(f.lstv_Idmap->topLevelItemCount(), site.anwender - 1);
        QVERIFY(Buchungsdateien(site) != dateien);

        QVERIFY(f.Befehl_Ausführen(f.mnu_Rückgängig));
        f.Messages_Entladen();
        QCOMPARE(p.Titel(), QStringList{QStringLiteral("Delete User-ID")});
        QCOMPARE(Buchungen_Je_Library(site, user), vorher);
        QCOMPARE(f.lstv_Idmap->topLevelItemCount(), site.anwender);
        const QMap<QString, QByteArray> danach = Buchungsdateien(site);
        QCOMPARE(danach.keys(), dateien.keys());
        for (auto it = dateien.cbegin(); it != dateien.cend(); ++it)
            QVERIFY2(danach.value(it.key()) == it.value(), qPrintable(it.key()));
        // A removal block and a restore block in every Library.
        for (int i = 0; i < site.libraries.size(); ++i)
            QCOMPARE(Blöcke(site.libraries.at(i)), blöcke.at(i) + 2);
        // Nothing was saved: the map left undone is the one on disk.
        QVERIFY(!f.mnu_Speichern->isEnabled());
        QVERIFY(!z.Geändert);
    }
};

QTEST_MAIN(TestDemoBefehle)
#include "test_demo_befehle.moc"
