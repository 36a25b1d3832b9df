// The walker's pose tables. Each lists the sixteen poses by direction (left, right, down, up),
// then without and with skis, then frame 0 and 1.
#include "road/walker_poses.h"

#include <array>
#include <memory>

#include "collision/game_masks.h"
#include "loading/game_images.h"

namespace {

template <class Owner, class Item> using PoseTable = std::array<std::unique_ptr<Item> Owner::*, 16>;

using G = c_GameImages;
using M = c_GameMasks;

constexpr PoseTable<G, c_Image> kImages = {
    &G::m_tazzleWalkLeft1,      &G::m_tazzleWalkLeft2,      &G::m_tazzleWalkLeftSkis1,
    &G::m_tazzleWalkLeftSkis2,  &G::m_tazzleWalkRight1,     &G::m_tazzleWalkRight2,
    &G::m_tazzleWalkRightSkis1, &G::m_tazzleWalkRightSkis2, &G::m_tazzleWalkDown1,
    &G::m_tazzleWalkDown2,      &G::m_tazzleWalkDownSkis1,  &G::m_tazzleWalkDownSkis2,
    &G::m_tazzleWalkUp1,        &G::m_tazzleWalkUp2,        &G::m_tazzleWalkUpSkis1,
    &G::m_tazzleWalkUpSkis2,
};

constexpr PoseTable<G, c_Image> kDeadImages = {
    &G::m_tazzleWalkLeft1Dead,      &G::m_tazzleWalkLeft2Dead,      &G::m_tazzleWalkLeftSkis1Dead,
    &G::m_tazzleWalkLeftSkis2Dead,  &G::m_tazzleWalkRight1Dead,     &G::m_tazzleWalkRight2Dead,
    &G::m_tazzleWalkRightSkis1Dead, &G::m_tazzleWalkRightSkis2Dead, &G::m_tazzleWalkDown1Dead,
    &G::m_tazzleWalkDown2Dead,      &G::m_tazzleWalkDownSkis1Dead,  &G::m_tazzleWalkDownSkis2Dead,
    &G::m_tazzleWalkUp1Dead,        &G::m_tazzleWalkUp2Dead,        &G::m_tazzleWalkUpSkis1Dead,
    &G::m_tazzleWalkUpSkis2Dead,
};

constexpr PoseTable<M, c_MasterMask> kMasks = {
    &M::m_tazzleWalkLeft1,      &M::m_tazzleWalkLeft2,      &M::m_tazzleWalkLeftSkis1,
    &M::m_tazzleWalkLeftSkis2,  &M::m_tazzleWalkRight1,     &M::m_tazzleWalkRight2,
    &M::m_tazzleWalkRightSkis1, &M::m_tazzleWalkRightSkis2, &M::m_tazzleWalkDown1,
    &M::m_tazzleWalkDown2,      &M::m_tazzleWalkDownSkis1,  &M::m_tazzleWalkDownSkis2,
    &M::m_tazzleWalkUp1,        &M::m_tazzleWalkUp2,        &M::m_tazzleWalkUpSkis1,
    &M::m_tazzleWalkUpSkis2,
};

std::size_t PoseIndex(int direction, bool skis, int frame) {
    const bool known = direction >= c_WalkerDirection::Left && direction < c_WalkerDirection::Up;
    const int row = known ? direction : c_WalkerDirection::Up;
    return static_cast<std::size_t>(row * 4 + (skis ? 2 : 0) + (frame == 0 ? 0 : 1));
}

template <class Owner, class Item>
Item* Pose(const Owner& owner, const PoseTable<Owner, Item>& table, int direction, bool skis,
           int frame) {
    return (owner.*table[PoseIndex(direction, skis, frame)]).get();
}

} // namespace

c_Image* bb_walker_Image(int direction, bool skis, int frame) {
    return Pose(*bb_gamegraphics_gameImages, kImages, direction, skis, frame);
}

c_Image* bb_walker_DeadImage(int direction, bool skis, int frame) {
    return Pose(*bb_gamegraphics_gameImages, kDeadImages, direction, skis, frame);
}

c_MasterMask* bb_walker_Mask(int direction, bool skis, int frame) {
    return Pose(*bb_masks_gameMasks, kMasks, direction, skis, frame);
}
