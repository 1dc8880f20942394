// Badges: earned by play, announced once with a banner, kept across a
// restart; the expression badges; the table's reserved ids; the game count.
#include <gmock/gmock.h>

#include <climits>
#include <set>

#include "game/badges.h"
#include "tests/game/bot.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr int kGamesPlayed = 20;

std::string Text(const String& text) { return String::CString<char>(text).c_str(); }
std::string Name(c_MyApp* app, int id) { return Text(app->p_BadgeName(id)); }

void ExpectFlags(c_MyApp* app, std::vector<int> ids, bool earned) {
  for (int id : ids) EXPECT_EQ(app->m_BadgeFlags[id], earned) << Name(app, id);
}

std::set<int> Banners(c_MyApp* app) {
  std::set<int> ids;
  for (int k = 0; k < 15; ++k) if (app->m_BadgeQueueTime[k] > 0) ids.insert(app->m_BadgeQueueId[k]);
  return ids;
}

// Plays one game of cards of five, completing a card, until the menu is back.
void PlayToTheMenu(GameHarness& h) {
  Bot bot(h);
  bot.StartGame(1);
  ASSERT_TRUE(bot.PlayGame(1));
  for (int i = 0; i < 120 && h.app->m_Screen != 1; ++i) h.Update();
  ASSERT_EQ(h.app->m_Screen, 1);
}

TEST(Badges, AGameEarnsBadgesThatAreAnnouncedOnceAndSurviveARestart) {
  std::string saved;
  {
    GameHarness h;
    h.FinishLoading();
    PlayToTheMenu(h);
    c_MyApp* app = h.app;
    ExpectFlags(app, {kBadgeFirstNumber, kBadgeCardFilled, kBadgeGamesPlayed, kBadgeTriedType},
                true);
    // High Scorer and Champion ask for more than a first game with a score.
    ExpectFlags(app, {kBadgeGamesPlayed + 1, kBadgeCardFilled + 1, kBadgeFullMenu,
                      kBadgeConsolation, kBadgeTopTen, kBadgeFirstPlace, kBadgeRecordBreaker},
                false);
    EXPECT_EQ(app->m_Settings[kGamesPlayed], 1);
    // The end of the game earned these moments ago: their banners are up.
    EXPECT_THAT(Banners(app), ::testing::IsSupersetOf({+kBadgeGamesPlayed, +kBadgeTriedType}));
    h.audio->log.clear();
    EXPECT_EQ(app->p_AwardBadge(kBadgeFirstNumber), 0) << "earned already: no banner, no sound";
    EXPECT_TRUE(h.audio->Only("play").empty());
    saved = h.StateFile();
  }
  // The next run loads the badges and the game count and saves them unchanged.
  GameHarness h;
  h.WriteStateFile(saved);
  h.app->p_Load();
  h.app->p_Save();
  EXPECT_EQ(h.StateFile(), saved);
  h.FinishLoading();
  const std::vector<bool> earned(h.app->m_BadgeFlags.Data(), h.app->m_BadgeFlags.Data() + 256);
  // A second game announces none of the badges already earned.
  PlayToTheMenu(h);
  EXPECT_EQ(h.app->m_Settings[kGamesPlayed], 2);
  for (int id : Banners(h.app)) EXPECT_FALSE(earned[id]) << Name(h.app, id);
}

TEST(Badges, BadgesAwardedTogetherShareOneChime) {
  GameHarness h;
  h.FinishLoading();
  c_MyApp* app = h.app;
  h.audio->log.clear();
  for (int id : {kBadgeFirstNumber, kBadgeNumberOne, kBadgeNineties}) {
    EXPECT_EQ(app->p_AwardBadge(id), 1);
  }
  EXPECT_EQ(h.audio->Only("play").size(), 1u);
  h.Update();
  h.audio->log.clear();
  app->p_AwardBadge(kBadgeNinetyNine);
  EXPECT_EQ(h.audio->Only("play").size(), 1u) << "a later award chimes again";
  // The hand-back to the menu earns the first game's badges under its own jingle alone.
  app->m_CardType = 1;
  app->m_Screen = 2;
  h.audio->log.clear();
  h.Update();
  ASSERT_TRUE(app->m_BadgeFlags[kBadgeTriedType]);
  EXPECT_EQ(h.audio->Only("play").size(), 1u);
}

// Enters these dice and operators as picked, with `number` alone in its
// column of the card, and runs the frames until they are judged.
void Judge(GameHarness& h, std::vector<int> dice, std::vector<int> ops, int number) {
  c_MyApp* app = h.app;
  const int column = number / 20;
  for (int r = 0; r < 3; ++r) app->m_Grid[5 * r + column] = app->m_Grid[50 + 5 * r + column] = 0;
  app->m_Grid[column] = static_cast<float>(number);
  for (int k = 0; k < 5; ++k) {
    app->m_Turn[kTurnFace + k + 1] = app->m_Turn[kTurnEntry + 1 + 2 * k] = dice[k];
    app->m_Turn[kTurnUsed + k + 1] = 1;
    app->m_Turn[kTurnSource + 1 + 2 * k] = k + 1;
    if (k < 4) app->m_Turn[kTurnEntry + 2 + 2 * k] = app->m_Turn[kTurnSource + 2 + 2 * k] = ops[k];
  }
  app->m_Turn[kTurnRollTimer] = app->m_Turn[kTurnJudged] = 0;
  app->m_Turn[kTurnCount] = 10;
  for (int i = 0; i < 30 && app->m_Turn[kTurnJudged] == 0; ++i) h.Update();
  ASSERT_GT(app->m_Turn[kTurnJudged], 0);
}

TEST(Badges, AllFourOperatorsOrADivisionEarnTheirBadgesOnlyWithANumber) {
  GameHarness h;
  h.FinishLoading();
  Bot(h).StartGame(1);
  h.Update(70);
  c_MyApp* app = h.app;
  // 6 / 3 + 5 x 2 - 1 = 13, left to right; first on a card without 13.
  Judge(h, {6, 3, 5, 2, 1}, {4, 1, 3, 2}, 14);
  EXPECT_EQ(app->m_Turn[kTurnLives], 2);
  ExpectFlags(app, {kBadgeAllFour, kBadgeDivision}, false);
  Judge(h, {6, 3, 5, 2, 1}, {4, 1, 3, 2}, 13);
  ExpectFlags(app, {kBadgeAllFour, kBadgeDivision, kBadgeFirstNumber}, true);
  ExpectFlags(app, {kBadgeOnlyOperator, kBadgeFiveAlike, kBadgeStraight, kBadgeThroughZero}, false);
  // The banner shows the name (spaces draw nothing), then leaves after its 240 frames.
  h.Update();
  EXPECT_THAT(h.DrawnText(), HasSubstr("AllFour"));
  h.Update(240);
  EXPECT_THAT(h.DrawnText(), Not(HasSubstr("AllFour")));
  // 3 - 3 x 4 + 4 + 4 = 8 passes through 0; five 2s added give 10.
  Judge(h, {3, 3, 4, 4, 4}, {2, 3, 1, 1}, 8);
  Judge(h, {2, 2, 2, 2, 2}, {1, 1, 1, 1}, 10);
  // Three 4s and two 3s are a full house; five 2s add up to 10.
  ExpectFlags(app, {kBadgeThroughZero, kBadgeOnlyOperator, kBadgeFiveAlike, kBadgeFullHouse,
                    kBadgeLowRoller}, true);
  ExpectFlags(app, {kBadgeSixesHigh}, false);
  Judge(h, {6, 6, 1, 6, 6}, {1, 1, 1, 1}, 25);
  ExpectFlags(app, {kBadgeSixesHigh}, true);
}

TEST(Badges, CountedGoalsAreEarnedExactlyAtTheirCountWhichSurvivesARestart) {
  std::string saved;
  {
    GameHarness h;
    h.FinishLoading();
    c_MyApp* app = h.app;
    app->m_CardType = 1;
    app->m_Turn[kTurnLives] = 3;
    app->m_Settings[kCounterSettings[kCountCards]] = 48;
    app->p_OnCardCompleted();
    EXPECT_EQ(app->m_Settings[kCounterSettings[kCountCards]], 49);
    ExpectFlags(app, {kBadgeCardsTotal, kBadgeFlawless}, false);
    app->p_OnCardCompleted();
    ExpectFlags(app, {kBadgeCardsTotal}, true);
    ExpectFlags(app, {kBadgeFlawless}, false);
    // The third card of a game with no life lost.
    app->p_OnCardCompleted();
    ExpectFlags(app, {kBadgeFlawless}, true);
    app->p_Save();
    saved = h.StateFile();
  }
  GameHarness h;
  h.WriteStateFile(saved);
  h.app->p_Load();
  EXPECT_EQ(h.app->m_Settings[kCounterSettings[kCountCards]], 51);
  ExpectFlags(h.app, {kBadgeCardsTotal, kBadgeFlawless, kBadgeCardFilled}, true);
}

TEST(Badges, AStateFileFromBeforeTheCountsLoadsWithEveryBadgeKept) {
  GameHarness h;
  // Three games played; badges 1, 46, 50 and 54 to 57 earned under their old meanings.
  h.WriteStateFile("0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|0|0|0|0|0|3|0|0|0|0|1543|"
                   "2|63193088|0|0|0|0|0|0|63193090|");
  h.app->p_Load();
  EXPECT_THAT(h.Printed(), ::testing::AllOf(HasSubstr("Settings Loaded"), HasSubstr("Badges Loaded")));
  ExpectFlags(h.app, {1, 46, 50, 54, 55, 56, 57}, true);
  ExpectFlags(h.app, {kBadgeFullHouse, kBadgeNumbersTotal, kBadgeCardsTotal}, false);
  EXPECT_EQ(h.app->m_Settings[kCounterSettings[kCountGames]], 3);
  EXPECT_EQ(h.app->m_Settings[kCounterSettings[kCountNumbers]], 0);
  EXPECT_EQ(h.app->m_Settings[kCounterSettings[kCountCards]], 0);
}

// The banner's box: the dark rectangle under its name.
std::vector<DrawRecord> BannerBoxes(GameHarness& h) {
  std::vector<DrawRecord> boxes;
  for (const DrawRecord& r : h.RecordsOf(kRecordRect)) {
    if (r.f[10] == 0 && r.f[11] == 0 && r.f[12] == 80) boxes.push_back(r);
  }
  return boxes;
}

TEST(Badges, BannersShowNameAndDetailClearOfTheMenuTheDiceAndTheCalculator) {
  GameHarness h;
  h.FinishLoading();
  h.Update(40);
  c_MyApp* app = h.app;
  for (int id : {kBadgeNumberOne, kBadgeNineties, kBadgeStraight}) app->p_AwardBadge(id);
  h.Update(20);
  EXPECT_THAT(h.DrawnText(), HasSubstr("NumberOneEarnthenumber1."));
  const float w = rk_Game_jscrw, screenH = rk_Game_jscrh;
  // At 640 x 480 the menu has room for one, between the logo and the dial.
  ASSERT_EQ(BannerBoxes(h).size(), 1u);
  for (const DrawRecord& box : BannerBoxes(h)) {
    EXPECT_GE(box.y(), 96 + 75) << "below the logo";
    EXPECT_LE(box.y() + box.f[5], 244) << "above the dial";
    EXPECT_LE(box.x() + box.f[4], w - app->m_PanelWidth) << "left of the score panel";
  }
  // In a game they stand between the dice and the card, so two fit at once here.
  for (int k = 0; k < 15; ++k) app->m_BadgeQueueTime[k] = 0;
  Bot(h).StartGame(1);
  h.Update(70);
  for (int id : {kBadgeLuckySevens, kBadgeNinetyNine, kBadgeFiveAlike}) app->p_AwardBadge(id);
  h.Update(20);
  ASSERT_EQ(BannerBoxes(h).size(), 2u);
  for (const DrawRecord& box : BannerBoxes(h)) {
    EXPECT_GE(box.y(), 64 + 32) << "below the dice";
    EXPECT_LE(box.y() + box.f[5], screenH - 236 - 32) << "above the card";
    EXPECT_LE(box.x() + box.f[4], w - 198) << "left of the calculator";
  }
  // While the pause menu is up they wait, unaged, and come back with play.
  const int age = app->m_BadgeQueueTime[0] + app->m_BadgeQueueTime[1] + app->m_BadgeQueueTime[2];
  app->m_Paused = app->m_PauseState = 1;
  h.Update(300);
  EXPECT_TRUE(BannerBoxes(h).empty());
  EXPECT_EQ(app->m_BadgeQueueTime[0] + app->m_BadgeQueueTime[1] + app->m_BadgeQueueTime[2], age);
  app->m_Paused = app->m_PauseState = 0;
  h.Update();
  ASSERT_EQ(BannerBoxes(h).size(), 2u);
  // The third waits for a place, then has its full time.
  h.Update(230);
  ASSERT_EQ(BannerBoxes(h).size(), 1u);
  EXPECT_THAT(h.DrawnText(), HasSubstr("FiveAlike"));
}

TEST(Badges, ReservedIdsAreNeverAwardedAndTheGameCountIsBounded) {
  GameHarness h;
  h.FinishLoading();
  c_MyApp* app = h.app;
  EXPECT_EQ(Name(app, 0), "Test Badge");
  EXPECT_EQ(Text(app->p_BadgeDetail(0)), "This is a Test Badge which has no purpose.");
  EXPECT_EQ(Text(app->p_BadgeID(64)), "Odd Badge|This badge hasn't been defined!");
  for (int id = 1; id <= 63; ++id) {
    EXPECT_NE(Name(app, id), "Odd Badge") << id;
    EXPECT_LE(Name(app, id).size(), 14u) << "fits its banner: " << Name(app, id);
    EXPECT_LE(Text(app->p_BadgeDetail(id)).size(), 48u) << "fits its banner: " << Name(app, id);
  }
  for (int id : {0, 64}) EXPECT_EQ(app->p_AwardBadge(id), 0);
  ExpectFlags(app, {0, 64}, false);
  EXPECT_TRUE(Banners(app).empty());
  // A count edited out of range restarts at 1, or stops at its limit.
  for (int stored : {-7, INT_MAX, 1000000}) {
    app->m_Settings[kGamesPlayed] = stored;
    app->p_LoadMenu();
    EXPECT_EQ(app->m_Settings[kGamesPlayed], stored < 0 ? 1 : 1000000);
  }
  EXPECT_TRUE(app->m_BadgeFlags[kBadgeGamesPlayed + 3]);
}

}  // namespace
