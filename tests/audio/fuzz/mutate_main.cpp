// tests/audio/fuzz/mutate_main.cpp: a mutation loop for machines without
// libFuzzer: it damages the seeds at random and feeds them to the entry point,
// under AddressSanitizer, until the time is up. No coverage guidance; inputs
// that decoded cleanly join the pool now and then, so damage accumulates.
//   <fuzzer> -seconds N [-seed S] [FILE...]   fuzz, the files joining the seeds
//   <fuzzer> FILE...                          run each file once (to reproduce)
// On a crash, the input that caused it is saved as ./crash-input.
#include <sanitizer/common_interface_defs.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <random>
#include <string>

#include "tests/audio/fuzz/fuzz_entry.h"

namespace {

Bytes current_input;

void SaveCurrentInput() { WriteFile("crash-input", current_input); }

// Values that tend to break size and count fields.
constexpr uint32_t kInterestingWords[] = {0,          1,          2,          16,        18,
                                          0x7F,       0x80,       0xFF,       0xFFFF,    0x10000,
                                          0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF};

class Mutator {
 public:
  explicit Mutator(unsigned seed) : rng_(seed) {}

  size_t Below(size_t n) { return n ? std::uniform_int_distribution<size_t>(0, n - 1)(rng_) : 0; }

  void Mutate(Bytes& bytes, const std::vector<Bytes>& pool) {
    int count = 1 + static_cast<int>(Below(8));
    for (int i = 0; i < count; ++i) MutateOnce(bytes, pool);
  }

 private:
  void MutateOnce(Bytes& bytes, const std::vector<Bytes>& pool) {
    size_t size = bytes.size();
    switch (Below(8)) {
      case 0:  // flip a bit
        if (size) bytes[Below(size)] ^= static_cast<uint8_t>(1u << Below(8));
        break;
      case 1:  // a random byte
        if (size) bytes[Below(size)] = static_cast<uint8_t>(Below(256));
        break;
      case 2: {  // an interesting little-endian word
        if (size < 4) break;
        size_t at = Below(size - 3);
        uint32_t word = kInterestingWords[Below(std::size(kInterestingWords))];
        for (int b = 0; b < 4; ++b) bytes[at + b] = static_cast<uint8_t>(word >> (8 * b));
        break;
      }
      case 3: {  // insert a few random bytes
        size_t at = Below(size + 1), n = 1 + Below(16);
        Bytes extra(n);
        for (uint8_t& b : extra) b = static_cast<uint8_t>(Below(256));
        bytes.insert(bytes.begin() + at, extra.begin(), extra.end());
        break;
      }
      case 4: {  // erase a range
        if (!size) break;
        size_t at = Below(size), n = 1 + Below(size - at);
        bytes.erase(bytes.begin() + at, bytes.begin() + at + n);
        break;
      }
      case 5:  // truncate
        bytes.resize(Below(size + 1));
        break;
      case 6: {  // copy a range over another place
        if (size < 2) break;
        size_t from = Below(size), to = Below(size),
               n = 1 + Below(std::min(size - from, size - to));
        memmove(&bytes[to], &bytes[from], n);
        break;
      }
      default: {  // splice: the head of this input, the tail of another
        const Bytes& other = pool[Below(pool.size())];
        size_t cut = Below(size + 1), other_cut = Below(other.size() + 1);
        bytes.resize(cut);
        bytes.insert(bytes.end(), other.begin() + other_cut, other.end());
        break;
      }
    }
  }

  std::mt19937 rng_;
};

}  // namespace

int main(int argc, char** argv) {
  double seconds = -1;
  unsigned seed = std::random_device{}();
  std::vector<Bytes> files;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "-seconds") == 0 && i + 1 < argc) {
      seconds = atof(argv[++i]);
    } else if (strcmp(argv[i], "-seed") == 0 && i + 1 < argc) {
      seed = static_cast<unsigned>(strtoul(argv[++i], nullptr, 10));
    } else {
      files.push_back(ReadFile(argv[i]));
    }
  }
  __sanitizer_set_death_callback(SaveCurrentInput);
  if (seconds < 0) {
    for (const Bytes& file : files) {
      current_input = file;
      LLVMFuzzerTestOneInput(file.data(), file.size());
    }
    printf("%zu inputs, no crash\n", files.size());
    return 0;
  }
  std::vector<Bytes> pool = FuzzSeeds();
  pool.insert(pool.end(), files.begin(), files.end());
  const size_t seed_count = pool.size();
  Mutator mutator(seed);
  auto start = std::chrono::steady_clock::now();
  long runs = 0;
  while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() <
         seconds) {
    current_input = pool[mutator.Below(pool.size())];
    mutator.Mutate(current_input, pool);
    LLVMFuzzerTestOneInput(current_input.data(), current_input.size());
    ++runs;
    // Keep a bounded pool: a new mutant now and then replaces an old one.
    if (mutator.Below(16) == 0) {
      if (pool.size() < seed_count + 256) {
        pool.push_back(current_input);
      } else {
        pool[seed_count + mutator.Below(256)] = current_input;
      }
    }
  }
  printf("%ld runs in %.0f s (seed %u), no crash\n", runs, seconds, seed);
  return 0;
}
