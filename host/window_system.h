// host/window_system.h: what the desktop host needs from the window library
// and the clock, as one small interface.
//
// The GLFW layer implements it for real; tests implement it with a fake
// clock and injected events, so the main loop runs unchanged against either.
// Key numbers and actions are GLFW 3's.
#pragma once

// The actions of key and button events (GLFW's values).
constexpr int kActionRelease = 0;
constexpr int kActionPress = 1;
constexpr int kActionRepeat = 2;

struct RkVideoMode {
  int width = 0;
  int height = 0;
  int redBits = 0;
  int greenBits = 0;
  int blueBits = 0;
};

struct RkWindowRequest {
  int width = 0;
  int height = 0;
  int redBits = 8;
  int greenBits = 8;
  int blueBits = 8;
  int alphaBits = 0;
  int depthBits = 0;
  int stencilBits = 0;
  bool fullscreen = false;
  // Where a windowed window goes on the desktop, and its title.
  int x = 0;
  int y = 0;
  const char* title = "";
  // The smallest size a windowed window can be dragged to.
  int minWidth = 0;
  int minHeight = 0;
};

// One joystick as the library reports it: up to 6 axes and 32 buttons (the
// counts are those reported, capped), plus the standard gamepad state when
// the library knows the pad's mapping.
struct RkJoystickReading {
  float axes[6] = {};
  int axisCount = 0;
  unsigned char buttons[32] = {};
  int buttonCount = 0;
  bool isGamepad = false;
  // A, B, X, Y, left and right shoulder, back, start, guide, left and right
  // stick, then the d-pad up, right, down, left.
  unsigned char gamepadButtons[15] = {};
  // Left x, left y, right x, right y (y negative when pushed up), left and
  // right trigger (-1 released to 1 fully pulled).
  float gamepadAxes[6] = {};
};

// Receives the window's events; called only from inside PollEvents or WaitEvents.
class RkWindowListener {
 public:
  virtual ~RkWindowListener() {}
  virtual void OnKey(int key, int action) = 0;
  virtual void OnChar(unsigned int codepoint) = 0;
  virtual void OnMouseButton(int button, int action) = 0;
  virtual void OnCursorMove(double x, double y) = 0;
  // The close button: the window stays open; the listener decides.
  virtual void OnCloseRequest() = 0;
  // The window's contents were lost (uncovered, resized): the next frame must be shown.
  virtual void OnContentsLost() {}
  // The GL context was taken away (a browser may do so at any time), with
  // everything made in it; restored, it starts empty.
  virtual void OnContextLost() {}
  virtual void OnContextRestored() {}
};

class RkWindowSystem {
 public:
  virtual ~RkWindowSystem() {}

  // Opens the one window (closing any other first) with the request's
  // buffers; false when it cannot. Events go to `listener`.
  virtual bool OpenWindow(const RkWindowRequest& request, RkWindowListener* listener) = 0;
  // Why the last OpenWindow failed, as the library put it ("" when unknown).
  virtual const char* OpenError() { return ""; }
  virtual void CloseWindow() = 0;
  virtual bool WindowOpen() = 0;
  // Focused and not minimised.
  virtual bool WindowActive() = 0;
  virtual void GetWindowSize(int* width, int* height) = 0;
  virtual void SwapBuffers() = 0;
  virtual void SetSwapInterval(int interval) = 0;
  virtual void SetCursorVisible(bool visible) = 0;
  virtual void GetCursorPos(double* x, double* y) = 0;
  virtual bool KeyPressed(int key) = 0;
  // Whether the keyboard itself holds the key down now, whichever window saw
  // it go down: 1 down, 0 up, -1 when the system cannot tell.
  virtual int KeyDownOnKeyboard(int /*key*/) { return -1; }

  virtual void PollEvents() = 0;
  // Blocks until at least one event arrives, or a short while has passed.
  virtual void WaitEvents() = 0;
  // Seconds since the library started.
  virtual double Time() = 0;
  virtual void Sleep(double seconds) = 0;

  // The primary monitor's current mode; false when there is no monitor.
  virtual bool DesktopMode(RkVideoMode* mode) = 0;
  // The part of the primary monitor that panels and docks leave to windows,
  // in screen pixels; false when the system does not say.
  virtual bool WorkArea(int* /*x*/, int* /*y*/, int* /*width*/, int* /*height*/) { return false; }
  // Fills up to `capacity` modes; returns how many.
  virtual int VideoModes(RkVideoMode* modes, int capacity) = 0;

  virtual bool JoystickPresent(int joystick) = 0;
  virtual void ReadJoystick(int joystick, RkJoystickReading* reading) = 0;
};
