// The loader thread's outcome as the main thread reads it; how a body is run is the platform's
// (thread_start.cpp on the desktop, its _web twin in the browser).
#include "loading/thread.h"

bool BBThread::IsRunning() const {
    return _runState.load(std::memory_order_acquire) == kRunning;
}

BBDataBuffer* BBThread::Result() const {
    return _result;
}

void BBThread::SetResult(BBDataBuffer* result) {
    _result = result;
}
