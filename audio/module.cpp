// audio/module.cpp: c_Sound and the rk_audio_ functions.
#include "audio/module.h"

#include "host/data_path.h"

gxtkAudio* rk_audio_device = nullptr;

c_Sound* c_Sound::m_new(gxtkSample* sample) {
  gc_assign(m_Sample, sample);
  return this;
}

void c_Sound::mark() { gc_push_grey(m_Sample); }

int rk_audio_SetAudioDevice(gxtkAudio* device) {
  gc_assign(rk_audio_device, device);
  return 0;
}

c_Sound* rk_audio_LoadSound(String path) {
  if (!rk_audio_device) return nullptr;
  gxtkSample* sample = rk_audio_device->LoadSample(rk_data_FixDataPath(path));
  if (!sample) return nullptr;
  return (new c_Sound())->m_new(sample);
}

int rk_audio_PlaySound(c_Sound* sound, int channel, int flags) {
  if (rk_audio_device && sound && sound->m_Sample) {
    rk_audio_device->PlaySample(sound->m_Sample, channel, flags);
  }
  return 0;
}

int rk_audio_PlayMusic(String path, int flags) {
  if (!rk_audio_device) return -1;
  return rk_audio_device->PlayMusic(rk_data_FixDataPath(path), flags);
}

// The rest pass straight through to the device.
int rk_audio_StopChannel(int channel) {
  return rk_audio_device ? rk_audio_device->StopChannel(channel) : 0;
}
int rk_audio_SetChannelVolume(int channel, float volume) {
  return rk_audio_device ? rk_audio_device->SetVolume(channel, volume) : 0;
}
int rk_audio_SetChannelPan(int channel, float pan) {
  return rk_audio_device ? rk_audio_device->SetPan(channel, pan) : 0;
}
int rk_audio_SetChannelRate(int channel, float rate) {
  return rk_audio_device ? rk_audio_device->SetRate(channel, rate) : 0;
}
int rk_audio_StopMusic() { return rk_audio_device ? rk_audio_device->StopMusic() : 0; }
int rk_audio_PauseMusic() { return rk_audio_device ? rk_audio_device->PauseMusic() : 0; }
int rk_audio_ResumeMusic() { return rk_audio_device ? rk_audio_device->ResumeMusic() : 0; }
int rk_audio_SetMusicVolume(float volume) {
  return rk_audio_device ? rk_audio_device->SetMusicVolume(volume) : 0;
}
