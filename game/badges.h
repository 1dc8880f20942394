// game/badges.h: the ids of the badges a player can earn and the counted
// goals. The table in badges.cpp gives each its name and detail; awards.cpp
// decides the events; gallery.cpp shows them all.
#pragma once

enum BadgeId {
  // Numbers earned.
  kBadgeFirstNumber = 1,
  kBadgeNumberOne,
  kBadgeNineties,
  kBadgeNinetyNine,
  kBadgeLuckySevens,
  kBadgeFiveColumns,
  kBadgeColumnCleared,
  // The shape of an expression that earns a number.
  kBadgeAllFour,
  kBadgeDivision,
  kBadgeOnlyOperator,  // + operator code - 1: plus, minus, times, divided by
  kBadgeFiveAlike = kBadgeOnlyOperator + 4,
  kBadgeThroughZero,
  kBadgeHighFlyer,
  kBadgeStraight,
  // Lives and runs of earned numbers.
  kBadgeCloseCall,
  kBadgeComeback,
  kBadgeConsolation,
  kBadgeStreak,  // + tier of kStreakTiers
  // Cards: per card type (+ type - 1), then several in one game (+ tier).
  kBadgeCardFilled = kBadgeStreak + 3,
  kBadgeCardClean = kBadgeCardFilled + 3,
  kBadgeCardsInGame = kBadgeCardClean + 3,
  // Scores: + 4 * (type - 1) + tier of kScoreTiers.
  kBadgeScore = kBadgeCardsInGame + 4,
  // Finished games: the count (+ tier), each card type (+ type - 1), all three.
  kBadgeGamesPlayed = kBadgeScore + 12,
  kBadgeTriedType = kBadgeGamesPlayed + 4,
  kBadgeFullMenu = kBadgeTriedType + 3,
  // The score lists.
  kBadgeTopTen,
  kBadgeFirstPlace,
  kBadgeRecordBreaker,
  kBadgeFullTopTen,
  // Dice shapes of an earned number, a perfect run, lifetime counts.
  kBadgeFullHouse,
  kBadgeSixesHigh,
  kBadgeLowRoller,
  kBadgeFlawless,
  kBadgeNumbersTotal,
  kBadgeCardsTotal,
  kBadgeCount
};
static_assert(kBadgeCount == 64, "badge icons exist for ids 0 to 63, every one earnable");

// Lifetime counts, each kept in an otherwise unused setting (saved and
// checksummed with the others), stopping at kCountLimit.
enum BadgeCounter { kCountGames, kCountNumbers, kCountCards, kCounters };
constexpr int kCounterSettings[kCounters] = {20, 21, 22};
constexpr int kCountLimit = 1000000;

// A badge earned when a lifetime count reaches its goal.
struct CountedGoal {
  int id;
  BadgeCounter counter;
  int goal;
};
constexpr CountedGoal kCountedGoals[] = {
    {kBadgeGamesPlayed + 0, kCountGames, 1},   {kBadgeGamesPlayed + 1, kCountGames, 10},
    {kBadgeGamesPlayed + 2, kCountGames, 50},  {kBadgeGamesPlayed + 3, kCountGames, 100},
    {kBadgeNumbersTotal, kCountNumbers, 250},  {kBadgeCardsTotal, kCountCards, 50},
};
// What the gallery calls each count ("Games played: 12 / 50").
constexpr const char* kCounterLabels[kCounters] = {"Games played", "Numbers earned",
                                                   "Cards completed"};

// The goal of a counted badge, or nullptr.
inline const CountedGoal* CountedGoalOf(int id) {
  for (const CountedGoal& goal : kCountedGoals) {
    if (goal.id == id) return &goal;
  }
  return nullptr;
}

// Banners: each stands this far below the one above it, and the widest (a
// detail of 48 characters) is this wide, in virtual units at full size.
constexpr float kBannerPitch = 44;
constexpr float kWidestBanner = 392;
