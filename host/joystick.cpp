// host/joystick.cpp: the controller layouts.
//
// The layouts and the game's stick settings were made for GLFW 2, whose axes
// are positive to the right, forward or up; GLFW 3 reports a stick pushed up
// as negative. Both paths below turn GLFW 3's Y back into GLFW 2's, so the
// game and its saved settings read the sticks as they always did.
#include "host/joystick.h"

namespace {

// An axis code reads axis n (n), axis n negated (0x40 + n) or button n as 0 or 1 (0x80 + n).
constexpr int kNegated = 0x40;
constexpr int kButton = 0x80;

struct RawLayout {
  // Left x, left y, left trigger, right x, right y, right trigger.
  int axisCodes[6];
  // Controller entries 0 to 13; a negative number counts from the last reported button.
  int buttons[14];
};

// A pad with 14 buttons and 5 axes: both triggers share axis 2.
constexpr RawLayout kPadLayout = {{0, 1, 2, 4, kNegated + 3, kNegated + 2},
                                  {0, 1, 2, 3, 4, 5, 6, 7, -4, -3, -2, -1, 8, 9}};
// Any other joystick: triggers are buttons 6 and 7.
constexpr RawLayout kJoystickLayout = {{0, 1, kButton + 6, 2, kNegated + 3, kButton + 7},
                                       {1, 2, 0, 3, 4, 5, 8, 9, -4, -3, -2, -1, 10, 11}};

// Gamepad buttons for controller entries 0 to 13: A, B, X, Y, the shoulders,
// back, start, the d-pad left, up, right, down, and the two stick buttons.
constexpr int kGamepadButtons[14] = {0, 1, 2, 3, 4, 5, 6, 7, 14, 11, 12, 13, 9, 10};

// GLFW 2 turned its Y axis (axis 1) so that up reads positive. The other axes
// come as the device gives them: the layouts negate the right stick's Y themselves.
constexpr int kYAxis = 1;

float Glfw2Axis(const RkJoystickReading& reading, int axis) {
  return axis == kYAxis ? -reading.axes[axis] : reading.axes[axis];
}

float ReadAxisCode(const RkJoystickReading& reading, int code) {
  if (code >= kButton) return reading.buttons[code - kButton] ? 1.0f : 0.0f;
  if (code >= kNegated) return -Glfw2Axis(reading, code - kNegated);
  return Glfw2Axis(reading, code);
}

RkControllerState LayOutRaw(const RkJoystickReading& reading) {
  const RawLayout& layout =
      reading.buttonCount == 14 && reading.axisCount == 5 ? kPadLayout : kJoystickLayout;
  float out[6];
  for (int i = 0; i < 6; ++i) out[i] = ReadAxisCode(reading, layout.axisCodes[i]);
  RkControllerState state;
  state.stickX[0] = out[0];
  state.stickY[0] = out[1];
  state.triggers[0] = out[2];
  state.stickX[1] = out[3];
  state.stickY[1] = out[4];
  state.triggers[1] = out[5];
  int buttonCount = reading.buttonCount < 32 ? reading.buttonCount : 32;
  for (int entry = 0; entry < 14; ++entry) {
    int button = layout.buttons[entry];
    if (button < 0) button += buttonCount;
    state.buttons[entry] = button >= 0 && button < buttonCount && reading.buttons[button];
  }
  return state;
}

RkControllerState LayOutGamepad(const RkJoystickReading& reading) {
  const float* axes = reading.gamepadAxes;
  RkControllerState state;
  state.stickX[0] = axes[0];
  state.stickY[0] = -axes[1];
  state.stickX[1] = axes[2];
  state.stickY[1] = -axes[3];
  // Gamepad triggers rest at -1; the controller's rest at 0.
  state.triggers[0] = (axes[4] + 1.0f) * 0.5f;
  state.triggers[1] = (axes[5] + 1.0f) * 0.5f;
  for (int entry = 0; entry < 14; ++entry) {
    state.buttons[entry] = reading.gamepadButtons[kGamepadButtons[entry]] != 0;
  }
  return state;
}

}  // namespace

void PutLastHatInDpadOrder(RkJoystickReading* reading, int reportedButtons) {
  if (reportedButtons < 4 || reportedButtons > 32) return;
  unsigned char* last = reading->buttons + reportedButtons - 4;
  const unsigned char up = last[0], right = last[1], down = last[2], left = last[3];
  last[0] = left;
  last[1] = up;
  last[2] = right;
  last[3] = down;
}

RkControllerState LayOutController(const RkJoystickReading& reading) {
  return reading.isGamepad ? LayOutGamepad(reading) : LayOutRaw(reading);
}
