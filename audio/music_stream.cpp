// audio/music_stream.cpp: the streamed tune on OpenAL's buffer queue.
#include "audio/music_stream.h"

#include <AL/al.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "audio/vorbis_decoder.h"
#include "host/game.h"

namespace {

// A Vorbis frame never holds more than 4096 values per channel.
constexpr int kLargestFrame = 4096;

void Tell(const String& path, const char* reason) {
  if (RkGame::_game) RkGame::_game->TellLoadFailure(path, reason);
}

}  // namespace

bool MusicStream::Open(const String& path, bool loop, unsigned int source) {
  Close();
  if (!source || !RkGame::_game) return false;
  path_ = path;
  loop_ = loop;
  errno = 0;
  file_ = RkGame::_game->OpenFile(path, String("rb"));
  if (!file_) {
    Tell(path, errno ? strerror(errno) : "the file cannot be read");
    return false;
  }
  decoder_ = vorbis_open(file_, &channels_, &hertz_);
  format_ = channels_ == 1 ? AL_FORMAT_MONO16 : channels_ == 2 ? AL_FORMAT_STEREO16 : 0;
  if (!decoder_ || !format_ || hertz_ <= 0) {
    Tell(path, decoder_ ? "not one or two channels of sound" : "not an Ogg Vorbis sound that can be decoded");
    Close();
    return false;
  }
  frame_.resize(static_cast<size_t>(channels_) * kLargestFrame);
  block_.resize(static_cast<size_t>(channels_) * (hertz_ * kBlockMilliseconds / 1000));
  source_ = source;
  alSourceStop(source_);
  alSourcei(source_, AL_BUFFER, 0);
  alSourcei(source_, AL_LOOPING, AL_FALSE);
  alGetError();
  alGenBuffers(kBuffers, buffers_);
  if (alGetError() != AL_NO_ERROR) {
    std::fill(std::begin(buffers_), std::end(buffers_), 0u);
    Close();
    return false;
  }
  int queued = 0;
  for (unsigned int buffer : buffers_) {
    const int frames = DecodeBlock(hertz_ * kBlockMilliseconds / 1000);
    if (frames == 0) break;
    Queue(buffer, frames);
    ++queued;
  }
  if (queued == 0) {
    // Headers with no sound after them, or damage before the first block.
    Close();
    return false;
  }
  alSourcePlay(source_);
  return true;
}

void MusicStream::Refill(bool audible) {
  if (!source_) return;
  ALint processed = 0;
  alGetSourcei(source_, AL_BUFFERS_PROCESSED, &processed);
  for (; processed > 0 && !ended_; --processed) {
    ALuint buffer = 0;
    alSourceUnqueueBuffers(source_, 1, &buffer);
    const int frames = DecodeBlock(hertz_ * kBlockMilliseconds / 1000);
    if (frames > 0) Queue(buffer, frames);
  }
  ALint state = AL_STOPPED, queued = 0;
  alGetSourcei(source_, AL_SOURCE_STATE, &state);
  alGetSourcei(source_, AL_BUFFERS_QUEUED, &queued);
  // It ran dry between updates: it goes on from where the queue stands.
  if (audible && state == AL_STOPPED && queued > processed) alSourcePlay(source_);
}

void MusicStream::Close() {
  if (source_) {
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);
    source_ = 0;
  }
  if (buffers_[0]) alDeleteBuffers(kBuffers, buffers_);
  std::fill(std::begin(buffers_), std::end(buffers_), 0u);
  vorbis_close(decoder_);
  decoder_ = nullptr;
  if (file_) fclose(file_);
  file_ = nullptr;
  ended_ = false;
  frameAt_ = frameFrames_ = passFrames_ = 0;
}

int MusicStream::DecodeBlock(int frames) {
  int filled = 0;
  while (filled < frames && !ended_) {
    if (frameAt_ == frameFrames_) {
      const int got = vorbis_next_frame(decoder_, channels_, frame_.data(),
                                        static_cast<int>(frame_.size()));
      if (got < 0) {
        Tell(path_, "damaged partway: the music stops");
        ended_ = true;
      } else if (got == 0) {
        // The end: from the start again, or no more (a pass that gave no
        // sound at all would loop for ever).
        if (!loop_ || passFrames_ == 0 || !Rewind()) ended_ = true;
        passFrames_ = 0;
      }
      passFrames_ += std::max(got, 0);
      frameAt_ = 0;
      frameFrames_ = std::max(got, 0);
      continue;
    }
    const int take = std::min(frames - filled, frameFrames_ - frameAt_);
    std::memcpy(&block_[static_cast<size_t>(filled) * channels_],
                &frame_[static_cast<size_t>(frameAt_) * channels_],
                sizeof(short) * static_cast<size_t>(take) * channels_);
    filled += take;
    frameAt_ += take;
  }
  return filled;
}

// The decoder is made again from the file's start, so each pass decodes
// exactly as the first did and the loop joins without a seam.
bool MusicStream::Rewind() {
  vorbis_close(decoder_);
  decoder_ = nullptr;
  int channels = 0, hertz = 0;
  if (fseek(file_, 0, SEEK_SET) == 0) decoder_ = vorbis_open(file_, &channels, &hertz);
  if (!decoder_ || channels != channels_ || hertz != hertz_) {
    Tell(path_, "damaged partway: the music stops");
    return false;
  }
  return true;
}

void MusicStream::Queue(unsigned int buffer, int frames) {
  alBufferData(buffer, format_, block_.data(),
               static_cast<ALsizei>(sizeof(short) * static_cast<size_t>(frames) * channels_),
               hertz_);
  alSourceQueueBuffers(source_, 1, &buffer);
}
