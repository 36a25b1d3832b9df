// The in-memory road: real images and masks without files, the real settings and input device.
#include "road_world_support.h"

#include "collision/game_masks.h"
#include "game/random.h"
#include "game/tazzle.h"
#include "graphics/image.h"
#include "loading/game_images.h"
#include "loading/game_sounds.h"
#include "loading/road_sounds.h"
#include "loading/ski_sounds.h"
#include "persist/settings.h"

namespace {

std::unique_ptr<c_Image> Sprite(Size size) {
    std::unique_ptr<c_Image> image = c_Image::m_new();
    image->m_width = size.width;
    image->m_height = size.height;
    return image;
}

// Solid everywhere, so a hit is any overlap of the boxes.
std::unique_ptr<c_MasterMask> SolidMask(Size size) {
    auto mask = std::make_unique<c_MasterMask>();
    mask->m_width = size.width;
    mask->m_height = size.height;
    mask->m_data.assign(static_cast<std::size_t>(size.width * size.height), 255);
    return mask;
}

void FillImages(c_GameImages& g) {
    g.m_carYellowRight = Sprite(SizeOf(Vehicle::YellowCar));
    g.m_carYellowLeft = Sprite(SizeOf(Vehicle::YellowCar));
    g.m_carRedRight = Sprite(SizeOf(Vehicle::RedCar));
    g.m_carRedLeft = Sprite(SizeOf(Vehicle::RedCar));
    g.m_truckRight = Sprite(SizeOf(Vehicle::Truck));
    g.m_truckLeft = Sprite(SizeOf(Vehicle::Truck));
    g.m_ambulanceRight = Sprite(SizeOf(Vehicle::Ambulance));
    g.m_ambulanceLeft = Sprite(SizeOf(Vehicle::Ambulance));
    g.m_bikeRight = Sprite(SizeOf(Vehicle::Bike));
    g.m_bikeLeft = Sprite(SizeOf(Vehicle::Bike));
    g.m_loadState = 2;
}

void FillMasks(c_GameMasks& m) {
    for (auto* field :
         {&m.m_tazzleWalkDown1, &m.m_tazzleWalkDown2, &m.m_tazzleWalkLeft1, &m.m_tazzleWalkLeft2,
          &m.m_tazzleWalkRight1, &m.m_tazzleWalkRight2, &m.m_tazzleWalkUp1, &m.m_tazzleWalkUp2,
          &m.m_tazzleWalkDownSkis1, &m.m_tazzleWalkDownSkis2, &m.m_tazzleWalkLeftSkis1,
          &m.m_tazzleWalkLeftSkis2, &m.m_tazzleWalkRightSkis1, &m.m_tazzleWalkRightSkis2,
          &m.m_tazzleWalkUpSkis1, &m.m_tazzleWalkUpSkis2}) {
        *field = SolidMask(kWalkerSize);
    }
    m.m_carYellowRight = SolidMask(SizeOf(Vehicle::YellowCar));
    m.m_carYellowLeft = SolidMask(SizeOf(Vehicle::YellowCar));
    m.m_carRedRight = SolidMask(SizeOf(Vehicle::RedCar));
    m.m_carRedLeft = SolidMask(SizeOf(Vehicle::RedCar));
    m.m_truckRight = SolidMask(SizeOf(Vehicle::Truck));
    m.m_truckLeft = SolidMask(SizeOf(Vehicle::Truck));
    m.m_ambulanceRight = SolidMask(SizeOf(Vehicle::Ambulance));
    m.m_ambulanceLeft = SolidMask(SizeOf(Vehicle::Ambulance));
    m.m_bikeRight = SolidMask(SizeOf(Vehicle::Bike));
    m.m_bikeLeft = SolidMask(SizeOf(Vehicle::Bike));
    m.m_loadState = 2;
}

struct Look {
    c_Image* image;
    c_MasterMask* mask;
    int speed;
};

Look LookOf(Vehicle kind, bool right) {
    c_GameImages& g = *bb_gamegraphics_gameImages;
    c_GameMasks& m = *bb_masks_gameMasks;
    switch (kind) {
    case Vehicle::YellowCar:
        return right ? Look{g.m_carYellowRight.get(), m.m_carYellowRight.get(), 4}
                     : Look{g.m_carYellowLeft.get(), m.m_carYellowLeft.get(), 4};
    case Vehicle::RedCar:
        return right ? Look{g.m_carRedRight.get(), m.m_carRedRight.get(), 4}
                     : Look{g.m_carRedLeft.get(), m.m_carRedLeft.get(), 4};
    case Vehicle::Truck:
        return right ? Look{g.m_truckRight.get(), m.m_truckRight.get(), 2}
                     : Look{g.m_truckLeft.get(), m.m_truckLeft.get(), 2};
    case Vehicle::Ambulance:
        return right ? Look{g.m_ambulanceRight.get(), m.m_ambulanceRight.get(), 8}
                     : Look{g.m_ambulanceLeft.get(), m.m_ambulanceLeft.get(), 8};
    case Vehicle::Bike:
        break;
    }
    return right ? Look{g.m_bikeRight.get(), m.m_bikeRight.get(), 6}
                 : Look{g.m_bikeLeft.get(), m.m_bikeLeft.get(), 6};
}

} // namespace

Size SizeOf(Vehicle kind) {
    switch (kind) {
    case Vehicle::Truck:
        return {96, 48};
    case Vehicle::Bike:
        return {32, 24};
    default:
        return {64, 32};
    }
}

RoadWorld::RoadWorld() {
    bb_tazzle_Init();
    bb_tazzle_NewGame();
    bb_tazzle_mainState = 3;
    bb_random_Seed = 1234;
    bb_settings_gameSettings = std::make_unique<c_Settings>();
    bb_gamegraphics_gameImages = std::make_unique<c_GameImages>();
    FillImages(*bb_gamegraphics_gameImages);
    bb_masks_gameMasks = std::make_unique<c_GameMasks>();
    FillMasks(*bb_masks_gameMasks);
    bb_gamesounds_gameSounds = std::make_unique<c_GameSounds>();
    bb_gamesounds_gameSounds->m_loadState = 2;
    bb_roadsounds_roadSounds = std::make_unique<c_RoadSounds>();
    bb_skisounds_skiSounds = std::make_unique<c_SkiSounds>();
    bb_input_SetInputDevice(&m_input);
    bb_tazzle_roadScreen = &m_road;
    bb_tazzle_noMoneyScreen = &m_noMoney;
}

RoadWorld::~RoadWorld() {
    bb_input_SetInputDevice(nullptr);
    bb_tazzle_roadScreen = nullptr;
    bb_tazzle_noMoneyScreen = nullptr;
}

void RoadWorld::Press(int key) {
    m_input.p_KeyEvent(1, key);
}

void RoadWorld::Release(int key) {
    m_input.p_KeyEvent(2, key);
}

void RoadWorld::Update() {
    m_road.p_Update();
    m_input.p_EndUpdate();
}

void RoadWorld::PlayUpdates(int count) {
    for (int i = 0; i < count; ++i)
        Update();
}

c_Car& RoadWorld::AddCar(Vehicle kind, bool movingRight, int x, int y) {
    const Look look = LookOf(kind, movingRight);
    c_Car car;
    car.m_kind = static_cast<int>(kind);
    car.m_image = look.image;
    car.m_mask = look.mask;
    car.m_x = x;
    car.m_y = y;
    car.m_dx = car.m_movedDx = movingRight ? look.speed : -look.speed;
    car.m_dy = y < (movingRight ? 128 : 272) ? 2 : -2;
    m_road.m_cars.push_back(car);
    return m_road.m_cars.back();
}

Vehicle RoadWorld::KindOf(const c_Car& car) {
    for (Vehicle kind :
         {Vehicle::YellowCar, Vehicle::RedCar, Vehicle::Truck, Vehicle::Ambulance, Vehicle::Bike}) {
        if (car.m_image == LookOf(kind, true).image || car.m_image == LookOf(kind, false).image)
            return kind;
    }
    return Vehicle::Bike;
}

const c_Car* RoadWorld::FindCar(Vehicle kind) const {
    for (const c_Car& car : m_road.m_cars) {
        if (KindOf(car) == kind)
            return &car;
    }
    return nullptr;
}

std::uint32_t SeedWhoseFirstDrawIs(float scale, float offset, int wanted, std::uint32_t from) {
    for (std::uint32_t seed = from;; ++seed) {
        bb_random_Seed = seed;
        if (static_cast<int>(bb_random_Rnd() * scale + offset) == wanted) {
            bb_random_Seed = seed;
            return seed;
        }
    }
}
