// tests/audio/sample_test.cpp: samples in OpenAL buffers, their formats, and
// the deferred deletion of discarded buffers (null back end).
#include <AL/al.h>
#include <AL/alc.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "audio/module.h"
#include "host/game.h"
#include "tests/audio/sound_files.h"
#include "tests/audio/test_device.h"

namespace {

String Path(const std::string& path) { return String(path.c_str()); }

bool IsDiscarded(unsigned int buffer) {
  return std::find(discarded.begin(), discarded.end(), buffer) != discarded.end();
}

int BufferInt(unsigned int buffer, ALenum what) {
  ALint value = -1;
  alGetBufferi(buffer, what, &value);
  return value;
}

using SampleTest = DeviceTest;

TEST_F(SampleTest, EachLayoutBecomesItsOpenALFormat) {
  struct Case {
    int channels, bits;
    const char* file;
  };
  const Case cases[] = {
      {1, 8, "mono8.wav"}, {2, 8, "stereo8.wav"}, {1, 16, "mono16.wav"}, {2, 16, "SOUND.WAV"}};
  for (const Case& c : cases) {
    WavLayout wav;
    wav.channels = c.channels;
    wav.bits = c.bits;
    wav.hertz = 11025;
    wav.data = ToneData(300, c.channels, c.bits, 11025, 500, 0.5);
    WriteFile(ScratchPath(c.file), MakeWav(wav));
    gxtkSample* sample = device->LoadSample(Path(ScratchPath(c.file)));
    ASSERT_NE(sample, nullptr) << c.file;
    EXPECT_EQ(BufferInt(sample->alBuffer, AL_BITS), c.bits) << c.file;
    EXPECT_EQ(BufferInt(sample->alBuffer, AL_CHANNELS), c.channels) << c.file;
    EXPECT_EQ(BufferInt(sample->alBuffer, AL_FREQUENCY), 11025) << c.file;
    EXPECT_EQ(BufferInt(sample->alBuffer, AL_SIZE), 300 * c.channels * c.bits / 8) << c.file;
  }

  WriteFile(ScratchPath("music.ogg"), MakeOgg(1, 22050, 11025, 440));
  gxtkSample* music = device->LoadSample(Path(ScratchPath("music.ogg")));
  ASSERT_NE(music, nullptr);
  EXPECT_EQ(BufferInt(music->alBuffer, AL_BITS), 16);
  EXPECT_EQ(BufferInt(music->alBuffer, AL_SIZE), 11025 * 2);
}

// The Ogg page checksum (polynomial 0x04C11DB7, unreflected, starting at 0).
uint32_t OggCrc(const uint8_t* bytes, size_t count) {
  uint32_t crc = 0;
  for (size_t i = 0; i < count; ++i) {
    crc ^= uint32_t(bytes[i]) << 24;
    for (int bit = 0; bit < 8; ++bit) crc = crc & 0x80000000u ? crc << 1 ^ 0x04C11DB7u : crc << 1;
  }
  return crc;
}

TEST_F(SampleTest, AnOggWhoseLastPageDeclaresMoreFramesThanItHoldsLoadsWhatItHolds) {
  Bytes ogg = MakeOgg(1, 22050, 11025, 440);
  const char tag[] = "OggS";
  auto last = std::find_end(ogg.begin(), ogg.end(), tag, tag + 4);
  ASSERT_NE(last, ogg.end());
  const size_t page = last - ogg.begin();
  // The granule position (bytes 6-13) says twice the length; the checksum (22-25) agrees.
  for (int i = 0; i < 8; ++i) ogg[page + 6 + i] = i == 0 ? 0x2A : i == 1 ? 0x56 : 0;  // 22058
  for (int i = 0; i < 4; ++i) ogg[page + 22 + i] = 0;
  const uint32_t crc = OggCrc(ogg.data() + page, ogg.size() - page);
  for (int i = 0; i < 4; ++i) ogg[page + 22 + i] = static_cast<uint8_t>(crc >> (8 * i));
  WriteFile(ScratchPath("long.ogg"), ogg);

  int length = 0, channels = 0, format = 0, hertz = 0;
  unsigned char* whole = RkGame::_game->LoadAudioData(Path(ScratchPath("long.ogg")), &length,
                                                      &channels, &format, &hertz);
  ASSERT_NE(whole, nullptr);
  free(whole);
  EXPECT_LT(length, 22058);
  gxtkSample* sample = device->LoadSample(Path(ScratchPath("long.ogg")));
  ASSERT_NE(sample, nullptr);
  EXPECT_EQ(BufferInt(sample->alBuffer, AL_SIZE), length * 2);
}

TEST_F(SampleTest, FilesThatDoNotDecodeGiveNoSample) {
  Bytes wav = MakeWav(WavLayout{});
  WriteFile(ScratchPath("beep.mp3"), wav);
  WriteFile(ScratchPath("empty.wav"), Bytes());
  WriteFile(ScratchPath("noise.ogg"), Bytes(500, 0x5A));
  for (const char* name : {"beep.mp3", "empty.wav", "noise.ogg", "absent.wav"}) {
    EXPECT_EQ(device->LoadSample(Path(ScratchPath(name))), nullptr) << name;
  }
  // Three channels decode, but OpenAL has no format for them: the sample plays silence.
  WavLayout three;
  three.channels = 3;
  three.data = Bytes(600, 0);
  WriteFile(ScratchPath("three.wav"), MakeWav(three));
  gxtkSample* silent = device->LoadSample(Path(ScratchPath("three.wav")));
  ASSERT_NE(silent, nullptr);
  EXPECT_EQ(device->PlaySample(silent, 0, 0), 0);
}

TEST_F(SampleTest, ADiscardedSampleFinishesAndThenLosesItsBuffer) {
  gxtkSample* sample = device->LoadSample(Path(ToneFile("short.wav", 0.3)));
  ASSERT_NE(sample, nullptr);
  unsigned int buffer = sample->alBuffer;
  ASSERT_EQ(device->PlaySample(sample, 8, 0), 0);
  sample->Discard();
  EXPECT_EQ(sample->alBuffer, 0u);
  EXPECT_TRUE(IsDiscarded(buffer));

  FlushDiscarded();
  EXPECT_TRUE(IsDiscarded(buffer));
  EXPECT_TRUE(alIsBuffer(buffer));
  EXPECT_EQ(device->channels[8].AL_State(), AL_PLAYING);

  // Nothing asks the channel's state here: the flush alone sees the end.
  EXPECT_TRUE(WaitFor([&] {
    FlushDiscarded();
    return !IsDiscarded(buffer);
  }));
  EXPECT_FALSE(alIsBuffer(buffer));
}

TEST_F(SampleTest, TheCollectorKeepsAudibleSamplesOnly) {
  unsigned int buffer = 0;
  {
    gxtkSample* sample = device->LoadSample(Path(ToneFile("loop.wav", 0.2)));
    ASSERT_NE(sample, nullptr);
    buffer = sample->alBuffer;
    ASSERT_EQ(device->PlaySample(sample, 9, 1), 0);
  }
  // Held by nothing but the playing channel.
  CollectGarbage();
  EXPECT_FALSE(IsDiscarded(buffer));
  EXPECT_EQ(device->ChannelState(9), 1);

  // Stopped by the application: collected, but its buffer waits while the
  // source still holds it, until another sample replaces it there.
  device->StopChannel(9);
  CollectGarbage();
  EXPECT_TRUE(IsDiscarded(buffer));
  FlushDiscarded();
  EXPECT_TRUE(alIsBuffer(buffer));
  gxtkSample* next = device->LoadSample(Path(ToneFile("next.wav", 0.05)));
  ASSERT_EQ(device->PlaySample(next, 9, 0), 0);
  FlushDiscarded();
  EXPECT_FALSE(IsDiscarded(buffer));
  EXPECT_FALSE(alIsBuffer(buffer));
}

TEST_F(SampleTest, ACollectedDeviceLeavesNoDanglingOneDevice) {
  struct RestoreTheOne {
    gxtkAudio* device;
    ~RestoreTheOne() { gxtkAudio::audio = device; }
  } restore{device};
  // A second device becomes the one; nothing holds it, so it is collected.
  new gxtkAudio();
  ASSERT_NE(gxtkAudio::audio, device);
  alcMakeContextCurrent(static_cast<ALCcontext*>(device->alcContext));
  CollectGarbage();
  EXPECT_EQ(gxtkAudio::audio, nullptr);
  // With no device to look through, a flush still deletes what it can.
  gxtkSample* sample = device->LoadSample(Path(ToneFile("orphan.wav", 0.05)));
  ASSERT_NE(sample, nullptr);
  unsigned int buffer = sample->alBuffer;
  sample->Discard();
  FlushDiscarded();
  EXPECT_FALSE(IsDiscarded(buffer));
}

TEST_F(SampleTest, ModuleForwardsToTheInstalledDevice) {
  // A bare name is an asset of the data folder.
  std::string path = ToneFile("module.wav", 1);
  c_Sound* sound = rk_audio_LoadSound(String("module.wav"));
  ASSERT_NE(sound, nullptr);
  ASSERT_NE(sound->m_Sample, nullptr);
  EXPECT_EQ(rk_audio_LoadSound(String("missing.wav")), nullptr);

  rk_audio_SetChannelVolume(10, 0.5f);
  rk_audio_PlaySound(sound, 10, 1);
  EXPECT_EQ(device->ChannelState(10), 1);
  EXPECT_EQ(device->channels[10].sample, sound->m_Sample);
  ALfloat gain = 0;
  alGetSourcef(device->channels[10].source, AL_GAIN, &gain);
  EXPECT_FLOAT_EQ(gain, 0.5f);
  rk_audio_StopChannel(10);
  EXPECT_EQ(device->ChannelState(10), 0);

  EXPECT_EQ(rk_audio_PlayMusic(Path(path), 1), 0);
  EXPECT_EQ(device->MusicState(), 1);
  rk_audio_PauseMusic();
  EXPECT_EQ(device->MusicState(), 2);
  rk_audio_StopMusic();
  EXPECT_EQ(device->MusicState(), 0);
  EXPECT_EQ(rk_audio_PlayMusic(Path(ScratchPath("missing.ogg")), 1), -1);

  // Null sounds, and no device at all, are quietly ignored.
  rk_audio_PlaySound(nullptr, 0, 0);
  rk_audio_PlaySound(new c_Sound(), 0, 0);
  EXPECT_EQ(device->ChannelState(0), 0);
  rk_audio_SetAudioDevice(nullptr);
  EXPECT_EQ(rk_audio_LoadSound(Path(path)), nullptr);
  EXPECT_EQ(rk_audio_PlayMusic(Path(path), 0), -1);
  rk_audio_PlaySound(sound, 0, 0);
  rk_audio_StopMusic();
  rk_audio_SetAudioDevice(device);
  EXPECT_EQ(device->ChannelState(0), 0);
}

}  // namespace
