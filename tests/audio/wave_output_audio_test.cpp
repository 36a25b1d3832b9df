// What the player hears: OpenAL Soft's "wave" output records the mix to a file, in which a
// played sample or streamed music must be audible at its volume and a sample placed by its pan.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>

#include "audio/audio_device_support.h"
#include "audio/audio_files_support.h"

namespace {

struct Peaks {
    int left = 0, right = 0;
};

// OpenAL Soft writes an extensible WAV header; the mix asked for is 16-bit stereo.
Peaks MeasureRecording(const Bytes& wav) {
    Peaks peaks;
    std::size_t at = 12;
    while (at + 8 <= wav.size()) {
        std::uint32_t size = wav[at + 4] | (wav[at + 5] << 8) | (wav[at + 6] << 16) |
                             (std::uint32_t(wav[at + 7]) << 24);
        if (std::memcmp(&wav[at], "data", 4) == 0) {
            std::size_t end = std::min(wav.size(), at + 8 + size);
            for (std::size_t i = at + 8; i + 3 < end; i += 4) {
                peaks.left = std::max(peaks.left, std::abs(int(int16_t(wav[i] | wav[i + 1] << 8))));
                peaks.right =
                    std::max(peaks.right, std::abs(int(int16_t(wav[i + 2] | wav[i + 3] << 8))));
            }
            break;
        }
        at += 8 + size;
    }
    return peaks;
}

// Plays a 200 ms tone of amplitude 0.4 once on channel 7 after `setUp`, waits for its end,
// closes the device and measures the recording.
Peaks RecordTone(const std::function<void(gxtkAudio&)>& setUp) {
    ScratchDir dir;
    const std::string recording = dir.File("mix.wav");
    const std::string config =
        "[general]\nsample-type=int16\nchannels=stereo\nfrequency=44100\n[wave]\nfile=" +
        recording + "\n";
    RunWithOpenAl("wave", config, [&dir, &setUp] {
        const std::string tone = dir.File("tone.wav");
        WriteFile(tone, MakeWav(1, 16, 44100, Sine16(8820, 1, 44100, 440, 0.4)));
        AudioTestHost host;
        gxtkAudio audio;
        auto sample = audio.LoadSample(bb_str(tone));
        ASSERT_TRUE(sample);
        setUp(audio);
        ASSERT_EQ(audio.PlaySample(sample, 7, 0), 0);
        EXPECT_EQ(WaitForChannelState(audio, 7, CHANNEL_STOPPED), CHANNEL_STOPPED);
    });
    return MeasureRecording(ReadFile(recording));
}

// Streams a 0.3 s Ogg Vorbis tone of amplitude 0.5 once as music at `volume`, waits for its end
// and measures the recording.
Peaks RecordMusic(float volume) {
    ScratchDir dir;
    const std::string recording = dir.File("mix.wav");
    const std::string config =
        "[general]\nsample-type=int16\nchannels=stereo\nfrequency=44100\n[wave]\nfile=" +
        recording + "\n";
    RunWithOpenAl("wave", config, [&dir, volume] {
        const std::string music = dir.File("music.ogg");
        WriteFile(music, MakeOgg(13230, 1, 44100));
        AudioTestHost host;
        gxtkAudio audio;
        audio.SetMusicVolume(volume);
        ASSERT_EQ(audio.PlayMusic(bb_str(music), 0), 0);
        EXPECT_EQ(WaitForChannelState(audio, gxtkAudio::MUSIC_CHANNEL, CHANNEL_STOPPED),
                  CHANNEL_STOPPED);
    });
    return MeasureRecording(ReadFile(recording));
}

} // namespace

TEST(AudioOutput, StreamedMusicIsHeardAtTheMusicVolume) {
    const Peaks full = RecordMusic(1.0f);
    EXPECT_GT(full.left, 32767 * 0.5 * 0.5);
    EXPECT_LE(full.left, 32767 * 0.5 * 1.1);
    EXPECT_NEAR(double(RecordMusic(0.5f).left) / full.left, 0.5, 0.03);
    EXPECT_LT(RecordMusic(0.0f).left, 8); // the music key's "off": silence, to a rounding
}

TEST(AudioOutput, APlayedSampleIsHeardAtItsChannelsVolume) {
    const Peaks full = RecordTone([](gxtkAudio&) {});
    // Heard, from the middle: the same on both sides.
    EXPECT_GT(full.left, 32767 * 0.4 * 0.5);
    EXPECT_LE(full.left, 32767 * 0.4 * 1.05);
    EXPECT_NEAR(full.left, full.right, full.left * 0.05);

    const Peaks quarter = RecordTone([](gxtkAudio& audio) {
        audio.SetVolume(7, 0.25f);
        audio.SetVolume(8, 0.0f); // another channel's volume is not this one's
    });
    EXPECT_NEAR(double(quarter.left) / full.left, 0.25, 0.03);
    EXPECT_NEAR(double(quarter.right) / full.right, 0.25, 0.03);
}

TEST(AudioOutput, PanMovesTheSampleToOneSide) {
    const Peaks left =
        RecordTone([](gxtkAudio& audio) { audio.SetPan(7, -std::numbers::pi_v<float> / 2); });
    EXPECT_GT(left.left, 32767 * 0.4 * 0.5);
    EXPECT_LT(left.right, left.left / 4);
}
