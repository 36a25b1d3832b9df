// The renderer in a real OpenGL context: pixels, batching and flushes, scissor, textures across a
// new context, the power-of-two retry, opaque pictures drawn without blending, and pictures in
// plain white drawn by the texel-only program, white masks drawn from copies in their colours.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "graphics/graphics_test_support.h"
#include "graphics/gxtk_graphics.h"
#include "graphics/gxtk_tinted_copy.h"

namespace {

using graphics_test::GlWindow;
using graphics_test::PaintedSurface;
using graphics_test::SolidSurface;

constexpr int kWidth = 160;
constexpr int kHeight = 120;

class RendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<GlWindow>(kWidth, kHeight);
        device = std::make_unique<gxtkGraphics>();
        StartFrame();
    }

    void StartFrame() {
        ASSERT_EQ(device->BeginRender(), 1);
        device->SetColor(255, 255, 255);
        device->SetAlpha(1);
        device->SetBlend(0);
        device->SetScissor(0, 0, device->Width(), device->Height());
        device->SetMatrix(1, 0, 0, 1, 0, 0);
        device->Cls(0, 0, 0);
    }

    int Pixel(int x, int y) { return graphics_test::ReadPixel(*device, x, y); }

    std::unique_ptr<GlWindow> window;
    std::unique_ptr<gxtkGraphics> device;
};

TEST_F(RendererTest, RectangleLandsOnItsPixelsInPremultipliedColour) {
    EXPECT_EQ(device->Width(), kWidth);
    EXPECT_EQ(device->Height(), kHeight);
    device->SetColor(255, 128, 0);
    device->SetAlpha(0.5f);
    device->DrawRect(10, 20, 30, 40);
    device->EndRender();
    const int colour = 0x7f4000; // (127, 64, 0) blended onto black
    EXPECT_EQ(Pixel(10, 20), colour);
    EXPECT_EQ(Pixel(39, 59), colour);
    graphics_test::ExpectPixels(*device, {
                                             {9, 20, 0},
                                             {10, 19, 0},
                                             {40, 59, 0},
                                             {39, 60, 0},
                                         });
}

TEST_F(RendererTest, ReadPixelsFlipsRowsIntoPlace) {
    device->SetColor(255, 0, 0);
    device->DrawRect(0, 0, 4, 1);
    device->SetColor(0, 0, 255);
    device->DrawRect(0, 1, 4, 1);
    std::vector<int> pixels(3 * 8, 0);
    device->ReadPixels(pixels, 1, 0, 2, 3, 1, 8);
    EXPECT_EQ(device->Stats().Flushes(gxtkFlushCause::ReadPixels), 1);
    EXPECT_EQ(static_cast<unsigned>(pixels[1]), 0xffff0000u);
    EXPECT_EQ(static_cast<unsigned>(pixels[2]), 0xffff0000u);
    EXPECT_EQ(static_cast<unsigned>(pixels[9]), 0xff0000ffu);
    EXPECT_EQ(static_cast<unsigned>(pixels[17]), 0xff000000u);
    EXPECT_EQ(pixels[0], 0);
    EXPECT_EQ(pixels[3], 0);
}

TEST_F(RendererTest, TwoHundredFiftySevenRectanglesMakeTwoDrawCalls) {
    for (int i = 0; i < 257; ++i)
        device->DrawRect(static_cast<float>(i % 100), 0, 1, 1);
    device->EndRender();
    const gxtkFrameStats& stats = device->Stats();
    EXPECT_EQ(stats.drawCalls, 2);
    EXPECT_EQ(stats.vertices, 1028);
    EXPECT_EQ(stats.Flushes(gxtkFlushCause::Overflow), 1);
    EXPECT_EQ(stats.Flushes(gxtkFlushCause::EndRender), 1);
    EXPECT_EQ(stats.TotalFlushes(), 2);
}

TEST_F(RendererTest, SurfaceChangeFlushesButColourChangeDoesNot) {
    auto white = SolidSurface(8, 8, 4);
    auto grey = SolidSurface(8, 8, 4, 0x808080ffu);
    device->SetColor(255, 0, 0);
    device->DrawSurface(white.get(), 0, 0);
    device->SetColor(0, 255, 0);
    device->DrawSurface(white.get(), 8, 0);
    EXPECT_EQ(device->Stats().TotalFlushes(), 0);
    EXPECT_EQ(device->BatchCount(), 8);

    device->SetColor(255, 255, 255);
    device->DrawSurface(grey.get(), 16, 0);
    EXPECT_EQ(device->Stats().Flushes(gxtkFlushCause::SurfaceChange), 1);
    device->DrawRect(24, 0, 8, 8); // untextured: another change of surface
    EXPECT_EQ(device->Stats().Flushes(gxtkFlushCause::SurfaceChange), 2);
    device->DrawPoint(40, 0);
    EXPECT_EQ(device->Stats().Flushes(gxtkFlushCause::KindChange), 1);
    device->EndRender();
    EXPECT_EQ(device->Stats().drawCalls, 4);

    graphics_test::ExpectPixels(*device, {
                                             {3, 3, 0xff0000},
                                             {11, 3, 0x00ff00},
                                             {19, 3, 0x808080},
                                             {27, 3, 0xffffff},
                                             {40, 0, 0xffffff},
                                         });
}

TEST_F(RendererTest, BlendScissorAndClsFlushOrDrop) {
    device->DrawRect(0, 0, 10, 10);
    device->Cls(0, 0, 0);
    EXPECT_EQ(device->BatchCount(), 0);
    EXPECT_EQ(device->Stats().droppedVertices, 4);
    device->EndRender();
    EXPECT_EQ(Pixel(5, 5), 0);
    EXPECT_EQ(device->Stats().drawCalls, 0);

    device->DrawRect(0, 0, 10, 10);
    device->SetBlend(1);
    device->SetColor(0, 0, 255);
    device->DrawRect(0, 0, 10, 10); // added on top of the white
    device->SetScissor(0, 0, 5, 5);
    device->EndRender();
    EXPECT_EQ(device->Stats().Flushes(gxtkFlushCause::Blend), 1);
    EXPECT_EQ(device->Stats().Flushes(gxtkFlushCause::Scissor), 1);
    EXPECT_EQ(Pixel(5, 5), 0xffffff);
}

TEST_F(RendererTest, AWholeWindowClearWaitsAndTheNextOneReplacesIt) {
    // The frame began with a clear to black: this one replaces it, and goes out once the
    // scissored clear needs the window's pixels.
    device->Cls(200, 0, 0);
    device->SetScissor(10, 10, 20, 20);
    device->Cls(0, 0, 255);
    device->SetScissor(0, 0, device->Width(), device->Height());
    device->EndRender();
    EXPECT_EQ(device->Stats().clears, 2);
    graphics_test::ExpectPixels(*device,
                                {{0, 0, 0xc80000}, {15, 15, 0x0000ff}, {35, 15, 0xc80000}});
}

TEST_F(RendererTest, ScissorRunsDownwardFromTheTopOfTheWindow) {
    device->SetScissor(10, 20, 30, 40);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(box[0], 10);
    EXPECT_EQ(box[1], kHeight - 20 - 40);
    EXPECT_EQ(box[2], 30);
    EXPECT_EQ(box[3], 40);

    device->DrawRect(0, 0, kWidth, kHeight);
    device->SetScissor(0, 0, kWidth, kHeight);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    graphics_test::ExpectPixels(*device, {
                                             {10, 20, 0xffffff},
                                             {39, 59, 0xffffff},
                                             {9, 20, 0},
                                             {10, 19, 0},
                                             {40, 30, 0},
                                             {20, 60, 0},
                                         });

    device->SetScissor(5, 5, -3, 10); // a negative size clips everything
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RendererTest, TexturedQuadsShowTheirSourceRectangle) {
    // Left half red, right half blue, a transparent top row.
    auto surface = PaintedSurface(8, 4, [](int x, int y) -> std::uint32_t {
        if (y == 0)
            return 0;
        return x < 4 ? 0xff0000ffu : 0x0000ffffu;
    });
    device->DrawSurface2(surface.get(), 20, 20, 4, 0, 4, 4);
    device->DrawSurface2(surface.get(), 40, 20, 0, 0, 4, 4);
    device->EndRender();
    graphics_test::ExpectPixels(*device, {
                                             {21, 22, 0x0000ff},
                                             {41, 22, 0xff0000},
                                             {41, 20, 0}, // transparent pixels leave the black
                                         });
}

TEST_F(RendererTest, TexturesAreMadeAgainForANewContext) {
    auto surface = SolidSurface(4, 4, 4, 0x20c040ffu);
    device->DrawSurface(surface.get(), 8, 8);
    device->EndRender();
    EXPECT_EQ(Pixel(9, 9), 0x20c040);
    const int firstSeq = surface->TextureSeq();

    // The host destroys the window and makes another: a new context, the old texture is gone.
    window.reset();
    window = std::make_unique<GlWindow>(kWidth, kHeight);
    StartFrame();
    EXPECT_NE(surface->TextureSeq(), -1);
    device->DrawSurface(surface.get(), 8, 8);
    device->EndRender();
    EXPECT_EQ(surface->TextureSeq(), firstSeq + 1);
    EXPECT_EQ(Pixel(9, 9), 0x20c040);
}

TEST_F(RendererTest, ASurfaceLeavingMidBatchIsDrawnFirst) {
    auto discarded = SolidSurface(4, 4, 4, 0x00ff00ffu);
    device->DrawSurface(discarded.get(), 0, 0);
    discarded->Discard();
    EXPECT_EQ(device->BatchCount(), 0);
    auto destroyed = SolidSurface(4, 4, 4, 0x0000ffffu);
    device->DrawSurface(destroyed.get(), 8, 0);
    destroyed.reset();
    EXPECT_EQ(device->BatchCount(), 0);
    device->DrawRect(16, 0, 4, 4);
    device->EndRender();
    EXPECT_EQ(device->Stats().drawCalls, 3);
    graphics_test::ExpectPixels(*device, {{1, 1, 0x00ff00}, {9, 1, 0x0000ff}, {17, 1, 0xffffff}});
}

TEST_F(RendererTest, WritePixelsUpdatesTheTexture) {
    auto surface = device->CreateSurface(4, 4);
    std::vector<int> pixels(16, static_cast<int>(0xff00ff00u));
    device->WritePixels2(surface.get(), pixels, 0, 0, 4, 4, 0, 4);
    pixels[5] = static_cast<int>(0xffff0000u);
    device->WritePixels2(surface.get(), pixels, 1, 1, 1, 1, 5, 4);
    device->DrawSurface(surface.get(), 0, 0);
    device->EndRender();
    graphics_test::ExpectPixels(*device, {
                                             {0, 0, 0x00ff00},
                                             {1, 1, 0xff0000},
                                             {2, 1, 0x00ff00},
                                         });
}

TEST_F(RendererTest, AnOpaquePictureDrawsAsTheSamePictureWithBlending) {
    // Twins with the same texels, but the second has a transparent column beyond them, which
    // keeps it on the blending path.
    auto texel = [](int x, int y) -> std::uint32_t {
        return 0x20c040ffu + (static_cast<std::uint32_t>(x * 50) << 24) +
               (static_cast<std::uint32_t>(y * 20) << 8);
    };
    auto opaque = PaintedSurface(4, 4, texel);
    auto blended = PaintedSurface(5, 4, [&](int x, int y) { return x < 4 ? texel(x, y) : 0u; });
    ASSERT_TRUE(opaque->Opaque());
    ASSERT_FALSE(blended->Opaque());
    struct Mode {
        float alpha;
        int blend;
    };
    const Mode modes[] = {{1, 0}, {0.5f, 0}, {1, 1}, {0.25f, 1}};
    for (int m = 0; m < 4; ++m) {
        const float y = static_cast<float>(m * 8);
        device->SetBlend(0);
        device->SetAlpha(1);
        device->SetColor(100, 90, 80);
        device->DrawRect(0, y, 16, 4);
        device->SetColor(255, 255, 255);
        device->SetAlpha(modes[m].alpha);
        device->SetBlend(modes[m].blend);
        device->DrawSurface(opaque.get(), 0, y);
        device->DrawSurface2(blended.get(), 8, y, 0, 0, 4, 4);
    }
    // A translucent rectangle after them still blends.
    device->SetBlend(0);
    device->SetColor(0, 0, 255);
    device->SetAlpha(0.5f);
    device->DrawRect(0, 40, 4, 4);
    device->EndRender();
    for (int m = 0; m < 4; ++m)
        for (int j = 0; j < 4; ++j)
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(Pixel(i, m * 8 + j), Pixel(8 + i, m * 8 + j))
                    << "mode " << m << " texel " << i << "," << j;
    EXPECT_EQ(Pixel(3, 2), static_cast<int>(texel(3, 2) >> 8));
    EXPECT_EQ(Pixel(1, 41), 0x00007f);
}

TEST_F(RendererTest, APictureInPlainWhiteLooksTheSameWhicheverWayItIsDrawn) {
    // Texels of every alpha, premultiplied, over a coloured background.
    auto picture = PaintedSurface(16, 4, [](int x, int y) -> std::uint32_t {
        const auto alpha = static_cast<std::uint32_t>(x * 17);
        return (0xf0u - static_cast<std::uint32_t>(y * 50)) << 24 | 0x80u << 16 |
               static_cast<std::uint32_t>(y * 60) << 8 | alpha;
    });
    device->SetColor(100, 90, 80);
    device->DrawRect(0, 0, 40, 12);
    // Alone in its batch and in plain white, the texel is the colour: the texel-only program.
    device->SetColor(255, 255, 255);
    device->DrawSurface(picture.get(), 0, 0);
    device->DrawRect(60, 0, 1, 1);
    // In a batch that also holds a tinted draw: the fixed-function pipeline.
    device->DrawSurface(picture.get(), 0, 8);
    device->SetColor(250, 250, 250);
    device->DrawSurface(picture.get(), 20, 8);
    device->EndRender();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(Pixel(x, y), Pixel(x, 8 + y)) << "texel " << x << "," << y;
    EXPECT_EQ(Pixel(0, 0), 0x645a50);  // alpha 0 leaves the background
    EXPECT_EQ(Pixel(15, 0), 0xf08000); // alpha 255 is the texel
}

// A white mask with ink in a pattern, every third column of cells left clear, which the copy
// leaves out. Its twin has the same texels and one grey texel beyond them, which makes it no white
// mask: drawn through the fixed-function pipeline, it gives the look the copy must give.
constexpr int kCell = gxtkTintedCopy::kCell;

std::shared_ptr<gxtkSurface> Mask(int width, int height, bool twin) {
    return PaintedSurface(width + (twin ? 1 : 0), height, [=](int x, int y) -> std::uint32_t {
        if (x >= width)
            return 0x80808080u;
        return (x / kCell) % 3 != 1 && (x * 3 + y * 5) % 7 < 3 ? 0xffffffffu : 0u;
    });
}

struct Tint {
    float r, g, b, alpha;
    int blend;
};

class TintedCopyTest : public RendererTest {
protected:
    // The window after `draw` ran in a frame of its own over a clear of (100, 90, 80).
    std::vector<int> Drawn(const std::function<void()>& draw) {
        StartFrame();
        blend = 0;
        device->Cls(100, 90, 80);
        draw();
        device->EndRender();
        std::vector<int> pixels(static_cast<std::size_t>(kWidth) * kHeight);
        device->ReadPixels(pixels, 0, 0, kWidth, kHeight, 0, kWidth);
        return pixels;
    }

    // The colour and alpha; the blend only when it changes, since a change ends the batch.
    void Use(const Tint& tint) {
        device->SetColor(tint.r, tint.g, tint.b);
        device->SetAlpha(tint.alpha);
        if (tint.blend != blend)
            device->SetBlend(tint.blend);
        blend = tint.blend;
    }

    // Something drawn since the clear.
    void Green(float x, float y, float w, float h) {
        Use({0, 255, 0, 1, 0});
        device->DrawRect(x, y, w, h);
    }

    // The mask's own texels of `picture`, at (x, y): the twin's grey one left out.
    void DrawMask(gxtkSurface* picture, int maskWidth, float x, float y) {
        device->DrawSurface2(picture, x, y, 0, 0, maskWidth, picture->Height());
    }

    int blend = 0;
};

TEST_F(TintedCopyTest, ALargeMaskLooksTheSameFromItsCopyInEachColourInTurn) {
    auto mask = Mask(18 * kCell, 240, false);
    auto twin = Mask(18 * kCell, 240, true);
    ASSERT_NE(mask->TintedCopy(), nullptr);
    ASSERT_EQ(mask->TintedCopy()->Layers(), 1);
    ASSERT_EQ(twin->TintedCopy(), nullptr);
    // One after another from the one layer, so each fills it again.
    const Tint tints[] = {
        {90, 0, 180, 1, 0}, {0, 0, 0, 1, 0}, {180, 180, 0, 0.5f, 0}, {90, 180, 90, 1, 1}};
    for (int t = 0; t < 4; ++t) {
        auto draw = [&](gxtkSurface* picture) {
            return Drawn([&] {
                Green(10, 30, 40, 3); // under ink and under clear texels
                Use(tints[t]);
                // The whole picture and a part of it over it, in one batch.
                DrawMask(picture, 18 * kCell, 0, 0);
                device->DrawSurface2(picture, 100, 70, 5, 1, 41, 30);
            });
        };
        const std::vector<int> fromCopy = draw(mask.get());
        EXPECT_EQ(device->Stats().tintedBatches, 1);
        EXPECT_EQ(device->Stats().backedBatches, 0);
        EXPECT_EQ(fromCopy, draw(twin.get())) << "tint " << t;
        if (t == 0) {
            EXPECT_EQ(fromCopy[0] & 0xffffff, 0x5a00b4); // an opaque texel is the colour
            EXPECT_EQ(fromCopy[1] & 0xffffff, 0x645a50); // a clear one leaves the clear
        }
    }
}

TEST_F(TintedCopyTest, ASmallMaskKeepsItsColoursAndDrawsABatchOfSeveralFromThem) {
    auto mask = Mask(3 * kCell, 8, false);
    auto twin = Mask(3 * kCell, 8, true);
    ASSERT_EQ(mask->TintedCopy()->Layers(), gxtkTintedCopy::kSmallLayers);
    // Lines of the mask in `count` colours, one batch, then a rectangle that ends it.
    auto lines = [&](gxtkSurface* picture, int count, float y) {
        for (int i = 0; i < count; ++i) {
            const auto shade = static_cast<float>(i * 25);
            Use({shade, 200 - shade, 90, i % 3 == 2 ? 0.5f : 1.0f, 0});
            device->DrawSurface2(picture, static_cast<float>(i * 3), y + static_cast<float>(i * 3),
                                 2, 1, 40, 6);
        }
        Use({1, 2, 3, 1, 0});
        device->DrawRect(159, 119, 1, 1);
    };
    const int many = gxtkTintedCopy::kSmallLayers + 2;
    auto draw = [&](gxtkSurface* picture) {
        return Drawn([&] {
            Green(0, 12, 40, 3);
            lines(picture, 3, 0);
            // More colours than the copy keeps: the fixed-function pipeline.
            lines(picture, many, 40);
            // The first three again, from the layers they were given.
            lines(picture, 3, 90);
        });
    };
    const std::vector<int> fromCopy = draw(mask.get());
    EXPECT_EQ(device->Stats().tintedBatches, 2);
    EXPECT_EQ(fromCopy, draw(twin.get()));
}

TEST_F(TintedCopyTest, AMaskWhoseLayersTheDriverRefusesIsDrawnTheOrdinaryWay) {
    // Small enough to keep several colours, too tall for the driver to stack them.
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    const int height = largest / gxtkTintedCopy::kSmallLayers + 1;
    const int width = gxtkTintedCopy::kSmallTexels / height;
    ASSERT_GT(width, 0);
    auto mask = Mask(width, height, false);
    auto twin = Mask(width, height, true);
    ASSERT_EQ(mask->TintedCopy()->Layers(), gxtkTintedCopy::kSmallLayers);
    auto draw = [&](gxtkSurface* picture) {
        return Drawn([&] {
            Use({90, 0, 180, 1, 0});
            DrawMask(picture, width, 0, 0);
            Use({0, 90, 180, 1, 0});
            DrawMask(picture, width, 20, 0);
        });
    };
    const std::vector<int> drawn = draw(mask.get());
    EXPECT_EQ(device->Stats().tintedBatches, 0);
    EXPECT_EQ(drawn, draw(twin.get()));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TintedCopyTest, AMaskOverTheClearedColourAloneIsDrawnOpaqueWithTheSamePixels) {
    // Tall enough to keep one colour, and so to be cut down to its inked cells.
    const int tall = gxtkTintedCopy::kSmallTexels / (3 * kCell) + 1;
    auto large = Mask(3 * kCell, tall, false);
    auto largeTwin = Mask(3 * kCell, tall, true);
    auto small = Mask(3 * kCell, 4, false);
    auto smallTwin = Mask(3 * kCell, 4, true);
    ASSERT_EQ(large->TintedCopy()->Layers(), 1);
    const auto middle = static_cast<float>(kCell + kCell / 2);
    struct Case {
        const char* name;
        bool small;
        float greenX; // where a green square lies under the mask's top row, if anywhere
        bool twice;   // a second quad of the mask in the batch, over the first
        int backed;
    };
    const Case cases[] = {
        {"green in the clear middle cell: the copy may still replace the pixels", false, middle,
         false, 1},
        {"green under an inked cell: the copy must blend", false, 2, false, 0},
        {"two quads of one batch over each other: the second must blend over the first", false, -1,
         true, 0},
        {"a small mask sent whole over nothing but the clear", true, -1, false, 1},
        {"a small mask sent whole over green in its clear cell", true, middle, false, 0},
    };
    for (const Case& c : cases) {
        auto draw = [&](bool twin) {
            const auto& mask = c.small ? (twin ? smallTwin : small) : (twin ? largeTwin : large);
            return Drawn([&] {
                if (c.greenX >= 0)
                    Green(c.greenX, 0, 2, 2);
                Use({90, 0, 180, 1, 0});
                DrawMask(mask.get(), 3 * kCell, 0, 0);
                if (c.twice)
                    DrawMask(mask.get(), 3 * kCell, 3, 1);
            });
        };
        const std::vector<int> fromCopy = draw(false);
        EXPECT_EQ(device->Stats().tintedBatches, 1) << c.name;
        EXPECT_EQ(device->Stats().backedBatches, c.backed) << c.name;
        EXPECT_EQ(fromCopy, draw(true)) << c.name;
        if (c.backed && c.greenX >= 0) {
            EXPECT_EQ(fromCopy[kCell + kCell / 2] & 0xffffff, 0x00ff00) << c.name;
        }
    }
}

TEST_F(RendererTest, APictureGivenATranslucentTexelBlendsIt) {
    auto surface = SolidSurface(2, 1, 4, 0x20c040ffu);
    ASSERT_TRUE(surface->Opaque());
    const std::vector<int> half{static_cast<int>(0x80ffffffu)};
    device->WritePixels2(surface.get(), half, 1, 0, 1, 1, 0, 1);
    EXPECT_FALSE(surface->Opaque());
    device->SetColor(0, 0, 255);
    device->DrawRect(0, 0, 2, 1);
    device->SetColor(255, 255, 255);
    device->DrawSurface(surface.get(), 0, 0);
    device->EndRender();
    EXPECT_EQ(Pixel(0, 0), 0x20c040);
    EXPECT_EQ(Pixel(1, 0), 0x8080ff); // (128, 128, 128) at half alpha over blue
}

// A driver that only takes power-of-two textures.
void RefuseOddSizes(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                    GLint border, GLenum format, GLenum type, const void* pixels) {
    const bool pot = (width & (width - 1)) == 0 && (height & (height - 1)) == 0;
    glTexImage2D(target, level, internalFormat, pot ? width : -1, height, border, format, type,
                 pixels);
}

TEST_F(RendererTest, RefusedSizesAreRetriedAsPowersOfTwo) {
    const gxtkSurface::TexImageFn driver = gxtkSurface::texImage;
    gxtkSurface::texImage = &RefuseOddSizes;
    auto surface = PaintedSurface(
        100, 60, [](int x, int) -> std::uint32_t { return x < 50 ? 0xff0000ffu : 0x00ff00ffu; });
    surface->Bind();
    gxtkSurface::texImage = driver;
    EXPECT_FLOAT_EQ(surface->UScale(), 1.0f / 128);
    EXPECT_FLOAT_EQ(surface->VScale(), 1.0f / 64);
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    EXPECT_EQ(w, 128);
    EXPECT_EQ(h, 64);

    device->DrawSurface(surface.get(), 0, 0);
    device->EndRender();
    graphics_test::ExpectPixels(*device,
                                {
                                    {10, 30, 0xff0000},
                                    {90, 30, 0x00ff00},
                                    {101, 30, 0}, // the padding of the larger texture is not drawn
                                });
}

TEST_F(RendererTest, AnOldGlErrorIsNotTakenForARefusal) {
    glScissor(0, 0, -1, -1); // leaves GL_INVALID_VALUE pending
    auto surface = SolidSurface(100, 60, 4);
    surface->Bind();
    EXPECT_FLOAT_EQ(surface->UScale(), 1.0f / 100);
    EXPECT_FLOAT_EQ(surface->VScale(), 1.0f / 60);
}

TEST_F(RendererTest, OvalsAndPolygonsFillTheirShapes) {
    device->DrawOval(20, 20, 40, 20);
    const float fan[] = {80, 20, 100, 20, 110, 30, 100, 40, 80, 40};
    device->DrawPoly(fan);
    device->EndRender();
    graphics_test::ExpectPixels(*device, {
                                             {40, 30, 0xffffff},
                                             {21, 21, 0}, // outside the ellipse, inside its box
                                             {90, 30, 0xffffff},
                                             {108, 22, 0},
                                         });
    EXPECT_EQ(device->Stats().drawCalls, 2);
}

} // namespace
