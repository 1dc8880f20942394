// tests/audio/fuzz/ogg_fuzz.cpp: fuzzes the Ogg Vorbis decoder.
#include "audio/decode.h"
#include "tests/audio/fuzz/fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return DecodeInput(data, size, LoadOGG);
}

std::vector<Bytes> FuzzSeeds() { return OggSeeds(); }
