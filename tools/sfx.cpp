// The game's sound effects, each synthesised from tones, noise and envelopes.
#include "tools/sfx.h"

#include <cmath>

namespace sfx {

namespace {

// Every effect is mixed to this loudness (RMS, dBFS), so none stands out: a
// square-wave refusal peak-normalised like a bell sounds far louder than it.
constexpr float kEffectRmsDb = -18.0f;

// Scales an effect to the common loudness, its peak kept at or below `peak`.
void level(Buffer& b, float peak) {
  double squares = 0;
  float top = 0;
  for (float v : b) {
    squares += static_cast<double>(v) * v;
    top = std::fmax(top, std::fabs(v));
  }
  if (top <= 0) return;
  const float rms = static_cast<float>(std::sqrt(squares / b.size()));
  const float gain = std::fmin(std::pow(10.0f, kEffectRmsDb / 20) / rms, peak / top);
  for (float& v : b) v *= gain;
}

// A bell-like tone: a few inharmonic sine partials, each fading at its own rate.
Buffer bell(float hz, float seconds, float brightness) {
  static const float ratios[] = {1.0f, 2.0f, 2.76f, 5.4f};
  static const float levels[] = {1.0f, 0.45f, 0.35f, 0.18f};
  static const float decays[] = {0.45f, 0.25f, 0.18f, 0.08f};
  Buffer b(samplesFor(seconds));
  for (int p = 0; p < 4; ++p) {
    Osc osc(Wave::Sine);
    float level = levels[p] * (p == 0 ? 1.0f : brightness);
    for (size_t i = 0; i < b.size(); ++i) {
      float t = static_cast<float>(i) / kRate;
      b[i] += osc.next(hz * ratios[p]) * level * pluck(t, 0.002f, decays[p] * seconds);
    }
  }
  return b;
}

// A simple voice: oscillator through an ADSR, optionally sliding in pitch.
Buffer tone(Wave wave, float hz0, float hz1, float seconds, float hold, float duty = 0.5f) {
  Buffer b(samplesFor(seconds));
  Osc osc(wave, duty);
  OnePole tame;
  for (size_t i = 0; i < b.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    float hz = hz0 * std::pow(hz1 / hz0, std::fmin(t / seconds, 1.0f));
    b[i] = tame.lowpass(osc.next(hz), 6000.0f) * adsr(t, hold, 0.004f, 0.05f, 0.7f, seconds - hold);
  }
  return b;
}

// One knock of a die on the table or on another die: a resonant noise burst
// over a short low thump.
Buffer knock(Noise& noise, float pitchHz, float decay, float thump) {
  Buffer b(samplesFor(decay * 8 + 0.02f));
  Svf body;
  Osc low(Wave::Sine);
  for (size_t i = 0; i < b.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    float click = body.process(noise.next(), pitchHz, 7.0f).band * pluck(t, 0.0005f, decay);
    float knock = low.next(170.0f * (1.0f + 0.6f * std::exp(-t / 0.01f))) * pluck(t, 0.001f, 0.012f);
    b[i] = click * 1.6f + knock * thump;
  }
  return b;
}

// A handful of dice tumbling and settling: knocks that thin out over time.
Buffer rattle(uint32_t seed, int knocks, float seconds, float pitchLo, float pitchHi) {
  Noise noise(seed);
  Buffer b(samplesFor(seconds));
  float t = 0.0f;
  for (int k = 0; k < knocks && t < seconds - 0.05f; ++k) {
    float progress = static_cast<float>(k) / knocks;
    float pitch = pitchLo + (pitchHi - pitchLo) * (0.5f + 0.5f * noise.next());
    float loud = 0.5f + 0.5f * std::fabs(noise.next());
    mixInto(b, knock(noise, pitch, 0.004f + 0.004f * std::fabs(noise.next()), k % 3 == 0 ? 0.8f : 0.25f),
            samplesFor(t), loud * (1.0f - 0.6f * progress));
    // gaps grow as the dice come to rest
    t += 0.018f + 0.06f * progress * progress + 0.03f * std::fabs(noise.next());
  }
  b.resize(samplesFor(seconds));
  softEdges(b, 0.0f, 0.03f);
  level(b, 0.8f);
  return b;
}

}  // namespace

Buffer pick() {
  Buffer b(samplesFor(0.07f));
  Osc blip(Wave::Sine);
  Noise noise(11);
  Svf hiss;
  for (size_t i = 0; i < b.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    float hz = 1300.0f + 1700.0f * std::exp(-t / 0.008f);
    float crack = hiss.process(noise.next(), 5200.0f, 2.0f).band * pluck(t, 0.0003f, 0.002f);
    b[i] = blip.next(hz) * pluck(t, 0.0008f, 0.014f) + crack * 0.9f;
  }
  softEdges(b, 0.0f, 0.01f);
  level(b, 0.8f);
  return b;
}

Buffer menuClick() {
  // A soft "bloop": a sine that leaps up an octave and dies away quickly.
  Buffer b(samplesFor(0.06f));
  Osc pop(Wave::Sine);
  Osc edge(Wave::Triangle);
  for (size_t i = 0; i < b.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    float hz = 700.0f + 700.0f * (1.0f - std::exp(-t / 0.01f));
    b[i] = (pop.next(hz) + 0.25f * edge.next(hz * 2)) * pluck(t, 0.001f, 0.016f);
  }
  softEdges(b, 0.0f, 0.01f);
  level(b, 0.6f);
  return b;
}

Buffer lifeLost() {
  const float seconds = 0.7f;
  Buffer b(samplesFor(seconds));
  Osc sawA(Wave::Saw), sawB(Wave::Saw), sub(Wave::Square);
  Svf filter;
  for (size_t i = 0; i < b.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    float hz = 118.0f * std::pow(0.6f, t / seconds);
    float raw = sawA.next(hz) + sawB.next(hz * 1.012f) + 0.5f * sub.next(hz * 0.5f);
    float cutoff = 1400.0f * std::exp(-t / 0.35f) + 260.0f;
    float buzz = 0.75f + 0.25f * std::sin(6.2831853f * 14.0f * t);  // tremolo
    b[i] = filter.process(raw, cutoff, 1.4f).low * buzz * adsr(t, seconds - 0.2f, 0.006f, 0.1f, 0.75f, 0.2f);
  }
  level(b, 0.85f);
  return b;
}

Buffer rattle1() { return rattle(101, 14, 0.55f, 1800.0f, 3200.0f); }
Buffer rattle2() { return rattle(202, 18, 0.7f, 1500.0f, 2800.0f); }
Buffer rattle3() { return rattle(303, 11, 0.5f, 2200.0f, 3800.0f); }
Buffer rattle4() { return rattle(404, 22, 0.85f, 1600.0f, 3400.0f); }

Buffer earned() {
  // A rising major arpeggio of bells with a little shimmer on top.
  static const float notes[] = {76, 80, 83, 88};  // E5 G#5 B5 E6
  Buffer b;
  for (int i = 0; i < 4; ++i) mixInto(b, bell(noteHz(notes[i]), 0.9f - 0.1f * i, 0.8f), samplesFor(0.055f * i), 0.6f);
  Noise noise(95);
  Svf air;
  for (size_t i = 0; i < b.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    b[i] += air.process(noise.next(), 9000.0f, 1.0f).high * 0.05f * pluck(t - 0.16f, 0.02f, 0.12f);
  }
  softEdges(b, 0.0f, 0.05f);
  level(b, 0.85f);
  return b;
}

Buffer jingle() {
  // Lead C E G C' (high) over a bouncing bass, ending on a held chord.
  struct Note { float start, length, midi; };
  static const Note lead[] = {{0.0f, 0.12f, 72}, {0.13f, 0.12f, 76}, {0.26f, 0.12f, 79},
                              {0.39f, 0.22f, 84}, {0.65f, 0.1f, 83}, {0.78f, 0.6f, 84}};
  static const Note bass[] = {{0.0f, 0.24f, 48}, {0.26f, 0.24f, 55}, {0.52f, 0.24f, 52}, {0.78f, 0.6f, 48}};
  static const Note chord[] = {{0.78f, 0.7f, 76}, {0.78f, 0.7f, 79}};
  Buffer b;
  for (const Note& n : lead) mixInto(b, tone(Wave::Square, noteHz(n.midi), noteHz(n.midi), n.length + 0.12f, n.length, 0.25f), samplesFor(n.start), 0.3f);
  for (const Note& n : bass) mixInto(b, tone(Wave::Triangle, noteHz(n.midi), noteHz(n.midi), n.length + 0.08f, n.length), samplesFor(n.start), 0.5f);
  for (const Note& n : chord) mixInto(b, tone(Wave::Triangle, noteHz(n.midi), noteHz(n.midi), n.length + 0.3f, n.length), samplesFor(n.start), 0.22f);
  mixInto(b, bell(noteHz(96), 0.7f, 0.5f), samplesFor(0.78f), 0.15f);
  softEdges(b, 0.0f, 0.08f);
  level(b, 0.85f);
  return b;
}

Buffer refuse() {
  // Two falling square notes, muffled: "nuh-uh".
  Buffer b;
  mixInto(b, tone(Wave::Square, noteHz(64), noteHz(63), 0.11f, 0.08f, 0.4f), 0, 0.5f);
  mixInto(b, tone(Wave::Square, noteHz(59), noteHz(56), 0.2f, 0.14f, 0.4f), samplesFor(0.12f), 0.5f);
  OnePole muffle;
  for (float& v : b) v = muffle.lowpass(v, 1800.0f);
  softEdges(b, 0.002f, 0.03f);
  level(b, 0.55f);
  return b;
}

}  // namespace sfx
