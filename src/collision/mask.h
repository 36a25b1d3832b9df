// A pixel collision mask: coverage values per pixel, a handle, and the pixel-exact overlap test.
#pragma once

#include <vector>

#include "runtime/string.h"

class c_IOnLoadMaskComplete;

class c_Mask {
public:
    virtual ~c_Mask() = default;

    // True when some pixel is solid in both masks, this one placed with its handle at (x, y)
    // and `other` with its handle at (otherX, otherY). Allocates nothing and visits only the
    // overlap of the two rectangles.
    bool p_CollideMask(int x, int y, const c_Mask* other, int otherX, int otherY) const;

    c_IOnLoadMaskComplete* m_onComplete = nullptr; // told once when the load has finished
    int m_flags = 0;                               // 1: handle at the centre
    float m_handleX = 0;
    float m_handleY = 0;
    int m_width = 0;
    int m_height = 0;
    std::vector<int> m_data; // m_width x m_height coverage values, row-major
    int m_threshold = 128;   // solid at or above
    String m_path;
};
