// Oscillators, filters and the recipe interpreter for the sound effects.
//
// A recipe:
//   length SECONDS                 the sound's length
//   fade IN OUT                    fade-in and fade-out at the ends (default 0.004 0.02)
//   loop SECONDS                   made to repeat seamlessly: the tail is cross-faded into the
//                                  start over SECONDS, and there are no end fades
//   voice WAVE key=value ...       one layer; WAVE is square, triangle, sine, saw or noise
// Voice keys: at, for (start and duration, seconds); freq, to, glide=lin|exp (pitch, sliding
// from freq to to); tones=F1,F2,... with step=SECONDS (a sequence of pitches that repeats) and
// slew=SECONDS (how long a change of pitch takes to settle);
// duty; gain; attack, release (seconds); decay (seconds for the level to fall to a third,
// 0 = hold); vibrato=RATE,DEPTH and tremolo=RATE,DEPTH; lowpass, lowpass_to, highpass (Hz);
// seed (noise).
#include "synth.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "text_source.h"

namespace assetgen {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The correction that removes the aliasing step of a hard edge (polyBLEP).
double blep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

} // namespace

bool parse_wave(const std::string& word, Wave& wave) {
    static const std::map<std::string, Wave> names = {{"square", Wave::Square},
                                                      {"triangle", Wave::Triangle},
                                                      {"sine", Wave::Sine},
                                                      {"saw", Wave::Saw},
                                                      {"noise", Wave::Noise}};
    auto it = names.find(word);
    if (it == names.end()) {
        return false;
    }
    wave = it->second;
    return true;
}

float Oscillator::next(double frequency, double duty) {
    double dt = std::clamp(frequency / kSampleRate, 0.0, 0.5);
    double value = 0.0;
    switch (wave_) {
    case Wave::Square: {
        value = phase_ < duty ? 1.0 : -1.0;
        value += blep(phase_, dt);
        value -= blep(std::fmod(phase_ + 1.0 - duty, 1.0), dt);
        value -= 2.0 * duty - 1.0; // no offset, whatever the duty
        break;
    }
    case Wave::Triangle:
        value = 4.0 * std::fabs(phase_ - 0.5) - 1.0;
        break;
    case Wave::Sine:
        value = std::sin(2.0 * kPi * phase_);
        break;
    case Wave::Saw:
        value = 2.0 * phase_ - 1.0 - blep(phase_, dt);
        break;
    case Wave::Noise:
        if (phase_ + dt >= 1.0 || noise_level_ == 0.0f) {
            noise_seed_ = noise_seed_ * 1664525u + 1013904223u;
            noise_level_ = static_cast<float>((noise_seed_ >> 8) * (2.0 / 16777216.0) - 1.0);
        }
        value = noise_level_;
        break;
    }
    phase_ += dt;
    if (phase_ >= 1.0) {
        phase_ -= 1.0;
    }
    return static_cast<float>(value);
}

float OnePole::lowpass(float x, double cutoff) {
    double a = 1.0 - std::exp(-2.0 * kPi * std::max(cutoff, 1.0) / kSampleRate);
    state_ += static_cast<float>(a) * (x - state_);
    return state_;
}

void normalise(std::vector<float>& samples) {
    constexpr double kLoudness = 0.25; // RMS of the loudest window
    constexpr double kPeak = 0.89;
    const size_t window = kSampleRate / 20;
    double loudest = 0.0, sum = 0.0, peak = 0.0;
    for (size_t i = 0; i < samples.size(); ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
        if (i >= window) {
            sum -= static_cast<double>(samples[i - window]) * samples[i - window];
        }
        loudest = std::max(loudest, sum);
        peak = std::max(peak, static_cast<double>(std::fabs(samples[i])));
    }
    double rms =
        std::sqrt(std::max(loudest, 0.0) / static_cast<double>(std::min(window, samples.size())));
    if (rms <= 0.0) {
        return;
    }
    double gain = std::min(kLoudness / rms, kPeak / peak);
    for (float& s : samples) {
        s = static_cast<float>(s * gain);
    }
}

namespace {

struct Voice {
    Wave wave = Wave::Sine;
    double at = 0.0, duration = -1.0;
    double freq = 440.0, to = -1.0;
    bool exponential = true;
    std::vector<double> tones;
    double step = 0.25, slew = 0.0;
    double duty = 0.5, gain = 1.0;
    double attack = 0.005, release = 0.01, decay = 0.0;
    double vibrato_rate = 0.0, vibrato_depth = 0.0;
    double tremolo_rate = 0.0, tremolo_depth = 0.0;
    double lowpass = 0.0, lowpass_to = -1.0, highpass = 0.0;
    uint32_t seed = 1;
};

std::pair<double, double> parse_pair(const std::string& text, const TextSource& source, int line) {
    size_t comma = text.find(',');
    if (comma == std::string::npos) {
        source.fail(line, "expected two numbers separated by a comma, not '" + text + "'");
    }
    return {parse_double(text.substr(0, comma), source, line),
            parse_double(text.substr(comma + 1), source, line)};
}

Voice parse_voice(const std::vector<std::string>& words, const TextSource& source, int line) {
    Voice v;
    if (words.size() < 2 || !parse_wave(words[1], v.wave)) {
        source.fail(line, "expected: voice square|triangle|sine|saw|noise key=value...");
    }
    for (size_t i = 2; i < words.size(); ++i) {
        size_t eq = words[i].find('=');
        if (eq == std::string::npos) {
            source.fail(line, "expected key=value, not '" + words[i] + "'");
        }
        std::string key = words[i].substr(0, eq), value = words[i].substr(eq + 1);
        auto num = [&] { return parse_double(value, source, line); };
        if (key == "at")
            v.at = num();
        else if (key == "for")
            v.duration = num();
        else if (key == "freq")
            v.freq = num();
        else if (key == "to")
            v.to = num();
        else if (key == "glide") {
            if (value != "lin" && value != "exp")
                source.fail(line, "glide is lin or exp");
            v.exponential = value == "exp";
        } else if (key == "tones") {
            size_t start = 0;
            while (start <= value.size()) {
                size_t comma = value.find(',', start);
                if (comma == std::string::npos)
                    comma = value.size();
                v.tones.push_back(parse_double(value.substr(start, comma - start), source, line));
                start = comma + 1;
            }
        } else if (key == "step")
            v.step = num();
        else if (key == "slew")
            v.slew = num();
        else if (key == "duty")
            v.duty = num();
        else if (key == "gain")
            v.gain = num();
        else if (key == "attack")
            v.attack = num();
        else if (key == "release")
            v.release = num();
        else if (key == "decay")
            v.decay = num();
        else if (key == "vibrato")
            std::tie(v.vibrato_rate, v.vibrato_depth) = parse_pair(value, source, line);
        else if (key == "tremolo")
            std::tie(v.tremolo_rate, v.tremolo_depth) = parse_pair(value, source, line);
        else if (key == "lowpass")
            v.lowpass = num();
        else if (key == "lowpass_to")
            v.lowpass_to = num();
        else if (key == "highpass")
            v.highpass = num();
        else if (key == "seed")
            v.seed = static_cast<uint32_t>(parse_int(value, source, line));
        else
            source.fail(line, "unknown voice key '" + key + "'");
    }
    if (v.step <= 0.0 || v.attack < 0.0 || v.release < 0.0) {
        source.fail(line, "step must be positive and attack and release not negative");
    }
    return v;
}

double slide(double from, double to, double t, bool exponential) {
    if (to < 0.0) {
        return from;
    }
    if (exponential && from > 0.0 && to > 0.0) {
        return from * std::pow(to / from, t);
    }
    return from + (to - from) * t;
}

void render_voice(const Voice& v, double total, std::vector<float>& mix) {
    double duration = v.duration < 0.0 ? total - v.at : v.duration;
    size_t first = static_cast<size_t>(v.at * kSampleRate);
    size_t count = static_cast<size_t>(duration * kSampleRate);
    Oscillator osc(v.wave, v.seed);
    OnePole low1, low2, high, pitch;
    for (size_t n = 0; n < count && first + n < mix.size(); ++n) {
        double time = static_cast<double>(n) / kSampleRate;
        double t = duration > 0.0 ? time / duration : 0.0;
        double freq = v.tones.empty()
                          ? slide(v.freq, v.to, t, v.exponential)
                          : v.tones[static_cast<size_t>(time / v.step) % v.tones.size()];
        if (v.slew > 0.0) {
            if (n == 0)
                pitch.reset(static_cast<float>(freq));
            freq = pitch.lowpass(static_cast<float>(freq), 1.0 / (2.0 * kPi * v.slew));
        }
        freq *= 1.0 + v.vibrato_depth * std::sin(2.0 * kPi * v.vibrato_rate * time);
        double x = osc.next(freq, v.duty);
        if (v.lowpass > 0.0) {
            double cutoff = slide(v.lowpass, v.lowpass_to, t, true);
            x = low2.lowpass(low1.lowpass(static_cast<float>(x), cutoff), cutoff);
        }
        if (v.highpass > 0.0) {
            x -= high.lowpass(static_cast<float>(x), v.highpass);
        }
        double level = v.gain;
        if (v.attack > 0.0)
            level *= std::min(1.0, time / v.attack);
        if (v.release > 0.0)
            level *= std::clamp((duration - time) / v.release, 0.0, 1.0);
        if (v.decay > 0.0)
            level *= std::exp(-time / v.decay);
        level *= 1.0 - v.tremolo_depth * 0.5 * (1.0 - std::cos(2.0 * kPi * v.tremolo_rate * time));
        mix[first + n] += static_cast<float>(x * level);
    }
}

} // namespace

std::vector<float> render_recipe(const std::filesystem::path& path) {
    TextSource source(path);
    double length = 0.0, fade_in = 0.004, fade_out = 0.02, loop = 0.0;
    std::vector<Voice> voices;
    for (const SourceLine& line : source.lines()) {
        std::vector<std::string> words = split_words(line.text);
        if (words.empty())
            continue;
        if (words[0] == "length" && words.size() == 2) {
            length = parse_double(words[1], source, line.number);
        } else if (words[0] == "fade" && words.size() == 3) {
            fade_in = parse_double(words[1], source, line.number);
            fade_out = parse_double(words[2], source, line.number);
        } else if (words[0] == "loop" && words.size() == 2) {
            loop = parse_double(words[1], source, line.number);
        } else if (words[0] == "voice") {
            voices.push_back(parse_voice(words, source, line.number));
        } else {
            source.fail(line.number, "expected length, fade, loop or voice");
        }
    }
    if (length <= 0.0 || voices.empty() || loop < 0.0 || loop >= length) {
        throw AssetError(path.string() +
                         ": needs a positive length, a voice, and a loop shorter than the length");
    }
    size_t frames = static_cast<size_t>(length * kSampleRate);
    size_t overlap = static_cast<size_t>(loop * kSampleRate);
    std::vector<float> mix(frames + overlap, 0.0f);
    for (const Voice& v : voices) {
        render_voice(v, length + loop, mix);
    }
    if (overlap > 0) {
        // The start is blended with what follows the end, so the last sample leads straight
        // into the first; equal-power weights keep noise at an even level through the blend.
        for (size_t i = 0; i < overlap; ++i) {
            double t = (static_cast<double>(i) + 0.5) / static_cast<double>(overlap);
            mix[i] = static_cast<float>(mix[i] * std::sin(0.5 * kPi * t) +
                                        mix[frames + i] * std::cos(0.5 * kPi * t));
        }
    } else {
        size_t in = static_cast<size_t>(fade_in * kSampleRate);
        size_t out = static_cast<size_t>(fade_out * kSampleRate);
        for (size_t i = 0; i < frames; ++i) {
            double g = 1.0;
            if (i < in)
                g = std::min(g, static_cast<double>(i) / static_cast<double>(in));
            if (frames - 1 - i < out)
                g = std::min(g, static_cast<double>(frames - 1 - i) / static_cast<double>(out));
            mix[i] = static_cast<float>(mix[i] * g);
        }
    }
    mix.resize(frames);
    normalise(mix);
    return mix;
}

} // namespace assetgen
