// The drawing module's transform: composition order, the matrix stack and the lazy hand-over of
// the transform to the render device.
#include <gtest/gtest.h>

#include <cmath>

#include "graphics/graphics.h"

namespace {

struct Point {
    float x, y;
};

Point Apply(const c_GraphicsContext& gc, float x, float y) {
    return {gc.m_a * x + gc.m_c * y + gc.m_tx, gc.m_b * x + gc.m_d * y + gc.m_ty};
}

class TransformTest : public ::testing::Test {
protected:
    void SetUp() override { bb_graphics_Init(); }
    void TearDown() override { bb_graphics_Init(); }
    c_GraphicsContext& gc() { return *bb_graphics_context; }
};

TEST_F(TransformTest, LaterTransformsApplyToPointsFirst) {
    bb_graphics_Translate(10, 20);
    bb_graphics_Rotate(90);
    const Point p = Apply(gc(), 1, 0);
    EXPECT_NEAR(p.x, 10.0f, 1e-5);
    EXPECT_NEAR(p.y, 19.0f, 1e-5);

    bb_graphics_Scale(2, 3); // scales before the rotation
    const Point q = Apply(gc(), 1, 1);
    EXPECT_NEAR(q.x, 10.0f + 3.0f, 1e-5);
    EXPECT_NEAR(q.y, 20.0f - 2.0f, 1e-5);
}

TEST_F(TransformTest, ComposedTransformMatchesTheProductOfItsParts) {
    bb_graphics_SetMatrix(1, 2, 3, 4, 5, 6);
    bb_graphics_Transform(7, 8, 9, 10, 11, 12);
    // [1 3 5; 2 4 6] * [7 9 11; 8 10 12]
    EXPECT_FLOAT_EQ(gc().m_a, 1 * 7 + 3 * 8);
    EXPECT_FLOAT_EQ(gc().m_b, 2 * 7 + 4 * 8);
    EXPECT_FLOAT_EQ(gc().m_c, 1 * 9 + 3 * 10);
    EXPECT_FLOAT_EQ(gc().m_d, 2 * 9 + 4 * 10);
    EXPECT_FLOAT_EQ(gc().m_tx, 1 * 11 + 3 * 12 + 5);
    EXPECT_FLOAT_EQ(gc().m_ty, 2 * 11 + 4 * 12 + 6);

    const float array[6] = {1, 0, 0, 1, 0, 0};
    bb_graphics_SetMatrix2(array);
    EXPECT_EQ(gc().m_transformed, 0);
    const float shift[6] = {1, 0, 0, 1, 3, 0};
    bb_graphics_Transform2(shift);
    EXPECT_EQ(gc().m_transformed, 1);
    EXPECT_FLOAT_EQ(gc().m_tx, 3);
}

TEST_F(TransformTest, TransformedFlagFollowsTheIdentity) {
    struct Case {
        float m[6];
        int transformed;
    } cases[] = {
        {{1, 0, 0, 1, 0, 0}, 0},    {{2, 0, 0, 1, 0, 0}, 1},  {{1, 0.5f, 0, 1, 0, 0}, 1},
        {{1, 0, 0.5f, 1, 0, 0}, 1}, {{1, 0, 0, -1, 0, 0}, 1}, {{1, 0, 0, 1, 1, 0}, 1},
        {{1, 0, 0, 1, 0, -1}, 1},
    };
    for (const Case& c : cases) {
        gc().m_matrixDirty = 0;
        bb_graphics_SetMatrix2(c.m);
        EXPECT_EQ(gc().m_transformed, c.transformed) << c.m[0] << c.m[1] << c.m[2] << c.m[3];
        EXPECT_EQ(gc().m_matrixDirty, 1);
    }
}

TEST_F(TransformTest, StackGrowsByDoublingAndRestoresEveryLevel) {
    ASSERT_EQ(gc().m_matrixStack.size(), 192u);
    for (int i = 0; i < 40; ++i) {
        bb_graphics_PushMatrix();
        bb_graphics_Translate(static_cast<float>(i), 1);
        bb_graphics_Rotate(7.5f);
        if (i == 31) {
            EXPECT_EQ(gc().m_matrixStack.size(), 192u);
        }
        if (i == 32) {
            EXPECT_EQ(gc().m_matrixStack.size(), 384u);
        }
    }
    EXPECT_EQ(gc().m_matrixStack.size(), 384u);
    EXPECT_EQ(gc().m_matrixSp, 240);

    // Walk back down, comparing against the transform rebuilt from scratch at each depth.
    for (int depth = 39; depth >= 0; --depth) {
        bb_graphics_PopMatrix();
        c_GraphicsContext expected;
        std::swap(*bb_graphics_context, expected);
        for (int i = 0; i < depth; ++i) {
            bb_graphics_Translate(static_cast<float>(i), 1);
            bb_graphics_Rotate(7.5f);
        }
        std::swap(*bb_graphics_context, expected);
        EXPECT_EQ(gc().m_a, expected.m_a) << depth;
        EXPECT_EQ(gc().m_b, expected.m_b) << depth;
        EXPECT_EQ(gc().m_tx, expected.m_tx) << depth;
        EXPECT_EQ(gc().m_ty, expected.m_ty) << depth;
    }
    EXPECT_EQ(gc().m_transformed, 0);
    EXPECT_EQ(gc().m_matrixSp, 0);
}

TEST_F(TransformTest, PopWithoutPushKeepsTheTransform) {
    bb_graphics_Translate(5, 6);
    bb_graphics_PopMatrix();
    EXPECT_EQ(gc().m_matrixSp, 0);
    EXPECT_FLOAT_EQ(gc().m_tx, 5);
    EXPECT_FLOAT_EQ(gc().m_ty, 6);
}

TEST_F(TransformTest, DeviceGetsTheTransformOnlyWhenSomethingIsDrawn) {
    gxtkGraphics device;
    bb_graphics_SetGraphicsDevice(&device);
    bb_graphics_renderDevice = &device; // in a frame, without touching OpenGL

    bb_graphics_Translate(100, 0);
    bb_graphics_Scale(2, 2);
    EXPECT_FALSE(device.Transformed()); // nothing drawn yet
    EXPECT_EQ(gc().m_matrixDirty, 1);

    bb_graphics_DrawRect(1, 2, 3, 4);
    EXPECT_TRUE(device.Transformed());
    EXPECT_EQ(gc().m_matrixDirty, 0);
    const auto v = device.PendingVertices();
    ASSERT_EQ(v.size(), 4u);
    EXPECT_FLOAT_EQ(v[0].x, 102);
    EXPECT_FLOAT_EQ(v[0].y, 4);
    EXPECT_FLOAT_EQ(v[2].x, 108);
    EXPECT_FLOAT_EQ(v[2].y, 12);

    bb_graphics_PushMatrix();
    bb_graphics_PopMatrix(); // same transform, but marked for the device again
    EXPECT_EQ(gc().m_matrixDirty, 1);
    device.DiscardBatch();
    bb_graphics_renderDevice = nullptr;
}

} // namespace
