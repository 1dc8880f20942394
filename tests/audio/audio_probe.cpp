// tests/audio/audio_probe.cpp: a program the tests start with OpenAL Soft set
// up from outside: it plays one sample through whatever device opens, or, with
// no device, runs every operation and prints what each returned.
//   audio_probe play FILE VOLUME PAN RATE
//   audio_probe silent FILE
//   audio_probe loop FILE SECONDS    the whole sample looping on channel 0
//   audio_probe music FILE SECONDS   the file as looping music, streamed,
//                                    with an update every 20 ms
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "audio/audio.h"
#include "tests/audio/sound_files.h"
#include "tests/audio/test_device.h"

namespace {

int Play(gxtkAudio* device, gxtkSample* sample, float volume, float pan, float rate) {
  device->SetVolume(0, volume);
  device->SetPan(0, pan);
  device->SetRate(0, rate);
  if (device->PlaySample(sample, 0, 0) != 0) return 1;
  if (!WaitFor([&] { return device->ChannelState(0) == 0; }, 10)) return 1;
  // Let the mixer write the tail of the sound.
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  return 0;
}

int Silent(gxtkAudio* device, gxtkSample* sample, const String& path) {
  printf("device %d\n", device->alcDevice != nullptr);
  printf("sample %d buffer %u\n", sample != nullptr, sample ? sample->alBuffer : 0u);
  printf("play %d\n", device->PlaySample(sample, 0, 1));
  printf("state %d\n", device->ChannelState(0));
  device->SetVolume(1, 0.5f);
  device->SetPan(1, 1);
  device->SetRate(1, 2);
  device->PauseChannel(0);
  device->ResumeChannel(0);
  device->StopChannel(0);
  device->Suspend();
  device->Resume();
  printf("music %d\n", device->PlayMusic(path, 1));
  printf("music state %d\n", device->MusicState());
  device->SetMusicVolume(0.5f);
  device->PauseMusic();
  device->ResumeMusic();
  device->StopMusic();
  if (sample) sample->Discard();
  FlushDiscarded();
  printf("done\n");
  return 0;
}

// Lets the device play for `seconds`, updating as the game's loop does.
int Run(gxtkAudio* device, double seconds) {
  for (int ms = 0; ms < seconds * 1000; ms += 20) {
    device->Update();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  UseTestHost();
  gxtkAudio* device = new gxtkAudio();
  String path(argv[2]);
  gxtkSample* sample = device->LoadSample(path);
  fflush(stdout);
  if (strcmp(argv[1], "silent") == 0) return Silent(device, sample, path);
  if (strcmp(argv[1], "loop") == 0 && argc == 4 && sample) {
    return device->PlaySample(sample, 0, 1) == 0 ? Run(device, atof(argv[3])) : 1;
  }
  if (strcmp(argv[1], "music") == 0 && argc == 4) {
    return device->PlayMusic(path, 1) == 0 ? Run(device, atof(argv[3])) : 1;
  }
  if (strcmp(argv[1], "play") == 0 && argc == 6 && sample) {
    return Play(device, sample, strtof(argv[3], nullptr), strtof(argv[4], nullptr),
                strtof(argv[5], nullptr));
  }
  return 2;
}
