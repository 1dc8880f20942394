// A strict reader of RIFF WAV files for the tests: 16-bit PCM only.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace datatest {

struct Wav {
  int channels = 0, rate = 0, bits = 0;
  std::vector<float> samples;  // interleaved, -1..1
};

inline uint32_t le32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
inline uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Walks the chunks (each padded to an even size); needs "fmt " before "data".
// Returns false with `error` set on anything it cannot accept.
inline bool parseWav(const std::vector<unsigned char>& bytes, Wav& out, std::string& error) {
  if (bytes.size() < 12 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF" ||
      std::string(bytes.begin() + 8, bytes.begin() + 12) != "WAVE") {
    error = "not a RIFF WAVE file";
    return false;
  }
  if (le32(&bytes[4]) + 8 != bytes.size()) {
    error = "RIFF size does not match the file";
    return false;
  }
  bool haveFormat = false;
  size_t at = 12;
  while (at + 8 <= bytes.size()) {
    std::string id(bytes.begin() + at, bytes.begin() + at + 4);
    size_t size = le32(&bytes[at + 4]);
    const unsigned char* body = &bytes[at + 8];
    if (at + 8 + size > bytes.size()) {
      error = "chunk " + id + " runs past the end";
      return false;
    }
    if (id == "fmt ") {
      if (size < 16 || le16(body) != 1) {
        error = "not plain PCM";
        return false;
      }
      out.channels = le16(body + 2);
      out.rate = static_cast<int>(le32(body + 4));
      out.bits = le16(body + 14);
      if (out.bits != 16 || out.channels < 1 || out.channels > 2 || le16(body + 12) != 2 * out.channels ||
          le32(body + 8) != static_cast<uint32_t>(out.rate * 2 * out.channels)) {
        error = "unexpected sample format";
        return false;
      }
      haveFormat = true;
    } else if (id == "data") {
      if (!haveFormat) {
        error = "data before fmt";
        return false;
      }
      for (size_t i = 0; i + 1 < size; i += 2) out.samples.push_back(static_cast<int16_t>(le16(body + i)) / 32768.0f);
      return true;
    }
    at += 8 + size + (size & 1);
  }
  error = "no data chunk";
  return false;
}

}  // namespace datatest
