// game/app.cpp: construction and start of the game record.
#include "game/app.h"

#include "runtime/startup.h"

c_MyApp* c_MyApp::m_new() {
  c_App::m_new();
  return this;
}

int c_MyApp::p_OnCreate() {
  rk_app_SetUpdateRate(60);
  rkPrint(String("Marvolet started"));
  return 0;
}
