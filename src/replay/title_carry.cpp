// The carried state: globals of the game, fields of the title's menu, and what the road and the
// slope keep from one visit to the next.
#include "replay/title_carry.h"

#include "game/tazzle.h"
#include "road/road_screen.h"
#include "screens/menu.h"
#include "screens/title_screen.h"
#include "ski/ski_screen.h"

#include <algorithm>

ReplayCarry ReadTitleCarry() {
    const c_Menu& menu = *bb_tazzle_titleScreen->m_menu;
    ReplayCarry carry;
    carry.hiScore = static_cast<std::uint32_t>(std::max(bb_tazzle_hiScore, 0));
    carry.skiDamage = static_cast<std::uint32_t>(std::max(bb_tazzle_skiDamage, 0));
    carry.line = menu.m_selected;
    carry.pressedLine = menu.m_pressedItem;
    carry.stickReady = menu.m_joyReady;
    const c_RoadScreen& road = *bb_tazzle_roadScreen;
    carry.road = {road.m_deadTimer, road.m_nextState, road.m_ambulanceX};
    const c_SkiScreen& ski = *bb_tazzle_skiScreen;
    carry.ski = {ski.m_timer, ski.m_bumped ? 1 : 0, ski.m_prevSubRow};
    return carry;
}

void ApplyTitleCarry(const ReplayCarry& carry) {
    c_Menu& menu = *bb_tazzle_titleScreen->m_menu;
    bb_tazzle_hiScore = static_cast<int>(carry.hiScore);
    bb_tazzle_skiDamage = static_cast<int>(carry.skiDamage);
    menu.m_selected = carry.line;
    menu.m_pressedItem = carry.pressedLine;
    menu.m_joyReady = carry.stickReady;
    c_RoadScreen& road = *bb_tazzle_roadScreen;
    road.m_deadTimer = carry.road[0];
    road.m_nextState = carry.road[1];
    road.m_ambulanceX = carry.road[2];
    c_SkiScreen& ski = *bb_tazzle_skiScreen;
    ski.m_timer = carry.ski[0];
    ski.m_bumped = carry.ski[1] != 0;
    ski.m_prevSubRow = carry.ski[2];
}
