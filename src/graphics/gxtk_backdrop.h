// What the window is known to hold since the frame's last clear: the clear's colour everywhere
// but where something was drawn since. A picture drawn over such a place may carry that colour
// in its clear texels and be drawn opaque, which a software rasteriser copies instead of blending.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/gxtk_tinted_copy.h"

class gxtkBackdrop {
public:
    // Beyond this many drawn rectangles the window is taken as unknown.
    static constexpr int kMaxDrawn = 32;

    // A clear of the whole window (`everywhere`) in a colour of whole numbers 0 to 255 leaves that
    // colour known; any other clear leaves nothing known.
    void Clear(float red, float green, float blue, bool everywhere);
    // A new frame, or pixels changed some other way.
    void Forget() { known = false; }
    // Something was drawn inside `area` (window pixels).
    void Cover(const gxtkTexelRect& area);

    bool Known() const { return known; }
    // The colour as the window holds it: bytes R, G, B, A in memory, A 255.
    std::uint32_t Colour() const { return colour; }
    // Nothing was drawn in `area` since the clear.
    bool Untouched(const gxtkTexelRect& area) const;

private:
    bool known = false;
    std::uint32_t colour = 0;
    std::vector<gxtkTexelRect> drawn;
};
