#include "bookdata/bookdata.h"
#include "demo/demo_site.h"
#include "idmap/idmap_datei.h"
#include "idmap/logins.h"
#include "platform/dateien.h"
#include "shell/routinen.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>
#include <stdexcept>

using namespace qk;

namespace {

// Every file below `ordner`, by its path relative to it.
QMap<QString, QByteArray> Alle_Dateien(const QString& ordner) {
    QMap<QString, QByteArray> dateien;
    QDirIterator it(ordner, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString pfad = it.next();
        QFile f(pfad);
        if (!f.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(pfad));
        dateien.insert(pfad.mid(ordner.size()), f.readAll());
    }
    return dateien;
}

QSet<int> Ids(const Zustand& z) {
    QSet<int> ids;
    for (const IdmapEintrag& e : z.IdmapListe)
        ids.insert(e.ID);
    return ids;
}

QString Log_Text(const QString& lib) {
    return QString::fromLatin1(datei::Lesen(lib + QStringLiteral("BOOKDATA.LOG")));
}

} // namespace

class TestDemoSite : public QObject {
    Q_OBJECT

    test::TempOrdner t;
    demo::Demo_Site site;

private slots:
    void initTestCase() { site = demo::Demo_Bauen(t.Pfad() + QStringLiteral("site")); }

    void mapHoldsAboutThirtyDistinctUsers() {
        test::TestPlattform p;
        Zustand z(p);
        Qk_Idmap_Öffnen(z, site.globalPath);
        QCOMPARE(p.Titel(), QStringList());
        QCOMPARE(int(z.IdmapListe.size()), site.anwender);
        QVERIFY2(site.anwender >= 25 && site.anwender <= 35,
                 qPrintable(QString::number(site.anwender)));
        QSet<QString> namen;
        QSet<QString> rechner;
        for (const IdmapEintrag& e : z.IdmapListe) {
            QVERIFY(e.ID >= 1 && e.ID <= 254);
            QVERIFY(!e.UserName.isEmpty() && !e.PCName.isEmpty() && !e.LocalPath.isEmpty());
            namen.insert(e.UserName);
            rechner.insert(e.PCName);
        }
        QCOMPARE(int(Ids(z).size()), site.anwender);
        QCOMPARE(int(namen.size()), site.anwender);
        QCOMPARE(int(rechner.size()), site.anwender);
        // The map before the last removal is kept as the backup, with one user more.
        QCOMPARE(datei::Lesen(site.globalPath + QStringLiteral("QK_IDMAP.BAK")).size(),
                 qsizetype(site.anwender + 1) * IDMAP_SATZ);
    }

    void librariesAreListedWithTheirRealPaths() {
        test::TestPlattform p;
        Zustand z(p);
        z.GlobalPath = site.globalPath;
        LibPaths_Einlesen(z);
        QCOMPARE(z.LibListe, site.libraries);
        QCOMPARE(z.LibListe.size(), 3);
        QVERIFY(site.globalPath.startsWith(site.ordner) && site.globalPath.endsWith('/'));
        for (const QString& lib : z.LibListe) {
            QVERIFY2(QDir::isAbsolutePath(lib) && lib.endsWith('/'), qPrintable(lib));
            QVERIFY(lib.startsWith(site.ordner));
            QVERIFY2(Datei_Existiert(lib, QStringLiteral("LIBINFO.SYS")), qPrintable(lib));
        }
        QCOMPARE(QSet<QString>(z.LibListe.begin(), z.LibListe.end()).size(), 3);
    }

    void bookingFilesAreWholeAndBookedOnlyByListedUsers() {
        test::TestPlattform p;
        Zustand z(p);
        Qk_Idmap_Öffnen(z, site.globalPath);
        const QSet<int> ids = Ids(z);
        int ordner = 0;
        int buchungen = 0;
        QHash<int, QSet<QString>> bibliothekenJeAnwender;
        for (const QString& lib : site.libraries) {
            for (const QString& name : datei::Unterordner(lib)) {
                QVERIFY2(Ist_Indexordner(name), qPrintable(name));
                QCOMPARE(datei::Lesen(lib + name + QStringLiteral("/BOOKDATA.NET")).size(), 4096);
                ++ordner;
            }
            z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, lib);
            Bookdata_Einlesen(z, lib, 0);
            QCOMPARE(p.Titel(), QStringList());
            buchungen += Buchungen_Zählen(z);
            for (const BookdataEintrag& e : z.BookdataListe) {
                QVERIFY2(ids.contains(e.UserID), qPrintable(QString::number(e.UserID)));
                bibliothekenJeAnwender[e.UserID].insert(lib);
            }
        }
        QCOMPARE(ordner, site.indexordner);
        QVERIFY2(ordner >= 200 && ordner <= 600, qPrintable(QString::number(ordner)));
        QCOMPARE(buchungen, site.buchungen);
        QVERIFY2(buchungen >= 1000, qPrintable(QString::number(buchungen)));
        // Spread over most users, and most of them work in more than one Library.
        QVERIFY(bibliothekenJeAnwender.size() >= site.anwender * 2 / 3);
        QVERIFY(bibliothekenJeAnwender.size() < site.anwender);
        int mehrere = 0;
        for (const QSet<QString>& libs : std::as_const(bibliothekenJeAnwender))
            mehrere += libs.size() > 1 ? 1 : 0;
        QVERIFY(mehrere >= int(bibliothekenJeAnwender.size()) / 2);
    }

    void aFewUsersAreLoggedIn() {
        test::TestPlattform p;
        Zustand z(p);
        z.GlobalPath = site.globalPath;
        Qk_Idmap_Öffnen(z, site.globalPath);
        UserLogins_Ermitteln(z);
        QCOMPARE(p.Titel(), QStringList());
        QCOMPARE(z.LoginAnzahl, int(site.angemeldet.size()));
        QVERIFY(z.LoginAnzahl >= 2 && z.LoginAnzahl <= 6);
        QList<int> angemeldet;
        for (const IdmapEintrag& e : z.IdmapListe) {
            if (e.Status == QLatin1String("A"))
                angemeldet.append(e.ID);
        }
        QCOMPARE(angemeldet, site.angemeldet);
        const QRegularExpression marke(QStringLiteral("^_!qk.\\d{3}$"));
        int marken = 0;
        for (const QString& name : datei::Dateien(site.globalPath))
            marken += marke.match(name).hasMatch() ? 1 : 0;
        QCOMPARE(marken, z.LoginAnzahl);
    }

    void logHoldsTheEarlierWork() {
        test::TestPlattform p;
        Zustand z(p);
        Qk_Idmap_Öffnen(z, site.globalPath);
        const QSet<int> ids = Ids(z);
        const QRegularExpression entfernt(
            QStringLiteral("Function: &Remove User\r\n\r\n\r\n\\*+ Bookings for User-ID (\\d+) "));
        QSet<int> ehemalige;
        for (const QString& lib : site.libraries) {
            const QString log = Log_Text(lib);
            QVERIFY2(log.startsWith(QStringLiteral("*****")), qPrintable(lib));
            QVERIFY(log.endsWith(QStringLiteral("\r\n\r\n\r\n")));
            // Two removals of users who left, in every Library.
            auto treffer = entfernt.globalMatch(log);
            int n = 0;
            while (treffer.hasNext()) {
                ehemalige.insert(treffer.next().captured(1).toInt());
                ++n;
            }
            QCOMPARE(n, 2);
            QVERIFY(!log.contains(QStringLiteral("Status: Error")));
        }
        QCOMPARE(ehemalige.size(), 2);
        for (const int id : ehemalige)
            QVERIFY2(!ids.contains(id), qPrintable(QString::number(id)));

        const QString projekte = Log_Text(site.libraries.at(0));
        QVERIFY(projekte.contains(QStringLiteral("Function: Delete all bookings for &Index....")));
        QVERIFY(projekte.contains(QStringLiteral("Funktion: Un&do")));
        QVERIFY(Log_Text(site.libraries.at(1))
                    .contains(QStringLiteral("Function: Delete all bookings for a &User for "
                                             "Index....")));
        // Blocks in the order of their dates.
        const QRegularExpression datum(QStringLiteral("Date: (\\d\\d)\\.(\\d\\d)\\.(\\d{4})\t"));
        QStringList tage;
        auto it = datum.globalMatch(projekte);
        while (it.hasNext()) {
            const auto m = it.next();
            tage.append(m.captured(3) + m.captured(2) + m.captured(1));
        }
        QCOMPARE(tage.size(), 4);
        QStringList sortiert = tage;
        sortiert.sort();
        QCOMPARE(tage, sortiert);
    }

    void undoListsAndBackupsAreThoseOfTheLastDeletion() {
        test::TestPlattform p;
        Zustand z(p);
        int sicherungen = 0;
        for (const QString& lib : site.libraries) {
            Rückgängig_Liste_Lesen(z, lib);
            for (const BookdataEintrag& e : z.BookdataListe)
                QVERIFY2(e.Index.isEmpty() ||
                             datei::Existiert(lib + e.Index + QStringLiteral("/BOOKDATA.BAK")),
                         qPrintable(e.Index));
            for (const QString& name : datei::Unterordner(lib)) {
                if (datei::Existiert(lib + name + QStringLiteral("/BOOKDATA.BAK"))) {
                    QCOMPARE(datei::Lesen(lib + name + QStringLiteral("/BOOKDATA.BAK")).size(),
                             4096);
                    ++sicherungen;
                }
            }
        }
        QVERIFY(sicherungen > 0);
        QCOMPARE(p.Titel(), QStringList());
    }

    void sameSeedGivesTheSameSite() {
        const demo::Demo_Site a = demo::Demo_Bauen(t.Pfad() + QStringLiteral("a"), 7);
        const demo::Demo_Site b = demo::Demo_Bauen(t.Pfad() + QStringLiteral("b"), 7);
        const demo::Demo_Site c = demo::Demo_Bauen(t.Pfad() + QStringLiteral("c"), 8);
        const QMap<QString, QByteArray> da = Alle_Dateien(a.ordner);
        QMap<QString, QByteArray> db = Alle_Dateien(b.ordner);
        QCOMPARE(da.keys(), db.keys());
        // Only the folder's own path differs, where a file names it.
        for (auto it = db.begin(); it != db.end(); ++it)
            it.value().replace(b.ordner.toUtf8(), a.ordner.toUtf8());
        for (auto it = da.cbegin(); it != da.cend(); ++it)
            QVERIFY2(it.value() == db.value(it.key()), qPrintable(it.key()));
        QVERIFY(datei::Lesen(a.globalPath + QStringLiteral("QK_IDMAP.NET")) !=
                datei::Lesen(c.globalPath + QStringLiteral("QK_IDMAP.NET")));
    }

    void refusesAFolderThatIsNotEmpty() {
        const QString ordner = t.Ordner(QStringLiteral("belegt"));
        t.Datei(QStringLiteral("belegt/notes.txt"), "keep me");
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, demo::Demo_Bauen(ordner));
        QCOMPARE(QDir(ordner).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("notes.txt")});
        QCOMPARE(t.Lesen(QStringLiteral("belegt/notes.txt")), QByteArray("keep me"));
        // An empty folder is fine.
        const QString leer = t.Ordner(QStringLiteral("leer"));
        QCOMPARE(demo::Demo_Bauen(leer).libraries.size(), 3);
    }

    void findsASiteMadeEarlier() {
        const demo::Demo_Site gefunden = demo::Demo_Finden(site.ordner);
        QCOMPARE(gefunden.globalPath, site.globalPath);
        QCOMPARE(gefunden.libraries, site.libraries);
        const demo::Demo_Site keine = demo::Demo_Finden(t.Ordner(QStringLiteral("nichts")));
        QVERIFY(keine.globalPath.isEmpty());
        QVERIFY(keine.libraries.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDemoSite)
#include "test_demo_site.moc"
