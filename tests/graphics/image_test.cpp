// Images: frame cutting, padding, handles, the whole-surface flag, grabbing, and the fatal errors
// of a bad cut or a second initialisation.
#include <gtest/gtest.h>

#include <vector>

#include "common/child_process.h"
#include "graphics/graphics.h"
#include "graphics/graphics_test_support.h"
#include "graphics/image.h"

using graphics_test::SolidSurface;

namespace {

std::vector<int> FrameXs(const c_Image& image) {
    std::vector<int> xs;
    for (const c_Frame& f : image.m_frames)
        xs.push_back(f.m_x);
    return xs;
}

TEST(ImageTest, FramesSideBySideAndTheirPadding) {
    struct Case {
        int flags;
        std::vector<int> xs;
        int frameY;
        int width, height;
    } cases[] = {
        {0, {0, 16, 32, 48}, 0, 16, 16},
        {c_Image::m_PaddedX, {1, 17, 33, 49}, 0, 14, 16},
        {c_Image::m_PaddedY, {0, 16, 32, 48}, 1, 16, 14},
        {c_Image::m_PaddedX | c_Image::m_PaddedY, {1, 17, 33, 49}, 1, 14, 14},
    };
    for (const Case& c : cases) {
        auto image = c_Image::m_new();
        image->p_Init(SolidSurface(64, 16, 4), 4, c.flags);
        EXPECT_EQ(FrameXs(*image), c.xs) << c.flags;
        EXPECT_EQ(image->m_frames[3].m_y, c.frameY) << c.flags;
        EXPECT_EQ(image->p_Width(), c.width) << c.flags;
        EXPECT_EQ(image->p_Height(), c.height) << c.flags;
        EXPECT_EQ(image->p_Frames(), 4);
        EXPECT_EQ(image->m_flags, c.flags) << "several frames never cover the whole surface";
    }
}

TEST(ImageTest, CentreHandleUsesTheTrimmedSizeAndIsCleared) {
    auto image = c_Image::m_new();
    image->p_Init(SolidSurface(32, 16, 4), 2, c_Image::m_CentreHandle | c_Image::m_PaddedX);
    EXPECT_EQ(image->p_Width(), 14);
    EXPECT_FLOAT_EQ(image->p_HandleX(), 7);
    EXPECT_FLOAT_EQ(image->p_HandleY(), 8);
    EXPECT_EQ(image->m_flags, c_Image::m_PaddedX);

    image->m_flags |= c_Image::m_CentreHandle;
    image->p_SetHandle(1, 2);
    EXPECT_FLOAT_EQ(image->p_HandleX(), 1);
    EXPECT_FLOAT_EQ(image->p_HandleY(), 2);
    EXPECT_EQ(image->m_flags, c_Image::m_PaddedX);
}

TEST(ImageTest, WholeSurfaceFlagOnlyForOneFrameCoveringTheSurface) {
    struct Case {
        int frames, flags;
        bool whole;
    } cases[] = {{1, 0, true},
                 {1, c_Image::m_CentreHandle, true},
                 {1, c_Image::m_PaddedX, false},
                 {1, c_Image::m_PaddedY, false},
                 {2, 0, false}};
    for (const Case& c : cases) {
        auto image = c_Image::m_new();
        image->p_Init(SolidSurface(20, 10, 4), c.frames, c.flags);
        EXPECT_EQ((image->m_flags & c_Image::m_WholeSurface) != 0, c.whole) << c.frames << c.flags;
    }
}

TEST(ImageTest, CuttingWrapsToTheNextRowOfTheSourceRectangle) {
    auto image = c_Image::m_new();
    image->p_Init2(SolidSurface(40, 40, 4), 0, 0, 10, 8, 5, 0, nullptr, 5, 3, 25, 24);
    ASSERT_EQ(image->p_Frames(), 5);
    const int expected[5][2] = {{5, 3}, {15, 3}, {5, 11}, {15, 11}, {5, 19}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(image->m_frames[i].m_x, expected[i][0]) << i;
        EXPECT_EQ(image->m_frames[i].m_y, expected[i][1]) << i;
    }
    EXPECT_EQ(image->p_Width(), 10);
    EXPECT_EQ(image->p_Height(), 8);
}

TEST(ImageTest, GrabbedImagesAreCutFromTheSingleFrame) {
    auto sheet = c_Image::m_new();
    sheet->p_Init(SolidSurface(64, 32, 4), 1, 0);
    auto grabbed = sheet->p_GrabImage(8, 4, 16, 16, 2, c_Image::m_CentreHandle);
    ASSERT_NE(grabbed, nullptr);
    EXPECT_EQ(grabbed->m_source, sheet.get());
    EXPECT_EQ(grabbed->m_surface, sheet->m_surface);
    EXPECT_EQ(FrameXs(*grabbed), (std::vector<int>{8, 24}));
    EXPECT_EQ(grabbed->m_frames[0].m_y, 4);
    EXPECT_FLOAT_EQ(grabbed->p_HandleX(), 8);

    // A grab from a padded single frame is relative to that frame.
    auto padded = c_Image::m_new();
    padded->p_Init(SolidSurface(20, 20, 4), 1, c_Image::m_PaddedX | c_Image::m_PaddedY);
    auto inner = padded->p_GrabImage(0, 0, 18, 18, 1, 0);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->m_frames[0].m_x, 1);
    EXPECT_EQ(inner->m_frames[0].m_y, 1);
    EXPECT_EQ(inner->m_flags & c_Image::m_WholeSurface, 0);

    auto strip = c_Image::m_new();
    strip->p_Init(SolidSurface(64, 16, 4), 4, 0);
    EXPECT_EQ(strip->p_GrabImage(0, 0, 8, 8, 1, 0), nullptr);
}

TEST(ImageTest, BadCutsAndSecondInitialisationAreFatal) {
    struct Case {
        const char* message;
        void (*act)();
    } cases[] = {
        {"Image frame outside surface",
         [] {
             c_Image::m_new()->p_Init2(SolidSurface(30, 10, 4), 0, 0, 10, 10, 4, 0, nullptr, 0, 0,
                                       30, 10);
         }},
        {"Image frame outside surface",
         [] {
             c_Image::m_new()->p_Init2(SolidSurface(30, 10, 4), 0, 0, 40, 10, 1, 0, nullptr, 0, 0,
                                       30, 10);
         }},
        {"Image frame outside surface", // a grab that starts left of its source frame
         [] {
             auto sheet = c_Image::m_new();
             sheet->p_Init(SolidSurface(30, 10, 4), 1, 0);
             sheet->p_GrabImage(-1, 0, 4, 4, 1, 0);
         }},
        {"Image frame outside surface", // ... or above it
         [] {
             auto sheet = c_Image::m_new();
             sheet->p_Init(SolidSurface(30, 10, 4), 1, 0);
             sheet->p_GrabImage(0, -2, 4, 4, 1, 0);
         }},
        {"Image frame outside surface", // a negative frame height never reaches the bottom test
         [] {
             c_Image::m_new()->p_Init2(SolidSurface(30, 10, 4), 0, 4, 10, -5, 1, 0, nullptr, 0, 0,
                                       30, 10);
         }},
        {"Image already initialized",
         [] {
             auto image = c_Image::m_new();
             image->p_Init(SolidSurface(8, 8, 4), 1, 0);
             image->p_Init(SolidSurface(8, 8, 4), 1, 0);
         }},
        {"Image already initialized",
         [] {
             auto image = c_Image::m_new();
             image->p_Init(SolidSurface(8, 8, 4), 1, 0);
             image->p_Init2(SolidSurface(8, 8, 4), 0, 0, 8, 8, 1, 0, nullptr, 0, 0, 8, 8);
         }},
    };
    for (const Case& c : cases) {
        const auto result = RunInChild(c.act);
        EXPECT_EQ(result.status, 255) << c.message;
        EXPECT_EQ(result.out.rfind(std::string("Zibbet Runtime Error : ") + c.message + "\n", 0),
                  0u)
            << result.out;
    }
    // Exactly filling the source is fine.
    auto image = c_Image::m_new();
    image->p_Init2(SolidSurface(30, 10, 4), 0, 0, 10, 10, 3, 0, nullptr, 0, 0, 30, 10);
    EXPECT_EQ(image->p_Frames(), 3);
}

TEST(ImageTest, DrawingANullImageOrAMissingFrameIsSkipped) {
    bb_graphics_Init();
    gxtkGraphics device;
    bb_graphics_SetGraphicsDevice(&device);
    bb_graphics_renderDevice = &device;
    auto image = c_Image::m_new();
    image->p_Init(SolidSurface(32, 8, 4), 4, 0);

    bb_graphics_DrawImage(nullptr, 0, 0, 0);
    bb_graphics_DrawImage2(nullptr, 0, 0, 45, 2, 2, 0);
    bb_graphics_DrawImage(image.get(), 0, 0, 4);
    bb_graphics_DrawImage(image.get(), 0, 0, -1);
    bb_graphics_DrawImage2(image.get(), 0, 0, 0, 1, 1, 9);
    bb_graphics_DrawImage(c_Image::m_new().get(), 0, 0, 0); // never initialised
    EXPECT_EQ(device.BatchCount(), 0);
    EXPECT_EQ(bb_graphics_context->m_matrixSp, 0);

    bb_graphics_DrawImage(image.get(), 0, 0, 3);
    EXPECT_EQ(device.BatchCount(), 4);
    device.DiscardBatch();
    bb_graphics_Init();
}

} // namespace
