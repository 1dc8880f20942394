// host/joystick.h: a joystick reading laid out as the controller the game expects.
#pragma once

#include "host/window_system.h"

struct RkControllerState {
  float stickX[2] = {};    // left, right
  float stickY[2] = {};    // left, right; positive up, as GLFW 2 had it
  float triggers[2] = {};  // left, right
  // 0-3 face buttons, 4-5 shoulders, 6 back, 7 start, 8-11 d-pad left, up,
  // right, down, 12-13 stick buttons; the rest stay false.
  bool buttons[32] = {};
};

// A recognised gamepad goes through its standard mapping; any other joystick
// through one of two raw layouts, chosen by its button and axis counts.
RkControllerState LayOutController(const RkJoystickReading& reading);

// The layouts read the last four buttons as the d-pad's left, up, right and
// down; GLFW 3 ends its buttons with the last hat's up, right, down, left.
// Reorders those four when all `reportedButtons` fit in the reading.
void PutLastHatInDpadOrder(RkJoystickReading* reading, int reportedButtons);
