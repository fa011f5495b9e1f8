// Faults while bookings are deleted and restored: no byte is lost, and the administrator is told.
#include "bibliothek.h"
#include "bookdata_bau.h"
#include "fehlerstelle.h"
#include "idmap/idmap_datei.h"
#include "idmap/library_gang.h"
#include "idmap_bau.h"

#include <QtTest>
#include <map>
#include <mutex>
#include <optional>
#include <random>

using namespace qk;
using namespace qk::test;

namespace {

const QByteArray ERSTE = Bookdata({{5, 7, 3}, {9, 7, 1}, {12, 8, 1}, {77, 7, 200}}),
                 ZWEITE = Bookdata({{1, 7, 4}, {200, 7, 9}}), ALT = "IDX00002\t3\t7\t1\r\n\r\n",
                 VORHER = Bookdata({{5, 7, 3}, {9, 7, 12}, {10, 8, 1}}),
                 GELÖSCHT = Freigegeben(VORHER, {5, 9}), NUR5 = Freigegeben(VORHER, {9}),
                 GANZ = "IDX00001\t5\t7\t3\r\nIDX00001\t9\t7\t12\r\n\r\n",
                 V = Bookdata({{3, 7, 1}, {62, 7, 2}, {255, 7, 3}}), KURZ = V.left(62 * 16 + 8),
                 ENDE = V.left(4095), LANG = V + QByteArray(100, '\x07'),
                 NEU = Bookdata({{5, 7, 3}, {9, 7, 1}, {12, 8, 1}, {77, 7, 200}, {6, 9, 9}});

template <typename... T> QString Zeile(const T&... v) {
    return QStringList{QVariant(v).toString()...}.join(' ');
}

// A Library of the given index folders' BOOKDATA.NET (Datei: "-" for none); user 7's bookings go.
struct Bibliothek : Bibliotheksort {
    explicit Bibliothek(const std::map<int, QByteArray>& netz = {}) {
        for (const auto& [i, inhalt] : netz)
            t.Datei("Lib/" + Idx(i) + "/BOOKDATA.NET", inhalt);
        z.UserNr = 7;
    }
    static QString Idx(int i) { return QStringLiteral("IDX%1").arg(i, 5, 10, QChar('0')); }
    QByteArray Datei(const QString& name) const {
        return t.Existiert("Lib/" + name) ? t.Lesen("Lib/" + name) : QByteArray("-");
    }
    QByteArray Netz(int i, const char* e = ".NET") const { return Datei(Idx(i) + "/BOOKDATA" + e); }
    QStringList Meldungen() const {
        QStringList m;
        for (const test::GezeigteMeldung& g : p.meldungen)
            m << g.titel + ": " + QString(g.text).replace(lib, "<lib>");
        return m;
    }
};

// A fault where it strikes (before the undo, Weg: IDX00001's BOOKDATA.NET is lost, Liste: the
// undo list becomes `liste`; Beim_Sichern: a workstation books in IDX00001 at its backup); then
// IDX00001's boxes freed, "freed, deletion status, bytes written, files, write status" of the log
// block, IDX00001's backup and its bytes before (and after).
enum Phase { Löschen, Log, Rückgängig, Weg, Liste, Beim_Sichern };
struct Fall {
    Phase phase;
    QString stelle, meldung;
    int nummer, ab;
    QList<int> frei = {5, 9, 77};
    QString zustand = "5 OK 8192 2 OK";
    QByteArray sicherung = ERSTE, vorher = ERSTE, liste = {}, nachher = {};
};
constexpr int ZUGRIFF = FEHLER_ZUGRIFF, VOLL = FEHLER_DATENTRAEGER_VOLL;
const QString
    NET = "IDX00001/BOOKDATA.NET",
    BAK = "IDX00001/BOOKDATA.BAK", LISTE = "_!bookdata.txt", EINE = "2 Error 4096 2 Error",
    SPEICHERN = "Bookdata_Speichern_Error: Error when creating ''<lib>IDX00001\\BOOKDATA.NET"
                " !''\r\nError Nr.: ",
    LÖSCHEN = "Buchungen_Löschen_Error: Error when deleting bookings.\r\nError number: ",
    LOG = "LOG_Datei_Schreiben_Error: Error when reading  ''<lib>BOOKDATA.LOG''\r\nError Nr: ",
    UNDO = "cmd_Wiederherstellen_Error: Fehler beim Wiederherstellen.\r\nError number: ",
    KAPUTT = "Rückgängig_Liste_Lesen_Error: Damaged lines of the undo list  ''<lib>_!bookdata.txt''"
             "  were not restored: ",
    BLOCKENDE = "Deleted: %1Booking(s): \r\nStatus: %2\r\nWritten: %3 Bytes in %4 file(s) "
                "(BOOKDATA.NET)\r\nStatus: %5\r\n\r\n\r\n";
// The undo list becomes `l` before the undo, `k` of its lines damaged; IDX00001 then holds `n`.
Fall Kaputt(const QByteArray& l, int k, const QByteArray& n) {
    return {Liste, {}, k ? KAPUTT : "", k, 0, {5, 9}, "4 OK 8192 2 OK", VORHER, VORHER, l, n};
}
const std::pair<const char*, Fall> FÄLLE[] = {
    {"read-only BOOKDATA.NET", {Löschen, NET, SPEICHERN, ZUGRIFF, 0, {}, EINE}},
    {"BOOKDATA.BAK cannot be written", {Löschen, BAK, SPEICHERN, ZUGRIFF, 0, {}, EINE, "-"}},
    {"disk full writing BOOKDATA.BAK", {Löschen, BAK, SPEICHERN, VOLL, 0, {}, EINE, "-"}},
    {"disk full before the rewrite", {Löschen, NET, SPEICHERN, VOLL, 0, {}, EINE}},
    // Two of the three freed records are in the file when the third fails: they stay free and
    // the undo list names them.
    {"disk full in the middle of the rewrite", {Löschen, NET, SPEICHERN, VOLL, 3, {5, 9}, EINE}},
    // No deletion without the means to undo it: nothing changes anywhere.
    {"undo list unwritable", {Löschen, LISTE, LÖSCHEN, VOLL, 0, {}, "0 Error 0 0 Error", "-"}},
    // The deletion itself stands and can be undone.
    {"log cannot be written", {Log, "Bookdata.log", LOG, VOLL, 0}},
    // What was put back before the fault stays back; once the fault is gone the same undo
    // brings every booking back.
    {"undo: read-only BOOKDATA.NET", {Rückgängig, NET, UNDO, ZUGRIFF, 0}},
    {"undo: disk full in the middle", {Rückgängig, NET, UNDO, VOLL, 2}},
    {"undo without BOOKDATA.NET", {Weg, {}, {}, 0, 0}},
    // The backup holds the bytes that were read; the workstation's booking stays.
    {"booked as the backup is written", {Beim_Sichern, {}, {}, 0, 0}},
    // A box cut short and bytes past box 255 are no bookings; the write status tells of them.
    {"cut short", {Löschen, {}, {}, 0, 0, {3}, "3 OK 5088 2 Error", KURZ, KURZ}},
    {"last box cut short", {Löschen, {}, {}, 0, 0, {3, 62}, "4 OK 8176 2 Error", ENDE, ENDE}},
    {"empty", {Löschen, {}, {}, 0, 0, {}, "2 OK 4096 1 OK", "-", ""}},
    {"longer", {Löschen, {}, {}, 0, 0, {3, 62, 255}, "5 OK 8192 2 OK", LANG, LANG}},
    // Each line of an undo list that can be read restores its box; one message counts the others.
    {"undo list whole", Kaputt(GANZ, 0, VORHER)},
    {"undo list cut in a folder name", Kaputt(GANZ.left(22), 1, NUR5)},
    {"undo list cut after a tab", Kaputt(GANZ.left(25), 1, NUR5)},
    // The booking named is not the one in the backup: box 9 stays free.
    {"undo list cut in the last number", Kaputt(GANZ.left(30), 0, NUR5)},
    {"undo list cut before the empty line", Kaputt(GANZ.left(32), 0, VORHER)},
    {"undo list empty", Kaputt("", 0, GELÖSCHT)},
    {"undo list names box 256", Kaputt("IDX00001\t5\t7\t3\r\nIDX00001\t256\t7\t12\r\n", 1, NUR5)},
    {"undo list with empty and non-numeric fields",
     Kaputt("IDX00001\t\t7\t3\r\nIDX00001\t9\t7\t12\r\nIDX00001\t5\tx\t3\r\n", 2,
            Freigegeben(VORHER, {5}))},
    {"undo list with a number of a million digits",
     Kaputt("IDX00001\t" + QByteArray(1 << 20, '9') + "\t7\t3\r\n", 1, GELÖSCHT)},
    {"undo list names a folder outside", Kaputt("..\\..\\etc\t5\t7\t3\r\n", 1, GELÖSCHT)},
    {"undo list of 200000 lines", Kaputt(GANZ.left(33).repeated(100000), 0, VORHER)},
};
// A seeded model of Undo over removals, deletions by index, undos and map saves, while a
// workstation books and releases boxes between commands, at a rewrite's read and at a backup:
// Undo brings back, latest first, what was freed since the last Undo wherever the box is free.
struct Undo_Modell : Bibliothek {
    static constexpr int LIBS = 2, ORDNER = 4, BOXEN = 32, N = LIBS * ORDNER * BOXEN;
    static constexpr quint8 PLATZ = 9; // the user a workstation books as
    std::mt19937 zufall;
    quint16 m[N];                               // user << 8 | revision, file by file
    std::vector<std::pair<int, quint16>> offen; // freed since Undo was last done, in order
    QSet<quint8> gelöscht;                      // users marked removed
    quint8 entfernt = 0;                        // the user whose removal Undo takes back
    std::mutex mx; // for the hook on worker threads: the command's seed, reads, boxes touched
    std::optional<size_t> befehl;
    std::map<QString, int> lesungen;
    std::map<int, quint16> berührt;

    Undo_Modell(unsigned seed, int gleichzeitig) : zufall(seed) {
        t.Datei("Global/QK_IDMAP.NET", Idmap_Satz(1, "U1") + Idmap_Satz(2, "U2") +
                                           Idmap_Satz(3, "U3") + Idmap_Satz(4, "U4") +
                                           Idmap_Satz(5, "U5"));
        z.GlobalPath = t.Pfad() + "Global/";
        Qk_Idmap_Öffnen(z, z.GlobalPath);
        z.Gleichzeitig = gleichzeitig;
        for (int l = 0; l < LIBS; ++l)
            z.LibListe.append(t.Ordner(QStringLiteral("Lib%1").arg(l)));
        for (quint16& x : m)
            x = zufall() % 3 ? 0xff11 : quint16((1 + zufall() % 5) << 8 | 1);
        for (int d = 0; d < LIBS * ORDNER; ++d)
            t.Datei(Pfad(d), Stand(false)[d]);
        datei::Fehlerhaken_Setzen([this](datei::Vorgang v, const QString& p) { Im_Befehl(v, p); });
    }

    static QByteArray Zwei(quint16 x) { return QByteArray(1, char(x >> 8)) + char(x); }
    QString Pfad(int d) const {
        return QStringLiteral("Lib%1/%2/BOOKDATA.NET").arg(d / ORDNER).arg(Idx(d % ORDNER + 1));
    }
    // The booking files, the users marked removed and messages but the closing note: ist or soll.
    QList<QByteArray> Stand(bool ist) const {
        QList<QByteArray> s(LIBS * ORDNER, Bookdata());
        for (int i = 0; i < N; ++i)
            s[i / BOXEN].replace(i % BOXEN * 16, 2, Zwei(m[i]));
        for (int d = 0; ist && d < LIBS * ORDNER; ++d)
            s[d] = t.Lesen(Pfad(d));
        QByteArray benutzer;
        for (const IdmapEintrag& e : z.IdmapListe)
            benutzer += (ist ? e.Status == "DEL" : gelöscht.contains(e.ID)) ? 'D' : '-';
        const QStringList fremd = Meldungen().filter(QRegularExpression("^(?!Removed user: )"));
        return s << benutzer << (ist ? fremd.join('\n').toUtf8() : QByteArray());
    }
    // Books a free box or releases one of its own, as a workstation does; returns the box then.
    quint16 Buchen_Oder_Freigeben(int d, int b, quint8 rev) {
        QByteArray f = t.Lesen(Pfad(d));
        const quint16 x = quint16(quint8(f[b * 16]) << 8 | quint8(f[b * 16 + 1]));
        const quint16 neu = x >> 8 == 255 ? PLATZ << 8 | rev : x >> 8 == PLATZ ? x | 0xff00 : x;
        t.Datei(Pfad(d), f.replace(b * 16, 2, Zwei(neu)));
        return neu;
    }
    void Schritt() {
        for (int mal = int(zufall() % 4); mal > 0; --mal) {
            const int l = int(zufall() % LIBS), o = int(zufall() % ORDNER),
                      b = int(zufall() % BOXEN), d = l * ORDNER + o;
            m[d * BOXEN + b] = Buchen_Oder_Freigeben(d, b, quint8(1 + zufall() % 254));
        }
        const unsigned was = zufall() % 5;
        if (was == 0) {
            const quint8 user = quint8(1 + zufall() % 5);
            if (gelöscht.contains(user))
                return; // not listed: it cannot be chosen
            z.UserNr = user;
            z.UserIndex = quint8(user - 1);
            Löschen(0, N, user, true, [&] {
                const QStringList libs = Erreichbare_Libraries(z, z.LibListe, "t");
                Rückgängig_Listen_Leeren(z, libs);
                Entfernen_Vormerken(z, libs);
                Buchungen_In_Libraries_Löschen(z, libs);
            });
            gelöscht.insert(entfernt = user);
        } else if (was < 3) {
            const quint8 user = zufall() % 2 ? 0 : quint8(1 + zufall() % 5);
            const int o = int(zufall() % ORDNER), l = int(zufall() % LIBS);
            Löschen((l * ORDNER + o) * BOXEN, (l * ORDNER + o + 1) * BOXEN, user, false, [&] {
                z.LibPath = z.LibListe[l];
                z.UserNr = user;
                BookdataListe_Zurücksetzen(z);
                Bookdata_Öffnen(z, z.LibPath, Idx(o + 1), user);
                z.Anzahl_Buchungen = Buchungen_Zählen(z);
                Index_Buchungen_Löschen(z, 126);
            });
        } else if (was == 3) { // also with nothing to undo: an empty deletion leaves Undo on
            if (z.Gelöscht_UserNr != 0)
                Benutzer_Zurückholen(z, "t");
            Rückgängig_Ausführen(z, "t");
            for (auto it = offen.rbegin(); it != offen.rend(); ++it)
                m[it->first] = m[it->first] >> 8 == 255 ? it->second : m[it->first];
            offen.clear();
            gelöscht.remove(std::exchange(entfernt, 0));
        } else {
            Qk_Idmap_Speichern(z, z.GlobalPath);
        }
    }
    // Within a deletion, at a rewrite's read of a booking file (its second) and at a backup.
    void Im_Befehl(datei::Vorgang v, const QString& pfad) {
        std::lock_guard<std::mutex> g(mx);
        const bool sicherung = v == datei::Vorgang::Schreiben && pfad.endsWith("BOOKDATA.BAK");
        if (!befehl || !(sicherung || (v == datei::Vorgang::Lesen &&
                                       pfad.endsWith("BOOKDATA.NET") && ++lesungen[pfad] == 2)))
            return;
        const size_t h =
            std::hash<QString>()(pfad.section('/', -3)) ^ (sicherung ? 0x9e37u : 0u) ^ *befehl;
        const int d = pfad.section('/', -3, -3).right(1).toInt() * ORDNER +
                      pfad.section('/', -2, -2).right(5).toInt() - 1,
                  b = int(h / 3 % BOXEN);
        const quint16 neu = h % 3 ? 0 : Buchen_Oder_Freigeben(d, b, quint8(1 + h % 254));
        if (neu >> 8 == PLATZ || neu >> 8 == 255)
            berührt[d * BOXEN + b] = neu;
    }
    // A deletion of what `user` (0: everyone) has booked in m[von, bis).
    template <typename F> void Löschen(int von, int bis, quint8 user, bool entfernen, F tun) {
        std::vector<std::pair<int, quint16>> gelistet;
        for (int i = von; i < bis; ++i)
            if (m[i] >> 8 != 255 && (user == 0 || m[i] >> 8 == user))
                gelistet.push_back({i, m[i]});
        if (!entfernen && gelistet.empty())
            return; // the command stops at "no bookings": nothing changes
        if (entfernen || entfernt == 0)
            offen.clear();
        mx.lock();
        befehl = zufall();
        mx.unlock();
        tun();
        std::lock_guard<std::mutex> g(mx);
        for (const auto& [i, x] : gelistet)
            if (berührt.try_emplace(i, 0xffff).second)
                offen.push_back({i, x});
        for (const auto& [i, x] : std::exchange(berührt, {}))
            m[i] = x;
        befehl.reset();
        lesungen.clear();
    }
};

// Deletion of user 7 and undo over 40 index folders with faults at fixed ones: what is seen.
enum Störung { Ordner_Weg = 1, Unlesbar = 2, Sicherung = 4, Gebucht = 8 };
std::pair<QStringList, QStringList> Löschen_Und_Zurück(int gleichzeitig, int störung) {
    std::map<int, QByteArray> n;
    for (int i = 1; i <= 40; ++i)
        n[i] = Bookdata({{i % 7, 7, quint8(i)}, {20 + i % 11, 7, 3}, {60, quint8(i % 5 + 1), 1}});
    Bibliothek b(n);
    b.z.Gleichzeitig = gleichzeitig;
    std::atomic<int> lesungen10 = 0, lesungen5 = 0; // of the two BOOKDATA.NET
    datei::Fehlerhaken_Setzen([&](datei::Vorgang v, const QString& pfad) {
        const auto bei = [&](int s, datei::Vorgang w, const char* name) {
            return (störung & s) && v == w && pfad.endsWith(name);
        };
        if (bei(Ordner_Weg, datei::Vorgang::Lesen, "IDX00010/BOOKDATA.NET") && ++lesungen10 == 2) {
            QDir(b.lib + "IDX00010").removeRecursively();
            throw Fehler(FEHLER_PFAD, pfad);
        }
        if (bei(Unlesbar, datei::Vorgang::Lesen, "IDX00020/BOOKDATA.NET") ||
            bei(Sicherung, datei::Vorgang::Schreiben, "IDX00030/BOOKDATA.BAK"))
            throw Fehler(FEHLER_ZUGRIFF, pfad);
        // Between listing and rewrite a workstation books box 100; user 8 takes user 7's box 5.
        if (bei(Gebucht, datei::Vorgang::Lesen, "IDX00005/BOOKDATA.NET") && ++lesungen5 == 2)
            b.t.Datei("Lib/IDX00005/BOOKDATA.NET",
                      b.Netz(5).replace(100 * 16, 2, "\x09\x01").replace(5 * 16, 2, "\x08\x02"));
    });
    b.Löschen();
    LOG_Buchungen_Löschen(b.z);
    QStringList w;
    for (const BookdataEintrag& e : b.z.BookdataListe)
        w << Zeile(e.Index, e.BoxNr, e.UserID, e.RevNr);
    const auto zähler = [&](const Zustand& z) {
        w << Zeile(z.Anzahl_Buchungen, z.Anzahl_Dateien, z.Ordner_Nr, z.Dateien_Bearbeitet,
                   z.Datensätze_Geschrieben, z.Buchungen_Gelöscht, z.Summe_Buchungen,
                   z.Status_Schreiben, z.Status_Löschen);
    };
    zähler(b.z);
    w << QString::fromLatin1(b.Datei("_!bookdata.txt"));
    b.Rückgängig();
    LOG_Buchungen_Wiederherstellen(b.z);
    zähler(b.z);
    w << QString::fromLatin1(b.Datei("Bookdata.log")).replace(b.lib, "<lib>");
    for (int i = 1; i <= 40; ++i)
        w << QString::fromLatin1(b.Netz(i)) << QString::fromLatin1(b.Netz(i, ".BAK"));
    return {b.Meldungen(), w};
}

} // namespace

class TestFehlerBookdata : public QObject {
    Q_OBJECT
private slots:
    void faultWhileDeletingOrUndoing_data() {
        QTest::addColumn<int>("i");
        for (int i = 0; i < int(std::size(FÄLLE)); ++i)
            QTest::newRow(FÄLLE[i].first) << i;
    }
    void faultWhileDeletingOrUndoing() {
        QFETCH(int, i);
        const Fall& fall = FÄLLE[i].second;
        Bibliothek b({{1, fall.vorher}, {2, ZWEITE}});
        // Left by an earlier command: a failed deletion must not take them for its own.
        b.t.Datei("Lib/_!bookdata.txt", ALT);
        b.z.Status_Schreiben = b.z.Status_Löschen = "OK";
        const QStringList meldungen(fall.meldung.isEmpty() ? 0 : 1,
                                    fall.meldung + QString::number(fall.nummer));
        std::atomic<bool> gebucht = fall.phase != Beim_Sichern;
        // A step with the row's fault or booking where it strikes; false when it did not.
        const auto schritt = [&](Phase phase, const std::function<void()>& tun) {
            std::optional<test::Fehlerstelle> f;
            if (phase == fall.phase && !fall.stelle.isEmpty())
                f.emplace(fall.stelle, fall.nummer, fall.ab);
            else if (!gebucht)
                datei::Fehlerhaken_Setzen([&](datei::Vorgang v, const QString& pfad) {
                    if (v == datei::Vorgang::Schreiben && pfad.endsWith("IDX00001/BOOKDATA.BAK") &&
                        !gebucht.exchange(true))
                        b.t.Datei("Lib/IDX00001/BOOKDATA.NET", NEU);
                });
            tun();
            datei::Fehlerhaken_Setzen({});
            return gebucht && (!f || f->aufrufe > fall.ab);
        };
        const QByteArray jetzt = fall.phase == Beim_Sichern ? NEU : fall.vorher;
        QVERIFY(schritt(Löschen, [&] { b.Löschen(); }));
        QCOMPARE(b.Meldungen(), fall.phase == Löschen ? meldungen : QStringList());
        QByteArray gelöscht = jetzt;
        for (const int box : fall.frei)
            gelöscht.replace(box * 16, 2, "\xff\xff");
        QCOMPARE(b.Netz(1), gelöscht);
        const bool listeFehlt = fall.stelle == LISTE;
        QCOMPARE(b.Netz(2), listeFehlt ? ZWEITE : Freigegeben(ZWEITE, {1, 200}));
        QCOMPARE(b.Datei("_!bookdata.txt") == ALT, listeFehlt);
        QCOMPARE(Zeile(b.z.Buchungen_Gelöscht, b.z.Status_Löschen, b.z.Datensätze_Geschrieben * 16,
                       b.z.Dateien_Bearbeitet, b.z.Status_Schreiben),
                 fall.zustand);

        QVERIFY(schritt(Log, [&] { LOG_Buchungen_Löschen(b.z); }));
        const QStringList z = fall.zustand.split(' ');
        const QByteArray ende =
            fall.phase == Log ? "-" : BLOCKENDE.arg(z[0], z[1], z[2], z[3], z[4]).toLatin1();
        QCOMPARE(b.Datei("Bookdata.log").right(ende.size()), ende);

        QVERIFY(schritt(Rückgängig, [&] {
            if (fall.phase == Weg)
                QFile::remove(b.lib + "IDX00001/BOOKDATA.NET");
            if (fall.phase != Liste)
                return b.Rückgängig();
            b.t.Datei("Lib/_!bookdata.txt", fall.liste);
            Buchungen_In_Libraries_Wiederherstellen(b.z, {b.lib}, "mnu_Rückgängig");
        }));
        QCOMPARE(b.Meldungen(), meldungen);          // the log's too: Rückgängig() writes no log
        QCOMPARE(b.Netz(1, ".BAK"), fall.sicherung); // as the deletion left it
        if (fall.phase == Rückgängig) {
            QCOMPARE(b.z.Status_Löschen, QStringLiteral("Error")); // not the status of before
            QByteArray halb = gelöscht; // the start and each box are one call of the hook
            for (int k = 0; k + 1 < fall.ab; ++k)
                halb.replace(fall.frei[k] * 16, 2, jetzt.mid(fall.frei[k] * 16, 2));
            QCOMPARE(b.Netz(1), halb);
            b.Rückgängig();
            QCOMPARE(b.Meldungen(), meldungen);
        }
        const bool liste = fall.phase == Liste;
        QCOMPARE(b.Netz(1), liste ? fall.nachher : jetzt);
        QCOMPARE(b.Netz(2), liste ? Freigegeben(ZWEITE, {1, 200}) : ZWEITE);
        if (liste)
            QCOMPARE(b.Datei("_!bookdata.txt"), fall.liste);
        else // the list of the earlier command names a box whose backup is not there
            QCOMPARE(b.z.Status_Löschen, listeFehlt ? "Error" : "OK");
    }

    // Walks with folders in flight do what one at a time does, whatever fails (bits of Störung).
    void walkInFlightAsOneAtATime_data() {
        QTest::addColumn<int>("störung");
        for (const int störung : {0, 1, 2, 4, 8, 15})
            QTest::addRow("faults %d", störung) << störung;
    }
    void walkInFlightAsOneAtATime() {
        QFETCH(int, störung);
        const auto einzeln = Löschen_Und_Zurück(1, störung);
        QCOMPARE(einzeln.first.size(), qPopulationCount(quint32(störung & 7)));
        for (int gleichzeitig : {4, 32})
            QCOMPARE(Löschen_Und_Zurück(gleichzeitig, störung), einzeln);
    }

    void undoModel_data() {
        QTest::addColumn<unsigned>("seed");
        for (unsigned seed = 1; seed <= 7; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }
    void undoModel() {
        QFETCH(unsigned, seed);
        Undo_Modell modell(seed, seed == 7 ? 1 : 16); // the last one folder at a time
        for (int schritt = 0; schritt < 60; ++schritt) {
            modell.Schritt();
            QCOMPARE(modell.Stand(true), modell.Stand(false));
        }
    }
};

QTEST_GUILESS_MAIN(TestFehlerBookdata)
#include "test_fehler_bookdata.moc"
