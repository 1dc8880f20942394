// host/desktop/glfw_layer.h: the window system on GLFW 3, the only file that calls GLFW.
#pragma once

#include <string>

#include "host/window_system.h"

struct GLFWwindow;

class RkGlfwLayer : public RkWindowSystem {
 public:
  ~RkGlfwLayer() override;

  bool OpenWindow(const RkWindowRequest& request, RkWindowListener* listener) override;
  const char* OpenError() override { return openError_.c_str(); }
  void CloseWindow() override;
  bool WindowOpen() override { return window_ != nullptr; }
  bool WindowActive() override;
  void GetWindowSize(int* width, int* height) override;
  void SwapBuffers() override;
  void SetSwapInterval(int interval) override;
  void SetCursorVisible(bool visible) override;
  void GetCursorPos(double* x, double* y) override;
  bool KeyPressed(int key) override;
  int KeyDownOnKeyboard(int key) override;

  void PollEvents() override;
  void WaitEvents() override;
  double Time() override;
  void Sleep(double seconds) override;

  bool DesktopMode(RkVideoMode* mode) override;
  bool WorkArea(int* x, int* y, int* width, int* height) override;
  int VideoModes(RkVideoMode* modes, int capacity) override;

  bool JoystickPresent(int joystick) override;
  void ReadJoystick(int joystick, RkJoystickReading* reading) override;

  RkWindowListener* listener() const { return listener_; }

 private:
  void InstallCallbacks();

  GLFWwindow* window_ = nullptr;
  // The window's state as its events last told it: asking the X server each
  // time costs a round trip, several times an update.
  bool focused_ = false;
  bool iconified_ = false;
  int width_ = 0;
  int height_ = 0;
  RkWindowListener* listener_ = nullptr;
  std::string openError_;
};
