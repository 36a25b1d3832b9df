// Loading and keeping the game's collision masks.
#include "collision/game_masks.h"

std::unique_ptr<c_GameMasks> bb_masks_gameMasks;

namespace {

struct MaskFile {
    const char16_t* path;
    std::unique_ptr<c_MasterMask> c_GameMasks::*field;
};

// Every mask file with the field that keeps it, in the order the loads are started.
constexpr MaskFile kMaskFiles[c_GameMasks::kMaskCount] = {
    {u"zibbet://data/Masks/AmbulanceRight.cmsk", &c_GameMasks::m_ambulanceRight},
    {u"zibbet://data/Masks/BikeLeft.cmsk", &c_GameMasks::m_bikeLeft},
    {u"zibbet://data/Masks/BikeRight.cmsk", &c_GameMasks::m_bikeRight},
    {u"zibbet://data/Masks/BumpCollision.cmsk", &c_GameMasks::m_bumpCollision},
    {u"zibbet://data/Masks/CarRedLeft.cmsk", &c_GameMasks::m_carRedLeft},
    {u"zibbet://data/Masks/CarRedRight.cmsk", &c_GameMasks::m_carRedRight},
    {u"zibbet://data/Masks/CarYellowLeft.cmsk", &c_GameMasks::m_carYellowLeft},
    {u"zibbet://data/Masks/CarYellowRight.cmsk", &c_GameMasks::m_carYellowRight},
    {u"zibbet://data/Masks/TazzleSkiDown.cmsk", &c_GameMasks::m_tazzleSkiDown},
    {u"zibbet://data/Masks/TazzleSkiDownLeft.cmsk", &c_GameMasks::m_tazzleSkiDownLeft},
    {u"zibbet://data/Masks/TazzleSkiDownRight.cmsk", &c_GameMasks::m_tazzleSkiDownRight},
    {u"zibbet://data/Masks/TazzleSkiLeft.cmsk", &c_GameMasks::m_tazzleSkiLeft},
    {u"zibbet://data/Masks/TazzleSkiRight.cmsk", &c_GameMasks::m_tazzleSkiRight},
    {u"zibbet://data/Masks/TazzleWalkDown1.cmsk", &c_GameMasks::m_tazzleWalkDown1},
    {u"zibbet://data/Masks/TazzleWalkDown2.cmsk", &c_GameMasks::m_tazzleWalkDown2},
    {u"zibbet://data/Masks/TazzleWalkDownSkis1.cmsk", &c_GameMasks::m_tazzleWalkDownSkis1},
    {u"zibbet://data/Masks/TazzleWalkDownSkis2.cmsk", &c_GameMasks::m_tazzleWalkDownSkis2},
    {u"zibbet://data/Masks/TazzleWalkLeft1.cmsk", &c_GameMasks::m_tazzleWalkLeft1},
    {u"zibbet://data/Masks/TazzleWalkLeft2.cmsk", &c_GameMasks::m_tazzleWalkLeft2},
    {u"zibbet://data/Masks/TazzleWalkLeftSkis1.cmsk", &c_GameMasks::m_tazzleWalkLeftSkis1},
    {u"zibbet://data/Masks/TazzleWalkLeftSkis2.cmsk", &c_GameMasks::m_tazzleWalkLeftSkis2},
    {u"zibbet://data/Masks/TazzleWalkRight1.cmsk", &c_GameMasks::m_tazzleWalkRight1},
    {u"zibbet://data/Masks/TazzleWalkRight2.cmsk", &c_GameMasks::m_tazzleWalkRight2},
    {u"zibbet://data/Masks/TazzleWalkRightSkis1.cmsk", &c_GameMasks::m_tazzleWalkRightSkis1},
    {u"zibbet://data/Masks/TazzleWalkRightSkis2.cmsk", &c_GameMasks::m_tazzleWalkRightSkis2},
    {u"zibbet://data/Masks/TazzleWalkUp1.cmsk", &c_GameMasks::m_tazzleWalkUp1},
    {u"zibbet://data/Masks/TazzleWalkUp2.cmsk", &c_GameMasks::m_tazzleWalkUp2},
    {u"zibbet://data/Masks/TazzleWalkUpSkis1.cmsk", &c_GameMasks::m_tazzleWalkUpSkis1},
    {u"zibbet://data/Masks/TazzleWalkUpSkis2.cmsk", &c_GameMasks::m_tazzleWalkUpSkis2},
    {u"zibbet://data/Masks/TreeCollision.cmsk", &c_GameMasks::m_treeCollision},
    {u"zibbet://data/Masks/TruckLeft.cmsk", &c_GameMasks::m_truckLeft},
    {u"zibbet://data/Masks/TruckRight.cmsk", &c_GameMasks::m_truckRight},
    {u"zibbet://data/Masks/AmbulanceLeft.cmsk", &c_GameMasks::m_ambulanceLeft},
    {u"zibbet://data/Masks/Finish.cmsk", &c_GameMasks::m_finish},
};

} // namespace

void bb_masks_Init() {
    bb_collisionmask_Init();
    bb_masks_gameMasks = std::make_unique<c_GameMasks>();
}

String c_GameMasks::p_MaskPath(int index) {
    return kMaskFiles[index].path;
}

void c_GameMasks::p_StartLoad() {
    if (m_loadState != 0)
        return;
    m_loadState = 1;
    m_loadedCount = 0;
    for (const MaskFile& file : kMaskFiles)
        bb_collisionmask_LoadMaskAsync(file.path, 0, this);
}

void c_GameMasks::p_OnLoadMaskComplete(std::unique_ptr<c_MasterMask> mask, const String& path) {
    for (const MaskFile& file : kMaskFiles) {
        if (path == file.path) {
            this->*file.field = std::move(mask);
            break;
        }
    }
    ++m_loadedCount;
    if (m_loadedCount > kMaskCount - 1)
        m_loadState = 2;
}
