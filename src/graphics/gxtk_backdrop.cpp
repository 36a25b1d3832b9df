// The window's known backdrop since the last clear.
#include "graphics/gxtk_backdrop.h"

#include <cmath>

namespace {

// The byte the window keeps for a clear colour of 0 to 255, or -1 when it is not a whole number
// in that range (the driver's own rounding would then decide).
int ColourByte(float value) {
    if (!(value >= 0.0f && value <= 255.0f) || value != std::floor(value))
        return -1;
    return static_cast<int>(value);
}

} // namespace

void gxtkBackdrop::Clear(float red, float green, float blue, bool everywhere) {
    const int r = ColourByte(red);
    const int g = ColourByte(green);
    const int b = ColourByte(blue);
    known = everywhere && r >= 0 && g >= 0 && b >= 0;
    drawn.clear();
    if (known)
        colour = static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 |
                 static_cast<std::uint32_t>(b) << 16 | 0xff000000u;
}

void gxtkBackdrop::Cover(const gxtkTexelRect& area) {
    if (!known || area.x0 >= area.x1 || area.y0 >= area.y1)
        return;
    if (static_cast<int>(drawn.size()) == kMaxDrawn) {
        known = false;
        return;
    }
    drawn.push_back(area);
}

bool gxtkBackdrop::Untouched(const gxtkTexelRect& area) const {
    if (!known)
        return false;
    for (const gxtkTexelRect& rect : drawn)
        if (gxtk_Overlap(rect, area))
            return false;
    return true;
}
