// The player's progress and the application's top-level state.

#include "game/tazzle.h"

#include "runtime/version.h"

int bb_tazzle_mainState = c_MainState::Init;
c_TitleScreen* bb_tazzle_titleScreen = nullptr;
c_RoadScreen* bb_tazzle_roadScreen = nullptr;
c_SkiScreen* bb_tazzle_skiScreen = nullptr;
c_NoMoneyScreen* bb_tazzle_noMoneyScreen = nullptr;
c_OptionsScreen* bb_tazzle_optionsScreen = nullptr;
c_RedefineKeysScreen* bb_tazzle_redefineKeysScreen = nullptr;

String bb_tazzle_version = u"V" + bb_str(bb_version_Number);
int bb_tazzle_score = 0;
int bb_tazzle_hiScore = 0;
int bb_tazzle_money = 0;
int bb_tazzle_level = 0;
bool bb_tazzle_gotSkis = false;
int bb_tazzle_skiDamage = 0;
int bb_tazzle_lastScoreUpdate = 0;
bool bb_tazzle_paused = false;

void bb_tazzle_Init() {
    bb_tazzle_mainState = c_MainState::Init;
    bb_tazzle_titleScreen = nullptr;
    bb_tazzle_roadScreen = nullptr;
    bb_tazzle_skiScreen = nullptr;
    bb_tazzle_noMoneyScreen = nullptr;
    bb_tazzle_optionsScreen = nullptr;
    bb_tazzle_redefineKeysScreen = nullptr;
    bb_tazzle_version = u"V" + bb_str(bb_version_Number);
    bb_tazzle_score = 0;
    bb_tazzle_hiScore = 0;
    bb_tazzle_money = 0;
    bb_tazzle_level = 0;
    bb_tazzle_gotSkis = false;
    bb_tazzle_skiDamage = 0;
    bb_tazzle_lastScoreUpdate = 0;
    bb_tazzle_paused = false;
}

void bb_tazzle_NewGame() {
    bb_tazzle_level = 1;
    bb_tazzle_money = 40;
    bb_tazzle_score = 0;
    bb_tazzle_gotSkis = false;
    bb_tazzle_paused = false;
    // Otherwise a second game's first bonus would wait for the previous game's mark plus 1000.
    bb_tazzle_lastScoreUpdate = 0;
}

void bb_tazzle_PayScoreBonus() {
    if (bb_tazzle_score > bb_tazzle_lastScoreUpdate + 999) {
        bb_tazzle_money += 10;
        bb_tazzle_lastScoreUpdate += 1000;
    }
}
