// host/zorvex_game.cpp: start-up order of the process, from the window
// library to the main loop and back.
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>

#include "host/glfw_game.h"
#include "runtime/startup.h"

void RkZorvexGame::Main(int argc, const char* argv[]) {
  if (!glfwInit()) {
    puts("glfwInit failed");
    exit(-1);
  }
  RkZorvexGame* game = new RkZorvexGame();
  try {
    rk_std_main(argc, argv);
  } catch (ThrowableObject* ex) {
    glfwTerminate();
    game->Die(ex);
  }
  if (game->Delegate()) game->Run();
  glfwTerminate();
}
