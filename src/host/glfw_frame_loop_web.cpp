// The browser's frame loop: the page may not block, so the browser calls one pass per animation
// frame, and the updates follow the desktop's schedule arithmetic (RunUpdates) instead of a sleep.
#include "host/glfw_game.h"

#include <emscripten/emscripten.h>

namespace {

// Emscripten's GLFW never marks its window focused: the page's own focus stands in for it.
bool PageHasFocus() {
    return EM_ASM_INT({ return document.hasFocus() ? 1 : 0; }) != 0;
}

} // namespace

void BBGlfwGame::RunFrameLoop() {
    // The simulated endless loop unwinds out of main without returning, so the host object,
    // owned by main's caller, lives on for the page's lifetime.
    emscripten_set_main_loop_arg(
        [](void* host) {
            auto* game = static_cast<BBGlfwGame*>(host);
            game->ApplyFocus(PageHasFocus());
            if (!game->Suspended()) {
                const double now = GetTime();
                if (game->_updateRate == 0) {
                    game->UpdateGame();
                } else if (game->UpdateDelay(now) < game->_updatePeriod / 2) {
                    // An animation frame may come a little before the update is due; waiting
                    // for the next frame would run two updates in one and judder.
                    game->RunUpdates(now);
                }
            }
            game->RenderGame();
        },
        this, 0, 1);
}
