// host/glfw_game.h: the desktop host (the window, the main loop, and the host
// services that need the platform) and the program's one host object.
#pragma once

#include <memory>

#include "host/game.h"
#include "host/state_file.h"
#include "host/window_system.h"

// A video mode with its colour bits.
class RkGlfwVideoMode : public Object {
 public:
  int width = 0;
  int height = 0;
  int redBits = 0;
  int greenBits = 0;
  int blueBits = 0;
};

class RkGlfwGame : public RkGame, public RkWindowListener {
 public:
  static RkGlfwGame* _glfwGame;

  // The host on GLFW.
  RkGlfwGame();
  // The host on another window system (tests), which the caller keeps.
  explicit RkGlfwGame(RkWindowSystem* windowSystem);

  void SetUpdateRate(int hertz) override;
  int Millisecs() override;
  int SaveState(String state) override;
  String LoadState() override;
  String TakeStateNotice() override;
  void StateDamaged() override;
  bool PollJoystick(int unit, Array<float> stickX, Array<float> stickY, Array<float> triggers,
                    Array<bool> buttons) override;
  int OpenUrl(String url) override;
  int FullScreen() override { return _fullScreen ? 1 : 0; }
  int SetMouseVisible(bool visible) override;
  int GetDeviceWidth() override;
  int GetDeviceHeight() override;
  int SetDeviceWindow(int width, int height, int flags) override;
  Array<RkDisplayMode*> GetDisplayModes() override;
  RkDisplayMode* GetDesktopMode() override;
  int SetSwapInterval(int interval) override;
  bool FrameStillShown() override;
  String PathToFilePath(String path) override;
  unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override;
  unsigned char* LoadImagePart(String path, int x, int y, int w, int h, int* width, int* height,
                               int* depth) override;
  bool DecodeAudio(String path, AudioSink& sink) override;
  unsigned char* LoadAudioData(String path, int* length, int* channels, int* format,
                               int* hertz) override;

  // Opens or reopens the window, releasing held keys first.
  virtual int SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha,
                            int depth, int stencil, bool fullscreen);
  virtual RkGlfwVideoMode* GetGlfwDesktopMode();
  virtual Array<RkGlfwVideoMode*> GetGlfwVideoModes();
  // The main loop; returns when the window is no longer open.
  virtual void Run();
  // The last window could not be opened (no OpenGL context): why, or null.
  const char* WindowFailure() { return _windowFailed ? _window->OpenError() : nullptr; }

  // Window events, from inside the event pump.
  void OnKey(int key, int action) override;
  void OnChar(unsigned int codepoint) override;
  void OnMouseButton(int button, int action) override;
  void OnCursorMove(double x, double y) override;
  void OnCloseRequest() override;
  void OnContentsLost() override;
  void OnContextLost() override;
  void OnContextRestored() override;

 protected:
  void RunUpdates();
  // Renders, then presents the frame unless the render kept the one on screen.
  void PresentFrame();
  // A GL context starts: textures and the frame shown are those of another one.
  void NewContext();
  // Suspends or resumes the game as the window loses or regains the focus.
  void FollowWindowFocus();
  void ReleaseHeldKeys();
  void ForgetReleasedStaleKeys();
  void RebuildJoystickUnits();
  // By reference: worker threads resolve paths too, and String counts are not atomic.
  const String& ProgramFolderPath();
  // Beside the program (the build tree), else where an installed tree keeps it.
  const String& DataFolderPath();
  StateFile& State();
  void TellLoadFailure(const String& path, const char* reason) override;
  FILE* OpenDataFile(const String& path);
  void TellStateNotice();

  RkWindowSystem* _window;
  std::unique_ptr<RkWindowSystem> _ownWindow;
  double _updateStep = 0.0;
  bool _windowFailed = false;
  // The window open now was asked for full screen.
  bool _fullScreen = false;
  // When the next update is due on the window system's clock; 0: not scheduled.
  double _updateDue = 0.0;
  int _vsyncInterval = 1;
  // The window shows the last presented frame, intact.
  bool _frameOnScreen = false;
  // This render asked to leave that frame showing.
  bool _keepFrame = false;
  // No GL context to draw with until it is restored; updates go on.
  bool _contextLost = false;
  String _programFolder;
  String _internalFolder;
  String _dataFolder;
  bool _dataFolderMissing = false;
  std::unique_ptr<StateFile> _stateFile;
  // Keys pressed in the current window and not yet released. A key still
  // held from before a window change repeats in the new one without having
  // been pressed there: such repeats are not presses.
  bool _keyHeld[512] = {};
  // Keys down when the window changed, until when a press of one is taken for
  // its auto-repeat: the new window reports a held key's first repeat as a
  // press. A key released before the new window saw it go down has its
  // release dropped by GLFW, so the mark also runs out by itself.
  double _keyStaleUntil[512] = {};
  bool _anyStaleKey = false;
  // Longer than the usual auto-repeat delay (660 ms on X by default).
  static constexpr double kHeldKeyRepeatWindow = 1.0;
  // The joystick behind each of the four units, or -1.
  int _joystickUnits[4] = {-1, -1, -1, -1};
};

class RkZorvexGame : public RkGlfwGame {
 public:
  using RkGlfwGame::RkGlfwGame;

  // The whole life of the process: libraries, host, runtime, application, main loop.
  static void Main(int argc, const char* argv[]);
};
