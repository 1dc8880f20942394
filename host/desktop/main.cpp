// host/desktop/main.cpp: the process entry.
#include "host/glfw_game.h"

int main(int argc, const char* argv[]) {
  RkZorvexGame::Main(argc, argv);
  return 0;
}
