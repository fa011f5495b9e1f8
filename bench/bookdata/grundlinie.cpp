#include "grundlinie.h"

#include <QDir>
#include <QFile>
#include <QThreadPool>
#include <atomic>

namespace qk::bench {
namespace {

template <typename F> void Je_Ordner(const QStringList& ordner, int gleichzeitig, const F& f) {
    if (gleichzeitig <= 1) {
        for (const QString& o : ordner)
            f(o);
        return;
    }
    QThreadPool pool;
    pool.setMaxThreadCount(gleichzeitig);
    for (const QString& o : ordner)
        pool.start([&f, o] { f(o); });
    pool.waitForDone();
}

QByteArray Lesen(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Schreiben(const QString& pfad, const QByteArray& inhalt, QIODevice::OpenMode art) {
    QFile f(pfad);
    if (f.open(art))
        f.write(inhalt);
}

} // namespace

long long Grundlinie_Lesen(const QString& lib, int gleichzeitig) {
    const QStringList ordner =
        QDir(lib).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    std::atomic<long long> bytes = 0;
    Je_Ordner(ordner, gleichzeitig, [&](const QString& o) {
        bytes += Lesen(lib + o + QStringLiteral("/BOOKDATA.NET")).size();
    });
    return bytes;
}

void Grundlinie_Umschreiben(const QString& lib, const QStringList& ordner, int gleichzeitig,
                            const QString& sicherung) {
    Je_Ordner(ordner, gleichzeitig, [&](const QString& o) {
        const QString netz = lib + o + QStringLiteral("/BOOKDATA.NET");
        const QByteArray b = Lesen(netz);
        if (!sicherung.isEmpty())
            Schreiben(lib + o + QLatin1Char('/') + sicherung, b,
                      QIODevice::WriteOnly | QIODevice::Truncate);
        Schreiben(netz, b, QIODevice::ReadWrite);
    });
}

void Grundlinie_Zurückkopieren(const QString& lib, const QStringList& ordner, int gleichzeitig) {
    Je_Ordner(ordner, gleichzeitig, [&](const QString& o) {
        Schreiben(lib + o + QStringLiteral("/BOOKDATA.NET"),
                  Lesen(lib + o + QStringLiteral("/BOOKDATA.BAK")), QIODevice::ReadWrite);
    });
}

} // namespace qk::bench
