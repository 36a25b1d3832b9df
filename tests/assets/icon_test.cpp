// The desktop icon: every size is the same picture enlarged by whole blocks, it shows the sprite
// its recipe names exactly as the atlas has it, and a broken recipe names its file and line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "assets_support.h"

using namespace assets_test;
namespace fs = std::filesystem;

namespace {

const fs::path kBuild = fs::path(SKIDDLEWICK_DATA_DIR).parent_path();
const int kSizes[] = {32, 48, 64, 128, 256};

Picture icon(int size) {
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    return load_picture((kBuild / "icons" / folder / "apps" / "skiddlewick.png").string());
}

bool same_pixel(const Picture& a, int ax, int ay, const Picture& b, int bx, int by) {
    return std::equal(a.pixel(ax, ay), a.pixel(ax, ay) + 4, b.pixel(bx, by));
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

TEST(Icon, EverySizeIsTheSmallestEnlargedByWholeBlocks) {
    const Picture smallest = icon(32);
    ASSERT_EQ(smallest.width, 32);
    for (int size : kSizes) {
        SCOPED_TRACE(size);
        const Picture p = icon(size);
        ASSERT_EQ(p.width, size);
        ASSERT_EQ(p.height, size);
        int mismatches = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x)
                mismatches += !same_pixel(p, x, y, smallest, x * 32 / size, y * 32 / size);
        }
        EXPECT_EQ(mismatches, 0);
        // A tile with cut corners: transparent at the corners, solid inside.
        EXPECT_EQ(p.alpha(0, 0), 0);
        EXPECT_EQ(p.alpha(size - 1, size - 1), 0);
        EXPECT_EQ(p.alpha(size / 2, size / 2), 255);
    }
}

TEST(Icon, ShowsTheSpriteAsTheAtlasHasIt) {
    const std::string name = icon_sprite();
    AtlasDescription atlas = read_atlas(data_path("Graphics/Sprites.xml"));
    ASSERT_TRUE(atlas.sub_textures.count(name)) << "'" << name << "'";
    const Rect r = atlas.sub_textures.at(name);
    ASSERT_EQ(r.width, 32) << "the 32-pixel icon holds the sprite at its size on screen";
    ASSERT_EQ(r.height, 32);
    const Picture sheet = load_picture(data_path(atlas.image_path));
    const Picture small = icon(32);
    int sprite_pixels = 0, mismatches = 0;
    std::set<uint32_t> colours;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (sheet.alpha(r.x + x, r.y + y) == 0)
                continue;
            ++sprite_pixels;
            mismatches += !same_pixel(small, x, y, sheet, r.x + x, r.y + y);
            const uint8_t* p = small.pixel(x, y);
            colours.insert(p[0] << 16 | p[1] << 8 | p[2]);
        }
    }
    EXPECT_GT(sprite_pixels, 200);
    EXPECT_EQ(mismatches, 0);
    EXPECT_GE(colours.size(), 5u) << "the sprite's colours, not a silhouette";
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
        {"sprite TazzleSkiDown\nbacking white\nsizes 32 40\n", "icon.txt:3: size 40 is not"},
        {"sprite TazzleSkiDown\nbacking white\nsizes 8\n", "icon.txt:3: size 8 is not"},
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
