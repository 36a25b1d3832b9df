// UTF-8 conversion and decimal parsing of the runtime.
#include <gtest/gtest.h>

#include "runtime/number_parse.h"
#include "runtime/string.h"

TEST(Utf8, EncodesEachCodeUnitOnItsOwn) {
    EXPECT_EQ(bb_utf8_Encode(u"A\u00e9\u20ac"), "A\xC3\xA9\xE2\x82\xAC");
    // A lone surrogate half is written as a three-byte sequence, never paired.
    EXPECT_EQ(bb_utf8_Encode(String(1, char16_t(0xD83D))), "\xED\xA0\xBD");
}

TEST(Utf8, DecodeRejectsMalformedAndWidensInBbStr) {
    String out;
    EXPECT_TRUE(bb_utf8_Decode("\xC3\xA9x", out));
    EXPECT_EQ(out, u"\u00e9x");
    EXPECT_FALSE(bb_utf8_Decode("\xC3", out));         // cut off
    EXPECT_FALSE(bb_utf8_Decode("\xE2\x28\xA1", out)); // bad continuation
    EXPECT_FALSE(bb_utf8_Decode("\xF0\x9F\x98\x80", out));
    EXPECT_EQ(bb_str("\xE9"), String(1, char16_t(0xE9)));
}

TEST(ParseInt, ReadsLikeTheCLibrary) {
    struct Case {
        const char16_t* text;
        int value;
    };
    const Case cases[] = {
        {u"12px", 12},
        {u"  -7", -7},
        {u"+3", 3},
        {u"", 0},
        {u"abc", 0},
        {u"- 4", 0},
        {u"\t\n42", 42},
        {u"99999999999", 2147483647},
        {u"-99999999999", -2147483647 - 1},
        {u"2147483647", 2147483647},
        {u"-2147483648", -2147483647 - 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bb_parse_Int(c.text), c.value) << bb_narrow(c.text);
}

TEST(ParseInt, LooksAtTheFirst63CharactersOnly) {
    String text(62, u' ');
    EXPECT_EQ(bb_parse_Int(text + u"7"), 7);
    EXPECT_EQ(bb_parse_Int(text + u" 7"), 0);
    // Each code unit is narrowed to its low 8 bits: U+0131 narrows to '1'.
    EXPECT_EQ(bb_parse_Int(String(1, char16_t(0x0131))), 1);
}

TEST(Lower, OnlyAsciiLetters) {
    EXPECT_EQ(bb_lower(u"AbZ\u00C9"), u"abz\u00C9");
}
