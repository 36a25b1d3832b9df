// The ski slope's rules, update by update, and its picture.
#include "ski/ski_screen.h"

#include <algorithm>

#include "audio/audio.h"
#include "collision/game_masks.h"
#include "game/tazzle.h"
#include "graphics/graphics.h"
#include "graphics/virtual_display.h"
#include "input/input_device.h"
#include "loading/async_event.h"
#include "loading/game_images.h"
#include "loading/game_sounds.h"
#include "loading/road_sounds.h"
#include "loading/ski_sounds.h"
#include "persist/settings.h"
#include "road/road_screen.h"
#include "screens/back_request.h"
#include "screens/screen_furniture.h"
#include "screens/steering.h"
#include "screens/title_screen.h"
#include "text/text.h"

namespace {

// Sound channels of the slope.
constexpr int kChannelBackground = 0;
constexpr int kChannelBump = 1;
constexpr int kChannelBeep = 2;
constexpr int kChannelCrash = 3;
constexpr int kChannelFinish = 4;

constexpr int kStartX = 288;
constexpr int kStartY = 64;
constexpr int kPhaseUpdates = 120;

bool ChannelIdle(int channel) {
    return bb_audio_ChannelState(channel) == 0;
}

c_GameImages& Images() {
    return *bb_gamegraphics_gameImages;
}
c_GameMasks& Masks() {
    return *bb_masks_gameMasks;
}

} // namespace

c_SkiScreen::c_SkiScreen()
    : m_course1(ski_course::Course1()), m_course2(ski_course::Course2()), m_fade(false) {}

void c_SkiScreen::p_OnInit() {
    m_state = kStateSkiing;
    int narrowest = bb_settings_gameSettings->m_difficulty == c_Difficulty::Easy ? 3 : 5;
    m_gateNarrow = std::min(bb_tazzle_level - 1, narrowest);
    m_x = kStartX;
    m_y = kStartY;
    m_direction = kHeadingDown;
    m_image = Images().m_tazzleSkiDown.get();
    m_mask = Masks().m_tazzleSkiDown.get();
    m_snowOffset = 0;
    m_straightenTimer = 0;
    m_steerTimer = 0;
    m_turnLeft = false;
    m_turnRight = false;
    m_crashed = false;
    m_crashFrame = 0;
    m_row = 0;
    m_courseIndex = 0;
    m_subRow = 0;
    m_nextRow = 0;
    m_nextColumn = 0;
    m_nextType = ski_course::kNothing;
    m_lastMissedFlag = 0;
    m_finishBonus = false;
    m_nextFlagId = 1;
    m_nextLevel = 1;
    m_speed = 2;
    m_trees.clear();
    m_bumps.clear();
    m_flags.clear();
    m_finishes.clear();
    m_fade.p_Reset();
}

bool c_SkiScreen::AssetsReady() const {
    return bb_gamegraphics_gameImages->p_IsLoaded() && bb_masks_gameMasks->p_IsLoaded() &&
           !bb_skisounds_skiSounds->p_IsLoading();
}

int c_SkiScreen::p_OnUpdate() {
    if (AssetsReady()) {
        p_Update();
    } else if (bb_asyncevent__current == nullptr) {
        bb_asyncevent_UpdateAsyncEvents();
    }
    return 0;
}

void c_SkiScreen::p_Update() {
    if (bb_back_Hit()) {
        bb_tazzle_titleScreen->p_OnInit();
        for (int channel : {kChannelBeep, kChannelBackground, kChannelBump, kChannelCrash})
            bb_audio_StopChannel(channel);
        bb_tazzle_mainState = c_MainState::Title;
        // The slope is left at once: no more of its update may restart its sounds or end its
        // fade into the road.
        return;
    }
    switch (m_state) {
    case kStateSkiing:
        p_PlayUpdate();
        break;
    case kStateCrashed:
        p_CrashUpdate();
        break;
    case kStateRunOut:
        p_FinishUpdate();
        break;
    case kStateLeaving:
        LeaveUpdate();
        break;
    default:
        break;
    }
}

void c_SkiScreen::LeaveUpdate() {
    bb_skisounds_skiSounds->p_Discard();
    bb_roadsounds_roadSounds->p_StartLoad();
    if (bb_asyncevent__current == nullptr)
        bb_asyncevent_UpdateAsyncEvents();
    if (!m_fade.p_OnUpdate()) {
        bb_tazzle_level += 1;
        bb_tazzle_mainState = c_MainState::Road;
    }
}

void c_SkiScreen::p_PlayUpdate() {
    if (ChannelIdle(kChannelBackground))
        bb_audio_PlaySound(bb_skisounds_skiSounds->m_skiBackground.get(), kChannelBackground, 1);
    TestTrees();
    if (m_crashed || bb_tazzle_paused)
        return;
    TestMoguls();
    TestFinish();
    TestGates();
    EaseTraverse();
    ReadSteering();
    Turn();
    Move();
    KeepInLimits();
    ScrollObjects();
    AdvanceCourse();
    bb_tazzle_PayScoreBonus();
    m_snowOffset = (m_snowOffset + 2 * m_speed) % 64;
}

void c_SkiScreen::SetHeading(int direction) {
    struct Heading {
        std::unique_ptr<c_Image> c_GameImages::*image;
        std::unique_ptr<c_MasterMask> c_GameMasks::*mask;
    };
    static const Heading headings[5] = {
        {&c_GameImages::m_tazzleSkiLeft, &c_GameMasks::m_tazzleSkiLeft},
        {&c_GameImages::m_tazzleSkiDownLeft, &c_GameMasks::m_tazzleSkiDownLeft},
        {&c_GameImages::m_tazzleSkiDown, &c_GameMasks::m_tazzleSkiDown},
        {&c_GameImages::m_tazzleSkiDownRight, &c_GameMasks::m_tazzleSkiDownRight},
        {&c_GameImages::m_tazzleSkiRight, &c_GameMasks::m_tazzleSkiRight},
    };
    m_direction = direction;
    m_image = (Images().*headings[direction].image).get();
    m_mask = (Masks().*headings[direction].mask).get();
}

void c_SkiScreen::TestTrees() {
    m_crashed = false;
    const c_MasterMask* tree = Masks().m_treeCollision.get();
    for (const c_Tree& t : m_trees) {
        if (!tree || !m_mask || !tree->p_CollideMask(t.m_x, t.m_y, m_mask, m_x, m_y))
            continue;
        m_crashed = true;
        bb_audio_StopChannel(kChannelBackground);
        bb_audio_PlaySound(bb_skisounds_skiSounds->m_skiCrash.get(), kChannelCrash, 0);
        m_timer = kPhaseUpdates;
        m_state = kStateCrashed;
    }
}

void c_SkiScreen::TestMoguls() {
    m_bumped = false;
    const c_MasterMask* bump = Masks().m_bumpCollision.get();
    if (!bump || !m_mask)
        return;
    for (const c_Bump& b : m_bumps) {
        if (b.m_y - 8 <= m_y || !bump->p_CollideMask(b.m_x, b.m_y, m_mask, m_x, m_y))
            continue;
        if (ChannelIdle(kChannelBump))
            bb_audio_PlaySound(bb_skisounds_skiSounds->m_skiBump.get(), kChannelBump, 0);
        m_bumped = true;
        m_direction = m_direction >= kHeadingDown ? kHeadingRight : kHeadingLeft;
        return;
    }
}

void c_SkiScreen::TestFinish() {
    if (m_finishBonus)
        return;
    const c_MasterMask* banner = Masks().m_finish.get();
    if (!banner || !m_mask)
        return;
    for (const c_Finish& f : m_finishes) {
        if (!banner->p_CollideMask(f.m_x, f.m_y, m_mask, m_x, m_y))
            continue;
        bb_tazzle_score += 100;
        m_finishBonus = true;
        bb_audio_PlaySound(bb_gamesounds_gameSounds->m_woop.get(), kChannelFinish, 0);
    }
}

void c_SkiScreen::TestGates() {
    for (const c_Flag& f : m_flags) {
        bool inside = f.m_x + 5 < m_x && m_x <= f.m_x + 112 - 16 * m_gateNarrow;
        bool levelWith = f.m_y == m_y - 2 || f.m_y == m_y || f.m_y == m_y + 2;
        if (!levelWith || inside || f.m_id == m_lastMissedFlag)
            continue;
        m_lastMissedFlag = f.m_id;
        bb_audio_PlaySound(bb_skisounds_skiSounds->m_beep.get(), kChannelBeep, 0);
        bb_tazzle_score = std::max(bb_tazzle_score - 20, 0);
    }
}

void c_SkiScreen::EaseTraverse() {
    if (m_straightenTimer > 0)
        m_straightenTimer -= 1;
    if (m_straightenTimer != 0 || m_bumped)
        return;
    if (m_direction == kHeadingLeft)
        m_direction = kHeadingDownLeft;
    if (m_direction == kHeadingRight)
        m_direction = kHeadingDownRight;
    m_straightenTimer = 8;
}

void c_SkiScreen::ReadSteering() {
    if (m_steerTimer > 0)
        m_steerTimer -= 1;
    if (m_steerTimer != 0 || m_bumped)
        return;
    m_turnRight = bb_steering_Right();
    m_turnLeft = !m_turnRight && bb_steering_Left();
    if (m_turnLeft || m_turnRight) {
        m_steerTimer = 8;
        m_straightenTimer = 8;
    }
}

void c_SkiScreen::Turn() {
    if (m_turnRight)
        m_direction = std::min(m_direction + 1, kHeadingRight);
    if (m_turnLeft)
        m_direction = std::max(m_direction - 1, kHeadingLeft);
    m_turnLeft = false;
    m_turnRight = false;
}

void c_SkiScreen::Move() {
    static const int dx[5] = {-2, -2, 0, 2, 2};
    static const int dy[5] = {-2, 0, 2, 0, -2};
    m_x += dx[m_direction];
    m_y += dy[m_direction];
    SetHeading(m_direction);
}

void c_SkiScreen::KeepInLimits() {
    m_speed = 1;
    if (m_x > 528) {
        m_x = 528;
        SetHeading(kHeadingDown);
    }
    if (m_x < 64) {
        m_x = 64;
        SetHeading(kHeadingDown);
    }
    if (m_y < 64) {
        m_y = 64;
        if (m_direction == kHeadingRight)
            SetHeading(kHeadingDownRight);
        if (m_direction == kHeadingLeft)
            SetHeading(kHeadingDownLeft);
    } else if (m_y > 240) {
        m_y = 240;
        m_speed = 2;
    }
}

void c_SkiScreen::ScrollObjects() {
    int dy = 2 * m_speed;
    auto scroll = [dy](auto& list, int limit) {
        for (auto& object : list)
            object.m_y -= dy;
        std::erase_if(list, [limit](const auto& object) { return object.m_y < limit; });
    };
    scroll(m_trees, -16);
    scroll(m_bumps, 32);
    scroll(m_finishes, -32);
    scroll(m_flags, 16);
}

void c_SkiScreen::AdvanceCourse() {
    m_prevSubRow = m_subRow;
    m_subRow = (m_subRow + m_speed) % 8;
    if (m_subRow < m_prevSubRow)
        m_row += 1;
    while (m_row == m_nextRow) {
        PlacePendingObject();
        if (m_nextType == ski_course::kEnd) {
            bb_audio_StopChannel(kChannelBackground);
            m_timer = kPhaseUpdates;
            m_state = kStateRunOut;
            m_nextRow = -1;
            return;
        }
        ReadNextRecord();
    }
}

void c_SkiScreen::PlacePendingObject() {
    int x = (m_nextColumn + 4) * 16;
    int y = 432;
    switch (m_nextType) {
    case ski_course::kTree:
        m_trees.push_back({.m_x = x, .m_y = y});
        break;
    case ski_course::kMogul:
        m_bumps.push_back({.m_y = y, .m_x = x});
        break;
    case ski_course::kGate:
        m_flags.push_back({.m_y = y, .m_x = x, .m_id = m_nextFlagId});
        m_nextFlagId += 1;
        bb_tazzle_score += 10;
        break;
    case ski_course::kFinish:
        m_finishes.push_back({.m_x = x, .m_y = y});
        break;
    default:
        break;
    }
}

void c_SkiScreen::ReadNextRecord() {
    const auto& course = bb_tazzle_level >= 5 ? m_course2 : m_course1;
    do {
        // The table always ends with its end record, so reading never runs past it in play;
        // stop at the end all the same rather than read outside the table.
        if (m_courseIndex + 4 > ski_course::kInts) {
            m_nextType = ski_course::kEnd;
            return;
        }
        m_nextRow = course[m_courseIndex];
        m_nextColumn = course[m_courseIndex + 1];
        m_nextType = course[m_courseIndex + 2];
        m_nextLevel = course[m_courseIndex + 3];
        m_courseIndex += 4;
    } while (m_nextLevel > bb_tazzle_level);
}

void c_SkiScreen::p_CrashUpdate() {
    if (!bb_tazzle_paused) {
        m_crashFrame += 1;
        if (m_crashFrame > 15)
            m_crashFrame = 0;
    }
    m_timer -= 1;
    if (m_timer > 0)
        return;
    bb_tazzle_skiDamage -= 1;
    if (bb_tazzle_skiDamage > 0) {
        m_x = kStartX;
        m_y = kStartY;
        m_direction = kHeadingDown;
        m_image = Images().m_tazzleSkiDown.get();
        m_trees.clear();
        m_bumps.clear();
        m_flags.clear();
        m_state = kStateSkiing;
    } else {
        bb_audio_StopChannel(kChannelBackground);
        bb_tazzle_gotSkis = false;
        bb_tazzle_roadScreen->p_OnInit();
        m_state = kStateLeaving;
    }
}

void c_SkiScreen::p_FinishUpdate() {
    m_timer -= 1;
    if (m_timer > 0)
        return;
    bb_tazzle_roadScreen->p_OnInit();
    m_state = kStateLeaving;
}

c_Image* c_SkiScreen::p_GetTazzleCrashFrame() const {
    static std::unique_ptr<c_Image> c_GameImages::*const frames[8] = {
        &c_GameImages::m_tazzleSkiCrash1, &c_GameImages::m_tazzleSkiCrash2,
        &c_GameImages::m_tazzleSkiCrash3, &c_GameImages::m_tazzleSkiCrash4,
        &c_GameImages::m_tazzleSkiCrash5, &c_GameImages::m_tazzleSkiCrash6,
        &c_GameImages::m_tazzleSkiCrash7, &c_GameImages::m_tazzleSkiCrash8,
    };
    return (Images().*frames[(m_crashFrame / 2) & 7]).get();
}

int c_SkiScreen::p_OnRender() {
    if (AssetsReady()) {
        p_Render();
    } else {
        bb_graphics_Cls(170, 170, 170);
    }
    return 0;
}

void c_SkiScreen::DrawGates(bool aboveSkier) const {
    for (const c_Flag& f : m_flags) {
        if ((f.m_y < m_y) != aboveSkier)
            continue;
        bb_graphics_DrawImage(Images().m_flagRed.get(), f.m_x, f.m_y, 0);
        bb_graphics_DrawImage(Images().m_flagCyan.get(), f.m_x + p_GateWidth(), f.m_y, 0);
    }
}

// m_crashed stays set until the next play update, but a crash the skis survived is over once
// the skier is back at the top.
bool c_SkiScreen::CrashShown() const {
    return m_crashed && m_state != kStateSkiing;
}

void c_SkiScreen::DrawBanners() const {
    if (CrashShown()) {
        if (bb_tazzle_skiDamage < 2)
            bb_furniture_DrawBanner(u"*BAD LUCK!  SKIS BROKEN*", 170, 0, 0);
        else
            bb_furniture_DrawBanner(u"* LUCKY! SKIS STILL OK *", 0, 0, 170);
    }
    if (m_finishBonus)
        bb_furniture_DrawBanner(u"**  BONUS 100 POINTS  **", 0, 0, 170);
    else if ((m_state == kStateLeaving || m_state == kStateRunOut) && !m_crashed)
        bb_furniture_DrawBanner(u"****  MISSED BONUS  ****", 170, 0, 0);
}

void c_SkiScreen::p_Render() {
    bb_graphics_DrawImage(Images().m_backdropSki.get(), 0, 0, 0);
    bb_furniture_ClipToPlayArea();
    for (int x = 64; x <= 512; x += 64)
        for (int y = 48 - m_snowOffset; y <= 448; y += 64)
            bb_graphics_DrawImage(Images().m_snowTile.get(), x, y, 0);
    for (const c_Bump& b : m_bumps)
        bb_graphics_DrawImage(Images().m_bump.get(), b.m_x, b.m_y, 0);
    for (const c_Tree& t : m_trees)
        bb_graphics_DrawImage(Images().m_tree.get(), t.m_x, t.m_y, 0);
    DrawGates(true);
    bb_graphics_DrawImage(CrashShown() ? p_GetTazzleCrashFrame() : m_image, m_x, m_y, 0);
    DrawGates(false);
    for (const c_Finish& f : m_finishes)
        bb_graphics_DrawImage(Images().m_finish.get(), f.m_x, f.m_y, 0);
    bb_furniture_DrawStatusLine();
    DrawBanners();
    if (bb_tazzle_paused)
        bb_furniture_DrawPausedNotice();
    if (m_state == kStateLeaving) {
        bb_autofit_UnsetVScissor();
        m_fade.p_OnRender();
    }
}
