// tests/host/fake_window.h: a window system with a fake clock and scripted
// events, and a host on it whose collector steps are only counted, so the
// main loop and the window events run without a display.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/glfw_game.h"
#include "host/events.h"
#include "host/window_system.h"

// What the host and the application did, in order, as short words.
using EventLog = std::vector<std::string>;

class FakeWindowSystem : public RkWindowSystem {
 public:
  explicit FakeWindowSystem(EventLog* log) : log_(log) {}

  // A real clock is past 0 by the time the window is open; 0 marks "no update scheduled".
  double now = 1.0;
  bool open = false;
  // The loop ends after this many frames (the window reads as closed); -1: never.
  int framesLeft = -1;
  bool active = true;
  bool refuseToOpen = false;
  int opened = 0;
  RkWindowRequest lastRequest;
  int windowWidth = 0;
  int windowHeight = 0;
  int swapInterval = -100;
  bool cursorVisible = true;
  double cursorX = 0;
  double cursorY = 0;
  std::set<int> pressedKeys;
  bool hasDesktop = true;
  RkVideoMode desktop{1920, 1080, 8, 8, 8};
  // x, y, width, height of the work area; a width of 0: the system does not say.
  int workArea[4] = {0, 0, 0, 0};
  std::vector<RkVideoMode> modes;
  std::map<int, RkJoystickReading> joysticks;
  // Called at every poll or wait, after the clock moved: delivers events, ends the loop.
  std::function<void()> onPump;
  RkWindowListener* listener = nullptr;

  bool OpenWindow(const RkWindowRequest& request, RkWindowListener* windowListener) override;
  void CloseWindow() override;
  bool WindowOpen() override { return open && framesLeft != 0; }
  bool WindowActive() override { return active; }
  void GetWindowSize(int* width, int* height) override;
  void SwapBuffers() override;
  void SetSwapInterval(int interval) override { swapInterval = interval; }
  void SetCursorVisible(bool visible) override { cursorVisible = visible; }
  void GetCursorPos(double* x, double* y) override;
  bool KeyPressed(int key) override { return pressedKeys.count(key) != 0; }
  // The keyboard's own state, when `keyboardKnown`: the keys it holds down.
  bool keyboardKnown = false;
  std::set<int> keyboard;
  int KeyDownOnKeyboard(int key) override {
    return keyboardKnown ? static_cast<int>(keyboard.count(key)) : -1;
  }
  void PollEvents() override;
  void WaitEvents() override;
  double Time() override { return now; }
  void Sleep(double seconds) override;
  bool DesktopMode(RkVideoMode* mode) override;
  bool WorkArea(int* x, int* y, int* width, int* height) override {
    *x = workArea[0], *y = workArea[1], *width = workArea[2], *height = workArea[3];
    return workArea[2] > 0;
  }
  int VideoModes(RkVideoMode* out, int capacity) override;
  bool JoystickPresent(int joystick) override { return joysticks.count(joystick) != 0; }
  void ReadJoystick(int joystick, RkJoystickReading* reading) override;

 private:
  void Log(const std::string& word);
  EventLog* log_;
};

// The desktop host on the fake; collector steps are counted, not run, so
// objects that tests hold in locals stay alive.
class TestHost : public RkGlfwGame {
 public:
  explicit TestHost(FakeWindowSystem* window) : RkGlfwGame(window) {}
  int collectorSteps = 0;
  EventLog* log = nullptr;
  void gc_collect() override {
    ++collectorSteps;
    if (log) log->push_back("gc");
  }

  double UpdateDue() const { return _updateDue; }
  void ForgetReleasedKeys() { ForgetReleasedStaleKeys(); }
  void SetProgramFolder(const String& folder) { _programFolder = folder; }
};

// A delegate that logs every event it receives ("start", "update", "key 1 33", ...).
class RecordingDelegate : public RkGameDelegate {
 public:
  explicit RecordingDelegate(EventLog* log) : log_(log) {}
  std::function<void(int update)> onUpdate;
  std::function<void()> onRender;
  int updates = 0;

  void StartGame() override { log_->push_back("start"); }
  void SuspendGame() override { log_->push_back("suspend"); }
  void ResumeGame() override { log_->push_back("resume"); }
  void UpdateGame() override;
  void RenderGame() override;
  void KeyEvent(int event, int data) override;
  void MouseEvent(int event, int data, float x, float y) override;
  void TouchEvent(int event, int data, float x, float y) override;
  void MotionEvent(int event, int data, float x, float y, float z) override;
  void DiscardGraphics() override { log_->push_back("discard"); }

 private:
  EventLog* log_;
};

// The number of updates between consecutive renders, one entry per loop pass.
std::vector<int> UpdatesPerPass(const EventLog& log);
// The log's entries that start with `prefix`.
EventLog Only(const EventLog& log, const std::string& prefix);
// The log cut into loop passes, each starting at a render.
std::vector<EventLog> Passes(const EventLog& log);
