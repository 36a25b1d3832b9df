// The ski game's sound files.
#include "loading/ski_sounds.h"

std::unique_ptr<c_SkiSounds> bb_skisounds_skiSounds;

const c_AssetFile<c_SkiSounds, c_Sound> c_SkiSounds::kFiles[4] = {
    {u"Sounds/Beep.wav", &c_SkiSounds::m_beep},
    {u"Sounds/SkiBackground.wav", &c_SkiSounds::m_skiBackground},
    {u"Sounds/SkiBump.wav", &c_SkiSounds::m_skiBump},
    {u"Sounds/SkiCrash.wav", &c_SkiSounds::m_skiCrash},
};
