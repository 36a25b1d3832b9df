// One vehicle on the road: its sprite and mask, where it is and was, its speed, its swerve step and
// (trucks only) its sideways drift, with the rules by which it moves among the other vehicles.
#pragma once

#include <list>

class c_Image;
class c_MasterMask;

class c_Car {
public:
    // Values of m_kind, numbered as the road's spawn draw numbers them.
    static constexpr int kYellowCar = 1;
    static constexpr int kRedCar = 2;
    static constexpr int kTruck = 3;
    static constexpr int kAmbulance = 4;
    static constexpr int kBike = 5;

    int m_kind = 0;                 // one of the kinds above; 0 for none
    c_MasterMask* m_mask = nullptr; // owned by the game's mask set
    int m_x = 0;
    int m_y = 0;
    int m_oldX = 0; // position at the start of the current update
    int m_oldY = 0;
    int m_dx = 0;               // pixels per update, positive = moving right
    c_Image* m_image = nullptr; // owned by the game images; its size is the vehicle's box
    int m_movedDx = 0;          // distance actually moved in the last update
    int m_dy = 0;               // swerve step, +2 or -2
    int m_drift = 0;            // trucks: remaining drift steps, positive = down

    int p_Width() const;
    int p_Height() const;
    // Boxes overlap when they share at least one pixel; touching edges do not count.
    bool p_Overlaps(const c_Car& other) const;
    bool p_IsTruck() const;
    bool p_IsAmbulance() const;

    // One update of this vehicle among the others (the list holds this vehicle too): drive on,
    // fall in behind or stop for traffic ahead, swerve to overtake (not trucks), drift (trucks).
    void p_Move(const std::list<c_Car>& cars);

private:
    // The first other vehicle whose box this one's overlaps, or null.
    const c_Car* OverlappedBy(const std::list<c_Car>& cars) const;
    void Swerve(const std::list<c_Car>& cars);
    void Drift(const std::list<c_Car>& cars);
    // Back to the row it had at the start of the update, perhaps turning its swerve around.
    void UndoSwerve();
};
