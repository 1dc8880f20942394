// host/app.cpp: application registration and the delegate's event forwarding.
#include "host/app.h"

#include "runtime/startup.h"

c_App* rk_app__app = nullptr;
c_GameDelegate* rk_app__delegate = nullptr;
RkGame* rk_app__game = nullptr;

c_App* c_App::m_new() {
  if (rk_app__app) rkError(String("App has already been created"));
  gc_assign(rk_app__app, this);
  gc_assign(rk_app__delegate, new c_GameDelegate());
  rk_app__game->SetDelegate(rk_app__delegate);
  return this;
}

int c_App::p_OnClose() { return rk_app_EndApp(); }
int c_App::p_OnBack() { return rk_app_EndApp(); }

int rk_app_EndApp() { rkError(String()); }

void c_GameDelegate::StartGame() { rk_app__app->p_OnCreate(); }
void c_GameDelegate::SuspendGame() { rk_app__app->p_OnSuspend(); }
void c_GameDelegate::ResumeGame() { rk_app__app->p_OnResume(); }
void c_GameDelegate::UpdateGame() { rk_app__app->p_OnUpdate(); }
void c_GameDelegate::RenderGame() { rk_app__app->p_OnRender(); }

void c_GameDelegate::KeyEvent(int event, int data) {
  if (event != KeyDown) return;
  if (data == KEY_WINDOW_CLOSE) rk_app__app->p_OnClose();
  if (data == KEY_BACK_BUTTON) rk_app__app->p_OnBack();
}
