// The delegate: devices through the hooks, the order of a rendered frame, suspend and resume,
// the update's input steps, the close request, display modes and the one-application rule.
#include "common/child_process.h"
#include "game/init.h"
#include "host/app.h"
#include "host/bb_game.h"
#include "host/game_delegate.h"
#include "input/input_device.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<std::string> g_log;
int g_renderMode = 1;

class FakeGraphics : public BBGraphicsDevice {
public:
    ~FakeGraphics() override {
        std::printf("graphics closed\n");
        std::fflush(stdout);
    }
    int BeginRender() override {
        g_log.push_back("BeginRender");
        return g_renderMode;
    }
    void EndRender() override { g_log.push_back("EndRender"); }
    void DiscardGraphics() override { g_log.push_back("DiscardGraphics"); }
};

class FakeAudio : public BBAudioDevice {
public:
    ~FakeAudio() override {
        std::printf("audio closed\n");
        std::fflush(stdout);
    }
    void Suspend() override { g_log.push_back("audio Suspend"); }
    void Resume() override { g_log.push_back("audio Resume"); }
};

class RecordingApp : public c_App {
public:
    void p_OnCreate() override { g_log.push_back("OnCreate"); }
    void p_OnSuspend() override { g_log.push_back("OnSuspend"); }
    void p_OnUpdate() override {
        g_log.push_back("OnUpdate");
        hitsSeen = bb_input_KeyHit(65);
    }
    void p_OnRender() override { g_log.push_back("OnRender"); }
    bool IsLoading() const override { return loading; }
    int hitsSeen = 0;
    bool loading = false;
};

// A host with a fixed device size and a monitor that lists repeated modes.
class FakeHost : public BBGame {
public:
    int GetDeviceWidth() override { return width; }
    int GetDeviceHeight() override { return height; }
    std::vector<BBDisplayMode> GetDisplayModes() override { return modes; }
    std::optional<BBDisplayMode> GetDesktopMode() override { return desktop; }
    int width = 640, height = 480;
    std::vector<BBDisplayMode> modes;
    std::optional<BBDisplayMode> desktop;
};

class GameDelegateTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        g_renderMode = 1;
        bbInit();
        bb_app_deviceHooks.createGraphics = [] {
            g_log.push_back("createGraphics");
            return std::unique_ptr<BBGraphicsDevice>(std::make_unique<FakeGraphics>());
        };
        bb_app_deviceHooks.createAudio = [] {
            g_log.push_back("createAudio");
            return std::unique_ptr<BBAudioDevice>(std::make_unique<FakeAudio>());
        };
        bb_app_deviceHooks.beginFrame = [] { g_log.push_back("beginFrame"); };
        bb_app_deviceHooks.endFrame = [] { g_log.push_back("endFrame"); };
        app_ = bb_app_CreateApp<RecordingApp>();
    }
    void TearDown() override { bbInit(); }
    void Start() {
        host_.StartGame();
        g_log.clear();
    }
    FakeHost host_;
    RecordingApp* app_ = nullptr;
};

} // namespace

TEST_F(GameDelegateTest, StartCreatesTheDevicesThenTheApplication) {
    host_.width = 800;
    host_.height = 600;
    ASSERT_EQ(host_.Delegate(), bb_app__delegate);
    host_.StartGame();
    EXPECT_EQ(g_log, (std::vector<std::string>{"createGraphics", "createAudio", "OnCreate"}));
    ASSERT_NE(bb_input_device, nullptr);
    EXPECT_EQ(bb_input_device, bb_app__delegate->m__input.get());
    EXPECT_EQ(bb_app_DeviceWidth(), 800);
    EXPECT_EQ(bb_app_DeviceHeight(), 600);
}

TEST_F(GameDelegateTest, TheAudioDeviceOpenedBesideTheWindowIsTheOneTheGameStartsWith) {
    static std::atomic<int> opened{0};
    static std::thread::id openedOn;
    opened = 0;
    bb_app_deviceHooks.createAudio = [] {
        ++opened;
        openedOn = std::this_thread::get_id();
        return std::unique_ptr<BBAudioDevice>(std::make_unique<FakeAudio>());
    };
    host_.PrepareStart();
    host_.StartGame();
    EXPECT_EQ(opened, 1);
    EXPECT_NE(openedOn, std::this_thread::get_id());
    EXPECT_NE(bb_app__delegate->m__audio, nullptr);
}

TEST_F(GameDelegateTest, MissingHooksMeanNoSuchDevice) {
    bb_app_deviceHooks = BBDeviceHooks{};
    host_.StartGame();
    EXPECT_EQ(bb_app__delegate->m__graphics, nullptr);
    EXPECT_EQ(bb_app__delegate->m__audio, nullptr);
    g_log.clear();
    host_.RenderGame();
    host_.SuspendGame();
    host_.ResumeGame();
    host_.DiscardGraphics();
    EXPECT_EQ(g_log, (std::vector<std::string>{"OnRender", "OnSuspend"}));
}

TEST_F(GameDelegateTest, RenderRunsInOrderForEachMode) {
    Start();
    const struct {
        int mode;
        std::vector<std::string> log;
    } cases[] = {
        {1, {"BeginRender", "beginFrame", "OnRender", "endFrame", "EndRender"}},
        {0, {"BeginRender", "OnRender", "EndRender"}},
        {2, {"BeginRender", "beginFrame", "endFrame", "EndRender"}},
    };
    for (const auto& c : cases) {
        g_renderMode = c.mode;
        g_log.clear();
        host_.RenderGame();
        EXPECT_EQ(g_log, c.log) << "mode " << c.mode;
    }
}

TEST_F(GameDelegateTest, SuspendTellsTheAppAndAudioResumeOnlyAudio) {
    Start();
    host_.SuspendGame();
    host_.ResumeGame();
    EXPECT_EQ(g_log, (std::vector<std::string>{"OnSuspend", "audio Suspend", "audio Resume"}));
}

TEST_F(GameDelegateTest, UpdateSeesHitsOnceAndPicksUpANewSize) {
    Start();
    host_.KeyEvent(BBEVENT_KEYDOWN, 65);
    host_.width = 1024;
    EXPECT_EQ(bb_app_DeviceWidth(), 640); // not at once
    host_.UpdateGame();
    EXPECT_EQ(app_->hitsSeen, 1);
    EXPECT_EQ(bb_app_DeviceWidth(), 1024);
    host_.UpdateGame();
    EXPECT_EQ(app_->hitsSeen, 0);
    EXPECT_TRUE(bb_input_KeyDown(65));
    host_.DiscardGraphics();
    EXPECT_EQ(g_log.back(), "DiscardGraphics");
}

TEST_F(GameDelegateTest, CloseAndBackRequestsEndTheProgramWithZero) {
    Start();
    // A key-up alone does nothing.
    host_.KeyEvent(BBEVENT_KEYUP, 432);
    host_.KeyEvent(BBEVENT_KEYUP, 416);
    for (int key : {432, 416}) {
        ChildResult r = RunInChild([&] {
            host_.KeyEvent(BBEVENT_KEYDOWN, key);
            std::printf("still running\n");
        });
        EXPECT_EQ(r.status, 0) << key;
        // The devices are closed on the way out, audio before graphics; nothing runs after.
        EXPECT_EQ(r.out, "audio closed\ngraphics closed\n") << key;
    }
}

TEST_F(GameDelegateTest, DisplayModesAreDistinctSizesInFirstSeenOrder) {
    host_.modes = {{1024, 768, 0, 60},  {800, 600}, {1024, 768, 0, 75},
                   {1024, 768, 16, 60}, {640, 480}, {800, 600}};
    host_.desktop = BBDisplayMode{1920, 1080};
    host_.StartGame();
    const auto& modes = bb_app_DisplayModes();
    ASSERT_EQ(modes.size(), 3u);
    EXPECT_EQ(modes[0].p_Width(), 1024);
    EXPECT_EQ(modes[0].p_Height(), 768);
    EXPECT_EQ(modes[1].p_Width(), 800);
    EXPECT_EQ(modes[2].p_Height(), 480);
    ASSERT_NE(bb_app__desktopMode, nullptr);
    EXPECT_EQ(bb_app__desktopMode->p_Width(), 1920);
}

TEST_F(GameDelegateTest, NoModesAndNoDesktopFallBackToTheDeviceSize) {
    host_.StartGame();
    EXPECT_TRUE(bb_app_DisplayModes().empty());
    ASSERT_NE(bb_app__desktopMode, nullptr);
    EXPECT_EQ(bb_app__desktopMode->p_Width(), 640);
    EXPECT_EQ(bb_app__desktopMode->p_Height(), 480);
}

TEST_F(GameDelegateTest, SecondApplicationIsARuntimeError) {
    ChildResult r = RunInChild([] { bb_app_CreateApp<c_App>(); });
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "Zibbet Runtime Error : App has already been created\n\n");
}

namespace {
std::vector<double> g_loaderWaits;
bool g_loadsArrive = true;
} // namespace

TEST_F(GameDelegateTest, ALoadingApplicationUpdatesAsItsLoadsArriveAndOnceMore) {
    Start();
    g_loaderWaits.clear();
    g_loadsArrive = true;
    bb_app_deviceHooks.awaitPendingLoaders = [](double seconds) {
        g_loaderWaits.push_back(seconds);
        return g_loadsArrive;
    };
    // Not loading: the loop keeps its schedule without asking after loaders.
    EXPECT_FALSE(host_.AwaitLoads(0.01));
    EXPECT_TRUE(g_loaderWaits.empty());
    // The loads come in: update now; then, with nothing left to wait for, the update after the
    // one that took them runs now too; after that the schedule holds, so nothing spins.
    app_->loading = true;
    EXPECT_TRUE(host_.AwaitLoads(0.012));
    g_loadsArrive = false;
    EXPECT_TRUE(host_.AwaitLoads(0.016));
    EXPECT_FALSE(host_.AwaitLoads(0.016));
    EXPECT_FALSE(host_.AwaitLoads(0.016));
    EXPECT_EQ(g_loaderWaits, (std::vector<double>{0.012, 0.016, 0.016, 0.016}));
    // A suspended game waits for nothing.
    g_loadsArrive = true;
    host_.SuspendGame();
    EXPECT_FALSE(host_.AwaitLoads(0.016));
    EXPECT_EQ(g_loaderWaits.size(), 4u);
}
