// The sound used outside the two games: the fade's woop.
#pragma once

#include "loading/asset_group.h"

class c_GameSounds : public c_SoundGroup<c_GameSounds> {
public:
    std::unique_ptr<c_Sound> m_woop;

    static const c_AssetFile<c_GameSounds, c_Sound> kFiles[1];
};

extern std::unique_ptr<c_GameSounds> bb_gamesounds_gameSounds;
