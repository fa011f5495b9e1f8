#include "bookdata/bookdata.h"
#include "bookdata/bookdata_intern.h"

#include "platform/ansi.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/routinen.h"
#include "shell/texte.h"

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

// One line: index folder, TAB, box, TAB, user, TAB, revision. The user is not read: the
// bookings belong to the user the undo is for.
BookdataEintrag Zeile_Lesen(const QString& zeile, quint8 userNr) {
    const qsizetype tab = zeile.indexOf(TAB);
    if (tab < 0)
        throw Fehler(FEHLER_TYP);
    BookdataEintrag e;
    e.Index = Feld_Lesen(zeile, TAB);
    // The name becomes a path: anything but an index folder is refused.
    if (!Ist_Indexordner(e.Index))
        throw Fehler(FEHLER_ARGUMENT);
    e.BoxNr = Byte_Zahl(Feld_Lesen(zeile.mid(tab + 1), TAB));
    e.UserID = userNr;
    e.RevNr = Byte_Zahl(zeile.mid(zeile.lastIndexOf(TAB) + 1));
    return e;
}

QString Listenpfad(const QString& libPfad) {
    return libPfad + intern::RÜCKGÄNGIG_LISTE;
}

} // namespace

QString Feld_Lesen(const QString& text, QChar trenner) {
    const qsizetype stelle = text.indexOf(trenner);
    return Blanks_Entfernen(stelle < 0 ? text : text.left(stelle));
}

void Rückgängig_Liste_Schreiben(Zustand& z, const QString& libPfad) {
    QString text;
    for (const BookdataEintrag& e : z.BookdataListe) {
        if (e.Index.isEmpty())
            continue;
        text += e.Index + TAB + QString::number(e.BoxNr) + TAB + QString::number(e.UserID) + TAB +
                QString::number(e.RevNr) + CRLF;
    }
    text += CRLF;
    datei::Ersetzen(Listenpfad(libPfad), Ansi(text));
}

void Rückgängig_Listen_Leeren(Zustand& z) {
    for (const QString& lib : z.LibListe)
        datei::Ersetzen(Listenpfad(lib), Ansi(CRLF));
}

void Rückgängig_Liste_Lesen(Zustand& z, const QString& libPfad) {
    // The blank list; Anzahl_Einträge stays, it counts what the readers appended.
    std::vector<BookdataEintrag>(1).swap(z.BookdataListe);
    const QString pfad = Listenpfad(libPfad);
    if (!datei::Existiert(pfad))
        return;
    const QStringList zeilen = datei::Zeilen_Lesen(pfad);
    // Built apart and taken over only whole: a list that breaks off restores nothing.
    std::vector<BookdataEintrag> liste;
    for (const QString& zeile : zeilen) {
        if (zeile.isEmpty())
            break;
        BookdataEintrag e = Zeile_Lesen(zeile, z.UserNr);
        if (!liste.empty() && liste.back().Index == e.Index)
            e.Index = liste.back().Index; // one text for the entries of one folder
        liste.push_back(std::move(e));
        // A removal over a large Library lists hundreds of thousands of boxes.
        if (liste.size() % 4096 == 0)
            z.plattform.Ereignisse_Verarbeiten();
    }
    if (!liste.empty())
        z.BookdataListe.swap(liste);
}

int Bookdata_Zurückkopieren(const QString& libPfad, const QString& index,
                            const std::vector<quint8>& boxen) {
    if (!Ist_Indexordner(index))
        throw Fehler(FEHLER_ARGUMENT);
    const QString sicherung = intern::Index_Datei(libPfad, index, intern::BOOKDATA_BAK);
    if (!datei::Existiert(sicherung))
        return int(boxen.size());
    const QString netz = intern::Index_Datei(libPfad, index, intern::BOOKDATA_NET);
    const QByteArray alt = datei::Lesen(sicherung);
    const QByteArray gelesen = datei::Lesen(netz);
    QByteArray aktuell = gelesen;
    const satz::Rückholung r = satz::Boxen_Zurückholen(aktuell, alt, boxen);
    if (r.zurückgeholt == 0)
        return r.nicht_möglich;
    // Only the boxes put back, and each only while it is still free: a box that a workstation
    // booked since the read keeps that booking (and counts as not put back).
    const int geschrieben = datei::Stellen_Schreiben(netz, satz::Änderungen(gelesen, aktuell));
    return r.nicht_möglich + (r.zurückgeholt - geschrieben);
}

bool cmd_Wiederherstellen(Zustand& z, const QString& libPfad) {
    try {
        z.Dateien_Bearbeitet = 0;
        z.Anzahl_Buchungen = 0;
        int nichtZurück = 0;
        const std::vector<BookdataEintrag>& liste = z.BookdataListe;
        size_t i = 0;
        while (i < liste.size()) {
            const QString index = liste[i].Index;
            std::vector<quint8> boxen;
            for (; i < liste.size() && liste[i].Index == index; ++i)
                boxen.push_back(liste[i].BoxNr);
            if (index.isEmpty())
                continue; // the blank list names no folder
            ++z.Dateien_Bearbeitet;
            nichtZurück += Bookdata_Zurückkopieren(libPfad, index, boxen);
            z.plattform.Ereignisse_Verarbeiten();
        }
        z.Anzahl_Buchungen = Buchungen_Zählen(z);
        z.Status_Löschen = LoadResString(nichtZurück == 0 ? 2070 : 2071);
        return true;
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("cmd_Wiederherstellen"),
                      QStringLiteral("Fehler beim Wiederherstellen."), f.Nummer());
        return false;
    }
}

} // namespace qk
