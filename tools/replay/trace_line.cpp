// Builds the trace line from the progress globals, the settings and the active play screen.
#include "trace_line.h"

#include "game/random.h"
#include "game/tazzle.h"
#include "persist/settings.h"

void TraceFields::Add(const char* key, const std::string& value) {
    if (!_text.empty())
        _text += ' ';
    _text += key;
    _text += '=';
    _text += value;
}

void TraceFields::Add(const char* key, long long value) {
    Add(key, std::to_string(value));
}

void TraceFields::AddList(const char* key, const std::vector<std::string>& values,
                          char separator) {
    std::string joined;
    for (const std::string& value : values) {
        if (!joined.empty())
            joined += separator;
        joined += value;
    }
    Add(key, joined);
}

std::string JoinValues(const std::vector<long long>& values, char separator) {
    std::string joined;
    for (long long value : values) {
        if (!joined.empty())
            joined += separator;
        joined += std::to_string(value);
    }
    return joined;
}

namespace {

void AddProgress(TraceFields& fields) {
    fields.Add("difficulty", bb_settings_gameSettings ? bb_settings_gameSettings->m_difficulty : 0);
    fields.Add("score", bb_tazzle_score);
    fields.Add("hi", bb_tazzle_hiScore);
    fields.Add("money", bb_tazzle_money);
    fields.Add("level", bb_tazzle_level);
    fields.Add("skis", bb_tazzle_gotSkis ? 1 : 0);
    fields.Add("damage", bb_tazzle_skiDamage);
    fields.Add("mark", bb_tazzle_lastScoreUpdate);
    fields.Add("paused", bb_tazzle_paused ? 1 : 0);
    fields.Add("seed", static_cast<long long>(bb_random_Seed));
}

} // namespace

std::string TraceLine(std::int64_t update, const std::vector<int>& keysDown) {
    TraceFields fields;
    fields.Add("u", update);
    fields.Add("main", bb_tazzle_mainState);
    fields.Add("keys", JoinValues({keysDown.begin(), keysDown.end()}, ','));
    AddProgress(fields);
    return fields.Text();
}
