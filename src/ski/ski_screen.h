// The ski slope: the second half of every lap. The skier steers down a course of trees, moguls
// and gates to the finish banner; a tree crash may break the skis.
#pragma once

#include <array>
#include <vector>

#include "screens/fade.h"
#include "ski/ski_course.h"
#include "ski/slope_objects.h"

class c_Image;
class c_MasterMask;

class c_SkiScreen {
public:
    // Values of m_state.
    static constexpr int kStateSkiing = 0;
    static constexpr int kStateLeaving = 1;
    static constexpr int kStateCrashed = 2;
    static constexpr int kStateRunOut = 3;

    // Values of m_direction, from straight across to the left round to straight across to the
    // right.
    static constexpr int kHeadingLeft = 0;
    static constexpr int kHeadingDownLeft = 1;
    static constexpr int kHeadingDown = 2;
    static constexpr int kHeadingDownRight = 3;
    static constexpr int kHeadingRight = 4;

    c_SkiScreen();

    void p_OnInit();
    int p_OnUpdate();
    void p_Update();
    void p_PlayUpdate();
    void p_CrashUpdate();
    void p_FinishUpdate();
    c_Image* p_GetTazzleCrashFrame() const;
    int p_OnRender();
    void p_Render();

    // The right post stands this far from the left one.
    int p_GateWidth() const { return 144 - 16 * m_gateNarrow; }

    int m_state = kStateSkiing;
    int m_gateNarrow = 0;
    int m_x = 0;
    int m_y = 0;
    c_Image* m_image = nullptr;
    c_MasterMask* m_mask = nullptr;
    int m_direction = kHeadingDown;
    int m_snowOffset = 0;
    int m_straightenTimer = 0;
    int m_steerTimer = 0;
    bool m_turnLeft = false;
    bool m_turnRight = false;
    bool m_crashed = false;
    int m_crashFrame = 0;
    int m_row = 0;
    int m_courseIndex = 0;
    int m_subRow = 0;
    int m_nextFlagId = 1;
    int m_nextRow = 0;
    int m_nextColumn = 0;
    int m_nextType = 0;
    int m_nextLevel = 1;
    int m_speed = 2;
    int m_lastMissedFlag = 0;
    bool m_finishBonus = false;
    std::vector<c_Tree> m_trees;
    std::vector<c_Bump> m_bumps;
    std::vector<c_Flag> m_flags;
    std::vector<c_Finish> m_finishes;
    int m_timer = 0;
    bool m_bumped = false;
    int m_prevSubRow = 0;
    std::array<int, ski_course::kInts> m_course1;
    std::array<int, ski_course::kInts> m_course2;
    c_Fade m_fade;

private:
    bool AssetsReady() const;
    void LeaveUpdate();
    void SetHeading(int direction);
    void TestTrees();
    void TestMoguls();
    void TestFinish();
    void TestGates();
    void EaseTraverse();
    void ReadSteering();
    void Turn();
    void Move();
    void KeepInLimits();
    void ScrollObjects();
    void AdvanceCourse();
    void PlacePendingObject();
    void ReadNextRecord();
    bool CrashShown() const;
    void DrawGates(bool aboveSkier) const;
    void DrawBanners() const;
};
