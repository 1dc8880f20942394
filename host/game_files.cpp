// host/game_files.cpp: the host's portable services: the date, and opening
// and reading files named by (virtual) paths.
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <ctime>
#include <vector>

#include "host/data_path.h"
#include "host/game.h"
#include "host/png_decode.h"
#include "runtime/gc.h"

int RkGame::GetDate(Array<int> date) {
  time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  const int fields[] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                        local.tm_hour,        local.tm_min,     local.tm_sec, 0};
  int count = date.Length() < 7 ? date.Length() : 7;
  for (int i = 0; i < count; ++i) date[i] = fields[i];
  return 0;
}

FILE* RkGame::OpenFile(String path, String mode) {
  String file_path = PathToFilePath(path);
  if (file_path.IsEmpty()) return nullptr;
  // Names reach the platform as UTF-8 (so names outside ASCII open
  // correctly), with the program folder's own bytes kept as they were.
  FILE* file = fopen(ToFileName(file_path).c_str(), ToUtf8(mode).c_str());
  // A folder opens here but reads as nothing: it is no file.
  struct stat info;
  if (file && fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
    fclose(file);
    return nullptr;
  }
  return file;
}

String RkGame::LoadString(String path) {
  FILE* file = OpenFile(path, String("rb"));
  if (!file) return String();
  String text = String::Load(file);
  fclose(file);
  return text;
}

unsigned char* RkGame::LoadImagePart(String path, int x, int y, int w, int h, int* width,
                                     int* height, int* depth) {
  unsigned char* pixels = LoadImageData(path, width, height, depth);
  if (!pixels) return nullptr;
  if (!PartInside(*width, *height, x, y, w, h)) {
    free(pixels);
    return nullptr;
  }
  return KeepPngPart(pixels, *width, *depth, x, y, w, h);
}

unsigned char* RkGame::LoadData(String path, int* length) {
  FILE* file = OpenFile(path, String("rb"));
  if (!file) return nullptr;
  std::vector<unsigned char> bytes;
  unsigned char block[4096];
  for (;;) {
    size_t n = fread(block, 1, sizeof block, file);
    bytes.insert(bytes.end(), block, block + n);
    if (n < sizeof block) break;
  }
  fclose(file);
  // Sizes are ints: a larger file cannot be handed on.
  if (bytes.size() > static_cast<size_t>(INT_MAX)) return nullptr;
  unsigned char* buffer = static_cast<unsigned char*>(malloc(bytes.size() ? bytes.size() : 1));
  if (!buffer) return nullptr;
  if (!bytes.empty()) memcpy(buffer, bytes.data(), bytes.size());
  *length = static_cast<int>(bytes.size());
  gc_ext_malloced(*length);
  return buffer;
}
