// Vehicle movement: the order of the random draws here is part of the game's replayable
// sequence, so every test and draw happens exactly where and as often as play requires.
#include "road/car.h"

#include <cstdlib>

#include "game/random.h"
#include "graphics/image.h"

namespace {

// Swerving keeps a vehicle on its own carriageway: rows 96..192 going right, 240..336 going left.
bool OffCarriageway(int y, int dx) {
    return dx > 0 ? (y < 96 || y > 192) : (y < 240 || y > 336);
}

// A drifting truck keeps to 96..176 going right, 240..320 going left.
bool OffDriftBand(int y, int dx) {
    return dx > 0 ? (y < 96 || y > 176) : (y < 240 || y > 320);
}

} // namespace

int c_Car::p_Width() const {
    return m_image != nullptr ? m_image->m_width : 0;
}

int c_Car::p_Height() const {
    return m_image != nullptr ? m_image->m_height : 0;
}

bool c_Car::p_Overlaps(const c_Car& other) const {
    return m_x < other.m_x + other.p_Width() && other.m_x < m_x + p_Width() &&
           m_y < other.m_y + other.p_Height() && other.m_y < m_y + p_Height();
}

bool c_Car::p_IsTruck() const {
    return m_kind == kTruck;
}

bool c_Car::p_IsAmbulance() const {
    return m_kind == kAmbulance;
}

const c_Car* c_Car::OverlappedBy(const std::list<c_Car>& cars) const {
    for (const c_Car& other : cars) {
        if (&other != this && p_Overlaps(other))
            return &other;
    }
    return nullptr;
}

void c_Car::p_Move(const std::list<c_Car>& cars) {
    m_oldX = m_x;
    m_oldY = m_y;
    m_x += m_dx;
    const bool truck = p_IsTruck();
    for (const c_Car& other : cars) {
        // Each test sees this vehicle where the previous ones left it.
        if (&other == this || !p_Overlaps(other))
            continue;
        if (std::abs(other.m_movedDx) < std::abs(m_dx))
            m_x = m_oldX + other.m_movedDx;
        if (OverlappedBy(cars) != nullptr)
            m_x = m_oldX;
        if (!truck)
            Swerve(cars);
    }
    if (truck)
        Drift(cars);
    m_movedDx = m_x - m_oldX;
}

void c_Car::UndoSwerve() {
    m_y = m_oldY;
    if (bb_random_Rnd3(40.0f) <= 1.0f)
        m_dy = -m_dy;
}

void c_Car::Swerve(const std::list<c_Car>& cars) {
    m_y += m_dy;
    if (OffCarriageway(m_y, m_dx))
        UndoSwerve();
    // One draw for every vehicle still in the way.
    for (const c_Car& other : cars) {
        if (&other != this && p_Overlaps(other))
            UndoSwerve();
    }
}

void c_Car::Drift(const std::list<c_Car>& cars) {
    if (m_drift == 0) {
        const int roll = static_cast<int>(bb_random_Rnd2(1.0f, 2000.0f));
        if (roll == 1) {
            m_y += 1;
            m_drift = 47;
        } else if (roll == 2) {
            m_y -= 1;
            m_drift = -47;
        }
    } else if (m_drift > 0) {
        m_y += 1;
        m_drift -= 1;
    } else {
        m_y -= 1;
        m_drift += 1;
    }
    if (OffDriftBand(m_y, m_dx)) {
        m_drift = 0;
        m_y = m_oldY;
    }
    for (const c_Car& other : cars) {
        if (&other != this && p_Overlaps(other)) {
            m_drift = 0;
            m_y = m_oldY;
        }
    }
}
