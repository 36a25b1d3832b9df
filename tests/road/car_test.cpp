// How vehicles move among each other: falling in behind, standing still, swerving within the
// carriageway, truck drift, and which of them use random draws.
#include <gtest/gtest.h>

#include "game/random.h"
#include "road_world_support.h"

namespace {

void MoveAll(RoadWorld& world) {
    for (c_Car& car : world.m_road.m_cars)
        car.p_Move(world.m_road.m_cars);
}

} // namespace

TEST(CarMove, AFastVehicleFallsInBehindASlowerOneAndSwervesToPass) {
    RoadWorld world;
    c_Car& truck = world.AddCar(Vehicle::Truck, true, 70, 100);
    c_Car& car = world.AddCar(Vehicle::YellowCar, true, 6, 100); // 2 pixels short of the truck
    MoveAll(world);
    EXPECT_EQ(truck.m_x, 72);
    // Driving on 4 would overlap the truck; it takes the truck's 2 this update instead...
    EXPECT_EQ(car.m_x, 8);
    EXPECT_EQ(car.m_movedDx, 2);
    // ...and steps one swerve down (it started in the upper part of its carriageway).
    EXPECT_EQ(car.m_y, 102);
    EXPECT_EQ(car.m_dy, 2);
}

TEST(CarMove, AVehicleBoxedInStandsStill) {
    RoadWorld world;
    c_Car& ahead = world.AddCar(Vehicle::Truck, true, 66, 100);
    ahead.m_movedDx = 3;
    c_Car& car = world.AddCar(Vehicle::RedCar, true, 0, 100);
    // Falling in at the truck's 3 pixels still overlaps it (3 + 64 > 66): the car stays put.
    car.p_Move(world.m_road.m_cars);
    EXPECT_EQ(car.m_x, 0);
    EXPECT_EQ(car.m_movedDx, 0);
}

TEST(CarMove, TrucksNeverSwerveAndCarsNeverDrift) {
    RoadWorld world;
    bb_random_Seed = 1234; // first drift roll: int(0.714 * 1999 + 1) = 1429, no drift
    c_Car& blocker = world.AddCar(Vehicle::RedCar, true, 97, 100);
    blocker.m_dx = blocker.m_movedDx = 0;
    c_Car& truck = world.AddCar(Vehicle::Truck, true, 0, 100);
    truck.p_Move(world.m_road.m_cars);
    EXPECT_EQ(truck.m_x, 0);   // fell in behind the stopped car
    EXPECT_EQ(truck.m_y, 100); // a car in its place would have swerved
    EXPECT_EQ(truck.m_drift, 0);

    // A lone car makes no draw at all; a lone truck draws once per update for its drift.
    RoadWorld open;
    c_Car& car = open.AddCar(Vehicle::Bike, false, 300, 300);
    car.m_drift = 5;
    const std::uint32_t seed = bb_random_Seed;
    car.p_Move(open.m_road.m_cars);
    EXPECT_EQ(bb_random_Seed, seed);
    EXPECT_EQ(car.m_y, 300);
    EXPECT_EQ(car.m_drift, 5);
    c_Car& lone = open.AddCar(Vehicle::Truck, false, 100, 260);
    lone.p_Move(open.m_road.m_cars);
    bb_random_Seed = seed;
    bb_random_Rnd();
    const std::uint32_t afterOneDraw = bb_random_Seed;
    bb_random_Seed = seed;
    lone.p_Move(open.m_road.m_cars);
    EXPECT_EQ(bb_random_Seed, afterOneDraw);
}

TEST(CarMove, ATruckDriftsFortyEightPixelsOverFortyEightUpdates) {
    struct Case {
        int roll;
        bool movingRight;
        int startY;
        int endY;
    };
    const Case cases[] = {
        {1, true, 100, 148},  // roll 1 drifts down
        {2, false, 300, 252}, // roll 2 drifts up
    };
    for (const Case& c : cases) {
        RoadWorld world;
        c_Car& truck = world.AddCar(Vehicle::Truck, c.movingRight, 200, c.startY);
        bb_random_Seed = SeedWhoseFirstDrawIs(1999.0f, 1.0f, c.roll);
        truck.p_Move(world.m_road.m_cars);
        EXPECT_EQ(truck.m_drift, c.roll == 1 ? 47 : -47);
        const std::uint32_t seed = bb_random_Seed;
        for (int i = 1; i < 48; ++i)
            truck.p_Move(world.m_road.m_cars);
        EXPECT_EQ(bb_random_Seed, seed) << "no draws while drifting";
        EXPECT_EQ(truck.m_y, c.endY);
        EXPECT_EQ(truck.m_drift, 0);
    }
}

TEST(CarMove, ADriftStopsAtTheEdgeOfItsBand) {
    RoadWorld world;
    c_Car& truck = world.AddCar(Vehicle::Truck, true, 200, 170);
    bb_random_Seed = SeedWhoseFirstDrawIs(1999.0f, 1.0f, 1);
    truck.p_Move(world.m_road.m_cars);
    for (int i = 0; i < 5; ++i)
        truck.p_Move(world.m_road.m_cars);
    EXPECT_EQ(truck.m_y, 176); // 96..176 going right
    EXPECT_EQ(truck.m_drift, 42);
    truck.p_Move(world.m_road.m_cars); // one more would leave the band
    EXPECT_EQ(truck.m_y, 176);
    EXPECT_EQ(truck.m_drift, 0);
}

TEST(CarMove, ASwerveOffTheCarriagewayIsUndoneAndMayTurnAround) {
    // The car sits on the lowest row going right and swerves down into the verge: back it goes,
    // and one draw of Rnd() * 40 <= 1 decides whether it swerves the other way next time.
    struct Case {
        int drawnInteger; // int(Rnd() * 40)
        int dyAfter;
    };
    const Case cases[] = {{0, -2}, {20, 2}, {39, 2}};
    for (const Case& c : cases) {
        RoadWorld world;
        c_Car& slow = world.AddCar(Vehicle::Truck, true, 70, 180);
        slow.m_dx = slow.m_movedDx = 0;
        c_Car& car = world.AddCar(Vehicle::YellowCar, true, 4, 192);
        car.m_dy = 2;
        bb_random_Seed = SeedWhoseFirstDrawIs(40.0f, 0.0f, c.drawnInteger);
        car.p_Move(world.m_road.m_cars);
        EXPECT_EQ(car.m_y, 192);
        EXPECT_EQ(car.m_dy, c.dyAfter) << c.drawnInteger;
    }
}

TEST(CarMove, ASwerveIntoAnotherVehicleIsUndoneWithOneDrawForIt) {
    struct Case {
        int drawnInteger; // int(Rnd() * 40)
        int dyAfter;
    };
    for (const Case& c : {Case{0, -2}, Case{30, 2}}) {
        RoadWorld world;
        world.AddCar(Vehicle::Truck, true, 72, 100).m_movedDx = 2;
        c_Car& beside = world.AddCar(Vehicle::RedCar, true, 0, 133); // just below the car's row
        beside.m_dx = beside.m_movedDx = 0;
        c_Car& car = world.AddCar(Vehicle::YellowCar, true, 6, 100);
        const std::uint32_t seed = SeedWhoseFirstDrawIs(40.0f, 0.0f, c.drawnInteger);
        bb_random_Rnd();
        const std::uint32_t afterOneDraw = bb_random_Seed;
        bb_random_Seed = seed;
        car.p_Move(world.m_road.m_cars);
        EXPECT_EQ(car.m_x, 8);   // fell in behind the truck
        EXPECT_EQ(car.m_y, 100); // the swerve to 102 would touch the car below
        EXPECT_EQ(car.m_dy, c.dyAfter);
        EXPECT_EQ(bb_random_Seed, afterOneDraw);
    }
}
