#include "bookdata/ordnerarbeit.h"

#include "bookdata/bookdata.h"
#include "bookdata/bookdata_intern.h"
#include "platform/dateien.h"
#include "platform/fehler.h"

#include <algorithm>
#include <optional>

namespace qk::ordner {
namespace {

// A name that is no index folder could lead anywhere, "..\" included.
void Name_Prüfen(const QString& index) {
    if (!Ist_Indexordner(index))
        throw Fehler(FEHLER_PFAD);
}

} // namespace

Gelesen Lesen(const QString& libPfad, const QString& index, quint8 filter) {
    Gelesen g;
    try {
        Name_Prüfen(index);
        const QByteArray inhalt =
            datei::Lesen(intern::Index_Datei(libPfad, index, intern::BOOKDATA_NET));
        g.anzahl = satz::Buchungen_Finden(inhalt, filter, g.treffer);
    } catch (const Fehler& f) {
        g.fehler = f.Nummer();
    }
    return g;
}

Umgeschrieben Umschreiben(const QString& libPfad, const QString& index,
                          const std::vector<satz::Box>& boxen) {
    Umgeschrieben u;
    try {
        Name_Prüfen(index);
        // Read and rewritten through one open.
        datei::Zugriff netz(intern::Index_Datei(libPfad, index, intern::BOOKDATA_NET));
        const QByteArray gelesen = netz.Lesen();
        QByteArray neu = gelesen;
        const std::vector<quint8> frei = satz::Gelistete_Freigeben(neu, boxen);

        // The backup is made from the very bytes that the rewrite starts from, and it must be
        // complete before the booking file is touched: when it fails, nothing else happens.
        datei::Überschreiben(intern::Index_Datei(libPfad, index, intern::BOOKDATA_BAK), gelesen);
        u.boxen = satz::Vollständige_Boxen(gelesen);

        // Workstations book and release boxes in this file at any moment, in place. Only the
        // user and revision bytes of the freed boxes are written, each only while it still
        // holds what was read, so that whatever a workstation did since the read stays.
        const std::vector<datei::Stelle> stellen = satz::Box_Stellen(gelesen, neu, frei, 2);
        const datei::Zugriff::Geschrieben g = netz.Stellen_Schreiben(stellen);
        for (const int i : g.stellen)
            u.freigegeben.push_back(quint8(stellen[size_t(i)].offset / satz::LÄNGE));
        u.sicher = int(g.stellen.size()) - (g.unsicher >= 0 ? 1 : 0);
        u.fehler = g.fehler;
    } catch (const Fehler& f) {
        u.fehler = f.Nummer();
    }
    return u;
}

Zurückgeholt Zurückholen(const QString& libPfad, const QString& index,
                         const std::vector<satz::Box>& boxen) {
    Zurückgeholt z;
    z.je.assign(boxen.size(), satz::Rückkehr::Offen);
    try {
        if (!Ist_Indexordner(index))
            throw Fehler(FEHLER_ARGUMENT);
        QByteArray sicherung;
        try {
            sicherung = datei::Lesen(intern::Index_Datei(libPfad, index, intern::BOOKDATA_BAK));
        } catch (const Fehler& f) {
            if (f.Nummer() != FEHLER_DATEI_NICHT_GEFUNDEN)
                throw;
            // The folder is there, its backup is not: nothing can bring these boxes back.
            z.je.assign(boxen.size(), satz::Rückkehr::Nie);
            return z;
        }
        const QString pfad = intern::Index_Datei(libPfad, index, intern::BOOKDATA_NET);
        std::optional<datei::Zugriff> netz;
        try {
            netz.emplace(pfad);
        } catch (const Fehler& f) {
            if (f.Nummer() != FEHLER_DATEI_NICHT_GEFUNDEN)
                throw;
        }
        if (!netz) {
            // A booking file lost since the deletion comes back whole from its backup.
            QByteArray aktuell = sicherung;
            const std::vector<satz::Rückkehr> je =
                satz::Boxen_Zurückholen(aktuell, sicherung, boxen);
            datei::Überschreiben(pfad, aktuell);
            z.je = je;
            z.geschrieben = true;
            // The file is new: every box it holds for the list is back by this restore, and
            // every booking in it is back on disk.
            for (satz::Rückkehr& r : z.je) {
                if (r == satz::Rückkehr::Schon_Da)
                    r = satz::Rückkehr::Wieder;
            }
            for (int box = 0; box < satz::BOXEN; ++box)
                z.zurück += satz::Gebucht(aktuell, box) ? 1 : 0;
            return z;
        }
        const QByteArray gelesen = netz->Lesen();
        QByteArray aktuell = gelesen;
        std::vector<satz::Rückkehr> je = satz::Boxen_Zurückholen(aktuell, sicherung, boxen);
        std::vector<quint8> zurück;
        for (size_t i = 0; i < boxen.size(); ++i) {
            if (je[i] == satz::Rückkehr::Wieder)
                zurück.push_back(boxen[i].nr);
        }
        // Whole boxes, each only while it is still free as read: a box that a workstation
        // booked since the read keeps that booking and cannot be put back.
        const std::vector<datei::Stelle> stellen =
            satz::Box_Stellen(gelesen, aktuell, zurück, satz::LÄNGE);
        const datei::Zugriff::Geschrieben g = netz->Stellen_Schreiben(stellen);
        // What became of each box that was to be put back, by its number.
        std::vector<satz::Rückkehr> box(satz::BOXEN, satz::Rückkehr::Nie);
        if (g.fehler != 0) {
            for (const datei::Stelle& s : stellen)
                box[size_t(s.offset / satz::LÄNGE)] = satz::Rückkehr::Offen;
        }
        for (const int i : g.stellen) {
            box[size_t(stellen[size_t(i)].offset / satz::LÄNGE)] =
                i == g.unsicher ? satz::Rückkehr::Offen : satz::Rückkehr::Wieder;
        }
        for (size_t i = 0; i < boxen.size(); ++i) {
            if (je[i] == satz::Rückkehr::Wieder)
                je[i] = box[boxen[i].nr];
        }
        z.je = std::move(je);
        z.zurück = int(std::count(z.je.begin(), z.je.end(), satz::Rückkehr::Wieder));
        z.geschrieben = z.zurück > 0;
        z.fehler = g.fehler;
    } catch (const Fehler& f) {
        z.fehler = f.Nummer();
    }
    return z;
}

} // namespace qk::ordner
