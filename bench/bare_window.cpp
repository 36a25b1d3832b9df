// The floor the process benchmark measures the game against: a bare GLFW window that only clears
// to the title's grey and swaps, 60 times a second, sleeping between frames, until it is killed.
#include <GL/gl.h>
#include <GLFW/glfw3.h>

#include <chrono>
#include <cstdio>
#include <thread>

int main() {
    if (!glfwInit()) {
        std::puts("glfwInit failed");
        return 1;
    }
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    GLFWwindow* window = glfwCreateWindow(640, 480, "Bare window", nullptr, nullptr);
    if (!window) {
        std::puts("glfwCreateWindow failed");
        return 1;
    }
    glfwMakeContextCurrent(window);
    glfwSwapInterval(1);
    const auto period = std::chrono::microseconds(16667);
    auto next = std::chrono::steady_clock::now();
    while (!glfwWindowShouldClose(window)) {
        glClearColor(170 / 255.0f, 170 / 255.0f, 170 / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glfwSwapBuffers(window);
        next += period;
        std::this_thread::sleep_until(next);
        glfwPollEvents();
    }
    glfwTerminate();
    return 0;
}
