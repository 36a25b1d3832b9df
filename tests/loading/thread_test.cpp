// Loader threads: the run state, the published result, the data loader end to end, and quitting
// while a load runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>
#include <vector>

#include "common/child_process.h"
#include "game/init.h"
#include "host/app.h"
#include "host/bb_game.h"
#include "host/devices.h"
#include "loading/async_data_loader.h"
#include "loading/thread.h"
#include "support/pump.h"

namespace {

// A thread whose body waits until the test lets it finish, then publishes a buffer.
class GatedThread : public c_Thread, public c_IAsyncEventSource {
public:
    void Run__UNSAFE__() override {
        gate.get_future().wait();
        buffer = std::make_unique<c_DataBuffer>();
        buffer->_New(3);
        SetResult(buffer.get());
    }
    void Start() override {
        bb_asyncevent_AddAsyncEventSource(
            std::static_pointer_cast<GatedThread>(shared_from_this()));
        c_Thread::Start();
    }
    void p_UpdateAsyncEvents() override {
        ++visits;
        if (IsRunning())
            return;
        bb_asyncevent_RemoveAsyncEventSource(this);
        delivered = Result();
        if (log)
            log->push_back(this);
    }

    std::promise<void> gate;
    std::unique_ptr<c_DataBuffer> buffer;
    int visits = 0;
    BBDataBuffer* delivered = nullptr;
    std::vector<GatedThread*>* log = nullptr; // where deliveries are recorded, in order
};

// Waits for the thread's body to return; false when it has not within 30 seconds.
bool WaitUntilFinished(const BBThread& thread) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (thread.IsRunning()) {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        std::this_thread::yield();
    }
    return true;
}

// Writes a line straight to standard output, so that lines from two threads keep their order.
void Say(const char* line) {
    std::fflush(stdout);
    if (write(STDOUT_FILENO, line, std::strlen(line)) < 0)
        std::abort();
}

// A load that takes `time` and says when it is done, as a loader would before its result
// reaches the audio device.
class SlowLoader : public c_Thread, public c_IAsyncEventSource {
public:
    explicit SlowLoader(std::chrono::milliseconds time) : time_(time) {}
    void Run__UNSAFE__() override {
        std::this_thread::sleep_for(time_);
        Say("loaded\n");
    }
    void p_UpdateAsyncEvents() override {}

private:
    std::chrono::milliseconds time_;
};

class AudioDevice : public BBAudioDevice {
public:
    ~AudioDevice() override { Say("audio closed\n"); }
    void Suspend() override {}
    void Resume() override {}
};

// Starts the game on a plain host with an audio device, starts a load of `time` and quits at
// once.
ChildResult QuitDuringALoadOf(std::chrono::milliseconds time) {
    return RunInChild([time] {
        BBGame host;
        bbInit();
        bb_app_deviceHooks.createGraphics = nullptr;
        bb_app_deviceHooks.createAudio = [] {
            return std::unique_ptr<BBAudioDevice>(std::make_unique<AudioDevice>());
        };
        bb_app_CreateApp<c_App>();
        host.StartGame();
        auto loader = std::make_shared<SlowLoader>(time);
        bb_asyncevent_AddAsyncEventSource(loader);
        loader->Start();
        bb_app_EndApp();
    });
}

struct Delivery {
    c_DataBuffer* buffer;
    std::vector<int> bytes;
    String path;
};

class RecordingListener : public c_IOnLoadDataComplete {
public:
    void p_OnLoadDataComplete(c_DataBuffer* buffer, const String& path) override {
        deliveries.push_back(
            {buffer, buffer ? buffer->p_PeekBytes2(0, buffer->Length()) : std::vector<int>{},
             path});
        if (then)
            std::exchange(then, nullptr)();
    }
    std::vector<Delivery> deliveries;
    std::function<void()> then;
};

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        bb_asyncevent_Init();
        dir =
            std::filesystem::path(::testing::TempDir()) / ("loader_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        bb_asyncevent_Init();
        std::filesystem::remove_all(dir);
    }

    String WriteFile(const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return bb_str((dir / name).string());
    }

    BBGame host;
    std::filesystem::path dir;
};

} // namespace

TEST_F(LoaderTest, TheResultIsSeenOnlyOnceTheThreadHasFinished) {
    auto thread = std::make_shared<GatedThread>();
    EXPECT_FALSE(thread->IsRunning()); // never started
    thread->Start();
    EXPECT_TRUE(thread->IsRunning());
    for (int i = 0; i < 5; ++i)
        bb_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(thread->visits, 5);
    EXPECT_EQ(bb_asyncevent__sources.size(), 1u);

    thread->gate.set_value();
    ASSERT_TRUE(PumpUntil([&] { return bb_asyncevent__sources.empty(); }));
    EXPECT_FALSE(thread->IsRunning());
    EXPECT_EQ(thread->delivered, thread->buffer.get());
    EXPECT_EQ(thread->delivered->Length(), 3);
}

TEST_F(LoaderTest, AwaitingLoadersGivesUpOnOneStillRunningAndDeliversNothing) {
    auto thread = std::make_shared<GatedThread>();
    thread->Start();
    EXPECT_FALSE(bb_thread_AwaitLoaders(std::chrono::milliseconds(20)));
    EXPECT_EQ(thread->visits, 0); // waiting never polls
    thread->gate.set_value();
    ASSERT_TRUE(bb_thread_AwaitLoaders(std::chrono::seconds(30)));
    EXPECT_FALSE(thread->IsRunning());
    bb_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(thread->delivered, thread->buffer.get());
}

TEST(Quitting, WaitsForALoaderInFlightBeforeClosingTheDevicesAndGivesUpOnAStuckOne) {
    const ChildResult inFlight = QuitDuringALoadOf(std::chrono::milliseconds(200));
    EXPECT_EQ(inFlight.out, "loaded\naudio closed\n");
    EXPECT_EQ(inFlight.status, 0);
    // A load that never ends keeps the devices open and does not hold the quit.
    const ChildResult stuck = QuitDuringALoadOf(std::chrono::hours(1));
    EXPECT_FALSE(stuck.timedOut);
    EXPECT_EQ(stuck.out, "");
    EXPECT_EQ(stuck.status, 0);
}

TEST_F(LoaderTest, AThreadOutlivesItsLastOwnerOnTheMainThread) {
    auto thread = std::make_shared<GatedThread>();
    std::weak_ptr<GatedThread> watch = thread;
    std::promise<void>& gate = thread->gate;
    thread->c_Thread::Start();
    thread.reset();
    EXPECT_FALSE(watch.expired());
    gate.set_value();
    ASSERT_TRUE(PumpUntil([&] { return watch.expired(); }));
}

TEST_F(LoaderTest, DataArrivesInStartOrderWithTheCallersPath) {
    const String first = WriteFile("first.bin", "\x01\x02\xFF");
    const String second = WriteFile("second.bin", std::string(5000, 'x'));
    const String missing = bb_str((dir / "missing.bin").string());
    RecordingListener listener;
    c_DataBuffer::m_LoadAsync(first, &listener);
    c_DataBuffer::m_LoadAsync(missing, &listener);
    c_DataBuffer::m_LoadAsync(second, &listener);
    ASSERT_TRUE(bb_thread_AwaitLoaders(std::chrono::seconds(30)));
    bb_asyncevent_UpdateAsyncEvents();
    ASSERT_EQ(listener.deliveries.size(), 3u);

    EXPECT_EQ(listener.deliveries[0].path, first);
    EXPECT_EQ(listener.deliveries[0].bytes, (std::vector<int>{1, 2, -1}));
    EXPECT_EQ(listener.deliveries[1].path, missing);
    EXPECT_EQ(listener.deliveries[1].buffer, nullptr);
    EXPECT_EQ(listener.deliveries[2].path, second);
    EXPECT_EQ(listener.deliveries[2].bytes.size(), 5000u);
    EXPECT_TRUE(bb_asyncevent__sources.empty());
}

TEST_F(LoaderTest, ACompletionMayStartTheNextLoad) {
    const String first = WriteFile("a.bin", "a");
    const String second = WriteFile("b.bin", "bb");
    RecordingListener listener;
    listener.then = [&] { c_DataBuffer::m_LoadAsync(second, &listener); };
    c_DataBuffer::m_LoadAsync(first, &listener);
    ASSERT_TRUE(PumpUntil([&] { return listener.deliveries.size() == 2; }));
    EXPECT_EQ(listener.deliveries[0].path, first);
    EXPECT_EQ(listener.deliveries[1].path, second);
    EXPECT_EQ(listener.deliveries[1].bytes, (std::vector<int>{'b', 'b'}));
}

TEST_F(LoaderTest, EveryFinishedLoadIsDeliveredByTheNextPollWhateverTheOrderOfFinishing) {
    // Twelve loads finish one or two at a time in a scrambled order, with a poll after each
    // step: each poll delivers exactly the loads that have finished, in start order, and keeps
    // the rest registered, however many sources left the registry earlier in the same visit.
    constexpr int kLoads = 12;
    std::vector<GatedThread*> log;
    std::vector<std::shared_ptr<GatedThread>> threads;
    for (int i = 0; i < kLoads; ++i) {
        threads.push_back(std::make_shared<GatedThread>());
        threads.back()->log = &log;
        threads.back()->Start();
    }
    const std::vector<std::vector<int>> steps = {{0}, {5, 3}, {11}, {1, 2}, {10},
                                                 {4}, {9, 6}, {7},  {8}};
    std::vector<GatedThread*> expected;
    for (const auto& step : steps) {
        for (int i : step)
            threads[i]->gate.set_value();
        for (int i : step)
            ASSERT_TRUE(WaitUntilFinished(*threads[i]));
        std::vector<int> inStartOrder = step;
        std::sort(inStartOrder.begin(), inStartOrder.end());
        for (int i : inStartOrder)
            expected.push_back(threads[i].get());
        bb_asyncevent_UpdateAsyncEvents();
        EXPECT_EQ(log, expected);
        EXPECT_EQ(bb_asyncevent__sources.size(), kLoads - expected.size());
        EXPECT_EQ(bb_asyncevent__current, nullptr);
    }
    // No pending source was skipped by a visit: each was visited once by every poll up to and
    // including the one that delivered it.
    for (size_t step = 0; step < steps.size(); ++step) {
        for (int i : steps[step]) {
            EXPECT_EQ(threads[i]->visits, static_cast<int>(step) + 1) << "load " << i;
            EXPECT_EQ(threads[i]->delivered, threads[i]->buffer.get());
        }
    }
}
