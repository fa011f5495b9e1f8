// Faults while bookings are deleted and restored: no byte is lost, and the administrator is told.
#include "bibliothek.h"
#include "bookdata_bau.h"
#include "fehlerstelle.h"
#include "idmap/library_gang.h"

#include <QtTest>
#include <map>
#include <optional>

using namespace qk;
using namespace qk::test;

namespace {

const QByteArray ERSTE = Bookdata({{5, 7, 3}, {9, 7, 1}, {12, 8, 1}, {77, 7, 200}}),
                 ZWEITE = Bookdata({{1, 7, 4}, {200, 7, 9}}), ALT = "IDX00002\t3\t7\t1\r\n\r\n",
                 VORHER = Bookdata({{5, 7, 3}, {9, 7, 12}, {10, 8, 1}}),
                 GELÖSCHT = Freigegeben(VORHER, {5, 9}), NUR5 = Freigegeben(VORHER, {9}),
                 GANZ = "IDX00001\t5\t7\t3\r\nIDX00001\t9\t7\t12\r\n\r\n",
                 V = Bookdata({{3, 7, 1}, {62, 7, 2}, {255, 7, 3}}), KURZ = V.left(62 * 16 + 8),
                 ENDE = V.left(4095), LANG = V + QByteArray(100, '\x07');

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
    QStringList Meldungen() const { return p.Gezeigt(": ").replaceInStrings(lib, "<lib>"); }
};

// A fault where it strikes (before the undo, Weg: IDX00001's BOOKDATA.NET is lost, Liste: the
// undo list becomes `liste`); then IDX00001's boxes freed, "freed, deletion status, bytes written,
// files, write status" of the log block, IDX00001's backup and its bytes before (and after).
enum Phase { Löschen, Log, Rückgängig, Weg, Liste };
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
    // Two of the three freed records are in the file when the third fails: they stay free and
    // listed, the third too, which Undo then finds booked still.
    {"disk full in the middle of the rewrite",
     {Löschen, NET, SPEICHERN, VOLL, 3, {5, 9}, "4 Error 4096 2 Error"}},
    // No deletion without the means to undo it: nothing changes anywhere.
    {"undo list unwritable", {Löschen, LISTE, LÖSCHEN, VOLL, 0, {}, "0 Error 0 0 Error", "-"}},
    // The deletion itself stands and can be undone.
    {"log cannot be written", {Log, "Bookdata.log", LOG, VOLL, 0}},
    // What was put back before the fault stays back; once the fault is gone the same undo
    // brings every booking back.
    {"undo: read-only BOOKDATA.NET", {Rückgängig, NET, UNDO, ZUGRIFF, 0}},
    // Box 5 is back when box 9 fails: the list names what is left, which the next Undo brings.
    {"undo: disk full in the middle",
     {.phase = Rückgängig,
      .stelle = NET,
      .meldung = UNDO,
      .nummer = VOLL,
      .ab = 2,
      .nachher = Freigegeben(ERSTE, {9, 77})}},
    {"undo without BOOKDATA.NET", {Weg, {}, {}, 0, 0}},
    // A box cut short and bytes past box 255 are no bookings; the write status tells of them.
    {"cut short", {Löschen, {}, {}, 0, 0, {3}, "3 OK 5088 2 Error", KURZ, KURZ}},
    {"last box cut short", {Löschen, {}, {}, 0, 0, {3, 62}, "4 OK 8176 2 Error", ENDE, ENDE}},
    {"empty", {Löschen, {}, {}, 0, 0, {}, "2 OK 4096 1 OK", "-", ""}},
    {"longer", {Löschen, {}, {}, 0, 0, {3, 62, 255}, "5 OK 8192 2 OK", LANG, LANG}},
    // Each line of an undo list that can be read restores its box; one message counts the others.
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
        // A step with the row's fault where it strikes; false when it did not.
        const auto schritt = [&](Phase phase, const std::function<void()>& tun) {
            std::optional<test::Fehlerstelle> f;
            if (phase == fall.phase && !fall.stelle.isEmpty())
                f.emplace(fall.stelle, fall.nummer, fall.ab);
            tun();
            datei::Fehlerhaken_Setzen({});
            return !f || f->aufrufe > fall.ab;
        };
        const QByteArray& jetzt = fall.vorher;
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
            QCOMPARE(b.Netz(1), fall.nachher.isEmpty() ? gelöscht : fall.nachher);
            b.Rückgängig();
            QCOMPARE(b.Meldungen(), meldungen);
        }
        const bool liste = fall.phase == Liste;
        QCOMPARE(b.Netz(1), liste ? fall.nachher : jetzt);
        QCOMPARE(b.Netz(2), liste ? Freigegeben(ZWEITE, {1, 200}) : ZWEITE);
        // It names nothing more: every box it named is back or can never be. One that names
        // nothing readable is left alone.
        if (liste)
            QCOMPARE(b.Datei("_!bookdata.txt"), fall.nachher == GELÖSCHT ? fall.liste : "\r\n");
        else // the list of the earlier command names a box whose backup is not there
            QCOMPARE(b.z.Status_Löschen, listeFehlt ? "Error" : "OK");
    }
};

QTEST_GUILESS_MAIN(TestFehlerBookdata)
#include "test_fehler_bookdata.moc"
