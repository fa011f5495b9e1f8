#include "bookdata/bookdata.h"
#include "bookdata/bookdata_intern.h"

#include "bookdata/parallel.h"
#include "platform/ansi.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/routinen.h"
#include "shell/texte.h"

#include <algorithm>
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
    // One Library after the other, as few as they are: a list emptied while a later one fails
    // would lose the pending Undo there. The lists emptied so far get their bytes back.
    const QStringList libraries = z.LibListe;
    std::vector<std::pair<QString, QByteArray>> geleert;
    for (const QString& lib : libraries) {
        const QString pfad = Listenpfad(lib);
        try {
            const QByteArray alt = datei::Existiert(pfad) ? datei::Lesen(pfad) : QByteArray();
            datei::Ersetzen(pfad, Ansi(CRLF));
            geleert.emplace_back(pfad, alt);
        } catch (const Fehler& f) {
            // The pending Undo lives in these bytes: one failed write on a flaky share must not
            // lose it, and a loss is told.
            for (const auto& [p, alt] : geleert) {
                bool zurück = false;
                for (int versuch = 0; versuch < 3 && !zurück; ++versuch) {
                    try {
                        datei::Ersetzen(p, alt);
                        zurück = true;
                    } catch (const Fehler&) {
                    }
                }
                if (!zurück)
                    z.plattform.Meldung(LoadResString(1192) + CRLF + p,
                                        QStringLiteral("mnu_UserLöschen_Error"), Symbol::Stopp);
            }
            throw Fehler(f.Nummer(), pfad);
        }
    }
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
    z.Library_Verloren = false;
    const std::vector<BookdataEintrag>& liste = z.BookdataListe;
    const std::vector<intern::Listenordner> ordner = intern::Ordner_Der_Liste(liste);
    // What becomes of each entry of the list; entries of folders not tried stay to restore.
    std::vector<satz::Rückkehr> je(liste.size(), satz::Rückkehr::Offen);
    int fehler = 0;
    bool halt = false;
    // The walk goes on past a folder that fails: each folder restores only its own boxes, and
    // the list rewritten below names exactly what is left. It stops when the Library is gone.
    parallel::Geordnet<ordner::Zurückgeholt>(
        z.plattform, int(ordner.size()), z.Gleichzeitig,
        [&](int i) {
            const intern::Listenordner& o = ordner[size_t(i)];
            return ordner::Zurückholen(libPfad, o.index, o.boxen);
        },
        [&](int i, const ordner::Zurückgeholt& r) {
            const intern::Listenordner& o = ordner[size_t(i)];
            for (size_t k = 0; k < o.einträge.size(); ++k)
                je[o.einträge[k]] = r.je[k];
            z.Anzahl_Buchungen += r.zurück;
            z.Dateien_Bearbeitet += r.geschrieben ? 1 : 0;
            if (r.fehler != 0 && !halt) {
                if (!Ist_Library(libPfad))
                    halt = true;
                else if (fehler == 0)
                    fehler = r.fehler;
            }
            z.plattform.Ereignisse_Verarbeiten();
            return !halt;
        });

    std::vector<char> offen(liste.size(), 0);
    bool unmöglich = false;
    for (size_t i = 0; i < liste.size(); ++i) {
        offen[i] = je[i] == satz::Rückkehr::Offen && !liste[i].Index.isEmpty();
        unmöglich = unmöglich || je[i] == satz::Rückkehr::Nie;
    }
    const bool fertig = std::none_of(offen.begin(), offen.end(), [](char c) { return c != 0; });
    // The list is the journal of the next Undo: after every restore it names only what is still
    // to restore, so that a box a workstation released since is never booked again.
    int listenfehler = 0;
    if (!halt && Buchungen_Zählen(z) > 0) {
        try {
            intern::Undo_Liste_Schreiben(libPfad, {}, liste, &offen);
        } catch (const Fehler& f) {
            listenfehler = f.Nummer();
        }
    }
    if (halt) {
        Library_Verloren_Melden(z, QStringLiteral("cmd_Wiederherstellen"), libPfad,
                                QString::number(z.Anzahl_Buchungen) + LoadResString(1121) +
                                    QString::number(z.Dateien_Bearbeitet) + LoadResString(2076));
    } else if (fehler != 0 || listenfehler != 0) {
        Fehler_Melden(z.plattform, QStringLiteral("cmd_Wiederherstellen"),
                      QStringLiteral("Fehler beim Wiederherstellen."),
                      fehler != 0 ? fehler : listenfehler);
    }
    z.Status_Löschen = LoadResString(fertig && !unmöglich && fehler == 0 ? 2070 : 2071);
    return fertig && listenfehler == 0 && !halt;
}

} // namespace qk
