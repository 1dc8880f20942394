// The pause menu: its slide, resume by back, the cursor, quitting by key and
// by click, the options box over it, the toy and the console overscan slider.
#include <cmath>

#include "tests/game/harness.h"

namespace {

constexpr int kUp = 38, kDown = 40, kLeft = 37, kRight = 39, kEnter = 13, kEscape = 27;

class Pause : public ::testing::Test {
 protected:
  // A game, paused by back, its menu slid all the way in.
  void SetUp() override {
    h.FinishLoading();
    app.m_Screen = 11;
    h.Update();
    Hold(kEscape);
    h.Update(15);
  }
  void TearDown() override {
    rk_Game_isOuya = 0;
    rk_Game_overscan = 0;
  }
  // Holds a key for `frames` updates, then releases it for one.
  void Hold(int key, int frames = 1) {
    h.KeyDown(key);
    h.Update(frames);
    h.KeyUp(key);
    h.Update();
  }
  GameHarness h;
  c_MyApp& app = *h.app;
  const int halfHeight = static_cast<int>(rk_Game_jscrh / 2);
};

TEST_F(Pause, BackOpensTheMenuSlidingInAndResumesOnceSlidingOut) {
  ASSERT_EQ(app.m_Paused, 1);
  EXPECT_GE(app.m_PauseSlide, halfHeight);
  EXPECT_LT(app.m_PauseSlide, halfHeight + 24);
  EXPECT_NE(h.DrawnText().find("PAUSED"), std::string::npos);

  // Back twice quickly: the first resumes; the second, held past the slide-out,
  // neither reopens the menu nor pauses the game again.
  Hold(kEscape);
  h.KeyDown(kEscape);
  for (int frames = 0; app.m_Paused == 1 && frames < 30; ++frames) h.Update();
  EXPECT_LT(app.m_PauseSlide, -32);
  EXPECT_GE(app.m_PauseSlide, -32 - 24);
  Hold(kEscape, 5);
  EXPECT_EQ(app.m_Paused, 0);
  // Paused again, it slides in 24 a frame.
  Hold(kEscape);
  const int slide = app.m_PauseSlide;
  h.Update();
  EXPECT_EQ(app.m_PauseSlide, slide + 24);
}

TEST_F(Pause, OneTapMovesTheCursorOnePlaceAndEnterQuits) {
  Hold(kDown, 10);
  EXPECT_EQ(app.m_PauseSel, 1);
  // A held up from options stops at resume instead of running through to quit.
  Hold(kUp, 10);
  EXPECT_EQ(app.m_PauseSel, 0);
  Hold(kUp);
  EXPECT_EQ(app.m_PauseSel, -1);
  Hold(kEnter);
  EXPECT_EQ(app.m_GameOver, 1);
  EXPECT_EQ(app.m_QuitGame, -1);
}

TEST_F(Pause, AfterQuitTheFirstDieStaysWhereItIs) {
  Hold(kEscape);
  for (int frames = 0; app.m_Paused == 1 && frames < 30; ++frames) h.Update();
  h.Update(70);
  ASSERT_EQ(app.m_Turn[kTurnRollTimer], 0);
  Hold(kEscape);
  h.Update(15);
  Hold(kUp);
  Hold(kEnter);
  ASSERT_EQ(app.m_QuitGame, -1);
  h.Update(20);
  EXPECT_EQ(app.m_Turn[kTurnUsed + 1], 240);
  EXPECT_EQ(app.m_Turn[kTurnSlide + 1], 0);
}

TEST_F(Pause, ClickQuitsButNoPressLeftFromTheOptionsBoxDoes) {
  const float quitX = std::trunc(64 - (halfHeight - app.m_PauseSlide));
  h.MouseMove(quitX, 96);
  // A press made while the box is open, still held after it closes, is not a quit.
  app.m_OptionsOpen = 1;
  h.MouseDown();
  h.Update(3);
  app.m_OptionsOpen = 0;
  h.Update(3);
  EXPECT_EQ(app.m_GameOver, 0);
  // Nor is enter, pressed in the box to close it and still held, with the cursor on quit.
  h.MouseUp();
  h.Update();  // the box's last frame held the key latch
  Hold(kUp);
  ASSERT_EQ(app.m_PauseSel, -1);
  app.m_OptionsOpen = 1;
  h.KeyDown(kEnter);
  h.Update();
  app.m_OptionsOpen = 0;
  Hold(kEnter, 3);
  EXPECT_EQ(app.m_GameOver, 0);
  h.MouseDown();
  h.Update();
  EXPECT_EQ(app.m_GameOver, 1);
}

TEST_F(Pause, HeldKeysTuneTheToyWithinLimitsAndItsTrailFollowsThePen) {
  Hold(kRight, 4);
  EXPECT_FLOAT_EQ(app.m_ToySpin, 26);
  Hold(kRight, 500);
  Hold(kDown, 300);
  const float reach = std::min(0.45f * rk_Game_jscrh, 0.45f * (rk_Game_jscrw - 96));
  EXPECT_FLOAT_EQ(app.m_ToySpin, 128);
  EXPECT_FLOAT_EQ(app.m_ToyArm, reach);
  EXPECT_NE(h.DrawnText().find(std::to_string(static_cast<int>(reach)) + ":128"),
            std::string::npos);
  // The options box open over it has the arrows to itself.
  app.m_OptionsOpen = 1;
  Hold(kUp, 5);
  EXPECT_FLOAT_EQ(app.m_ToyArm, reach);
  app.m_OptionsOpen = 0;
  h.Update();
  h.KeyDown(kLeft);
  Hold(kUp, 600);
  EXPECT_FLOAT_EQ(app.m_ToyArm, 0);
  EXPECT_FLOAT_EQ(app.m_ToySpin, 0);

  // With no second arm, once the trail has renewed, every point lies on the first arm's circle.
  h.Update(102);
  const auto lines = h.RecordsOf(kRecordLine);
  ASSERT_EQ(lines.size(), 202u);
  for (size_t i = 0; i < lines.size(); i += 2) {
    const float x = lines[i].f[4] - (rk_Game_jscrw / 2 + 96), y = lines[i].f[5] - halfHeight;
    EXPECT_NEAR(std::hypot(x, y), reach, 0.01f) << i;
    EXPECT_FLOAT_EQ(lines[i + 1].f[4], lines[i].f[4] - 0.5f);
  }
}

TEST_F(Pause, TheFirstPauseStartsTheTrailAtThePen) {
  const float reach = std::min(0.45f * rk_Game_jscrh, 0.45f * (rk_Game_jscrw - 96));
  const auto lines = h.RecordsOf(kRecordLine);
  ASSERT_FALSE(lines.empty());
  for (const DrawRecord& line : lines) {
    const float x = line.f[1] - (rk_Game_jscrw / 2 + 96), y = line.f[2] - halfHeight;
    ASSERT_LE(std::hypot(x, y), reach + 1) << "no line from a corner";
  }
}

TEST_F(Pause, OverscanSliderOnlyOnConsoles) {
  const int before = app.m_Settings[14];
  Hold('O');
  EXPECT_EQ(h.DrawnText().find("Overscan"), std::string::npos);
  EXPECT_EQ(app.m_Settings[14], before);

  rk_Game_isOuya = 1;
  app.m_Settings[14] = 64;
  Hold('U');
  EXPECT_NE(h.DrawnText().find("Overscan"), std::string::npos);
  EXPECT_EQ(app.m_Settings[14], 48);
  for (int i = 0; i < 8; ++i) Hold('O');
  EXPECT_EQ(app.m_Settings[14], 96);
  for (int i = 0; i < 8; ++i) Hold('U');
  EXPECT_EQ(app.m_Settings[14], 1);
  EXPECT_EQ(rk_Game_overscan, 1);
}

}  // namespace
