// The sound loader and the sound groups end to end on the generated data files, with a real
// OpenAL device (its null output).
#include <gtest/gtest.h>

#include "audio/audio.h"
#include "loading/asset_groups.h"
#include "loading/game_sounds.h"
#include "loading/road_sounds.h"
#include "loading/ski_sounds.h"
#include "support/data_dir_host.h"
#include "support/pump.h"

namespace {

class SoundLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        bb_asyncevent_Init();
        bb_assetgroups_Init();
        bb_audio_device = &audio;
    }
    void TearDown() override {
        PumpUntil([] { return bb_asyncevent__sources.empty(); });
        bb_audio_device = nullptr;
    }

    DataDirHost host{bb_str(SKIDDLEWICK_DATA_DIR)};
    gxtkAudio audio;
};

} // namespace

TEST_F(SoundLoaderTest, SoundsArriveWithBuffersAndADiscardReleasesThem) {
    c_SkiSounds& ski = *bb_skisounds_skiSounds;
    ski.p_StartLoad();
    bb_gamesounds_gameSounds->p_StartLoad();
    ASSERT_TRUE(
        PumpUntil([&] { return ski.p_IsLoaded() && bb_gamesounds_gameSounds->p_IsLoaded(); }));
    ASSERT_NE(bb_gamesounds_gameSounds->m_woop, nullptr);
    EXPECT_NE(bb_gamesounds_gameSounds->m_woop->m_sample->buffer, 0u);
    for (const auto& file : c_SkiSounds::kFiles) {
        const c_Sound* sound = (ski.*file.field).get();
        ASSERT_NE(sound, nullptr) << bb_narrow(file.path);
        EXPECT_NE(sound->m_sample->buffer, 0u) << bb_narrow(file.path);
    }

    bb_audio_PlaySound(ski.m_skiBackground.get(), 0, 1);
    bb_audio_PlaySound(ski.m_beep.get(), 3, 1);
    ski.p_Discard();
    EXPECT_FALSE(ski.p_IsLoading());
    EXPECT_EQ(bb_audio_ChannelState(0), 0);
    EXPECT_EQ(bb_audio_ChannelState(3), 0);
    EXPECT_EQ(ski.m_skiBackground->m_sample, nullptr);

    ski.p_StartLoad(); // loads the four again into fresh sounds
    ASSERT_TRUE(PumpUntil([&] { return ski.p_IsLoaded(); }));
    EXPECT_NE(ski.m_skiBackground->m_sample, nullptr);
}

TEST_F(SoundLoaderTest, AMissingSoundIsDeliveredAsNull) {
    struct Listener : c_IOnLoadSoundComplete {
        void p_OnLoadSoundComplete(std::unique_ptr<c_Sound> sound, const String& path,
                                   c_IAsyncEventSource*) override {
            delivered = true;
            loaded = sound != nullptr;
            this->path = path;
        }
        bool delivered = false, loaded = true;
        String path;
    } listener;
    bb_asyncloaders_LoadSoundAsync(u"Sounds/NoSuchSound.wav", &listener);
    ASSERT_TRUE(PumpUntil([&] { return listener.delivered; }));
    EXPECT_FALSE(listener.loaded);
    EXPECT_EQ(listener.path, u"Sounds/NoSuchSound.wav");
}
