// The game's 8 x 8 character font (codes 32 to 127), read from bit rows, and the two font
// sheets made from it.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>

#include "image.h"

namespace assetgen {

inline constexpr int kFirstChar = 32;
inline constexpr int kGlyphCount = 96;

class Font {
public:
    explicit Font(const std::filesystem::path& path);

    // Whether the pixel (x, y), 0..7 each, of the character with this code is ink.
    // Codes without a glyph have no ink.
    bool ink(int code, int x, int y) const;

private:
    std::array<std::array<uint8_t, 8>, kGlyphCount> rows_{}; // bit 7 is the leftmost pixel
    std::array<bool, kGlyphCount> defined_{};
};

// The sheet the game cuts its glyphs from: 18 x 18 cells, 14 per row, each glyph drawn at
// twice its size inside the cell's one-pixel border; white ink on clear paper from y 0, white
// paper with clear ink from y 129.
Image spectrum_font_sheet(const Font& font);
inline constexpr int kCellSize = 18;
inline constexpr int kCellsPerRow = 14;
inline constexpr int kInverseTop = 129;

// The drawing module's small default font: 96 frames of 10 x 8, a one-pixel border left and
// right of each 8 x 8 glyph.
Image plim_font_strip(const Font& font);

} // namespace assetgen
