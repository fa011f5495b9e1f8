#pragma once
// The request counters of qk_share, read from its --stats file.
//
// The file holds QK_SHARE_FELDER unsigned 64-bit numbers in the machine's byte order, in the
// order of QK_SHARE_ARTEN below: the kinds of request, then `total` (their sum), then `forget`.
// qk_share maps the file shared and adds to it atomically as it serves each request, before it
// answers; a benchmark maps it as well, so the numbers are current at any moment and reading
// them sends nothing through the mount. Every kind but `forget` waited the configured latency
// and is a round trip on a real share; `forget` is the kernel dropping an inode it no longer
// needs, which gets no answer and costs the client nothing, so it is neither delayed nor in
// `total`.
//
// Plain POSIX and C++20, so that qk_share itself (which has no Qt) shares the order with its
// readers.
#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <optional>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

// Also the order of the numbers in the file. New kinds go before `total`, never between others.
#define QK_SHARE_ARTEN(X)                                                                          \
    X(lookup)                                                                                      \
    X(getattr)                                                                                     \
    X(open)                                                                                        \
    X(read)                                                                                        \
    X(write)                                                                                       \
    X(flush)                                                                                       \
    X(release)                                                                                     \
    X(opendir)                                                                                     \
    X(readdir)                                                                                     \
    X(releasedir)                                                                                  \
    X(create)                                                                                      \
    X(unlink)                                                                                      \
    X(rename)                                                                                      \
    X(mkdir)                                                                                       \
    X(rmdir)                                                                                       \
    X(setattr)                                                                                     \
    X(fsync)                                                                                       \
    X(statfs)                                                                                      \
    X(other)                                                                                       \
    X(total)                                                                                       \
    X(forget)

namespace qk::share {

enum class Art : std::size_t {
#define QK_SHARE_ART(name) name,
    QK_SHARE_ARTEN(QK_SHARE_ART)
#undef QK_SHARE_ART
};

inline constexpr std::size_t FELDER = std::size_t(Art::forget) + 1;
inline constexpr std::size_t DATEIGRÖSSE = FELDER * sizeof(std::uint64_t);

struct Zaehler {
#define QK_SHARE_ART(name) std::uint64_t name = 0;
    QK_SHARE_ARTEN(QK_SHARE_ART)
#undef QK_SHARE_ART
};

struct Feld {
    const char* name;
    std::uint64_t Zaehler::*wert;
};

inline constexpr Feld NAMEN[FELDER] = {
#define QK_SHARE_ART(name) {#name, &Zaehler::name},
    QK_SHARE_ARTEN(QK_SHARE_ART)
#undef QK_SHARE_ART
};

// What happened between two readings: neuer - alter, kind by kind.
inline Zaehler operator-(const Zaehler& neuer, const Zaehler& alter) {
    Zaehler d;
    for (const Feld& f : NAMEN)
        d.*f.wert = neuer.*f.wert - alter.*f.wert;
    return d;
}

// The counters as they stand now; nothing when the file cannot be read or is too short (not
// yet written by qk_share).
inline std::optional<Zaehler> lesen(const char* pfad) {
    const int fd = ::open(pfad, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size < off_t(DATEIGRÖSSE)) {
        ::close(fd);
        return std::nullopt;
    }
    void* karte = ::mmap(nullptr, DATEIGRÖSSE, PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (karte == MAP_FAILED)
        return std::nullopt;
    // qk_share adds with atomic operations; an atomic load sees each number whole.
    const auto* werte = static_cast<const std::uint64_t*>(karte);
    Zaehler z;
    for (std::size_t i = 0; i < FELDER; ++i)
        z.*NAMEN[i].wert = __atomic_load_n(&werte[i], __ATOMIC_RELAXED);
    ::munmap(karte, DATEIGRÖSSE);
    return z;
}

} // namespace qk::share
