// Fuzz target for loading the settings: any bytes in the state file, decoded as the host decodes
// it, must give a store that saves and loads back unchanged, and settings inside their ranges.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/text_decoding.h"
#include "persist/settings.h"

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

void check_store(const c_SimpleState& state) {
    // Every text gives at least the entry after its last ",".
    require(state.p_Count() >= 1);
    c_SimpleState again;
    again.p_Decode(state.p_Encode());
    require(again.m_map == state.m_map);
}

void check_settings(c_Settings& settings) {
    require(settings.m_difficulty >= c_Difficulty::Easy &&
            settings.m_difficulty <= c_Difficulty::Hard);
    require(settings.m_effectsVolume >= 0 && settings.m_effectsVolume <= 100);
    require(settings.m_musicVolume >= 0 && settings.m_musicVolume <= 100);
    require(settings.m_resolutionWidth > 0 && settings.m_resolutionHeight > 0);
    // What was read saves and reads back as the same settings.
    c_Settings copy;
    settings.p_WriteFields();
    copy.m_state->p_Decode(settings.m_state->p_Encode());
    copy.p_ReadFields();
    require(copy.m_difficulty == settings.m_difficulty);
    require(copy.m_verticalSync == settings.m_verticalSync);
    require(copy.m_frameRateThrottle == settings.m_frameRateThrottle);
    require(copy.m_fullScreen == settings.m_fullScreen);
    require(copy.m_resolutionWidth == settings.m_resolutionWidth);
    require(copy.m_resolutionHeight == settings.m_resolutionHeight);
    require(copy.m_effectsVolume == settings.m_effectsVolume);
    require(copy.m_musicVolume == settings.m_musicVolume);
    require(copy.m_controls == settings.m_controls);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const String text =
        bb_files_DecodeText(std::string_view(reinterpret_cast<const char*>(data), size));
    c_Settings settings;
    settings.m_state->p_Decode(text);
    check_store(*settings.m_state);
    settings.p_ReadFields();
    check_settings(settings);
    return 0;
}
