#pragma once

#include "platform/plattform.h"

#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

// On a network share every file operation waits for the server, and the server answers many
// requests at once: the walks over index folders keep several folders' file work in flight.
// What the administrator sees (messages, counters, progress) is still produced on the calling
// thread, one folder after another in the order of the one-at-a-time walk.
namespace qk::parallel {

// Runs arbeit(i) for i = 0 .. anzahl-1 and hands each result to abnehmen(i, ergebnis) on the
// calling thread, in order of i. With `gleichzeitig` above 1 the work runs on that many
// threads and up to twice as many results wait ahead of the consumer; while the consumer waits,
// pending events are let through. abnehmen returns false to stop: no further work begins, and
// the results of the work already begun are still handed to abnehmen, in order, so that the
// caller learns everything that was done (one at a time nothing else is begun). `arbeit` runs
// on other threads: it may touch only its arguments and the file layer, and must not throw.
//
// The hand-over uses the standard library's mutex and condition variable rather than Qt's: the
// ThreadSanitizer run sees through them, while Qt's own locks live in a library built without it.
// A task is built on the calling thread and handed over by the thread pool's own lock, which
// the sanitizer cannot see: the caller takes this lock after building the task, and the task
// before it reads what it was given.
inline std::mutex& Übergabe() {
    static std::mutex m;
    return m;
}

template <typename Ergebnis, typename Arbeit, typename Abnehmen>
void Geordnet(Plattform& plattform, int anzahl, int gleichzeitig, const Arbeit& arbeit,
              const Abnehmen& abnehmen) {
    if (gleichzeitig <= 1 || anzahl <= 1) {
        for (int i = 0; i < anzahl; ++i) {
            Ergebnis e = arbeit(i);
            if (!abnehmen(i, e))
                return;
        }
        return;
    }
    // A task takes a few folders in a row where there are many: on a local disk a folder's
    // work is so short that handing over each one alone would cost more than the work.
    const int block = std::clamp(anzahl / (4 * gleichzeitig), 1, 8);
    const int fenster = 2 * gleichzeitig * block;
    struct Lage {
        std::mutex m;
        std::condition_variable fertig;
        std::atomic<bool> halt{false};
        // Arrived: a result, or none for work not begun after the stop.
        std::vector<std::optional<std::optional<Ergebnis>>> fach;
    };
    auto lage = std::make_shared<Lage>();
    lage->fach.resize(size_t(fenster));
    // Declared after `lage`, so it is destroyed first: its destructor waits for the tasks
    // running, also when abnehmen throws.
    QThreadPool pool;
    pool.setMaxThreadCount(gleichzeitig);
    pool.setExpiryTimeout(-1);
    // When the consumer throws, the work not yet begun is dropped; the pool's destructor then
    // waits only for what is running.
    struct Abräumen {
        QThreadPool& pool;
        ~Abräumen() { pool.clear(); }
    } abräumen{pool};
    int eingereicht = 0;
    for (int i = 0; i < anzahl; ++i) {
        for (; !lage->halt.load() && eingereicht < anzahl && eingereicht + block <= i + fenster;
             eingereicht += block) {
            const int von = eingereicht, bis = std::min(anzahl, eingereicht + block);
            std::function<void()> aufgabe = [lage, von, bis, fenster, &arbeit] {
                // Before the task touches what it was given (see Übergabe).
                { std::lock_guard<std::mutex> g(Übergabe()); }
                for (int k = von; k < bis; ++k) {
                    std::optional<Ergebnis> e;
                    if (!lage->halt.load())
                        e.emplace(arbeit(k));
                    {
                        std::lock_guard<std::mutex> g(lage->m);
                        lage->fach[size_t(k % fenster)].emplace(std::move(e));
                    }
                    lage->fertig.notify_all();
                }
            };
            { std::lock_guard<std::mutex> g(Übergabe()); }
            pool.start(std::move(aufgabe));
        }
        if (i >= eingereicht)
            return; // stopped: nothing further was begun
        std::optional<std::optional<Ergebnis>> e;
        {
            std::unique_lock<std::mutex> g(lage->m);
            auto& fach = lage->fach[size_t(i % fenster)];
            while (!fach) {
                if (!lage->fertig.wait_for(g, std::chrono::milliseconds(10),
                                           [&] { return fach.has_value(); })) {
                    g.unlock();
                    plattform.Ereignisse_Verarbeiten();
                    g.lock();
                }
            }
            e.swap(fach);
        }
        if (*e && !abnehmen(i, **e))
            lage->halt = true;
    }
}

} // namespace qk::parallel
