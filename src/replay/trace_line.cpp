// Builds the trace line from the progress globals, the settings and the active play screen.
#include "replay/trace_line.h"

#include "replay/atlas_names.h"

#include "game/random.h"
#include "game/tazzle.h"
#include "input/input_device.h"
#include "persist/settings.h"
#include "road/road_screen.h"
#include "screens/fade.h"
#include "ski/ski_screen.h"

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

void TraceFields::AddList(const char* key, const std::vector<std::string>& values, char separator) {
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

long long Bit(bool value) {
    return value ? 1 : 0;
}

std::string FadeValue(const c_Fade& fade) {
    return JoinValues({fade.m_thickness, fade.m_step}, ',');
}

std::string CarValue(const c_Car& car) {
    return AtlasName(car.m_image) + ':' +
           JoinValues({car.m_x, car.m_y, car.m_oldX, car.m_oldY, car.m_dx, car.m_movedDx, car.m_dy,
                       car.m_drift},
                      ':');
}

void AddRoad(TraceFields& fields, const c_RoadScreen& road) {
    fields.Add("road", JoinValues({road.m_state, road.m_frame, road.m_frameTimer, road.m_direction,
                                   road.m_hireTimer, road.m_stepCount, Bit(road.m_hit),
                                   road.m_flashTimer, Bit(road.m_flashOn), road.m_maxCars, road.m_x,
                                   road.m_y, road.m_deadTimer, road.m_nextState, road.m_ambulanceX},
                                  ','));
    fields.Add("fade", FadeValue(road.m_fade));
    std::vector<std::string> cars;
    for (const c_Car& car : road.m_cars)
        cars.push_back(CarValue(car));
    fields.AddList("cars", cars, ';');
}

template <class Object>
void AddObjects(std::vector<std::string>& out, const char* tag, const std::vector<Object>& list) {
    for (const Object& object : list)
        out.push_back(tag + (':' + JoinValues({object.m_x, object.m_y}, ':')));
}

void AddSki(TraceFields& fields, const c_SkiScreen& ski) {
    fields.Add("ski", JoinValues({ski.m_state,
                                  ski.m_gateNarrow,
                                  ski.m_x,
                                  ski.m_y,
                                  ski.m_direction,
                                  ski.m_snowOffset,
                                  ski.m_straightenTimer,
                                  ski.m_steerTimer,
                                  Bit(ski.m_turnLeft),
                                  Bit(ski.m_turnRight),
                                  Bit(ski.m_crashed),
                                  ski.m_crashFrame,
                                  ski.m_row,
                                  ski.m_courseIndex,
                                  ski.m_subRow,
                                  ski.m_nextFlagId,
                                  ski.m_nextRow,
                                  ski.m_nextColumn,
                                  ski.m_nextType,
                                  ski.m_nextLevel,
                                  ski.m_speed,
                                  ski.m_lastMissedFlag,
                                  Bit(ski.m_finishBonus),
                                  ski.m_timer,
                                  Bit(ski.m_bumped),
                                  ski.m_prevSubRow},
                                 ','));
    fields.Add("image", AtlasName(ski.m_image));
    fields.Add("fade", FadeValue(ski.m_fade));
    std::vector<std::string> slope;
    AddObjects(slope, "T", ski.m_trees);
    AddObjects(slope, "M", ski.m_bumps);
    for (const c_Flag& flag : ski.m_flags)
        slope.push_back("G:" + JoinValues({flag.m_x, flag.m_y, flag.m_id}, ':'));
    AddObjects(slope, "F", ski.m_finishes);
    fields.AddList("slope", slope, ';');
}

void AddProgress(TraceFields& fields) {
    fields.Add("difficulty", bb_settings_gameSettings ? bb_settings_gameSettings->m_difficulty : 0);
    fields.Add("score", bb_tazzle_score);
    fields.Add("hi", bb_tazzle_hiScore);
    fields.Add("money", bb_tazzle_money);
    fields.Add("level", bb_tazzle_level);
    fields.Add("skis", Bit(bb_tazzle_gotSkis));
    fields.Add("damage", bb_tazzle_skiDamage);
    fields.Add("mark", bb_tazzle_lastScoreUpdate);
    fields.Add("paused", Bit(bb_tazzle_paused));
    fields.Add("seed", static_cast<long long>(bb_random_Seed));
}

} // namespace

std::string TraceLine(std::int64_t update, const std::vector<int>& keysDown) {
    TraceFields fields;
    fields.Add("u", update);
    fields.Add("main", bb_tazzle_mainState);
    fields.Add("keys", JoinValues({keysDown.begin(), keysDown.end()}, ','));
    AddProgress(fields);
    if (bb_tazzle_mainState == c_MainState::Road && bb_tazzle_roadScreen)
        AddRoad(fields, *bb_tazzle_roadScreen);
    if (bb_tazzle_mainState == c_MainState::Ski && bb_tazzle_skiScreen)
        AddSki(fields, *bb_tazzle_skiScreen);
    return fields.Text();
}

std::vector<int> KeysDown() {
    std::vector<int> keys;
    if (!bb_input_device)
        return keys;
    for (int code = 1; code < c_InputDevice::kKeys; ++code) {
        if (bb_input_device->p_KeyDown(code))
            keys.push_back(code);
    }
    return keys;
}

std::uint64_t TraceHash(const std::string& line) {
    return FnvHash(line);
}

std::uint64_t FnvHash(std::string_view bytes, std::uint64_t hash) {
    for (const unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    return hash;
}
