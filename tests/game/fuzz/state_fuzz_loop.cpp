// tests/game/fuzz/state_fuzz_loop.cpp: drives the state fuzz target with
// random inputs where libFuzzer is not available (g++ builds, CTest's smoke).
//
// Usage: state_fuzz_loop [SECONDS [SEED]]
// The target itself turns bytes into valid, damaged or raw state strings, so
// plain random bytes of random length reach every shape.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static const char kAlphabet[] = "0123456789||-";

int main(int argc, char** argv) {
  double seconds = argc > 1 ? atof(argv[1]) : 10;
  unsigned seed = argc > 2 ? static_cast<unsigned>(strtoul(argv[2], nullptr, 10))
                           : static_cast<unsigned>(time(nullptr));
  // Standard output is silenced by the target: the report goes to standard error.
  fprintf(stderr, "state_fuzz_loop: seed %u, %.0f s\n", seed, seconds);
  std::mt19937 random(seed);
  auto start = std::chrono::steady_clock::now();
  long runs = 0;
  std::string input;
  while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() <
         seconds) {
    // Long enough for a whole generated state now and then; raw text is mostly short.
    input.resize(random() % (random() % 4 == 0 ? 2048 : 700));
    // Half of them in the state file's own alphabet, so raw text has sections too.
    bool digits = random() % 2 == 0;
    for (char& byte : input) byte = digits ? kAlphabet[random() % 13] : static_cast<char>(random());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    ++runs;
  }
  fprintf(stderr, "state_fuzz_loop: %ld inputs, no finding\n", runs);
  return 0;
}
