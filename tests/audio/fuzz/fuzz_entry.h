// tests/audio/fuzz/fuzz_entry.h: what each fuzz program defines: the entry
// point that decodes one input, and the well-formed files it starts from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/audio/sound_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
std::vector<Bytes> FuzzSeeds();

// The seeds of each decoder, shared by the fuzz programs and fuzz_seeds.
std::vector<Bytes> WavSeeds();
std::vector<Bytes> OggSeeds();

// Loads the bytes as the sample file `name` (its extension picks the decoder).
int LoadAsSample(const uint8_t* data, size_t size, const char* name);
