#pragma once

#include <QString>

namespace qk::bench {

// The booking store on a simulated network share (scripts/bench --share): a Library built in
// `lokal` on the local disk is measured through its qk_share mount `mount`, whose request
// counters are in `stats`. Prints "name: value" lines; returns the exit status (1 when a figure
// is over its limit or a result was wrong, 2 when it could not run).
struct Netzangaben {
    QString lokal;
    QString mount;
    QString stats;
    int ordner = 10000;
    int runden = 2;
};
int Netz_Messen(const Netzangaben& a);

} // namespace qk::bench
