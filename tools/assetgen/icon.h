// The desktop icon: one sprite on a square backing with cut corners, enlarged by whole blocks for
// each size an icon theme asks for and centred with a border of backing all round, so every size
// shows the whole sprite in crisp square pixels.
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
    std::vector<int> sizes; // pixels, each room for the sprite's larger side plus two blocks
};

// Reads assets/icon.txt (lines "sprite NAME", "backing COLOUR", "sizes N..."), checking every
// value against the sprites and palette; a mistake names the file and line.
IconRecipe read_icon_recipe(const std::filesystem::path& path, const Palette& palette,
                            const SpriteLibrary& sprites);

// The icon at one size, from the sprite's map (one pixel per block).
Image make_icon(const Image& map, Rgba backing, int size);

} // namespace assetgen
