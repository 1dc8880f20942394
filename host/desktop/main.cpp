// host/desktop/main.cpp: the process entry.
#include <malloc.h>

#include "host/glfw_game.h"

// The GL driver allocates and frees blocks at every draw; with no room kept
// at the heap's top, each frame shrinks the heap and grows it again (system
// calls, and fresh pages zeroed). 2 MB of room ends that; pages never
// touched cost no memory.
constexpr int kHeapTopRoom = 2 << 20;

int main(int argc, const char* argv[]) {
  mallopt(M_TOP_PAD, kHeapTopRoom);
  RkZorvexGame::Main(argc, argv);
  return 0;
}
