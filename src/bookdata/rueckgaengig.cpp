#include "bookdata/bookdata.h"
#include "bookdata/bookdata_intern.h"

#include "bookdata/parallel.h"
#include "platform/ansi.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/routinen.h"
#include "shell/texte.h"

#include <optional>

namespace qk {
namespace {

const QChar TAB = QLatin1Char('\t');

// A number of the undo list: decimal digits, 0 to 255, blanks around allowed.
quint8 Byte_Zahl(const QString& feld) {
    const QString text = Blanks_Entfernen(feld);
    if (text.isEmpty())
        throw Fehler(FEHLER_TYP);
    int wert = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            throw Fehler(FEHLER_TYP);
        wert = wert * 10 + (c.unicode() - '0');
        if (wert > 255)
            throw Fehler(FEHLER_UEBERLAUF);
    }
    return quint8(wert);
}

// One line: index folder, TAB, box, TAB, user, TAB, revision; nothing for a damaged line.
std::optional<BookdataEintrag> Zeile_Lesen(const QString& zeile) {
    const QStringList felder = zeile.split(TAB);
    if (felder.size() < 4)
        return std::nullopt;
    try {
        BookdataEintrag e;
        e.Index = Feld_Lesen(zeile, TAB);
        // The name becomes a path: anything but an index folder is refused.
        if (!Ist_Indexordner(e.Index))
            return std::nullopt;
        e.BoxNr = Byte_Zahl(felder[1]);
        e.UserID = Byte_Zahl(felder[2]);
        e.RevNr = Byte_Zahl(felder.back());
        return e;
    } catch (const Fehler&) {
        return std::nullopt;
    }
}

QString Listenpfad(const QString& libPfad) {
    return libPfad + intern::RÜCKGÄNGIG_LISTE;
}

} // namespace

QString Feld_Lesen(const QString& text, QChar trenner) {
    const qsizetype stelle = text.indexOf(trenner);
    return Blanks_Entfernen(stelle < 0 ? text : text.left(stelle));
}

namespace intern {

void Undo_Liste_Schreiben(const QString& libPfad, const QByteArray& davor,
                          const std::vector<BookdataEintrag>& liste,
                          const std::vector<char>* frei) {
    QString text;
    for (size_t i = 0; i < liste.size(); ++i) {
        const BookdataEintrag& e = liste[i];
        if (e.Index.isEmpty() || (frei != nullptr && !(*frei)[i]))
            continue;
        text += e.Index + TAB + QString::number(e.BoxNr) + TAB + QString::number(e.UserID) + TAB +
                QString::number(e.RevNr) + CRLF;
    }
    text += CRLF;
    datei::Ersetzen(Listenpfad(libPfad), davor + Ansi(text));
}

QByteArray Undo_Liste_Zeilen(const QString& libPfad) {
    const QString pfad = Listenpfad(libPfad);
    if (!datei::Existiert(pfad))
        return {};
    const QByteArray inhalt = datei::Lesen(pfad);
    QByteArray zeilen;
    qsizetype anfang = 0;
    while (anfang < inhalt.size()) {
        qsizetype ende = anfang;
        while (ende < inhalt.size() && inhalt[ende] != '\r' && inhalt[ende] != '\n')
            ++ende;
        if (ende == anfang)
            break; // the first empty line ends the list
        zeilen += inhalt.mid(anfang, ende - anfang) + "\r\n";
        if (ende + 1 < inhalt.size() && inhalt[ende] == '\r' && inhalt[ende + 1] == '\n')
            ++ende;
        anfang = ende + 1;
    }
    return zeilen;
}

} // namespace intern

void Rückgängig_Liste_Schreiben(Zustand& z, const QString& libPfad) {
    intern::Undo_Liste_Schreiben(libPfad, {}, z.BookdataListe);
}

void Rückgängig_Listen_Leeren(Zustand& z) {
    const QStringList libraries = z.LibListe;
    int fehler = 0;
    QString wo;
    parallel::Geordnet<int>(
        z.plattform, int(libraries.size()), z.Gleichzeitig,
        [&](int i) {
            try {
                datei::Ersetzen(Listenpfad(libraries[i]), Ansi(CRLF));
                return 0;
            } catch (const Fehler& f) {
                return f.Nummer();
            }
        },
        [&](int i, int nummer) {
            fehler = nummer;
            wo = libraries[i];
            return nummer == 0;
        });
    if (fehler != 0)
        throw Fehler(fehler, Listenpfad(wo));
}

int Rückgängig_Liste_Lesen(Zustand& z, const QString& libPfad) {
    // The blank list; Anzahl_Einträge stays, it counts what the readers appended.
    std::vector<BookdataEintrag>(1).swap(z.BookdataListe);
    const QString pfad = Listenpfad(libPfad);
    if (!datei::Existiert(pfad))
        return 0;
    const QStringList zeilen = datei::Zeilen_Lesen(pfad);
    std::vector<BookdataEintrag> liste;
    int beschädigt = 0;
    for (const QString& zeile : zeilen) {
        if (zeile.isEmpty())
            break;
        std::optional<BookdataEintrag> e = Zeile_Lesen(zeile);
        if (!e) {
            ++beschädigt;
            continue;
        }
        if (!liste.empty() && liste.back().Index == e->Index)
            e->Index = liste.back().Index; // one text for the entries of one folder
        liste.push_back(std::move(*e));
        // A removal over a large Library lists hundreds of thousands of boxes.
        if (liste.size() % 4096 == 0)
            z.plattform.Ereignisse_Verarbeiten();
    }
    if (!liste.empty())
        z.BookdataListe.swap(liste);
    return beschädigt;
}

bool cmd_Wiederherstellen(Zustand& z, const QString& libPfad) {
    z.Dateien_Bearbeitet = 0;
    z.Anzahl_Buchungen = 0;
    const std::vector<intern::Listenordner> ordner = intern::Ordner_Der_Liste(z.BookdataListe);
    int nichtZurück = 0;
    int fehler = 0;
    parallel::Geordnet<ordner::Zurückgeholt>(
        z.plattform, int(ordner.size()), z.Gleichzeitig,
        [&](int i) {
            const intern::Listenordner& o = ordner[size_t(i)];
            return ordner::Zurückholen(libPfad, o.index, o.boxen);
        },
        [&](int i, const ordner::Zurückgeholt& r) {
            z.Dateien_Bearbeitet += ordner[size_t(i)].gruppen;
            fehler = r.fehler;
            nichtZurück += r.nicht_möglich;
            z.plattform.Ereignisse_Verarbeiten();
            return fehler == 0;
        });
    if (fehler != 0) {
        Fehler_Melden(z.plattform, QStringLiteral("cmd_Wiederherstellen"),
                      QStringLiteral("Fehler beim Wiederherstellen."), fehler);
        // What the restore block says must not be the status of an earlier command.
        z.Status_Löschen = LoadResString(2071);
        return false;
    }
    z.Anzahl_Buchungen = Buchungen_Zählen(z);
    z.Status_Löschen = LoadResString(nichtZurück == 0 ? 2070 : 2071);
    return true;
}

} // namespace qk
