// The desktop icon: reading its recipe and drawing it at one size.
#include "icon.h"

#include <algorithm>

#include "text_source.h"

namespace assetgen {

namespace {

int grid_of(const Image& map) {
    return std::max(map.width(), map.height());
}

} // namespace

IconRecipe read_icon_recipe(const std::filesystem::path& path, const Palette& palette,
                            const SpriteLibrary& sprites) {
    TextSource source(path);
    IconRecipe recipe;
    bool has_backing = false;
    int sprite_line = 0;
    for (const SourceLine& line : source.lines()) {
        std::vector<std::string> words = split_words(line.text);
        if (words.empty()) {
            continue;
        }
        if (words[0] == "sprite" && words.size() == 2) {
            try {
                sprites.map(words[1]);
            } catch (const AssetError& e) {
                source.fail(line.number, e.what());
            }
            recipe.sprite = words[1];
            sprite_line = line.number;
        } else if (words[0] == "backing" && words.size() == 2) {
            if (!palette.lookup(words[1], recipe.backing)) {
                source.fail(line.number, "unknown colour '" + words[1] + "'");
            }
            has_backing = true;
        } else if (words[0] == "sizes" && words.size() > 1) {
            if (recipe.sprite.empty()) {
                source.fail(line.number, "the sprite must come before the sizes");
            }
            int grid = grid_of(sprites.map(recipe.sprite));
            for (size_t i = 1; i < words.size(); ++i) {
                int size = parse_int(words[i], source, line.number);
                if (size < grid || size % grid != 0) {
                    source.fail(line.number, "size " + words[i] + " is not a whole multiple of " +
                                                 std::to_string(grid) + " (the sprite's side)");
                }
                recipe.sizes.push_back(size);
            }
        } else {
            source.fail(line.number, "expected: sprite NAME, backing COLOUR or sizes N...");
        }
    }
    if (recipe.sprite.empty() || !has_backing || recipe.sizes.empty()) {
        source.fail(std::max(sprite_line, 1), "an icon needs a sprite, a backing colour and sizes");
    }
    return recipe;
}

Image make_icon(const Image& map, Rgba backing, int size) {
    const int grid = grid_of(map);
    Image square(grid, grid, backing);
    // Cut the four corner blocks so the backing reads as a tile rather than a hard square.
    for (int y : {0, grid - 1}) {
        for (int x : {0, grid - 1}) {
            square.set(x, y, Rgba{});
        }
    }
    square.paint(map, (grid - map.width()) / 2, (grid - map.height()) / 2);
    return square.scaled(size / grid);
}

} // namespace assetgen
