// Reads the font's bit rows and lays out the glyph sheets.
//
// The source holds one glyph after another: a line "char CODE" (anything after the code is a
// note for the reader) and then its eight rows, X for ink and . for paper.
#include "font_sheet.h"

#include "text_source.h"

namespace assetgen {

Font::Font(const std::filesystem::path& path) {
    TextSource source(path);
    const auto& lines = source.lines();
    for (size_t i = 0; i < lines.size(); ++i) {
        std::vector<std::string> words = split_words(lines[i].text);
        if (words.empty()) {
            continue;
        }
        if (words[0] != "char" || words.size() < 2) {
            source.fail(lines[i].number, "expected: char CODE");
        }
        int code = parse_int(words[1], source, lines[i].number);
        int g = code - kFirstChar;
        if (g < 0 || g >= kGlyphCount) {
            source.fail(lines[i].number, "codes must lie within 32..127");
        }
        if (defined_[g]) {
            source.fail(lines[i].number, "code " + std::to_string(code) + " defined twice");
        }
        defined_[g] = true;
        int glyph_line = lines[i].number;
        for (int row = 0; row < 8; ++row) {
            if (++i >= lines.size()) {
                source.fail(glyph_line, "a glyph needs eight rows");
            }
            const std::string& text = lines[i].text;
            if (text.size() != 8 || text.find_first_not_of("X.") != std::string::npos) {
                source.fail(lines[i].number, "a glyph row is eight of X and .");
            }
            uint8_t bits = 0;
            for (int x = 0; x < 8; ++x) {
                if (text[x] == 'X') {
                    bits |= static_cast<uint8_t>(0x80 >> x);
                }
            }
            rows_[g][row] = bits;
        }
    }
    for (int g = 0; g < kGlyphCount; ++g) {
        if (!defined_[g]) {
            throw AssetError(path.string() + ": no glyph for code " +
                             std::to_string(g + kFirstChar));
        }
    }
}

bool Font::ink(int code, int x, int y) const {
    int g = code - kFirstChar;
    if (g < 0 || g >= kGlyphCount || x < 0 || x > 7 || y < 0 || y > 7) {
        return false;
    }
    return (rows_[g][y] & (0x80 >> x)) != 0;
}

Image spectrum_font_sheet(const Font& font) {
    const Rgba white{255, 255, 255, 255};
    Image sheet(256, 256);
    for (int g = 0; g < kGlyphCount; ++g) {
        int cell_x = (g % kCellsPerRow) * kCellSize + 1;
        int cell_y = (g / kCellsPerRow) * kCellSize + 1;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                bool ink = font.ink(g + kFirstChar, x / 2, y / 2);
                if (ink) {
                    sheet.at(cell_x + x, cell_y + y) = white;
                } else {
                    sheet.at(cell_x + x, kInverseTop + cell_y + y) = white;
                }
            }
        }
    }
    return sheet;
}

Image plim_font_strip(const Font& font) {
    const Rgba white{255, 255, 255, 255};
    Image strip(10 * kGlyphCount, 8);
    for (int g = 0; g < kGlyphCount; ++g) {
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                if (font.ink(g + kFirstChar, x, y)) {
                    strip.at(g * 10 + 1 + x, y) = white;
                }
            }
        }
    }
    return strip;
}

} // namespace assetgen
