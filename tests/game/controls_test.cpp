// Logical actions from keys, joysticks, sticks, cabinet letters and the
// on-screen pad; the analogue vector; the fullscreen switch; the quit prompt.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "tests/game/harness.h"

namespace {

class Controls : public ::testing::Test {
 protected:
  void TearDown() override {
    rk_Game_isOuya = 0;
    rk_Game_iCadeControls = 0;
  }
  // Sets gamepad 0's left stick as GLFW 3 reports it (up is negative y) and polls it.
  void Stick(float x, float y) {
    h.Stick(0, x, y);
    h.Update();
  }
  GameHarness h;
  c_MyApp& app = *h.app;
};

TEST_F(Controls, HeldInputsAnswerForEachPlayerTheyBelongTo) {
  h.KeyDown(39);
  EXPECT_EQ(app.p_PlayKeyAll(kActionRight, 1), 4);
  EXPECT_EQ(app.p_PlayKey(kActionRight, 0, -1), 1);
  EXPECT_EQ(app.p_PlayKey(kActionRight, 1, -2) + app.p_PlayKey(7, 1, 0), 0);
  h.KeyUp(39);
  h.EndOfUpdate();  // its press counted until then

  // Player 2's pad button 10 is right for player 2 alone, not for the keyboard player.
  h.KeyDown(JoyKeyCode(10, 2));
  EXPECT_EQ(app.p_PlayKeyAll(kActionRight, 1), 1);
  EXPECT_EQ(app.p_PlayKey(kActionRight, 1, 2), 1);
  EXPECT_EQ(app.p_PlayKey(kActionRight, 1, -1), 0);

  app.m_Pad[kPadBackHits] = 1;
  EXPECT_EQ(app.p_PlayKey(98, 1, -1), 1);
  app.m_Pad[kPadBackHits] = 0;
  // On a console back is escape, the pad's back buttons and the back key only.
  rk_Game_isOuya = 1;
  h.KeyDown(8);
  app.m_Pad[16] = 2;
  EXPECT_EQ(app.p_PlayKeyAll(kActionBack, 1), 0);
  h.KeyDown(27);
  EXPECT_EQ(app.p_PlayKeyAll(kActionBack, 1), 4);
}

TEST_F(Controls, AKeyPressedAndReleasedBetweenTwoUpdatesCountsInTheNextOnly) {
  h.FinishLoading();
  h.Update(40);
  ASSERT_EQ(app.m_Screen, 1);
  const int focus = app.m_MenuFocus;
  h.KeyDown(39);
  h.KeyUp(39);
  EXPECT_EQ(app.p_PlayKeyAll(kActionRight, 1), 4);
  h.Update();
  EXPECT_EQ(app.p_PlayKeyAll(kActionRight, 1), 0);
  EXPECT_EQ(app.m_MenuFocus, focus + 1);  // one place, once
  h.Update(10);
  EXPECT_EQ(app.m_MenuFocus, focus + 1);
  h.KeyDown(37);
  h.KeyUp(37);
  h.Update(10);
  ASSERT_EQ(app.m_MenuFocus, focus);
  // A slow frame's whole Enter still starts a game from the menu.
  h.KeyDown(13);
  h.KeyUp(13);
  h.Update(10);
  EXPECT_EQ(app.m_Screen, 10);
}

TEST_F(Controls, LeftStickCountsPastPointFourInModeOneAndFollowsItsSetting) {
  // A fresh install (setting 15 at 0) steers up when the stick is pushed up.
  ASSERT_EQ(app.m_Settings[15], 0);
  Stick(0, -0.3f);
  EXPECT_FLOAT_EQ(app.p_StickY(0, 0), -0.3f);
  EXPECT_EQ(app.p_PlayKey(kActionUp, 1, 0), 0);
  Stick(0, -0.5f);
  EXPECT_EQ(app.p_PlayKeyAll(kActionUp, 1), 1);
  EXPECT_EQ(app.p_PlayKey(kActionUp, 0, 0) + app.p_PlayKey(kActionUp, 1, -1), 0);
  EXPECT_EQ(app.p_PlayKey(kActionDown, 1, 0), 0);

  // Setting 15 at 1 reads the same push as down; setting 16 governs the right stick only.
  app.m_Settings[15] = 1;
  EXPECT_EQ(app.p_PlayKey(kActionUp, 1, 0), 0);
  EXPECT_EQ(app.p_PlayKey(kActionDown, 1, 0), 1);
  rk_input_device->m_JoyStates[0]->m_StickY[1] = 0.5f;
  EXPECT_FLOAT_EQ(app.p_StickY(1, 0), -0.5f);

  Stick(-0.5f, 0);
  EXPECT_EQ(app.p_PlayKey(kActionLeft, 1, 0), 1);
}

TEST_F(Controls, CabinetLettersHoldPadSlotsAndAreNotReadAsKeys) {
  h.Char('W');
  app.p_iCade(1);  // drops what was typed before
  EXPECT_TRUE(h.host.KeyboardEnabled());
  h.Update();
  EXPECT_EQ(app.m_Pad[kActionUp], 0);

  h.Char('w');
  h.Char('H');
  h.Update();
  EXPECT_EQ(app.p_PlayKeyAll(kActionUp, 1), 4);
  EXPECT_EQ(app.m_Pad[kActionFire], 2);
  h.Char('e');
  h.Update();
  EXPECT_EQ(app.m_Pad[kActionUp], 0);
  EXPECT_EQ(app.m_Pad[kActionFire], 2);

  // Letter keys and sticks are the cabinet's business; the arrows still count.
  h.KeyDown('D');
  Stick(0.9f, 0);
  EXPECT_EQ(app.p_PlayKey(kActionRight, 1, 0), 0);
  h.KeyDown(39);
  EXPECT_EQ(app.p_PlayKey(kActionRight, 1, 0), 1);

  app.p_iCade(0);
  EXPECT_FALSE(h.host.KeyboardEnabled());
  EXPECT_EQ(app.m_Pad[kActionFire], 0);
}

TEST_F(Controls, AnalogueVectorRampsWithKeysAndTakesTheStick) {
  h.KeyDown(38);
  app.p_AnalogueControl();
  EXPECT_FLOAT_EQ(app.m_AnalogY, -0.15f);
  for (int i = 0; i < 6; ++i) app.p_AnalogueControl();
  EXPECT_FLOAT_EQ(app.m_KeyAxisY, -1.0f);
  EXPECT_FLOAT_EQ(app.m_AnalogY, -1.0f);
  h.KeyUp(38);
  h.EndOfUpdate();
  app.p_AnalogueControl();
  EXPECT_FLOAT_EQ(app.m_AnalogY, -0.8f);
  for (int i = 0; i < 5; ++i) app.p_AnalogueControl();
  EXPECT_EQ(app.m_KeyAxisY, 0.0f);

  Stick(0.6f, 0.1f);
  app.p_AnalogueControl();
  EXPECT_FLOAT_EQ(app.m_AnalogX, 0.6f);
  EXPECT_FLOAT_EQ(app.m_AnalogY, 0.1f);
  Stick(0.15f, 0.15f);
  app.p_AnalogueControl();
  EXPECT_EQ(app.m_AnalogX, 0.0f);
}

TEST_F(Controls, TouchStickAnchorsAtThePressAndCreepsAfterAFarPointer) {
  app.p_AnalogueControl();  // pointer up: no anchor
  app.m_PointerDown = 1;
  app.m_MouseX = 100;
  app.m_MouseY = 200;
  size_t ovals = h.RecordsOf(kRecordOval).size();
  app.p_AnalogueControl();
  EXPECT_EQ(app.m_DragX + app.m_DragY, 300);
  EXPECT_EQ(h.RecordsOf(kRecordOval).size(), ovals + 2);

  app.m_MouseX = 136;
  app.p_AnalogueControl();
  EXPECT_FLOAT_EQ(app.m_AnalogX, 0.5f);
  app.m_MouseX = 105;
  app.m_MouseY = 203;
  app.p_AnalogueControl();
  EXPECT_EQ(app.m_AnalogX, 0.0f);
  app.m_MouseX = 200;
  app.p_AnalogueControl();
  EXPECT_FLOAT_EQ(app.m_AnalogX, 1.0f);
  EXPECT_EQ(app.m_DragX, 104);
  EXPECT_EQ(app.m_DragY, 200);

  app.m_PointerDown = 0;
  app.p_AnalogueControl();
  EXPECT_EQ(app.m_DragX, -1);
}

TEST_F(Controls, OnScreenPadPressesSlotsUnpausedAndIsPinchedWhilePaused) {
  h.FinishLoading();
  app.m_Settings[10] = 1000;  // clamped onto the screen
  app.m_Settings[11] = 100;
  app.m_Settings[12] = 40;
  auto touch = [&](int finger, int x) {
    app.m_TouchOn[finger] = 1;
    app.m_TouchX[finger] = x;
    app.m_TouchY[finger] = static_cast<int>(rk_Game_jscrh) - 100;
    app.m_PointerDown = 1;
  };
  int right = static_cast<int>(rk_Game_jscrw) - 32;
  touch(0, right - 80);  // the left arrow at size 2.5
  app.p_OnScreenControls();
  EXPECT_EQ(app.m_Settings[10], right);
  EXPECT_EQ(app.m_Settings[12], 25);
  EXPECT_EQ(app.m_Pad[kActionLeft], 1);
  EXPECT_EQ(app.m_Pad[kActionUp] + app.m_Pad[kActionDown] + app.m_Pad[kActionRight], 0);

  app.m_Paused = 1;
  app.m_Pad[kActionLeft] = 0;
  app.p_OnScreenControls();
  EXPECT_EQ(app.m_Pad[kActionLeft], 0);

  // Two fingers spreading by 16 more units grow the pad by a tenth and do not drag it.
  app.m_Settings[12] = 10;
  touch(0, right - 10);
  touch(1, right - 42);
  app.p_OnScreenControls();
  touch(1, right - 58);
  app.p_OnScreenControls();
  EXPECT_EQ(app.m_Settings[12], 11);
  EXPECT_EQ(app.m_Settings[10], right);
}

TEST_F(Controls, TiltEasesOntoTheAccelerometerAndStopsForTheCabinet) {
  rk_input_device->m_AccelX = 0.4f;
  app.p_TiltControl();
  EXPECT_FLOAT_EQ(app.m_TiltSmoothX, 0.1f);
  for (int i = 0; i < 30; ++i) app.p_TiltControl();
  EXPECT_EQ(app.m_TiltSmoothX, 0.4f);
  rk_Game_iCadeControls = 1;
  app.p_TiltControl();
  EXPECT_EQ(app.m_TiltX + app.m_TiltSmoothX, 0.0f);
}

TEST_F(Controls, FullscreenFlipUsesTheDesktopModeAndComesBackAt640By480) {
  h.window.desktop = {1600, 900, 5, 6, 5};
  h.Resize(1000, 700);
  app.p_FullscreenFlip();
  const RkWindowRequest& request = h.window.lastRequest;
  EXPECT_EQ(app.m_Fullscreen, 1);
  EXPECT_TRUE(request.fullscreen);
  EXPECT_EQ(request.width, 1600);
  app.p_FullscreenFlip();
  EXPECT_EQ(app.m_Fullscreen, 0);
  EXPECT_FALSE(request.fullscreen);
  EXPECT_EQ(request.width, 640);
  EXPECT_EQ(request.height, 480);
  EXPECT_EQ(request.redBits * 100 + request.greenBits * 10 + request.blueBits, 565);
  EXPECT_EQ(request.alphaBits + request.depthBits + request.stencilBits, 0);
}

TEST_F(Controls, QuitPromptClearsOpaqueAndWaitsForFreshInput) {
  h.FinishLoading();
  app.m_Screen = 4;
  app.m_KeyLock = 1;
  h.KeyDown(13);  // still held from the screen before
  h.Update();
  EXPECT_EQ(app.m_Screen, 4);
  EXPECT_EQ(app.m_ClearAlpha, 1.0f);
  std::vector<DrawRecord> records = h.Records();
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records[0].kind(), kRecordRect);
  EXPECT_NE(h.DrawnText().find("UnexpectedQuit"), std::string::npos) << h.DrawnText();

  h.KeyUp(13);
  h.Update();
  h.KeyDown(13);
  h.Update();
  EXPECT_EQ(app.m_Screen, 1);
  EXPECT_EQ(app.m_KeyLock, 1);
}

// The child's game, whose screen is written to the pipe as the program ends.
c_MyApp* exitingApp = nullptr;
int exitPipe = -1;

TEST_F(Controls, QuitPromptConfirmAndBackTogetherReturnToMenuThenEnd) {
  h.FinishLoading();
  app.m_Screen = 4;
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    exitingApp = &app;
    exitPipe = fds[1];
    atexit([] {
      char screen = static_cast<char>('0' + exitingApp->m_Screen);
      (void)!write(exitPipe, &screen, 1);
    });
    h.KeyDown(13);
    h.KeyDown(27);
    h.Update();
    _exit(3);  // the update did not end the program
  }
  close(fds[1]);
  char screen = '?';
  (void)!read(fds[0], &screen, 1);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(screen, '1');
}

}  // namespace
