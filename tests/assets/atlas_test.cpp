// The sprite atlas: every name the game looks up, placed inside the sheet, with the sizes and
// differences the road and ski screens rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "assets_support.h"

using namespace assets_test;

namespace {

class AtlasTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        atlas_ = read_atlas(data_path("Graphics/Sprites.xml"));
        sheet_ = load_picture(data_path(atlas_.image_path));
    }
    static Rect rect(const std::string& name) { return atlas_.sub_textures.at(name); }
    static bool same_pixels(const Rect& a, const Rect& b, bool mirrored) {
        if (a.width != b.width || a.height != b.height)
            return false;
        for (int y = 0; y < a.height; ++y) {
            for (int x = 0; x < a.width; ++x) {
                int bx = mirrored ? b.width - 1 - x : x;
                if (!std::equal(sheet_.pixel(a.x + x, a.y + y), sheet_.pixel(a.x + x, a.y + y) + 4,
                                sheet_.pixel(b.x + bx, b.y + y))) {
                    return false;
                }
            }
        }
        return true;
    }
    static AtlasDescription atlas_;
    static Picture sheet_;
};

AtlasDescription AtlasTest::atlas_;
Picture AtlasTest::sheet_;

TEST_F(AtlasTest, NamesTheSheetAndHoldsEveryNameTheGameLooksUp) {
    EXPECT_EQ(atlas_.image_path, "Graphics/Sprites.png");
    ASSERT_GT(sheet_.width, 0) << "the sheet named by imagePath cannot be read";
    for (const std::string& name : atlas_names()) {
        EXPECT_EQ(atlas_.sub_textures.count(name), 1u) << name;
    }
}

TEST_F(AtlasTest, RectanglesLieInsideTheSheetDoNotOverlapAndAreNotEmpty) {
    std::vector<std::pair<std::string, Rect>> all(atlas_.sub_textures.begin(),
                                                  atlas_.sub_textures.end());
    for (size_t i = 0; i < all.size(); ++i) {
        const auto& [name, r] = all[i];
        ASSERT_TRUE(r.x >= 0 && r.y >= 0 && r.width > 0 && r.height > 0 &&
                    r.x + r.width <= sheet_.width && r.y + r.height <= sheet_.height)
            << name;
        for (size_t j = i + 1; j < all.size(); ++j) {
            const Rect& o = all[j].second;
            EXPECT_FALSE(r.x < o.x + o.width && o.x < r.x + r.width && r.y < o.y + o.height &&
                         o.y < r.y + r.height)
                << name << " overlaps " << all[j].first;
        }
        int solid = 0;
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x)
                solid += sheet_.alpha(x, y) >= 128;
        EXPECT_GT(solid, r.width * r.height / 10) << name << " is nearly empty";
    }
}

TEST_F(AtlasTest, SizesFitTheScreensGeometry) {
    // Tazzle: about 32 x 32 in every pose; the snow tile is laid every 64 pixels.
    for (const std::string& name : atlas_names()) {
        if (name.rfind("Tazzle", 0) == 0) {
            EXPECT_EQ(rect(name).width, 32) << name;
            EXPECT_EQ(rect(name).height, 32) << name;
        }
    }
    EXPECT_EQ(rect("SnowTile").width, 64);
    EXPECT_EQ(rect("SnowTile").height, 64);
    // The hut stands at (272, 384): 96 wide so that Tazzle reappears beside it at x 368, and no
    // lower than the play area's bottom edge (432).
    EXPECT_EQ(rect("SkiHut").width, 96);
    EXPECT_LE(384 + rect("SkiHut").height, 432);
    // Vehicles fit their carriageway: cars at y up to 192 and trucks up to 176 stay above 224.
    for (const char* name : {"CarRedRight", "CarYellowRight", "AmbulanceRight", "BikeRight"}) {
        EXPECT_LE(192 + rect(name).height, 224) << name;
    }
    EXPECT_LE(176 + rect("TruckRight").height, 224);
    EXPECT_GT(rect("TruckRight").width, rect("CarRedRight").width);
    EXPECT_LT(rect("BikeRight").width * rect("BikeRight").height,
              rect("CarRedRight").width * rect("CarRedRight").height);
    // The crossing ambulance drives along y 400 inside the play area.
    EXPECT_LE(400 + rect("AmbulanceRight").height, 432);
    // Gates: the right post is drawn 144 pixels right of the left one at full width, 64 at the
    // narrowest; the posts must not touch.
    EXPECT_LE(rect("FlagRed").width, 64);
    // The finish banner spans a good part of the slope from x 224 but stays inside it.
    EXPECT_GE(rect("Finish").width, 160);
    EXPECT_LE(224 + rect("Finish").width, 576);
}

// Skis are hired only with Tazzle exactly at (272, 400), 16 pixels below the hut's top, so the
// hut's door marks the spot: a patch in colours not found in the door's upper half lies under the
// feet of every walking pose, as wide as their widest stride and no more than a block taller.
TEST_F(AtlasTest, TheHutsDoorMarksWhereTazzleStandsToHireSkis) {
    const Rect hut = rect("SkiHut");
    auto colour = [&](int x, int y) {
        const uint8_t* p = sheet_.pixel(hut.x + x, hut.y + y);
        return p[0] << 16 | p[1] << 8 | p[2];
    };
    int feet_left = 32, feet_right = -1, feet_top = hut.height;
    for (const char* pose : {"Down", "Up", "Left", "Right"}) {
        for (const char* frame : {"1", "2"}) {
            const Rect r = rect(std::string("TazzleWalk") + pose + frame);
            for (int y = r.height - 4; y < r.height; ++y) {
                for (int x = 0; x < r.width; ++x) {
                    if (sheet_.alpha(r.x + x, r.y + y) >= 128) {
                        feet_left = std::min(feet_left, x), feet_right = std::max(feet_right, x);
                        feet_top = std::min(feet_top, y + 16);
                    }
                }
            }
        }
    }
    ASSERT_LE(feet_left, feet_right);
    std::set<int> above;
    for (int y = 0; y < hut.height / 2; ++y)
        for (int x = 0; x < 32; ++x)
            above.insert(colour(x, y));
    int left = 32, right = -1, top = hut.height, bottom = -1;
    for (int y = hut.height / 2; y < hut.height; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (!above.count(colour(x, y))) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    EXPECT_EQ(left, feet_left);
    EXPECT_EQ(right, feet_right);
    EXPECT_GE(top, feet_top - 2);
    EXPECT_LE(top, feet_top);
    EXPECT_EQ(bottom, hut.height - 1);
}

TEST_F(AtlasTest, FramesAndFacingsAreDistinctPictures) {
    const std::vector<std::pair<std::string, std::string>> different = {
        {"TazzleWalkDown1", "TazzleWalkDown2"},
        {"TazzleWalkUp1", "TazzleWalkUp2"},
        {"TazzleWalkLeft1", "TazzleWalkLeft2"},
        {"TazzleWalkRight1", "TazzleWalkRight2"},
        {"TazzleWalkDownSkis1", "TazzleWalkDownSkis2"},
        {"TazzleWalkLeftSkis1", "TazzleWalkLeftSkis2"},
        {"TazzleWalkDown1", "TazzleWalkDownSkis1"},
        {"TazzleWalkDown1", "TazzleWalkDown1Dead"},
        {"TazzleWalkUp2", "TazzleWalkUp2Dead"},
        {"TazzleSkiDown", "TazzleSkiDownLeft"},
        {"TazzleSkiLeft", "TazzleSkiRight"},
        {"CarRedRight", "CarYellowRight"},
        {"FlagRed", "FlagCyan"}};
    for (const auto& [a, b] : different) {
        EXPECT_FALSE(same_pixels(rect(a), rect(b), false)) << a << " and " << b << " look the same";
    }
    for (int i = 1; i <= 8; ++i) {
        std::string a = "TazzleSkiCrash" + std::to_string(i),
                    b = "TazzleSkiCrash" + std::to_string(i % 8 + 1);
        EXPECT_FALSE(same_pixels(rect(a), rect(b), false)) << a << " and " << b;
    }
    // Every vehicle faces both ways: the left-facing sprite is the right-facing one mirrored.
    for (const char* kind : {"CarRed", "CarYellow", "Truck", "Ambulance", "Bike"}) {
        std::string name(kind);
        EXPECT_TRUE(same_pixels(rect(name + "Left"), rect(name + "Right"), true)) << kind;
        EXPECT_FALSE(same_pixels(rect(name + "Left"), rect(name + "Right"), false)) << kind;
    }
}

TEST_F(AtlasTest, SpritesAreDrawnInTwoByTwoBlocksAndTheSnowTileIsSolid) {
    for (const auto& [name, r] : atlas_.sub_textures) {
        for (int y = 0; y < r.height; y += 2)
            for (int x = 0; x < r.width; x += 2)
                for (int d = 1; d < 4; ++d)
                    ASSERT_TRUE(std::equal(sheet_.pixel(r.x + x, r.y + y),
                                           sheet_.pixel(r.x + x, r.y + y) + 4,
                                           sheet_.pixel(r.x + x + d % 2, r.y + y + d / 2)))
                        << name << " at " << x << "," << y;
    }
    Rect tile = rect("SnowTile");
    for (int y = 0; y < tile.height; ++y)
        for (int x = 0; x < tile.width; ++x)
            ASSERT_EQ(sheet_.alpha(tile.x + x, tile.y + y), 255);
}

} // namespace
