// tests/audio/test_device.h: the test host, and the one sound device of a
// test process on OpenAL Soft's null back end (real time, no output).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "audio/audio.h"
#include "tests/support/folder_host.h"

// The desktop host without a window (its LoadAudioData is the real one),
// whose data folder ("zorvex://data/") is the scratch folder.
class TestHost : public FolderHost {
 public:
  TestHost();
};

// Sets the host up once per process.
void UseTestHost();

// OpenAL gives the test device this many sources (the music channel takes one).
constexpr int kTestSources = 17;

// Opens the device on first use (with the test host) and installs it as
// rk_audio_device, a collector root.
gxtkAudio* NullDevice();
// Every channel stopped, at volume 1, centred, at rate 1.
void ResetChannels(gxtkAudio* device);
// Polls `done` every few milliseconds until it holds or `seconds` pass.
bool WaitFor(const std::function<bool()>& done, double seconds = 3);
// Two full collector cycles, then enough allocation to destroy the garbage.
void CollectGarbage();

// Tests on the device, each starting with every channel reset.
class DeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device = NullDevice();
    ResetChannels(device);
  }

  gxtkAudio* device = nullptr;
};

// A mono 16-bit tone of `seconds` written to the scratch folder; its path.
std::string ToneFile(const std::string& name, double seconds, double pitch = 440);
