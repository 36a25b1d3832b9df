// Where the text's glyphs go, and the flash clock.

#include "text/text.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Placed {
    int glyph, x, y;
    bool operator==(const Placed&) const = default;
};

std::vector<Placed> Layout(const String& text, int x, int y) {
    std::vector<Placed> placed;
    c_Text::p_Layout(text, x, y, [&](int glyph, int gx, int gy) {
        placed.push_back({glyph, gx, gy});
    });
    return placed;
}

TEST(TextLayout, EveryCharacterTakesSixteenPixels) {
    EXPECT_EQ(Layout(u"SCORE", 32, 16), (std::vector<Placed>{{'S' - 32, 32, 16},
                                                             {'C' - 32, 48, 16},
                                                             {'O' - 32, 64, 16},
                                                             {'R' - 32, 80, 16},
                                                             {'E' - 32, 96, 16}}));
    EXPECT_EQ(Layout(u" ~\x7f", -4, 424),
              (std::vector<Placed>{{0, -4, 424}, {'~' - 32, 12, 424}, {95, 28, 424}}));
    EXPECT_TRUE(Layout(u"", 0, 0).empty());
}

TEST(TextLayout, CharactersWithoutAGlyphAreSkippedButKeepTheirPlace) {
    EXPECT_EQ(Layout(u"A\tB\u00e9C\x80", 0, 0),
              (std::vector<Placed>{{'A' - 32, 0, 0}, {'B' - 32, 32, 0}, {'C' - 32, 64, 0}}));
}

TEST(TextFlash, ThePhaseChangesEveryNineteenUpdates) {
    c_Text text;
    EXPECT_EQ(text.m_flashCounter, 19);
    EXPECT_FALSE(text.m_flashInverse);
    for (int update = 1; update <= 76; ++update) {
        text.p_UpdateFlash();
        EXPECT_EQ(text.m_flashInverse, (update / 19) % 2 == 1) << update;
        EXPECT_EQ(text.m_flashCounter, 19 - update % 19) << update;
    }
}

} // namespace
