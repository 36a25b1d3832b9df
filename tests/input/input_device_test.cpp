// The input device: hit counting and its limits, mouse/finger coupling, characters, queries.
#include "input/input_device.h"

#include "host/bb_game.h"

#include <gtest/gtest.h>

namespace {

class InputDeviceTest : public ::testing::Test {
protected:
    void SetUp() override { bb_input_SetInputDevice(&device_); }
    void TearDown() override { bb_input_SetInputDevice(nullptr); }
    void Press(int key) { device_.p_KeyEvent(BBEVENT_KEYDOWN, key); }
    void Release(int key) { device_.p_KeyEvent(BBEVENT_KEYUP, key); }
    // One update as the delegate runs it, without the joystick poll.
    void EndUpdate() { device_.p_EndUpdate(); }
    c_InputDevice device_;
};

} // namespace

TEST_F(InputDeviceTest, PressAndReleaseBetweenUpdatesCountsOnce) {
    Press(65);
    Release(65);
    EXPECT_EQ(bb_input_KeyHit(65), 1);
    EXPECT_FALSE(bb_input_KeyDown(65));
    EndUpdate();
    EXPECT_EQ(bb_input_KeyHit(65), 0);
}

TEST_F(InputDeviceTest, HeldKeyWithRepeatsCountsOnlyInTheFirstUpdate) {
    Press(39);
    Press(39);
    Press(39);
    EXPECT_EQ(bb_input_KeyHit(39), 1);
    EndUpdate();
    Press(39);
    EXPECT_EQ(bb_input_KeyHit(39), 0);
    EXPECT_TRUE(bb_input_KeyDown(39));
    Release(39);
    Press(39);
    EXPECT_EQ(bb_input_KeyHit(39), 1);
}

TEST_F(InputDeviceTest, PressesBeyondThirtyThreeGoUncounted) {
    for (int key = 48; key < 48 + 40; ++key)
        Press(key);
    for (int key = 48; key < 48 + 40; ++key) {
        EXPECT_EQ(bb_input_KeyHit(key), key < 48 + 33 ? 1 : 0) << key;
        EXPECT_TRUE(bb_input_KeyDown(key)) << key;
    }
    EndUpdate();
    for (int key = 48; key < 48 + 40; ++key)
        EXPECT_EQ(bb_input_KeyHit(key), 0);
    // The queue is empty again: a new press counts.
    Release(100);
    Press(100);
    EXPECT_EQ(bb_input_KeyHit(100), 1);
}

TEST_F(InputDeviceTest, RepeatedPressesOfOneKeyCountEachTime) {
    for (int i = 0; i < 3; ++i) {
        Press(32);
        Release(32);
    }
    EXPECT_EQ(bb_input_KeyHit(32), 3);
}

TEST_F(InputDeviceTest, LeftButtonAndFirstFingerAreOneControl) {
    device_.p_MouseEvent(BBEVENT_MOUSEDOWN, 0, 10, 20);
    EXPECT_TRUE(bb_input_TouchDown(0));
    EXPECT_EQ(bb_input_TouchHit(0), 1);
    EXPECT_EQ(bb_input_KeyHit(1), 1);
    EXPECT_EQ(bb_input_TouchX(0), 10);
    EXPECT_EQ(bb_input_MouseY(), 20);
    device_.p_MouseEvent(BBEVENT_MOUSEUP, 0, 99, 99);
    EXPECT_FALSE(bb_input_KeyDown(1));
    EXPECT_FALSE(bb_input_TouchDown(0));
    EXPECT_EQ(bb_input_MouseX(), 10); // mouse-up does not move the pointer

    device_.p_TouchEvent(BBEVENT_TOUCHDOWN, 0, 5, 6);
    EXPECT_TRUE(bb_input_KeyDown(1));
    EXPECT_EQ(bb_input_MouseX(), 5);
    device_.p_TouchEvent(BBEVENT_TOUCHUP, 0, 0, 0);
    EXPECT_FALSE(bb_input_KeyDown(1));

    device_.p_MouseEvent(BBEVENT_MOUSEDOWN, 1, 0, 0);
    EXPECT_TRUE(bb_input_KeyDown(2));
    EXPECT_FALSE(bb_input_KeyDown(384 + 1));
}

TEST_F(InputDeviceTest, FingersAndMotionStoreTheirReadings) {
    device_.p_TouchEvent(BBEVENT_TOUCHDOWN, 3, 7, 8);
    EXPECT_TRUE(bb_input_KeyDown(387));
    device_.p_TouchEvent(BBEVENT_TOUCHMOVE, 3, 9, 10);
    EXPECT_EQ(bb_input_TouchX(3), 9);
    EXPECT_EQ(bb_input_TouchY(3), 10);
    EXPECT_EQ(bb_input_MouseX(), 0);
    device_.p_MouseEvent(BBEVENT_MOUSEMOVE, -1, 30, 40);
    EXPECT_EQ(bb_input_TouchX(0), 30);
    device_.p_MotionEvent(BBEVENT_MOTION, 0, 0.1f, 0.2f, 0.3f);
    EXPECT_FLOAT_EQ(bb_input_AccelZ(), 0.3f);
}

TEST_F(InputDeviceTest, OutOfRangeQueriesReadAsNothing) {
    for (int key : {-1, 0, 512, 100000}) {
        Press(key);
        EXPECT_FALSE(bb_input_KeyDown(key));
        EXPECT_EQ(bb_input_KeyHit(key), 0);
    }
    device_.p_TouchEvent(BBEVENT_TOUCHDOWN, 40, 1, 1);
    EXPECT_EQ(bb_input_TouchX(40), 0);
    EXPECT_EQ(bb_input_TouchY(-1), 0);
    EXPECT_EQ(bb_input_JoyX(2, 0), 0);
    EXPECT_EQ(bb_input_JoyY(0, 4), 0);
    bb_input_SetInputDevice(nullptr);
    EXPECT_FALSE(bb_input_KeyDown(65));
    EXPECT_EQ(bb_input_GetChar(), 0);
}

TEST_F(InputDeviceTest, CharactersQueueUntilTheEndOfTheUpdate) {
    for (int c = 0; c < 40; ++c)
        device_.p_KeyEvent(BBEVENT_KEYCHAR, 'a' + c);
    for (int c = 0; c < 32; ++c)
        EXPECT_EQ(bb_input_GetChar(), 'a' + c);
    EXPECT_EQ(bb_input_GetChar(), 0);
    EndUpdate();
    device_.p_KeyEvent(BBEVENT_KEYCHAR, 'z');
    EXPECT_EQ(bb_input_GetChar(), 'z');
}

TEST_F(InputDeviceTest, JoystickCodesShareTheKeyNumbering) {
    Press(291);
    EXPECT_TRUE(bb_input_JoyDown(3, 1));
    EXPECT_EQ(bb_input_JoyHit(3, 1), 1);
}
