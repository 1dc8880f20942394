// host/state_file.cpp: the state file: careful reading, crash-safe
// replacement, the folder's lock and the clearing of stale temporary files.
#include "host/state_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr char kTemporaryMark[] = ".new-";

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

// The folder part of a path, with its trailing "/" ("./" for a bare name).
std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// Makes the rename itself durable; a failure here loses nothing already written.
void SyncFolderOf(const std::string& path) {
  int fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// The file a chain of symbolic links ends at, which may not exist yet. A
// player who keeps the state elsewhere through a link keeps the link.
std::string FinalPath(std::string path) {
  std::vector<char> buffer(4096);
  for (int hop = 0; hop < 40; ++hop) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
    if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) return path;
    std::string target(buffer.data(), static_cast<size_t>(length));
    path = target[0] == '/' ? target : FolderOf(path) + target;
  }
  return path;
}

// "NAME.new-PID" of a process that no longer runs: what a kill during a save left.
bool IsStaleTemporary(const std::string& entry, const std::string& name) {
  const std::string prefix = name + kTemporaryMark;
  if (entry.compare(0, prefix.size(), prefix) != 0) return false;
  const std::string digits = entry.substr(prefix.size());
  if (digits.empty() || digits.size() > 9 ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  pid_t pid = static_cast<pid_t>(std::atol(digits.c_str()));
  return pid > 0 && pid != getpid() && kill(pid, 0) != 0 && errno == ESRCH;
}

void RemoveStaleTemporaries(int folderFd, const std::string& name) {
  int listFd = dup(folderFd);
  if (listFd < 0) return;
  DIR* folder = fdopendir(listFd);
  if (!folder) {
    close(listFd);
    return;
  }
  while (dirent* entry = readdir(folder)) {
    if (IsStaleTemporary(entry->d_name, name)) unlinkat(folderFd, entry->d_name, 0);
  }
  closedir(folder);
}

}  // namespace

int ReplaceFile(const std::string& path, const std::string& bytes, int mode) {
  // Writing the file in place would leave it truncated after a crash, a kill
  // or a full disk; a rename replaces it whole or not at all.
  std::string temporary = path + kTemporaryMark + std::to_string(getpid());
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) return -1;
  bool complete = (mode < 0 || fchmod(fd, static_cast<mode_t>(mode)) == 0) &&
                  WriteAll(fd, bytes) && fsync(fd) == 0;
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

StateFile::~StateFile() {
  if (lockFd_ >= 0) close(lockFd_);
}

void StateFile::Prepare() {
  if (prepared_) return;
  prepared_ = true;
  const std::string target = FinalPath(path_);
  const std::string folder = FolderOf(target);
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A folder that cannot be opened cannot be locked either; saving may still work.
  if (fd < 0) return;
  // The lock belongs to the open folder: it goes when the process does, however it ends.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    close(fd);
    if (held) {
      char* full = realpath(folder.c_str(), nullptr);
      savingOff_ = true;
      notice_ = "Another copy of Marvolet is running in " + std::string(full ? full : folder) +
                ": this copy will not save over its settings, badges and scores.";
      free(full);
    }
    return;
  }
  lockFd_ = fd;
  RemoveStaleTemporaries(fd, NameOf(target));
}

void StateFile::SavingOff(const std::string& why) {
  if (savingOff_) return;
  savingOff_ = true;
  notice_ = "The state file " + path_ + " " + why + ": playing on without saving.";
}

std::string StateFile::TakeNotice() {
  std::string notice;
  notice.swap(notice_);
  return notice;
}

std::string StateFile::TakeScreenNotice() {
  std::string notice;
  notice.swap(screenNotice_);
  return notice;
}

std::string StateFile::Load() {
  Prepare();
  // A FIFO would block the open and a device would never end: only a regular
  // file is opened, and that is checked again on what was opened.
  struct stat info;
  if (stat(path_.c_str(), &info) != 0) {
    if (errno != ENOENT) SavingOff(std::string("cannot be read (") + strerror(errno) + ")");
    return std::string();
  }
  if (!S_ISREG(info.st_mode)) {
    SavingOff("is not a regular file");
    return std::string();
  }
  int fd = open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    SavingOff(std::string("cannot be read (") + strerror(errno) + ")");
    return std::string();
  }
  std::string bytes;
  bool readable = true;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    SavingOff("is not a regular file");
    readable = false;
  } else if (info.st_size <= kMaxStateBytes) {
    char block[4096];
    for (;;) {
      ssize_t n = read(fd, block, sizeof block);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        SavingOff(std::string("cannot be read (") + strerror(errno) + ")");
        readable = false;
      }
      if (n <= 0) break;
      bytes.append(block, static_cast<size_t>(n));
      if (bytes.size() > static_cast<size_t>(kMaxStateBytes)) break;
    }
  }
  close(fd);
  if (!readable) return std::string();
  // Larger than any real state: damaged, as a file of garbage would be.
  if (info.st_size > kMaxStateBytes || bytes.size() > static_cast<size_t>(kMaxStateBytes)) {
    notice_ = "The state file " + path_ + " is larger than any saved state: it is taken as damaged.";
    return std::string();
  }
  return bytes;
}

int StateFile::Save(const std::string& bytes) {
  Prepare();
  if (savingOff_) return -1;
  const std::string target = FinalPath(path_);
  struct stat info;
  int mode = -1;
  if (lstat(target.c_str(), &info) == 0) {
    // Neither a device nor a folder is ever replaced by a state file.
    if (!S_ISREG(info.st_mode)) {
      SavingOff("is not a regular file");
      return -1;
    }
    // Renaming would get past the protection the player gave the file.
    if ((info.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0) {
      SavingOff("is write-protected");
      return -1;
    }
    mode = static_cast<int>(info.st_mode & 07777);
  }
  return ReplaceFile(target, bytes, mode);
}
