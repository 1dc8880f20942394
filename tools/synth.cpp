// Sound building blocks: oscillators, envelopes, noise and filters.
#include "tools/synth.h"

#include <algorithm>
#include <cmath>

namespace sfx {

namespace {
constexpr double kTwoPi = 6.283185307179586;

// Correction that removes most aliasing at a step of a naive wave.
float polyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return static_cast<float>(t + t - t * t - 1.0);
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return static_cast<float>(t * t + t + t + 1.0);
  }
  return 0.0f;
}
}  // namespace

float noteHz(float midi) { return 440.0f * std::pow(2.0f, (midi - 69.0f) / 12.0f); }
int samplesFor(float seconds) { return static_cast<int>(std::lround(seconds * kRate)); }

float Osc::next(float hz) {
  double dt = hz / kRate;
  double t = m_phase;
  float v = 0;
  switch (m_wave) {
    case Wave::Sine:
      v = static_cast<float>(std::sin(kTwoPi * t));
      break;
    case Wave::Triangle:
      v = static_cast<float>(t < 0.5 ? 4.0 * t - 1.0 : 3.0 - 4.0 * t);
      break;
    case Wave::Square: {
      v = t < m_duty ? 1.0f : -1.0f;
      v += polyBlep(t, dt);
      double t2 = t - m_duty;
      if (t2 < 0) t2 += 1.0;
      v -= polyBlep(t2, dt);
      break;
    }
    case Wave::Saw:
      v = static_cast<float>(2.0 * t - 1.0) - polyBlep(t, dt);
      break;
  }
  m_phase += dt;
  m_phase -= std::floor(m_phase);
  return v;
}

float Noise::next() {
  m_state ^= m_state << 13;
  m_state ^= m_state >> 17;
  m_state ^= m_state << 5;
  return static_cast<float>(m_state >> 8) / 8388608.0f - 1.0f;
}

float adsr(float t, float hold, float attack, float decay, float sustain, float release) {
  auto held = [&](float u) {
    if (u < attack) return u / attack;
    u -= attack;
    if (u < decay) return 1.0f - (1.0f - sustain) * (u / decay);
    return sustain;
  };
  if (t < 0) return 0;
  if (t < hold) return held(t);
  float r = t - hold;
  return r >= release ? 0.0f : held(hold) * (1.0f - r / release);
}

float pluck(float t, float attack, float tau) {
  if (t < 0) return 0;
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / tau);
}

Svf::Out Svf::process(float in, float cutoffHz, float q) {
  float f = 2.0f * std::sin(3.14159265f * std::min(cutoffHz, kRate * 0.16f) / kRate);
  float damp = 1.0f / std::max(q, 0.5f);
  m_low += f * m_band;
  float high = in - m_low - damp * m_band;
  m_band += f * high;
  return {m_low, m_band, high};
}

float OnePole::lowpass(float in, float cutoffHz) {
  float k = 1.0f - std::exp(-6.2831853f * cutoffHz / kRate);
  m_z += k * (in - m_z);
  return m_z;
}

void mixInto(Buffer& dst, const Buffer& src, int at, float gain) {
  if (dst.size() < at + src.size()) dst.resize(at + src.size(), 0.0f);
  for (size_t i = 0; i < src.size(); ++i) dst[at + i] += src[i] * gain;
}

void normalise(Buffer& b, float peak) {
  float m = 0;
  for (float v : b) m = std::max(m, std::fabs(v));
  if (m <= 0) return;
  for (float& v : b) v *= peak / m;
}

void softEdges(Buffer& b, float fadeIn, float fadeOut) {
  int n = static_cast<int>(b.size());
  int in = std::min(n, samplesFor(fadeIn)), out = std::min(n, samplesFor(fadeOut));
  for (int i = 0; i < in; ++i) b[i] *= static_cast<float>(i) / in;
  for (int i = 0; i < out; ++i) b[n - 1 - i] *= static_cast<float>(i) / out;
}

}  // namespace sfx
