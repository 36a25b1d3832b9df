// Where, how often and what the road spawns: sides and rows, speeds, the swerve direction, the
// chance per update, trucks kept one time in four, one ambulance at a time, no spawn into a
// vehicle already there.
#include <gtest/gtest.h>

#include <map>

#include "game/random.h"
#include "game/tazzle.h"
#include "road_world_support.h"

namespace {

constexpr std::uint32_t kSeeds = 4000;

int SpeedOf(Vehicle kind) {
    switch (kind) {
    case Vehicle::Truck:
        return 2;
    case Vehicle::Ambulance:
        return 8;
    case Vehicle::Bike:
        return 6;
    default:
        return 4;
    }
}

// One play update from each seed on a road holding only `parked`; the vehicles it spawned.
template <typename Prepare> std::vector<c_Car> SpawnFromEachSeed(int level, Prepare prepare) {
    std::vector<c_Car> spawned;
    RoadWorld world;
    bb_tazzle_level = level;
    for (std::uint32_t i = 1; i <= kSeeds; ++i) {
        // Neighbouring seeds give neighbouring first draws: spread them over the whole range.
        const std::uint32_t seed = i * 2654435761u;
        world.m_road.p_OnInit();
        world.m_road.m_maxCars = 20;
        prepare(world);
        const std::size_t before = world.m_road.m_cars.size();
        bb_random_Seed = seed;
        world.Update();
        if (world.m_road.m_cars.size() > before)
            spawned.push_back(world.m_road.m_cars.back());
    }
    return spawned;
}

} // namespace

TEST(RoadSpawn, VehiclesEnterOnTheirSideWithinTheirCarriageway) {
    const std::vector<c_Car> spawned = SpawnFromEachSeed(1, [](RoadWorld&) {});
    std::map<Vehicle, int> counts;
    for (const c_Car& car : spawned) {
        const Vehicle kind = RoadWorld::KindOf(car);
        ++counts[kind];
        const bool right = car.m_dx > 0;
        const int base = right ? 96 : 240;
        const int rows = kind == Vehicle::Truck ? 80 : 96;
        EXPECT_EQ(car.m_x, right ? -64 : 576);
        EXPECT_EQ(std::abs(car.m_dx), SpeedOf(kind));
        EXPECT_EQ(car.m_movedDx, car.m_dx);
        EXPECT_GE(car.m_y, base);
        EXPECT_LE(car.m_y, base + rows);
        EXPECT_EQ(car.m_dy, car.m_y < base + 32 ? 2 : -2);
        EXPECT_EQ(car.m_drift, 0);
        EXPECT_NE(car.m_mask, nullptr);
    }
    // About 10 in 100 updates spawn at level 1.
    EXPECT_GT(spawned.size(), kSeeds * 7 / 100);
    EXPECT_LT(spawned.size(), kSeeds * 13 / 100);
    for (Vehicle kind :
         {Vehicle::YellowCar, Vehicle::RedCar, Vehicle::Truck, Vehicle::Ambulance, Vehicle::Bike}) {
        EXPECT_GT(counts[kind], 0);
    }
    // A truck is kept one time in four; the others take its redraws.
    EXPECT_LT(counts[Vehicle::Truck] * 2, counts[Vehicle::Bike]);
}

TEST(RoadSpawn, TheChanceRisesWithTheLevelUpToFive) {
    const std::size_t atFive = SpawnFromEachSeed(5, [](RoadWorld&) {}).size();
    const std::size_t atNine = SpawnFromEachSeed(9, [](RoadWorld&) {}).size();
    EXPECT_EQ(atFive, atNine); // 15 in 100 from level 5 on
    EXPECT_GT(atFive, kSeeds * 12 / 100);
    EXPECT_LT(atFive, kSeeds * 18 / 100);
}

TEST(RoadSpawn, NoSecondAmbulanceWhileOneIsOnTheRoad) {
    const std::vector<c_Car> spawned = SpawnFromEachSeed(
        1, [](RoadWorld& world) { world.AddCar(Vehicle::Ambulance, true, 300, 100); });
    ASSERT_FALSE(spawned.empty());
    for (const c_Car& car : spawned)
        EXPECT_NE(RoadWorld::KindOf(car), Vehicle::Ambulance);
}

TEST(RoadSpawn, NothingEntersWhereAVehicleAlreadyStands) {
    // Parked cars fill the left entry from row 96 down to 224.
    const std::vector<c_Car> spawned = SpawnFromEachSeed(1, [](RoadWorld& world) {
        for (int y = 96; y < 224; y += 32) {
            c_Car& car = world.AddCar(Vehicle::RedCar, true, -64, y);
            car.m_dx = car.m_movedDx = 0;
        }
    });
    ASSERT_FALSE(spawned.empty());
    for (const c_Car& car : spawned)
        EXPECT_LT(car.m_dx, 0);
}
