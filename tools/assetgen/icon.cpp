// The desktop icon: reading its recipe and drawing it at one size.
#include "icon.h"

#include <algorithm>

#include "text_source.h"

namespace assetgen {

namespace {

int grid_of(const Image& map) {
    return std::max(map.width(), map.height());
}

// The largest whole enlargement that still leaves a border of at least one enlarged block of
// backing on every side: a sprite drawn edge to edge looks cut off where it meets the tile's rim.
int enlargement(int grid, int size) {
    return size / (grid + 2);
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
                if (enlargement(grid, size) < 1) {
                    source.fail(line.number, "size " + words[i] + " is too small: the sprite's " +
                                                 std::to_string(grid) +
                                                 " blocks and a border need " +
                                                 std::to_string(grid + 2));
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
    const int factor = enlargement(grid_of(map), size);
    const Image sprite = map.scaled(factor);
    Image icon(size, size, backing);
    // Cut the corners, half as deep as the border, so the backing reads as a tile rather than a
    // hard square.
    const int corner = (size - grid_of(sprite)) / 4;
    for (int y : {0, size - corner}) {
        for (int x : {0, size - corner}) {
            icon.fill_rect(x, y, corner, corner, Rgba{});
        }
    }
    icon.paint(sprite, (size - sprite.width()) / 2, (size - sprite.height()) / 2);
    return icon;
}

} // namespace assetgen
