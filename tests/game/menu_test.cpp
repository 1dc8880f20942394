// The main menu: the dial by keys, taps and drags, the three focus areas and
// what they start, the length of the score lists, the credits panel, quitting.
#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "host/events.h"
#include "host/input.h"
#include "tests/game/harness.h"

namespace {

using ::testing::HasSubstr;

constexpr int kUp = 38, kDown = 40, kLeft = 37, kRight = 39, kEnter = 13, kEscape = 27, kF4 = 115;

// Press and Touch hold for one update and release; the next update has not run yet.
void Press(GameHarness& h, int key) {
  h.KeyDown(key);
  h.Update();
  h.KeyUp(key);
}
void Tap(GameHarness& h, int key) {
  Press(h, key);
  h.Update();
}
void Touch(GameHarness& h, float x, float y) {
  h.MouseMove(x, y);
  h.MouseDown();
  h.Update();
  h.MouseUp();
}
// Where the last update drew this frame of an image.
DrawRecord Drawn(const GameHarness& h, int slot, int frame) {
  DrawRecord found{};
  for (const DrawRecord& record : h.RecordsOf(slot)) found = record.f[6] == frame ? record : found;
  return found;
}

// The menu, slid in.
class Menu : public ::testing::Test {
 protected:
  void SetUp() override {
    h.FinishLoading();
    h.Update(40);
  }
  GameHarness h;
  c_MyApp& app = *h.app;
};

TEST_F(Menu, UpAndDownMoveTheDialStoppingAtFiveAndRepeatWhenHeld) {
  Tap(h, kUp);
  Tap(h, kUp);
  EXPECT_EQ(app.m_MenuSel, 0);
  EXPECT_THAT(h.DrawnText(), HasSubstr("Onlyfivenumbers"));

  h.KeyDown(kDown);
  h.Update();
  EXPECT_EQ(app.m_MenuSel, 1) << "the first move is immediate";
  h.Update(29);
  EXPECT_EQ(app.m_MenuSel, 1);
  h.Update(3);
  EXPECT_EQ(app.m_MenuSel, 2) << "the second after 30 frames";
  h.KeyUp(kDown);

  // A console has a quit item past "5"; the third move comes sooner than the second.
  rk_Game_isOuya = 1;
  h.Update();
  h.KeyDown(kUp);
  h.Update(33);
  EXPECT_EQ(app.m_MenuSel, 0);
  h.Update(20);
  EXPECT_EQ(app.m_MenuSel, -1);
  EXPECT_EQ(Drawn(h, kImageIcons, 1).f[11], 180) << "the quit icon";
}

TEST(MenuAreas, KeysAndPointerFocusAnAreaAndActivateIt) {
  struct Case {
    std::vector<int> keys;  // tapped, then fire; with none, the image frame is touched
    int slot, frame, touches, focus;
    int c_MyApp::*field;
    int value, cardType;
  };
  for (const Case& c :
       {Case{{kLeft}, 0, 0, 0, 0, &c_MyApp::m_OptionsOpen, 1, 2},
        Case{{kLeft, kLeft, kLeft}, 0, 0, 0, -1, &c_MyApp::m_GalleryOpen, 1, 2},
        Case{{}, 80, 55, 1, -1, &c_MyApp::m_GalleryOpen, 1, 2},
        Case{{kRight, kRight, kRight}, 0, 0, 0, 2, &c_MyApp::m_SidePanelOpen, 1, 2},
        Case{{kRight, kLeft, kDown}, 0, 0, 0, 1, &c_MyApp::m_Screen, 11, 3},
        Case{{}, kImageIcons, 3, 1, 1, &c_MyApp::m_Screen, 11, 2},
        Case{{}, kImageButtons, 8, 1, 0, &c_MyApp::m_OptionsOpen, 1, 2},
        // A tap on another item only selects it; a second once the dial rests starts it.
        Case{{}, kImageButtons, 2, 1, 1, &c_MyApp::m_Screen, 1, 3},
        Case{{}, kImageButtons, 2, 2, 1, &c_MyApp::m_Screen, 11, 3}}) {
    GameHarness h;
    h.FinishLoading();
    h.Update(40);
    for (int key : c.keys) Tap(h, key);
    if (!c.keys.empty()) Press(h, kEnter);
    for (int touch = 1; touch <= c.touches; ++touch) {
      if (touch > 1) h.Update(40);
      const DrawRecord target = Drawn(h, c.slot, c.frame);
      Touch(h, target.x(), target.y());
    }
    EXPECT_EQ(h.app->m_MenuFocus, c.focus);
    EXPECT_EQ(h.app->*c.field, c.value) << c.focus << " " << c.frame << " " << c.touches;
    EXPECT_EQ(h.app->m_CardType, c.cardType);
  }
}

// A point seen from the dial's centre at a bearing in degrees (clockwise from
// straight up), 240 out: beyond the items, so a press there is no tap.
std::pair<float, float> AroundDial(float degrees) {
  const float radians = degrees * 3.14159265f / 180;
  return {50 + 240 * std::sin(radians), 416 - 240 * std::cos(radians)};
}

TEST_F(Menu, ASlowDragTurnsTheDialWhichHoldsWherePausedAndAFlickCarriesOn) {
  // A finger (finger 0 is also the mouse's left button) at a bearing around the dial.
  auto finger = [](int event, float degrees) {
    const auto [x, y] = AroundDial(degrees);
    rk_input_device->p_TouchEvent(event, 0, x, y);
  };
  // From "10" toward "15" and past it, a degree every second update, pausing twice.
  finger(TouchDown, 60);
  h.Update();
  for (int turned = 1; turned <= 70; ++turned) {
    finger(TouchMove, 60.0f - turned);
    h.Update(2);
    if (turned != 40 && turned != 70) continue;
    const float held = app.m_DialAngle;
    EXPECT_NEAR(held, std::max(-32.0f - turned, -64.0f - 32), 2) << turned;
    EXPECT_EQ(app.m_CardType, 3);
    h.Update(30);
    EXPECT_EQ(app.m_DialAngle, held) << "no spring-back while held, " << turned;
  }
  finger(TouchUp, 0);
  h.Update(60);
  EXPECT_EQ(app.m_DialShown, -64) << "back on the end item once let go";

  // Three quick steps toward "10" fall short of it; the carry-on reaches it.
  finger(TouchDown, 60);
  for (int step = 0; step <= 3; ++step) {
    finger(TouchMove, 60.0f + 4 * step);
    h.Update();
  }
  const float released = app.m_DialAngle;
  EXPECT_NEAR(released, -64 + 12, 1);
  finger(TouchUp, 0);
  h.Update();
  EXPECT_GT(app.m_DialAngle, released) << "carries on";
  h.Update(60);
  EXPECT_EQ(app.m_CardType, 2);
  EXPECT_EQ(app.m_DialShown, -32);
}

TEST(MenuLists, AVeryWideAndATallWindowBothShowTenScoresPerList) {
  for (int height : {220, 1000}) {
    GameHarness h(600, height);
    h.FinishLoading();
    std::string top = "Top10", last = "Last10";
    // The lists of the selected card type (2): the top ten at 10.., the last ten at 40..
    for (int k = 0; k < 10; ++k) {
      h.app->m_HiScores[10 + k] = 110 - k;
      h.app->m_HiScores[40 + k] = 201 + k;
      top += std::to_string(110 - k), last += std::to_string(201 + k);
    }
    h.Update();
    EXPECT_THAT(h.DrawnText(), HasSubstr(top + last)) << height;
  }
}

TEST_F(Menu, TheCreditsWrapBeforeTheirLastLineAndAClickClosesThePanel) {
  for (int i = 0; i < 84; ++i) rk_Game_CreditText[i] = String("#") + String(i) + "#";
  Touch(h, 600, 100);
  h.Update();
  EXPECT_EQ(app.m_MenuFocus, 2);
  h.MouseDown();
  h.Update();
  ASSERT_EQ(app.m_SidePanelOpen, 1);
  // On the first frame the lines above the centre are the ones before the first.
  EXPECT_THAT(h.DrawnText(), HasSubstr("#80##81##82##0##1#"));
  h.Update();
  EXPECT_EQ(app.m_SidePanelOpen, 1) << "the opening press, still held, does not close it";
  h.MouseUp();

  h.KeyDown(kUp);  // scrolls faster
  for (int i = 0; i < 1000; ++i) {
    h.Update();
    ASSERT_EQ(h.DrawnText().find("#83#"), std::string::npos);
  }
  h.KeyUp(kUp);
  EXPECT_GT(app.m_CreditLine, 83) << "all the way round";

  Touch(h, 300, 200);
  EXPECT_EQ(app.m_SidePanelOpen, 0);
}

TEST(MenuDeathTest, TheBackKeyEndsTheProgramOnADesktop) {
  EXPECT_EXIT(
      {
        GameHarness h;
        h.FinishLoading();
        h.KeyDown(kEscape);
        h.Update();
        std::exit(3);
      },
      ::testing::ExitedWithCode(0), "");
}

// In a page back asks first and F4 does nothing; the prompt's two buttons,
// tall enough for a finger, answer a click: "Keep playing", then "Quit".
TEST(MenuDeathTest, InAPageBackOpensTheQuitPromptWhoseButtonsAnswerAClick) {
  GameHarness h;
  h.host.inPage = true;
  h.FinishLoading();
  h.Update(40);
  Tap(h, kF4);
  Tap(h, kEscape);
  ASSERT_EQ(h.app->m_Screen, 4);
  std::vector<DrawRecord> buttons;
  for (const DrawRecord& r : h.RecordsOf(kRecordRect)) {
    if (r.f[kRecordFloats - 1] == kTagPrompt) buttons.push_back(r);
  }
  ASSERT_EQ(buttons.size(), 2u);
  for (const DrawRecord& b : buttons) EXPECT_GE(std::min(b.f[4], b.f[5]), 72);
  auto click = [&h](const DrawRecord& b) { Touch(h, b.x() + b.f[4] / 2, b.y() + b.f[5] / 2); };
  click(buttons[1]);
  EXPECT_EQ(h.app->m_Screen, 1);
  h.Update();
  Tap(h, kEscape);
  ASSERT_EQ(h.app->m_Screen, 4);
  EXPECT_EXIT(
      {
        click(buttons[0]);
        h.Update();
        std::exit(3);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
