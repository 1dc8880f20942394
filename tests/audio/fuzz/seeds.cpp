// tests/audio/fuzz/seeds.cpp: well-formed (and a few hostile) sound files to
// start fuzzing from, and the harness that feeds one input to a decoder.
#include <cstdio>
#include <cstdlib>

#include "tests/audio/fuzz/fuzz_entry.h"

std::vector<Bytes> WavSeeds() {
  std::vector<Bytes> seeds;
  struct Layout {
    int channels, bits, fmt_size;
  };
  for (Layout layout : {Layout{1, 8, 16}, Layout{2, 16, 16}, Layout{1, 16, 18}, Layout{2, 8, 40}}) {
    WavLayout wav;
    wav.channels = layout.channels;
    wav.bits = layout.bits;
    wav.fmt_size = layout.fmt_size;
    wav.data = ToneData(64, layout.channels, layout.bits, wav.hertz, 440, 0.5);
    seeds.push_back(MakeWav(wav));
  }
  WavLayout chunks;
  chunks.before = {{"LIST", Bytes(12, 'i')}, {"odd ", Bytes(3, 7)}};
  chunks.data = ToneData(16, 1, 16, chunks.hertz, 440, 0.5);
  seeds.push_back(MakeWav(chunks));
  WavLayout extensible;
  extensible.compression = 0xFFFE;
  extensible.fmt_extension = ExtensibleFormat(16);
  extensible.data = chunks.data;
  seeds.push_back(MakeWav(extensible));
  // A chunk that claims far more than the file holds.
  Bytes hostile = MakeWav(WavLayout{});
  for (int i = 0; i < 4; ++i) hostile[40 + i] = i == 3 ? 0x7F : 0xF0;
  seeds.push_back(hostile);
  return seeds;
}

std::vector<Bytes> OggSeeds() {
  return {MakeOgg(1, 22050, 4410, 440), MakeOgg(2, 44100, 2205, 660), MakeOgg(1, 8000, 100, 300)};
}

int DecodeInput(const uint8_t* data, size_t size,
                unsigned char* (*decode)(FILE*, int*, int*, int*, int*)) {
  // A read-only stream over the bytes themselves: fast, and seekable like a file.
  static uint8_t empty = 0;
  FILE* file = fmemopen(size ? const_cast<uint8_t*>(data) : &empty, size, "rb");
  if (!file) return 0;
  int length = 0, channels = 0, format = 0, hertz = 0;
  unsigned char* pcm = decode(file, &length, &channels, &format, &hertz);
  if (pcm) {
    // Touch every byte the decoder claims to have produced.
    volatile unsigned char sum = 0;
    size_t bytes = static_cast<size_t>(length) * channels * format;
    for (size_t i = 0; i < bytes; ++i) sum = sum + pcm[i];
    free(pcm);
  }
  fclose(file);
  return 0;
}
