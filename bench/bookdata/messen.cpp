#include "messen.h"

#include <QFile>
#include <sys/resource.h>

namespace qk::bench {

double Prozessorzeit_ms() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

long long Status_kB(const char* name) {
    // The files of /proc report no size, so they are read to their end rather than by lines.
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray schlüssel = QByteArray(name) + ':';
    for (const QByteArray& zeile : f.readAll().split('\n')) {
        if (zeile.startsWith(schlüssel))
            return zeile.mid(schlüssel.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace qk::bench
