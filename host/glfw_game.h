// host/glfw_game.h: the desktop host and the program's one host object.
#pragma once

#include "host/game.h"

class RkGlfwGame : public RkGame {
 public:
  static RkGlfwGame* _glfwGame;

  RkGlfwGame();

  // The main loop; returns when the window is no longer open.
  virtual void Run();
};

class RkZorvexGame : public RkGlfwGame {
 public:
  // The whole life of the process: libraries, host, runtime, application, main loop.
  static void Main(int argc, const char* argv[]);
};
