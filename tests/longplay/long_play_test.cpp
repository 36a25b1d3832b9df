// Long play: the automatic player drives the whole game in-process for hundreds of thousands of
// updates, the referee checks every one, and the memory in use must not creep up over the run.
#include <gtest/gtest.h>

#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include <GLFW/glfw3.h>

#include "game/tazzle.h"
#include "host/zibbet_game.h"
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

#ifdef SKIDDLEWICK_LONGPLAY_SANITIZED
// The sanitizers slow every update several times over and keep freed memory aside on purpose:
// a shorter run, and no memory comparison (their leak checker covers what it would find).
constexpr long kDefaultUpdates = 40000;
constexpr bool kCompareMemory = false;
#else
constexpr long kDefaultUpdates = 200000;
constexpr bool kCompareMemory = true;
#endif
constexpr std::uint32_t kDefaultSeed = 20261207;
// Every fifth update is rendered and shown: the renderer sees all screens at a fifth of the cost.
constexpr int kRenderEvery = 5;
// Longest stay in one state before the run counts as stuck (a ski run takes about 4000).
constexpr long kStuckUpdates = 50000;
// How much the memory in use may grow between the end of the first lap and the end of the run.
constexpr double kMemoryGrowth = 0.05;

// SKIDDLEWICK_LONGPLAY_UPDATES and SKIDDLEWICK_LONGPLAY_SEED override the run's length and seed.
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
    // Taken in a 640 x 480 window, as the driver's buffers grow and shrink with the window.
    static MemoryMark Take(GameHarness& game) {
        EXPECT_TRUE(SetWindowSize(game, 640, 480));
        RenderFrame(game);
        RenderFrame(game);
        return {ResidentBytes(), HeapBytes()};
    }
};

// Sub-states the run must have been through as well as the main states.
struct Coverage {
    bool hired = false, accident = false, slopeCrash = false, brokenSkis = false,
         courseRunOut = false, finishBonus = false, lapCompleted = false;

    void Note(const GameSnapshot& b, const GameSnapshot& a) {
        hired |= !b.gotSkis && a.gotSkis;
        accident |= a.mainState == c_MainState::Road && a.roadState == c_RoadScreen::kStateAmbulance;
        slopeCrash |= a.mainState == c_MainState::Ski && a.skiState == c_SkiScreen::kCrashed;
        brokenSkis |= b.gotSkis && !a.gotSkis && !StartedNewGame(b, a);
        courseRunOut |= a.mainState == c_MainState::Ski && a.skiState == c_SkiScreen::kRunOut;
        finishBonus |= a.mainState == c_MainState::Ski && bb_tazzle_skiScreen->m_finishBonus;
        lapCompleted |= b.mainState == c_MainState::Ski && a.mainState == c_MainState::Road &&
                        a.level == b.level + 1;
    }
};

} // namespace

TEST(LongPlay, TheWholeGameSurvivesLongAutomaticPlay) {
    const long target = EnvNumber("SKIDDLEWICK_LONGPLAY_UPDATES", kDefaultUpdates);
    const auto seed = static_cast<std::uint32_t>(EnvNumber("SKIDDLEWICK_LONGPLAY_SEED", kDefaultSeed));
    GameHarness game;
    AutoPlayer player(game, seed);
    GameWatch watch;
    Coverage coverage;

    long played = 0; // updates after loading
    long sameState = 0;
    bool firstLapDone = false;
    MemoryMark firstLap;
    long firstLapAt = 0;
    while (true) {
        const std::set<int>& keys = player.Act();
        GameSnapshot before = GameSnapshot::Take();
        game.Update();
        GameSnapshot after = GameSnapshot::Take();
        watch.Check(before, after, keys);
        coverage.Note(before, after);
        player.Observe();
        std::this_thread::yield(); // loader threads run beside the updates

        sameState = after.mainState == before.mainState ? sameState + 1 : 0;
        ASSERT_LT(sameState, kStuckUpdates) << "stuck in state " << after.mainState;
        ASSERT_LT(watch.FaultCount(), 50) << "too many faults; the first: " << watch.Faults()[0];
        if (before.mainState < c_MainState::Title)
            continue; // still loading
        if (++played % kRenderEvery == 0)
            RenderFrame(game);

        // A lap ends on the way back to the title from the end of a game, in a window; the run
        // ends at the first such point after its length, so that both marks see the same screens.
        bool lapEnded = before.mainState == c_MainState::NoMoney &&
                        after.mainState == c_MainState::Title && !after.fullScreen;
        if (!lapEnded)
            continue;
        if (!firstLapDone) {
            firstLap = MemoryMark::Take(game);
            firstLapAt = played;
            firstLapDone = true;
        } else if (played >= target) {
            break;
        }
    }
    MemoryMark end = MemoryMark::Take(game);

    std::ostringstream summary;
    summary << played << " updates, " << player.GamesStarted() << " games, " << player.Resizes()
            << " resizes, " << player.FullScreenSwitches() << " full-screen switches; updates per state:";
    for (long n : watch.UpdatesInState())
        summary << ' ' << n;
    summary << "; first lap ended at update " << firstLapAt << " with " << firstLap.resident
            << " resident / " << firstLap.heap << " heap bytes, the run with " << end.resident
            << " / " << end.heap;
    std::cout << summary.str() << std::endl;

    for (const std::string& fault : watch.Faults())
        ADD_FAILURE() << fault;
    for (int state = c_MainState::Title; state <= c_MainState::RedefineKeys; ++state)
        EXPECT_GT(watch.UpdatesInState()[static_cast<size_t>(state)], 0) << "state " << state;
    EXPECT_TRUE(coverage.hired);
    EXPECT_TRUE(coverage.accident);
    EXPECT_TRUE(coverage.slopeCrash);
    EXPECT_TRUE(coverage.brokenSkis);
    EXPECT_TRUE(coverage.courseRunOut);
    EXPECT_TRUE(coverage.finishBonus);
    EXPECT_TRUE(coverage.lapCompleted);
    EXPECT_GT(player.Resizes(), 0);
    EXPECT_GT(player.FullScreenSwitches(), 0);
    if (kCompareMemory) {
        EXPECT_LE(end.resident, firstLap.resident * (1 + kMemoryGrowth));
        EXPECT_LE(end.heap, firstLap.heap * (1 + kMemoryGrowth));
    }
}
