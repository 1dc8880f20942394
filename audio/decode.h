// audio/decode.h: the WAVE and Ogg Vorbis decoders.
//
// Each decoder reads from an open file and hands the sound to a sink a block
// at a time (audio/sink.h); the Load functions gather it into one malloc'ed
// block the caller frees, or null. Outputs: length in sample frames,
// channels (1 or 2; a file with more decodes, but OpenAL has no format for
// it), format in bytes per value (1 unsigned 8-bit, 2 signed 16-bit), hertz.
// Main thread only: the Ogg decoder keeps its allocations in one global list.
#pragma once

#include <cstdio>

#include "audio/sink.h"

// True when the whole sound decoded and the sink took all of it.
bool DecodeWAV(FILE* file, AudioSink& sink);
bool DecodeOGG(FILE* file, AudioSink& sink);

// Gathers a sound into one malloc'ed block, sized once when the length is declared.
class BlockSink : public AudioSink {
 public:
  ~BlockSink() override;
  bool Begin(long frames, int channels, int bytes_per_value, int hertz) override;
  bool Take(const unsigned char* values, int frames) override;
  // The block (the caller frees it; the sink forgets it) with its layout, or
  // null when nothing was gathered.
  unsigned char* Release(int* length, int* channels, int* format, int* hertz);

 private:
  unsigned char* block_ = nullptr;
  long capacity_ = 0;  // frames
  long count_ = 0;     // frames
  int channels_ = 0, bytes_per_value_ = 0, hertz_ = 0;
};

unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* format, int* hertz);
unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* format, int* hertz);

// The WAVE field readers. readTag: the next 4 bytes as a NUL-terminated tag
// in a static buffer, or "" when fewer remain. readInt / readShort: the next
// little-endian 32- / 16-bit value (the short unsigned), or -1 when it cannot be read.
const char* readTag(FILE* file);
int readInt(FILE* file);
int readShort(FILE* file);
