// tests/net/fuzz/fuzz_loop_main.cpp: a mutation loop of our own that drives
// the fuzz target where libFuzzer is not available (g++ builds).
//
// Usage: http_response_fuzz_loop [--seconds N] [--seed S]
// Each input is random bytes, or a well-formed response mutated a few times.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

const char* const kSeeds[] = {
    "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nhello",
    "HTTP/1.1 404 Not Found\r\nServer: x\r\n\r\n<html>missing</html>",
    "http/1.0 301 moved\nLocation: /\n\ncaf\xC3\xA9 \xE2\x82\xAC",
    "HTTP/1.0 200\r\n\r\nbody",
    "\r\n\r\n",
};

using Random = std::mt19937;

int Pick(Random& random, int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }

// One random change: a flipped byte, an inserted run, a cut, a copied slice or a line break.
void Mutate(std::string& bytes, Random& random) {
  int at = bytes.empty() ? 0 : Pick(random, static_cast<int>(bytes.size()));
  switch (Pick(random, 6)) {
    case 0:
      if (!bytes.empty()) bytes[at] = static_cast<char>(random());
      break;
    case 1:
      bytes.insert(at, std::string(1 + Pick(random, Pick(random, 8) == 0 ? 20000 : 16),
                                   static_cast<char>(random())));
      break;
    case 2:
      bytes.erase(at, Pick(random, 32));
      break;
    case 3: {
      std::string slice = bytes.substr(at, Pick(random, 64));
      bytes.insert(Pick(random, static_cast<int>(bytes.size()) + 1), slice);
      break;
    }
    case 4:
      bytes.insert(at, Pick(random, 2) ? "\r\n" : "\n");
      break;
    default:
      bytes.insert(at, " ");
      break;
  }
}

std::string NextInput(Random& random) {
  std::string bytes(1, static_cast<char>(random()));  // the delivery shape
  if (Pick(random, 4) == 0) {
    int length = Pick(random, 2) ? Pick(random, 64) : Pick(random, 40000);
    for (int i = 0; i < length; ++i) bytes += static_cast<char>(random());
    return bytes;
  }
  std::string response = kSeeds[Pick(random, sizeof kSeeds / sizeof kSeeds[0])];
  if (Pick(random, 8) == 0) response += std::string(Pick(random, 300000), 'b');
  for (int n = Pick(random, 5); n > 0; --n) Mutate(response, random);
  return bytes + response;
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 10;
  unsigned seed = static_cast<unsigned>(time(nullptr));
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!strcmp(argv[i], "--seconds")) seconds = atof(argv[i + 1]);
    if (!strcmp(argv[i], "--seed")) seed = static_cast<unsigned>(strtoul(argv[i + 1], nullptr, 10));
  }
  printf("http_response_fuzz_loop: seed %u, %.0f s\n", seed, seconds);
  fflush(stdout);
  Random random(seed);
  auto start = std::chrono::steady_clock::now();
  long runs = 0;
  while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() <
         seconds) {
    std::string input = NextInput(random);
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    ++runs;
  }
  printf("http_response_fuzz_loop: %ld inputs, no finding\n", runs);
  return 0;
}
