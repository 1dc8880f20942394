// host/glfw_game_input.cpp: the desktop host's window events and joystick polling.
#include "host/events.h"
#include "host/glfw_game.h"
#include "host/joystick.h"
#include "host/keys.h"

namespace {

constexpr int kJoystickSlots = 16;

template <class T>
void CopyInto(Array<T> to, const T* from, int count) {
  if (count > to.Length()) count = to.Length();
  for (int i = 0; i < count; ++i) to[i] = from[i];
}

}  // namespace

void RkGlfwGame::OnKey(int key, int action) {
  int code = TranslateGlfwKey(key);
  if (!code) return;
  if (action == kActionRelease) {
    _keyHeld[code] = false;
    _keyStaleUntil[code] = 0;
    KeyEvent(KeyUp, code);
    return;
  }
  // A held key reports repeats: each is a press again, so its character
  // repeats while the input device, which ignores a key already down,
  // counts only the first hit.
  if (action != kActionPress && action != kActionRepeat) return;
  if (_keyStaleUntil[code] > 0) {
    // A repeat of a key held across the change waits for its release; a
    // press after the window ran out is a new press.
    if (_window->Time() < _keyStaleUntil[code]) return;
    _keyStaleUntil[code] = 0;
  }
  if (action == kActionRepeat && !_keyHeld[code]) return;
  _keyHeld[code] = true;
  KeyEvent(KeyDown, code);
  if (int ch = KeyCodeChar(code)) KeyEvent(KeyChar, ch);
}

void RkGlfwGame::OnChar(unsigned int codepoint) { KeyEvent(KeyChar, static_cast<int>(codepoint)); }

void RkGlfwGame::OnMouseButton(int button, int action) {
  if (button < 0 || button > 2) return;
  double x, y;
  _window->GetCursorPos(&x, &y);
  if (action == kActionPress) MouseEvent(MouseDown, button, static_cast<float>(x), static_cast<float>(y));
  if (action == kActionRelease) MouseEvent(MouseUp, button, static_cast<float>(x), static_cast<float>(y));
}

void RkGlfwGame::OnCursorMove(double x, double y) {
  MouseEvent(MouseMove, -1, static_cast<float>(x), static_cast<float>(y));
}

// In practice the press ends the process: the application's close handler exits.
void RkGlfwGame::OnCloseRequest() {
  KeyEvent(KeyDown, KEY_WINDOW_CLOSE);
  KeyEvent(KeyUp, KEY_WINDOW_CLOSE);
}

// Units go to the present joysticks in slot order, so pads plugged in or out
// are picked up at the next poll of unit 0.
void RkGlfwGame::RebuildJoystickUnits() {
  int unit = 0;
  for (int joystick = 0; joystick < kJoystickSlots && unit < 4; ++joystick) {
    if (_window->JoystickPresent(joystick)) _joystickUnits[unit++] = joystick;
  }
  while (unit < 4) _joystickUnits[unit++] = -1;
}

bool RkGlfwGame::PollJoystick(int unit, Array<float> stickX, Array<float> stickY,
                              Array<float> triggers, Array<bool> buttons) {
  if (unit == 0) RebuildJoystickUnits();
  if (unit < 0 || unit >= 4 || _joystickUnits[unit] < 0) return false;
  RkJoystickReading reading;
  _window->ReadJoystick(_joystickUnits[unit], &reading);
  RkControllerState state = LayOutController(reading);
  CopyInto(stickX, state.stickX, 2);
  CopyInto(stickY, state.stickY, 2);
  CopyInto(triggers, state.triggers, 2);
  CopyInto(buttons, state.buttons, 32);
  return true;
}
