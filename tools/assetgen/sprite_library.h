// The sprites: character pixel maps read from assets/sprites/*.txt, plus sprites derived from
// others (mirrored, rotated, recoloured, overlaid). Maps are drawn in blocks; every map pixel
// becomes a kBlock x kBlock square of the game's screen.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "image.h"
#include "palette.h"

namespace assetgen {

inline constexpr int kBlock = 2;

struct Sprite {
    std::string name;
    Image map; // one pixel per block
};

class SpriteLibrary {
public:
    SpriteLibrary(const std::filesystem::path& folder, const Palette& palette);

    // Sprites meant for the atlas, in the order they were defined. Names that start with an
    // underscore are parts used only to build other sprites.
    std::vector<const Sprite*> exported() const;
    // The map of a sprite or part; throws AssetError when there is none.
    const Image& map(const std::string& name) const;

private:
    void load_file(const std::filesystem::path& path, const Palette& palette);
    void add(const std::string& name, Image map, const class TextSource& source, int line);
    Image derive(const std::vector<std::string>& words, const Palette& palette,
                 const TextSource& source, int line) const;

    std::vector<Sprite> sprites_;
    std::map<std::string, size_t> index_;
};

} // namespace assetgen
