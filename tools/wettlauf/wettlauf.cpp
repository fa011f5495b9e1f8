#include "wettlauf.h"

#include "bookdata/datensaetze.h"
#include "bookdata/ordnerarbeit.h"
#include "buchungsform.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace qk::wettlauf {
namespace {

constexpr int L = satz::LÄNGE;
constexpr quint8 PROGRAMM_USER = 7;
const QString INDEX = QStringLiteral("IDX00001");

// What the program's thread and the workstations share in one trial.
struct Bühne {
    std::atomic<int> bereit{0};
    std::atomic<bool> fertig{false};
};

// One workstation: its own open of the booking file and one plain request for each read or
// write of a box, as a workstation makes them. It owns every n-th box, so that the
// workstations never race each other, only the program.
class Arbeitsplatz {
public:
    Arbeitsplatz(int nr, int anzahl, int pauseUs)
        : m_nr(nr), m_pauseUs(pauseUs), m_stempel(quint32(nr + 1) << 24), m_zufall(quint32(nr)),
          m_letzte(satz::BOXEN) {
        for (int box = nr; box < satz::BOXEN; box += anzahl)
            m_boxen.push_back(box);
    }

    void Laufen(const std::string& pfad, Art art, Bühne& bühne) {
        m_fd = ::open(pfad.c_str(), O_RDWR);
        if (m_fd < 0)
            fehler = errno;
        // A deletion is raced from the booking each box holds at the start.
        for (const int box : m_boxen) {
            m_letzte[size_t(box)] = QByteArray(L, '\0');
            if (art == Art::Freigeben && fehler == 0)
                Lesen(box, m_letzte[size_t(box)].data());
        }
        bühne.bereit.fetch_add(1);
        while (!bühne.fertig.load() && fehler == 0) {
            if (m_boxen.empty())
                std::this_thread::yield();
            // In a new order each time round, as users open parts: in the program's order a
            // workstation that keeps its pace would meet it at every box.
            std::shuffle(m_boxen.begin(), m_boxen.end(), m_zufall);
            for (size_t i = 0; i < m_boxen.size() && !bühne.fertig.load();) {
                const bool bleibt = art == Art::Wiederherstellen ? Buchen_Zug(m_boxen[i])
                                                                 : Nachbuchen_Zug(m_boxen[i]);
                if (bleibt)
                    ++i;
                else
                    m_boxen.erase(m_boxen.begin() + std::ptrdiff_t(i));
            }
        }
        if (m_fd >= 0)
            ::close(m_fd);
    }

    qint64 buchungen = 0;
    qint64 verloren = 0;
    std::vector<int> gemischt; // boxes seen booked but not whole
    int fehler = 0;            // errno of the request that stopped it

private:
    bool Lesen(int box, char* ziel) {
        if (::pread(m_fd, ziel, L, off_t(box) * L) == L)
            return true;
        fehler = errno ? errno : EIO;
        return false;
    }
    bool Schreiben(int box, const char* daten, int länge) {
        if (::pwrite(m_fd, daten, size_t(länge), off_t(box) * L) == länge)
            return true;
        fehler = errno ? errno : EIO;
        return false;
    }
    void Ansehen(int box, const char* bytes) {
        if (!Ganz(bytes))
            gemischt.push_back(box);
    }
    void Pause() const {
        if (m_pauseUs > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(m_pauseUs));
    }

    // Against a restore: books the box when it is free, looks whether the booking is still
    // there and releases it. False when the box leaves the game: the program put it back (no
    // one frees it again), or took this workstation's booking.
    bool Buchen_Zug(int box) {
        char da[L];
        if (!Lesen(box, da))
            return false;
        if (quint8(da[0]) != satz::FREI) {
            Ansehen(box, da);
            return false;
        }
        const QByteArray meine = Buchung(quint8(200 + m_nr), 1, ++m_stempel);
        if (!Schreiben(box, meine.constData(), L))
            return false;
        ++buchungen;
        Pause();
        if (!Lesen(box, da))
            return false;
        if (std::memcmp(da, meine.constData(), L) != 0) {
            Ansehen(box, da);
            ++verloren;
            return false;
        }
        const char frei[2] = {char(satz::FREI), char(satz::FREI)};
        return Schreiben(box, frei, 2);
    }

    // Against a deletion of user 7 revision 1: makes the booking again as revision 2, then as
    // revision 1, each time only when the box holds what it wrote last. Found freed, the box
    // leaves the game: rightly deleted when it held revision 1, lost when revision 2.
    bool Nachbuchen_Zug(int box) {
        char da[L];
        if (!Lesen(box, da))
            return false;
        QByteArray& letzte = m_letzte[size_t(box)];
        if (std::memcmp(da, letzte.constData(), L) == 0) {
            const QByteArray neu =
                Buchung(PROGRAMM_USER, quint8(letzte[1]) == 1 ? 2 : 1, ++m_stempel);
            if (!Schreiben(box, neu.constData(), L))
                return false;
            letzte = neu;
            ++buchungen;
            Pause();
            return true;
        }
        if (quint8(da[0]) == satz::FREI) {
            if (quint8(letzte[1]) == 2)
                ++verloren;
            return false;
        }
        Ansehen(box, da);
        return false;
    }

    int m_fd = -1;
    int m_nr;
    int m_pauseUs;
    quint32 m_stempel;
    std::vector<int> m_boxen;
    std::mt19937 m_zufall;
    std::vector<QByteArray> m_letzte; // by box: what this workstation wrote there last
};

bool Anlegen(const QString& pfad, const QByteArray& inhalt) {
    QFile f(pfad);
    return f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size() && f.flush();
}

} // namespace

Ergebnis Lauf(const QString& quelleLib, const QString& mountLib, Art art, int arbeitsplaetze,
              bool ueberShare, int pauseUs, int versuche) {
    Ergebnis e;
    const QString quelle = quelleLib + INDEX + QLatin1Char('/');
    const std::string pfad =
        QFile::encodeName((ueberShare ? mountLib : quelleLib) + INDEX + "/BOOKDATA.NET")
            .toStdString();
    QByteArray gebucht;
    for (int box = 0; box < satz::BOXEN; ++box)
        gebucht += Buchung(PROGRAMM_USER, 1, 0xFF000000u + quint32(box));
    // As a deletion leaves them: user and revision 255, the rest as in the backup.
    QByteArray freigegeben = gebucht;
    std::vector<satz::Box> boxen;
    for (int box = 0; box < satz::BOXEN; ++box) {
        freigegeben[box * L] = freigegeben[box * L + 1] = char(satz::FREI);
        boxen.push_back({quint8(box), PROGRAMM_USER, 1});
    }

    for (int v = 0; v < versuche && e.fehler.isEmpty(); ++v) {
        const bool angelegt =
            QDir().mkpath(quelle) &&
            (art == Art::Wiederherstellen ? Anlegen(quelle + "BOOKDATA.BAK", gebucht) &&
                                                Anlegen(quelle + "BOOKDATA.NET", freigegeben)
                                          : Anlegen(quelle + "BOOKDATA.NET", gebucht));
        if (!angelegt) {
            e.fehler = QStringLiteral("cannot write the booking files in ") + quelle;
            break;
        }
        Bühne bühne;
        std::vector<std::unique_ptr<Arbeitsplatz>> plätze;
        std::vector<std::thread> fäden;
        for (int k = 0; k < arbeitsplaetze; ++k)
            plätze.push_back(std::make_unique<Arbeitsplatz>(k, arbeitsplaetze, pauseUs));
        for (const auto& p : plätze)
            fäden.emplace_back([&, platz = p.get()] { platz->Laufen(pfad, art, bühne); });
        while (bühne.bereit.load() < arbeitsplaetze)
            std::this_thread::yield();

        int fehler = 0;
        if (art == Art::Wiederherstellen) {
            const ordner::Zurückgeholt z = ordner::Zurückholen(mountLib, INDEX, boxen);
            e.programm += z.zurück;
            fehler = z.fehler;
        } else {
            const ordner::Umgeschrieben u = ordner::Umschreiben(mountLib, INDEX, boxen);
            e.programm += qint64(u.freigegeben.size());
            fehler = u.fehler;
        }
        bühne.fertig.store(true);
        for (std::thread& f : fäden)
            f.join();

        std::vector<char> gemischt(satz::BOXEN, 0);
        for (const auto& p : plätze) {
            e.buchungen += p->buchungen;
            e.verloren += p->verloren;
            for (const int box : p->gemischt)
                gemischt[size_t(box)] = 1;
            if (p->fehler != 0 && e.fehler.isEmpty())
                e.fehler = QStringLiteral("a workstation's request failed: ") +
                           QString::fromLocal8Bit(std::strerror(p->fehler));
        }
        QFile f(quelle + "BOOKDATA.NET");
        const QByteArray nachher = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        if (nachher.size() != satz::BOXEN * L && e.fehler.isEmpty())
            e.fehler = QStringLiteral("BOOKDATA.NET is not 4096 bytes after the trial");
        for (int box = 0; box < satz::BOXEN && nachher.size() == satz::BOXEN * L; ++box) {
            if (!Ganz(nachher.constData() + box * L))
                gemischt[size_t(box)] = 1;
        }
        e.gemischt += std::count(gemischt.begin(), gemischt.end(), 1);
        ++e.versuche;
        if (fehler != 0 && e.fehler.isEmpty())
            e.fehler = QStringLiteral("the program's work stopped with error %1").arg(fehler);
    }
    return e;
}

} // namespace qk::wettlauf
