// game/game.cpp: a game from its start to its end: the turn of one frame
// (roll, dice, calculator, judging, card, cursor keys, score line) and the
// pause request.
#include <algorithm>

#include "game/app.h"

namespace {
constexpr float kPlayWidth = 640;
constexpr float kPlayHeight = 480;
constexpr float kPauseIconSize = 32;
constexpr float kDiceRow = 64;
// The card's and the calculator's design boxes: their centre line, top and height.
struct Box {
  float centreX, top, height;
};
constexpr Box kCardBox = {168, 212, 262};
constexpr Box kCalcBox = {517, 220, 250};
// The tall layout: its margin, the score line's and the dice's scale, the
// dice's row, the band's top below them and the least room kept for banners;
// the card grows up to kTallCardMost, the calculator by kCalcShare of it.
constexpr float kTallMargin = 8;
constexpr float kTallTopScale = 1.4f;
constexpr float kTallDiceScale = 1.2f;
constexpr float kTallDiceRow = 130;
constexpr float kTallBandTop = 176;
constexpr float kTallBannerRoom = 110;
constexpr float kTallGap = 24;
constexpr float kTallCardMost = 1.8f;
constexpr float kCalcShare = 0.7f;
}  // namespace

float c_MyApp::p_TallBandTop() const { return kTallBandTop; }

// Dice, score line and pause button hang from the top, the card and the
// calculator from the bottom; a tall screen would leave a gap between them.
float c_MyApp::p_PlayTop() const {
  return std::floor(std::max(0.0f, rk_Game_jscrh - kPlayHeight) / 2);
}

// Exactly the screen's bottom when the screen is no taller than the play.
float c_MyApp::p_PlayBottom() const { return rk_Game_jscrh - p_PlayTop(); }

// The play is designed in a 640 x 480 field. On screens up to 16:9 and
// beyond, that field is centred and the pause button keeps the screen's
// corner, larger where fingers press it. On a tall screen the parts are
// stacked and enlarged: the score line and the dice at the top, the
// calculator at the bottom, the card above it, banners between dice and card.
Placement c_MyApp::p_PlayPlacement(int part) const {
  const float h = rk_Game_jscrh;
  const bool tall = m_Layout == kLayoutTall;
  if (part == kPlayPause) {
    const float scale = std::max(1.0f, p_FingerSize() / kPauseIconSize);
    return tall ? Placement{kTallMargin, kTallMargin, scale} : Placement{0, p_PlayTop(), scale};
  }
  if (!tall) return {std::floor((rk_Game_jscrw - kPlayWidth) / 2), p_PlayTop(), 1};
  // A part scaled about the field's centre line, its design row `y` at screen row `at`.
  auto centred = [](float scale, float y, float at) {
    return Placement{kPlayWidth / 2 * (1 - scale), at - scale * y, scale};
  };
  if (part == kPlayTopLine) return centred(kTallTopScale, 0, kTallMargin);
  if (part == kPlayDice) return centred(kTallDiceScale, kDiceRow, kTallDiceRow);
  const float room = h - kTallBandTop - kTallBannerRoom - kTallMargin;
  const float card = std::clamp(room / (kCardBox.height + kCalcShare * kCalcBox.height + kTallGap),
                                1.0f, kTallCardMost);
  const float calc = std::max(1.0f, kCalcShare * card);
  const float calcTop = h - kTallMargin - calc * kCalcBox.height;
  const Box& box = part == kPlayCalculator ? kCalcBox : kCardBox;
  const float scale = part == kPlayCalculator ? calc : card;
  const float top = part == kPlayCalculator ? calcTop : calcTop - kTallGap - card * box.height;
  return {kPlayWidth / 2 - scale * box.centreX, top - scale * box.top, scale};
}

int c_MyApp::p_LoadGame() {
  m_Screen = 10;
  p_PlayTune(String("fish"), 1);
  p_ResetGrid();
  p_ResetStars(100);
  p_ResetParticles(250);
  for (int slot = 0; slot < 500; ++slot) m_Turn[slot] = 0;
  // The score line starts at 0 too, not counting down from the last game's score.
  m_Paused = m_Score = m_ShownScore = m_GameOver = m_OverTimer = m_QuitGame = 0;
  m_ShakeX = m_ShakeY = m_ShakeTargetX = m_ShakeTargetY = 0;
  m_CardLivesLost = m_GameCardsDone = m_GameNumbersEarned = m_NumberStreak = 0;
  m_RefusedDie = m_RefusedShake = m_BonusShown = 0;
  m_Turn[kTurnLives] = 3;
  m_Turn[kTurnHints] = static_cast<float>(4 - m_CardType);
  p_FreshCard();
  return 0;
}

int c_MyApp::p_Game() {
  p_DoBG(100, 140, 200, -123);
  m_ShakeX -= (m_ShakeX - m_ShakeTargetX) / 8;
  m_ShakeY -= (m_ShakeY - m_ShakeTargetY) / 8;
  p_AnalogueControl();
  if (m_Turn[kTurnRollTimer] > 0) {
    m_Turn[kTurnCount] = 0;
    m_Turn[kTurnValue] = 0;
    p_Rolling();
  }
  if (m_Turn[kTurnRollTimer] == 0 && m_Turn[kTurnCount] == 0) m_Turn[kTurnCount] = 1;
  m_PickedThisUpdate = 0;
  const int settled = p_DoDice();
  p_DoCalculator();
  const float value = p_EvaluateExpression();
  const bool whole = value >= 0 && value == static_cast<float>(static_cast<int>(value));
  if (m_Turn[kTurnCount] == 10 && whole && settled) p_JudgeExpression(value);
  p_ShowValue(value);
  p_DrawCard();
  p_CursorKeys();
  p_DoParticles(1);
  p_ScoreDisplay();
  return 0;
}

// Up and left step back, down and right forward; over the operators up and
// down move by a row of two. Each cursor asks its keys in its own order: the
// first held one moves it.
int c_MyApp::p_CursorKeys() {
  const bool dieExpected = static_cast<int>(m_Turn[kTurnCount]) % 2 == 1;
  struct Move {
    int action;
    int step;
  };
  static const Move kDieMoves[4] = {{kActionUp, -1}, {kActionLeft, -1}, {kActionRight, 1},
                                    {kActionDown, 1}};
  static const Move kOperatorMoves[4] = {{kActionUp, -2}, {kActionDown, 2}, {kActionLeft, -1},
                                         {kActionRight, 1}};
  float& cursor = m_Turn[kTurnCursor];
  for (const Move& move : dieExpected ? kDieMoves : kOperatorMoves) {
    if (m_KeyLock != 0 || !p_PlayKey(move.action, 1, 0)) continue;
    m_KeyLock = 1;
    p_PlaySFX(99, 1, 1, 0);
    cursor += static_cast<float>(move.step);
    if (dieExpected) m_Turn[kTurnCursorStep] = static_cast<float>(move.step);
  }
  if (cursor < 0) cursor = 0;
  if (cursor > 4) cursor = 4;
  if (!dieExpected && cursor > 3) cursor = 3;
  return 0;
}

int c_MyApp::p_InGame() {
  p_ResetDraw();
  m_MenuSlide = -32;
  bool pauseAsked = false;
  for (int player = 0; player <= 3; ++player) {
    if (p_PlayKey(kActionBack, 1, player)) pauseAsked = true;
  }
  if (!pauseAsked && rk_Game_isOuya == 1) {
    for (int player = 0; player <= 3; ++player) {
      if (p_PlayKey(13, 1, player)) pauseAsked = true;
    }
  }
  auto pause = [this] {
    m_Paused = 1;
    m_PauseState = 1;
    m_PauseSel = 0;
    p_PlaySFX(98, 1, 0.5f, 0);
  };
  if (pauseAsked && m_Paused == 0 && m_KeyLock == 0) {
    m_KeyLock = 1;
    pause();
  }
  if (m_HideHud != 1) {
    p_Alpha(m_InputKind == 2 ? 1.0f : 0.2f);
    m_DrawTag = kTagPauseButton;
    p_Place(p_PlayPlacement(kPlayPause));
    const bool pressed = p_Button(kImageIcons, 16, 16, 0);
    p_Unplace();
    if (pressed && m_Paused == 0 && m_PointerLock == 0) {
      m_PointerLock = 1;
      pause();
    }
    p_Alpha(1);
    m_DrawTag = kTagNone;
  }
  if (m_Paused == 1) {
    p_PauseMenu();
  } else {
    m_ToyTrailLive = 0;
  }
  return 0;
}
