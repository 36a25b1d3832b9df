// A picture whose every texel is clear or opaque white (the title's artwork, the font) drawn in one
// colour. Through the fixed-function pipeline such a draw gives the colour where a texel is opaque
// and nothing where it is clear, but costs a software rasteriser a general shader per pixel. This
// keeps the picture as one bit a texel and a texture of it already in the colour, which the
// texel-only program draws with the same pixels, a row at a time.
#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// A rectangle of texels, [x0, x1) by [y0, y1).
struct gxtkTexelRect {
    int x0, y0, x1, y1;
};

class gxtkTintedCopy {
public:
    // The side of the square cells the picture is cut into to find where it has ink.
    static constexpr int kCell = 16;

    // The copy of a premultiplied R, G, B, A block, or null when some texel is neither
    // (0, 0, 0, 0) nor (255, 255, 255, 255).
    static std::unique_ptr<gxtkTintedCopy> FromMask(const unsigned char* rgba, int width,
                                                    int height);

    gxtkTintedCopy(int width, int height);
    ~gxtkTintedCopy();
    gxtkTintedCopy(const gxtkTintedCopy&) = delete;
    gxtkTintedCopy& operator=(const gxtkTintedCopy&) = delete;

    // Makes current a texture of the picture in `colour` (bytes R, G, B, A in memory,
    // premultiplied: the vertex colour the draw would have) with `behind` in its clear texels,
    // sampled nearest. Only the inked parts of it are filled: the rest must not be drawn. The
    // texture is filled again only when a colour changes or the context is new. Main thread only.
    void Bind(std::uint32_t colour, std::uint32_t behind);

    // Appends the parts of `source` that hold an opaque texel: rows of whole cells that do,
    // clipped to it. Everything else in it is clear, which blends to the pixel already there, so
    // drawing only these parts gives the same pixels.
    void InkedParts(gxtkTexelRect source, std::vector<gxtkTexelRect>& out) const;

private:
    void Fill(std::uint32_t colour, std::uint32_t behind);
    // The texels of row y from the word `firstWord` on, whole words covering `count` texels, in
    // the colours of `eights`.
    void FillRow(int y, int firstWord, int count, std::uint32_t* out) const;
    bool CellInked(int cx, int cy) const;
    void FindInkedRuns();

    int width;
    int height;
    std::vector<std::uint64_t> bits; // row by row, 64 texels a word, set where opaque
    int wordsPerRow;
    std::vector<gxtkTexelRect> inkedRuns; // runs of cells with ink, band by band, left to right
    GLuint texture = 0;
    int seq = -1;
    std::uint32_t tint = 0;
    std::uint32_t tintBehind = 0;
    std::array<std::array<std::uint32_t, 8>, 256> eights{}; // a byte of mask in the tint
    std::vector<std::uint32_t> band;                        // rows being handed to OpenGL
};
