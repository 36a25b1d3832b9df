// Text in the game's fixed-pitch bitmap font: plain, inverse or flashing, every character one
// 16 x 16 cell.
#pragma once

#include <functional>
#include <memory>

#include "runtime/string.h"

class c_SpectrumFontImages;

class c_Text {
public:
    static constexpr int m_CharWidth = 16;
    static constexpr int m_FlashUpdates = 19;

    c_Text();
    ~c_Text();

    void p_Draw(const String& text, int x, int y, float r, float g, float b);
    void p_DrawInverse(const String& text, int x, int y, float r, float g, float b);
    // Plain or inverse, by the current flash phase.
    void p_DrawFlashing(const String& text, int x, int y, float r, float g, float b);
    // Called once per update by the application: the phase changes every 19 calls.
    void p_UpdateFlash();
    bool p_IsFontLoaded() const;
    void p_LoadFontAsync();

    // Where each character of the text goes: glyph index (character code - 32) and top-left
    // corner. Characters without a glyph are skipped but still take their 16 pixels.
    static void p_Layout(const String& text, int x, int y,
                         const std::function<void(int glyph, int x, int y)>& place);

    std::unique_ptr<c_SpectrumFontImages> m_fontImages;
    int m_flashCounter = m_FlashUpdates;
    bool m_flashInverse = false;

private:
    void DrawWith(bool inverse, const String& text, int x, int y, float r, float g, float b);
};

extern std::unique_ptr<c_Text> bb_text_spectrumText;
