// Faults while bookings are deleted and restored: a booking file that cannot be written, a
// backup that cannot be written, a full disk before and in the middle of a rewrite, booking
// files of the wrong length, damaged undo lists. Whatever fails, every booking file holds either
// its old bytes or its new ones, the administrator is told, and an undo afterwards brings back
// every byte.
#include "bookdata/bookdata.h"
#include "bookdata_bau.h"
#include "fehlerstelle.h"
#include "idmap/idmap_datei.h"
#include "idmap/library_gang.h"
#include "idmap_bau.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "temp_ordner.h"
#include "test_plattform.h"

#include <QSet>
#include <QtTest>
#include <atomic>
#include <map>
#include <mutex>
#include <random>

using namespace qk;
using test::Bookdata;
using test::Fehlerstelle;
using test::Freigegeben;

namespace {

const QByteArray ERSTE = Bookdata({{5, 7, 3}, {9, 7, 1}, {12, 8, 1}, {77, 7, 200}});
const QByteArray ZWEITE = Bookdata({{1, 7, 4}, {200, 7, 9}});

const QByteArray VORHER = Bookdata({{5, 7, 3}, {9, 7, 12}, {10, 8, 1}});
const QByteArray GELÖSCHT = Freigegeben(VORHER, {5, 9});

// A Library with two index folders holding bookings of user 7 (and one of user 8).
struct Bibliothek {
    test::TempOrdner t;
    test::TestPlattform p;
    Zustand z{p};
    QString lib = t.Ordner("Lib");

    Bibliothek() {
        t.Datei("Lib/LIBINFO.SYS", "");
        t.Datei("Lib/IDX00001/BOOKDATA.NET", ERSTE);
        t.Datei("Lib/IDX00002/BOOKDATA.NET", ZWEITE);
        z.LibPath = lib;
        z.UserNr = 7;
    }
    QByteArray Netz(int i) const {
        return t.Lesen(QStringLiteral("Lib/IDX0000%1/BOOKDATA.NET").arg(i));
    }
    void Löschen() {
        z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, lib);
        Bookdata_Einlesen(z, lib, z.UserNr);
        Buchungen_Löschen(z, lib);
    }
    void Rückgängig() {
        Rückgängig_Liste_Lesen(z, lib);
        cmd_Wiederherstellen(z, lib);
    }
};

// A seeded model of Undo: user removals, deletions by index (all users and one user), undos
// and saves of the map run at random over two Libraries, while a workstation books and releases
// boxes between the commands and, inside a deletion, between the listing and the rewrite and
// between the rewrite's read and its write. After every command the booking files must hold
// exactly what the model says: a deletion frees the listed boxes that the workstation left
// alone; an Undo brings back, latest first, everything freed since Undo was last done, wherever
// the box is still free.
class Undo_Modell {
public:
    static constexpr int LIBS = 2, ORDNER = 4, BOXEN = 32;
    static constexpr quint8 ARBEITSPLATZ = 9;

    Undo_Modell(unsigned seed, int gleichzeitig) : zufall(seed) {
        QByteArray karte;
        for (quint8 u = 1; u <= 5; ++u)
            karte += test::Idmap_Satz(u, "U" + QByteArray::number(u));
        t.Datei("Global/QK_IDMAP.NET", karte);
        z.GlobalPath = t.Pfad() + "Global/";
        Qk_Idmap_Öffnen(z, z.GlobalPath);
        z.Gleichzeitig = gleichzeitig;
        for (int l = 0; l < LIBS; ++l) {
            z.LibListe.append(t.Ordner(QStringLiteral("Lib%1").arg(l)));
            for (int o = 0; o < ORDNER; ++o) {
                for (int b = 0; b < BOXEN; ++b)
                    m[l][o][b] = zufall() % 3 ? Box{255, 0x11} : Box{quint8(1 + zufall() % 5), 1};
                t.Datei(Datei(l, o), Erwartet(l, o));
            }
        }
        z.LibPath = z.LibListe[0];
        datei::Fehlerhaken_Setzen(
            [this](datei::Vorgang v, const QString& pfad) { Im_Befehl(v, pfad); });
    }
    ~Undo_Modell() { datei::Fehlerhaken_Setzen({}); }

    void Schritt() {
        Arbeitsplatz(int(zufall() % 4));
        switch (zufall() % 5) {
        case 0:
            Entfernen(quint8(1 + zufall() % 5));
            break;
        case 1:
        case 2:
            Index_Löschen(int(zufall() % LIBS), int(zufall() % ORDNER),
                          zufall() % 2 ? 0 : quint8(1 + zufall() % 5));
            break;
        case 3:
            Rückgängig();
            break;
        default:
            Qk_Idmap_Speichern(z, z.GlobalPath);
        }
    }

    // What differs between the files and the model, and messages other than the closing note.
    QStringList Abweichungen() const {
        QStringList a;
        for (int l = 0; l < LIBS; ++l)
            for (int o = 0; o < ORDNER; ++o)
                if (t.Lesen(Datei(l, o)) != Erwartet(l, o)) {
                    const QByteArray ist = t.Lesen(Datei(l, o)), soll = Erwartet(l, o);
                    int b = 0;
                    while (b * 16 < ist.size() && ist.mid(b * 16, 16) == soll.mid(b * 16, 16))
                        ++b;
                    a << QStringLiteral("file %1/%2 box %3: %4 %5, model %6 %7")
                             .arg(l)
                             .arg(o)
                             .arg(b)
                             .arg(quint8(ist[b * 16]))
                             .arg(quint8(ist[b * 16 + 1]))
                             .arg(quint8(soll[b * 16]))
                             .arg(quint8(soll[b * 16 + 1]));
                }
        for (qsizetype i = 0; i < z.IdmapListe.size(); ++i)
            if ((z.IdmapListe[i].Status == "DEL") != gelöscht.contains(z.IdmapListe[i].ID))
                a << QStringLiteral("status of user %1").arg(z.IdmapListe[i].ID);
        for (const test::GezeigteMeldung& g : p.meldungen)
            if (g.titel != "Removed user")
                a << g.titel + ": " + g.text;
        if (!a.isEmpty())
            a << spur.join(" / ");
        return a;
    }

private:
    struct Box {
        quint8 user;
        quint8 rev;
    };
    struct Stelle {
        int lib, ordner, box;
        Box buchung;
    };

    QString Datei(int l, int o) const {
        return QStringLiteral("Lib%1/IDX%2/BOOKDATA.NET").arg(l).arg(o + 1, 5, 10, QChar('0'));
    }
    QByteArray Erwartet(int l, int o) const {
        QByteArray d = test::Bookdata();
        for (int b = 0; b < BOXEN; ++b) {
            d[b * 16] = char(m[l][o][b].user);
            d[b * 16 + 1] = char(m[l][o][b].rev);
        }
        return d;
    }
    // Books a free box or releases one of its own, in place, as a workstation does.
    Box Buchen_Oder_Freigeben(const QString& pfad, int box, quint8 rev) {
        QFile f(pfad);
        if (!f.open(QIODevice::ReadWrite) || !f.seek(box * 16))
            return {0, 0};
        const QByteArray alt = f.read(2);
        Box neu{quint8(alt[0]), quint8(alt[1])};
        if (neu.user == 255)
            neu = {ARBEITSPLATZ, rev};
        else if (neu.user == ARBEITSPLATZ)
            neu.user = 255;
        else
            return neu;
        f.seek(box * 16);
        const char bytes[2] = {char(neu.user), char(neu.rev)};
        f.write(bytes, 2);
        return neu;
    }
    void Arbeitsplatz(int mal) {
        for (int i = 0; i < mal; ++i) {
            const int l = int(zufall() % LIBS), o = int(zufall() % ORDNER),
                      b = int(zufall() % BOXEN);
            m[l][o][b] =
                Buchen_Oder_Freigeben(t.Pfad() + Datei(l, o), b, quint8(1 + zufall() % 254));
        }
    }
    // Inside a deletion: at the rewrite's read of a booking file (its second read in the
    // command) and at the writing of its backup. May run on several threads at once.
    void Im_Befehl(datei::Vorgang v, const QString& pfad) {
        std::lock_guard<std::mutex> g(mx);
        if (!imBefehl || !pfad.contains("/IDX"))
            return;
        const bool netz =
            v == datei::Vorgang::Lesen && pfad.endsWith("BOOKDATA.NET") && ++lesungen[pfad] == 2;
        const bool sicherung = v == datei::Vorgang::Schreiben && pfad.endsWith("BOOKDATA.BAK");
        const size_t h =
            std::hash<QString>()(pfad.section('/', -3)) ^ (sicherung ? 0x9e37u : 0u) ^ seedBefehl;
        if ((!netz && !sicherung) || h % 3 != 0)
            return;
        const QString ordner = pfad.section('/', -2, -2);
        const int l = pfad.section('/', -3, -3).right(1).toInt();
        const int o = ordner.right(5).toInt() - 1, b = int((h / 3) % BOXEN);
        const QString netzPfad = pfad.left(pfad.lastIndexOf('/') + 1) + "BOOKDATA.NET";
        const Box neu = Buchen_Oder_Freigeben(netzPfad, b, quint8(1 + h % 254));
        if (neu.user == ARBEITSPLATZ || neu.user == 255)
            berührt.push_back({l, o, b, neu});
    }
    // Runs a deletion; the boxes listed at its start that the workstation left alone are freed.
    template <typename F> void Löschen(const std::vector<Stelle>& gelistet, F befehl) {
        {
            std::lock_guard<std::mutex> g(mx);
            imBefehl = true;
            lesungen.clear();
            berührt.clear();
            seedBefehl = zufall();
        }
        befehl();
        std::lock_guard<std::mutex> g(mx);
        imBefehl = false;
        for (const Stelle& s : berührt)
            m[s.lib][s.ordner][s.box] = s.buchung;
        for (const Stelle& s : gelistet) {
            if (std::none_of(berührt.begin(), berührt.end(), [&](const Stelle& x) {
                    return x.lib == s.lib && x.ordner == s.ordner && x.box == s.box;
                })) {
                m[s.lib][s.ordner][s.box] = {255, 255};
                offen.push_back(s);
            }
        }
    }
    std::vector<Stelle> Gebucht(int l, int o, quint8 user) const {
        std::vector<Stelle> s;
        for (int b = 0; b < BOXEN; ++b) {
            const Box x = m[l][o][b];
            if (x.user != 255 && (user == 0 || x.user == user))
                s.push_back({l, o, b, x});
        }
        return s;
    }
    void Entfernen(quint8 user) {
        spur << QStringLiteral("remove %1").arg(user);
        if (gelöscht.contains(user))
            return; // not listed: it cannot be chosen
        std::vector<Stelle> gelistet;
        for (int l = 0; l < LIBS; ++l)
            for (int o = 0; o < ORDNER; ++o)
                for (const Stelle& s : Gebucht(l, o, user))
                    gelistet.push_back(s);
        z.UserNr = user;
        z.UserIndex = quint8(user - 1);
        offen.clear();
        Löschen(gelistet, [&] {
            const QStringList libs = Erreichbare_Libraries(z, z.LibListe, "t");
            Rückgängig_Listen_Leeren(z, libs);
            Entfernen_Vormerken(z, libs);
            Buchungen_In_Libraries_Löschen(z, libs);
        });
        gelöscht.insert(user);
        entfernt = user;
    }
    void Index_Löschen(int l, int o, quint8 user) {
        spur << QStringLiteral("index %1/%2 user %3").arg(l).arg(o).arg(user);
        const std::vector<Stelle> gelistet = Gebucht(l, o, user);
        if (gelistet.empty())
            return; // the command stops at "no bookings": nothing changes
        if (entfernt == 0)
            offen.clear();
        Löschen(gelistet, [&] {
            z.LibPath = z.LibListe[l];
            z.UserNr = user;
            BookdataListe_Zurücksetzen(z);
            Bookdata_Öffnen(z, z.LibPath, QStringLiteral("IDX%1").arg(o + 1, 5, 10, QChar('0')),
                            user);
            z.Anzahl_Buchungen = Buchungen_Zählen(z);
            Index_Buchungen_Löschen(z, 126);
        });
    }
    // Also when nothing is left to undo: a deletion by index that found nothing leaves Undo on.
    void Rückgängig() {
        spur << "undo";
        if (z.Gelöscht_UserNr != 0)
            Benutzer_Zurückholen(z, "t");
        Rückgängig_Ausführen(z, "t");
        for (auto it = offen.rbegin(); it != offen.rend(); ++it) {
            Box& x = m[it->lib][it->ordner][it->box];
            if (x.user == 255)
                x = it->buchung;
        }
        offen.clear();
        gelöscht.remove(entfernt);
        entfernt = 0;
    }

    test::TempOrdner t;
    test::TestPlattform p;
    Zustand z{p};
    std::mt19937 zufall;
    Box m[LIBS][ORDNER][BOXEN];
    std::vector<Stelle> offen; // freed since Undo was last done, in the order freed
    QSet<quint8> gelöscht;     // users marked removed
    quint8 entfernt = 0;       // the user whose removal Undo takes back
    std::mutex mx;
    bool imBefehl = false;
    std::map<QString, int> lesungen;
    std::vector<Stelle> berührt;
    size_t seedBefehl = 0;
    QStringList spur;
};

// One deletion of user 7 and its undo on a Library of 40 index folders, with a fault at fixed
// folders, and everything the administrator and the workstations can see of it afterwards.
struct Walkergebnis {
    QStringList liste, zähler, meldungen;
    QByteArray undoListe, log;
    QList<QByteArray> dateien;
    bool operator==(const Walkergebnis&) const = default;
};

enum class Störung { Keine, Ordner_Weg, Unlesbar, Sicherung, Gebucht, Alle };

Walkergebnis Löschen_Und_Zurück(int gleichzeitig, Störung störung) {
    test::TempOrdner t;
    const QString lib = t.Ordner("Lib");
    const auto name = [](int i) { return QStringLiteral("IDX%1").arg(i, 5, 10, QChar('0')); };
    for (int i = 1; i <= 40; ++i)
        t.Datei("Lib/" + name(i) + "/BOOKDATA.NET",
                Bookdata({{i % 7, 7, quint8(i)}, {20 + i % 11, 7, 3}, {60, quint8(i % 5 + 1), 1}}));
    test::TestPlattform p;
    Zustand z(p);
    z.LibPath = lib;
    z.UserNr = 7;
    z.Gleichzeitig = gleichzeitig;
    const auto bei = [&](Störung s) { return störung == s || störung == Störung::Alle; };
    std::mutex m;
    std::map<QString, int> lesungen;
    datei::Fehlerhaken_Setzen([&](datei::Vorgang v, const QString& pfad) {
        int n = 0;
        {
            std::lock_guard<std::mutex> g(m);
            n = ++lesungen[pfad.section('/', -3) + QString::number(int(v))];
        }
        const bool lesen = v == datei::Vorgang::Lesen;
        if (bei(Störung::Ordner_Weg) && lesen && pfad.contains("IDX00010/") && n == 2) {
            QDir(lib + "IDX00010").removeRecursively();
            throw Fehler(FEHLER_PFAD, pfad);
        }
        if (bei(Störung::Unlesbar) && lesen && pfad.endsWith("IDX00020/BOOKDATA.NET"))
            throw Fehler(FEHLER_ZUGRIFF, pfad);
        if (bei(Störung::Sicherung) && v == datei::Vorgang::Schreiben &&
            pfad.endsWith("IDX00030/BOOKDATA.BAK"))
            throw Fehler(FEHLER_ZUGRIFF, pfad);
        // A workstation at IDX00005 between the listing and the rewrite: it books box 100, and
        // user 8 takes box 5, which user 7 held.
        if (bei(Störung::Gebucht) && lesen && pfad.endsWith("IDX00005/BOOKDATA.NET") && n == 2) {
            QFile f(pfad);
            if (f.open(QIODevice::ReadWrite) && f.seek(100 * 16) && f.write("\x09\x01", 2) &&
                f.seek(5 * 16))
                f.write("\x08\x02", 2);
        }
    });
    z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, lib);
    Bookdata_Einlesen(z, lib, 7);
    Buchungen_Löschen(z, lib);
    z.LogFunktion = "&Remove User";
    LOG_Buchungen_Löschen(z);
    Walkergebnis w;
    for (const BookdataEintrag& e : z.BookdataListe)
        w.liste
            << QStringLiteral("%1 %2 %3 %4").arg(e.Index).arg(e.BoxNr).arg(e.UserID).arg(e.RevNr);
    const auto zähler = [&] {
        w.zähler << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9")
                        .arg(z.Anzahl_Buchungen)
                        .arg(z.Anzahl_Dateien)
                        .arg(z.Ordner_Nr)
                        .arg(z.Dateien_Bearbeitet)
                        .arg(z.Datensätze_Geschrieben)
                        .arg(z.Buchungen_Gelöscht)
                        .arg(z.Summe_Buchungen)
                        .arg(z.Status_Schreiben, z.Status_Löschen);
    };
    zähler();
    w.undoListe = t.Lesen("Lib/_!bookdata.txt");
    Rückgängig_Liste_Lesen(z, lib);
    cmd_Wiederherstellen(z, lib);
    z.LogFunktion = "Un&do";
    LOG_Buchungen_Wiederherstellen(z);
    datei::Fehlerhaken_Setzen({});
    zähler();
    w.log = t.Lesen("Lib/Bookdata.log").replace(lib.toUtf8(), "<lib>");
    for (const test::GezeigteMeldung& g : p.meldungen)
        w.meldungen << g.titel + ": " + QString(g.text).replace(lib, "<lib>");
    for (int i = 1; i <= 40; ++i)
        for (const char* datei : {"/BOOKDATA.NET", "/BOOKDATA.BAK"})
            w.dateien << (t.Existiert("Lib/" + name(i) + datei) ? t.Lesen("Lib/" + name(i) + datei)
                                                                : QByteArray("-"));
    return w;
}

} // namespace

class TestFehlerBookdata : public QObject {
    Q_OBJECT
private slots:
    void rewriteFails_data() {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<int>("nummer");
        QTest::addColumn<int>("ab");
        QTest::newRow("read-only BOOKDATA.NET")
            << "IDX00001/BOOKDATA.NET" << int(FEHLER_ZUGRIFF) << 0;
        QTest::newRow("BOOKDATA.BAK cannot be written")
            << "IDX00001/BOOKDATA.BAK" << int(FEHLER_ZUGRIFF) << 0;
        QTest::newRow("disk full writing BOOKDATA.BAK")
            << "IDX00001/BOOKDATA.BAK" << int(FEHLER_DATENTRAEGER_VOLL) << 0;
        QTest::newRow("disk full before the rewrite")
            << "IDX00001/BOOKDATA.NET" << int(FEHLER_DATENTRAEGER_VOLL) << 0;
        // Two of the three freed records are in the file when the third fails.
        QTest::newRow("disk full in the middle of the rewrite")
            << "IDX00001/BOOKDATA.NET" << int(FEHLER_DATENTRAEGER_VOLL) << 3;
    }
    void rewriteFails() {
        QFETCH(QString, datei);
        QFETCH(int, nummer);
        QFETCH(int, ab);
        Bibliothek b;
        {
            Fehlerstelle f(datei, nummer, ab);
            b.Löschen();
            QVERIFY(f.aufrufe > ab);
        }
        QCOMPARE(b.p.meldungen.size(), 1);
        QCOMPARE(b.p.meldungen[0].titel, QStringLiteral("Bookdata_Speichern_Error"));
        QCOMPARE(b.p.meldungen[0].text,
                 "Error when creating ''" + b.lib +
                     "IDX00001\\BOOKDATA.NET !''\r\nError Nr.: " + QString::number(nummer));
        // The failed file holds every old byte; the other one was handled.
        QCOMPARE(b.Netz(1), ERSTE);
        QCOMPARE(b.Netz(2), Freigegeben(ZWEITE, {1, 200}));
        // The log block will say that not everything was written.
        QCOMPARE(b.z.Status_Schreiben, QStringLiteral("Error"));
        QCOMPARE(b.z.Status_Löschen, QStringLiteral("Error"));
        QCOMPARE(b.z.Buchungen_Gelöscht, 2);

        b.Rückgängig();
        QCOMPARE(b.p.meldungen.size(), 1);
        QCOMPARE(b.Netz(1), ERSTE);
        QCOMPARE(b.Netz(2), ZWEITE);
    }

    void undoListCannotBeWritten() {
        Bibliothek b;
        b.t.Datei("Lib/_!bookdata.txt", "IDX00002\t3\t7\t1\r\n\r\n");
        b.z.Status_Schreiben = b.z.Status_Löschen = "OK"; // of an earlier command
        {
            Fehlerstelle f("_!bookdata.txt", FEHLER_DATENTRAEGER_VOLL);
            b.Löschen();
            LOG_Buchungen_Löschen(b.z);
        }
        // The log block says that nothing was deleted, and that it went wrong.
        QVERIFY(b.t.Lesen("Lib/Bookdata.log")
                    .endsWith("Deleted: 0Booking(s): \r\nStatus: Error\r\nWritten: 0 Bytes in 0 "
                              "file(s) (BOOKDATA.NET)\r\nStatus: Error\r\n\r\n\r\n"));
        QCOMPARE(b.p.Titel(), QStringList{"Buchungen_Löschen_Error"});
        QCOMPARE(b.p.meldungen[0].text,
                 QStringLiteral("Error when deleting bookings.\r\nError number: 61"));
        // No deletion without the means to undo it: nothing changed anywhere.
        QCOMPARE(b.Netz(1), ERSTE);
        QCOMPARE(b.Netz(2), ZWEITE);
        QVERIFY(!b.t.Existiert("Lib/IDX00001/BOOKDATA.BAK"));
        QCOMPARE(b.t.Lesen("Lib/_!bookdata.txt"), QByteArray("IDX00002\t3\t7\t1\r\n\r\n"));
    }

    void restoreFails_data() {
        QTest::addColumn<int>("nummer");
        QTest::addColumn<int>("ab");
        QTest::newRow("read-only BOOKDATA.NET") << int(FEHLER_ZUGRIFF) << 0;
        QTest::newRow("disk full in the middle of the restore")
            << int(FEHLER_DATENTRAEGER_VOLL) << 2;
    }
    void restoreFails() {
        QFETCH(int, nummer);
        QFETCH(int, ab);
        Bibliothek b;
        b.Löschen();
        QVERIFY(b.p.meldungen.isEmpty());
        const QByteArray gelöscht = Freigegeben(ERSTE, {5, 9, 77});
        QCOMPARE(b.Netz(1), gelöscht);
        b.z.Status_Löschen = "OK";
        {
            Fehlerstelle f("IDX00001/BOOKDATA.NET", nummer, ab);
            b.Rückgängig();
        }
        QCOMPARE(b.p.Titel(), QStringList{"cmd_Wiederherstellen_Error"});
        QCOMPARE(b.p.meldungen[0].text,
                 "Fehler beim Wiederherstellen.\r\nError number: " + QString::number(nummer));
        QCOMPARE(b.z.Status_Löschen, QStringLiteral("Error")); // not the status of before
        // Not half restored: the file is as the deletion left it, and its backup is whole.
        QCOMPARE(b.Netz(1), gelöscht);
        QCOMPARE(b.t.Lesen("Lib/IDX00001/BOOKDATA.BAK"), ERSTE);

        // Once the fault is gone, the same undo brings every booking back.
        b.Rückgängig();
        QCOMPARE(b.p.meldungen.size(), 1);
        QCOMPARE(b.Netz(1), ERSTE);
        QCOMPARE(b.Netz(2), ZWEITE);
        QCOMPARE(b.z.Status_Löschen, QStringLiteral("OK"));
    }

    // A booking file lost since the deletion comes back whole from its backup, and the restore
    // goes on with the next folder.
    void restoreWithoutBookingFile() {
        Bibliothek b;
        b.Löschen();
        QFile::remove(b.lib + "IDX00001/BOOKDATA.NET");
        b.Rückgängig();
        QVERIFY(b.p.meldungen.isEmpty());
        QCOMPARE(b.Netz(1), ERSTE);
        QCOMPARE(b.Netz(2), ZWEITE);
        QCOMPARE(b.z.Status_Löschen, QStringLiteral("OK"));
    }

    void bookingFileOfWrongLength_data() {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QList<int>>("frei");
        QTest::addColumn<QString>("status");
        const QByteArray voll = Bookdata({{3, 7, 1}, {62, 7, 2}, {255, 7, 3}});
        // Box 62 is cut after eight of its bytes: it is no booking and its bytes stay.
        QTest::newRow("cut short") << voll.left(62 * 16 + 8) << QList<int>{3} << "Error";
        QTest::newRow("last box cut short") << voll.left(4095) << QList<int>{3, 62} << "Error";
        // No box at all: nothing to delete there, and the file stays as it is.
        QTest::newRow("empty") << QByteArray() << QList<int>{} << "OK";
        // Bytes past the 256th box belong to no box: never read as one, never changed.
        QTest::newRow("longer") << voll + QByteArray(100, '\x07') << QList<int>{3, 62, 255} << "OK";
    }
    void bookingFileOfWrongLength() {
        QFETCH(QByteArray, inhalt);
        QFETCH(QList<int>, frei);
        QFETCH(QString, status);
        Bibliothek b;
        b.t.Datei("Lib/IDX00001/BOOKDATA.NET", inhalt);
        b.Löschen();
        QVERIFY(b.p.meldungen.isEmpty());
        QByteArray erwartet = inhalt;
        for (const int box : frei) {
            erwartet[box * 16] = char(255);
            erwartet[box * 16 + 1] = char(255);
        }
        QCOMPARE(b.Netz(1), erwartet);
        QCOMPARE(b.Netz(2), Freigegeben(ZWEITE, {1, 200}));
        // A file that does not hold all its boxes shows in the log block's write status.
        QCOMPARE(b.z.Status_Schreiben, status);
        LOG_Buchungen_Löschen(b.z);
        QVERIFY(
            b.t.Lesen("Lib/Bookdata.log").contains("Status: " + b.z.Status_Schreiben.toLatin1()));

        b.Rückgängig();
        QVERIFY(b.p.meldungen.isEmpty());
        QCOMPARE(b.Netz(1), inhalt);
        QCOMPARE(b.Netz(2), ZWEITE);
    }

    // A workstation books a box between the read and the backup: the backup holds the bytes
    // that were read, and the workstation's booking stays in the file.
    void bookingBetweenReadAndBackup() {
        Bibliothek b;
        const QByteArray neu =
            Bookdata({{5, 7, 3}, {9, 7, 1}, {12, 8, 1}, {77, 7, 200}, {6, 9, 9}});
        std::atomic<bool> einmal = false;
        datei::Fehlerhaken_Setzen([&](datei::Vorgang v, const QString& pfad) {
            if (v == datei::Vorgang::Schreiben && pfad.endsWith("IDX00001/BOOKDATA.BAK") &&
                !einmal.exchange(true))
                b.t.Datei("Lib/IDX00001/BOOKDATA.NET", neu);
        });
        b.Löschen();
        datei::Fehlerhaken_Setzen({});
        QVERIFY(einmal);
        QCOMPARE(b.t.Lesen("Lib/IDX00001/BOOKDATA.BAK"), ERSTE);
        QCOMPARE(b.Netz(1), Freigegeben(neu, {5, 9, 77}));
    }

    void logCannotBeWritten() {
        Bibliothek b;
        b.Löschen();
        QVERIFY(b.p.meldungen.isEmpty());
        {
            Fehlerstelle f("Bookdata.log", FEHLER_DATENTRAEGER_VOLL);
            LOG_Buchungen_Löschen(b.z);
        }
        QVERIFY(!b.p.meldungen.isEmpty());
        for (const test::GezeigteMeldung& m : b.p.meldungen) {
            QCOMPARE(m.titel, QStringLiteral("LOG_Datei_Schreiben_Error"));
            QCOMPARE(m.text, "Error when reading  ''" + b.lib + "BOOKDATA.LOG''\r\nError Nr: 61");
        }
        QVERIFY(!b.t.Existiert("Lib/Bookdata.log"));
        // The deletion itself stands and can be undone.
        b.Rückgängig();
        QCOMPARE(b.Netz(1), ERSTE);
        QCOMPARE(b.Netz(2), ZWEITE);
    }

    // Undo lists that were cut short, damaged or grew long: every line that can be read
    // restores its box, each damaged one is left out, and one message names the list. The
    // backups still hold every deleted booking.
    void damagedUndoList_data() {
        QTest::addColumn<QByteArray>("liste");
        QTest::addColumn<int>("beschädigt");
        QTest::addColumn<QByteArray>("netz"); // BOOKDATA.NET after the undo
        const QByteArray ganz = "IDX00012\t5\t7\t3\r\nIDX00012\t9\t7\t12\r\n\r\n";
        const QByteArray nur5 = Freigegeben(VORHER, {9});
        QTest::newRow("whole") << ganz << 0 << VORHER;
        QTest::newRow("cut in a folder name") << ganz.left(22) << 1 << nur5;
        QTest::newRow("cut after a tab") << ganz.left(25) << 1 << nur5;
        // The booking named is not the one in the backup: box 9 stays free.
        QTest::newRow("cut in the last number") << ganz.left(30) << 0 << nur5;
        QTest::newRow("cut before the empty line") << ganz.left(32) << 0 << VORHER;
        QTest::newRow("empty file") << QByteArray() << 0 << GELÖSCHT;
        QTest::newRow("box past 255")
            << QByteArray("IDX00012\t5\t7\t3\r\nIDX00012\t256\t7\t12\r\n") << 1 << nur5;
        QTest::newRow("empty and non-numeric fields")
            << QByteArray("IDX00012\t\t7\t3\r\nIDX00012\t9\t7\t12\r\nIDX00012\t5\tx\t3\r\n") << 2
            << Freigegeben(VORHER, {5});
        QTest::newRow("a number of a million digits")
            << "IDX00012\t" + QByteArray(1 << 20, '9') + "\t7\t3\r\n"
            << 1 << GELÖSCHT;
        QTest::newRow("a folder outside the Library")
            << QByteArray("..\\..\\etc\t5\t7\t3\r\n") << 1 << GELÖSCHT;
        QByteArray lang;
        for (int i = 0; i < 200000; ++i)
            lang += i % 2 ? "IDX00012\t9\t7\t12\r\n" : "IDX00012\t5\t7\t3\r\n";
        QTest::newRow("200000 lines") << lang << 0 << VORHER;
    }
    void damagedUndoList() {
        QFETCH(QByteArray, liste);
        QFETCH(int, beschädigt);
        QFETCH(QByteArray, netz);
        test::TempOrdner t;
        t.Datei("Lib/IDX00012/BOOKDATA.NET", VORHER);
        const QString lib = t.Pfad() + "Lib/";
        test::TestPlattform p;
        Zustand z(p);
        z.UserNr = 7;
        z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, lib);
        Bookdata_Einlesen(z, lib, 7);
        Buchungen_Löschen(z, lib);
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"), GELÖSCHT);
        t.Datei("Lib/_!bookdata.txt", liste);

        Buchungen_In_Libraries_Wiederherstellen(z, {lib}, "mnu_Rückgängig");
        QCOMPARE(p.Titel(),
                 beschädigt ? QStringList{"Rückgängig_Liste_Lesen_Error"} : QStringList());
        if (beschädigt) {
            QCOMPARE(p.meldungen[0].text,
                     "Damaged lines of the undo list  ''" + lib +
                         "_!bookdata.txt''  were not restored: " + QString::number(beschädigt));
        }
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.NET"), netz);
        // Whatever the list says, the deleted bookings are still in the backup.
        QCOMPARE(t.Lesen("Lib/IDX00012/BOOKDATA.BAK"), VORHER);
        QCOMPARE(t.Lesen("Lib/_!bookdata.txt"), liste);
    }

    // The walks with folders in flight show and leave exactly what the one-at-a-time walk does,
    // whatever fails on the way.
    void walkInFlightAsOneAtATime_data() {
        QTest::addColumn<int>("störung");
        QTest::addColumn<int>("meldungen");
        QTest::newRow("no fault") << int(Störung::Keine) << 0;
        QTest::newRow("a folder vanishes during the walk") << int(Störung::Ordner_Weg) << 1;
        QTest::newRow("a BOOKDATA.NET cannot be read") << int(Störung::Unlesbar) << 1;
        QTest::newRow("a backup cannot be written") << int(Störung::Sicherung) << 1;
        QTest::newRow("booked between read and rewrite") << int(Störung::Gebucht) << 0;
        QTest::newRow("all of them") << int(Störung::Alle) << 3;
    }
    void walkInFlightAsOneAtATime() {
        QFETCH(int, störung);
        QFETCH(int, meldungen);
        const Walkergebnis einzeln = Löschen_Und_Zurück(1, Störung(störung));
        QCOMPARE(einzeln.meldungen.size(), meldungen);
        for (int gleichzeitig : {4, 32}) {
            const Walkergebnis parallel = Löschen_Und_Zurück(gleichzeitig, Störung(störung));
            QCOMPARE(parallel.meldungen, einzeln.meldungen);
            QCOMPARE(parallel.liste, einzeln.liste);
            QCOMPARE(parallel.zähler, einzeln.zähler);
            QCOMPARE(parallel.undoListe, einzeln.undoListe);
            QCOMPARE(parallel.log, einzeln.log);
            QVERIFY(parallel.dateien == einzeln.dateien);
        }
    }

    void undoModel_data() {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<int>("gleichzeitig");
        for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u})
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed << 16;
        QTest::newRow("seed 7, one folder at a time") << 7u << 1;
    }
    void undoModel() {
        QFETCH(unsigned, seed);
        QFETCH(int, gleichzeitig);
        Undo_Modell modell(seed, gleichzeitig);
        for (int schritt = 0; schritt < 60; ++schritt) {
            modell.Schritt();
            const QStringList a = modell.Abweichungen();
            QVERIFY2(a.isEmpty(),
                     qPrintable(QStringLiteral("step %1: ").arg(schritt) + a.join(", ")));
        }
    }
};

QTEST_GUILESS_MAIN(TestFehlerBookdata)
#include "test_fehler_bookdata.moc"
