// game/menu_panel.cpp: the contents of the menu's right panel, which slide in
// as it opens to fill the screen: the credits scroller with a turning ring of
// discs, a block of debug statistics, and the line naming the tools the game
// is made with.
#include <cmath>

#include "game/menu.h"

namespace {

// The scroller wraps before the last of the credit lines.
constexpr int kCreditCycle = 83;
constexpr float kCreditPitch = 16;
constexpr int kRingDiscs = 11;
// How far the ring reaches in from the right edge, and the score lists out from the left.
constexpr float kRingReach = 150 + 100 + 32;
constexpr float kListsRight = 140;

String Size(float w, float h) {
  return String(static_cast<int>(w)) + "x" + String(static_cast<int>(h));
}

void Credits(c_MyApp* app, float w, float h, float offset) {
  app->m_CreditScroll -= 0.3f;
  if (menu::AnyPlayerHolds(app, kActionUp) || menu::AnyPlayerHolds(app, kActionDown)) {
    app->m_CreditScroll -= 1.5f;
  }
  if (app->m_CreditScroll < -kCreditPitch) {
    app->m_CreditScroll += kCreditPitch;
    ++app->m_CreditLine;
  }
  app->p_ResetDraw();
  app->m_DrawTag = kTagCredits;
  for (int k = -3; k <= 4; ++k) {
    // Floored: k + m_CreditLine is negative on the first frames, and arrays check no index.
    const int line = ((k + app->m_CreditLine) % kCreditCycle + kCreditCycle) % kCreditCycle;
    const float fromCentre = kCreditPitch * k + app->m_CreditScroll;
    const float fade = std::fabs(fromCentre) / 40 - 0.3f;
    const float shown = fade < 0 ? 0 : (fade > 1 ? 1 : fade);
    app->p_Alpha(1 - shown);
    // Centred between the score lists on the left and the ring of discs.
    app->p_Text((w - kListsRight - kRingReach) / 2 + kListsRight + offset,
                h / 2 + 24 + fromCentre - 24 * shown, rk_Game_CreditText[line], 1, 0.8f, 0);
  }
}

// Fire closes the open panel; so does a click, or a mouse-only player would be stuck in it.
void CloseOnFireOrClick(c_MyApp* app) {
  if (!menu::LatchesFree(app)) return;
  bool close = app->m_PointerDown > 0;
  for (int button : {10, 11, 12}) close = close || menu::AnyPlayerHolds(app, button);
  if (!close) return;
  app->m_SidePanelOpen = 0;
  menu::Sound(app, menu::kSoundMove);
  menu::TakeLatches(app);
}

void DebugStats(c_MyApp* app, float w, float h, float offset) {
  struct Line {
    float y;
    String text;
  };
  const Line lines[] = {
      {16, "Debug Stats"},
      {32, "Engine"},
      {44, Size(w, h)},
      {60, "Screen"},
      {72,
       Size(static_cast<float>(rk_app_DeviceWidth()), static_cast<float>(rk_app_DeviceHeight()))},
      {88, "FPS"},
      {100, String(app->m_UpdateFpsAvg) + " : " + String(app->m_RenderFpsAvg)},
  };
  app->p_ResetDraw();
  app->m_DrawTag = kTagStats;
  for (const Line& line : lines) app->p_Text(w - 20 + offset, line.y, line.text, 2, 1, 0);
}

// Disc i takes palette hue i (0 and 10 are the palette's grey); the ring turns as the credits
// scroll.
void Ring(c_MyApp* app, float w, float h, float offset) {
  const float cx = w - 150 + offset;
  const float cy = h / 2;
  app->m_DrawTag = kTagDiscs;
  for (int i = 0; i < kRingDiscs; ++i) {
    const float angle = 4 * (6.0f * i - app->m_CreditScroll / kCreditPitch + app->m_CreditLine);
    app->p_Ink(i, 1);
    app->p_Alpha(0.3f);
    app->p_Oval(cx + 100 * SinDeg(angle), cy - 100 * CosDeg(angle), 32, 32);
  }
}

void CodedIn(c_MyApp* app, float w, float h, float offset) {
  const float x = offset + 0.3f * w;
  app->p_ResetDraw();
  app->m_DrawTag = kTagCodedIn;
  app->p_DrawImg(kImageButtons, x, h - 64, 12);
  app->p_Text(x + 32, h - 48, "Coded in", 0, 1, 0);
  app->p_Text(x + 32, h - 36, "C++ and OpenGL", 0, 1, 0);
}

}  // namespace

void menu::PanelContents(c_MyApp* app, float w, float h, float offset) {
  // Closed and slid out, everything in it lies past the right edge.
  if (app->m_SidePanelOpen != 1 && app->m_SidePanelSlide <= 0) return;
  if (app->m_SidePanelOpen == 1) {
    Credits(app, w, h, offset);
    CloseOnFireOrClick(app);
  }
  DebugStats(app, w, h, offset);
  Ring(app, w, h, offset);
  CodedIn(app, w, h, offset);
}
