// The application's top-level state and the player's progress, shared by every screen: the
// screens move the game from state to state by writing bb_tazzle_mainState.
#pragma once

#include "runtime/string.h"

class c_TitleScreen;
class c_RoadScreen;
class c_SkiScreen;
class c_NoMoneyScreen;
class c_OptionsScreen;
class c_RedefineKeysScreen;

// The values of bb_tazzle_mainState.
struct c_MainState {
    static constexpr int Init = 0;
    static constexpr int Loading = 1;
    static constexpr int Title = 2;
    static constexpr int Road = 3;
    static constexpr int Ski = 4;
    static constexpr int NoMoney = 5;
    static constexpr int Options = 6;
    static constexpr int RedefineKeys = 7;
    static constexpr int Last = RedefineKeys;
};

extern int bb_tazzle_mainState;

// The six screens, created once by the application (which owns them) on its first update and
// reused for every game; null before that.
extern c_TitleScreen* bb_tazzle_titleScreen;
extern c_RoadScreen* bb_tazzle_roadScreen;
extern c_SkiScreen* bb_tazzle_skiScreen;
extern c_NoMoneyScreen* bb_tazzle_noMoneyScreen;
extern c_OptionsScreen* bb_tazzle_optionsScreen;
extern c_RedefineKeysScreen* bb_tazzle_redefineKeysScreen;

extern String bb_tazzle_version; // "V" and the version, "V2.1", shown on the title; never saved
extern int bb_tazzle_score;      // points of the current game
extern int bb_tazzle_hiScore;    // best score of this run; not saved
extern int bb_tazzle_money;      // cash of the current game, in dollars
extern int bb_tazzle_level;      // 1 for a new game
extern bool bb_tazzle_gotSkis;   // the player has hired skis
extern int bb_tazzle_skiDamage;  // state of the hired skis
// Score mark of the last cash bonus (see bb_tazzle_PayScoreBonus).
extern int bb_tazzle_lastScoreUpdate;
extern bool bb_tazzle_paused; // the play screens stand still while it is set

// Gives every global above its initial value (called from bbInit).
void bb_tazzle_Init();

// The new-game values: level 1, 40 dollars, no points, no skis, not paused, and the cash bonus
// counted from 0 again.
void bb_tazzle_NewGame();

// The play screens' cash bonus, once per update: once the score is more than 999 past the mark,
// 10 dollars are paid and the mark rises by 1000.
void bb_tazzle_PayScoreBonus();
