// audio/sink.h: where a sound goes while it decodes, a block at a time, so
// that no whole decoded copy has to exist beside the one kept.
#pragma once

class AudioSink {
 public:
  virtual ~AudioSink() = default;
  // Once, before any values: the layout (bytes per value 1, unsigned 8-bit,
  // or 2, signed 16-bit) and the length in frames when the file declares it
  // (-1 when it does not; the frames that follow may still differ from a
  // damaged file's declaration). False stops the decode.
  virtual bool Begin(long frames, int channels, int bytes_per_value, int hertz) = 0;
  // The next `frames` frames, interleaved. False stops the decode.
  virtual bool Take(const unsigned char* values, int frames) = 0;
};
