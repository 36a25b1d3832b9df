// Surfaces: the premultiplied CPU copy of a picture, kept or let go, and its lazily made OpenGL
// texture.
#include "graphics/gxtk_surface.h"

#include <utility>

#include "graphics/gxtk_graphics.h"
#include "graphics/gxtk_texel_program.h"
#include "graphics/image_loading.h"
#include "runtime/errors.h"

namespace {

void CallTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                    GLint border, GLenum format, GLenum type, const void* pixels) {
    glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
}

GLenum FormatForDepth(int depth) {
    switch (depth) {
    case 1:
        return GL_LUMINANCE;
    case 2:
        return GL_LUMINANCE_ALPHA;
    case 3:
        return GL_RGB;
    case 4:
        return GL_RGBA;
    default:
        return 0;
    }
}

unsigned char Premultiplied(unsigned value, unsigned alpha) {
    return static_cast<unsigned char>(value * alpha / 255);
}

} // namespace

gxtkSurface::TexImageFn gxtkSurface::texImage = &CallTexImage2D;

void gxtk_PremultiplyPixels(unsigned char* data, int width, int height, int depth) {
    if (!data || (depth != 2 && depth != 4))
        return;
    const long count = static_cast<long>(width) * height;
    for (long i = 0; i < count; ++i) {
        unsigned char* p = data + i * depth;
        const unsigned alpha = p[depth - 1];
        for (int c = 0; c < depth - 1; ++c)
            p[c] = Premultiplied(p[c], alpha);
    }
}

bool gxtk_AllOpaque(const unsigned char* data, int width, int height, int depth) {
    if (!data)
        return false;
    if (depth != 2 && depth != 4)
        return true;
    const long count = static_cast<long>(width) * height;
    for (long i = 0; i < count; ++i)
        if (data[i * depth + depth - 1] != 255)
            return false;
    return true;
}

int gxtk_PowerOfTwoAtLeast(int size) {
    int pot = 1;
    while (pot < size)
        pot <<= 1;
    return pot;
}

std::shared_ptr<gxtkSurface> gxtkSurface::FromPixels(gxtkPixels data, int width, int height,
                                                     int depth) {
    auto surface = std::make_shared<gxtkSurface>();
    surface->SetData(std::move(data), width, height, depth);
    return surface;
}

gxtkSurface::~gxtkSurface() {
    gxtkGraphics::SurfaceGoing(this);
    DeleteTexture();
}

int gxtkSurface::CurrentSeq() {
    return bb_host_GraphicsSeq();
}

void gxtkSurface::DeleteTexture() {
    if (seq != -1 && seq == bb_host_GraphicsSeq())
        glDeleteTextures(1, &texture);
    seq = -1;
    texture = 0;
}

void gxtkSurface::Discard() {
    gxtkGraphics::SurfaceGoing(this);
    DeleteTexture();
    data.reset();
    file.clear();
    opaque = false;
    tinted.reset();
}

bool gxtkSurface::CopyServes() const {
    return tinted && !padded && gxtk_DesktopOpenGL();
}

void gxtkSurface::OnUnsafeLoadComplete() {
    if (!CopyServes()) {
        Bind();
        return;
    }
    // The copy holds the mask's pixels as well as a texture would.
    if (!file.empty())
        data.reset();
}

void gxtkSurface::Prepare() {
    if (seq == CurrentSeq())
        return;
    // A texture of the copy's size tells that the driver takes this picture's size unpadded.
    if (CopyServes() && tinted->Bind())
        return;
    Bind();
}

void gxtkSurface::SetData(unsigned char* pixels, int w, int h, int d) {
    SetData(gxtkPixels(pixels), w, h, d);
}

void gxtkSurface::SetData(gxtkPixels pixels, int w, int h, int d) {
    data = std::move(pixels);
    file.clear();
    width = w;
    height = h;
    depth = d;
    format = FormatForDepth(d);
    // The scales of a texture of exactly this size, until Bind learns the size it really got.
    uscale = w > 0 ? 1.0f / static_cast<float>(w) : 0.0f;
    vscale = h > 0 ? 1.0f / static_cast<float>(h) : 0.0f;
    gxtk_PremultiplyPixels(data.get(), width, height, depth);
    opaque = gxtk_AllOpaque(data.get(), width, height, depth);
    tinted = depth == 4 ? gxtkTintedCopy::FromMask(data.get(), width, height) : nullptr;
}

void gxtkSurface::SetSubData(int x, int y, int w, int h, const unsigned int* src, int pitch) {
    if (format != GL_RGBA || !src)
        return;
    // Keep the rectangle inside the picture: a stray write must not run off the CPU copy.
    if (x < 0 || y < 0 || w <= 0 || h <= 0 || x + w > width || y + h > height)
        return;
    if (!data && !ReloadPixels()) {
        data.reset(
            static_cast<unsigned char*>(std::calloc(static_cast<size_t>(width) * height, 4)));
        if (!data)
            return;
    }
    tinted.reset(); // the written pixels may be anything
    file.clear();   // the written pixels are the surface's own from now on
    for (int i = 0; i < h; ++i) {
        const unsigned int* row = src + static_cast<long>(i) * pitch;
        unsigned char* out = data.get() + (static_cast<long>(y + i) * width + x) * 4;
        for (int j = 0; j < w; ++j, out += 4) {
            const unsigned argb = row[j];
            const unsigned a = argb >> 24;
            out[0] = Premultiplied((argb >> 16) & 0xff, a);
            out[1] = Premultiplied((argb >> 8) & 0xff, a);
            out[2] = Premultiplied(argb & 0xff, a);
            out[3] = static_cast<unsigned char>(a);
            opaque = opaque && a == 255;
        }
    }
    if (seq != -1 && seq == bb_host_GraphicsSeq()) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        UploadRows(x, y, w, h);
    }
}

void gxtkSurface::UploadRows(int x, int y, int w, int h) {
    auto rowStart = [&](int row) { return data.get() + (static_cast<long>(row) * width + x) * 4; };
    if (x == 0 && w == width) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, y, w, h, format, GL_UNSIGNED_BYTE, rowStart(y));
        return;
    }
    for (int i = 0; i < h; ++i)
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y + i, w, 1, format, GL_UNSIGNED_BYTE,
                        rowStart(y + i));
}

void gxtkSurface::ApplyFilter() {
    if (textureFilter == filter)
        return;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    textureFilter = filter;
}

void gxtkSurface::Bind() {
    if (bb_host_GraphicsSeq() == 0)
        return;
    if (seq == bb_host_GraphicsSeq()) {
        glBindTexture(GL_TEXTURE_2D, texture);
        ApplyFilter();
        return;
    }
    seq = bb_host_GraphicsSeq();
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    textureFilter = 0; // a new texture starts with OpenGL's own filter, which needs mipmaps
    ApplyFilter();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    // An error left over from earlier calls must not pass for a refused texture size. A lost
    // context reports an error on every read, so only as many are read as there are flags.
    for (int read = 0; read < 16 && glGetError() != GL_NO_ERROR; ++read) {
    }
    int texWidth = width;
    int texHeight = height;
    // Desktop OpenGL keeps a colour texture in the order it is first given; B, G, R, A is the
    // window's own, the order in which a software rasteriser copies and blends whole rows of it
    // (the pixels are still handed over as R, G, B, A, and the driver reorders them once).
    const GLenum order = format == GL_RGBA && gxtk_DesktopOpenGL() ? GL_BGRA : format;
    texImage(GL_TEXTURE_2D, 0, format, texWidth, texHeight, 0, order, GL_UNSIGNED_BYTE, nullptr);
    if (glGetError() != GL_NO_ERROR) {
        texWidth = gxtk_PowerOfTwoAtLeast(width);
        texHeight = gxtk_PowerOfTwoAtLeast(height);
        texImage(GL_TEXTURE_2D, 0, format, texWidth, texHeight, 0, order, GL_UNSIGNED_BYTE,
                 nullptr);
    }
    padded = texWidth != width || texHeight != height;
    uscale = 1.0f / static_cast<float>(texWidth);
    vscale = 1.0f / static_cast<float>(texHeight);

    if (!data)
        ReloadPixels();
    if (data) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE,
                        data.get());
    }
    // The texture holds the pixels now, and the file holds them for the next context.
    if (!file.empty())
        data.reset();
}

bool gxtkSurface::ReloadPixels() {
    if (tinted) {
        data.reset(
            static_cast<unsigned char*>(std::malloc(static_cast<size_t>(width) * height * 4)));
        if (data)
            tinted->Pixels(data.get());
        return data != nullptr;
    }
    if (file.empty())
        return false;
    int w = 0;
    int h = 0;
    int d = 0;
    gxtkPixels pixels = gxtk_LoadPixels(file, &w, &h, &d);
    if (!pixels || w != width || h != height || d != depth) {
        bbPrint(u"Can't load '" + file + u"' again: the picture is left blank");
        file.clear();
        return false;
    }
    gxtk_PremultiplyPixels(pixels.get(), w, h, d);
    data = std::move(pixels);
    return true;
}
