// tests/host/window_probe.cpp: an application on the real host and window that
// prints what it sees: the state file, an asset, key and button changes, typed
// characters, clicks, the window size and focus. F11 switches full screen.
#include "graphics/graphics.h"
#include "host/app.h"
#include "runtime/startup.h"

namespace {

bool was_down[KEY_CODE_COUNT];
bool fullscreen = false;
int seen_width = 0;
int seen_height = 0;

void Say(const String& text) { rkPrint(text); }

struct ProbeApp : c_App {
  int p_OnCreate() override {
    rk_app_SetUpdateRate(60);
    Say("state " + rk_app_LoadState());
    Say("asset " + rk_app__game->LoadString(String("zorvex://data/probe.txt")));
    rk_app_SaveState(String("saved by the probe"));
    Say("desktop " + String(rk_app__desktopMode->m_Width) + "x" +
        String(rk_app__desktopMode->m_Height));
    return 0;
  }

  int p_OnUpdate() override {
    if (rk_app_DeviceWidth() != seen_width || rk_app_DeviceHeight() != seen_height) {
      seen_width = rk_app_DeviceWidth();
      seen_height = rk_app_DeviceHeight();
      Say("size " + String(seen_width) + "x" + String(seen_height));
    }
    for (int code = 1; code < KEY_CODE_COUNT; ++code) {
      bool down = rk_input_KeyDown(code) != 0;
      if (down != was_down[code]) Say(String(down ? "down " : "up ") + String(code));
      was_down[code] = down;
      if (int hits = rk_input_KeyHit(code)) Say("hit " + String(code) + " " + String(hits));
    }
    while (int ch = rk_input_GetChar()) Say("char " + String(ch));
    if (rk_input_MouseHit(0)) {
      Say("click " + String(static_cast<int>(rk_input_MouseX())) + " " +
          String(static_cast<int>(rk_input_MouseY())));
    }
    if (rk_input_KeyHit(122)) {
      fullscreen = !fullscreen;
      if (fullscreen) {
        rk_app__game->SetDeviceWindow(rk_app__desktopMode->m_Width, rk_app__desktopMode->m_Height, 1);
      } else {
        rk_app__game->SetDeviceWindow(640, 480, 0);
      }
    }
    return 0;
  }

  int p_OnSuspend() override {
    Say("suspend");
    return 0;
  }
  int p_OnResume() override {
    Say("resume");
    return 0;
  }
};

}  // namespace

int rkInit() {
  rk_app__app = nullptr;
  rk_app__delegate = nullptr;
  rk_graphics_device = nullptr;
  rk_app__game = RkGame::_game;
  rk_graphics_context = (new c_GraphicsContext())->m_new();
  rk_input_device = nullptr;
  gc_clear_roots();
  gc_add_root(&rk_app__app);
  gc_add_root(&rk_app__delegate);
  gc_add_root(&rk_graphics_device);
  gc_add_root(&rk_graphics_context);
  gc_add_root(&rk_input_device);
  gc_add_root(&rk_app__displayModes);
  gc_add_root(&rk_app__desktopMode);
  return 0;
}

int rkMain() {
  (new ProbeApp())->m_new();
  return 0;
}
