// What the game expects of its data folder, and small readers for the tests.
#pragma once
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "stb_image.h"

namespace datatest {

inline std::string dataDir() { return MARVOLET_TEST_DATA_DIR; }

// Name, frame size at level 1 and frame count, as the game loads them.
struct ImageLayout {
  const char* name;
  int frameW, frameH, frames;
};
inline const std::vector<ImageLayout>& gameImages() {
  static const std::vector<ImageLayout> images = {
      {"dice", 64, 64, 16},          {"grid", 68, 68, 9},        {"calc", 68, 68, 9},
      {"digits", 28, 44, 13},
      {"BadgesA", 64, 64, 64},       {"common/circle", 256, 256, 4}, {"common/light", 32, 32, 4},
      {"fonts/shadow_editundo", 16, 16, 128}, {"common/ZelkLogo", 256, 256, 1}, {"common/dpad", 32, 32, 16},
      {"common/Buttons", 64, 64, 16}, {"parts", 8, 8, 256},      {"common/icons", 32, 32, 16},
      {"logo", 256, 128, 1},          {"menu", 256, 256, 4}};
  return images;
}

inline std::string levelFile(const std::string& name, int level) {
  return dataDir() + "/" + name + (level == 4 ? "-hd2" : level == 2 ? "-hd" : "") + ".png";
}

// An RGBA picture with premultiplied float channels, for comparisons.
struct Picture {
  int w = 0, h = 0, channels = 0;
  std::vector<float> px;  // r g b a, premultiplied, 0..1
  bool ok() const { return w > 0; }
  const float* at(int x, int y) const { return &px[(static_cast<size_t>(y) * w + x) * 4]; }
};

inline Picture loadPicture(const std::string& file) {
  Picture p;
  int w = 0, h = 0, n = 0;
  unsigned char* data = stbi_load(file.c_str(), &w, &h, &n, 4);
  if (!data) return p;
  p.w = w;
  p.h = h;
  p.channels = n;
  p.px.resize(static_cast<size_t>(w) * h * 4);
  for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
    float a = data[i * 4 + 3] / 255.0f;
    for (int c = 0; c < 3; ++c) p.px[i * 4 + c] = data[i * 4 + c] / 255.0f * a;
    p.px[i * 4 + 3] = a;
  }
  stbi_image_free(data);
  return p;
}

// Top-left corners of the frames as the image loader cuts a grid: left to
// right, then top to bottom; empty when a frame would fall outside.
struct Corner {
  int x, y;
};
inline std::vector<Corner> cutFrames(int surfaceW, int surfaceH, int fw, int fh, int count) {
  std::vector<Corner> corners;
  int x = 0, y = 0;
  for (int i = 0; i < count; ++i) {
    if (x + fw > surfaceW) {
      if (fw > surfaceW) return {};
      x = 0;
      y += fh;
    }
    if (y + fh > surfaceH) return {};
    corners.push_back({x, y});
    x += fw;
  }
  return corners;
}

// Sum of alpha over a frame, in pixels' worth of full coverage.
inline float ink(const Picture& p, Corner c, int fw, int fh) {
  float sum = 0;
  for (int y = c.y; y < c.y + fh; ++y)
    for (int x = c.x; x < c.x + fw; ++x) sum += p.at(x, y)[3];
  return sum;
}

inline std::vector<unsigned char> readFile(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace datatest
