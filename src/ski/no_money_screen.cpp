// The no-money screen: the only place where the hi-score is raised.
#include "ski/no_money_screen.h"

#include "game/tazzle.h"
#include "graphics/graphics.h"
#include "input/input_device.h"
#include "input/key_codes.h"
#include "loading/async_event.h"
#include "loading/game_images.h"
#include "loading/game_sounds.h"
#include "screens/screen_furniture.h"
#include "screens/title_screen.h"

namespace {

// The first four joystick buttons, the first touch, Space, Enter and Escape all leave the screen,
// and the pad's Back, which does what Escape does.
constexpr int kLeaveKeys[] = {KEY_JOY0,   KEY_JOY0 + 1, KEY_TOUCH0,   KEY_SPACE,    KEY_ENTER,
                              KEY_ESCAPE, KEY_JOY0 + 2, KEY_JOY0 + 3, KEY_JOY0_BACK};

bool AnyLeaveKeyHit() {
    for (int key : kLeaveKeys) {
        if (bb_input_KeyHit(key) != 0)
            return true;
    }
    return false;
}

} // namespace

int c_NoMoneyScreen::p_OnInit() {
    bb_gamegraphics_gameImages->p_StartLoad();
    bb_gamesounds_gameSounds->p_StartLoad();
    m_timer = kShowUpdates;
    return 0;
}

bool c_NoMoneyScreen::AssetsReady() const {
    return bb_gamegraphics_gameImages->p_IsLoaded() && bb_gamesounds_gameSounds->p_IsLoaded();
}

int c_NoMoneyScreen::p_OnUpdate() {
    if (AssetsReady()) {
        p_Update();
    } else if (bb_asyncevent__current == nullptr) {
        bb_asyncevent_UpdateAsyncEvents();
    }
    return 0;
}

void c_NoMoneyScreen::p_Update() {
    if (bb_tazzle_score > bb_tazzle_hiScore)
        bb_tazzle_hiScore = bb_tazzle_score;
    if (!bb_tazzle_paused)
        m_timer -= 1;
    if (m_timer < 1 || AnyLeaveKeyHit()) {
        bb_tazzle_titleScreen->p_OnInit();
        bb_tazzle_mainState = c_MainState::Title;
    }
}

int c_NoMoneyScreen::p_OnRender() {
    if (AssetsReady()) {
        p_Render();
    } else {
        bb_graphics_Cls(170.0f, 170.0f, 170.0f);
    }
    return 0;
}

void c_NoMoneyScreen::p_Render() {
    const c_GameImages& g = *bb_gamegraphics_gameImages;
    bb_graphics_DrawImage(g.m_backdropSki.get(), 0.0f, 0.0f, 0);
    bb_furniture_ClipToPlayArea();
    for (int y = 48; y <= 368; y += 64) {
        for (int x = 64; x <= 512; x += 64) {
            bb_graphics_DrawImage(g.m_snowTile.get(), static_cast<float>(x), static_cast<float>(y),
                                  0);
        }
    }
    bb_furniture_DrawStatusLine();
    bb_furniture_DrawBanner(u"SORRY - NO MONEY NO SKI!", 170.0f, 0.0f, 0.0f);
    bb_graphics_DrawImage(g.m_tazzleSkiDown.get(), 296.0f, 96.0f, 0);
    if (bb_tazzle_paused)
        bb_furniture_DrawPausedNotice();
}
