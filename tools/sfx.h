// The game's sound effects, each synthesised from scratch, and the music.
#pragma once
#include <string>

#include "tools/synth.h"
#include "tools/wav.h"

namespace sfx {

Buffer pick();       // 001: a die or an operator picked, a crisp click
Buffer lifeLost();   // 002: a low buzz
Buffer rattle1();    // 003 to 006: dice rattles
Buffer rattle2();
Buffer rattle3();
Buffer rattle4();
Buffer earned();     // 095: a number earned, a bright chime
Buffer jingle();     // 096: a short cheerful jingle
Buffer refuse();     // 098: refusal, take-back and pause
Buffer menuClick();  // 099: the menu click

}  // namespace sfx
