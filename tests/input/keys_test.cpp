// Key translation, the characters keys type, and key names.
#include "input/key_names.h"
#include "input/key_translation.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

TEST(TransKey, MapsGlfwKeysToGameCodes) {
    const struct {
        int glfwKey, code;
    } cases[] = {
        {GLFW_KEY_A, 65},
        {GLFW_KEY_Z, 90},
        {GLFW_KEY_0, 48},
        {GLFW_KEY_9, 57},
        {GLFW_KEY_SPACE, 32},
        {GLFW_KEY_APOSTROPHE, 222},
        {GLFW_KEY_COMMA, 188},
        {GLFW_KEY_MINUS, 189},
        {GLFW_KEY_PERIOD, 190},
        {GLFW_KEY_SLASH, 191},
        {GLFW_KEY_SEMICOLON, 186},
        {GLFW_KEY_EQUAL, 187},
        {GLFW_KEY_LEFT_BRACKET, 219},
        {GLFW_KEY_BACKSLASH, 220},
        {GLFW_KEY_RIGHT_BRACKET, 221},
        {GLFW_KEY_GRAVE_ACCENT, 192},
        {GLFW_KEY_ESCAPE, 27},
        {GLFW_KEY_ENTER, 13},
        {GLFW_KEY_TAB, 9},
        {GLFW_KEY_BACKSPACE, 8},
        {GLFW_KEY_INSERT, 45},
        {GLFW_KEY_DELETE, 46},
        {GLFW_KEY_RIGHT, 39},
        {GLFW_KEY_LEFT, 37},
        {GLFW_KEY_DOWN, 40},
        {GLFW_KEY_UP, 38},
        {GLFW_KEY_PAGE_UP, 33},
        {GLFW_KEY_PAGE_DOWN, 34},
        {GLFW_KEY_HOME, 36},
        {GLFW_KEY_END, 35},
        {GLFW_KEY_F1, 112},
        {GLFW_KEY_F12, 123},
        {GLFW_KEY_KP_0, 96},
        {GLFW_KEY_KP_9, 105},
        {GLFW_KEY_KP_DECIMAL, 110},
        {GLFW_KEY_KP_DIVIDE, 111},
        {GLFW_KEY_KP_MULTIPLY, 106},
        {GLFW_KEY_KP_SUBTRACT, 109},
        {GLFW_KEY_KP_ADD, 107},
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
        EXPECT_EQ(bb_input_TransKey(c.glfwKey), c.code) << c.glfwKey;
}

TEST(KeyToChar, ControlAndNavigationKeys) {
    const struct {
        int key, chr;
    } cases[] = {{8, 8},        {9, 9},        {13, 13},  {27, 27}, {33, 0x10021},
                 {40, 0x10028}, {45, 0x1002D}, {46, 127}, {32, 0},  {65, 0},
                 {41, 0},       {44, 0},       {432, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(bb_input_KeyToChar(c.key), c.chr) << c.key;
}

TEST(KeyNames, NamesArePaddedButNeverCut) {
    const struct {
        int code, width;
        String name;
    } cases[] = {
        {300, 14, u"UNKNOWN       "},
        {39, 14, u"CURSOR RIGHT  "},
        {39, 0, u"CURSOR RIGHT"},
        {65, 0, u"A"},
        {48, 2, u"0 "},
        {57, 0, u"9"},
        {96, 0, u"NUMPAD 0"},
        {105, 0, u"NUMPAD 9"},
        {108, 0, u"NUMPAD /"},
        {111, 0, u"NUMPAD /"},
        {106, 0, u"NUMPAD *"},
        {112, 0, u"F1"},
        {123, 0, u"F12"},
        {192, 0, u"~"},
        {219, 0, u"("},
        {220, 0, u"\\"},
        {221, 0, u")"},
        {222, 0, u"\""},
        {186, 0, u";"},
        {1, 0, u"UNKNOWN"},
        {384, 0, u"UNKNOWN"},
        {8, 3, u"BACKSPACE"},
        {34, 0, u"PAGE DOWN"},
        {17, 0, u"CONTROL"},
        {-5, 0, u"UNKNOWN"},
        {124, 0, u"UNKNOWN"},
        {64, 0, u"UNKNOWN"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bb_settings_KeyCodeToName(c.code, c.width), c.name) << c.code;
}
