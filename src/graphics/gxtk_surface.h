// A picture as an OpenGL texture made on first use (and again after the host has made a new
// context) from premultiplied pixels in memory. A picture decoded from a file lets its pixels go
// once the texture holds them and decodes the file again when it needs them back; one made in
// memory keeps them. A white mask on desktop OpenGL is drawn at its own size from its tinted
// copy: its own texture waits for a draw that needs it, and its pixels come back from the copy.
#pragma once

#include <GL/gl.h>

#include <cstdlib>
#include <memory>

#include "graphics/gxtk_tinted_copy.h"
#include "runtime/string.h"

// Frees a pixel block that came from malloc (stb_image hands out such blocks).
struct gxtkPixelFree {
    void operator()(unsigned char* p) const { std::free(p); }
};
using gxtkPixels = std::unique_ptr<unsigned char, gxtkPixelFree>;

class gxtkSurface {
public:
    // The call that allocates a texture; replaceable so that a driver refusing some sizes can be
    // imitated. Same arguments as glTexImage2D.
    using TexImageFn = void (*)(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                                GLsizei height, GLint border, GLenum format, GLenum type,
                                const void* pixels);
    static TexImageFn texImage;

    gxtkSurface() = default;
    gxtkSurface(const gxtkSurface&) = delete;
    gxtkSurface& operator=(const gxtkSurface&) = delete;
    virtual ~gxtkSurface();

    // Builds a surface from decoded pixels (rows top to bottom, no padding, depth 1 to 4 bytes per
    // pixel). Takes ownership of the block and premultiplies it; makes no OpenGL call, so it may
    // run on any thread. The texture is made by the first Bind on the main thread.
    static std::shared_ptr<gxtkSurface> FromPixels(gxtkPixels data, int width, int height,
                                                   int depth);

    virtual void Discard();
    virtual int Width() const { return width; }
    virtual int Height() const { return height; }
    virtual int Loaded() const { return 1; }
    // Main thread, once a file's pixels are in (decoded on a loader thread, or on this one): makes
    // the texture, or for a white mask that its tinted copy can draw, lets the pixels go until a
    // draw needs the texture.
    virtual void OnUnsafeLoadComplete();

    // Takes ownership of a malloc'd block (released with free), sets the format from the depth
    // and premultiplies in place. The pixels are the surface's own: no file is named for them.
    void SetData(unsigned char* data, int width, int height, int depth);
    void SetData(gxtkPixels data, int width, int height, int depth);
    // Names the file (as the host opens it) that the pixels just set were decoded from: from
    // then on the copy in memory goes once the texture holds it, and comes back from the file
    // when a new context needs the texture or a write needs the pixels. Such a write makes the
    // pixels the surface's own.
    void SetFile(const String& path) { file = path; }
    // Writes 0xAARRGGBB pixels into an RGBA surface (premultiplied), uploading the changed
    // rectangle when the texture exists. Any other format is left alone.
    void SetSubData(int x, int y, int w, int h, const unsigned int* src, int pitch);
    // Makes the texture current, creating or re-creating it when needed, and gives it the filter
    // last asked for. Main thread only.
    void Bind();
    // The filter (GL_LINEAR or GL_NEAREST) the texture samples with from the next Bind on. The
    // texture is told only when its filter changes, and a new texture is made with it.
    void SetFilter(GLint f) { filter = f; }
    // The filter the texture of the current context has; 0 when there is no such texture.
    GLint TextureFilter() const { return seq == CurrentSeq() ? textureFilter : 0; }
    // Creates the texture for the current context if it is missing, so that the u and v scales
    // are those of the allocated texture before any vertex uses them. Main thread only.
    // A white mask whose tinted copy the driver takes at its size needs no texture of its own
    // for that.
    void Prepare();

    // Every texel has full alpha: drawn at full colour alpha, the picture replaces what lies
    // under it, so blending would change nothing. Not so for a texture padded to a power of two,
    // whose edge a smoothed draw mixes with the padding.
    bool Opaque() const { return opaque && !padded; }
    // The picture as a white mask to be drawn in one colour from a texture already in that colour,
    // or null when its texels are not all clear or opaque white (or its texture is padded, and so
    // larger than the copy).
    gxtkTintedCopy* TintedCopy() const { return padded ? nullptr : tinted.get(); }
    int Depth() const { return depth; }
    GLenum Format() const { return format; }
    // The premultiplied pixels; null once a picture from a file has its texture.
    const unsigned char* Data() const { return data.get(); }
    float UScale() const { return uscale; }
    float VScale() const { return vscale; }
    int TextureSeq() const { return seq; }
    GLuint Texture() const { return texture; }

private:
    static int CurrentSeq();
    void DeleteTexture();
    void UploadRows(int x, int y, int w, int h);
    void ApplyFilter();
    // Decodes the named file again into the copy in memory, or makes a white mask's from its
    // tinted copy; false, and no file named any more, when the file cannot be read or has changed
    // its size.
    bool ReloadPixels();
    // The tinted copy can draw the picture at its own size in this context.
    bool CopyServes() const;

    gxtkPixels data;
    String file; // where data came from, when it can be let go
    int width = 0;
    int height = 0;
    int depth = 0;
    GLenum format = 0;
    bool opaque = false;
    std::unique_ptr<gxtkTintedCopy> tinted;
    bool padded = false; // the texture is larger than the picture
    int seq = -1;
    GLuint texture = 0;
    GLint filter = GL_LINEAR;
    GLint textureFilter = 0; // what the texture was last told
    float uscale = 0.0f;
    float vscale = 0.0f;
};

// Premultiplies a decoded pixel block in place: for depth 2 the luminance byte, for depth 4 the
// colour bytes are scaled by alpha / 255 (truncating). Depths 1 and 3 are left as they are.
void gxtk_PremultiplyPixels(unsigned char* data, int width, int height, int depth);

// True when the block has no alpha channel (depths 1 and 3) or every pixel's alpha is 255.
bool gxtk_AllOpaque(const unsigned char* data, int width, int height, int depth);

// The smallest power of two not below size (1 for sizes below 2).
int gxtk_PowerOfTwoAtLeast(int size);
