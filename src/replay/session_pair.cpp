// SessionPair: every hook handed to both recorders, the host asked once.
#include "replay/session_pair.h"

SessionPair::SessionPair(std::unique_ptr<ReplayRecorder> first,
                         std::unique_ptr<ReplayRecorder> second)
    : _first(std::move(first)), _second(std::move(second)) {}

bool SessionPair::BeforeUpdate() {
    const bool first = _first->BeforeUpdate();
    return _second->BeforeUpdate() && first;
}

void SessionPair::InputPolled() {
    _first->InputPolled();
    _second->InputPolled();
}

void SessionPair::AfterUpdate() {
    _first->AfterUpdate();
    _second->AfterUpdate();
}

bool SessionPair::PassKeyEvent(int event, int data) {
    const bool first = _first->PassKeyEvent(event, data);
    return _second->PassKeyEvent(event, data) && first;
}

bool SessionPair::PassMouseEvent(int event, int data, float x, float y) {
    const bool first = _first->PassMouseEvent(event, data, x, y);
    return _second->PassMouseEvent(event, data, x, y) && first;
}

bool SessionPair::PassFocus(bool focused) {
    const bool first = _first->PassFocus(focused);
    return _second->PassFocus(focused) && first;
}

int SessionPair::Clock(int hostMillisecs) {
    return _second->Clock(_first->Clock(hostMillisecs));
}

int SessionPair::CountJoysticks(bool update) {
    const int count = _first->CountJoysticks(update);
    _second->NoteCount(count);
    return count;
}

bool SessionPair::PollJoystick(int port, std::span<float> joyx, std::span<float> joyy,
                               std::span<float> joyz, std::span<bool> buttons) {
    const bool present = _first->PollJoystick(port, joyx, joyy, joyz, buttons);
    return _second->NotePoll(port, present, joyx, joyy, joyz, buttons);
}

void SessionPair::Close() {
    _first->Close();
    _second->Close();
}

void SessionPair::CloseOnSignal() {
    _first->CloseOnSignal();
    _second->CloseOnSignal();
}

int SessionPair::ExitStatus(int status) const {
    return _second->ExitStatus(_first->ExitStatus(status));
}
