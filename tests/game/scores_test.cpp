// The score line, the game-over overlay and the recording of a finished
// game's score: what the overlay announces is where the score is recorded.
#include <gmock/gmock.h>

#include "tests/game/harness.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr int kTop2 = 10;   // top ten of card type 2 in m_HiScores
constexpr int kLast2 = 40;  // last ten of card type 2

// A game of card type 2 started, then ended with `score` points over this top
// ten (best first, missing places empty); quit -1 for a quit from the pause menu.
void EndGame(GameHarness& h, int score, const std::vector<int>& top, int quit = 0) {
  h.app->m_CardType = 2;
  h.app->m_Screen = 11;
  h.Update();
  for (size_t k = 0; k < 10; ++k) {
    h.app->m_HiScores[kTop2 + k] = k < top.size() ? top[k] : 0;
    h.app->m_HiScores[kLast2 + k] = 1000 + k;
  }
  h.app->m_Score = score;
  h.app->m_GameOver = 1;
  h.app->m_QuitGame = quit;
}

const std::vector<int> kTens = {1000, 900, 800, 700, 600, 500, 400, 300, 200, 100};

// One update over a list emptied first, as the menu's frame does; its text.
std::string FrameText(GameHarness& h) {
  h.app->m_DrawLen = 0;
  h.Update();
  return h.DrawnText();
}

TEST(GameOver, AnnouncesThePlaceTheScoreIsRecordedAtAndKeepsItOverTheMenu) {
  // The words, the rank after "New Highscore" ("" for no banner), the top ten recorded.
  struct Case {
    int score, quit;
    const char *words, *banner;
    std::vector<int> top, recorded;
  };
  const Case cases[] = {
      {600, 0, "GAMEOVER", "6th", kTens, {1000, 900, 800, 700, 600, 600, 500, 400, 300, 200}},
      {0, 0, "GAMEOVER", "", {}, {}},
      {1500, -1, "QuitGame", "1st!", kTens, {1500, 1000, 900, 800, 700, 600, 500, 400, 300, 200}},
      {100, -1, "QuitGame", "", kTens, kTens},
      {7, 0, "GAMEOVER", "4th", {30, 20, 10}, {30, 20, 10, 7}},
  };
  for (const Case& c : cases) {
    const std::string words = c.words + (*c.banner ? "NewHighscore" + std::string(c.banner) : "");
    auto expectAnnounced = [&](const std::string& text) {
      EXPECT_THAT(text, HasSubstr(words)) << c.score;
      EXPECT_EQ(text.find("NewHighscore") != std::string::npos, *c.banner != 0) << c.score;
    };
    GameHarness h;
    h.FinishLoading();
    EndGame(h, c.score, c.top, c.quit);
    h.Update(30);
    expectAnnounced(h.DrawnText());
    h.Update(60);
    ASSERT_EQ(h.app->m_Screen, 2) << c.score;
    // The lists change on the menu; the rank announced does not.
    expectAnnounced(FrameText(h));
    for (size_t k = 0; k < 10; ++k) {
      EXPECT_EQ(h.app->m_HiScores[kTop2 + k], k < c.recorded.size() ? c.recorded[k] : 0) << c.score;
    }
    EXPECT_EQ(h.app->m_HiScores[kLast2], c.score);
    EXPECT_EQ(h.app->m_HiScores[kLast2 + 9], 1008) << "the oldest game drops out";
  }
}

TEST(GameOver, ShowsNinetyFramesThenRecordsSavesAndFadesOverTheMenu) {
  GameHarness h;
  h.FinishLoading();
  EndGame(h, 0, kTens);
  h.app->m_MusicOn = 1;
  h.Update(10);
  EXPECT_THAT(h.DrawnText(), Not(HasSubstr("NewHighscore")));
  // Points judged under the overlay (dice still settling at a quit) move the place.
  h.app->m_Score = 650;
  h.Update(79);
  EXPECT_THAT(h.DrawnText(), HasSubstr("GAMEOVERNewHighscore5th"));
  EXPECT_EQ(h.app->m_Screen, 10);
  h.Update();
  EXPECT_EQ(h.app->m_Screen, 2);
  EXPECT_EQ(h.app->m_OverTimer, 75);
  EXPECT_EQ(h.app->m_MusicOn, 0);
  EXPECT_EQ(h.audio->Only("music stop").size(), 1u);
  EXPECT_EQ(h.app->m_HiScores[kTop2 + 4], 600) << "not recorded before the menu";
  h.Update();
  EXPECT_EQ(h.app->m_Screen, 1);
  EXPECT_EQ(h.app->m_OverTimer, 73);
  EXPECT_EQ(h.app->m_Turn[21], 240) << "held keys do not repeat on the menu";
  EXPECT_THAT(h.StateFile(), HasSubstr("|1000|650|900|1000|800|1001|700|1002|650|1003|"));
  h.Update(36);
  EXPECT_THAT(FrameText(h), HasSubstr("GAMEOVERNewHighscore5th"));
  EXPECT_EQ(h.app->m_OverTimer, 0);
  EXPECT_THAT(FrameText(h), Not(HasSubstr("GAMEOVER"))) << "the overlay is gone";
}

TEST(ScoreLine, NextTargetRunsFromTheTenthScoreToTheFirstAndScoreCountsUpEvenHidden) {
  GameHarness h;
  h.FinishLoading();
  c_MyApp& app = *h.app;
  app.m_CardType = 3;
  app.m_Turn[kTurnLives] = 2;
  struct Case { std::vector<int> top; int score; const char* line; };
  const Case cases[] = {
      {kTens, 0, "00000000" "10th00000100"},   {kTens, 100, "00000100" "10th00000100"},
      {kTens, 101, "00000101" "9th00000200"},  {kTens, 5000, "00005000" "1st00001000"},
      {{300, 200}, 0, "00000000" "2nd00000200"},
  };
  for (const Case& c : cases) {
    for (size_t k = 0; k < 10; ++k) app.m_HiScores[20 + k] = k < c.top.size() ? c.top[k] : 0;
    app.m_Score = app.m_ShownScore = c.score;
    app.p_CLS2D(0, 0, 0, 1);
    app.p_ScoreDisplay();
    EXPECT_EQ(h.DrawnText(), c.line);
  }
  const std::vector<DrawRecord> lives = h.RecordsOf(kImageIcons);
  ASSERT_EQ(lives.size(), 2u);
  EXPECT_EQ(lives[1].f[6], 11);

  app.m_HideHud = 1;
  app.m_ShownScore = 0;
  app.m_Score = 600;
  for (int frame = 0; frame < 40; ++frame) {
    app.p_CLS2D(0, 0, 0, 1);
    app.p_ScoreDisplay();
  }
  EXPECT_EQ(app.m_ShownScore, 600);
  // Hidden, only the score line goes: the next target stays.
  EXPECT_EQ(h.DrawnText(), "1st00000300");

  const std::pair<int, const char*> ordinals[] = {
      {1, "1st"},   {2, "2nd"},   {3, "3rd"},   {4, "4th"},   {11, "11th"}, {12, "12th"},
      {13, "13th"}, {21, "21st"}, {22, "22nd"}, {23, "23rd"}, {30, "30th"}, {0, ""}, {31, ""}};
  for (const auto& c : ordinals) EXPECT_TRUE(app.p_Nth(c.first) == String(c.second)) << c.first;
}

TEST(ScoreLine, ANewGameShowsZeroFromItsFirstFrame) {
  GameHarness h;
  h.FinishLoading();
  h.app->m_Score = h.app->m_ShownScore = 5000;
  h.app->m_Screen = 11;
  h.Update(2);
  EXPECT_THAT(h.DrawnText(), HasSubstr("00000000"));
  EXPECT_EQ(h.app->m_ShownScore, 0);
}

}  // namespace
