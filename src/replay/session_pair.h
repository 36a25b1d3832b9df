// Two recorders of one game, as the run's one session: `--record FILE` while every game is kept.
// Each hook reaches both; what asks the host (the joysticks) is asked once, by the first, and the
// second notes the same answer.
#pragma once

#include "replay/replay_recorder.h"

#include <memory>

class SessionPair : public BBGameSession {
public:
    SessionPair(std::unique_ptr<ReplayRecorder> first, std::unique_ptr<ReplayRecorder> second);

    bool BeforeUpdate() override;
    void InputPolled() override;
    void AfterUpdate() override;
    bool PassKeyEvent(int event, int data) override;
    bool PassMouseEvent(int event, int data, float x, float y) override;
    bool PassFocus(bool focused) override;
    int Clock(int hostMillisecs) override;
    int CountJoysticks(bool update) override;
    bool PollJoystick(int port, std::span<float> joyx, std::span<float> joyy, std::span<float> joyz,
                      std::span<bool> buttons) override;
    void Close() override;
    void CloseOnSignal() override;
    int ExitStatus(int status) const override;

private:
    std::unique_ptr<ReplayRecorder> _first;
    std::unique_ptr<ReplayRecorder> _second;
};
