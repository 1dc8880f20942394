// host/input.h: the input device. Host events fill it between updates and the
// application polls it during its update: keys, buttons and fingers in one
// 512-code space, the pointer, typed characters and four joysticks.
#pragma once

#include "host/events.h"
#include "runtime/array.h"

// One joystick unit in the controller layout.
class c_JoyState : public Object {
 public:
  Array<float> m_StickX;
  Array<float> m_StickY;
  Array<float> m_Trigger;
  Array<bool> m_Buttons;

  c_JoyState* m_new();
  void mark() override;
};

class c_InputDevice : public Object {
 public:
  static constexpr int kJoyUnits = 4;
  static constexpr int kHitQueueLength = 33;
  static constexpr int kCharQueueLength = 32;
  static constexpr int kFingers = 32;

  Array<c_JoyState*> m_JoyStates;
  Array<bool> m_KeyDown;
  int m_KeyHitPut = 0;
  Array<int> m_KeyHitQueue;
  Array<int> m_KeyHit;
  int m_CharGet = 0;
  int m_CharPut = 0;
  Array<int> m_CharQueue;
  float m_PointerX = 0;
  float m_PointerY = 0;
  Array<float> m_FingerX;
  Array<float> m_FingerY;
  float m_AccelX = 0;
  float m_AccelY = 0;
  float m_AccelZ = 0;

  // Creates every table at its final size: nothing is allocated afterwards.
  c_InputDevice* m_new();

  // Host events, through the delegate.
  int p_KeyEvent(int event, int code);
  int p_MouseEvent(int event, int button, float x, float y);
  int p_TouchEvent(int event, int finger, float x, float y);
  int p_MotionEvent(int event, int data, float x, float y, float z);
  // Around each application update: poll the joysticks; forget hits and characters.
  int p_BeginUpdate();
  int p_EndUpdate();

  // Queries; codes outside 1 to 511 read as up and never hit.
  int p_KeyDown(int code);
  int p_KeyHit(int code);
  int p_GetChar();
  float p_MouseX() { return m_PointerX; }
  float p_MouseY() { return m_PointerY; }
  float p_TouchX(int finger);
  float p_TouchY(int finger);
  float p_JoyX(int index, int unit);
  float p_JoyY(int index, int unit);
  float p_AccelX() { return m_AccelX; }
  float p_AccelY() { return m_AccelY; }
  float p_AccelZ() { return m_AccelZ; }

  void mark() override;

 private:
  void p_PutKeyHit(int code);
  void PressKey(int code);
  void ReleaseKey(int code);
  void SetFinger(int finger, float x, float y);
};

extern c_InputDevice* rk_input_device;

int rk_input_SetInputDevice(c_InputDevice* device);
int rk_input_KeyDown(int code);
int rk_input_KeyHit(int code);
int rk_input_GetChar();
float rk_input_MouseX();
float rk_input_MouseY();
int rk_input_MouseDown(int button);
int rk_input_MouseHit(int button);
int rk_input_TouchDown(int finger);
float rk_input_TouchX(int finger);
float rk_input_TouchY(int finger);
int rk_input_JoyDown(int button, int unit);
int rk_input_JoyHit(int button, int unit);
float rk_input_JoyX(int index, int unit);
float rk_input_JoyY(int index, int unit);
float rk_input_AccelX();
float rk_input_AccelY();
int rk_input_EnableKeyboard();
int rk_input_DisableKeyboard();
