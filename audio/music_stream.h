// audio/music_stream.h: the tune, decoded a block at a time into a short
// queue of OpenAL buffers on the music channel's source and refilled at each
// update, so that only a second or two of it is ever held decoded.
#pragma once

#include <cstdio>
#include <vector>

#include "runtime/string.h"

struct VorbisDecoder;

class MusicStream {
 public:
  // Six blocks of a quarter second: a suspended game updates five times a
  // second, and one drawing three frames a second still refills in time.
  static constexpr int kBuffers = 6;
  static constexpr int kBlockMilliseconds = 250;

  ~MusicStream() { Close(); }

  // Opens the Ogg Vorbis file at `path` and queues its first blocks on
  // `source`, then plays it. False, holding nothing, when it cannot be
  // opened or decoded, or OpenAL has no format for it.
  bool Open(const String& path, bool loop, unsigned int source);
  // Decodes into the buffers the source has played and queues them again. A
  // source that ran dry while `audible` is started again. Damage partway
  // through names the file once; what is queued plays out and the music ends.
  void Refill(bool audible);
  // Stops the source and lets go of its buffers, the decoder and the file.
  void Close();
  bool IsOpen() const { return source_ != 0; }

 private:
  // Decodes up to `frames` into block_, from the start again at the end when
  // looping: the frames decoded (fewer at the end or on damage).
  int DecodeBlock(int frames);
  bool Rewind();
  void Queue(unsigned int buffer, int frames);

  String path_;
  FILE* file_ = nullptr;
  VorbisDecoder* decoder_ = nullptr;
  unsigned int source_ = 0;
  unsigned int buffers_[kBuffers] = {};
  int channels_ = 0, hertz_ = 0, format_ = 0;
  bool loop_ = false;
  bool ended_ = false;  // nothing more to decode
  std::vector<short> frame_;  // one decoded Vorbis frame
  int frameAt_ = 0, frameFrames_ = 0;  // its frames not yet used
  long passFrames_ = 0;  // decoded since the file's start
  std::vector<short> block_;
};
