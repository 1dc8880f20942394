// game/dice.cpp: the roll of the five dice, the random search that makes
// every roll solvable, and the dice on the game screen: their spin, their
// slide out of view once used, the cursor, the hints and picking them.
#include <cmath>

#include "game/app.h"
#include "runtime/startup.h"

namespace {

constexpr int kSearchAttempts = 251;
// Operators of the search: 1 divided by, 2 times, 3 minus, 4 plus.
const char* const kSearchSymbols[5] = {"", "/", "*", "-", "+"};

int DrawOperator(float low, float span) {
  return static_cast<int>(low + span * rk_random_Rnd());
}

}  // namespace

int c_MyApp::p_Rolling() {
  float& timer = m_Turn[kTurnRollTimer];
  timer -= 1;
  if (static_cast<int>(4.99f * rk_random_Rnd()) == 1) {
    const float pitch = rk_random_Rnd();
    p_PlaySFX(p_Rand(3, 6), 0.7f + 0.6f * pitch, 1, 0);
  }
  for (int i = 1; i <= 5; ++i) {
    m_Turn[kTurnUsed + i] = 0;
    if (static_cast<int>(2.99f * rk_random_Rnd()) == 0) {
      m_Turn[kTurnFace + i] = static_cast<float>(p_Rand(1, 16));
    }
    if (timer == 0) m_Turn[kTurnFace + i] = m_Turn[kTurnFinalFace + i];
  }
  if (timer == 19) {
    for (int i = 1; i <= 5; ++i) m_Turn[kTurnFinalFace + i] = static_cast<float>(p_Rand(1, 6));
    // Until a solution exists, the roll goes on a frame longer with new faces.
    if (!p_SearchSolution()) timer = 20;
  }
  for (int slot = 50; slot <= 95; ++slot) m_Turn[slot] = 0;
  m_Turn[kTurnCursor] = 0;
  m_Turn[kTurnCursorStep] = 1;
  m_Turn[kTurnSavedOperator] = 0;
  m_Turn[kTurnJudged] = 0;
  return 0;
}

// Builds random left-to-right expressions over the final faces in die order
// until one reaches a number still to earn; stores its operators as hints.
int c_MyApp::p_SearchSolution() {
  int ops[6] = {0};
  for (int attempt = 0; attempt < kSearchAttempts; ++attempt) {
    int value = static_cast<int>(m_Turn[kTurnFinalFace + 1]);
    for (int i = 2; i <= 5; ++i) {
      const int die = static_cast<int>(m_Turn[kTurnFinalFace + i]);
      int op = DrawOperator(1, 3.99f);
      if (die == 1) op = DrawOperator(2, 2.99f);
      if (op == 1 && value % die != 0) op = DrawOperator(2, 2.99f);
      if (op == 3 && value - die < 0) op = 4;
      if (op == 1) value /= die;
      if (op == 2) value *= die;
      if (op == 3) value -= die;
      if (op == 4) value += die;
      ops[i] = op;
      m_Turn[kTurnHint + i] = static_cast<float>(4 - op);
    }
    if (value <= 0) continue;
    for (int cell = 0; cell < 15; ++cell) {
      if (m_Grid[cell] != value || m_Grid[50 + cell] != 0) continue;
      String line = String(m_Turn[kTurnFinalFace + 1]);
      for (int i = 2; i <= 5; ++i) {
        line += String(kSearchSymbols[ops[i]]) + String(m_Turn[kTurnFinalFace + i]);
      }
      rkPrint(line + String("=") + String(value));
      return 1;
    }
  }
  return 0;
}

// The dice of one game frame. Returns 1 when every used die has slid out of
// view, the one picked in this frame included. A die's flag is 1 when used
// and 0 when free; any other value (the game-over overlay's) holds it still.
int c_MyApp::p_DoDice() {
  const bool rolling = m_Turn[kTurnRollTimer] > 0;
  m_DrawTag = kTagDice;
  p_Place(p_PlayPlacement(kPlayDice));
  // Where the dice stand before this frame's slide, which is where they are drawn.
  PickTarget dice[5];
  for (int i = 1; i <= 5; ++i) {
    const bool open = m_Turn[kTurnUsed + i] == 0 && static_cast<int>(m_Turn[kTurnCount]) % 2 == 1;
    dice[i - 1] = {20.0f + 100 * i, 64 - m_Turn[kTurnSlide + i],
                   p_HalfFrame(kImageDice, 0), p_HalfFrame(kImageDice, 1), open};
  }
  const int touched = p_TouchedTarget(dice, 5);
  for (int i = 1; i <= 5; ++i) {
    p_SetRot(rolling ? -360 * rk_random_Rnd() : 0);
    float& offset = m_Turn[kTurnSlide + i];
    const float x = dice[i - 1].x;
    const float y = dice[i - 1].y;
    // A pick on one die changes what the next one may do in the same frame.
    const bool dieExpected = static_cast<int>(m_Turn[kTurnCount]) % 2 == 1;
    float& cursor = m_Turn[kTurnCursor];
    if (dieExpected && cursor == i - 1 && m_Turn[kTurnUsed + i] == 1) {
      cursor += m_Turn[kTurnCursorStep];
      if (cursor < 0) cursor = 4;
      if (cursor > 4) cursor = 0;
    }
    if (m_Turn[kTurnUsed + i] == 1) {
      offset = offset + 8 < 96 ? offset + 8 : 96;
    } else if (m_Turn[kTurnUsed + i] == 0) {
      offset = offset - 8 > 0 ? offset - 8 : 0;
    }
    if (dieExpected && cursor == i - 1) {
      p_SetCol(0, 60, 120, 1);
      p_Oval(x, y, 32, 32);
      p_SetCol(255, 255, 255, 1);
      if (m_KeyLock == 0 && m_PickedThisUpdate == 0 && p_PlayKey(kActionFire, 1, 0) &&
          m_Turn[kTurnUsed + i] == 0) {
        m_KeyLock = 1;
        p_PickEntry(i, m_Turn[kTurnFace + i]);
        m_Turn[kTurnSavedDie] = cursor;
        cursor = m_Turn[kTurnSavedOperator];
      }
    }
    const int face = static_cast<int>(m_Turn[kTurnFace + i]);
    // A used die slides off the top; above a centred or stacked play it would stay in sight.
    const bool gone = (p_PlayTop() > 0 || m_Layout == kLayoutTall) && offset >= 96;
    const float frame = static_cast<float>(face >= 1 && face <= 16 ? face - 1 : 0);
    // A refused die shakes, tinted red, the swing dying away.
    const bool refused = i == m_RefusedDie && m_RefusedShake > 0;
    const float shake = refused ? std::sin(m_RefusedShake * 1.7f) * m_RefusedShake * 0.4f : 0;
    if (refused) p_SetCol(255, 120, 120, 1);
    if (!gone) p_DrawImg(kImageDice, x + shake, y, frame);
    if (refused) p_SetCol(255, 255, 255, 1);
    if (m_Turn[kTurnHints] > 0 && i >= 2 && !gone) {
      p_SetSize(0.5f, kAbsent);
      p_DrawImg(kImageCalc, x - 50, y + 10, m_Turn[kTurnHint + i]);
      p_SetSize(1, kAbsent);
    }
    if (touched == i - 1 && p_TouchPick()) p_PickEntry(i, m_Turn[kTurnFace + i]);
  }
  p_SetRot(0);
  p_Unplace();
  if (m_RefusedShake > 0 && --m_RefusedShake == 0) m_RefusedDie = 0;
  for (int i = 1; i <= 5; ++i) {
    if (m_Turn[kTurnUsed + i] == 1 && m_Turn[kTurnSlide + i] < 90) return 0;
  }
  return 1;
}

// Appends an entry (a die's face, or an operator code) to the expression.
// One entry per update: the take-back after the update's evaluation frees the
// source of the last entry, which is then surely the die that broke the value.
int c_MyApp::p_PickEntry(int source, float entry) {
  m_PickedThisUpdate = 1;
  const int count = static_cast<int>(m_Turn[kTurnCount]);
  if (count % 2 == 1) m_Turn[kTurnUsed + source] = 1;
  m_Turn[kTurnEntry + count] = entry;
  m_Turn[kTurnSource + count] = static_cast<float>(source);
  m_Turn[kTurnCount] = static_cast<float>(count + 1);
  p_PlaySFX(1, 1, 1, 0);
  return 0;
}

// A fresh pointer press, when no pick was made in this update; takes the pointer lock.
int c_MyApp::p_TouchPick() {
  if (m_PickedThisUpdate != 0 || m_PointerLock != 0 || m_PointerDown <= 0) return 0;
  m_PointerLock = 1;
  return 1;
}
