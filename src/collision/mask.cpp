// The pixel-exact test between two placed masks. It runs for every moving object every update,
// so it rejects disjoint rectangles before touching a pixel and walks only the overlap.
#include "collision/mask.h"

#include <algorithm>

bool c_Mask::p_CollideMask(int x, int y, const c_Mask* other, int otherX, int otherY) const {
    // Top-left corners: the subtraction is in floating point, truncated towards zero.
    const int ax = static_cast<int>(static_cast<float>(x) - m_handleX);
    const int ay = static_cast<int>(static_cast<float>(y) - m_handleY);
    const int bx = static_cast<int>(static_cast<float>(otherX) - other->m_handleX);
    const int by = static_cast<int>(static_cast<float>(otherY) - other->m_handleY);

    // The far edges in 64 bits: a mask from a damaged file may be as wide as an int allows
    // (with no rows), and its edge must not overflow.
    const int left = std::max(ax, bx);
    const int top = std::max(ay, by);
    const long long right = std::min<long long>(ax + 0LL + m_width, bx + 0LL + other->m_width);
    const long long bottom = std::min<long long>(ay + 0LL + m_height, by + 0LL + other->m_height);
    if (right - left < 1 || bottom - top < 1)
        return false;

    const int span = static_cast<int>(right - left);
    const int* a = m_data.data() + (top - ay) * m_width + (left - ax);
    const int* b = other->m_data.data() + (top - by) * other->m_width + (left - bx);
    for (int row = top; row < bottom; ++row) {
        for (int c = 0; c < span; ++c) {
            if (a[c] >= m_threshold && b[c] >= other->m_threshold)
                return true;
        }
        a += m_width;
        b += other->m_width;
    }
    return false;
}
