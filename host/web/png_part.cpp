// host/web/png_part.cpp: a block of a plain PNG, cut from the whole picture
// decoded in one buffer (the page has no streaming inflater).
#include <cstdlib>

#include "host/png_decode.h"

PngRead DecodePlainPngPart(FILE* file, unsigned long x, unsigned long y, unsigned long w,
                           unsigned long h) {
  PngRead read = DecodePlainPng(file);
  if (!read.pixels) return read;
  if (!PartInside(read, x, y, w, h)) {
    free(read.pixels);
    read.pixels = nullptr;
    return read;
  }
  read.pixels = KeepPngPart(read.pixels, read.width, read.depth, x, y, w, h);
  return read;
}
