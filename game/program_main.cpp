// game/program_main.cpp: the construction of the game, the program's one application.
#include "game/app.h"
#include "runtime/startup.h"

int rkMain() {
  (new c_MyApp())->m_new();
  return 0;
}
