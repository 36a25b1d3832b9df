// The renderer device: collects 2D primitives into one client-side vertex array and hands each run
// of like primitives to OpenGL 1.x in a single draw call.
#pragma once

#include <GL/gl.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "graphics/gxtk_backdrop.h"
#include "graphics/gxtk_surface.h"
#include "graphics/gxtk_texel_program.h"
#include "host/devices.h"
#include "runtime/string.h"

// Why a pending batch went to OpenGL.
enum class gxtkFlushCause {
    KindChange,    // a primitive of another kind was added
    SurfaceChange, // a primitive with another texture (or none) was added
    Overflow,      // the vertex array was full
    Blend,
    Scissor,
    ReadPixels,
    EndRender,
    Count
};

// How textures are sampled.
enum class gxtkFiltering {
    // Nearest while every texel lands on exactly one pixel, where it looks the same as linear and
    // costs a software rasteriser far less; linear as soon as a draw scales, turns or sits
    // between pixels.
    Automatic,
    Linear,  // always: smooth scaled pictures (and the look to compare Automatic against)
    Nearest, // always: sharp scaled pictures, blocks of the picture's own colours
};

// What the renderer sent to OpenGL since the last BeginRender (or ResetStats).
struct gxtkFrameStats {
    int drawCalls = 0;       // glDrawArrays / glDrawElements calls
    int vertices = 0;        // vertices sent by those calls
    int primitives = 0;      // primitives added (points, lines, rectangles, ovals, polygons, quads)
    int droppedVertices = 0; // pending vertices thrown away by Cls
    int clears = 0;          // clears sent to OpenGL
    int tintedBatches = 0;   // batches drawn from a white mask's copy in their colour
    int backedBatches = 0;   // of those, drawn opaque from a copy with the cleared colour behind
    std::array<int, static_cast<int>(gxtkFlushCause::Count)> flushes{};

    int Flushes(gxtkFlushCause cause) const { return flushes[static_cast<int>(cause)]; }
    int TotalFlushes() const;
};

class gxtkGraphics : public BBGraphicsDevice {
public:
    static constexpr int kMaxVertices = 1024;
    static constexpr int kMaxQuads = kMaxVertices / 4;
    // Batch kinds: a kind is the number of vertices per primitive. Points, lines, triangles and
    // quads are drawn as such; a larger kind is a fan of that many vertices (ovals, polygons).
    static constexpr int kPoints = 1;
    static constexpr int kLines = 2;
    static constexpr int kTriangles = 3;
    static constexpr int kQuads = 4;

    struct Vertex {
        float x, y, u, v;
        std::uint32_t colour; // bytes R, G, B, A in memory, premultiplied
    };
    static_assert(sizeof(Vertex) == 20);

    // Reads the window size when a window exists.
    gxtkGraphics();
    ~gxtkGraphics() override;
    gxtkGraphics(const gxtkGraphics&) = delete;
    gxtkGraphics& operator=(const gxtkGraphics&) = delete;

    // A surface about to lose its texture or be destroyed: pending quads of it are drawn now, so
    // the batch never refers to a surface that is gone.
    static void SurfaceGoing(gxtkSurface* surface);

    virtual int Width() const { return width; }
    virtual int Height() const { return height; }
    int BeginRender() override;
    void EndRender() override;
    void DiscardGraphics() override {}

    // Returns the loaded surface, bound, or null when the file is missing or undecodable.
    virtual std::shared_ptr<gxtkSurface> LoadSurface(const String& path);
    // An RGBA surface without pixels, its texture allocated at once.
    virtual std::shared_ptr<gxtkSurface> CreateSurface(int width, int height);
    // Decodes the file into the surface; no OpenGL call, so loader threads may run it.
    virtual bool LoadSurface__UNSAFE__(gxtkSurface* surface, const String& path);

    virtual int Cls(float r, float g, float b);
    virtual int SetAlpha(float alpha);
    virtual int SetColor(float r, float g, float b);
    virtual int SetBlend(int blend);
    virtual int SetScissor(int x, int y, int w, int h);
    virtual int SetMatrix(float a, float b, float c, float d, float tx, float ty);

    virtual int DrawPoint(float x, float y);
    virtual int DrawRect(float x, float y, float w, float h);
    virtual int DrawLine(float x1, float y1, float x2, float y2);
    virtual int DrawOval(float x, float y, float w, float h);
    virtual int DrawPoly(std::span<const float> xy);
    virtual int DrawPoly2(std::span<const float> xyuv, gxtkSurface* surface, int srcx, int srcy);
    virtual int DrawSurface(gxtkSurface* surface, float x, float y);
    virtual int DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw,
                             int srch);

    // Window pixels (0xAARRGGBB) of the rectangle with top-left (x, y), y downward; window row
    // y + i lands at pixels[offset + i * pitch].
    virtual int ReadPixels(std::span<int> pixels, int x, int y, int w, int h, int offset,
                           int pitch);
    virtual int WritePixels2(gxtkSurface* surface, std::span<const int> pixels, int x, int y, int w,
                             int h, int offset, int pitch);

    // Opens room for n vertices of the given kind and texture, flushing first when the pending
    // batch cannot take them.
    Vertex* Begin(int kind, int n, gxtkSurface* surface);
    void Flush();
    // Throws the pending primitives away undrawn (as Cls does, without clearing).
    void DiscardBatch();

    // Takes effect from the next batch drawn; each texture is told only when its filter changes.
    void SetFiltering(gxtkFiltering choice) { filtering = choice; }
    gxtkFiltering Filtering() const { return filtering; }

    const gxtkFrameStats& Stats() const { return stats; }
    void ResetStats() { stats = {}; }
    std::uint32_t PackedColour() const { return colour; }
    int BatchCount() const { return batchCount; }
    std::span<const Vertex> PendingVertices() const {
        return {vertices.data(), static_cast<std::size_t>(batchCount)};
    }
    int BatchKind() const { return batchKind; }
    bool Transformed() const { return transformed; }

private:
    void ReadWindowSize();
    void FlushFor(gxtkFlushCause cause);
    void Put(Vertex& out, float x, float y) const;
    void Put(Vertex& out, float x, float y, float u, float v) const;
    void DrawQuad(gxtkSurface* surface, float x0, float y0, float x1, float y1, float u0, float v0,
                  float u1, float v1);
    int OvalSegments(float rx, float ry) const;
    // The filter the pending batch's texture must sample with.
    GLint BatchFilter() const;
    // The batch is quads of one picture, a white mask, drawn texel for pixel: worth drawing, cut
    // down to its inked parts, from a copy in its colours, which the texel-only program draws a
    // row at a time. A small picture keeps its colours; a large one must be in one colour over at
    // least a quarter of its area to pay for filling the copy again.
    bool TintedCopyPays() const;
    // Sends the pending batch as it stands; returns the draw calls made.
    int DrawBatch();
    // Sends the inked parts CutToInk found; `backed`, with the cleared colour in the copy's clear
    // texels.
    int DrawInkedQuads(bool backed);
    // Sends `count` vertices from the arrays' start as quads.
    void DrawQuads(int count);
    // Cuts the pending quads down to the copy's inked parts, into `inked`, with the copy's
    // texture bound and in their colours; false when the copy cannot hold them all. `backed`:
    // none of them lies where anything was drawn since the clear, nor over another of them, and
    // all are opaque, so that the copy may carry the cleared colour in its clear texels.
    bool CutToInk(gxtkTintedCopy& copy, bool& backed);
    // No two pending quads overlap.
    bool QuadsApart();
    // The vertices of the parts `cut` holds, from the copy's layers in their colours.
    bool EmitInked(gxtkTintedCopy& copy, std::uint32_t behind);
    void PointArraysAt(const Vertex* base);
    // Sends the clear Cls left waiting, if any.
    void ApplyPendingClear();
    // The pixels the vertices may touch: a pixel wider every way, for lines and points.
    static gxtkTexelRect Bounds(std::span<const Vertex> covering);
    // Enables or disables the capability whose state `current` holds. OpenGL is told only of
    // changes: each one makes a software rasteriser revalidate its state.
    static void SetCapability(GLenum capability, bool on, bool& current);

    int width = 0;
    int height = 0;
    std::uint32_t colour = 0;
    float r = 0, g = 0, b = 0;
    float alpha = 0;
    float ma = 1, mb = 0, mc = 0, md = 1, mtx = 0, mty = 0;
    bool transformed = false;
    bool unitScale = true; // the transform neither scales nor turns

    std::array<Vertex, kMaxVertices> vertices{};
    std::array<std::uint16_t, kMaxQuads * 6> quadIndices{};
    int batchKind = 0;
    int batchCount = 0;
    gxtkSurface* batchSurface = nullptr;
    bool batchScaled = false; // some pending texel does not land on exactly one pixel
    // Every pending fragment has full alpha: with the usual blend it replaces the pixel under it,
    // so the batch is drawn without blending and the rasteriser never reads the pixels back.
    bool batchOpaque = false;
    bool additive = false; // SetBlend(1): the source adds to the pixel whatever its alpha
    bool blending = true;  // what OpenGL was last told, since BeginRender
    bool texturing = false;
    bool batchWhite = false;       // every pending vertex is opaque white: the texel is the colour
    std::uint32_t batchColour = 0; // the first pending vertex's colour
    bool batchUniform = false;     // every pending vertex has that colour
    float batchArea = 0;           // pixels covered by the pending pictures, counted overlaps too
    gxtkTexelProgram texelProgram;
    // An inked part of a quad's source, where it lands and in which colour.
    struct InkedPart {
        gxtkTexelRect texels;
        int dx, dy;
        std::uint32_t colour;
    };
    std::vector<InkedPart> cut;           // the batch's inked parts, quad by quad
    std::vector<Vertex> inked;            // the parts DrawInkedQuads sends
    std::vector<gxtkTexelRect> parts;     // the inked parts of one quad's source
    std::vector<gxtkTexelRect> quadRects; // the pending quads QuadsApart has looked at
    unsigned frame = 0;                   // counts BeginRender calls
    bool scissoring = false;              // what SetScissor last asked for
    gxtkBackdrop backdrop;
    std::optional<std::array<float, 3>> pendingClear; // a whole-window clear not yet sent
    gxtkFiltering filtering = gxtkFiltering::Automatic;

    gxtkFrameStats stats;

    // The renderers alive, newest first (one in the game; tests may make more).
    gxtkGraphics* next = nullptr;
    static gxtkGraphics* first;
};
