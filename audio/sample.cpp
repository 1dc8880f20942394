// audio/sample.cpp: samples: loading decoded sounds into OpenAL buffers, and
// deleting the buffers of discarded samples once no source holds them.
#include <AL/al.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "audio/audio.h"
#include "audio/decode.h"
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

// OpenAL Soft's buffer mapping (AL_SOFT_map_buffer, "AL_SOFTX_map_buffer"
// while it was experimental): a sound decodes straight into the buffer's own
// storage, so no decoded copy of ours exists beside OpenAL's.
constexpr unsigned int kMapWrite = 0x2;  // AL_MAP_WRITE_BIT_SOFT
using BufferStorage = void (*)(ALuint, ALenum, const ALvoid*, ALsizei, ALsizei, unsigned int);
using MapBuffer = void* (*)(ALuint, ALsizei, ALsizei, unsigned int);
using UnmapBuffer = void (*)(ALuint);

// Where a sample decodes to: the mapped storage of its buffer when the length
// is declared and OpenAL can map it; else a block handed over whole at the
// end. Without a buffer (no device) the sound decodes, so a broken file still
// fails, but nothing is kept.
class BufferSink : public AudioSink {
 public:
  // `mappable` false: always gathered whole.
  BufferSink(ALuint buffer, bool mappable) : buffer_(buffer), mappable_(mappable) {}
  ~BufferSink() override { Unmap(); }

  bool Begin(long frames, int channels, int bytes_per_value, int hertz) override {
    format_ = OpenALFormat(bytes_per_value, channels);
    frame_bytes_ = channels * bytes_per_value;
    hertz_ = hertz;
    // OpenAL would refuse the layout: the sample stays silent.
    if (!buffer_ || !format_) return true;
    if (mappable_ && frames > 0 && frames <= INT_MAX / frame_bytes_ && Map(frames)) return true;
    gather_ = true;
    return whole_.Begin(frames, channels, bytes_per_value, hertz);
  }

  bool Take(const unsigned char* values, int frames) override {
    decoded_ += frames;
    if (gather_) return whole_.Take(values, frames);
    if (!mapped_ || decoded_ > room_) return true;
    memcpy(mapped_ + (decoded_ - frames) * frame_bytes_, values,
           static_cast<size_t>(frames) * frame_bytes_);
    return true;
  }

  // After a whole decode: the buffer gets the sound. False when the file
  // declared a length other than it held, and the mapped storage is wrong.
  bool Finish() {
    if (mapped_) {
      Unmap();
      return decoded_ == room_;
    }
    if (gather_) {
      int length = 0, channels = 0, bytes_per_value = 0, hertz = 0;
      unsigned char* pcm = whole_.Release(&length, &channels, &bytes_per_value, &hertz);
      if (pcm) alBufferData(buffer_, format_, pcm, length * channels * bytes_per_value, hertz);
      free(pcm);
    }
    return true;
  }

  long Bytes() const { return decoded_ * frame_bytes_; }

 private:
  bool Map(long frames) {
    if (!alIsExtensionPresent("AL_SOFT_map_buffer") &&
        !alIsExtensionPresent("AL_SOFTX_map_buffer")) {
      return false;
    }
    auto storage = reinterpret_cast<BufferStorage>(alGetProcAddress("alBufferStorageSOFT"));
    auto map = reinterpret_cast<MapBuffer>(alGetProcAddress("alMapBufferSOFT"));
    unmap_ = reinterpret_cast<UnmapBuffer>(alGetProcAddress("alUnmapBufferSOFT"));
    if (!storage || !map || !unmap_) return false;
    const ALsizei bytes = static_cast<ALsizei>(frames * frame_bytes_);
    alGetError();
    storage(buffer_, format_, nullptr, bytes, hertz_, kMapWrite);
    if (alGetError() != AL_NO_ERROR) return false;
    mapped_ = static_cast<unsigned char*>(map(buffer_, 0, bytes, kMapWrite));
    room_ = frames;
    return mapped_ != nullptr;
  }

  void Unmap() {
    if (mapped_) unmap_(buffer_);
    mapped_ = nullptr;
  }

  ALuint buffer_;
  bool mappable_;
  ALenum format_ = 0;
  int frame_bytes_ = 0, hertz_ = 0;
  unsigned char* mapped_ = nullptr;
  UnmapBuffer unmap_ = nullptr;
  long room_ = 0, decoded_ = 0;  // frames
  bool gather_ = false;
  BlockSink whole_;
};

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
  ALuint buffer = 0;
  alGenBuffers(1, &buffer);  // none without a device
  BufferSink sink(buffer, true);
  bool decoded = host->DecodeAudio(path, sink);
  if (!sink.Finish() && decoded) {
    // The file declared another length than it held: decoded again, gathered whole.
    BufferSink whole(buffer, false);
    decoded = host->DecodeAudio(path, whole);
    whole.Finish();
  }
  if (!decoded) {
    if (buffer) alDeleteBuffers(1, &buffer);
    return false;
  }
  gc_ext_malloced(static_cast<int>(sink.Bytes()));
  sample->Discard();
  sample->alBuffer = buffer;
  return true;
}
