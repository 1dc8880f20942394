// The game's music: a small step sequencer and the looping theme written on it.
#include "tools/music.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace sfx {

namespace {

constexpr float kBeatSeconds = 60.0f / kThemeBpm;

// The loop as two channels of fixed length; anything added past the end
// continues at the start.
class Loop {
 public:
  explicit Loop(int length) : m_left(length, 0.0f), m_right(length, 0.0f) {}
  int length() const { return static_cast<int>(m_left.size()); }
  void add(const Buffer& voice, float beat, float gain, float pan) {
    int start = static_cast<int>(std::lround(beat * kBeatSeconds * kRate));
    float l = gain * std::sqrt(0.5f * (1.0f - pan)), r = gain * std::sqrt(0.5f * (1.0f + pan));
    for (size_t i = 0; i < voice.size(); ++i) {
      size_t at = (start + i) % m_left.size();
      m_left[at] += voice[i] * l;
      m_right[at] += voice[i] * r;
    }
  }
  // Feedback echo computed round the loop until it settles (periodic steady state).
  void echo(float delayBeats, float feedback, float crossPan) {
    int d = static_cast<int>(std::lround(delayBeats * kBeatSeconds * kRate));
    Buffer dryL = m_left, dryR = m_right;
    int n = length();
    for (int round = 0; round < 4; ++round)
      for (int i = 0; i < n; ++i) {
        int j = (i - d + n) % n;
        // ping-pong: each repeat crosses to the other side
        m_left[i] = dryL[i] + feedback * (crossPan * m_right[j] + (1 - crossPan) * m_left[j]);
        m_right[i] = dryR[i] + feedback * (crossPan * m_left[j] + (1 - crossPan) * m_right[j]);
      }
  }
  void mixInto(Loop& dst, float gain) const {
    for (int i = 0; i < length(); ++i) {
      dst.m_left[i] += m_left[i] * gain;
      dst.m_right[i] += m_right[i] * gain;
    }
  }
  Stereo take() { return {std::move(m_left), std::move(m_right)}; }

 private:
  Buffer m_left, m_right;
};

float beatsToSeconds(float beats) { return beats * kBeatSeconds; }

// --- instruments: each renders one note to a mono buffer ---

Buffer leadNote(int midi, float seconds) {
  Buffer b(samplesFor(seconds + 0.12f));
  Osc osc(Wave::Square, 0.3f), sub(Wave::Triangle);
  OnePole soften;
  float hz = noteHz(static_cast<float>(midi));
  for (size_t i = 0; i < b.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    float vib = 1.0f + 0.006f * std::fmin(t / 0.25f, 1.0f) * std::sin(6.2831853f * 5.5f * t);
    float v = 0.7f * osc.next(hz * vib) + 0.5f * sub.next(hz * vib);
    b[i] = soften.lowpass(v, 4200.0f) * adsr(t, seconds, 0.006f, 0.09f, 0.65f, 0.1f);
  }
  return b;
}

Buffer bassNote(int midi, float seconds) {
  Buffer b(samplesFor(seconds + 0.06f));
  Osc tri(Wave::Triangle), saw(Wave::Saw);
  Svf filter;
  float hz = noteHz(static_cast<float>(midi));
  for (size_t i = 0; i < b.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    float cutoff = 300.0f + 1500.0f * std::exp(-t / 0.07f);
    float v = tri.next(hz) + 0.45f * saw.next(hz);
    b[i] = filter.process(v, cutoff, 1.2f).low * adsr(t, seconds, 0.003f, 0.12f, 0.7f, 0.05f);
  }
  return b;
}

Buffer stabNote(int midi, float seconds) {
  Buffer b(samplesFor(seconds + 0.05f));
  Osc a(Wave::Square, 0.5f), c(Wave::Square, 0.5f);
  OnePole soften;
  float hz = noteHz(static_cast<float>(midi));
  for (size_t i = 0; i < b.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    b[i] = soften.lowpass(a.next(hz) + c.next(hz * 1.004f), 2400.0f) * pluck(t, 0.003f, 0.07f);
  }
  return b;
}

Buffer bellNote(int midi) {
  Buffer b(samplesFor(0.8f));
  Osc f(Wave::Sine), h(Wave::Sine);
  float hz = noteHz(static_cast<float>(midi));
  for (size_t i = 0; i < b.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    b[i] = (f.next(hz) * pluck(t, 0.002f, 0.3f) + 0.4f * h.next(hz * 3.0f) * pluck(t, 0.001f, 0.08f));
  }
  return b;
}

Buffer kick() {
  Buffer b(samplesFor(0.35f));
  Osc body(Wave::Sine);
  for (size_t i = 0; i < b.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    b[i] = body.next(48.0f + 110.0f * std::exp(-t / 0.03f)) * pluck(t, 0.001f, 0.12f);
  }
  return b;
}

Buffer snare() {
  Buffer b(samplesFor(0.25f));
  Noise noise(7);
  Svf colour;
  Osc body(Wave::Triangle);
  for (size_t i = 0; i < b.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    float rattle = colour.process(noise.next(), 2600.0f, 0.8f).band * pluck(t, 0.001f, 0.06f);
    b[i] = rattle * 1.6f + body.next(190.0f) * pluck(t, 0.001f, 0.03f) * 0.6f;
  }
  return b;
}

Buffer hat(bool open) {
  Buffer b(samplesFor(open ? 0.3f : 0.06f));
  Noise noise(open ? 13 : 17);
  Svf air;
  for (size_t i = 0; i < b.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    b[i] = air.process(noise.next(), 8000.0f, 1.0f).high * pluck(t, 0.0005f, open ? 0.08f : 0.014f);
  }
  return b;
}

// --- the tune ---

// One chord per bar: root for the bass, then the chord tones for the stabs.
struct Chord {
  int root;
  int tones[3];
};
const Chord kC{48, {60, 64, 67}}, kAm{45, {57, 60, 64}}, kF{41, {57, 60, 65}}, kG{43, {55, 59, 62}},
    kEm{40, {55, 59, 64}};
const Chord* const kChords[kThemeBars] = {&kC, &kAm, &kF, &kG, &kC, &kAm, &kF, &kG,   // A
                                          &kF, &kG, &kEm, &kAm, &kF, &kG, &kC, &kC,   // B
                                          &kC, &kAm, &kF, &kG, &kC, &kAm, &kF, &kG};  // A again

// The lead, one bar per string, lengths in eighth notes.
const char* const kMelody[kThemeBars] = {
    "E5/2 G5/2 C6/2 G5/1 E5/1", "A5/3 G5/1 E5/2 C5/2",     "F5/2 A5/2 C6/1 A5/1 F5/2", "G5/3 A5/1 G5/2 D5/2",
    "E5/2 G5/2 C6/2 E6/1 D6/1", "C6/2 A5/2 E5/2 A5/2",     "F5/1 G5/1 A5/2 G5/1 F5/1 D5/2", "G5/4 r/2 B4/1 D5/1",
    "A5/1 C6/1 A5/1 F5/1 A5/2 C6/2", "B5/1 D6/1 B5/1 G5/1 B5/2 D6/2", "G5/2 E5/2 B5/2 G5/2", "C6/3 B5/1 A5/2 E5/2",
    "F5/2 A5/2 C6/2 F6/2", "D6/2 B5/2 G5/2 D6/2",     "E6/3 D6/1 C6/2 G5/2",     "C6/4 r/4",
    "E5/2 G5/2 C6/2 G5/1 E5/1", "A5/3 G5/1 E5/2 C5/2",     "F5/2 A5/2 C6/1 A5/1 F5/2", "G5/3 A5/1 G5/2 D5/2",
    "E5/2 G5/2 C6/2 E6/1 D6/1", "C6/2 A5/2 E5/2 A5/2",     "F5/1 G5/1 A5/2 G5/1 F5/1 D5/2", "G5/2 F5/1 E5/1 D5/2 B4/2"};

int noteNumber(const std::string& name) {
  static const int semis[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') return -1;
  int n = semis[name[0] - 'A'];
  size_t i = 1;
  if (name[i] == '#') { ++n; ++i; }
  else if (name[i] == 'b') { --n; ++i; }
  if (i + 1 != name.size() || name[i] < '0' || name[i] > '9') return -1;
  return 12 * (name[i] - '0' + 1) + n;
}

struct Kit {
  Buffer kick = sfx::kick(), snare = sfx::snare(), closed = hat(false), open = hat(true);
};

void writeDrums(Loop& drums, const Kit& kit, int bar) {
  const Buffer &k = kit.kick, &s = kit.snare, &ch = kit.closed, &oh = kit.open;
  float top = bar * 4.0f;
  bool fill = bar % 8 == 7;
  for (int step = 0; step < 16; ++step) {
    float beat = top + step * 0.25f;
    if (step == 0 || step == 8 || (step == 10 && bar % 2 == 1)) drums.add(k, beat, 0.9f, 0.0f);
    if (step == 4 || step == 12 || (fill && step >= 13)) drums.add(s, beat, step > 12 ? 0.35f : 0.5f, -0.1f);
    if (step % 2 == 0 && !(step == 14 && bar % 2 == 1)) drums.add(ch, beat, step % 4 == 0 ? 0.22f : 0.14f, 0.35f);
    if (step == 14 && bar % 2 == 1) drums.add(oh, beat, 0.16f, 0.35f);
  }
}

void writeBass(Loop& bass, int bar) {
  // root on the beat, a bounce to the fifth and the octave
  static const float starts[] = {0, 1.5f, 2, 3, 3.5f};
  static const int offsets[] = {0, 0, 7, 12, 7};
  static const float lengths[] = {1.2f, 0.4f, 0.9f, 0.4f, 0.4f};
  for (int i = 0; i < 5; ++i)
    bass.add(bassNote(kChords[bar]->root + offsets[i], beatsToSeconds(lengths[i])), bar * 4.0f + starts[i], 1.0f, 0.0f);
}

void writeStabs(Loop& stabs, int bar) {
  // off-beat chord stabs, alternating sides
  for (int beat = 0; beat < 4; ++beat)
    for (int tone : kChords[bar]->tones)
      stabs.add(stabNote(tone, 0.15f), bar * 4.0f + beat + 0.5f, 1.0f, beat % 2 ? 0.4f : -0.4f);
}

void writeBells(Loop& bells, int bar) {
  // a rising arpeggio over the middle section
  const Chord& c = *kChords[bar];
  for (int i = 0; i < 8; ++i) bells.add(bellNote(c.tones[i % 3] + 12 * (1 + i / 3 % 2)), bar * 4.0f + i * 0.5f, 1.0f, i % 2 ? 0.5f : -0.5f);
}

}  // namespace

bool parseMelody(const std::string& text, float startBeat, std::vector<NoteEvent>& out, float& endBeat) {
  std::istringstream in(text);
  std::string token;
  float beat = startBeat;
  while (in >> token) {
    size_t slash = token.find('/');
    if (slash == std::string::npos || slash + 1 >= token.size()) return false;
    char* end = nullptr;
    long eighths = std::strtol(token.c_str() + slash + 1, &end, 10);
    if (*end != '\0' || eighths <= 0 || eighths > 64) return false;
    std::string name = token.substr(0, slash);
    float beats = eighths * 0.5f;
    if (name != "r") {
      int midi = noteNumber(name);
      if (midi < 0) return false;
      out.push_back({beat, beats, midi});
    }
    beat += beats;
  }
  endBeat = beat;
  return true;
}

int themeSamples() { return static_cast<int>(std::lround(kThemeBars * 4 * kBeatSeconds * kRate)); }

Stereo composeTheme() {
  int n = themeSamples();
  Loop mix(n), lead(n), drums(n), bass(n), stabs(n), bells(n);
  const Kit kit;
  for (int bar = 0; bar < kThemeBars; ++bar) {
    std::vector<NoteEvent> notes;
    float end = 0;
    parseMelody(kMelody[bar], bar * 4.0f, notes, end);
    for (const NoteEvent& e : notes) lead.add(leadNote(e.midi, beatsToSeconds(e.beats) * 0.9f), e.beat, 1.0f, 0.1f);
    writeDrums(drums, kit, bar);
    writeBass(bass, bar);
    writeStabs(stabs, bar);
    if (bar >= 8 && bar < 16) writeBells(bells, bar);
  }
  lead.echo(0.75f, 0.28f, 0.7f);
  bells.echo(0.75f, 0.3f, 0.8f);
  lead.mixInto(mix, 0.24f);
  drums.mixInto(mix, 0.55f);
  bass.mixInto(mix, 0.34f);
  stabs.mixInto(mix, 0.045f);
  bells.mixInto(mix, 0.09f);
  Stereo out = mix.take();
  float peak = 0;
  for (int i = 0; i < n; ++i) peak = std::fmax(peak, std::fmax(std::fabs(out.left[i]), std::fabs(out.right[i])));
  float gain = peak > 0 ? 0.85f / peak : 1.0f;
  for (int i = 0; i < n; ++i) {
    out.left[i] *= gain;
    out.right[i] *= gain;
  }
  return out;
}

}  // namespace sfx
