// Asset path fixing and the host's path schemes.
#include "files/data_path.h"
#include "files/path_schemes.h"

#include <gtest/gtest.h>

TEST(DataPath, RelativePathsGoUnderTheDataSchemeOthersPass) {
    const struct {
        String in, out;
    } cases[] = {
        {u"Graphics/Title.png", u"zibbet://data/Graphics/Title.png"},
        {u"plim_font.png", u"zibbet://data/plim_font.png"},
        {u"zibbet://data/Sounds/Beep.wav", u"zibbet://data/Sounds/Beep.wav"},
        {u"zibbet://other/x", u"zibbet://other/x"},
        {u"./.zibbetstate", u"./.zibbetstate"},
        {u"/abs/file.txt", u"/abs/file.txt"},
        {u"C:/games/file.txt", u"C:/games/file.txt"},
        // A ":/" that is not the first "/" makes no scheme.
        {u"a/b:/c", u"zibbet://data/a/b:/c"},
        {u"", u"zibbet://data/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bb_data_FixDataPath(c.in), c.out) << bb_narrow(c.in);
}

TEST(PathSchemes, MapUnderTheProgramDirectory) {
    const String dir = u"/opt/game";
    const struct {
        String in, out;
    } cases[] = {
        {u"zibbet://data/Graphics/Title.png", u"/opt/game/data/Graphics/Title.png"},
        {u"zibbet://internal/save.txt", u"/opt/game/internal/save.txt"},
        {u"zibbet://external/x", u"/opt/game/external/x"},
        {u"zibbet://other/x", u""},
        {u"zibbet:x", u""},
        {u"ZIBBET://data/x", u"ZIBBET://data/x"},
        {u"./.zibbetstate", u"./.zibbetstate"},
        {u"/etc/hosts", u"/etc/hosts"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bb_files_MapSchemePath(c.in, dir), c.out) << bb_narrow(c.in);
}
