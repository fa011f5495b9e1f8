#include "bookdata/bookdata.h"
#include "bookdata/bookdata_intern.h"

#include "platform/ansi.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/texte.h"

namespace qk {
namespace {

enum class Block { Löschen, Wiederherstellen };

const QChar TAB = QLatin1Char('\t');

// Booking lines go to the file in parts of about this many characters: one append per line
// would open the file hundreds of thousands of times for a large deletion, and an unreachable
// folder would answer each line with a message of its own.
constexpr qsizetype TEIL_ZEICHEN = 64 * 1024;

QString Zahl(qint64 n) {
    return QString::number(n);
}

QString Kopf(Zustand& z, Block b) {
    const QDateTime jetzt = z.plattform.Jetzt();
    const QString user = Zahl(z.UserNr);
    QString k;
    k += LoadResString(3000) + CRLF;
    k += LoadResString(3001) + CRLF;
    k += LoadResString(3000) + CRLF;
    k += CRLF;
    k += LoadResString(200) + z.GlobalPath + CRLF;
    k += LoadResString(3002) + z.LibPath + CRLF;
    k += LoadResString(3003) + jetzt.date().toString(QStringLiteral("dd.MM.yyyy")) + TAB +
         jetzt.time().toString(QStringLiteral("HH:mm:ss")) + CRLF;
    k += (b == Block::Löschen ? LoadResString(3011) : QStringLiteral("Funktion: ")) +
         z.LogFunktion + CRLF;
    k += CRLF;
    k += CRLF;
    k += (b == Block::Löschen ? LoadResString(3004) + user + LoadResString(3005)
                              : LoadResString(3200) + user + LoadResString(3201)) +
         CRLF;
    k += CRLF;
    k += LoadResString(3006) + TAB + TAB + LoadResString(3007) + TAB + LoadResString(3008) + TAB +
         LoadResString(3009) + CRLF;
    k += LoadResString(3010) + CRLF;
    return k;
}

bool Buchungszeilen(Zustand& z) {
    QString teil;
    for (const BookdataEintrag& e : z.BookdataListe) {
        teil +=
            e.Index + TAB + Zahl(e.BoxNr) + TAB + Zahl(e.UserID) + TAB + TAB + Zahl(e.RevNr) + CRLF;
        if (teil.size() >= TEIL_ZEICHEN) {
            if (!LOG_Datei_Schreiben(z, z.LibPath, teil))
                return false;
            teil.clear();
            z.plattform.Ereignisse_Verarbeiten();
        }
    }
    return teil.isEmpty() || LOG_Datei_Schreiben(z, z.LibPath, teil);
}

QString Schluss(const Zustand& z, Block b) {
    const QString user = Zahl(z.UserNr);
    QString s = CRLF + CRLF;
    if (b == Block::Löschen) {
        s += LoadResString(3020) + user + LoadResString(3021) + CRLF;
        s += CRLF;
        s += LoadResString(3022) + Zahl(z.Buchungen_Gelöscht) + LoadResString(3023) + CRLF;
        s += LoadResString(3024) + z.Status_Löschen + CRLF;
        s += LoadResString(3025) + Zahl(qint64(z.Datensätze_Geschrieben) * satz::LÄNGE) +
             LoadResString(3026) + Zahl(z.Dateien_Bearbeitet) + LoadResString(3027) + CRLF;
        s += LoadResString(3024) + z.Status_Schreiben + CRLF;
    } else {
        s += LoadResString(3202) + user + LoadResString(3203) + CRLF;
        s += CRLF;
        s += LoadResString(3204) + Zahl(z.Anzahl_Buchungen) + LoadResString(3205) +
             Zahl(z.Dateien_Bearbeitet) + LoadResString(3206) + CRLF;
        s += LoadResString(3024) + z.Status_Löschen + CRLF;
    }
    return s + CRLF + CRLF;
}

// A log that cannot be written (a vanished Library, a full disk) is reported once per block,
// not once for each of its pieces.
void Block_Schreiben(Zustand& z, Block b) {
    if (!LOG_Datei_Schreiben(z, z.LibPath, Kopf(z, b)))
        return;
    const bool mitBuchungen = !z.BookdataListe.empty() && !z.BookdataListe.front().Index.isEmpty();
    if (mitBuchungen) {
        if (Buchungszeilen(z))
            LOG_Datei_Schreiben(z, z.LibPath, Schluss(z, b));
        return;
    }
    const QString user = Zahl(z.UserNr);
    if (!LOG_Datei_Schreiben(z, z.LibPath, LoadResString(3028) + user + LoadResString(3029)))
        return;
    LOG_Datei_Schreiben(z, z.LibPath,
                        CRLF + CRLF + LoadResString(3030) + user +
                            LoadResString(b == Block::Löschen ? 3031 : 3207) + CRLF + CRLF + CRLF);
}

} // namespace

bool LOG_Datei_Schreiben(Zustand& z, const QString& libPfad, const QString& text) {
    try {
        datei::Anhängen(libPfad + intern::LOG_DATEI, Ansi(text));
        return true;
    } catch (const Fehler& f) {
        if (f.Nummer() == FEHLER_PFAD) {
            z.plattform.Meldung(LoadResString(2100) + libPfad + LoadResString(2101),
                                QStringLiteral("LOG_Datei_Schreiben_Error"), Symbol::Ausruf);
        } else {
            Fehler_Melden(z.plattform, QStringLiteral("LOG_Datei_Schreiben"),
                          LoadResString(2102) + libPfad + LoadResString(2103), f.Nummer(),
                          LABEL_NR);
        }
        return false;
    }
}

void LOG_Buchungen_Löschen(Zustand& z) {
    try {
        Block_Schreiben(z, Block::Löschen);
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("LOG_Buchungen_Löschen"),
                      QStringLiteral("Fehler beim Schreiben von BOOKDATA.LOG."), f.Nummer());
    }
}

void LOG_Buchungen_Wiederherstellen(Zustand& z) {
    Block_Schreiben(z, Block::Wiederherstellen);
}

} // namespace qk
