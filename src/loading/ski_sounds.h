// The sounds of the ski game, loaded on the road and given up again when play leaves the slope.
#pragma once

#include "loading/asset_group.h"

class c_SkiSounds : public c_SoundGroup<c_SkiSounds> {
public:
    std::unique_ptr<c_Sound> m_beep;
    std::unique_ptr<c_Sound> m_skiBackground;
    std::unique_ptr<c_Sound> m_skiBump;
    std::unique_ptr<c_Sound> m_skiCrash;

    static const c_AssetFile<c_SkiSounds, c_Sound> kFiles[4];
};

extern std::unique_ptr<c_SkiSounds> bb_skisounds_skiSounds;
