// audio/decode.h: whole sound files decoded into PCM blocks.
//
// Each decoder reads from an open file and returns a malloc'ed block the
// caller frees, or null. Outputs: length in sample frames, channels (1 or 2;
// a file with more decodes, but OpenAL has no format for it), format in bytes
// per value (1 unsigned 8-bit, 2 signed 16-bit), hertz. Main thread only:
// the Ogg decoder keeps its allocations in one global list.
#pragma once

#include <cstdio>

unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* format, int* hertz);
unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* format, int* hertz);

// The WAVE field readers. readTag: the next 4 bytes as a NUL-terminated tag
// in a static buffer, or "" when fewer remain. readInt / readShort: the next
// little-endian 32- / 16-bit value (the short unsigned), or -1 when it cannot be read.
const char* readTag(FILE* file);
int readInt(FILE* file);
int readShort(FILE* file);
