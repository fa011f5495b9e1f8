// QK_IDMAP.NET read and saved again, with its faults: maps that are cut short, too long or hold
// a field the reader cannot take, a full disk while the map or its backup is written, a Global
// Directory that is gone when the administrator saves. No user of the file is lost, and the
// administrator is told of every fault.
#include "fehlerstelle.h"
#include "idmap/idmap_datei.h"
#include "idmap/library_gang.h"
#include "shell/idmap_frm1.h"
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
        namen << e.UserName + e.Status;
    return namen;
}

// A map on disk, what reading it gives and tells, and how a save of it goes.
struct Fall {
    QByteArray inhalt; // null: no map
    QStringList namen; // the users read
    QString meldung;   // what reading tells: title|text, %1 the folder
    bool rest;         // the bytes behind the users are kept
    QString voll;      // the file that the first save finds no room for
    QString datei;     // below the temporary folder
};

} // namespace

class TestFehlerIdmap : public QObject {
    Q_OBJECT
private slots:
    void readAndSave_data() {
        QTest::addColumn<Fall>("k");
        const auto zeile = [](const char* name, const QByteArray& inhalt, const QStringList& namen,
                              const QString& meldung = {}, bool rest = true,
                              const QString& voll = {}, const QString& datei = "QK_IDMAP.NET") {
            QTest::newRow(name) << Fall{inhalt, namen, meldung, rest, voll, datei};
        };
        const QString laden = "Qk_Idmap_Öffnen_Error|Error when loading  ''%1QK_IDMAP.NET''\r\n"
                              "Error number: ";
        QStringList u;
        for (int i = 0; i < 256; ++i)
            u << "U" + QString::number(i);
        QByteArray ohneNull = Idmap_Satz(2, "BERT");
        ohneNull.replace(261, 260, QByteArray(260, 'y'));
        zeile("terminator, disk full at the map",
              Idmap_Satz(1, "ANNA") + Idmap_Satz(2, "BERT") + Idmap_Satz(3, "C") + '\0',
              {"ANNA", "BERT", "C"}, "", false, "QK_IDMAP.NET");
        // A lower-case file is the map; the backup gets the program's spelling.
        zeile("trimmed, lower case", Idmap_Satz(4, "  ERNA  "), {"ERNA"}, "", 1, "",
              "qk_idmap.net");
        zeile("windows-1252, disk full at the backup", Idmap_Satz(1, "J\xFCrgen \x80"),
              {"Jürgen €"}, "", true, "QK_IDMAP.BAK");
        // Reading creates no map; a save does.
        zeile("no map", {}, {},
              "Invalid Global Directory|File  ''%1QK_IDMAP.NET''  not found !\r\n");
        zeile("missing folder", {}, {},
              "Qk_Idmap_Öffnen_Error|File  ''%1QK_IDMAP.NET''  not found !", 1, "",
              "weg/QK_IDMAP.NET");
        zeile("last record cut short", Karte(3) + Karte(1).left(500), u.mid(0, 3), laden + "62");
        // The list holds 256 users, as the workstations read them, without a word at each start.
        zeile("257 records", Karte(257), u);
        zeile("field without NUL", Karte(1) + ohneNull + Idmap_Satz(3, "CARL"), {"U0"},
              laden + "5");
    }
    void readAndSave() {
        QFETCH(Fall, k);
        test::Umgebung o;
        const QString pfad = QFileInfo(o.t.Pfad() + k.datei).path() + '/';
        const QString gelesen = QString(k.meldung).replace("%1", pfad);
        const QByteArray älter = Idmap_Satz(1, "ALT");
        if (!k.inhalt.isNull())
            o.t.Datei(k.datei, k.inhalt);
        if (!k.voll.isEmpty())
            o.t.Datei("QK_IDMAP.BAK", älter);
        // Nothing of the map read before survives.
        o.z.IdmapListe = {{"A", 99, "ALT", "", ""}, {"DEL", 98, "ALT2", "", ""}};
        Qk_Idmap_Öffnen(o.z, pfad);
        QCOMPARE(Namen(o.z.IdmapListe), k.namen);
        QCOMPARE(o.p.Gezeigt(), gelesen.isEmpty() ? QStringList() : QStringList{gelesen});
        QVERIFY2(k.inhalt.isNull() == !o.t.Existiert(k.datei), "reading creates no map");
        if (k.datei.startsWith("weg/"))
            return;

        // A save after an edit keeps every byte the reader could not take, behind the users.
        if (o.z.IdmapListe.isEmpty())
            o.z.IdmapListe = {{QString(), 7, "OTTO", "", ""}};
        o.z.IdmapListe[0].PCName = "NEU";
        QStringList gezeigt{gelesen, "", k.inhalt.isNull() ? "" : gelesen};
        if (!k.voll.isEmpty()) {
            test::Fehlerstelle f(k.voll, FEHLER_DATENTRAEGER_VOLL);
            QVERIFY(!Qk_Idmap_Speichern(o.z, pfad) && f.aufrufe > 0);
            gezeigt[1] = "Qk_Idmap_Speichern_Error|Error when saving  ''" + pfad +
                         "QK_IDMAP.NET''\r\nError number: 61";
            // The map is the old one, the backup either the old map or the backup before it,
            // and no half-written file lies around.
            QCOMPARE(o.t.Lesen(k.datei), k.inhalt);
            QCOMPARE(o.t.Lesen("QK_IDMAP.BAK"), k.voll == "QK_IDMAP.NET" ? k.inhalt : älter);
            QCOMPARE(QDir(pfad).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                     (QStringList{"QK_IDMAP.BAK", k.datei}));
        }
        // With room on the disk again, the same save goes through.
        QVERIFY(Qk_Idmap_Speichern(o.z, pfad));
        const qsizetype genommen = o.z.IdmapListe.size() * IDMAP_SATZ;
        QCOMPARE(o.t.Lesen(k.datei),
                 Idmap_Bytes(o.z.IdmapListe) + (k.rest ? k.inhalt.mid(genommen) : QByteArray()));
        QCOMPARE(o.t.Lesen("QK_IDMAP.BAK"), k.inhalt);
        QCOMPARE(o.t.Existiert("QK_IDMAP.NET"), k.datei == "QK_IDMAP.NET");
        // Undo of a removal compares the map with what a save writes: it is the same.
        o.z.GlobalPath = pfad;
        QVERIFY(Map_Wie_Gespeichert(o.z));

        // Read again, the map gives the same users and says the same.
        Qk_Idmap_Öffnen(o.z, pfad);
        QCOMPARE(Namen(o.z.IdmapListe), k.inhalt.isNull() ? QStringList{"OTTO"} : k.namen);
        QCOMPARE(o.z.IdmapListe[0].PCName, QStringLiteral("NEU"));
        gezeigt.removeAll("");
        QCOMPARE(o.p.Gezeigt(), gezeigt);
    }

    // The share goes away while the program runs; once it is back, the next attempt saves.
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
        u.z.IdmapListe[1].UserName = "GEÄNDERT";
        u.z.Geändert = true;
        QVERIFY(QDir(u.global).removeRecursively());
        const auto schließen = [&] {
            u.p.antworten = {Antwort::Ja};
            if (beenden)
                QVERIFY(f.Befehl_Ausführen(f.mnu_Beenden));
            else
                f.close();
        };
        f.show();
        schließen();
        QVERIFY(f.isVisible());
        QCOMPARE(u.p.Gezeigt(), (QStringList{"Save|Do you want to save the settings ?",
                                             "Qk_Idmap_Speichern_Error|File  ''" + u.global +
                                                 "QK_IDMAP.NET''  not found !"}));
        // Nothing is thrown away and nothing is created where the folder was.
        QVERIFY(u.z.Geändert && u.z.IdmapListe[1].UserName == QStringLiteral("GEÄNDERT"));
        QVERIFY(!QFileInfo::exists(u.global));

        u.t.Datei("global/QK_IDMAP.NET", alt);
        schließen();
        QVERIFY(!f.isVisible());
        const Idmap_Inhalt neu = Idmap_Zerlegen(u.t.Lesen("global/QK_IDMAP.NET"));
        QCOMPARE(Namen(neu.liste), (QStringList{"U1", "GEÄNDERT", "U12", "U23", "U254"}));
        QCOMPARE(u.t.Lesen("global/QK_IDMAP.BAK"), alt);
    }
};

QTEST_MAIN(TestFehlerIdmap)
#include "test_fehler_idmap.moc"
