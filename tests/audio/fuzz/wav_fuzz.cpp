// tests/audio/fuzz/wav_fuzz.cpp: fuzzes the WAVE decoder through the game's sample loading.
#include "tests/audio/fuzz/fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return LoadAsSample(data, size, "input.wav");
}

std::vector<Bytes> FuzzSeeds() { return WavSeeds(); }
