// Sound building blocks, the WAV writer and the music sequencer's notation.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/tools/wav_reader.h"
#include "tools/music.h"
#include "tools/synth.h"
#include "tools/wav.h"

namespace {

using namespace sfx;

int zeroCrossings(Wave wave, float hz, int n) {
  Osc osc(wave);
  int count = 0;
  float last = osc.next(hz);
  for (int i = 1; i < n; ++i) {
    float v = osc.next(hz);
    if ((last < 0) != (v < 0)) ++count;
    last = v;
  }
  return count;
}

TEST(Synth, OscillatorsRunAtTheirPitch) {
  EXPECT_FLOAT_EQ(noteHz(69), 440.0f);
  EXPECT_NEAR(noteHz(60), 261.63f, 0.01f);
  for (Wave w : {Wave::Sine, Wave::Triangle, Wave::Square, Wave::Saw}) {
    int crossings = zeroCrossings(w, 441.0f, kRate);
    EXPECT_NEAR(crossings, 882, 3) << static_cast<int>(w);
  }
  // band-limited: no sample of a square strays far past full scale
  Osc sq(Wave::Square);
  for (int i = 0; i < kRate; ++i) EXPECT_LE(std::fabs(sq.next(3000.0f)), 1.3f);
}

TEST(Synth, EnvelopesAndNoise) {
  EXPECT_NEAR(adsr(0.005f, 1, 0.01f, 0.1f, 0.5f, 0.2f), 0.5f, 1e-5f);  // half way up
  EXPECT_NEAR(adsr(0.01f, 1, 0.01f, 0.1f, 0.5f, 0.2f), 1.0f, 1e-5f);
  EXPECT_NEAR(adsr(0.5f, 1, 0.01f, 0.1f, 0.5f, 0.2f), 0.5f, 1e-5f);  // sustain
  EXPECT_NEAR(adsr(1.1f, 1, 0.01f, 0.1f, 0.5f, 0.2f), 0.25f, 1e-4f); // half released
  EXPECT_EQ(adsr(1.3f, 1, 0.01f, 0.1f, 0.5f, 0.2f), 0.0f);
  EXPECT_EQ(adsr(-0.1f, 1, 0.01f, 0.1f, 0.5f, 0.2f), 0.0f);
  EXPECT_NEAR(pluck(0.1f, 0.0f, 0.1f), std::exp(-1.0f), 1e-5f);

  Noise a(5), b(5), c(6);
  double mean = 0;
  bool same = true, differs = false;
  for (int i = 0; i < 20000; ++i) {
    float x = a.next(), y = b.next(), z = c.next();
    same = same && x == y;
    differs = differs || x != z;
    mean += x;
    ASSERT_GE(x, -1.0f);
    ASSERT_LT(x, 1.0f);
  }
  EXPECT_TRUE(same);
  EXPECT_TRUE(differs);
  EXPECT_NEAR(mean / 20000, 0.0, 0.02);
}

TEST(Synth, FiltersPassAndStopWhatTheyShould) {
  auto gain = [](float hz, bool low) {
    Osc osc(Wave::Sine);
    Svf f;
    float peak = 0;
    for (int i = 0; i < kRate / 2; ++i) {
      Svf::Out o = f.process(osc.next(hz), 1000.0f, 0.7f);
      if (i > kRate / 4) peak = std::fmax(peak, std::fabs(low ? o.low : o.high));
    }
    return peak;
  };
  EXPECT_GT(gain(100, true), 0.9f);
  EXPECT_LT(gain(8000, true), 0.05f);
  EXPECT_GT(gain(8000, false), 0.9f);
  EXPECT_LT(gain(100, false), 0.05f);
}

TEST(Synth, WavWriterRoundTrips) {
  std::vector<float> samples = {0.0f, 0.5f, -0.5f, 1.5f, -2.0f, 0.25f};
  std::vector<unsigned char> bytes = encodeWav(samples, 22050);
  datatest::Wav wav;
  std::string error;
  ASSERT_TRUE(datatest::parseWav(bytes, wav, error)) << error;
  EXPECT_EQ(wav.channels, 1);
  EXPECT_EQ(wav.rate, 22050);
  ASSERT_EQ(wav.samples.size(), samples.size());
  EXPECT_NEAR(wav.samples[1], 0.5f, 1e-4f);
  EXPECT_NEAR(wav.samples[3], 1.0f, 1e-4f);   // clamped, not wrapped
  EXPECT_NEAR(wav.samples[4], -1.0f, 1e-4f);
  // a file cut short is refused, not read past its end
  bytes.resize(bytes.size() - 3);
  EXPECT_FALSE(datatest::parseWav(bytes, wav, error));
}

TEST(Music, MelodyNotation) {
  std::vector<NoteEvent> notes;
  float end = 0;
  ASSERT_TRUE(parseMelody("C4/2 r/1 A4/1 F#5/4 Bb3/8", 8.0f, notes, end));
  ASSERT_EQ(notes.size(), 4u);
  EXPECT_EQ(notes[0].midi, 60);
  EXPECT_FLOAT_EQ(notes[0].beat, 8.0f);
  EXPECT_FLOAT_EQ(notes[0].beats, 1.0f);
  EXPECT_EQ(notes[1].midi, 69);
  EXPECT_FLOAT_EQ(notes[1].beat, 9.5f);  // after the rest
  EXPECT_EQ(notes[2].midi, 78);
  EXPECT_EQ(notes[3].midi, 58);
  EXPECT_FLOAT_EQ(end, 8.0f + 8.0f);
  for (const char* bad : {"H4/2", "C4", "C4/0", "C4/x", "C/2", "C44/2", "C4/-1"}) {
    std::vector<NoteEvent> none;
    EXPECT_FALSE(parseMelody(bad, 0, none, end)) << bad;
  }
}

TEST(Music, ThemeLoopHasWholeBarsAndIsNotClipped) {
  EXPECT_EQ(themeSamples(), static_cast<int>(kThemeBars * 4 * 60.0f / kThemeBpm * kRate));
  Stereo theme = composeTheme();
  ASSERT_EQ(theme.left.size(), static_cast<size_t>(themeSamples()));
  ASSERT_EQ(theme.right.size(), theme.left.size());
  float peak = 0;
  for (size_t i = 0; i < theme.left.size(); ++i) peak = std::fmax(peak, std::fmax(std::fabs(theme.left[i]), std::fabs(theme.right[i])));
  EXPECT_NEAR(peak, 0.85f, 1e-3f);
}

}  // namespace
