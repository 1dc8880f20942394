// host/app_module.cpp: the app module's functions and globals, mostly forwarding to the host.
#include "host/app.h"

#include <cstdlib>
#include "runtime/startup.h"

c_App* rk_app__app = nullptr;
c_GameDelegate* rk_app__delegate = nullptr;
RkGame* rk_app__game = nullptr;
int rk_app__updateRate = 0;
int rk_app__devWidth = 0;
int rk_app__devHeight = 0;
Array<c_DisplayMode*> rk_app__displayModes;
c_DisplayMode* rk_app__desktopMode = nullptr;

int rk_app_SetUpdateRate(int hertz) {
  rk_app__updateRate = hertz;
  rk_app__game->SetUpdateRate(hertz);
  return 0;
}

int rk_app_Millisecs() { return rk_app__game->Millisecs(); }
int rk_app_DeviceWidth() { return rk_app__devWidth; }
int rk_app_DeviceHeight() { return rk_app__devHeight; }
bool rk_app_FrameStillShown() { return rk_app__game->FrameStillShown(); }

bool rk_app_CheckFrames() {
  static const bool on = getenv("MARVOLET_CHECK_FRAMES") != nullptr;
  return on;
}

int rk_app_ValidateDeviceWindow(bool notify) {
  int width = rk_app__game->GetDeviceWidth();
  int height = rk_app__game->GetDeviceHeight();
  if (width != rk_app__devWidth || height != rk_app__devHeight) {
    rk_app__devWidth = width;
    rk_app__devHeight = height;
  }
  return 0;
}

// Modes that differ only in colour depth or refresh rate appear once, in the
// order of their first occurrence.
int rk_app_EnumDisplayModes() {
  Array<RkDisplayMode*> modes = rk_app__game->GetDisplayModes();
  c_IntMap* seen = (new c_IntMap())->m_new();
  c_Stack* distinct = (new c_Stack())->m_new();
  for (int i = 0; i < modes.Length(); ++i) {
    RkDisplayMode* mode = modes[i];
    int key = static_cast<int>(static_cast<unsigned>(mode->width) << 16 |
                               static_cast<unsigned>(mode->height));
    if (seen->p_Contains(key)) continue;
    c_DisplayMode* entry = (new c_DisplayMode())->m_new(mode->width, mode->height);
    seen->p_Insert(key, entry);
    distinct->p_Push(entry);
  }
  gc_assign(rk_app__displayModes, distinct->p_ToArray());
  RkDisplayMode* desktop = rk_app__game->GetDesktopMode();
  c_DisplayMode* desktopMode = (new c_DisplayMode())->m_new(
      desktop ? desktop->width : rk_app__devWidth, desktop ? desktop->height : rk_app__devHeight);
  gc_assign(rk_app__desktopMode, desktopMode);
  return 0;
}

int rk_app_SaveState(String state) { return rk_app__game->SaveState(state) == 0 ? 0 : -1; }

String rk_app_LoadState() { return rk_app__game->LoadState(); }

String rk_app_TakeStateNotice() { return rk_app__game->TakeStateNotice(); }

int rk_app_StateDamaged() {
  rk_app__game->StateDamaged();
  return 0;
}

bool rk_app_InPage() { return rk_app__game->InPage(); }

int rk_app_FullScreen() { return rk_app__game->FullScreen(); }

void rk_app_FetchLaterData() { rk_app__game->FetchLaterData(); }

bool rk_app_DataArriving() { return rk_app__game->DataArriving(); }

int rk_app_EndApp() { rkError(String()); }
