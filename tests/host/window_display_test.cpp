// The desktop host with a real window under Xvfb: creation hints and placement, the GLFW
// callbacks as game events, focus before the first focus, and key-ups when the window is
// recreated while a key is held.
#include "host/glfw_game.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

// From GLFW's native access (its header pulls in X11 extension headers the build does not need).
extern "C" unsigned long glfwGetX11Window(GLFWwindow* window);

namespace {

struct Event {
    int event, data;
    bool operator==(const Event&) const = default;
};

class RecordingDelegate : public BBGameDelegate {
public:
    void KeyEvent(int event, int data) override { keys.push_back({event, data}); }
    void MouseEvent(int event, int data, float x, float y) override {
        mouse.push_back({event, data});
        lastX = x;
        lastY = y;
    }
    void SuspendGame() override { ++suspends; }
    void UpdateGame() override { ++updates; }
    void RenderGame() override { ++renders; }
    std::vector<Event> keys, mouse;
    int updates = 0, renders = 0;
    float lastX = 0, lastY = 0;
    int suspends = 0;
};

class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(glfwInit()) << "needs a display (Xvfb)"; }
    // GLFW stays initialised until the process ends: terminating it unloads the GL driver,
    // whose own allocations the leak checker would then report as ours.
    void SetUp() override {
        host_ = std::make_unique<BBGlfwGame>();
        host_->SetDelegate(&delegate_);
    }
    void TearDown() override { host_.reset(); }
    std::unique_ptr<BBGlfwGame> host_;
    RecordingDelegate delegate_;
};

// Exposes one pass of the frame loop.
class PassHost : public BBGlfwGame {
public:
    using BBGlfwGame::RunPass;
};

// Runs xdotool against the display the tests run on.
int Xdotool(const std::string& args) {
    return std::system(("xdotool " + args).c_str());
}

} // namespace

TEST_F(WindowTest, OpensAResizableDecoratedWindowCentredOnTheDesktop) {
    int seq = glfwGraphicsSeq;
    host_->SetDeviceWindow(640, 480, BBGame::kResizable | BBGame::kDecorated);
    GLFWwindow* window = host_->GetGLFWwindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(glfwGraphicsSeq, seq + 1);
    int w = 0, h = 0;
    glfwGetWindowSize(window, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_EQ(host_->GetDeviceWidth(), 640);
    EXPECT_EQ(glfwGetWindowAttrib(window, GLFW_RESIZABLE), GLFW_TRUE);
    EXPECT_EQ(glfwGetWindowAttrib(window, GLFW_DECORATED), GLFW_TRUE);
    EXPECT_EQ(glfwGetWindowAttrib(window, GLFW_FLOATING), GLFW_FALSE);
    EXPECT_EQ(glfwGetWindowAttrib(window, GLFW_VISIBLE), GLFW_TRUE);
    EXPECT_EQ(glfwGetCurrentContext(), window);

    auto desktop = host_->GetDesktopMode();
    ASSERT_TRUE(desktop.has_value());
    ASSERT_GT(desktop->width, 0);
    int x = -1, y = -1;
    glfwGetWindowPos(window, &x, &y);
    EXPECT_EQ(x, (desktop->width - 640) / 2);
    EXPECT_EQ(y, (desktop->height - 480) / 2);

    for (const BBDisplayMode& mode : host_->GetDisplayModes()) {
        EXPECT_GT(mode.width, 0);
        EXPECT_EQ(mode.depth + mode.hertz + mode.flags, 0);
    }

    host_->SetDeviceWindow(320, 200, 2);
    EXPECT_EQ(glfwGraphicsSeq, seq + 2);
    EXPECT_EQ(glfwGetWindowAttrib(host_->GetGLFWwindow(), GLFW_DECORATED), GLFW_FALSE);
    EXPECT_EQ(host_->GetDeviceHeight(), 200);
}

TEST_F(WindowTest, CallbacksBecomeGameEvents) {
    host_->SetDeviceWindow(640, 480, BBGame::kResizable | BBGame::kDecorated);
    host_->StartGame();
    GLFWwindow* window = host_->GetGLFWwindow();

    BBGlfwGame::OnKey(window, GLFW_KEY_LEFT, 0, GLFW_PRESS, 0);
    BBGlfwGame::OnKey(window, GLFW_KEY_LEFT, 0, GLFW_REPEAT, 0);
    BBGlfwGame::OnKey(window, GLFW_KEY_LEFT, 0, GLFW_RELEASE, 0);
    BBGlfwGame::OnKey(window, GLFW_KEY_A, 0, GLFW_PRESS, 0);
    BBGlfwGame::OnKey(window, GLFW_KEY_LEFT_ALT, 0, GLFW_PRESS, 0);
    BBGlfwGame::OnChar(window, 0x20AC);
    EXPECT_EQ(delegate_.keys,
              (std::vector<Event>{
                  {1, 37}, {3, 0x10025}, {1, 37}, {3, 0x10025}, {2, 37}, {1, 65}, {3, 0x20AC}}));

    delegate_.keys.clear();
    BBGlfwGame::OnWindowClose(window);
    EXPECT_EQ(delegate_.keys, (std::vector<Event>{{1, 432}, {2, 432}}));
    EXPECT_FALSE(glfwWindowShouldClose(window));

    BBGlfwGame::OnMouseButton(window, GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS, 0);
    BBGlfwGame::OnMouseButton(window, GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE, 0);
    BBGlfwGame::OnMouseButton(window, 3, GLFW_PRESS, 0);
    BBGlfwGame::OnCursorPos(window, 12.5, 30);
    EXPECT_EQ(delegate_.mouse, (std::vector<Event>{{4, 1}, {5, 1}, {6, -1}}));
    EXPECT_FLOAT_EQ(delegate_.lastX, 12.5f);

    BBGlfwGame::OnWindowSize(window, 800, 600);
    EXPECT_EQ(host_->GetDeviceWidth(), 800);
    EXPECT_EQ(host_->GetDeviceHeight(), 600);
}

TEST_F(WindowTest, NeverFocusedWindowDoesNotSuspend) {
    host_->StartGame();
    host_->SetDeviceWindow(640, 480, BBGame::kResizable | BBGame::kDecorated);
    host_->ApplyFocus(false);
    EXPECT_FALSE(host_->Suspended());
    host_->ApplyFocus(true);
    host_->ApplyFocus(false);
    EXPECT_TRUE(host_->Suspended());
    EXPECT_EQ(delegate_.suspends, 1);
}

TEST_F(WindowTest, RecreatingTheWindowReleasesHeldKeys) {
    host_->StartGame();
    host_->SetDeviceWindow(640, 480, BBGame::kResizable | BBGame::kDecorated);
    GLFWwindow* window = host_->GetGLFWwindow();
    const std::string id = std::to_string(glfwGetX11Window(window));
    // Sent to the window itself, so no other window's focus matters.
    ASSERT_EQ(Xdotool("keydown --window " + id + " Left"), 0);
    for (int i = 0; i < 100 && glfwGetKey(window, GLFW_KEY_LEFT) != GLFW_PRESS; ++i)
        glfwWaitEventsTimeout(0.05);
    ASSERT_EQ(glfwGetKey(window, GLFW_KEY_LEFT), GLFW_PRESS);
    delegate_.keys.clear();

    host_->SetDeviceWindow(320, 240, BBGame::kResizable | BBGame::kDecorated);
    Xdotool("keyup --window " + std::to_string(glfwGetX11Window(host_->GetGLFWwindow())) + " Left");
    EXPECT_EQ(delegate_.keys, (std::vector<Event>{{2, 37}}));
}

// The start-up opens the window the settings ask for, and the game asks for it again as it
// starts: the window stays, context, textures and all, rather than blink.
TEST_F(WindowTest, TheSameWindowAskedForAgainIsKept) {
    host_->SetDeviceWindow(320, 240, BBGame::kDecorated);
    GLFWwindow* window = host_->GetGLFWwindow();
    const int seq = glfwGraphicsSeq;
    host_->SetDeviceWindow(320, 240, BBGame::kDecorated);
    EXPECT_EQ(host_->GetGLFWwindow(), window);
    EXPECT_EQ(glfwGraphicsSeq, seq);
    host_->SetDeviceWindow(320, 240, BBGame::kDecorated | BBGame::kResizable);
    EXPECT_EQ(glfwGraphicsSeq, seq + 1);
}

TEST_F(WindowTest, SwapIntervalIsStoredWithoutAWindowAndAppliedWithOne) {
    host_->SetSwapInterval(0);
    EXPECT_EQ(host_->GetGLFWwindow(), nullptr);
    host_->SetDeviceWindow(64, 48, BBGame::kResizable | BBGame::kDecorated);
    host_->SetSwapInterval(1);
    host_->SetSwapInterval(-1);
    EXPECT_NE(host_->GetGLFWwindow(), nullptr);
    // Millisecs follows GLFW's clock.
    glfwSetTime(12.3456);
    EXPECT_EQ(host_->Millisecs(), 12345);
}

TEST(FramePass, TheDesktopPassPumpsTheWindowAndFollowsItsFocus) {
    ASSERT_TRUE(glfwInit());
    PassHost host;
    RecordingDelegate delegate;
    host.SetDelegate(&delegate);
    host.SetDeviceWindow(64, 48, BBGame::kResizable | BBGame::kDecorated);
    host.StartGame();
    double clock = 10.0;
    host.SetClock([&] { return clock; });
    host.SetSleep([&](double seconds) { clock += seconds; });
    host.SetUpdateRate(100);

    host.RunPass();
    host.RunPass();
    EXPECT_EQ(delegate.updates, 2);
    EXPECT_EQ(delegate.renders, 2);
    EXPECT_DOUBLE_EQ(host.NextUpdate(), 10.02);

    // Hiding the window takes its focus: the next pass suspends the game, and while suspended a
    // pass renders, waits for an event and runs no update.
    glfwHideWindow(host.GetGLFWwindow());
    host.RunPass();
    ASSERT_TRUE(host.Suspended());
    EXPECT_EQ(delegate.suspends, 1);
    glfwPostEmptyEvent();
    host.RunPass();
    EXPECT_EQ(delegate.updates, 2);
    EXPECT_EQ(delegate.renders, 4);

    // Shown again it has focus back: the game resumes and updates in the same pass.
    glfwShowWindow(host.GetGLFWwindow());
    glfwPostEmptyEvent();
    host.RunPass();
    EXPECT_FALSE(host.Suspended());
    EXPECT_EQ(delegate.updates, 3);
}
