// host/web/png_part.cpp: the page has no streaming inflater, so no part is
// decoded alone here: the caller cuts it from the whole picture instead
// (RkGame::LoadImagePart), which costs the picture while it is cut.
#include "host/png_decode.h"

PngRead DecodePlainPngPart(FILE*, unsigned long, unsigned long, unsigned long, unsigned long) {
  return PngRead();
}
