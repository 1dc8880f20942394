// host/desktop/png_part.cpp: a block of a plain PNG, its image data streamed
// through zlib a row at a time, so that only the block, two rows and the
// compressed data are held while it decodes.
#include <zlib.h>

#include <cstdlib>
#include <cstring>

#include "host/png_decode.h"

PngRead DecodePlainPngPart(FILE* file, unsigned long x, unsigned long y, unsigned long w,
                           unsigned long h) {
  PngRead read;
  int channels = 0;
  std::vector<unsigned char> data;
  ReadPngChunks(file, &read, &channels, &data);
  rewind(file);
  if (read.damaged || data.empty() || !PartInside(read.width, read.height, x, y, w, h)) {
    return read;
  }
  const size_t stride = static_cast<size_t>(read.width) * channels;
  const size_t partStride = static_cast<size_t>(w) * channels;
  auto* pixels = static_cast<unsigned char*>(malloc(partStride * h));
  if (!pixels) return read;
  // The filtered row as inflated (its filter byte first), and the row above it unfiltered.
  std::vector<unsigned char> row(stride + 1), above(stride), current(stride);
  z_stream stream{};
  bool whole = inflateInit(&stream) == Z_OK;
  stream.next_in = data.data();
  stream.avail_in = static_cast<uInt>(data.size());
  for (unsigned long at = 0; whole && at < y + h; ++at) {
    stream.next_out = row.data();
    stream.avail_out = static_cast<uInt>(row.size());
    int status = Z_OK;
    while (status == Z_OK && stream.avail_out > 0) status = inflate(&stream, Z_NO_FLUSH);
    whole = stream.avail_out == 0 && (status == Z_OK || status == Z_STREAM_END) &&
            UnfilterPngRow(row[0], row.data() + 1, current.data(), at > 0 ? above.data() : nullptr,
                           stride, channels);
    if (whole && at >= y) {
      memcpy(pixels + (at - y) * partStride, current.data() + x * channels, partStride);
    }
    above.swap(current);
  }
  inflateEnd(&stream);
  if (!whole) {
    free(pixels);
    return read;
  }
  read.pixels = pixels;
  read.depth = channels;
  return read;
}
