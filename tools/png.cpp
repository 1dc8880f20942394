// PNG writing for the generated art: lossless, as small as a build can afford, deterministic.
#include "tools/png.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace art {
namespace {

using Bytes = std::vector<unsigned char>;

// The image data gets libdeflate's level 11: 40 % smaller than a plain
// writer's (most of what a browser player downloads). Level 12 saves 1 % more
// and doubles the generator's time, which every build from source waits for.
// The filters of a row are ranked with the quickest level.
constexpr int kFinalLevel = 11;
constexpr int kTrialLevel = 1;

class Compressor {
 public:
  explicit Compressor(int level) : m_c(libdeflate_alloc_compressor(level)) {}
  ~Compressor() { libdeflate_free_compressor(m_c); }
  Compressor(const Compressor&) = delete;
  Compressor& operator=(const Compressor&) = delete;
  bool ok() const { return m_c != nullptr; }
  size_t deflatedSize(const Bytes& in, Bytes& scratch) {
    scratch.resize(libdeflate_deflate_compress_bound(m_c, in.size()));
    return libdeflate_deflate_compress(m_c, in.data(), in.size(), scratch.data(), scratch.size());
  }
  Bytes zlib(const Bytes& in) {
    Bytes out(libdeflate_zlib_compress_bound(m_c, in.size()));
    out.resize(libdeflate_zlib_compress(m_c, in.data(), in.size(), out.data(), out.size()));
    return out;
  }

 private:
  libdeflate_compressor* m_c;
};

int paeth(int a, int b, int c) {
  int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// Row `cur` through PNG filter `type` (0 none, 1 sub, 2 up, 3 average, 4 Paeth);
// `prev` is the row above, zeros for the first.
void filterRow(int type, const unsigned char* cur, const unsigned char* prev, size_t n, size_t bpp,
               unsigned char* out) {
  for (size_t i = 0; i < n; ++i) {
    int a = i >= bpp ? cur[i - bpp] : 0, b = prev[i], c = i >= bpp ? prev[i - bpp] : 0;
    int predicted = 0;
    switch (type) {
      case 1: predicted = a; break;
      case 2: predicted = b; break;
      case 3: predicted = (a + b) / 2; break;
      case 4: predicted = paeth(a, b, c); break;
    }
    out[i] = static_cast<unsigned char>(cur[i] - predicted);
  }
}

// The filtered rows, each led by its filter type: the type whose row
// compresses smallest right after the row chosen above it, since a row that
// repeats its neighbour is what deflate's matches pay for.
Bytes filterRows(const Bytes& samples, size_t rowBytes, size_t bpp, Compressor& quick) {
  size_t height = samples.size() / rowBytes;
  Bytes out, zeros(rowBytes, 0), pair(2 * rowBytes, 0), best(rowBytes), scratch;
  out.reserve((rowBytes + 1) * height);
  for (size_t y = 0; y < height; ++y) {
    const unsigned char* cur = samples.data() + y * rowBytes;
    const unsigned char* prev = y ? cur - rowBytes : zeros.data();
    size_t bestSize = 0;
    int bestType = 0;
    for (int type = 0; type < 5; ++type) {
      filterRow(type, cur, prev, rowBytes, bpp, pair.data() + rowBytes);
      size_t size = quick.deflatedSize(pair, scratch);
      if (type == 0 || size < bestSize) {
        bestSize = size;
        bestType = type;
        std::copy(pair.begin() + static_cast<long>(rowBytes), pair.end(), best.begin());
      }
    }
    out.push_back(static_cast<unsigned char>(bestType));
    out.insert(out.end(), best.begin(), best.end());
    std::copy(best.begin(), best.end(), pair.begin());
  }
  return out;
}

uint32_t colourKey(const unsigned char* p) {  // alpha first, so ramps of one colour sort together
  return uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

// The picture's colours, sorted, if there are at most 256; empty otherwise.
std::vector<uint32_t> paletteOf(const Bytes& rgba) {
  std::vector<uint32_t> colours;
  for (size_t i = 0; i < rgba.size(); i += 4) {
    uint32_t key = colourKey(&rgba[i]);
    auto at = std::lower_bound(colours.begin(), colours.end(), key);
    if (at != colours.end() && *at == key) continue;
    if (colours.size() == 256) return {};
    colours.insert(at, key);
  }
  return colours;
}

void put32(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(v >> shift));
}

void chunk(Bytes& png, const char* type, const Bytes& data) {
  put32(png, static_cast<uint32_t>(data.size()));
  size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  put32(png, libdeflate_crc32(0, png.data() + start, png.size() - start));
}

}  // namespace

std::vector<unsigned char> encodePng(int width, int height, const std::vector<unsigned char>& rgba) {
  if (width <= 0 || height <= 0 || rgba.size() != static_cast<size_t>(width) * height * 4) return {};
  Compressor quick(kTrialLevel), best(kFinalLevel);
  if (!quick.ok() || !best.ok()) return {};

  std::vector<uint32_t> palette = paletteOf(rgba);
  Bytes samples, plte, trns;
  size_t bpp = 4;
  if (!palette.empty()) {
    // Every entry gets a transparency value, so decoders give four channels as before.
    bpp = 1;
    samples.reserve(rgba.size() / 4);
    for (size_t i = 0; i < rgba.size(); i += 4) {
      auto at = std::lower_bound(palette.begin(), palette.end(), colourKey(&rgba[i]));
      samples.push_back(static_cast<unsigned char>(at - palette.begin()));
    }
    for (uint32_t key : palette) {
      plte.insert(plte.end(), {static_cast<unsigned char>(key >> 16), static_cast<unsigned char>(key >> 8),
                               static_cast<unsigned char>(key)});
      trns.push_back(static_cast<unsigned char>(key >> 24));
    }
  }
  const Bytes& source = palette.empty() ? rgba : samples;
  Bytes image = best.zlib(filterRows(source, static_cast<size_t>(width) * bpp, bpp, quick));
  if (image.empty()) return {};

  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  Bytes header;
  put32(header, static_cast<uint32_t>(width));
  put32(header, static_cast<uint32_t>(height));
  // 8 bits a sample; palette (3) or RGBA (6); deflate, adaptive filters, no interlace
  header.insert(header.end(), {8, static_cast<unsigned char>(palette.empty() ? 6 : 3), 0, 0, 0});
  chunk(png, "IHDR", header);
  if (!palette.empty()) {
    chunk(png, "PLTE", plte);
    chunk(png, "tRNS", trns);
  }
  chunk(png, "IDAT", image);
  chunk(png, "IEND", {});
  return png;
}

bool writePngFile(const std::string& path, int width, int height, const std::vector<unsigned char>& rgba) {
  Bytes png = encodePng(width, height, rgba);
  if (png.empty()) return false;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace art
