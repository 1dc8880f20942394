// host/data_path.cpp: asset paths, the program's folder and file names.
#include "host/data_path.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace {

constexpr Char kKeptByte = 0xDC00;

bool IsKeptByte(Char ch) { return ch >= kKeptByte + 0x80 && ch <= kKeptByte + 0xFF; }

}  // namespace

String rk_data_FixDataPath(String path) {
  int scheme = path.Find(String(":/"));
  if (scheme != -1 && path.Find(String("/")) == scheme + 1) return path;
  if (path.StartsWith(String("./")) || path.StartsWith(String("/"))) return path;
  return String("zorvex://data/") + path;
}

String ProgramFolder() {
  // The link's length is not known beforehand: grow the buffer until it fits.
  std::vector<char> buffer(256);
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return String();
    if (static_cast<size_t>(length) < buffer.size()) {
      std::string exe(buffer.data(), static_cast<size_t>(length));
      // Decoded as text, a name that is not UTF-8 would come back as other bytes.
      return FileNameText(exe.substr(0, exe.rfind('/')));
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string ToUtf8(const String& text) {
  unsigned char* bytes = nullptr;
  int capacity = 0;
  int used = String::EncodeUtf8(text, &bytes, &capacity, 0);
  std::string result(reinterpret_cast<char*>(bytes), static_cast<size_t>(used));
  free(bytes);
  return result;
}

String FileNameText(const std::string& bytes) {
  Char* chars;
  String text = String::Uninitialized(static_cast<int>(bytes.size()), &chars);
  for (unsigned char byte : bytes) *chars++ = byte < 0x80 ? byte : kKeptByte + byte;
  return text;
}

std::string ToFileName(const String& text) {
  std::string name;
  int run = 0;  // the first character not yet written
  for (int i = 0; i < text.Length(); ++i) {
    if (!IsKeptByte(text[i])) continue;
    name += ToUtf8(text.Slice(run, i));
    name += static_cast<char>(text[i] - kKeptByte);
    run = i + 1;
  }
  return name + ToUtf8(text.Slice(run));
}
