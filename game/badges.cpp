// game/badges.cpp: the badge table and the banners that announce a badge,
// sliding in at the bottom left, drawn over everything else.
#include "game/app.h"
#include "game/badges.h"

namespace {
constexpr int kBadgeSlot = 80;
constexpr int kBannerSlotsShown = 13;
constexpr int kBannerFrames = 240;

struct BadgeText {
  int id;
  // Name, "|", detail. A name of at most 14 characters fits its banner.
  const char* text;
};
const BadgeText kBadgeTexts[] = {
    {0, "Test Badge|This is a Test Badge which has no purpose."},
    {kBadgeFirstNumber, "First Number|Earn your first number on a card."},
    {kBadgeNumberOne, "Number One|Earn the number 1."},
    {kBadgeNineties, "Nineties|Earn a number above 90."},
    {kBadgeNinetyNine, "Ninety-Nine|Earn the number 99."},
    {kBadgeLuckySevens, "Lucky Sevens|Earn the number 77."},
    {kBadgeFiveColumns, "Five Columns|Earn a number in every column of one card."},
    {kBadgeColumnCleared, "Column Cleared|Earn all three numbers of one column."},
    {kBadgeAllFour, "All Four|Earn a number using +, -, x and / in one go."},
    {kBadgeDivision, "Clean Split|Earn a number with a division in it."},
    {kBadgeOnlyOperator + 0, "Pure Addition|Earn a number using only plus."},
    {kBadgeOnlyOperator + 1, "Downhill|Earn a number using only minus."},
    {kBadgeOnlyOperator + 2, "Multiplier|Earn a number using only times."},
    {kBadgeOnlyOperator + 3, "All Divided|Earn a number using only divided by."},
    {kBadgeFiveAlike, "Five Alike|Earn a number with five dice of one face."},
    {kBadgeThroughZero, "Through Zero|Earn a number after a step that gave 0."},
    {kBadgeHighFlyer, "High Flyer|Earn a number after a step that gave 100 or more."},
    {kBadgeStraight, "Straight|Earn a number with dice 1 to 5 or 2 to 6."},
    {kBadgeCloseCall, "Close Call|Earn a number on your last life."},
    {kBadgeComeback, "Comeback|Complete a card on your last life."},
    {kBadgeConsolation, "Consolation|Lose all three lives without earning a number."},
    {kBadgeStreak + 0, "Hot Streak|Earn 10 numbers in a row without a miss."},
    {kBadgeStreak + 1, "On Fire|Earn 25 numbers in a row without a miss."},
    {kBadgeStreak + 2, "Unstoppable|Earn 50 numbers in a row without a miss."},
    {kBadgeCardFilled + 0, "Five Filled|Complete a card of five numbers."},
    {kBadgeCardFilled + 1, "Ten Filled|Complete a card of ten numbers."},
    {kBadgeCardFilled + 2, "Fifteen Filled|Complete a card of fifteen numbers."},
    {kBadgeCardClean + 0, "Clean Five|Complete a card of five without a miss."},
    {kBadgeCardClean + 1, "Clean Ten|Complete a card of ten without a miss."},
    {kBadgeCardClean + 2, "Clean Fifteen|Complete a card of fifteen without a miss."},
    {kBadgeCardsInGame + 0, "Double Card|Complete 2 cards in one game."},
    {kBadgeCardsInGame + 1, "Hat Trick|Complete 3 cards in one game."},
    {kBadgeCardsInGame + 2, "High Five|Complete 5 cards in one game."},
    {kBadgeCardsInGame + 3, "Card Shark|Complete 10 cards in one game."},
    {kBadgeScore + 0, "Fives 500|Score 500 in one game on cards of five."},
    {kBadgeScore + 1, "Fives 1000|Score 1000 in one game on cards of five."},
    {kBadgeScore + 2, "Fives 2500|Score 2500 in one game on cards of five."},
    {kBadgeScore + 3, "Fives 5000|Score 5000 in one game on cards of five."},
    {kBadgeScore + 4, "Tens 500|Score 500 in one game on cards of ten."},
    {kBadgeScore + 5, "Tens 1000|Score 1000 in one game on cards of ten."},
    {kBadgeScore + 6, "Tens 2500|Score 2500 in one game on cards of ten."},
    {kBadgeScore + 7, "Tens 5000|Score 5000 in one game on cards of ten."},
    {kBadgeScore + 8, "Fifteens 500|Score 500 in one game on cards of fifteen."},
    {kBadgeScore + 9, "Fifteens 1000|Score 1000 in one game on cards of fifteen."},
    {kBadgeScore + 10, "Fifteens 2500|Score 2500 in one game on cards of fifteen."},
    {kBadgeScore + 11, "Fifteens 5000|Score 5000 in one game on cards of fifteen."},
    {kBadgeGamesPlayed + 0, "First Game|Finish your first game."},
    {kBadgeGamesPlayed + 1, "Regular|Finish 10 games."},
    {kBadgeGamesPlayed + 2, "Devoted|Finish 50 games."},
    {kBadgeGamesPlayed + 3, "Centurion|Finish 100 games."},
    {kBadgeTriedType + 0, "Tried Fives|Finish a game on cards of five."},
    {kBadgeTriedType + 1, "Tried Tens|Finish a game on cards of ten."},
    {kBadgeTriedType + 2, "Tried Fifteens|Finish a game on cards of fifteen."},
    {kBadgeFullMenu, "Full Menu|Finish a game of every card type."},
    {kBadgeTopTen, "High Scorer|Enter a top-ten list."},
    {kBadgeFirstPlace, "Champion|Take first place in a top-ten list."},
    {kBadgeRecordBreaker, "Record Breaker|Beat your own best score on a card type."},
    {kBadgeFullTopTen, "Full Top Ten|Fill a top-ten list with ten scores."},
};
}  // namespace

String c_MyApp::p_BadgeID(int id) {
  for (const BadgeText& badge : kBadgeTexts) {
    if (badge.id == id) return String(badge.text);
  }
  return String("Odd Badge|This badge hasn't been defined!");
}

String c_MyApp::p_BadgeName(int id) { return p_BadgeID(id).Split(String("|"))[0]; }

String c_MyApp::p_BadgeDetail(int id) { return p_BadgeID(id).Split(String("|"))[1]; }

int c_MyApp::p_ShowBadges() {
  p_ResetDraw();
  m_BadgeWidth = 160;
  const int w = m_BadgeWidth;
  for (int k = 0; k < kBannerSlotsShown; ++k) {
    int age = m_BadgeQueueTime[k];
    if (age <= 0) continue;
    m_BadgeQueueTime[k] = ++age;
    int slide = age > kBannerFrames - w / 16 ? 16 * (kBannerFrames - age) - w : 16 * age - w;
    if (slide > 0) slide = 0;
    const float s = static_cast<float>(slide);
    const float y = rk_Game_jscrh - 34.0f * (k + 1);
    p_SetCol(0, 0, 80, 0.8f);
    p_Rect(s, y, 160, 32);
    p_SetCol(255, 255, 255, 1);
    const int id = m_BadgeQueueId[k];
    p_Text(s + 16, y + 4, p_BadgeName(id), 0, 0, 0);
    if (id >= 0 && id < 64) {
      p_SetSize(0.5f, kAbsent);
      p_DrawImg(kBadgeSlot, s + w - 16, y + 16, static_cast<float>(id));
      p_SetSize(1, kAbsent);
    }
    if (age > kBannerFrames) m_BadgeQueueTime[k] = 0;
  }
  return 0;
}
