// Loader "threads" in the browser, which gives a page no threads without special server
// headers: each body waits in a queue and runs whole on a later turn of the browser's event
// loop, so the page keeps drawing between loads as it does beside desktop threads.
#include "loading/thread.h"

#include <emscripten/emscripten.h>

#include <deque>
#include <functional>

namespace {

// Bodies started and not yet run, oldest first.
std::deque<std::function<void()>> bb_thread__pending;

// Runs the oldest waiting body, if AwaitLoaders has not already run it.
void RunOldestPending(void*) {
    if (bb_thread__pending.empty())
        return;
    const std::function<void()> body = std::move(bb_thread__pending.front());
    bb_thread__pending.pop_front();
    body();
}

} // namespace

void BBThread::Start() {
    if (_runState.load(std::memory_order_acquire) == kRunning)
        return;
    _result = nullptr;
    _runState.store(kRunning, std::memory_order_relaxed);
    // The queue holds the thread alive until its body has run, as the desktop thread does.
    bb_thread__pending.push_back([self = shared_from_this()] {
        self->Run__UNSAFE__();
        self->_runState.store(kFinished, std::memory_order_release);
    });
    emscripten_async_call(RunOldestPending, nullptr, 0);
}

bool bb_thread_AwaitLoaders(std::chrono::steady_clock::duration) {
    // Nothing runs beside the caller, so waiting means running every waiting body now, in start
    // order; a body that starts another load queues it behind and it runs in this wait too.
    while (!bb_thread__pending.empty())
        RunOldestPending(nullptr);
    return true;
}
