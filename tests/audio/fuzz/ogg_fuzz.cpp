// tests/audio/fuzz/ogg_fuzz.cpp: fuzzes the Ogg Vorbis decoder through the game's sample loading.
#include "tests/audio/fuzz/fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return LoadAsSample(data, size, "input.ogg");
}

std::vector<Bytes> FuzzSeeds() { return OggSeeds(); }
