// The image loader and the start-up asset groups end to end on the generated data files, with a
// real OpenGL context: decoding on loader threads, textures and listeners on this thread.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include "collision/game_masks.h"
#include "common/child_process.h"
#include "files/stream.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "host/glfw_game.h"
#include "loading/asset_groups.h"
#include "loading/game_images.h"
#include "loading/game_sounds.h"
#include "loading/spectrum_font_images.h"
#include "loading/title_images.h"
#include "support/data_dir_host.h"
#include "support/pump.h"

namespace {

struct ImageDelivery {
    bool loaded;
    int width;
    unsigned texture;
    String path;
    c_IAsyncEventSource* source;
};

class RecordingImageListener : public c_IOnLoadImageComplete {
public:
    void p_OnLoadImageComplete(std::unique_ptr<c_Image> image, const String& path,
                               c_IAsyncEventSource* source) override {
        deliveries.push_back({image != nullptr, image ? image->p_Width() : 0,
                              image ? image->p_Surface()->Texture() : 0u, path, source});
    }
    std::vector<ImageDelivery> deliveries;
};

class LoadersDisplayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(glfwInit(), GLFW_TRUE);
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        window = glfwCreateWindow(640, 480, "loaders", nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        glfwMakeContextCurrent(window);
        ++glfwGraphicsSeq;
        host = std::make_unique<DataDirHost>(bb_str(SKIDDLEWICK_DATA_DIR));
        bb_app_Reset();
        device = std::make_unique<gxtkGraphics>();
        bb_graphics_device = device.get();
    }
    static void TearDownTestSuite() {
        bb_graphics_device = nullptr;
        device.reset();
        host.reset();
        glfwDestroyWindow(window);
    }
    void SetUp() override {
        bb_stream_Init();
        bb_asyncevent_Init();
        bb_assetgroups_Init();
        bb_masks_Init();
        c_Image::m_DefaultFlags = 0;
    }
    void TearDown() override {
        PumpUntil([] { return bb_asyncevent__sources.empty(); });
    }

    static GLFWwindow* window;
    static std::unique_ptr<DataDirHost> host;
    static std::unique_ptr<gxtkGraphics> device;
};

GLFWwindow* LoadersDisplayTest::window = nullptr;
std::unique_ptr<DataDirHost> LoadersDisplayTest::host;
std::unique_ptr<gxtkGraphics> LoadersDisplayTest::device;

} // namespace

TEST_F(LoadersDisplayTest, ImagesArriveInStartOrderWithTheCallersPath) {
    RecordingImageListener listener;
    bb_asyncloaders_LoadImageAsync(u"Graphics/Title.png", 1, 0, &listener);
    bb_asyncloaders_LoadImageAsync(u"Graphics/NoSuchPicture.png", 1, 0, &listener);
    bb_asyncloaders_LoadImageAsync(u"zibbet://data/Graphics/BackdropSki.png", 1, 0, &listener);
    const std::vector<std::shared_ptr<c_IAsyncEventSource>> loaders = bb_asyncevent__sources;
    ASSERT_TRUE(bb_thread_AwaitLoaders(std::chrono::seconds(30)));
    bb_asyncevent_UpdateAsyncEvents();

    ASSERT_EQ(listener.deliveries.size(), 3u);
    const ImageDelivery& title = listener.deliveries[0];
    EXPECT_TRUE(title.loaded);
    EXPECT_GT(title.width, 0);
    EXPECT_EQ(title.texture, 0u); // a white mask: its tinted copy draws it
    EXPECT_EQ(title.path, u"Graphics/Title.png");
    EXPECT_EQ(title.source, loaders[0].get());
    EXPECT_FALSE(listener.deliveries[1].loaded);
    EXPECT_EQ(listener.deliveries[1].path, u"Graphics/NoSuchPicture.png");
    EXPECT_TRUE(listener.deliveries[2].loaded);
    EXPECT_NE(listener.deliveries[2].texture, 0u); // made on this thread, at delivery
    EXPECT_EQ(listener.deliveries[2].path, u"zibbet://data/Graphics/BackdropSki.png");
}

TEST_F(LoadersDisplayTest, TheStartUpGroupsLoadTogether) {
    c_SpectrumFontImages font;
    c_GameImages& images = *bb_gamegraphics_gameImages;
    font.p_StartLoad();
    bb_titlegraphics_titleImages->p_StartLoad();
    images.p_StartLoad();
    bb_gamesounds_gameSounds->p_StartLoad();
    bb_masks_gameMasks->p_StartLoad();
    EXPECT_EQ(bb_asyncevent__sources.size(), 39u);

    // The sprites are cut at once; the group waits for its two backdrops.
    ASSERT_NE(images.m_skiHut, nullptr);
    EXPECT_FALSE(images.p_IsLoaded());
    for (const auto& sprite : c_GameImages::kSprites) {
        EXPECT_NE(images.*sprite.field, nullptr) << bb_narrow(sprite.path);
    }
    // The walker run over on its second upward frame has a picture of its own.
    ASSERT_NE(images.m_tazzleWalkUp2Dead, nullptr);
    EXPECT_NE(images.m_tazzleWalkUp2Dead->p_Frame(0)->m_x * 10000 +
                  images.m_tazzleWalkUp2Dead->p_Frame(0)->m_y,
              images.m_tazzleWalkUp2->p_Frame(0)->m_x * 10000 +
                  images.m_tazzleWalkUp2->p_Frame(0)->m_y);

    ASSERT_TRUE(PumpUntil([&] {
        return font.p_IsLoaded() && bb_titlegraphics_titleImages->p_IsLoaded() &&
               images.p_IsLoaded() && bb_gamesounds_gameSounds->p_IsLoaded() &&
               bb_masks_gameMasks->p_IsLoaded();
    }));
    EXPECT_NE(bb_titlegraphics_titleImages->m_title, nullptr);
    EXPECT_NE(images.m_backdropRoad, nullptr);
    EXPECT_NE(images.m_backdropSki, nullptr);
    EXPECT_EQ(bb_gamesounds_gameSounds->m_woop, nullptr); // no audio device here: null, counted
    for (const auto& glyph : font.m_normalGlyphs)
        EXPECT_NE(glyph, nullptr);
    for (const auto& glyph : font.m_inverseGlyphs)
        EXPECT_NE(glyph, nullptr);
}

TEST_F(LoadersDisplayTest, AMissingAtlasEndsTheProgram) {
    const ChildResult outcome = RunInChild([] {
        DataDirHost empty(u"/nonexistent-data-folder");
        bb_app_Reset();
        bb_gamegraphics_gameImages->p_StartLoad();
    });
    EXPECT_THAT(outcome.out, ::testing::StartsWith(
                                 "Zibbet Runtime Error : Can't load 'Graphics/Sprites.png'\n"));
    EXPECT_EQ(outcome.status, 255);
}
