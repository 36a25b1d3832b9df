// The road game's sound files.
#include "loading/road_sounds.h"

std::unique_ptr<c_RoadSounds> bb_roadsounds_roadSounds;

const c_AssetFile<c_RoadSounds, c_Sound> c_RoadSounds::kFiles[4] = {
    {u"Sounds/Siren.wav", &c_RoadSounds::m_siren},
    {u"Sounds/Register.wav", &c_RoadSounds::m_register},
    {u"Sounds/Car.wav", &c_RoadSounds::m_car},
    {u"Sounds/CarCrash.wav", &c_RoadSounds::m_carCrash},
};
