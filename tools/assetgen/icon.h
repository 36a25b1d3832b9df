// The desktop icon: one sprite on a square backing with cut corners, enlarged by whole blocks to
// each size an icon theme asks for, so every size shows the same crisp pixels.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "image.h"
#include "palette.h"
#include "sprite_library.h"

namespace assetgen {

struct IconRecipe {
    std::string sprite;
    Rgba backing;
    std::vector<int> sizes; // pixels, each a whole multiple of the sprite's larger side
};

// Reads assets/icon.txt (lines "sprite NAME", "backing COLOUR", "sizes N..."), checking every
// value against the sprites and palette; a mistake names the file and line.
IconRecipe read_icon_recipe(const std::filesystem::path& path, const Palette& palette,
                            const SpriteLibrary& sprites);

// The icon at one size, from the sprite's map (one pixel per block).
Image make_icon(const Image& map, Rgba backing, int size);

} // namespace assetgen
