// game/random.cpp: the one random source shared by cards, dice and background:
// a 32-bit linear congruential generator whose draws use the top 24 bits.
#include "game/app.h"

#include <cmath>

unsigned int rk_random_Seed = 0;

namespace {
// The value -37171650 asks p_SeedRnd for the clock instead.
constexpr int kSeedFromClock = -37171650;
}  // namespace

float rk_random_Rnd() {
  rk_random_Seed = rk_random_Seed * 1664525u + 1013904223u;
  return static_cast<float>(rk_random_Seed >> 8) * (1.0f / 16777216.0f);
}

float rk_random_Rnd2(float low, float high) { return low + (high - low) * rk_random_Rnd(); }

float rk_random_Rnd3(float range) { return rk_random_Rnd() * range; }

// low..high inclusive; high weighs 0.99 of the others.
int c_MyApp::p_Rand(int low, int high) {
  float span = static_cast<float>(high) + 0.99f - static_cast<float>(low);
  return static_cast<int>(floorf(static_cast<float>(low) + span * rk_random_Rnd()));
}

int c_MyApp::p_SeedRnd(int value) {
  if (value == kSeedFromClock) value = rk_app_Millisecs();
  rk_random_Seed = static_cast<unsigned int>(value);
  for (int i = 0; i < 21; ++i) rk_random_Rnd();
  return 0;
}
