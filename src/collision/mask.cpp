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

    const int left = std::max(ax, bx);
    const int top = std::max(ay, by);
    const int right = std::min(ax + m_width, bx + other->m_width);
    const int bottom = std::min(ay + m_height, by + other->m_height);
    if (right - left < 1 || bottom - top < 1)
        return false;

    const int span = right - left;
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
