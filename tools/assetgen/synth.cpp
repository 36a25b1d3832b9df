// Oscillators, filters and the recipe interpreter for the sound effects.
//
// A recipe:
//   length SECONDS                 the sound's length
//   fade IN OUT                    fade-in and fade-out at the ends (default 0.004 0.02)
//   loop SECONDS                   made to repeat seamlessly: the tail is cross-faded into the
//                                  start over SECONDS, and there are no end fades
//   level DB                       loudness against the common loudness of the effects (default
//                                  0; -6 halves the amplitude), for a sound that must leave room
//                                  for others, such as a loop that plays under the music
//   voice WAVE key=value ...       one layer; WAVE is square, triangle, sine, saw or noise
// Voice keys: at, for (start and duration, seconds); freq, to, glide=lin|exp (pitch, sliding
// from freq to to); tones=F1,F2,... with step=SECONDS (a sequence of pitches that repeats) and
// slew=SECONDS (how long a change of pitch takes to settle);
// duty; gain; attack, release (seconds); decay (seconds for the level to fall to a third,
// 0 = hold); vibrato=RATE,DEPTH and tremolo=RATE,DEPTH; lowpass, lowpass_to, highpass (Hz);
// bandpass=HZ with q=SHARPNESS (a resonance that rings at HZ, narrower as q grows, default 4);
// ring=HZ (multiplied by a sine of HZ: the pitch splits into an inharmonic pair, as struck
// metal does); seed (noise).
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

float Resonator::bandpass(float x, double centre, double q) {
    double w = 2.0 * kPi * std::clamp(centre, 1.0, 0.45 * kSampleRate) / kSampleRate;
    double alpha = std::sin(w) / (2.0 * std::max(q, 0.1));
    double a0 = 1.0 + alpha;
    double y = (alpha * (x - x2_) + 2.0 * std::cos(w) * y1_ - (1.0 - alpha) * y2_) / a0;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return static_cast<float>(y);
}

void normalise(std::vector<float>& samples, double level_db) {
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
    double loudness = kLoudness * std::pow(10.0, level_db / 20.0);
    double gain = std::min(loudness / rms, kPeak / peak);
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
    double bandpass = 0.0, q = 4.0;
    double ring = 0.0;
    uint32_t seed = 1;
};

// The voice keys that take one plain number.
using NumberKeys = std::map<std::string, double Voice::*>;

const NumberKeys& number_keys() {
    static const NumberKeys keys = {
        {"at", &Voice::at},
        {"for", &Voice::duration},
        {"freq", &Voice::freq},
        {"to", &Voice::to},
        {"step", &Voice::step},
        {"slew", &Voice::slew},
        {"duty", &Voice::duty},
        {"gain", &Voice::gain},
        {"attack", &Voice::attack},
        {"release", &Voice::release},
        {"decay", &Voice::decay},
        {"lowpass", &Voice::lowpass},
        {"lowpass_to", &Voice::lowpass_to},
        {"highpass", &Voice::highpass},
        {"bandpass", &Voice::bandpass},
        {"q", &Voice::q},
        {"ring", &Voice::ring},
    };
    return keys;
}

std::pair<double, double> parse_pair(const std::string& text, const TextSource& source, int line) {
    size_t comma = text.find(',');
    if (comma == std::string::npos) {
        source.fail(line, "expected two numbers separated by a comma, not '" + text + "'");
    }
    return {parse_double(text.substr(0, comma), source, line),
            parse_double(text.substr(comma + 1), source, line)};
}

std::vector<double> parse_list(const std::string& text, const TextSource& source, int line) {
    std::vector<double> numbers;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            comma = text.size();
        numbers.push_back(parse_double(text.substr(start, comma - start), source, line));
        start = comma + 1;
    }
    return numbers;
}

void parse_voice_key(Voice& v, const std::string& key, const std::string& value,
                     const TextSource& source, int line) {
    auto number = number_keys().find(key);
    if (number != number_keys().end())
        v.*(number->second) = parse_double(value, source, line);
    else if (key == "glide") {
        if (value != "lin" && value != "exp")
            source.fail(line, "glide is lin or exp");
        v.exponential = value == "exp";
    } else if (key == "tones")
        v.tones = parse_list(value, source, line);
    else if (key == "vibrato")
        std::tie(v.vibrato_rate, v.vibrato_depth) = parse_pair(value, source, line);
    else if (key == "tremolo")
        std::tie(v.tremolo_rate, v.tremolo_depth) = parse_pair(value, source, line);
    else if (key == "seed")
        v.seed = static_cast<uint32_t>(parse_int(value, source, line));
    else
        source.fail(line, "unknown voice key '" + key + "'");
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
        parse_voice_key(v, words[i].substr(0, eq), words[i].substr(eq + 1), source, line);
    }
    if (v.step <= 0.0 || v.attack < 0.0 || v.release < 0.0 || v.q <= 0.0) {
        source.fail(line, "step and q must be positive and attack and release not negative");
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

// What a voice's filters remember from one sample to the next.
struct VoiceFilters {
    OnePole low1, low2, high;
    Resonator band;
};

double filter(const Voice& v, double x, double t, VoiceFilters& f) {
    if (v.lowpass > 0.0) {
        double cutoff = slide(v.lowpass, v.lowpass_to, t, true);
        x = f.low2.lowpass(f.low1.lowpass(static_cast<float>(x), cutoff), cutoff);
    }
    if (v.highpass > 0.0) {
        x -= f.high.lowpass(static_cast<float>(x), v.highpass);
    }
    if (v.bandpass > 0.0) {
        x = f.band.bandpass(static_cast<float>(x), v.bandpass, v.q);
    }
    return x;
}

double envelope(const Voice& v, double time, double duration) {
    double level = v.gain;
    if (v.attack > 0.0)
        level *= std::min(1.0, time / v.attack);
    if (v.release > 0.0)
        level *= std::clamp((duration - time) / v.release, 0.0, 1.0);
    if (v.decay > 0.0)
        level *= std::exp(-time / v.decay);
    return level *
           (1.0 - v.tremolo_depth * 0.5 * (1.0 - std::cos(2.0 * kPi * v.tremolo_rate * time)));
}

void render_voice(const Voice& v, double total, std::vector<float>& mix) {
    double duration = v.duration < 0.0 ? total - v.at : v.duration;
    size_t first = static_cast<size_t>(v.at * kSampleRate);
    size_t count = static_cast<size_t>(duration * kSampleRate);
    Oscillator osc(v.wave, v.seed);
    OnePole pitch;
    VoiceFilters filters;
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
        double x = filter(v, osc.next(freq, v.duty), t, filters);
        if (v.ring > 0.0) {
            x *= std::sin(2.0 * kPi * v.ring * time);
        }
        mix[first + n] += static_cast<float>(x * envelope(v, time, duration));
    }
}

struct Recipe {
    double length = 0.0, fade_in = 0.004, fade_out = 0.02, loop = 0.0, level = 0.0;
    std::vector<Voice> voices;
};

Recipe parse_recipe(const std::filesystem::path& path) {
    TextSource source(path);
    Recipe r;
    for (const SourceLine& line : source.lines()) {
        std::vector<std::string> words = split_words(line.text);
        if (words.empty())
            continue;
        if (words[0] == "length" && words.size() == 2) {
            r.length = parse_double(words[1], source, line.number);
        } else if (words[0] == "fade" && words.size() == 3) {
            r.fade_in = parse_double(words[1], source, line.number);
            r.fade_out = parse_double(words[2], source, line.number);
        } else if (words[0] == "loop" && words.size() == 2) {
            r.loop = parse_double(words[1], source, line.number);
        } else if (words[0] == "level" && words.size() == 2) {
            r.level = parse_double(words[1], source, line.number);
        } else if (words[0] == "voice") {
            r.voices.push_back(parse_voice(words, source, line.number));
        } else {
            source.fail(line.number, "expected length, fade, loop, level or voice");
        }
    }
    if (r.length <= 0.0 || r.voices.empty() || r.loop < 0.0 || r.loop >= r.length) {
        throw AssetError(path.string() +
                         ": needs a positive length, a voice, and a loop shorter than the length");
    }
    return r;
}

// The start is blended with what follows the end, so the last sample leads straight into the
// first; equal-power weights keep noise at an even level through the blend.
void blend_loop_seam(std::vector<float>& mix, size_t frames, size_t overlap) {
    for (size_t i = 0; i < overlap; ++i) {
        double t = (static_cast<double>(i) + 0.5) / static_cast<double>(overlap);
        mix[i] = static_cast<float>(mix[i] * std::sin(0.5 * kPi * t) +
                                    mix[frames + i] * std::cos(0.5 * kPi * t));
    }
}

void fade_ends(std::vector<float>& mix, double fade_in, double fade_out) {
    size_t frames = mix.size();
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

} // namespace

std::vector<float> render_recipe(const std::filesystem::path& path) {
    Recipe r = parse_recipe(path);
    size_t frames = static_cast<size_t>(r.length * kSampleRate);
    size_t overlap = static_cast<size_t>(r.loop * kSampleRate);
    std::vector<float> mix(frames + overlap, 0.0f);
    for (const Voice& v : r.voices) {
        render_voice(v, r.length + r.loop, mix);
    }
    if (overlap > 0) {
        blend_loop_seam(mix, frames, overlap);
        mix.resize(frames);
    } else {
        mix.resize(frames);
        fade_ends(mix, r.fade_in, r.fade_out);
    }
    normalise(mix, r.level);
    return mix;
}

} // namespace assetgen
