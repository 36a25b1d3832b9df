// The asset groups' bookkeeping: starting once, storing by exact path, counting every
// completion, discarding, and the font sheet's glyph grid.
#include <gtest/gtest.h>

#include <cstdlib>

#include "loading/asset_groups.h"
#include "loading/game_sounds.h"
#include "loading/road_sounds.h"
#include "loading/ski_sounds.h"
#include "loading/spectrum_font_images.h"
#include "loading/title_images.h"
#include "support/pump.h"

namespace {

class AssetGroupsTest : public ::testing::Test {
protected:
    void SetUp() override {
        bb_asyncevent_Init();
        bb_assetgroups_Init();
    }
    void TearDown() override {
        PumpUntil([] { return bb_asyncevent__sources.empty(); });
    }
};

std::unique_ptr<c_Sound> NewSound() {
    return c_Sound::m_new(std::make_shared<gxtkSample>());
}

// A single-frame image over a blank surface of the given size (no texture is made).
std::unique_ptr<c_Image> BlankImage(int width, int height) {
    auto* pixels = static_cast<unsigned char*>(std::calloc(width * height, 4));
    auto image = c_Image::m_new();
    image->p_Init(gxtkSurface::FromPixels(gxtkPixels(pixels), width, height, 4), 1, 0);
    return image;
}

} // namespace

TEST_F(AssetGroupsTest, StartingTwiceStartsTheLoadsOnce) {
    bb_roadsounds_roadSounds->p_StartLoad();
    EXPECT_TRUE(bb_roadsounds_roadSounds->p_IsLoading());
    EXPECT_EQ(bb_asyncevent__sources.size(), 4u);
    bb_roadsounds_roadSounds->p_StartLoad();
    bb_titlegraphics_titleImages->p_StartLoad();
    bb_titlegraphics_titleImages->p_StartLoad();
    EXPECT_EQ(bb_asyncevent__sources.size(), 5u);

    // With no devices every load fails: each is delivered as null and still counts.
    ASSERT_TRUE(PumpUntil([] {
        return bb_roadsounds_roadSounds->p_IsLoaded() && bb_titlegraphics_titleImages->p_IsLoaded();
    }));
    EXPECT_EQ(bb_roadsounds_roadSounds->m_loadedCount, 4);
    EXPECT_EQ(bb_roadsounds_roadSounds->m_siren, nullptr);
    EXPECT_EQ(bb_titlegraphics_titleImages->m_title, nullptr);
}

TEST_F(AssetGroupsTest, CompletionsAreStoredByExactPathAndAllCount) {
    c_SkiSounds& ski = *bb_skisounds_skiSounds;
    ski.m_loadState = c_LoadingStatus::m_Loading;
    auto beep = NewSound();
    c_Sound* beepSound = beep.get();
    ski.p_OnLoadSoundComplete(std::move(beep), u"Sounds/Beep.wav", nullptr);
    ski.p_OnLoadSoundComplete(NewSound(), u"sounds/skibump.wav", nullptr); // case matters
    ski.p_OnLoadSoundComplete(NewSound(), u"Sounds/Woop.wav", nullptr);    // not this group's
    EXPECT_EQ(ski.m_beep.get(), beepSound);
    EXPECT_EQ(ski.m_skiBump, nullptr);
    EXPECT_EQ(ski.m_loadedCount, 3);
    EXPECT_TRUE(ski.p_IsLoading());
    ski.p_OnLoadSoundComplete(nullptr, u"Sounds/SkiCrash.wav", nullptr);
    EXPECT_TRUE(ski.p_IsLoaded());
    EXPECT_EQ(ski.m_skiCrash, nullptr);

    c_GameSounds& game = *bb_gamesounds_gameSounds;
    game.m_loadState = c_LoadingStatus::m_Loading;
    game.p_OnLoadSoundComplete(NewSound(), u"Sounds/Woop.wav", nullptr);
    EXPECT_TRUE(game.p_IsLoaded());
    EXPECT_NE(game.m_woop, nullptr);
}

TEST_F(AssetGroupsTest, DiscardGivesUpTheSamplesOnlyWhenLoaded) {
    c_RoadSounds& road = *bb_roadsounds_roadSounds;
    road.m_loadState = c_LoadingStatus::m_Loading;
    road.p_OnLoadSoundComplete(NewSound(), u"Sounds/Siren.wav", nullptr);
    road.p_Discard(); // only loading: nothing is released
    EXPECT_EQ(road.m_loadState, c_LoadingStatus::m_NotStarted);
    ASSERT_NE(road.m_siren, nullptr);
    EXPECT_NE(road.m_siren->m_sample, nullptr);

    // Completions after the discard are still stored and counted.
    road.p_OnLoadSoundComplete(NewSound(), u"Sounds/Register.wav", nullptr);
    road.p_OnLoadSoundComplete(NewSound(), u"Sounds/Car.wav", nullptr);
    road.p_OnLoadSoundComplete(nullptr, u"Sounds/CarCrash.wav", nullptr);
    EXPECT_EQ(road.m_loadedCount, 4);
    EXPECT_TRUE(road.p_IsLoaded());
    road.p_Discard();
    EXPECT_FALSE(road.p_IsLoading());
    EXPECT_EQ(road.m_loadState, c_LoadingStatus::m_NotStarted);
    for (c_Sound* sound : {road.m_siren.get(), road.m_register.get(), road.m_car.get()}) {
        ASSERT_NE(sound, nullptr); // the sounds stay, without samples
        EXPECT_EQ(sound->m_sample, nullptr);
    }
    road.p_Discard(); // again: harmless
    EXPECT_EQ(road.m_loadState, c_LoadingStatus::m_NotStarted);
}

TEST_F(AssetGroupsTest, TheFontSheetIsCutIntoTwoGlyphGrids) {
    c_SpectrumFontImages font;
    EXPECT_EQ(font.m_normalGlyphs.size(), 96u);
    font.m_loadState = c_LoadingStatus::m_Loading;
    font.p_OnLoadImageComplete(BlankImage(256, 256), u"Graphics/SpectrumFont.png", nullptr);
    EXPECT_TRUE(font.p_IsLoaded());
    struct Cell {
        const c_Image* glyph;
        int x, y; // the cell's top-left corner; the glyph starts inside its border
    };
    const Cell cells[] = {
        {font.m_normalGlyphs[0].get(), 0, 0},       {font.m_normalGlyphs[13].get(), 234, 0},
        {font.m_normalGlyphs[14].get(), 0, 18},     {font.m_normalGlyphs[95].get(), 198, 108},
        {font.m_inverseGlyphs[0].get(), 0, 129},    {font.m_inverseGlyphs[14].get(), 0, 147},
        {font.m_inverseGlyphs[95].get(), 198, 237},
    };
    for (const Cell& cell : cells) {
        ASSERT_NE(cell.glyph, nullptr);
        ASSERT_EQ(cell.glyph->p_Frames(), 1);
        EXPECT_EQ(cell.glyph->p_Frame(0)->m_x, cell.x + 1);
        EXPECT_EQ(cell.glyph->p_Frame(0)->m_y, cell.y + 1);
        EXPECT_EQ(cell.glyph->p_Width(), 16);
        EXPECT_EQ(cell.glyph->p_Height(), 16);
    }
}

TEST_F(AssetGroupsTest, AFontSheetThatFailedStillCountsAndLeavesNoGlyphs) {
    c_SpectrumFontImages font;
    font.p_StartLoad(); // no renderer: the sheet cannot load
    ASSERT_TRUE(PumpUntil([&] { return font.p_IsLoaded(); }));
    EXPECT_EQ(font.m_loadedCount, 1);
    for (const auto& glyph : font.m_normalGlyphs)
        EXPECT_EQ(glyph, nullptr);
    for (const auto& glyph : font.m_inverseGlyphs)
        EXPECT_EQ(glyph, nullptr);

    c_SpectrumFontImages strip; // a sheet of two frames cannot be cut
    strip.m_loadState = c_LoadingStatus::m_Loading;
    auto image = c_Image::m_new();
    auto* pixels = static_cast<unsigned char*>(std::calloc(512 * 256, 4));
    image->p_Init(gxtkSurface::FromPixels(gxtkPixels(pixels), 512, 256, 4), 2, 0);
    strip.p_OnLoadImageComplete(std::move(image), u"Graphics/SpectrumFont.png", nullptr);
    EXPECT_TRUE(strip.p_IsLoaded());
    EXPECT_EQ(strip.m_normalGlyphs[0], nullptr);
}
