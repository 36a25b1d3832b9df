// The scenario harness: the host without its frame loop, driven step by step.

#include "scenario/game_harness.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "common/config_folder.h"
#include "game/init.h"
#include "game/tazzle.h"
#include "host/app.h"
#include "host/zibbet_game.h"
#include "loading/async_event.h"
#include "loading/thread.h"
#include "loading/title_images.h"
#include "support/data_beside_program.h"

namespace {

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;

} // namespace

GameHarness::GameHarness(const std::string& stateText) {
    setenv("ALSOFT_DRIVERS", "null", 0); // sound is played, but nowhere
    LinkDataBesideTestProgram();
    m_previousFolder = std::filesystem::current_path();
    m_folder = MakeConfigFolder("skiddlewick-scenario");
    if (m_folder.empty())
        throw std::runtime_error("no config folder");
    std::filesystem::current_path(m_folder);
    if (!stateText.empty())
        std::ofstream(".zibbetstate", std::ios::binary) << stateText;

    if (!glfwInit())
        throw std::runtime_error("glfwInit failed");
    m_host = std::make_unique<BBZibbetGame>();
    bbInit();
    bbMain();
    m_host->SetDeviceWindow(kWindowWidth, kWindowHeight, 6);
    m_host->StartGame();
}

GameHarness::~GameHarness() {
    // The application and its devices go while the window's context still exists. GLFW stays
    // initialised until the process ends: terminating it unloads the GL driver, whose own
    // allocations the leak checker would then report as ours.
    // Loader threads still reading files through the host must finish before it goes.
    AwaitLoaders();
    bbInit();
    m_host.reset();
    std::error_code error;
    std::filesystem::current_path(m_previousFolder, error);
    RemoveConfigFolder(m_folder);
}

void GameHarness::Update(int count) {
    for (int i = 0; i < count; ++i)
        m_host->UpdateGame();
}

void GameHarness::Render() {
    m_host->RenderGame();
}

bool GameHarness::UpdateUntil(const std::function<bool()>& condition, int maxUpdates) {
    for (int i = 0; i < maxUpdates; ++i) {
        if (condition())
            return true;
        Update();
        std::this_thread::yield();
    }
    return condition();
}

void GameHarness::AwaitLoaders() {
    ASSERT_TRUE(bb_thread_AwaitLoaders(std::chrono::minutes(1))) << "a loader thread hangs";
}

void GameHarness::WaitForTitle() {
    // Each update waits for the loads begun before it, as the replay does: counting updates alone
    // would let a busy machine starve the loader threads until the count ran out.
    const auto titleRuns = [] {
        return bb_tazzle_mainState == c_MainState::Title &&
               bb_titlegraphics_titleImages->p_IsLoaded();
    };
    for (int update = 0; update < 1000 && !titleRuns(); ++update) {
        AwaitLoaders();
        Update();
    }
    ASSERT_TRUE(titleRuns()) << "the game did not reach its title";
    Render(); // the first frame fits the virtual display to the window, as the loop does
}

void GameHarness::KeyDown(int keyCode) {
    m_host->KeyEvent(1, keyCode);
}

void GameHarness::KeyUp(int keyCode) {
    m_host->KeyEvent(2, keyCode);
}

void GameHarness::Tap(int keyCode) {
    KeyDown(keyCode);
    KeyUp(keyCode);
}

void GameHarness::MouseMove(float x, float y) {
    m_host->MouseEvent(6, -1, x, y);
}

void GameHarness::MouseDown(float x, float y) {
    m_host->MouseEvent(4, 0, x, y);
}

void GameHarness::MouseUp(float x, float y) {
    m_host->MouseEvent(5, 0, x, y);
}

std::array<int, 3> GameHarness::Pixel(int x, int y) const {
    std::uint8_t rgba[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(x, kWindowHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2]};
}

std::string GameHarness::StateFile() const {
    std::ifstream file(m_folder / ".zibbetstate", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::array<int, 3>> ReadPixels(GameHarness& game, int x, int y, int w, int h) {
    std::vector<std::array<int, 3>> pixels;
    for (int py = y; py < y + h; ++py) {
        for (int px = x; px < x + w; ++px)
            pixels.push_back(game.Pixel(px, py));
    }
    return pixels;
}

void ExpectAWholeFadeFrom(GameHarness& game, std::array<int, 3> firstBand, int from, int to) {
    game.Update();
    game.Render();
    EXPECT_EQ(game.Pixel(0, 0), firstBand);
    game.Update(110);
    EXPECT_EQ(bb_tazzle_mainState, from);
    game.Update();
    EXPECT_EQ(bb_tazzle_mainState, to);
}

int CountPixels(GameHarness& game, int x, int y, int w, int h, std::array<int, 3> colour) {
    std::vector<std::array<int, 3>> pixels = ReadPixels(game, x, y, w, h);
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
}
