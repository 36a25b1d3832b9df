// The carried state: globals of the game and fields of the title's menu.
#include "replay/title_carry.h"

#include "game/tazzle.h"
#include "screens/menu.h"
#include "screens/title_screen.h"

#include <algorithm>

ReplayCarry ReadTitleCarry() {
    const c_Menu& menu = *bb_tazzle_titleScreen->m_menu;
    ReplayCarry carry;
    carry.hiScore = static_cast<std::uint32_t>(std::max(bb_tazzle_hiScore, 0));
    carry.skiDamage = static_cast<std::uint32_t>(std::max(bb_tazzle_skiDamage, 0));
    carry.line = menu.m_selected;
    carry.pressedLine = menu.m_pressedItem;
    carry.stickReady = menu.m_joyReady;
    return carry;
}

void ApplyTitleCarry(const ReplayCarry& carry) {
    c_Menu& menu = *bb_tazzle_titleScreen->m_menu;
    bb_tazzle_hiScore = static_cast<int>(carry.hiScore);
    bb_tazzle_skiDamage = static_cast<int>(carry.skiDamage);
    menu.m_selected = carry.line;
    menu.m_pressedItem = carry.pressedLine;
    menu.m_joyReady = carry.stickReady;
}
