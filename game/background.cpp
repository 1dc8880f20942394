// game/background.cpp: the start of every screen's frame (background colour
// easing toward the screen's own), and the particle and star tables.
#include <cmath>

#include "game/app.h"

namespace {

constexpr int kRecordStride = 10;
constexpr int kMaxTableCount = 499;
// A colour argument below this keeps the current target; an alpha of -123 means 1.
constexpr int kKeepColour = -122;
constexpr float kFullAlpha = -123;

// Particle colours by index; any other index is grey.
const float kParticleColours[10][3] = {
    {76.5f, 76.5f, 76.5f}, {255, 25.5f, 25.5f},  {255, 127.5f, 25.5f}, {255, 255, 25.5f},
    {25.5f, 255, 25.5f},   {25.5f, 255, 255},    {25.5f, 25.5f, 255},  {127.5f, 25.5f, 255},
    {255, 25.5f, 127.5f},  {255, 255, 255}};

void EaseToward(float* shown, float target) { *shown -= (*shown - target) / 8; }

}  // namespace

int c_MyApp::p_DoBG(int red, int green, int blue, float alpha) {
  if (red >= kKeepColour) m_BgTargetRed = static_cast<float>(red);
  if (green >= kKeepColour) m_BgTargetGreen = static_cast<float>(green);
  if (blue >= kKeepColour) m_BgTargetBlue = static_cast<float>(blue);
  EaseToward(&m_BgRed, m_BgTargetRed);
  EaseToward(&m_BgGreen, m_BgTargetGreen);
  EaseToward(&m_BgBlue, m_BgTargetBlue);
  if (alpha == kFullAlpha) {
    alpha = 1;
  } else {
    alpha = alpha < 0 ? 0 : (alpha > 1 ? 1 : alpha);
  }
  p_CLS2D(kAbsent, 0, 0, 0);
  m_ClearRed = m_BgRed;
  m_ClearGreen = m_BgGreen;
  m_ClearBlue = m_BgBlue;
  m_ClearAlpha = alpha;
  return 0;
}

int c_MyApp::p_ResetParticles(int count) {
  if (count >= 1 && count <= kMaxTableCount) m_PartCount = count;
  for (int i = 0; i <= m_PartCount; ++i) m_Parts[i * kRecordStride] = 0;
  return 0;
}

int c_MyApp::p_ResetStars(int count) {
  p_SeedRnd(rk_app_Millisecs());
  if (count >= 1 && count <= kMaxTableCount) {
    m_StarCount = count;
  } else {
    count = m_StarCount;
  }
  const float width = rk_Game_jscrw;
  const float height = rk_Game_jscrh;
  for (int j = 0; j <= count; ++j) {
    float* star = &m_Stars[j * kRecordStride];
    star[0] = floorf(255.99f * rk_random_Rnd());
    star[1] = (width + 16) * rk_random_Rnd() - 8;
    star[2] = (height + 16) * rk_random_Rnd() - 8;
    star[3] = 0.2f + 0.6f * rk_random_Rnd();
    star[5] = 360 * rk_random_Rnd();
    star[6] = rk_random_Rnd() - 0.5f;
  }
  return 0;
}

int c_MyApp::p_DoParticles(float scale) {
  p_ResetDraw();
  m_DrawTag = kTagNone;
  for (int i = 0; i <= m_PartCount; ++i) {
    float* part = &m_Parts[i * kRecordStride];
    const int kind = static_cast<int>(part[0]);
    if (kind <= 0) continue;
    part[1] += part[3];
    part[2] += part[4];
    part[5] += part[6];
    m_DrawRot = kind == 99 ? 0 : part[5];
    if (kind == 2) {
      part[3] *= 0.95f;
      part[4] += 0.2f;
    } else if (kind == 3) {
      part[3] *= 0.98f;
      part[4] += 0.2f;
      if (part[5] < part[2]) part[4] = 2 * rk_random_Rnd() - 3;
    }
    m_DrawAlpha = part[7] < 1 ? part[7] : 1;
    m_DrawScaleX = m_DrawScaleY = scale;
    const int colour = static_cast<int>(part[8]);
    const float* rgb = kParticleColours[colour >= 1 && colour <= 9 ? colour : 0];
    m_DrawRed = rgb[0];
    m_DrawGreen = rgb[1];
    m_DrawBlue = rgb[2];
    const float x = part[1] - m_ShakeX;
    const float y = part[2] - m_ShakeY;
    if (kind >= 1 && kind <= 9) {
      p_DrawImg(96, x, y, part[9]);
    } else if (kind == 16) {
      p_Rect(16 * floorf(x / 16), 16 * floorf(y / 16), 16, 16);
    } else if (kind == 99) {
      p_Text(x, y, String(static_cast<int>(part[9])), 1, 1, 0);
    }
    part[7] -= kind == 4 ? 0.003f : (kind == 16 ? 0.013f : 0.01f);
    if (part[7] < 0) part[0] = 0;
  }
  p_ResetDraw();
  return 0;
}
