// audio/module.h: the audio module the application calls: c_Sound and the
// rk_audio_ functions, each forwarding to the installed device.
#pragma once

#include "audio/audio.h"

class c_Sound : public Object {
 public:
  gxtkSample* m_Sample = nullptr;

  c_Sound* m_new(gxtkSample* sample);
  void mark() override;
};

// The installed device (a collector root); null until the delegate sets one.
extern gxtkAudio* rk_audio_device;

// With no device installed the functions do nothing: LoadSound gives null
// and PlayMusic -1.
int rk_audio_SetAudioDevice(gxtkAudio* device);
// Null when the file cannot be loaded.
c_Sound* rk_audio_LoadSound(String path);
int rk_audio_PlaySound(c_Sound* sound, int channel, int flags);
int rk_audio_StopChannel(int channel);
int rk_audio_SetChannelVolume(int channel, float volume);
int rk_audio_SetChannelPan(int channel, float pan);
int rk_audio_SetChannelRate(int channel, float rate);
// 0, or -1 when the file cannot be loaded.
int rk_audio_PlayMusic(String path, int flags);
int rk_audio_StopMusic();
int rk_audio_PauseMusic();
int rk_audio_ResumeMusic();
int rk_audio_SetMusicVolume(float volume);
