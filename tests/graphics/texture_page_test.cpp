// Atlas numbers: the lenient reading of x, y, width and height.
#include <gtest/gtest.h>

#include "graphics/texture_page.h"

TEST(TexturePageNumbers, ReadLeniently) {
    const struct {
        String text;
        int value;
    } cases[] = {
        {u"12px", 12},
        {u" 10 ", 10},
        {u"", 0},
        {u"abc", 0},
        {u"-5", -5},
        {u"+7", 7},
        {u"1 2", 1},
        // Every code up to 32 counts as white space, control characters included.
        {String(u"\x01\x02\x1f 8"), 8},
        {String(u"\x1b-3\x1b"), -3},
        {u"- 4", 0},
        {u"99999999999", 2147483647},
        // Only the first 63 characters after the white space are looked at.
        {u"  " + String(62, u'0') + u"7", 7},
        {String(63, u'0') + u"7", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bb_texturepage_ReadNumber(c.text), c.value) << bb_narrow(c.text);
}
