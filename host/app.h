// host/app.h: the application base class, its delegate, and the app module's globals.
#pragma once

#include "host/game.h"

class c_App : public Object {
 public:
  // Registers this object as the application and hands a new delegate to the host.
  c_App* m_new();

  virtual int p_OnCreate() { return 0; }
  virtual int p_OnSuspend() { return 0; }
  virtual int p_OnResume() { return 0; }
  virtual int p_OnUpdate() { return 0; }
  virtual int p_OnRender() { return 0; }
  int p_OnClose();
  int p_OnBack();
  int p_OnResize() { return 0; }
  int p_OnLoading() { return 0; }
};

// Turns host events into application calls; owns the devices once the game starts.
class c_GameDelegate : public RkGameDelegate {
 public:
  void StartGame() override;
  void SuspendGame() override;
  void ResumeGame() override;
  void UpdateGame() override;
  void RenderGame() override;
  void KeyEvent(int event, int data) override;
};

// Key codes that the delegate treats specially.
constexpr int KEY_WINDOW_CLOSE = 432;
constexpr int KEY_BACK_BUTTON = 416;
// Event codes of KeyEvent.
constexpr int KeyDown = 1;
constexpr int KeyUp = 2;
constexpr int KeyChar = 3;

extern c_App* rk_app__app;
extern c_GameDelegate* rk_app__delegate;
extern RkGame* rk_app__game;

// Ends the process at once with status 0; nothing is saved.
int rk_app_EndApp();
