// A simulated CAD workstation: books and releases boxes of BOOKDATA.NET files the way a
// workstation does, in place, one record at a time, while the tests run the tool beside it.
//
//   qk_arbeitsplatz USER SEED FIRST LAST STOPFILE MAXSECONDS FILE...
//
// It books free boxes FIRST..LAST (user byte USER, a revision of its own) and releases boxes
// it holds, at random, until STOPFILE exists or MAXSECONDS have passed. It prints "ready" once
// it has started, and at the end one line "held FILENUMBER BOX REVISION" for each booking it
// still holds and a line "done OPERATIONS BOOKINGS RELEASES LOST RETURNED": LOST counts the
// times it found one of its bookings gone from the file, RETURNED the times it found one that it
// had released booked in its name again.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <random>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr int LAENGE = 16;
constexpr unsigned char FREI = 255;

bool Lesen(int fd, int box, unsigned char* satz) {
    return pread(fd, satz, LAENGE, off_t(box) * LAENGE) == LAENGE;
}

bool Schreiben(int fd, int box, const unsigned char* bytes, int n) {
    return pwrite(fd, bytes, size_t(n), off_t(box) * LAENGE) == n;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 8) {
        std::fprintf(stderr, "usage: qk_arbeitsplatz USER SEED FIRST LAST STOPFILE MAXSECONDS "
                             "FILE...\n");
        return 2;
    }
    const auto user = static_cast<unsigned char>(std::atoi(argv[1]));
    std::mt19937 zufall(static_cast<unsigned>(std::atoi(argv[2])));
    const int erste = std::atoi(argv[3]);
    const int letzte = std::atoi(argv[4]);
    const std::string stopp = argv[5];
    const auto ende = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(argv[6]));
    std::vector<int> dateien;
    for (int i = 7; i < argc; ++i) {
        const int fd = open(argv[i], O_RDWR);
        if (fd < 0) {
            std::perror(argv[i]);
            return 1;
        }
        dateien.push_back(fd);
    }
    std::printf("ready\n");
    std::fflush(stdout);

    std::map<std::pair<int, int>, unsigned char> gehalten; // (file, box) -> revision
    long vorgänge = 0, buchungen = 0, freigaben = 0, verloren = 0, zurück = 0;
    unsigned char revision = 0;
    std::uniform_int_distribution<int> dateiWahl(0, int(dateien.size()) - 1);
    std::uniform_int_distribution<int> boxWahl(erste, letzte);
    while (true) {
        if (vorgänge % 256 == 0 &&
            (access(stopp.c_str(), F_OK) == 0 || std::chrono::steady_clock::now() > ende))
            break;
        ++vorgänge;
        const int d = dateiWahl(zufall);
        const int box = boxWahl(zufall);
        unsigned char satz[LAENGE];
        if (!Lesen(dateien[size_t(d)], box, satz))
            return 1;
        auto it = gehalten.find({d, box});
        if (it != gehalten.end() && (satz[0] != user || satz[1] != it->second)) {
            ++verloren;
            gehalten.erase(it);
            it = gehalten.end();
        } else if (it == gehalten.end() && satz[0] == user) {
            ++zurück;
            continue;
        }
        if (satz[0] == FREI && it == gehalten.end()) {
            revision = static_cast<unsigned char>(revision % 254 + 1);
            const unsigned char buchung[2] = {user, revision};
            if (!Schreiben(dateien[size_t(d)], box, buchung, 2))
                return 1;
            gehalten[{d, box}] = revision;
            ++buchungen;
        } else if (it != gehalten.end() && zufall() % 2 == 0) {
            const unsigned char frei[1] = {FREI};
            if (!Schreiben(dateien[size_t(d)], box, frei, 1))
                return 1;
            gehalten.erase(it);
            ++freigaben;
        }
    }
    for (const auto& [stelle, rev] : gehalten)
        std::printf("held %d %d %d\n", stelle.first, stelle.second, int(rev));
    std::printf("done %ld %ld %ld %ld %ld\n", vorgänge, buchungen, freigaben, verloren, zurück);
    for (const int fd : dateien)
        close(fd);
    return 0;
}
