// host/glfw_game.cpp: the desktop host.
//
// This first host has no window yet: it starts the game, says so and
// returns, which ends the process normally.
#include "host/glfw_game.h"

#include "runtime/startup.h"

RkGlfwGame* RkGlfwGame::_glfwGame = nullptr;

RkGlfwGame::RkGlfwGame() { _glfwGame = this; }

void RkGlfwGame::Run() {
  StartGame();
  rkPrint(String("Marvolet: the runtime is up and the game object is registered; "
                 "this build has no window yet."));
}
