// tests/support/folder_host.h: the desktop host without a window, its data
// folder ("zorvex://data/...") one of the test's own; the loading of files
// is the real host's.
#pragma once

#include <string>
#include <utility>

#include "host/glfw_game.h"

class FolderHost : public RkGlfwGame {
 public:
  explicit FolderHost(std::string folder) : RkGlfwGame(nullptr), folder_(std::move(folder)) {
    if (!folder_.empty() && folder_.back() == '/') folder_.pop_back();
  }
  String PathToFilePath(String path) override {
    const String data("zorvex://data/");
    if (!path.StartsWith(data)) return path;
    return String(folder_.c_str()) + String("/") + path.Slice(data.Length());
  }

 private:
  std::string folder_;
};
