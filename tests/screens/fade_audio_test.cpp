// The fade's woop: played on channel 4 at the start of each band sequence, at rates falling by
// 0.04, with the channel's rate back at 1.0 afterwards.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "audio/audio.h"
#include "audio/gxtk_audio.h"
#include "audio/sound.h"
#include "game/tazzle.h"
#include "loading/game_sounds.h"
#include "screens/fade.h"

namespace {

// Remembers what the fade asks of the audio device, update by update.
class RecordingAudio : public gxtkAudio {
public:
    struct Call {
        int update;
        int channel;
        float rate; // < 0 for a play
    };
    int PlaySample(const std::shared_ptr<gxtkSample>&, int channel, int) override {
        calls.push_back({update, channel, -1});
        return 0;
    }
    int SetRate(int channel, float rate) override {
        calls.push_back({update, channel, rate});
        return 0;
    }
    int update = 0;
    std::vector<Call> calls;
};

TEST(FadeWoop, PlaysSevenTimesAtFallingRates) {
    RecordingAudio audio;
    bb_audio_SetAudioDevice(&audio);
    bb_gamesounds_gameSounds = std::make_unique<c_GameSounds>();
    bb_gamesounds_gameSounds->m_woop = std::make_unique<c_Sound>(std::make_shared<gxtkSample>());
    bb_tazzle_paused = false;

    c_Fade fade(false);
    for (audio.update = 1; audio.update <= 112; ++audio.update)
        fade.p_OnUpdate();

    std::vector<RecordingAudio::Call> expected;
    for (int step = 0; step < 7; ++step) {
        expected.push_back({1 + 16 * step, 4, 1.0f - static_cast<float>(step) * 0.04f});
        expected.push_back({1 + 16 * step, 4, -1});
    }
    expected.push_back({112, 4, 1.0f});
    ASSERT_EQ(audio.calls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(audio.calls[i].update, expected[i].update) << i;
        EXPECT_EQ(audio.calls[i].channel, expected[i].channel) << i;
        EXPECT_FLOAT_EQ(audio.calls[i].rate, expected[i].rate) << i;
    }

    // Without a woop sample the rates are still set, but nothing is played.
    bb_gamesounds_gameSounds->m_woop.reset();
    audio.calls.clear();
    fade.p_OnUpdate();
    ASSERT_EQ(audio.calls.size(), 1u);
    EXPECT_EQ(audio.calls[0].rate, 1.0f);

    bb_audio_SetAudioDevice(nullptr);
    bb_gamesounds_gameSounds.reset();
}

} // namespace
