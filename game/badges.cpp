// game/badges.cpp: the badge table and the banners that announce a badge,
// sliding in at the bottom left, drawn over everything else.
#include "game/app.h"

namespace {
constexpr int kBadgeSlot = 80;
constexpr int kBannerSlotsShown = 13;
constexpr int kBannerFrames = 240;
}  // namespace

String c_MyApp::p_BadgeID(int id) {
  if (id == 0) return String("Test Badge|This is a Test Badge which has no purpose.");
  return String("Odd Badge|This badge hasn't been defined!");
}

String c_MyApp::p_BadgeName(int id) { return p_BadgeID(id).Split(String("|"))[0]; }

String c_MyApp::p_BadgeDetail(int id) { return p_BadgeID(id).Split(String("|"))[1]; }

int c_MyApp::p_ShowBadges() {
  p_ResetDraw();
  m_BadgeWidth = 160;
  const int w = m_BadgeWidth;
  for (int k = 0; k < kBannerSlotsShown; ++k) {
    int age = m_BadgeQueueTime[k];
    if (age <= 0) continue;
    m_BadgeQueueTime[k] = ++age;
    int slide = age > kBannerFrames - w / 16 ? 16 * (kBannerFrames - age) - w : 16 * age - w;
    if (slide > 0) slide = 0;
    const float s = static_cast<float>(slide);
    const float y = rk_Game_jscrh - 34.0f * (k + 1);
    p_SetCol(0, 0, 80, 0.8f);
    p_Rect(s, y, 160, 32);
    p_SetCol(255, 255, 255, 1);
    const int id = m_BadgeQueueId[k];
    p_Text(s + 16, y + 4, p_BadgeName(id), 0, 0, 0);
    if (id >= 0 && id < 64) {
      p_SetSize(0.5f, kAbsent);
      p_DrawImg(kBadgeSlot, s + w - 16, y + 16, static_cast<float>(id));
      p_SetSize(1, kAbsent);
    }
    if (age > kBannerFrames) m_BadgeQueueTime[k] = 0;
  }
  return 0;
}
