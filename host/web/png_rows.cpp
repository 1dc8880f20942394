// host/web/png_rows.cpp: a band of a plain PNG's rows, cut from the whole
// picture decoded in one buffer (the page has no streaming inflater).
#include <cstdlib>

#include "host/png_decode.h"

PngRead DecodePlainPngRows(FILE* file, unsigned long first, unsigned long count) {
  PngRead read = DecodePlainPng(file);
  if (!read.pixels) return read;
  if (count == 0 || first >= read.height || count > read.height - first) {
    free(read.pixels);
    read.pixels = nullptr;
    return read;
  }
  read.pixels = KeepPngRows(read.pixels, read.width * read.depth, first, count);
  return read;
}
