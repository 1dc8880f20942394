// tests/audio/playback_test.cpp: what the device really plays, recorded by
// OpenAL Soft's wave-file back end in a child process, and a machine with no
// sound device at all.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/audio/sound_files.h"
#include "tests/support/child_process.h"

namespace {

constexpr int kToneHertz = 44100;
constexpr double kTonePitch = 441;
constexpr double kToneSeconds = 0.5;

std::string ToneWav() {
  static std::string path = [] {
    std::string file = ScratchPath("tone441.wav");
    WavLayout wav;
    wav.hertz = kToneHertz;
    wav.data =
        ToneData(static_cast<int>(kToneSeconds * kToneHertz), 1, 16, kToneHertz, kTonePitch, 0.5);
    WriteFile(file, MakeWav(wav));
    return file;
  }();
  return path;
}

int16_t ValueAt(const Bytes& bytes, size_t at) {
  return static_cast<int16_t>(bytes[at] | bytes[at + 1] << 8);
}

// The sound found in a recording: where it starts and how long it lasts, its
// level (RMS, full scale 1) on each side, and its pitch from zero crossings.
struct Heard {
  bool ok = false;
  double start = 0, seconds = 0, left = 0, right = 0, pitch = 0;
};

Heard Listen(const Bytes& file) {
  Heard heard;
  // The wave back end writes the extensible header: samples begin at byte 68.
  if (file.size() < 68 + 4) return heard;
  int hertz = file[24] | file[25] << 8 | file[26] << 16 | file[27] << 24;
  size_t frames = (file.size() - 68) / 4;
  auto left = [&](size_t i) { return ValueAt(file, 68 + 4 * i); };
  auto right = [&](size_t i) { return ValueAt(file, 70 + 4 * i); };
  auto loud = [&](size_t i) { return std::abs(left(i)) > 100 || std::abs(right(i)) > 100; };
  size_t first = 0, last = frames;
  while (first < frames && !loud(first)) ++first;
  while (last > first && !loud(last - 1)) --last;
  if (last - first < 100) return heard;

  double left_sum = 0, right_sum = 0;
  for (size_t i = first; i < last; ++i) {
    left_sum += double(left(i)) * left(i);
    right_sum += double(right(i)) * right(i);
  }
  bool use_left = left_sum >= right_sum;
  int crossings = 0;
  for (size_t i = first + 1; i < last; ++i) {
    int16_t before = use_left ? left(i - 1) : right(i - 1), now = use_left ? left(i) : right(i);
    if ((before < 0) != (now < 0)) ++crossings;
  }
  heard.ok = true;
  heard.start = double(first) / hertz;
  heard.seconds = double(last - first) / hertz;
  heard.left = std::sqrt(left_sum / (last - first)) / 32768;
  heard.right = std::sqrt(right_sum / (last - first)) / 32768;
  heard.pitch = crossings / 2.0 / heard.seconds;
  return heard;
}

// Runs the probe with `arguments` in a child process on the wave-file back
// end (16-bit stereo at 44100 Hz, no dither); the recording.
Bytes Record(const std::vector<std::string>& arguments) {
  static int run = 0;
  std::string name = "take" + std::to_string(++run);
  std::string recording = ScratchPath(name + ".wav"), config = ScratchPath(name + ".conf");
  std::string text =
      "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\n"
      "frequency = 44100\ndither = false\n[wave]\nfile = " +
      recording + "\n";
  WriteFile(config, Bytes(text.begin(), text.end()));
  ChildOptions options;
  options.environment = {"ALSOFT_CONF=" + config, "ALSOFT_DRIVERS=wave"};
  std::vector<std::string> command = {AUDIO_PROBE};
  command.insert(command.end(), arguments.begin(), arguments.end());
  ChildResult result = RunChild(command, options);
  EXPECT_EQ(result.status, 0) << result.out << result.err;
  return ReadFile(recording);
}

// Plays the tone on channel 0 in a child process and listens to the recording.
Heard PlayAndRecord(double volume, double pan, double rate) {
  return Listen(Record({"play", ToneWav(), std::to_string(volume), std::to_string(pan),
                        std::to_string(rate)}));
}

// The recorded values from the first that is not silence.
std::vector<int16_t> FromFirstSound(const Bytes& file) {
  std::vector<int16_t> values;
  for (size_t at = 68; at + 1 < file.size(); at += 2) {
    int16_t value = ValueAt(file, at);
    if (!values.empty() || value != 0) values.push_back(value);
  }
  return values;
}

}  // namespace

TEST(Playback, APlayedSampleIsHeardAtTheLevelItsVolumeAsks) {
  Heard full = PlayAndRecord(1, 0, 1);
  Heard half = PlayAndRecord(0.5, 0, 1);
  ASSERT_TRUE(full.ok && half.ok);
  EXPECT_NEAR(full.seconds, kToneSeconds, 0.02);
  EXPECT_NEAR(full.pitch, kTonePitch, kTonePitch * 0.02);
  EXPECT_GT(full.left, 0.1);
  EXPECT_NEAR(full.left / full.right, 1, 0.02);  // centred
  EXPECT_NEAR(half.left / full.left, 0.5, 0.02);
  EXPECT_NEAR(half.right / full.right, 0.5, 0.02);
}

TEST(Playback, APlayedSampleIsHeardOnTheSideItsPanAsks) {
  Heard right = PlayAndRecord(1, 1.5707964, 1);
  Heard left = PlayAndRecord(1, -1.5707964, 1);
  Heard slightly_right = PlayAndRecord(1, 0.25, 1);
  ASSERT_TRUE(right.ok && left.ok && slightly_right.ok);
  EXPECT_LT(right.left, right.right * 0.02);
  EXPECT_LT(left.right, left.left * 0.02);
  // About 14 degrees right: louder on the right, still heard on the left.
  EXPECT_GT(slightly_right.right, slightly_right.left * 1.5);
  EXPECT_GT(slightly_right.left, slightly_right.right * 0.25);
}

TEST(Playback, RateTwoPlaysAnOctaveUpInHalfTheTime) {
  Heard fast = PlayAndRecord(1, 0, 2);
  ASSERT_TRUE(fast.ok);
  EXPECT_NEAR(fast.seconds, kToneSeconds / 2, 0.02);
  EXPECT_NEAR(fast.pitch, kTonePitch * 2, kTonePitch * 2 * 0.02);
}

TEST(Playback, StreamedMusicLoopsValueForValueAsTheWholeSampleDoes) {
  // A stereo tune of 0.3 s whose end does not meet its start: the seam
  // would show in the values if a pass lost or added a single frame.
  std::string tune = ScratchPath("tune.ogg");
  WriteFile(tune, MakeOgg(2, 44100, 13230, 523));
  std::vector<int16_t> whole = FromFirstSound(Record({"loop", tune, "1.6"}));
  std::vector<int16_t> streamed = FromFirstSound(Record({"music", tune, "1.6"}));
  // Four passes and more (four seams), each frame two values.
  const size_t compared = 4 * 13230 * 2 + 1000;
  ASSERT_GE(whole.size(), compared);
  ASSERT_GE(streamed.size(), compared);
  size_t differing = 0;
  // The mixer ramps a new sound's gain in over its first few hundredths of
  // a second, rounding a value or two of them one step apart between runs.
  const size_t ramp = 2 * 4410;
  for (size_t i = ramp; i < compared; ++i) differing += whole[i] != streamed[i];
  EXPECT_EQ(differing, 0u);
}

TEST(Playback, WithNoDeviceEverythingIsAQuietNoOp) {
  ChildOptions options;
  options.environment = {"ALSOFT_DRIVERS=no-such-driver", "ALSOFT_CONF=/dev/null"};
  ChildResult result = RunChild({AUDIO_PROBE, "silent", ToneWav()}, options);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "opening openal device\n"
            "OpenAl error: alcOpenDevice failed\n"
            "device 0\n"
            "sample 1 buffer 0\n"
            "play -1\n"
            "state 0\n"
            "music 0\n"
            "music state 0\n"
            "done\n");
}
