// ReplayViewer: the script's steps taken one update at a time inside the frame loop, the
// watcher's settings beside the recording's, and the watcher's keys and focus kept from the game.
#include "replay/replay_viewer.h"

#include "host/app.h"
#include "host/bb_game.h"
#include "host/errors.h"
#include "host/game_delegate.h"
#include "input/input_events.h"
#include "persist/settings.h"

#include <cstdio>
#include <memory>

bool ReplayViewer::BeforeUpdate() {
    ApplyToggles();
    for (;;) {
        switch (Next()) {
        case ReplayStep::Start: // the frame loop has started the game already
        case ReplayStep::Shot:  // pictures are the replay tool's
            continue;
        case ReplayStep::Update:
            if (!ReplayRunner::BeforeUpdate())
                Stop();
            return true;
        case ReplayStep::End:
            bb_app_EndApp();
        case ReplayStep::Failed:
            Stop();
        }
    }
}

void ReplayViewer::Stop() {
    std::fprintf(stderr, "skiddlewick: %s\n", Error().c_str());
    bb_app_ReleaseDevices();
    bb_host_Exit(Status());
}

String ReplayViewer::LoadState(BBGame& host) {
    // Once: a second load must not undo the watcher's music and full-screen keys.
    if (!bb_settings_watcherSettings) {
        auto watcher = std::make_unique<c_Settings>();
        watcher->m_state->p_Decode(host.LoadState());
        watcher->p_ReadFields();
        bb_settings_watcherSettings = std::move(watcher);
    }
    return ReplayRunner::LoadState(host);
}

void ReplayViewer::ApplyToggles() {
    // Applied between updates as the game applies its own keys, never inside a window callback.
    c_Settings& settings = bb_settings_Presentation();
    if (_toggleMusic)
        settings.p_ToggleMusic();
    if (_toggleFullScreen)
        settings.p_ToggleFullScreen();
    _toggleMusic = false;
    _toggleFullScreen = false;
}

bool ReplayViewer::PassKeyEvent(int event, int data) {
    if (Delivering())
        return true;
    if (data < 1 || data >= static_cast<int>(_held.size()) ||
        (event != BBEVENT_KEYDOWN && event != BBEVENT_KEYUP))
        return false;
    const bool wasHeld = _held[data];
    _held[data] = event == BBEVENT_KEYDOWN;
    if (event != BBEVENT_KEYDOWN || wasHeld)
        return false;
    // The watcher's keys, whatever the recorder had bound to the music and full screen.
    const auto& controls = bb_settings_Presentation().m_controls;
    if (data == controls[c_Control::Music])
        _toggleMusic = !_toggleMusic;
    else if (data == controls[c_Control::FullScreen])
        _toggleFullScreen = !_toggleFullScreen;
    else
        bb_app_EndApp();
    return false;
}

bool ReplayViewer::PassMouseEvent(int, int, float, float) {
    return Delivering();
}

bool ReplayViewer::PassFocus(bool focused) {
    if (Delivering())
        return true;
    if (bb_app__delegate && bb_app__delegate->m__audio) {
        if (focused)
            bb_app__delegate->m__audio->Resume();
        else
            bb_app__delegate->m__audio->Suspend();
    }
    return false;
}
