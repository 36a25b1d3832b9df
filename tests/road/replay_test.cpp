// A recorded session replayed from a fixed seed: every traced field of the road screen and of
// each vehicle comes out the same, update by update, on every run.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "game/random.h"
#include "game/tazzle.h"
#include "road_world_support.h"

namespace {

struct KeyChange {
    int update;
    int key;
    bool down;
};

// Walk left to the hut's column, down across the traffic, wait, then back up and across.
const KeyChange kRecording[] = {
    {0, 73, true},    {12, 73, false},   {12, 90, true},   {60, 90, false},
    {140, 90, true},  {200, 90, false},  {260, 80, true},  {300, 80, false},
    {300, 81, true},  {420, 81, false},  {500, 90, true},  {1400, 90, false},
    {1400, 73, true}, {1450, 73, false}, {1450, 81, true}, {2400, 81, false},
};

std::string Trace(const c_RoadScreen& r) {
    std::ostringstream out;
    out << r.m_state << ' ' << r.m_frame << ' ' << r.m_frameTimer << ' ' << r.m_direction << ' '
        << r.m_hireTimer << ' ' << r.m_stepCount << ' ' << r.m_hit << ' ' << r.m_flashTimer << ' '
        << r.m_flashOn << ' ' << r.m_maxCars << ' ' << r.m_x << ' ' << r.m_y << ' ' << r.m_deadTimer
        << ' ' << r.m_nextState << ' ' << r.m_ambulanceX << " |";
    for (const c_Car& c : r.m_cars) {
        out << ' ' << static_cast<int>(RoadWorld::KindOf(c)) << ',' << c.m_x << ',' << c.m_y << ','
            << c.m_oldX << ',' << c.m_oldY << ',' << c.m_dx << ',' << c.m_movedDx << ',' << c.m_dy
            << ',' << c.m_drift;
    }
    out << " | " << bb_tazzle_score << ' ' << bb_tazzle_money << ' ' << bb_tazzle_gotSkis << ' '
        << bb_random_Seed;
    return out.str();
}

std::vector<std::string> Replay(std::uint32_t seed) {
    RoadWorld world;
    bb_tazzle_level = 3;
    world.m_road.p_OnInit();
    bb_random_Seed = seed;
    std::vector<std::string> trace;
    std::size_t next = 0;
    for (int update = 0; update < 2600 && bb_tazzle_mainState == 3; ++update) {
        for (; next < std::size(kRecording) && kRecording[next].update == update; ++next) {
            if (kRecording[next].down) {
                world.Press(kRecording[next].key);
            } else {
                world.Release(kRecording[next].key);
            }
        }
        world.Update();
        trace.push_back(Trace(world.m_road));
    }
    return trace;
}

} // namespace

TEST(RoadReplay, TheSameSeedAndInputGiveTheSameGame) {
    const std::vector<std::string> first = Replay(20261207);
    const std::vector<std::string> second = Replay(20261207);
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i)
        ASSERT_EQ(first[i], second[i]) << "update " << i;
    // The session really played: traffic was on the road, and another seed plays differently.
    std::size_t withTraffic = 0;
    for (const std::string& line : first)
        withTraffic += line.find(',') != std::string::npos;
    EXPECT_GT(withTraffic, first.size() / 2);
    EXPECT_NE(first.back(), Replay(7).back());
}
