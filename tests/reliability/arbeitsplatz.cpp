// A simulated CAD workstation: books and releases boxes of BOOKDATA.NET files in place, one
// record at a time as a workstation does, while the tests run the tool beside it.
//
//   qk_arbeitsplatz USER SEED FIRST LAST STOPFILE MAXSECONDS FILE...
//
// Until STOPFILE exists or MAXSECONDS have passed it books free boxes FIRST..LAST (a revision of
// its own) and releases boxes it holds, at random. It prints "ready" once it has started, at the
// end one line "held FILENUMBER BOX REVISION" for each booking it still holds, then
// "done OPERATIONS LOST RETURNED": how often it found one of its bookings gone from the file, or
// one that it had released booked in its name again.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 8)
        return 2;
    const auto user = static_cast<unsigned char>(std::atoi(argv[1]));
    std::mt19937 zufall(static_cast<unsigned>(std::atoi(argv[2])));
    std::uniform_int_distribution<int> boxWahl(std::atoi(argv[3]), std::atoi(argv[4]));
    const auto ende = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(argv[6]));
    std::vector<int> dateien;
    for (int i = 7; i < argc; ++i) {
        if (dateien.emplace_back(open(argv[i], O_RDWR)) < 0)
            return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);

    std::vector<int> gehalten(dateien.size() * 256, -1); // file * 256 + box -> revision
    long vorgänge = 0, verloren = 0, zurück = 0;
    unsigned char revision = 0, satz[2];
    bool ok = true;
    while (ok && (vorgänge % 256 != 0 ||
                  (access(argv[5], F_OK) != 0 && std::chrono::steady_clock::now() < ende))) {
        ++vorgänge;
        const size_t d = zufall() % dateien.size();
        const int fd = dateien[d], box = boxWahl(zufall);
        int& rev = gehalten[d * 256 + size_t(box)];
        if (pread(fd, satz, 2, box * 16) != 2)
            return 1;
        if (rev >= 0 && (satz[0] != user || satz[1] != rev)) {
            ++verloren;
            rev = -1;
        } else if (rev < 0 && satz[0] == user) {
            ++zurück;
            continue;
        }
        if (satz[0] == 255 && rev < 0) {
            rev = revision = static_cast<unsigned char>(revision % 254 + 1);
            const unsigned char buchung[2] = {user, revision};
            ok = pwrite(fd, buchung, 2, box * 16) == 2;
        } else if (rev >= 0 && zufall() % 2 == 0) {
            rev = -1;
            ok = pwrite(fd, "\xff", 1, box * 16) == 1; // the user byte only
        }
    }
    for (size_t i = 0; i < gehalten.size(); ++i) {
        if (gehalten[i] >= 0)
            std::printf("held %zu %zu %d\n", i / 256, i % 256, gehalten[i]);
    }
    std::printf("done %ld %ld %ld\n", vorgänge, verloren, zurück);
    return ok ? 0 : 1;
}
