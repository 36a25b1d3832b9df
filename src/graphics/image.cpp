// Images: frame cutting, padding, handles and the whole-surface shortcut.
#include "graphics/image.h"

#include <utility>

#include "runtime/errors.h"

int c_Image::m_DefaultFlags = 0;

std::unique_ptr<c_Image> c_Image::m_new() {
    return std::make_unique<c_Image>();
}

c_Image* c_Image::p_Init(std::shared_ptr<gxtkSurface> surface, int frameCount, int flags) {
    if (m_surface)
        bbError(u"Image already initialized");
    if (!surface)
        return this;
    // A frame count below one would divide by zero; such an image is one frame wide.
    if (frameCount < 1)
        frameCount = 1;
    m_surface = std::move(surface);
    m_width = m_surface->Width() / frameCount;
    m_height = m_surface->Height();
    m_frames.clear();
    m_frames.reserve(static_cast<size_t>(frameCount));
    for (int i = 0; i < frameCount; ++i)
        m_frames.emplace_back(i * m_width, 0);
    p_ApplyFlags(flags);
    return this;
}

c_Image* c_Image::p_Init2(std::shared_ptr<gxtkSurface> surface, int x, int y, int frameWidth,
                          int frameHeight, int frameCount, int flags, c_Image* source, int srcX,
                          int srcY, int srcWidth, int srcHeight) {
    if (m_surface)
        bbError(u"Image already initialized");
    if (!surface)
        return this;
    // Cutting only ever moves right and down, so a start left of or above the source rectangle,
    // or a negative frame size, would reach pixels outside it.
    if (x < 0 || y < 0 || frameWidth < 0 || frameHeight < 0)
        bbError(u"Image frame outside surface");
    m_surface = std::move(surface);
    m_frames.clear();
    int ix = x;
    int iy = y;
    for (int i = 0; i < frameCount; ++i) {
        if (ix + frameWidth > srcWidth) {
            ix = 0;
            iy += frameHeight;
        }
        if (ix + frameWidth > srcWidth || iy + frameHeight > srcHeight)
            bbError(u"Image frame outside surface");
        m_frames.emplace_back(srcX + ix, srcY + iy);
        ix += frameWidth;
    }
    m_width = frameWidth;
    m_height = frameHeight;
    m_source = source;
    p_ApplyFlags(flags);
    return this;
}

std::unique_ptr<c_Image> c_Image::p_GrabImage(int x, int y, int width, int height, int frameCount,
                                              int flags) {
    if (m_frames.size() != 1)
        return nullptr;
    auto image = m_new();
    image->p_Init2(m_surface, x, y, width, height, frameCount, flags, this, m_frames[0].m_x,
                   m_frames[0].m_y, m_width, m_height);
    return image;
}

void c_Image::p_SetHandle(float x, float y) {
    m_handleX = x;
    m_handleY = y;
    m_flags &= ~m_CentreHandle;
}

void c_Image::p_ApplyFlags(int flags) {
    m_flags = flags;
    if (flags & m_PaddedX) {
        for (c_Frame& f : m_frames)
            f.m_x += 1;
        m_width -= 2;
    }
    if (flags & m_PaddedY) {
        for (c_Frame& f : m_frames)
            f.m_y += 1;
        m_height -= 2;
    }
    if (flags & m_CentreHandle) {
        m_flags &= ~m_CentreHandle;
        m_handleX = static_cast<float>(m_width) * 0.5f;
        m_handleY = static_cast<float>(m_height) * 0.5f;
    }
    if (m_frames.size() == 1 && m_frames[0].m_x == 0 && m_frames[0].m_y == 0 && m_surface &&
        m_width == m_surface->Width() && m_height == m_surface->Height())
        m_flags |= m_WholeSurface;
}

const c_Frame* c_Image::p_Frame(int index) const {
    if (index < 0 || index >= p_Frames())
        return nullptr;
    return &m_frames[static_cast<size_t>(index)];
}
