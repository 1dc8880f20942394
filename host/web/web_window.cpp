// host/web/web_window.cpp: the window system on the browser's canvas and
// HTML5 events (emscripten's html5.h).
#include "host/web/web_window.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>

#include "host/events.h"
#include "host/keys.h"

namespace {

const char kCanvas[] = "#canvas";
constexpr int kFingers = 10;

// The page's key codes back to GLFW key numbers: the host's key codes are the
// browser's, so the host's own table read backwards is the map.
struct KeyMap {
  int glfwKey[256] = {};
  KeyMap() {
    for (int key = kLastGlfwKey; key >= 0; --key) {
      int code = TranslateGlfwKey(key);
      if (code > 0 && code < 256) glfwKey[code] = key;
    }
  }
};

const KeyMap& Keys() {
  static KeyMap map;
  return map;
}

// The one character a key types, or 0 (named keys such as "Enter" are longer).
unsigned int TypedCharacter(const char* key) {
  const auto* s = reinterpret_cast<const unsigned char*>(key);
  unsigned int c = s[0];
  int extra = c < 0x80 ? 0 : c < 0xe0 ? 1 : c < 0xf0 ? 2 : 3;
  if (extra) c &= 0x3f >> extra;
  for (int i = 1; i <= extra; ++i) {
    if ((s[i] & 0xc0) != 0x80) return 0;
    c = c << 6 | (s[i] & 0x3f);
  }
  return s[extra + 1] == 0 && c >= 32 && c != 127 ? c : 0;
}

EM_BOOL OnKeyEvent(int type, const EmscriptenKeyboardEvent* e, void* data) {
  auto* window = static_cast<RkWebWindow*>(data);
  int code = static_cast<int>(e->keyCode);
  // The browser keeps its own keys: reload, developer tools, full screen
  // (the page handles F11), and any shortcut with Ctrl or Cmd.
  if (code == 116 || code == 122 || code == 123 || e->ctrlKey || e->metaKey) return EM_FALSE;
  int key = code > 0 && code < 256 ? Keys().glfwKey[code] : 0;
  if (key) {
    bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
    window->SetKey(key, down);
    int action = !down ? kActionRelease : e->repeat ? kActionRepeat : kActionPress;
    window->Queue({RkWebWindow::kKey, key, action, 0, 0});
  }
  if (type == EMSCRIPTEN_EVENT_KEYDOWN) {
    if (unsigned int c = TypedCharacter(e->key)) {
      window->Queue({RkWebWindow::kChar, static_cast<int>(c), 0, 0, 0});
    }
  }
  // Arrows and space would scroll the page; the characters are taken above.
  return EM_TRUE;
}

EM_BOOL OnMouseEvent(int type, const EmscriptenMouseEvent* e, void* data) {
  auto* window = static_cast<RkWebWindow*>(data);
  double ratio = window->PixelRatio();
  window->SetCursor(e->targetX * ratio, e->targetY * ratio);
  window->Queue({RkWebWindow::kMove, 0, 0, e->targetX * ratio, e->targetY * ratio});
  if (type == EMSCRIPTEN_EVENT_MOUSEMOVE) return EM_FALSE;
  // The page numbers the buttons left, middle, right; GLFW left, right, middle.
  static const int kButtons[3] = {0, 2, 1};
  if (e->button > 2) return EM_FALSE;
  bool down = type == EMSCRIPTEN_EVENT_MOUSEDOWN;
  window->SetButton(kButtons[e->button], down);
  int action = down ? kActionPress : kActionRelease;
  window->Queue({RkWebWindow::kButton, kButtons[e->button], action, 0, 0});
  return EM_TRUE;
}

// A page loses the focus to another window, or the browser's own controls,
// while still shown: key-ups and button releases then go there.
EM_BOOL OnBlur(int type, const EmscriptenFocusEvent* e, void* data) {
  static_cast<RkWebWindow*>(data)->ReleaseAll();
  return EM_FALSE;
}

// True: the default prevented, so that the browser may restore the context.
EM_BOOL OnContextEvent(int type, const void* reserved, void* data) {
  bool lost = type == EMSCRIPTEN_EVENT_WEBGLCONTEXTLOST;
  static_cast<RkWebWindow*>(data)->Queue({RkWebWindow::kContext, lost, 0, 0, 0});
  return EM_TRUE;
}

// Fingers keep their slot from touch to release, as the game's finger numbers.
long fingerIds[kFingers];
bool fingerUsed[kFingers];

int FingerSlot(long id, bool claim) {
  for (int i = 0; i < kFingers; ++i) {
    if (fingerUsed[i] && fingerIds[i] == id) return i;
  }
  if (!claim) return -1;
  for (int i = 0; i < kFingers; ++i) {
    if (!fingerUsed[i]) {
      fingerUsed[i] = true;
      fingerIds[i] = id;
      return i;
    }
  }
  return -1;
}

EM_BOOL OnTouchEvent(int type, const EmscriptenTouchEvent* e, void* data) {
  auto* window = static_cast<RkWebWindow*>(data);
  double ratio = window->PixelRatio();
  bool start = type == EMSCRIPTEN_EVENT_TOUCHSTART;
  bool end = type == EMSCRIPTEN_EVENT_TOUCHEND || type == EMSCRIPTEN_EVENT_TOUCHCANCEL;
  int event = start ? TouchDown : end ? TouchUp : TouchMove;
  for (int i = 0; i < e->numTouches; ++i) {
    const EmscriptenTouchPoint& t = e->touches[i];
    if (!t.isChanged) continue;
    int finger = FingerSlot(t.identifier, start);
    if (finger < 0) continue;
    if (end) fingerUsed[finger] = false;
    window->Queue({RkWebWindow::kTouch, event, finger, t.targetX * ratio, t.targetY * ratio});
  }
  // Not cancelled here: a touch that cannot be cancelled (the browser is
  // scrolling) would log a warning. The page cancels the others, so no mouse
  // events are made up from them as well (web/pre.js).
  return EM_FALSE;
}

}  // namespace

bool RkWebWindow::OpenWindow(const RkWindowRequest& request, RkWindowListener* listener) {
  listener_ = listener;
  // The page keeps one canvas and one context for its whole life.
  if (context_) return true;
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.alpha = EM_FALSE;
  attributes.depth = EM_FALSE;
  attributes.stencil = EM_FALSE;
  attributes.antialias = EM_FALSE;
  attributes.majorVersion = 1;
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context(kCanvas, &attributes);
  if (context <= 0) return false;
  emscripten_webgl_make_context_current(context);
  context_ = static_cast<int>(context);
  FitCanvas();
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnKeyEvent);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnKeyEvent);
  emscripten_set_mousedown_callback(kCanvas, this, EM_TRUE, OnMouseEvent);
  emscripten_set_mouseup_callback(kCanvas, this, EM_TRUE, OnMouseEvent);
  emscripten_set_mousemove_callback(kCanvas, this, EM_TRUE, OnMouseEvent);
  emscripten_set_touchstart_callback(kCanvas, this, EM_TRUE, OnTouchEvent);
  emscripten_set_touchend_callback(kCanvas, this, EM_TRUE, OnTouchEvent);
  emscripten_set_touchmove_callback(kCanvas, this, EM_TRUE, OnTouchEvent);
  emscripten_set_touchcancel_callback(kCanvas, this, EM_TRUE, OnTouchEvent);
  emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnBlur);
  emscripten_set_webglcontextlost_callback(kCanvas, this, EM_TRUE, OnContextEvent);
  emscripten_set_webglcontextrestored_callback(kCanvas, this, EM_TRUE, OnContextEvent);
  return true;
}

// The context stays for the next OpenWindow: a page cannot give it back and
// take a fresh one on the same canvas.
void RkWebWindow::CloseWindow() {}

bool RkWebWindow::WindowActive() {
  EmscriptenVisibilityChangeEvent status;
  if (emscripten_get_visibility_status(&status) != EMSCRIPTEN_RESULT_SUCCESS) return true;
  return !status.hidden;
}

double RkWebWindow::PixelRatio() {
  double ratio = emscripten_get_device_pixel_ratio();
  return ratio > 0 ? ratio : 1;
}

bool RkWebWindow::FitCanvas() {
  double cssWidth = 0, cssHeight = 0;
  emscripten_get_element_css_size(kCanvas, &cssWidth, &cssHeight);
  double ratio = PixelRatio();
  int width = static_cast<int>(cssWidth * ratio + 0.5);
  int height = static_cast<int>(cssHeight * ratio + 0.5);
  if (width < 1) width = 1;
  if (height < 1) height = 1;
  if (width == width_ && height == height_) return false;
  width_ = width;
  height_ = height;
  emscripten_set_canvas_element_size(kCanvas, width, height);
  return true;
}

void RkWebWindow::GetWindowSize(int* width, int* height) {
  *width = reportZero_ ? 0 : width_;
  *height = reportZero_ ? 0 : height_;
}

void RkWebWindow::SetCursorVisible(bool visible) {
  EM_ASM({ document.getElementById('canvas').style.cursor = $0 ? 'default' : 'none'; }, visible);
}

void RkWebWindow::GetCursorPos(double* x, double* y) {
  *x = cursorX_;
  *y = cursorY_;
}

void RkWebWindow::SetCursor(double x, double y) {
  cursorX_ = x;
  cursorY_ = y;
}

void RkWebWindow::SetKey(int key, bool down) {
  if (key >= 0 && key < 512) keys_[key] = down;
}

void RkWebWindow::SetButton(int button, bool down) {
  if (button >= 0 && button < 3) buttons_[button] = down;
}

// As a desktop window's library does on focus loss: a release for each.
void RkWebWindow::ReleaseAll() {
  for (int key = 0; key < 512; ++key) {
    if (keys_[key]) Queue({kKey, key, kActionRelease, 0, 0});
    keys_[key] = false;
  }
  for (int button = 0; button < 3; ++button) {
    if (buttons_[button]) Queue({kButton, button, kActionRelease, 0, 0});
    buttons_[button] = false;
  }
}

bool RkWebWindow::KeyPressed(int key) { return key >= 0 && key < 512 && keys_[key]; }

void RkWebWindow::PollEvents() {
  reportZero_ = zeroFrames_ > 0;
  if (reportZero_) --zeroFrames_;
  if ((FitCanvas() || reportZero_) && listener_) listener_->OnContentsLost();
  emscripten_sample_gamepad_data();
  // Taken out first: a listener may queue nothing, but must not see an event twice.
  std::vector<Event> events;
  events.swap(queue_);
  for (const Event& e : events) {
    if (e.kind == kTouch) {
      if (touches_) touches_->OnTouch(e.a, e.b, e.x, e.y);
      continue;
    }
    if (!listener_) continue;
    switch (e.kind) {
      case kKey: listener_->OnKey(e.a, e.b); break;
      case kChar: listener_->OnChar(static_cast<unsigned int>(e.a)); break;
      case kButton: listener_->OnMouseButton(e.a, e.b); break;
      case kMove: listener_->OnCursorMove(e.x, e.y); break;
      case kContext:
        if (e.a) {
          listener_->OnContextLost();
        } else {
          listener_->OnContextRestored();
        }
        break;
      default: break;
    }
  }
}

double RkWebWindow::Time() { return emscripten_get_now() / 1000.0; }

bool RkWebWindow::DesktopMode(RkVideoMode* mode) {
  double ratio = PixelRatio();
  mode->width = static_cast<int>(EM_ASM_INT({ return screen.width; }) * ratio + 0.5);
  mode->height = static_cast<int>(EM_ASM_INT({ return screen.height; }) * ratio + 0.5);
  mode->redBits = mode->greenBits = mode->blueBits = 8;
  return mode->width > 0 && mode->height > 0;
}

int RkWebWindow::VideoModes(RkVideoMode* modes, int capacity) {
  return capacity > 0 && DesktopMode(&modes[0]) ? 1 : 0;
}

bool RkWebWindow::JoystickPresent(int joystick) {
  if (joystick >= emscripten_get_num_gamepads()) return false;
  EmscriptenGamepadEvent pad;
  return emscripten_get_gamepad_status(joystick, &pad) == EMSCRIPTEN_RESULT_SUCCESS &&
         pad.connected;
}

// A pad with the browser's standard mapping reads as a known gamepad.
void RkWebWindow::ReadJoystick(int joystick, RkJoystickReading* reading) {
  EmscriptenGamepadEvent pad;
  *reading = RkJoystickReading();
  if (emscripten_get_gamepad_status(joystick, &pad) != EMSCRIPTEN_RESULT_SUCCESS) return;
  reading->axisCount = pad.numAxes < 6 ? pad.numAxes : 6;
  for (int i = 0; i < reading->axisCount; ++i) reading->axes[i] = static_cast<float>(pad.axis[i]);
  reading->buttonCount = pad.numButtons < 32 ? pad.numButtons : 32;
  for (int i = 0; i < reading->buttonCount; ++i) reading->buttons[i] = pad.digitalButton[i];
  if (strcmp(pad.mapping, "standard") != 0 || pad.numButtons < 17 || pad.numAxes < 4) return;
  reading->isGamepad = true;
  // The standard layout's button numbers in the order of the reading.
  static const int kStandard[15] = {0, 1, 2, 3, 4, 5, 8, 9, 16, 10, 11, 12, 15, 13, 14};
  for (int i = 0; i < 15; ++i) reading->gamepadButtons[i] = pad.digitalButton[kStandard[i]];
  for (int i = 0; i < 4; ++i) reading->gamepadAxes[i] = static_cast<float>(pad.axis[i]);
  reading->gamepadAxes[4] = static_cast<float>(pad.analogButton[6] * 2 - 1);
  reading->gamepadAxes[5] = static_cast<float>(pad.analogButton[7] * 2 - 1);
}
