// host/data_path.cpp: asset paths and the program's folder.
#include "host/data_path.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

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
      std::string folder = exe.substr(0, exe.rfind('/'));
      return String::Decode(reinterpret_cast<const unsigned char*>(folder.data()),
                            static_cast<int>(folder.size()));
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
