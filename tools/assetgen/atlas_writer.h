// Packs the sprites onto one sheet and writes the sheet and its atlas description.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "image.h"

namespace assetgen {

struct AtlasEntry {
    std::string name;
    Image image; // at screen size
    int x = 0, y = 0;
};

struct Atlas {
    Image sheet;
    std::vector<AtlasEntry> entries;
};

// Places every entry on the smallest power-of-two sheet that holds them all, with a clear
// margin around each sprite so that filtering never picks up a neighbour.
Atlas pack_atlas(std::vector<AtlasEntry> entries);

// Writes folder/Graphics/Sprites.png and folder/Graphics/Sprites.xml.
void write_atlas(const Atlas& atlas, const std::filesystem::path& data_folder);

} // namespace assetgen
