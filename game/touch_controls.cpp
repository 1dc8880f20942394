// game/touch_controls.cpp: the on-screen d-pad and its two action buttons,
// which feed the virtual pad, and the tilt control with its indicator.
#include <algorithm>
#include <cmath>

#include "game/app.h"
#include "host/input.h"

namespace {

constexpr int kPadImage = 94;
constexpr int kTiltImage = 97;
// Settings that keep the d-pad's centre (y counted from the bottom) and size in tenths.
constexpr int kPadX = 10;
constexpr int kPadY = 11;
constexpr int kPadSize = 12;

// Buttons around the d-pad's centre: offset in units of 32 x size, frame, pad slot.
struct PadButton {
  int dx;
  int dy;
  int frame;
  int slot;
};
constexpr PadButton kArrows[] = {
    {-1, 0, 4, kActionLeft}, {0, -1, 1, kActionUp}, {0, 1, 9, kActionDown}, {1, 0, 6, kActionRight}};
// The two action buttons, mirrored onto the right side: offset in units of 24 x size.
constexpr PadButton kActionButtons[] = {{1, -1, 0, 10}, {-1, 1, 0, 11}};

// Two fingers spread by this many units horizontally grow the d-pad by one tenth.
constexpr int kPinchStep = 16;

}  // namespace

int c_MyApp::p_OnScreenControls() {
  int jscrw = static_cast<int>(rk_Game_jscrw);
  int jscrh = static_cast<int>(rk_Game_jscrh);
  m_Settings[kPadX] = static_cast<int>(std::min(std::max(m_Settings[kPadX], 32), jscrw - 32));
  m_Settings[kPadY] = static_cast<int>(std::min(std::max(m_Settings[kPadY], 32), jscrh - 32));
  m_Settings[kPadSize] = std::min(std::max(m_Settings[kPadSize], 8), 25);

  m_DpadX = m_Settings[kPadX];
  m_DpadY = static_cast<int>(rk_Game_jscrh - m_Settings[kPadY]);
  m_DpadScale = m_Settings[kPadSize] / 10.0f;
  float s = m_DpadScale;
  p_SetSize(s, s);
  p_SetCol(255, 255, 255, 0.6f);
  for (const PadButton& arrow : kArrows) {
    int pressed = p_Button(kPadImage, m_DpadX + 32 * s * arrow.dx, m_DpadY + 32 * s * arrow.dy,
                           arrow.frame);
    if (pressed == 1 && m_Paused == 0) m_Pad[arrow.slot] = 1;
  }
  p_DrawImg(kPadImage, m_DpadX, m_DpadY, 5);

  // While paused the d-pad is dragged by its centre and resized by a pinch.
  if (m_Paused != 0) {
    p_SetSize(3, 3);
    if (p_Button0(kPadImage, m_DpadX, m_DpadY, 5) == 1 && m_TouchOn[1] == 0) {
      m_Settings[kPadX] = m_TouchX[0];
      m_Settings[kPadY] = static_cast<int>(rk_Game_jscrh - m_TouchY[0]);
    }
    if (m_TouchOn[1] == 0) {
      m_Pinching = 0;
      m_PinchOld = 0;
    } else if (m_TouchOn[0] != 0) {
      int spread = -std::abs(m_TouchX[0] - m_TouchX[1]) / kPinchStep;
      if (m_Pinching == 1) m_Settings[kPadSize] += m_PinchOld - spread;
      m_PinchOld = spread;
      m_Pinching = 1;
    }
  }

  p_SetSize(1.5f * s, 1.5f * s);
  for (const PadButton& button : kActionButtons) {
    if (p_Button(kPadImage, rk_Game_jscrw - m_DpadX + 24 * s * button.dx,
                 m_DpadY + 24 * s * button.dy, button.frame) == 1) {
      m_Pad[button.slot] = 1;
    }
  }
  p_ResetDraw();
  return 0;
}

int c_MyApp::p_TiltControl() {
  if (rk_Game_iCadeControls == 1) {
    m_TiltX = m_TiltY = m_TiltSmoothX = m_TiltSmoothY = 0;
    return 0;
  }
  m_TiltX = rk_input_AccelX() - m_AccelCalX;
  m_TiltY = rk_input_AccelY() - m_AccelCalY;
  // The indicator eases a quarter of the way each update and settles exactly.
  auto ease = [](float target, float* smooth) {
    *smooth += (target - *smooth) / 4;
    if (std::fabs(target - *smooth) < 0.005f) *smooth = target;
  };
  ease(m_TiltX, &m_TiltSmoothX);
  ease(m_TiltY, &m_TiltSmoothY);

  float jscrh = rk_Game_jscrh;
  p_SetSize(1.5f, 1.5f);
  p_SetCol(255, 255, 255, 0.8f);
  if (p_Button(kTiltImage, 24, jscrh - 24, 7) == 1) {
    m_AccelCalX = rk_input_AccelX();
    m_AccelCalY = rk_input_AccelY();
  }
  p_SetSize(1, 1);
  p_SetCol(100, 255, 100, 0.6f);
  p_Oval(24 + 20 * m_TiltSmoothX, jscrh - 24 + 20 * m_TiltSmoothY, 4, 4);
  p_ResetDraw();
  return 0;
}
