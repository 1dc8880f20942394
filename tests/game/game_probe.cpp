// tests/game/game_probe.cpp: the real game, which enters a game of the card
// type in MARVOLET_PROBE_CARD (default 2) as soon as loading is done, the
// way the menu will; for driving play in a virtual display. With
// MARVOLET_PROBE_BANNERS set it stays on the menu and earns three badges
// instead, to show their banners.
#include <cstdlib>

#include "game/app.h"
#include "game/badges.h"
#include "runtime/startup.h"

namespace {

class ProbeApp : public c_MyApp {
 public:
  int p_OnUpdate() override {
    if (!started_ && m_LoadStep == 0 && m_Screen == 1) {
      started_ = true;
      if (getenv("MARVOLET_PROBE_BANNERS")) {
        for (int id : {kBadgeFullHouse, kBadgeConsolation, kBadgeColumnCleared}) p_AwardBadge(id);
        return c_MyApp::p_OnUpdate();
      }
      const char* card = getenv("MARVOLET_PROBE_CARD");
      m_CardType = card ? atoi(card) : 2;
      m_Screen = 11;
    }
    return c_MyApp::p_OnUpdate();
  }

 private:
  bool started_ = false;
};

}  // namespace

int rkMain() {
  (new ProbeApp())->m_new();
  return 0;
}
