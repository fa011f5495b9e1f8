#pragma once

#include "platform/stille_plattform.h"
#include "shell/zustand.h"

namespace qk::bench {

// Every message box of a run is a fault of it: the benchmark refuses figures from such a run.
using NullPlattform = StillePlattform;

// A progress display that only keeps what it was given, so that composing the text is paid
// for as in the program.
class NullFortschritt : public Fortschrittsanzeige {
public:
    QString text;
    int maximum = 0;
    int wert = 0;
    void Fortschritt_Setzen(const QString& t, int m, int w) override {
        text = t;
        maximum = m;
        wert = w;
    }
};

} // namespace qk::bench
