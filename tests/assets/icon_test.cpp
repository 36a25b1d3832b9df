// The desktop icon: every size shows the sprite its recipe names whole and exactly as the atlas
// has it, in square blocks with a border, and a broken recipe names its file and line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "assets_support.h"

using namespace assets_test;
namespace fs = std::filesystem;

namespace {

const fs::path kBuild = fs::path(SKIDDLEWICK_DATA_DIR).parent_path();
const int kSizes[] = {32, 48, 64, 128, 192, 256, 512};

Picture icon(int size) {
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    return load_picture((kBuild / "icons" / folder / "apps" / "skiddlewick.png").string());
}

// The sprite named on the recipe's "sprite" line.
std::string icon_sprite() {
    std::ifstream in(fs::path(SKIDDLEWICK_SOURCE_DIR) / "assets" / "icon.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("sprite ", 0) == 0)
            return line.substr(7);
    }
    return {};
}

// Each size shows the atlas's sprite whole: every 2 x 2 block of it becomes one square of a whole
// number of pixels, the sprite is centred, and nothing of it reaches the tile's rim, where a
// desktop would show it cut off.
TEST(Icon, EverySizeShowsTheWholeSpriteCentredInSquareBlocks) {
    const std::string name = icon_sprite();
    AtlasDescription atlas = read_atlas(data_path("Graphics/Sprites.xml"));
    ASSERT_TRUE(atlas.sub_textures.count(name)) << "'" << name << "'";
    const Rect r = atlas.sub_textures.at(name);
    const Picture sheet = load_picture(data_path(atlas.image_path));
    const int blocks_wide = r.width / 2, blocks_high = r.height / 2;
    auto block = [&](int bx, int by) { return sheet.pixel(r.x + 2 * bx, r.y + 2 * by); };
    int left = blocks_wide, right = -1, top = blocks_high, bottom = -1;
    for (int by = 0; by < blocks_high; ++by) {
        for (int bx = 0; bx < blocks_wide; ++bx) {
            if (block(bx, by)[3] != 0) {
                left = std::min(left, bx), right = std::max(right, bx);
                top = std::min(top, by), bottom = std::max(bottom, by);
            }
        }
    }
    ASSERT_GE(right, left) << "the sprite is empty";
    for (int size : kSizes) {
        SCOPED_TRACE(size);
        const Picture p = icon(size);
        ASSERT_EQ(p.width, size);
        ASSERT_EQ(p.height, size);
        // A tile with cut corners whose rim is all backing; the sprite lies within.
        EXPECT_EQ(p.alpha(0, 0), 0);
        EXPECT_EQ(p.alpha(size - 1, size - 1), 0);
        const uint8_t* backing = p.pixel(size / 2, 0);
        int x0 = size, x1 = -1, y0 = size, y1 = -1, sprite_on_rim = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                if (p.alpha(x, y) == 0 || std::equal(backing, backing + 4, p.pixel(x, y)))
                    continue;
                sprite_on_rim += x == 0 || y == 0 || x == size - 1 || y == size - 1;
                x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y),
                y1 = std::max(y1, y);
            }
        }
        EXPECT_EQ(sprite_on_rim, 0);
        const int factor = (x1 - x0 + 1) / (right - left + 1);
        ASSERT_GE(factor, 1);
        EXPECT_EQ(x1 - x0 + 1, factor * (right - left + 1));
        EXPECT_EQ(y1 - y0 + 1, factor * (bottom - top + 1));
        const int ox = x0 - left * factor, oy = y0 - top * factor;
        EXPECT_EQ(2 * ox + blocks_wide * factor, size) << "centred across";
        EXPECT_EQ(2 * oy + blocks_high * factor, size) << "centred down";
        ASSERT_TRUE(ox >= 0 && oy >= 0 && ox + blocks_wide * factor <= size &&
                    oy + blocks_high * factor <= size);
        int mismatches = 0;
        for (int y = 0; y < blocks_high * factor; ++y) {
            for (int x = 0; x < blocks_wide * factor; ++x) {
                const uint8_t* want = block(x / factor, y / factor);
                if (want[3] == 0)
                    want = backing;
                mismatches += !std::equal(want, want + 4, p.pixel(ox + x, oy + y));
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

TEST(Icon, ABrokenRecipeNamesItsFileAndLineAndFails) {
    const fs::path generator = kBuild / "tools" / "assetgen" / "assetgen-icons";
    const fs::path scratch =
        fs::temp_directory_path() / ("assetgen-icons-" + std::to_string(::getpid()));
    const fs::path assets = scratch / "assets";
    fs::remove_all(scratch);
    fs::create_directories(assets);
    const fs::path source = fs::path(SKIDDLEWICK_SOURCE_DIR) / "assets";
    fs::copy(source / "palette.txt", assets / "palette.txt");
    fs::copy(source / "sprites", assets / "sprites", fs::copy_options::recursive);
    const struct {
        const char* recipe;
        const char* message;
    } cases[] = {
        {"sprite NoSuchSprite\n", "icon.txt:1: "},
        {"sprite Tree\nbacking mauve\nsizes 32\n", "icon.txt:2: unknown colour 'mauve'"},
        {"sprite TazzleSkiDown\nbacking white\nsizes 32 17\n", "icon.txt:3: size 17 is too small"},
        {"sizes 32\n", "icon.txt:1: the sprite must come before the sizes"},
        {"sprite TazzleSkiDown\nsizes 32\n", "an icon needs a sprite, a backing colour and sizes"},
        {"sprite TazzleSkiDown\nbacking white\nsizes 32\nshadow yes\n", "icon.txt:4: expected"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.recipe);
        std::ofstream(assets / "icon.txt", std::ios::trunc) << c.recipe;
        const fs::path log = scratch / "errors.txt";
        const std::string command = "'" + generator.string() + "' '" + assets.string() + "' '" +
                                    (scratch / "icons").string() + "' 2> '" + log.string() + "'";
        EXPECT_NE(std::system(command.c_str()), 0);
        std::stringstream errors;
        errors << std::ifstream(log).rdbuf();
        EXPECT_NE(errors.str().find(c.message), std::string::npos) << errors.str();
        EXPECT_FALSE(fs::exists(scratch / "icons")) << "nothing is written from a broken recipe";
    }
    fs::remove_all(scratch);
}

} // namespace
