#pragma once

#include "platform/dateien.h"
#include "platform/fehler.h"

#include <QString>
#include <atomic>

namespace qk::test {

// While it lives, every operation but reading and listing on a file whose path ends with
// `name` fails with `nummer`, from the hook's `ab`-th call for such a file on (0: at once).
// Reading stays possible, as on a read-only file or a full disk.
class Fehlerstelle {
public:
    Fehlerstelle(const QString& name, int nummer, int ab = 0) {
        datei::Fehlerhaken_Setzen([=, this](datei::Vorgang v, const QString& pfad) {
            if (v == datei::Vorgang::Lesen || v == datei::Vorgang::Auflisten ||
                !pfad.endsWith(name))
                return;
            if (aufrufe++ >= ab)
                throw Fehler(nummer, pfad);
        });
    }
    ~Fehlerstelle() { datei::Fehlerhaken_Setzen({}); }

    std::atomic<int> aufrufe = 0; // calls of the hook for the file so far (from any thread)
};

// Access to the files of that name is denied for that operation, until the hook is reset.
inline void Verweigern(datei::Vorgang vorgang, const QString& name) {
    datei::Fehlerhaken_Setzen([=](datei::Vorgang v, const QString& pfad) {
        if (v == vorgang && pfad.endsWith(name))
            throw Fehler(FEHLER_ZUGRIFF, pfad);
    });
}

} // namespace qk::test
