// The host's translation of GLFW key numbers into the game's key codes: the edges of the ranges
// it maps by arithmetic, the left and right Shift and Control merged, and the keys the game has
// no code for. The named keys' table is the translation itself, not restated here.
#include "host/glfw_game.h"

#include <gtest/gtest.h>

TEST(TransKey, MapsGlfwKeysToGameCodes) {
    const struct {
        int glfwKey, code;
    } cases[] = {
        {GLFW_KEY_A, 65},
        {GLFW_KEY_Z, 90},
        {GLFW_KEY_0, 48},
        {GLFW_KEY_9, 57},
        {GLFW_KEY_F1, 112},
        {GLFW_KEY_F12, 123},
        {GLFW_KEY_KP_0, 96},
        {GLFW_KEY_KP_9, 105},
        {GLFW_KEY_LEFT_SHIFT, 16},
        {GLFW_KEY_RIGHT_SHIFT, 16},
        {GLFW_KEY_LEFT_CONTROL, 17},
        {GLFW_KEY_RIGHT_CONTROL, 17},
        // No game key.
        {GLFW_KEY_F13, 0},
        {GLFW_KEY_KP_ENTER, 0},
        {GLFW_KEY_KP_EQUAL, 0},
        {GLFW_KEY_LEFT_ALT, 0},
        {GLFW_KEY_LEFT_SUPER, 0},
        {GLFW_KEY_MENU, 0},
        {GLFW_KEY_CAPS_LOCK, 0},
        {GLFW_KEY_PRINT_SCREEN, 0},
        {GLFW_KEY_PAUSE, 0},
        {GLFW_KEY_WORLD_1, 0},
        {GLFW_KEY_UNKNOWN, 0},
        {346, 0},
        {0, 0},
        {64, 0},
        {95, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BBGlfwGame::TransKey(c.glfwKey), c.code) << c.glfwKey;
}
