// The options screen's value lines: exact texts, every one 32 characters.

#include <gtest/gtest.h>

#include "screens/options_screen.h"

namespace {

TEST(OptionsLines, ExactTextsOfThirtyTwoCharacters) {
    struct Case {
        String line, expected;
    };
    const Case cases[] = {
        {bb_options_DifficultyLine(0), u"          DIFFICULTY: EASY      "},
        {bb_options_DifficultyLine(1), u"          DIFFICULTY: NORMAL    "},
        {bb_options_DifficultyLine(2), u"          DIFFICULTY: HARD      "},
        {bb_options_YesNoLine(u"       VERTICAL SYNC: ", true),
         u"       VERTICAL SYNC: YES       "},
        {bb_options_YesNoLine(u" FRAME RATE THROTTLE: ", false),
         u" FRAME RATE THROTTLE: NO        "},
        {bb_options_ResolutionLine(640, 480), u"          RESOLUTION: 640x480   "},
        {bb_options_ResolutionLine(1920, 1080), u"          RESOLUTION: 1920x1080 "},
        {bb_options_VolumeLine(u"        MUSIC VOLUME: ", 0), u"        MUSIC VOLUME:   0%      "},
        {bb_options_VolumeLine(u"      EFFECTS VOLUME: ", 50), u"      EFFECTS VOLUME:  50%      "},
        {bb_options_VolumeLine(u"      EFFECTS VOLUME: ", 100),
         u"      EFFECTS VOLUME: 100%      "},
        {bb_options_PixelsLine(false), u"              PIXELS: SMOOTH    "},
        {bb_options_PixelsLine(true), u"              PIXELS: SHARP     "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.line, c.expected) << bb_narrow(c.expected);
        EXPECT_EQ(c.line.size(), 32u) << bb_narrow(c.expected);
    }
    // Wider values are never cut: the line just grows.
    EXPECT_EQ(bb_options_ResolutionLine(10240, 4320), u"          RESOLUTION: 10240x4320 ");
}

} // namespace
