#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace qk::test {

// A file system that fails for real, mounted over a fresh folder and unmounted as it goes:
// with `kib` 0 a qk_share (bench/share) that answers requests with the faults its control file
// names, else a tmpfs of `kib` KiB, small enough to fill (mounting it needs root). Where it
// cannot be had, Grund() says why, for the test's QSKIP.
class EchtesFs {
public:
    explicit EchtesFs(int kib = 0);
    ~EchtesFs();
    EchtesFs(const EchtesFs&) = delete;
    EchtesFs& operator=(const EchtesFs&) = delete;

    QString Grund() const { return m_grund; } // empty once mounted
    QString Pfad() const;                     // where the program writes, ending with '/'
    QString Quelle() const;                   // what lies behind it: qk_share's source folder
    // Replaces the rules of qk_share's control file ("fail write:EIO:BOOKDATA.NET:3", one a
    // line), counted from the share's next request on; an empty text ends them.
    void Steuern(const QByteArray& regeln) const;
    // Stops qk_share's server, as a share goes away: its mount point is left an empty folder.
    void Trennen();

private:
    int m_kib;
    QTemporaryDir m_dir;
    QProcess m_share;
    QString m_grund;
};

} // namespace qk::test
