// The frame loop's schedule with a clock the test controls: the 4-update cap, the dropped
// backlog, a rate change inside a batch, suspending and resuming on focus, the one pass as the
// desktop (which sleeps, or waits for the game's loads) and a page (which never blocks) run it.
#include "host/glfw_game.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class CountingDelegate : public BBGameDelegate {
public:
    void UpdateGame() override {
        ++updates;
        if (onUpdate)
            onUpdate(updates);
    }
    void RenderGame() override { ++renders; }
    void SuspendGame() override { ++suspends; }
    void ResumeGame() override { ++resumes; }
    bool AwaitLoads(double seconds) override { return awaitLoads && awaitLoads(seconds); }
    int updates = 0, renders = 0, suspends = 0, resumes = 0;
    std::function<void(int)> onUpdate;
    std::function<bool(double)> awaitLoads;
};

// One pass with the window's events and buffer swap stood in for: a window that keeps its focus,
// and a count.
class PassHost : public BBGlfwGame {
public:
    using BBGlfwGame::RunPass;
    void UpdateEvents() override { ApplyFocus(true); }
    void PresentFrame() override { ++presented; }
    int presented = 0;
};

class FrameLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_.SetDelegate(&delegate_);
        host_.StartGame();
        host_.SetUpdateRate(60);
        host_.SetClock([this] { return clock_; });
    }
    // Runs the updates of one pass at `now` and returns how many ran. The clock stands at `now`
    // unless an update moves it on.
    int Pass(double now) {
        int before = delegate_.updates;
        clock_ = now;
        host_.RunUpdates(now);
        return delegate_.updates - before;
    }
    // Runs one whole pass at the clock's time and returns how many updates it ran.
    int FullPass() {
        int before = delegate_.updates;
        host_.RunPass();
        return delegate_.updates - before;
    }
    // A sleep that moves the test's clock on, as the desktop's passes sleep.
    void SleepLikeTheDesktop() {
        host_.SetSleep([this](double seconds) {
            sleeps_.push_back(seconds);
            clock_ += seconds;
        });
    }
    static constexpr double kPeriod = 1.0 / 60;
    double clock_ = 10.0;
    std::vector<double> sleeps_;
    PassHost host_;
    CountingDelegate delegate_;
};

using FramePassTest = FrameLoopTest;

} // namespace

TEST_F(FramePassTest, TheDesktopSleepsUntilTheUpdateIsDueThenRendersWhatItMade) {
    SleepLikeTheDesktop();
    int rendersBeforeUpdate = -1;
    delegate_.onUpdate = [&](int) { rendersBeforeUpdate = delegate_.renders; };
    EXPECT_EQ(FullPass(), 1); // nothing scheduled yet: no sleep
    EXPECT_EQ(rendersBeforeUpdate, 0);
    EXPECT_TRUE(sleeps_.empty());
    clock_ += 0.004; // drawing took 4 ms
    EXPECT_EQ(FullPass(), 1);
    ASSERT_EQ(sleeps_.size(), 1u);
    EXPECT_NEAR(sleeps_[0], kPeriod - 0.004, 1e-9);
    EXPECT_EQ(rendersBeforeUpdate, 1);
    EXPECT_EQ(delegate_.renders, 2);
    EXPECT_EQ(host_.presented, 2);
}

TEST_F(FramePassTest, LoadsThatArriveBeforeTheUpdateIsDueRunItAtOnce) {
    SleepLikeTheDesktop();
    EXPECT_EQ(FullPass(), 1);
    clock_ += 0.004;
    // The game's loads come in 3 ms into the wait: the update runs then, and the next is due a
    // period after it.
    delegate_.awaitLoads = [this](double seconds) {
        EXPECT_NEAR(seconds, kPeriod - 0.004, 1e-9);
        clock_ += 0.003;
        return true;
    };
    EXPECT_EQ(FullPass(), 1);
    EXPECT_TRUE(sleeps_.empty());
    EXPECT_DOUBLE_EQ(host_.NextUpdate(), 10.007 + kPeriod);
    // A wait that took the whole delay leaves nothing to sleep; one that says at once that
    // nothing came in leaves the whole delay.
    delegate_.awaitLoads = [this](double seconds) {
        clock_ += seconds;
        return false;
    };
    EXPECT_EQ(FullPass(), 1);
    EXPECT_TRUE(sleeps_.empty());
    delegate_.awaitLoads = [](double) { return false; };
    EXPECT_EQ(FullPass(), 1);
    ASSERT_EQ(sleeps_.size(), 1u);
    EXPECT_NEAR(sleeps_[0], kPeriod, 1e-9);
}

TEST_F(FramePassTest, APageRunsAnUpdateDueWithinHalfAPeriodAndOtherwiseOnlyRenders) {
    host_.SetSleep(nullptr);
    EXPECT_EQ(FullPass(), 1);
    // A frame 0.4 of a period on: the update is 0.6 away, so this frame only renders.
    clock_ = 10.0 + 0.4 * kPeriod;
    EXPECT_EQ(FullPass(), 0);
    // A frame 0.6 on, a little early for the update: it runs now, not two at the next frame.
    clock_ = 10.0 + 0.6 * kPeriod;
    EXPECT_EQ(FullPass(), 1);
    EXPECT_DOUBLE_EQ(host_.NextUpdate(), 10.0 + 2 * kPeriod);
    EXPECT_EQ(delegate_.renders, 3);
}

// (A pass that loses the focus is FramePass.TheDesktopPassPumpsTheWindowAndFollowsItsFocus's,
// with a real window.)
TEST_F(FramePassTest, RateZeroUpdatesEveryPassWithoutSleeping) {
    for (bool sleeps : {true, false}) {
        SCOPED_TRACE(sleeps ? "desktop" : "page");
        if (sleeps)
            SleepLikeTheDesktop();
        else
            host_.SetSleep(nullptr);
        host_.SetUpdateRate(0);
        EXPECT_EQ(FullPass(), 1);
        EXPECT_EQ(FullPass(), 1);
    }
    EXPECT_TRUE(sleeps_.empty());
    EXPECT_EQ(delegate_.renders, 4);
}

TEST_F(FrameLoopTest, OnTimePassesRunOneUpdateAndScheduleTheNext) {
    EXPECT_EQ(host_.UpdateDelay(10.0), 0); // nothing scheduled yet
    EXPECT_EQ(Pass(10.0), 1);
    EXPECT_DOUBLE_EQ(host_.NextUpdate(), 10.0 + kPeriod);
    EXPECT_NEAR(host_.UpdateDelay(10.005), kPeriod - 0.005, 1e-9);
    EXPECT_EQ(host_.UpdateDelay(10.5), 0);
    EXPECT_EQ(Pass(10.0 + kPeriod), 1);
    EXPECT_DOUBLE_EQ(host_.NextUpdate(), 10.0 + 2 * kPeriod);
}

TEST_F(FrameLoopTest, SlowFrameRunsFourUpdatesThenDropsTheBacklog) {
    Pass(10.0);
    // A frame of 100 ms: six updates are due, four run, and the schedule restarts.
    EXPECT_EQ(Pass(10.0 + kPeriod + 0.1), 4);
    EXPECT_EQ(host_.NextUpdate(), 0);
    EXPECT_EQ(Pass(20.0), 1);
    EXPECT_DOUBLE_EQ(host_.NextUpdate(), 20.0 + kPeriod);
}

TEST_F(FrameLoopTest, SlightlyLatePassCatchesUpWithinTheCap) {
    Pass(10.0);
    // Two and a half periods late: three updates bring the schedule past now.
    EXPECT_EQ(Pass(10.0 + 3.5 * kPeriod), 3);
    EXPECT_DOUBLE_EQ(host_.NextUpdate(), 10.0 + 4 * kPeriod);
}

TEST_F(FrameLoopTest, CatchingUpStopsOnceTheScheduleIsAheadOfTheClockNotOfThePassesStart) {
    Pass(10.0);
    // Each update takes 0.6 of a period: after the first the clock has passed the next update
    // (due at 2 periods), after the second the next one (3 periods) lies ahead of it.
    delegate_.onUpdate = [&](int) { clock_ += 0.6 * kPeriod; };
    EXPECT_EQ(Pass(10.0 + 1.5 * kPeriod), 2);
    EXPECT_DOUBLE_EQ(host_.NextUpdate(), 10.0 + 3 * kPeriod);
}

TEST_F(FrameLoopTest, RateChangeEndsTheBatchAtOnce) {
    Pass(10.0);
    delegate_.onUpdate = [&](int n) {
        if (n == 3)
            host_.SetUpdateRate(30);
    };
    EXPECT_EQ(Pass(11.0), 2);
    EXPECT_EQ(host_.NextUpdate(), 0);
    delegate_.onUpdate = nullptr;
    EXPECT_EQ(Pass(12.0), 1);
    EXPECT_DOUBLE_EQ(host_.NextUpdate(), 12.0 + 1.0 / 30);
}

TEST_F(FrameLoopTest, LosingFocusSuspendsAndRegainingResumes) {
    Pass(10.0);
    host_.ApplyFocus(true);
    EXPECT_FALSE(host_.Suspended());
    EXPECT_NE(host_.NextUpdate(), 0);

    host_.ApplyFocus(false);
    EXPECT_TRUE(host_.Suspended());
    EXPECT_EQ(delegate_.suspends, 1);
    EXPECT_EQ(host_.NextUpdate(), 0);
    // While suspended updates stop and rendering goes on.
    int updates = delegate_.updates;
    host_.UpdateGame();
    host_.RenderGame();
    EXPECT_EQ(delegate_.updates, updates);
    EXPECT_EQ(delegate_.renders, 1);
    host_.ApplyFocus(false);
    EXPECT_EQ(delegate_.suspends, 1);

    host_.ApplyFocus(true);
    EXPECT_FALSE(host_.Suspended());
    EXPECT_EQ(delegate_.resumes, 1);
    EXPECT_EQ(host_.NextUpdate(), 0);
    host_.ApplyFocus(true);
    EXPECT_EQ(delegate_.resumes, 1);
}

TEST(HostDispatch, GuardsFollowTheStartedAndSuspendedState) {
    BBGame host;
    CountingDelegate delegate;
    host.SetDelegate(&delegate);
    host.UpdateGame();
    host.RenderGame();
    host.SuspendGame();
    EXPECT_EQ(delegate.updates + delegate.renders + delegate.suspends, 0);
    EXPECT_FALSE(host.Suspended());
    host.StartGame();
    EXPECT_TRUE(host.Started());
    host.ResumeGame();
    EXPECT_EQ(delegate.resumes, 0);
    host.SuspendGame();
    host.SuspendGame();
    EXPECT_EQ(delegate.suspends, 1);
    host.ResumeGame();
    EXPECT_EQ(delegate.resumes, 1);
}
