// The game's 34 collision masks, loaded together at start-up, each kept in the field named for
// its file.
#pragma once

#include <memory>

#include "collision/master_mask.h"

class c_GameMasks : public c_IOnLoadMaskComplete {
public:
    static constexpr int kMaskCount = 34;

    // Starts loading every mask; does nothing once started.
    void p_StartLoad();
    bool p_IsLoaded() const { return m_loadState == 2; }
    // Keeps the mask in the field of its path (if any) and counts the completion.
    void p_OnLoadMaskComplete(std::unique_ptr<c_MasterMask> mask, const String& path) override;

    // Path number `index` (0 to 33) in the order the loads are started.
    static String p_MaskPath(int index);

    int m_loadState = 0; // 0 not started, 1 loading, 2 all loaded
    int m_loadedCount = 0;
    std::unique_ptr<c_MasterMask> m_tazzleWalkDown1, m_tazzleWalkDown2;
    std::unique_ptr<c_MasterMask> m_tazzleWalkLeft1, m_tazzleWalkLeft2;
    std::unique_ptr<c_MasterMask> m_tazzleWalkRight1, m_tazzleWalkRight2;
    std::unique_ptr<c_MasterMask> m_tazzleWalkUp1, m_tazzleWalkUp2;
    std::unique_ptr<c_MasterMask> m_tazzleWalkDownSkis1, m_tazzleWalkDownSkis2;
    std::unique_ptr<c_MasterMask> m_tazzleWalkLeftSkis1, m_tazzleWalkLeftSkis2;
    std::unique_ptr<c_MasterMask> m_tazzleWalkRightSkis1, m_tazzleWalkRightSkis2;
    std::unique_ptr<c_MasterMask> m_tazzleWalkUpSkis1, m_tazzleWalkUpSkis2;
    std::unique_ptr<c_MasterMask> m_tazzleSkiDown;
    std::unique_ptr<c_MasterMask> m_carYellowRight, m_carYellowLeft;
    std::unique_ptr<c_MasterMask> m_carRedRight, m_carRedLeft;
    std::unique_ptr<c_MasterMask> m_truckRight, m_truckLeft;
    std::unique_ptr<c_MasterMask> m_ambulanceRight, m_ambulanceLeft;
    std::unique_ptr<c_MasterMask> m_bikeRight, m_bikeLeft;
    std::unique_ptr<c_MasterMask> m_treeCollision;
    std::unique_ptr<c_MasterMask> m_bumpCollision;
    std::unique_ptr<c_MasterMask> m_finish;
    std::unique_ptr<c_MasterMask> m_tazzleSkiLeft, m_tazzleSkiDownLeft, m_tazzleSkiDownRight;
    std::unique_ptr<c_MasterMask> m_tazzleSkiRight;
};

// The game's masks, created by the program's initialisation.
extern std::unique_ptr<c_GameMasks> bb_masks_gameMasks;
void bb_masks_Init();
