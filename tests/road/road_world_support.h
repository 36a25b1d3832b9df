// A road built in memory for the logic tests: every global the road screen reads, sprites of
// known sizes without pixels, solid rectangular masks, default settings and a live input device.
#pragma once

#include <cstdint>
#include <memory>

#include "input/input_device.h"
#include "road/road_screen.h"
#include "ski/no_money_screen.h"

// Vehicle kinds as the road numbers them when it spawns one.
enum class Vehicle {
    YellowCar = c_Car::kYellowCar,
    RedCar = c_Car::kRedCar,
    Truck = c_Car::kTruck,
    Ambulance = c_Car::kAmbulance,
    Bike = c_Car::kBike,
};

// Box sizes of the in-memory sprites.
struct Size {
    int width;
    int height;
};
Size SizeOf(Vehicle kind);
constexpr Size kWalkerSize{32, 32};

class RoadWorld {
public:
    RoadWorld();
    ~RoadWorld();
    RoadWorld(const RoadWorld&) = delete;
    RoadWorld& operator=(const RoadWorld&) = delete;

    // Holds or lets go of a key, as the host's key events do.
    void Press(int key);
    void Release(int key);
    // One update as the application runs it, with the input's end-of-update step.
    void Update();
    void PlayUpdates(int count);

    // Appends a vehicle moving right (or left) at the given place, as the spawner would.
    c_Car& AddCar(Vehicle kind, bool movingRight, int x, int y);
    // The first vehicle of that kind, or null.
    const c_Car* FindCar(Vehicle kind) const;
    static Vehicle KindOf(const c_Car& car);

    c_InputDevice m_input;
    c_RoadScreen m_road;
    c_NoMoneyScreen m_noMoney;
};

// A seed from which the first draw, scaled by `scale` and shifted by `offset` and truncated, is
// `wanted` (searching upward from `from`); the generator is left at that seed.
std::uint32_t SeedWhoseFirstDrawIs(float scale, float offset, int wanted, std::uint32_t from = 1);
