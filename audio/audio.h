// audio/audio.h: the sound device: 32 effect channels and a music channel on
// OpenAL, and the samples (decoded sounds in OpenAL buffers) they play.
#pragma once

#include <vector>

#include "audio/music_stream.h"
#include "runtime/gc.h"

// One whole decoded sound in an OpenAL buffer.
class gxtkSample : public Object {
 public:
  unsigned int alBuffer = 0;  // OpenAL buffer name, 0 for none

  // Hands the buffer to `discarded`: it is deleted once no source holds it.
  ~gxtkSample() override;
  virtual int Discard();
};

// Buffers of discarded samples that may still be attached to a source.
extern std::vector<unsigned int> discarded;
// Detaches buffers from sources that finished and deletes every discarded
// buffer that no source holds any more; the rest wait for a later call.
void FlushDiscarded();

class gxtkAudio : public Object {
 public:
  static constexpr int kChannelCount = 33;
  static constexpr int kMusicChannel = 32;

  // One playback channel: an OpenAL source, made on first use.
  struct gxtkChannel {
    unsigned int source = 0;
    gxtkSample* sample = nullptr;  // last started here; held while it may sound
    int flags = 0;                 // non-zero: looping
    int state = 0;                 // 0 stopped, 1 playing, 2 paused (as the application sees it)

    // The source, made now if the channel has none; when OpenAL has no more,
    // the source of the first idle effect channel is taken. 0 if none can be had.
    unsigned int AL_Source();
    // OpenAL's own state of the source (AL_PLAYING, ...); AL_STOPPED when it has none.
    int AL_State() const;
  };

  // The one device; channels borrow sources through it.
  static gxtkAudio* audio;

  void* alcDevice = nullptr;   // ALCdevice*, null when no device could be opened
  void* alcContext = nullptr;  // ALCcontext*
  gxtkChannel channels[kChannelCount];

  // Opens the default device. Without one, every operation is a silent no-op.
  gxtkAudio();
  // Stops being the one device, so nothing borrows through a freed object.
  ~gxtkAudio() override;
  // Holds the samples that are still audible.
  void mark() override;

  // Channel numbers outside 0-32 are refused: PlaySample returns -1,
  // ChannelState 0, and the other operations do nothing.
  virtual int Suspend();
  virtual int Resume();
  virtual gxtkSample* LoadSample(String path);
  virtual bool LoadSample__UNSAFE__(gxtkSample* sample, String path);
  // 0, or -1 when no source could be had (nothing changes then).
  virtual int PlaySample(gxtkSample* sample, int channel, int flags);
  virtual int StopChannel(int channel);
  virtual int PauseChannel(int channel);
  virtual int ResumeChannel(int channel);
  virtual int ChannelState(int channel);
  virtual int SetVolume(int channel, float volume);
  // An angle in radians: 0 ahead, positive to the right, pi/2 fully right.
  virtual int SetPan(int channel, float pan);
  virtual int SetRate(int channel, float rate);
  // Plays the file on channel 32: an Ogg Vorbis tune streamed (see
  // MusicStream), another sound loaded whole; -1 when it cannot be played.
  virtual int PlayMusic(String path, int flags);
  virtual int StopMusic();
  virtual int PauseMusic();
  virtual int ResumeMusic();
  virtual int MusicState();
  virtual int SetMusicVolume(float volume);
  // At each update: the streamed tune gets the sound it will play next.
  virtual void Update();

 private:
  MusicStream music_;

  // The channel, or null when the number is out of range.
  gxtkChannel* Channel(int channel);
};
