// The batched OpenGL 1.x renderer: primitives are written straight into one fixed vertex array
// and sent with one draw call per run of like primitives.
#include "graphics/gxtk_graphics.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace {

constexpr float kTwoPi = 6.2831855f;

std::uint32_t PackColour(float r, float g, float b, float alpha) {
    auto byte = [](float value) {
        return static_cast<std::uint32_t>(static_cast<int>(value)) & 0xffu;
    };
    return byte(r * alpha) | byte(g * alpha) << 8 | byte(b * alpha) << 16 |
           byte(255.0f * alpha) << 24;
}

// True when the span holds `count` ints from `offset` with rows `pitch` apart.
bool SpanHolds(std::size_t size, int w, int h, int offset, int pitch) {
    if (w <= 0 || h <= 0 || offset < 0 || pitch < w)
        return false;
    const long long last =
        static_cast<long long>(offset) + static_cast<long long>(h - 1) * pitch + w;
    return last <= static_cast<long long>(size);
}

// On a pixel corner, and near enough to any window that the corner converts to an int.
bool OnPixelGrid(float x, float y) {
    constexpr float kReach = 1.0e6f;
    return x == std::floor(x) && y == std::floor(y) && std::fabs(x) < kReach &&
           std::fabs(y) < kReach;
}

} // namespace

int gxtkFrameStats::TotalFlushes() const {
    int total = 0;
    for (int n : flushes)
        total += n;
    return total;
}

gxtkGraphics* gxtkGraphics::first = nullptr;

gxtkGraphics::~gxtkGraphics() {
    for (gxtkGraphics** link = &first; *link; link = &(*link)->next)
        if (*link == this) {
            *link = next;
            break;
        }
}

void gxtkGraphics::SurfaceGoing(gxtkSurface* surface) {
    for (gxtkGraphics* device = first; device; device = device->next)
        if (device->batchSurface == surface) {
            device->Flush();
            device->batchSurface = nullptr;
        }
}

gxtkGraphics::gxtkGraphics() : next(first) {
    first = this;
    ReadWindowSize();
    for (int q = 0; q < kMaxQuads; ++q) {
        const auto base = static_cast<std::uint16_t>(q * 4);
        std::uint16_t* out = &quadIndices[static_cast<std::size_t>(q) * 6];
        out[0] = base;
        out[1] = static_cast<std::uint16_t>(base + 1);
        out[2] = static_cast<std::uint16_t>(base + 2);
        out[3] = base;
        out[4] = static_cast<std::uint16_t>(base + 2);
        out[5] = static_cast<std::uint16_t>(base + 3);
    }
}

void gxtkGraphics::ReadWindowSize() {
    // The host's window as the host sees it (the delegate reads the same numbers).
    bb_host_DrawableSize(&width, &height);
}

int gxtkGraphics::BeginRender() {
    ReadWindowSize();
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A minimised window has no area to project onto; the last projection is as good as any.
    if (width > 0 && height > 0)
        glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    PointArraysAt(vertices.data());

    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_TEXTURE_2D);
    blending = true;
    additive = false;
    texturing = false;

    batchCount = 0;
    batchScaled = false;
    ++frame;
    backdrop.Forget();
    pendingClear.reset();
    stats = {};
    return 1;
}

void gxtkGraphics::EndRender() {
    FlushFor(gxtkFlushCause::EndRender);
    ApplyPendingClear();
    // Whatever draws after the frame (a tool, a test) finds the fixed-function pipeline.
    texelProgram.Use(false);
}

void gxtkGraphics::DiscardBatch() {
    stats.droppedVertices += batchCount;
    batchCount = 0;
    batchScaled = false;
}

int gxtkGraphics::Cls(float red, float green, float blue) {
    DiscardBatch();
    backdrop.Clear(red, green, blue, !scissoring);
    // A clear of the whole window waits until something needs the pixels, so that a second one
    // before it (the display's black, then the screen's own colour) replaces it.
    pendingClear = {red / 255.0f, green / 255.0f, blue / 255.0f};
    if (scissoring)
        ApplyPendingClear();
    return 0;
}

void gxtkGraphics::ApplyPendingClear() {
    if (!pendingClear)
        return;
    glClearColor((*pendingClear)[0], (*pendingClear)[1], (*pendingClear)[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    pendingClear.reset();
    ++stats.clears;
}

int gxtkGraphics::SetAlpha(float a) {
    alpha = a;
    colour = PackColour(r, g, b, alpha);
    return 0;
}

int gxtkGraphics::SetColor(float red, float green, float blue) {
    r = red;
    g = green;
    b = blue;
    colour = PackColour(r, g, b, alpha);
    return 0;
}

int gxtkGraphics::SetBlend(int blend) {
    FlushFor(gxtkFlushCause::Blend);
    additive = blend == 1;
    if (additive)
        glBlendFunc(GL_ONE, GL_ONE);
    else
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    return 0;
}

int gxtkGraphics::SetScissor(int x, int y, int w, int h) {
    FlushFor(gxtkFlushCause::Scissor);
    scissoring = !(x == 0 && y == 0 && w == Width() && h == Height());
    if (!scissoring) {
        glDisable(GL_SCISSOR_TEST);
        return 0;
    }
    // OpenGL refuses negative sizes; an empty rectangle clips everything away, as meant.
    if (w < 0)
        w = 0;
    if (h < 0)
        h = 0;
    ApplyPendingClear(); // over the whole window, as it was asked
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, Height() - y - h, w, h);
    return 0;
}

int gxtkGraphics::SetMatrix(float a, float b, float c, float d, float tx, float ty) {
    ma = a;
    mb = b;
    mc = c;
    md = d;
    mtx = tx;
    mty = ty;
    unitScale = a == 1 && b == 0 && c == 0 && d == 1;
    transformed = !(unitScale && tx == 0 && ty == 0);
    return 0;
}

gxtkGraphics::Vertex* gxtkGraphics::Begin(int kind, int n, gxtkSurface* surface) {
    ++stats.primitives;
    const bool opaqueColour = (colour >> 24) == 0xffu;
    // A batch already drawn starts afresh, so that what it was tells nothing of the next one.
    if (batchCount > 0 && kind == batchKind && surface == batchSurface &&
        batchCount + n <= kMaxVertices) {
        Vertex* first = &vertices[static_cast<std::size_t>(batchCount)];
        batchCount += n;
        batchOpaque = batchOpaque && opaqueColour;
        batchWhite = batchWhite && colour == 0xffffffffu;
        batchUniform = batchUniform && colour == batchColour;
        return first;
    }
    if (batchCount > 0) {
        if (kind != batchKind)
            FlushFor(gxtkFlushCause::KindChange);
        else if (surface != batchSurface)
            FlushFor(gxtkFlushCause::SurfaceChange);
        else
            FlushFor(gxtkFlushCause::Overflow);
    }
    batchKind = kind;
    batchSurface = surface;
    batchCount = n;
    batchScaled = false;
    batchOpaque = opaqueColour && (!surface || surface->Opaque());
    batchWhite = colour == 0xffffffffu;
    batchColour = colour;
    batchUniform = true;
    batchArea = 0;
    return &vertices[0];
}

void gxtkGraphics::FlushFor(gxtkFlushCause cause) {
    if (batchCount == 0)
        return;
    ++stats.flushes[static_cast<int>(cause)];
    Flush();
}

void gxtkGraphics::Flush() {
    if (batchCount == 0)
        return;
    ApplyPendingClear();
    gxtkTintedCopy* copy = TintedCopyPays() ? batchSurface->TintedCopy() : nullptr;
    // Over nothing but the cleared colour, an opaque colour's copy may carry that colour in its
    // clear texels and replace the pixels: the same pixels, copied rather than blended.
    bool backed = false;
    const bool tinted = copy && texelProgram.Use(true) && CutToInk(*copy, backed);
    if (!tinted)
        texelProgram.Use(batchSurface && batchWhite);
    SetCapability(GL_BLEND, additive || !(batchOpaque || backed), blending);
    SetCapability(GL_TEXTURE_2D, batchSurface != nullptr, texturing);
    if (batchSurface && !tinted) {
        batchSurface->SetFilter(BatchFilter());
        batchSurface->Bind();
    }
    int calls = 0;
    if (tinted) {
        calls = DrawInkedQuads(backed);
    } else {
        calls = DrawBatch();
        backdrop.Cover(Bounds(PendingVertices()));
    }
    stats.drawCalls += calls;
    stats.vertices += batchCount;
    batchCount = 0;
    batchScaled = false;
}

int gxtkGraphics::DrawBatch() {
    switch (batchKind) {
    case kPoints:
        glDrawArrays(GL_POINTS, 0, batchCount);
        return 1;
    case kLines:
        glDrawArrays(GL_LINES, 0, batchCount);
        return 1;
    case kTriangles:
        glDrawArrays(GL_TRIANGLES, 0, batchCount);
        return 1;
    case kQuads:
        DrawQuads(batchCount);
        return 1;
    default:
        break;
    }
    int calls = 0;
    for (int start = 0; start < batchCount; start += batchKind, ++calls)
        glDrawArrays(GL_TRIANGLE_FAN, start, batchKind);
    return calls;
}

bool gxtkGraphics::CutToInk(gxtkTintedCopy& copy, bool& backed) {
    const float us = batchSurface->UScale();
    const float vs = batchSurface->VScale();
    backed = backdrop.Known() && !additive;
    cut.clear();
    for (int q = 0; q < batchCount; q += 4) {
        // Texel for pixel: the quad is its source rectangle moved by a whole number of pixels.
        const Vertex& a = vertices[static_cast<std::size_t>(q)];
        const Vertex& c = vertices[static_cast<std::size_t>(q) + 2];
        const int su0 = static_cast<int>(std::lround(a.u / us));
        const int sv0 = static_cast<int>(std::lround(a.v / vs));
        const int su1 = static_cast<int>(std::lround(c.u / us));
        const int sv1 = static_cast<int>(std::lround(c.v / vs));
        const int dx = static_cast<int>(a.x) - su0;
        const int dy = static_cast<int>(a.y) - sv0;
        backed = backed && (a.colour >> 24) == 0xffu;
        parts.clear();
        copy.InkedParts(
            {std::min(su0, su1), std::min(sv0, sv1), std::max(su0, su1), std::max(sv0, sv1)},
            parts);
        for (const gxtkTexelRect& part : parts) {
            backed = backed &&
                     backdrop.Untouched({part.x0 + dx, part.y0 + dy, part.x1 + dx, part.y1 + dy});
            cut.push_back({part, dx, dy, a.colour});
        }
    }
    // A quad's clear texels replace the pixels under them: no other quad of the batch may be there.
    backed = backed && QuadsApart();
    return copy.Bind() && EmitInked(copy, backed ? backdrop.Colour() : 0u);
}

bool gxtkGraphics::QuadsApart() {
    quadRects.clear();
    for (int q = 0; q < batchCount; q += 4) {
        const Vertex& a = vertices[static_cast<std::size_t>(q)];
        const Vertex& c = vertices[static_cast<std::size_t>(q) + 2];
        const gxtkTexelRect rect{
            static_cast<int>(std::min(a.x, c.x)), static_cast<int>(std::min(a.y, c.y)),
            static_cast<int>(std::max(a.x, c.x)), static_cast<int>(std::max(a.y, c.y))};
        for (const gxtkTexelRect& other : quadRects)
            if (gxtk_Overlap(rect, other))
                return false;
        quadRects.push_back(rect);
    }
    return true;
}

bool gxtkGraphics::EmitInked(gxtkTintedCopy& copy, std::uint32_t behind) {
    inked.clear();
    int layer = -1;
    std::uint32_t layerColour = 0;
    for (const InkedPart& part : cut) {
        if (layer < 0 || part.colour != layerColour) {
            layer = copy.Layer(part.colour, behind, frame);
            if (layer < 0)
                return false;
            layerColour = part.colour;
        }
        const gxtkTexelRect& t = part.texels;
        const float u0 = copy.U(t.x0);
        const float u1 = copy.U(t.x1);
        const float v0 = copy.V(layer, t.y0);
        const float v1 = copy.V(layer, t.y1);
        const auto x0 = static_cast<float>(t.x0 + part.dx);
        const auto y0 = static_cast<float>(t.y0 + part.dy);
        const auto x1 = static_cast<float>(t.x1 + part.dx);
        const auto y1 = static_cast<float>(t.y1 + part.dy);
        inked.push_back({x0, y0, u0, v0, part.colour});
        inked.push_back({x1, y0, u1, v0, part.colour});
        inked.push_back({x1, y1, u1, v1, part.colour});
        inked.push_back({x0, y1, u0, v1, part.colour});
    }
    return true;
}

int gxtkGraphics::DrawInkedQuads(bool backed) {
    ++stats.tintedBatches;
    if (backed)
        ++stats.backedBatches;
    int calls = 0;
    for (std::size_t first = 0; first < inked.size(); first += kMaxVertices, ++calls) {
        PointArraysAt(&inked[first]);
        DrawQuads(static_cast<int>(std::min<std::size_t>(kMaxVertices, inked.size() - first)));
    }
    PointArraysAt(vertices.data());
    backdrop.Cover(Bounds(inked));
    stats.vertices += static_cast<int>(inked.size()) - batchCount;
    return calls;
}

gxtkTexelRect gxtkGraphics::Bounds(std::span<const Vertex> covering) {
    // Far beyond any window, and safe to convert.
    constexpr float kFar = 1.0e6f;
    float x0 = kFar, y0 = kFar, x1 = -kFar, y1 = -kFar;
    for (const Vertex& v : covering) {
        // A coordinate that is not a number may land anywhere.
        if (!(std::fabs(v.x) < kFar && std::fabs(v.y) < kFar))
            return {-1000000, -1000000, 1000000, 1000000};
        x0 = std::min(x0, v.x);
        y0 = std::min(y0, v.y);
        x1 = std::max(x1, v.x);
        y1 = std::max(y1, v.y);
    }
    return {static_cast<int>(std::floor(x0)) - 1, static_cast<int>(std::floor(y0)) - 1,
            static_cast<int>(std::ceil(x1)) + 1, static_cast<int>(std::ceil(y1)) + 1};
}

void gxtkGraphics::DrawQuads(int count) {
    glDrawElements(GL_TRIANGLES, count / 4 * 6, GL_UNSIGNED_SHORT, quadIndices.data());
}

void gxtkGraphics::PointArraysAt(const Vertex* base) {
    glVertexPointer(2, GL_FLOAT, sizeof(Vertex), &base->x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &base->u);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex), &base->colour);
}

bool gxtkGraphics::TintedCopyPays() const {
    // Texel for pixel, so that the quads can be cut down to the copy's inked parts.
    if (!batchSurface || batchWhite || batchKind != kQuads || batchScaled ||
        BatchFilter() != GL_NEAREST)
        return false;
    const gxtkSurface& surface = *batchSurface;
    const gxtkTintedCopy* copy = surface.TintedCopy();
    if (!copy)
        return false;
    // A small picture keeps its colours; a large one is filled again for each new colour, which
    // pays only for a good part of it in one colour.
    return copy->Layers() > 1 ||
           (batchUniform && batchArea * 4 >= static_cast<float>(surface.Width()) *
                                                 static_cast<float>(surface.Height()));
}

void gxtkGraphics::SetCapability(GLenum capability, bool on, bool& current) {
    if (on == current)
        return;
    current = on;
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
}

GLint gxtkGraphics::BatchFilter() const {
    switch (filtering) {
    case gxtkFiltering::Linear:
        return GL_LINEAR;
    case gxtkFiltering::Nearest:
        return GL_NEAREST;
    case gxtkFiltering::Automatic:
        break;
    }
    return batchScaled ? GL_LINEAR : GL_NEAREST;
}

void gxtkGraphics::Put(Vertex& out, float x, float y) const {
    if (transformed) {
        out.x = ma * x + mc * y + mtx;
        out.y = mb * x + md * y + mty;
    } else {
        out.x = x;
        out.y = y;
    }
    out.colour = colour;
}

void gxtkGraphics::Put(Vertex& out, float x, float y, float u, float v) const {
    Put(out, x, y);
    out.u = u;
    out.v = v;
}

int gxtkGraphics::DrawPoint(float x, float y) {
    Vertex* v = Begin(kPoints, 1, nullptr);
    Put(v[0], x, y);
    v[0].x += 0.5f;
    v[0].y += 0.5f;
    return 0;
}

int gxtkGraphics::DrawLine(float x1, float y1, float x2, float y2) {
    Vertex* v = Begin(kLines, 2, nullptr);
    Put(v[0], x1, y1);
    Put(v[1], x2, y2);
    for (int i = 0; i < 2; ++i) {
        v[i].x += 0.5f;
        v[i].y += 0.5f;
    }
    return 0;
}

int gxtkGraphics::DrawRect(float x, float y, float w, float h) {
    Vertex* v = Begin(kQuads, 4, nullptr);
    Put(v[0], x, y);
    Put(v[1], x + w, y);
    Put(v[2], x + w, y + h);
    Put(v[3], x, y + h);
    return 0;
}

int gxtkGraphics::OvalSegments(float rx, float ry) const {
    float extent;
    if (transformed)
        extent = std::sqrt((ma * rx) * (ma * rx) + (mb * rx) * (mb * rx)) +
                 std::sqrt((mc * ry) * (mc * ry) + (md * ry) * (md * ry));
    else
        extent = std::fabs(rx) + std::fabs(ry);
    // Compare before converting: a huge oval must not overflow the int.
    if (!(extent < static_cast<float>(kMaxVertices)))
        return std::isnan(extent) ? 12 : kMaxVertices;
    const int n = static_cast<int>(extent);
    if (n < 12)
        return 12;
    return n & ~3;
}

int gxtkGraphics::DrawOval(float x, float y, float w, float h) {
    const float rx = w / 2.0f;
    const float ry = h / 2.0f;
    const float cx = x + rx;
    const float cy = y + ry;
    const int n = OvalSegments(rx, ry);
    Vertex* v = Begin(n, n, nullptr);
    for (int i = 0; i < n; ++i) {
        const float theta = static_cast<float>(i) * kTwoPi / static_cast<float>(n);
        Put(v[i], cx + std::cos(theta) * rx, cy - std::sin(theta) * ry);
    }
    return 0;
}

int gxtkGraphics::DrawPoly(std::span<const float> xy) {
    const int n = static_cast<int>(xy.size() / 2);
    if (n < 1 || n > kMaxVertices)
        return 0;
    Vertex* v = Begin(n, n, nullptr);
    for (int i = 0; i < n; ++i)
        Put(v[i], xy[2 * i], xy[2 * i + 1]);
    return 0;
}

int gxtkGraphics::DrawPoly2(std::span<const float> xyuv, gxtkSurface* surface, int srcx, int srcy) {
    const int n = static_cast<int>(xyuv.size() / 4);
    if (n < 1 || n > kMaxVertices || !surface)
        return 0;
    surface->Prepare();
    const float us = surface->UScale();
    const float vs = surface->VScale();
    Vertex* v = Begin(n, n, surface);
    for (int i = 0; i < n; ++i) {
        const float* p = &xyuv[static_cast<std::size_t>(i) * 4];
        Put(v[i], p[0], p[1], (p[2] + srcx) * us, (p[3] + srcy) * vs);
    }
    // Texture coordinates given per corner may stretch the picture any way at all.
    batchScaled = true;
    return 0;
}

void gxtkGraphics::DrawQuad(gxtkSurface* surface, float x0, float y0, float x1, float y1, float u0,
                            float v0, float u1, float v1) {
    Vertex* v = Begin(kQuads, 4, surface);
    Put(v[0], x0, y0, u0, v0);
    Put(v[1], x1, y0, u1, v0);
    Put(v[2], x1, y1, u1, v1);
    Put(v[3], x0, y1, u0, v1);
    // The quad is as large as its source rectangle, so it maps texels one to one exactly when
    // nothing scales or turns it and its corner sits on a pixel corner.
    if (!batchScaled)
        batchScaled = !unitScale || !OnPixelGrid(v[0].x, v[0].y) || !OnPixelGrid(v[2].x, v[2].y);
    batchArea += std::fabs((x1 - x0) * (y1 - y0));
}

int gxtkGraphics::DrawSurface(gxtkSurface* surface, float x, float y) {
    if (!surface)
        return 0;
    return DrawSurface2(surface, x, y, 0, 0, surface->Width(), surface->Height());
}

int gxtkGraphics::DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw,
                               int srch) {
    if (!surface)
        return 0;
    surface->Prepare();
    const float us = surface->UScale();
    const float vs = surface->VScale();
    DrawQuad(surface, x, y, x + static_cast<float>(srcw), y + static_cast<float>(srch),
             static_cast<float>(srcx) * us, static_cast<float>(srcy) * vs,
             static_cast<float>(srcx + srcw) * us, static_cast<float>(srcy + srch) * vs);
    return 0;
}

int gxtkGraphics::ReadPixels(std::span<int> pixels, int x, int y, int w, int h, int offset,
                             int pitch) {
    FlushFor(gxtkFlushCause::ReadPixels);
    ApplyPendingClear();
    if (!SpanHolds(pixels.size(), w, h, offset, pitch))
        return 0;
    std::vector<int> rows(static_cast<std::size_t>(w) * h);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, Height() - y - h, w, h, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
    for (int i = 0; i < h; ++i) {
        const int* src = &rows[static_cast<std::size_t>(h - 1 - i) * w];
        int* dst = &pixels[static_cast<std::size_t>(offset) + static_cast<std::size_t>(i) * pitch];
        std::copy(src, src + w, dst);
    }
    return 0;
}

int gxtkGraphics::WritePixels2(gxtkSurface* surface, std::span<const int> pixels, int x, int y,
                               int w, int h, int offset, int pitch) {
    if (!surface || !SpanHolds(pixels.size(), w, h, offset, pitch))
        return 0;
    surface->SetSubData(x, y, w, h, reinterpret_cast<const unsigned int*>(pixels.data() + offset),
                        pitch);
    return 0;
}

std::shared_ptr<gxtkSurface> gxtkGraphics::CreateSurface(int w, int h) {
    auto surface = std::make_shared<gxtkSurface>();
    surface->SetData(gxtkPixels(), w, h, 4);
    surface->Bind();
    return surface;
}

std::shared_ptr<gxtkSurface> gxtkGraphics::LoadSurface(const String& path) {
    auto surface = std::make_shared<gxtkSurface>();
    if (!LoadSurface__UNSAFE__(surface.get(), path))
        return nullptr;
    surface->OnUnsafeLoadComplete();
    return surface;
}
