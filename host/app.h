// host/app.h: the application base class, the delegate that turns host events
// into application calls, and the app module's functions and globals.
#pragma once

#include "host/display_mode.h"
#include "host/events.h"
#include "host/game.h"
#include "host/input.h"

class gxtkAudio;
class gxtkGraphics;

class c_App : public Object {
 public:
  // Registers this object as the application and hands a new delegate to the host.
  c_App* m_new();

  virtual int p_OnCreate() { return 0; }
  virtual int p_OnSuspend() { return 0; }
  virtual int p_OnResume() { return 0; }
  virtual int p_OnUpdate() { return 0; }
  virtual int p_OnRender() { return 0; }
  // The process is ending in order (a quit, the close button, a signal).
  virtual int p_OnEnd() { return 0; }
  // Both end the process.
  int p_OnClose();
  int p_OnBack();
  int p_OnResize() { return 0; }
  int p_OnLoading() { return 0; }
};

// Creates the devices when the game starts, keeps the device size current and
// forwards each event to the application and the input device.
class c_GameDelegate : public RkGameDelegate {
 public:
  gxtkGraphics* m_Graphics = nullptr;
  gxtkAudio* m_Audio = nullptr;
  c_InputDevice* m_Input = nullptr;

  c_GameDelegate* m_new() { return this; }

  void StartGame() override;
  void SuspendGame() override;
  void ResumeGame() override;
  void UpdateGame() override;
  void RenderGame() override;
  void KeyEvent(int event, int data) override;
  void MouseEvent(int event, int data, float x, float y) override;
  void TouchEvent(int event, int data, float x, float y) override;
  void MotionEvent(int event, int data, float x, float y, float z) override;
  void DiscardGraphics() override;

  void mark() override;
};

extern c_App* rk_app__app;
extern c_GameDelegate* rk_app__delegate;
extern RkGame* rk_app__game;
extern int rk_app__updateRate;
extern int rk_app__devWidth;
extern int rk_app__devHeight;
extern Array<c_DisplayMode*> rk_app__displayModes;
extern c_DisplayMode* rk_app__desktopMode;

int rk_app_SetUpdateRate(int hertz);
int rk_app_Millisecs();
int rk_app_DeviceWidth();
int rk_app_DeviceHeight();
// Refreshes the cached device size from the host; there is no resize hook.
int rk_app_ValidateDeviceWindow(bool notify);
// Fills the distinct display modes and the desktop mode, once at start.
int rk_app_EnumDisplayModes();
// 0 when stored; negative when not (the game keeps its state and tries again).
int rk_app_SaveState(String state);
String rk_app_LoadState();
// The host's one-line notice for the player about saving, once; else empty.
String rk_app_TakeStateNotice();
// The loaded state was damaged: keep the stored copy aside before replacing it.
int rk_app_StateDamaged();
// From OnRender, when it would draw the frame on screen again: true when the
// host leaves that frame showing (draw nothing then), false to draw as usual.
bool rk_app_FrameStillShown();
// True when MARVOLET_CHECK_FRAMES is set: every frame drawn in part is then
// compared with the same frame drawn whole (a test of the partial redraw).
bool rk_app_CheckFrames();
// True in a browser page, where the program's end leaves an empty page.
bool rk_app_InPage();
// 1 full screen, 0 in a window, -1 when the host offers no full screen.
int rk_app_FullScreen();
void rk_app_FetchLaterData();
bool rk_app_DataArriving();
// Ends the process with status 0, after the application's end hook (which saves).
int rk_app_EndApp();
