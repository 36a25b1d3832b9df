// The slope's rules, driven update by update without a window: gates, moguls, the finish, the
// course read by level, steering, limits and the crash countdown. Images stay null here; the
// masks are built in memory.
#include <gtest/gtest.h>

#include <memory>

#include "collision/game_masks.h"
#include "game/tazzle.h"
#include "input/input_device.h"
#include "loading/game_images.h"
#include "loading/game_sounds.h"
#include "loading/ski_sounds.h"
#include "persist/settings.h"
#include "ski/ski_screen.h"

namespace {

std::unique_ptr<c_MasterMask> solid_mask(int width, int height) {
    auto mask = std::make_unique<c_MasterMask>();
    mask->m_width = width;
    mask->m_height = height;
    mask->m_data.assign(width * height, 255);
    return mask;
}

class SkiScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        bb_tazzle_Init();
        bb_tazzle_NewGame();
        bb_settings_gameSettings = std::make_unique<c_Settings>();
        bb_gamegraphics_gameImages = std::make_unique<c_GameImages>();
        bb_masks_gameMasks = std::make_unique<c_GameMasks>();
        bb_skisounds_skiSounds = std::make_unique<c_SkiSounds>();
        bb_gamesounds_gameSounds = std::make_unique<c_GameSounds>();
        bb_input_SetInputDevice(&input);
        ski = std::make_unique<c_SkiScreen>();
    }
    void TearDown() override { bb_input_SetInputDevice(nullptr); }

    // Gives every skier heading a 32 x 32 solid mask.
    void give_skier_masks() {
        c_GameMasks& m = *bb_masks_gameMasks;
        for (auto* field : {&m.m_tazzleSkiDown, &m.m_tazzleSkiLeft, &m.m_tazzleSkiRight,
                            &m.m_tazzleSkiDownLeft, &m.m_tazzleSkiDownRight})
            *field = solid_mask(32, 32);
    }

    void start(int level, int difficulty = c_Difficulty::Normal) {
        bb_tazzle_level = level;
        bb_settings_gameSettings->m_difficulty = difficulty;
        ski->p_OnInit();
    }

    void press(int key) { input.p_KeyEvent(1, key); }
    void release(int key) { input.p_KeyEvent(2, key); }
    void update() {
        ski->p_PlayUpdate();
        input.p_EndUpdate();
    }

    c_InputDevice input;
    std::unique_ptr<c_SkiScreen> ski;
};

} // namespace

TEST_F(SkiScreenTest, InitPlacesTheSkierAndNarrowsGatesByLevelAndDifficulty) {
    struct Case {
        int level, difficulty, narrow;
    };
    const Case cases[] = {
        {1, c_Difficulty::Easy, 0},   {4, c_Difficulty::Easy, 3},   {9, c_Difficulty::Easy, 3},
        {1, c_Difficulty::Normal, 0}, {5, c_Difficulty::Normal, 4}, {6, c_Difficulty::Hard, 5},
        {12, c_Difficulty::Hard, 5},
    };
    for (const Case& c : cases) {
        start(c.level, c.difficulty);
        EXPECT_EQ(ski->m_gateNarrow, c.narrow) << "level " << c.level;
    }
    EXPECT_EQ(ski->m_x, 288);
    EXPECT_EQ(ski->m_y, 64);
    EXPECT_EQ(ski->m_direction, 2);
    EXPECT_EQ(ski->m_speed, 2);
    EXPECT_EQ(ski->m_nextFlagId, 1);
}

TEST_F(SkiScreenTest, GateCountsTheSkierInsideBetweenSixAndItsWidthLimit) {
    // Level 1: inside for 6 <= x - gate x <= 112; level 4 (NORMAL) up to 64; level 6 up to 32.
    struct Case {
        int level;
        int offset;
        bool missed;
    };
    const Case cases[] = {
        {1, 5, true},   {1, 6, false}, {1, 112, false}, {1, 114, true},
        {4, 64, false}, {4, 66, true}, {6, 32, false},  {6, 34, true},
    };
    for (const Case& c : cases) {
        start(c.level);
        // The gate is tested before the skier moves: meet it at the skier's own height.
        bb_tazzle_score = 100;
        ski->m_flags = {c_Flag{.m_y = ski->m_y, .m_x = 200, .m_id = 3}};
        ski->m_x = 200 + c.offset;
        ski->p_PlayUpdate();
        EXPECT_EQ(bb_tazzle_score, c.missed ? 80 : 100)
            << "level " << c.level << " offset " << c.offset;
    }
}

TEST_F(SkiScreenTest, AMissedGateCostsTwentyOnceAndNeverGoesBelowZero) {
    start(1);
    bb_tazzle_score = 100;
    ski->m_flags = {c_Flag{.m_y = ski->m_y, .m_x = 400, .m_id = 1}};
    ski->m_x = 200;
    // Seen at all three of its test heights over the next updates, charged once.
    for (int i = 0; i < 3; ++i) {
        ski->m_flags[0].m_y = ski->m_y - 2 + 2 * i;
        ski->p_PlayUpdate();
    }
    EXPECT_EQ(bb_tazzle_score, 80);
    EXPECT_EQ(ski->m_lastMissedFlag, 1);
    // The next gate is a new penalty; 15 points minus 20 leaves 0.
    bb_tazzle_score = 15;
    ski->m_flags = {c_Flag{.m_y = ski->m_y, .m_x = 400, .m_id = 2}};
    ski->p_PlayUpdate();
    EXPECT_EQ(bb_tazzle_score, 0);
}

TEST_F(SkiScreenTest, MogulsThrowTheSkierIntoATraverseByHeading) {
    give_skier_masks();
    bb_masks_gameMasks->m_bumpCollision = solid_mask(32, 16);
    struct Case {
        int heading, thrown;
    };
    for (const Case c : {Case{2, 4}, Case{3, 4}, Case{4, 4}, Case{1, 0}, Case{0, 0}}) {
        start(1);
        ski->m_y = 150;
        ski->m_direction = c.heading;
        ski->m_mask = bb_masks_gameMasks->m_tazzleSkiDown.get();
        ski->m_straightenTimer = 5;
        ski->m_bumps = {c_Bump{.m_y = ski->m_y + 20, .m_x = ski->m_x}};
        ski->p_PlayUpdate();
        EXPECT_TRUE(ski->m_bumped);
        EXPECT_EQ(ski->m_direction, c.thrown) << "heading " << c.heading;
    }
    // A mogul no more than 8 pixels below the skier's top edge does not count.
    start(1);
    ski->m_mask = bb_masks_gameMasks->m_tazzleSkiDown.get();
    ski->m_bumps = {c_Bump{.m_y = ski->m_y + 8, .m_x = ski->m_x}};
    ski->p_PlayUpdate();
    EXPECT_FALSE(ski->m_bumped);
    EXPECT_EQ(ski->m_direction, 2);
}

TEST_F(SkiScreenTest, TheFinishBannerPaysItsBonusOnce) {
    give_skier_masks();
    bb_masks_gameMasks->m_finish = solid_mask(256, 32);
    start(1);
    ski->m_mask = bb_masks_gameMasks->m_tazzleSkiDown.get();
    ski->m_finishes = {c_Finish{.m_x = 200, .m_y = ski->m_y}};
    int before = bb_tazzle_score;
    for (int i = 0; i < 5; ++i)
        ski->p_PlayUpdate();
    EXPECT_TRUE(ski->m_finishBonus);
    EXPECT_EQ(bb_tazzle_score, before + 100);
}

TEST_F(SkiScreenTest, TheCourseIsReadByLevel) {
    // With no tree masks nothing crashes, so each run goes to the end of its course. Every
    // record but the end one places an object at y 432 in the update that reads it.
    struct Case {
        int level;
        int objects;
        int gates;
    };
    for (const Case c : {Case{1, 94, 38}, Case{2, 105, 38}, Case{3, 111, 38}, Case{5, 111, 38}}) {
        start(c.level);
        int placed = 0;
        int updates = 0;
        while (ski->m_state == c_SkiScreen::kStateSkiing && updates < 10000) {
            ski->p_PlayUpdate();
            ++updates;
            auto at_bottom = [](const auto& list) {
                int n = 0;
                for (const auto& object : list)
                    n += object.m_y == 432;
                return n;
            };
            placed += at_bottom(ski->m_trees) + at_bottom(ski->m_bumps) + at_bottom(ski->m_flags) +
                      at_bottom(ski->m_finishes);
        }
        EXPECT_EQ(ski->m_state, c_SkiScreen::kStateRunOut) << "level " << c.level;
        EXPECT_EQ(placed, c.objects) << "level " << c.level;
        EXPECT_EQ(ski->m_nextFlagId - 1, c.gates);
        EXPECT_EQ(ski->m_timer, 120);
        EXPECT_EQ(ski->m_nextRow, -1);
    }
}

TEST_F(SkiScreenTest, SteeringTurnsOneNotchEveryEightUpdatesAndEasesBack) {
    start(1);
    ski->m_y = 200; // clear of the top edge, where a traverse is turned into a diagonal
    int right = bb_settings_gameSettings->m_controls[c_Control::Right];
    press(right);
    update();
    EXPECT_EQ(ski->m_direction, 3);
    for (int i = 0; i < 7; ++i)
        update();
    EXPECT_EQ(ski->m_direction, 3);
    update();
    EXPECT_EQ(ski->m_direction, 4);
    // Held in the traverse, the skier climbs: x + 2, y - 2 each update.
    int x = ski->m_x;
    for (int i = 0; i < 8; ++i)
        update();
    EXPECT_EQ(ski->m_direction, 4);
    EXPECT_EQ(ski->m_x, x + 16);
    release(right);
    for (int i = 0; i < 9; ++i)
        update();
    EXPECT_EQ(ski->m_direction, 3);
}

TEST_F(SkiScreenTest, LimitsKeepTheSkierOnTheSlope) {
    start(1);
    ski->m_x = 528;
    ski->m_direction = 3;
    ski->m_steerTimer = 8;
    ski->p_PlayUpdate();
    EXPECT_EQ(ski->m_x, 528);
    EXPECT_EQ(ski->m_direction, 2);
    // Going straight down the skier drops to y 240, then the slope scrolls twice as fast.
    for (int i = 0; i < 200; ++i)
        ski->p_PlayUpdate();
    EXPECT_EQ(ski->m_y, 240);
    EXPECT_EQ(ski->m_speed, 2);
    // A traverse at the top edge becomes the diagonal.
    start(1);
    ski->m_direction = 0;
    ski->m_straightenTimer = 8;
    ski->m_steerTimer = 8;
    ski->p_PlayUpdate();
    EXPECT_EQ(ski->m_y, 64);
    EXPECT_EQ(ski->m_direction, 1);
}

TEST_F(SkiScreenTest, ATreeCrashCountsDownAndSparesTheSkisWhileDamageLasts) {
    give_skier_masks();
    bb_masks_gameMasks->m_treeCollision = solid_mask(32, 32);
    start(1);
    bb_tazzle_paused = false;
    bb_tazzle_skiDamage = 2;
    ski->m_mask = bb_masks_gameMasks->m_tazzleSkiDown.get();
    ski->m_trees = {c_Tree{.m_x = ski->m_x, .m_y = ski->m_y + 10}};
    ski->m_bumps = {c_Bump{.m_y = 400, .m_x = 100}};
    ski->m_finishes = {c_Finish{.m_x = 100, .m_y = 300}};
    ski->p_PlayUpdate();
    ASSERT_EQ(ski->m_state, c_SkiScreen::kStateCrashed);
    EXPECT_TRUE(ski->m_crashed);
    EXPECT_EQ(ski->m_timer, 120);
    // Paused, the countdown runs on but the tumbling stands still.
    bb_tazzle_paused = true;
    ski->p_CrashUpdate();
    EXPECT_EQ(ski->m_crashFrame, 0);
    EXPECT_EQ(ski->m_timer, 119);
    bb_tazzle_paused = false;
    for (int i = 0; i < 118; ++i)
        ski->p_CrashUpdate();
    EXPECT_EQ(ski->m_crashFrame, 118 % 16);
    EXPECT_EQ(ski->m_state, c_SkiScreen::kStateCrashed);
    ski->p_CrashUpdate();
    EXPECT_EQ(bb_tazzle_skiDamage, 1);
    EXPECT_EQ(ski->m_state, c_SkiScreen::kStateSkiing);
    EXPECT_EQ(ski->m_x, 288);
    EXPECT_EQ(ski->m_y, 64);
    EXPECT_TRUE(ski->m_trees.empty());
    EXPECT_TRUE(ski->m_bumps.empty());
    EXPECT_EQ(ski->m_finishes.size(), 1u);
}
