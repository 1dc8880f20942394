// tests/host/path_probe.cpp: prints where the desktop host resolves each
// argument, and whether that file opens, so tests can run it from folders of
// their choosing.
#include <cstdio>

#include "host/data_path.h"
#include "host/glfw_game.h"

int main(int argc, char** argv) {
  RkGlfwGame host;  // no window: path resolution needs none
  for (int i = 1; i < argc; ++i) {
    String path(argv[i]);
    FILE* file = host.OpenFile(path, String("rb"));
    printf("%s%s\n", ToFileName(host.PathToFilePath(path)).c_str(), file ? " (opens)" : "");
    if (file) fclose(file);
  }
  return 0;
}
