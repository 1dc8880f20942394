// game/badges.cpp: the badge table and the banners that announce a badge:
// its medal, its name and, smaller, what earned it, drawn over everything
// else where they hide nothing the player needs.
#include <algorithm>

#include "game/app.h"
#include "game/badges.h"

namespace {
constexpr int kBadgeSlot = 80;
constexpr int kBannerSlotsShown = 13;
constexpr int kBannerFrames = 240;
constexpr int kFadeFrames = 10;
constexpr float kBannerHeight = 40;
constexpr int kMostBanners = 4;
constexpr float kFontAdvance = 7;
constexpr float kNameSize = 1.5f;
constexpr float kTextLeft = 44;
// The game screen's free band: below the dice (drawn at y 64, 64 high, with
// their hint keys) and above the card's heading row (centred at h - 236).
constexpr float kDiceBottom = 104;
constexpr float kCardTopFromBottom = 272;
constexpr float kPlayHeight = 480;
constexpr float kTallBannerScale = 1.2f;

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
    {kBadgeColumnCleared, "Column Cleared|Earn a whole column on a card of fifteen."},
    {kBadgeAllFour, "All Four|Earn a number using +, -, x and / in one go."},
    {kBadgeDivision, "Clean Split|Earn a number with a division in it."},
    {kBadgeOnlyOperator + 0, "Pure Addition|Earn a number using only plus."},
    {kBadgeOnlyOperator + 1, "Downhill|Earn a number using only minus."},
    {kBadgeOnlyOperator + 2, "Multiplier|Earn a number using only times."},
    {kBadgeOnlyOperator + 3, "All Divided|Earn a number using only divided by."},
    {kBadgeFiveAlike, "Five Alike|Earn a number with five dice of one face."},
    {kBadgeThroughZero, "Through Zero|Earn a number after a step that gave 0."},
    {kBadgeHighFlyer, "High Flyer|Earn a number passing 100 or more on the way."},
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
    {kBadgeTopTen, "High Scorer|Score 1000 in one game on every card type."},
    {kBadgeFirstPlace, "Champion|Take first place in a full top-ten list."},
    {kBadgeRecordBreaker, "Record Breaker|Beat your own best score on a card type."},
    {kBadgeFullTopTen, "Full Top Ten|Fill a top-ten list with ten scores."},
    {kBadgeFullHouse, "Full House|Earn a number with three dice alike and a pair."},
    {kBadgeSixesHigh, "Sixes High|Earn a number with four or five sixes."},
    {kBadgeLowRoller, "Low Roller|Earn a number with dice adding up to 10 or less."},
    {kBadgeFlawless, "Flawless|Complete 3 cards in one game without a miss."},
    {kBadgeNumbersTotal, "Number Hoard|Earn 250 numbers in all."},
    {kBadgeCardsTotal, "Card Collector|Complete 50 cards in all."},
};

// Where banners stand: a left edge, a right edge, the bottom of the lowest
// one, in screen units; how many fit at once, and the size they are drawn at.
struct BannerArea {
  float left, right, bottom;
  int count;
  float scale;
};

BannerArea Area(const c_MyApp* app, float w, float h) {
  if (app->m_Screen == 1 || app->m_Screen == 2) {
    // The room the menu leaves, at a size the widest banner fits.
    const float* room = app->m_BannerRoom;
    const float scale = std::clamp((room[2] - room[0]) / kWidestBanner, 0.5f, 1.0f);
    const int fit = static_cast<int>((room[3] - room[1]) / (kBannerPitch * scale));
    return {room[0], room[2], room[3], std::clamp(fit, 1, kMostBanners), scale};
  }
  if (app->m_Screen >= 10 && app->m_Layout == kLayoutTall) {
    // The stacked play's band between the dice and the card.
    const Placement card = app->p_PlayPlacement(kPlayCard);
    const float bottom = card.offsetY + card.scale * (kPlayHeight - kCardTopFromBottom);
    const float pitch = kTallBannerScale * kBannerPitch;
    const int fit = static_cast<int>((bottom - app->p_TallBandTop()) / pitch);
    return {8, w - 8, bottom, std::clamp(fit, 1, kMostBanners), kTallBannerScale};
  }
  if (app->m_Screen >= 10) {
    // Between the dice and the card: nothing there to hide.
    const Placement field = app->p_PlayPlacement(kPlayCard);
    const float bottom = field.offsetY + kPlayHeight - kCardTopFromBottom;
    const int fit = static_cast<int>((bottom - field.offsetY - kDiceBottom) / kBannerPitch);
    return {8, w - 8, bottom, std::clamp(fit, 1, kMostBanners), 1};
  }
  return {8, w - 8, h - 4, kMostBanners, 1};
}

String Capitalised(const String& text) {
  return text.IsEmpty() ? text : text.Slice(0, 1).ToUpper() + text.Slice(1);
}

// The width of a line in the font at this size, to size the banner by.
float TextWidth(const String& text, float size) { return text.Length() * kFontAdvance * size; }
}  // namespace

String c_MyApp::p_BadgeID(int id) {
  for (const BadgeText& badge : kBadgeTexts) {
    if (badge.id == id) return String(badge.text);
  }
  return String("Odd Badge|This badge hasn't been defined!");
}

String c_MyApp::p_BadgeName(int id) { return p_BadgeID(id).Split(String("|"))[0]; }

String c_MyApp::p_BadgeDetail(int id) { return p_BadgeID(id).Split(String("|"))[1]; }

bool c_MyApp::p_QueueBanner(int id) {
  for (int k = 0; k < kBannerSlotsShown; ++k) {
    if (m_BadgeQueueTime[k] != 0) continue;
    m_BadgeQueueId[k] = id;
    m_BadgeQueueTime[k] = 1;
    return true;
  }
  return false;
}

// Waits for the end of loading: the banner's text needs the font.
int c_MyApp::p_ShowStateNotice() {
  if (m_LoadStep != 0) return 0;
  const String line = rk_app_TakeStateNotice();
  if (line.IsEmpty()) return 0;
  m_StateNotice = line;
  p_QueueBanner(kNoticeBanner);
  return 0;
}

// Banners take their places in slot order and fade in and out there, never
// passing over what they stand clear of; one past those that fit waits,
// unaged, for a place to come free.
int c_MyApp::p_ShowBadges() {
  // The pause menu and the game-over overlay cover the band: banners wait,
  // unaged, until play goes on or the menu is back.
  if (m_Screen >= 10 && (m_Paused != 0 || m_GameOver != 0)) return 0;
  p_ResetDraw();
  m_DrawTag = kTagBanner;
  BannerArea area = Area(this, rk_Game_jscrw, rk_Game_jscrh);
  // Drawn at the area's size, the area in their own units.
  const float scale = area.scale;
  p_Place(0, 0, scale);
  area = {area.left / scale, area.right / scale, area.bottom / scale, area.count, 1};
  int place = 0;
  for (int k = 0; k < kBannerSlotsShown; ++k) {
    int age = m_BadgeQueueTime[k];
    if (age <= 0) continue;
    if (place == area.count) continue;
    m_BadgeQueueTime[k] = ++age;
    const int id = m_BadgeQueueId[k];
    // The notice "Not saving: the disk is full" reads as a title and its reason.
    const bool notice = id == kNoticeBanner;
    const int colon = notice ? m_StateNotice.Find(String(": ")) : -1;
    const String name = !notice ? p_BadgeName(id)
                        : colon > 0 ? m_StateNotice.Slice(0, colon)
                                    : m_StateNotice;
    const String detail = !notice ? p_BadgeDetail(id)
                          : colon > 0 ? Capitalised(m_StateNotice.Slice(colon + 2))
                                      : String();
    const float fade =
        std::clamp(std::min(age, kBannerFrames - age) / static_cast<float>(kFadeFrames), 0.0f, 1.0f);
    const float textWidth = std::max(TextWidth(name, kNameSize), TextWidth(detail, 1));
    m_BadgeWidth = static_cast<int>(std::min(kTextLeft + textWidth + 12, area.right - area.left));
    const float x = area.left;
    const float y = area.bottom - kBannerPitch * (place + 1) + (kBannerPitch - kBannerHeight);
    ++place;

    p_SetCol(0, 0, 80, 0.8f * fade);
    p_Rect(x, y, static_cast<float>(m_BadgeWidth), kBannerHeight);
    p_SetCol(255, 255, 255, fade);
    if (id >= 0 && id < 64) {
      p_SetSize(0.5f, kAbsent);
      p_DrawImg(kBadgeSlot, x + 22, y + kBannerHeight / 2, static_cast<float>(id));
    } else if (notice) {
      // A warning sign where a badge's medal would be.
      p_SetCol(255, 190, 40, fade);
      p_Tri(x + 22, y + 6, x + 38, y + 34, x + 6, y + 34);
      p_SetCol(40, 20, 0, fade);
      p_SetSize(1.5f, kAbsent);
      p_Text(x + 22, y + 25, String("!"), 1, 1, 0);
    }
    p_SetCol(255, 255, 255, fade);
    p_SetSize(kNameSize, kAbsent);
    p_Text(x + kTextLeft, y + 3, name, 0, 0, 0);
    p_SetSize(1, kAbsent);
    p_SetCol(200, 220, 255, fade);
    p_Text(x + kTextLeft, y + 24, detail, 0, 0, 0);
    if (age > kBannerFrames) m_BadgeQueueTime[k] = 0;
  }
  p_Unplace();
  p_ResetDraw();
  m_DrawTag = kTagNone;
  return 0;
}
