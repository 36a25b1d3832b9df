// The desktop frame loop: passes back to back, each sleeping until its updates are due.
#include "host/glfw_game.h"

void BBGlfwGame::RunFrameLoop() {
    while (!glfwWindowShouldClose(_window))
        RunPass();
}
