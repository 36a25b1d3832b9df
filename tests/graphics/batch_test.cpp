// The renderer's batch without OpenGL: vertex colours, half-pixel offsets, oval segment counts,
// polygon limits, no allocation per primitive; and the surfaces' premultiplied CPU copy.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "graphics/graphics_test_support.h"
#include "graphics/gxtk_graphics.h"

namespace {
std::atomic<long> g_allocations{0};
}

// Counts every allocation of this test program, so a test can see that drawing makes none. The
// replacements pair malloc with free, which the compiler cannot see through.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

namespace {

using graphics_test::SolidSurface;

std::uint32_t Bytes(int r, int g, int b, int a) {
    return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(b) << 16 | static_cast<std::uint32_t>(a) << 24;
}

TEST(BatchTest, VertexColourIsPremultipliedAndTruncated) {
    struct Case {
        float r, g, b, alpha;
        std::uint32_t packed;
    } cases[] = {
        {255, 128, 0, 0.5f, Bytes(127, 64, 0, 127)},
        {255, 255, 255, 1, Bytes(255, 255, 255, 255)},
        {90, 170, 180, 0.25f, Bytes(22, 42, 45, 63)},
        {255, 255, 255, 0, Bytes(0, 0, 0, 0)},
    };
    auto device = std::make_unique<gxtkGraphics>();
    for (const Case& c : cases) {
        device->SetAlpha(c.alpha);
        device->SetColor(c.r, c.g, c.b);
        EXPECT_EQ(device->PackedColour(), c.packed) << c.r << "," << c.alpha;
    }
}

TEST(BatchTest, ColourAndTransformChangesStayInOneBatch) {
    auto device = std::make_unique<gxtkGraphics>();
    device->SetAlpha(1);
    device->SetColor(255, 0, 0);
    device->DrawRect(0, 0, 1, 1);
    device->SetColor(0, 255, 0);
    device->SetMatrix(2, 0, 0, 2, 10, 10);
    device->DrawRect(0, 0, 1, 1);
    const auto v = device->PendingVertices();
    ASSERT_EQ(v.size(), 8u);
    EXPECT_EQ(v[0].colour, Bytes(255, 0, 0, 255));
    EXPECT_EQ(v[4].colour, Bytes(0, 255, 0, 255));
    EXPECT_FLOAT_EQ(v[2].x, 1);
    EXPECT_FLOAT_EQ(v[6].x, 12);
    EXPECT_FLOAT_EQ(v[6].y, 12);
    EXPECT_EQ(device->Stats().TotalFlushes(), 0);
    device->DiscardBatch();
}

TEST(BatchTest, PointsAndLinesSitOnPixelCentres) {
    auto device = std::make_unique<gxtkGraphics>();
    device->SetMatrix(1, 0, 0, 1, 5, 0);
    device->DrawPoint(1, 2);
    auto v = device->PendingVertices();
    ASSERT_EQ(v.size(), 1u);
    EXPECT_FLOAT_EQ(v[0].x, 6.5f);
    EXPECT_FLOAT_EQ(v[0].y, 2.5f);
    device->DiscardBatch();
    device->DrawLine(0, 0, 3, 4);
    v = device->PendingVertices();
    ASSERT_EQ(v.size(), 2u);
    EXPECT_FLOAT_EQ(v[1].x, 8.5f);
    EXPECT_FLOAT_EQ(v[1].y, 4.5f);
    EXPECT_EQ(device->BatchKind(), 2);
    device->DiscardBatch();
}

TEST(BatchTest, OvalSegmentCount) {
    struct Case {
        float w, h;
        float scale;
        int segments;
    } cases[] = {
        {4, 4, 1, 12},    {2000, 2000, 1, 1024}, {30, 20, 1, 24},      {0, 0, 1, 12},
        {-30, 20, 1, 24}, {30, 20, 2, 48},       {100, 100, 0.1f, 12}, {26, 26, 1, 24},
    };
    for (const Case& c : cases) {
        auto device = std::make_unique<gxtkGraphics>();
        device->SetMatrix(c.scale, 0, 0, c.scale, 0, 0);
        device->DrawOval(0, 0, c.w, c.h);
        EXPECT_EQ(device->BatchKind(), c.segments) << c.w << "x" << c.h << " at " << c.scale;
        EXPECT_EQ(device->BatchCount(), c.segments);
        device->DiscardBatch();
    }
}

TEST(BatchTest, OvalVerticesGoRoundTheCentreCounterClockwiseOnScreen) {
    auto device = std::make_unique<gxtkGraphics>();
    device->DrawOval(10, 20, 30, 20); // centre (25, 30), radii 15 and 10, 24 segments
    const auto v = device->PendingVertices();
    ASSERT_EQ(v.size(), 24u);
    EXPECT_FLOAT_EQ(v[0].x, 40);
    EXPECT_FLOAT_EQ(v[0].y, 30);
    EXPECT_NEAR(v[6].x, 25, 1e-4);
    EXPECT_NEAR(v[6].y, 20, 1e-4); // a quarter turn goes up the screen
    device->DiscardBatch();
}

TEST(BatchTest, PolygonLimits) {
    auto device = std::make_unique<gxtkGraphics>();
    std::vector<float> none;
    std::vector<float> tooMany(2050, 1.0f);
    device->DrawPoly(none);
    device->DrawPoly(tooMany);
    device->DrawPoly(std::vector<float>{1}); // half a point
    EXPECT_EQ(device->BatchCount(), 0);
    EXPECT_EQ(device->Stats().primitives, 0);

    std::vector<float> maxPoly(2048, 2.0f);
    device->DrawPoly(maxPoly);
    EXPECT_EQ(device->BatchCount(), 1024);
    EXPECT_EQ(device->BatchKind(), 1024);
    device->DiscardBatch();

    const struct { int points, kind; } kinds[] = {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {7, 7}};
    for (const auto& k : kinds) {
        std::vector<float> xy(static_cast<size_t>(k.points) * 2, 0.0f);
        device->DrawPoly(xy);
        EXPECT_EQ(device->BatchKind(), k.kind);
        device->DiscardBatch();
    }
}

TEST(BatchTest, DrawingAllocatesNothing) {
    auto device = std::make_unique<gxtkGraphics>();
    auto surface = SolidSurface(16, 16, 4);
    const float poly[10] = {0, 0, 4, 0, 4, 4, 2, 6, 0, 4};
    const long before = g_allocations.load();
    for (int i = 0; i < 50; ++i) {
        device->SetColor(static_cast<float>(i), 0, 0);
        device->SetMatrix(1, 0, 0, 1, static_cast<float>(i), 0);
        device->DrawSurface2(surface.get(), 0, 0, 0, 0, 8, 8);
        device->DiscardBatch();
        device->DrawRect(0, 0, 2, 2);
        device->DiscardBatch();
        device->DrawOval(0, 0, 40, 40);
        device->DiscardBatch();
        device->DrawPoly(poly);
        device->DiscardBatch();
    }
    EXPECT_EQ(g_allocations.load() - before, 0);
}

TEST(SurfaceTest, CpuCopyIsPremultipliedByDepth) {
    struct Case {
        int depth;
        std::uint32_t rgba;
        std::vector<int> stored;
    } cases[] = {
        {4, 0xc8643280u, {100, 50, 25, 128}},
        {2, 0xc80000ffu, {200, 255}},
        {2, 0xc8000080u, {100, 128}},
        {3, 0xc86432ffu, {200, 100, 50}},
        {1, 0xc8000000u, {200}},
    };
    for (const Case& c : cases) {
        auto surface = SolidSurface(3, 2, c.depth, c.rgba);
        ASSERT_NE(surface->Data(), nullptr);
        for (int i = 0; i < c.depth; ++i)
            EXPECT_EQ(surface->Data()[5 * c.depth + i], c.stored[static_cast<size_t>(i)])
                << "depth " << c.depth << " byte " << i;
    }
    EXPECT_EQ(SolidSurface(1, 1, 1)->Format(), static_cast<GLenum>(GL_LUMINANCE));
    EXPECT_EQ(SolidSurface(1, 1, 2)->Format(), static_cast<GLenum>(GL_LUMINANCE_ALPHA));
    EXPECT_EQ(SolidSurface(1, 1, 3)->Format(), static_cast<GLenum>(GL_RGB));
    EXPECT_EQ(SolidSurface(1, 1, 4)->Format(), static_cast<GLenum>(GL_RGBA));
}

TEST(SurfaceTest, SubDataWritesPremultipliedBytesIntoTheCpuCopy) {
    gxtkSurface surface;
    surface.SetData(gxtkPixels(), 4, 3, 4); // no pixels yet, as a created surface
    const unsigned int src[4] = {0x80c86432u, 0xff102030u, 0u, 0u};
    surface.SetSubData(1, 1, 2, 2, src, 2);
    ASSERT_NE(surface.Data(), nullptr);
    const unsigned char* row1 = surface.Data() + 4 * 4;
    EXPECT_EQ(row1[4], 100);
    EXPECT_EQ(row1[5], 50);
    EXPECT_EQ(row1[6], 25);
    EXPECT_EQ(row1[7], 128);
    EXPECT_EQ(row1[8], 0x10);
    EXPECT_EQ(row1[11], 255);
    EXPECT_EQ(row1[0], 0); // untouched pixels start cleared

    // Rectangles outside the picture and surfaces of other formats are left alone.
    surface.SetSubData(3, 2, 2, 2, src, 2);
    EXPECT_EQ(surface.Data()[(2 * 4 + 3) * 4 + 3], 0);
    auto rgb = SolidSurface(2, 2, 3, 0x000000ffu);
    rgb->SetSubData(0, 0, 1, 1, src, 1);
    EXPECT_EQ(rgb->Data()[0], 0);
}

TEST(SurfaceTest, PowerOfTwoSizes) {
    const int cases[][2] = {{0, 1},   {1, 1},   {2, 2},     {3, 4},
                            {60, 64}, {64, 64}, {100, 128}, {1025, 2048}};
    for (const auto& c : cases)
        EXPECT_EQ(gxtk_PowerOfTwoAtLeast(c[0]), c[1]) << c[0];
}

} // namespace
