#include "befehl_lauf.h"
#include "platform/dateien.h"
#include "platform/fehler.h"

#include <QAction>
#include <QtTest>

using namespace qk;
using namespace qk::test;

namespace {

const QString CRLF = QStringLiteral("\r\n");
const QByteArray UNDO_VORHER = "IDX00003\t0\t7\t2\r\n\r\n";

QAction* Befehl(Idmap_frm1& f, const QString& name) {
    auto* a = f.findChild<QAction*>(name);
    if (a == nullptr)
        qFatal("no menu item %s", qPrintable(name));
    return a;
}

// The deletion block that a command leaves in BOOKDATA.LOG, for one rewritten file.
QString Löschblock(const Standort& s, const QString& funktion, int user, const QStringList& zeilen,
                   int gelöscht, int bytes, const QString& status) {
    const QString u = QString::number(user);
    QString b;
    b += QString(56, '*') + CRLF;
    b += "*                     BOOKDATA.LOG                     *" + CRLF;
    b += QString(56, '*') + CRLF;
    b += CRLF;
    b += "Global Directory:  " + s.global + CRLF;
    b += "Library: " + s.lib + CRLF;
    b += "Date: 06.12.2026\t09:30:15" + CRLF;
    b += "Function: " + funktion + CRLF;
    b += CRLF + CRLF;
    b += "******************* Bookings for User-ID " + u + " ******************" + CRLF;
    b += CRLF;
    b += "Index\t\tBoxNr\tUser-ID\tRev.-Nr" + CRLF;
    b += QString(51, '-') + CRLF;
    for (const QString& z : zeilen) {
        const QStringList f = z.split('|');
        b += f[0] + '\t' + f[1] + '\t' + f[2] + "\t\t" + f[3] + CRLF;
    }
    b += CRLF + CRLF;
    b += "************ All bookings for User-ID " + u + " deleted! ************" + CRLF;
    b += CRLF;
    b += "Deleted: " + QString::number(gelöscht) + "Booking(s): " + CRLF;
    b += "Status: " + status + CRLF;
    b += "Written: " + QString::number(bytes) + " Bytes in 1 file(s) (BOOKDATA.NET)" + CRLF;
    b += "Status: " + status + CRLF;
    b += CRLF + CRLF;
    return b;
}

QByteArray Rückgängigliste(const QStringList& zeilen) {
    QByteArray l;
    for (const QString& z : zeilen)
        l += QString(z).replace('|', '\t').toLatin1() + "\r\n";
    return l + "\r\n";
}

// What the result window showed; then its OK is pressed.
struct Ergebnis {
    QString titel;
    QString text;
    bool nurOk = false;
};

Schritt Ergebnis_Ablesen(Ergebnis& e) {
    return [&e](QDialog& d) {
        e.titel = d.windowTitle();
        e.text = Kind<QLabel>(d, "lbl_Messages")->text();
        e.nurOk = Kind<QWidget>(d, "cmd_OK_2")->isVisible() &&
                  !Kind<QWidget>(d, "cmd_OK")->isVisible() &&
                  !Kind<QWidget>(d, "txt_Eingabe")->isVisible();
        Drücken(d, "cmd_OK_2");
    };
}

// The files of the booking store that the commands may change.
struct Dateistand {
    QByteArray idx3, idx12, idx20;
    bool bak3, bak12, bak20;
    QByteArray undo;
    bool log;

    explicit Dateistand(const Standort& s)
        : idx3(s.t.Lesen("lib/IDX00003/BOOKDATA.NET")),
          idx12(s.t.Lesen("lib/IDX00012/BOOKDATA.NET")),
          idx20(s.t.Lesen("lib/IDX00020/BOOKDATA.NET")),
          bak3(s.t.Existiert("lib/IDX00003/BOOKDATA.BAK")),
          bak12(s.t.Existiert("lib/IDX00012/BOOKDATA.BAK")),
          bak20(s.t.Existiert("lib/IDX00020/BOOKDATA.BAK")), undo(s.t.Lesen("lib/_!bookdata.txt")),
          log(s.t.Existiert("lib/Bookdata.log")) {}

    bool operator==(const Dateistand&) const = default;
};

} // namespace

class TestLoeschbefehle : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        datei::Fehlerhaken_Setzen({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(Offene_Fenster(), QStringList());
    }

    void deletionByIndex_data() {
        QTest::addColumn<QString>("befehl");
        QTest::addColumn<int>("anwender"); // row clicked first
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("aufforderung");
        QTest::addColumn<QList<int>>("boxen"); // freed in IDX00012
        QTest::addColumn<QStringList>("zeilen");
        QTest::addColumn<QString>("ergebnis");
        QTest::addColumn<QString>("funktion");
        QTest::addColumn<int>("userNr");

        // Bookings of users 7, 12, 23 and 0: every one goes.
        QTest::newRow("all bookings for an index")
            << "mnu_AlleBuchungenLöschen" << 23 << "Delete all Bookings for Index...."
            << "Please enter the Index for which all bookings should be deleted."
            << QList<int>{5, 9, 17, 40, 255}
            << QStringList{"idx00012|5|7|3", "idx00012|9|23|0", "idx00012|17|7|1",
                           "idx00012|40|12|6", "idx00012|255|0|4"}
            << "All bookings in idx00012 removed !"
            << "Delete all bookings for &Index...." << 0;
        QTest::newRow("bookings of user 7 for an index")
            << "mnu_BuchungenAufUserLöschen" << 7 << "Delete bookings for User-ID for Index...."
            << "Please enter the Index for which all bookings for User-ID 7 should be deleted."
            << QList<int>{5, 17} << QStringList{"idx00012|5|7|3", "idx00012|17|7|1"}
            << "All bookings for User-ID 7 removed !"
            << "Delete all bookings for a &User for Index...." << 7;
    }
    void deletionByIndex() {
        QFETCH(QString, befehl);
        QFETCH(int, anwender);
        QFETCH(QList<int>, boxen);
        QFETCH(QStringList, zeilen);
        QFETCH(QString, funktion);
        QFETCH(int, userNr);
        Standort s;
        s.t.Datei("lib/_!bookdata.txt", UNDO_VORHER);
        Idmap_frm1 f(s.z);
        Anwender_Wählen(f, anwender);
        QVERIFY(!f.mnu_Rückgängig->isEnabled());
        s.z.Summe_Buchungen = 40;
        s.z.Summe_Dateien = 9;

        QString aufforderung;
        Ergebnis e;
        const Befehlslauf lauf = Befehl_Mit_Dialogen(
            f, Befehl(f, befehl), {Index_Eingeben("12", &aufforderung), Ergebnis_Ablesen(e)});

        QVERIFY(lauf.gelaufen);
        QCOMPARE(lauf.nichtBeantwortet, QStringList());
        QFETCH(QString, dialog);
        QFETCH(QString, ergebnis);
        QCOMPARE(lauf.fenster,
                 (QStringList{"Messages_frm1: " + dialog, "Messages_frm1: " + ergebnis}));
        QTEST(aufforderung, "aufforderung");
        QCOMPARE(s.p.Titel(), QStringList());

        // The result: its first line empty, then the count and the folder as typed.
        QCOMPARE(e.titel, ergebnis);
        QCOMPARE(e.text,
                 CRLF + QString::number(zeilen.size()) + " Booking(s) in idx00012 removed !");
        QVERIFY(e.nurOk);

        // The files: exactly those boxes freed, the old file kept as the backup, the undo list
        // replaced, one log block; the other folders untouched.
        QByteArray frei = s.idx12;
        for (int box : boxen)
            frei = Freigegeben(frei, {box});
        QCOMPARE(s.t.Lesen("lib/IDX00012/BOOKDATA.NET"), frei);
        QCOMPARE(s.t.Lesen("lib/IDX00012/BOOKDATA.BAK"), s.idx12);
        QCOMPARE(s.t.Lesen("lib/IDX00003/BOOKDATA.NET"), s.idx3);
        QVERIFY(!s.t.Existiert("lib/IDX00003/BOOKDATA.BAK"));
        QVERIFY(!s.t.Existiert("lib/IDX00020/BOOKDATA.BAK"));
        QCOMPARE(s.t.Lesen("lib/_!bookdata.txt"), Rückgängigliste(zeilen));
        QCOMPARE(QString::fromLatin1(s.t.Lesen("lib/Bookdata.log")),
                 Löschblock(s, funktion, userNr, zeilen, int(zeilen.size()), 4096, "OK"));

        // What Undo finds afterwards.
        QVERIFY(f.mnu_Rückgängig->isEnabled());
        QVERIFY(s.z.Buchungen_Entfernt);
        QCOMPARE(s.z.Summe_Buchungen, int(zeilen.size()));
        QCOMPARE(s.z.Summe_Dateien, 1);
        QCOMPARE(s.z.BookdataListe.size(), size_t(zeilen.size()));
        QCOMPARE(s.z.LogFunktion, funktion);
        QCOMPARE(int(s.z.UserNr), userNr);
    }

    void nothingToDelete_data() {
        QTest::addColumn<QString>("befehl");
        QTest::addColumn<int>("anwender");
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("titel");
        QTest::newRow("user 254 has none in 12")
            << "mnu_BuchungenAufUserLöschen" << 254 << "12"
            << "No bookings for User-ID 254 in <lib>idx00012\\BOOKDATA.NET''."
            << "User-ID 254";
        QTest::newRow("nothing booked in 20") << "mnu_AlleBuchungenLöschen" << 7 << "20"
                                              << "No bookings in  ''<lib>idx00020\\BOOKDATA.NET''."
                                              << "No bookings !";
    }
    void nothingToDelete() {
        QFETCH(QString, befehl);
        QFETCH(int, anwender);
        QFETCH(QString, eingabe);
        QFETCH(QString, text);
        Standort s;
        s.t.Datei("lib/_!bookdata.txt", UNDO_VORHER);
        Idmap_frm1 f(s.z);
        Anwender_Wählen(f, anwender);
        s.z.Buchungen_Entfernt = true;
        const Dateistand vorher(s);

        const Befehlslauf lauf =
            Befehl_Mit_Dialogen(f, Befehl(f, befehl), {Index_Eingeben(eingabe)});
        QVERIFY(lauf.gelaufen);
        QCOMPARE(lauf.fenster.size(), 1); // no result window
        QCOMPARE(lauf.nichtBeantwortet, QStringList());
        QCOMPARE(s.p.meldungen.size(), 1);
        QCOMPARE(s.p.meldungen[0].text, text.replace("<lib>", s.lib));
        QTEST(s.p.meldungen[0].titel, "titel");
        QCOMPARE(s.p.meldungen[0].symbol, Symbol::Ausruf);
        QVERIFY(Dateistand(s) == vorher);
        // An index was chosen: Undo is on, but nothing was removed this time.
        QVERIFY(f.mnu_Rückgängig->isEnabled());
        QVERIFY(!s.z.Buchungen_Entfernt);
        QVERIFY(!s.z.Buchungen_Gefunden);
    }

    void cancelChangesNothing_data() {
        QTest::addColumn<QString>("befehl");
        QTest::addColumn<bool>("undo");
        QTest::addColumn<bool>("offen"); // a progress window was left open before
        QTest::newRow("all, undo off") << "mnu_AlleBuchungenLöschen" << false << false;
        QTest::newRow("all, undo on") << "mnu_AlleBuchungenLöschen" << true << false;
        QTest::newRow("user, undo off") << "mnu_BuchungenAufUserLöschen" << false << false;
        QTest::newRow("user, undo on") << "mnu_BuchungenAufUserLöschen" << true << false;
        // The small window is then not loaded afresh, which would empty the earlier index.
        QTest::newRow("all, window left open") << "mnu_AlleBuchungenLöschen" << true << true;
        QTest::newRow("user, window left open") << "mnu_BuchungenAufUserLöschen" << true << true;
    }
    void cancelChangesNothing() {
        QFETCH(QString, befehl);
        QFETCH(bool, undo);
        Standort s;
        s.t.Datei("lib/_!bookdata.txt", UNDO_VORHER);
        Idmap_frm1 f(s.z);
        Anwender_Wählen(f, 7);
        f.mnu_Rückgängig->setEnabled(undo);
        s.z.Buchungen_Entfernt = undo;
        QFETCH(bool, offen);
        if (offen)
            f.Fortschrittsfenster_Zeigen("Bookings for User-ID 7");
        // An index chosen by an earlier command is never taken for this one.
        s.z.Index_Eingabe = "idx00012";
        const Dateistand vorher(s);

        const Befehlslauf lauf = Befehl_Mit_Dialogen(f, Befehl(f, befehl), {Abbrechen()});
        QVERIFY(lauf.gelaufen);
        QCOMPARE(lauf.fenster.size(), 1);
        QCOMPARE(lauf.nichtBeantwortet, QStringList());
        QVERIFY(s.p.meldungen.isEmpty());
        QVERIFY(Dateistand(s) == vorher);
        QCOMPARE(f.mnu_Rückgängig->isEnabled(), undo);
        QCOMPARE(s.z.Buchungen_Entfernt, undo);
    }

    // Nobody selected yet: a User-ID of 0 would free every booking of the index.
    void userDeletionWithoutSelectedUser() {
        Standort s;
        Idmap_frm1 f(s.z);
        f.mnu_Rückgängig->setEnabled(false);
        const Dateistand vorher(s);
        const Befehlslauf lauf =
            Befehl_Mit_Dialogen(f, f.mnu_BuchungenAufUserLöschen, {Index_Eingeben("12")});
        QVERIFY(lauf.gelaufen);
        QCOMPARE(lauf.fenster, QStringList());
        QCOMPARE(s.p.Titel(), QStringList{"mnu_BuchungenAufUserLöschen_Error"});
        QCOMPARE(s.p.meldungen[0].text,
                 "Error when deleting the bookings for a User." + CRLF + "Error number: 91");
        QVERIFY(Dateistand(s) == vorher);
        QVERIFY(!f.mnu_Rückgängig->isEnabled());
    }

    // A booking file that cannot be rewritten is reported by the rewrite; the command goes on,
    // logs the failure and tells how many bookings really went.
    void failedRewriteIsReportedAndLogged() {
        Standort s;
        Idmap_frm1 f(s.z);
        Anwender_Wählen(f, 7);
        datei::Fehlerhaken_Setzen([](datei::Vorgang v, const QString& pfad) {
            if (v == datei::Vorgang::Schreiben && pfad.endsWith(QLatin1String("BOOKDATA.NET")))
                throw Fehler(FEHLER_ZUGRIFF);
        });
        Ergebnis e;
        const Befehlslauf lauf = Befehl_Mit_Dialogen(f, f.mnu_BuchungenAufUserLöschen,
                                                     {Index_Eingeben("12"), Ergebnis_Ablesen(e)});
        datei::Fehlerhaken_Setzen({});
        QCOMPARE(lauf.nichtBeantwortet, QStringList());
        QCOMPARE(s.p.Titel(), QStringList{"Bookdata_Speichern_Error"});
        QCOMPARE(s.t.Lesen("lib/IDX00012/BOOKDATA.NET"), s.idx12);
        const QStringList zeilen{"idx00012|5|7|3", "idx00012|17|7|1"};
        QCOMPARE(QString::fromLatin1(s.t.Lesen("lib/Bookdata.log")),
                 Löschblock(s, "Delete all bookings for a &User for Index....", 7, zeilen, 0, 0,
                            "Error"));
        QCOMPARE(e.titel, QStringLiteral("All bookings for User-ID 7 removed !"));
        QCOMPARE(e.text, CRLF + "0 Booking(s) in idx00012 removed !");
        QVERIFY(f.mnu_Rückgängig->isEnabled());
    }

    // Undo follows the last command: on after a deletion, off after any view.
    void undoOverARun() {
        Standort s;
        Idmap_frm1 f(s.z);
        Anwender_Wählen(f, 7);
        Ergebnis e;
        const auto prüfen = [&](QAction* punkt, QList<Schritt> schritte, bool soll) {
            const Befehlslauf lauf = Befehl_Mit_Dialogen(f, punkt, std::move(schritte));
            QCOMPARE(lauf.nichtBeantwortet, QStringList());
            QVERIFY2(f.mnu_Rückgängig->isEnabled() == soll, qPrintable(punkt->objectName()));
        };
        prüfen(f.mnu_BuchungenAufUserLöschen, {Index_Eingeben("3"), Ergebnis_Ablesen(e)}, true);
        prüfen(f.mnu_BuchungenIndex, {Abbrechen()}, false);
        prüfen(f.mnu_AlleBuchungenLöschen, {Abbrechen()}, false);
        prüfen(f.mnu_AlleBuchungenLöschen, {Index_Eingeben("20")}, true);
        prüfen(f.mnu_AlleBuchungen, {[](QDialog& d) { Drücken(d, "cmd_Beenden"); }}, false);
        QCOMPARE(s.p.Titel(), QStringList{"No bookings !"});
    }
};

QTEST_MAIN(TestLoeschbefehle)
#include "test_loeschbefehle.moc"
