// The host's half of the game's start (the game's half is game/game_start.h): what the process
// sets up once, before the host object exists.
#include "host/zibbet_game.h"

#include "host/errors.h"

#include <clocale>

bool BBZibbetGame::Prepare() {
    glfwSetErrorCallback(onGlfwError);
    if (!glfwInit())
        return false;
    bb_host_InstallSignalHandlers();
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8"))
        std::setlocale(LC_CTYPE, "");
    return true;
}
