// The fuzz bodies, one per reader of outside data, and their seeds. Message boxes are answered
// by the tests' platform (Cancel or No, every message kept).
#include "ziele.h"
#include "bookdata/bookdata.h"
#include "bookdata/datensaetze.h"
#include "bookdata_bau.h"
#include "config/libpaths.h"
#include "config/local_net.h"
#include "idmap/idmap_datei.h"
#include "idmap_bau.h"
#include "platform/ansi.h"
#include "platform/fehler.h"
#include "shell/routinen.h"
#include "shell/zahl.h"
#include "test_plattform.h"
#include "views/textzeilen.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <span>

namespace qk::fuzz {
namespace {

using namespace qk::satz;

// Reads an input piece by piece; past its end every piece is empty or zero.
struct Leser {
    const QByteArray& d;
    qsizetype pos = 0;
    quint8 Byte() { return pos < d.size() ? quint8(d[pos++]) : 0; }
    QByteArray Stueck(qsizetype n) {
        return d.mid(std::exchange(pos, std::min(d.size(), pos + n)), n);
    }
    QByteArray Rest() { return Stueck(d.size() - pos); }
};

// Arbitrary UTF-16 text from bytes (pairs in the machine's order), lone surrogates included.
QString Utf16_Text(const QByteArray& b) {
    return QString(reinterpret_cast<const QChar*>(b.constData()), b.size() / 2);
}

// QK_IDMAP.NET: any bytes give users whose fields fit, that a save writes back as they were
// read, and what the reader cannot take is kept whole. Input: a byte r, then the file; with r
// from 250 on, the file's first record stands r + 3 more times in front of it, so that small
// inputs reach maps of 256 records and more.
void Ziel_Idmap(const QByteArray& roh) {
    Leser l{roh};
    const int r = l.Byte();
    const QByteArray datei = l.Rest();
    const QByteArray eingabe = datei.left(IDMAP_SATZ).repeated(r >= 250 ? r + 3 : 0) + datei;
    const Idmap_Inhalt a = Idmap_Zerlegen(eingabe);
    QK_PRUEFEN(a.liste.size() <= IDMAP_MAX_SÄTZE);
    // A rest exists exactly when the reading stopped on a fault or after 256 records with more
    // to come, and it is the input's tail right behind the records that were taken.
    const bool voll = a.liste.size() == IDMAP_MAX_SÄTZE &&
                      eingabe.size() > IDMAP_MAX_SÄTZE * IDMAP_SATZ &&
                      eingabe[IDMAP_MAX_SÄTZE * IDMAP_SATZ] != 0;
    QK_PRUEFEN((a.fehler != 0 || voll) == !a.rest.isEmpty());
    QK_PRUEFEN(a.rest.isEmpty() || a.rest == eingabe.mid(a.liste.size() * IDMAP_SATZ));
    for (const IdmapEintrag& e : a.liste)
        QK_PRUEFEN(e.UserName.size() < IDMAP_FELD && e.PCName.size() < IDMAP_FELD &&
                   e.LocalPath.size() < IDMAP_FELD);
    // What a save writes reads back as the same users, the same fault and the same rest.
    const QByteArray gespeichert = Idmap_Bytes(a.liste);
    const Idmap_Inhalt b = Idmap_Zerlegen(gespeichert + a.rest);
    QK_PRUEFEN(b.fehler == a.fehler && b.rest == a.rest && Idmap_Bytes(b.liste) == gespeichert);
}

// The pieces written in place are whole boxes' first `länge` bytes, carry the old bytes for the
// comparison, and turn the old bytes into the new ones.
void Stellen_Prüfen(const QByteArray& alt, const QByteArray& neu, const std::vector<quint8>& boxen,
                    int länge) {
    QByteArray ergebnis = alt;
    for (const datei::Stelle& s : Box_Stellen(alt, neu, boxen, länge)) {
        QK_PRUEFEN(s.offset % LÄNGE == 0 && s.neu.size() == länge &&
                   alt.mid(s.offset, länge) == s.vorher);
        ergebnis.replace(s.offset, länge, s.neu);
    }
    QK_PRUEFEN(ergebnis == neu);
}

bool Hält(const QByteArray& d, const Box& b) {
    return b.user != FREI && b.nr < Vollständige_Boxen(d) && quint8(d[b.nr * LÄNGE]) == b.user &&
           quint8(d[b.nr * LÄNGE + 1]) == b.rev;
}

// Frees exactly the listed boxes that still hold their listed booking, and in them only the
// user and revision bytes.
QByteArray Freigeben_Prüfen(const QByteArray& alt, const std::vector<Box>& liste) {
    QByteArray neu = alt, soll = alt;
    std::vector<quint8> frei = Gelistete_Freigeben(neu, liste), soll_frei;
    for (const Box& x : liste) {
        if (Hält(alt, x) && std::ranges::count(soll_frei, x.nr) == 0) {
            soll_frei.push_back(x.nr);
            soll[x.nr * LÄNGE] = soll[x.nr * LÄNGE + 1] = char(FREI);
        }
    }
    std::ranges::sort(frei);
    std::ranges::sort(soll_frei);
    QK_PRUEFEN(neu == soll && frei == soll_frei);
    Stellen_Prüfen(alt, neu, frei, 2);
    return neu;
}

// Puts back exactly the named boxes that are whole and free in `vorher`: whole from the backup
// where it holds the named booking, the user and revision bytes alone where the backup has the
// box free; nothing else changes. The first entry of a box that can come back wins.
void Zurückholen_Prüfen(const QByteArray& vorher, const QByteArray& sicherung,
                        const std::vector<Box>& boxen) {
    QByteArray aktuell = vorher, soll = vorher;
    const std::vector<Rückkehr> r = Boxen_Zurückholen(aktuell, sicherung, boxen);
    std::vector<quint8> zurück;
    for (const Box& x : boxen) {
        const int a = x.nr * LÄNGE;
        if (x.user == FREI || std::ranges::count(zurück, x.nr) != 0 ||
            a + LÄNGE > std::min(vorher.size(), sicherung.size()) || Gebucht(vorher, x.nr) ||
            (Gebucht(sicherung, x.nr) && !Hält(sicherung, x)))
            continue;
        zurück.push_back(x.nr);
        if (Hält(sicherung, x))
            soll.replace(a, LÄNGE, sicherung.mid(a, LÄNGE));
        soll[a] = char(x.user);
        soll[a + 1] = char(x.rev);
    }
    QK_PRUEFEN(aktuell == soll && r.size() == boxen.size() &&
               std::ranges::count(r, Rückkehr::Wieder) == std::ssize(zurück));
    Stellen_Prüfen(vorher, aktuell, zurück, LÄNGE);
}

// BOOKDATA.NET of any length and content: freeing and putting back boxes touch only the bytes
// they own, and the pieces written in place carry exactly that change. Input: the user to
// delete, a count and that many bookings (box, user) that a workstation makes between the
// listing and the rewrite, a count and that many it makes after the deletion, then the file.
void Ziel_Bookdata(const QByteArray& eingabe) {
    Leser l{eingabe};
    const quint8 user = l.Byte();
    const QByteArray vorher = l.Stueck(2 * l.Byte());
    const QByteArray nachher = l.Stueck(2 * l.Byte());
    const QByteArray datei = l.Rest();
    const auto buchen = [](QByteArray d, const QByteArray& buchungen) {
        for (qsizetype i = 0; i + 1 < buchungen.size(); i += 2) {
            if ((quint8(buchungen[i]) + 1) * LÄNGE <= d.size())
                d[quint8(buchungen[i]) * LÄNGE] = buchungen[i + 1];
        }
        return d;
    };
    Trefferliste treffer;
    std::vector<Box> liste;
    for (const Treffer& t :
         std::span(treffer.data(), size_t(Buchungen_Finden(datei, user, treffer))))
        liste.push_back({t.BoxNr, t.UserID, t.RevNr});
    const QByteArray gesichert = buchen(datei, vorher);
    const QByteArray gelöscht = buchen(Freigeben_Prüfen(gesichert, liste), nachher);
    Zurückholen_Prüfen(gelöscht, gesichert, liste);
    // A backup of another length than the file (a file cut short or grown since).
    Zurückholen_Prüfen(gelöscht, gesichert.left(gesichert.size() / 2), liste);
}

// The undo list "_!bookdata.txt": any content gives entries that name index folders and that
// the writer puts back so that they read the same and whole.
void Ziel_Rueckgaengig(const QByteArray& eingabe) {
    static const QTemporaryDir dir;
    const QString lib = dir.path() + QLatin1Char('/');
    datei::Schreiben(lib + QStringLiteral("_!bookdata.txt"), eingabe);
    test::TestPlattform p;
    Zustand z(p);
    QK_PRUEFEN(Rückgängig_Liste_Lesen(z, lib) >= 0 && !z.BookdataListe.empty());
    const std::vector<BookdataEintrag> gelesen = z.BookdataListe;
    if (gelesen.size() == 1 && gelesen[0].Index.isEmpty())
        return;
    for (const BookdataEintrag& e : gelesen)
        QK_PRUEFEN(Ist_Indexordner(e.Index));
    Rückgängig_Liste_Schreiben(z, lib);
    QK_PRUEFEN(Rückgängig_Liste_Lesen(z, lib) == 0);
    QK_PRUEFEN(std::ranges::equal(z.BookdataListe, gelesen, [](const auto& a, const auto& b) {
        return a.Index == b.Index && a.BoxNr == b.BoxNr && a.UserID == b.UserID &&
               a.RevNr == b.RevNr;
    }));
}

// QK_LIBPATHS.TXT: any content gives Libraries that the writer puts back so that they read the
// same; a file without a single Library leaves the list as it was.
void Ziel_Libpaths(const QByteArray& eingabe) {
    static const QTemporaryDir dir;
    const QString global = dir.path() + QLatin1Char('/');
    datei::Schreiben(global + LIBPATHS_DATEI, eingabe);
    test::TestPlattform p;
    Zustand z(p);
    z.GlobalPath = global;
    const QStringList vorher{QStringLiteral("/vorher/")};
    z.LibListe = vorher;
    LibPaths_Einlesen(z);
    QK_PRUEFEN(!z.LibListe.isEmpty());
    for (const QString& e : z.LibListe)
        QK_PRUEFEN(!e.trimmed().isEmpty() &&
                   (e.endsWith(QLatin1Char('\\')) || e.endsWith(QLatin1Char('/'))));
    const QStringList gelesen = z.LibListe;
    QK_PRUEFEN(Datei_LibPath_Schreiben(z, global));
    z.LibListe = vorher;
    LibPaths_Einlesen(z);
    QK_PRUEFEN(z.LibListe == gelesen);
}

// The log viewer's lines: any bytes split into lines that read back as the text, whose columns
// and characters map onto each other, and whose pieces do not depend on the order of places.
// Input: two places (line and character, a byte each) for a piece of the text, then the text.
void Ziel_Textzeilen(const QByteArray& eingabe) {
    using T = Textzeilen;
    Leser l{eingabe};
    const Textstelle a{l.Byte(), l.Byte()}, b{l.Byte(), l.Byte()};
    const QByteArray roh = l.Rest();
    const T t(roh);
    QString ganz;
    int breite = 0;
    for (qsizetype i = 0; i < t.Anzahl(); ++i) {
        const QByteArray zeile = t.Roh(i);
        QK_PRUEFEN(!zeile.contains('\r') && !zeile.contains('\n') && t.Länge(i) == zeile.size() &&
                   t.Zeile(i) == Von_Ansi(zeile));
        ganz += t.Zeile(i) + QStringLiteral("\r\n");
        const int spalten = T::Spalte(zeile, zeile.size());
        breite = std::max(breite, spalten);
        const QString anzeige = T::Anzeigetext(t.Zeile(i));
        QK_PRUEFEN(anzeige.size() == spalten && !anzeige.contains(QLatin1Char('\t')));
        // Columns and characters map onto each other (the first 64 characters suffice).
        for (qsizetype k = 0; k <= std::min<qsizetype>(zeile.size(), 64); ++k)
            QK_PRUEFEN(T::Zeichen(zeile, T::Spalte(zeile, k)) == k);
    }
    // Every line end as CR LF, a last line without one given one: the same lines.
    QByteArray erwartet = roh;
    erwartet.replace("\r\n", "\n").replace('\r', '\n');
    if (!erwartet.isEmpty() && !erwartet.endsWith('\n'))
        erwartet += '\n';
    QK_PRUEFEN(ganz == Von_Ansi(erwartet.replace("\n", "\r\n")) && t.Text() == ganz);
    QK_PRUEFEN(t.Breite() == breite && t.Länge(t.Anzahl()) == 0);
    QK_PRUEFEN(t.Ausschnitt({0, 0}, {t.Anzahl(), 0}) == ganz && t.Ausschnitt(a, a).isEmpty());
    QK_PRUEFEN(t.Ausschnitt(a, b) == t.Ausschnitt(b, a));
}

// Windows-1252: every byte reads as one character and writes back as the same byte; every
// character writes as one byte, itself or '?'.
void Ziel_Ansi(const QByteArray& eingabe) {
    const QString gelesen = Von_Ansi(eingabe);
    QK_PRUEFEN(gelesen.size() == eingabe.size() && Ansi(gelesen) == eingabe);
    const QString text = Utf16_Text(eingabe);
    const QByteArray bytes = Ansi(text);
    QK_PRUEFEN(bytes.size() == text.size());
    const QString zurück = Von_Ansi(bytes);
    for (qsizetype i = 0; i < text.size(); ++i)
        QK_PRUEFEN(zurück[i] == text[i] || bytes[i] == '?');
}

// The typed index number, read as Windows-1252 and as any UTF-16: nothing but an index folder
// of the digits typed reaches a path.
void Ziel_Indexname(const QByteArray& eingabe) {
    for (const QString& text : {Von_Ansi(eingabe), Utf16_Text(eingabe)}) {
        test::TestPlattform p;
        Zustand z(p);
        const bool ziffer =
            !text.isEmpty() && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('9');
        QString name;
        try {
            name = Index_Ordnername(z, text);
        } catch (const Fehler& f) {
            QK_PRUEFEN(f.Nummer() == FEHLER_TYP && !ziffer && p.meldungen.isEmpty());
            continue;
        }
        // The digits typed are the name's last digits, zeros filled in front.
        QK_PRUEFEN(ziffer && (name.isEmpty() ? p.meldungen.size() == 1
                                             : Ist_Indexordner(name) && name.endsWith(text) &&
                                                   p.meldungen.isEmpty()));
    }
}

// The login marker numbers and the typed User-ID with the paths of QK_LOCAL.NET: no text gives
// a number or a path that does not fit where it goes. Input: the number's text, a NUL, the
// Global Directory, a NUL, the local directory.
void Ziel_Zahlen(const QByteArray& eingabe) {
    const QList<QByteArray> t = eingabe.split('\0');
    const QString text = Von_Ansi(t.value(0)), global = Von_Ansi(t.value(1)),
                  lokal = Von_Ansi(t.value(2));
    // Rounding moves a number by a half at most (and a NaN fails here too).
    const double zahl = Zahl_Lesen(text);
    QK_PRUEFEN(std::isinf(zahl) || std::abs(Runden_Gerade(zahl) - zahl) <= 0.5);
    if (!Local_Eingabe_Prüfen(text, global, lokal).isEmpty())
        return;
    // Accepted input fits the file: the number its one byte, each path its field with a NUL.
    const double nummer = UserNummer_Lesen(text);
    QK_PRUEFEN(nummer >= 1 && nummer <= 254 && quint8(nummer) == nummer);
    const QByteArray inhalt = Local_Inhalt(quint8(nummer), global, lokal);
    QK_PRUEFEN(inhalt.size() == LOCAL_GROESSE);
    QK_PRUEFEN(inhalt.mid(1, LOCAL_FELD).startsWith(Ansi(global) + '\0'));
    QK_PRUEFEN(inhalt.mid(2 + LOCAL_FELD).startsWith(Ansi(lokal) + '\0'));
}

// The bytes of a UTF-16 text, for the bodies that read any UTF-16.
QByteArray Utf16_Bytes(const QString& text) {
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

using Saat = std::vector<QByteArray>;

} // namespace

const std::vector<Zielangabe>& Alle_Ziele() {
    static const std::vector<Zielangabe> ziele = [] {
        using test::Idmap_Satz;
        const QByteArray karte = Idmap_Satz(1, "ANNA", "PC01", "C:\\CAD\\") +
                                 Idmap_Satz(4, "  ERNA  ", "\tPC\t", " D:\\x y\\ ") +
                                 Idmap_Satz(254, "J\xFCrgen \x80\x81\x9F", QByteArray(259, 'x'));
        const QByteArray k(1, '\0'), kopf7("\x07\x01\x09\x08\x02\x05\x08\x0A\x01", 9),
            drei = test::Bookdata({{5, 7, 3}, {9, 7, 12}, {10, 8, 1}}), kopf("\x00\x02\x03\x05", 4);
        QByteArray alle(256, '\0');
        std::iota(alle.begin(), alle.end(), char(0));
        Saat zahlen{QByteArray(400, '9'), QByteArray("7\0\0", 3) + QByteArray(300, 'x')};
        for (const char* zahl :
             {"7", "\t 254", "255", "1e3", "-0.5", "+2.5E+0", "5e", ".5", "-1e400", "abc"})
            zahlen.push_back(zahl + QByteArray("\0C:\\Global\\\0C:\\CAD\\", 19));
        return std::vector<Zielangabe>{
            // Cut short, a field without its NUL; 256 records, then the end or a terminator; 257.
            {"idmap", Ziel_Idmap,
             Saat{QByteArray(), k + karte + k + "garbage behind the end",
                  k + karte.left(IDMAP_SATZ + 500),
                  k + karte.left(IDMAP_SATZ) +
                      Idmap_Satz(2, "").replace(1, 260, QByteArray(260, 'y')),
                  char(251) + karte.left(2 * IDMAP_SATZ), char(250) + karte + k,
                  char(252) + karte.left(2 * IDMAP_SATZ)}},
            // Last: everyone's bookings freed; the first box taken by user 3 before the rewrite.
            {"bookdata", Ziel_Bookdata,
             Saat{kopf7 + drei, kopf7 + drei.left(170), kopf7 + drei + QByteArray(100, '\x07'),
                  QByteArray("\x00\x01\x00\x03\x00", 5) +
                      test::Bookdata({{0, 0, 1}, {128, 7, 2}, {255, 9, 3}})}},
            {"rueckgaengig", Ziel_Rueckgaengig,
             Saat{"IDX00012\t5\t7\t3\r\nIDX00012\t9\t7\t12\r\n\r\n", "\r\n",
                  " idx00012 \t 200 \t0\t 4 \rIDX00013\t0\t7\t255\n\nIDX00014\t1\t7\t1\n",
                  "IDX00012\t256\t7\t3\r\nIDX00013\t1\t7\t1\r\n", "IDX00012\t5\t7\t-3\r\n",
                  "..\\..\\x\t5\t7\t3\r\n", "IDX00012\r\n", "IDX00012\t\t\t\r\n", "IDX00012\t5"}},
            {"libpaths", Ziel_Libpaths,
             Saat{"C:\\Lib1\\\r\n\r\n   \r\n\\\\server\\share\\lib\r\n", "/srv/lib1/\n/srv/lib2",
                  "\r\r\r", "\t\r\n\xA0\r\nC:\\Bibliothek \xC4\xD6\xDC \x80\\\r\n"}},
            {"textzeilen", Ziel_Textzeilen,
             Saat{kopf + "a\rb\nc\r\nd", kopf + "\r\n\r\n\n\r\r",
                  kopf + "\t\t\tx\ty\tJ\xFCrgen \x80\x81\x8D" + QByteArray(70, 'x'),
                  QByteArray("\xFF\xFF\x00\x00", 4) + "eins\r\nzwei\r\n"}},
            {"ansi", Ziel_Ansi,
             Saat{alle, Utf16_Bytes(QStringLiteral("Jürgen € – “quoted” ™ ſ 漢 \U0001F600"))}},
            {"indexname", Ziel_Indexname,
             Saat{"", "-1", " 1", "12", "00012", "0012", "123456", "12a", "\xB2",
                  Utf16_Bytes(QStringLiteral("\u0661\u0662"))}},
            {"zahlen", Ziel_Zahlen, zahlen}};
    }();
    return ziele;
}

} // namespace qk::fuzz
