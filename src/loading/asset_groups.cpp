// Creating the asset group globals.
#include "loading/asset_groups.h"

#include "loading/game_images.h"
#include "loading/game_sounds.h"
#include "loading/road_sounds.h"
#include "loading/ski_sounds.h"
#include "loading/title_images.h"

void bb_assetgroups_Init() {
    bb_titlegraphics_titleImages = std::make_unique<c_TitleImages>();
    bb_gamegraphics_gameImages = std::make_unique<c_GameImages>();
    bb_gamesounds_gameSounds = std::make_unique<c_GameSounds>();
    bb_skisounds_skiSounds = std::make_unique<c_SkiSounds>();
    bb_roadsounds_roadSounds = std::make_unique<c_RoadSounds>();
}
