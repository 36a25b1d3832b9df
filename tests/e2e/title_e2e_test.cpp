// The real program under the test's X server: it reaches its title, and Escape there ends it
// with status 0, saving nothing.
#include "common/child_process.h"
#include "e2e/window_shot_support.h"
#include "e2e/x11_window_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

TEST(TitleE2E, TheTitleAppearsAndEscapeEndsWithStatusZero) {
    TestDisplay display;
    ASSERT_TRUE(display.ok()) << "needs a display (Xvfb)";
    char name[] = "/tmp/e2e-title.XXXXXX";
    const fs::path cwd = mkdtemp(name);

    auto [pid, out, window] =
        StartWithWindow(display, {{SKIDDLEWICK_BINARY}, {"ALSOFT_DRIVERS=null"}, cwd.string()}, 20);
    ASSERT_TRUE(window.has_value()) << "no window appeared";

    Shot shot = AwaitShot(window->id, cwd / "shot.png", TitleShown);
    EXPECT_TRUE(TitleShown(shot)) << "the title's grey never appeared";
    if (shot.width == 640) {
        // The version in black in the top-right corner, and the tinted picture over the grey.
        int versionInk = 0;
        int picture = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 576; x < 640; ++x)
                versionInk += shot.At(x, y) == Rgb{0, 0, 0};
        }
        for (int y = 100; y < 400; y += 4) {
            for (int x = 0; x < 640; x += 4)
                picture += shot.At(x, y) != Rgb{170, 170, 170};
        }
        EXPECT_GT(versionInk, 0);
        EXPECT_GT(picture, 0);
    }

    Shell("xdotool windowfocus --sync " + std::to_string(window->id) +
          " 2>/dev/null; xdotool key Escape");
    ChildResult result = WaitProgram(pid, out, 20);
    EXPECT_FALSE(result.timedOut) << "Escape on the title did not end the program";
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.status, 0) << result.out;
    EXPECT_FALSE(fs::exists(cwd / ".zibbetstate"));
    fs::remove_all(cwd);
}

} // namespace
