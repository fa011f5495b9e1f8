#include "temp_ordner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace qk::test {

TempOrdner::TempOrdner() {
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder");
}

QString TempOrdner::Pfad() const {
    return m_dir.path() + QLatin1Char('/');
}

QString TempOrdner::Ordner(const QString& relativ) const {
    QDir().mkpath(Pfad() + relativ);
    QString p = Pfad() + relativ;
    if (!p.endsWith(QLatin1Char('/')))
        p += QLatin1Char('/');
    return p;
}

QString TempOrdner::Datei(const QString& relativ, const QByteArray& inhalt) const {
    const QString p = Pfad() + relativ;
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(inhalt) != inhalt.size())
        throw std::runtime_error("cannot write test file");
    return p;
}

QByteArray TempOrdner::Lesen(const QString& relativ) const {
    QFile f(Pfad() + relativ);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool TempOrdner::Existiert(const QString& relativ) const {
    return QFileInfo::exists(Pfad() + relativ);
}

} // namespace qk::test
