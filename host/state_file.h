// host/state_file.h: the state file on a POSIX file system: read with care,
// replaced so that readers see either the old contents or the new, never a
// part, and guarded against a second copy of the game in the same folder.
#pragma once

#include <sys/stat.h>

#include <string>

// Writes `bytes` to a temporary file beside `path` (NAME.new-HOST-PID),
// flushes it to disk and renames it over `path`. The new file gets `mode`
// when it is not -1. Returns 0; -1 when the file cannot be created or put in
// place; -2 when the write falls short; errno then says why. On failure
// `path` is untouched and the temporary file is gone.
int ReplaceFile(const std::string& path, const std::string& bytes, int mode = -1);

// No real state comes near this; anything larger is damaged.
constexpr long kMaxStateBytes = 64 * 1024;

class StateFile {
 public:
  explicit StateFile(std::string path) : path_(std::move(path)) {}
  ~StateFile();
  StateFile(const StateFile&) = delete;
  StateFile& operator=(const StateFile&) = delete;

  // The file's bytes; empty when there is none, and when it is damaged (not
  // a regular file, or too large). A file that exists but cannot be read
  // turns saving off, so it is never replaced by a state made without it.
  // Cheap enough to ask again before each save.
  std::string Load();
  // Replaces the file (the link's target, when it is a link), keeping its
  // mode. Returns ReplaceFile's codes; -1 while another copy holds the
  // folder (asked again at each save) or saving is off.
  int Save(const std::string& bytes);
  // The whole story for the console when something went wrong, once per
  // cause; else empty.
  std::string TakeNotice();
  // A short line for the player's screen about the same, once; else empty.
  std::string TakeScreenNotice();
  // The state last loaded was damaged: before a save first replaces that
  // file, it is renamed aside (NAME.damaged in the same folder).
  void MarkDamaged();

 private:
  struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
  };

  // Claims the folder unless another process holds it; then clears what
  // killed copies left. False while another copy runs there.
  bool Lock();
  void SavingOff(const std::string& why, const std::string& screen);
  // Tells the console and the screen about a cause of not saving, unless it
  // is the one told last.
  void Tell(const std::string& console, const std::string& screen);
  void AddNotice(const std::string& line);
  // Renames the damaged file aside when `info` is it; false when that fails.
  bool SetAside(const std::string& target, const struct stat& info, std::string* aside);

  std::string path_;
  int lockFd_ = -1;
  bool savingOff_ = false;
  std::string notice_;
  std::string screenNotice_;
  std::string told_;
  FileId loaded_;
  FileId damaged_;
  bool setAside_ = false;
};
