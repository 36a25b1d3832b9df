// The prefetch's jobs and results, shared between the main thread and the one thread running the
// jobs; each started prefetch has its own state, which the thread keeps alive to its end.
#include "host/file_prefetch.h"

#include "host/platform.h"

#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace {

struct Entry {
    String key;
    BBDecodeJob job;
    BBDecodedFile result;
    bool done = false;
};

struct Prefetch {
    std::mutex mutex;
    std::condition_variable finished; // a job has finished, or the prefetch was dropped
    std::vector<Entry> entries;       // in the order the jobs run
    size_t next = 0;                  // the first job not yet started
    bool running = false;             // a job runs outside the lock
    bool dropped = false;
};

// Loader threads take while the main thread starts and drops: the pointer itself is guarded.
std::mutex g_prefetchMutex;
std::shared_ptr<Prefetch> g_prefetch;

std::shared_ptr<Prefetch> Exchange(std::shared_ptr<Prefetch> prefetch) {
    const std::lock_guard lock(g_prefetchMutex);
    return std::exchange(g_prefetch, std::move(prefetch));
}

std::shared_ptr<Prefetch> Current() {
    const std::lock_guard lock(g_prefetchMutex);
    return g_prefetch;
}

void RunJobs(const std::shared_ptr<Prefetch>& prefetch) {
    std::unique_lock lock(prefetch->mutex);
    while (!prefetch->dropped && prefetch->next < prefetch->entries.size()) {
        const size_t index = prefetch->next++;
        BBDecodeJob job = std::move(prefetch->entries[index].job);
        prefetch->running = true;
        lock.unlock();
        BBDecodedFile result = job();
        lock.lock();
        prefetch->running = false;
        prefetch->entries[index].result = result;
        prefetch->entries[index].done = true;
        prefetch->finished.notify_all();
    }
    prefetch->running = false;
    prefetch->finished.notify_all();
}

// The entries stay, emptied: a taker still waiting holds on to its own.
void FreeResults(Prefetch& prefetch) {
    for (Entry& entry : prefetch.entries) {
        std::free(entry.result.data);
        entry.result = BBDecodedFile{};
    }
}

} // namespace

void bb_prefetch_Start(std::vector<std::pair<String, BBDecodeJob>> jobs) {
    bb_prefetch_Drop();
    if (jobs.empty() || !bb_platform_RunsBeside())
        return;
    auto prefetch = std::make_shared<Prefetch>();
    for (auto& [key, job] : jobs)
        prefetch->entries.push_back(Entry{std::move(key), std::move(job), {}, false});
    // Without a thread the files are simply decoded when asked for, as they always were.
    if (bb_platform_StartDetached([prefetch] { RunJobs(prefetch); }))
        Exchange(std::move(prefetch));
}

std::optional<BBDecodedFile> bb_prefetch_Take(const String& key) {
    const std::shared_ptr<Prefetch> prefetch = Current();
    if (!prefetch)
        return std::nullopt;
    std::unique_lock lock(prefetch->mutex);
    for (Entry& entry : prefetch->entries) {
        if (entry.key != key)
            continue;
        prefetch->finished.wait(lock, [&] { return entry.done || prefetch->dropped; });
        BBDecodedFile result = entry.result;
        entry.result = BBDecodedFile{};
        entry.key.clear(); // taken: a second load of the file decodes it again
        if (!result.data)
            return std::nullopt;
        return result;
    }
    return std::nullopt;
}

void bb_prefetch_Drop() {
    const std::shared_ptr<Prefetch> prefetch = Exchange(nullptr);
    if (!prefetch)
        return;
    std::unique_lock lock(prefetch->mutex);
    prefetch->dropped = true;
    prefetch->finished.wait(lock, [&] { return !prefetch->running; });
    FreeResults(*prefetch);
    prefetch->finished.notify_all();
}
