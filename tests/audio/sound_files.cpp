// tests/audio/sound_files.cpp: writers of test sounds and scratch files.
#include "tests/audio/sound_files.h"

#include <unistd.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

void PutLittleEndian(Bytes& out, uint32_t value, int count) {
  for (int i = 0; i < count; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutChunk(Bytes& out, const std::string& tag, const Bytes& body, bool pad = true) {
  out.insert(out.end(), tag.begin(), tag.end());
  PutLittleEndian(out, static_cast<uint32_t>(body.size()), 4);
  out.insert(out.end(), body.begin(), body.end());
  if (pad && body.size() % 2) out.push_back(0);
}

void AppendPage(Bytes& out, const ogg_page& page) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

Bytes MakeWav(const WavLayout& wav) {
  Bytes fmt;
  int block = wav.channels * wav.bits / 8;
  PutLittleEndian(fmt, wav.compression, 2);
  PutLittleEndian(fmt, wav.channels, 2);
  PutLittleEndian(fmt, wav.hertz, 4);
  PutLittleEndian(fmt, wav.hertz * block, 4);
  PutLittleEndian(fmt, block, 2);
  PutLittleEndian(fmt, wav.bits, 2);
  fmt.insert(fmt.end(), wav.fmt_extension.begin(), wav.fmt_extension.end());
  fmt.resize(std::max(fmt.size(), static_cast<size_t>(wav.fmt_size)), 0);

  Bytes body = {'W', 'A', 'V', 'E'};
  PutChunk(body, "fmt ", fmt, wav.pad_odd_chunks);
  for (const WavChunk& chunk : wav.before) {
    PutChunk(body, chunk.tag, chunk.body, wav.pad_odd_chunks);
  }
  PutChunk(body, "data", wav.data, wav.pad_odd_chunks);
  Bytes file;
  PutChunk(file, "RIFF", body);
  return file;
}

Bytes ExtensibleFormat(int bits, uint8_t sub_format) {
  Bytes extension = {22, 0};
  PutLittleEndian(extension, static_cast<uint32_t>(bits), 2);
  PutLittleEndian(extension, 3, 4);  // front left and right
  const Bytes guid_tail = {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
  PutLittleEndian(extension, sub_format, 2);
  extension.insert(extension.end(), guid_tail.begin(), guid_tail.end());
  return extension;
}

Bytes ToneData(int frames, int channels, int bits, int hertz, double pitch, double amplitude) {
  Bytes out;
  for (int i = 0; i < frames; ++i) {
    double value = amplitude * std::sin(2 * M_PI * pitch * i / hertz);
    for (int c = 0; c < channels; ++c) {
      if (bits == 8) {
        out.push_back(static_cast<uint8_t>(std::lround(128 + 127 * value)));
      } else {
        PutLittleEndian(out, static_cast<uint16_t>(std::lround(32767 * value)), 2);
      }
    }
  }
  return out;
}

Bytes MakeOgg(int channels, int hertz, int frames, double pitch) {
  vorbis_info info;
  vorbis_info_init(&info);
  vorbis_encode_init_vbr(&info, channels, hertz, 0.3f);
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);

  Bytes out;
  ogg_packet header, header_comment, header_code;
  vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &header_comment);
  ogg_stream_packetin(&stream, &header_code);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page)) AppendPage(out, page);

  float** input = vorbis_analysis_buffer(&dsp, frames);
  for (int i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c) input[c][i] = 0.5f * std::sin(2 * M_PI * pitch * i / hertz);
  }
  vorbis_analysis_wrote(&dsp, frames);
  vorbis_analysis_wrote(&dsp, 0);
  ogg_packet packet;
  while (vorbis_analysis_blockout(&dsp, &block) == 1) {
    vorbis_analysis(&block, nullptr);
    vorbis_bitrate_addblock(&block);
    while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
      ogg_stream_packetin(&stream, &packet);
      while (ogg_stream_pageout(&stream, &page)) AppendPage(out, page);
    }
  }
  while (ogg_stream_flush(&stream, &page)) AppendPage(out, page);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

std::string ScratchPath(const std::string& name) {
  // Made once per process and removed at its exit (never destroyed before that).
  static const std::string* folder = [] {
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/marvolet-audio-XXXXXX";
    if (!mkdtemp(&pattern[0])) {
      perror("no scratch folder");
      exit(1);
    }
    auto* made = new std::string(pattern);
    atexit([] { std::filesystem::remove_all(*folder); });
    return made;
  }();
  return *folder + "/" + name;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return;
  if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
}

Bytes ReadFile(const std::string& path) {
  Bytes bytes;
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return bytes;
  uint8_t block[4096];
  size_t n;
  while ((n = fread(block, 1, sizeof block, file)) > 0) bytes.insert(bytes.end(), block, block + n);
  fclose(file);
  return bytes;
}
