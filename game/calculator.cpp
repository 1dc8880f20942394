// game/calculator.cpp: the four-key calculator: operator buttons, the
// strictly left-to-right value of the expression, taking back a step that
// leaves whole numbers, judging a finished expression against the card, and
// the value display.
#include <algorithm>

#include "game/app.h"

namespace {
constexpr int kImageDigits = 4;
constexpr float kDigitPitch = 32;
constexpr float kDigitPlaces = 4;
constexpr float kDigitMargin = 6;

// The display face's frame of a character: the digits, then "N", "/" and "A".
int DigitFrame(Char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return c == 'N' ? 10 : (c == '/' ? 11 : 12);
}

// Operator codes of the expression: 1 plus, 2 minus, 3 times, 4 divided by.
float Apply(float value, int op, float die) {
  switch (op) {
    case 1: return value + die;
    case 2: return value - die;
    case 3: return value * die;
    default: return value / die;
  }
}
}  // namespace

int c_MyApp::p_DoCalculator() {
  // The calculator's design places, in the play's field.
  const float w = 640;
  const float h = 480;
  p_SetRot(0);
  m_DrawTag = kTagCalculator;
  p_Place(p_PlayPlacement(kPlayCalculator));
  p_SetCol(20, 80, 20, kAbsent);
  p_Rect(w - 198, h - 260, 150, 250);
  m_DrawTag = kTagCalcDisplay;
  p_SetCol(0, 0, 0, kAbsent);
  p_Rect(w - 194, h - 256, 142, 64);
  m_DrawTag = kTagCalculator;
  p_SetCol(255, 255, 255, kAbsent);
  PickTarget keys[4];
  for (int b = 0; b < 4; ++b) {
    const int count = static_cast<int>(m_Turn[kTurnCount]);
    keys[b] = {static_cast<float>(static_cast<int>(w - 160 + 72 * (b % 2))),
               static_cast<float>(static_cast<int>(h - 130 + 72 * (b / 2))),
               p_HalfFrame(kImageCalc, 0), p_HalfFrame(kImageCalc, 1),
               count % 2 == 0 && count > 0 && count < 9};
  }
  const int touched = p_TouchedTarget(keys, 4);
  for (int b = 0; b < 4; ++b) {
    const int count = static_cast<int>(m_Turn[kTurnCount]);
    const float x = keys[b].x;
    const float y = keys[b].y;
    // The operator waiting for its right-hand die is lit.
    const bool lit = count % 2 == 1 && count > 2 && m_Turn[kTurnEntry - 1 + count] == b + 1;
    p_DrawImg(kImageCalc, x, y, static_cast<float>(lit ? b + 4 : b));
    if (count % 2 == 0 && count > 0 && m_Turn[kTurnCursor] == b) {
      p_SetCol(100, 200, 250, 0.75f);
      p_Oval(x, y, 36, 36);
      p_SetCol(255, 255, 255, 1);
      if (m_KeyLock == 0 && m_PickedThisUpdate == 0 && p_PlayKey(kActionFire, 1, 0) &&
          count < 9) {
        m_KeyLock = 1;
        p_PickEntry(b + 1, static_cast<float>(b + 1));
        m_PointerLock = 1;
        m_Turn[kTurnSavedOperator] = m_Turn[kTurnCursor];
        m_Turn[kTurnCursor] = m_Turn[kTurnSavedDie];
        m_Turn[kTurnCursorStep] = 1;
        continue;
      }
    }
    if (touched == b && p_TouchPick()) p_PickEntry(b + 1, static_cast<float>(b + 1));
  }
  p_Unplace();
  return 0;
}

// The value so far, left to right; an operator still waiting for its die does not count.
float c_MyApp::p_EvaluateExpression() {
  p_SetSize(6, kAbsent);
  const int count = static_cast<int>(m_Turn[kTurnCount]);
  float value = count > 0 ? m_Turn[kTurnEntry + 1] : 0;
  for (int e = 2; e + 1 < count; e += 2) {
    value = Apply(value, static_cast<int>(m_Turn[kTurnEntry + e]), m_Turn[kTurnEntry + e + 1]);
  }
  m_Turn[kTurnValue] = value;
  // A step off the whole numbers at or above 0 is taken back at once.
  const bool whole = value >= 0 && value == static_cast<float>(static_cast<int>(value));
  if (!whole && count >= 3) {
    const int source = static_cast<int>(m_Turn[kTurnSource - 1 + count]);
    if (source >= 1 && source <= 5) m_Turn[kTurnUsed + source] = 0;
    m_Turn[kTurnCount] = static_cast<float>(count - 2);
    p_PlaySFX(98, 1, 1, 0);
    // The die that broke it shakes as it drops back, for a third of a second.
    m_RefusedDie = source;
    m_RefusedShake = 20;
  }
  return value;
}

int c_MyApp::p_JudgeExpression(float value) {
  const bool firstFrame = m_Turn[kTurnJudged] == 0;
  bool matched = false;
  int toEarn = 0;
  for (int cell = 0; cell < 15; ++cell) {
    const float number = m_Grid[cell];
    if (number > 0 && m_Grid[50 + cell] == 0 && number == value) {
      m_Grid[50 + cell] = 1;
      matched = true;
      if (firstFrame) {
        p_PlaySFX(95, 1, 1, 0);
        m_Turn[kTurnHints] -= 1;
      }
      m_Score += static_cast<int>(value);
    }
    if (number > 0 && m_Grid[50 + cell] == 0) ++toEarn;
  }
  if (!matched && firstFrame) {
    p_PlaySFX(2, 1, 1, 0);
    m_Turn[kTurnLives] -= 1;
  }
  if (firstFrame) p_OnExpressionJudged(matched ? 1 : 0);
  if (toEarn == 0) {
    // A completed card scores at once and deals the next, with its roll.
    m_Turn[kTurnCount] = 11;
    p_FreshCard();
    m_Score += 250;
    // The bonus rises over the new card where it was earned.
    m_BonusShown = kBonusUpdates;
    p_OnCardCompleted();
    return 0;
  }
  m_Turn[kTurnJudged] += 1;
  if (m_Turn[kTurnJudged] > 59 && m_Turn[kTurnRollTimer] == 0) {
    if (m_Turn[kTurnLives] < 1) {
      m_GameOver = 1;
    } else {
      m_Turn[kTurnRollTimer] = 60;
      m_Turn[kTurnJudged] = 0;
    }
  }
  return 0;
}

int c_MyApp::p_ShowValue(float value) {
  String text("N/A");
  if (value >= 0 && value == static_cast<float>(static_cast<int>(value))) {
    // Three digits, but a larger value is shown whole rather than cut.
    const int whole = static_cast<int>(value);
    text = whole > 999 ? String(whole) : p_rstr(whole, 3, String("0"));
  }
  // Figures of the display's own face, right-aligned inside it; a value too
  // long for four places shrinks to fit.
  const float right = 640 - 52 - kDigitMargin;
  const float centreY = 480 - 224;
  p_Place(p_PlayPlacement(kPlayCalculator));
  const float size = std::min(1.0f, kDigitPlaces / static_cast<float>(text.Length()));
  m_DrawTag = kTagCalcValue;
  p_SetCol(255, 255, 255, 1);
  p_SetSize(size, kAbsent);
  for (int i = 0; i < text.Length(); ++i) {
    const int place = text.Length() - 1 - i;
    const float x = right - size * (kDigitPitch * place + kDigitPitch / 2);
    p_DrawImg(kImageDigits, x, centreY, static_cast<float>(DigitFrame(text[i])));
  }
  p_SetSize(1, kAbsent);
  p_Unplace();
  m_DrawTag = kTagNone;
  return 0;
}
