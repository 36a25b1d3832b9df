// The sound effects and the music: formats the game's decoders read, lengths, clean ends, even
// loudness with the loops under the music set lower, and a music loop with neither gap nor click
// at its seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "assets_support.h"

using namespace assets_test;
namespace fs = std::filesystem;

namespace {

struct Effect {
    const char* name;
    double min_seconds, max_seconds;
    bool loops;
    bool under_music; // heard all through play, beneath the tune
};

const Effect kEffects[] = {
    {"Woop", 0.2, 1.5, false, false},        {"Beep", 0.05, 0.5, false, false},
    {"SkiBackground", 1.0, 5.0, true, true}, {"SkiBump", 0.1, 0.6, false, false},
    {"SkiCrash", 0.3, 2.0, false, false},    {"Siren", 0.8, 3.0, false, false},
    {"Register", 0.3, 1.5, false, false},    {"Car", 0.6, 3.0, false, true},
    {"CarCrash", 0.4, 2.0, false, false},
};

double rms(const std::vector<int16_t>& s, size_t from, size_t count) {
    double sum = 0.0;
    for (size_t i = from; i < from + count && i < s.size(); ++i)
        sum += static_cast<double>(s[i]) * s[i];
    return std::sqrt(sum / static_cast<double>(count)) / 32768.0;
}

double loudest_window(const std::vector<int16_t>& s, size_t window) {
    double best = 0.0;
    for (size_t i = 0; i + window <= s.size(); i += window / 4)
        best = std::max(best, rms(s, i, window));
    return best;
}

// The largest step between neighbouring samples that the sound makes anyway, as a yardstick
// for a click at a seam.
int typical_large_step(const std::vector<int16_t>& s) {
    std::vector<int> steps;
    for (size_t i = 1; i < s.size(); ++i)
        steps.push_back(std::abs(s[i] - s[i - 1]));
    std::sort(steps.begin(), steps.end());
    return steps[steps.size() * 99 / 100];
}

TEST(SoundFiles, EffectsArePlainPcmOfSensibleLengthWithCleanEnds) {
    std::vector<double> loudness, under_music;
    for (const Effect& effect : kEffects) {
        SCOPED_TRACE(effect.name);
        Wav wav = read_wav(data_path(std::string("Sounds/") + effect.name + ".wav"));
        ASSERT_TRUE(wav.ok);
        EXPECT_EQ(wav.channels, 1);
        EXPECT_EQ(wav.bits, 16);
        EXPECT_EQ(wav.rate, 22050);
        double seconds = static_cast<double>(wav.samples.size()) / wav.rate;
        EXPECT_GE(seconds, effect.min_seconds);
        EXPECT_LE(seconds, effect.max_seconds);
        int peak = 0;
        for (int16_t s : wav.samples)
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        EXPECT_LT(peak, 32000) << "clipped";
        if (effect.loops) {
            // Played over and over: the last sample leads into the first like any other step.
            EXPECT_LE(std::abs(wav.samples.back() - wav.samples.front()),
                      typical_large_step(wav.samples));
            EXPECT_GT(rms(wav.samples, 0, 1000), 0.02) << "silence at the loop's seam";
        } else {
            EXPECT_LT(std::abs(wav.samples.front()), 300) << "starts with a click";
            EXPECT_LT(std::abs(wav.samples.back()), 300) << "ends with a click";
        }
        (effect.under_music ? under_music : loudness).push_back(loudest_window(wav.samples, 1100));
    }
    auto [quietest, loudest] = std::minmax_element(loudness.begin(), loudness.end());
    EXPECT_LT(*loudest / *quietest, 2.0) << "the effects differ in loudness by more than 6 dB";
    // The traffic and the swish of the skis would otherwise bury the music.
    EXPECT_LT(*std::max_element(under_music.begin(), under_music.end()), *quietest / 1.5)
        << "a sound under the music is not clearly quieter than the other effects";
}

TEST(SoundFiles, ARecipesLevelMakesItThatManyDecibelsQuieter) {
    fs::path scratch = fs::temp_directory_path() / ("assetgen-level-" + std::to_string(::getpid()));
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    fs::copy(fs::path(SKIDDLEWICK_SOURCE_DIR) / "assets", scratch / "assets",
             fs::copy_options::recursive);
    std::ofstream(scratch / "assets" / "sounds" / "Beep.synth", std::ios::app) << "level -9\n";
    ASSERT_EQ(run_assetgen((scratch / "assets").string(), (scratch / "out").string()), 0);
    Wav usual = read_wav(data_path("Sounds/Beep.wav"));
    Wav quieter = read_wav((scratch / "out" / "data" / "Sounds" / "Beep.wav").string());
    fs::remove_all(scratch);
    ASSERT_TRUE(usual.ok && quieter.ok);
    ASSERT_EQ(quieter.samples.size(), usual.samples.size());
    double ratio = loudest_window(quieter.samples, 1100) / loudest_window(usual.samples, 1100);
    EXPECT_NEAR(20.0 * std::log10(ratio), -9.0, 0.2);
}

TEST(SoundFiles, MusicDecodesWholeAndLoopsWithoutGapOrClick) {
    int channels = 0, rate = 0;
    std::vector<int16_t> music = decode_ogg(data_path("Sounds/Music.ogg"), channels, rate);
    ASSERT_FALSE(music.empty());
    ASSERT_EQ(channels, 1);
    size_t frames = music.size();
    EXPECT_EQ(rate, 22050);
    EXPECT_GE(static_cast<double>(frames) / rate, 30.0);
    EXPECT_LE(std::abs(music.back() - music.front()), typical_large_step(music));
    // Nothing added by the encoder: the decoded tune is exactly as long as the one written,
    // and it plays right up to both ends.
    Wav written = read_wav(std::string(SKIDDLEWICK_DATA_DIR) + "/../assets-review/Music.wav");
    ASSERT_TRUE(written.ok);
    EXPECT_EQ(music.size(), written.samples.size());
    EXPECT_GT(rms(music, 0, 5512), 0.02) << "a gap at the start";
    EXPECT_GT(rms(music, music.size() - 5512, 5512), 0.02) << "a gap at the end";
}

} // namespace
