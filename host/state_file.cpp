// host/state_file.cpp: the state file: careful reading, crash-safe
// replacement, the folder's lock and the clearing of stale temporary files.
#include "host/state_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr char kTemporaryMark[] = ".new-";
constexpr char kNotAFile[] = "Not saving: the state file is not a file";

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

// This machine's name as it may stand in a file name. A home folder shared
// by several machines sees each one's temporaries; only this one's are ours.
const std::string& HostTag() {
  static const std::string tag = [] {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return std::string("host");
    std::string safe(name, strnlen(name, 64));
    for (char& c : safe) {
      if (!isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '_' && c != '-') c = '_';
    }
    return safe;
  }();
  return tag;
}

// "NAME.new-HOST-PID" of this host's process that no longer runs: what a kill
// during a save left. "NAME.new-PID" came from a version before the host was
// named; it is judged the same way.
bool IsStaleTemporary(const std::string& entry, const std::string& name) {
  const std::string prefix = name + kTemporaryMark;
  if (entry.compare(0, prefix.size(), prefix) != 0) return false;
  std::string digits = entry.substr(prefix.size());
  const std::string ours = HostTag() + "-";
  if (digits.compare(0, ours.size(), ours) == 0) digits.erase(0, ours.size());
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

// The folder `path` lives in, as the player would find it; as given when it
// does not exist.
std::string RealFolderOf(const std::string& path) {
  const std::string folder = FolderOf(path);
  char* full = realpath(folder.c_str(), nullptr);
  std::string real = full ? full : folder.substr(0, folder.size() - 1);
  free(full);
  return real;
}

// Why a save failed with `error`, in a few words for the screen.
std::string ScreenReason(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return "Not saving: the disk is full";
    case EROFS:
    case EACCES:
    case EPERM:
      return "Not saving: the folder is read-only";
    case ENOENT:
      return "Not saving: the folder is missing";
    default:
      return std::string("Not saving: ") + strerror(error);
  }
}

// Keeps the failing step's errno past the clean-up.
void UnlinkKeepingErrno(const std::string& path) {
  int error = errno;
  unlink(path.c_str());
  errno = error;
}

}  // namespace

int ReplaceFile(const std::string& path, const std::string& bytes, int mode) {
  // Writing the file in place would leave it truncated after a crash, a kill
  // or a full disk; a rename replaces it whole or not at all.
  std::string temporary = path + kTemporaryMark + HostTag() + "-" + std::to_string(getpid());
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) return -1;
  bool complete = (mode < 0 || fchmod(fd, static_cast<mode_t>(mode)) == 0) &&
                  WriteAll(fd, bytes) && fsync(fd) == 0;
  int error = errno;
  if (close(fd) != 0 && complete) {
    complete = false;
    error = errno;
  }
  if (!complete) {
    errno = error;
    UnlinkKeepingErrno(temporary);
    return -2;
  }
  if (rename(temporary.c_str(), path.c_str()) != 0) {
    UnlinkKeepingErrno(temporary);
    return -1;
  }
  SyncFolderOf(path);
  return 0;
}

StateFile::~StateFile() {
  if (lockFd_ >= 0) close(lockFd_);
}

bool StateFile::Lock() {
  if (lockFd_ >= 0) return true;
  const std::string target = FinalPath(path_);
  int fd = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A folder that cannot be opened cannot be locked either; saving may still work.
  if (fd < 0) return true;
  // The lock belongs to the open folder: it goes when the process does, however it ends.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    close(fd);
    if (held) {
      Tell("Another copy of Marvolet is running in " + RealFolderOf(target) +
               ": this copy saves its settings, badges and scores only once that one has quit.",
           "Not saving: another copy is running");
    }
    return !held;
  }
  lockFd_ = fd;
  RemoveStaleTemporaries(fd, NameOf(target));
  return true;
}

void StateFile::AddNotice(const std::string& line) {
  notice_ += (notice_.empty() ? "" : "\n") + line;
}

void StateFile::Tell(const std::string& console, const std::string& screen) {
  if (told_ == screen) return;
  told_ = screen;
  AddNotice(console);
  screenNotice_ = screen;
}

void StateFile::SavingOff(const std::string& why, const std::string& screen) {
  if (savingOff_) return;
  savingOff_ = true;
  Tell("The state file " + path_ + " " + why + ": playing on without saving.", screen);
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

void StateFile::MarkDamaged() {
  // A file that was not there at load is never damaged.
  if (loaded_.inode != 0) damaged_ = loaded_;
}

std::string StateFile::Load() {
  Lock();
  loaded_ = FileId();
  auto unreadable = [this] {
    SavingOff(std::string("cannot be read (") + strerror(errno) + ")",
              "Not saving: the state file cannot be read");
    return std::string();
  };
  auto special = [this] {
    SavingOff("is not a regular file", kNotAFile);
    return std::string();
  };
  // A FIFO would block the open and a device would never end: only a regular
  // file is opened, and that is checked again on what was opened.
  struct stat info;
  if (stat(path_.c_str(), &info) != 0) return errno == ENOENT ? std::string() : unreadable();
  if (!S_ISREG(info.st_mode)) return special();
  int fd = open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return unreadable();
  std::string bytes;
  bool readable = true;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    special();
    readable = false;
  } else if (info.st_size <= kMaxStateBytes) {
    char block[4096];
    for (;;) {
      ssize_t n = read(fd, block, sizeof block);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        unreadable();
        readable = false;
      }
      if (n <= 0) break;
      bytes.append(block, static_cast<size_t>(n));
      if (bytes.size() > static_cast<size_t>(kMaxStateBytes)) break;
    }
  }
  close(fd);
  if (!readable) return std::string();
  loaded_ = {info.st_dev, info.st_ino};
  // Larger than any real state: damaged, as a file of garbage would be.
  if (info.st_size > kMaxStateBytes || bytes.size() > static_cast<size_t>(kMaxStateBytes)) {
    if (damaged_.inode != info.st_ino) {
      AddNotice("The state file " + path_ +
                " is larger than any saved state: it is taken as damaged.");
    }
    MarkDamaged();
    return std::string();
  }
  return bytes;
}

bool StateFile::SetAside(const std::string& target, const struct stat& info, std::string* aside) {
  if (setAside_ || info.st_dev != damaged_.device || info.st_ino != damaged_.inode) return true;
  *aside = target + ".damaged";
  if (rename(target.c_str(), aside->c_str()) == 0) return true;
  const int error = errno;
  Tell("The damaged state file " + path_ + " cannot be kept as " + *aside + " (" +
           strerror(error) + "): it is not saved over.",
       ScreenReason(error));
  aside->clear();
  return false;
}

int StateFile::Save(const std::string& bytes) {
  if (savingOff_ || !Lock()) return -1;
  const std::string target = FinalPath(path_);
  struct stat info;
  int mode = -1;
  std::string aside;
  if (lstat(target.c_str(), &info) == 0) {
    // Neither a device nor a folder is ever replaced by a state file.
    if (!S_ISREG(info.st_mode)) {
      SavingOff("is not a regular file", kNotAFile);
      return -1;
    }
    // Renaming would get past the protection the player gave the file.
    if ((info.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0) {
      SavingOff("is write-protected", "Not saving: the state file is protected");
      return -1;
    }
    mode = static_cast<int>(info.st_mode & 07777);
    if (!SetAside(target, info, &aside)) return -1;
  }
  const int result = ReplaceFile(target, bytes, mode);
  if (result != 0) {
    const int error = errno;
    // The damaged file goes back: until a new state is stored it is all there is.
    if (!aside.empty()) rename(aside.c_str(), target.c_str());
    Tell("Cannot save the state file " + path_ + " in the folder " + RealFolderOf(target) + " (" +
             strerror(error) + "): it stays as it was.",
         ScreenReason(error));
    return result;
  }
  if (!aside.empty()) {
    setAside_ = true;
    AddNotice("The damaged state file " + path_ + " is kept as " + RealFolderOf(target) + "/" +
              NameOf(aside) + ".");
  }
  // The next failure is told again, whatever its cause.
  told_.clear();
  return 0;
}
