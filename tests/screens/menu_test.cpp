// The menu's layout, pointer bands, and selection by keys and stick (the pointer's press and
// release are driven through the whole game in the scenario tests).

#include "screens/menu.h"

#include <gtest/gtest.h>

#include "graphics/virtual_display.h"
#include "input/input_device.h"

namespace {

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        c_VirtualDisplay::m_Display.reset(); // no pointer mapping: the pointer hovers nothing
        bb_input_device = &input;
        for (int i = 0; i < 9; ++i)
            menu.p_Set4(i, String(static_cast<size_t>(i + 4), u'X'), 0, 0, 0);
        menu.m_selected = 0;
    }
    void TearDown() override { bb_input_device = nullptr; }

    // One update with these keys hit (pressed and released before it) and the stick at `stick`.
    int UpdateWith(std::initializer_list<int> keys, float stick = 0) {
        for (int key : keys) {
            input.p_KeyEvent(1, key);
            input.p_KeyEvent(2, key);
        }
        input.m__joyStates[0].m_joyy[0] = stick;
        int activated = menu.p_Update();
        input.p_EndUpdate();
        return activated;
    }

    c_InputDevice input;
    c_Menu menu{9};
};

TEST_F(MenuTest, LinesAreCentredInTheBlockAndTwoRowsApart) {
    c_Menu title(2);
    title.p_Set4(0, u"START GAME", 0, 0, 180);
    title.p_Set4(1, u"OPTIONS", 0, 0, 180);
    EXPECT_EQ(title.p_Width(), 160);
    title.m_x = 320 - title.p_Width() / 2;
    title.m_y = 16;
    EXPECT_EQ(title.m_x, 240);
    EXPECT_EQ(title.p_ItemX(0), 240);
    EXPECT_EQ(title.p_ItemX(1), 240 + 24); // (160 - 112) / 2
    EXPECT_EQ(title.p_ItemY(1), 48);
    EXPECT_EQ(c_Menu(0).p_Width(), 0);
}

TEST_F(MenuTest, PointerBandsCoverEachLineOnly) {
    c_Menu title(2);
    title.p_Set4(0, u"START GAME", 0, 0, 180);
    title.p_Set4(1, u"OPTIONS", 0, 0, 180);
    title.m_x = 240;
    title.m_y = 16;
    struct Case {
        int x, y, item;
    };
    const Case cases[] = {
        {240, 16, 0}, {399, 31, 0},  {400, 16, -1}, {239, 20, -1}, {240, 32, -1}, {264, 48, 1},
        {375, 63, 1}, {376, 48, -1}, {250, 48, -1}, {300, 64, -1}, {300, 15, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(title.p_ItemHover(c.x, c.y), c.item) << c.x << "," << c.y;
    }
    title.m_itemHeight = 32; // a taller band reaches 8 pixels above and below the text
    EXPECT_EQ(title.p_ItemHover(300, 8), 0);
    EXPECT_EQ(c_Menu(0).p_ItemHover(0, 0), -1);
}

TEST_F(MenuTest, UpAndDownWrapAround) {
    UpdateWith({38});
    EXPECT_EQ(menu.m_selected, 8);
    UpdateWith({40});
    EXPECT_EQ(menu.m_selected, 0);
    UpdateWith({267});
    EXPECT_EQ(menu.m_selected, 1);
    UpdateWith({265});
    EXPECT_EQ(menu.m_selected, 0);
    UpdateWith({38, 40}); // both in one update: only up counts
    EXPECT_EQ(menu.m_selected, 8);
}

TEST_F(MenuTest, TheStickMovesOnceUntilItReturnsToTheMiddle) {
    menu.m_selected = 4;
    UpdateWith({}, 1.0f);
    EXPECT_EQ(menu.m_selected, 3);
    UpdateWith({}, 1.0f);
    UpdateWith({}, 0.75f); // exactly at the threshold: neither moves nor re-arms
    EXPECT_EQ(menu.m_selected, 3);
    EXPECT_FALSE(menu.m_joyReady);
    UpdateWith({}, -1.0f);
    EXPECT_EQ(menu.m_selected, 3);
    UpdateWith({}, 0.2f);
    EXPECT_TRUE(menu.m_joyReady);
    UpdateWith({}, -0.9f);
    EXPECT_EQ(menu.m_selected, 4);
}

TEST_F(MenuTest, EnterSpaceAndTheFirstFourButtonsActivateTheSelection) {
    menu.m_selected = 5;
    EXPECT_EQ(UpdateWith({}), -1);
    for (int key : {13, 32, 256, 257, 258, 259})
        EXPECT_EQ(UpdateWith({key}), 5) << key;
    EXPECT_EQ(UpdateWith({260}), -1);
    EXPECT_EQ(UpdateWith({40, 13}), 6); // the move comes first, then the activation
}

} // namespace
