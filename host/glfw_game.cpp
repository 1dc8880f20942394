// host/glfw_game.cpp: the desktop host's main loop, window and display modes.
#include "host/glfw_game.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "host/events.h"
#include "host/desktop/glfw_layer.h"
#include "host/keys.h"
#include "runtime/startup.h"

RkGlfwGame* RkGlfwGame::_glfwGame = nullptr;

namespace {

constexpr int kMaxVideoModes = 1024;
// Below three quarters of the design size the game's text stops being legible.
constexpr int kSmallestWidth = 480;
constexpr int kSmallestHeight = 360;
constexpr int kMaxCatchUpUpdates = 4;

void CopyMode(const RkVideoMode& from, RkDisplayMode* to) {
  to->width = from.width;
  to->height = from.height;
}

void CopyMode(const RkVideoMode& from, RkGlfwVideoMode* to) {
  to->width = from.width;
  to->height = from.height;
  to->redBits = from.redBits;
  to->greenBits = from.greenBits;
  to->blueBits = from.blueBits;
}

template <class Mode>
Mode* NewMode(const RkVideoMode& from) {
  Mode* mode = new Mode();
  CopyMode(from, mode);
  return mode;
}

template <class Mode>
Array<Mode*> NewVideoModes(RkWindowSystem* window) {
  std::vector<RkVideoMode> modes(kMaxVideoModes);
  int count = window->VideoModes(modes.data(), kMaxVideoModes);
  Array<Mode*> result(count);
  for (int i = 0; i < count; ++i) gc_assign(result[i], NewMode<Mode>(modes[i]));
  return result;
}

template <class Mode>
Mode* NewDesktopMode(RkWindowSystem* window) {
  RkVideoMode desktop;
  return window->DesktopMode(&desktop) ? NewMode<Mode>(desktop) : nullptr;
}

// Where windows go: the work area, else the whole desktop, else nothing known.
struct Area {
  int x = 0, y = 0, width = 0, height = 0;
};

Area WindowArea(RkWindowSystem* window) {
  Area area;
  if (window->WorkArea(&area.x, &area.y, &area.width, &area.height)) return area;
  RkVideoMode desktop;
  area = Area();
  if (window->DesktopMode(&desktop)) area.width = desktop.width, area.height = desktop.height;
  return area;
}

// The first window: the largest whole multiple of the 640 x 480 design that
// fits within 85 % of the area, so pixels stay sharp on large screens; on a
// screen too small for even one, the largest 4:3 size that fits, down to the
// smallest window the game allows.
void FirstWindowSize(const Area& area, int* width, int* height) {
  *width = 640;
  *height = 480;
  if (area.width <= 0 || area.height <= 0) return;
  const double roomWidth = 0.85 * area.width, roomHeight = 0.85 * area.height;
  const int times = static_cast<int>(std::min(roomWidth / 640, roomHeight / 480));
  if (times >= 1) {
    *width = 640 * times;
    *height = 480 * times;
    return;
  }
  const int quarters = static_cast<int>(std::min(roomWidth / 4, roomHeight / 3));
  *width = std::max(kSmallestWidth, 4 * quarters);
  *height = std::max(kSmallestHeight, 3 * quarters);
}

}  // namespace

RkGlfwGame::RkGlfwGame() : RkGlfwGame(new RkGlfwLayer()) { _ownWindow.reset(_window); }

RkGlfwGame::RkGlfwGame(RkWindowSystem* windowSystem) : _window(windowSystem) {
  _glfwGame = this;
}

void RkGlfwGame::Run() {
  int width = 0, height = 0;
  FirstWindowSize(WindowArea(_window), &width, &height);
  SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, false);
  if (_windowFailed) return;
  StartGame();
  while (_window->WindowOpen()) {
    // Present first, then wait for the next update.
    PresentFrame();
    if (_updateDue != 0) {
      double delay = _updateDue - _window->Time();
      if (delay > 0) _window->Sleep(delay);
    }
    // An unfocused game blocks here until something happens.
    if (_isSuspended) {
      _window->WaitEvents();
    } else {
      _window->PollEvents();
    }
    ForgetReleasedStaleKeys();
    // Between events, so the application saves from a consistent state.
    if (rkEndSignal() != 0) rkEnd(rkEndSignal(), 0);
    FollowWindowFocus();
    if (!_isSuspended) RunUpdates();
  }
}

void RkGlfwGame::PresentFrame() {
  if (_contextLost) return;
  RenderGame();
  if (_keepFrame) {
    _keepFrame = false;
  } else {
    _window->SwapBuffers();
    _frameOnScreen = true;
  }
}

// The game is suspended while its window lacks the focus; either change
// starts the update schedule afresh.
void RkGlfwGame::FollowWindowFocus() {
  bool active = _window->WindowActive();
  if (!active && !_isSuspended) {
    SuspendGame();
    _updateDue = 0;
  } else if (active && _isSuspended) {
    ResumeGame();
    _updateDue = 0;
  }
}

// At most four updates catch up with the schedule; a longer backlog is
// dropped, so after a stall the game runs slower instead of racing.
void RkGlfwGame::RunUpdates() {
  if (_updateHz == 0) {
    UpdateGame();
    return;
  }
  if (_updateDue == 0) _updateDue = _window->Time();
  for (int i = 0; i < kMaxCatchUpUpdates; ++i) {
    UpdateGame();
    // The application changed the rate: the schedule starts afresh.
    if (_updateDue == 0) return;
    _updateDue += _updateStep;
    if (_updateDue > _window->Time()) return;
  }
  _updateDue = 0;
}

void RkGlfwGame::SetUpdateRate(int hertz) {
  _updateHz = hertz;
  if (hertz != 0) _updateStep = 1.0 / hertz;
  _updateDue = 0;
}

// Wraps after 24.8 days like a 32-bit millisecond counter, instead of leaving the int range.
int RkGlfwGame::Millisecs() {
  auto milliseconds = static_cast<int64_t>(_window->Time() * 1000.0);
  return static_cast<int>(static_cast<uint32_t>(milliseconds));
}

int RkGlfwGame::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha,
                              int depth, int stencil, bool fullscreen) {
  ReleaseHeldKeys();
  const Area area = WindowArea(_window);
  _window->CloseWindow();
  RkWindowRequest request;
  request.width = width;
  request.height = height;
  request.redBits = red;
  request.greenBits = green;
  request.blueBits = blue;
  request.alphaBits = alpha;
  request.depthBits = depth;
  request.stencilBits = stencil;
  request.fullscreen = fullscreen;
  // Centred, and never off the area's left or top edge.
  request.x = area.x + std::max(0, (area.width - width) / 2);
  request.y = area.y + std::max(0, (area.height - height) / 2);
  request.title = "Marvolet";
  request.minWidth = kSmallestWidth;
  request.minHeight = kSmallestHeight;
  // A failure shows as a closed window, which ends the main loop.
  _windowFailed = !_window->OpenWindow(request, this);
  _fullScreen = fullscreen && !_windowFailed;
  NewContext();
  if (_vsyncInterval >= 0) _window->SetSwapInterval(_vsyncInterval);
  return 0;
}

// No key stays stuck across a change of window: the new one never sees its release.
void RkGlfwGame::ReleaseHeldKeys() {
  for (int key = 0; key <= kLastGlfwKey; ++key) {
    int code = TranslateGlfwKey(key);
    if (!code) continue;
    const bool down = _window->KeyPressed(key) || _keyHeld[code];
    if (down) {
      _keyStaleUntil[code] = _window->Time() + kHeldKeyRepeatWindow;
      _anyStaleKey = true;
    }
    if (_window->KeyPressed(key)) KeyEvent(KeyUp, code);
  }
  for (bool& held : _keyHeld) held = false;
}

// A key released before the new window saw it go down acts again at once. One
// the keyboard still holds keeps its mark: its first repeat can reach the new
// window well after the change (a slow change, a reload).
void RkGlfwGame::ForgetReleasedStaleKeys() {
  if (!_anyStaleKey) return;
  // Per code, as keys can share one (both Shifts): 0 up, 1 cannot tell, 2 down.
  int held[512] = {};
  for (int key = 0; key <= kLastGlfwKey; ++key) {
    int code = TranslateGlfwKey(key);
    if (!code || _keyStaleUntil[code] == 0) continue;
    const int down = _window->KeyDownOnKeyboard(key);
    held[code] = std::max(held[code], down > 0 ? 2 : down < 0 ? 1 : 0);
  }
  _anyStaleKey = false;
  const double renewed = _window->Time() + kHeldKeyRepeatWindow;
  for (int code = 0; code < 512; ++code) {
    if (_keyStaleUntil[code] == 0) continue;
    if (held[code] == 0) {
      _keyStaleUntil[code] = 0;
      continue;
    }
    _anyStaleKey = true;
    if (held[code] == 2) _keyStaleUntil[code] = std::max(_keyStaleUntil[code], renewed);
  }
}

int RkGlfwGame::SetDeviceWindow(int width, int height, int flags) {
  return SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, (flags & 1) != 0);
}

bool RkGlfwGame::FrameStillShown() {
  _keepFrame = _frameOnScreen;
  return _keepFrame;
}

void RkGlfwGame::OnContentsLost() { _frameOnScreen = false; }

// Surfaces and the renderer compare the context count with the one they
// drew under, so each makes its textures again and the next frame is whole.
void RkGlfwGame::NewContext() {
  ++glfwGraphicsSeq;
  _contextLost = false;
  _frameOnScreen = false;
}

void RkGlfwGame::OnContextLost() {
  _contextLost = true;
  _frameOnScreen = false;
}

void RkGlfwGame::OnContextRestored() { NewContext(); }

int RkGlfwGame::SetSwapInterval(int interval) {
  _vsyncInterval = interval;
  if (interval >= 0) _window->SetSwapInterval(interval);
  return 0;
}

int RkGlfwGame::SetMouseVisible(bool visible) {
  _window->SetCursorVisible(visible);
  return 0;
}

int RkGlfwGame::GetDeviceWidth() {
  int width, height;
  _window->GetWindowSize(&width, &height);
  return width;
}

int RkGlfwGame::GetDeviceHeight() {
  int width, height;
  _window->GetWindowSize(&width, &height);
  return height;
}

Array<RkDisplayMode*> RkGlfwGame::GetDisplayModes() {
  return NewVideoModes<RkDisplayMode>(_window);
}

RkDisplayMode* RkGlfwGame::GetDesktopMode() { return NewDesktopMode<RkDisplayMode>(_window); }

Array<RkGlfwVideoMode*> RkGlfwGame::GetGlfwVideoModes() {
  return NewVideoModes<RkGlfwVideoMode>(_window);
}

RkGlfwVideoMode* RkGlfwGame::GetGlfwDesktopMode() {
  return NewDesktopMode<RkGlfwVideoMode>(_window);
}
