// Whole games: dealing cards, rolling solvable dice, building expressions by
// key, taking back, judging, completing cards, losing lives, the game's end.
#include <gmock/gmock.h>

#include <algorithm>

#include "host/events.h"
#include "host/input.h"
#include "tests/game/bot.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class Play : public ::testing::Test {
 protected:
  void SetUp() override { h.FinishLoading(); }
  // Deals with the generator at a fixed state; returns the numbers left per column.
  std::vector<int> Deal(int cardType, unsigned seed) {
    h.app->m_CardType = cardType;
    rk_random_Seed = seed;
    h.app->p_FreshCard();
    std::vector<int> perColumn(5);
    for (int cell = 0; cell < 15; ++cell) perColumn[cell % 5] += h.app->m_Grid[cell] > 0;
    return perColumn;
  }
  // Puts the dice at rest on these faces with the expression empty.
  void RestOn(std::vector<int> faces) {
    c_MyApp* app = h.app;
    for (int i = 1; i <= 5; ++i) {
      app->m_Turn[kTurnFace + i] = app->m_Turn[kTurnFinalFace + i] = faces[i - 1];
      app->m_Turn[kTurnUsed + i] = 0;
    }
    app->m_Turn[kTurnRollTimer] = 0;
    app->m_Turn[kTurnCount] = 1;
  }
  void Click(float x, float y) {
    h.MouseMove(x, y);
    h.MouseDown();
    h.Update();
    h.MouseUp();
    h.Update();
  }
  void ClickDie(int i) { Click(20.0f + 100 * i, 64 - h.app->m_Turn[kTurnSlide + i]); }
  void ClickOperator(int op) {
    const int b = op - 1;
    Click(640 - 160 + 72 * (b % 2), 480 - 130 + 72 * (b / 2));
  }
  GameHarness h;
};

TEST_F(Play, CardsHoldDistinctAscendingNumbersInTheirBandsPerCardType) {
  int ones = 0, twos = 0;
  for (unsigned seed = 1; seed <= 300; ++seed) {
    for (int type : {1, 2, 3}) {
      std::vector<int> left = Deal(type, seed);
      ASSERT_EQ(left, std::vector<int>(5, type)) << "seed " << seed;
      for (int n = 0; n < 5; ++n) {
        int previous = 0;
        for (int r = 0; r < 3; ++r) {
          const int v = static_cast<int>(h.app->m_Grid[5 * r + n]);
          if (v == 0) continue;
          EXPECT_TRUE(v >= std::max(1, 20 * n) && v <= 20 * n + 19) << v;
          EXPECT_GT(v, previous);
          previous = v;
        }
      }
      if (type == 3) {
        ones += h.app->m_Grid[0] == 1;
        twos += h.app->m_Grid[0] == 2;
      }
    }
  }
  EXPECT_GT(ones, twos) << "a drawn 0 in column B becomes 1";
  // The same state deals the same card and dice, type 3 included.
  Deal(3, 77);
  std::vector<float> first(h.app->m_Grid.Data(), h.app->m_Grid.Data() + 65);
  std::vector<float> dice(h.app->m_Turn.Data(), h.app->m_Turn.Data() + 16);
  Deal(3, 77);
  EXPECT_EQ(std::vector<float>(h.app->m_Grid.Data(), h.app->m_Grid.Data() + 65), first);
  EXPECT_EQ(std::vector<float>(h.app->m_Turn.Data(), h.app->m_Turn.Data() + 16), dice);
}

TEST_F(Play, ARollLastsASecondAndRestsOnFacesThatReachTheCard) {
  Bot(h).StartGame(1);
  c_MyApp* app = h.app;
  EXPECT_EQ(app->m_Screen, 10);
  EXPECT_EQ(app->m_Turn[kTurnLives], 3);
  EXPECT_EQ(app->m_Turn[kTurnHints], 3);
  h.Printed();
  int frames = 1;
  while (app->m_Turn[kTurnRollTimer] > 0 && frames < 200) {
    h.Update();
    ++frames;
  }
  EXPECT_GE(frames, 60);
  std::string solution = h.Printed();
  // The printed solution, worked left to right, is a number still on the card.
  float value = 0, die = 0;
  char op = '+';
  const char* text = solution.c_str();
  for (int k = 0; k < 5; ++k) {
    int used = 0;
    ASSERT_EQ(sscanf(text, "%f%n", &die, &used), 1) << solution;
    EXPECT_EQ(die, app->m_Turn[kTurnFinalFace + k + 1]);
    value = op == '+' ? value + die : op == '-' ? value - die : op == '*' ? value * die : value / die;
    text += used;
    op = *text++;
  }
  bool onCard = false;
  for (int cell = 0; cell < 15; ++cell) onCard |= app->m_Grid[cell] == value && value > 0;
  EXPECT_TRUE(onCard) << solution;
  EXPECT_EQ(atoi(text), static_cast<int>(value));
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(app->m_Turn[kTurnFace + i], app->m_Turn[kTurnFinalFace + i]);
  EXPECT_FALSE(h.audio->Only("play").empty()) << "the dice rattle";
}

TEST_F(Play, AStepBelowZeroOrOffTheWholeNumbersIsTakenBack) {
  Bot(h).StartGame(3);
  h.Update(70);
  RestOn({6, 3, 2, 5, 1});
  c_MyApp* app = h.app;
  ClickDie(1);
  ClickOperator(4);
  ClickDie(2);
  ClickOperator(3);
  ClickDie(3);
  EXPECT_EQ(app->m_Turn[kTurnValue], 4);
  ClickOperator(2);
  h.audio->log.clear();
  ClickDie(4);  // 4 - 5 < 0
  EXPECT_EQ(app->m_Turn[kTurnCount], 6);
  EXPECT_EQ(app->m_Turn[kTurnUsed + 4], 0);
  EXPECT_THAT(h.audio->Only("play").size(), 2u) << "the pick, then the take-back";
  // The refused die shakes, tinted red, then rests where it stood.
  auto dieFive = [&] {
    for (const DrawRecord& r : h.RecordsOf(kImageDice)) {
      if (r.f[6] == 4) return r;
    }
    return DrawRecord{};
  };
  std::vector<float> swings;
  for (int i = 0; i < 6; ++i) {
    h.Update();
    swings.push_back(dieFive().x());
    EXPECT_LT(dieFive().f[11], 255) << "tinted";
  }
  h.Update(20);
  const DrawRecord rest = dieFive();
  EXPECT_EQ(rest.f[11], 255);
  EXPECT_GT(*std::max_element(swings.begin(), swings.end()), rest.x());
  EXPECT_LT(*std::min_element(swings.begin(), swings.end()), rest.x());
  ClickOperator(1);
  ClickDie(4);
  EXPECT_EQ(app->m_Turn[kTurnValue], 9);
  EXPECT_EQ(app->m_Turn[kTurnCount], 8);
  // 5 / 2 is refused the same way; 3 - 3 = 0 stands.
  RestOn({5, 2, 3, 3, 1});
  ClickDie(1);
  ClickOperator(4);
  ClickDie(2);
  EXPECT_EQ(app->m_Turn[kTurnCount], 2);
  RestOn({3, 3, 1, 1, 1});
  ClickDie(1);
  ClickOperator(2);
  ClickDie(2);
  EXPECT_EQ(app->m_Turn[kTurnCount], 4);
  EXPECT_EQ(app->m_Turn[kTurnValue], 0);
  // Five sixes multiplied show whole on the calculator, not cut to three digits.
  RestOn({6, 6, 6, 6, 6});
  ClickDie(1);
  for (int i = 2; i <= 5; ++i) {
    ClickOperator(3);
    ClickDie(i);
  }
  EXPECT_EQ(app->m_Turn[kTurnValue], 7776);
  std::string shown;  // the display's figures, image slot 4
  for (const DrawRecord& digit : h.RecordsOf(4)) shown += static_cast<char>('0' + digit.f[6]);
  EXPECT_EQ(shown, "7776");
}

// Every die marked used is in the expression, and every die in it is marked.
void ExpectUsedMatchesExpression(c_MyApp* app) {
  const int count = static_cast<int>(app->m_Turn[kTurnCount]);
  for (int i = 1; i <= 5; ++i) {
    bool inExpression = false;
    for (int e = 1; e < count; e += 2) inExpression |= app->m_Turn[kTurnSource + e] == i;
    EXPECT_EQ(app->m_Turn[kTurnUsed + i] != 0, inExpression) << "die " << i << " count " << count;
  }
}

TEST_F(Play, ADiePickAndAnOperatorKeyInOneUpdateTakeBackTheBreakingDie) {
  Bot(h).StartGame(3);
  h.Update(70);
  RestOn({2, 3, 4, 5, 6});
  c_MyApp* app = h.app;
  ClickDie(1);
  ClickOperator(4);
  h.KeyDown(39);
  h.Update();
  h.KeyUp(39);
  h.Update();
  // 2 / 3 breaks the value; the operator key lands in the same update.
  h.MouseMove(220, 64);
  h.MouseDown();
  h.KeyDown('Z');
  h.Update();
  ExpectUsedMatchesExpression(app);
  h.MouseUp();
  h.KeyUp('Z');
  h.Update(20);
  ExpectUsedMatchesExpression(app);
  EXPECT_LT(app->m_Turn[kTurnSlide + 2], 90) << "the freed die slides back";
  // The turn goes on: 2 x 3.
  ClickOperator(3);
  ClickDie(2);
  EXPECT_EQ(app->m_Turn[kTurnValue], 6);
  ExpectUsedMatchesExpression(app);
}

// Dice stand 100 apart and are drawn 64 wide; the operator keys 72 apart, drawn 68 wide.
TEST_F(Play, ATapOnTheDrawnEdgePicksADieOrKeyAndATapBetweenTwoPicksTheNearerOrNone) {
  Bot(h).StartGame(3);
  h.Update(70);
  c_MyApp* app = h.app;
  auto fingerTap = [&](float x, float y) {
    rk_input_device->p_TouchEvent(TouchDown, 0, x, y);
    h.Update();
    rk_input_device->p_TouchEvent(TouchUp, 0, x, y);
    h.Update();
  };
  auto rest = [&] {
    RestOn({2, 3, 4, 5, 6});
    for (int i = 1; i <= 5; ++i) app->m_Turn[kTurnSlide + i] = 0;
  };
  rest();
  Click(220 - 32, 64 + 31);  // die 2's lower left corner
  fingerTap(552 + 34, 350 - 33);  // minus's upper right corner
  EXPECT_EQ(app->m_Turn[kTurnSource + 1], 2);
  EXPECT_EQ(app->m_Turn[kTurnEntry + 2], 2);
  // Across the gap between dice 1 and 2, at the middle of the row.
  for (float x = 150; x <= 190; x += 4) {
    rest();
    if (x < 170) Click(x, 64);
    if (x >= 170) fingerTap(x, 64);
    const float picked = app->m_Turn[kTurnCount] - 1;
    ASSERT_LE(picked, 1) << x;
    EXPECT_TRUE(picked == 0 || app->m_Turn[kTurnSource + 1] == (x < 170 ? 1 : 2)) << x;
    EXPECT_TRUE(picked == 1 || (x != 166 && x != 174)) << x << ": within the margin";
  }
  // Die 2 is in; the areas of plus and minus overlap and meet halfway between them.
  fingerTap(518, 350);
  EXPECT_EQ(app->m_Turn[kTurnEntry + 2], 2);
}

TEST_F(Play, TheOperatorCursorTakesDownBeforeLeft) {
  Bot(h).StartGame(3);
  h.Update(70);
  RestOn({2, 3, 4, 5, 6});
  ClickDie(1);
  h.app->m_Turn[kTurnCursor] = 1;
  h.KeyDown(40);
  h.KeyDown(37);
  h.Update();
  EXPECT_EQ(h.app->m_Turn[kTurnCursor], 3);
}

TEST_F(Play, JudgingEarnsAMatchOrCostsALifeAndAFullCardScoresTwoFifty) {
  Bot bot(h);
  bot.StartGame(1);
  c_MyApp* app = h.app;
  ASSERT_TRUE(bot.PlayTurn(false));
  EXPECT_GT(app->m_Score, 0);
  EXPECT_EQ(app->m_Turn[kTurnLives], 3);
  EXPECT_EQ(app->m_Turn[kTurnHints], 2) << "an earned number uses up a hint";
  const int score = app->m_Score;
  ASSERT_TRUE(bot.PlayTurn(true));
  EXPECT_EQ(app->m_Score, score);
  EXPECT_EQ(app->m_Turn[kTurnLives], 2);
  EXPECT_FALSE(h.audio->Only("play ch").empty());
  // Earning the last number scores it plus 250 and deals a card at once.
  while (bot.cardsCompleted == 0 && app->m_GameOver == 0) {
    const int before = app->m_Score;
    ASSERT_TRUE(bot.PlayTurn(false));
    if (app->m_Score - before >= 250) {
      bot.cardsCompleted = 1;
      // The bonus shows over the new card, where it was earned.
      EXPECT_THAT(h.DrawnText(), HasSubstr("+250"));
      EXPECT_GT(app->m_Turn[kTurnRollTimer], 0);
      int left = 0;
      for (int cell = 0; cell < 15; ++cell) left += app->m_Grid[cell] > 0 && app->m_Grid[50 + cell] == 0;
      EXPECT_EQ(left, 5);
    }
  }
  EXPECT_EQ(bot.cardsCompleted, 1);
}

// True when some choice of operators over the faces in die order reaches an
// unearned number, keeping whole numbers of at least 0 at every step.
bool SolvableInDieOrder(c_MyApp* app) {
  for (int ops = 0; ops < 256; ++ops) {
    float value = app->m_Turn[kTurnFinalFace + 1];
    for (int k = 0; k < 4; ++k) {
      const float die = app->m_Turn[kTurnFinalFace + k + 2];
      const int op = ops >> (2 * k) & 3;
      value = op == 0 ? value + die : op == 1 ? value - die : op == 2 ? value * die : value / die;
      if (value < 0 || value != static_cast<int>(value)) value = -1000;
    }
    for (int cell = 0; cell < 15; ++cell) {
      if (value > 0 && app->m_Grid[cell] == value && app->m_Grid[50 + cell] == 0) return true;
    }
  }
  return false;
}

TEST_F(Play, DiceRestOnlyOnSolvableFacesAndHintsNeverDivideByOne) {
  Bot(h).StartGame(1);
  c_MyApp* app = h.app;
  for (int roll = 0; roll < 60; ++roll) {
    // Earn all but one number of the card, so few values remain.
    for (int cell = 0; cell < 15; ++cell) app->m_Grid[50 + cell] = roll % 2 && cell != 3;
    app->m_Turn[kTurnUsed + 2] = 1;
    app->m_Turn[kTurnSlide + 2] = 96;
    app->m_Turn[kTurnRollTimer] = 60;
    int frames = 0;
    while (app->m_Turn[kTurnRollTimer] > 0 && frames++ < 5000) h.Update();
    ASSERT_TRUE(SolvableInDieOrder(app)) << "roll " << roll;
    for (int i = 2; i <= 5; ++i) {
      if (app->m_Turn[kTurnFinalFace + i] == 1) {
        EXPECT_NE(app->m_Turn[kTurnHint + i], 3);
      }
    }
    EXPECT_EQ(app->m_Turn[kTurnUsed + 2], 0);
    EXPECT_LT(app->m_Turn[kTurnSlide + 2], 96) << "used dice slide back while rolling";
  }
}

TEST_F(Play, ZeroMatchesNothingAndTheLastLifeEndsTheGameAfterSixtyFrames) {
  Bot(h).StartGame(3);
  c_MyApp* app = h.app;
  h.Update(70);
  app->m_Turn[kTurnLives] = 1;
  RestOn({3, 3, 2, 2, 4});
  ClickDie(1);
  ClickOperator(2);
  ClickDie(2);
  ClickOperator(3);
  ClickDie(3);
  ClickOperator(3);
  // A touch on die 3 while it slides away does not pick it a second time.
  ASSERT_LT(app->m_Turn[kTurnSlide + 3], 90);
  ClickDie(3);
  EXPECT_EQ(app->m_Turn[kTurnCount], 7);
  ClickDie(4);
  ClickOperator(3);
  // The fifth die is judged only once it too has slid away, like the others.
  h.Update(15);
  h.MouseMove(520, 64);
  h.MouseDown();
  h.Update();
  EXPECT_EQ(app->m_Turn[kTurnCount], 10);
  EXPECT_EQ(app->m_Turn[kTurnLives], 1);
  h.MouseUp();
  EXPECT_EQ(app->m_Turn[kTurnValue], 0);
  int frames = 0;
  while (app->m_GameOver == 0 && frames++ < 200) h.Update();
  EXPECT_EQ(app->m_Turn[kTurnLives], 0);
  EXPECT_GE(frames, 60);
  EXPECT_LE(frames, 75);
  frames = 0;
  while (app->m_Screen == 10 && frames++ < 200) h.Update();
  // 90 overlay frames: the first is drawn in the update that ended the game.
  EXPECT_EQ(frames, 89);
}

TEST_F(Play, TheBotFinishesGamesOfEachCardType) {
  for (int type : {1, 2, 3}) {
    Bot bot(h);
    bot.StartGame(type);
    ASSERT_TRUE(bot.PlayGame(1)) << "type " << type;
    EXPECT_GE(bot.cardsCompleted, 1);
    EXPECT_GE(bot.numbersEarned, 5 * type);
    EXPECT_EQ(h.app->m_Turn[kTurnLives], 0);
    // The overlay runs its 90 frames, then the menu takes the score.
    for (int i = 0; i < 120 && h.app->m_Screen != 1; ++i) h.Update();
    EXPECT_EQ(h.app->m_Screen, 1);
    EXPECT_EQ(h.app->m_HiScores[30 + 10 * (type - 1)], h.app->m_Score);
  }
}

// A 480 x 900 window shows 640 x 1200 (a window pixel is 4/3 of a unit): the
// play sits 360 lower, and a click there picks the die and the operator key.
TEST(TallPlay, AClickPicksTheDieAndTheOperatorKeyWhereTheStackedPlayDrawsThem) {
  GameHarness h(480, 900);
  h.FinishLoading();
  c_MyApp* app = h.app;
  app->m_MenuSel = 2;
  app->m_Screen = 11;
  h.Update(100);
  app->m_Turn[kTurnRollTimer] = 0;
  app->m_Turn[kTurnCount] = 1;
  h.Update();
  // Die 2, then the times key (frame 2 of the calculator's keys), where drawn.
  std::vector<std::pair<float, float>> clicks;
  int dice = 0;
  for (const DrawRecord& r : h.Records()) {
    if (r.kind() == kImageDice && ++dice == 2) clicks.insert(clicks.begin(), {r.x(), r.y()});
    if (r.kind() == kImageCalc && r.f[kRecordFloats - 1] == kTagCalculator && r.f[6] == 2) {
      clicks.push_back({r.x(), r.y()});
    }
  }
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_GT(clicks[1].second - clicks[0].second, 480) << "the calculator stands far below the dice";
  for (const auto& [x, y] : clicks) {
    h.MouseMove(app->m_ScaleX * x, app->m_ScaleY * y);
    h.MouseDown();
    h.Update();
    h.MouseUp();
    h.Update();
  }
  EXPECT_EQ(app->m_Turn[kTurnCount], 3);
  EXPECT_EQ(app->m_Turn[kTurnSource + 1], 2) << "die 2 picked";
  EXPECT_EQ(app->m_Turn[kTurnEntry + 2], 3) << "times picked";
}

}  // namespace
