// game/sound.cpp: numbered sound effects on a rotation of 24 channels, and
// the one looping music track, both following the audio settings.
#include "game/app.h"

namespace {

constexpr int kAudioModeSetting = 5;
constexpr int kEffectLevelSetting = 6;
constexpr int kMusicLevelSetting = 7;
constexpr int kEffectChannels = 24;
const float kEffectLevels[3] = {1.0f, 0.75f, 0.4f};
const float kMusicLevels[4] = {1.0f, 0.7f, 0.4f, 0.0f};

}  // namespace

int c_MyApp::p_LoadSFX(int n) {
  if (n < 0 || n > 99) return 0;
  gc_assign(m_Sounds[n], nullptr);
  String digits = n < 10 ? String("00") : String("0");
  gc_assign(m_Sounds[n], rk_audio_LoadSound(String("sfx/") + digits + String(n) + String(".wav")));
  return 0;
}

int c_MyApp::p_PlaySFX(int n, float rate, float volume, float pan) {
  const int mode = m_Settings[kAudioModeSetting];
  if ((mode != 1 && mode != 2) || n < 0 || n > 99 || !m_Sounds[n]) return 0;
  const int level = m_Settings[kEffectLevelSetting];
  if (level == 3) return 0;
  const float factor = level >= 0 && level <= 2 ? kEffectLevels[level] : 1.0f;
  if (m_SfxChannel < 0 || m_SfxChannel > 31) m_SfxChannel = 0;
  m_SfxChannel = (m_SfxChannel + 1) % kEffectChannels;
  const int channel = m_Channels[m_SfxChannel];
  rk_audio_StopChannel(channel);
  rk_audio_PlaySound(m_Sounds[n], channel, 0);
  rk_audio_SetChannelRate(channel, rate);
  rk_audio_SetChannelVolume(channel, factor * volume);
  rk_audio_SetChannelPan(channel, pan);
  return 0;
}

int c_MyApp::p_PlayTune(String name, int loop) {
  if (rk_Game_HasMusicStream == 0) return 0;
  if (name == String("-1") && !m_CurrentTune.IsEmpty()) name = m_CurrentTune;
  // "-1" with no current track names no track either.
  if (name.IsEmpty() || name == String("-1")) return 0;
  m_CurrentTune = name;
  if (m_MusicOn == 1) {
    rk_audio_StopMusic();
    m_MusicOn = 0;
  }
  const int mode = m_Settings[kAudioModeSetting];
  if (mode != 1 && mode != 3) return 0;
  rk_audio_PlayMusic(String("sfx/") + name + String(".ogg"), loop);
  m_MusicOn = 1;
  const int level = m_Settings[kMusicLevelSetting];
  rk_audio_SetMusicVolume(level >= 0 && level <= 3 ? kMusicLevels[level] : 1.0f);
  return 0;
}

int c_MyApp::p_StopTune() {
  rk_audio_StopMusic();
  m_MusicOn = 0;
  return 0;
}
