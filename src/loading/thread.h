// Loader threads: one detached body per load, run by the platform. The run state is published
// after the result, so the main thread may read the result once IsRunning() has turned false.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

class BBDataBuffer;

// A thread object must be owned by a std::shared_ptr: the running thread keeps it alive until
// its body has returned, whatever the main thread drops in the meantime.
class BBThread : public std::enable_shared_from_this<BBThread> {
public:
    BBThread() = default;
    BBThread(const BBThread&) = delete;
    BBThread& operator=(const BBThread&) = delete;
    virtual ~BBThread() = default;

    // Runs Run__UNSAFE__ apart from the caller (bb_platform_StartDetached); does nothing while
    // the thread runs. When it cannot be started the process ends with "CreateThread failed!".
    virtual void Start();
    virtual bool IsRunning() const;
    // The object the body produced (a loaded data buffer, not owned), or null.
    virtual BBDataBuffer* Result() const;
    virtual void SetResult(BBDataBuffer* result);
    // The thread body; the base body does nothing.
    virtual void Run__UNSAFE__() {}
    // Blocks until the body has returned; false when it still runs at `deadline`.
    bool AwaitFinished(std::chrono::steady_clock::time_point deadline) const;

private:
    static constexpr int kNeverStarted = 0;
    static constexpr int kRunning = 1;
    static constexpr int kFinished = 2;

    std::atomic<int> _runState{kNeverStarted};
    BBDataBuffer* _result = nullptr;
    // The finished state is stored under the mutex and announced, so that a waiter sleeps until
    // then instead of polling.
    mutable std::mutex _finishMutex;
    mutable std::condition_variable _finished;
};

// The base of the game's loader threads.
class c_Thread : public BBThread {};

// Blocks, without polling (each thread announces its end), until every registered loader thread
// has finished, so that the next poll delivers them all in start order. False when one is still
// running after `limit`. Tools that step the game without the wall clock use it to make loading
// take the same number of updates on every machine.
bool bb_thread_AwaitLoaders(std::chrono::steady_clock::duration limit);

// How long quitting waits for the loaders before it closes the devices they load into; a file
// takes milliseconds to decode, so a loader still running after this is stuck.
constexpr std::chrono::seconds bb_thread_quitWait{2};
// Makes the host wait for the loaders, at most bb_thread_quitWait, before it closes the devices,
// and lets its frame loop wait for the ones running while the game loads.
void bb_thread_InstallLoaderWait();
