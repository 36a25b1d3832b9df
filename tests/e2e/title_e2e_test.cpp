// The real program under the test's X server: it reaches its title, and Escape there ends it
// with status 0, saving nothing.
#include "common/child_process.h"
#include "e2e/x11_window_support.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

using Rgb = std::array<int, 3>;

struct Shot {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    Rgb At(int x, int y) const {
        const unsigned char* p = rgb.data() + (static_cast<size_t>(y) * width + x) * 3;
        return {p[0], p[1], p[2]};
    }
};

int Shell(const std::string& command) {
    return std::system(command.c_str());
}

// The window's contents, as the player sees them.
Shot Screenshot(unsigned long window, const fs::path& file) {
    Shot shot;
    Shell("import -window " + std::to_string(window) + " png:" + file.string() + " 2>/dev/null");
    int channels = 0;
    if (unsigned char* data = stbi_load(file.c_str(), &shot.width, &shot.height, &channels, 3)) {
        shot.rgb.assign(data, data + static_cast<size_t>(shot.width) * shot.height * 3);
        stbi_image_free(data);
    }
    return shot;
}

// Polls (the program loads in the background) until the shot satisfies `ready`.
Shot AwaitShot(unsigned long window, const fs::path& file, bool (*ready)(const Shot&)) {
    Shot shot;
    auto deadline = std::chrono::steady_clock::now() + 30s;
    while (std::chrono::steady_clock::now() < deadline) {
        shot = Screenshot(window, file);
        if (shot.width == 640 && shot.height == 480 && ready(shot))
            break;
        std::this_thread::sleep_for(100ms);
    }
    return shot;
}

bool TitleShown(const Shot& shot) {
    return shot.At(639, 479) == Rgb{170, 170, 170};
}

TEST(TitleE2E, TheTitleAppearsAndEscapeEndsWithStatusZero) {
    TestDisplay display;
    ASSERT_TRUE(display.ok()) << "needs a display (Xvfb)";
    char name[] = "/tmp/e2e-title.XXXXXX";
    const fs::path cwd = mkdtemp(name);

    int out = -1;
    pid_t pid = StartProgram({{SKIDDLEWICK_BINARY}, {"ALSOFT_DRIVERS=null"}, cwd.string()}, &out);
    ASSERT_GT(pid, 0);
    auto window = display.AwaitWindowOf(pid, 20);
    if (!window)
        kill(pid, SIGKILL);
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
