// Sprite sheet packing with stb_rect_pack and the TextureAtlas description.
#include "atlas_writer.h"

#include <fstream>

#include <stb/stb_rect_pack.h>

#include "text_source.h"

namespace assetgen {

namespace {

constexpr int kMargin = 2;

bool try_pack(std::vector<AtlasEntry>& entries, int width, int height) {
    std::vector<stbrp_rect> rects(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        rects[i].id = static_cast<int>(i);
        rects[i].w = entries[i].image.width() + 2 * kMargin;
        rects[i].h = entries[i].image.height() + 2 * kMargin;
    }
    std::vector<stbrp_node> nodes(static_cast<size_t>(width));
    stbrp_context context;
    stbrp_init_target(&context, width, height, nodes.data(), static_cast<int>(nodes.size()));
    if (!stbrp_pack_rects(&context, rects.data(), static_cast<int>(rects.size()))) {
        return false;
    }
    for (const stbrp_rect& rect : rects) {
        entries[static_cast<size_t>(rect.id)].x = rect.x + kMargin;
        entries[static_cast<size_t>(rect.id)].y = rect.y + kMargin;
    }
    return true;
}

} // namespace

Atlas pack_atlas(std::vector<AtlasEntry> entries) {
    for (int width = 256, height = 256; width <= 4096;) {
        if (try_pack(entries, width, height)) {
            Atlas atlas{Image(width, height), std::move(entries)};
            for (const AtlasEntry& entry : atlas.entries) {
                atlas.sheet.paint(entry.image, entry.x, entry.y);
            }
            return atlas;
        }
        if (height < width) {
            height *= 2;
        } else {
            width *= 2;
        }
    }
    throw AssetError("the sprites do not fit on a 4096 x 4096 sheet");
}

void write_atlas(const Atlas& atlas, const std::filesystem::path& data_folder) {
    write_png(atlas.sheet, data_folder / "Graphics" / "Sprites.png");
    std::ofstream xml(data_folder / "Graphics" / "Sprites.xml", std::ios::binary);
    // No <?xml?> declaration: the game's markup reader does not take declarations.
    xml << "<TextureAtlas imagePath=\"Graphics/Sprites.png\">\n";
    for (const AtlasEntry& entry : atlas.entries) {
        xml << "    <SubTexture name=\"" << entry.name << "\" x=\"" << entry.x << "\" y=\""
            << entry.y << "\" width=\"" << entry.image.width() << "\" height=\""
            << entry.image.height() << "\"/>\n";
    }
    xml << "</TextureAtlas>\n";
    if (!xml) {
        throw AssetError("Graphics/Sprites.xml cannot be written");
    }
}

} // namespace assetgen
