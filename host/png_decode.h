// host/png_decode.h: the game's own pictures (8-bit grey, grey and alpha, RGB
// or RGBA, not interlaced) decoded in one buffer: the image data is inflated
// straight into it and its rows unfiltered in place, so a picture costs its
// own bytes and its compressed data while it decodes. A general decoder holds
// the inflated rows and the pixels at once: twice a 2048 x 2048 picture's
// 16 MB, which sets the peak of a browser tab's heap.
#pragma once

#include <cstdio>
#include <vector>

// Pixels on a side; the game's largest pictures have 2048. No texture takes
// more, so a larger picture is refused before anything is allocated for it.
constexpr unsigned long kLargestPicture = 8192;

struct PngRead {
  // The pixels (malloc'ed, rows top to bottom, `depth` bytes a pixel), or
  // null when the general decoder is to decode the file: another kind of
  // PNG, or another format.
  unsigned char* pixels = nullptr;
  // Whether the file is a PNG; if so, the size its header declares.
  bool png = false;
  unsigned long width = 0;
  unsigned long height = 0;
  int depth = 0;
  // A chunk claims more bytes than the file holds: a decoder would allocate
  // them (up to 4 GB) before finding the file too short.
  bool damaged = false;
};

// Reads each chunk of a PNG once; the file is left at its start.
PngRead DecodePlainPng(FILE* file);

// Only the w x h block at (x, y) of a plain PNG (read.pixels holds just it;
// read.width and read.height are still the picture's): a frame of a large
// sheet costs its own pixels, not the sheet's. Null pixels as for
// DecodePlainPng, for a block not inside the picture, and in the page, which
// has no streaming inflater: there the caller cuts the block from the whole.
PngRead DecodePlainPngPart(FILE* file, unsigned long x, unsigned long y, unsigned long w,
                           unsigned long h);

// Whether a non-empty w x h block at (x, y) lies inside a width x height picture.
bool PartInside(long width, long height, long x, long y, long w, long h);
// Moves the w x h block at (x, y) of a malloc'ed width-wide picture to its
// start and gives back the rest of the memory; the block, possibly moved.
unsigned char* KeepPngPart(unsigned char* pixels, size_t width, size_t depth, size_t x, size_t y,
                           size_t w, size_t h);

// Shared by the decoders. Walks the chunks, each checked against the file's
// size, keeping the image data (the IDAT chunks end to end) when the picture
// is a plain one; `channels` gets the bytes of a pixel.
void ReadPngChunks(FILE* file, PngRead* read, int* channels, std::vector<unsigned char>* data);
// One row's filtered bytes `in` become its pixels `out`, which lies at or
// before `in` in the same buffer: each byte is read before anything is
// written over it. `above` is the row above, already unfiltered (null for
// the first row); `step` the bytes of a pixel.
bool UnfilterPngRow(int filter, const unsigned char* in, unsigned char* out,
                    const unsigned char* above, size_t bytes, size_t step);
