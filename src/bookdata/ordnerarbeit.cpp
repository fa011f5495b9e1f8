#include "bookdata/ordnerarbeit.h"

#include "bookdata/bookdata.h"
#include "bookdata/bookdata_intern.h"
#include "platform/dateien.h"
#include "platform/fehler.h"

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
        satz::Gelistete_Freigeben(neu, boxen);

        // The backup is made from the very bytes that the rewrite starts from, and it must be
        // complete before the booking file is touched: when it fails, nothing else happens.
        datei::Überschreiben(intern::Index_Datei(libPfad, index, intern::BOOKDATA_BAK), gelesen);

        // Workstations book and release boxes in this file at any moment, in place. Only the
        // freed records are written, each only while it still holds what was read, so that
        // whatever a workstation did since the read stays. After a failure the boxes freed
        // so far stay free and are reported all the same: the undo list must name them.
        const std::vector<datei::Stelle> stellen = satz::Änderungen(gelesen, neu);
        const datei::Geschrieben g = netz.Stellen_Schreiben(stellen);
        for (const int i : g.stellen)
            u.freigegeben.push_back(quint8(stellen[size_t(i)].offset / satz::LÄNGE));
        if (g.fehler != 0)
            throw Fehler(g.fehler);
        u.boxen = satz::Vollständige_Boxen(gelesen);
    } catch (const Fehler& f) {
        u.fehler = f.Nummer();
    }
    return u;
}

Zurückgeholt Zurückholen(const QString& libPfad, const QString& index,
                         const std::vector<satz::Box>& boxen) {
    Zurückgeholt z;
    try {
        if (!Ist_Indexordner(index))
            throw Fehler(FEHLER_ARGUMENT);
        QByteArray sicherung;
        try {
            sicherung = datei::Lesen(intern::Index_Datei(libPfad, index, intern::BOOKDATA_BAK));
        } catch (const Fehler& f) {
            if (f.Nummer() != FEHLER_DATEI_NICHT_GEFUNDEN)
                throw;
            z.nicht_möglich = int(boxen.size()); // no backup to take them from
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
            z.nicht_möglich = satz::Boxen_Zurückholen(aktuell, sicherung, boxen).nicht_möglich;
            datei::Überschreiben(pfad, aktuell);
            return z;
        }
        const QByteArray gelesen = netz->Lesen();
        QByteArray aktuell = gelesen;
        const satz::Rückholung r = satz::Boxen_Zurückholen(aktuell, sicherung, boxen);
        z.nicht_möglich = r.nicht_möglich;
        if (r.zurückgeholt > 0) {
            // Only the boxes put back, and each only while it is still free: a box that a
            // workstation booked since the read keeps that booking (and counts as not put back).
            // A failure leaves the boxes put back so far in place: the undo list still names
            // them, and the next Undo counts them as back already.
            const datei::Geschrieben g =
                netz->Stellen_Schreiben(satz::Änderungen(gelesen, aktuell));
            if (g.fehler != 0)
                throw Fehler(g.fehler);
            z.nicht_möglich += r.zurückgeholt - int(g.stellen.size());
        }
    } catch (const Fehler& f) {
        z.fehler = f.Nummer();
    }
    return z;
}

} // namespace qk::ordner
