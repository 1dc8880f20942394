// host/state_file.cpp: the crash-safe file replacement.
#include "host/state_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

bool WriteAll(int fd, const std::string& bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<size_t>(n);
  }
  return true;
}

// Makes the rename itself durable; a failure here loses nothing already written.
void SyncFolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

int ReplaceFile(const std::string& path, const std::string& bytes) {
  // Writing the file in place would leave it truncated after a crash, a kill
  // or a full disk; a rename replaces it whole or not at all.
  std::string temporary = path + ".new-" + std::to_string(getpid());
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) return -1;
  bool complete = WriteAll(fd, bytes) && fsync(fd) == 0;
  if (close(fd) != 0) complete = false;
  if (!complete) {
    unlink(temporary.c_str());
    return -2;
  }
  if (rename(temporary.c_str(), path.c_str()) != 0) {
    unlink(temporary.c_str());
    return -1;
  }
  SyncFolderOf(path);
  return 0;
}
