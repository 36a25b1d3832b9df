// The long play's referee: every update is compared with the one before against the game's rules.
#include "longplay/game_watch.h"

#include <algorithm>
#include <sstream>

#include "game/tazzle.h"
#include "persist/settings.h"
#include "road/road_screen.h"
#include "screens/title_screen.h"
#include "ski/no_money_screen.h"
#include "ski/ski_screen.h"

namespace {

constexpr int kFee = 10;         // the ski hire and the ambulance both cost this
constexpr int kBonusStep = 1000; // points per cash bonus
constexpr size_t kFaultsKept = 50;

bool InPlay(int mainState) {
    return mainState == c_MainState::Road || mainState == c_MainState::Ski;
}

bool AllowedTransition(int from, int to) {
    using S = c_MainState;
    static const std::set<std::pair<int, int>> allowed = {
        {S::Init, S::Loading},        {S::Loading, S::Title}, {S::Title, S::Road},
        {S::Title, S::Options},       {S::Road, S::Ski},      {S::Road, S::NoMoney},
        {S::Road, S::Title},          {S::Ski, S::Road},      {S::Ski, S::Title},
        {S::NoMoney, S::Title},       {S::Options, S::Title}, {S::Options, S::RedefineKeys},
        {S::RedefineKeys, S::Options}};
    return from == to || allowed.contains({from, to});
}

int SkiDamageFor(int difficulty) {
    return difficulty == c_Difficulty::Easy ? 4 : difficulty == c_Difficulty::Normal ? 3 : 2;
}

bool KeyHit(const std::set<int>& keysHit, int code) {
    return code >= 1 && code <= 511 && keysHit.contains(code);
}

// The road walker hired skis in this update.
bool HiredSkis(const GameSnapshot& b, const GameSnapshot& a) {
    return b.mainState == c_MainState::Road && !b.gotSkis && a.gotSkis;
}

// The ambulance crossing ended in this update, which is when its fee is charged.
bool PaidAmbulance(const GameSnapshot& b, const GameSnapshot& a) {
    return b.mainState == c_MainState::Road && b.roadState == c_RoadScreen::kStateAmbulance &&
           a.roadState != c_RoadScreen::kStateAmbulance;
}

// A crash on the slope ended in this update, which is when the skis take their damage.
bool CrashEnded(const GameSnapshot& b, const GameSnapshot& a) {
    return b.mainState == c_MainState::Ski && b.skiState == c_SkiScreen::kStateCrashed &&
           a.skiState != c_SkiScreen::kStateCrashed;
}

} // namespace

GameSnapshot GameSnapshot::Take() {
    GameSnapshot s;
    s.mainState = bb_tazzle_mainState;
    s.score = bb_tazzle_score;
    s.hiScore = bb_tazzle_hiScore;
    s.money = bb_tazzle_money;
    s.level = bb_tazzle_level;
    s.gotSkis = bb_tazzle_gotSkis;
    s.skiDamage = bb_tazzle_skiDamage;
    s.lastScoreUpdate = bb_tazzle_lastScoreUpdate;
    s.paused = bb_tazzle_paused;
    const c_Settings& settings = *bb_settings_gameSettings;
    s.fullScreen = settings.m_fullScreen;
    s.difficulty = settings.m_difficulty;
    std::copy(settings.m_controls.begin(), settings.m_controls.end(), s.controls.begin());
    s.musicOff = settings.m_musicOff;
    if (bb_tazzle_titleScreen) {
        s.titleState = bb_tazzle_titleScreen->m_state;
        s.roadState = bb_tazzle_roadScreen->m_state;
        s.skiState = bb_tazzle_skiScreen->m_state;
        s.walkerX = bb_tazzle_roadScreen->m_x;
        s.walkerY = bb_tazzle_roadScreen->m_y;
        s.skierX = bb_tazzle_skiScreen->m_x;
        s.skierY = bb_tazzle_skiScreen->m_y;
        s.skierRow = bb_tazzle_skiScreen->m_row;
    }
    return s;
}

bool StartedNewGame(const GameSnapshot& before, const GameSnapshot& after) {
    return before.mainState == c_MainState::Title && before.titleState == 0 &&
           after.titleState == 1;
}

void GameWatch::Fault(const std::string& what) {
    ++m_faultCount;
    if (m_faults.size() < kFaultsKept)
        m_faults.push_back("update " + std::to_string(m_updates) + ": " + what);
}

void GameWatch::Check(const GameSnapshot& before, const GameSnapshot& after,
                      const std::set<int>& keysHit) {
    ++m_updates;
    if (after.mainState < 0 || after.mainState > 7) {
        Fault("main state " + std::to_string(after.mainState));
        return;
    }
    ++m_updatesInState[static_cast<size_t>(after.mainState)];
    CheckTransition(before, after);
    CheckProgress(before, after);
    CheckMoney(before, after);
    CheckSkis(before, after);
    CheckGlobalKeys(before, after, keysHit);
    CheckScoring(before, after);
    CheckMotion(before, after);
    if (after.mainState == c_MainState::Road)
        CheckRoad(after);
    if (after.mainState == c_MainState::Ski)
        CheckSki(after);
    if (after.mainState == c_MainState::NoMoney)
        CheckNoMoney();
}

void GameWatch::CheckTransition(const GameSnapshot& b, const GameSnapshot& a) {
    if (!AllowedTransition(b.mainState, a.mainState)) {
        Fault("state " + std::to_string(b.mainState) + " -> " + std::to_string(a.mainState));
        return;
    }
    if (b.mainState == c_MainState::Road && a.mainState == c_MainState::Ski && !a.gotSkis)
        Fault("on the slope without skis");
    if (b.mainState == c_MainState::Road && a.mainState == c_MainState::NoMoney && a.money > 0)
        Fault("no-money screen with $" + std::to_string(a.money));
}

void GameWatch::CheckProgress(const GameSnapshot& b, const GameSnapshot& a) {
    if (a.score < 0)
        Fault("negative score " + std::to_string(a.score));
    if (StartedNewGame(b, a)) {
        if (a.level != 1 || a.money != 40 || a.score != 0 || a.gotSkis || a.lastScoreUpdate != 0)
            Fault("a new game does not start at level 1 with $40, no points and no skis");
        return;
    }
    if (a.score != b.score && !InPlay(b.mainState))
        Fault("score changed outside play");
    bool lapEnded = b.mainState == c_MainState::Ski && a.mainState == c_MainState::Road;
    if (a.level != b.level && !(lapEnded && a.level == b.level + 1))
        Fault("level " + std::to_string(b.level) + " -> " + std::to_string(a.level));
    if (lapEnded && a.level != b.level + 1)
        Fault("a lap ended without the level rising");
    if (a.hiScore < b.hiScore)
        Fault("hi-score fell");
    if (a.hiScore != b.hiScore && (b.mainState != c_MainState::NoMoney || a.hiScore != a.score))
        Fault("hi-score changed other than to the score on the no-money screen");
    if (InPlay(a.mainState) && a.score > a.lastScoreUpdate + kBonusStep - 1)
        Fault("score " + std::to_string(a.score) + " without its bonus past " +
              std::to_string(a.lastScoreUpdate));
}

void GameWatch::CheckMoney(const GameSnapshot& b, const GameSnapshot& a) {
    if (StartedNewGame(b, a))
        return;
    int bonusPoints = a.lastScoreUpdate - b.lastScoreUpdate;
    if (bonusPoints != 0 && (bonusPoints != kBonusStep || !InPlay(b.mainState))) {
        Fault("bonus mark moved by " + std::to_string(bonusPoints));
        return;
    }
    int bonusCash = bonusPoints / kBonusStep * kFee;
    int charged = (b.money - a.money) + bonusCash;
    int expected = (HiredSkis(b, a) || PaidAmbulance(b, a)) ? kFee : 0;
    if (charged != expected) {
        std::ostringstream what;
        what << "money " << b.money << " -> " << a.money << " (bonus " << bonusCash
             << ", fee expected " << expected << ")";
        Fault(what.str());
    }
}

void GameWatch::CheckSkis(const GameSnapshot& b, const GameSnapshot& a) {
    if (StartedNewGame(b, a))
        return;
    if (HiredSkis(b, a) && a.skiDamage != SkiDamageFor(a.difficulty))
        Fault("skis hired with damage " + std::to_string(a.skiDamage));
    bool crashEnded = CrashEnded(b, a);
    if (a.skiDamage != b.skiDamage && !HiredSkis(b, a) &&
        !(crashEnded && a.skiDamage == b.skiDamage - 1))
        Fault("ski damage " + std::to_string(b.skiDamage) + " -> " + std::to_string(a.skiDamage));
    if (b.gotSkis && !a.gotSkis && !(crashEnded && a.skiDamage <= 0))
        Fault("skis lost without breaking");
    if (!b.gotSkis && a.gotSkis && !HiredSkis(b, a))
        Fault("skis gained outside the road");
}

void GameWatch::CheckGlobalKeys(const GameSnapshot& b, const GameSnapshot& a,
                                const std::set<int>& keysHit) {
    // The global keys do nothing while keys are being redefined.
    bool active = a.mainState != c_MainState::RedefineKeys;
    bool paused = StartedNewGame(b, a) ? false : b.paused;
    if (active && KeyHit(keysHit, a.controls[c_Control::Pause]))
        paused = !paused;
    if (a.paused != paused)
        Fault(std::string("pause ") + (a.paused ? "on" : "off") + " unasked");
    bool music = b.musicOff ^ (active && KeyHit(keysHit, a.controls[c_Control::Music]));
    if (a.musicOff != music)
        Fault("music switch unasked");
    // The options screen has its own full-screen line.
    if (b.mainState != c_MainState::Options) {
        bool full = b.fullScreen ^ (active && KeyHit(keysHit, a.controls[c_Control::FullScreen]));
        if (a.fullScreen != full)
            Fault("full screen unasked");
    }
}

void GameWatch::CheckScoring(const GameSnapshot& b, const GameSnapshot& a) {
    if (StartedNewGame(b, a))
        return;
    int points = a.score - b.score;
    // The road pays 5 points for 5 steps; the slope 10 for a gate that appears, 100 for the
    // finish banner, and takes 20 (down to 0) for a missed gate.
    bool fair = b.mainState == c_MainState::Road  ? points == 0 || points == 5
                : b.mainState == c_MainState::Ski ? points >= -20 && points <= 110
                                                  : points == 0;
    if (!fair)
        Fault("score " + std::to_string(b.score) + " -> " + std::to_string(a.score) + " in state " +
              std::to_string(b.mainState));
}

void GameWatch::CheckMotion(const GameSnapshot& b, const GameSnapshot& a) {
    if (b.mainState != a.mainState)
        return;
    bool bothPaused = b.paused && a.paused;
    if (a.mainState == c_MainState::Road && b.roadState == c_RoadScreen::kStatePlaying &&
        a.roadState == c_RoadScreen::kStatePlaying && !HiredSkis(b, a)) {
        int step = std::abs(a.walkerX - b.walkerX) + std::abs(a.walkerY - b.walkerY);
        if (step > 4 || (bothPaused && step != 0))
            Fault("walker stepped " + std::to_string(step) + (bothPaused ? " while paused" : ""));
    }
    if (a.mainState == c_MainState::Ski && b.skiState == c_SkiScreen::kStateSkiing &&
        a.skiState == c_SkiScreen::kStateSkiing) {
        int dx = std::abs(a.skierX - b.skierX);
        int dy = std::abs(a.skierY - b.skierY);
        bool still = dx == 0 && dy == 0 && a.skierRow == b.skierRow;
        if (dx > 2 || dy > 2 || (bothPaused && !still))
            Fault("skier moved (" + std::to_string(dx) + ", " + std::to_string(dy) + ")" +
                  (bothPaused ? " while paused" : ""));
    }
}

void GameWatch::CheckRoad(const GameSnapshot& a) {
    const c_RoadScreen& road = *bb_tazzle_roadScreen;
    int maxX = a.gotSkis ? 528 : 544;
    if (road.m_x < 64 || road.m_x > maxX || road.m_y < 64 || road.m_y > 400 || road.m_x % 4 ||
        road.m_y % 4)
        Fault("walker at (" + std::to_string(road.m_x) + ", " + std::to_string(road.m_y) + ")");
    if (road.m_state < 0 || road.m_state > 3)
        Fault("road state " + std::to_string(road.m_state));
    if (static_cast<int>(road.m_cars.size()) > road.m_maxCars)
        Fault(std::to_string(road.m_cars.size()) + " vehicles for at most " +
              std::to_string(road.m_maxCars));
    int ambulances = 0;
    for (const c_Car& car : road.m_cars) {
        ambulances += car.p_IsAmbulance();
        bool right = car.m_dx > 0;
        int top = right ? 96 : 240;
        int bottom = top + (car.p_IsTruck() ? 80 : 96);
        int speed = std::abs(car.m_dx);
        bool xInside =
            right ? (car.m_x >= -64 && car.m_x <= 640) : (car.m_x >= -128 && car.m_x <= 576);
        if (car.m_y < top || car.m_y > bottom || !xInside || speed < 2 || speed > 8 || speed % 2)
            Fault("vehicle at (" + std::to_string(car.m_x) + ", " + std::to_string(car.m_y) +
                  ") speed " + std::to_string(car.m_dx));
    }
    if (ambulances > 1)
        Fault(std::to_string(ambulances) + " ambulances on the road");
}

void GameWatch::CheckSki(const GameSnapshot& a) {
    const c_SkiScreen& ski = *bb_tazzle_skiScreen;
    if (ski.m_x < 64 || ski.m_x > 528 || ski.m_y < 64 || ski.m_y > 240 || ski.m_x % 2 ||
        ski.m_y % 2)
        Fault("skier at (" + std::to_string(ski.m_x) + ", " + std::to_string(ski.m_y) + ")");
    if (ski.m_direction < 0 || ski.m_direction > 4 || ski.m_subRow < 0 || ski.m_subRow > 7 ||
        ski.m_snowOffset < 0 || ski.m_snowOffset > 63 || ski.m_speed < 1 || ski.m_speed > 2 ||
        ski.m_state < 0 || ski.m_state > 3)
        Fault("skier out of its ranges");
    int narrowest = a.difficulty == c_Difficulty::Easy ? 3 : 5;
    if (ski.m_gateNarrow != std::min(a.level - 1, narrowest))
        Fault("gates narrowed " + std::to_string(ski.m_gateNarrow) + " at level " +
              std::to_string(a.level));
    if (ski.m_crashFrame < 0 || ski.m_crashFrame > 15)
        Fault("crash frame " + std::to_string(ski.m_crashFrame));
}

void GameWatch::CheckNoMoney() {
    int timer = bb_tazzle_noMoneyScreen->m_timer;
    if (timer > c_NoMoneyScreen::kShowUpdates)
        Fault("no-money timer " + std::to_string(timer));
}
