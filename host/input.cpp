// host/input.cpp: the input device's event handling and queries.
#include "host/input.h"

#include "host/game.h"

namespace {

bool ValidCode(int code) { return code >= 1 && code < KEY_CODE_COUNT; }

// The code `base` + `offset`, or 0 (no key) for an offset too large to add without overflow.
int OffsetCode(int base, int offset) {
  return offset > -KEY_CODE_COUNT && offset < KEY_CODE_COUNT ? base + offset : 0;
}

// The left button and finger 0 stand for each other.
int MirrorOf(int code) {
  if (code == KEY_MOUSE_LEFT) return KEY_FINGER0;
  if (code == KEY_FINGER0) return KEY_MOUSE_LEFT;
  return 0;
}

}  // namespace

c_JoyState* c_JoyState::m_new() {
  gc_assign(m_StickX, Array<float>(2));
  gc_assign(m_StickY, Array<float>(2));
  gc_assign(m_Trigger, Array<float>(2));
  gc_assign(m_Buttons, Array<bool>(32));
  return this;
}

void c_JoyState::mark() {
  gc_mark_array(m_StickX);
  gc_mark_array(m_StickY);
  gc_mark_array(m_Trigger);
  gc_mark_array(m_Buttons);
}

c_InputDevice* c_InputDevice::m_new() {
  gc_assign(m_JoyStates, Array<c_JoyState*>(kJoyUnits));
  for (int unit = 0; unit < kJoyUnits; ++unit) {
    gc_assign(m_JoyStates[unit], (new c_JoyState())->m_new());
  }
  gc_assign(m_KeyDown, Array<bool>(KEY_CODE_COUNT));
  gc_assign(m_KeyHitQueue, Array<int>(kHitQueueLength));
  gc_assign(m_KeyHit, Array<int>(KEY_CODE_COUNT));
  gc_assign(m_CharQueue, Array<int>(kCharQueueLength));
  gc_assign(m_FingerX, Array<float>(kFingers));
  gc_assign(m_FingerY, Array<float>(kFingers));
  return this;
}

void c_InputDevice::mark() {
  gc_mark_array(m_JoyStates);
  gc_mark_array(m_KeyDown);
  gc_mark_array(m_KeyHitQueue);
  gc_mark_array(m_KeyHit);
  gc_mark_array(m_CharQueue);
  gc_mark_array(m_FingerX);
  gc_mark_array(m_FingerY);
}

// A full queue drops the hit altogether, so EndUpdate can clear exactly the counters it lists.
void c_InputDevice::p_PutKeyHit(int code) {
  if (m_KeyHitPut >= m_KeyHitQueue.Length()) return;
  m_KeyHit[code] += 1;
  m_KeyHitQueue[m_KeyHitPut++] = code;
}

void c_InputDevice::PressKey(int code) {
  if (m_KeyDown[code]) return;
  m_KeyDown[code] = true;
  p_PutKeyHit(code);
  if (int mirror = MirrorOf(code)) {
    m_KeyDown[mirror] = true;
    p_PutKeyHit(mirror);
  }
}

void c_InputDevice::ReleaseKey(int code) {
  if (!m_KeyDown[code]) return;
  m_KeyDown[code] = false;
  if (int mirror = MirrorOf(code)) m_KeyDown[mirror] = false;
}

int c_InputDevice::p_KeyEvent(int event, int code) {
  if (event == KeyChar) {
    if (m_CharPut < m_CharQueue.Length()) m_CharQueue[m_CharPut++] = code;
    return 0;
  }
  if (!ValidCode(code)) return 0;
  if (event == KeyDown) PressKey(code);
  if (event == KeyUp) ReleaseKey(code);
  return 0;
}

void c_InputDevice::SetFinger(int finger, float x, float y) {
  if (finger < 0 || finger >= kFingers) return;
  m_FingerX[finger] = x;
  m_FingerY[finger] = y;
  if (finger == 0) {
    m_PointerX = x;
    m_PointerY = y;
  }
}

int c_InputDevice::p_MouseEvent(int event, int button, float x, float y) {
  if (event == MouseDown) p_KeyEvent(KeyDown, OffsetCode(KEY_MOUSE_LEFT, button));
  if (event == MouseUp) p_KeyEvent(KeyUp, OffsetCode(KEY_MOUSE_LEFT, button));
  if (event == MouseDown || event == MouseMove) SetFinger(0, x, y);
  return 0;
}

int c_InputDevice::p_TouchEvent(int event, int finger, float x, float y) {
  if (event == TouchDown) p_KeyEvent(KeyDown, OffsetCode(KEY_FINGER0, finger));
  if (event == TouchUp) p_KeyEvent(KeyUp, OffsetCode(KEY_FINGER0, finger));
  if (event == TouchDown || event == TouchMove) SetFinger(finger, x, y);
  return 0;
}

int c_InputDevice::p_MotionEvent(int event, int data, float x, float y, float z) {
  if (event != AccelChange) return 0;
  m_AccelX = x;
  m_AccelY = y;
  m_AccelZ = z;
  return 0;
}

int c_InputDevice::p_BeginUpdate() {
  RkGame* host = RkGame::_game;
  if (!host) return 0;
  for (int unit = 0; unit < kJoyUnits; ++unit) {
    c_JoyState* joy = m_JoyStates[unit];
    if (!host->PollJoystick(unit, joy->m_StickX, joy->m_StickY, joy->m_Trigger, joy->m_Buttons)) {
      break;
    }
    for (int i = 0; i < joy->m_Buttons.Length(); ++i) {
      int code = JoyKeyCode(i, unit);
      if (!joy->m_Buttons[i]) {
        m_KeyDown[code] = false;
      } else if (!m_KeyDown[code]) {
        m_KeyDown[code] = true;
        p_PutKeyHit(code);
      }
    }
  }
  return 0;
}

int c_InputDevice::p_EndUpdate() {
  for (int i = 0; i < m_KeyHitPut; ++i) m_KeyHit[m_KeyHitQueue[i]] = 0;
  m_KeyHitPut = 0;
  m_CharGet = 0;
  m_CharPut = 0;
  return 0;
}

int c_InputDevice::p_KeyDown(int code) { return ValidCode(code) && m_KeyDown[code] ? 1 : 0; }

int c_InputDevice::p_KeyHit(int code) { return ValidCode(code) ? m_KeyHit[code] : 0; }

int c_InputDevice::p_GetChar() {
  if (m_CharGet >= m_CharPut) return 0;
  return m_CharQueue[m_CharGet++];
}

float c_InputDevice::p_TouchX(int finger) {
  return finger >= 0 && finger < kFingers ? m_FingerX[finger] : 0;
}

float c_InputDevice::p_TouchY(int finger) {
  return finger >= 0 && finger < kFingers ? m_FingerY[finger] : 0;
}

float c_InputDevice::p_JoyX(int index, int unit) {
  if (unit < 0 || unit >= kJoyUnits || index < 0 || index > 1) return 0;
  return m_JoyStates[unit]->m_StickX[index];
}

float c_InputDevice::p_JoyY(int index, int unit) {
  if (unit < 0 || unit >= kJoyUnits || index < 0 || index > 1) return 0;
  return m_JoyStates[unit]->m_StickY[index];
}
