// The game's music: a small step sequencer and the looping theme written on it.
#pragma once
#include <string>
#include <vector>

#include "tools/synth.h"

namespace sfx {

struct Stereo {
  Buffer left, right;
};

struct NoteEvent {
  float beat;   // start, in beats from the top of the loop
  float beats;  // length
  int midi;
};

// Reads a melody line such as "E5/2 G5/1 r/1" (note or rest "r", then its
// length in eighth notes) starting at `startBeat`. Returns false on a token it
// cannot read; `endBeat` is where the line ends.
bool parseMelody(const std::string& text, float startBeat, std::vector<NoteEvent>& out, float& endBeat);

constexpr float kThemeBpm = 120.0f;
constexpr int kThemeBars = 24;
int themeSamples();  // length of one loop

// Renders the whole loop. Notes and echoes that run past the end wrap round to
// the start, so the loop repeats without a seam.
Stereo composeTheme();

// Writes the loop as Ogg Vorbis; false with `error` set on failure.
bool writeOgg(const std::string& path, const Stereo& music, std::string& error);

}  // namespace sfx
