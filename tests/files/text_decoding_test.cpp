// Whole-file text decoding: byte-order marks, UTF-8 and the Latin-1 fallback.
#include "files/text_decoding.h"

#include <gtest/gtest.h>

using namespace std::string_view_literals;

TEST(TextDecoding, DecodesByMarkOrAsUtf8) {
    const struct {
        std::string_view bytes;
        String text;
    } cases[] = {
        {""sv, u""},
        {"plain"sv, u"plain"},
        {"\xC3\xA9"sv, u"\u00e9"},
        {"\xE2\x82\xAC!"sv, u"\u20ac!"},
        {"\xEF\xBB\xBFhi"sv, u"hi"},
        {"\xFF\xFE\x41\x00"sv, u"A"},
        {"\xFE\xFF\x00\x41\x20\xAC"sv, u"A\u20ac"},
        {"\xFF\xFE\x41\x00\x42"sv, u"A"}, // a trailing odd byte is dropped
        {"\xFF\xFE"sv, u""},
        {"\xC0\x80"sv, String(1, u'\0')}, // overlong forms are not checked
        {"\0a"sv, String(u"\0a", 2)},
    };
    for (const auto& c : cases) {
        String error;
        EXPECT_EQ(bb_files_DecodeText(c.bytes, &error), c.text);
        EXPECT_TRUE(error.empty());
    }
}

TEST(TextDecoding, InvalidUtf8WidensEveryByteAfterTheMark) {
    const struct {
        std::string_view bytes;
        String text;
    } cases[] = {
        {"\xE9"sv, u"\u00e9"},
        {"caf\xE9"sv, u"caf\u00e9"},
        {"\xEF\xBB\xBF\xE9x"sv, u"\u00e9x"},
        {"ok \xC3"sv, u"ok \u00c3"},                         // cut off by the end
        {"\xC3\x41"sv, u"\u00c3A"},                          // bad continuation
        {"\xF0\x9F\x98\x80"sv, u"\u00f0\u009f\u0098\u0080"}, // four-byte form
        {"\xFE"sv, u"\u00fe"},
    };
    for (const auto& c : cases) {
        String error;
        EXPECT_EQ(bb_files_DecodeText(c.bytes, &error), c.text);
        EXPECT_EQ(error, u"Invalid UTF-8");
    }
}
