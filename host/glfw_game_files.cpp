// host/glfw_game_files.cpp: the desktop host's paths, state file, image and
// sound loading, and opening URLs.
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <stb/stb_image.h>
#include <string>
#include <vector>

#include "host/data_path.h"
#include "host/glfw_game.h"
#include "host/png_decode.h"
#include "host/state_file.h"
#include "runtime/startup.h"

#ifdef MARVOLET_AUDIO_DECODE
#include "audio/decode.h"
#endif

extern char** environ;

namespace {

// In the working directory, not beside the program.
const char kStatePath[] = "./.zorvexstate";

bool IsFolder(const String& path) {
  struct stat info;
  return stat(ToFileName(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The size of an open file, or -1.
long FileSize(FILE* file) {
  struct stat info;
  return fstat(fileno(file), &info) == 0 ? static_cast<long>(info.st_size) : -1;
}

}  // namespace

// Each file once, however often it is asked for again (a reload at another
// detail level, say); loads may come from worker threads.
void RkGlfwGame::TellLoadFailure(const String& path, const char* reason) {
  static std::mutex lock;
  static std::set<std::string> told;
  std::string name = ToFileName(PathToFilePath(path));
  std::lock_guard<std::mutex> hold(lock);
  // Without a data folder its one line says all.
  if (_dataFolderMissing && path.StartsWith(String("zorvex://data/"))) return;
  if (!told.insert(name).second) return;
  fprintf(stderr, "Cannot load %s: %s\n", name.c_str(), reason);
}

// Opens a data file for a loader, or says why it cannot.
FILE* RkGlfwGame::OpenDataFile(const String& path) {
  errno = 0;
  FILE* file = OpenFile(path, String("rb"));
  if (!file) {
    // Not there yet while it downloads: the game loads it again once it is.
    if (errno == ENOENT && DataArriving()) return nullptr;
    TellLoadFailure(path, errno != 0 ? strerror(errno) : "not a file");
  } else if (FileSize(file) == 0) {
    TellLoadFailure(path, "the file is empty");
    fclose(file);
    return nullptr;
  }
  return file;
}

const String& RkGlfwGame::ProgramFolderPath() {
  if (_programFolder.IsEmpty()) _programFolder = ProgramFolder();
  return _programFolder;
}

const String& RkGlfwGame::DataFolderPath() {
  if (_dataFolder.IsEmpty()) {
    // An installed program keeps its data under share/, found relative to
    // the program so the whole tree can move (MARVOLET_INSTALLED_DATA comes
    // from the install layout, MARVOLET_GAMES_DATA from the Debian package's
    // games layout). With no folder present, the one beside the program is
    // what missing files are reported against.
    _dataFolder = ProgramFolderPath() + String("/data");
    for (const char* relative : {MARVOLET_INSTALLED_DATA, MARVOLET_GAMES_DATA}) {
      if (IsFolder(_dataFolder)) break;
      String installed = ProgramFolderPath() + String("/") + String(relative);
      if (IsFolder(installed)) _dataFolder = installed;
    }
    if (!IsFolder(_dataFolder)) {
      _dataFolderMissing = true;
      std::string program = ToFileName(ProgramFolderPath());
      fprintf(stderr, "No data folder: looked in %s/data, %s/%s and %s/%s\n", program.c_str(),
              program.c_str(), MARVOLET_INSTALLED_DATA, program.c_str(), MARVOLET_GAMES_DATA);
    }
  }
  return _dataFolder;
}

String RkGlfwGame::PathToFilePath(String path) {
  if (!path.StartsWith(String("zorvex:"))) return path;
  String data("zorvex://data/");
  if (path.StartsWith(data)) return DataFolderPath() + String("/") + path.Slice(data.Length());
  String external("zorvex://external/");
  if (path.StartsWith(external)) {
    return ProgramFolderPath() + String("/external/") + path.Slice(external.Length());
  }
  String internal("zorvex://internal/");
  if (path.StartsWith(internal)) {
    if (_internalFolder.IsEmpty()) _internalFolder = ProgramFolderPath() + String("/internal");
    return _internalFolder + String("/") + path.Slice(internal.Length());
  }
  return String();
}

StateFile& RkGlfwGame::State() {
  if (!_stateFile) _stateFile.reset(new StateFile(kStatePath));
  return *_stateFile;
}

// What went wrong with the state file, said once on the console.
void RkGlfwGame::TellStateNotice() {
  std::string notice = State().TakeNotice();
  if (notice.empty()) return;
  rkPrint(String::Decode(reinterpret_cast<const unsigned char*>(notice.data()),
                         static_cast<int>(notice.size())));
}

int RkGlfwGame::SaveState(String state) {
  int result = State().Save(ToUtf8(state));
  TellStateNotice();
  return result;
}

String RkGlfwGame::LoadState() {
  std::string bytes = State().Load();
  TellStateNotice();
  return String::Decode(reinterpret_cast<const unsigned char*>(bytes.data()),
                        static_cast<int>(bytes.size()));
}

String RkGlfwGame::TakeStateNotice() {
  std::string line = State().TakeScreenNotice();
  return String::Decode(reinterpret_cast<const unsigned char*>(line.data()),
                        static_cast<int>(line.size()));
}

void RkGlfwGame::StateDamaged() { State().MarkDamaged(); }

unsigned char* RkGlfwGame::LoadImageData(String path, int* width, int* height, int* depth) {
  FILE* file = OpenDataFile(path);
  if (!file) return nullptr;
  PngRead read = DecodePlainPng(file);
  if (read.damaged) {
    fclose(file);
    TellLoadFailure(path, "a damaged picture (a part of it claims more bytes than the file holds)");
    return nullptr;
  }
  // A damaged header can declare a picture of gigabytes: no texture takes one
  // that large, so it is refused before anything is allocated for it.
  if (!read.png) {
    int declaredWidth = 0, declaredHeight = 0, declaredDepth = 0;
    if (stbi_info_from_file(file, &declaredWidth, &declaredHeight, &declaredDepth)) {
      read.width = static_cast<unsigned long>(declaredWidth);
      read.height = static_cast<unsigned long>(declaredHeight);
    }
  }
  if (read.width > kLargestPicture || read.height > kLargestPicture) {
    fclose(file);
    TellLoadFailure(path, ("too large a picture (" + std::to_string(read.width) + "x" +
                           std::to_string(read.height) + " pixels)").c_str());
    return nullptr;
  }
  unsigned char* pixels = read.pixels;
  if (pixels) {
    *width = static_cast<int>(read.width);
    *height = static_cast<int>(read.height);
    *depth = read.depth;
  } else {
    pixels = stbi_load_from_file(file, width, height, depth, 0);
  }
  fclose(file);
  if (!pixels) {
    TellLoadFailure(path, (std::string("not a picture (") + stbi_failure_reason() + ")").c_str());
    return nullptr;
  }
  gc_ext_malloced(*width * *height * *depth);
  return pixels;
}

unsigned char* RkGlfwGame::LoadImagePart(String path, int x, int y, int w, int h, int* width,
                                         int* height, int* depth) {
  if (x < 0 || y < 0 || w <= 0 || h <= 0) return nullptr;
  FILE* file = OpenDataFile(path);
  if (!file) return nullptr;
  PngRead read = DecodePlainPngPart(file, x, y, w, h);
  fclose(file);
  // Another kind of picture, or a damaged one: the whole decode reads it, or names what is wrong.
  if (!read.pixels) return RkGame::LoadImagePart(path, x, y, w, h, width, height, depth);
  *width = static_cast<int>(read.width);
  *height = static_cast<int>(read.height);
  *depth = read.depth;
  gc_ext_malloced(w * h * *depth);
  return read.pixels;
}

bool RkGlfwGame::DecodeAudio(String path, AudioSink& sink) {
#ifdef MARVOLET_AUDIO_DECODE
  FILE* file = OpenDataFile(path);
  if (!file) return false;
  String name = path.ToLower();
  bool decoded = false;
  if (name.EndsWith(String(".wav"))) {
    decoded = DecodeWAV(file, sink);
  } else if (name.EndsWith(String(".ogg"))) {
    decoded = DecodeOGG(file, sink);
  }
  fclose(file);
  if (!decoded) TellLoadFailure(path, "not a WAV or Ogg Vorbis sound that can be decoded");
  return decoded;
#else
  return false;
#endif
}

unsigned char* RkGlfwGame::LoadAudioData(String path, int* length, int* channels, int* format,
                                         int* hertz) {
#ifdef MARVOLET_AUDIO_DECODE
  BlockSink sink;
  if (!DecodeAudio(path, sink)) return nullptr;
  unsigned char* samples = sink.Release(length, channels, format, hertz);
  if (samples) gc_ext_malloced(*length * *channels * *format);
  return samples;
#else
  return nullptr;
#endif
}

int RkGlfwGame::OpenUrl(String url) {
  // Reap the openers started before; they finish on their own.
  static std::vector<pid_t> openers;
  for (size_t i = 0; i < openers.size();) {
    if (waitpid(openers[i], nullptr, WNOHANG) != 0) {
      openers.erase(openers.begin() + static_cast<long>(i));
    } else {
      ++i;
    }
  }
  // The URL is one argument of its own and no shell runs, so no URL can run a command.
  std::string target = ToUtf8(url);
  char program[] = "xdg-open";
  char* arguments[] = {program, target.data(), nullptr};
  pid_t pid;
  if (posix_spawnp(&pid, program, nullptr, nullptr, arguments, environ) == 0) {
    openers.push_back(pid);
  }
  return 0;
}
