// The drawing module over a real context: images loaded from files through the host, the default
// font, the device hooks the delegate calls, and images drawn rotated and scaled.
#include <gtest/gtest.h>

#include <stb_image_write.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>
#include <vector>

#include "graphics/graphics.h"
#include "graphics/graphics_test_support.h"
#include "host/devices.h"
#include "host/glfw_game.h"
#include "support/data_dir_host.h"

namespace fs = std::filesystem;

namespace {

using graphics_test::GlWindow;
using graphics_test::PaintedSurface;

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::path(::testing::TempDir()) / ("graphics_" + std::to_string(::getpid()));
        fs::create_directories(dir / "Graphics");
        host = std::make_unique<DataDirHost>(bb_str(dir.string()));
        window.reset();
        window = std::make_unique<GlWindow>(200, 100);
        bb_graphics_Init();
        device = std::make_unique<gxtkGraphics>();
        bb_graphics_SetGraphicsDevice(device.get());
    }
    void TearDown() override {
        bb_graphics_Init();
        fs::remove_all(dir);
    }

    // Writes a PNG of width x height RGBA pixels from fn(x, y) as 0xRRGGBBAA.
    void WritePng(const std::string& name, int width, int height,
                  const std::function<std::uint32_t(int, int)>& fn) {
        std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * 4);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 4; ++c)
                    rgba[static_cast<size_t>((y * width + x) * 4 + c)] =
                        static_cast<unsigned char>(fn(x, y) >> (24 - 8 * c));
        ASSERT_NE(stbi_write_png((dir / name).c_str(), width, height, 4, rgba.data(), width * 4),
                  0);
    }

    int Pixel(int x, int y) { return graphics_test::ReadPixel(*device, x, y); }

    fs::path dir;
    std::unique_ptr<DataDirHost> host;
    std::unique_ptr<GlWindow> window;
    std::unique_ptr<gxtkGraphics> device;
};

TEST_F(ModuleTest, ImagesLoadThroughTheHostPremultipliedAndBound) {
    WritePng("Graphics/Strip.png", 64, 16,
             [](int x, int) -> std::uint32_t { return x == 0 ? 0xc8643280u : 0xffffffffu; });
    auto strip = bb_graphics_LoadImage(u"Graphics/Strip.png", 4, c_Image::m_PaddedX);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->p_Frames(), 4);
    EXPECT_EQ(strip->p_Width(), 14);
    EXPECT_EQ(strip->m_frames[2].m_x, 33);
    gxtkSurface* surface = strip->p_Surface();
    EXPECT_EQ(surface->Depth(), 4);
    EXPECT_EQ(surface->TextureSeq(), glfwGraphicsSeq);
    EXPECT_EQ(surface->Data(), nullptr); // the texture holds the pixels, and the file

    auto grid = bb_graphics_LoadImage2(u"zibbet://data/Graphics/Strip.png", 16, 8, 8, 0);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->m_frames[5].m_x, 16);
    EXPECT_EQ(grid->m_frames[5].m_y, 8);

    std::ofstream(dir / "Graphics/Broken.png") << "not a picture";
    EXPECT_EQ(bb_graphics_LoadImage(u"Graphics/Broken.png", 1, 0), nullptr);
    EXPECT_EQ(bb_graphics_LoadImage(u"Graphics/Missing.png", 1, 0), nullptr);
    EXPECT_EQ(bb_graphics_LoadImage2(u"Graphics/Missing.png", 8, 8, 1, 0), nullptr);

    // Split loading as the loader threads do it: decode anywhere, texture on the main thread.
    auto split = std::make_shared<gxtkSurface>();
    ASSERT_TRUE(device->LoadSurface__UNSAFE__(split.get(), u"zibbet://data/Graphics/Strip.png"));
    EXPECT_EQ(split->TextureSeq(), -1);
    ASSERT_NE(split->Data(), nullptr);
    EXPECT_EQ(split->Data()[0], 100);
    EXPECT_EQ(split->Data()[3], 128);
    split->OnUnsafeLoadComplete();
    EXPECT_EQ(split->TextureSeq(), glfwGraphicsSeq);
    EXPECT_FALSE(device->LoadSurface__UNSAFE__(split.get(), u"zibbet://data/nothing.png"));
}

TEST_F(ModuleTest, APictureFromAFileIsDecodedAgainForANewContextAndForAWrite) {
    WritePng("Graphics/Two.png", 8, 4,
             [](int x, int) -> std::uint32_t { return x < 4 ? 0xff0000ffu : 0x0000ffffu; });
    auto image = bb_graphics_LoadImage(u"Graphics/Two.png", 1, 0);
    ASSERT_NE(image, nullptr);
    gxtkSurface& surface = *image->p_Surface();
    ASSERT_EQ(surface.Data(), nullptr);
    auto draw = [&](c_Image* picture) {
        device->BeginRender();
        bb_graphics_BeginRender();
        bb_graphics_Cls(0, 0, 0);
        bb_graphics_DrawImage(picture, 10, 10, 0);
        bb_graphics_EndRender();
        device->EndRender();
    };

    // The host makes its window again: the texture is made from the file once more.
    window.reset();
    window = std::make_unique<GlWindow>(200, 100);
    draw(image.get());
    graphics_test::ExpectPixels(*device, {{11, 11, 0xff0000}, {15, 11, 0x0000ff}});
    EXPECT_EQ(surface.Data(), nullptr);

    // A write changes one pixel and keeps the file's others; the pixels are the surface's own
    // from then on, and the next context gets them, not the file's.
    const std::vector<int> green(1, static_cast<int>(0xff00ff00u));
    device->WritePixels2(&surface, green, 0, 0, 1, 1, 0, 1);
    window.reset();
    window = std::make_unique<GlWindow>(200, 100);
    draw(image.get());
    graphics_test::ExpectPixels(*device,
                                {{10, 10, 0x00ff00}, {11, 11, 0xff0000}, {15, 11, 0x0000ff}});

    // A file gone by the time a new context needs it leaves the picture blank, and says so.
    auto lost = bb_graphics_LoadImage(u"Graphics/Two.png", 1, 0);
    ASSERT_NE(lost, nullptr);
    fs::remove(dir / "Graphics/Two.png");
    window.reset();
    window = std::make_unique<GlWindow>(200, 100);
    testing::internal::CaptureStdout();
    draw(lost.get());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Can't load 'zibbet://data/Graphics/Two.png' again: the picture is left blank\n");
    EXPECT_EQ(Pixel(11, 11), 0);
}

TEST_F(ModuleTest, AWhiteMaskMakesItsOwnTextureOnlyForADrawThatNeedsItFromItsCopy) {
    // Ink in a checker of 2 x 2 blocks; the file is gone before any draw needs the pixels.
    WritePng("Graphics/Mask.png", 8, 4, [](int x, int y) -> std::uint32_t {
        return (x / 2 + y / 2) % 2 ? 0xffffffffu : 0x00000000u;
    });
    auto image = bb_graphics_LoadImage(u"Graphics/Mask.png", 1, 0);
    ASSERT_NE(image, nullptr);
    gxtkSurface& surface = *image->p_Surface();
    ASSERT_NE(surface.TintedCopy(), nullptr);
    EXPECT_EQ(surface.TextureSeq(), -1);
    EXPECT_EQ(surface.Data(), nullptr);
    fs::remove(dir / "Graphics/Mask.png");
    auto draw = [&](float scale) {
        device->BeginRender();
        bb_graphics_BeginRender();
        bb_graphics_Cls(0, 0, 0);
        bb_graphics_SetColor(0, 255, 0);
        bb_graphics_DrawImage2(image.get(), 10, 10, 0, scale, scale, 0);
        bb_graphics_EndRender();
        device->EndRender();
    };

    // At its own size in a colour: from the copy, still without a texture of its own.
    draw(1);
    graphics_test::ExpectPixels(*device, {{12, 10, 0x00ff00}, {10, 10, 0}});
    EXPECT_EQ(surface.TextureSeq(), -1);

    // Scaled: its own texture, from the copy's pixels, the file not needed.
    testing::internal::CaptureStdout();
    draw(2);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_NE(surface.TextureSeq(), -1);
    graphics_test::ExpectPixels(*device, {{15, 11, 0x00ff00}, {11, 11, 0}, {23, 15, 0}});
}

TEST_F(ModuleTest, DefaultFontIsLoadedOnceWhenPresent) {
    bb_graphics_SetFont(nullptr, 40);
    EXPECT_EQ(bb_graphics_context->m_font, nullptr);
    EXPECT_EQ(bb_graphics_context->m_firstChar, 32);

    WritePng("plim_font.png", 96 * 8, 10, [](int, int) -> std::uint32_t { return 0xffffffffu; });
    bb_graphics_SetFont(nullptr, 40);
    c_Image* font = bb_graphics_context->m_font;
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->p_Frames(), 96);
    EXPECT_EQ(font->p_Width(), 6);
    c_Image other;
    bb_graphics_SetFont(&other, 65);
    EXPECT_EQ(bb_graphics_context->m_font, &other);
    EXPECT_EQ(bb_graphics_context->m_firstChar, 65);
    bb_graphics_SetFont(nullptr, 0);
    EXPECT_EQ(bb_graphics_context->m_font, font);
}

TEST_F(ModuleTest, DeviceHooksCreateTheRendererAndFrameTheDrawing) {
    const BBDeviceHooks saved = bb_app_deviceHooks;
    bb_graphics_Init();
    bb_graphics_InstallDevice();
    ASSERT_NE(bb_app_deviceHooks.createGraphics, nullptr);
    std::unique_ptr<BBGraphicsDevice> created = bb_app_deviceHooks.createGraphics();
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(static_cast<BBGraphicsDevice*>(bb_graphics_device), created.get());
    EXPECT_EQ(bb_graphics_device->Width(), 200);

    bb_graphics_Translate(5, 5);
    bb_graphics_SetColor(1, 2, 3);
    EXPECT_EQ(created->BeginRender(), 1);
    bb_app_deviceHooks.beginFrame();
    EXPECT_EQ(bb_graphics_renderDevice, bb_graphics_device);
    const c_GraphicsContext& gc = *bb_graphics_context;
    EXPECT_EQ(gc.m_transformed, 0);
    EXPECT_FLOAT_EQ(gc.m_red, 255);
    EXPECT_FLOAT_EQ(gc.m_alpha, 1);
    EXPECT_FLOAT_EQ(gc.m_scissorWidth, 200);
    EXPECT_FLOAT_EQ(gc.m_scissorHeight, 100);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    bb_graphics_DrawRect(0, 0, 10, 10);
    bb_app_deviceHooks.endFrame();
    EXPECT_EQ(bb_graphics_renderDevice, nullptr);
    bb_graphics_DrawRect(0, 0, 10, 10); // outside a frame: skipped
    created->EndRender();
    EXPECT_EQ(Pixel(5, 5), 0xffffff);
    EXPECT_EQ(bb_graphics_device->Stats().drawCalls, 1);
    bb_graphics_Init();
    bb_app_deviceHooks = saved;
}

TEST_F(ModuleTest, RotatedAndScaledImagesTurnAboutTheirHandle) {
    // A 10 x 4 frame: left half red, right half green.
    auto image = c_Image::m_new();
    image->p_Init(
        PaintedSurface(
            10, 4, [](int x, int) -> std::uint32_t { return x < 5 ? 0xff0000ffu : 0x00ff00ffu; }),
        1, c_Image::m_CentreHandle);
    EXPECT_TRUE(image->m_flags & c_Image::m_WholeSurface);
    device->BeginRender();
    bb_graphics_BeginRender();
    bb_graphics_Cls(0, 0, 0);
    bb_graphics_DrawImage2(image.get(), 50, 50, 0, 2, 2, 0);   // 20 x 8 centred on (50, 50)
    bb_graphics_DrawImage2(image.get(), 150, 50, 90, 1, 1, 0); // red half now below the handle
    bb_graphics_DrawImage(image.get(), 100, 10, 0);
    bb_graphics_EndRender();
    device->EndRender();
    EXPECT_EQ(bb_graphics_context->m_matrixSp, 0);
    graphics_test::ExpectPixels(*device, {
                                             {41, 47, 0xff0000},
                                             {58, 52, 0x00ff00},
                                             {39, 50, 0},
                                             {60, 50, 0},
                                             {50, 45, 0},
                                             {150, 53, 0xff0000},
                                             {150, 46, 0x00ff00},
                                             {144, 50, 0},
                                             {96, 9, 0xff0000},
                                             {103, 10, 0x00ff00},
                                             {94, 10, 0},
                                         });
}

} // namespace
