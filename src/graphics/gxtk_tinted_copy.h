// A picture whose every texel is clear or opaque white (the title's artwork, the font) drawn in a
// colour. Through the fixed-function pipeline such a draw gives the colour where a texel is opaque
// and nothing where it is clear, but costs a software rasteriser a general shader per pixel. This
// keeps the picture as one bit a texel and a texture of it already in its colours, which the
// texel-only program draws with the same pixels, a row at a time. A small picture, such as a font
// sheet, keeps several colours at once, one layer of the texture each, one above the other.
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

inline bool gxtk_Overlap(const gxtkTexelRect& a, const gxtkTexelRect& b) {
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

class gxtkTintedCopy {
public:
    // The side of the square cells the picture is cut into to find where it has ink.
    static constexpr int kCell = 16;
    // A picture of at most this many texels keeps kSmallLayers colours; a larger one keeps one.
    static constexpr int kSmallTexels = 256 * 256;
    static constexpr int kSmallLayers = 8;

    // The copy of a premultiplied R, G, B, A block, or null when some texel is neither
    // (0, 0, 0, 0) nor (255, 255, 255, 255).
    static std::unique_ptr<gxtkTintedCopy> FromMask(const unsigned char* rgba, int width,
                                                    int height);

    gxtkTintedCopy(int width, int height);
    ~gxtkTintedCopy();
    gxtkTintedCopy(const gxtkTintedCopy&) = delete;
    gxtkTintedCopy& operator=(const gxtkTintedCopy&) = delete;

    // Makes the copy's texture current, sampled nearest: made for a context that has none yet,
    // with every layer empty. False when the driver refuses it. Main thread only.
    bool Bind();
    // The layer of the bound texture that holds the picture in `colour` (bytes R, G, B, A in
    // memory, premultiplied: the vertex colour the draw would have) with `behind` in its clear
    // texels, filled now when no layer does, in place of the layer least recently used, which
    // must not have been used in `frame`; -1 when every layer was. Of a large picture only the
    // inked parts are filled: the rest must not be drawn.
    int Layer(std::uint32_t colour, std::uint32_t behind, unsigned frame);
    // How many colours the copy keeps at once.
    int Layers() const { return static_cast<int>(layers.size()); }
    // Texture coordinates of texel corner (x, y) of the picture in a layer.
    float U(int x) const { return static_cast<float>(x) / static_cast<float>(width); }
    float V(int layer, int y) const {
        return static_cast<float>(layer * height + y) /
               static_cast<float>(height * static_cast<int>(layers.size()));
    }

    // The picture as it was given: premultiplied R, G, B, A, width * height * 4 bytes into `rgba`.
    void Pixels(unsigned char* rgba) const;

    // Appends the parts of `source` that hold an opaque texel: rows of whole cells that do,
    // clipped to it; for a small picture, `source` itself, within the picture, when any does.
    // Everything else in it is clear, which blends to the pixel already there, so drawing only
    // these parts gives the same pixels.
    void InkedParts(gxtkTexelRect source, std::vector<gxtkTexelRect>& out) const;

private:
    // What a layer of the texture holds, and when it was last used.
    struct LayerState {
        bool filled = false;
        std::uint32_t colour = 0;
        std::uint32_t behind = 0;
        unsigned frame = 0;
        unsigned long long use = 0;
    };

    void Fill(int layer, std::uint32_t colour, std::uint32_t behind);
    // The texels of row y from the word `firstWord` on, whole words covering `count` texels, in
    // the colours of `eights`.
    void FillRow(int y, int firstWord, int count, std::uint32_t* out) const;
    bool Inked(int x, int y) const;
    bool CellInked(int cx, int cy) const;
    void FindInkedRuns();

    int width;
    int height;
    std::vector<std::uint64_t> bits; // row by row, 64 texels a word, set where opaque
    int wordsPerRow;
    std::vector<gxtkTexelRect> inkedRuns; // runs of cells with ink, band by band, left to right
    GLuint texture = 0;
    int seq = -1;
    bool refused = false; // the driver would not make the texture for this context
    std::vector<LayerState> layers;
    unsigned long long uses = 0;
    std::array<std::array<std::uint32_t, 8>, 256> eights{}; // a byte of mask in the tint
    std::vector<std::uint32_t> band;                        // rows being handed to OpenGL
};
