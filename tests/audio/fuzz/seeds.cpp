// tests/audio/fuzz/seeds.cpp: well-formed (and a few hostile) sound files to
// start fuzzing from, and the harness that feeds one input to the game's
// sample loading.
#include <string>

#include "tests/audio/test_device.h"

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

// The bytes become a sound file in the test host's data folder, loaded as the
// game loads a sample: decoded into an OpenAL buffer on the null device,
// straight into mapped storage when the file declares its length, and
// decoded a second time, gathered whole, when that length proved wrong; and
// as the game's music, streamed.
int LoadAsSample(const uint8_t* data, size_t size, const char* name) {
  static gxtkAudio* device = NullDevice();
  static long loads = 0;
  const std::string path = ScratchPath(name);
  WriteFile(path, Bytes(data, data + size));
  if (gxtkSample* sample = device->LoadSample(String(path.c_str()))) sample->Discard();
  // A tune is streamed instead: its first blocks are decoded as it starts,
  // a short one looped (made again from its start) to fill them, for odd sizes.
  if (device->PlayMusic(String(path.c_str()), static_cast<int>(size & 1)) == 0) device->StopMusic();
  // The host collects after every event; a few hundred loads here are one.
  if (++loads % 256 == 0) gc_collect();
  return 0;
}
