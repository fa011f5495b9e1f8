// qk_share: SOURCE_DIR seen through a FUSE mount that behaves like the network share of a CAD
// site, for the benchmark.
//
//   qk_share SOURCE_DIR MOUNTPOINT [--latency-us N] [--stats FILE] [--threads N] [-f] [-d]
//            [--fail KIND:ERRNO[:PATH_SUBSTRING[:AFTER_N[:COUNT]]]]...
//            [--kill-at KIND[:PATH_SUBSTRING]:N]... [--control FILE]
//
// Every request waits N microseconds (default 1000) in the worker thread that serves it, as a
// round trip to a file server would, and is then done on SOURCE_DIR. The kernel keeps nothing
// between requests: names, attributes and missing names expire at once, and files are opened
// for direct I/O, so every read and write reaches the daemon. That is the share without client
// caching that the program meets, where workstations change the files at any moment. Requests
// are answered by up to --threads workers (default 128) at the same time. Each request served
// is counted by kind; with --stats the counters live in FILE (see share_zaehler.h). Without -f
// the daemon goes to the background once mounted. SIGINT, SIGTERM and `fusermount3 -u` end it.
//
// For the tests of the program's file layer it also fails requests as a real share does
// (stoerungen.h): --fail and --kill-at rules hold for the whole run; the rules in the --control
// file, one `fail ...` or `kill-at ...` a line, hold while the file says so, which it is read
// for at every request (a new content starts their counts again), so that a test can make the
// share fail and recover while it stays mounted. With -f it then says "mounted" on its output
// once it is. Without these options nothing is looked at.
#define FUSE_USE_VERSION 314

#include "share_zaehler.h"
#include "stoerungen.h"

#include <fuse_lowlevel.h>
#include <linux/fuse.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/uio.h>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using qk::share::Art;

// A file or folder the kernel knows. A folder keeps an O_PATH descriptor, which follows it
// through renames. A file is reached by its name in its folder instead: the kernel keeps what it
// looked up until it needs the memory, and a descriptor for every booking file and backup of a
// Library of 10,000 index folders would pass the limit of open files (after which every request
// fails with EMFILE). With an entry time-out of 0 the kernel looks each name up again before it
// uses it, which keeps the name current.
struct Knoten {
    int fd = -1; // folders only
    dev_t dev = 0;
    ino_t ino = 0;
    std::uint64_t nlookup = 0; // the kernel's references; at 0 it is forgotten
    Knoten* eltern = nullptr;  // files: the folder and name they were last found under
    std::string name;
    std::uint64_t kinder = 0; // files that reach theirs through this folder
};

struct Verzeichnis {
    DIR* dp = nullptr;
    off_t pos = 0;
    dirent* offen = nullptr; // read from dp but not yet sent: it did not fit the last answer
};

struct Share {
    Knoten wurzel;
    std::mutex mutex;
    std::map<std::pair<dev_t, ino_t>, Knoten*> knoten;
    timespec latenz{};
    unsigned threads = 128;
    std::uint64_t* zaehler = nullptr;
    std::atomic<bool> parallel{false}; // to be told to the kernel in the answer to INIT
    std::uint64_t initAnfrage = 0;     // the unique of the kernel's INIT, once read
    std::atomic<bool> initGelesen{false};
    // The faults (stoerungen.h); `gestört` is false when there are none to look at.
    bool gestört = false;
    qk::share::Regeln feste;
    std::string steuerdatei;
    std::mutex steuerMutex;
    std::string steuerText;
    std::shared_ptr<const qk::share::Regeln> gesteuert;
};

Share& Von(fuse_req_t req) {
    return *static_cast<Share*>(fuse_req_userdata(req));
}

void Zählen(Share& s, Art art) {
    std::atomic_ref<std::uint64_t>(s.zaehler[std::size_t(art)])
        .fetch_add(1, std::memory_order_relaxed);
    if (art != Art::forget)
        std::atomic_ref<std::uint64_t>(s.zaehler[std::size_t(Art::total)])
            .fetch_add(1, std::memory_order_relaxed);
}

// Counted first, so that a client holding the answer always finds its request in the counters.
Share& Anfrage(fuse_req_t req, Art art) {
    Share& s = Von(req);
    Zählen(s, art);
    if (s.latenz.tv_sec != 0 || s.latenz.tv_nsec != 0) {
        timespec rest = s.latenz;
        while (clock_nanosleep(CLOCK_MONOTONIC, 0, &rest, &rest) == EINTR) {
        }
    }
    return s;
}

Knoten& KnotenVon(Share& s, fuse_ino_t ino) {
    return ino == FUSE_ROOT_ID ? s.wurzel : *reinterpret_cast<Knoten*>(ino);
}

// The inode behind an O_PATH descriptor by path, for the calls that take no empty path.
struct ProcPfad {
    char text[40];
    explicit ProcPfad(int fd) { std::snprintf(text, sizeof text, "/proc/self/fd/%d", fd); }
};

int Stat(int fd, struct stat& st) {
    return fstatat(fd, "", &st, AT_EMPTY_PATH | AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

// Deletes the Knoten once neither the kernel nor a file needs it, and so on up; under the mutex.
void Loslassen(Share& s, Knoten* k) {
    while (k != nullptr && k != &s.wurzel && k->nlookup == 0 && k->kinder == 0) {
        s.knoten.erase({k->dev, k->ino});
        if (k->fd >= 0)
            close(k->fd);
        Knoten* eltern = k->eltern;
        delete k;
        if (eltern != nullptr)
            --eltern->kinder;
        k = eltern;
    }
}

// A file's place, as the kernel last found it; under the mutex.
void Umhängen(Knoten& k, Knoten& eltern, const char* name) {
    if (k.eltern != &eltern) {
        if (k.eltern != nullptr)
            --k.eltern->kinder;
        ++eltern.kinder;
        k.eltern = &eltern;
    }
    k.name = name;
}

// An O_PATH descriptor of a Knoten for one call: a folder's own, a file's opened by its name.
class Griff {
public:
    Griff(Share& s, const Knoten& k) {
        if (k.fd >= 0) {
            m_fd = k.fd;
            return;
        }
        int ordner = -1;
        std::string name;
        {
            std::lock_guard lock(s.mutex);
            ordner = k.eltern != nullptr ? k.eltern->fd : -1;
            name = k.name;
        }
        m_fd = openat(ordner, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        m_eigen = m_fd >= 0;
    }
    ~Griff() {
        if (m_eigen)
            close(m_fd);
    }
    Griff(const Griff&) = delete;
    Griff& operator=(const Griff&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd = -1;
    bool m_eigen = false;
};

// ---- faults ----

// The path in SOURCE_DIR of a Knoten, or of the entry `name` in it.
std::string Pfad(Share& s, fuse_ino_t ino, const char* name) {
    const Knoten& k = KnotenVon(s, ino);
    int ordner = -1;
    std::string pfad;
    {
        std::lock_guard lock(s.mutex);
        ordner = k.fd >= 0 ? k.fd : (k.eltern != nullptr ? k.eltern->fd : -1);
        if (k.fd < 0)
            pfad = "/" + k.name;
    }
    char ziel[PATH_MAX + 1];
    const ssize_t n = ordner < 0 ? -1 : readlink(ProcPfad(ordner).text, ziel, PATH_MAX);
    pfad.insert(0, n > 0 ? std::string(ziel, size_t(n)) : std::string());
    if (name != nullptr)
        pfad += std::string("/") + name;
    return pfad;
}

// The rules of the control file as it reads now.
std::shared_ptr<const qk::share::Regeln> Gesteuert(Share& s) {
    if (s.steuerdatei.empty())
        return nullptr;
    std::string text;
    const int fd = open(s.steuerdatei.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        char puffer[4096];
        ssize_t n = 0;
        while ((n = read(fd, puffer, sizeof puffer)) > 0)
            text.append(puffer, size_t(n));
        close(fd);
    }
    std::lock_guard lock(s.steuerMutex);
    if (!s.gesteuert || text != s.steuerText) {
        std::vector<std::string> falsch;
        s.gesteuert =
            std::make_shared<const qk::share::Regeln>(qk::share::Steuerung_Lesen(text, falsch));
        s.steuerText = std::move(text);
        for (const std::string& zeile : falsch)
            std::fprintf(stderr, "qk_share: %s: not a rule: %s\n", s.steuerdatei.c_str(),
                         zeile.c_str());
    }
    return s.gesteuert;
}

// Applies the rules to a request on `ino` (or on its entry `name`; `ino2` and `name2` for the
// target of a rename). True when the request has been answered with a fault; a request whose
// process is killed is still served.
bool Gestört(fuse_req_t req, Art art, fuse_ino_t ino, const char* name = nullptr,
             fuse_ino_t ino2 = 0, const char* name2 = nullptr) {
    Share& s = Von(req);
    if (!s.gestört)
        return false;
    const std::shared_ptr<const qk::share::Regeln> gesteuert = Gesteuert(s);
    std::optional<std::string> pfad, pfad2;
    const auto passt = [&](const qk::share::Regel& r) {
        if (r.art && *r.art != art)
            return false;
        if (r.teil.empty())
            return true;
        if (!pfad)
            pfad = Pfad(s, ino, name);
        if (pfad->find(r.teil) != std::string::npos)
            return true;
        if (name2 == nullptr)
            return false;
        if (!pfad2)
            pfad2 = Pfad(s, ino2, name2);
        return pfad2->find(r.teil) != std::string::npos;
    };
    int fehler = 0;
    const qk::share::Regeln* alle[] = {&s.feste, gesteuert.get()};
    for (const qk::share::Regeln* regeln : alle) {
        for (std::size_t i = 0; regeln != nullptr && i < regeln->size(); ++i) {
            const qk::share::Regel& r = *(*regeln)[i];
            if (!passt(r) || !r.Trifft())
                continue;
            if (r.töten)
                kill(fuse_req_ctx(req)->pid, SIGKILL);
            else if (fehler == 0)
                fehler = r.fehler;
        }
    }
    if (fehler == 0)
        return false;
    Anfrage(req, art); // a refused request is a round trip all the same
    fuse_reply_err(req, fehler);
    return true;
}

void Vergessen(Share& s, fuse_ino_t ino, std::uint64_t n) {
    if (ino == FUSE_ROOT_ID)
        return;
    Knoten* k = reinterpret_cast<Knoten*>(ino);
    std::lock_guard lock(s.mutex);
    if (n > k->nlookup) {
        std::fprintf(stderr, "qk_share: the kernel forgot %llu references of %llu\n",
                     static_cast<unsigned long long>(n),
                     static_cast<unsigned long long>(k->nlookup));
        n = k->nlookup;
    }
    k->nlookup -= n;
    Loslassen(s, k);
}

// Looks `name` up in `parent` and takes one kernel reference on it; 0 or the errno.
int Eintrag(Share& s, Knoten& parent, const char* name, fuse_entry_param& e) {
    const int fd = openat(parent.fd, name, O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno;
    e = fuse_entry_param{};
    if (const int fehler = Stat(fd, e.attr)) {
        close(fd);
        return fehler;
    }
    const bool ordner = S_ISDIR(e.attr.st_mode);
    Knoten* k = nullptr;
    bool behalten = false;
    {
        std::lock_guard lock(s.mutex);
        auto it = s.knoten.find({e.attr.st_dev, e.attr.st_ino});
        if (it != s.knoten.end()) {
            k = it->second;
        } else {
            behalten = ordner;
            k = new Knoten{ordner ? fd : -1, e.attr.st_dev, e.attr.st_ino, 0, nullptr, {}, 0};
            s.knoten.emplace(std::pair{k->dev, k->ino}, k);
        }
        if (k->fd < 0)
            Umhängen(*k, parent, name);
        ++k->nlookup;
    }
    if (!behalten)
        close(fd);
    e.ino = reinterpret_cast<fuse_ino_t>(k);
    e.attr_timeout = 0;
    e.entry_timeout = 0;
    return 0;
}

// Answers with the entry; an answer the kernel no longer waits for (interrupted) gives the
// reference back.
void EintragAntworten(fuse_req_t req, Share& s, int fehler, const fuse_entry_param& e) {
    if (fehler) {
        fuse_reply_err(req, fehler);
        return;
    }
    if (fuse_reply_entry(req, &e) == -ENOENT)
        Vergessen(s, e.ino, 1);
}

void Antworten(fuse_req_t req, int ergebnis) {
    fuse_reply_err(req, ergebnis == 0 ? 0 : errno);
}

// ---- the requests, in the order of share_zaehler.h ----

void Init(void* daten, fuse_conn_info* conn) {
    Share& s = *static_cast<Share*>(daten);
    // The kernel must neither gather writes nor fetch attributes with the listing: each
    // request the program causes is to arrive here as it was made.
    conn->want &= ~(FUSE_CAP_WRITEBACK_CACHE | FUSE_CAP_READDIRPLUS | FUSE_CAP_READDIRPLUS_AUTO);
    // Without it the kernel sends one lookup at a time per folder: the program's requests in
    // flight would queue in the kernel instead of at the server. (GerätSchreiben tells the
    // kernel, which this libfuse does not.)
    if (conn->capable & FUSE_CAP_PARALLEL_DIROPS) {
        conn->want |= FUSE_CAP_PARALLEL_DIROPS;
        s.parallel.store(true);
    }
    // Asynchronous releases and any asynchronous direct I/O count against this limit
    // (12 by default), not the synchronous reads and writes of a program.
    conn->max_background = std::min(s.threads, 65535u);
    conn->congestion_threshold = conn->max_background * 3 / 4;
}

void Lookup(fuse_req_t req, fuse_ino_t parent, const char* name) {
    Share& s = Anfrage(req, Art::lookup);
    fuse_entry_param e;
    // ENOENT rather than an entry with inode 0: the kernel does not remember a missing name.
    EintragAntworten(req, s, Eintrag(s, KnotenVon(s, parent), name, e), e);
}

void Getattr(fuse_req_t req, fuse_ino_t ino, fuse_file_info* fi) {
    Share& s = Anfrage(req, Art::getattr);
    struct stat st {};
    const int fehler = fi ? (fstat(int(fi->fh), &st) == 0 ? 0 : errno)
                          : Stat(Griff(s, KnotenVon(s, ino)).fd(), st);
    if (fehler)
        fuse_reply_err(req, fehler);
    else
        fuse_reply_attr(req, &st, 0);
}

void Open(fuse_req_t req, fuse_ino_t ino, fuse_file_info* fi) {
    Share& s = Anfrage(req, Art::open);
    const Griff griff(s, KnotenVon(s, ino));
    const int fd = open(ProcPfad(griff.fd()).text, fi->flags & ~O_NOFOLLOW);
    if (fd < 0) {
        fuse_reply_err(req, errno);
        return;
    }
    fi->fh = std::uint64_t(fd);
    fi->direct_io = 1;
    if (fuse_reply_open(req, fi) == -ENOENT)
        close(fd);
}

void Read(fuse_req_t req, fuse_ino_t, size_t size, off_t off, fuse_file_info* fi) {
    Anfrage(req, Art::read);
    thread_local std::vector<char> puffer;
    puffer.resize(std::max(puffer.size(), size));
    const ssize_t n = pread(int(fi->fh), puffer.data(), size, off);
    if (n < 0)
        fuse_reply_err(req, errno);
    else
        fuse_reply_buf(req, puffer.data(), size_t(n));
}

void Write(fuse_req_t req, fuse_ino_t, const char* buf, size_t size, off_t off,
           fuse_file_info* fi) {
    Anfrage(req, Art::write);
    const ssize_t n = pwrite(int(fi->fh), buf, size, off);
    if (n < 0)
        fuse_reply_err(req, errno);
    else
        fuse_reply_write(req, size_t(n));
}

// The kernel sends a flush for every close() of the program, a release only after the last one.
// Closing a duplicate reports what close() on the real file would, and the file stays open
// until the release.
void Flush(fuse_req_t req, fuse_ino_t, fuse_file_info* fi) {
    Anfrage(req, Art::flush);
    const int kopie = dup(int(fi->fh));
    Antworten(req, kopie < 0 ? -1 : close(kopie));
}

void Release(fuse_req_t req, fuse_ino_t, fuse_file_info* fi) {
    Anfrage(req, Art::release);
    close(int(fi->fh));
    fuse_reply_err(req, 0);
}

void Opendir(fuse_req_t req, fuse_ino_t ino, fuse_file_info* fi) {
    Share& s = Anfrage(req, Art::opendir);
    const int fd = openat(KnotenVon(s, ino).fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dp = fd < 0 ? nullptr : fdopendir(fd);
    if (!dp) {
        const int fehler = errno;
        if (fd >= 0)
            close(fd);
        fuse_reply_err(req, fehler);
        return;
    }
    auto* v = new Verzeichnis{dp, 0, nullptr};
    fi->fh = reinterpret_cast<std::uint64_t>(v);
    if (fuse_reply_open(req, fi) == -ENOENT) {
        closedir(dp);
        delete v;
    }
}

void Readdir(fuse_req_t req, fuse_ino_t, size_t size, off_t off, fuse_file_info* fi) {
    Anfrage(req, Art::readdir);
    auto* v = reinterpret_cast<Verzeichnis*>(fi->fh);
    if (off != v->pos) {
        seekdir(v->dp, off);
        v->offen = nullptr;
        v->pos = off;
    }
    std::vector<char> puffer(size);
    size_t voll = 0;
    for (;;) {
        if (!v->offen) {
            errno = 0;
            v->offen = readdir(v->dp);
            if (!v->offen) {
                if (errno && voll == 0) {
                    fuse_reply_err(req, errno);
                    return;
                }
                break;
            }
        }
        // The kind of each entry goes with the name, so that a lister learns which names are
        // folders without a request per entry, as from a share's directory listing.
        struct stat st {};
        st.st_ino = v->offen->d_ino;
        st.st_mode = DTTOIF(v->offen->d_type);
        if (v->offen->d_type == DT_UNKNOWN)
            fstatat(dirfd(v->dp), v->offen->d_name, &st, AT_SYMLINK_NOFOLLOW);
        const off_t nächste = v->offen->d_off;
        const size_t n = fuse_add_direntry(req, puffer.data() + voll, size - voll, v->offen->d_name,
                                           &st, nächste);
        if (n > size - voll)
            break; // stays in v->offen for the next request
        voll += n;
        v->pos = nächste;
        v->offen = nullptr;
    }
    fuse_reply_buf(req, puffer.data(), voll);
}

void Releasedir(fuse_req_t req, fuse_ino_t, fuse_file_info* fi) {
    Anfrage(req, Art::releasedir);
    auto* v = reinterpret_cast<Verzeichnis*>(fi->fh);
    closedir(v->dp);
    delete v;
    fuse_reply_err(req, 0);
}

void Create(fuse_req_t req, fuse_ino_t parent, const char* name, mode_t mode, fuse_file_info* fi) {
    Share& s = Anfrage(req, Art::create);
    Knoten& p = KnotenVon(s, parent);
    const int fd = openat(p.fd, name, (fi->flags | O_CREAT) & ~O_NOFOLLOW, mode);
    if (fd < 0) {
        fuse_reply_err(req, errno);
        return;
    }
    fuse_entry_param e;
    if (const int fehler = Eintrag(s, p, name, e)) {
        close(fd);
        fuse_reply_err(req, fehler);
        return;
    }
    fi->fh = std::uint64_t(fd);
    fi->direct_io = 1;
    if (fuse_reply_create(req, &e, fi) == -ENOENT) {
        close(fd);
        Vergessen(s, e.ino, 1);
    }
}

void Unlink(fuse_req_t req, fuse_ino_t parent, const char* name) {
    Share& s = Anfrage(req, Art::unlink);
    Antworten(req, unlinkat(KnotenVon(s, parent).fd, name, 0));
}

void Rename(fuse_req_t req, fuse_ino_t parent, const char* name, fuse_ino_t newparent,
            const char* newname, unsigned int flags) {
    Share& s = Anfrage(req, Art::rename);
    Knoten& von = KnotenVon(s, parent);
    Knoten& nach = KnotenVon(s, newparent);
    if (renameat2(von.fd, name, nach.fd, newname, flags) != 0) {
        fuse_reply_err(req, errno);
        return;
    }
    // The files now under both names (one only, unless they were exchanged) are found there.
    for (const auto& [ordner, neu] : {std::pair{&von, name}, std::pair{&nach, newname}}) {
        struct stat st {};
        if (fstatat(ordner->fd, neu, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        std::lock_guard lock(s.mutex);
        const auto it = s.knoten.find({st.st_dev, st.st_ino});
        if (it != s.knoten.end() && it->second->fd < 0)
            Umhängen(*it->second, *ordner, neu);
    }
    fuse_reply_err(req, 0);
}

void Mkdir(fuse_req_t req, fuse_ino_t parent, const char* name, mode_t mode) {
    Share& s = Anfrage(req, Art::mkdir);
    Knoten& p = KnotenVon(s, parent);
    fuse_entry_param e;
    const int fehler = mkdirat(p.fd, name, mode) == 0 ? Eintrag(s, p, name, e) : errno;
    EintragAntworten(req, s, fehler, e);
}

void Rmdir(fuse_req_t req, fuse_ino_t parent, const char* name) {
    Share& s = Anfrage(req, Art::rmdir);
    Antworten(req, unlinkat(KnotenVon(s, parent).fd, name, AT_REMOVEDIR));
}

void Setattr(fuse_req_t req, fuse_ino_t ino, struct stat* attr, int valid, fuse_file_info* fi) {
    Share& s = Anfrage(req, Art::setattr);
    const Griff k(s, KnotenVon(s, ino));
    const ProcPfad pfad(k.fd());
    const int fh = fi ? int(fi->fh) : -1;
    int r = 0;
    if (valid & FUSE_SET_ATTR_MODE)
        r = fi ? fchmod(fh, attr->st_mode) : chmod(pfad.text, attr->st_mode);
    if (r == 0 && (valid & (FUSE_SET_ATTR_UID | FUSE_SET_ATTR_GID))) {
        const uid_t uid = (valid & FUSE_SET_ATTR_UID) ? attr->st_uid : uid_t(-1);
        const gid_t gid = (valid & FUSE_SET_ATTR_GID) ? attr->st_gid : gid_t(-1);
        r = fchownat(k.fd(), "", uid, gid, AT_EMPTY_PATH | AT_SYMLINK_NOFOLLOW);
    }
    if (r == 0 && (valid & FUSE_SET_ATTR_SIZE))
        r = fi ? ftruncate(fh, attr->st_size) : truncate(pfad.text, attr->st_size);
    if (r == 0 && (valid & (FUSE_SET_ATTR_ATIME | FUSE_SET_ATTR_MTIME))) {
        timespec zeiten[2] = {{0, UTIME_OMIT}, {0, UTIME_OMIT}};
        if (valid & FUSE_SET_ATTR_ATIME_NOW)
            zeiten[0].tv_nsec = UTIME_NOW;
        else if (valid & FUSE_SET_ATTR_ATIME)
            zeiten[0] = attr->st_atim;
        if (valid & FUSE_SET_ATTR_MTIME_NOW)
            zeiten[1].tv_nsec = UTIME_NOW;
        else if (valid & FUSE_SET_ATTR_MTIME)
            zeiten[1] = attr->st_mtim;
        r = fi ? futimens(fh, zeiten) : utimensat(AT_FDCWD, pfad.text, zeiten, 0);
    }
    struct stat st {};
    const int fehler = r != 0 ? errno : Stat(k.fd(), st);
    if (fehler)
        fuse_reply_err(req, fehler);
    else
        fuse_reply_attr(req, &st, 0);
}

void Fsync(fuse_req_t req, fuse_ino_t, int datasync, fuse_file_info* fi) {
    Anfrage(req, Art::fsync);
    Antworten(req, datasync ? fdatasync(int(fi->fh)) : fsync(int(fi->fh)));
}

void Statfs(fuse_req_t req, fuse_ino_t ino) {
    Share& s = Anfrage(req, Art::statfs);
    struct statvfs st {};
    if (fstatvfs(Griff(s, KnotenVon(s, ino)).fd(), &st) != 0)
        fuse_reply_err(req, errno);
    else
        fuse_reply_statfs(req, &st);
}

// ---- everything else a program may cause, counted as "other" ----

void Access(fuse_req_t req, fuse_ino_t ino, int mask) {
    Share& s = Anfrage(req, Art::other);
    Antworten(req, access(ProcPfad(Griff(s, KnotenVon(s, ino)).fd()).text, mask));
}

void Readlink(fuse_req_t req, fuse_ino_t ino) {
    Share& s = Anfrage(req, Art::other);
    char ziel[PATH_MAX + 1];
    const ssize_t n = readlinkat(Griff(s, KnotenVon(s, ino)).fd(), "", ziel, PATH_MAX);
    if (n < 0) {
        fuse_reply_err(req, errno);
        return;
    }
    ziel[n] = '\0';
    fuse_reply_readlink(req, ziel);
}

void Mknod(fuse_req_t req, fuse_ino_t parent, const char* name, mode_t mode, dev_t rdev) {
    Share& s = Anfrage(req, Art::other);
    Knoten& p = KnotenVon(s, parent);
    fuse_entry_param e;
    const int fehler = mknodat(p.fd, name, mode, rdev) == 0 ? Eintrag(s, p, name, e) : errno;
    EintragAntworten(req, s, fehler, e);
}

void Symlink(fuse_req_t req, const char* ziel, fuse_ino_t parent, const char* name) {
    Share& s = Anfrage(req, Art::other);
    Knoten& p = KnotenVon(s, parent);
    fuse_entry_param e;
    const int fehler = symlinkat(ziel, p.fd, name) == 0 ? Eintrag(s, p, name, e) : errno;
    EintragAntworten(req, s, fehler, e);
}

void Link(fuse_req_t req, fuse_ino_t ino, fuse_ino_t newparent, const char* newname) {
    Share& s = Anfrage(req, Art::other);
    Knoten& p = KnotenVon(s, newparent);
    fuse_entry_param e;
    const int fehler = linkat(AT_FDCWD, ProcPfad(Griff(s, KnotenVon(s, ino)).fd()).text, p.fd,
                              newname, AT_SYMLINK_FOLLOW) == 0
                           ? Eintrag(s, p, newname, e)
                           : errno;
    EintragAntworten(req, s, fehler, e);
}

void Fsyncdir(fuse_req_t req, fuse_ino_t, int datasync, fuse_file_info* fi) {
    Anfrage(req, Art::other);
    const int fd = dirfd(reinterpret_cast<Verzeichnis*>(fi->fh)->dp);
    Antworten(req, datasync ? fdatasync(fd) : fsync(fd));
}

void Fallocate(fuse_req_t req, fuse_ino_t, int mode, off_t offset, off_t length,
               fuse_file_info* fi) {
    Anfrage(req, Art::other);
    Antworten(req, fallocate(int(fi->fh), mode, offset, length));
}

// A share offers no extended attributes. ENOSYS makes the kernel stop asking for the rest of the
// mount; otherwise it would ask for security.capability before every write.
void Getxattr(fuse_req_t req, fuse_ino_t, const char*, size_t) {
    Anfrage(req, Art::other);
    fuse_reply_err(req, ENOSYS);
}
void Listxattr(fuse_req_t req, fuse_ino_t, size_t) {
    Anfrage(req, Art::other);
    fuse_reply_err(req, ENOSYS);
}
void Setxattr(fuse_req_t req, fuse_ino_t, const char*, const char*, size_t, int) {
    Anfrage(req, Art::other);
    fuse_reply_err(req, ENOSYS);
}
void Removexattr(fuse_req_t req, fuse_ino_t, const char*) {
    Anfrage(req, Art::other);
    fuse_reply_err(req, ENOSYS);
}

// Not a round trip: the kernel drops inodes it no longer needs and waits for no answer.
void Forget(fuse_req_t req, fuse_ino_t ino, std::uint64_t nlookup) {
    Share& s = Von(req);
    Zählen(s, Art::forget);
    Vergessen(s, ino, nlookup);
    fuse_reply_none(req);
}

void ForgetMulti(fuse_req_t req, size_t anzahl, fuse_forget_data* liste) {
    Share& s = Von(req);
    for (size_t i = 0; i < anzahl; ++i) {
        Zählen(s, Art::forget);
        Vergessen(s, liste[i].ino, liste[i].nlookup);
    }
    fuse_reply_none(req);
}

// ---- the device ----

// libfuse up to 3.15 takes FUSE_CAP_PARALLEL_DIROPS but never passes it on to the kernel (libfuse
// pull request 861); the kernel then sends one lookup at a time per folder, and the first
// listing of a Library would wait in the kernel instead of at the server. The flag is put into
// the answer to the kernel's INIT on its way to the device.
ssize_t GerätLesen(int fd, void* puffer, size_t länge, void* daten) {
    const ssize_t n = read(fd, puffer, länge);
    Share& s = *static_cast<Share*>(daten);
    if (n >= ssize_t(sizeof(fuse_in_header)) && !s.initGelesen.load()) {
        const auto* kopf = static_cast<const fuse_in_header*>(puffer);
        if (kopf->opcode == FUSE_INIT) {
            s.initAnfrage = kopf->unique;
            s.initGelesen.store(true);
        }
    }
    return n;
}

ssize_t GerätSchreiben(int fd, iovec* iov, int anzahl, void* daten) {
    Share& s = *static_cast<Share*>(daten);
    if (s.parallel.load() && s.initGelesen.load() && anzahl >= 2 &&
        iov[0].iov_len >= sizeof(fuse_out_header) &&
        iov[1].iov_len >= offsetof(fuse_init_out, flags) + sizeof(std::uint32_t)) {
        const auto* kopf = static_cast<const fuse_out_header*>(iov[0].iov_base);
        if (kopf->unique == s.initAnfrage && kopf->error == 0) {
            static_cast<fuse_init_out*>(iov[1].iov_base)->flags |= FUSE_PARALLEL_DIROPS;
            s.parallel.store(false); // once
        }
    }
    return writev(fd, iov, anzahl);
}

// A request handler behind the faults: the request's inode is its first argument after the
// request, and with `MitName` the entry's name the next.
template <auto Op, Art A, bool MitName = false> constexpr auto Mit_Störung() {
    return [](fuse_req_t req, fuse_ino_t ino, auto... rest) {
        const char* name = nullptr;
        if constexpr (MitName)
            name = std::get<0>(std::tuple(rest...));
        if (!Gestört(req, A, ino, name))
            Op(req, ino, rest...);
    };
}

void Rename_Gestört(fuse_req_t req, fuse_ino_t parent, const char* name, fuse_ino_t newparent,
                    const char* newname, unsigned int flags) {
    if (!Gestört(req, Art::rename, parent, name, newparent, newname))
        Rename(req, parent, name, newparent, newname, flags);
}

fuse_lowlevel_ops Operationen() {
    fuse_lowlevel_ops o{};
    o.init = Init;
    o.lookup = Mit_Störung<Lookup, Art::lookup, true>();
    o.forget = Forget;
    o.forget_multi = ForgetMulti;
    o.getattr = Mit_Störung<Getattr, Art::getattr>();
    o.setattr = Mit_Störung<Setattr, Art::setattr>();
    o.readlink = Mit_Störung<Readlink, Art::other>();
    o.mknod = Mit_Störung<Mknod, Art::other, true>();
    o.mkdir = Mit_Störung<Mkdir, Art::mkdir, true>();
    o.unlink = Mit_Störung<Unlink, Art::unlink, true>();
    o.rmdir = Mit_Störung<Rmdir, Art::rmdir, true>();
    o.symlink = Symlink;
    o.rename = Rename_Gestört;
    o.link = Mit_Störung<Link, Art::other>();
    o.open = Mit_Störung<Open, Art::open>();
    o.read = Mit_Störung<Read, Art::read>();
    o.write = Mit_Störung<Write, Art::write>();
    o.flush = Mit_Störung<Flush, Art::flush>();
    o.release = Release;
    o.fsync = Mit_Störung<Fsync, Art::fsync>();
    o.opendir = Mit_Störung<Opendir, Art::opendir>();
    o.readdir = Mit_Störung<Readdir, Art::readdir>();
    o.releasedir = Releasedir;
    o.fsyncdir = Mit_Störung<Fsyncdir, Art::other>();
    o.statfs = Mit_Störung<Statfs, Art::statfs>();
    o.setxattr = Setxattr;
    o.getxattr = Getxattr;
    o.listxattr = Listxattr;
    o.removexattr = Removexattr;
    o.access = Mit_Störung<Access, Art::other>();
    o.create = Mit_Störung<Create, Art::create, true>();
    o.fallocate = Mit_Störung<Fallocate, Art::other>();
    return o;
}

[[noreturn]] void Gebrauch(const char* fehler) {
    if (fehler)
        std::fprintf(stderr, "qk_share: %s\n", fehler);
    std::fprintf(stderr, "usage: qk_share SOURCE_DIR MOUNTPOINT [--latency-us N] [--stats FILE] "
                         "[--threads N] [-f] [-d]\n"
                         "         [--fail KIND:ERRNO[:PATH_SUBSTRING[:AFTER_N[:COUNT]]]]... "
                         "[--kill-at KIND[:PATH_SUBSTRING]:N]... [--control FILE]\n");
    std::exit(2);
}

unsigned long Zahl(const char* text, unsigned long grenze) {
    char* ende = nullptr;
    errno = 0;
    const unsigned long n = std::strtoul(text, &ende, 10);
    if (errno || ende == text || *ende != '\0' || text[0] == '-' || n > grenze)
        Gebrauch("not a number in range");
    return n;
}

// Maps FILE shared and starts every counter at 0; a reader of an older run's file sees the new
// run from its start.
std::uint64_t* Zählerdatei(const char* pfad) {
    const int fd = open(pfad, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0 || ftruncate(fd, off_t(qk::share::DATEIGRÖSSE)) != 0) {
        std::fprintf(stderr, "qk_share: %s: %s\n", pfad, std::strerror(errno));
        std::exit(1);
    }
    void* karte = mmap(nullptr, qk::share::DATEIGRÖSSE, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    close(fd);
    if (karte == MAP_FAILED) {
        std::fprintf(stderr, "qk_share: %s: %s\n", pfad, std::strerror(errno));
        std::exit(1);
    }
    auto* z = static_cast<std::uint64_t*>(karte);
    for (std::size_t i = 0; i < qk::share::FELDER; ++i)
        std::atomic_ref<std::uint64_t>(z[i]).store(0, std::memory_order_relaxed);
    return z;
}

} // namespace

// Every file and folder the kernel knows holds one O_PATH descriptor until the kernel forgets
// it, which it does only when it needs the memory: a Library of 10,000 index folders with their
// booking files and backups keeps more than 30,000 open, and past the limit every request fails
// with EMFILE. Raise the limit as far as this process may.
void Deskriptoren_Erlauben() {
    rlimit grenze{};
    if (getrlimit(RLIMIT_NOFILE, &grenze) != 0)
        return;
    rlimit mehr = grenze;
    mehr.rlim_cur = mehr.rlim_max = 1 << 20; // the kernel's default ceiling; raising it needs root
    if (setrlimit(RLIMIT_NOFILE, &mehr) == 0)
        return;
    mehr = grenze;
    mehr.rlim_cur = grenze.rlim_max;
    setrlimit(RLIMIT_NOFILE, &mehr);
}

int main(int argc, char** argv) {
    const char* quelle = nullptr;
    const char* mountpoint = nullptr;
    const char* statistik = nullptr;
    unsigned long latenz_us = 1000;
    bool vordergrund = false;
    bool debug = false;
    Share s;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool mitWert = i + 1 < argc;
        if (a == "--latency-us" && mitWert)
            latenz_us = Zahl(argv[++i], 60'000'000);
        else if (a == "--stats" && mitWert)
            statistik = argv[++i];
        else if (a == "--threads" && mitWert)
            s.threads = unsigned(std::max(1ul, Zahl(argv[++i], 100'000)));
        else if ((a == "--fail" || a == "--kill-at") && mitWert) {
            auto regel = qk::share::Regel_Lesen(a == "--kill-at", argv[++i]);
            if (!regel)
                Gebrauch(("not a rule: " + a + " " + argv[i]).c_str());
            s.feste.push_back(std::move(regel));
        } else if (a == "--control" && mitWert) {
            // Read at every request, when the daemon may be working in another folder.
            s.steuerdatei = argv[++i];
            char* hier = s.steuerdatei.starts_with("/") ? nullptr : getcwd(nullptr, 0);
            if (hier != nullptr)
                s.steuerdatei = std::string(hier) + "/" + s.steuerdatei;
            std::free(hier);
        } else if (a == "-f")
            vordergrund = true;
        else if (a == "-d")
            debug = vordergrund = true;
        else if (a == "-h" || a == "--help")
            Gebrauch(nullptr);
        else if (a.starts_with("-"))
            Gebrauch(("unknown option " + a).c_str());
        else if (!quelle)
            quelle = argv[i];
        else if (!mountpoint)
            mountpoint = argv[i];
        else
            Gebrauch("too many arguments");
    }
    if (!mountpoint)
        Gebrauch("SOURCE_DIR and MOUNTPOINT are needed");

    s.gestört = !s.feste.empty() || !s.steuerdatei.empty();
    Deskriptoren_Erlauben();
    s.latenz.tv_sec = time_t(latenz_us / 1'000'000);
    s.latenz.tv_nsec = long(latenz_us % 1'000'000) * 1000;
    s.wurzel.fd = open(quelle, O_PATH | O_DIRECTORY | O_CLOEXEC);
    struct stat st {};
    if (s.wurzel.fd < 0 || Stat(s.wurzel.fd, st) != 0) {
        std::fprintf(stderr, "qk_share: %s: %s\n", quelle, std::strerror(errno));
        return 1;
    }
    s.wurzel.dev = st.st_dev;
    s.wurzel.ino = st.st_ino;
    static std::uint64_t ohneDatei[qk::share::FELDER];
    s.zaehler = statistik ? Zählerdatei(statistik) : ohneDatei;

    // The default slack of 50 µs would lengthen every short round trip; the workers inherit this.
    prctl(PR_SET_TIMERSLACK, 1UL);

    // No default_permissions: the kernel would then fetch the attributes of every folder on the
    // way to check them, a getattr per path step that a share's client does not send. The files'
    // own permissions still apply, checked by the calls on SOURCE_DIR.
    std::vector<std::string> optionen = {argv[0], "-o", "fsname=qk_share,subtype=qk_share"};
    if (debug)
        optionen.push_back("-d");
    std::vector<char*> zeiger;
    for (std::string& o : optionen)
        zeiger.push_back(o.data());
    fuse_args args = FUSE_ARGS_INIT(int(zeiger.size()), zeiger.data());

    const fuse_lowlevel_ops ops = Operationen();
    fuse_session* se = fuse_session_new(&args, &ops, sizeof ops, &s);
    if (!se)
        return 1;
    int ergebnis = 1;
    if (fuse_set_signal_handlers(se) == 0) {
        fuse_custom_io gerät{};
        gerät.read = GerätLesen;
        gerät.writev = GerätSchreiben;
        if (fuse_session_mount(se, mountpoint) == 0) {
            if (fuse_session_custom_io(se, &gerät, fuse_session_fd(se)) == 0 &&
                fuse_daemonize(vordergrund ? 1 : 0) == 0) {
                if (vordergrund && s.gestört) { // a test waits for it
                    std::printf("mounted\n");
                    std::fflush(stdout);
                }
                fuse_loop_config* config = fuse_loop_cfg_create();
                fuse_loop_cfg_set_max_threads(config, s.threads);
                // Idle workers stay: ending and starting threads between bursts of requests
                // would cost more than the requests.
                fuse_loop_cfg_set_idle_threads(config, s.threads);
                ergebnis = fuse_session_loop_mt(se, config);
                fuse_loop_cfg_destroy(config);
            }
            fuse_session_unmount(se);
        }
        fuse_remove_signal_handlers(se);
    }
    fuse_session_destroy(se);
    fuse_opt_free_args(&args);

    if (vordergrund) {
        std::fprintf(stderr, "qk_share: served");
        for (const qk::share::Feld& f : qk::share::NAMEN) {
            const std::uint64_t n =
                std::atomic_ref<std::uint64_t>(s.zaehler[&f - qk::share::NAMEN]).load();
            if (n)
                std::fprintf(stderr, " %s %llu", f.name, static_cast<unsigned long long>(n));
        }
        std::fprintf(stderr, "\n");
    }
    // A signal ends the loop with its number, an unmount with 0; both are a clean end.
    return ergebnis < 0 ? 1 : 0;
}
