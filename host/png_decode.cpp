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

}  // namespace

bool UnfilterPngRow(int filter, const unsigned char* in, unsigned char* out,
                    const unsigned char* above, size_t bytes, size_t step) {
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

void ReadPngChunks(FILE* file, PngRead* read, int* channels, std::vector<unsigned char>* data) {
  if (fseek(file, 0, SEEK_END) != 0) return;
  const long size = ftell(file);
  rewind(file);
  unsigned char head[8];
  if (size < 0 || fread(head, 1, 8, file) != 8 || memcmp(head, kSignature, 8) != 0) return;
  read->png = true;
  bool plain = true;
  bool first = true;
  while (fread(head, 1, 8, file) == 8) {
    const unsigned long length = Big32(head);
    const long at = ftell(file);
    if (at < 0 || length + 4 > static_cast<unsigned long>(size - at)) {
      read->damaged = true;
      return;
    }
    const bool header = first && length == 13 && memcmp(head + 4, "IHDR", 4) == 0;
    unsigned char fields[13];
    if (header && fread(fields, 1, 13, file) == 13) {
      read->width = Big32(fields);
      read->height = Big32(fields + 4);
      const int colourType = fields[9];
      // Other depths, palettes and interlacing go to the general decoder.
      plain = read->width > 0 && read->height > 0 && read->width <= kLargestPicture &&
              read->height <= kLargestPicture && fields[8] == 8 && colourType <= 6 &&
              kChannels[colourType] != 0 && fields[10] == 0 && fields[11] == 0 && fields[12] == 0;
      *channels = colourType <= 6 ? kChannels[colourType] : 0;
      fseek(file, 4, SEEK_CUR);
    } else {
      plain = plain && !first;
      // A transparent colour gives the picture an alpha channel: the general decoder's work.
      if (memcmp(head + 4, "tRNS", 4) == 0) plain = false;
      if (memcmp(head + 4, "IEND", 4) == 0) break;
      const bool keep = plain && memcmp(head + 4, "IDAT", 4) == 0;
      const size_t start = data->size();
      if (keep) data->resize(start + length);
      if (keep ? fread(data->data() + start, 1, length, file) != length || fseek(file, 4, SEEK_CUR) != 0
               : fseek(file, static_cast<long>(length) + 4, SEEK_CUR) != 0) {
        plain = false;
      }
    }
    first = false;
  }
  if (!plain) data->clear();
}

PngRead DecodePlainPng(FILE* file) {
  PngRead read;
  int channels = 0;
  std::vector<unsigned char> data;
  ReadPngChunks(file, &read, &channels, &data);
  rewind(file);
  if (read.damaged || data.empty()) return read;
  const size_t stride = static_cast<size_t>(read.width) * channels;
  const size_t rows = static_cast<size_t>(read.height);
  const size_t filtered = (stride + 1) * rows;
  auto* pixels = static_cast<unsigned char*>(malloc(filtered));
  if (!pixels) return read;
  bool whole = stbi_zlib_decode_buffer(reinterpret_cast<char*>(pixels), static_cast<int>(filtered),
                                       reinterpret_cast<const char*>(data.data()),
                                       static_cast<int>(data.size())) == static_cast<int>(filtered);
  for (size_t row = 0; whole && row < rows; ++row) {
    const unsigned char* in = pixels + row * (stride + 1);
    whole = UnfilterPngRow(in[0], in + 1, pixels + row * stride,
                     row > 0 ? pixels + (row - 1) * stride : nullptr, stride, channels);
  }
  if (!whole) {
    free(pixels);
    return read;
  }
  // The filter bytes' room goes back.
  if (auto* fitted = static_cast<unsigned char*>(realloc(pixels, stride * rows))) pixels = fitted;
  read.pixels = pixels;
  read.depth = channels;
  return read;
}

bool PartInside(long width, long height, long x, long y, long w, long h) {
  return x >= 0 && y >= 0 && w > 0 && h > 0 && x < width && y < height && w <= width - x &&
         h <= height - y;
}

unsigned char* KeepPngPart(unsigned char* pixels, size_t width, size_t depth, size_t x, size_t y,
                           size_t w, size_t h) {
  // Each row's part lies at or after where it goes: moved top down, nothing is overwritten unread.
  for (size_t row = 0; row < h; ++row) {
    memmove(pixels + row * w * depth, pixels + ((y + row) * width + x) * depth, w * depth);
  }
  auto* fitted = static_cast<unsigned char*>(realloc(pixels, w * h * depth));
  return fitted ? fitted : pixels;
}
