// 16-bit PCM WAV output.
#pragma once
#include <string>
#include <vector>

namespace sfx {

// Mono samples in -1..1, clamped and rounded to 16 bits.
std::vector<unsigned char> encodeWav(const std::vector<float>& samples, int rate);
bool writeWav(const std::string& path, const std::vector<float>& samples, int rate);

}  // namespace sfx
