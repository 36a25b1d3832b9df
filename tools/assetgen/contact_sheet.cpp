// Lays the sprites out in rows over a checkerboard (so that clear pixels show), twice their
// screen size, each with its name underneath.
#include "contact_sheet.h"

#include <algorithm>

namespace assetgen {

namespace {

constexpr int kZoom = 2;
constexpr int kWidth = 1280;
constexpr int kGap = 12;
constexpr int kLabel = 10;

void label(Image& sheet, const Font& font, const std::string& text, int x, int y) {
    for (size_t k = 0; k < text.size(); ++k) {
        for (int gy = 0; gy < 8; ++gy) {
            for (int gx = 0; gx < 8; ++gx) {
                if (font.ink(static_cast<unsigned char>(text[k]), gx, gy)) {
                    sheet.set(x + static_cast<int>(k) * 8 + gx, y + gy, Rgba{0, 0, 0, 255});
                }
            }
        }
    }
}

} // namespace

Image contact_sheet(const Atlas& atlas, const Font& font) {
    struct Place {
        const AtlasEntry* entry;
        int x, y;
    };
    std::vector<Place> places;
    int x = kGap, y = kGap, row_height = 0;
    for (const AtlasEntry& entry : atlas.entries) {
        int w = std::max(entry.image.width() * kZoom, static_cast<int>(entry.name.size()) * 8);
        int h = entry.image.height() * kZoom + kLabel;
        if (x + w > kWidth - kGap && x > kGap) {
            x = kGap;
            y += row_height + kGap;
            row_height = 0;
        }
        places.push_back({&entry, x, y});
        x += w + kGap;
        row_height = std::max(row_height, h);
    }
    Image sheet(kWidth, y + row_height + kGap, Rgba{255, 255, 255, 255});
    for (const Place& place : places) {
        const Image& image = place.entry->image;
        for (int yy = 0; yy < image.height() * kZoom; ++yy) {
            for (int xx = 0; xx < image.width() * kZoom; ++xx) {
                bool dark = ((xx / 8) + (yy / 8)) % 2 == 0;
                Rgba p = image.at(xx / kZoom, yy / kZoom);
                sheet.set(place.x + xx, place.y + yy,
                          p.a != 0 ? p
                          : dark   ? Rgba{200, 200, 200, 255}
                                   : Rgba{230, 230, 230, 255});
            }
        }
        label(sheet, font, place.entry->name, place.x, place.y + image.height() * kZoom + 2);
    }
    return sheet;
}

} // namespace assetgen
