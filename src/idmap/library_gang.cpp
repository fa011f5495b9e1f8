#include "idmap/library_gang.h"

#include "bookdata/bookdata.h"
#include "idmap/idmap_datei.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/texte.h"

namespace qk {
namespace {

bool Erreichbar(Zustand& z, const QString& lib, const QString& prozedur) {
    if (datei::Ordner_Existiert(lib))
        return true;
    z.plattform.Meldung(LoadResString(2040) + lib + LoadResString(2041),
                        prozedur + QStringLiteral("_Error"), Symbol::Ausruf);
    return false;
}

} // namespace

QStringList Erreichbare_Libraries(Zustand& z, const QStringList& libraries,
                                  const QString& prozedur) {
    QStringList erreichbar;
    for (const QString& lib : libraries) {
        if (Erreichbar(z, lib, prozedur))
            erreichbar.append(lib);
    }
    return erreichbar;
}

void Rückgängig_Listen_Leeren(Zustand& z, const QStringList& libraries) {
    // The store empties the lists of LibListe; lend it the chosen ones for the call.
    struct Zurück {
        Zustand& z;
        QStringList liste;
        ~Zurück() { z.LibListe.swap(liste); }
    } zurück{z, libraries};
    z.LibListe.swap(zurück.liste);
    Rückgängig_Listen_Leeren(z);
}

void Buchungen_In_Libraries_Löschen(Zustand& z, const QStringList& libraries) {
    for (const QString& lib : libraries) {
        z.LibPath = lib;
        z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, lib);
        Bookdata_Einlesen(z, lib, z.UserNr);
        Buchungen_Löschen(z, lib);
        z.LogFunktion = LoadResString(124);
        LOG_Buchungen_Löschen(z);
        if (z.Anzahl_Buchungen > 0)
            z.Buchungen_Entfernt = true;
    }
}

QStringList Buchungen_In_Libraries_Wiederherstellen(Zustand& z, const QStringList& libraries,
                                                    const QString& prozedur) {
    z.Summe_Buchungen = 0;
    z.Summe_Dateien = 0;
    QStringList ausgelassen;
    for (const QString& lib : libraries) {
        z.LibPath = lib;
        if (!Erreichbar(z, lib, prozedur)) {
            ausgelassen.append(lib);
            continue;
        }
        Rückgängig_Liste_Lesen(z, lib);
        if (!cmd_Wiederherstellen(z, lib))
            ausgelassen.append(lib);
        z.LogFunktion = LoadResString(130);
        LOG_Buchungen_Wiederherstellen(z);
        z.Summe_Buchungen += z.Anzahl_Buchungen;
        z.Summe_Dateien += z.Dateien_Bearbeitet;
    }
    return ausgelassen;
}

Ergebnistext Entfernen_Ergebnis(const Zustand& z, quint8 user, qsizetype libraries) {
    const QString nummer = QString::number(user);
    Ergebnistext e;
    e.titel = LoadResString(1113) + nummer + LoadResString(1120);
    if (z.Buchungen_Entfernt) {
        e.text = QString::number(libraries) + LoadResString(1128) + CRLF + CRLF +
                 QString::number(z.Summe_Buchungen) + LoadResString(1121) +
                 QString::number(z.Summe_Dateien) + LoadResString(1122);
    } else {
        e.text = CRLF + LoadResString(1123) + nummer + LoadResString(1124);
    }
    return e;
}

Ergebnistext Rückgängig_Ergebnis(const Zustand& z, quint8 user) {
    const QString nummer = QString::number(user);
    if (z.Buchungen_Entfernt) {
        return {LoadResString(1170), CRLF + QString::number(z.Summe_Buchungen) +
                                         LoadResString(1121) + QString::number(z.Summe_Dateien) +
                                         LoadResString(1171)};
    }
    return {LoadResString(1113) + nummer + LoadResString(1172),
            CRLF + LoadResString(1123) + nummer + LoadResString(1124)};
}

bool Map_Wie_Gespeichert(const Zustand& z) {
    if (z.GlobalPath.isEmpty())
        return false;
    try {
        return datei::Lesen(z.GlobalPath + QStringLiteral("QK_IDMAP.NET")) ==
               Idmap_Bytes(z.IdmapListe) + z.Idmap_Rest;
    } catch (const Fehler&) {
        return false;
    }
}

} // namespace qk
