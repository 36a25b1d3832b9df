// Starting detached loader threads on the desktop, and awaiting them for the tools that step the
// game without the wall clock.
#include "loading/thread.h"

#include "host/errors.h"
#include "loading/async_event.h"

#include <cstdio>
#include <system_error>
#include <thread>

void BBThread::Start() {
    if (_runState.load(std::memory_order_acquire) == kRunning)
        return;
    _result = nullptr;
    _runState.store(kRunning, std::memory_order_relaxed);
    try {
        std::thread([self = shared_from_this()] {
            self->Run__UNSAFE__();
            // Release: everything the body wrote is visible to whoever sees the finished state.
            self->_runState.store(kFinished, std::memory_order_release);
        }).detach();
    } catch (const std::system_error&) {
        std::fputs("CreateThread failed!\n", stdout);
        bb_host_Exit(-1);
    }
}

bool bb_thread_AwaitLoaders(std::chrono::steady_clock::duration limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (const auto& source : bb_asyncevent__sources) {
        const auto* thread = dynamic_cast<const BBThread*>(source.get());
        while (thread && thread->IsRunning()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::yield();
        }
    }
    return true;
}
