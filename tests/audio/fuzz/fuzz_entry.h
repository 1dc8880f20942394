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

// Runs `decode` over the bytes as an open file; frees whatever it returns.
int DecodeInput(const uint8_t* data, size_t size,
                unsigned char* (*decode)(FILE*, int*, int*, int*, int*));
