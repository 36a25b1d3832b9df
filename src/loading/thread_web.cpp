// Loader "threads" in the browser, which gives a page no threads without special server
// headers: the body runs to completion inside Start, and its outcome reaches the game at the
// next poll, exactly as when the replay tool awaits every loader before the poll.
#include "loading/thread.h"

void BBThread::Start() {
    if (_runState.load(std::memory_order_acquire) == kRunning)
        return;
    _result = nullptr;
    _runState.store(kRunning, std::memory_order_relaxed);
    // Held while the body runs, as the desktop thread holds it: the body may drop the last
    // other owner.
    const auto self = shared_from_this();
    self->Run__UNSAFE__();
    _runState.store(kFinished, std::memory_order_release);
}

bool BBThread::IsRunning() const {
    return _runState.load(std::memory_order_acquire) == kRunning;
}

BBDataBuffer* BBThread::Result() const {
    return _result;
}

void BBThread::SetResult(BBDataBuffer* result) {
    _result = result;
}

bool bb_thread_AwaitLoaders(std::chrono::steady_clock::duration) {
    // Every load has finished by the time Start returned.
    return true;
}
