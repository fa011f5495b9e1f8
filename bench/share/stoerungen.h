#pragma once
// The faults that qk_share can answer requests with, as its options and its control file name
// them. A real share fails in ways the program cannot bring about on a local disk: a write the
// server refuses only at the close, an fsync that reports lost bytes, a full disk, a server that
// answers every request with EIO after a while.
//
//   fail KIND:ERRNO[:PATH_SUBSTRING[:AFTER_N[:COUNT]]]
//       requests of KIND (a counter's name, or `any`) on a path holding PATH_SUBSTRING (empty:
//       every path) get ERRNO (a name such as EIO, or a number) instead of their answer; the
//       first AFTER_N matching requests (0) pass, then COUNT of them fail (0: all). Releases
//       are never failed: the kernel does not wait for their answer.
//   kill-at KIND[:PATH_SUBSTRING]:N
//       at the N-th matching request the requesting process gets SIGKILL; the request itself is
//       then answered as usual.
//
// The path of a request is the one in SOURCE_DIR: of the file or folder it acts on, or, for a
// request that names an entry (lookup, create, unlink, rename, ...), of that entry.
#include "share_zaehler.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qk::share {

struct Regel {
    bool töten = false;
    std::optional<Art> art; // none: any kind
    int fehler = 0;
    std::string teil;
    std::uint64_t ab = 0;     // fail: requests that pass first; kill-at: the one that kills
    std::uint64_t anzahl = 0; // fail: 0 for all
    mutable std::atomic<std::uint64_t> gesehen{0};

    // Counts a matching request. What to do with it: fail it with `fehler` (true), or, for
    // kill-at, kill its process (true).
    bool Trifft() const {
        const std::uint64_t n = gesehen.fetch_add(1, std::memory_order_relaxed) + 1;
        if (töten)
            return n == ab;
        return n > ab && (anzahl == 0 || n <= ab + anzahl);
    }
};
using Regeln = std::vector<std::unique_ptr<Regel>>;

inline std::optional<int> Fehlernummer(const std::string& text) {
    static const std::pair<const char*, int> namen[] = {
        {"EIO", EIO},       {"ENOSPC", ENOSPC},       {"EDQUOT", EDQUOT},   {"EACCES", EACCES},
        {"EPERM", EPERM},   {"ENOENT", ENOENT},       {"EROFS", EROFS},     {"ESTALE", ESTALE},
        {"EAGAIN", EAGAIN}, {"ETIMEDOUT", ETIMEDOUT}, {"EINTR", EINTR},     {"ENOTCONN", ENOTCONN},
        {"EFBIG", EFBIG},   {"EINVAL", EINVAL},       {"ENOTSUP", ENOTSUP}, {"ENOSYS", ENOSYS},
        {"EBUSY", EBUSY},   {"EHOSTDOWN", EHOSTDOWN}, {"ENXIO", ENXIO},     {"EBADF", EBADF},
        {"ENOMEM", ENOMEM}, {"EMFILE", EMFILE},
    };
    for (const auto& [name, nummer] : namen)
        if (text == name)
            return nummer;
    char* ende = nullptr;
    const long n = std::strtol(text.c_str(), &ende, 10);
    if (text.empty() || *ende != '\0' || n <= 0 || n > 4095)
        return std::nullopt;
    return int(n);
}

inline std::optional<std::uint64_t> Anzahl(const std::string& text) {
    if (text.empty())
        return 0;
    char* ende = nullptr;
    errno = 0;
    const unsigned long long n = std::strtoull(text.c_str(), &ende, 10);
    if (errno || *ende != '\0' || text[0] == '-')
        return std::nullopt;
    return std::uint64_t(n);
}

// `any` or a counter's name, `total` and `forget` excepted (they are no requests of their own).
inline std::optional<std::optional<Art>> Artname(const std::string& text) {
    if (text == "any")
        return std::optional<Art>();
    for (std::size_t i = 0; i < std::size_t(Art::total); ++i)
        if (text == NAMEN[i].name)
            return std::optional<Art>(Art(i));
    return std::nullopt;
}

// One rule from the text after `fail` or `kill-at`; nothing when it is not one.
inline std::unique_ptr<Regel> Regel_Lesen(bool töten, const std::string& text) {
    std::vector<std::string> teile;
    for (std::size_t anfang = 0;;) {
        const std::size_t doppelpunkt = text.find(':', anfang);
        teile.push_back(text.substr(anfang, doppelpunkt - anfang));
        if (doppelpunkt == std::string::npos)
            break;
        anfang = doppelpunkt + 1;
    }
    auto r = std::make_unique<Regel>();
    r->töten = töten;
    const auto art = Artname(teile[0]);
    if (!art)
        return nullptr;
    r->art = *art;
    if (töten) {
        if (teile.size() < 2 || teile.size() > 3)
            return nullptr;
        const auto n = Anzahl(teile.back());
        if (!n || *n == 0)
            return nullptr;
        r->ab = *n;
        if (teile.size() == 3)
            r->teil = teile[1];
        return r;
    }
    if (teile.size() < 2 || teile.size() > 5)
        return nullptr;
    const auto nummer = Fehlernummer(teile[1]);
    const auto ab = Anzahl(teile.size() > 3 ? teile[3] : "");
    const auto anzahl = Anzahl(teile.size() > 4 ? teile[4] : "");
    if (!nummer || !ab || !anzahl)
        return nullptr;
    r->fehler = *nummer;
    r->teil = teile.size() > 2 ? teile[2] : "";
    r->ab = *ab;
    r->anzahl = *anzahl;
    return r;
}

// The rules of a control file: one `fail ...` or `kill-at ...` a line; empty lines and lines
// starting with # say nothing. A line that is no rule goes to `falsch`.
inline Regeln Steuerung_Lesen(const std::string& text, std::vector<std::string>& falsch) {
    Regeln regeln;
    std::size_t anfang = 0;
    while (anfang < text.size()) {
        std::size_t ende = text.find('\n', anfang);
        if (ende == std::string::npos)
            ende = text.size();
        std::string zeile = text.substr(anfang, ende - anfang);
        anfang = ende + 1;
        while (!zeile.empty() && (zeile.back() == '\r' || zeile.back() == ' '))
            zeile.pop_back();
        if (zeile.empty() || zeile[0] == '#')
            continue;
        std::unique_ptr<Regel> r;
        if (zeile.starts_with("fail "))
            r = Regel_Lesen(false, zeile.substr(5));
        else if (zeile.starts_with("kill-at "))
            r = Regel_Lesen(true, zeile.substr(8));
        if (r)
            regeln.push_back(std::move(r));
        else
            falsch.push_back(zeile);
    }
    return regeln;
}

} // namespace qk::share
