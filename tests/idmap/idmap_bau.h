#pragma once

#include <QByteArray>
#include <QString>

namespace qk::test {

// One 781-byte record of QK_IDMAP.NET as the workstations write it.
inline QByteArray Idmap_Satz(quint8 id, const QByteArray& name, const QByteArray& pc = {},
                             const QByteArray& lokal = {}) {
    auto feld = [](QByteArray t) {
        t.append('\0');
        t.append(260 - t.size(), ' ');
        return t;
    };
    return QByteArray(1, static_cast<char>(id)) + feld(name) + feld(pc) + feld(lokal);
}

} // namespace qk::test
