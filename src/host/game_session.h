// A recording or a showing of a game, seen from the host: the host lets it watch, and a showing
// replace, what passes between the window and the game (input, focus), the game's clock, its
// state file and its joysticks, and runs it around each update. The recordings and replays
// above the game fill it in; the host knows only this interface.
#pragma once

#include "input/joystick_poller.h"
#include "runtime/string.h"

class BBGame;

class BBGameSession : public BBJoystickPoller {
public:
    ~BBGameSession() override = default;

    // Before each update the host runs; false: the update is not run.
    virtual bool BeforeUpdate() { return true; }
    // Inside the update, once the input device has polled the joysticks and before the game
    // reads its input: the keys down now, a pad's buttons included, are those of this update.
    virtual void InputPolled() {}
    virtual void AfterUpdate() {}
    // Input from the window and focus changes, before the game is told: false keeps the game from
    // hearing of it.
    virtual bool PassKeyEvent(int /*event*/, int /*data*/) { return true; }
    virtual bool PassMouseEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {
        return true;
    }
    virtual bool PassFocus(bool /*focused*/) { return true; }
    // The clock as the game reads it, given the host's reading.
    virtual int Clock(int hostMillisecs) { return hostMillisecs; }
    // The state file as the game loads and saves it.
    virtual String LoadState(BBGame& host);
    virtual int SaveState(BBGame& host, const String& state);
    // The joysticks as the game counts and polls them (the host's by default).
    int CountJoysticks(bool update) override;
    bool PollJoystick(int port, std::span<float> joyx, std::span<float> joyy, std::span<float> joyz,
                      std::span<bool> buttons) override;
    // Every way out of the program passes here (bb_host_Exit): what the session still holds
    // reaches its file.
    virtual void Close() {}
    // The same from a signal's handler: async-signal-safe calls only.
    virtual void CloseOnSignal() {}
    // The program's exit status, given the one it would end with: a session that lost part of
    // its file turns a clean exit into a failed one.
    virtual int ExitStatus(int status) const { return status; }
};

// The session of this run, or null; its owner sets it before the game starts.
extern BBGameSession* bb_host_session;

// Where the input device polls the joysticks: the session when there is one, else the host.
BBJoystickPoller* bb_host_JoystickPoller();

// Closes the session of this run, if any (on the way out), and returns the exit status it makes of
// `status`; the second from a signal handler.
int bb_host_CloseSession(int status);
void bb_host_CloseSessionOnSignal();
