// The note-list interpreter.
//
//   tempo BPM                      quarter notes per minute
//   section NAME                   a named run of notes, used by voices as @NAME
//   voice WAVE key=value ...       a part; its notes follow on the next lines
// Notes: NAME[#|b]OCTAVE/LENGTH[.] (C5/8 is an eighth-note C above middle C, a dot adds half),
// r/LENGTH is a rest. The drum voice (WAVE drums) plays k (kick), s (snare) and h (hat).
// Voice keys: duty, gain, legato (fraction of each note that sounds), decay (seconds for a
// held note to fall to a third), vibrato=RATE,DEPTH.
// Every voice must last exactly as long as the others: that length is the loop.
#include "music.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "synth.h"
#include "text_source.h"

namespace assetgen {

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Note {
    double beats = 0.0;
    double frequency = 0.0; // 0 for a rest
    char drum = 0;          // k, s or h in a drum part
};

struct Part {
    bool drums = false;
    Wave wave = Wave::Square;
    double duty = 0.5, gain = 0.3, legato = 0.9, decay = 0.0;
    double vibrato_rate = 0.0, vibrato_depth = 0.0;
    std::vector<Note> notes;
};

double note_frequency(const std::string& name, const TextSource& source, int line) {
    static const std::map<char, int> steps = {{'C', -9}, {'D', -7}, {'E', -5}, {'F', -4},
                                              {'G', -2}, {'A', 0},  {'B', 2}};
    auto it = steps.find(name.empty() ? ' ' : name[0]);
    if (it == steps.end()) {
        source.fail(line, "'" + name + "' is not a note");
    }
    int semitone = it->second;
    size_t i = 1;
    if (i < name.size() && name[i] == '#')
        ++semitone, ++i;
    else if (i < name.size() && name[i] == 'b')
        --semitone, ++i;
    int octave = parse_int(name.substr(i), source, line);
    return 440.0 * std::pow(2.0, (semitone + 12 * (octave - 4)) / 12.0);
}

Note parse_note(const std::string& token, bool drums, const TextSource& source, int line) {
    size_t slash = token.find('/');
    if (slash == std::string::npos) {
        source.fail(line, "a note is NAME/LENGTH, not '" + token + "'");
    }
    std::string name = token.substr(0, slash), length = token.substr(slash + 1);
    bool dotted = !length.empty() && length.back() == '.';
    if (dotted)
        length.pop_back();
    int division = parse_int(length, source, line);
    if (division <= 0)
        source.fail(line, "a note length must be positive");
    Note note;
    note.beats = 4.0 / division * (dotted ? 1.5 : 1.0);
    if (name == "r") {
        return note;
    }
    if (drums) {
        if (name != "k" && name != "s" && name != "h")
            source.fail(line, "drums play k, s or h");
        note.drum = name[0];
    } else {
        note.frequency = note_frequency(name, source, line);
    }
    return note;
}

void set_part_keys(Part& part, const std::vector<std::string>& words, const TextSource& source,
                   int line) {
    for (size_t i = 2; i < words.size(); ++i) {
        size_t eq = words[i].find('=');
        if (eq == std::string::npos)
            source.fail(line, "expected key=value, not '" + words[i] + "'");
        std::string key = words[i].substr(0, eq), value = words[i].substr(eq + 1);
        if (key == "vibrato") {
            size_t comma = value.find(',');
            if (comma == std::string::npos)
                source.fail(line, "vibrato=RATE,DEPTH");
            part.vibrato_rate = parse_double(value.substr(0, comma), source, line);
            part.vibrato_depth = parse_double(value.substr(comma + 1), source, line);
            continue;
        }
        double v = parse_double(value, source, line);
        if (key == "duty")
            part.duty = v;
        else if (key == "gain")
            part.gain = v;
        else if (key == "legato")
            part.legato = v;
        else if (key == "decay")
            part.decay = v;
        else
            source.fail(line, "unknown voice key '" + key + "'");
    }
}

// Adds one sample at a position of the loop, wrapping past its end.
void add_wrapped(std::vector<float>& loop, size_t position, float value) {
    loop[position % loop.size()] += value;
}

void render_tone(const Part& part, const Note& note, double start, double seconds, uint32_t seed,
                 std::vector<float>& loop) {
    Oscillator osc(part.wave, seed);
    size_t first = static_cast<size_t>(std::lround(start * kSampleRate));
    double gate = seconds * part.legato;
    constexpr double kAttack = 0.004, kRelease = 0.03;
    size_t count = static_cast<size_t>((gate + kRelease) * kSampleRate);
    for (size_t n = 0; n < count; ++n) {
        double t = static_cast<double>(n) / kSampleRate;
        double level = std::min(1.0, t / kAttack);
        if (part.decay > 0.0)
            level *= 0.35 + 0.65 * std::exp(-t / part.decay);
        if (t > gate)
            level *= 1.0 - (t - gate) / kRelease;
        double freq = note.frequency *
                      (1.0 + part.vibrato_depth * std::sin(2.0 * kPi * part.vibrato_rate * t));
        add_wrapped(loop, first + n,
                    static_cast<float>(osc.next(freq, part.duty) * level * part.gain));
    }
}

void render_drum(const Part& part, char drum, double start, uint32_t seed,
                 std::vector<float>& loop) {
    size_t first = static_cast<size_t>(std::lround(start * kSampleRate));
    Oscillator noise(Wave::Noise, seed);
    Oscillator body(Wave::Sine, seed); // starts at zero, so the hit has no click
    OnePole filter;
    double length = drum == 'k' ? 0.16 : drum == 's' ? 0.14 : 0.05;
    size_t count = static_cast<size_t>(length * kSampleRate);
    for (size_t n = 0; n < count; ++n) {
        double t = static_cast<double>(n) / kSampleRate;
        double fall = (1.0 - t / length) * std::min(1.0, t / 0.001);
        double value = 0.0;
        if (drum == 'k') {
            value = body.next(160.0 * std::exp(-t * 30.0) + 45.0, 0.5) * fall * fall;
        } else if (drum == 's') {
            double x = noise.next(9000.0, 0.5);
            value = (x - filter.lowpass(static_cast<float>(x), 800.0)) * fall * fall * 0.8 +
                    body.next(190.0, 0.5) * std::exp(-t * 40.0) * 0.4;
        } else {
            double x = noise.next(kSampleRate, 0.5);
            value = (x - filter.lowpass(static_cast<float>(x), 5000.0)) * fall * fall * 0.5;
        }
        add_wrapped(loop, first + n, static_cast<float>(value * part.gain));
    }
}

} // namespace

std::vector<float> render_music(const std::filesystem::path& path) {
    TextSource source(path);
    double tempo = 0.0;
    std::map<std::string, std::vector<Note>> sections;
    std::vector<Part> parts;
    std::vector<Note>* target = nullptr;
    bool target_drums = false;
    for (const SourceLine& line : source.lines()) {
        std::vector<std::string> words = split_words(line.text);
        if (words.empty())
            continue;
        if (words[0] == "tempo" && words.size() == 2) {
            tempo = parse_double(words[1], source, line.number);
        } else if (words[0] == "section" && words.size() == 2) {
            if (sections.count(words[1]))
                source.fail(line.number, "section defined twice");
            target = &sections[words[1]];
            target_drums = words[1].rfind("drums", 0) == 0;
        } else if (words[0] == "voice" && words.size() >= 2) {
            Part part;
            part.drums = words[1] == "drums";
            if (!part.drums && !parse_wave(words[1], part.wave)) {
                source.fail(line.number,
                            "expected: voice square|triangle|sine|saw|noise|drums key=value...");
            }
            set_part_keys(part, words, source, line.number);
            parts.push_back(part);
            target = &parts.back().notes;
            target_drums = part.drums;
        } else if (target) {
            for (const std::string& token : words) {
                if (token[0] == '@') {
                    auto it = sections.find(token.substr(1));
                    if (it == sections.end())
                        source.fail(line.number, "no section '" + token.substr(1) + "' above");
                    target->insert(target->end(), it->second.begin(), it->second.end());
                } else {
                    target->push_back(parse_note(token, target_drums, source, line.number));
                }
            }
        } else {
            source.fail(line.number, "notes must follow a section or voice line");
        }
    }
    if (tempo <= 0.0 || parts.empty()) {
        throw AssetError(path.string() + ": needs a tempo and at least one voice");
    }
    double beats = -1.0;
    for (const Part& part : parts) {
        double total = 0.0;
        for (const Note& note : part.notes)
            total += note.beats;
        if (beats >= 0.0 && std::fabs(total - beats) > 1e-9) {
            throw AssetError(path.string() + ": the voices differ in length (" +
                             std::to_string(total) + " and " + std::to_string(beats) + " beats)");
        }
        beats = total;
    }
    double beat_seconds = 60.0 / tempo;
    std::vector<float> loop(static_cast<size_t>(std::lround(beats * beat_seconds * kSampleRate)),
                            0.0f);
    if (loop.empty()) {
        throw AssetError(path.string() + ": the tune is empty");
    }
    uint32_t seed = 7;
    for (const Part& part : parts) {
        double at = 0.0;
        for (const Note& note : part.notes) {
            double start = at * beat_seconds;
            if (part.drums && note.drum) {
                render_drum(part, note.drum, start, ++seed, loop);
            } else if (note.frequency > 0.0) {
                render_tone(part, note, start, note.beats * beat_seconds, ++seed, loop);
            }
            at += note.beats;
        }
    }
    float peak = 0.0f;
    for (float s : loop)
        peak = std::max(peak, std::fabs(s));
    if (peak > 0.0f) {
        for (float& s : loop)
            s *= 0.8f / peak;
    }
    return loop;
}

} // namespace assetgen
