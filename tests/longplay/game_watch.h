// The long play's referee: a snapshot of the game before and after every update, and the rules
// the two must obey (allowed state changes, positions inside their limits, money and score only
// moving by the game's own fees, bonuses and points, the global keys doing what they say).
#pragma once

#include <array>
#include <set>
#include <string>
#include <vector>

// What the referee looks at in the game, taken between updates.
struct GameSnapshot {
    int mainState = 0;
    int score = 0;
    int hiScore = 0;
    int money = 0;
    int level = 0;
    bool gotSkis = false;
    int skiDamage = 0;
    int lastScoreUpdate = 0;
    bool paused = false;
    bool fullScreen = false;
    bool musicOff = false;
    int difficulty = 0;
    std::array<int, 7> controls{};
    int titleState = 0;
    int roadState = 0;
    int skiState = 0;
    int walkerX = 0, walkerY = 0; // the road screen's character
    int skierX = 0, skierY = 0, skierRow = 0;

    static GameSnapshot Take();
};

class GameWatch {
public:
    // Checks one update: `before` and `after` it, with the key codes pressed for it.
    void Check(const GameSnapshot& before, const GameSnapshot& after, const std::set<int>& keysHit);

    // How many updates were spent in each main state (index 0 to 7).
    const std::array<long, 8>& UpdatesInState() const { return m_updatesInState; }
    // The rule breaks found so far, each with the update it happened in (the first 50 kept).
    const std::vector<std::string>& Faults() const { return m_faults; }
    long FaultCount() const { return m_faultCount; }
    long Updates() const { return m_updates; }

private:
    void Fault(const std::string& what);
    void CheckTransition(const GameSnapshot& b, const GameSnapshot& a);
    void CheckProgress(const GameSnapshot& b, const GameSnapshot& a);
    void CheckMoney(const GameSnapshot& b, const GameSnapshot& a);
    void CheckSkis(const GameSnapshot& b, const GameSnapshot& a);
    void CheckGlobalKeys(const GameSnapshot& b, const GameSnapshot& a,
                         const std::set<int>& keysHit);
    void CheckScoring(const GameSnapshot& b, const GameSnapshot& a);
    void CheckMotion(const GameSnapshot& b, const GameSnapshot& a);
    void CheckRoad(const GameSnapshot& a);
    void CheckSki(const GameSnapshot& a);
    void CheckNoMoney();

    long m_updates = 0;
    std::array<long, 8> m_updatesInState{};
    std::vector<std::string> m_faults;
    long m_faultCount = 0;
};

// Whether the title started a new game in this update.
bool StartedNewGame(const GameSnapshot& before, const GameSnapshot& after);
