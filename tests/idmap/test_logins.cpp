#include "idmap/logins.h"
#include "idmap_bau.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QtTest>

using namespace qk;

namespace {

struct Global {
    test::TempOrdner t;
    test::TestPlattform p;
    Zustand z{p};
    Global() {
        t.Datei("QK_IDMAP.NET", "");
        z.GlobalPath = t.Pfad();
        for (quint8 id : {7, 12, 30})
            z.IdmapListe.append({QString(), id, "U" + QString::number(id), "", ""});
    }
    QString Status(int i) const { return z.IdmapListe[i].Status; }
};

} // namespace

class TestLogins : public QObject {
    Q_OBJECT
private slots:
    void markersSetStatusAndCount() {
        Global g;
        g.t.Datei("_!qkA007", "");
        g.t.Datei("_!qk_012", "");
        g.t.Datei("_!QKA030", ""); // upper-case prefix is no marker
        g.t.Datei("anderes.txt", "");
        UserLogins_Ermitteln(g.z);
        QCOMPARE(g.Status(0), QStringLiteral("A"));
        QCOMPARE(g.Status(1), QStringLiteral("A"));
        QCOMPARE(g.Status(2), QString());
        QCOMPARE(g.z.LoginAnzahl, 2);
        QVERIFY(g.p.meldungen.isEmpty());
    }

    void numberReadingOfMarkers() {
        Global g;
        g.t.Datei("_!qkX7x1", ""); // 7, a letter: reading stops there
        g.t.Datei("_!qkXabc", ""); // no number: user 0, which nobody is
        g.t.Datei("_!qkX300", ""); // above 255: counts, names nobody, detection goes on
        g.t.Datei("_!qkX 12", ""); // leading blank skipped
        UserLogins_Ermitteln(g.z);
        QCOMPARE(g.Status(0), QStringLiteral("A"));
        QCOMPARE(g.Status(1), QStringLiteral("A"));
        QCOMPARE(g.Status(2), QString());
        QCOMPARE(g.z.LoginAnzahl, 4);
        QVERIFY(g.p.meldungen.isEmpty());
    }

    void detectionClearsOldLoginsButKeepsRemoved() {
        Global g;
        g.z.IdmapListe[0].Status = "A";
        g.z.IdmapListe[1].Status = "DEL";
        g.z.IdmapListe[2].Status = "DEL";
        g.t.Datei("_!qkA030", ""); // a marker for a removed user brings it back
        UserLogins_Ermitteln(g.z);
        QCOMPARE(g.Status(0), QString());
        QCOMPARE(g.Status(1), QStringLiteral("DEL"));
        QCOMPARE(g.Status(2), QStringLiteral("A"));
    }

    void withoutMapNothingChanges() {
        Global g;
        QFile::remove(g.t.Pfad() + "QK_IDMAP.NET");
        g.t.Datei("_!qkA007", "");
        g.z.LoginAnzahl = 5;
        g.z.IdmapListe[1].Status = "A";
        UserLogins_Ermitteln(g.z);
        QCOMPARE(g.z.LoginAnzahl, 5);
        QCOMPARE(g.Status(0), QString());
        QCOMPARE(g.Status(1), QStringLiteral("A"));
        QVERIFY(g.p.meldungen.isEmpty());
    }

    void errorsAreReported() {
        Global g;
        g.z.IdmapListe.clear();
        UserLogins_Ermitteln(g.z);
        QCOMPARE(g.p.meldungen.size(), 1);
        QCOMPARE(g.p.meldungen[0].titel, QStringLiteral("UserLogins_Ermitteln_Error"));
        QCOMPARE(g.p.meldungen[0].text,
                 QStringLiteral("Error when detecting logins.\r\nError number: 9"));

        g.z.GlobalPath = g.t.Pfad() + "weg/";
        UserLogins_Ermitteln(g.z);
        QCOMPARE(g.p.meldungen[1].text,
                 QStringLiteral("Error when detecting logins.\r\nError number: 76"));
    }

    void indexOfUser() {
        Global g;
        g.z.UserNr = 12;
        QCOMPARE(Index_Ermitteln(g.z), quint8(1));
        g.z.UserNr = 99; // nobody: the last index
        QCOMPARE(Index_Ermitteln(g.z), quint8(2));
        Login_Setzen(g.z, 99);
        for (const IdmapEintrag& e : g.z.IdmapListe)
            QVERIFY(e.Status.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLogins)
#include "test_logins.moc"
