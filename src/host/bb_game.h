// The platform-neutral host: the delegate interface the game implements, and BBGame, which keeps
// the update rate and the started/suspended state and guards every call into the delegate.
#pragma once

#include "files/file_opener.h"
#include "host/window_flags.h"
#include "input/input_events.h"
#include "input/joystick_poller.h"
#include "runtime/string.h"
#include "runtime/throwable.h"

#include <cstdio>
#include <optional>
#include <span>
#include <vector>

// Everything the host tells the game. Each operation does nothing unless overridden.
class BBGameDelegate {
public:
    virtual ~BBGameDelegate() = default;
    virtual void StartGame() {}
    virtual void SuspendGame() {}
    virtual void ResumeGame() {}
    virtual void UpdateGame() {}
    virtual void RenderGame() {}
    virtual void KeyEvent(int /*event*/, int /*data*/) {}
    virtual void MouseEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {}
    virtual void TouchEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {}
    virtual void MotionEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/, float /*z*/) {}
    virtual void DiscardGraphics() {}
    // Called before the window is made, where work can run beside it: the game may begin the
    // part of its start that needs no window, to be taken up by StartGame.
    virtual void PrepareStart() {}
    // Called instead of sleeping until the next update is due, with the seconds left: true when
    // the next update should run now, because the loads the game waits for have come in.
    virtual bool AwaitLoads(double /*seconds*/) { return false; }
};

// A video mode as the host reports it; this host leaves the last three fields 0.
struct BBDisplayMode {
    int width = 0;
    int height = 0;
    int depth = 0;
    int hertz = 0;
    int flags = 0;
};

// The host as the game sees it. It opens files for the modules below it (BBFileOpener) and
// polls the joysticks for the input device (BBJoystickPoller).
class BBGame : public BBFileOpener, public BBJoystickPoller {
public:
    BBGame();
    virtual ~BBGame();
    BBGame(const BBGame&) = delete;
    BBGame& operator=(const BBGame&) = delete;

    // The one host object of the process (null before it is created).
    static BBGame* _game;

    // SetDeviceWindow's flags, named as the host's own (BBGame::kFullscreen).
    using enum BBWindowFlags::Flag;

    virtual void SetDelegate(BBGameDelegate* delegate);
    virtual BBGameDelegate* Delegate();
    virtual void SetKeyboardEnabled(bool enabled);
    virtual bool KeyboardEnabled();
    virtual void SetUpdateRate(int hertz);
    virtual int UpdateRate();
    virtual bool Started();
    virtual bool Suspended();
    virtual int Millisecs();
    // Fills up to 7 slots: year, month 1..12, day, hour, minute, second, 0 for milliseconds.
    virtual void GetDate(std::vector<int>& date);
    // 0 on success, -1 when the state file cannot be written, -2 on a short write.
    virtual int SaveState(const String& state);
    virtual String LoadState();
    virtual String LoadString(const String& path);
    int CountJoysticks(bool update) override;
    // Fills elements 0 and 1 of the three axis arrays and the game buttons of one joystick port.
    bool PollJoystick(int port, std::span<float> joyx, std::span<float> joyy, std::span<float> joyz,
                      std::span<bool> buttons) override;
    virtual void OpenUrl(const String& url);
    virtual void SetMouseVisible(bool visible);
    virtual int GetDeviceWidth();
    virtual int GetDeviceHeight();
    virtual void SetDeviceWindow(int width, int height, int flags);
    virtual std::vector<BBDisplayMode> GetDisplayModes();
    // Empty when the host knows no desktop mode.
    virtual std::optional<BBDisplayMode> GetDesktopMode();
    virtual void SetSwapInterval(int interval);
    // True once after the window left full screen without the game asking (a browser's Escape
    // or refusal); a desktop window never does.
    virtual bool TakeFullscreenLeft();
    virtual String PathToFilePath(const String& path);
    // Null when the path maps to nothing or the file cannot be opened.
    FILE* OpenFile(const String& path, const String& mode) override;
    // The whole file in one block from malloc (the caller frees it with free()); null on failure.
    virtual unsigned char* LoadData(const String& path, int* length);
    // Decoded pixels (malloc'd, caller frees) or null: the file opened through the path mapping
    // and decoded by the drawing module's decoder (bb_app_deviceHooks.decodeImage).
    virtual unsigned char* LoadImageData(const String& path, int* width, int* height, int* depth);
    // Interleaved samples (malloc'd, caller frees) or null, decoded likewise by the audio
    // module's decoder (bb_app_deviceHooks.decodeAudio).
    virtual short* LoadAudioData(const String& path, int* length, int* channels, int* format,
                                 int* hertz);
    // Before the window is made: starts decoding the files the game's start will load
    // (bb_app_deviceHooks.startupFiles) on a thread beside this one, so that LoadImageData and
    // LoadAudioData find them decoded, and lets the game prepare its start (PrepareStart).
    void PrepareStart();
    [[noreturn]] virtual void Die(ThrowableObject* exception);

    // Guarded dispatch into the delegate; a ThrowableObject escaping the game ends in Die. The
    // session of the run (bb_host_session) is asked first about input and focus, and runs
    // around each update.
    virtual void StartGame();
    virtual void SuspendGame();
    virtual void ResumeGame();
    virtual void UpdateGame();
    virtual void RenderGame();
    virtual void KeyEvent(int event, int data);
    virtual void MouseEvent(int event, int data, float x, float y);
    virtual void TouchEvent(int event, int data, float x, float y);
    virtual void MotionEvent(int event, int data, float x, float y, float z);
    virtual void DiscardGraphics();
    // False, at once, when the game is not running.
    bool AwaitLoads(double seconds);

protected:
    BBGameDelegate* _delegate = nullptr;
    bool _keyboardEnabled = false;
    int _updateRate = 0;
    bool _started = false;
    bool _suspended = false;
};
