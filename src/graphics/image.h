// Images: a surface cut into equally sized frames, with a handle (the point of a frame that lands
// on the drawing position) and image flags.
#pragma once

#include <memory>
#include <vector>

#include "graphics/gxtk_surface.h"

class c_Frame {
public:
    c_Frame() = default;
    c_Frame(int x, int y) : m_x(x), m_y(y) {}

    int m_x = 0; // top-left pixel of the frame inside the surface
    int m_y = 0;
};

class c_Image {
public:
    static constexpr int m_CentreHandle = 1;
    static constexpr int m_PaddedX = 2;
    static constexpr int m_PaddedY = 4;
    static constexpr int m_WholeSurface = 65536;
    // The flags the asset loaders pass when they create images.
    static int m_DefaultFlags;

    // An empty image: no surface, no frames, flags 0, handle (0, 0).
    static std::unique_ptr<c_Image> m_new();

    // frameCount frames side by side across the whole surface. A second initialisation is a
    // fatal "Image already initialized".
    c_Image* p_Init(std::shared_ptr<gxtkSurface> surface, int frameCount, int flags);
    // frameCount frames of frameWidth x frameHeight cut left to right, then row by row, from the
    // rectangle (srcX, srcY, srcWidth, srcHeight) of the surface, starting at (x, y) inside it.
    // A frame that does not fit is a fatal "Image frame outside surface".
    c_Image* p_Init2(std::shared_ptr<gxtkSurface> surface, int x, int y, int frameWidth,
                     int frameHeight, int frameCount, int flags, c_Image* source, int srcX,
                     int srcY, int srcWidth, int srcHeight);
    // A new image cut from this image's single frame; null unless this image has one frame.
    std::unique_ptr<c_Image> p_GrabImage(int x, int y, int width, int height, int frameCount,
                                         int flags);
    void p_SetHandle(float x, float y);
    void p_ApplyFlags(int flags);

    int p_Width() const { return m_width; }
    int p_Height() const { return m_height; }
    int p_Frames() const { return static_cast<int>(m_frames.size()); }
    int p_Flags() const { return m_flags; }
    float p_HandleX() const { return m_handleX; }
    float p_HandleY() const { return m_handleY; }
    gxtkSurface* p_Surface() const { return m_surface.get(); }
    // The frame with this number, or null when there is none.
    const c_Frame* p_Frame(int index) const;

    std::shared_ptr<gxtkSurface> m_surface; // shared by every image cut from the same pixels
    int m_width = 0;
    int m_height = 0;
    std::vector<c_Frame> m_frames;
    int m_flags = 0;
    float m_handleX = 0.0f;
    float m_handleY = 0.0f;
    c_Image* m_source = nullptr; // the image this one was cut from; it outlives this one
};
