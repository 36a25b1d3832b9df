// Loader threads: starting a body through the platform (a detached thread on the desktop, a later
// turn of the event loop in a page), its outcome as the main thread reads it, and the wait for
// every loader that the tools and quitting use.
#include "loading/thread.h"

#include "host/devices.h"
#include "host/errors.h"
#include "host/platform.h"
#include "loading/async_event.h"

#include <cstdio>

void BBThread::Start() {
    if (_runState.load(std::memory_order_acquire) == kRunning)
        return;
    _result = nullptr;
    _runState.store(kRunning, std::memory_order_relaxed);
    // The body holds the thread object alive until it has returned.
    const bool started = bb_platform_StartDetached([self = shared_from_this()] {
        self->Run__UNSAFE__();
        {
            // Release: everything the body wrote is visible to whoever sees the finished state.
            const std::lock_guard lock(self->_finishMutex);
            self->_runState.store(kFinished, std::memory_order_release);
        }
        self->_finished.notify_all();
    });
    if (!started) {
        std::fputs("CreateThread failed!\n", stdout);
        bb_host_Exit(-1);
    }
}

bool BBThread::IsRunning() const {
    return _runState.load(std::memory_order_acquire) == kRunning;
}

bool BBThread::AwaitFinished(std::chrono::steady_clock::time_point deadline) const {
    std::unique_lock lock(_finishMutex);
    return _finished.wait_until(lock, deadline, [this] { return !IsRunning(); });
}

BBDataBuffer* BBThread::Result() const {
    return _result;
}

void BBThread::SetResult(BBDataBuffer* result) {
    _result = result;
}

bool bb_thread_AwaitLoaders(std::chrono::steady_clock::duration limit) {
    // A page runs nothing beside the caller: its waiting bodies run here, in start order.
    bb_platform_RunWaitingBodies();
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (const auto& source : bb_asyncevent__sources) {
        const auto* thread = dynamic_cast<const BBThread*>(source.get());
        if (thread && !thread->AwaitFinished(deadline))
            return false;
    }
    return true;
}

void bb_thread_InstallLoaderWait() {
    bb_app_deviceHooks.awaitLoaders = [] { return bb_thread_AwaitLoaders(bb_thread_quitWait); };
    bb_app_deviceHooks.awaitPendingLoaders = [](double seconds) {
        if (bb_asyncevent__sources.empty())
            return false;
        return bb_thread_AwaitLoaders(
            std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                std::chrono::duration<double>(seconds)));
    };
}
