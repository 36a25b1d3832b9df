// The collision masks: all 34 files decode with the game's reader, and each is exactly the
// solid part of its sprite.
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

} // namespace
