// host/web/main.cpp: the page's program entry.
#include "host/web/web_game.h"

int main(int argc, const char* argv[]) {
  RkWebGame::Main(argc, argv);
  return 0;
}
