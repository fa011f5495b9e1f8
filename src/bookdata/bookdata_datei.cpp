#include "bookdata/bookdata.h"
#include "bookdata/bookdata_intern.h"

#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/texte.h"

namespace qk {
namespace intern {

QString Index_Datei(const QString& libPfad, const QString& index, const QString& name) {
    return libPfad + index + datei::Trenner() + name;
}

bool Bookdata_Datei_Lesen(Zustand& z, const QString& libPfad, const QString& index, quint8 filter,
                          satz::Trefferliste& treffer, int& anzahl, bool fehlendOhneMeldung) {
    anzahl = 0;
    bool gelesen = false;
    try {
        // A name that is no index folder could lead anywhere, "..\" included.
        if (!Ist_Indexordner(index))
            throw Fehler(FEHLER_PFAD);
        const QByteArray inhalt = datei::Lesen(Index_Datei(libPfad, index, BOOKDATA_NET));
        anzahl = satz::Buchungen_Finden(inhalt, filter, treffer);
        gelesen = true;
    } catch (const Fehler& f) {
        const bool fehlt = f.Nummer() == FEHLER_PFAD || f.Nummer() == FEHLER_DATEI_NICHT_GEFUNDEN;
        if (fehlt && fehlendOhneMeldung && f.Nummer() == FEHLER_DATEI_NICHT_GEFUNDEN) {
            // An index folder without a booking file: nothing to read.
        } else if (fehlt) {
            z.plattform.Meldung(LoadResString(2060) + libPfad + index + LoadResString(2061),
                                QStringLiteral("Bookdata_Öffnen_Error"), Symbol::Ausruf);
        } else {
            Fehler_Melden(z.plattform, QStringLiteral("Bookdata_Öffnen"),
                          LoadResString(2062) + libPfad + index + LoadResString(2063), f.Nummer(),
                          LABEL_NR);
        }
    }
    if (gelesen) {
        ++z.Anzahl_Dateien;
        Fortschritt_Anzeigen(z, index, z.Ordner_Nr);
    }
    z.plattform.Ereignisse_Verarbeiten();
    return gelesen;
}

} // namespace intern

void BookdataListe_Zurücksetzen(Zustand& z) {
    // A fresh vector, so that the memory of a large earlier list goes back as well.
    std::vector<BookdataEintrag>(1).swap(z.BookdataListe);
    z.Anzahl_Einträge = 0;
}

qint32 Buchungen_Zählen(const Zustand& z) {
    if (z.BookdataListe.empty())
        return 0;
    const QStringView anfang = QStringView(z.BookdataListe.front().Index).left(3);
    if (anfang.compare(QLatin1String("IDX"), Qt::CaseInsensitive) != 0)
        return 0;
    return qint32(z.BookdataListe.size());
}

void Bookdata_Öffnen(Zustand& z, const QString& libPfad, const QString& index, quint8 filter) {
    satz::Trefferliste treffer;
    int anzahl = 0;
    if (!intern::Bookdata_Datei_Lesen(z, libPfad, index, filter, treffer, anzahl, false))
        return;
    auto& liste = z.BookdataListe;
    for (int i = 0; i < anzahl; ++i) {
        const satz::Treffer& t = treffer[i];
        // The entry goes at Anzahl_Einträge; the first one takes the place of the blank element.
        liste.resize(size_t(z.Anzahl_Einträge));
        liste.push_back(BookdataEintrag{index, t.BoxNr, t.UserID, t.RevNr, t.Extra, t.Tail});
        ++z.Anzahl_Einträge;
    }
}

void Bookdata_Einlesen(Zustand& z, const QString& libPfad, quint8 filter) {
    z.Anzahl_Einträge = 0;
    z.Ordner_Nr = 0;
    z.Dateien_Bearbeitet = 0;
    z.Anzahl_Buchungen = 0;
    z.Anzahl_Dateien = 0;
    BookdataListe_Zurücksetzen(z);
    try {
        Ordner_Durchsuchen(z, libPfad, filter);
        z.Anzahl_Buchungen = Buchungen_Zählen(z);
        if (z.Buchungsinfo_Setzen) {
            z.Buchungsinfo_Setzen(QString::number(z.Anzahl_Dateien) + LoadResString(305) +
                                      QString::number(z.Anzahl_Ordner) + LoadResString(306),
                                  QStringLiteral("Anzahl_Buchungen: ") +
                                      QString::number(z.Anzahl_Buchungen),
                                  QStringLiteral("UBound(BookdataListe) ") +
                                      QString::number(qint64(z.BookdataListe.size()) - 1));
        }
    } catch (const Fehler& f) {
        const QString titel = QStringLiteral("Bookdata_Einlesen");
        switch (f.Nummer()) {
        case FEHLER_INDEX:
            Fehler_Melden(z.plattform, titel,
                          LoadResString(2050) + QString::number(filter) + LoadResString(2051),
                          f.Nummer(), LABEL_NR);
            break;
        case FEHLER_PFAD:
            z.plattform.Meldung(LoadResString(2052) + libPfad + LoadResString(2053) +
                                    LoadResString(2041),
                                titel + QStringLiteral("_Error"), Symbol::Ausruf);
            break;
        default:
            Fehler_Melden(z.plattform, titel, LoadResString(2054), f.Nummer(), LABEL_NR);
        }
    }
}

} // namespace qk
