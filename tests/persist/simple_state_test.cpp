// The state store's saved form: escaping, key order and the tolerant reader.

#include "persist/simple_state.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Entries = std::map<String, String>;

c_SimpleState StoreWith(const Entries& entries) {
    c_SimpleState state;
    for (const auto& [key, value] : entries)
        state.p_Set2(key, value);
    return state;
}

TEST(SimpleState, EncodesEntriesInCodeUnitOrderWithEscapes) {
    struct Case {
        Entries entries;
        String text;
    };
    const Case cases[] = {
        {{}, u""},
        {{{u"A", u"1"}, {u"B", u"2"}}, u"A=1,B=2"},
        {{{u"a,b", u"x=y"}}, u"a\\,b=x\\=y"},
        {{{u"path", u"c:\\dir"}}, u"path=c:\\\\dir"},
        {{{u"ControlUp", u"81"}, {u"ControlDown", u"90"}}, u"ControlDown=90,ControlUp=81"},
        {{{u"a", u"1"}, {u"Z", u"2"}}, u"Z=2,a=1"},
        {{{u"ab", u"1"}, {u"a", u"2"}}, u"a=2,ab=1"},
        // Code units compare unsigned: U+00E9 sorts after every ASCII key.
        {{{u"\u00e9", u"1"}, {u"z", u"2"}}, u"z=2,\u00e9=1"},
        {{{u"", u""}}, u"="},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StoreWith(c.entries).p_Encode(), c.text) << bb_narrow(c.text);
    }
}

TEST(SimpleState, DecodesTextIntoEntries) {
    struct Case {
        String text;
        Entries entries;
    };
    const Case cases[] = {
        {u"", {{u"", u""}}},
        {u"A=1,B=2", {{u"A", u"1"}, {u"B", u"2"}}},
        {u"a\\,b=x\\=y", {{u"a,b", u"x=y"}}},
        {u"p=c:\\\\dir", {{u"p", u"c:\\dir"}}},
        {u"A=1,A=2", {{u"A", u"2"}}},
        {u"A=1,", {{u"A", u"1"}, {u"", u""}}},
        {u"A=1=2", {{u"A", u"12"}}},
        {u"keyonly", {{u"keyonly", u""}}},
        {u"A=1\\", {{u"A", u"1"}}},
        {u"\\A\\\\=\\,", {{u"A\\", u","}}},
    };
    for (const Case& c : cases) {
        c_SimpleState state;
        state.p_Set2(u"stale", u"entry");
        state.p_Decode(c.text);
        EXPECT_EQ(state.m_map, c.entries) << bb_narrow(c.text);
    }
}

TEST(SimpleState, AwkwardKeysAndValuesSurviveARoundTrip) {
    const Entries entries = {
        {u"a,b", u"x=y"}, {u"back\\slash", u"\\"}, {u"=", u",,"}, {u"\u00e9t\u00e9", u"\u4e2d"}};
    c_SimpleState loaded;
    loaded.p_Decode(StoreWith(entries).p_Encode());
    EXPECT_EQ(loaded.m_map, entries);
}

} // namespace
