// host/app.cpp: application registration and the delegate's event forwarding.
#include "host/app.h"

#include "audio/module.h"
#include "graphics/graphics.h"
#include "runtime/startup.h"

c_App* c_App::m_new() {
  if (rk_app__app) rkError(String("App has already been created"));
  gc_assign(rk_app__app, this);
  gc_assign(rk_app__delegate, (new c_GameDelegate())->m_new());
  rk_app__game->SetDelegate(rk_app__delegate);
  rk_end_hook = [] {
    if (rk_app__app) rk_app__app->p_OnEnd();
  };
  return this;
}

int c_App::p_OnClose() { return rk_app_EndApp(); }
int c_App::p_OnBack() { return rk_app_EndApp(); }

void c_GameDelegate::mark() {
  gc_push_grey(m_Graphics);
  gc_push_grey(m_Audio);
  gc_push_grey(m_Input);
}

// The host starts the game before any other event reaches the delegate; the
// checks on m_Input below only matter to a delegate driven by hand.
void c_GameDelegate::StartGame() {
  gc_assign(m_Graphics, new gxtkGraphics());
  rk_graphics_SetGraphicsDevice(m_Graphics);
  rk_graphics_SetFont(nullptr, 32);
  gc_assign(m_Audio, new gxtkAudio());
  rk_audio_SetAudioDevice(m_Audio);
  gc_assign(m_Input, (new c_InputDevice())->m_new());
  rk_input_SetInputDevice(m_Input);
  rk_app_ValidateDeviceWindow(false);
  rk_app_EnumDisplayModes();
  rk_app__app->p_OnCreate();
}

void c_GameDelegate::SuspendGame() {
  rk_app__app->p_OnSuspend();
  if (m_Audio) m_Audio->Suspend();
}

void c_GameDelegate::ResumeGame() {
  if (m_Audio) m_Audio->Resume();
  rk_app__app->p_OnResume();
}

void c_GameDelegate::UpdateGame() {
  rk_app_ValidateDeviceWindow(false);
  if (m_Input) m_Input->p_BeginUpdate();
  // The tune's queue first, so the update sees the music as it stands.
  if (m_Audio) m_Audio->Update();
  rk_app__app->p_OnUpdate();
  if (m_Input) m_Input->p_EndUpdate();
}

void c_GameDelegate::RenderGame() {
  rk_app_ValidateDeviceWindow(false);
  int mode = m_Graphics->BeginRender();
  if (mode) rk_graphics_BeginRender();
  if (mode != 2) rk_app__app->p_OnRender();
  if (mode) rk_graphics_EndRender();
  m_Graphics->EndRender();
}

void c_GameDelegate::KeyEvent(int event, int data) {
  if (m_Input) m_Input->p_KeyEvent(event, data);
  if (event != KeyDown) return;
  if (data == KEY_WINDOW_CLOSE) rk_app__app->p_OnClose();
  if (data == KEY_BACK_BUTTON) rk_app__app->p_OnBack();
}

void c_GameDelegate::MouseEvent(int event, int data, float x, float y) {
  if (m_Input) m_Input->p_MouseEvent(event, data, x, y);
}

void c_GameDelegate::TouchEvent(int event, int data, float x, float y) {
  if (m_Input) m_Input->p_TouchEvent(event, data, x, y);
}

void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
  if (m_Input) m_Input->p_MotionEvent(event, data, x, y, z);
}

void c_GameDelegate::DiscardGraphics() {
  m_Graphics->DiscardGraphics();
}
