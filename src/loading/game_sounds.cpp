// The general sound's file.
#include "loading/game_sounds.h"

std::unique_ptr<c_GameSounds> bb_gamesounds_gameSounds;

const c_AssetFile<c_GameSounds, c_Sound> c_GameSounds::kFiles[1] = {
    {u"Sounds/Woop.wav", &c_GameSounds::m_woop},
};
