// host/desktop/zorvex_game.cpp: start-up order of the process, from the window
// library to the main loop and back.
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "host/glfw_game.h"
#include "runtime/startup.h"

namespace {

// Large blocks (decoded pictures and tunes, the driver's textures) come and go
// whenever art or music loads. glibc raises its threshold for mapping them
// separately each time one is freed, after which they sit in the heap and
// their pages stay with the process: a game played for half an hour grew by
// 20 MB that way. A fixed threshold hands every large block back when freed.
void ReturnLargeBlocksWhenFreed() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
  mallopt(M_TRIM_THRESHOLD, 256 * 1024);
#endif
}

}  // namespace

void RkZorvexGame::Main(int argc, const char* argv[]) {
  ReturnLargeBlocksWhenFreed();
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
