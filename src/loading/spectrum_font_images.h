// The font's glyphs: the font sheet, loaded like any image, cut into 96 plain and 96 inverse
// glyph images, one per character code from 32 to 127.
#pragma once

#include <vector>

#include "loading/asset_group.h"

class c_SpectrumFontImages : public c_AssetGroup, public c_IOnLoadImageComplete {
public:
    static constexpr int kGlyphCount = 96;
    static constexpr int kCellSize = 18;
    static constexpr int kInverseTop = 129;
    static constexpr const char16_t* kSheetPath = u"Graphics/SpectrumFont.png";

    c_SpectrumFontImages();

    void p_StartLoad();
    // Cuts the glyphs from the sheet. A sheet that did not load leaves every glyph null; it
    // still counts, so the game does not wait for it for ever.
    void p_OnLoadImageComplete(std::unique_ptr<c_Image> image, const String& path,
                               c_IAsyncEventSource* source) override;

    std::vector<std::unique_ptr<c_Image>> m_normalGlyphs;  // 96 entries, null until cut
    std::vector<std::unique_ptr<c_Image>> m_inverseGlyphs; // 96 entries, null until cut

private:
    void CutGlyphs(std::vector<std::unique_ptr<c_Image>>& glyphs, int top);

    // The sheet the glyphs were cut from; it must outlive them.
    std::unique_ptr<c_Image> m_sheet;
};
