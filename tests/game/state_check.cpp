// tests/game/state_check.cpp: checks a state file the game wrote: every
// section's checksum holds and loading then saving it gives the same text
// (a table with a wrong checksum would come back zeroed). For soaks.
// Usage: game_state_check FILE   (exit 0 valid, 1 not)
#include <fstream>
#include <sstream>

#include "tests/game/harness.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: game_state_check FILE\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  GameHarness h;
  h.WriteStateFile(text.str());
  h.Printed();
  h.app->p_Load();
  const std::string printed = h.Printed();
  h.app->p_Save();
  const bool sections = printed.find("Settings Loaded") != std::string::npos &&
                        printed.find("Badges Loaded") != std::string::npos;
  const bool same = h.StateFile() == text.str();
  if (!sections || !same) {
    fprintf(stderr, "%s: %s\n", argv[1],
            !sections ? "a section's checksum fails" : "loading and saving changes it");
    return 1;
  }
  return 0;
}
