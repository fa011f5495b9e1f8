#pragma once

#include "bookdata/bookdata.h"
#include "shell/zustand.h"

#include <QStringList>

// The booking store's commands as the benchmarks run them.
namespace qk::bench {

// What a command does to gather bookings: count the folders, then read.
inline qint32 Einlesen(Zustand& z, const QString& lib, quint8 filter) {
    z.LibPath = lib;
    z.UserNr = filter;
    z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, lib);
    Bookdata_Einlesen(z, lib, filter);
    return z.Anzahl_Buchungen;
}

// The index folders that BookdataListe names, in its order.
inline QStringList Ordner_Der_Liste(const Zustand& z) {
    QStringList ordner;
    for (const BookdataEintrag& e : z.BookdataListe) {
        if (ordner.isEmpty() || ordner.back() != e.Index)
            ordner.append(e.Index);
    }
    return ordner;
}

// Undo of the last deletion of user `user` in the Library, from its undo list.
inline void Wiederherstellen(Zustand& z, const QString& lib, quint8 user) {
    z.UserNr = user;
    Rückgängig_Liste_Lesen(z, lib);
    cmd_Wiederherstellen(z, lib);
}

} // namespace qk::bench
