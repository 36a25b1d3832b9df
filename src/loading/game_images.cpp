// The sprite atlas names and backdrop files of the game images.
#include "loading/game_images.h"

#include "runtime/errors.h"

std::unique_ptr<c_GameImages> bb_gamegraphics_gameImages;

const c_AssetFile<c_GameImages, c_Image> c_GameImages::kFiles[2] = {
    {u"Graphics/BackdropRoad.png", &c_GameImages::m_backdropRoad},
    {u"Graphics/BackdropSki.png", &c_GameImages::m_backdropSki},
};

// Every field takes the sprite of its own name, the walker's second upward frame run over
// included.
const c_AssetFile<c_GameImages, c_Image> c_GameImages::kSprites[kSpriteCount] = {
    {u"AmbulanceRight", &c_GameImages::m_ambulanceRight},
    {u"BikeLeft", &c_GameImages::m_bikeLeft},
    {u"BikeRight", &c_GameImages::m_bikeRight},
    {u"Bump", &c_GameImages::m_bump},
    {u"CarRedLeft", &c_GameImages::m_carRedLeft},
    {u"CarRedRight", &c_GameImages::m_carRedRight},
    {u"CarYellowLeft", &c_GameImages::m_carYellowLeft},
    {u"CarYellowRight", &c_GameImages::m_carYellowRight},
    {u"Finish", &c_GameImages::m_finish},
    {u"FlagCyan", &c_GameImages::m_flagCyan},
    {u"FlagRed", &c_GameImages::m_flagRed},
    {u"TazzleSkiCrash1", &c_GameImages::m_tazzleSkiCrash1},
    {u"TazzleSkiCrash2", &c_GameImages::m_tazzleSkiCrash2},
    {u"TazzleSkiCrash3", &c_GameImages::m_tazzleSkiCrash3},
    {u"TazzleSkiCrash4", &c_GameImages::m_tazzleSkiCrash4},
    {u"TazzleSkiCrash5", &c_GameImages::m_tazzleSkiCrash5},
    {u"TazzleSkiCrash6", &c_GameImages::m_tazzleSkiCrash6},
    {u"TazzleSkiCrash7", &c_GameImages::m_tazzleSkiCrash7},
    {u"TazzleSkiCrash8", &c_GameImages::m_tazzleSkiCrash8},
    {u"TazzleSkiDown", &c_GameImages::m_tazzleSkiDown},
    {u"TazzleSkiDownLeft", &c_GameImages::m_tazzleSkiDownLeft},
    {u"TazzleSkiDownRight", &c_GameImages::m_tazzleSkiDownRight},
    {u"TazzleSkiLeft", &c_GameImages::m_tazzleSkiLeft},
    {u"TazzleSkiRight", &c_GameImages::m_tazzleSkiRight},
    {u"TazzleWalkDown1", &c_GameImages::m_tazzleWalkDown1},
    {u"TazzleWalkDown1Dead", &c_GameImages::m_tazzleWalkDown1Dead},
    {u"TazzleWalkDown2", &c_GameImages::m_tazzleWalkDown2},
    {u"TazzleWalkDown2Dead", &c_GameImages::m_tazzleWalkDown2Dead},
    {u"TazzleWalkDownSkis1", &c_GameImages::m_tazzleWalkDownSkis1},
    {u"TazzleWalkDownSkis1Dead", &c_GameImages::m_tazzleWalkDownSkis1Dead},
    {u"TazzleWalkDownSkis2", &c_GameImages::m_tazzleWalkDownSkis2},
    {u"TazzleWalkDownSkis2Dead", &c_GameImages::m_tazzleWalkDownSkis2Dead},
    {u"TazzleWalkLeft1", &c_GameImages::m_tazzleWalkLeft1},
    {u"TazzleWalkLeft1Dead", &c_GameImages::m_tazzleWalkLeft1Dead},
    {u"TazzleWalkLeft2", &c_GameImages::m_tazzleWalkLeft2},
    {u"TazzleWalkLeft2Dead", &c_GameImages::m_tazzleWalkLeft2Dead},
    {u"TazzleWalkLeftSkis1", &c_GameImages::m_tazzleWalkLeftSkis1},
    {u"TazzleWalkLeftSkis1Dead", &c_GameImages::m_tazzleWalkLeftSkis1Dead},
    {u"TazzleWalkLeftSkis2", &c_GameImages::m_tazzleWalkLeftSkis2},
    {u"TazzleWalkLeftSkis2Dead", &c_GameImages::m_tazzleWalkLeftSkis2Dead},
    {u"TazzleWalkRight1", &c_GameImages::m_tazzleWalkRight1},
    {u"TazzleWalkRight1Dead", &c_GameImages::m_tazzleWalkRight1Dead},
    {u"TazzleWalkRight2", &c_GameImages::m_tazzleWalkRight2},
    {u"TazzleWalkRight2Dead", &c_GameImages::m_tazzleWalkRight2Dead},
    {u"TazzleWalkRightSkis1", &c_GameImages::m_tazzleWalkRightSkis1},
    {u"TazzleWalkRightSkis1Dead", &c_GameImages::m_tazzleWalkRightSkis1Dead},
    {u"TazzleWalkRightSkis2", &c_GameImages::m_tazzleWalkRightSkis2},
    {u"TazzleWalkRightSkis2Dead", &c_GameImages::m_tazzleWalkRightSkis2Dead},
    {u"TazzleWalkUp1", &c_GameImages::m_tazzleWalkUp1},
    {u"TazzleWalkUp1Dead", &c_GameImages::m_tazzleWalkUp1Dead},
    {u"TazzleWalkUp2", &c_GameImages::m_tazzleWalkUp2},
    {u"TazzleWalkUp2Dead", &c_GameImages::m_tazzleWalkUp2Dead},
    {u"TazzleWalkUpSkis1", &c_GameImages::m_tazzleWalkUpSkis1},
    {u"TazzleWalkUpSkis1Dead", &c_GameImages::m_tazzleWalkUpSkis1Dead},
    {u"TazzleWalkUpSkis2", &c_GameImages::m_tazzleWalkUpSkis2},
    {u"TazzleWalkUpSkis2Dead", &c_GameImages::m_tazzleWalkUpSkis2Dead},
    {u"SkiHut", &c_GameImages::m_skiHut},
    {u"SnowTile", &c_GameImages::m_snowTile},
    {u"Tree", &c_GameImages::m_tree},
    {u"TruckLeft", &c_GameImages::m_truckLeft},
    {u"TruckRight", &c_GameImages::m_truckRight},
    {u"AmbulanceLeft", &c_GameImages::m_ambulanceLeft},
    {u"Joystick", &c_GameImages::m_joystick},
};

void c_GameImages::p_StartLoad() {
    if (!p_BeginLoad())
        return;
    p_LoadSprites();
    p_LoadFiles();
}

void c_GameImages::p_LoadSprites() {
    m_page = std::make_unique<c_TexturePage>(kAtlasPath);
    if (!m_page->p_IsLoaded())
        bbError(u"Can't load '" + String(kAtlasImage) + u"'");
    for (const auto& sprite : kSprites) {
        this->*sprite.field = m_page->p_FindImage(sprite.path, c_Image::m_DefaultFlags);
    }
}
