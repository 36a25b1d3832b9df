// The host's half of the game's start: GLFW, the fatal signals and the locale.
#include "host/host_start.h"

#include "host/errors.h"

#include <GLFW/glfw3.h>

#include <clocale>

bool bb_host_Prepare() {
    glfwSetErrorCallback(onGlfwError);
    if (!glfwInit())
        return false;
    bb_host_InstallSignalHandlers();
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8"))
        std::setlocale(LC_CTYPE, "");
    return true;
}
