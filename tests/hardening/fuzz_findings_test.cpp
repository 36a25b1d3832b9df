// Regression tests for the faults the fuzz targets found, each on the smallest input that showed
// it. Under the sanitizer build an overflow here stops the test outright.
#include "collision/mask.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

c_Mask Sized(int width, int height) {
    c_Mask mask;
    mask.m_width = width;
    mask.m_height = height;
    mask.m_data.assign(static_cast<size_t>(width) * height, 255);
    return mask;
}

} // namespace

// A damaged mask file may give a mask as wide as an int allows, with no rows (so no pixels).
// Its far edge used to overflow when the mask was placed anywhere right of the origin.
TEST(FuzzFindings, AMaskOfExtremeWidthAndNoRowsCollidesWithNothing) {
    const c_Mask wide = Sized(INT_MAX - 10, 0);
    const c_Mask tall = Sized(0, INT_MAX - 10);
    const c_Mask sprite = Sized(16, 16);
    const struct {
        int x, y;
    } places[] = {{0, 0}, {64, 48}, {575, 431}, {780140544, -5}, {INT_MAX / 2, INT_MAX / 2}};
    for (const auto& at : places) {
        SCOPED_TRACE(testing::Message() << at.x << ", " << at.y);
        EXPECT_FALSE(wide.p_CollideMask(at.x, at.y, &sprite, at.x + 8, at.y));
        EXPECT_FALSE(sprite.p_CollideMask(at.x, at.y, &wide, at.x, at.y));
        EXPECT_FALSE(wide.p_CollideMask(at.x, at.y, &wide, at.x / 2, at.y));
        EXPECT_FALSE(tall.p_CollideMask(at.x, at.y, &sprite, at.x, at.y + 8));
        EXPECT_FALSE(sprite.p_CollideMask(at.x, at.y, &tall, at.x, at.y));
    }
    // An ordinary overlap at the same places still collides.
    EXPECT_TRUE(sprite.p_CollideMask(575, 431, &sprite, 580, 440));
}
