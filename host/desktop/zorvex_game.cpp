// host/desktop/zorvex_game.cpp: start-up order of the process, from the window
// library to the main loop and back.
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <string>
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
    // Without a display GLFW cannot start; say which one it tried.
    const char* display = getenv("DISPLAY");
    std::string tried = display && *display ? std::string("DISPLAY=") + display : "DISPLAY is not set";
    printf("glfwInit failed: no display could be opened (%s)\n", tried.c_str());
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
  if (const char* failure = game->WindowFailure()) {
    fprintf(stderr, "No OpenGL context could be made%s%s\n", *failure ? ": " : "", failure);
    glfwTerminate();
    // A game already under way keeps what it earned.
    if (game->Started()) rkEnd(0, 1);
    exit(1);
  }
  glfwTerminate();
}
