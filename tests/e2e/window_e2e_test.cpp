// The real program under Xvfb: it opens its 640 x 480 "Skiddlewick" window, runs, and the
// window's close button ends it with status 0.
#include "common/child_process.h"
#include "e2e/x11_window_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

TEST(ProgramWindow, OpensAndTheCloseButtonEndsItWithZero) {
    TestDisplay display;
    ASSERT_TRUE(display.ok()) << "needs a display (Xvfb)";
    char name[] = "/tmp/e2e-window.XXXXXX";
    const std::string cwd = mkdtemp(name);

    auto [pid, out, window] = StartWithWindow(display, {{SKIDDLEWICK_BINARY}, {}, cwd}, 20);
    ASSERT_TRUE(window.has_value()) << "no window appeared";
    EXPECT_EQ(window->title, "Skiddlewick");
    EXPECT_EQ(window->width, 640);
    EXPECT_EQ(window->height, 480);

    // The program keeps running until asked.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), 0);

    display.SendClose(window->id);
    ChildResult result = WaitProgram(pid, out, 20);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.status, 0) << result.out;
    fs::remove_all(cwd);
}
