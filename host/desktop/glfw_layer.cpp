// host/desktop/glfw_layer.cpp: the window system on GLFW 3.
#include "host/desktop/glfw_layer.h"
#include "host/joystick.h"

#include <GLFW/glfw3.h>
#include <X11/Xlib.h>
// From GLFW's native-access header, which would also want the XRandR headers.
extern "C" Display* glfwGetX11Display(void);

#include <cerrno>
#include <cmath>
#include <ctime>

static_assert(kActionRelease == GLFW_RELEASE && kActionPress == GLFW_PRESS &&
                  kActionRepeat == GLFW_REPEAT,
              "key actions pass through unchanged");
static_assert(GLFW_GAMEPAD_BUTTON_LAST + 1 == 15 && GLFW_GAMEPAD_AXIS_LAST + 1 == 6,
              "the gamepad state fits the reading");

namespace {

RkGlfwLayer* LayerOf(GLFWwindow* window) {
  return static_cast<RkGlfwLayer*>(glfwGetWindowUserPointer(window));
}

RkWindowListener* ListenerOf(GLFWwindow* window) {
  RkGlfwLayer* layer = LayerOf(window);
  return layer ? layer->listener() : nullptr;
}

RkVideoMode ToVideoMode(const GLFWvidmode& mode) {
  RkVideoMode result;
  result.width = mode.width;
  result.height = mode.height;
  result.redBits = mode.redBits;
  result.greenBits = mode.greenBits;
  result.blueBits = mode.blueBits;
  return result;
}

}  // namespace

RkGlfwLayer::~RkGlfwLayer() { CloseWindow(); }

bool RkGlfwLayer::OpenWindow(const RkWindowRequest& request, RkWindowListener* listener) {
  CloseWindow();
  listener_ = listener;
  glfwDefaultWindowHints();
  // The renderer draws with the fixed-function pipeline of a legacy context.
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 1);
  glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
  glfwWindowHint(GLFW_REFRESH_RATE, 60);
  glfwWindowHint(GLFW_RED_BITS, request.redBits);
  glfwWindowHint(GLFW_GREEN_BITS, request.greenBits);
  glfwWindowHint(GLFW_BLUE_BITS, request.blueBits);
  glfwWindowHint(GLFW_ALPHA_BITS, request.alphaBits);
  glfwWindowHint(GLFW_DEPTH_BITS, request.depthBits);
  glfwWindowHint(GLFW_STENCIL_BITS, request.stencilBits);
  // Shown only once placed, so it never flashes up in a corner.
  glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
  GLFWmonitor* monitor = request.fullscreen ? glfwGetPrimaryMonitor() : nullptr;
  window_ = glfwCreateWindow(request.width, request.height, request.title, monitor, nullptr);
  if (!window_) {
    const char* description = nullptr;
    glfwGetError(&description);
    openError_ = description ? description : "";
    return false;
  }
  if (!monitor) {
    glfwSetWindowPos(window_, request.x, request.y);
    if (request.minWidth > 0 && request.minHeight > 0) {
      glfwSetWindowSizeLimits(window_, request.minWidth, request.minHeight, GLFW_DONT_CARE,
                              GLFW_DONT_CARE);
    }
  }
  glfwShowWindow(window_);
  // GLFW focuses only windowed windows; a new full-screen one replacing the
  // focused window would otherwise start unfocused, and the game suspended.
  glfwFocusWindow(window_);
  glfwMakeContextCurrent(window_);
  InstallCallbacks();
  return true;
}

void RkGlfwLayer::InstallCallbacks() {
  glfwSetWindowUserPointer(window_, this);
  glfwSetKeyCallback(window_, [](GLFWwindow* w, int key, int scancode, int action, int mods) {
    if (RkWindowListener* l = ListenerOf(w)) l->OnKey(key, action);
  });
  glfwSetCharCallback(window_, [](GLFWwindow* w, unsigned int codepoint) {
    if (RkWindowListener* l = ListenerOf(w)) l->OnChar(codepoint);
  });
  glfwSetMouseButtonCallback(window_, [](GLFWwindow* w, int button, int action, int mods) {
    if (RkWindowListener* l = ListenerOf(w)) l->OnMouseButton(button, action);
  });
  glfwSetCursorPosCallback(window_, [](GLFWwindow* w, double x, double y) {
    if (RkWindowListener* l = ListenerOf(w)) l->OnCursorMove(x, y);
  });
  glfwSetWindowFocusCallback(window_, [](GLFWwindow* w, int focused) {
    if (RkGlfwLayer* layer = LayerOf(w)) layer->focused_ = focused == GLFW_TRUE;
  });
  glfwSetWindowIconifyCallback(window_, [](GLFWwindow* w, int iconified) {
    if (RkGlfwLayer* layer = LayerOf(w)) layer->iconified_ = iconified == GLFW_TRUE;
  });
  glfwSetWindowSizeCallback(window_, [](GLFWwindow* w, int width, int height) {
    if (RkGlfwLayer* layer = LayerOf(w)) {
      layer->width_ = width;
      layer->height_ = height;
    }
  });
  // What the events will keep up to date, as it stands now.
  focused_ = glfwGetWindowAttrib(window_, GLFW_FOCUSED) == GLFW_TRUE;
  iconified_ = glfwGetWindowAttrib(window_, GLFW_ICONIFIED) == GLFW_TRUE;
  glfwGetWindowSize(window_, &width_, &height_);
  glfwSetWindowCloseCallback(window_, [](GLFWwindow* w) {
    // The window stays open: closing is the application's decision.
    glfwSetWindowShouldClose(w, GLFW_FALSE);
    if (RkWindowListener* l = ListenerOf(w)) l->OnCloseRequest();
  });
  glfwSetWindowRefreshCallback(window_, [](GLFWwindow* w) {
    if (RkWindowListener* l = ListenerOf(w)) l->OnContentsLost();
  });
  glfwSetFramebufferSizeCallback(window_, [](GLFWwindow* w, int width, int height) {
    if (RkWindowListener* l = ListenerOf(w)) l->OnContentsLost();
  });
}

void RkGlfwLayer::CloseWindow() {
  if (!window_) return;
  glfwDestroyWindow(window_);
  window_ = nullptr;
}

bool RkGlfwLayer::WindowActive() { return window_ && focused_ && !iconified_; }

void RkGlfwLayer::GetWindowSize(int* width, int* height) {
  *width = window_ ? width_ : 0;
  *height = window_ ? height_ : 0;
}

void RkGlfwLayer::SwapBuffers() {
  if (window_) glfwSwapBuffers(window_);
}

void RkGlfwLayer::SetSwapInterval(int interval) {
  if (window_) glfwSwapInterval(interval);
}

void RkGlfwLayer::SetCursorVisible(bool visible) {
  if (window_) glfwSetInputMode(window_, GLFW_CURSOR, visible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
}

void RkGlfwLayer::GetCursorPos(double* x, double* y) {
  *x = *y = 0;
  if (window_) glfwGetCursorPos(window_, x, y);
}

bool RkGlfwLayer::KeyPressed(int key) {
  // GLFW reports an error for numbers outside its key range.
  if (!window_ || key < GLFW_KEY_SPACE || key > GLFW_KEY_LAST) return false;
  return glfwGetKey(window_, key) == GLFW_PRESS;
}

// A window made while a key was down never hears of its release (GLFW drops
// a release it saw no press for), so ask the X server for the keyboard itself.
int RkGlfwLayer::KeyDownOnKeyboard(int key) {
  Display* display = glfwGetX11Display();
  int scancode = glfwGetKeyScancode(key);
  if (!display || scancode <= 0 || scancode > 255) return -1;
  char keys[32];
  XQueryKeymap(display, keys);
  return (keys[scancode / 8] >> (scancode % 8)) & 1;
}

void RkGlfwLayer::PollEvents() { glfwPollEvents(); }

// GLFW's wait sleeps on through a signal: waking now and then lets the main
// loop see a request to end.
void RkGlfwLayer::WaitEvents() { glfwWaitEventsTimeout(0.25); }

double RkGlfwLayer::Time() { return glfwGetTime(); }

void RkGlfwLayer::Sleep(double seconds) {
  // To the microsecond, not to the millisecond: at 60 updates a second a
  // rounded sleep would miss the schedule by up to 6 percent.
  if (!(seconds > 0)) return;
  timespec left;
  left.tv_sec = static_cast<time_t>(seconds);
  left.tv_nsec = static_cast<long>((seconds - std::floor(seconds)) * 1e9);
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

bool RkGlfwLayer::WorkArea(int* x, int* y, int* width, int* height) {
  GLFWmonitor* monitor = glfwGetPrimaryMonitor();
  if (!monitor) return false;
  glfwGetMonitorWorkarea(monitor, x, y, width, height);
  return *width > 0 && *height > 0;
}

bool RkGlfwLayer::DesktopMode(RkVideoMode* mode) {
  GLFWmonitor* monitor = glfwGetPrimaryMonitor();
  const GLFWvidmode* current = monitor ? glfwGetVideoMode(monitor) : nullptr;
  if (!current) return false;
  *mode = ToVideoMode(*current);
  return true;
}

int RkGlfwLayer::VideoModes(RkVideoMode* modes, int capacity) {
  GLFWmonitor* monitor = glfwGetPrimaryMonitor();
  int count = 0;
  const GLFWvidmode* all = monitor ? glfwGetVideoModes(monitor, &count) : nullptr;
  if (!all) return 0;
  if (count > capacity) count = capacity;
  for (int i = 0; i < count; ++i) modes[i] = ToVideoMode(all[i]);
  return count;
}

bool RkGlfwLayer::JoystickPresent(int joystick) {
  return joystick >= GLFW_JOYSTICK_1 && joystick <= GLFW_JOYSTICK_LAST &&
         glfwJoystickPresent(joystick);
}

void RkGlfwLayer::ReadJoystick(int joystick, RkJoystickReading* reading) {
  *reading = RkJoystickReading();
  if (!JoystickPresent(joystick)) return;
  int count = 0;
  if (const float* axes = glfwGetJoystickAxes(joystick, &count)) {
    reading->axisCount = count < 6 ? count : 6;
    for (int i = 0; i < reading->axisCount; ++i) reading->axes[i] = axes[i];
  }
  // Hats follow the buttons as four buttons each (up, right, down, left).
  if (const unsigned char* buttons = glfwGetJoystickButtons(joystick, &count)) {
    reading->buttonCount = count < 32 ? count : 32;
    for (int i = 0; i < reading->buttonCount; ++i) reading->buttons[i] = buttons[i] == GLFW_PRESS;
    int hats = 0;
    glfwGetJoystickHats(joystick, &hats);
    if (hats > 0) PutLastHatInDpadOrder(reading, count);
  }
  GLFWgamepadstate state;
  if (glfwJoystickIsGamepad(joystick) && glfwGetGamepadState(joystick, &state)) {
    reading->isGamepad = true;
    for (int i = 0; i <= GLFW_GAMEPAD_BUTTON_LAST; ++i) {
      reading->gamepadButtons[i] = state.buttons[i] == GLFW_PRESS;
    }
    for (int i = 0; i <= GLFW_GAMEPAD_AXIS_LAST; ++i) reading->gamepadAxes[i] = state.axes[i];
  }
}
