// The font sheets, backdrops and title picture: sizes, the glyph grid the game cuts, and the
// areas the screens write on.
#include <gtest/gtest.h>

#include "assets_support.h"

using namespace assets_test;

namespace {

bool clear(const Picture& p, int x, int y) {
    return p.alpha(x, y) == 0;
}
bool white(const Picture& p, int x, int y) {
    const uint8_t* px = p.pixel(x, y);
    return px[0] == 255 && px[1] == 255 && px[2] == 255 && px[3] == 255;
}

TEST(FontSheet, GlyphCellsSitWhereTheGameCutsThemWithInverseCopies) {
    Picture sheet = load_picture(data_path("Graphics/SpectrumFont.png"));
    ASSERT_GE(sheet.width, 252);
    ASSERT_GE(sheet.height, 129 + 7 * 18);
    int x = 0, y = 0;
    for (int glyph = 0; glyph < 96; ++glyph) {
        SCOPED_TRACE(glyph + 32);
        int ink = 0;
        for (int cy = 0; cy < 18; ++cy) {
            for (int cx = 0; cx < 18; ++cx) {
                bool border = cx == 0 || cy == 0 || cx == 17 || cy == 17;
                bool plain_ink = !clear(sheet, x + cx, y + cy);
                bool inverse_paper = !clear(sheet, x + cx, 129 + y + cy);
                if (border) {
                    ASSERT_FALSE(plain_ink || inverse_paper) << "the trimmed border is not clear";
                    continue;
                }
                ASSERT_TRUE(!plain_ink || white(sheet, x + cx, y + cy));
                ASSERT_TRUE(!inverse_paper || white(sheet, x + cx, 129 + y + cy));
                ASSERT_NE(plain_ink, inverse_paper)
                    << "the inverse glyph is not the plain one swapped";
                ink += plain_ink;
            }
        }
        if (glyph == 0) {
            EXPECT_EQ(ink, 0) << "space has ink";
        } else {
            EXPECT_GT(ink, 0) << "no ink";
        }
        x += 18;
        if (x > 251) {
            x = 0;
            y += 18;
        }
    }
}

TEST(FontSheet, DefaultFontStripHasNinetySixFrames) {
    Picture strip = load_picture(data_path("plim_font.png"));
    ASSERT_GT(strip.width, 0);
    EXPECT_EQ(strip.width % 96, 0);
    int frame = strip.width / 96;
    for (int g = 0; g < 96; ++g)
        for (int y = 0; y < strip.height; ++y) {
            EXPECT_TRUE(clear(strip, g * frame, y)); // the one-pixel borders the loader trims
            EXPECT_TRUE(clear(strip, g * frame + frame - 1, y));
        }
}

TEST(Backdrops, FillTheScreenAndLeaveTheTextAreasReadable) {
    for (const char* name : {"Graphics/BackdropRoad.png", "Graphics/BackdropSki.png"}) {
        Picture p = load_picture(data_path(name));
        ASSERT_EQ(p.width, 640) << name;
        ASSERT_EQ(p.height, 480) << name;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                ASSERT_EQ(p.alpha(x, y), 255) << name;
    }
    // Black status text at y 48-64 needs a light pavement behind it; the carriageways are dark
    // so that the traffic stands out.
    Picture road = load_picture(data_path("Graphics/BackdropRoad.png"));
    auto brightness = [&](int x0, int y0, int w, int h) {
        double sum = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                sum += road.pixel(x, y)[0] + road.pixel(x, y)[1] + road.pixel(x, y)[2];
        return sum / (3.0 * w * h);
    };
    EXPECT_GT(brightness(64, 48, 512, 16), 150);
    EXPECT_GT(brightness(64, 368, 512, 64), 150);
    EXPECT_LT(brightness(64, 96, 512, 128), 40);
    EXPECT_LT(brightness(64, 240, 512, 128), 40);
}

TEST(TitlePicture, IsWhiteOnClearAndLeavesTheMenuAndScrollLineFree) {
    Picture title = load_picture(data_path("Graphics/Title.png"));
    ASSERT_EQ(title.width, 640);
    ASSERT_EQ(title.height, 480);
    int art = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (clear(title, x, y))
                continue;
            ASSERT_TRUE(white(title, x, y)) << x << "," << y;
            ASSERT_FALSE(y < 64 || (y >= 424 && y < 440))
                << "art over the menu or scroll line at " << x << "," << y;
            ++art;
        }
    }
    EXPECT_GT(art, 640 * 480 / 20);
}

} // namespace
