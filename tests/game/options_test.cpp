// The options box: its slide-in, the box's own locks, the rows and their
// effects, pad navigation, the window row under a held key and in a page,
// saving on close.
#include "tests/game/harness.h"

namespace {

constexpr int kUp = 38, kDown = 40, kEnter = 13, kEscape = 27;

class Options : public ::testing::Test {
 protected:
  void SetUp() override { h.FinishLoading(); }
  // Opens the box and lets it arrive.
  void Open() {
    app.m_OptionsOpen = 1;
    h.Update(32);
  }
  // Presses a key `times` times, each held for `frames` updates and released for one.
  void Press(int key, int times = 1, int frames = 1) {
    for (int i = 0; i < times; ++i) {
      h.KeyDown(key);
      h.Update(frames);
      h.KeyUp(key);
      h.Update();
    }
  }
  bool Shows(const std::string& s) const { return h.DrawnText().find(s) != std::string::npos; }
  GameHarness h;
  c_MyApp& app = *h.app;
};

TEST_F(Options, NothingReactsWhileSlidingInThenAHeldClickActsOnce) {
  app.m_OptionsOpen = 1;
  h.MouseMove(320, 140);  // where the sound row comes to rest
  h.MouseDown();
  h.KeyDown(kEscape);
  h.Update(40);
  EXPECT_EQ(app.m_OptionsOpen, 1);
  EXPECT_EQ(app.m_Settings[6], 0);
  h.KeyUp(kEscape);
  h.MouseUp();
  h.Update();
  h.MouseDown();
  h.Update(10);
  EXPECT_EQ(app.m_Settings[6], 1);
  EXPECT_EQ(app.m_OptionCursor, 1);
}

TEST_F(Options, SoundLevelCyclesAndTheClickSoundsAtTheNewLevel) {
  Open();
  Press(kDown);
  // The click after each change sounds at the new level; at OFF there is none.
  std::string heard;
  for (const char* text :
       {"Sound:[--Normal-]", "Sound:[-Quiet--]", "Sound:[OFF---]", "Sound:[---Loud]"}) {
    h.audio->log.clear();
    Press(kEnter);
    EXPECT_TRUE(Shows(text)) << h.DrawnText();
    for (const auto& line : h.audio->Only("volume")) heard += line.substr(line.rfind(' ') + 1);
    heard += "|";
  }
  EXPECT_EQ(heard, "0.75|0.4||1|");
  // A level stored out of range is shown, used and stored as the first.
  app.m_Settings[6] = 7;
  h.Update();
  EXPECT_TRUE(Shows("Sound:[---Loud]"));
  EXPECT_EQ(app.m_Settings[6], 0);
}

TEST_F(Options, HeldKeysAndPadButtonsActOnceAndTheMusicRowSetsTheVolume) {
  Open();
  Press(kDown, 1, 20);
  Press(kDown);
  ASSERT_EQ(app.m_OptionCursor, 2);
  RkJoystickReading pad;
  pad.buttons[0] = 1;  // confirm
  pad.buttonCount = 15;
  h.Pad(0, pad);
  h.Update(20);
  h.Pad(0, RkJoystickReading());
  h.Update();
  EXPECT_EQ(app.m_Settings[7], 1);
  EXPECT_EQ(h.audio->Only("music volume"), std::vector<std::string>{"music volume 0.7"});
  EXPECT_TRUE(Shows("Music:[--Normal-]")) << h.DrawnText();
}

TEST_F(Options, WithoutMusicTheWindowRowIsRowTwoAndTheCursorStaysWithinZeroToFour) {
  rk_Game_HasMusicStream = 0;
  app.m_Settings[16] = 1;
  Open();
  EXPECT_TRUE(Shows("Sound:[---Loud]FullscreenLeftThumbstickY")) << h.DrawnText();
  Press(kDown, 6);
  EXPECT_EQ(app.m_OptionCursor, 4);
  Press(kEnter);
  EXPECT_EQ(app.m_Settings[16], 0);
  EXPECT_TRUE(Shows("RightThumbstickYFlipped"));
  Press(kUp, 6);
  EXPECT_EQ(app.m_OptionCursor, 0);
}

TEST_F(Options, WindowRowFlipsOncePerPressEvenWithEnterHeldAcrossTheReload) {
  Open();
  Press(kDown, 3);
  ASSERT_TRUE(Shows("Fullscreen"));
  const int opened = h.window.opened;
  h.KeyDown(kEnter);
  for (int i = 0; i < 120; ++i) {
    h.Update();
    h.Render();  // notices the new window and reloads
  }
  EXPECT_EQ(h.window.opened, opened + 1);
  EXPECT_TRUE(Shows("Windowed"));
  h.KeyUp(kEnter);
  h.Update();
  Press(kEnter);
  EXPECT_EQ(h.window.opened, opened + 2);
  EXPECT_EQ(h.window.lastRequest.width, 640);
}

TEST_F(Options, InAPageTheWindowRowShowsTheBrowsersFullScreenAndHidesWithoutOne) {
  h.host.inPage = true;
  Open();
  for (int state : {1, 0, -1}) {
    h.host.pageFullScreen = state;
    h.Update();
    EXPECT_EQ(Shows("Windowed"), state == 1) << state;
    EXPECT_EQ(Shows("Fullscreen"), state == 0) << state;
  }
}

TEST_F(Options, ClosingByBackOrByTheGearSavesTheSettings) {
  // Each close must have saved what the box changed: the file reloads to it.
  auto expectSaved = [this](int slot, int value) {
    EXPECT_EQ(app.m_OptionsOpen, 0);
    app.m_Settings[slot] = -1;
    app.p_Load();
    EXPECT_EQ(app.m_Settings[slot], value) << slot;
  };
  Open();
  ASSERT_EQ(h.StateFile(), "");
  Press(kDown);
  Press(kEnter);
  Press(kEscape);
  expectSaved(6, 1);
  Open();
  Press(kDown);
  Press(kEnter);
  h.MouseMove(100, 60);  // the gear
  h.MouseDown();
  h.Update();
  expectSaved(7, 1);
}

}  // namespace
