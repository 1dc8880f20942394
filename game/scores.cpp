// game/scores.cpp: the score line of the game screen, the game-over overlay
// that hands a finished game back to the menu, and the recording of its score
// in the top-ten and last-ten lists of its card type.
#include <algorithm>
#include <cstdlib>

#include "game/app.h"

namespace {

constexpr int kListLength = 10;
constexpr int kLifeIconFrame = 11;
// On the menu this turn slot is the key-repeat counter, so held direction keys
// do not repeat while the overlay fades; in a game it keeps the first die put.
constexpr int kKeyRepeatSlot = 21;
constexpr int kOverFrames = 90;
constexpr int kOverFadeStart = 75;

// Where the lists of a card type start in m_HiScores.
int TopStart(int cardType) { return kListLength * (cardType - 1); }
int LastStart(int cardType) { return 3 * kListLength + kListLength * (cardType - 1); }

// Puts `value` at `place` (0-based) of the list at `start`; the entries from
// there on move down one place and the last one drops out.
void InsertAt(Array<int>& scores, int start, int place, int value) {
  for (int k = kListLength - 1; k > place; --k) scores[start + k] = scores[start + k - 1];
  scores[start + place] = value;
}

// The first place whose score the new one beats: ties stay ahead of it.
int PlaceIn(const Array<int>& scores, int cardType, int score) {
  const int top = TopStart(cardType);
  for (int k = 0; k < kListLength; ++k) {
    if (scores[top + k] < score) return k + 1;
  }
  return 0;
}

}  // namespace

int c_MyApp::p_ScoreDisplay() {
  // Design places in the play's field.
  const float w = 640;
  const float top = 0;
  p_Place(p_PlayPlacement(kPlayTopLine));
  m_ShownScore -= (m_ShownScore - m_Score) / 6;
  if (std::abs(m_ShownScore - m_Score) <= 5) m_ShownScore = m_Score;
  p_SetRot(0);
  m_DrawBlend = 1;
  m_DrawTag = kTagScoreLine;
  // F2 hides the score line; the next target and the lives stay.
  if (m_HideHud != 1) {
    p_SetCol(100, 255, 100, 0.8f);
    p_SetSize(2, kAbsent);
    p_Text(w / 2, top + 28, p_rstr(m_ShownScore, 8, "0"), 1, 1, 0);
  }

  const int first = TopStart(m_CardType);
  int next = kListLength - 1;
  for (int k = kListLength - 1; k >= 1; --k) {
    const int entry = m_HiScores[first + k];
    if (m_Score > entry || entry == 0) next = k - 1;
  }
  p_SetSize(1, kAbsent);
  p_SetCol(255, 255, 100, 0.8f);
  // Names the place won by beating the shown score: "10th" beside the tenth (it read "11th").
  const String target = p_Nth(next + 1) + " " + p_rstr(m_HiScores[first + next], 8, "0");
  p_Text(w / 2, top + 10, target, 1, 1, 0);

  p_SetSize(0.75f, kAbsent);
  p_SetCol(255, 255, 255, 0.8f);
  const int lives = static_cast<int>(m_Turn[kTurnLives]);
  const float left = static_cast<float>(static_cast<int>(w / 2 + 64));
  for (int j = 1; j <= lives; ++j) p_DrawImg(kImageIcons, left + 16 * j, top + 24, kLifeIconFrame);
  p_Unplace();
  p_ResetDraw();
  m_DrawTag = kTagNone;
  return 0;
}

String c_MyApp::p_Nth(int n) {
  if (n < 1 || n > 30) return String();
  static const char* const kSuffixes[] = {"th", "st", "nd", "rd"};
  const int last = n % 10;
  const bool teen = n / 10 == 1;
  return String(n) + kSuffixes[!teen && last <= 3 ? last : 0];
}

int c_MyApp::p_RecordPlace() { return PlaceIn(m_HiScores, m_CardType, m_Score); }

String c_MyApp::p_MyNth() {
  // The place the score is recorded at: a tie or an empty place no longer counts as beaten.
  m_Loop = m_OverRank;
  return m_Loop == 1 ? String("1st!") : p_Nth(m_Loop);
}

int c_MyApp::p_GameOver() {
  // Taken before the menu records the score (points judged after a quit can still arrive).
  if (m_Screen == 10) m_OverRank = p_RecordPlace();

  const int t = m_OverTimer;
  if (t > 0) {
    const float w = rk_Game_jscrw;
    const float h = rk_Game_jscrh;
    m_KeyLock = 1;
    m_PointerLock = 1;
    m_Turn[kKeyRepeatSlot] = 240;

    p_ResetDraw();
    p_SetCol(0, 0, 0, std::min(t / 40.0f, 0.7f));
    const float margin = rk_Game_overscan + 1;
    p_Rect(-margin, -margin, w + 2 * margin, h + 2 * margin);

    const int half = std::min(12 * t, static_cast<int>(0.45f * h));
    p_SetCol(255, 255, 0, 0.5f);
    p_Rect(-1, 0.45f * h - 8, 2.0f * half, 16);
    p_SetCol(255, 128, 0, 0.5f);
    p_Rect(w - 2 * half, 0.55f * h - 8, 2.0f * half + 1, 16);

    const bool quit = m_QuitGame == -1;
    m_DrawTag = kTagGameOver;
    p_SetSize(4, kAbsent);
    p_SetCol(255, 180, 180, 1);
    p_Text(0.35f * w, half, quit ? "Quit" : "GAME", 1, 1, 0);
    p_Text(0.65f * w, h - half, quit ? "Game" : "OVER", 1, 1, 0);

    const String rank = p_MyNth();
    if (m_Loop > 0) {
      // A bar that holds both lines, each centred in it.
      const float y = h - half / 1.5f;
      const float barWidth = std::max(0.3f * w, 220.0f);
      m_DrawTag = kTagRankBar;
      p_SetCol(0, 125, 255, 0.5f);
      p_Rect(0.5f * (w - barWidth), y - 24, barWidth, 48);
      m_DrawTag = kTagRank;
      p_SetSize(2, kAbsent);
      p_SetCol(100, 255, 100, 1);
      p_Text(0.5f * w, y - 10, "New Highscore", 1, 1, 0);
      p_Text(0.5f * w, y + 12, rank, 1, 1, 0);
    }
  }

  m_DrawTag = kTagNone;
  if (m_Screen == 10) {
    if (++m_OverTimer >= kOverFrames) {
      m_Screen = 2;
      m_OverTimer = kOverFadeStart;
      p_StopTune();
    }
  } else if (m_Screen < 10) {
    m_OverTimer = std::max(m_OverTimer - 2, 0);
  }
  return 0;
}

int RecordScore(Array<int>& scores, int cardType, int score) {
  if (cardType < 1 || cardType > 3) return 0;
  const int place = PlaceIn(scores, cardType, score);
  if (place > 0) InsertAt(scores, TopStart(cardType), place - 1, score);
  InsertAt(scores, LastStart(cardType), 0, score);
  return place;
}

int c_MyApp::p_LoadMenu() {
  const int place = RecordScore(m_HiScores, m_CardType, m_Score);
  m_UnsavedGames.push_back({m_CardType, m_Score});
  p_OnGameRecorded(place);
  p_Save();
  return 0;
}
