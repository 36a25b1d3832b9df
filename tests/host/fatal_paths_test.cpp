// The fatal paths and their exact output and exit status, each run in a child process.
#include "common/child_process.h"
#include "host/bb_game.h"
#include "host/errors.h"
#include "host/glfw_game.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

class ThrowingDelegate : public BBGameDelegate {
public:
    void UpdateGame() override { throw ThrowableObject(); }
};

} // namespace

TEST(FatalPaths, ErrorMessagesAndStatuses) {
    const struct {
        const char* name;
        std::function<void()> body;
        std::string out;
        int status;
    } cases[] = {
        {"bbError", [] { bbError(u"Image frame outside surface"); },
         "Zibbet Runtime Error : Image frame outside surface\n\n", 255},
        {"narrowed", [] { bbError(u"Can't load '\u00e9'"); },
         "Zibbet Runtime Error : Can't load '\xE9'\n\n", 255},
        {"quit", [] { bbError(u""); }, "", 0},
        {"dbg_error", [] { dbg_error("boom"); }, "Zibbet Runtime Error : boom\n\n", 255},
        {"Die", [] { BBGame().Die(nullptr); },
         "Zibbet Runtime Error : Uncaught Zibbet Exception\n\n", 255},
        {"SIGFPE", [] { bb_host_SignalHandler(SIGFPE); },
         "Zibbet Runtime Error : Floating point exception\n\n", 255},
        {"SIGSEGV",
         [] {
             bb_host_InstallSignalHandlers();
             std::raise(SIGSEGV);
         },
         "Zibbet Runtime Error : Memory access violation\n\n", 255},
        {"SIGILL", [] { bb_host_SignalHandler(SIGILL); },
         "Zibbet Runtime Error : Illegal instruction\n\n", 255},
        {"other signal", [] { bb_host_SignalHandler(SIGUSR1); },
         "Zibbet Runtime Error : Unknown signal\n\n", 255},
        {"uncaught in dispatch",
         [] {
             BBGame host;
             ThrowingDelegate delegate;
             host.SetDelegate(&delegate);
             host.StartGame();
             host.UpdateGame();
         },
         "Zibbet Runtime Error : Uncaught Zibbet Exception\n\n", 255},
        {"GLFW error", [] { onGlfwError(65544, "X11: no display"); },
         "GLFW Error: err=65544, msg=X11: no display\n", 0},
        {"bbPrint", [] { bbPrint(u"caf\u00e9 \u20ac"); }, "caf\xC3\xA9 \xE2\x82\xAC\n", 0},
    };
    for (const auto& c : cases) {
        ChildResult r = RunInChild(c.body);
        EXPECT_EQ(r.out, c.out) << c.name;
        EXPECT_EQ(r.status, c.status) << c.name;
    }
}

TEST(FatalPaths, AWindowThatCannotBeOpenedAborts) {
    // Without glfwInit no window can be made.
    ChildResult r = RunInChild([] { BBGlfwGame().SetDeviceWindow(64, 48, BBGame::kResizable); });
    EXPECT_EQ(r.out, "glfwCreateWindow FAILED!\n");
    EXPECT_EQ(r.signal, SIGABRT);
}

TEST(FatalPaths, NoDisplayEndsWithGlfwInitFailed) {
    ChildResult r = RunProgram({{SKIDDLEWICK_BINARY}, {"DISPLAY", "WAYLAND_DISPLAY"}, ""});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "GLFW Error: err=65544, msg=X11: The DISPLAY environment variable is missing\n"
                     "glfwInit failed\n");
}
