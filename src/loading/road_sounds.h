// The sounds of the road game, loaded on the slope and at the title, given up again when play
// moves on to the slope.
#pragma once

#include "loading/asset_group.h"

class c_RoadSounds : public c_SoundGroup<c_RoadSounds> {
public:
    std::unique_ptr<c_Sound> m_siren;
    std::unique_ptr<c_Sound> m_register;
    std::unique_ptr<c_Sound> m_car;
    std::unique_ptr<c_Sound> m_carCrash;

    static const c_AssetFile<c_RoadSounds, c_Sound> kFiles[4];
};

extern std::unique_ptr<c_RoadSounds> bb_roadsounds_roadSounds;
