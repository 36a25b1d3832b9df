// The virtual display fitted into windows of several shapes: scale, bands, clip rectangle, the
// picture's pixels, clip rectangles in virtual units and pointer mapping.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>

#include "graphics/graphics.h"
#include "graphics/graphics_test_support.h"
#include "graphics/virtual_display.h"
#include "input/input_device.h"

namespace {

using graphics_test::GlWindow;

// A renderer that reports the window size a test chooses, so that any shape can be fitted.
class SizedGraphics : public gxtkGraphics {
public:
    int Width() const override { return w; }
    int Height() const override { return h; }
    int w = 640;
    int h = 480;
};

class AutofitTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<GlWindow>(64, 48);
        bb_graphics_Init();
        bb_graphics_SetGraphicsDevice(&device);
        display = c_VirtualDisplay::m_new(640, 480, 1);
    }
    void TearDown() override {
        bb_graphics_Init();
        c_VirtualDisplay::m_Display.reset();
    }

    void Frame(int w, int h) {
        device.w = w;
        device.h = h;
        device.BeginRender();
        bb_graphics_BeginRender();
        display->p_UpdateVirtualDisplay(true, true);
    }

    std::unique_ptr<GlWindow> window;
    SizedGraphics device;
    c_VirtualDisplay* display = nullptr;
};

TEST_F(AutofitTest, FitsEachWindowShape) {
    struct Case {
        int w, h;
        float scale, borderX, borderY;
        float clip[4]; // x, y, width, height
        float offsetX, offsetY;
    } cases[] = {
        {640, 480, 1, 0, 0, {0, 0, 640, 480}, 0, 0},
        {1280, 720, 1.5f, 160, 0, {160, 0, 960, 720}, 160 / 1.5f, 0},
        {800, 800, 1.25f, 0, 100, {0, 100, 800, 600}, 0, 80},
        {320, 240, 0.5f, 0, 0, {0, 0, 320, 240}, 0, 0},
    };
    for (const Case& c : cases) {
        Frame(c.w, c.h);
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        EXPECT_FLOAT_EQ(display->m_scale, c.scale);
        EXPECT_FLOAT_EQ(display->m_borderX, c.borderX);
        EXPECT_FLOAT_EQ(display->m_borderY, c.borderY);
        EXPECT_FLOAT_EQ(display->m_clipX, c.clip[0]);
        EXPECT_FLOAT_EQ(display->m_clipY, c.clip[1]);
        EXPECT_FLOAT_EQ(display->m_clipWidth, c.clip[2]);
        EXPECT_FLOAT_EQ(display->m_clipHeight, c.clip[3]);
        EXPECT_FLOAT_EQ(display->m_offsetX, c.offsetX);
        EXPECT_FLOAT_EQ(display->m_offsetY, c.offsetY);

        // The drawing state: clipped to the picture, virtual units to window pixels.
        const c_GraphicsContext& gc = *bb_graphics_context;
        EXPECT_FLOAT_EQ(gc.m_scissorX, c.clip[0]);
        EXPECT_FLOAT_EQ(gc.m_scissorHeight, c.clip[3]);
        EXPECT_FLOAT_EQ(gc.m_a * 640 + gc.m_tx, c.clip[0] + c.clip[2]);
        EXPECT_FLOAT_EQ(gc.m_d * 480 + gc.m_ty, c.clip[1] + c.clip[3]);
        EXPECT_FLOAT_EQ(gc.m_tx, c.clip[0]);
        EXPECT_FLOAT_EQ(gc.m_ty, c.clip[1]);
        EXPECT_EQ(gc.m_transformed, c.scale != 1 ? 1 : 0);
    }
}

TEST_F(AutofitTest, VirtualScissorAndItsRestore) {
    Frame(1280, 720);
    display->p_SetVScissor(64, 48, 512, 384);
    const c_GraphicsContext& gc = *bb_graphics_context;
    EXPECT_FLOAT_EQ(gc.m_scissorX, 256);
    EXPECT_FLOAT_EQ(gc.m_scissorY, 72);
    EXPECT_EQ(static_cast<int>(gc.m_scissorWidth), 768);
    EXPECT_EQ(static_cast<int>(gc.m_scissorHeight), 576);
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(box[0], 256);
    EXPECT_EQ(box[1], 720 - 72 - 576);
    EXPECT_EQ(box[2], 768);
    EXPECT_EQ(box[3], 576);

    bb_autofit_UnsetVScissor();
    EXPECT_FLOAT_EQ(gc.m_scissorX, 160);
    EXPECT_FLOAT_EQ(gc.m_scissorWidth, 960);

    // Fractions: sizes round to the nearest pixel, corners truncate.
    Frame(800, 800);
    display->p_SetVScissor(1, 1, 3, 3);
    EXPECT_EQ(static_cast<int>(gc.m_scissorX), 1);
    EXPECT_EQ(static_cast<int>(gc.m_scissorY), 101);
    EXPECT_EQ(static_cast<int>(gc.m_scissorWidth), 4);
}

TEST_F(AutofitTest, PointerMapsAboutTheWindowCentre) {
    Frame(1280, 720);
    struct Case {
        float windowX, windowY;
        bool clamp;
        float vx, vy;
    } cases[] = {
        {640, 360, false, 320, 240},
        {100, 0, false, -40, 0},
        {100, 0, true, 0, 0},
        {1270, 719, true, 639, 479},
        {1270, 719, false, 740, 479.33334f},
        {160, 0, true, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(display->p_VirtualX(c.windowX, c.clamp), c.vx) << c.windowX;
        EXPECT_FLOAT_EQ(display->p_VirtualY(c.windowY, c.clamp), c.vy) << c.windowY;
    }

    c_InputDevice input;
    bb_input_device = &input;
    input.p_TouchEvent(7, 0, 640, 360);
    input.p_TouchEvent(7, 3, 1120, 720);
    EXPECT_FLOAT_EQ(bb_autofit_VTouchX(0, false), 320);
    EXPECT_FLOAT_EQ(bb_autofit_VTouchY(0, false), 240);
    EXPECT_FLOAT_EQ(bb_autofit_VTouchX(3, false), 640);
    EXPECT_FLOAT_EQ(bb_autofit_VTouchY(3, true), 479);
    EXPECT_NEAR(bb_autofit_VTouchX(40, false), -106.6667f, 1e-3); // no such pointer: window x 0
    bb_input_device = nullptr;
}

TEST_F(AutofitTest, RecomputesOnlyWhenTheWindowChangesAndKeepsTheFitWhenMinimised) {
    Frame(1280, 720);
    display->m_clipX = 1; // a stale cache shows whether the next frame recomputed
    Frame(1280, 720);
    EXPECT_FLOAT_EQ(display->m_clipX, 1);
    EXPECT_FLOAT_EQ(bb_graphics_context->m_scissorX, 1); // but clipping happened again

    Frame(800, 800);
    EXPECT_FLOAT_EQ(display->m_clipY, 100);
    Frame(0, 0);
    EXPECT_FLOAT_EQ(display->m_scale, 1.25f);
    EXPECT_FLOAT_EQ(display->m_clipY, 100);
    EXPECT_FLOAT_EQ(display->m_offsetY, 80);
    Frame(800, 0);
    EXPECT_FLOAT_EQ(display->m_scale, 1.25f);
    Frame(800, 800);
    EXPECT_FLOAT_EQ(display->m_clipHeight, 600);
    EXPECT_FLOAT_EQ(bb_autofit_VDeviceWidth(), 640);
    EXPECT_FLOAT_EQ(bb_autofit_VDeviceHeight(), 480);
}

TEST_F(AutofitTest, ZoomAndClipOptions) {
    display->m_zoom = 2;
    Frame(1280, 720);
    // The zoomed picture overflows the window; the clip stays inside the letterbox.
    EXPECT_FLOAT_EQ(display->m_zoomedWidth, 1920);
    EXPECT_FLOAT_EQ(display->m_clipX, 160);
    EXPECT_FLOAT_EQ(display->m_clipY, 0);
    EXPECT_FLOAT_EQ(display->m_clipHeight, 720);
    EXPECT_FLOAT_EQ(display->m_offsetX, -320.0f / 1.5f / 2.0f);

    display->m_zoom = 0.5f;
    device.w = 1280;
    device.h = 720;
    device.BeginRender();
    bb_graphics_BeginRender();
    display->p_UpdateVirtualDisplay(true, false);
    EXPECT_FLOAT_EQ(display->m_clipX, 400);
    EXPECT_FLOAT_EQ(display->m_clipWidth, 480);
    EXPECT_FLOAT_EQ(display->m_clipY, 180);

    display->m_zoom = 3;
    device.BeginRender();
    bb_graphics_BeginRender();
    display->p_UpdateVirtualDisplay(false, true);
    EXPECT_FLOAT_EQ(display->m_clipX, 160);
    EXPECT_FLOAT_EQ(display->m_clipWidth, 960);
}

// The picture in a real window: black bands, white picture.
TEST(AutofitPixelsTest, LetterboxedPictureInAWideWindow) {
    GlWindow window(1280, 720);
    bb_graphics_Init();
    gxtkGraphics device;
    bb_graphics_SetGraphicsDevice(&device);
    bb_autofit_SetVirtualDisplay(640, 480, 1);
    device.BeginRender();
    bb_graphics_BeginRender();
    bb_graphics_Cls(255, 0, 0);
    bb_autofit_UpdateVirtualDisplay(true, true);
    bb_graphics_SetColor(255, 255, 255);
    bb_graphics_DrawRect(-100, -100, 840, 680); // more than the whole virtual screen
    bb_graphics_SetColor(0, 0, 255);
    bb_graphics_DrawRect(0, 0, 1, 1); // virtual (0, 0) is window (160, 0), 1.5 pixels wide
    bb_autofit_SetVScissor(64, 48, 512, 384);
    bb_graphics_SetColor(0, 255, 0);
    bb_graphics_DrawRect(0, 0, 640, 480);
    bb_autofit_UnsetVScissor();
    bb_graphics_EndRender();
    device.EndRender();

    graphics_test::ExpectPixels(device, {
                                            {159, 360, 0},      // left band
                                            {1120, 360, 0},     // right band
                                            {160, 0, 0x0000ff}, // virtual (0, 0)
                                            {162, 2, 0xffffff},
                                            {1119, 719, 0xffffff}, // virtual (639, 479)
                                            {255, 360, 0xffffff},  // left of the play area
                                            {256, 72, 0x00ff00},   // play area corner
                                            {1023, 647, 0x00ff00},
                                            {1024, 647, 0xffffff},
                                        });
    bb_graphics_Init();
    c_VirtualDisplay::m_Display.reset();
}

} // namespace
