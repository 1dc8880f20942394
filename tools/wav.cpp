// 16-bit PCM WAV output: a RIFF file with one "fmt " and one "data" chunk.
#include "tools/wav.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>

namespace sfx {

namespace {
void put32(std::vector<unsigned char>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void put16(std::vector<unsigned char>& out, uint16_t v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}
void putTag(std::vector<unsigned char>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(tag[i]));
}
}  // namespace

std::vector<unsigned char> encodeWav(const std::vector<float>& samples, int rate) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<unsigned char> out;
  out.reserve(44 + dataBytes);
  putTag(out, "RIFF");
  put32(out, 36 + dataBytes);
  putTag(out, "WAVE");
  putTag(out, "fmt ");
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, static_cast<uint32_t>(rate));
  put32(out, static_cast<uint32_t>(rate) * 2);
  put16(out, 2);   // block align
  put16(out, 16);  // bits
  putTag(out, "data");
  put32(out, dataBytes);
  for (float s : samples) {
    long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    put16(out, static_cast<uint16_t>(static_cast<int16_t>(v)));
  }
  return out;
}

bool writeWav(const std::string& path, const std::vector<float>& samples, int rate) {
  std::vector<unsigned char> bytes = encodeWav(samples, rate);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace sfx
