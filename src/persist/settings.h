// The player's settings (difficulty, display, volumes, control keys): loaded from and saved to
// the state store, and applied to the window, the frame loop and the audio channels.
#pragma once

#include <array>
#include <memory>
#include <optional>

#include "host/window_flags.h"
#include "persist/simple_state.h"

// Indices into c_Settings::m_controls.
struct c_Control {
    static constexpr int Up = 0;
    static constexpr int Down = 1;
    static constexpr int Left = 2;
    static constexpr int Right = 3;
    static constexpr int Pause = 4;
    static constexpr int Music = 5;
    static constexpr int FullScreen = 6;
    static constexpr int Count = 7;
};

// The values of c_Settings::m_difficulty.
struct c_Difficulty {
    static constexpr int Easy = 0;
    static constexpr int Normal = 1;
    static constexpr int Hard = 2;
};

class c_Settings {
public:
    c_Settings();

    std::unique_ptr<c_SimpleState> m_state;
    int m_difficulty = c_Difficulty::Normal;
    // Percent of the full 60 updates a second: 100 down to 50 in steps of 10. Each update is
    // the same at any speed; only fewer of them run each second.
    int m_gameSpeed = 100;
    bool m_verticalSync = true;
    bool m_frameRateThrottle = true;
    bool m_fullScreen = false;
    int m_resolutionWidth = 640; // full screen only; the window is always 640 x 480
    int m_resolutionHeight = 480;
    int m_effectsVolume = 100;                    // percent
    int m_musicVolume = 50;                       // percent
    std::array<int, c_Control::Count> m_controls; // game key codes
    // Scaled pictures sharp (the nearest texel) instead of smooth.
    bool m_sharpPixels = false;

    // Loads the state store, then reads every field from it.
    void p_Load();
    // Writes every field into the (cleared) state store and saves it.
    void p_Save();
    // The window the settings ask for: full screen at the resolution, or the 640 x 480 window.
    BBWindowRequest p_Window() const;
    // Applies the settings: the window (only when changeWindow), the update rate, the swap
    // interval, the music volume, the effects channels' volume and the pixels' look.
    void p_ApplySettings(bool changeWindow);

    // Updates per second for the frame loop: 60 scaled by the game speed, or 0 (one update per
    // rendered frame) when the throttle is off at full speed. A slower game is always paced.
    int p_UpdateRate() const;
    // The game speed after `speed` as the options step it: 100, 90 ... 50, then 100 again.
    static int p_NextGameSpeed(int speed);

    // The field-by-field halves of p_Load and p_Save, working on m_state only.
    void p_ReadFields();
    void p_WriteFields();
    // The fields as the state file would hold them if saved now; m_state is left alone.
    String p_EncodeFields() const;

    // The display the command line chose for this run: the window follows it, but saving keeps
    // the full-screen choice the state file held, until the player switches it during the run.
    void p_SetFullScreenForRun(bool fullScreen);
    // The full-screen key and the options screen's FULL SCREEN: the window switches, and the
    // choice is the player's to save from now on.
    void p_ToggleFullScreen();
    // The music key: the music silent or back, for this run only.
    void p_ToggleMusic();

    // Switched off with the music key, for this run only (never saved): applying the settings
    // keeps the music silent until the key switches it on again.
    bool m_musicOff = false;
    // Silence while the music is switched off, else the chosen music volume.
    void p_ApplyMusicVolume();

private:
    void WriteFieldsTo(c_SimpleState& state) const;
    // False for the recording's settings while it is shown (bb_settings_Presentation).
    bool ReachesDevices() const;

    // What the state file held for full screen while the command line's choice stands.
    std::optional<bool> m_savedFullScreen;
};

extern std::unique_ptr<c_Settings> bb_settings_gameSettings;

// While a recording is shown: the watcher's own settings, read from their state file and never
// saved; null otherwise. The game's settings are then the recording's and decide only how the
// game plays (its difficulty, the controls it reads), so that it plays as it was recorded; how it
// looks and sounds and the music and full-screen keys of the showing are the watcher's.
extern std::unique_ptr<c_Settings> bb_settings_watcherSettings;

// The settings the window, the frame loop and the sound follow: the watcher's while a recording
// is shown, else the game's. Applying any other settings object changes nothing outside it.
c_Settings& bb_settings_Presentation();

// The window the game will ask for as it starts: the display of the settings it will show in
// (a showing's watcher's), or the command line's, read before the program opens its first
// window, so that no other window shows meanwhile. The settings are only looked at here: the
// application loads them for good as it starts.
BBWindowRequest bb_settings_FirstWindow();
