#pragma once

#include "bookdata/bookdata.h"
#include "platform/dateien.h"
#include "shell/zustand.h"
#include "temp_ordner.h"
#include "test_plattform.h"

namespace qk::test {

// A Library "Lib/" in a temporary folder, with the two steps a user removal and its Undo take
// in it. The file hook is reset however a test ends.
struct Bibliotheksort {
    TempOrdner t;
    TestPlattform p;
    Zustand z{p};
    QString lib = t.Ordner(QStringLiteral("Lib"));

    Bibliotheksort() {
        t.Datei(QStringLiteral("Lib/LIBINFO.SYS"), {});
        z.LibPath = lib;
    }
    ~Bibliotheksort() { datei::Fehlerhaken_Setzen({}); }

    // The bookings of z.UserNr in every index folder, as the user removal deletes them.
    void Löschen() {
        z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, lib);
        Bookdata_Einlesen(z, lib, z.UserNr);
        Buchungen_Löschen(z, lib);
    }
    void Rückgängig() {
        Rückgängig_Liste_Lesen(z, lib);
        cmd_Wiederherstellen(z, lib);
    }
};

} // namespace qk::test
