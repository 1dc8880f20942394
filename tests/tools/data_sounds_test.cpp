// The sounds of the data folder: length, loudness, no clipping, a seamless music loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#define STB_VORBIS_HEADER_ONLY
#include "stb_vorbis.h"
#include "tests/tools/data_files.h"
#include "tests/tools/wav_reader.h"

namespace {

using namespace datatest;

struct Level {
  float peak = 0, rms = 0;
  int clipped = 0;
};
Level measure(const std::vector<float>& s) {
  Level l;
  double sq = 0;
  for (float v : s) {
    l.peak = std::max(l.peak, std::fabs(v));
    sq += v * v;
    if (std::fabs(v) >= 32767.0f / 32768.0f) ++l.clipped;
  }
  l.rms = s.empty() ? 0.0f : static_cast<float>(std::sqrt(sq / s.size()));
  return l;
}
float dB(float v) { return 20.0f * std::log10(std::max(v, 1e-9f)); }

struct SoundRule {
  const char* file;
  float minSeconds, maxSeconds;
};
// the effects the loader takes, with lengths that suit their use
const SoundRule kSounds[] = {
    {"sfx/001.wav", 0.02f, 0.25f}, {"sfx/002.wav", 0.2f, 1.5f}, {"sfx/003.wav", 0.2f, 1.5f},
    {"sfx/004.wav", 0.2f, 1.5f},   {"sfx/005.wav", 0.2f, 1.5f}, {"sfx/006.wav", 0.2f, 1.5f},
    {"sfx/095.wav", 0.3f, 2.0f},   {"sfx/096.wav", 0.5f, 3.0f}, {"sfx/098.wav", 0.1f, 1.0f},
    {"sfx/099.wav", 0.02f, 0.25f}};

TEST(DataSounds, EffectsDecodeWithSaneLengthAndLoudness) {
  for (const SoundRule& rule : kSounds) {
    SCOPED_TRACE(rule.file);
    Wav wav;
    std::string error;
    ASSERT_TRUE(parseWav(readFile(dataDir() + "/" + rule.file), wav, error)) << error;
    float seconds = static_cast<float>(wav.samples.size()) / (wav.rate * wav.channels);
    EXPECT_GE(seconds, rule.minSeconds);
    EXPECT_LE(seconds, rule.maxSeconds);
    EXPECT_GE(wav.rate, 22050);
    Level l = measure(wav.samples);
    EXPECT_GT(dB(l.peak), -16.0f);
    EXPECT_GT(dB(l.rms), -30.0f);
    // One loudness for all: none stands out of the mix (rattles may sit lower).
    EXPECT_LT(dB(l.rms), -17.5f) << "louder than the other effects";
    EXPECT_EQ(l.clipped, 0);
    // starts and ends quietly, so it does not click
    EXPECT_LT(std::fabs(wav.samples.front()), 0.05f);
    EXPECT_LT(std::fabs(wav.samples.back()), 0.05f);
  }
}

// Mean rate of sign changes per second: a rough measure of brightness.
float crossingsPerSecond(const Wav& wav) {
  int n = 0;
  for (size_t i = 1; i < wav.samples.size(); ++i) n += (wav.samples[i] < 0) != (wav.samples[i - 1] < 0);
  return n * static_cast<float>(wav.rate) / wav.samples.size();
}

TEST(DataSounds, EachEffectHasItsCharacter) {
  auto load = [](const char* file) {
    Wav wav;
    std::string error;
    EXPECT_TRUE(parseWav(readFile(dataDir() + "/" + file), wav, error)) << file << ": " << error;
    return wav;
  };
  Wav buzz = load("sfx/002.wav"), chime = load("sfx/095.wav"), click = load("sfx/001.wav"), menu = load("sfx/099.wav");
  Wav jingle = load("sfx/096.wav"), refusal = load("sfx/098.wav");
  // the lost life is low, the chime bright
  EXPECT_LT(crossingsPerSecond(buzz), 600.0f);
  EXPECT_GT(crossingsPerSecond(chime), 1000.0f);
  // clicks are short and sharp: loudest at once, gone within a tenth of a second
  for (const Wav* w : {&click, &menu}) {
    size_t loudest = 0;
    for (size_t i = 0; i < w->samples.size(); ++i)
      if (std::fabs(w->samples[i]) > std::fabs(w->samples[loudest])) loudest = i;
    EXPECT_LT(static_cast<float>(loudest) / w->rate, 0.02f);
  }
  // the two clicks are different sounds
  EXPECT_GT(std::fabs(crossingsPerSecond(click) - crossingsPerSecond(menu)), 200.0f);
  // the jingle is the longest effect, the refusal shorter than the chime
  for (const SoundRule& rule : kSounds) EXPECT_LE(load(rule.file).samples.size(), jingle.samples.size()) << rule.file;
  EXPECT_LT(refusal.samples.size(), chime.samples.size());
}

TEST(DataSounds, TheFourRattlesDiffer) {
  std::vector<std::vector<float>> rattles;
  for (const char* f : {"sfx/003.wav", "sfx/004.wav", "sfx/005.wav", "sfx/006.wav"}) {
    Wav wav;
    std::string error;
    ASSERT_TRUE(parseWav(readFile(dataDir() + "/" + f), wav, error)) << error;
    rattles.push_back(wav.samples);
  }
  for (size_t i = 0; i < rattles.size(); ++i)
    for (size_t j = i + 1; j < rattles.size(); ++j) {
      size_t n = std::min(rattles[i].size(), rattles[j].size());
      double diff = 0;
      for (size_t k = 0; k < n; ++k) diff += std::fabs(rattles[i][k] - rattles[j][k]);
      EXPECT_GT(diff / n, 0.01) << "rattles " << i << " and " << j;
    }
}

TEST(DataSounds, MusicIsAStereoLoopOfHalfAMinuteToAMinuteAndAHalf) {
  int channels = 0, rate = 0;
  short* pcm = nullptr;
  int frames = stb_vorbis_decode_filename((dataDir() + "/sfx/fish.ogg").c_str(), &channels, &rate, &pcm);
  ASSERT_GT(frames, 0);
  std::vector<float> left, right;
  for (int i = 0; i < frames; ++i) {
    left.push_back(pcm[i * channels] / 32768.0f);
    right.push_back(pcm[i * channels + channels - 1] / 32768.0f);
  }
  free(pcm);
  EXPECT_EQ(channels, 2);
  float seconds = static_cast<float>(frames) / rate;
  EXPECT_GE(seconds, 30.0f);
  EXPECT_LE(seconds, 90.0f);
  for (const auto* ch : {&left, &right}) {
    Level l = measure(*ch);
    EXPECT_GT(dB(l.peak), -6.0f);
    EXPECT_GT(dB(l.rms), -24.0f);
    EXPECT_LT(l.clipped, 1 + frames / 100000);
    // loud all the way through: no long gap of silence in any second
    for (int s = 0; s + rate <= frames; s += rate) {
      std::vector<float> second(ch->begin() + s, ch->begin() + s + rate);
      EXPECT_GT(dB(measure(second).rms), -36.0f) << "quiet second at " << s / rate;
    }
    // the jump from the last sample back to the first is no bigger than the
    // steps the music takes anyway
    std::vector<float> steps;
    for (size_t i = 1; i < ch->size(); ++i) steps.push_back(std::fabs((*ch)[i] - (*ch)[i - 1]));
    std::nth_element(steps.begin(), steps.begin() + steps.size() * 999 / 1000, steps.end());
    float usual = steps[steps.size() * 999 / 1000];
    EXPECT_LE(std::fabs(ch->front() - ch->back()), usual) << "click at the loop seam";
  }
}

}  // namespace
