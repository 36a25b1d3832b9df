// The session's defaults, which pass everything through to the host, and the session of this run.
#include "host/game_session.h"

#include "host/bb_game.h"

BBGameSession* bb_host_session = nullptr;

String BBGameSession::LoadState(BBGame& host) {
    return host.LoadState();
}

int BBGameSession::SaveState(BBGame& host, const String& state) {
    return host.SaveState(state);
}

int BBGameSession::CountJoysticks(bool update) {
    return BBGame::_game ? BBGame::_game->CountJoysticks(update) : 0;
}

bool BBGameSession::PollJoystick(int port, std::span<float> joyx, std::span<float> joyy,
                                 std::span<float> joyz, std::span<bool> buttons) {
    return BBGame::_game && BBGame::_game->PollJoystick(port, joyx, joyy, joyz, buttons);
}

BBJoystickPoller* bb_host_JoystickPoller() {
    if (bb_host_session)
        return bb_host_session;
    return BBGame::_game;
}

int bb_host_CloseSession(int status) {
    if (!bb_host_session)
        return status;
    bb_host_session->Close();
    return bb_host_session->ExitStatus(status);
}

void bb_host_CloseSessionOnSignal() {
    if (bb_host_session)
        bb_host_session->CloseOnSignal();
}
