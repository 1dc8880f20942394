// game/card.cpp: the bingo card: dealing a fresh card for the chosen card
// type (which also starts the next roll of the dice), and drawing it.
#include <algorithm>
#include <utility>

#include "game/app.h"

namespace {

constexpr int kRows = 3;
constexpr int kColumns = 5;
constexpr int kEarned = 50;

}  // namespace

// Only the card's numbers and earned flags (entries 0..64) are ever written.
int c_MyApp::p_ResetGrid() {
  for (int i = 0; i < kGridUsedEntries; ++i) m_Grid[i] = 0;
  return 0;
}

int c_MyApp::p_FreshCard() {
  // Each column draws distinct numbers from its own band of twenty.
  for (int n = 0; n < kColumns; ++n) {
    for (int r = 0; r < kRows; ++r) {
      int v = 0;
      bool repeated = true;
      while (repeated) {
        v = p_Rand(20 * n, 20 * n + 19);
        if (v == 0) v = 1;
        repeated = false;
        for (int above = 0; above < r; ++above) {
          if (m_Grid[5 * above + n] == v) repeated = true;
        }
      }
      m_Grid[5 * r + n] = static_cast<float>(v);
      m_Grid[kEarned + 5 * r + n] = 0;
    }
  }
  // Columns read ascending from top to bottom.
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (int n = 0; n < kColumns; ++n) {
      for (int r = 0; r < kRows - 1; ++r) {
        float& upper = m_Grid[5 * r + n];
        float& lower = m_Grid[5 * (r + 1) + n];
        if (upper > lower) {
          std::swap(upper, lower);
          swapped = true;
        }
      }
    }
  }
  // Blank cells so that one, two or three numbers per column remain.
  for (int n = 0; n < kColumns; ++n) {
    const int k = p_Rand(0, 2);
    for (int r = 0; r < kRows; ++r) {
      if ((m_CardType == 1 && r != k) || (m_CardType == 2 && r == k)) m_Grid[5 * r + n] = 0;
    }
  }
  m_Turn[95] = 0;
  for (int i = 1; i <= 5; ++i) {
    m_Turn[kTurnFace + i] = static_cast<float>(p_Rand(1, 6));
    m_Turn[kTurnFinalFace + i] = static_cast<float>(p_Rand(1, 6));
  }
  m_Turn[kTurnRollTimer] = 60;
  return 0;
}

int c_MyApp::p_DrawCard() {
  static const String kHeadings[kColumns] = {String("B"), String("I"), String("N"), String("G"),
                                              String("O")};
  const float top = 480 - 264 + 28;
  m_DrawTag = kTagCard;
  p_Place(p_PlayPlacement(kPlayCard));
  for (int n = 0; n < kColumns; ++n) {
    for (int j = 0; j <= kRows; ++j) {
      const float x = 36.0f + 66 * n;
      const float y = top + 66.0f * j;
      int frame = 3;
      String text = kHeadings[n];
      if (j > 0) {
        const int cell = 5 * (j - 1) + n;
        const int number = static_cast<int>(m_Grid[cell]);
        frame = number == 0 ? 1 : (m_Grid[kEarned + cell] != 0 ? 2 : 0);
        text = number > 0 ? String(number) : String();
      }
      p_SetSize(1, kAbsent);
      p_DrawImg(kImageGrid, x, y, static_cast<float>(frame));
      if (text.IsEmpty()) continue;
      p_SetSize(2, kAbsent);
      p_Text(x, y, text, 1, 1, 0);
    }
  }
  if (m_BonusShown > 0) {
    // Rises from the card's middle and fades over its last half second.
    const float rise = static_cast<float>(kBonusUpdates - m_BonusShown);
    p_SetCol(255, 220, 90, std::min(1.0f, m_BonusShown / 30.0f));
    p_SetSize(3, kAbsent);
    p_Text(36.0f + 66 * 2, top + 66.0f * 2 - rise * 0.6f, String("+250"), 1, 1, 0);
    p_SetCol(255, 255, 255, 1);
    --m_BonusShown;
  }
  p_SetSize(1, kAbsent);
  p_Unplace();
  return 0;
}
