// The loader thread's outcome as the main thread reads it; how a body is run is the platform's
// (thread_start.cpp on the desktop, its _web twin in the browser).
#include "loading/thread.h"

#include "host/devices.h"

bool BBThread::IsRunning() const {
    return _runState.load(std::memory_order_acquire) == kRunning;
}

BBDataBuffer* BBThread::Result() const {
    return _result;
}

void BBThread::SetResult(BBDataBuffer* result) {
    _result = result;
}

void bb_thread_InstallLoaderWait() {
    bb_app_deviceHooks.awaitLoaders = [] { return bb_thread_AwaitLoaders(bb_thread_quitWait); };
}
