// game/program.cpp: the program's module globals in their start-up order,
// the collector's roots, and the construction of the game.
#include "game/app.h"
#include "runtime/startup.h"

int rkInit() {
  rk_app__app = nullptr;
  rk_app__delegate = nullptr;
  rk_app__game = RkGame::_game;

  gc_clear_roots();
  gc_add_root(&rk_app__app);
  gc_add_root(&rk_app__delegate);
  return 0;
}

int rkMain() {
  (new c_MyApp())->m_new();
  return 0;
}
