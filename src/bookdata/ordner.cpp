#include "bookdata/bookdata.h"
#include "bookdata/bookdata_intern.h"

#include "bookdata/parallel.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/texte.h"

#include <QHash>
#include <QStringBuilder>
#include <utility>

namespace qk {
namespace intern {

bool Zählt_Als_Indexordner(const QString& name) {
    return Ist_Indexordner(name) && name.compare(QLatin1String("IDX00000"), Qt::CaseInsensitive);
}

std::vector<Listenordner> Ordner_Der_Liste(const std::vector<BookdataEintrag>& liste) {
    std::vector<Listenordner> ordner;
    QHash<QString, size_t> stelle;
    const QString* vorher = nullptr;
    for (size_t i = 0; i < liste.size(); ++i) {
        const BookdataEintrag& e = liste[i];
        if (e.Index.isEmpty())
            continue;
        // IDX00012 from a listing and idx00012 from a typed number are one folder: two groups
        // for it would restore it twice at once, the later write undoing the other.
        const QString schlüssel = e.Index.toUpper();
        auto it = stelle.constFind(schlüssel);
        if (it == stelle.constEnd()) {
            it = stelle.insert(schlüssel, ordner.size());
            ordner.push_back(Listenordner{e.Index, {}, {}, 0});
        }
        Listenordner& o = ordner[*it];
        if (vorher == nullptr || vorher->compare(e.Index, Qt::CaseInsensitive) != 0)
            ++o.gruppen;
        vorher = &e.Index;
        o.boxen.push_back(satz::Box{e.BoxNr, e.UserID, e.RevNr});
        o.einträge.push_back(i);
    }
    return ordner;
}

} // namespace intern

QString Library_Kennung(const QString& libPfad) {
    if (libPfad.isEmpty())
        return {};
    QString pfad = datei::Auflösen(libPfad);
    if (!pfad.endsWith(datei::Trenner()))
        pfad += datei::Trenner();
    return pfad;
}

bool Ist_Library(const QString& libPfad) {
    return !libPfad.isEmpty() && datei::Existiert(libPfad + QStringLiteral("LIBINFO.SYS"));
}

void Library_Verloren_Melden(Zustand& z, const QString& prozedur, const QString& libPfad,
                             const QString& was) {
    z.Library_Verloren = true;
    z.plattform.Meldung(LoadResString(2073) + libPfad + LoadResString(2074) + CRLF + was,
                        prozedur + QStringLiteral("_Error"), Symbol::Ausruf);
}

namespace {

// The bookings of a walk, held compactly (5 bytes each, with the folder names once) until the
// walk ends; only then does BookdataListe grow, once and to its exact size. A list that grew
// booking by booking would at its last doubling hold up to three times its final size.
class Sammlung {
public:
    void Aufnehmen(const QString& index, const satz::Trefferliste& treffer, int anzahl) {
        if (anzahl == 0)
            return;
        m_ordner.emplace_back(index, anzahl);
        m_treffer.insert(m_treffer.end(), treffer.begin(), treffer.begin() + anzahl);
    }

    // Appends everything collected at Anzahl_Einträge, as one append after another would.
    void Übertragen(Zustand& z) {
        if (m_treffer.empty())
            return;
        const size_t bisher = std::min(size_t(z.Anzahl_Einträge), z.BookdataListe.size());
        std::vector<BookdataEintrag> liste;
        liste.reserve(bisher + m_treffer.size());
        for (size_t i = 0; i < bisher; ++i)
            liste.push_back(std::move(z.BookdataListe[i]));
        size_t t = 0;
        for (const auto& [index, anzahl] : m_ordner) {
            for (int i = 0; i < anzahl; ++i, ++t) {
                const satz::Treffer& b = m_treffer[t];
                liste.push_back(
                    BookdataEintrag{index, b.BoxNr, b.UserID, b.RevNr, b.Extra, b.Tail});
            }
        }
        z.Anzahl_Einträge = qint32(liste.size());
        z.BookdataListe.swap(liste);
        m_treffer = {};
        m_ordner = {};
    }

private:
    std::vector<std::pair<QString, int>> m_ordner;
    std::vector<satz::Treffer> m_treffer;
};

// The folders that the count and the walk take, in the order the file system lists them.
QStringList Indexordner(const QString& libPfad) {
    QStringList namen = datei::Unterordner(libPfad);
    namen.removeIf([](const QString& name) { return !intern::Zählt_Als_Indexordner(name); });
    return namen;
}

} // namespace

qint32 Anzahl_Ordner_Ermitteln(Zustand& z, const QString& libPfad) {
    z.Anzahl_Ordner = 0;
    z.Gezählte_Ordner = {};
    try {
        QStringList namen = Indexordner(libPfad);
        z.plattform.Ereignisse_Verarbeiten();
        const qint32 anzahl = qint32(namen.size());
        z.Gezählte_Ordner = {libPfad, std::move(namen)};
        return anzahl;
    } catch (const Fehler& f) {
        if (f.Nummer() == FEHLER_PFAD) {
            z.plattform.Meldung(LoadResString(2040) + libPfad + LoadResString(2041),
                                QStringLiteral("Anzahl_Ordner_Ermitteln_Error"), Symbol::Ausruf);
        } else {
            Fehler_Melden(z.plattform, QStringLiteral("Anzahl_Ordner_Ermitteln"),
                          LoadResString(2042) + libPfad, f.Nummer(), LABEL_NR);
        }
        return 0;
    }
}

void Ordner_Durchsuchen(Zustand& z, const QString& libPfad, quint8 filter) {
    // Only the index folders directly in the Library hold booking files, and only there does
    // libPfad + name lead to the folder; the count of Anzahl_Ordner_Ermitteln is of the same
    // folders, so the progress bar ends at its maximum.
    // The walk follows right on the count of the same Library, which listed it already; on a
    // share a listing of thousands of folders is a chain of round trips.
    const bool gezählt = z.Gezählte_Ordner.lib == libPfad && !libPfad.isEmpty();
    const QStringList namen =
        gezählt ? std::exchange(z.Gezählte_Ordner.namen, {}) : Indexordner(libPfad);
    z.Gezählte_Ordner = {};
    Sammlung sammlung;
    // After a folder that fails, a look whether the Library is still there: when the share is
    // gone, one message instead of one for each folder left.
    bool halt = false;
    parallel::Geordnet<ordner::Gelesen>(
        z.plattform, int(namen.size()), z.Gleichzeitig,
        [&](int i) { return ordner::Lesen(libPfad, namen[i], filter); },
        [&](int i, const ordner::Gelesen& g) {
            if (halt)
                return false;
            ++z.Ordner_Nr;
            const bool fehlt = g.fehler == FEHLER_DATEI_NICHT_GEFUNDEN;
            if (g.fehler != 0 && !fehlt && !Ist_Library(libPfad)) {
                halt = true;
                Library_Verloren_Melden(z, QStringLiteral("Bookdata_Einlesen"), libPfad,
                                        LoadResString(2077));
                return false;
            }
            if (intern::Gelesen_Melden(z, libPfad, namen[i], g, true))
                sammlung.Aufnehmen(namen[i], g.treffer, g.anzahl);
            return true;
        });
    sammlung.Übertragen(z);
}

void Fortschritt_Anzeigen(Zustand& z, const QString& index, qint32 ordnerNr) {
    if (z.Anzahl_Ordner < 1 || z.Fortschritt == nullptr)
        return;
    // The display is a courtesy: nothing that goes wrong in it may stop the reading.
    try {
        const QString text =
            LoadResString(551) % z.LibPath % CRLF % CRLF % LoadResString(550) % index;
        z.Fortschritt->Fortschritt_Setzen(text, z.Anzahl_Ordner, ordnerNr);
    } catch (const std::exception&) {
    }
}

} // namespace qk
