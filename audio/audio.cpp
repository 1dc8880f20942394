// audio/audio.cpp: the OpenAL device and its 33 channels.
#include "audio/audio.h"

#include <AL/al.h>
#include <AL/alc.h>
#if __has_include(<AL/efx.h>)
#include <AL/efx.h>
#endif

#include <cmath>

#include "runtime/startup.h"

gxtkAudio* gxtkAudio::audio = nullptr;

namespace {
#ifdef ALC_MAX_AUXILIARY_SENDS
// The game sends nothing to effects: without sends each of the voices
// OpenAL Soft makes up front (256 in 1.19) is smaller, 0.8 MB in all.
const ALCint kContextAttributes[] = {ALC_MAX_AUXILIARY_SENDS, 0, 0};
#else
// The browser's OpenAL has no effects, nor their header.
const ALCint* const kContextAttributes = nullptr;
#endif
}  // namespace

unsigned int gxtkAudio::gxtkChannel::AL_Source() {
  if (source) return source;
  alGetError();
  ALuint made = 0;
  alGenSources(1, &made);
  if (alGetError() == AL_NO_ERROR) {
    source = made;
    return source;
  }
  // Out of sources: take one from an effect channel that has finished.
  source = 0;
  gxtkAudio* device = gxtkAudio::audio;
  for (int i = 0; device && i < kMusicChannel; ++i) {
    gxtkChannel& lender = device->channels[i];
    if (lender.source && device->ChannelState(i) == 0) {
      source = lender.source;
      lender.source = 0;
      break;
    }
  }
  return source;
}

int gxtkAudio::gxtkChannel::AL_State() const {
  ALint value = AL_STOPPED;
  if (source) alGetSourcei(source, AL_SOURCE_STATE, &value);
  return value;
}

gxtkAudio::gxtkAudio() {
  audio = this;
  ALCdevice* device = alcOpenDevice(nullptr);
  if (!device) device = alcOpenDevice("Generic Hardware");
  if (!device) device = alcOpenDevice("Generic Software");
  alcDevice = device;
  rkPrint(String("opening openal device"));
  if (device) {
    ALCcontext* context = alcCreateContext(device, kContextAttributes);
    alcContext = context;
    if (!context) {
      rkPrint(String("OpenAl error: alcCreateContext failed"));
    } else if (!alcMakeContextCurrent(context)) {
      rkPrint(String("OpenAl error: alcMakeContextCurrent failed"));
    }
  } else {
    rkPrint(String("OpenAl error: alcOpenDevice failed"));
  }
  // Positions only turn a sound, they never make it quieter.
  alDistanceModel(AL_NONE);
  // Music always has a source, however many the effects take.
  channels[kMusicChannel].AL_Source();
}

gxtkAudio::~gxtkAudio() {
  if (audio == this) audio = nullptr;
  // The game's device lives as long as the process; one freed before (the
  // tests make one per game) gives OpenAL's device and its mixing thread back.
  auto* context = static_cast<ALCcontext*>(alcContext);
  if (context) {
    if (alcGetCurrentContext() == context) alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
  }
  if (alcDevice) alcCloseDevice(static_cast<ALCdevice*>(alcDevice));
}

void gxtkAudio::mark() {
  for (gxtkChannel& channel : channels) {
    if (channel.state != 0 && channel.AL_State() != AL_STOPPED) gc_push_grey(channel.sample);
  }
}

gxtkAudio::gxtkChannel* gxtkAudio::Channel(int channel) {
  if (channel < 0 || channel >= kChannelCount) return nullptr;
  return &channels[channel];
}

int gxtkAudio::Suspend() {
  for (gxtkChannel& channel : channels) {
    if (channel.state == 1 && channel.AL_State() == AL_PLAYING) alSourcePause(channel.source);
  }
  return 0;
}

int gxtkAudio::Resume() {
  for (gxtkChannel& channel : channels) {
    if (channel.state == 1 && channel.AL_State() == AL_PAUSED) alSourcePlay(channel.source);
  }
  return 0;
}

int gxtkAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
  FlushDiscarded();
  gxtkChannel* target = Channel(channel);
  if (!target || !sample) return -1;
  ALuint source = target->AL_Source();
  if (!source) return -1;
  if (channel == kMusicChannel) music_.Close();
  alSourceStop(source);
  alSourcei(source, AL_BUFFER, static_cast<ALint>(sample->alBuffer));
  alSourcei(source, AL_LOOPING, flags != 0 ? AL_TRUE : AL_FALSE);
  alSourcePlay(source);
  gc_assign(target->sample, sample);
  target->flags = flags;
  target->state = 1;
  return 0;
}

int gxtkAudio::StopChannel(int channel) {
  if (channel == kMusicChannel) music_.Close();
  gxtkChannel* target = Channel(channel);
  if (target && target->state != 0) {
    alSourceStop(target->source);
    target->state = 0;
  }
  return 0;
}

int gxtkAudio::PauseChannel(int channel) {
  gxtkChannel* target = Channel(channel);
  if (!target || target->state != 1) return 0;
  if (target->AL_State() == AL_STOPPED) {
    target->state = 0;
  } else {
    alSourcePause(target->source);
    target->state = 2;
  }
  return 0;
}

int gxtkAudio::ResumeChannel(int channel) {
  gxtkChannel* target = Channel(channel);
  if (target && target->state == 2) {
    alSourcePlay(target->source);
    target->state = 1;
  }
  return 0;
}

int gxtkAudio::ChannelState(int channel) {
  gxtkChannel* target = Channel(channel);
  if (!target) return 0;
  // A one-shot that has run out is stopped, whatever the application last did.
  if (target->state == 1 && target->AL_State() == AL_STOPPED) target->state = 0;
  return target->state;
}

int gxtkAudio::SetVolume(int channel, float volume) {
  gxtkChannel* target = Channel(channel);
  if (target) alSourcef(target->AL_Source(), AL_GAIN, volume);
  return 0;
}

int gxtkAudio::SetPan(int channel, float pan) {
  gxtkChannel* target = Channel(channel);
  if (target) alSource3f(target->AL_Source(), AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
  return 0;
}

int gxtkAudio::SetRate(int channel, float rate) {
  gxtkChannel* target = Channel(channel);
  if (target) alSourcef(target->AL_Source(), AL_PITCH, rate);
  return 0;
}

int gxtkAudio::PlayMusic(String path, int flags) {
  StopMusic();
  if (!path.ToLower().EndsWith(String(".ogg"))) {
    gxtkSample* sample = LoadSample(path);
    if (!sample) return -1;
    PlaySample(sample, kMusicChannel, flags);
    return 0;
  }
  gxtkChannel& channel = channels[kMusicChannel];
  if (!music_.Open(path, flags != 0, channel.AL_Source())) return -1;
  gc_assign(channel.sample, nullptr);
  channel.flags = flags;
  channel.state = 1;
  return 0;
}

void gxtkAudio::Update() { music_.Refill(channels[kMusicChannel].state == 1); }

int gxtkAudio::StopMusic() { return StopChannel(kMusicChannel); }
int gxtkAudio::PauseMusic() { return PauseChannel(kMusicChannel); }
int gxtkAudio::ResumeMusic() { return ResumeChannel(kMusicChannel); }
int gxtkAudio::MusicState() { return ChannelState(kMusicChannel); }
int gxtkAudio::SetMusicVolume(float volume) { return SetVolume(kMusicChannel, volume); }
