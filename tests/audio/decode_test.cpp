// tests/audio/decode_test.cpp: WAVE and Ogg files decoded into PCM blocks,
// well-formed, damaged and hostile.
#include "audio/decode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

#include "tests/audio/sound_files.h"

namespace {

using Decoder = unsigned char* (*)(FILE*, int*, int*, int*, int*);

struct Decoded {
  bool ok = false;
  int length = -7, channels = -7, format = -7, hertz = -7;
  Bytes pcm;
};

Decoded DecodeStream(FILE* file, Decoder decode) {
  Decoded out;
  unsigned char* pcm = decode(file, &out.length, &out.channels, &out.format, &out.hertz);
  out.ok = pcm != nullptr;
  if (pcm) {
    out.pcm.assign(pcm, pcm + static_cast<size_t>(out.length) * out.channels * out.format);
    free(pcm);
  }
  return out;
}

// Decodes bytes from a real (seekable) file.
Decoded Decode(const Bytes& bytes, Decoder decode = LoadWAV) {
  FILE* file = tmpfile();
  if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), file);
  rewind(file);
  Decoded out = DecodeStream(file, decode);
  fclose(file);
  return out;
}

// Decodes bytes that arrive through a pipe, which cannot seek or tell its length.
Decoded DecodePiped(const Bytes& bytes) {
  std::string path = ScratchPath("piped.bin");
  WriteFile(path, bytes);
  FILE* pipe = popen(("cat " + path).c_str(), "r");
  Decoded out = DecodeStream(pipe, LoadWAV);
  pclose(pipe);
  return out;
}

WavLayout Stereo16(int data_bytes) {
  WavLayout wav;
  wav.channels = 2;
  wav.bits = 16;
  wav.hertz = 44100;
  wav.data = ToneData(data_bytes / 4 + 1, 2, 16, 44100, 440, 0.5);
  wav.data.resize(data_bytes);
  return wav;
}

void SetLittleEndian(Bytes& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

TEST(WavDecode, FramesChannelsFormatAndRateComeFromTheFile) {
  for (int bytes : {4000, 4002, 0}) {
    WavLayout wav = Stereo16(bytes);
    Decoded out = Decode(MakeWav(wav));
    ASSERT_TRUE(out.ok) << bytes;
    EXPECT_EQ(out.length, bytes / 4);
    EXPECT_EQ(out.channels, 2);
    EXPECT_EQ(out.format, 2);
    EXPECT_EQ(out.hertz, 44100);
    EXPECT_TRUE(std::equal(out.pcm.begin(), out.pcm.end(), wav.data.begin()));
  }

  WavLayout mono8;
  mono8.bits = 8;
  mono8.hertz = 11025;
  mono8.data = ToneData(500, 1, 8, 11025, 300, 0.9);
  Decoded out = Decode(MakeWav(mono8));
  ASSERT_TRUE(out.ok);
  EXPECT_EQ(out.length, 500);
  EXPECT_EQ(out.channels, 1);
  EXPECT_EQ(out.format, 1);
  EXPECT_EQ(out.pcm, mono8.data);
}

TEST(WavDecode, OtherChunksAndLongerFormatChunksAreSkipped) {
  WavLayout wav = Stereo16(800);
  wav.before = {{"LIST", Bytes(26, 'x')}, {"fact", {4, 0, 0, 0}}, {"odd ", Bytes(3, 1)}};
  Decoded out = Decode(MakeWav(wav));
  ASSERT_TRUE(out.ok);
  EXPECT_EQ(out.length, 200);
  EXPECT_EQ(out.pcm, wav.data);

  for (int fmt_size : {18, 40}) {
    WavLayout longer = Stereo16(400);
    longer.fmt_size = fmt_size;
    Decoded loaded = Decode(MakeWav(longer));
    ASSERT_TRUE(loaded.ok) << fmt_size;
    EXPECT_EQ(loaded.length, 100);
    EXPECT_EQ(loaded.pcm, longer.data);
  }
}

TEST(WavDecode, AnOddSizedChunkIsFollowedByAPadByte) {
  // ffmpeg writes a "bext" chunk of 633 bytes; a writer that leaves the pad out still loads.
  for (bool padded : {true, false}) {
    WavLayout wav = Stereo16(800);
    wav.before = {{"bext", Bytes(633, 'b')}, {"LIST", Bytes(5, 'l')}};
    wav.pad_odd_chunks = padded;
    EXPECT_EQ(Decode(MakeWav(wav)).pcm, wav.data) << padded;
    EXPECT_EQ(DecodePiped(MakeWav(wav)).pcm, wav.data) << padded << " (piped)";
  }
}

TEST(WavDecode, ExtensibleFilesLoadWhenTheirSubFormatIsPcm) {
  WavLayout wav = Stereo16(800);
  wav.compression = 0xFFFE;
  wav.hertz = 96000;
  wav.fmt_extension = ExtensibleFormat(16);
  Decoded out = Decode(MakeWav(wav));
  ASSERT_TRUE(out.ok);
  EXPECT_EQ(out.length, 200);
  EXPECT_EQ(out.channels, 2);
  EXPECT_EQ(out.format, 2);
  EXPECT_EQ(out.hertz, 96000);
  EXPECT_EQ(out.pcm, wav.data);

  wav.fmt_extension = ExtensibleFormat(16, 3);  // float samples
  EXPECT_FALSE(Decode(MakeWav(wav)).ok);
  wav.fmt_extension = {0, 0};  // no room for a sub-format
  EXPECT_FALSE(Decode(MakeWav(wav)).ok);
}

TEST(WavDecode, BrokenFilesFailWithoutACrash) {
  Bytes good = MakeWav(Stereo16(400));
  // Offsets in `good`: "RIFF" 0, "WAVE" 8, "fmt " 12, its size 16, compression 20,
  // channels 22, bits 34, "data" 36, its size 40, samples 44.
  struct Case {
    const char* what;
    std::function<void(Bytes&)> damage;
  };
  const Case cases[] = {
      {"empty", [](Bytes& b) { b.clear(); }},
      {"only RIFF", [](Bytes& b) { b.resize(4); }},
      {"not RIFF", [](Bytes& b) { b[0] = 'X'; }},
      {"not WAVE", [](Bytes& b) { b[8] = 'X'; }},
      {"no fmt first", [](Bytes& b) { memcpy(&b[12], "LIST", 4); }},
      {"float samples", [](Bytes& b) { b[20] = 3; }},
      {"extensible without its extension", [](Bytes& b) { b[20] = 0xFE, b[21] = 0xFF; }},
      {"no channels", [](Bytes& b) { b[22] = 0; }},
      {"4-bit values", [](Bytes& b) { b[34] = 4; }},
      {"cut in fmt", [](Bytes& b) { b.resize(30); }},
      {"fmt smaller than its fields", [](Bytes& b) { SetLittleEndian(b, 16, 8); }},
      {"fmt of the least int's size", [](Bytes& b) { SetLittleEndian(b, 16, 0x80000000u); }},
      {"no data chunk", [](Bytes& b) { memcpy(&b[36], "junk", 4); }},
      {"data cut short", [](Bytes& b) { b.resize(b.size() - 1); }},
      {"cut in the size", [](Bytes& b) { b.resize(42); }},
      {"negative size", [](Bytes& b) { SetLittleEndian(b, 40, 0xFFFFFFFFu); }},
      {"size past the end", [](Bytes& b) { SetLittleEndian(b, 40, 0x7FFFFFF0u); }},
      {"huge other chunk",
       [](Bytes& b) { memcpy(&b[36], "LIST", 4), SetLittleEndian(b, 40, 0x7FFFFFF0u); }},
      {"garbage",
       [](Bytes& b) {
         for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 97 + 13);
       }},
  };
  for (const Case& c : cases) {
    Bytes bytes = good;
    c.damage(bytes);
    EXPECT_FALSE(Decode(bytes).ok) << c.what;
    EXPECT_FALSE(DecodePiped(bytes).ok) << c.what << " (piped)";
  }
}

TEST(WavDecode, StreamsThatCannotSeekStillLoad) {
  WavLayout wav = Stereo16(100000);
  wav.before = {{"LIST", Bytes(10, 'y')}};
  Decoded out = DecodePiped(MakeWav(wav));
  ASSERT_TRUE(out.ok);
  EXPECT_EQ(out.length, 25000);
  EXPECT_EQ(out.pcm, wav.data);
}

TEST(WavDecode, FieldReaders) {
  FILE* file = tmpfile();
  const uint8_t bytes[] = {'d',  'a',  't',  'a',  0x78, 0x56, 0x34, 0x12,
                           0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 'a',  'b'};
  fwrite(bytes, 1, sizeof bytes, file);
  rewind(file);
  EXPECT_STREQ(readTag(file), "data");
  EXPECT_EQ(readInt(file), 0x12345678);
  EXPECT_EQ(readShort(file), 0xFFFF);
  EXPECT_EQ(readInt(file), -2);     // 0xFFFFFFFE read whole
  EXPECT_STREQ(readTag(file), "");  // two bytes left
  EXPECT_EQ(readInt(file), -1);
  EXPECT_EQ(readShort(file), -1);
  fclose(file);
}

TEST(OggDecode, LengthIsSecondsTimesRate) {
  struct Case {
    int channels, hertz, frames;
  };
  for (Case c : {Case{1, 22050, 22050}, Case{1, 44100, 88200}, Case{2, 44100, 22050}}) {
    Decoded out = Decode(MakeOgg(c.channels, c.hertz, c.frames, 440), LoadOGG);
    ASSERT_TRUE(out.ok);
    EXPECT_EQ(out.length, c.frames);
    EXPECT_EQ(out.channels, c.channels);
    EXPECT_EQ(out.format, 2);
    EXPECT_EQ(out.hertz, c.hertz);
    // The tone survives: a sine of amplitude 0.5 has a level of about 0.35.
    const int16_t* values = reinterpret_cast<const int16_t*>(out.pcm.data());
    double sum = 0;
    int count = out.length * out.channels;
    for (int i = 0; i < count; ++i) sum += double(values[i]) * values[i];
    EXPECT_NEAR(std::sqrt(sum / count) / 32768, 0.354, 0.04);
  }
}

// What a sink is told and given: the declared length, then the frames in blocks.
struct CountingSink : AudioSink {
  long declared = -7, frames = 0;
  int blocks = 0;
  bool Begin(long length, int, int, int) override {
    declared = length;
    return true;
  }
  bool Take(const unsigned char*, int count) override {
    frames += count;
    ++blocks;
    return true;
  }
};

TEST(SinkDecode, TheLengthIsDeclaredFirstWhenTheFileHoldsItAndTheFramesComeInBlocks) {
  const std::pair<Bytes, bool (*)(FILE*, AudioSink&)> files[] = {
      {MakeWav(Stereo16(400000)), DecodeWAV}, {MakeOgg(2, 44100, 44100, 440), DecodeOGG}};
  for (const auto& [bytes, decode] : files) {
    FILE* file = tmpfile();
    fwrite(bytes.data(), 1, bytes.size(), file);
    rewind(file);
    CountingSink sink;
    EXPECT_TRUE(decode(file, sink));
    fclose(file);
    EXPECT_EQ(sink.declared, decode == DecodeWAV ? 100000 : 44100);
    EXPECT_EQ(sink.frames, sink.declared);
    EXPECT_GT(sink.blocks, 1);
  }
  // Through a pipe nothing says the chunk really holds what its header declares.
  std::string path = ScratchPath("declared.wav");
  WriteFile(path, MakeWav(Stereo16(4000)));
  FILE* pipe = popen(("cat " + path).c_str(), "r");
  CountingSink piped;
  EXPECT_TRUE(DecodeWAV(pipe, piped));
  pclose(pipe);
  EXPECT_EQ(piped.declared, -1);
  EXPECT_EQ(piped.frames, 1000);
}

TEST(OggDecode, HeadersWithoutAudioFail) {
  // MakeOgg puts the three headers on the first two pages: cut where the third begins.
  Bytes good = MakeOgg(1, 22050, 22050, 440);
  const char page[] = "OggS";
  auto audio = good.begin();
  for (int i = 0; i < 2; ++i) audio = std::search(audio + 1, good.end(), page, page + 4);
  ASSERT_NE(audio, good.end());
  EXPECT_FALSE(Decode(Bytes(good.begin(), audio), LoadOGG).ok);
}

TEST(OggDecode, BrokenFilesFailWithoutACrash) {
  Bytes good = MakeOgg(1, 22050, 22050, 440);
  EXPECT_FALSE(Decode(Bytes(), LoadOGG).ok);
  EXPECT_FALSE(Decode(MakeWav(Stereo16(400)), LoadOGG).ok);
  EXPECT_FALSE(Decode(Bytes(good.begin(), good.begin() + 100), LoadOGG).ok);
  Bytes garbage = good;
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 31 + 7);
  EXPECT_FALSE(Decode(garbage, LoadOGG).ok);
  // The comment header: a vendor string of 4 + n bytes, then the comment count.
  const char signature[] = "\x03vorbis";
  size_t vendor =
      std::search(good.begin(), good.end(), signature, signature + 7) - good.begin() + 7;
  ASSERT_LT(vendor, good.size());
  size_t count_at = vendor + 4 + (good[vendor] | good[vendor + 1] << 8);
  // Sizes that would take gigabytes, or wrap around in the decoder's arithmetic.
  // And more comments than follow, which fails with the comment list half filled.
  const std::pair<size_t, uint32_t> hostile_fields[] = {{vendor, 0x7FFFFFF0u},
                                                        {count_at, 3},
                                                        {count_at, 1000},
                                                        {count_at, 0x20000000u},
                                                        {count_at, 0x20000001u},
                                                        {count_at, 0x10000000u}};
  for (auto [at, value] : hostile_fields) {
    Bytes hostile = good;
    SetLittleEndian(hostile, at, value);
    EXPECT_FALSE(Decode(hostile, LoadOGG).ok) << at << " " << value;
  }
  // Cut inside the audio: whatever decodes is shorter, never longer.
  Decoded cut = Decode(Bytes(good.begin(), good.begin() + good.size() * 2 / 3), LoadOGG);
  if (cut.ok) {
    EXPECT_LT(cut.length, 22050);
  }
}
