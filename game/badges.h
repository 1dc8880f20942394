// game/badges.h: the ids of the badges a player can earn. The table in
// badges.cpp gives each its name and detail; awards.cpp decides the events.
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
  // Ids from here to 63 have no achievement.
  kBadgeCount
};
static_assert(kBadgeCount <= 64, "badge icons exist for ids 0 to 63");
