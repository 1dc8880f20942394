// game/awards.cpp: which game events earn which badges, and the award itself:
// the flag, a banner and a sound. A badge is announced only when it is first
// earned, and saved at the end of that update.
#include <algorithm>

#include "game/app.h"
#include "game/badges.h"

namespace {

constexpr int kEarned = 50;
constexpr int kFullLives = 3;

constexpr int kStreakTiers[] = {10, 25, 50};
constexpr int kCardsInGameTiers[] = {2, 3, 5, 10};
constexpr int kScoreTiers[] = {500, 1000, 2500, 5000};
constexpr int kFlawlessCards = 3;
constexpr int kLowRollerSum = 10;
// High Scorer: the 1000 tier on each of the three card types.
constexpr int kHighScorerTier = 1;

// Awards firstId + tier for every tier whose threshold `value` has reached.
template <int N>
void AwardTiers(c_MyApp* app, int firstId, const int (&thresholds)[N], int value) {
  for (int tier = 0; tier < N; ++tier) {
    if (value >= thresholds[tier]) app->p_AwardBadge(firstId + tier);
  }
}

bool KnownCardType(int type) { return type >= 1 && type <= 3; }

void AwardScoreTiers(c_MyApp* app) {
  if (!KnownCardType(app->m_CardType)) return;
  AwardTiers(app, kBadgeScore + 4 * (app->m_CardType - 1), kScoreTiers, app->m_Score);
  bool everyType = true;
  for (int type = 0; type < 3; ++type) {
    everyType = everyType && app->m_BadgeFlags[kBadgeScore + 4 * type + kHighScorerTier];
  }
  if (everyType) app->p_AwardBadge(kBadgeTopTen);
}

// One more for a lifetime count, and the counted goals it reaches. A count
// edited out of range restarts at 1, and it stops at its limit.
void Count(c_MyApp* app, BadgeCounter counter) {
  int& count = app->m_Settings[kCounterSettings[counter]];
  count = std::min(std::max(count, 0), kCountLimit - 1) + 1;
  for (const CountedGoal& goal : kCountedGoals) {
    if (goal.counter == counter && count >= goal.goal) app->p_AwardBadge(goal.id);
  }
}

// Badges of the five dice alone, sorted: their faces, their shape, their sum.
void AwardDiceBadges(c_MyApp* app, const int (&dice)[5]) {
  if (dice[0] == dice[4]) app->p_AwardBadge(kBadgeFiveAlike);
  bool straight = true;
  for (int k = 1; k < 5; ++k) straight = straight && dice[k] == dice[0] + k;
  if (straight) app->p_AwardBadge(kBadgeStraight);
  // Three of one face and two of another, in either order.
  const bool threeTwo = dice[0] == dice[2] && dice[3] == dice[4];
  const bool twoThree = dice[0] == dice[1] && dice[2] == dice[4];
  if (dice[0] != dice[4] && (threeTwo || twoThree)) app->p_AwardBadge(kBadgeFullHouse);
  if (dice[1] == 6) app->p_AwardBadge(kBadgeSixesHigh);
  int sum = 0;
  for (int die : dice) sum += die;
  if (sum <= kLowRollerSum) app->p_AwardBadge(kBadgeLowRoller);
}

// The badges of the expression just judged a match: its dice and operators
// are in the turn entries, worked strictly left to right.
void AwardExpressionBadges(c_MyApp* app) {
  int dice[5];
  for (int k = 0; k < 5; ++k) dice[k] = static_cast<int>(app->m_Turn[kTurnEntry + 1 + 2 * k]);
  int operatorsUsed = 0;
  bool throughZero = false;
  bool reached100 = false;
  int value = dice[0];
  for (int k = 0; k < 4; ++k) {
    const int op = static_cast<int>(app->m_Turn[kTurnEntry + 2 + 2 * k]);
    operatorsUsed |= 1 << op;
    // Every step was whole and at least 0, or the judging would not have come.
    switch (op) {
      case 1: value += dice[k + 1]; break;
      case 2: value -= dice[k + 1]; break;
      case 3: value *= dice[k + 1]; break;
      default: value = dice[k + 1] != 0 ? value / dice[k + 1] : 0; break;
    }
    if (k < 3 && value == 0) throughZero = true;
    if (value >= 100) reached100 = true;
  }
  if (operatorsUsed == 0x1e) app->p_AwardBadge(kBadgeAllFour);
  if (operatorsUsed & 1 << 4) app->p_AwardBadge(kBadgeDivision);
  for (int op = 1; op <= 4; ++op) {
    if (operatorsUsed == 1 << op) app->p_AwardBadge(kBadgeOnlyOperator + op - 1);
  }
  if (throughZero) app->p_AwardBadge(kBadgeThroughZero);
  if (reached100) app->p_AwardBadge(kBadgeHighFlyer);

  std::sort(dice, dice + 5);
  AwardDiceBadges(app, dice);
}

// Badges of the card as it stands: a number in every column, a full column.
void AwardCardBadges(c_MyApp* app) {
  bool everyColumn = true;
  for (int n = 0; n < 5; ++n) {
    int numbers = 0;
    int earned = 0;
    for (int r = 0; r < 3; ++r) {
      const int cell = 5 * r + n;
      if (app->m_Grid[cell] <= 0) continue;
      ++numbers;
      if (app->m_Grid[kEarned + cell] != 0) ++earned;
    }
    if (earned == 0) everyColumn = false;
    if (numbers == 3 && earned == 3) app->p_AwardBadge(kBadgeColumnCleared);
  }
  if (everyColumn) app->p_AwardBadge(kBadgeFiveColumns);
}

}  // namespace

int c_MyApp::p_AwardBadge(int id) {
  // The test badge and ids without an achievement are never awarded.
  if (id < 1 || id >= kBadgeCount || m_BadgeFlags[id]) return 0;
  m_BadgeFlags[id] = true;
  m_BadgesUnsaved = 1;
  // With every banner slot taken the badge is still earned, just not shown.
  p_QueueBanner(id);
  // Badges awarded together share one chime: stacked, the same sound only
  // grows louder, up to clipping. Handing back to the menu plays that sound
  // anyway, as its jingle.
  const int now = rk_app_Millisecs();
  if (now != m_ChimedAt && m_Screen != 2) p_PlaySFX(96, 1.2f, 1, 0);
  m_ChimedAt = now;
  return 1;
}

// Called once per judged expression, after its number or its life is counted.
int c_MyApp::p_OnExpressionJudged(int matched) {
  const int lives = static_cast<int>(m_Turn[kTurnLives]);
  if (matched == 0) {
    ++m_CardLivesLost;
    m_NumberStreak = 0;
    if (lives < 1 && m_GameNumbersEarned == 0) p_AwardBadge(kBadgeConsolation);
    return 0;
  }
  ++m_GameNumbersEarned;
  ++m_NumberStreak;
  Count(this, kCountNumbers);
  const int value = static_cast<int>(m_Turn[kTurnValue]);
  p_AwardBadge(kBadgeFirstNumber);
  if (value == 1) p_AwardBadge(kBadgeNumberOne);
  if (value > 90) p_AwardBadge(kBadgeNineties);
  if (value == 99) p_AwardBadge(kBadgeNinetyNine);
  if (value == 77) p_AwardBadge(kBadgeLuckySevens);
  if (lives == 1) p_AwardBadge(kBadgeCloseCall);
  AwardTiers(this, kBadgeStreak, kStreakTiers, m_NumberStreak);
  AwardExpressionBadges(this);
  AwardCardBadges(this);
  AwardScoreTiers(this);
  return 0;
}

// Called when a card's last number is earned, after its 250 points.
int c_MyApp::p_OnCardCompleted() {
  ++m_GameCardsDone;
  Count(this, kCountCards);
  if (KnownCardType(m_CardType)) {
    p_AwardBadge(kBadgeCardFilled + m_CardType - 1);
    if (m_CardLivesLost == 0) p_AwardBadge(kBadgeCardClean + m_CardType - 1);
  }
  if (m_Turn[kTurnLives] == 1) p_AwardBadge(kBadgeComeback);
  // Lives only ever go down in a game: all three left means none was lost.
  if (m_Turn[kTurnLives] == kFullLives && m_GameCardsDone >= kFlawlessCards) {
    p_AwardBadge(kBadgeFlawless);
  }
  AwardTiers(this, kBadgeCardsInGame, kCardsInGameTiers, m_GameCardsDone);
  AwardScoreTiers(this);
  // The next card starts without a miss.
  m_CardLivesLost = 0;
  return 0;
}

// Called once per finished game, after its score is in the lists.
int c_MyApp::p_OnGameRecorded(int place) {
  Count(this, kCountGames);
  if (!KnownCardType(m_CardType)) return 0;
  p_AwardBadge(kBadgeTriedType + m_CardType - 1);
  if (m_BadgeFlags[kBadgeTriedType] && m_BadgeFlags[kBadgeTriedType + 1] &&
      m_BadgeFlags[kBadgeTriedType + 2]) {
    p_AwardBadge(kBadgeFullMenu);
  }
  const int top = 10 * (m_CardType - 1);
  const bool listFull = m_HiScores[top + 9] > 0;
  // First place over an earlier best, which now stands second; over a full list, Champion.
  if (place == 1 && m_HiScores[top + 1] > 0) p_AwardBadge(kBadgeRecordBreaker);
  if (place == 1 && listFull) p_AwardBadge(kBadgeFirstPlace);
  if (listFull) p_AwardBadge(kBadgeFullTopTen);
  return 0;
}
