// host/input_module.cpp: the input module's functions, each reading the one device.
#include "host/game.h"
#include "host/input.h"

c_InputDevice* rk_input_device = nullptr;

namespace {

// Before the game starts there is no device: everything reads as idle.
c_InputDevice* Device() { return rk_input_device; }

}  // namespace

int rk_input_SetInputDevice(c_InputDevice* device) {
  gc_assign(rk_input_device, device);
  return 0;
}

int rk_input_KeyDown(int code) { return Device() ? Device()->p_KeyDown(code) : 0; }
int rk_input_KeyHit(int code) { return Device() ? Device()->p_KeyHit(code) : 0; }
int rk_input_GetChar() { return Device() ? Device()->p_GetChar() : 0; }
float rk_input_MouseX() { return Device() ? Device()->p_MouseX() : 0; }
float rk_input_MouseY() { return Device() ? Device()->p_MouseY() : 0; }
float rk_input_TouchX(int finger) { return Device() ? Device()->p_TouchX(finger) : 0; }
float rk_input_TouchY(int finger) { return Device() ? Device()->p_TouchY(finger) : 0; }
float rk_input_JoyX(int index, int unit) { return Device() ? Device()->p_JoyX(index, unit) : 0; }
float rk_input_JoyY(int index, int unit) { return Device() ? Device()->p_JoyY(index, unit) : 0; }
float rk_input_AccelX() { return Device() ? Device()->p_AccelX() : 0; }
float rk_input_AccelY() { return Device() ? Device()->p_AccelY() : 0; }

int rk_input_MouseDown(int button) {
  return button >= 0 && button <= 510 ? rk_input_KeyDown(KEY_MOUSE_LEFT + button) : 0;
}

int rk_input_MouseHit(int button) {
  return button >= 0 && button <= 510 ? rk_input_KeyHit(KEY_MOUSE_LEFT + button) : 0;
}

int rk_input_TouchDown(int finger) {
  // Any code in 1 to 511 counts, as for KeyDown; the bounds only keep the sum from overflowing.
  return finger > -KEY_CODE_COUNT && finger < KEY_CODE_COUNT ? rk_input_KeyDown(KEY_FINGER0 + finger)
                                                              : 0;
}

int rk_input_JoyDown(int button, int unit) {
  int code = JoyKeyCode(button, unit);
  return code < KEY_CODE_COUNT ? rk_input_KeyDown(code) : 0;
}

int rk_input_JoyHit(int button, int unit) {
  int code = JoyKeyCode(button, unit);
  return code < KEY_CODE_COUNT ? rk_input_KeyHit(code) : 0;
}

int rk_input_EnableKeyboard() {
  if (RkGame::_game) RkGame::_game->SetKeyboardEnabled(true);
  return 1;
}

int rk_input_DisableKeyboard() {
  if (RkGame::_game) RkGame::_game->SetKeyboardEnabled(false);
  return 1;
}
