// Faults around QK_IDMAP.NET: a full disk while the map or its backup is written, a Global
// Directory that is gone when the administrator saves, maps that are cut short, too long or
// hold a field the reader cannot take. No user of the file is lost, and the administrator is
// told of every fault.
#include "fehlerstelle.h"
#include "idmap/idmap_datei.h"
#include "idmap/library_gang.h"
#include "shell/idmap_frm1.h"
#include "temp_ordner.h"
#include "test_plattform.h"
#include "umgebung.h"

#include <QDir>
#include <QtTest>

using namespace qk;
using test::Idmap_Satz;

namespace {

QByteArray Karte(int anzahl) {
    QByteArray bytes;
    for (int i = 0; i < anzahl; ++i)
        bytes += Idmap_Satz(quint8(i % 254 + 1), "U" + QByteArray::number(i), "PC", "C:\\L\\");
    return bytes;
}

QStringList Namen(const QList<IdmapEintrag>& liste) {
    QStringList namen;
    for (const IdmapEintrag& e : liste)
        namen << e.UserName;
    return namen;
}

} // namespace

class TestFehlerIdmap : public QObject {
    Q_OBJECT
private slots:
    void diskFullWhileSaving_data() {
        QTest::addColumn<QString>("datei");
        QTest::newRow("writing QK_IDMAP.NET") << "QK_IDMAP.NET";
        QTest::newRow("writing QK_IDMAP.BAK") << "QK_IDMAP.BAK";
    }
    void diskFullWhileSaving() {
        QFETCH(QString, datei);
        test::TempOrdner t;
        const QByteArray alt = Idmap_Satz(1, "ANNA") + Idmap_Satz(2, "BERT");
        const QByteArray älter = Idmap_Satz(1, "ANNA");
        t.Datei("QK_IDMAP.NET", alt);
        t.Datei("QK_IDMAP.BAK", älter);
        test::TestPlattform p;
        Zustand z(p);
        Qk_Idmap_Öffnen(z, t.Pfad());
        z.IdmapListe[1].UserName = "BERTA";
        {
            test::Fehlerstelle f(datei, FEHLER_DATENTRAEGER_VOLL);
            QVERIFY(!Qk_Idmap_Speichern(z, t.Pfad()));
            QVERIFY(f.aufrufe > 0);
        }
        QCOMPARE(p.Titel(), QStringList{"Qk_Idmap_Speichern_Error"});
        QCOMPARE(p.meldungen[0].text,
                 "Error when saving  ''" + t.Pfad() + "QK_IDMAP.NET''\r\nError number: 61");
        // The map is the old one, the backup either the old map or the backup before it, and
        // no half-written file lies around.
        QCOMPARE(t.Lesen("QK_IDMAP.NET"), alt);
        QCOMPARE(t.Lesen("QK_IDMAP.BAK"), datei == "QK_IDMAP.NET" ? alt : älter);
        QCOMPARE(QDir(t.Pfad()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 (QStringList{"QK_IDMAP.BAK", "QK_IDMAP.NET"}));

        // With room on the disk again, the same save goes through.
        QVERIFY(Qk_Idmap_Speichern(z, t.Pfad()));
        QCOMPARE(t.Lesen("QK_IDMAP.NET"), Idmap_Satz(1, "ANNA") + Idmap_Satz(2, "BERTA"));
        QCOMPARE(t.Lesen("QK_IDMAP.BAK"), alt);
    }

    void globalDirectoryGoneBeforeSaving_data() {
        QTest::addColumn<bool>("beenden");
        QTest::newRow("closing the window") << false;
        QTest::newRow("Exit") << true;
    }
    void globalDirectoryGoneBeforeSaving() {
        QFETCH(bool, beenden);
        test::Umgebung u;
        u.Vollständig();
        const QByteArray alt = u.t.Lesen("global/QK_IDMAP.NET");
        Idmap_frm1 f(u.z);
        QCOMPARE(u.z.IdmapListe.size(), 5);
        u.z.IdmapListe[1].UserName = "GEÄNDERT";
        u.z.Geändert = true;
        // The share goes away while the program runs.
        QVERIFY(QDir(u.global).removeRecursively());
        u.p.antworten = {Antwort::Ja};
        const auto schließen = [&] {
            if (beenden)
                QVERIFY(f.Befehl_Ausführen(f.mnu_Beenden));
            else
                f.close();
        };
        f.show();
        schließen();
        QVERIFY(f.isVisible());
        QCOMPARE(u.p.Titel(), (QStringList{"Save", "Qk_Idmap_Speichern_Error"}));
        QCOMPARE(u.p.meldungen[1].text, "File  ''" + u.global + "QK_IDMAP.NET''  not found !");
        // Nothing is thrown away and nothing is created where the folder was.
        QVERIFY(u.z.Geändert);
        QCOMPARE(u.z.IdmapListe[1].UserName, QStringLiteral("GEÄNDERT"));
        QVERIFY(!QFileInfo::exists(u.global));

        // The share is back: the next attempt saves all five users with the change.
        u.t.Datei("global/QK_IDMAP.NET", alt);
        u.p.antworten = {Antwort::Ja};
        schließen();
        QVERIFY(!f.isVisible());
        const Idmap_Inhalt neu = Idmap_Zerlegen(u.t.Lesen("global/QK_IDMAP.NET"));
        QCOMPARE(Namen(neu.liste), (QStringList{"U1", "GEÄNDERT", "U12", "U23", "U254"}));
        QCOMPARE(u.t.Lesen("global/QK_IDMAP.BAK"), alt);
    }

    void unreadableMap_data() {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<int>("gelesen");
        QTest::addColumn<int>("nummer"); // the error told, 0: none
        QTest::addColumn<bool>("rest");  // the bytes behind the users are kept
        QByteArray ohneNull = Idmap_Satz(2, "BERT");
        ohneNull.replace(261, 260, QByteArray(260, 'y'));
        QTest::newRow("last record cut short") << Karte(3) + Karte(1).left(500) << 3 << 62 << true;
        // The list holds 256 users, as the workstations read them, without a word at each start.
        QTest::newRow("257 records") << Karte(257) << 256 << 0 << true;
        QTest::newRow("300 records") << Karte(300) << 256 << 0 << true;
        QTest::newRow("field without NUL")
            << Karte(1) + ohneNull + Idmap_Satz(3, "CARL") << 1 << 5 << true;
        QTest::newRow("256 records and a terminator")
            << Karte(256) + QByteArray(1, '\0') << 256 << 0 << false;
    }
    void unreadableMap() {
        QFETCH(QByteArray, inhalt);
        QFETCH(int, gelesen);
        QFETCH(int, nummer);
        QFETCH(bool, rest);
        test::TempOrdner t;
        t.Datei("QK_IDMAP.NET", inhalt);
        test::TestPlattform p;
        Zustand z(p);
        Qk_Idmap_Öffnen(z, t.Pfad());
        QCOMPARE(z.IdmapListe.size(), gelesen);
        const QString meldung = "Error when loading  ''" + t.Pfad() +
                                "QK_IDMAP.NET''\r\nError number: " + QString::number(nummer);
        QCOMPARE(p.meldungen.size(), nummer ? 1 : 0);
        if (nummer)
            QCOMPARE(p.meldungen[0].text, meldung);

        // A save after an edit keeps every byte the reader could not take, behind the users.
        z.IdmapListe[0].PCName = "NEU";
        QVERIFY(Qk_Idmap_Speichern(z, t.Pfad()));
        const QByteArray neu = t.Lesen("QK_IDMAP.NET");
        QCOMPARE(t.Lesen("QK_IDMAP.BAK"), inhalt);
        const qsizetype genommen = qsizetype(gelesen) * IDMAP_SATZ;
        QCOMPARE(neu.left(genommen), Idmap_Bytes(z.IdmapListe));
        QCOMPARE(neu.mid(genommen), rest ? inhalt.mid(genommen) : QByteArray());
        // Undo of a removal compares the map with what a save writes: it is the same.
        z.GlobalPath = t.Pfad();
        QVERIFY(Map_Wie_Gespeichert(z));

        // Read again, the map gives the same users and says the same.
        Qk_Idmap_Öffnen(z, t.Pfad());
        QCOMPARE(z.IdmapListe.size(), gelesen);
        QCOMPARE(z.IdmapListe[0].PCName, QStringLiteral("NEU"));
        QCOMPARE(p.meldungen.size(), nummer ? 2 : 0);
        if (nummer)
            QCOMPARE(p.meldungen[1].text, meldung);
    }
};

QTEST_MAIN(TestFehlerIdmap)
#include "test_fehler_idmap.moc"
