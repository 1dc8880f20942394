// The input device: hits and downs between updates, mirroring of the left
// button and finger 0, queue limits, positions and joystick buttons.
#include <gtest/gtest.h>

#include <climits>

#include "host/input.h"
#include "tests/host/fake_window.h"

namespace {

class InputDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    RkGame::_game = &host;
    rk_input_SetInputDevice((new c_InputDevice())->m_new());
  }
  void TearDown() override { rk_input_device = nullptr; }

  void Press(int code) { rk_input_device->p_KeyEvent(KeyDown, code); }
  void Release(int code) { rk_input_device->p_KeyEvent(KeyUp, code); }
  void Type(int ch) { rk_input_device->p_KeyEvent(KeyChar, ch); }
  void Update() {
    rk_input_device->p_EndUpdate();
    rk_input_device->p_BeginUpdate();
  }

  FakeWindowSystem window{nullptr};
  TestHost host{&window};
};

TEST_F(InputDevice, TwoPressesBetweenUpdatesCountTwoHitsAndTheNextUpdateNone) {
  Press(65);
  Release(65);
  Press(65);
  Release(65);
  EXPECT_EQ(rk_input_KeyHit(65), 2);
  EXPECT_EQ(rk_input_KeyDown(65), 0);
  Update();
  EXPECT_EQ(rk_input_KeyHit(65), 0);
}

TEST_F(InputDevice, AHeldKeyCountsOneHitAndStaysDownAcrossUpdates) {
  Press(8);
  Press(8);  // a repeat
  EXPECT_EQ(rk_input_KeyHit(8), 1);
  Update();
  EXPECT_EQ(rk_input_KeyDown(8), 1);
  Release(8);
  Release(8);
  EXPECT_EQ(rk_input_KeyDown(8), 0);
}

TEST_F(InputDevice, TheLeftButtonAndFingerZeroMirrorEachOther) {
  rk_input_device->p_MouseEvent(MouseDown, 0, 10, 20);
  EXPECT_EQ(rk_input_MouseDown(0), 1);
  EXPECT_EQ(rk_input_TouchDown(0), 1);
  EXPECT_EQ(rk_input_MouseHit(0), 1);
  EXPECT_EQ(rk_input_KeyHit(KEY_FINGER0), 1);
  rk_input_device->p_MouseEvent(MouseUp, 0, 99, 99);
  EXPECT_EQ(rk_input_MouseDown(0), 0);
  EXPECT_EQ(rk_input_TouchDown(0), 0);
  EXPECT_EQ(rk_input_MouseX(), 10);  // a release does not move the pointer
  EXPECT_EQ(rk_input_TouchY(0), 20);

  Update();
  rk_input_device->p_TouchEvent(TouchDown, 0, 5, 6);
  EXPECT_EQ(rk_input_MouseDown(0), 1);
  EXPECT_EQ(rk_input_MouseHit(0), 1);
  EXPECT_EQ(rk_input_MouseY(), 6);
  rk_input_device->p_TouchEvent(TouchUp, 0, 0, 0);
  EXPECT_EQ(rk_input_MouseDown(0), 0);
}

TEST_F(InputDevice, OtherButtonsAndFingersDoNotMirror) {
  rk_input_device->p_MouseEvent(MouseDown, 1, 1, 1);
  rk_input_device->p_TouchEvent(TouchDown, 3, 7, 8);
  EXPECT_EQ(rk_input_MouseDown(1), 1);
  EXPECT_EQ(rk_input_TouchDown(1), 0);
  EXPECT_EQ(rk_input_TouchDown(3), 1);
  EXPECT_EQ(rk_input_TouchX(3), 7);
  EXPECT_EQ(rk_input_MouseX(), 1);  // only finger 0 moves the pointer
  rk_input_device->p_MouseEvent(MouseMove, -1, 30, 40);
  EXPECT_EQ(rk_input_TouchX(0), 30);
}

TEST_F(InputDevice, TheHitQueueHolds33HitsAndDropsTheRestUncounted) {
  for (int code = 100; code < 140; ++code) Press(code);
  EXPECT_EQ(rk_input_KeyHit(132), 1);
  EXPECT_EQ(rk_input_KeyHit(133), 0);
  EXPECT_EQ(rk_input_KeyDown(139), 1);
  Update();
  for (int code = 100; code < 140; ++code) EXPECT_EQ(rk_input_KeyHit(code), 0) << code;
  Press(KEY_MOUSE_LEFT);  // two entries: the button and its mirror
  EXPECT_EQ(rk_input_KeyHit(KEY_FINGER0), 1);
}

TEST_F(InputDevice, CharactersComeInOrderUpTo32AndAreGoneAfterTheUpdate) {
  for (int ch = 'a'; ch < 'a' + 40; ++ch) Type(ch);
  for (int ch = 'a'; ch < 'a' + 32; ++ch) EXPECT_EQ(rk_input_GetChar(), ch);
  EXPECT_EQ(rk_input_GetChar(), 0);
  Type('x');
  Update();
  EXPECT_EQ(rk_input_GetChar(), 0);
}

TEST_F(InputDevice, CodesOutsideTheSpaceReadAsUpAndEventsForThemAreIgnored) {
  for (int code : {0, 512, -1, 100000}) {
    Press(code);
    EXPECT_EQ(rk_input_KeyDown(code), 0) << code;
    EXPECT_EQ(rk_input_KeyHit(code), 0) << code;
  }
  rk_input_device->p_TouchEvent(TouchDown, 40, 1, 1);
  rk_input_device->p_MouseEvent(MouseDown, -5, 1, 1);
  int hits = rk_input_device->m_KeyHitPut;
  for (int far : {INT_MAX, INT_MIN}) {
    rk_input_device->p_MouseEvent(MouseDown, far, 1, 1);
    rk_input_device->p_TouchEvent(TouchDown, far, 1, 1);
    EXPECT_EQ(rk_input_TouchDown(far), 0);
    EXPECT_EQ(rk_input_MouseHit(far), 0);
  }
  EXPECT_EQ(rk_input_device->m_KeyHitPut, hits);
  EXPECT_EQ(rk_input_TouchDown(200), 0);
  EXPECT_EQ(rk_input_TouchX(32), 0);
  EXPECT_EQ(rk_input_MouseDown(511), 0);
  EXPECT_EQ(rk_input_JoyDown(0, 8), 0);
  EXPECT_EQ(rk_input_JoyX(2, 0), 0);
  EXPECT_EQ(rk_input_JoyY(0, -1), 0);
}

TEST_F(InputDevice, WithoutADeviceEverythingReadsIdle) {
  rk_input_device = nullptr;
  EXPECT_EQ(rk_input_KeyDown(65), 0);
  EXPECT_EQ(rk_input_GetChar(), 0);
  EXPECT_EQ(rk_input_MouseX(), 0);
  EXPECT_EQ(rk_input_AccelY(), 0);
}

TEST_F(InputDevice, AccelerationIsTakenFromMotionEvents) {
  rk_input_device->p_MotionEvent(AccelChange, 0, 0.5f, -1, 2);
  EXPECT_EQ(rk_input_AccelX(), 0.5f);
  EXPECT_EQ(rk_input_AccelY(), -1);
  rk_input_device->p_MotionEvent(MouseMove, 0, 9, 9, 9);
  EXPECT_EQ(rk_input_AccelX(), 0.5f);
}

TEST_F(InputDevice, KeyboardSwitchOnlyRecordsTheFlag) {
  EXPECT_EQ(rk_input_EnableKeyboard(), 1);
  EXPECT_TRUE(host.KeyboardEnabled());
  EXPECT_EQ(rk_input_DisableKeyboard(), 1);
  EXPECT_FALSE(host.KeyboardEnabled());
}

TEST_F(InputDevice, JoystickButtonsBehaveLikeKeysCountedAtUpdates) {
  RkJoystickReading pad;
  pad.buttonCount = 12;
  pad.axisCount = 4;
  pad.axes[0] = 0.75f;
  pad.buttons[1] = 1;  // entry 0 of the joystick layout
  window.joysticks = {{0, pad}, {1, pad}};
  Update();
  EXPECT_EQ(rk_input_JoyDown(0, 0), 1);
  EXPECT_EQ(rk_input_JoyHit(0, 0), 1);
  EXPECT_EQ(rk_input_JoyDown(0, 1), 1);
  EXPECT_EQ(rk_input_KeyDown(256 + 32 + 0), 1);
  EXPECT_EQ(rk_input_JoyX(0, 1), 0.75f);
  Update();
  EXPECT_EQ(rk_input_JoyHit(0, 0), 0);  // still held: no new hit
  EXPECT_EQ(rk_input_JoyDown(0, 0), 1);
  window.joysticks[0].buttons[1] = 0;
  Update();
  EXPECT_EQ(rk_input_JoyDown(0, 0), 0);
}

TEST_F(InputDevice, AStickPushedUpReadsPositiveOnBothPaths) {
  // Recorded GLFW 3 readings (up is -1): a known gamepad, and a joystick read raw.
  RkJoystickReading gamepad;
  gamepad.isGamepad = true;
  gamepad.gamepadAxes[1] = gamepad.gamepadAxes[3] = -1;
  gamepad.gamepadAxes[4] = gamepad.gamepadAxes[5] = -1;  // triggers released
  RkJoystickReading raw;
  raw.axisCount = 4;
  raw.buttonCount = 12;
  raw.axes[1] = raw.axes[3] = -1;
  window.joysticks = {{0, gamepad}, {1, raw}};
  Update();
  for (int unit = 0; unit < 2; ++unit) {
    EXPECT_EQ(rk_input_JoyY(0, unit), 1.0f) << "left stick of unit " << unit;
    EXPECT_EQ(rk_input_JoyY(1, unit), 1.0f) << "right stick of unit " << unit;
  }
}

TEST_F(InputDevice, WhenUnitZeroIsAbsentNoUnitIsPolledAndAxesKeepTheirValues) {
  RkJoystickReading stick;
  stick.axisCount = 2;
  stick.axes[1] = 0.5f;
  window.joysticks = {{0, stick}};
  Update();
  EXPECT_EQ(rk_input_JoyY(0, 0), -0.5f);
  window.joysticks.clear();
  Update();
  EXPECT_EQ(rk_input_JoyY(0, 0), -0.5f);
}

}  // namespace
