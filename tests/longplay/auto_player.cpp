// The automatic player of the long play: a plan per screen that keeps the game moving through
// every state, and seeded noise that a careless player would add.
#include "longplay/auto_player.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <array>
#include <cstdlib>

#include "game/random.h"
#include "game/tazzle.h"
#include "host/zibbet_game.h"
#include "persist/settings.h"
#include "road/road_screen.h"
#include "scenario/game_harness.h"
#include "screens/menu.h"
#include "screens/options_screen.h"
#include "screens/redefine_keys_screen.h"
#include "screens/title_screen.h"
#include "ski/ski_screen.h"

namespace {

constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kUp = 38;
constexpr int kDown = 40;
constexpr int kHutX = 272;
constexpr int kHutY = 400;
constexpr int kTopY = 64;
// The keys each control has when nothing was redefined.
constexpr std::array<int, 7> kDefaultKeys = {81, 90, 73, 80, 72, 77, 122};
constexpr int kTitleStart = 0;
constexpr int kTitleOptions = 1;

int Key(int control) {
    return bb_settings_gameSettings->m_controls[static_cast<size_t>(control)];
}

} // namespace

AutoPlayer::AutoPlayer(GameHarness& game, std::uint32_t seed) : m_game(game), m_random(seed) {}

bool AutoPlayer::Chance(double p) {
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < p;
}

int AutoPlayer::Between(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(m_random);
}

void AutoPlayer::Press(int code) {
    m_game.KeyDown(code);
    m_hit.insert(code);
}

void AutoPlayer::Tap(int code) {
    Press(code);
    m_game.KeyUp(code);
}

void AutoPlayer::Hold(int code) {
    if (code == m_held)
        return;
    ReleaseHeld();
    if (code) {
        Press(code);
        m_held = code;
    }
}

void AutoPlayer::ReleaseHeld() {
    if (m_held)
        m_game.KeyUp(m_held);
    m_held = 0;
}

const std::set<int>& AutoPlayer::Act() {
    m_hit.clear();
    if (m_mouseDown) {
        m_game.MouseUp(static_cast<float>(Between(0, 639)), static_cast<float>(Between(0, 479)));
        m_mouseDown = false;
    }
    switch (bb_tazzle_mainState) {
    case c_MainState::Title:
        OnTitle();
        break;
    case c_MainState::Options:
        OnOptions();
        break;
    case c_MainState::RedefineKeys:
        OnRedefineKeys();
        break;
    case c_MainState::Road:
        OnRoad();
        break;
    case c_MainState::Ski:
        OnSki();
        break;
    case c_MainState::NoMoney:
        OnNoMoney();
        break;
    default:
        break;
    }
    // Keys typed while a key is being redefined would be bound; the plan chooses those itself.
    if (bb_tazzle_mainState >= c_MainState::Title &&
        bb_tazzle_mainState != c_MainState::RedefineKeys)
        Noise();
    return m_hit;
}

void AutoPlayer::Observe() {
    int state = bb_tazzle_mainState;
    if (state == m_lastState)
        return;
    bool backFromRedefining = m_lastState == c_MainState::RedefineKeys;
    bool newGame = state == c_MainState::Road && m_lastState == c_MainState::Title;
    m_lastState = state;
    ReleaseHeld();
    m_holdFor = 0;
    m_target = -1;
    m_detour = false;
    m_wait = Between(0, 90);
    if (state == c_MainState::Options && !backFromRedefining) {
        m_changes = Between(0, 4);
        // The first visit always goes on to the key screen; later ones now and then.
        m_redefined = m_gamesStarted > 0 && Chance(0.4);
    }
    if (state == c_MainState::RedefineKeys)
        m_changes = Between(1, 3);
    if (state == c_MainState::Road || state == c_MainState::Ski)
        m_careful = Chance(0.7);
    if (newGame) {
        // The game seeds its traffic from the clock; the long play seeds it from its own
        // sequence, so that a run can be repeated.
        bb_random_Seed = static_cast<std::uint32_t>(m_random());
        ++m_gamesStarted;
    }
}

void AutoPlayer::Noise() {
    int pause = Key(c_Control::Pause);
    if (Chance(bb_tazzle_paused ? 1.0 / 40 : 1.0 / 1500))
        Tap(pause);
    if (Chance(1.0 / 3000))
        Tap(Key(c_Control::Music));
    if (Chance(bb_settings_gameSettings->m_fullScreen ? 1.0 / 300 : 1.0 / 12000)) {
        Tap(Key(c_Control::FullScreen));
        ++m_fullScreenSwitches;
    }
    if (!bb_settings_gameSettings->m_fullScreen && Chance(1.0 / 3000))
        ResizeWindow();
    if (Chance(1.0 / 20000))
        LoseFocus();
    if (Chance(1.0 / 300))
        Tap(Between('0', 'Z')); // a stray key: digits, letters and the few codes between
    if (Chance(1.0 / 200))
        m_game.MouseMove(static_cast<float>(Between(0, 639)), static_cast<float>(Between(0, 479)));
    if (!m_mouseDown && Chance(1.0 / 2500)) {
        m_game.MouseDown(static_cast<float>(Between(0, 639)), static_cast<float>(Between(0, 479)));
        m_hit.insert(384);
        m_mouseDown = true;
    }
}

bool SetWindowSize(GameHarness& game, int width, int height) {
    glfwSetWindowSize(game.Host().GetGLFWwindow(), width, height);
    // The new size reaches the host through its size callback when the events are pumped.
    BBZibbetGame& host = game.Host();
    auto seen = [&] { return host.GetDeviceWidth() == width && host.GetDeviceHeight() == height; };
    for (int i = 0; i < 100 && !seen(); ++i)
        glfwWaitEventsTimeout(0.01);
    return seen();
}

void AutoPlayer::ResizeWindow() {
    m_resizes += SetWindowSize(m_game, Between(160, 1200), Between(120, 1000));
}

void AutoPlayer::LoseFocus() {
    m_game.Host().SuspendGame();
    m_game.Render();
    m_game.Host().ResumeGame();
}

void AutoPlayer::SteerMenu(int selected, int item) {
    if (selected != item) {
        Tap(selected < item ? kDown : kUp);
        m_wait = Between(0, 6);
        return;
    }
    Tap(Chance(0.5) ? kEnter : kSpace);
    m_target = -1;
    m_wait = Between(2, 30);
}

void AutoPlayer::OnTitle() {
    const c_TitleScreen& title = *bb_tazzle_titleScreen;
    if (title.m_state != 0) {
        // Escape while the new game fades in must not end the program.
        if (Chance(1.0 / 100))
            Tap(kEscape);
        return;
    }
    if (!title.m_menu)
        return;
    if (m_wait > 0) {
        --m_wait;
        if (Chance(0.02))
            Tap(Chance(0.5) ? kUp : kDown);
        return;
    }
    if (m_target < 0) {
        // The first visit goes to the options, so that every screen is seen in the first lap.
        bool options = m_gamesStarted == 0 ? !m_visitedOptions : Chance(0.3);
        m_target = options ? kTitleOptions : kTitleStart;
        m_visitedOptions = m_visitedOptions || options;
    }
    SteerMenu(title.m_menu->m_selected, m_target);
}

void AutoPlayer::OnOptions() {
    const c_OptionsScreen& options = *bb_tazzle_optionsScreen;
    if (m_wait > 0) {
        --m_wait;
        return;
    }
    if (m_target < 0) {
        if (m_changes > 0) {
            --m_changes;
            // Any line that steps a setting; full screen only now and then.
            m_target = Chance(0.1) ? c_OptionsScreen::m_FullScreen : Between(0, 6);
            if (m_target == c_OptionsScreen::m_FullScreen && !Chance(0.1))
                m_target = c_OptionsScreen::m_Difficulty;
            if (m_target == c_OptionsScreen::m_FullScreen)
                ++m_fullScreenSwitches;
        } else if (!m_redefined) {
            m_target = c_OptionsScreen::m_RedefineKeys;
        } else if (Chance(0.3)) {
            Tap(kEscape);
            return;
        } else {
            m_target = c_OptionsScreen::m_Back;
        }
    }
    if (m_target == c_OptionsScreen::m_RedefineKeys && options.m_menu->m_selected == m_target)
        m_redefined = true;
    SteerMenu(options.m_menu->m_selected, m_target);
}

int AutoPlayer::FreeLetterFor(int control) {
    const auto& controls = bb_settings_gameSettings->m_controls;
    auto takenByOther = [&](int code) {
        for (int other = 0; other < c_Control::Count; ++other) {
            if (other != control && controls[static_cast<size_t>(other)] == code)
                return true;
        }
        return false;
    };
    int preferred = kDefaultKeys[static_cast<size_t>(control)];
    if (Chance(0.5) && !takenByOther(preferred))
        return preferred;
    int code = 0;
    do {
        code = Between('A', 'Z');
    } while (takenByOther(code));
    return code;
}

void AutoPlayer::OnRedefineKeys() {
    const c_RedefineKeysScreen& keys = *bb_tazzle_redefineKeysScreen;
    if (m_wait > 0) {
        --m_wait;
        return;
    }
    if (keys.m_state == 1) {
        Tap(FreeLetterFor(keys.m_control));
        m_wait = Between(1, 20);
        return;
    }
    if (m_target < 0) {
        if (m_changes > 0) {
            --m_changes;
            m_target = Between(0, 6);
        } else if (Chance(0.5)) {
            Tap(kEscape);
            return;
        } else {
            m_target = c_RedefineKeysScreen::m_Back;
        }
    }
    SteerMenu(keys.m_menu->m_selected, m_target);
}

int AutoPlayer::RoadHeading() {
    const c_RoadScreen& road = *bb_tazzle_roadScreen;
    int targetX = kHutX;
    int targetY = kHutY;
    if (m_detour) {
        targetX = m_detourX;
        targetY = m_detourY;
    } else if (bb_tazzle_gotSkis) {
        targetX = road.m_x;
        targetY = kTopY;
    }
    bool onPavement = road.m_y == kTopY || road.m_y == kHutY;
    if (road.m_x != targetX && (onPavement || m_detour))
        return road.m_x < targetX ? c_Control::Right : c_Control::Left;
    if (road.m_x != targetX) // back to the nearer pavement before walking along
        return road.m_y < 232 ? c_Control::Up : c_Control::Down;
    if (road.m_y != targetY)
        return road.m_y < targetY ? c_Control::Down : c_Control::Up;
    m_detour = false; // reached
    return -1;
}

namespace {

// Whether the walker, going this way, meets a vehicle in the next few updates.
bool WalkerEndangered(int control) {
    constexpr int kLookAhead = 8;
    constexpr int kSize = 32; // the walker's sprite
    const c_RoadScreen& road = *bb_tazzle_roadScreen;
    int dx = control == c_Control::Left ? -4 : control == c_Control::Right ? 4 : 0;
    int dy = control == c_Control::Up ? -4 : control == c_Control::Down ? 4 : 0;
    int maxX = bb_tazzle_gotSkis ? 528 : 544;
    for (int t = 1; t <= kLookAhead; ++t) {
        int x = std::clamp(road.m_x + dx * t, 64, maxX);
        int y = std::clamp(road.m_y + dy * t, 64, 400);
        for (const c_Car& car : road.m_cars) {
            int carX = car.m_x + car.m_dx * t;
            if (x < carX + car.p_Width() + 2 && carX < x + kSize + 2 &&
                y < car.m_y + car.p_Height() + 2 && car.m_y < y + kSize + 2)
                return true;
        }
    }
    return false;
}

} // namespace

int AutoPlayer::RoadDirectionKey() {
    int heading = RoadHeading();
    if (heading < 0)
        return m_held;
    // A careful walker steps back or aside from a vehicle about to run it over.
    if (m_careful && WalkerEndangered(heading)) {
        const int reverse[] = {c_Control::Down, c_Control::Up, c_Control::Right, c_Control::Left};
        for (int dodge : {reverse[heading], c_Control::Left, c_Control::Right, c_Control::Up,
                          c_Control::Down}) {
            if (!WalkerEndangered(dodge))
                return Key(dodge);
        }
    }
    return Key(heading);
}

void AutoPlayer::OnRoad() {
    const c_RoadScreen& road = *bb_tazzle_roadScreen;
    if (road.m_state != c_RoadScreen::kStatePlaying) {
        ReleaseHeld();
        // Giving up during the accident or the fade-out, while the next screen's sounds load.
        if (Chance(1.0 / 2000))
            Tap(kEscape);
        return;
    }
    if (Chance(1.0 / 15000)) {
        Tap(kEscape); // the player gives up this game
        return;
    }
    if (!m_detour && Chance(1.0 / 700)) {
        m_detour = true;
        m_detourX = 64 + 4 * Between(0, bb_tazzle_gotSkis ? 116 : 120);
        m_detourY = 64 + 4 * Between(0, 84);
    }
    Hold(RoadDirectionKey());
}

int AutoPlayer::SkiAim() const {
    const c_SkiScreen& ski = *bb_tazzle_skiScreen;
    // A careful skier first swerves round a tree in its way, by the shorter way that is open.
    for (const c_Tree& tree : ski.m_trees) {
        bool ahead = tree.m_y + 48 > ski.m_y && tree.m_y - ski.m_y < 160;
        if (!m_careful || !ahead || std::abs(tree.m_x - ski.m_x) >= 44)
            continue;
        int left = tree.m_x - 52;
        int right = tree.m_x + 52;
        bool goLeft = right > 528 || (left >= 64 && ski.m_x - left < right - ski.m_x);
        return goLeft ? left : right;
    }
    // Then banners and gates it can still reach: it aims at the middle of the nearest one.
    for (const c_Finish& finish : ski.m_finishes) {
        if (finish.m_y > ski.m_y)
            return finish.m_x + 96;
    }
    for (const c_Flag& gate : ski.m_flags) {
        if (gate.m_y > ski.m_y)
            return gate.m_x + (ski.p_GateWidth() + 8) / 2;
    }
    return -1;
}

void AutoPlayer::OnSki() {
    const c_SkiScreen& ski = *bb_tazzle_skiScreen;
    if (ski.m_state != c_SkiScreen::kStateSkiing) {
        ReleaseHeld();
        if (Chance(1.0 / 2000))
            Tap(kEscape);
        return;
    }
    if (Chance(1.0 / 20000)) {
        Tap(kEscape);
        return;
    }
    if (m_holdFor > 0) {
        --m_holdFor;
        return;
    }
    int aim = SkiAim();
    if (aim >= 0 && Chance(0.9)) {
        // Straight down when in line, else the diagonal towards the aim.
        int wanted = ski.m_x < aim - 8 ? 3 : ski.m_x > aim + 8 ? 1 : 2;
        int key = ski.m_direction < wanted   ? Key(c_Control::Right)
                  : ski.m_direction > wanted ? Key(c_Control::Left)
                                             : 0;
        Hold(key);
        return;
    }
    // Wandering: a random turn held for a while.
    int choice = Between(0, 3);
    Hold(choice == 0 ? Key(c_Control::Left) : choice == 1 ? Key(c_Control::Right) : 0);
    m_holdFor = Between(4, 60);
}

void AutoPlayer::OnNoMoney() {
    if (Chance(1.0 / 250)) {
        constexpr std::array<int, 3> leaveKeys = {kSpace, kEnter, kEscape};
        Tap(leaveKeys[static_cast<size_t>(Between(0, 2))]);
    }
}
