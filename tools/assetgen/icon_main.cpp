// assetgen-icons: draws the desktop icon into an icon-theme folder (SIZExSIZE/apps/NAME.png).
// Usage: assetgen-icons ASSETS_FOLDER ICON_FOLDER
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "icon.h"
#include "palette.h"
#include "sprite_library.h"

namespace fs = std::filesystem;
using namespace assetgen;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: assetgen-icons ASSETS_FOLDER ICON_FOLDER\n");
        return 2;
    }
    try {
        const fs::path assets = argv[1], icons = argv[2];
        Palette palette(assets / "palette.txt");
        SpriteLibrary sprites(assets / "sprites", palette);
        IconRecipe recipe = read_icon_recipe(assets / "icon.txt", palette, sprites);
        for (int size : recipe.sizes) {
            const std::string folder = std::to_string(size) + "x" + std::to_string(size);
            write_png(make_icon(sprites.map(recipe.sprite), recipe.backing, size),
                      icons / folder / "apps" / "skiddlewick.png");
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen-icons: %s\n", e.what());
        return 1;
    }
    return 0;
}
