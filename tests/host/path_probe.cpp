// tests/host/path_probe.cpp: prints where the desktop host resolves each
// argument, so tests can run it from folders of their choosing.
#include <cstdio>

#include "host/data_path.h"
#include "host/glfw_game.h"

int main(int argc, char** argv) {
  RkGlfwGame host;  // no window: path resolution needs none
  for (int i = 1; i < argc; ++i) printf("%s\n", ToUtf8(host.PathToFilePath(String(argv[i]))).c_str());
  return 0;
}
