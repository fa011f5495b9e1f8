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

bool Gelesen_Melden(Zustand& z, const QString& libPfad, const QString& index,
                    const ordner::Gelesen& g, bool fehlendOhneMeldung) {
    const int f = g.fehler;
    const bool fehlt = f == FEHLER_PFAD || f == FEHLER_DATEI_NICHT_GEFUNDEN;
    if (f == 0) {
        ++z.Anzahl_Dateien;
        Fortschritt_Anzeigen(z, index, z.Ordner_Nr);
    } else if (fehlt && fehlendOhneMeldung && f == FEHLER_DATEI_NICHT_GEFUNDEN) {
        // An index folder without a booking file: nothing to read.
    } else if (fehlt) {
        ++z.Lesefehler;
        z.plattform.Meldung(LoadResString(2060) + libPfad + index + LoadResString(2061),
                            QStringLiteral("Bookdata_Öffnen_Error"), Symbol::Ausruf);
    } else {
        ++z.Lesefehler;
        Fehler_Melden(z.plattform, QStringLiteral("Bookdata_Öffnen"),
                      LoadResString(2062) + libPfad + index + LoadResString(2063), f, LABEL_NR);
    }
    z.plattform.Ereignisse_Verarbeiten();
    return f == 0;
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
    const ordner::Gelesen g = ordner::Lesen(libPfad, index, filter);
    if (!intern::Gelesen_Melden(z, libPfad, index, g, false))
        return;
    auto& liste = z.BookdataListe;
    for (int i = 0; i < g.anzahl; ++i) {
        const satz::Treffer& t = g.treffer[size_t(i)];
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
    z.Lesefehler = 0;
    z.Library_Verloren = false;
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
