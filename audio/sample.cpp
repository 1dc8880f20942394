// audio/sample.cpp: samples: loading decoded sounds into OpenAL buffers, and
// deleting the buffers of discarded samples once no source holds them.
#include <AL/al.h>

#include <cstdlib>

#include "audio/audio.h"
#include "host/game.h"

std::vector<unsigned int> discarded;

namespace {

struct FormatEntry {
  int bytes_per_value;
  int channels;
  ALenum format;
};
constexpr FormatEntry kFormats[] = {
    {1, 1, AL_FORMAT_MONO8},
    {1, 2, AL_FORMAT_STEREO8},
    {2, 1, AL_FORMAT_MONO16},
    {2, 2, AL_FORMAT_STEREO16},
};

// 0 for any other layout: OpenAL refuses it and the sample plays silence.
ALenum OpenALFormat(int bytes_per_value, int channels) {
  for (const FormatEntry& entry : kFormats) {
    if (entry.bytes_per_value == bytes_per_value && entry.channels == channels) return entry.format;
  }
  return 0;
}

}  // namespace

gxtkSample::~gxtkSample() { gxtkSample::Discard(); }

int gxtkSample::Discard() {
  if (alBuffer) {
    discarded.push_back(alBuffer);
    alBuffer = 0;
  }
  return 0;
}

void FlushDiscarded() {
  if (discarded.empty()) return;
  if (gxtkAudio* device = gxtkAudio::audio) {
    for (gxtkAudio::gxtkChannel& channel : device->channels) {
      if (channel.state != 0 && channel.source && channel.AL_State() == AL_STOPPED) {
        alSourcei(channel.source, AL_BUFFER, 0);
      }
    }
  }
  std::vector<unsigned int> kept;
  for (unsigned int name : discarded) {
    alGetError();
    alDeleteBuffers(1, &name);
    // Still attached to a source somewhere: try again later.
    if (alGetError() != AL_NO_ERROR) kept.push_back(name);
  }
  discarded.swap(kept);
}

gxtkSample* gxtkAudio::LoadSample(String path) {
  FlushDiscarded();
  gxtkSample* sample = new gxtkSample();
  return LoadSample__UNSAFE__(sample, path) ? sample : nullptr;
}

bool gxtkAudio::LoadSample__UNSAFE__(gxtkSample* sample, String path) {
  RkGame* host = RkGame::_game;
  if (!sample || !host) return false;
  int length = 0, channel_count = 0, bytes_per_value = 0, hertz = 0;
  unsigned char* pcm = host->LoadAudioData(path, &length, &channel_count, &bytes_per_value, &hertz);
  if (!pcm) return false;
  sample->Discard();
  ALuint buffer = 0;
  alGenBuffers(1, &buffer);
  alBufferData(buffer, OpenALFormat(bytes_per_value, channel_count), pcm,
               length * channel_count * bytes_per_value, hertz);
  free(pcm);
  sample->alBuffer = buffer;
  return true;
}
