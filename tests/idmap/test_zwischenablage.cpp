#include "shell/idmap_frm1.h"
#include "standort.h"

using namespace qk;

namespace {

const QString KOPF = QStringLiteral("*************** QK_IDMAP.NET ***************\r\n");

} // namespace

class TestZwischenablage : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(test::Offene_Fenster(), QStringList());
    }

    void twoEntries() {
        test::Umgebung u;
        u.t.Datei("global/QK_IDMAP.NET",
                  test::Idmap_Satz(1, "ANNA", "PC01", "C:\\CAD\\") + test::Idmap_Satz(2, ""));
        u.Library();
        u.Speichern(u.global, u.lib);
        u.t.Datei("global/_!qkA002", {});
        Idmap_frm1 f(u.z);
        QCOMPARE(u.z.IdmapListe[1].Status, QStringLiteral("A"));
        QVERIFY(f.Befehl_Ausführen(f.mnu_Zwischenablage));

        QCOMPARE(u.p.zwischenablage, KOPF + "1\tANNA\tPC01\tC:\\CAD\\\r\n2\t\t\t\r\n");
        // The heading: 15 asterisks, a blank, the name, a blank, 15 asterisks.
        QCOMPARE(u.p.zwischenablage.indexOf(QLatin1String("\r\n")), 44);
        QVERIFY(u.p.meldungen.isEmpty());
    }

    void removedUnsavedUserStillListed() {
        test::Standort s;
        Idmap_frm1 f(s.z);
        test::Zeigen(f);
        s.Entfernen(f, 2); // 12
        // Memory, not the file: an edit since is in the report.
        s.z.IdmapListe[0].UserName = "neu";
        QVERIFY(f.Befehl_Ausführen(f.mnu_Zwischenablage));

        QString soll = KOPF;
        for (int id : {1, 7, 12, 23, 254}) {
            const QString n = QString::number(id);
            soll += n + '\t' + (id == 1 ? QStringLiteral("neu") : "U" + n) + "\tPC" + n +
                    "\tC:\\L" + n + "\\\r\n";
        }
        QCOMPARE(s.p.zwischenablage, soll);
        QCOMPARE(s.z.IdmapListe[2].Status, QStringLiteral("DEL"));
    }

    void emptyMapGivesHeadingAndFailureIsReported() {
        test::Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        u.z.IdmapListe.clear();
        QVERIFY(f.Befehl_Ausführen(f.mnu_Zwischenablage));
        QCOMPARE(u.p.zwischenablage, KOPF);

        u.p.zwischenablageFehler = 5;
        QVERIFY(f.Befehl_Ausführen(f.mnu_Zwischenablage));
        QCOMPARE(u.p.Titel(), QStringList{"mnu_Zwischenablage_Error"});
        QCOMPARE(u.p.meldungen[0].text,
                 QStringLiteral("Error when copying to the clipboard.\r\nError number: 5"));
    }
};

QTEST_MAIN(TestZwischenablage)
#include "test_zwischenablage.moc"
