// tests/audio/fuzz/wav_fuzz.cpp: fuzzes the WAVE decoder.
#include "audio/decode.h"
#include "tests/audio/fuzz/fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return DecodeInput(data, size, LoadWAV);
}

std::vector<Bytes> FuzzSeeds() { return WavSeeds(); }
