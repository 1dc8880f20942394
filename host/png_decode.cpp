// host/png_decode.cpp: one-buffer decoding of plain PNG pictures.
#include "host/png_decode.h"

#include <cstdlib>
#include <cstring>
#include <stb/stb_image.h>
#include <vector>

namespace {

const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Bytes a pixel by colour type: grey, RGB, grey and alpha, RGBA (0: not taken here).
const int kChannels[7] = {1, 0, 3, 0, 2, 0, 4};
constexpr unsigned long kLargestSide = 8192;

unsigned long Big32(const unsigned char* p) {
  return static_cast<unsigned long>(p[0]) << 24 | static_cast<unsigned long>(p[1]) << 16 |
         static_cast<unsigned long>(p[2]) << 8 | p[3];
}

int Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// One row's filtered bytes `in` become its pixels `out`, which lies at or
// before `in` in the same buffer: each byte is read before anything is
// written over it. `above` is the row above, already unfiltered (null for
// the first row); `step` the bytes of a pixel.
bool Unfilter(int filter, const unsigned char* in, unsigned char* out, const unsigned char* above,
              size_t bytes, size_t step) {
  auto left = [&](size_t i) { return i >= step ? out[i - step] : 0; };
  auto up = [&](size_t i) { return above ? above[i] : 0; };
  auto upLeft = [&](size_t i) { return above && i >= step ? above[i - step] : 0; };
  switch (filter) {
    case 0:
      memmove(out, in, bytes);
      return true;
    case 1:
      for (size_t i = 0; i < bytes; ++i) out[i] = static_cast<unsigned char>(in[i] + left(i));
      return true;
    case 2:
      for (size_t i = 0; i < bytes; ++i) out[i] = static_cast<unsigned char>(in[i] + up(i));
      return true;
    case 3:
      for (size_t i = 0; i < bytes; ++i) {
        out[i] = static_cast<unsigned char>(in[i] + ((left(i) + up(i)) >> 1));
      }
      return true;
    case 4:
      for (size_t i = 0; i < bytes; ++i) {
        out[i] = static_cast<unsigned char>(in[i] + Paeth(left(i), up(i), upLeft(i)));
      }
      return true;
    default:
      return false;
  }
}

// The image data of a plain PNG, its chunks' lengths checked against the file.
bool ReadPlainPng(FILE* file, unsigned long* width, unsigned long* height, int* channels,
                  std::vector<unsigned char>* data) {
  if (fseek(file, 0, SEEK_END) != 0) return false;
  const long size = ftell(file);
  rewind(file);
  unsigned char head[8];
  unsigned char header[17];
  if (size < 0 || fread(head, 1, 8, file) != 8 || memcmp(head, kSignature, 8) != 0) return false;
  if (fread(head, 1, 8, file) != 8 || Big32(head) != 13 || memcmp(head + 4, "IHDR", 4) != 0 ||
      fread(header, 1, 17, file) != 17) {
    return false;
  }
  *width = Big32(header);
  *height = Big32(header + 4);
  const int colourType = header[9];
  // Other depths, palettes and interlacing go to the general decoder.
  if (*width == 0 || *height == 0 || *width > kLargestSide || *height > kLargestSide ||
      header[8] != 8 || colourType > 6 || kChannels[colourType] == 0 || header[10] != 0 ||
      header[11] != 0 || header[12] != 0) {
    return false;
  }
  *channels = kChannels[colourType];
  while (fread(head, 1, 8, file) == 8) {
    const unsigned long length = Big32(head);
    const long at = ftell(file);
    if (at < 0 || length + 4 > static_cast<unsigned long>(size - at)) return false;
    // A transparent colour gives the picture an alpha channel: the general decoder's work.
    if (memcmp(head + 4, "tRNS", 4) == 0) return false;
    if (memcmp(head + 4, "IEND", 4) == 0) return !data->empty();
    if (memcmp(head + 4, "IDAT", 4) == 0) {
      const size_t start = data->size();
      data->resize(start + length);
      if (fread(data->data() + start, 1, length, file) != length || fseek(file, 4, SEEK_CUR) != 0) {
        return false;
      }
    } else if (fseek(file, static_cast<long>(length) + 4, SEEK_CUR) != 0) {
      return false;
    }
  }
  return false;
}

}  // namespace

unsigned char* DecodePlainPng(FILE* file, int* width, int* height, int* depth) {
  unsigned long pixelsWide = 0, rows = 0;
  int channels = 0;
  std::vector<unsigned char> data;
  const bool plain = ReadPlainPng(file, &pixelsWide, &rows, &channels, &data);
  rewind(file);
  if (!plain) return nullptr;
  const size_t stride = pixelsWide * channels;
  const size_t filtered = (stride + 1) * rows;
  auto* pixels = static_cast<unsigned char*>(malloc(filtered));
  if (!pixels) return nullptr;
  bool whole = stbi_zlib_decode_buffer(reinterpret_cast<char*>(pixels), static_cast<int>(filtered),
                                       reinterpret_cast<const char*>(data.data()),
                                       static_cast<int>(data.size())) == static_cast<int>(filtered);
  for (size_t row = 0; whole && row < rows; ++row) {
    const unsigned char* in = pixels + row * (stride + 1);
    whole = Unfilter(in[0], in + 1, pixels + row * stride,
                     row > 0 ? pixels + (row - 1) * stride : nullptr, stride, channels);
  }
  if (!whole) {
    free(pixels);
    return nullptr;
  }
  // The filter bytes' room goes back.
  if (auto* fitted = static_cast<unsigned char*>(realloc(pixels, stride * rows))) pixels = fitted;
  *width = static_cast<int>(pixelsWide);
  *height = static_cast<int>(rows);
  *depth = channels;
  return pixels;
}
