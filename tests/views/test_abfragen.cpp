#include "befehl_lauf.h"
#include "platform/dateien.h"
#include "views/messages_frm1.h"

#include <QAction>
#include <QtTest>

using namespace qk;
using namespace qk::test;

namespace {

const QString CRLF = QStringLiteral("\r\n");

// The index folders of the Library in the order the reading walks them.
QStringList Walk_Reihenfolge(const QString& lib) {
    QStringList namen;
    for (const QString& n : datei::Unterordner(lib))
        if (n.startsWith(QLatin1String("IDX")))
            namen.append(n);
    return namen;
}

struct Fortschrittsbild {
    QString titel;
    bool sichtbar = false;
    bool oben = false;
};

// What the progress window looked like while the booking files were being read.
void Fortschritt_Beobachten(Zustand& z, QList<Fortschrittsbild>& bilder) {
    datei::Fehlerhaken_Setzen([&z, &bilder](datei::Vorgang v, const QString& pfad) {
        if (v != datei::Vorgang::Lesen || !pfad.endsWith(QLatin1String("BOOKDATA.NET")))
            return;
        Fortschrittsbild b;
        if (auto* m = dynamic_cast<Messages_frm1*>(z.Fortschritt)) {
            b.titel = m->windowTitle();
            b.sichtbar = m->isVisible();
            b.oben = m->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        }
        bilder.append(b);
    });
}

QAction* Befehl(Idmap_frm1& f, const QString& name) {
    auto* a = f.findChild<QAction*>(name);
    if (a == nullptr)
        qFatal("no menu item %s", qPrintable(name));
    return a;
}

} // namespace

class TestAbfragen : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        datei::Fehlerhaken_Setzen({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(Offene_Fenster(), QStringList());
    }

    // ---- All bookings ----

    void allBookingsOfTheSelectedUser() {
        Standort s;
        Idmap_frm1 f(s.z);
        Anwender_Wählen(f, 7);
        f.mnu_Rückgängig->setEnabled(true);
        QList<Fortschrittsbild> bilder;
        Fortschritt_Beobachten(s.z, bilder);

        Buchungsfenster b;
        QString ablage;
        const Befehlslauf lauf = Befehl_Mit_Dialogen(f, f.mnu_AlleBuchungen, {[&](QDialog& d) {
                                                         b = Buchungsfenster_Lesen(d);
                                                         Drücken(d, "cmd_Zwischenablage");
                                                         ablage = s.p.zwischenablage;
                                                         Drücken(d, "cmd_Beenden");
                                                     }});
        datei::Fehlerhaken_Setzen({});

        QVERIFY(lauf.gelaufen);
        QCOMPARE(lauf.fenster, QStringList{"Bookdata_frm1: All bookings for User-ID 7"});
        QCOMPARE(lauf.nichtBeantwortet, QStringList());
        QCOMPARE(s.p.Titel(), QStringList());

        // Every index folder's bookings of user 7, folders in walk order, boxes ascending.
        QMap<QString, QStringList> jeOrdner{
            {"IDX00003", {"IDX00003|0|7|2"}},
            {"IDX00012", {"IDX00012|5|7|3", "IDX00012|17|7|1"}},
        };
        QStringList zeilen;
        for (const QString& ordner : Walk_Reihenfolge(s.lib))
            zeilen += jeOrdner.value(ordner);
        QCOMPARE(b.zeilen, zeilen);
        QCOMPARE(b.entries, QStringLiteral("3  bookings"));
        // Three booking files in four index folders (IDX00031 has none).
        QCOMPARE(b.info, QStringLiteral("3 files in 4 folder"));
        QString text = "***** All bookings for User-ID 7 *****" + CRLF;
        for (const QString& z : zeilen)
            text += QString(z).replace('|', '\t') + CRLF;
        QCOMPARE(ablage, text);

        // The progress window was up, on top, during the whole read (one look for a booking
        // file in each of the four index folders), and is gone now.
        QCOMPARE(bilder.size(), 4);
        for (const Fortschrittsbild& bild : bilder) {
            QCOMPARE(bild.titel, QStringLiteral("Bookings for User-ID 7"));
            QVERIFY(bild.sichtbar);
            QVERIFY(bild.oben);
        }
        QCOMPARE(s.z.Fortschritt, nullptr);
        for (auto* m : f.findChildren<Messages_frm1*>())
            QVERIFY(!m->isVisible());

        QVERIFY(!f.mnu_Rückgängig->isEnabled());
        QCOMPARE(int(s.z.UserNr), 7);
        QCOMPARE(s.z.Anzahl_Buchungen, 3);
        QVERIFY(!s.z.Buchungen_Anzeigen);
    }

    void allBookingsNoneFound() {
        Standort s;
        Idmap_frm1 f(s.z);
        Anwender_Wählen(f, 254);
        f.mnu_Rückgängig->setEnabled(true);
        bool fortschrittOffen = true;
        s.p.beiMeldung = [&](const GezeigteMeldung&) {
            fortschrittOffen = s.z.Fortschritt != nullptr;
            for (auto* m : f.findChildren<Messages_frm1*>())
                fortschrittOffen = fortschrittOffen || m->isVisible();
        };
        const Befehlslauf lauf = Befehl_Mit_Dialogen(f, f.mnu_AlleBuchungen, {});
        QVERIFY(lauf.gelaufen);
        QCOMPARE(lauf.fenster, QStringList());
        QCOMPARE(s.p.meldungen.size(), 1);
        QCOMPARE(s.p.meldungen[0].text, QStringLiteral("No Bookings for User-ID 254 ."));
        QCOMPARE(s.p.meldungen[0].titel, QStringLiteral("User-ID 254"));
        QCOMPARE(s.p.meldungen[0].symbol, Symbol::Ausruf);
        QCOMPARE(s.p.meldungen[0].knöpfe, Knöpfe::OK);
        QVERIFY(!fortschrittOffen);
        QVERIFY(!f.mnu_Rückgängig->isEnabled());
        QCOMPARE(s.z.Anzahl_Buchungen, 0);
    }

    // After a refresh no row is selected; the user items still mean the last selected user.
    void lastSelectedUserCountsAfterRefresh() {
        Standort s;
        Idmap_frm1 f(s.z);
        Anwender_Wählen(f, 12);
        QVERIFY(f.Befehl_Ausführen(f.mnu_Aktualisieren));
        QVERIFY(f.lstv_Idmap->selectedItems().isEmpty());
        s.z.UserNr = 0; // as "All bookings for Index" leaves it
        Buchungsfenster b;
        const Befehlslauf lauf =
            Befehl_Mit_Dialogen(f, f.mnu_AlleBuchungen, {Buchungen_Ablesen(b)});
        QCOMPARE(b.titel, QStringLiteral("All bookings for User-ID 12"));
        QCOMPARE(b.zeilen.size(), 2);
        for (const QString& z : b.zeilen)
            QVERIFY2(z.section('|', 2, 2) == "12", qPrintable(z));
        QCOMPARE(lauf.nichtBeantwortet, QStringList());
    }

    // Nothing chosen yet: a User-ID of 0 would mean every user, so nothing is read.
    void withoutSelectedUserNothingIsRead_data() {
        QTest::addColumn<QString>("befehl");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("titel");
        QTest::newRow("all bookings")
            << "mnu_AlleBuchungen"
            << "Error when searching for bookings." + CRLF + "Error number: 91"
            << "mnu_AlleBuchungen_Error";
        QTest::newRow("user for index") << "mnu_UserBuchungenIndex"
                                        << "Error when seaching the bookings for User-ID 0for "
                                           "Index. " +
                                               CRLF + "Error number: 91"
                                        << "mnu_UserBuchungenIndex_Error";
    }
    void withoutSelectedUserNothingIsRead() {
        QFETCH(QString, befehl);
        Standort s;
        Idmap_frm1 f(s.z);
        f.mnu_Rückgängig->setEnabled(true);
        QList<Fortschrittsbild> bilder;
        Fortschritt_Beobachten(s.z, bilder);
        const Befehlslauf lauf = Befehl_Mit_Dialogen(f, Befehl(f, befehl), {});
        QVERIFY(lauf.gelaufen);
        QCOMPARE(lauf.fenster, QStringList());
        QVERIFY(bilder.isEmpty());
        QCOMPARE(s.p.meldungen.size(), 1);
        QTEST(s.p.meldungen[0].text, "text");
        QTEST(s.p.meldungen[0].titel, "titel");
        QCOMPARE(s.p.meldungen[0].symbol, Symbol::Ausruf);
        // An error leaves Undo as it was.
        QVERIFY(f.mnu_Rückgängig->isEnabled());
        QCOMPARE(s.z.Fortschritt, nullptr);
    }

    // ---- Queries for one index ----

    void indexQueries_data() {
        QTest::addColumn<QString>("befehl");
        QTest::addColumn<int>("anwender"); // row clicked first; 0 for none
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("aufforderung");
        QTest::addColumn<QString>("titel"); // of the bookings window, empty when none
        QTest::addColumn<QStringList>("zeilen");
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<QString>("meldungstitel");
        QTest::addColumn<int>("userNr");

        const QString userPrompt =
            "Please enter the Index for which all bookings for User-ID %1  should be displayed.";
        const QString allPrompt =
            "Please enter the Index for which all bookings should be displayed.";
        QTest::newRow("user 7 in 12")
            << "mnu_UserBuchungenIndex" << 7 << "12"
            << "Messages_frm1: Bookings for User for Index...." << userPrompt.arg(7)
            << "Bookings to User-ID 7 for Index idx00012"
            << QStringList{"idx00012|5|7|3", "idx00012|17|7|1"} << ""
            << "" << 7;
        QTest::newRow("user 12 in 00003")
            << "mnu_UserBuchungenIndex" << 12 << "00003"
            << "Messages_frm1: Bookings for User for Index...." << userPrompt.arg(12)
            << "Bookings to User-ID 12 for Index idx00003" << QStringList{"idx00003|4|12|9"} << ""
            << "" << 12;
        QTest::newRow("user 23 without bookings in 20")
            << "mnu_UserBuchungenIndex" << 23 << "20"
            << "Messages_frm1: Bookings for User for Index...." << userPrompt.arg(23) << ""
            << QStringList() << "No bookings for User-ID 23 in <lib>idx00020\\BOOKDATA.NET''."
            << "User-ID 23" << 23;
        QTest::newRow("every user in 12, user byte 0 too")
            << "mnu_BuchungenIndex" << 7 << "12"
            << "Messages_frm1: All bookings for Index...." << allPrompt
            << "All bookings for Index idx00012"
            << QStringList{"idx00012|5|7|3", "idx00012|9|23|0", "idx00012|17|7|1",
                           "idx00012|40|12|6", "idx00012|255|0|4"}
            << ""
            << "" << 0;
        QTest::newRow("every user, nothing booked in 20")
            << "mnu_BuchungenIndex" << 0 << "20"
            << "Messages_frm1: All bookings for Index...." << allPrompt << "" << QStringList()
            << "No bookings in  ''<lib>idx00020\\BOOKDATA.NET''."
            << "No bookings !" << 0;
    }
    void indexQueries() {
        QFETCH(QString, befehl);
        QFETCH(int, anwender);
        QFETCH(QString, eingabe);
        QFETCH(QString, titel);
        QFETCH(QStringList, zeilen);
        QFETCH(QString, meldung);
        Standort s;
        Idmap_frm1 f(s.z);
        if (anwender != 0)
            Anwender_Wählen(f, anwender);
        f.mnu_Rückgängig->setEnabled(true);

        QString aufforderung;
        Buchungsfenster b;
        QList<Schritt> schritte{Index_Eingeben(eingabe, &aufforderung)};
        if (!titel.isEmpty())
            schritte.append(Buchungen_Ablesen(b));
        const Befehlslauf lauf = Befehl_Mit_Dialogen(f, Befehl(f, befehl), schritte);

        QVERIFY(lauf.gelaufen);
        QCOMPARE(lauf.nichtBeantwortet, QStringList());
        QCOMPARE(lauf.übrigeSchritte, 0);
        QFETCH(QString, dialog);
        QStringList fenster{dialog};
        if (!titel.isEmpty())
            fenster.append("Bookdata_frm1: " + titel);
        QCOMPARE(lauf.fenster, fenster);
        QTEST(aufforderung, "aufforderung");
        QCOMPARE(b.zeilen, zeilen);
        if (!titel.isEmpty()) {
            QCOMPARE(b.entries, QString::number(zeilen.size()) + "  bookings");
            QCOMPARE(b.info, QString());
            QVERIFY(s.p.meldungen.isEmpty());
        } else {
            QCOMPARE(s.p.meldungen.size(), 1);
            QCOMPARE(s.p.meldungen[0].text, QString(meldung).replace("<lib>", s.lib));
            QTEST(s.p.meldungen[0].titel, "meldungstitel");
            QCOMPARE(s.p.meldungen[0].symbol, Symbol::Ausruf);
            QCOMPARE(s.p.meldungen[0].knöpfe, Knöpfe::OK);
        }
        QCOMPARE(s.z.Buchungen_Gefunden, !titel.isEmpty());
        QCOMPARE(s.z.Anzahl_Buchungen, zeilen.size());
        QTEST(int(s.z.UserNr), "userNr");
        QVERIFY(!f.mnu_Rückgängig->isEnabled());
    }

    void cancelledIndexDialog_data() {
        QTest::addColumn<QString>("befehl");
        QTest::addColumn<QStringList>("falsch"); // entries refused before Cancel
        QTest::addColumn<QStringList>("titel");
        QTest::newRow("user for index")
            << "mnu_UserBuchungenIndex" << QStringList() << QStringList();
        QTest::newRow("all for index") << "mnu_BuchungenIndex" << QStringList() << QStringList();
        // A folder without BOOKDATA.NET and one that does not exist are refused; Cancel then
        // hands back no index at all.
        QTest::newRow("refused entries, then cancel")
            << "mnu_BuchungenIndex" << QStringList{"31", "99"}
            << QStringList{"idx00031", "idx00099"};
    }
    void cancelledIndexDialog() {
        QFETCH(QString, befehl);
        QFETCH(QStringList, falsch);
        Standort s;
        Idmap_frm1 f(s.z);
        Anwender_Wählen(f, 7);
        f.mnu_Rückgängig->setEnabled(true);
        // The previous query's result and index stay where they are.
        s.z.Index_Eingabe = "idx00012";
        s.z.BookdataListe = {BookdataEintrag{"IDX00003", 0, 7, 2, 0, 0}};
        s.z.Anzahl_Buchungen = 1;

        const Befehlslauf lauf = Befehl_Mit_Dialogen(f, Befehl(f, befehl), {[&](QDialog& d) {
                                                         for (const QString& n : falsch)
                                                             Index_Eingeben(n)(d);
                                                         QVERIFY(d.isVisible());
                                                         Drücken(d, "cmd_Abbrechen");
                                                     }});
        QVERIFY(lauf.gelaufen);
        QCOMPARE(lauf.fenster.size(), 1);
        QCOMPARE(lauf.nichtBeantwortet, QStringList());
        QTEST(s.p.Titel(), "titel");
        QVERIFY(s.z.Index_Eingabe.isEmpty());
        QCOMPARE(s.z.BookdataListe.size(), size_t(1));
        QCOMPARE(s.z.BookdataListe[0].Index, QStringLiteral("IDX00003"));
        QCOMPARE(s.z.Anzahl_Buchungen, 1);
        QVERIFY(!f.mnu_Rückgängig->isEnabled());
    }

    // ---- The bookings window's clipboard text, from a query ----

    void clipboardText_data() {
        QTest::addColumn<bool>("ohneTitel");
        QTest::addColumn<QString>("text");
        QTest::newRow("caption of the query")
            << false
            << "***** Bookings to User-ID 7 for Index idx00012 *****\r\nidx00012\t5\t7\t3\r\n"
               "idx00012\t17\t7\t1\r\n";
        QTest::newRow("empty caption")
            << true << "*****  *****\r\nidx00012\t5\t7\t3\r\nidx00012\t17\t7\t1\r\n";
    }
    void clipboardText() {
        QFETCH(bool, ohneTitel);
        Standort s;
        Idmap_frm1 f(s.z);
        Anwender_Wählen(f, 7);
        s.p.zwischenablage = "vorher";
        const Befehlslauf lauf = Befehl_Mit_Dialogen(f, f.mnu_UserBuchungenIndex,
                                                     {Index_Eingeben("12"), [&](QDialog& d) {
                                                          if (ohneTitel)
                                                              d.setWindowTitle(QString());
                                                          Drücken(d, "cmd_Zwischenablage");
                                                          // Copying leaves the window open.
                                                          QVERIFY(d.isVisible());
                                                          Drücken(d, "cmd_Beenden");
                                                      }});
        QCOMPARE(lauf.nichtBeantwortet, QStringList());
        QTEST(s.p.zwischenablage, "text");
    }
};

QTEST_MAIN(TestAbfragen)
#include "test_abfragen.moc"
