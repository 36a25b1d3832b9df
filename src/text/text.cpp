// Drawing text with the game font: one glyph per character, 16 pixels apart, tinted by the
// drawing colour, which is left white afterwards.

#include "text/text.h"

#include <memory>

#include "graphics/graphics.h"
#include "loading/spectrum_font_images.h"

std::unique_ptr<c_Text> bb_text_spectrumText;

namespace {

constexpr int kFirstCode = 32;
constexpr int kGlyphCount = 96;

} // namespace

c_Text::c_Text() : m_fontImages(std::make_unique<c_SpectrumFontImages>()) {}

c_Text::~c_Text() = default;

void c_Text::p_Layout(const String& text, int x, int y,
                      const std::function<void(int glyph, int x, int y)>& place) {
    for (size_t k = 0; k < text.size(); ++k) {
        int glyph = static_cast<int>(text[k]) - kFirstCode;
        if (glyph >= 0 && glyph < kGlyphCount) {
            place(glyph, x + m_CharWidth * static_cast<int>(k), y);
        }
    }
}

void c_Text::DrawWith(bool inverse, const String& text, int x, int y, float r, float g, float b) {
    bb_graphics_SetColor(r, g, b);
    const auto& glyphs = inverse ? m_fontImages->m_inverseGlyphs : m_fontImages->m_normalGlyphs;
    p_Layout(text, x, y, [&](int glyph, int gx, int gy) {
        c_Image* image = std::to_address(glyphs[static_cast<size_t>(glyph)]);
        // A font sheet that failed to load leaves no glyphs to draw.
        if (image)
            bb_graphics_DrawImage(image, static_cast<float>(gx), static_cast<float>(gy), 0);
    });
    bb_graphics_SetColor(255, 255, 255);
}

void c_Text::p_Draw(const String& text, int x, int y, float r, float g, float b) {
    DrawWith(false, text, x, y, r, g, b);
}

void c_Text::p_DrawInverse(const String& text, int x, int y, float r, float g, float b) {
    DrawWith(true, text, x, y, r, g, b);
}

void c_Text::p_DrawFlashing(const String& text, int x, int y, float r, float g, float b) {
    DrawWith(m_flashInverse, text, x, y, r, g, b);
}

void c_Text::p_UpdateFlash() {
    int counter = m_flashCounter - 1;
    if (counter < 1) {
        m_flashCounter = m_FlashUpdates;
        m_flashInverse = !m_flashInverse;
    } else {
        m_flashCounter = counter;
    }
}

bool c_Text::p_IsFontLoaded() const {
    return m_fontImages->p_IsLoaded();
}

void c_Text::p_LoadFontAsync() {
    m_fontImages->p_StartLoad();
}
