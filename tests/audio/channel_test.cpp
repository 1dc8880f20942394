// tests/audio/channel_test.cpp: the device's channels on the null back end:
// states, pausing, restarts, suspend and resume, music, running out of sources.
#include <AL/al.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/audio/sound_files.h"
#include "tests/audio/test_device.h"

namespace {

// Rooted, so collector cycles in other tests of the process never take them.
gxtkSample* beep = nullptr;  // 30 ms
gxtkSample* hum = nullptr;   // 2 s
gxtkSample* buzz = nullptr;  // 2 s, another pitch

void Pause(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

int SourceInt(unsigned int source, ALenum what) {
  ALint value = -1;
  alGetSourcei(source, what, &value);
  return value;
}

class ChannelTest : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    static bool loaded = [this] {
      for (gxtkSample** root : {&beep, &hum, &buzz}) gc_add_root(root);
      gc_assign(beep, device->LoadSample(String(ToneFile("beep.wav", 0.03).c_str())));
      gc_assign(hum, device->LoadSample(String(ToneFile("hum.wav", 2).c_str())));
      gc_assign(buzz, device->LoadSample(String(ToneFile("buzz.wav", 2, 880).c_str())));
      return true;
    }();
    ASSERT_TRUE(loaded && beep && hum && buzz);
  }

  int AlState(int channel) { return device->channels[channel].AL_State(); }
};

TEST_F(ChannelTest, FinishedOneShotReadsStoppedWhileLoopingKeepsPlaying) {
  ASSERT_EQ(device->PlaySample(beep, 0, 0), 0);
  ASSERT_EQ(device->PlaySample(beep, 1, 1), 0);
  EXPECT_TRUE(WaitFor([&] { return device->ChannelState(0) == 0; }));
  Pause(100);
  EXPECT_EQ(device->ChannelState(1), 1);
  EXPECT_EQ(AlState(1), AL_PLAYING);
  EXPECT_EQ(device->channels[1].flags, 1);
}

TEST_F(ChannelTest, PauseResumeAndStop) {
  ASSERT_EQ(device->PlaySample(hum, 2, 0), 0);
  device->PauseChannel(2);
  EXPECT_EQ(device->ChannelState(2), 2);
  EXPECT_EQ(AlState(2), AL_PAUSED);
  device->ResumeChannel(2);
  EXPECT_EQ(device->ChannelState(2), 1);
  EXPECT_EQ(AlState(2), AL_PLAYING);
  device->StopChannel(2);
  EXPECT_EQ(device->ChannelState(2), 0);
  EXPECT_EQ(AlState(2), AL_STOPPED);
  // Resuming a stopped channel does nothing.
  device->ResumeChannel(2);
  EXPECT_EQ(AlState(2), AL_STOPPED);
}

TEST_F(ChannelTest, PausingAFinishedOneShotStopsItAndResumeThenDoesNothing) {
  ASSERT_EQ(device->PlaySample(beep, 3, 0), 0);
  Pause(400);  // the beep has ended, though nothing has asked yet
  EXPECT_EQ(device->channels[3].state, 1);
  device->PauseChannel(3);
  EXPECT_EQ(device->channels[3].state, 0);
  device->ResumeChannel(3);
  EXPECT_EQ(device->ChannelState(3), 0);
  EXPECT_EQ(AlState(3), AL_STOPPED);
}

TEST_F(ChannelTest, PlayingOnABusyChannelRestartsIt) {
  ASSERT_EQ(device->PlaySample(hum, 4, 1), 0);
  unsigned int source = device->channels[4].source;
  Pause(300);
  EXPECT_GT(SourceInt(source, AL_SAMPLE_OFFSET), 22050 / 10);
  ASSERT_EQ(device->PlaySample(buzz, 4, 0), 0);
  EXPECT_EQ(device->channels[4].source, source);
  EXPECT_EQ(device->channels[4].sample, buzz);
  EXPECT_EQ(device->channels[4].flags, 0);
  EXPECT_EQ(SourceInt(source, AL_BUFFER), static_cast<int>(buzz->alBuffer));
  EXPECT_EQ(SourceInt(source, AL_LOOPING), AL_FALSE);
  EXPECT_LT(SourceInt(source, AL_SAMPLE_OFFSET), 22050 / 10);
  EXPECT_EQ(device->ChannelState(4), 1);
}

TEST_F(ChannelTest, SuspendAndResumeLeaveApplicationPausedChannelsAlone) {
  ASSERT_EQ(device->PlaySample(hum, 5, 1), 0);
  ASSERT_EQ(device->PlaySample(hum, 6, 1), 0);
  ASSERT_EQ(device->PlaySample(hum, 32, 1), 0);
  device->PauseChannel(6);

  device->Suspend();
  for (int channel : {5, 32}) {
    EXPECT_EQ(AlState(channel), AL_PAUSED) << channel;
    EXPECT_EQ(device->ChannelState(channel), 1) << channel;
  }
  EXPECT_EQ(device->ChannelState(6), 2);

  device->Resume();
  EXPECT_EQ(AlState(5), AL_PLAYING);
  EXPECT_EQ(AlState(32), AL_PLAYING);
  EXPECT_EQ(AlState(6), AL_PAUSED);
  EXPECT_EQ(device->ChannelState(6), 2);
}

TEST_F(ChannelTest, VolumePanAndRateReachTheSourceAndOutlastPlays) {
  // Channel 7 gets its source from the first setting, before anything plays.
  device->SetVolume(7, 0.25f);
  device->SetPan(7, 1.5707964f);
  device->SetRate(7, 2);
  unsigned int source = device->channels[7].source;
  ASSERT_NE(source, 0u);
  ASSERT_EQ(device->PlaySample(hum, 7, 0), 0);
  ALfloat gain = 0, pitch = 0, x = 0, y = 0, z = 0;
  alGetSourcef(source, AL_GAIN, &gain);
  alGetSourcef(source, AL_PITCH, &pitch);
  alGetSource3f(source, AL_POSITION, &x, &y, &z);
  EXPECT_FLOAT_EQ(gain, 0.25f);
  EXPECT_FLOAT_EQ(pitch, 2);
  EXPECT_FLOAT_EQ(x, 1);
  EXPECT_NEAR(z, 0, 1e-6);
}

TEST_F(ChannelTest, MusicPlaysOnChannel32AndAMissingFileStopsIt) {
  std::string song = ScratchPath("song.ogg");
  WriteFile(song, MakeOgg(2, 22050, 44100, 330));
  ASSERT_EQ(device->PlayMusic(String(song.c_str()), 1), 0);
  EXPECT_EQ(device->MusicState(), 1);
  EXPECT_EQ(AlState(32), AL_PLAYING);
  // Streamed: a queue of quarter seconds, refilled as they are played.
  const unsigned int source = device->channels[32].source;
  ALint queued = 0, processed = 0;
  alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
  EXPECT_EQ(queued, MusicStream::kBuffers);
  ASSERT_TRUE(WaitFor([&] {
    alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    return processed > 0;
  }));
  device->Update();
  alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
  alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
  EXPECT_EQ(processed, 0);
  EXPECT_EQ(queued, MusicStream::kBuffers);
  device->SetMusicVolume(0.5f);
  ALfloat gain = 0;
  alGetSourcef(device->channels[32].source, AL_GAIN, &gain);
  EXPECT_FLOAT_EQ(gain, 0.5f);
  device->PauseMusic();
  EXPECT_EQ(device->MusicState(), 2);
  device->ResumeMusic();
  EXPECT_EQ(device->MusicState(), 1);

  for (const char* bad : {"no-such-song.ogg", "song.mp3"}) {
    ASSERT_EQ(device->PlayMusic(String(song.c_str()), 1), 0);
    EXPECT_EQ(device->PlayMusic(String(ScratchPath(bad).c_str()), 1), -1) << bad;
    EXPECT_EQ(device->MusicState(), 0);
    EXPECT_EQ(AlState(32), AL_STOPPED);
  }
  device->StopMusic();
  ALint left = -1;
  alGetSourcei(device->channels[32].source, AL_BUFFERS_QUEUED, &left);
  EXPECT_EQ(left, 0);
}

TEST_F(ChannelTest, WithEverySourceBusyPlayFailsUntilAChannelIsIdle) {
  unsigned int music_source = device->channels[32].source;
  ASSERT_NE(music_source, 0u);
  int played = 0, first_refused = -1;
  for (int channel = 0; channel < 32; ++channel) {
    if (device->PlaySample(hum, channel, 1) == 0) {
      ++played;
    } else if (first_refused < 0) {
      first_refused = channel;
    }
  }
  EXPECT_EQ(played, kTestSources - 1);
  ASSERT_GE(first_refused, 0);
  EXPECT_EQ(device->channels[first_refused].state, 0);
  EXPECT_EQ(device->channels[first_refused].source, 0u);
  EXPECT_EQ(device->channels[32].source, music_source);

  // A channel that falls idle lends its source.
  device->StopChannel(2);
  unsigned int lent = device->channels[2].source;
  ASSERT_NE(lent, 0u);
  EXPECT_EQ(device->PlaySample(beep, first_refused, 0), 0);
  EXPECT_EQ(device->channels[first_refused].source, lent);
  EXPECT_EQ(device->channels[2].source, 0u);
}

TEST_F(ChannelTest, BadChannelsAndSamplesAreRefused) {
  for (int channel : {-1, 33, 1000}) {
    EXPECT_EQ(device->PlaySample(hum, channel, 0), -1);
    EXPECT_EQ(device->ChannelState(channel), 0);
    EXPECT_EQ(device->StopChannel(channel), 0);
    EXPECT_EQ(device->PauseChannel(channel), 0);
    EXPECT_EQ(device->ResumeChannel(channel), 0);
    EXPECT_EQ(device->SetVolume(channel, 1), 0);
    EXPECT_EQ(device->SetPan(channel, 1), 0);
    EXPECT_EQ(device->SetRate(channel, 1), 0);
  }
  EXPECT_EQ(device->PlaySample(nullptr, 0, 0), -1);
  EXPECT_EQ(device->ChannelState(0), 0);
}

}  // namespace
