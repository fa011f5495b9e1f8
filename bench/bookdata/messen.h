#pragma once

#include <QElapsedTimer>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace qk::bench {

// One line of the output, at once: a run that breaks off still shows what it measured.
inline void Ausgabe(const QString& zeile) {
    std::printf("%s\n", qPrintable(zeile));
    std::fflush(stdout);
}

inline QString Zahl(double wert, int stellen = 2) {
    return QString::number(wert, 'f', stellen);
}

template <typename F> double Millisekunden(F&& f) {
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

// Processor time (user and system) of this process so far, in milliseconds. Other programs on
// the machine stretch the wall clock of a run but hardly its processor time.
double Prozessorzeit_ms();

struct Zeit {
    double wand = 0; // wall clock
    double cpu = 0;  // processor time
};

template <typename F> Zeit Messen(F&& f) {
    const double vorher = Prozessorzeit_ms();
    Zeit z;
    z.wand = Millisekunden(f);
    z.cpu = Prozessorzeit_ms() - vorher;
    return z;
}

inline double Median(std::vector<double> werte) {
    std::sort(werte.begin(), werte.end());
    const size_t n = werte.size();
    return n % 2 ? werte[n / 2] : (werte[n / 2 - 1] + werte[n / 2]) / 2;
}

// A value of /proc/self/status in kB ("VmRSS", "VmHWM"); -1 where there is none.
long long Status_kB(const char* name);

} // namespace qk::bench
