// What the page's touch screen hands the game (packaging/web/touch.js calls these): a finger on
// the canvas is the host's touch finger, and an on-screen control presses the key the player
// bound to it. A release waits until an update has seen the press down.
#include "host/bb_game.h"
#include "input/input_device.h"
#include "input/input_events.h"
#include "persist/settings.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <bitset>

namespace {

constexpr int kFingers = c_InputDevice::kFingers;
constexpr int kKeys = c_InputDevice::kKeys;

// Releases held back: a tap lasts less than an update, and a menu chooses a line only when it
// saw the finger down in one update and up in a later one, as with a click of the mouse.
std::bitset<kKeys> g_heldBack;
bool g_watching = false;

void Release(int key) {
    if (key >= KEY_TOUCH0 && key < KEY_TOUCH0 + kFingers)
        BBGame::_game->TouchEvent(BBEVENT_TOUCHUP, key - KEY_TOUCH0, 0, 0);
    else
        BBGame::_game->KeyEvent(BBEVENT_KEYUP, key);
}

// Each animation frame, after or before the game's own: an update has run once the press's hit
// count has been cleared.
EM_BOOL ReleaseSeenPresses(double, void*) {
    for (int key = 0; key < kKeys; ++key) {
        if (g_heldBack[key] && bb_input_KeyHit(key) == 0) {
            g_heldBack[key] = false;
            Release(key);
        }
    }
    g_watching = g_heldBack.any();
    return g_watching ? EM_TRUE : EM_FALSE;
}

// The press of `key` is about to be released: now, or once an update has seen it.
void ReleaseWhenSeen(int key) {
    if (bb_input_KeyHit(key) == 0) {
        Release(key);
        return;
    }
    g_heldBack[key] = true;
    if (!g_watching) {
        g_watching = true;
        emscripten_request_animation_frame_loop(ReleaseSeenPresses, nullptr);
    }
}

// A new press of a key whose release is still held back: that release comes first.
void ReleaseHeldBack(int key) {
    if (g_heldBack[key]) {
        g_heldBack[key] = false;
        Release(key);
    }
}

bool Ready() {
    return BBGame::_game && BBGame::_game->Started();
}

} // namespace

extern "C" {

// How many fingers the game tells apart; the page gives a further finger to nothing.
EMSCRIPTEN_KEEPALIVE int bb_touch_Fingers() {
    return kFingers;
}

// A finger on the canvas put down, moved or lifted; x, y in canvas pixels.
EMSCRIPTEN_KEEPALIVE void bb_touch_FingerDown(int finger, float x, float y) {
    if (!Ready() || finger < 0 || finger >= kFingers)
        return;
    ReleaseHeldBack(KEY_TOUCH0 + finger);
    BBGame::_game->TouchEvent(BBEVENT_TOUCHDOWN, finger, x, y);
}

EMSCRIPTEN_KEEPALIVE void bb_touch_FingerMove(int finger, float x, float y) {
    if (!Ready() || finger < 0 || finger >= kFingers)
        return;
    BBGame::_game->TouchEvent(BBEVENT_TOUCHMOVE, finger, x, y);
}

EMSCRIPTEN_KEEPALIVE void bb_touch_FingerUp(int finger) {
    if (!Ready() || finger < 0 || finger >= kFingers)
        return;
    ReleaseWhenSeen(KEY_TOUCH0 + finger);
}

// The key the player bound to a control (0 up ... 6 full screen), 0 when there is none.
EMSCRIPTEN_KEEPALIVE int bb_touch_ControlKey(int control) {
    if (!bb_settings_gameSettings || control < 0 || control >= c_Control::Count)
        return 0;
    return bb_settings_gameSettings->m_controls[control];
}

// An on-screen control pressed (down != 0) or let go: the key as if typed.
EMSCRIPTEN_KEEPALIVE void bb_touch_Key(int key, int down) {
    if (!Ready() || key <= 0 || key >= kKeys)
        return;
    if (!down) {
        ReleaseWhenSeen(key);
        return;
    }
    ReleaseHeldBack(key);
    BBGame::_game->KeyEvent(BBEVENT_KEYDOWN, key);
}
}
