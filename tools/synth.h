// Sound building blocks: oscillators, envelopes, noise and filters.
#pragma once
#include <cstdint>
#include <vector>

namespace sfx {

constexpr int kRate = 44100;
using Buffer = std::vector<float>;

float noteHz(float midi);  // A4 = MIDI 69 = 440 Hz
int samplesFor(float seconds);

enum class Wave { Sine, Triangle, Square, Saw };

// Phase-accumulating oscillator; square and saw are band-limited (polyBLEP).
class Osc {
 public:
  explicit Osc(Wave wave, float duty = 0.5f) : m_wave(wave), m_duty(duty) {}
  float next(float hz);

 private:
  Wave m_wave;
  float m_duty;
  double m_phase = 0;
};

class Noise {
 public:
  explicit Noise(uint32_t seed) : m_state(seed ? seed : 1u) {}
  float next();  // white, -1..1

 private:
  uint32_t m_state;
};

// Attack-decay-sustain-release level at time t for a note held `hold` seconds.
float adsr(float t, float hold, float attack, float decay, float sustain, float release);
// Exponential fall with time constant tau, after a short linear attack.
float pluck(float t, float attack, float tau);

// Chamberlin state-variable filter: low-, band- and high-pass outputs.
class Svf {
 public:
  struct Out {
    float low, band, high;
  };
  Out process(float in, float cutoffHz, float q);

 private:
  float m_low = 0, m_band = 0;
};

class OnePole {
 public:
  float lowpass(float in, float cutoffHz);
  float highpass(float in, float cutoffHz) { return in - lowpass(in, cutoffHz); }

 private:
  float m_z = 0;
};

// Adds `src` times `gain` into `dst` from sample `at`, growing `dst` if needed.
void mixInto(Buffer& dst, const Buffer& src, int at, float gain);
// Scales so that the largest magnitude becomes `peak`.
void normalise(Buffer& b, float peak);
// Short fades at both ends so the sound starts and stops without a click.
void softEdges(Buffer& b, float fadeInSeconds, float fadeOutSeconds);

}  // namespace sfx
