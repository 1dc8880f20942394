// bench/game_soak.cpp: the test player plays many whole games headless, with
// the collector running between events as in the real host, and reports the
// process's resident memory after game 10 and after the last game.
// Usage: game_soak [GAMES]   (default 1000)
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/game/bot.h"

namespace {

// Bytes of collected objects still reachable, after two full cycles.
long LiveKilobytes() {
  gc_stress = true;
  gc_collect();
  gc_collect();
  gc_stress = false;
  return (gc_alloced_bytes - gc_free_bytes) / 1024;
}

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return atol(line.c_str() + 6);
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  const int games = argc > 1 ? atoi(argv[1]) : 1000;
  GameHarness h;
  h.collect = true;
  h.audio->keepLog = false;
  h.gl.keepCalls = false;
  h.FinishLoading();
  long afterTen = 0, heapAfterTen = 0;
  long cards = 0, numbers = 0;
  for (int game = 1; game <= games; ++game) {
    Bot bot(h);
    bot.StartGame(1 + game % 3);
    if (!bot.PlayGame(1 + game % 2)) {
      fprintf(stderr, "game %d stalled\n", game);
      return 1;
    }
    for (int i = 0; i < 200 && h.app->m_Screen != 1; ++i) h.Update();
    h.Render();
    cards += bot.cardsCompleted;
    numbers += bot.numbersEarned;
    if (game == 10) {
      afterTen = ResidentKilobytes();
      heapAfterTen = LiveKilobytes();
    }
  }
  const long atEnd = ResidentKilobytes();
  fprintf(stderr, "%d games, %ld cards completed, %ld numbers earned\n", games, cards, numbers);
  fprintf(stderr, "resident memory after game 10: %ld kB, after game %d: %ld kB (%+ld kB)\n",
          afterTen, games, atEnd, atEnd - afterTen);
  fprintf(stderr, "full collector cycles: %d\n", gc_full_cycles);
  fprintf(stderr, "live collected objects after game 10: %ld kB, at the end: %ld kB\n",
          heapAfterTen, LiveKilobytes());
  return 0;
}
