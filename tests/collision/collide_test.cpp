// The pixel-exact mask test and the rectangle tests, at their edges.
#include <gtest/gtest.h>

#include "collision/collision.h"
#include "collision/mask.h"

namespace {

// A mask of the given size with every pixel at `fill`.
c_Mask Solid(int width, int height, int fill = 255) {
    c_Mask mask;
    mask.m_width = width;
    mask.m_height = height;
    mask.m_data.assign(width * height, fill);
    return mask;
}

} // namespace

TEST(CollideMask, TouchingRectanglesNeverCollide) {
    const c_Mask a = Solid(4, 4), b = Solid(4, 4);
    EXPECT_FALSE(a.p_CollideMask(0, 0, &b, 4, 0));   // right edge on left edge
    EXPECT_FALSE(a.p_CollideMask(0, 0, &b, 0, 4));   // bottom edge on top edge
    EXPECT_FALSE(a.p_CollideMask(0, 0, &b, -4, -4)); // corners
    EXPECT_TRUE(a.p_CollideMask(0, 0, &b, 3, 3));
    EXPECT_TRUE(a.p_CollideMask(0, 0, &b, -3, 0));
    EXPECT_FALSE(a.p_CollideMask(0, 0, &b, 100, -50));
}

TEST(CollideMask, BothPixelsMustBeSolidAtTheThreshold) {
    struct Case {
        int a, b;
        bool hit;
    };
    for (const Case& c : {Case{128, 128, true}, Case{127, 255, false}, Case{255, 127, false},
                          Case{255, 255, true}, Case{0, 0, false}}) {
        const c_Mask a = Solid(1, 1, c.a), b = Solid(1, 1, c.b);
        EXPECT_EQ(a.p_CollideMask(5, 5, &b, 5, 5), c.hit) << c.a << " " << c.b;
    }
    c_Mask strict = Solid(1, 1, 200);
    strict.m_threshold = 201;
    const c_Mask solid = Solid(1, 1);
    EXPECT_FALSE(strict.p_CollideMask(0, 0, &solid, 0, 0));
    EXPECT_FALSE(solid.p_CollideMask(0, 0, &strict, 0, 0));
}

TEST(CollideMask, SolidPixelsOfOnlyOneMaskDoNotCollide) {
    // Left half solid against right half solid, overlapping in full.
    c_Mask left = Solid(4, 2, 0), right = Solid(4, 2, 0);
    for (int y = 0; y < 2; ++y) {
        left.m_data[y * 4 + 0] = left.m_data[y * 4 + 1] = 255;
        right.m_data[y * 4 + 2] = right.m_data[y * 4 + 3] = 255;
    }
    EXPECT_FALSE(left.p_CollideMask(10, 10, &right, 10, 10));
    EXPECT_TRUE(left.p_CollideMask(10, 10, &right, 8, 10)); // right's solid half over left's
    EXPECT_FALSE(left.p_CollideMask(10, 10, &right, 12, 10));
}

TEST(CollideMask, IndexesEachMaskByItsOwnWidth) {
    // A wide and a tall mask with one solid pixel each, meeting at one screen pixel.
    c_Mask wide = Solid(7, 3, 0), tall = Solid(2, 5, 0);
    wide.m_data[2 * 7 + 5] = 255; // (5, 2)
    tall.m_data[4 * 2 + 1] = 255; // (1, 4)
    // wide at (0, 0): solid at (5, 2); tall at (4, -2): solid at (5, 2).
    EXPECT_TRUE(wide.p_CollideMask(0, 0, &tall, 4, -2));
    EXPECT_TRUE(tall.p_CollideMask(4, -2, &wide, 0, 0));
    EXPECT_FALSE(wide.p_CollideMask(0, 0, &tall, 3, -2));
    EXPECT_FALSE(wide.p_CollideMask(0, 0, &tall, 4, -1));
}

TEST(CollideMask, HandlesTruncateTowardsZero) {
    c_Mask a = Solid(1, 1);
    a.m_handleX = 0.5f; // placed at x = 10: 9.5 truncates to a left edge of 9
    const c_Mask b = Solid(1, 1);
    EXPECT_TRUE(a.p_CollideMask(10, 0, &b, 9, 0));
    EXPECT_FALSE(a.p_CollideMask(10, 0, &b, 10, 0));
    // Below zero truncation goes up: -0.5 becomes 0.
    EXPECT_TRUE(a.p_CollideMask(0, 0, &b, 0, 0));
    c_Mask centred = Solid(4, 4);
    centred.m_handleX = centred.m_handleY = 2.0f;
    EXPECT_TRUE(centred.p_CollideMask(10, 10, &b, 8, 8));
    EXPECT_FALSE(centred.p_CollideMask(10, 10, &b, 12, 12));
}

TEST(CollideMask, EmptyMasksNeverCollide) {
    const c_Mask empty, solid = Solid(3, 3);
    EXPECT_FALSE(empty.p_CollideMask(0, 0, &solid, 0, 0));
    EXPECT_FALSE(solid.p_CollideMask(0, 0, &empty, 1, 1));
}

TEST(RectangleTests, AreHalfOpen) {
    EXPECT_FALSE(bb_collision_PointCollision(5, 5, 0, 0, 5, 5));
    EXPECT_TRUE(bb_collision_PointCollision(4, 4, 0, 0, 5, 5));
    EXPECT_TRUE(bb_collision_PointCollision(0, 0, 0, 0, 5, 5));
    EXPECT_FALSE(bb_collision_PointCollision(-1, 2, 0, 0, 5, 5));
    EXPECT_FALSE(bb_collision_PointCollision(2, 5, 0, 0, 5, 5));

    EXPECT_FALSE(bb_collision_RectCollision(0, 0, 4, 4, 4, 0, 4, 4));
    EXPECT_FALSE(bb_collision_RectCollision(0, 0, 4, 4, 0, -4, 4, 4));
    EXPECT_TRUE(bb_collision_RectCollision(0, 0, 4, 4, 3, 3, 4, 4));
    EXPECT_TRUE(bb_collision_RectCollision(0, 0, 10, 10, 2, 2, 1, 1)); // inside
}
