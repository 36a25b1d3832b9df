// The collision masks: all 34 files decode, and each is exactly the solid part of its sprite.
#include <gtest/gtest.h>

#include "assets_support.h"

using namespace assets_test;

namespace {

TEST(MaskFiles, EachMaskIsTheSolidShapeOfItsSprite) {
    AtlasDescription atlas = read_atlas(data_path("Graphics/Sprites.xml"));
    Picture sheet = load_picture(data_path("Graphics/Sprites.png"));
    ASSERT_GT(sheet.width, 0);
    ASSERT_EQ(mask_sprites().size(), 34u);
    for (const auto& [mask_name, sprite] : mask_sprites()) {
        SCOPED_TRACE(mask_name);
        Mask mask = decode_cmsk(read_bytes(data_path("Masks/" + mask_name + ".cmsk")));
        ASSERT_TRUE(mask.ok);
        ASSERT_EQ(atlas.sub_textures.count(sprite), 1u);
        Rect r = atlas.sub_textures.at(sprite);
        ASSERT_EQ(mask.width, r.width);
        ASSERT_EQ(mask.height, r.height);
        int differences = 0;
        for (int y = 0; y < r.height; ++y) {
            for (int x = 0; x < r.width; ++x) {
                bool solid = mask.coverage[static_cast<size_t>(y) * r.width + x] >= 128;
                differences += solid != (sheet.alpha(r.x + x, r.y + y) >= 128);
            }
        }
        EXPECT_EQ(differences, 0);
    }
}

TEST(MaskFiles, ReaderFollowsTheRunLengthRules) {
    auto file = [](std::vector<uint8_t> stream, int w, int h) {
        std::vector<uint8_t> f = {0x8B, 'C', 'M', 'S', 'K', 0x0D, 0x0A, 0x1A, 0x0A, 0x00};
        for (int v : {1, 30, static_cast<int>(stream.size()), w, h})
            for (int s = 24; s >= 0; s -= 8) f.push_back(static_cast<uint8_t>(v >> s));
        f.insert(f.end(), stream.begin(), stream.end());
        return f;
    };
    Mask a = decode_cmsk(file({0, 0, 3, 255, 7}, 5, 1));
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.coverage, (std::vector<uint8_t>{0, 0, 0, 255, 7}));
    Mask b = decode_cmsk(file({9, 9, 0, 4}, 1, 1));  // a run of length 0 outputs nothing
    ASSERT_TRUE(b.ok);
    EXPECT_EQ(b.coverage, (std::vector<uint8_t>{4}));
    EXPECT_FALSE(decode_cmsk(file({1, 1}, 2, 1)).ok);        // no run length after the pair
    EXPECT_FALSE(decode_cmsk(file({1, 1, 5}, 2, 2)).ok);     // too many values
    EXPECT_TRUE(decode_cmsk(file({1, 1, 255, 1}, 256, 1)).ok);  // a long run split in two
}

}  // namespace
