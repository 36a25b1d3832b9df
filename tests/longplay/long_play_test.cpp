// Long play: the automatic player drives the whole game in-process for hundreds of thousands of
// updates, the referee checks every one, and the memory in use must not creep up over the run.
#include <gtest/gtest.h>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <thread>

#include <GLFW/glfw3.h>

#include "game/tazzle.h"
#include "host/zibbet_game.h"
#include "loading/road_sounds.h"
#include "loading/ski_sounds.h"
#include "longplay/auto_player.h"
#include "longplay/game_watch.h"
#include "persist/settings.h"
#include "road/road_screen.h"
#include "scenario/game_harness.h"
#include "ski/ski_screen.h"

namespace {

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define SKIDDLEWICK_LONGPLAY_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define SKIDDLEWICK_LONGPLAY_SANITIZED 1
#endif

// A full run, long enough for every turn of play (a finished course, broken skis) to come up.
constexpr long kFullRun = 200000;
#ifdef SKIDDLEWICK_LONGPLAY_SANITIZED
// The sanitizers slow every update several times over and keep freed memory aside on purpose:
// a shorter run, and no memory comparison (their leak checker covers what it would find).
constexpr long kDefaultUpdates = 100000;
constexpr bool kCompareMemory = false;
#else
constexpr long kDefaultUpdates = kFullRun;
constexpr bool kCompareMemory = true;
#endif
constexpr std::uint32_t kDefaultSeed = 20261207;
// Every eighth update is rendered and shown: the renderer sees every screen (a fade 14 times)
// at an eighth of the cost, which is nearly all in the software GL driver.
constexpr int kRenderEvery = 8;
// Longest stay in one state, loads aside, before the run counts as stuck (a ski run takes
// about 4000).
constexpr long kStuckUpdates = 50000;
// How much the memory in use may grow between the end of the first lap and the end of the run.
constexpr double kMemoryGrowth = 0.05;
// Resident memory may also hold a few more of the GL driver's buffers, which are as big as the
// window that the run resizes and switches to full screen at random: three full-screen frames.
constexpr long kResidentSlackFrames = 3;

// SKIDDLEWICK_LONGPLAY_UPDATES, _SEED and _RENDER_EVERY override the run's length, its seed and
// how often it renders.
long EnvNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtol(text, nullptr, 10) : fallback;
}

long ResidentBytes() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

long HeapBytes() {
    struct mallinfo2 info = mallinfo2();
    return static_cast<long>(info.uordblks + info.hblkhd);
}

// A frame as the frame loop makes it: rendered, then shown. (Without the swap the GL driver
// keeps every frame's commands queued, which looks like a leak but is not the game's.)
void RenderFrame(GameHarness& game) {
    game.Render();
    glfwSwapBuffers(game.Host().GetGLFWwindow());
}

struct MemoryMark {
    long resident = 0;
    long heap = 0;
};

// Sub-states the run must have been through as well as the main states.
struct Coverage {
    bool hired = false, accident = false, slopeCrash = false, brokenSkis = false,
         courseRunOut = false, finishBonus = false, lapCompleted = false;
    int highestLevel = 0;

    void Note(const GameSnapshot& b, const GameSnapshot& a) {
        hired |= !b.gotSkis && a.gotSkis;
        accident |=
            a.mainState == c_MainState::Road && a.roadState == c_RoadScreen::kStateAmbulance;
        slopeCrash |= a.mainState == c_MainState::Ski && a.skiState == c_SkiScreen::kStateCrashed;
        brokenSkis |= b.gotSkis && !a.gotSkis && !StartedNewGame(b, a);
        courseRunOut |= a.mainState == c_MainState::Ski && a.skiState == c_SkiScreen::kStateRunOut;
        finishBonus |= a.mainState == c_MainState::Ski && bb_tazzle_skiScreen->m_finishBonus;
        highestLevel = std::max(highestLevel, a.level);
        lapCompleted |= b.mainState == c_MainState::Ski && a.mainState == c_MainState::Road &&
                        a.level == b.level + 1;
    }
};

// Updates spent waiting for loader threads, which a busy machine may hold back for long.
bool WaitingForLoads() {
    return bb_tazzle_mainState < c_MainState::Title ||
           (bb_tazzle_mainState == c_MainState::Road && !c_RoadScreen::p_AssetsReady()) ||
           bb_roadsounds_roadSounds->p_IsLoading() || bb_skisounds_skiSounds->p_IsLoading();
}

class LongPlay : public ::testing::Test {
protected:
    LongPlay()
        : m_player(m_game, static_cast<std::uint32_t>(
                               EnvNumber("SKIDDLEWICK_LONGPLAY_SEED", kDefaultSeed))) {}

    // One update with the referee watching.
    void Play(const std::set<int>& keys) {
        GameSnapshot before = GameSnapshot::Take();
        m_game.Update();
        GameSnapshot after = GameSnapshot::Take();
        m_watch.Check(before, after, keys);
        m_coverage.Note(before, after);
        m_player.Observe();
        std::this_thread::yield(); // loader threads run beside the updates
    }

    // Memory in use on the title, made comparable: the full-screen key twice gives a fresh
    // 640 x 480 window whose context holds only the title's textures, whatever was drawn before.
    MemoryMark Mark() {
        int key = bb_settings_gameSettings->m_controls[c_Control::FullScreen];
        for (int i = bb_settings_gameSettings->m_fullScreen ? 1 : 0; i < 2; ++i) {
            m_game.Tap(key);
            Play({key});
        }
        EXPECT_TRUE(SetWindowSize(m_game, 640, 480));
        RenderFrame(m_game);
        RenderFrame(m_game);
        return {ResidentBytes(), HeapBytes()};
    }

    GameHarness m_game;
    AutoPlayer m_player;
    GameWatch m_watch;
    Coverage m_coverage;
};

} // namespace

TEST_F(LongPlay, TheWholeGameSurvivesLongAutomaticPlay) {
    const long target = EnvNumber("SKIDDLEWICK_LONGPLAY_UPDATES", kDefaultUpdates);
    const long renderEvery = EnvNumber("SKIDDLEWICK_LONGPLAY_RENDER_EVERY", kRenderEvery);
    long played = 0; // updates of play, waits for loads not counted
    long waited = 0;
    long sameState = 0;
    bool firstLapDone = false;
    MemoryMark firstLap;
    long firstLapAt = 0;
    while (true) {
        int state = bb_tazzle_mainState;
        Play(m_player.Act());
        if (WaitingForLoads()) {
            ++waited;
            // The loader threads may finish, as they mostly would within a real frame: updates
            // stepped without the clock would otherwise spin by the thousand meanwhile.
            m_game.AwaitLoaders();
            continue;
        }
        ++played;
        sameState = bb_tazzle_mainState == state ? sameState + 1 : 0;
        ASSERT_LT(sameState, kStuckUpdates) << "stuck in state " << state;
        ASSERT_LT(m_watch.FaultCount(), 50)
            << "too many faults; the first: " << m_watch.Faults()[0];
        if (played % renderEvery == 0)
            RenderFrame(m_game);

        // A lap ends on the way back to the title from the end of a game; the run ends at the
        // first such point after its length, so that both marks see the same screens.
        bool lapEnded = state == c_MainState::NoMoney && bb_tazzle_mainState == c_MainState::Title;
        if (!lapEnded)
            continue;
        if (!firstLapDone) {
            firstLap = Mark();
            firstLapAt = played;
            firstLapDone = true;
        } else if (played >= target) {
            break;
        }
    }
    MemoryMark end = Mark();

    std::ostringstream summary;
    summary << played << " updates (and " << waited << " waiting for loads), "
            << m_player.GamesStarted() << " games, " << m_player.Resizes() << " resizes, "
            << m_player.FullScreenSwitches() << " full-screen switches, up to level "
            << m_coverage.highestLevel << "; updates per state:";
    for (long n : m_watch.UpdatesInState())
        summary << ' ' << n;
    summary << "; first lap ended at update " << firstLapAt << " with " << firstLap.resident
            << " resident / " << firstLap.heap << " heap bytes, the run with " << end.resident
            << " / " << end.heap;
    std::cout << summary.str() << std::endl;

    for (const std::string& fault : m_watch.Faults())
        ADD_FAILURE() << fault;
    for (int state = c_MainState::Title; state <= c_MainState::RedefineKeys; ++state)
        EXPECT_GT(m_watch.UpdatesInState()[static_cast<size_t>(state)], 0) << "state " << state;
    EXPECT_GT(m_player.Resizes(), 0);
    EXPECT_GT(m_player.FullScreenSwitches(), 0);
    if (target >= kFullRun) {
        EXPECT_TRUE(m_coverage.hired);
        EXPECT_TRUE(m_coverage.accident);
        EXPECT_TRUE(m_coverage.slopeCrash);
        EXPECT_TRUE(m_coverage.brokenSkis);
        EXPECT_TRUE(m_coverage.courseRunOut);
        EXPECT_TRUE(m_coverage.finishBonus);
        EXPECT_TRUE(m_coverage.lapCompleted);
        EXPECT_GE(m_coverage.highestLevel, 3); // the courses with every mogul
    }
    if (kCompareMemory) {
        // A full-screen frame is as big as the display the run opened, in 32-bit pixels.
        const std::optional<BBDisplayMode> display = m_game.Host().GetDesktopMode();
        ASSERT_TRUE(display.has_value());
        const long slack = kResidentSlackFrames * display->width * display->height * 4;
        EXPECT_LE(end.resident, firstLap.resident * (1 + kMemoryGrowth) + slack);
        EXPECT_LE(end.heap, firstLap.heap * (1 + kMemoryGrowth));
    }
}
