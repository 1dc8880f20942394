// host/events.h: the event codes and the special key codes shared by the host,
// the delegate and the input device.
#pragma once

// The `event` argument of KeyEvent, MouseEvent, TouchEvent and MotionEvent.
constexpr int KeyDown = 1;
constexpr int KeyUp = 2;
constexpr int KeyChar = 3;
constexpr int MouseDown = 4;
constexpr int MouseUp = 5;
constexpr int MouseMove = 6;
constexpr int TouchDown = 7;
constexpr int TouchUp = 8;
constexpr int TouchMove = 9;
constexpr int AccelChange = 10;

// One key-code space of 512 codes for keys, buttons and fingers.
constexpr int KEY_CODE_COUNT = 512;
constexpr int KEY_MOUSE_LEFT = 1;
constexpr int KEY_JOY0 = 256;
constexpr int KEY_FINGER0 = 384;
constexpr int KEY_BACK_BUTTON = 416;
constexpr int KEY_WINDOW_CLOSE = 432;

// The code of a joystick button: 256 | unit << 5 | button. Out-of-range
// arguments give codes outside the space, which read as up.
inline int JoyKeyCode(int button, int unit) {
  return button | KEY_JOY0 | static_cast<int>(static_cast<unsigned>(unit) << 5);
}
