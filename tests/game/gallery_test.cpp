// The badge gallery: opened from the menu's medal and closed every way the
// options box is, the menu held while it is open, the focus by keys and
// pointer with its detail, earned medals drawn bright, and the last medal
// reached and on the screen at every window shape.
#include <gmock/gmock.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/badges.h"
#include "tests/game/harness.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr int kEscape = 27, kBackspace = 8, kEnter = 13, kUp = 38, kDown = 40, kRight = 39;
constexpr int kBackButton = 416;
constexpr int kBadgeSlot = 80;

class Gallery : public ::testing::Test {
 protected:
  void SetUp() override { Start(); }
  void Start(int width = 640, int height = 480) {
    h.reset();  // one game at a time
    h = std::make_unique<GameHarness>(width, height);
    h->FinishLoading();
    h->Update(40);
  }
  // Where the last update drew this medal (slot 80, frame id), or nothing.
  std::vector<DrawRecord> Medal(int id) const {
    std::vector<DrawRecord> found;
    for (const DrawRecord& r : h->RecordsOf(kBadgeSlot)) {
      if (r.f[6] == id) found.push_back(r);
    }
    return found;
  }
  // Points are in virtual units; the harness takes window pixels.
  void Point(float x, float y) { h->MouseMove(x * h->app->m_ScaleX, y * h->app->m_ScaleY); }
  void Touch(float x, float y) {
    Point(x, y);
    h->MouseDown();
    h->Update();
    h->MouseUp();
    h->Update();
  }
  // Opens it from the menu's medal and lets it arrive.
  void Open() {
    const std::vector<DrawRecord> medal = Medal(kBadgeFirstPlace);
    ASSERT_EQ(medal.size(), 1u);
    Touch(medal[0].x(), medal[0].y());
    h->Update(31);
    ASSERT_EQ(h->app->m_GalleryOpen, 1);
  }
  void Press(int key) {
    h->KeyDown(key);
    h->Update();
    h->KeyUp(key);
    h->Update();
  }
  std::string Text() const { return h->DrawnText(); }
  std::unique_ptr<GameHarness> h;
};

TEST_F(Gallery, ClosesByEachWayOutAndSlidesAwayWithTheMenuStillThere) {
  RkJoystickReading padBack;
  padBack.isGamepad = true;
  padBack.gamepadButtons[6] = 1;  // back
  const std::vector<std::function<void()>> ways = {
      [&] { Press(kEscape); },
      [&] { Press(kBackspace); },
      [&] { Press(kBackButton); },
      [&] {
        h->Pad(0, padBack);
        h->Update();
        h->Pad(0, RkJoystickReading());
        h->Update();
      },
      [&] { Touch(20, 240); },  // outside the panel
      [&] {
        // The gallery's own medal button, in its header.
        const DrawRecord button = Medal(kBadgeFirstPlace).at(0);
        Touch(button.x(), button.y());
      },
  };
  for (size_t way = 0; way < ways.size(); ++way) {
    Open();
    h->audio->log.clear();
    ways[way]();
    EXPECT_EQ(h->app->m_GalleryOpen, 0) << way;
    EXPECT_FALSE(h->audio->Only("play").empty()) << "a click sounds: " << way;
    h->Update(31);
    EXPECT_EQ(h->app->m_GallerySlide, 0) << way;
    EXPECT_EQ(h->app->m_Screen, 1) << way;
    EXPECT_EQ(h->app->m_OptionsOpen, 0) << way;
    EXPECT_THAT(Text(), Not(HasSubstr("<[BACK]"))) << way;
  }
}

TEST_F(Gallery, NothingBelowReactsWhileItIsOpen) {
  c_MyApp* app = h->app;
  const int sel = app->m_MenuSel;
  Open();
  for (int key : {kEnter, kUp, kRight, kDown}) Press(key);
  // The play button, under the gallery's panel.
  Touch(rk_Game_jscrw - 70, rk_Game_jscrh - 48);
  h->Update(2);
  EXPECT_EQ(app->m_Screen, 1);
  EXPECT_EQ(app->m_MenuSel, sel);
  EXPECT_EQ(app->m_SidePanelOpen, 0);
  EXPECT_EQ(app->m_MenuFocus, -1);
  // A click on the gear, outside the panel, closes the gallery and nothing more.
  Touch(38, rk_Game_jscrh - 64);
  h->Update(5);
  EXPECT_EQ(app->m_GalleryOpen, 0);
  EXPECT_EQ(app->m_OptionsOpen, 0);
}

TEST_F(Gallery, KeysAndThePointerMoveTheFocusAndItsDetailAndProgressShow) {
  c_MyApp* app = h->app;
  app->m_BadgeFlags[kBadgeNumberOne] = true;
  app->m_BadgeFlags[kBadgeStraight] = true;
  app->m_Settings[kCounterSettings[kCountNumbers]] = 37;
  Open();
  EXPECT_THAT(Text(), HasSubstr("2of63"));
  EXPECT_THAT(Text(), HasSubstr("FirstNumberEarnyourfirstnumberonacard.Notearnedyet"));
  // Earned medals in full colour, the rest dimmed.
  const DrawRecord earned = Medal(kBadgeNumberOne).at(0), locked = Medal(kBadgeNineties).at(0);
  EXPECT_EQ(earned.f[7], 1);
  EXPECT_EQ(earned.f[10], 255);
  EXPECT_LT(locked.f[7], 0.7f);
  EXPECT_LT(locked.f[10], 255);

  Press(kRight);
  EXPECT_EQ(app->m_GalleryFocus, 1);
  EXPECT_THAT(Text(), HasSubstr("NumberOneEarnthenumber1.Earned"));
  // Down moves a row: the medal now focused stands right under the last.
  Press(kDown);
  const DrawRecord above = Medal(2).at(0), below = Medal(app->m_GalleryFocus + 1).at(0);
  EXPECT_EQ(below.x(), above.x());
  EXPECT_GT(below.y(), above.y());

  // The pointer moving over a medal focuses it; a counted goal shows its progress.
  const DrawRecord hoard = Medal(kBadgeNumbersTotal).at(0);
  Point(hoard.x(), hoard.y());
  h->Update(2);
  EXPECT_EQ(app->m_GalleryFocus, kBadgeNumbersTotal - 1);
  EXPECT_THAT(Text(), HasSubstr("NumberHoardEarn250numbersinall.Numbersearned:37/250"));
  EXPECT_GT(Medal(kBadgeNumbersTotal).at(0).f[4], hoard.f[4]) << "the focused medal is larger";
  // Once earned, it says so however far the count has gone on.
  app->m_BadgeFlags[kBadgeNumbersTotal] = true;
  app->m_Settings[kCounterSettings[kCountNumbers]] = 300;
  h->Update();
  EXPECT_THAT(Text(), HasSubstr("NumberHoardEarn250numbersinall.Earned"));
}

// The open grid at every shape is checked with the other screens' layouts;
// here, with the focus, enlarged, on the last medal.
TEST_F(Gallery, TheLastMedalIsReachedByKeysAndEveryMedalStaysOnScreenAtEveryShape) {
  for (auto [width, height] : {std::pair{640, 480}, {1280, 1024}, {480, 900}, {2560, 1080}}) {
    Start(width, height);
    Open();
    for (int i = 0; i < 12; ++i) Press(kDown);
    for (int i = 0; i < 12; ++i) Press(kRight);
    EXPECT_EQ(h->app->m_GalleryFocus, 62);
    ASSERT_EQ(Medal(63).size(), 1u) << width << "x" << height;
    const float w = rk_Game_jscrw, hgt = rk_Game_jscrh;
    for (const DrawRecord& r : h->RecordsOf(kBadgeSlot)) {
      const float half = 32 * r.f[4];
      EXPECT_TRUE(r.x() - half >= 0 && r.x() + half <= w && r.y() - half >= 0 &&
                  r.y() + half <= hgt)
          << width << "x" << height << " medal " << r.f[6];
    }
  }
}

}  // namespace
