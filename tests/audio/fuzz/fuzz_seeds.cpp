// tests/audio/fuzz/fuzz_seeds.cpp: writes the seeds into DIR/wav and DIR/ogg,
// the starting corpora of the libFuzzer programs.
//   fuzz_seeds DIR
#include <sys/stat.h>

#include <string>

#include "tests/audio/fuzz/fuzz_entry.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::string root = argv[1];
  struct Kind {
    const char* name;
    std::vector<Bytes> (*seeds)();
  };
  for (Kind kind : {Kind{"wav", WavSeeds}, Kind{"ogg", OggSeeds}}) {
    std::string folder = root + "/" + kind.name;
    mkdir(root.c_str(), 0755);
    mkdir(folder.c_str(), 0755);
    int n = 0;
    for (const Bytes& seed : kind.seeds()) WriteFile(folder + "/seed" + std::to_string(++n), seed);
  }
  return 0;
}
