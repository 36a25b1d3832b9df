// The road screen, the first half of every lap: the walker crosses the two-way traffic to the ski
// hire hut and back up to the slope; a hit plays the accident and charges the ambulance fee.
#pragma once

#include <list>

#include "road/car.h"
#include "road/walker_poses.h"
#include "screens/fade.h"

class c_Image;
class c_MasterMask;

class c_RoadScreen {
public:
    // Values of m_state.
    static constexpr int kStatePlaying = 0;
    static constexpr int kStateLeaving = 1;
    static constexpr int kStateHit = 2;
    static constexpr int kStateAmbulance = 3;

    c_RoadScreen();
    ~c_RoadScreen();

    // Starts loading what the road draws, hits and plays that is not loaded yet: the sprites and
    // backdrops, the collision masks and the road's sounds. The title needs none of them, so they
    // load while START GAME fades out, not behind "LOADING...".
    static void p_StartLoads();
    // Everything p_StartLoads starts has arrived: until then the road neither updates nor draws.
    static bool p_AssetsReady();
    // Prepares a fresh crossing (new game, back from the slope, after a crash).
    void p_OnInit();
    // Once per update in the road state; runs the screen once its assets are ready.
    int p_OnUpdate();
    void p_Update();
    // One update of play: hit test, hut, slope, traffic, walker, animation, score, bonus.
    void p_PlayUpdate();
    c_MasterMask* p_GetTazzleMask() const;

    // The accident: flashing after the hit, then the ambulance crossing and the fee.
    void p_DeadFlashingUpdate();
    void p_DeadAmulanceUpdate();
    c_Image* p_GetTazzleImage() const;
    c_Image* p_GetDeadTazzleImage() const;

    int p_OnRender();
    void p_Render();

    int m_state = 0;
    std::list<c_Car> m_cars; // oldest first
    int m_frame = 0;         // walking frame, 0 or 1
    int m_frameTimer = 0;
    int m_direction = c_WalkerDirection::Left;
    int m_hireTimer = 0; // updates left to show the ski hire banner
    int m_stepCount = 0; // vertical steps on the road since the last award
    bool m_hit = false;
    int m_flashTimer = 0;
    bool m_flashOn = false;
    int m_maxCars = 0;
    int m_x = 0;
    int m_y = 0;
    int m_deadTimer = 0; // updates left in the flashing phase
    int m_nextState = 0; // application state after the fade-out: c_MainState::Ski or NoMoney
    c_Fade m_fade;
    int m_ambulanceX = 0;

private:
    bool TestHit();
    // Returns true when the walker found no money at the hut and the screen is leaving.
    bool VisitHut();
    void ReachSlope();
    void SpawnCar();
    void RemoveCarsOffRoad();
    // Returns true when the walker moved vertically.
    bool SteerAndWalk();
    void Animate();
    void Score(bool movedVertically);
    void LeaveUpdate();
    void Leave(int nextState);
    void PutWalkerAtStart();
};
