// tests/audio/sound_files.h: sound files made by the tests (WAVE chunk by
// chunk, Ogg through libvorbisenc), and a scratch folder to keep them in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct WavChunk {
  std::string tag;
  Bytes body;
};

struct WavLayout {
  int compression = 1;  // 1 is PCM
  int channels = 1;
  int bits = 16;
  int hertz = 22050;
  Bytes fmt_extension;           // follows the 16 bytes of fields in "fmt "
  int fmt_size = 16;             // bytes past the fields and the extension are zero padding
  std::vector<WavChunk> before;  // chunks between "fmt " and "data"
  bool pad_odd_chunks = true;    // RIFF's zero byte after each chunk of odd size
  Bytes data;                    // the samples, as stored
};

Bytes MakeWav(const WavLayout& wav);
// The "fmt " extension of WAVE_FORMAT_EXTENSIBLE (0xFFFE): its size, the
// valid bits, the channel mask and the sub-format GUID, PCM's when
// `sub_format` is 1 (3 is float).
Bytes ExtensibleFormat(int bits, uint8_t sub_format = 1);
// `frames` of a sine at `pitch` hertz, interleaved in every channel alike, as
// stored in a WAVE file (unsigned 8-bit or signed 16-bit little-endian).
Bytes ToneData(int frames, int channels, int bits, int hertz, double pitch, double amplitude);
// A Vorbis stream of `frames` of a sine at `pitch` hertz in each channel.
Bytes MakeOgg(int channels, int hertz, int frames, double pitch);

// A fresh scratch folder for this process, and a path in it.
std::string ScratchPath(const std::string& name);
void WriteFile(const std::string& path, const Bytes& bytes);
Bytes ReadFile(const std::string& path);
