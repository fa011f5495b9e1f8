#include "echtes_fs.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace qk::test {
namespace {

bool Ausgeführt(const QString& programm, const QStringList& argumente) {
    QProcess p;
    p.start(programm, argumente);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

EchtesFs::EchtesFs(int kib) : m_kib(kib) {
    const QString share = QStringLiteral(QK_SHARE_PROGRAMM);
    if (!m_dir.isValid())
        m_grund = QStringLiteral("no temporary folder");
    else if (kib > 0 && geteuid() != 0)
        m_grund = QStringLiteral("mounting a tmpfs needs root");
    else if (kib > 0 && !Ausgeführt(QStringLiteral("mount"),
                                    {"-t", "tmpfs", "-o", QStringLiteral("size=%1k").arg(kib),
                                     "qk_test", Pfad()}))
        m_grund = QStringLiteral("mount -t tmpfs failed here");
    else if (kib == 0 && !QFileInfo(share).isExecutable())
        m_grund = QStringLiteral("qk_share was not built (CMake found no libfuse3)");
    else if (kib == 0 && (!QFileInfo(QStringLiteral("/dev/fuse")).isWritable() ||
                          QStandardPaths::findExecutable(QStringLiteral("fusermount3")).isEmpty()))
        m_grund = QStringLiteral("no FUSE here (/dev/fuse or Debian's fuse3 is missing)");
    if (!m_grund.isEmpty() || kib > 0)
        return;
    QDir(m_dir.path()).mkpath(QStringLiteral("share"));
    QDir(m_dir.path()).mkpath(QStringLiteral("quelle"));
    Steuern({});
    // Not even a test that crashes leaves the share mounted.
    m_share.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_share.start(share, {Quelle(), Pfad(), "-f", "--latency-us", "0", "--threads", "8",
                          "--control", m_dir.filePath(QStringLiteral("steuerung"))});
    while (m_share.waitForReadyRead(10000) && !m_share.canReadLine()) {
    }
    if (m_share.readLine() != "mounted\n")
        m_grund = QStringLiteral("qk_share did not mount: ") +
                  QString::fromLocal8Bit(m_share.readAllStandardError()).trimmed();
}

EchtesFs::~EchtesFs() {
    if (m_kib > 0 && m_grund.isEmpty() && !Ausgeführt(QStringLiteral("umount"), {Pfad()}))
        Ausgeführt(QStringLiteral("umount"), {"-l", Pfad()});
    Trennen();
}

void EchtesFs::Trennen() {
    // Ended by a signal, qk_share unmounts itself, lazily where a file is still open there.
    m_share.terminate();
    m_share.waitForFinished(10000);
}

QString EchtesFs::Pfad() const {
    return m_dir.path() + (m_kib > 0 ? "/" : "/share/");
}

QString EchtesFs::Quelle() const {
    return m_dir.path() + (m_kib > 0 ? "/" : "/quelle/");
}

void EchtesFs::Steuern(const QByteArray& regeln) const {
    // In one step: the share reads the file at every request and must not see half a rule.
    QSaveFile f(m_dir.filePath(QStringLiteral("steuerung")));
    if (!f.open(QIODevice::WriteOnly) || f.write(regeln) != regeln.size() || !f.commit())
        qFatal("cannot write the control file of qk_share");
}

} // namespace qk::test
