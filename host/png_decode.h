// host/png_decode.h: the game's own pictures (8-bit grey, grey and alpha, RGB
// or RGBA, not interlaced) decoded in one buffer: the image data is inflated
// straight into it and its rows unfiltered in place, so a picture costs its
// own bytes and its compressed data while it decodes. A general decoder holds
// the inflated rows and the pixels at once: twice a 2048 x 2048 picture's
// 16 MB, which sets the peak of a browser tab's heap.
#pragma once

#include <cstdio>

// The pixels (malloc'ed, rows top to bottom, `*depth` bytes a pixel), or
// null for any other kind of PNG and for a damaged one: the caller's general
// decoder then decodes it, or says what is wrong. The file is left at its start.
unsigned char* DecodePlainPng(FILE* file, int* width, int* height, int* depth);
