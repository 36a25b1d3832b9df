// The renderer's texture filter as the player sees it: at the window's own 640 x 480 every screen
// looks exactly as it does linear-filtered while sampling the cheaper nearest texels; scaled, the
// picture stays smooth unless the player chose sharp pixels.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "game/tazzle.h"
#include "graphics/graphics.h"
#include "host/zibbet_game.h"
#include "loading/ski_sounds.h"
#include "loading/spectrum_font_images.h"
#include "loading/thread.h"
#include "persist/settings.h"
#include "scenario/game_harness.h"
#include "scenario/road_walk_support.h"
#include "ski/no_money_screen.h"
#include "ski/ski_screen.h"
#include "text/text.h"

namespace {

constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kUp = 38;
constexpr int kDown = 40;

// The back buffer's pixels as 0xAABBGGRR words, bottom row first.
std::vector<std::uint32_t> Frame(int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::set<std::uint32_t> Colours(const std::vector<std::uint32_t>& frame) {
    return {frame.begin(), frame.end()};
}

int ColoursOutside(const std::vector<std::uint32_t>& frame, const std::set<std::uint32_t>& own) {
    int count = 0;
    for (std::uint32_t colour : Colours(frame))
        count += own.count(colour) == 0;
    return count;
}

GLint FontFilter() {
    return bb_text_spectrumText->m_fontImages->m_normalGlyphs[0]->m_surface->TextureFilter();
}

void Step(GameHarness& game, int key) {
    game.Tap(key);
    game.Update();
}

// Draws the screen showing now twice, linear-filtered and with the renderer's own choice.
void ExpectAsLinearButNearest(GameHarness& game, const char* screen) {
    gxtkGraphics& device = *bb_graphics_device;
    device.SetFiltering(gxtkFiltering::Linear);
    game.Render();
    const std::vector<std::uint32_t> linear = Frame(640, 480);
    device.SetFiltering(gxtkFiltering::Automatic);
    game.Render();
    const std::vector<std::uint32_t> chosen = Frame(640, 480);
    int differing = 0;
    for (size_t i = 0; i < linear.size(); ++i)
        differing += linear[i] != chosen[i];
    EXPECT_EQ(differing, 0) << screen;
    // The font samples nearest: its own texture told so, or its coloured text drawn from the
    // tinted copies, which always sample nearest.
    EXPECT_TRUE(FontFilter() == GL_NEAREST || device.Stats().tintedBatches > 0) << screen;
}

} // namespace

TEST(TextureFilter, EveryScreenAtItsOwnSizeLooksLinearFilteredWhileSamplingNearest) {
    GameHarness game;
    game.WaitForTitle();
    ExpectAsLinearButNearest(game, "title");
    Step(game, kDown); // OPTIONS
    Step(game, kEnter);
    ASSERT_EQ(bb_tazzle_mainState, c_MainState::Options);
    ExpectAsLinearButNearest(game, "options");
    Step(game, kUp); // REDEFINE KEYS...
    Step(game, kEnter);
    ASSERT_EQ(bb_tazzle_mainState, c_MainState::RedefineKeys);
    ExpectAsLinearButNearest(game, "redefine keys");
    Step(game, kEscape);
    Step(game, kEscape);
    ASSERT_EQ(bb_tazzle_mainState, c_MainState::Title);

    StartRoad(game, 42);
    game.Update(60); // traffic on both carriageways
    ExpectAsLinearButNearest(game, "road");

    bb_tazzle_gotSkis = true;
    bb_tazzle_skiScreen->p_OnInit();
    bb_tazzle_mainState = c_MainState::Ski;
    bb_skisounds_skiSounds->p_StartLoad();
    ASSERT_TRUE(bb_thread_AwaitLoaders(std::chrono::seconds(30)));
    game.Update(150); // down among the trees and gates
    ASSERT_EQ(bb_tazzle_mainState, c_MainState::Ski);
    ExpectAsLinearButNearest(game, "slope");

    bb_tazzle_noMoneyScreen->p_OnInit();
    bb_tazzle_mainState = c_MainState::NoMoney;
    game.Update();
    ExpectAsLinearButNearest(game, "no money");
}

TEST(TextureFilter, AScaledPictureBlendsItsTexelsUnlessPixelsAreSharp) {
    GameHarness game;
    game.WaitForTitle();
    std::set<std::uint32_t> own = Colours(Frame(640, 480));
    own.insert(0xff000000u); // the black bands beside a wider picture

    // A 1280 x 720 window draws the title one and a half times as large, off the pixel grid. The
    // new window brings a new context, whose textures are made afresh.
    game.Host().SetDeviceWindow(1280, 720, 6);
    game.Render();
    EXPECT_GT(ColoursOutside(Frame(1280, 720), own), 0) << "no blended pixel: not smooth";
    EXPECT_EQ(FontFilter(), GL_LINEAR);

    bb_settings_gameSettings->m_sharpPixels = true;
    bb_settings_gameSettings->p_ApplySettings(false);
    game.Render();
    EXPECT_EQ(ColoursOutside(Frame(1280, 720), own), 0) << "a blended pixel: not sharp";
    EXPECT_EQ(FontFilter(), GL_NEAREST);
}
