// The desktop host's date and its choice of display modes.
#include "host/glfw_game.h"

#include <gtest/gtest.h>

TEST(HostClock, TheDateFillsAtMostSevenSlotsWithNoMilliseconds) {
    BBGlfwGame host;
    std::vector<int> date(9, -1);
    host.GetDate(date);
    EXPECT_GE(date[0], 2024);
    EXPECT_GE(date[1], 1);
    EXPECT_LE(date[1], 12);
    EXPECT_EQ(date[6], 0);
    EXPECT_EQ(date[7], -1);
    std::vector<int> shortDate(2, -1);
    host.GetDate(shortDate);
    EXPECT_EQ(shortDate[0], date[0]);
}

TEST(HostDisplayModes, OnlySixtyHertzOrUnknownRatesInGlfwOrder) {
    const GLFWvidmode vidmodes[] = {
        {1024, 768, 8, 8, 8, 60},  {1024, 768, 8, 8, 8, 75}, {800, 600, 8, 8, 8, 0},
        {1280, 1024, 8, 8, 8, 59}, {640, 480, 5, 6, 5, 60},
    };
    auto modes = BBGlfwGame::SelectDisplayModes(vidmodes);
    ASSERT_EQ(modes.size(), 3u);
    EXPECT_EQ(modes[0].width, 1024);
    EXPECT_EQ(modes[1].height, 600);
    EXPECT_EQ(modes[2].width, 640);
    EXPECT_TRUE(BBGlfwGame::SelectDisplayModes({}).empty());
}
