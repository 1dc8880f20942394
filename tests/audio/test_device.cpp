// tests/audio/test_device.cpp: the test host, the null-back-end device and collector helpers.
#include "tests/audio/test_device.h"

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "audio/module.h"
#include "runtime/array.h"
#include "tests/audio/sound_files.h"

TestHost::TestHost() : FolderHost(ScratchPath("")) {}

void UseTestHost() {
  static TestHost* host = new TestHost();
  RkGame::_game = host;
}

gxtkAudio* NullDevice() {
  static gxtkAudio* device = [] {
    // OpenAL Soft reads its configuration once, when the first device opens.
    std::string config = ScratchPath("null.conf");
    std::string text =
        "[general]\ndrivers = null\nsources = " + std::to_string(kTestSources) + "\n";
    WriteFile(config, Bytes(text.begin(), text.end()));
    setenv("ALSOFT_CONF", config.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    UseTestHost();
    gc_add_root(&rk_audio_device);
    rk_audio_SetAudioDevice(new gxtkAudio());
    return rk_audio_device;
  }();
  return device;
}

void ResetChannels(gxtkAudio* device) {
  for (int i = 0; i < gxtkAudio::kChannelCount; ++i) {
    if (!device->channels[i].source) continue;  // nothing set yet
    device->StopChannel(i);
    device->SetVolume(i, 1);
    device->SetPan(i, 0);
    device->SetRate(i, 1);
  }
}

bool WaitFor(const std::function<bool()>& done, double seconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

void CollectGarbage() {
  for (int i = 0; i < 2; ++i) {
    gc_stress = true;
    gc_collect();
    gc_stress = false;
  }
  // Garbage is destroyed oldest first, as much as each allocation takes: a
  // single large one may not reach the newest, so allocate until none is left.
  while (gc_free_list.next != &gc_free_list) Array<char> churn(1 << 16);
}

std::string ToneFile(const std::string& name, double seconds, double pitch) {
  std::string path = ScratchPath(name);
  WavLayout wav;
  wav.data = ToneData(static_cast<int>(seconds * wav.hertz), 1, 16, wav.hertz, pitch, 0.5);
  WriteFile(path, MakeWav(wav));
  return path;
}
