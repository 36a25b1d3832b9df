// The characters keys type, and key names.
#include "input/key_names.h"
#include "input/key_translation.h"

#include <gtest/gtest.h>

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
