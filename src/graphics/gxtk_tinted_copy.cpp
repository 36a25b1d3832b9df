// Tinted copies of white masks: one bit a texel in memory, one texture in the last colours used.
#include "graphics/gxtk_tinted_copy.h"

#include <GL/glext.h>

#include <algorithm>
#include <cstddef>

#include "host/devices.h"

namespace {

std::uint32_t Texel(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The colour's bytes in the order B, G, R, A that the textures are kept in on desktop OpenGL.
std::uint32_t SwapRedBlue(std::uint32_t rgba) {
    return (rgba & 0xff00ff00u) | (rgba & 0xffu) << 16 | ((rgba >> 16) & 0xffu);
}

} // namespace

std::unique_ptr<gxtkTintedCopy> gxtkTintedCopy::FromMask(const unsigned char* rgba, int width,
                                                         int height) {
    if (!rgba || width <= 0 || height <= 0)
        return nullptr;
    auto copy = std::make_unique<gxtkTintedCopy>(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t texel = Texel(rgba + (static_cast<std::size_t>(y) * width + x) * 4);
            if (texel == 0xffffffffu)
                copy->bits[static_cast<std::size_t>(y) * copy->wordsPerRow + x / 64] |=
                    std::uint64_t{1} << (x % 64);
            else if (texel != 0)
                return nullptr;
        }
    copy->FindInkedRuns();
    return copy;
}

gxtkTintedCopy::gxtkTintedCopy(int w, int h)
    : width(w), height(h), bits(static_cast<std::size_t>((w + 63) / 64) * h),
      wordsPerRow((w + 63) / 64),
      layers(static_cast<long long>(w) * h <= kSmallTexels ? kSmallLayers : 1) {}

gxtkTintedCopy::~gxtkTintedCopy() {
    if (seq != -1 && seq == bb_host_GraphicsSeq())
        glDeleteTextures(1, &texture);
}

bool gxtkTintedCopy::Inked(int x, int y) const {
    return (bits[static_cast<std::size_t>(y) * wordsPerRow + x / 64] >> (x % 64)) & 1u;
}

void gxtkTintedCopy::Pixels(unsigned char* rgba) const {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            std::fill_n(rgba + (static_cast<std::size_t>(y) * width + x) * 4, 4,
                        Inked(x, y) ? 255 : 0);
}

bool gxtkTintedCopy::CellInked(int cx, int cy) const {
    const int x0 = cx * kCell;
    const int x1 = std::min(x0 + kCell, width);
    for (int y = cy * kCell; y < std::min((cy + 1) * kCell, height); ++y)
        for (int x = x0; x < x1; ++x)
            if (Inked(x, y))
                return true;
    return false;
}

void gxtkTintedCopy::FindInkedRuns() {
    const int columns = (width + kCell - 1) / kCell;
    for (int cy = 0; cy * kCell < height; ++cy) {
        const int y0 = cy * kCell;
        const int y1 = std::min(y0 + kCell, height);
        for (int cx = 0; cx < columns;) {
            if (!CellInked(cx, cy)) {
                ++cx;
                continue;
            }
            const int first = cx;
            while (cx < columns && CellInked(cx, cy))
                ++cx;
            inkedRuns.push_back({first * kCell, y0, std::min(cx * kCell, width), y1});
        }
    }
}

void gxtkTintedCopy::InkedParts(gxtkTexelRect source, std::vector<gxtkTexelRect>& out) const {
    for (const gxtkTexelRect& run : inkedRuns) {
        if (!gxtk_Overlap(run, source))
            continue;
        // A small picture's layers are filled whole, and its quads (a font's glyphs, which
        // straddle cells) are sent whole when they hold ink at all: fewer vertices, the same
        // pixels.
        if (Layers() > 1) {
            out.push_back({std::max(source.x0, 0), std::max(source.y0, 0),
                           std::min(source.x1, width), std::min(source.y1, height)});
            return;
        }
        out.push_back({std::max(run.x0, source.x0), std::max(run.y0, source.y0),
                       std::min(run.x1, source.x1), std::min(run.y1, source.y1)});
    }
}

bool gxtkTintedCopy::Bind() {
    if (seq == bb_host_GraphicsSeq()) {
        if (refused)
            return false;
        glBindTexture(GL_TEXTURE_2D, texture);
        return true;
    }
    seq = bb_host_GraphicsSeq();
    layers.assign(layers.size(), LayerState{});
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    // An error left over from earlier calls must not pass for a refusal.
    for (int read = 0; read < 16 && glGetError() != GL_NO_ERROR; ++read) {
    }
    const int texHeight = height * static_cast<int>(layers.size());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, texHeight, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 nullptr);
    refused = glGetError() != GL_NO_ERROR;
    return !refused;
}

int gxtkTintedCopy::Layer(std::uint32_t colour, std::uint32_t behind, unsigned frame) {
    int chosen = -1;
    for (int i = 0; i < static_cast<int>(layers.size()); ++i) {
        LayerState& layer = layers[static_cast<std::size_t>(i)];
        if (layer.filled && layer.colour == colour && layer.behind == behind) {
            layer.frame = frame;
            layer.use = ++uses;
            return i;
        }
        const bool free = !layer.filled || layer.frame != frame;
        if (free && (chosen < 0 || layer.use < layers[static_cast<std::size_t>(chosen)].use))
            chosen = i;
    }
    if (chosen < 0)
        return -1;
    Fill(chosen, colour, behind);
    LayerState& layer = layers[static_cast<std::size_t>(chosen)];
    layer = {true, colour, behind, frame, ++uses};
    return chosen;
}

void gxtkTintedCopy::Fill(int layer, std::uint32_t colour, std::uint32_t behind) {
    const std::uint32_t ink = SwapRedBlue(colour);
    const std::uint32_t clear = SwapRedBlue(behind);
    // Each byte of the mask as its eight texels in these colours.
    for (int byte = 0; byte < 256; ++byte)
        for (int bit = 0; bit < 8; ++bit)
            eights[static_cast<std::size_t>(byte)][static_cast<std::size_t>(bit)] =
                (byte >> bit) & 1 ? ink : clear;
    // Only the inked runs of a large picture are ever drawn, so only they are filled: band by
    // band, from the 64-texel word holding the first run's start to the word holding the last
    // run's end. A small one is filled whole.
    const std::vector<gxtkTexelRect> whole{{0, 0, width, height}};
    const std::vector<gxtkTexelRect>& runs = Layers() > 1 ? whole : inkedRuns;
    const int top = layer * height;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    for (auto run = runs.begin(); run != runs.end();) {
        auto last = run;
        while (last + 1 != runs.end() && (last + 1)->y0 == run->y0)
            ++last;
        const int firstWord = run->x0 / 64;
        const int x0 = firstWord * 64;
        const int count = std::min(width, (last->x1 + 63) / 64 * 64) - x0;
        const int rows = run->y1 - run->y0;
        // Whole words for every row, so that the last word's texels past the width fit too.
        const auto stride = static_cast<std::size_t>((count + 63) / 64 * 64);
        band.resize(stride * static_cast<std::size_t>(rows));
        for (int y = 0; y < rows; ++y)
            FillRow(run->y0 + y, firstWord, count, &band[static_cast<std::size_t>(y) * stride]);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(stride));
        glTexSubImage2D(GL_TEXTURE_2D, 0, x0, top + run->y0, count, rows, GL_BGRA, GL_UNSIGNED_BYTE,
                        band.data());
        run = last + 1;
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

void gxtkTintedCopy::FillRow(int y, int firstWord, int count, std::uint32_t* out) const {
    const std::uint64_t* words = &bits[static_cast<std::size_t>(y) * wordsPerRow + firstWord];
    for (int word = 0; word * 64 < count; ++word)
        for (int byte = 0; byte < 8; ++byte, out += 8) {
            const auto& texels = eights[(words[word] >> (8 * byte)) & 0xffu];
            std::copy(texels.begin(), texels.end(), out);
        }
}
