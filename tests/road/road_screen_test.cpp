// The road screen's play, update by update: start, steering, animation, score and bonus, the ski
// hire, the way to the no-money screen, and the accident with its ambulance fee.
#include <gtest/gtest.h>

#include "game/random.h"
#include "game/tazzle.h"
#include "persist/settings.h"
#include "road_world_support.h"

namespace {

constexpr int kUp = 81; // the default control keys: Q up, Z down, I left, P right
constexpr int kDown = 90;
constexpr int kLeft = 73;
constexpr int kRight = 80;

// A road without traffic: no vehicle is ever spawned and no draw is made.
void EmptyRoad(RoadWorld& world) {
    world.m_road.p_OnInit();
    world.m_road.m_maxCars = 0;
}

} // namespace

TEST(RoadInit, TrafficGrowsWithLevelAndDifficulty) {
    struct Case {
        int difficulty;
        int level;
        int maxCars;
    };
    const Case cases[] = {{0, 1, 5},  {0, 4, 8},  {0, 5, 10}, {0, 9, 10}, {1, 1, 10},
                          {1, 4, 13}, {1, 5, 15}, {2, 1, 15}, {2, 4, 18}, {2, 7, 20}};
    for (const Case& c : cases) {
        RoadWorld world;
        bb_settings_gameSettings->m_difficulty = c.difficulty;
        bb_tazzle_level = c.level;
        world.m_road.p_OnInit();
        EXPECT_EQ(world.m_road.m_maxCars, c.maxCars) << c.difficulty << " " << c.level;
    }
}

TEST(RoadInit, StartsOnTheTopPavementOrOutsideTheHutWithSkis) {
    RoadWorld world;
    world.m_road.m_state = 3;
    world.m_road.m_hit = true;
    world.AddCar(Vehicle::Bike, true, 0, 100);
    world.m_road.p_OnInit();
    EXPECT_EQ(world.m_road.m_x, 320);
    EXPECT_EQ(world.m_road.m_y, 64);
    EXPECT_EQ(world.m_road.m_direction, 1);
    EXPECT_EQ(world.m_road.m_state, 0);
    EXPECT_FALSE(world.m_road.m_hit);
    EXPECT_TRUE(world.m_road.m_cars.empty());
    bb_tazzle_gotSkis = true;
    world.m_road.p_OnInit();
    EXPECT_EQ(world.m_road.m_x, 368);
    EXPECT_EQ(world.m_road.m_y, 400);
}

TEST(RoadWalker, SteersWithThePriorityRightLeftDownUpAndKeepsWalking) {
    RoadWorld world;
    EmptyRoad(world);
    world.Press(kLeft);
    world.Press(kRight); // both held: right wins
    world.Update();
    EXPECT_EQ(world.m_road.m_x, 324);
    world.Release(kRight);
    world.Update();
    EXPECT_EQ(world.m_road.m_x, 320);
    EXPECT_EQ(world.m_road.m_direction, 0);
    world.Release(kLeft);
    world.Press(kDown);
    world.Press(kUp); // down before up
    world.Update();
    EXPECT_EQ(world.m_road.m_y, 68);
    world.Release(kDown);
    world.Release(kUp);
    world.PlayUpdates(3); // no key: keeps walking down
    EXPECT_EQ(world.m_road.m_y, 80);
    EXPECT_EQ(world.m_road.m_direction, 2);
}

TEST(RoadWalker, StopsAtItsLimitsButKeepsItsAnimation) {
    RoadWorld world;
    EmptyRoad(world);
    world.PlayUpdates(100); // walking right from 320
    EXPECT_EQ(world.m_road.m_x, 544);
    EXPECT_EQ(world.m_road.m_direction, 1);
    // The frame changes every 14 updates whether or not the walker moved.
    EXPECT_EQ(world.m_road.m_frame, (100 / 14) % 2);
    EXPECT_EQ(world.m_road.m_frameTimer, 100 % 14);

    bb_tazzle_gotSkis = true;
    world.m_road.p_OnInit();
    world.m_road.m_maxCars = 0;
    world.PlayUpdates(100);
    EXPECT_EQ(world.m_road.m_x, 528);
    world.Press(kLeft);
    world.PlayUpdates(200);
    EXPECT_EQ(world.m_road.m_x, 64);
    world.Release(kLeft);
    world.Press(kUp);
    world.PlayUpdates(60);
    EXPECT_EQ(world.m_road.m_y, 160); // not yet at the top: no slope this time
}

TEST(RoadWalker, ControlKeysOutsideTheKeyRangeAreIgnored) {
    RoadWorld world;
    EmptyRoad(world);
    bb_settings_gameSettings->m_controls[c_Control::Right] = 1000;
    bb_settings_gameSettings->m_controls[c_Control::Left] = 0;
    world.m_road.m_direction = 3;
    world.Update();
    EXPECT_EQ(world.m_road.m_direction, 3);
    // The joystick buttons steer whatever the controls say.
    world.Press(264);
    world.Update();
    EXPECT_EQ(world.m_road.m_direction, 0);
}

TEST(RoadScore, EachCrossingScoresSixtyPointsAndSidewaysNothing) {
    RoadWorld world;
    EmptyRoad(world);
    bb_tazzle_score = 0;
    world.Press(kDown);
    world.PlayUpdates(90);
    EXPECT_EQ(world.m_road.m_y, 400);
    EXPECT_EQ(bb_tazzle_score, 60);
    world.Release(kDown);
    world.Press(kUp);
    world.PlayUpdates(90);
    EXPECT_EQ(world.m_road.m_y, 64);
    EXPECT_EQ(bb_tazzle_score, 120);
    world.Release(kUp);
    world.m_road.m_y = 200;
    world.Press(kLeft);
    world.PlayUpdates(30);
    EXPECT_EQ(bb_tazzle_score, 120);
}

TEST(RoadHut, HiringSkisCostsTenAndDependsOnDifficulty) {
    struct Case {
        int difficulty;
        int skiDamage;
    };
    for (const Case c : {Case{0, 4}, Case{1, 3}, Case{2, 2}}) {
        RoadWorld world;
        bb_settings_gameSettings->m_difficulty = c.difficulty;
        EmptyRoad(world);
        bb_tazzle_money = 40;
        world.m_road.m_x = 272;
        world.m_road.m_y = 396;
        world.Press(kDown);
        world.Update(); // arrives at the door
        EXPECT_FALSE(bb_tazzle_gotSkis);
        world.Update(); // pays
        EXPECT_TRUE(bb_tazzle_gotSkis);
        EXPECT_EQ(bb_tazzle_money, 30);
        EXPECT_EQ(bb_tazzle_skiDamage, c.skiDamage);
        EXPECT_EQ(world.m_road.m_x, 368);
        EXPECT_EQ(world.m_road.m_y, 400);
        // The banner counts 90 updates, this one included.
        EXPECT_EQ(world.m_road.m_hireTimer, 89);
        world.PlayUpdates(88);
        EXPECT_EQ(world.m_road.m_hireTimer, 1);
        world.Update();
        EXPECT_EQ(world.m_road.m_hireTimer, 0);
    }
}

TEST(RoadHut, ArrivingWithoutMoneyLeavesForTheNoMoneyScreen) {
    for (const int money : {0, -10}) {
        RoadWorld world;
        EmptyRoad(world);
        bb_tazzle_money = money;
        bb_tazzle_mainState = 3;
        world.m_road.m_x = 272;
        world.m_road.m_y = 400;
        world.Update();
        EXPECT_FALSE(bb_tazzle_gotSkis);
        EXPECT_EQ(world.m_road.m_state, 1);
        EXPECT_EQ(world.m_road.m_nextState, 5);
        EXPECT_EQ(world.m_noMoney.m_timer, 300);
        // The fade-out takes 112 updates; then the application moves on.
        world.PlayUpdates(111);
        EXPECT_EQ(bb_tazzle_mainState, 3);
        world.Update();
        EXPECT_EQ(bb_tazzle_mainState, 5);
    }
}

TEST(RoadAccident, AHitFlashesThenTheAmbulanceChargesItsFeeOnItsSeventyThirdUpdate) {
    RoadWorld world;
    EmptyRoad(world);
    bb_tazzle_money = 30;
    world.m_road.m_x = 200;
    world.m_road.m_y = 200;
    world.m_road.m_direction = 2;
    c_Car& car = world.AddCar(Vehicle::RedCar, false, 190, 240);
    car.m_dx = car.m_movedDx = 0; // parked where the walker is about to step on it
    world.PlayUpdates(3);         // 204, 208, 212: the walker's box now reaches into the car's
    EXPECT_EQ(world.m_road.m_state, 0);
    world.Update(); // the hit is found before anything moves
    EXPECT_EQ(world.m_road.m_state, 2);
    EXPECT_TRUE(world.m_road.m_hit);
    EXPECT_EQ(world.m_road.m_y, 212);
    world.PlayUpdates(119);
    EXPECT_EQ(world.m_road.m_state, 2);
    world.Update();
    EXPECT_EQ(world.m_road.m_state, 3);
    EXPECT_TRUE(world.m_road.m_flashOn);
    world.PlayUpdates(72);
    EXPECT_EQ(bb_tazzle_money, 30);
    EXPECT_EQ(world.m_road.m_ambulanceX, 576);
    world.Update();
    EXPECT_EQ(bb_tazzle_money, 20);
    EXPECT_EQ(world.m_road.m_state, 0);
    EXPECT_EQ(world.m_road.m_x, 320);
    EXPECT_EQ(world.m_road.m_y, 64);
    EXPECT_EQ(world.m_road.m_direction, 1);
    EXPECT_EQ(world.m_road.m_cars.size(), 1u); // the traffic stays
    EXPECT_TRUE(world.m_road.m_hit);           // cleared by the next play update
    world.Update();
    EXPECT_FALSE(world.m_road.m_hit);
}

TEST(RoadAccident, NothingMovesWhilePausedAndAnUnpaidFeeEndsTheGame) {
    RoadWorld world;
    EmptyRoad(world);
    bb_tazzle_money = 0;
    bb_tazzle_gotSkis = true;
    world.m_road.m_x = 200;
    world.m_road.m_y = 200;
    world.AddCar(Vehicle::Truck, true, 180, 190);
    world.Update();
    ASSERT_EQ(world.m_road.m_state, 2);
    const c_Car before = world.m_road.m_cars.front();
    bb_tazzle_paused = true;
    world.PlayUpdates(500);
    EXPECT_EQ(world.m_road.m_state, 2);
    EXPECT_EQ(world.m_road.m_deadTimer, 120);
    bb_tazzle_paused = false;
    world.PlayUpdates(120 + 73);
    EXPECT_EQ(world.m_road.m_cars.front().m_x, before.m_x);
    EXPECT_EQ(bb_tazzle_money, -10);
    EXPECT_EQ(world.m_road.m_state, 1);
    EXPECT_EQ(world.m_road.m_nextState, 5);
    EXPECT_EQ(world.m_noMoney.m_timer, 300);
}

TEST(RoadTraffic, NoSpawnDrawIsMadeWhileTheRoadIsFull) {
    RoadWorld world;
    world.m_road.p_OnInit();
    world.AddCar(Vehicle::YellowCar, true, 100, 100);
    world.AddCar(Vehicle::Bike, false, 300, 300);
    world.m_road.m_maxCars = 2;
    bb_random_Seed = 99;
    world.Update();
    EXPECT_EQ(bb_random_Seed, 99u);
    world.m_road.m_maxCars = 3;
    world.Update();
    EXPECT_NE(bb_random_Seed, 99u);
}
