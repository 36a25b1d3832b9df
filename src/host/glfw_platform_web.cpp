// The browser's part of the GLFW host. The page may not block, so the browser calls the shared
// pass once per animation frame, and the pass judges its updates due instead of sleeping. The
// one canvas is never made anew: full screen is the browser's, asked for while an input's
// activation lasts and followed when the browser ends it. A hidden tab or a window without focus
// suspends the game; the animation frame alone paces the loop.
#include "host/glfw_game.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

namespace {

// Emscripten's GLFW never marks its window focused: the page's own focus stands in for it. A
// panel of the page over the picture (Module.pageCovered) takes the focus from the game too.
EM_JS(int, bb_glfw_PageHasFocus, (),
      { return document.hasFocus() && !Module.pageCovered ? 1 : 0; });

// The page's full screen as the game wants it. A request outside an input's activation would be
// refused, so it waits for the next key, click or lifted finger (the page's first input, say,
// when the saved settings ask for full screen). When the browser ends full screen (Escape) or
// refuses it while the game wants it, `left` tells the game once.
EM_JS(void, bb_glfw_WatchFullscreen, (), {
    var state = {wanted : false, pending : false, left : false};
    Module.bbFullscreen = state;
    var page = document.documentElement;
    function giveUp() {
        if (state.wanted) {
            state.wanted = false;
            state.left = true;
        }
    }
    state.request = function(retry) {
        state.pending = false;
        page.requestFullscreen().catch(function() {
            if (!state.wanted)
                return;
            if (retry)
                state.pending = true;
            else
                giveUp();
        });
    };
    function requestPending() {
        if (state.pending && state.wanted && !document.fullscreenElement)
            state.request(false);
    }
    window.addEventListener("keydown", requestPending, true);
    window.addEventListener("mousedown", requestPending, true);
    window.addEventListener("touchend", requestPending, true);
    document.addEventListener(
        "fullscreenchange", function() {
            if (!document.fullscreenElement)
                giveUp();
            else if (!state.wanted)
                document.exitFullscreen().catch(function(){});
        });
});

EM_JS(void, bb_glfw_SetFullscreen, (int on), {
    var state = Module.bbFullscreen;
    state.wanted = on != 0;
    state.pending = false;
    if (!on) {
        if (document.fullscreenElement)
            document.exitFullscreen().catch(function(){});
        return;
    }
    if (document.fullscreenElement)
        return;
    if (!document.fullscreenEnabled || !document.documentElement.requestFullscreen) {
        state.wanted = false;
        state.left = true;
        return;
    }
    var active = navigator.userActivation ? navigator.userActivation.isActive : true;
    if (active)
        state.request(true);
    else
        state.pending = true;
});

EM_JS(int, bb_glfw_TakeFullscreenLeft, (), {
    var state = Module.bbFullscreen;
    if (!state || !state.left)
        return 0;
    state.left = false;
    return 1;
});

EM_JS(void, bb_glfw_ShowPointer, (int visible), {
    if (Module.canvas)
        Module.canvas.style.cursor = visible ? "" : "none";
});

// A hidden tab gets no animation frames, so the frame loop would never see the focus go: the
// page's events suspend the game at once, and the next frame's focus check resumes it.
EM_BOOL OnVisibilityChange(int, const EmscriptenVisibilityChangeEvent* event, void* host) {
    if (event->hidden)
        static_cast<BBGlfwGame*>(host)->ApplyFocus(false);
    return EM_FALSE;
}

EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void* host) {
    static_cast<BBGlfwGame*>(host)->ApplyFocus(false);
    return EM_FALSE;
}

} // namespace

const bool BBGlfwGame::kPassSleeps = false;

void BBGlfwGame::RunFrameLoop() {
    emscripten_set_visibilitychange_callback(this, EM_FALSE, OnVisibilityChange);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_FALSE, OnBlur);
    // The simulated endless loop unwinds out of main without returning, so the host object,
    // owned by main's caller, lives on for the page's lifetime.
    emscripten_set_main_loop_arg([](void* host) { static_cast<BBGlfwGame*>(host)->RunPass(); },
                                 this, 0, 1);
}

void BBGlfwGame::UpdateEvents() {
    ApplyFocus(bb_glfw_PageHasFocus() != 0);
}

void BBGlfwGame::PresentFrame() {
    // The browser shows the canvas once the animation frame's callback returns.
}

void BBGlfwGame::SetDeviceWindow(int width, int height, int flags) {
    // The canvas keeps its context for the page's life; the page sizes it to the tab, and the
    // size asked for here only opens it.
    if (!_window) {
        OpenWindow(width, height, flags & ~kFullscreen);
        bb_glfw_WatchFullscreen();
    }
    bb_glfw_SetFullscreen((flags & kFullscreen) ? 1 : 0);
}

void BBGlfwGame::ApplySwapInterval() {
    // A swap interval of 0 would turn the main loop into a busy loop of zero timeouts: the
    // animation frame paces the page whatever the setting says.
}

void BBGlfwGame::SetMouseVisible(bool visible) {
    // Emscripten's GLFW has no hidden pointer mode: the canvas's style hides it.
    bb_glfw_ShowPointer(visible ? 1 : 0);
}

bool BBGlfwGame::TakeFullscreenLeft() {
    return bb_glfw_TakeFullscreenLeft() != 0;
}
