// Loading the font sheet and cutting it into glyphs: 18 x 18 cells with a trimmed one-pixel
// border, 14 to a row, the plain set from the top and the inverse set from y 129.
#include "loading/spectrum_font_images.h"

#include <utility>

namespace {
constexpr int kGlyphFlags = c_Image::m_PaddedX | c_Image::m_PaddedY;
constexpr int kLastCellX = 251; // a cell starting beyond this begins the next row
} // namespace

c_SpectrumFontImages::c_SpectrumFontImages()
    : m_normalGlyphs(kGlyphCount), m_inverseGlyphs(kGlyphCount) {}

void c_SpectrumFontImages::p_StartLoad() {
    if (!p_BeginLoad())
        return;
    bb_asyncloaders_LoadImageAsync(kSheetPath, 1, c_Image::m_DefaultFlags, this);
}

void c_SpectrumFontImages::p_OnLoadImageComplete(std::unique_ptr<c_Image> image, const String& path,
                                                 c_IAsyncEventSource*) {
    if (path == kSheetPath && image) {
        // A sheet delivered again replaces the old one only once no glyph refers to it.
        const std::unique_ptr<c_Image> previous = std::exchange(m_sheet, std::move(image));
        CutGlyphs(m_normalGlyphs, 0);
        CutGlyphs(m_inverseGlyphs, kInverseTop);
    }
    p_CountCompletion(1);
}

void c_SpectrumFontImages::CutGlyphs(std::vector<std::unique_ptr<c_Image>>& glyphs, int top) {
    int x = 0, y = top;
    for (auto& glyph : glyphs) {
        glyph = m_sheet->p_GrabImage(x, y, kCellSize, kCellSize, 1, kGlyphFlags);
        x += kCellSize;
        if (x > kLastCellX) {
            x = 0;
            y += kCellSize;
        }
    }
}
