// Sound synthesis: band-limited oscillators, noise, one-pole filters, and the sound-effect
// recipes of assets/sounds/*.synth.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace assetgen {

inline constexpr int kSampleRate = 22050;

enum class Wave { Square, Triangle, Sine, Saw, Noise };

bool parse_wave(const std::string& word, Wave& wave);

// One oscillator voice; frequency may change every sample.
class Oscillator {
public:
    Oscillator(Wave wave, uint32_t seed) : wave_(wave), noise_seed_(seed) {}
    // The next sample, -1..1, at this frequency (for noise: the rate the level changes).
    float next(double frequency, double duty);

private:
    Wave wave_;
    double phase_ = 0.0;
    uint32_t noise_seed_;
    float noise_level_ = 0.0f;
};

class OnePole {
public:
    float lowpass(float x, double cutoff);
    void reset(float value) { state_ = value; }

private:
    float state_ = 0.0f;
};

// A two-pole band-pass that rings at its centre; passes the centre frequency at full level.
class Resonator {
public:
    float bandpass(float x, double centre, double q);

private:
    double x1_ = 0.0, x2_ = 0.0, y1_ = 0.0, y2_ = 0.0;
};

// Scales the sound so that its loudest 50 ms has the house loudness moved by level_db, without
// letting any sample go above the peak limit.
void normalise(std::vector<float>& samples, double level_db);

// Renders one recipe file to mono samples at kSampleRate.
std::vector<float> render_recipe(const std::filesystem::path& path);

} // namespace assetgen
