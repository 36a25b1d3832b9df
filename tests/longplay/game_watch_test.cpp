// The long play's referee on made-up updates: each rule must pass the game's own moves and catch
// a move the game must never make.
#include <gtest/gtest.h>

#include <functional>

#include "game/tazzle.h"
#include "longplay/game_watch.h"
#include "persist/settings.h"
#include "road/road_screen.h"
#include "ski/no_money_screen.h"

namespace {

constexpr int kPauseKey = 72;

GameSnapshot OnTheRoad() {
    GameSnapshot s;
    s.mainState = c_MainState::Road;
    s.score = 100;
    s.money = 30;
    s.level = 2;
    s.difficulty = c_Difficulty::Normal;
    s.controls = {81, 90, 73, 80, kPauseKey, 77, 122};
    s.roadState = c_RoadScreen::kStatePlaying;
    return s;
}

struct Case {
    const char* name;
    std::function<void(GameSnapshot& before, GameSnapshot& after)> change;
    std::set<int> keys;
    bool fault;
};

// The screens the referee looks into: a road without vehicles, and the no-money screen.
class GameWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_road.m_x = 320;
        m_road.m_y = 64;
        m_road.m_maxCars = 5;
        bb_tazzle_roadScreen = &m_road;
        bb_tazzle_noMoneyScreen = &m_noMoney;
    }
    void TearDown() override {
        bb_tazzle_roadScreen = nullptr;
        bb_tazzle_noMoneyScreen = nullptr;
    }
    c_RoadScreen m_road;
    c_NoMoneyScreen m_noMoney;
};

} // namespace

TEST_F(GameWatchTest, PassesTheGamesOwnMovesAndCatchesTheOthers) {
    const Case cases[] = {
        {"nothing happens", [](GameSnapshot&, GameSnapshot&) {}, {}, false},
        {"points for walking", [](GameSnapshot&, GameSnapshot& a) { a.score += 5; }, {}, false},
        {"money from nowhere", [](GameSnapshot&, GameSnapshot& a) { a.money += 10; }, {}, true},
        {"money lost for nothing", [](GameSnapshot&, GameSnapshot& a) { a.money -= 10; }, {}, true},
        {"the hire fee",
         [](GameSnapshot&, GameSnapshot& a) {
             a.gotSkis = true;
             a.skiDamage = 3;
             a.money -= 10;
         },
         {},
         false},
        {"skis for free",
         [](GameSnapshot&, GameSnapshot& a) {
             a.gotSkis = true;
             a.skiDamage = 3;
         },
         {},
         true},
        {"skis as damaged as on hard, hired on normal",
         [](GameSnapshot&, GameSnapshot& a) {
             a.gotSkis = true;
             a.skiDamage = 2;
             a.money -= 10;
         },
         {},
         true},
        {"the ambulance fee",
         [](GameSnapshot& b, GameSnapshot& a) {
             b.roadState = c_RoadScreen::kStateAmbulance;
             a.money -= 10;
         },
         {},
         false},
        {"a bonus paid",
         [](GameSnapshot& b, GameSnapshot& a) {
             b.score = a.score = 1000;
             a.lastScoreUpdate = 1000;
             a.money += 10;
         },
         {},
         false},
        {"a bonus unpaid",
         [](GameSnapshot& b, GameSnapshot& a) {
             b.score = a.score = 1000;
             a.lastScoreUpdate = 1000;
         },
         {},
         true},
        {"a bonus owed",
         [](GameSnapshot& b, GameSnapshot& a) { b.score = a.score = 1000; },
         {},
         true},
        {"points out of nowhere", [](GameSnapshot&, GameSnapshot& a) { a.score += 10; }, {}, true},
        {"a step", [](GameSnapshot&, GameSnapshot& a) { a.walkerY += 4; }, {}, false},
        {"a leap", [](GameSnapshot&, GameSnapshot& a) { a.walkerX += 8; }, {}, true},
        {"a step while paused",
         [](GameSnapshot& b, GameSnapshot& a) {
             b.paused = a.paused = true;
             a.walkerY += 4;
         },
         {},
         true},
        {"to the hut's door on hiring",
         [](GameSnapshot&, GameSnapshot& a) {
             a.gotSkis = true;
             a.skiDamage = 3;
             a.money -= 10;
             a.walkerX += 96;
         },
         {},
         false},
        {"a negative score", [](GameSnapshot&, GameSnapshot& a) { a.score = -5; }, {}, true},
        {"the level rising on the road",
         [](GameSnapshot&, GameSnapshot& a) { ++a.level; },
         {},
         true},
        {"the level rising after a run",
         [](GameSnapshot& b, GameSnapshot& a) {
             b.mainState = c_MainState::Ski;
             b.gotSkis = a.gotSkis = true;
             ++a.level;
         },
         {},
         false},
        {"a run ending without the level rising",
         [](GameSnapshot& b, GameSnapshot& a) {
             b.mainState = c_MainState::Ski;
             b.gotSkis = a.gotSkis = true;
         },
         {},
         true},
        {"skis lost on the road",
         [](GameSnapshot& b, GameSnapshot&) { b.gotSkis = true; },
         {},
         true},
        {"from the road straight to the options",
         [](GameSnapshot&, GameSnapshot& a) { a.mainState = c_MainState::Options; },
         {},
         true},
        {"to the no-money screen with money",
         [](GameSnapshot&, GameSnapshot& a) { a.mainState = c_MainState::NoMoney; },
         {},
         true},
        {"the hi-score set on the road",
         [](GameSnapshot&, GameSnapshot& a) { a.hiScore = 100; },
         {},
         true},
        {"the pause key",
         [](GameSnapshot&, GameSnapshot& a) { a.paused = true; },
         {kPauseKey},
         false},
        {"a pause unasked", [](GameSnapshot&, GameSnapshot& a) { a.paused = true; }, {}, true},
        {"the pause key ignored", [](GameSnapshot&, GameSnapshot&) {}, {kPauseKey}, true},
        {"the pause key while redefining",
         [](GameSnapshot& b, GameSnapshot& a) {
             b.mainState = a.mainState = c_MainState::RedefineKeys;
         },
         {kPauseKey},
         false},
        {"full screen unasked",
         [](GameSnapshot&, GameSnapshot& a) { a.fullScreen = true; },
         {},
         true},
        {"a new game",
         [](GameSnapshot& b, GameSnapshot& a) {
             b.mainState = a.mainState = c_MainState::Title;
             a.titleState = 1;
             a.level = 1;
             a.money = 40;
             a.score = 0;
         },
         {},
         false},
        {"a new game without its money",
         [](GameSnapshot& b, GameSnapshot& a) {
             b.mainState = a.mainState = c_MainState::Title;
             a.titleState = 1;
             a.level = 1;
             a.score = 0;
         },
         {},
         true},
    };
    for (const Case& c : cases) {
        GameSnapshot before = OnTheRoad();
        GameSnapshot after = OnTheRoad();
        c.change(before, after);
        GameWatch watch;
        watch.Check(before, after, c.keys);
        EXPECT_EQ(watch.FaultCount() > 0, c.fault)
            << c.name << (watch.Faults().empty() ? "" : ": " + watch.Faults()[0]);
    }
}

TEST_F(GameWatchTest, TheWalkerMustStayOnItsGrid) {
    const struct {
        int x, y;
        bool skis, fault;
    } cases[] = {{64, 64, false, false},  {544, 400, false, false}, {544, 400, true, true},
                 {528, 400, true, false}, {60, 64, false, true},    {320, 404, false, true},
                 {322, 64, false, true}};
    for (const auto& c : cases) {
        m_road.m_x = c.x;
        m_road.m_y = c.y;
        GameSnapshot state = OnTheRoad();
        state.gotSkis = c.skis;
        GameWatch watch;
        watch.Check(state, state, {});
        EXPECT_EQ(watch.FaultCount() > 0, c.fault)
            << c.x << ", " << c.y << (c.skis ? " with skis" : "");
    }
}
