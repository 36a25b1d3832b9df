// The fade's timing: 7 band sequences of 16 updates, standing still while paused, and its two
// colour orders.

#include "screens/fade.h"

#include <gtest/gtest.h>

#include "game/tazzle.h"

namespace {

TEST(Fade, RunsFor112UpdatesThenResetsForTheNextFade) {
    bb_tazzle_paused = false;
    c_Fade fade(false);
    for (int round = 0; round < 2; ++round) {
        for (int update = 1; update < 112; ++update) {
            ASSERT_TRUE(fade.p_OnUpdate()) << update;
            EXPECT_EQ(fade.m_step, update / 16) << update;
            EXPECT_EQ(fade.m_thickness, update % 16 * 16) << update;
        }
        EXPECT_FALSE(fade.p_OnUpdate());
        EXPECT_EQ(fade.m_step, 0);
        EXPECT_EQ(fade.m_thickness, 0);
    }
}

TEST(Fade, StandsStillWhilePaused) {
    c_Fade fade(true);
    bb_tazzle_paused = false;
    for (int update = 0; update < 20; ++update)
        fade.p_OnUpdate();
    bb_tazzle_paused = true;
    for (int update = 0; update < 50; ++update)
        EXPECT_TRUE(fade.p_OnUpdate());
    EXPECT_EQ(fade.m_step, 1);
    EXPECT_EQ(fade.m_thickness, 64);
    bb_tazzle_paused = false;
}

TEST(Fade, ColourOrders) {
    c_Fade normal(false);
    c_Fade reversed(true);
    const float normalOrder[7][3] = {{170, 170, 170}, {170, 170, 0}, {0, 170, 170}, {0, 170, 0},
                                     {170, 0, 170},   {170, 0, 0},   {0, 0, 170}};
    for (int step = 0; step < 7; ++step) {
        c_FadeColour n = normal.p_BandColour(step);
        c_FadeColour r = reversed.p_BandColour(6 - step);
        EXPECT_EQ((std::array<float, 3>{n.r, n.g, n.b}),
                  (std::array<float, 3>{normalOrder[step][0], normalOrder[step][1],
                                        normalOrder[step][2]}));
        // The reversed order is the normal one backwards.
        EXPECT_EQ((std::array<float, 3>{r.r, r.g, r.b}), (std::array<float, 3>{n.r, n.g, n.b}));
    }
}

} // namespace
