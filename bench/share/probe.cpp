// qk_share_probe: the plain loop of the booking store benchmark through a mounted qk_share, one
// file at a time and with K files in flight, with the requests each loop cost by kind.
//
//   qk_share_probe --share-local SOURCE --share-mount MOUNTPOINT --share-stats FILE
//                  [--folders N] [--rounds R]
//
// It writes N index folders into SOURCE (beside the mount; it must be empty), then reads them
// through MOUNTPOINT. First it checks that the mount serves what the program does on a share
// (QSaveFile, QDir, in-place writes, errors) and that changes made beside it show at once; figures
// from a mount that caches or loses requests would mean nothing.
#include "share_zaehler.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStorageInfo>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using qk::share::Zaehler;

namespace {

constexpr int IN_FLIGHT[] = {8, 16, 32, 64};

void Ausgabe(const QString& zeile) {
    std::printf("%s\n", qPrintable(zeile));
    std::fflush(stdout);
}

QByteArray Inhalt(int n) {
    QByteArray b(4096, '\0');
    for (int i = 0; i < b.size(); ++i)
        b[i] = char((n * 7 + i) & 0xff);
    return b;
}

QString Ordner(int n) {
    return QStringLiteral("IDX%1").arg(n, 5, 10, QLatin1Char('0'));
}

class Zähler {
public:
    explicit Zähler(const QString& pfad) : datei(QFile::encodeName(pfad)) {}

    std::optional<Zaehler> Jetzt() const { return qk::share::lesen(datei.constData()); }

    // Releases reach qk_share after close() has returned; the counters are taken once nothing
    // has arrived for a while.
    Zaehler Ruhig() const {
        Zaehler vorher = Jetzt().value_or(Zaehler{});
        for (;;) {
            QThread::msleep(25);
            const Zaehler jetzt = Jetzt().value_or(Zaehler{});
            if (jetzt.total == vorher.total)
                return jetzt;
            vorher = jetzt;
        }
    }

private:
    QByteArray datei;
};

// ---- the check ----

class Prüfung {
public:
    Prüfung(const QString& local, const QString& mount)
        : l(local + QStringLiteral("/probe-check")), m(mount + QStringLiteral("/probe-check")),
          mount(mount) {}

    bool Laufen() {
        Dass(QDir(mount).mkdir(QStringLiteral("probe-check")) && QFileInfo(l).isDir(),
             "QDir::mkdir through the mount");
        Sichern("eins");
        Sichern("zwei"); // the second one replaces an existing file by rename
        Dass(QDir(l).entryList(QDir::Files | QDir::Hidden | QDir::System) ==
                 QStringList{QStringLiteral("a.txt")},
             "QSaveFile leaves no temporary file");

        {
            QFile f(m + QStringLiteral("/a.txt"));
            Dass(f.open(QIODevice::ReadWrite) && f.seek(2) && f.write("XY") == 2, "write in place");
        }
        Dass(Lokal("a.txt") == "zwXY", "write in place reaches the file");
        Dass(QFile::resize(m + QStringLiteral("/a.txt"), 2) && Lokal("a.txt") == "zw" &&
                 QFileInfo(m + QStringLiteral("/a.txt")).size() == 2,
             "truncate");
        Dass(QFile::setPermissions(m + QStringLiteral("/a.txt"),
                                   QFile::ReadOwner | QFile::WriteOwner) &&
                 (Modus(l + QStringLiteral("/a.txt")) & 07777) == 0600,
             "chmod");
        {
            const QDateTime zeit(QDate(2020, 1, 2), QTime(3, 4, 5), Qt::UTC);
            QFile f(m + QStringLiteral("/a.txt"));
            Dass(f.open(QIODevice::ReadWrite) &&
                     f.setFileTime(zeit, QFileDevice::FileModificationTime),
                 "utimens");
            f.close();
            Dass(QFileInfo(l + QStringLiteral("/a.txt")).lastModified() == zeit,
                 "utimens reaches the file");
        }
        Dass(QFile::rename(m + QStringLiteral("/a.txt"), m + QStringLiteral("/b.txt")) &&
                 QFileInfo::exists(l + QStringLiteral("/b.txt")) &&
                 !QFileInfo::exists(l + QStringLiteral("/a.txt")),
             "rename");

        Fehler(::open(M("none"), O_RDONLY), ENOENT, "open of a missing file");
        Fehler(::open(M("none/x"), O_RDONLY), ENOENT, "open below a missing folder");
        Fehler(::open(M("b.txt/x"), O_RDONLY), ENOTDIR, "open below a file");
        Dass(::mkdir(M("sub"), 0755) == 0, "mkdir");
        Fehler(::mkdir(M("sub"), 0755), EEXIST, "mkdir of an existing folder");
        Dass(QFile(m + QStringLiteral("/sub/x")).open(QIODevice::WriteOnly), "create");
        Fehler(::rmdir(M("sub")), ENOTEMPTY, "rmdir of a folder with a file");
        Fehler(::unlink(M("sub")), EISDIR, "unlink of a folder");
        Fehler(::rename(M("b.txt"), M("sub")), EISDIR, "rename of a file over a folder");
        Dass(QStorageInfo(mount).bytesTotal() > 0, "statfs");

        // A workstation changes the file beside the mount: the next read must see it.
        Schreiben(l + QStringLiteral("/c"), "1234");
        Dass(Gelesen("c") == "1234", "read through the mount");
        Schreiben(l + QStringLiteral("/c"), "12345678");
        Dass(Gelesen("c") == "12345678", "a longer file written beside the mount is read whole");
        Dass(QFileInfo(m + QStringLiteral("/c")).size() == 8, "its new size is seen");
        QFile::remove(l + QStringLiteral("/c"));
        Dass(!QFileInfo::exists(m + QStringLiteral("/c")),
             "a file removed beside the mount is gone");
        Schreiben(l + QStringLiteral("/c"), "x");
        Dass(QFileInfo::exists(m + QStringLiteral("/c")), "a file made beside the mount is there");
        QDir(l).mkdir(QStringLiteral("neu"));
        Dass(QDir(m).entryList(QDir::Dirs | QDir::NoDotAndDotDot) ==
                 QStringList{QStringLiteral("neu"), QStringLiteral("sub")},
             "a folder made beside the mount is listed");

        Dass(QFile::remove(m + QStringLiteral("/b.txt")) &&
                 QFile::remove(m + QStringLiteral("/c")) &&
                 QFile::remove(m + QStringLiteral("/sub/x")) &&
                 QDir(m).rmdir(QStringLiteral("sub")) && QDir(m).rmdir(QStringLiteral("neu")) &&
                 QDir(mount).rmdir(QStringLiteral("probe-check")) && !QFileInfo::exists(l),
             "remove and rmdir");
        return fehlerfrei;
    }

private:
    void Dass(bool ok, const char* was) {
        if (!ok) {
            Ausgabe(QStringLiteral("CHECK FAILED: ") + QLatin1String(was));
            fehlerfrei = false;
        }
    }

    void Fehler(int ergebnis, int erwartet, const char* was) {
        const int e = errno;
        if (ergebnis >= 0)
            ::close(ergebnis); // an open that should have failed
        if (ergebnis == -1 && e == erwartet)
            return;
        Ausgabe(QStringLiteral("CHECK FAILED: %1: expected %2, got %3")
                    .arg(QLatin1String(was), QString::fromLocal8Bit(strerror(erwartet)),
                         ergebnis == -1 ? QString::fromLocal8Bit(strerror(e))
                                        : QStringLiteral("success")));
        fehlerfrei = false;
    }

    void Sichern(const QByteArray& text) {
        QSaveFile f(m + QStringLiteral("/a.txt"));
        Dass(f.open(QIODevice::WriteOnly) && f.write(text) == text.size() && f.commit(),
             "QSaveFile");
        Dass(Lokal("a.txt") == text, "QSaveFile writes the file");
    }

    static void Schreiben(const QString& pfad, const QByteArray& text) {
        QFile f(pfad);
        if (f.open(QIODevice::ReadWrite))
            f.write(text);
    }

    QByteArray Lokal(const char* name) const {
        QFile f(l + QLatin1Char('/') + QLatin1String(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    QByteArray Gelesen(const char* name) const {
        QFile f(m + QLatin1Char('/') + QLatin1String(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    const char* M(const char* name) {
        pfad = QFile::encodeName(m + QLatin1Char('/') + QLatin1String(name));
        return pfad.constData();
    }

    static mode_t Modus(const QString& p) {
        struct stat st {};
        return ::stat(QFile::encodeName(p).constData(), &st) == 0 ? st.st_mode : 0;
    }

    QString l, m, mount;
    QByteArray pfad;
    bool fehlerfrei = true;
};

// ---- the loops ----

struct Lauf {
    double listeMs = 0;
    double lesenMs = 0;
    Zaehler liste;
    Zaehler lesen;
    bool richtig = false;
};

class Messung {
public:
    Messung(const QString& mount, const Zähler& z, int anzahl)
        : mount(mount), zähler(z), anzahl(anzahl) {
        for (int n = 1; n <= anzahl; ++n)
            inhalt.insert(Ordner(n), Inhalt(n));
    }

    // k == 0: one file after the other, as the benchmark's plain loop; else k files in flight.
    Lauf Laufen(int k) {
        Lauf lauf;
        const Zaehler z0 = zähler.Ruhig();
        QElapsedTimer t;
        t.start();
        const QStringList namen =
            QDir(mount).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
        lauf.listeMs = double(t.nsecsElapsed()) / 1e6;
        const Zaehler z1 = zähler.Ruhig();

        std::atomic<int> gut{0};
        const auto lesen = [&](const QString& name) {
            QFile f(mount + QLatin1Char('/') + name + QStringLiteral("/BOOKDATA.NET"));
            if (f.open(QIODevice::ReadOnly) && f.readAll() == inhalt.value(name))
                ++gut;
        };
        t.restart();
        if (k == 0) {
            for (const QString& name : namen)
                lesen(name);
        } else {
            QThreadPool& pool = Pool(k);
            for (const QString& name : namen)
                pool.start([&lesen, name] { lesen(name); });
            pool.waitForDone();
        }
        lauf.lesenMs = double(t.nsecsElapsed()) / 1e6;
        const Zaehler z2 = zähler.Ruhig();
        lauf.liste = z1 - z0;
        lauf.lesen = z2 - z1;
        lauf.richtig = namen.size() == anzahl && gut == anzahl;
        return lauf;
    }

private:
    // The threads stay between rounds, so that only the first round pays for starting them.
    QThreadPool& Pool(int k) {
        auto& p = pools[k];
        if (!p) {
            p = std::make_unique<QThreadPool>();
            p->setMaxThreadCount(k);
            p->setExpiryTimeout(-1);
        }
        return *p;
    }

    QString mount;
    const Zähler& zähler;
    int anzahl;
    QHash<QString, QByteArray> inhalt;
    std::map<int, std::unique_ptr<QThreadPool>> pools;
};

double Median(std::vector<double> werte) {
    std::sort(werte.begin(), werte.end());
    const size_t n = werte.size();
    return n % 2 ? werte[n / 2] : (werte[n / 2 - 1] + werte[n / 2]) / 2;
}

QString Zahl(double wert, int stellen = 2) {
    return QString::number(wert, 'f', stellen);
}

// "lookup 2.00, getattr 2.00, ..." for the kinds that occurred, divided by `je`.
QString Arten(const Zaehler& z, double je) {
    QStringList teile;
    for (const qk::share::Feld& f : qk::share::NAMEN) {
        if (z.*f.wert != 0 && f.wert != &Zaehler::total)
            teile << QStringLiteral("%1 %2").arg(QLatin1String(f.name),
                                                 Zahl(double(z.*f.wert) / je));
    }
    return teile.isEmpty() ? QStringLiteral("none") : teile.join(QStringLiteral(", "));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString local, mount, stats;
    int anzahl = 1000;
    int runden = 3;
    for (int i = 1; i < args.size(); i += 2) {
        const QString& a = args[i];
        const QString wert = args.value(i + 1);
        bool ok = i + 1 < args.size();
        if (a == QStringLiteral("--share-local"))
            local = wert;
        else if (a == QStringLiteral("--share-mount"))
            mount = wert;
        else if (a == QStringLiteral("--share-stats"))
            stats = wert;
        else if (a == QStringLiteral("--folders"))
            anzahl = wert.toInt(&ok);
        else if (a == QStringLiteral("--rounds"))
            runden = wert.toInt(&ok);
        else
            ok = false;
        if (!ok || anzahl < 1 || runden < 1) {
            Ausgabe(QStringLiteral("usage: qk_share_probe --share-local SOURCE --share-mount "
                                   "MOUNTPOINT --share-stats FILE [--folders N] [--rounds R]"));
            return 2;
        }
    }
    const Zähler zähler(stats);
    if (local.isEmpty() || mount.isEmpty() || !zähler.Jetzt()) {
        Ausgabe(QStringLiteral("qk_share_probe: SOURCE, MOUNTPOINT and a stats file of qk_share "
                               "are needed"));
        return 2;
    }

    // Folders left from another run would be listed and read as well.
    if (!QDir(local)
             .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
             .isEmpty()) {
        Ausgabe(QStringLiteral("qk_share_probe: %1 is not empty").arg(local));
        return 2;
    }

    const bool geprüft = Prüfung(local, mount).Laufen();
    Ausgabe(QStringLiteral("share_check: %1").arg(geprüft ? "ok" : "FAILED"));

    Ausgabe(QStringLiteral("Writing %1 index folders into %2 ...").arg(anzahl).arg(local));
    for (int n = 1; n <= anzahl; ++n) {
        QDir(local).mkpath(Ordner(n));
        QFile f(local + QLatin1Char('/') + Ordner(n) + QStringLiteral("/BOOKDATA.NET"));
        if (!f.open(QIODevice::WriteOnly) || f.write(Inhalt(n)) != 4096) {
            Ausgabe(QStringLiteral("cannot write ") + f.fileName());
            return 2;
        }
    }

    // Every round runs all loops back to back, so that the load of the machine weighs on all
    // alike.
    Messung messung(mount, zähler, anzahl);
    std::vector<int> arten = {0};
    arten.insert(arten.end(), std::begin(IN_FLIGHT), std::end(IN_FLIGHT));
    std::map<int, std::vector<double>> ms;
    std::map<int, Lauf> letzter;
    bool richtig = true;
    for (int r = 0; r < runden; ++r) {
        for (const int k : arten) {
            const Lauf lauf = messung.Laufen(k);
            ms[k].push_back(lauf.listeMs + lauf.lesenMs);
            richtig = richtig && lauf.richtig;
            // Every loop asks for the same: other counts mean lost or extra requests.
            if (k != 0 && lauf.lesen.total != letzter[0].lesen.total)
                richtig = false;
            letzter[k] = lauf;
        }
    }

    const Lauf& seriell = letzter[0];
    const double n = anzahl;
    const double serielleMs = Median(ms[0]);
    Ausgabe(QString());
    Ausgabe(QStringLiteral("listing %1 folders (QDir::entryList): %2 ms, requests: %3")
                .arg(anzahl)
                .arg(Zahl(seriell.listeMs))
                .arg(Arten(seriell.liste, 1)));
    Ausgabe(QStringLiteral("reading, per folder: %1").arg(Arten(seriell.lesen, n)));
    Ausgabe(QString());
    Ausgabe(QStringLiteral("share_folders: %1").arg(anzahl));
    Ausgabe(QStringLiteral("share_rounds: %1").arg(runden));
    Ausgabe(QStringLiteral("share_list_requests: %1").arg(seriell.liste.total));
    Ausgabe(QStringLiteral("share_list_lookups_getattrs_per_entry: %1")
                .arg(Zahl(double(seriell.liste.lookup + seriell.liste.getattr) / n)));
    Ausgabe(QStringLiteral("share_read_requests_per_folder: %1")
                .arg(Zahl(double(seriell.lesen.total) / n)));
    Ausgabe(QStringLiteral("share_serial_ms: %1").arg(Zahl(serielleMs)));
    Ausgabe(QStringLiteral("share_serial_ms_per_request: %1")
                .arg(Zahl(seriell.lesenMs / double(std::max<quint64>(1, seriell.lesen.total)), 3)));
    for (const int k : IN_FLIGHT) {
        const double m = Median(ms[k]);
        Ausgabe(QStringLiteral("share_k%1_ms: %2").arg(k).arg(Zahl(m)));
        Ausgabe(QStringLiteral("share_k%1_speedup: %2").arg(k).arg(Zahl(serielleMs / m)));
    }
    Ausgabe(QStringLiteral("results_correct: %1").arg(richtig ? "yes" : "no"));
    return geprüft && richtig ? 0 : 1;
}
