// tests/runtime/startup_probe.cpp: a small program that goes through the real
// start-up and then does what its first argument asks, so that tests can
// watch the process's output and exit status.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "graphics/graphics.h"
#include "host/app.h"
#include "runtime/startup.h"

namespace {

struct ProbeApp : c_App {
  bool throw_on_create = false;
  int p_OnCreate() override {
    if (throw_on_create) throw new ThrowableObject();
    return 0;
  }
};

std::string Action() { return argc > 1 ? argv[1] : ""; }
String Argument() { return argc > 2 ? String(argv[2]) : String(); }

String FromUtf16(std::initializer_list<Char> chars) {
  return String(chars.begin(), static_cast<int>(chars.size()));
}

}  // namespace

int rkInit() {
  rk_app__app = nullptr;
  rk_app__delegate = nullptr;
  rk_graphics_device = nullptr;
  rk_app__game = RkGame::_game;
  rk_graphics_context = (new c_GraphicsContext())->m_new();
  gc_clear_roots();
  gc_add_root(&rk_app__app);
  gc_add_root(&rk_app__delegate);
  gc_add_root(&rk_graphics_device);
  gc_add_root(&rk_graphics_context);
  return 0;
}

int rkMain() {
  std::string action = Action();
  ProbeApp* app = new ProbeApp();
  app->throw_on_create = action == "throw-in-event";
  app->m_new();
  if (action == "print") {
    rkPrint(FromUtf16({u'\u00e9'}));
    rkPrint(FromUtf16({u'\u20ac', u'x'}));
    rkPrint(String("plain"));
  } else if (action == "print-long") {
    String text("0123456789");
    for (int i = 0; i < 12; ++i) text = text + text;  // 40960 characters
    rkPrint(text);
    rkPrint(String("after"));
  } else if (action == "error") {
    rkError(Argument());
  } else if (action == "error-after-address") {
    printf("app=%p\n", static_cast<void*>(static_cast<gc_object*>(app)));
    fflush(stdout);
    rkError(Argument());
  } else if (action == "twice") {
    (new ProbeApp())->m_new();
  } else if (action == "signal") {
    raise(atoi(argv[2]));
  } else if (action == "throw-in-start-up") {
    throw new ThrowableObject();
  } else if (action == "throw-in-event") {
    RkGame::_game->StartGame();
  } else if (action == "end-app") {
    rk_app_EndApp();
  } else if (action == "window-close") {
    RkGame::_game->StartGame();
    RkGame::_game->KeyEvent(KeyDown, KEY_WINDOW_CLOSE);
    rkPrint(String("still running"));
  }
  return 0;
}

int main(int count, const char* values[]) {
  RkGame* game = new RkGame();
  try {
    rk_std_main(count, values);
  } catch (ThrowableObject* ex) {
    game->Die(ex);
  }
  rkPrint(String("probe finished"));
  return 0;
}
