// The road screen's play: the walker, the traffic, the ski hire, the way on to the slope, the
// accident with the ambulance, and the road's picture. Every random draw happens in the order
// that makes a seed replay the same traffic.
#include "road/road_screen.h"

#include "audio/audio.h"
#include "collision/game_masks.h"
#include "collision/master_mask.h"
#include "game/random.h"
#include "game/tazzle.h"
#include "graphics/graphics.h"
#include "graphics/virtual_display.h"
#include "input/input_device.h"
#include "loading/async_event.h"
#include "loading/game_images.h"
#include "loading/road_sounds.h"
#include "loading/ski_sounds.h"
#include "persist/settings.h"
#include "screens/back_request.h"
#include "screens/fade.h"
#include "screens/screen_furniture.h"
#include "screens/steering.h"
#include "screens/title_screen.h"
#include "ski/no_money_screen.h"
#include "ski/ski_screen.h"
#include "text/text.h"

namespace {

// The walker's hut door, its starting points and its limits.
constexpr int kHutX = 272;
constexpr int kHutY = 400;
constexpr int kTopY = 64;
constexpr int kStep = 4;
constexpr int kHireFee = 10;
constexpr int kAmbulanceFee = 10;

// The road's sound channels: the traffic's engine, the siren, the till and the crash each keep
// their own, so that one never cuts another off.
constexpr int kChannelTraffic = 0;
constexpr int kChannelSiren = 1;
constexpr int kChannelTill = 2;
constexpr int kChannelCrash = 3;

int DrawKind() {
    return static_cast<int>(bb_random_Rnd2(1.0f, 6.0f));
}

struct VehicleLook {
    c_Image* image;
    c_MasterMask* mask;
    int speed;
};

VehicleLook LookOf(int kind, bool fromLeft) {
    const c_GameImages& g = *bb_gamegraphics_gameImages;
    const c_GameMasks& m = *bb_masks_gameMasks;
    switch (kind) {
    case c_Car::kYellowCar:
        return fromLeft ? VehicleLook{g.m_carYellowRight.get(), m.m_carYellowRight.get(), 4}
                        : VehicleLook{g.m_carYellowLeft.get(), m.m_carYellowLeft.get(), 4};
    case c_Car::kRedCar:
        return fromLeft ? VehicleLook{g.m_carRedRight.get(), m.m_carRedRight.get(), 4}
                        : VehicleLook{g.m_carRedLeft.get(), m.m_carRedLeft.get(), 4};
    case c_Car::kTruck:
        return fromLeft ? VehicleLook{g.m_truckRight.get(), m.m_truckRight.get(), 2}
                        : VehicleLook{g.m_truckLeft.get(), m.m_truckLeft.get(), 2};
    case c_Car::kAmbulance:
        return fromLeft ? VehicleLook{g.m_ambulanceRight.get(), m.m_ambulanceRight.get(), 8}
                        : VehicleLook{g.m_ambulanceLeft.get(), m.m_ambulanceLeft.get(), 8};
    case c_Car::kBike:
    default:
        return fromLeft ? VehicleLook{g.m_bikeRight.get(), m.m_bikeRight.get(), 6}
                        : VehicleLook{g.m_bikeLeft.get(), m.m_bikeLeft.get(), 6};
    }
}

void DrawBannerIf(bool shown, const String& text) {
    if (shown)
        bb_furniture_DrawBanner(text, 170.0f, 0.0f, 0.0f);
}

} // namespace

c_RoadScreen::c_RoadScreen() : m_fade(true) {}

c_RoadScreen::~c_RoadScreen() = default;

void c_RoadScreen::p_OnInit() {
    m_cars.clear();
    m_state = kStatePlaying;
    m_frame = 0;
    m_frameTimer = 0;
    m_direction = c_WalkerDirection::Right;
    m_hireTimer = 0;
    m_stepCount = 0;
    m_hit = false;
    m_flashTimer = 0;
    m_flashOn = false;
    m_fade.p_Reset();
    const int level = bb_tazzle_level;
    switch (bb_settings_gameSettings->m_difficulty) {
    case c_Difficulty::Easy:
        m_maxCars = level <= 4 ? level + 4 : 10;
        break;
    case c_Difficulty::Hard:
        m_maxCars = level <= 4 ? level + 14 : 20;
        break;
    default:
        m_maxCars = level <= 4 ? level + 9 : 15;
        break;
    }
    PutWalkerAtStart();
}

void c_RoadScreen::PutWalkerAtStart() {
    if (bb_tazzle_gotSkis) {
        m_x = 368;
        m_y = kHutY;
    } else {
        m_x = 320;
        m_y = kTopY;
    }
}

void c_RoadScreen::p_StartLoads() {
    bb_roadsounds_roadSounds->p_StartLoad();
    bb_gamegraphics_gameImages->p_StartLoad();
    bb_masks_gameMasks->p_StartLoad();
}

bool c_RoadScreen::p_AssetsReady() {
    return bb_gamegraphics_gameImages->p_IsLoaded() && bb_masks_gameMasks->p_IsLoaded() &&
           !bb_roadsounds_roadSounds->p_IsLoading();
}

int c_RoadScreen::p_OnUpdate() {
    if (p_AssetsReady()) {
        p_Update();
    } else if (bb_asyncevent__current == nullptr) {
        bb_asyncevent_UpdateAsyncEvents();
    }
    return 0;
}

void c_RoadScreen::p_Update() {
    if (bb_back_Hit()) {
        bb_tazzle_titleScreen->p_OnInit();
        bb_roadsounds_roadSounds->p_Discard();
        bb_tazzle_mainState = c_MainState::Title;
        // The road is left at once: nothing more of its update runs, so neither play nor the
        // end of a fade can follow the title.
        return;
    }
    switch (m_state) {
    case kStatePlaying:
        p_PlayUpdate();
        break;
    case kStateLeaving:
        LeaveUpdate();
        break;
    case kStateHit:
        p_DeadFlashingUpdate();
        break;
    case kStateAmbulance:
        p_DeadAmulanceUpdate();
        break;
    default:
        break;
    }
}

void c_RoadScreen::LeaveUpdate() {
    bb_roadsounds_roadSounds->p_Discard();
    if (m_nextState == c_MainState::Ski)
        bb_skisounds_skiSounds->p_StartLoad();
    if (bb_asyncevent__current == nullptr)
        bb_asyncevent_UpdateAsyncEvents();
    if (!m_fade.p_OnUpdate())
        bb_tazzle_mainState = m_nextState;
}

void c_RoadScreen::Leave(int nextState) {
    m_nextState = nextState;
    m_state = kStateLeaving;
}

void c_RoadScreen::p_PlayUpdate() {
    if (TestHit())
        return;
    if (bb_tazzle_paused)
        return;
    if (VisitHut())
        return;
    ReachSlope();
    for (c_Car& car : m_cars)
        car.p_Move(m_cars);
    SpawnCar();
    RemoveCarsOffRoad();
    const bool movedVertically = SteerAndWalk();
    Animate();
    Score(movedVertically);
    bb_tazzle_PayScoreBonus();
    if (m_hireTimer > 0)
        m_hireTimer -= 1;
}

bool c_RoadScreen::TestHit() {
    m_hit = false;
    c_MasterMask* walker = p_GetTazzleMask();
    if (walker == nullptr)
        return false;
    for (const c_Car& car : m_cars) {
        if (car.m_mask == nullptr || !walker->p_CollideMask(m_x, m_y, car.m_mask, car.m_x, car.m_y))
            continue;
        m_hit = true;
        m_hireTimer = 0;
        bb_audio_PlaySound(bb_roadsounds_roadSounds->m_carCrash.get(), kChannelCrash, 0);
        m_deadTimer = 120;
        m_state = kStateHit;
        return true;
    }
    return false;
}

bool c_RoadScreen::VisitHut() {
    if (bb_tazzle_gotSkis || m_x != kHutX || m_y != kHutY)
        return false;
    if (bb_tazzle_money <= 0) {
        bb_tazzle_noMoneyScreen->p_OnInit();
        Leave(c_MainState::NoMoney);
        return true;
    }
    bb_tazzle_money -= kHireFee;
    bb_tazzle_gotSkis = true;
    m_direction = c_WalkerDirection::Right;
    m_x = 368;
    m_hireTimer = 90;
    switch (bb_settings_gameSettings->m_difficulty) {
    case c_Difficulty::Easy:
        bb_tazzle_skiDamage = 4;
        break;
    case c_Difficulty::Hard:
        bb_tazzle_skiDamage = 2;
        break;
    default:
        bb_tazzle_skiDamage = 3;
        break;
    }
    bb_audio_PlaySound(bb_roadsounds_roadSounds->m_register.get(), kChannelTill, 0);
    return false;
}

void c_RoadScreen::ReachSlope() {
    if (!bb_tazzle_gotSkis || m_y != kTopY)
        return;
    bb_tazzle_skiScreen->p_OnInit();
    Leave(c_MainState::Ski);
}

void c_RoadScreen::SpawnCar() {
    if (static_cast<int>(m_cars.size()) >= m_maxCars)
        return;
    const int chance = bb_tazzle_level <= 4 ? bb_tazzle_level + 9 : 15;
    if (bb_random_Rnd2(1.0f, 100.0f) > static_cast<float>(chance))
        return;
    // Any side but 1 enters from the right (a draw can round up to 3 in float arithmetic).
    const bool fromLeft = static_cast<int>(bb_random_Rnd2(1.0f, 3.0f)) == 1;
    int kind = DrawKind();
    if (kind == c_Car::kTruck && bb_random_Rnd3(4.0f) > 1.0f) {
        do {
            kind = DrawKind();
        } while (kind == c_Car::kTruck || kind == c_Car::kAmbulance);
    }
    if (kind == c_Car::kAmbulance) {
        for (const c_Car& car : m_cars) {
            if (!car.p_IsAmbulance())
                continue;
            while (kind == c_Car::kAmbulance)
                kind = DrawKind();
        }
    }
    const VehicleLook look = LookOf(kind, fromLeft);
    const float base = fromLeft ? 96.0f : 240.0f;
    const float rows = kind == c_Car::kTruck ? 81.0f : 97.0f;

    c_Car car;
    car.m_kind = kind;
    car.m_image = look.image;
    car.m_mask = look.mask;
    car.m_x = fromLeft ? -64 : 576;
    car.m_y = static_cast<int>(bb_random_Rnd2(base, base + rows));
    for (const c_Car& other : m_cars) {
        if (car.p_Overlaps(other))
            return;
    }
    if (bb_audio_ChannelState(kChannelTraffic) == 0)
        bb_audio_PlaySound(bb_roadsounds_roadSounds->m_car.get(), kChannelTraffic, 0);
    if (kind == c_Car::kAmbulance)
        bb_audio_PlaySound(bb_roadsounds_roadSounds->m_siren.get(), kChannelSiren, 0);
    car.m_dx = fromLeft ? look.speed : -look.speed;
    car.m_movedDx = car.m_dx;
    const int upperPart = fromLeft ? 128 : 272;
    car.m_dy = car.m_y < upperPart ? 2 : -2;
    m_cars.push_back(car);
}

void c_RoadScreen::RemoveCarsOffRoad() {
    m_cars.remove_if([](const c_Car& car) {
        return (car.m_dx > 0 && car.m_x > 640) || (car.m_dx < 0 && car.m_x < -128);
    });
}

bool c_RoadScreen::SteerAndWalk() {
    if (bb_steering_Right()) {
        m_direction = c_WalkerDirection::Right;
    } else if (bb_steering_Left()) {
        m_direction = c_WalkerDirection::Left;
    } else if (bb_steering_Down()) {
        m_direction = c_WalkerDirection::Down;
    } else if (bb_steering_Up()) {
        m_direction = c_WalkerDirection::Up;
    }
    switch (m_direction) {
    case c_WalkerDirection::Left:
        if (m_x > 64)
            m_x -= kStep;
        return false;
    case c_WalkerDirection::Right:
        if (m_x <= (bb_tazzle_gotSkis ? 527 : 543))
            m_x += kStep;
        return false;
    case c_WalkerDirection::Down:
        if (m_y < kHutY)
            m_y += kStep;
        return true;
    default:
        if (m_y > kTopY)
            m_y -= kStep;
        return true;
    }
}

void c_RoadScreen::Animate() {
    m_frameTimer += 1;
    if (m_frameTimer > 13) {
        m_frameTimer = 0;
        m_frame = 1 - m_frame;
    }
}

void c_RoadScreen::Score(bool movedVertically) {
    if (movedVertically && m_y >= 96 && m_y < 336)
        m_stepCount += 1;
    if (m_stepCount == 5) {
        m_stepCount = 0;
        bb_tazzle_score += 5;
    }
}

c_MasterMask* c_RoadScreen::p_GetTazzleMask() const {
    return bb_walker_Mask(m_direction, bb_tazzle_gotSkis, m_frame);
}

void c_RoadScreen::p_DeadFlashingUpdate() {
    if (!bb_tazzle_paused) {
        m_flashTimer += 1;
        if (m_flashTimer > 9) {
            m_flashOn = !m_flashOn;
            m_flashTimer = 0;
        }
        m_deadTimer -= 1;
    }
    if (m_deadTimer <= 0) {
        m_flashOn = true;
        m_ambulanceX = 0;
        bb_audio_PlaySound(bb_roadsounds_roadSounds->m_siren.get(), kChannelSiren, 0);
        m_state = kStateAmbulance;
    }
}

void c_RoadScreen::p_DeadAmulanceUpdate() {
    if (!bb_tazzle_paused)
        m_ambulanceX += 8;
    if (m_ambulanceX <= 576)
        return;
    bb_tazzle_money -= kAmbulanceFee;
    if (bb_tazzle_money < 0) {
        bb_tazzle_noMoneyScreen->p_OnInit();
        Leave(c_MainState::NoMoney);
        return;
    }
    PutWalkerAtStart();
    m_direction = c_WalkerDirection::Right;
    m_state = kStatePlaying;
}

c_Image* c_RoadScreen::p_GetTazzleImage() const {
    return bb_walker_Image(m_direction, bb_tazzle_gotSkis, m_frame);
}

c_Image* c_RoadScreen::p_GetDeadTazzleImage() const {
    return bb_walker_DeadImage(m_direction, bb_tazzle_gotSkis, m_frame);
}

int c_RoadScreen::p_OnRender() {
    if (p_AssetsReady()) {
        p_Render();
    } else {
        bb_graphics_Cls(0.0f, 0.0f, 170.0f);
    }
    return 0;
}

void c_RoadScreen::p_Render() {
    const c_GameImages& g = *bb_gamegraphics_gameImages;
    bb_graphics_Cls(0.0f, 0.0f, 0.0f);
    bb_graphics_DrawImage(g.m_backdropRoad.get(), 0.0f, 0.0f, 0);
    bb_furniture_ClipToPlayArea();
    bb_graphics_DrawImage(g.m_skiHut.get(), 272.0f, 384.0f, 0);
    for (const c_Car& car : m_cars) {
        bb_graphics_DrawImage(car.m_image, static_cast<float>(car.m_x), static_cast<float>(car.m_y),
                              0);
    }
    // m_hit stays set until the next play update, but the accident is over once play resumes.
    const bool accident = m_hit && m_state != kStatePlaying;
    c_Image* walker = nullptr;
    if (!accident) {
        walker = p_GetTazzleImage();
    } else if (m_flashOn) {
        walker = p_GetDeadTazzleImage();
    }
    bb_graphics_DrawImage(walker, static_cast<float>(m_x), static_cast<float>(m_y), 0);
    bb_furniture_DrawStatusLine();
    DrawBannerIf(m_hireTimer > 0, u"***   SKI HIRE $" + bb_itos(kHireFee) + u"   ***");
    DrawBannerIf(accident, u"** AMBULANCE FEE  $" + bb_itos(kAmbulanceFee) + u" **");
    if (m_state == kStateAmbulance)
        bb_graphics_DrawImage(g.m_ambulanceRight.get(), m_ambulanceX, 400.0f, 0);
    if (bb_tazzle_paused)
        bb_furniture_DrawPausedNotice();
    if (m_state == kStateLeaving) {
        bb_autofit_UnsetVScissor();
        m_fade.p_OnRender();
    }
}
