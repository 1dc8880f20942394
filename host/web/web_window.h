// host/web/web_window.h: the window system in a browser page: the canvas, its
// WebGL context, the page's keys, mouse, touches and gamepads, and the clock.
//
// The browser delivers events between animation frames; they are queued and
// handed to the listener inside PollEvents, as on the desktop.
#pragma once

#include <vector>

#include "host/window_system.h"

// Touches go past the window listener, which knows only the mouse.
class RkTouchListener {
 public:
  virtual ~RkTouchListener() {}
  // `event` is TouchDown, TouchUp or TouchMove; x and y in canvas pixels.
  virtual void OnTouch(int event, int finger, double x, double y) = 0;
};

class RkWebWindow : public RkWindowSystem {
 public:
  enum Kind { kKey, kChar, kButton, kMove, kTouch, kContext };
  struct Event {
    Kind kind;
    int a, b;
    double x, y;
  };

  explicit RkWebWindow(RkTouchListener* touches) : touches_(touches) {}

  bool OpenWindow(const RkWindowRequest& request, RkWindowListener* listener) override;
  void CloseWindow() override;
  bool WindowOpen() override { return context_ != 0; }
  bool WindowActive() override;
  void GetWindowSize(int* width, int* height) override;
  void SwapBuffers() override {}
  void SetSwapInterval(int interval) override {}
  void SetCursorVisible(bool visible) override;
  void GetCursorPos(double* x, double* y) override;
  bool KeyPressed(int key) override;
  void PollEvents() override;
  void WaitEvents() override { PollEvents(); }
  double Time() override;
  void Sleep(double seconds) override {}
  bool DesktopMode(RkVideoMode* mode) override;
  int VideoModes(RkVideoMode* modes, int capacity) override;
  bool JoystickPresent(int joystick) override;
  void ReadJoystick(int joystick, RkJoystickReading* reading) override;

  // Makes the canvas's drawing buffer match its size on the page in device
  // pixels; true when that changed it.
  bool FitCanvas();
  // Called by the page's event handlers.
  void Queue(const Event& event) { queue_.push_back(event); }
  void SetKey(int key, bool down);
  void SetButton(int button, bool down);
  // The page lost the focus: the keys and buttons it holds will be released
  // elsewhere, so they are released here now.
  void ReleaseAll();
  void SetCursor(double x, double y);
  double PixelRatio();
  // Reports no area for the next frame, so that the game fits itself afresh
  // and reloads its art (a detail level's files have just arrived).
  void Refit() { zeroFrames_ = 1; }

 private:
  int context_ = 0;
  RkWindowListener* listener_ = nullptr;
  RkTouchListener* touches_;
  std::vector<Event> queue_;
  bool keys_[512] = {};
  bool buttons_[3] = {};
  double cursorX_ = 0, cursorY_ = 0;
  int width_ = 0, height_ = 0;
  int zeroFrames_ = 0;
  bool reportZero_ = false;
};
