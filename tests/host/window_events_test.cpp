// The desktop host's window side on the fake: key, character, mouse and close
// events, window changes, display modes and joystick units.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include "tests/host/fake_window.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class WindowEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    host.SetDelegate(new RecordingDelegate(&log));
    host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    host.StartGame();
    log.clear();
  }

  EventLog log;
  FakeWindowSystem window{&log};
  TestHost host{&window};
};

TEST_F(WindowEvents, NavigationKeysTypeTheirMarkedCodeAndRepeatsPressAgain) {
  window.listener->OnKey(GLFW_KEY_PAGE_UP, kActionPress);
  window.listener->OnKey(GLFW_KEY_PAGE_UP, kActionRepeat);
  window.listener->OnKey(GLFW_KEY_PAGE_UP, kActionRelease);
  EXPECT_THAT(log, ElementsAre("key 1 33", "key 3 65569", "key 1 33", "key 3 65569", "key 2 33"));
}

TEST_F(WindowEvents, DeleteTypes127AndLettersTypeNothingOfTheirOwn) {
  window.listener->OnKey(GLFW_KEY_DELETE, kActionPress);
  window.listener->OnKey(GLFW_KEY_A, kActionPress);
  window.listener->OnChar(0xE9);
  EXPECT_THAT(log, ElementsAre("key 1 46", "key 3 127", "key 1 65", "key 3 233"));
}

TEST_F(WindowEvents, IgnoredKeysAndUnknownActionsSendNothing) {
  window.listener->OnKey(GLFW_KEY_LEFT_ALT, kActionPress);
  window.listener->OnKey(GLFW_KEY_UNKNOWN, kActionPress);
  window.listener->OnKey(100000, kActionPress);
  window.listener->OnKey(GLFW_KEY_A, 7);
  EXPECT_THAT(log, IsEmpty());
}

TEST_F(WindowEvents, MouseButtonsCarryTheCursorPosition) {
  window.cursorX = 12.5;
  window.cursorY = 40;
  window.listener->OnMouseButton(1, kActionPress);
  window.listener->OnMouseButton(1, kActionRelease);
  window.listener->OnMouseButton(3, kActionPress);   // only three buttons
  window.listener->OnMouseButton(-1, kActionPress);
  window.listener->OnCursorMove(3, 4.25);
  EXPECT_THAT(log, ElementsAre("mouse 4 1 12.5 40", "mouse 5 1 12.5 40", "mouse 6 -1 3 4.25"));
}

TEST_F(WindowEvents, TheCloseButtonPostsTheWindowCloseKeyAndLeavesTheWindowOpen) {
  window.listener->OnCloseRequest();
  EXPECT_THAT(log, ElementsAre("key 1 432", "key 2 432"));
  EXPECT_TRUE(window.open);
}

TEST_F(WindowEvents, AWindowChangeReleasesHeldKeysFirst) {
  int contexts = glfwGraphicsSeq;
  window.pressedKeys = {GLFW_KEY_F11, GLFW_KEY_A, GLFW_KEY_LEFT_ALT};
  host.SetDeviceWindow(1920, 1080, 1 | 4);
  EXPECT_THAT(log, ElementsAre("key 2 65", "key 2 122", "close", "open fullscreen"));
  EXPECT_EQ(glfwGraphicsSeq, contexts + 1);

  window.pressedKeys.clear();
  log.clear();
  host.SetDeviceWindow(640, 480, 2);
  EXPECT_THAT(log, ElementsAre("close", "open window"));
  EXPECT_EQ(window.lastRequest.x, 640);
  EXPECT_EQ(glfwGraphicsSeq, contexts + 2);
}

TEST_F(WindowEvents, AKeyHeldAcrossAWindowChangeActsInTheNewWindowOnlyAfterItsRelease) {
  for (int key : {GLFW_KEY_F11, GLFW_KEY_ENTER}) {
    window.listener->OnKey(key, kActionPress);
    window.pressedKeys = {key};
    host.SetDeviceWindow(1920, 1080, 1);
    window.pressedKeys.clear();
    log.clear();
    // The new window never saw the key go down: its first repeat comes as a press.
    window.listener->OnKey(key, kActionPress);
    window.listener->OnKey(key, kActionRepeat);
    window.listener->OnKey(key, kActionRepeat);
    EXPECT_THAT(Only(log, "key 1"), IsEmpty()) << key;
    window.listener->OnKey(key, kActionRelease);
    window.listener->OnKey(key, kActionPress);
    window.listener->OnKey(key, kActionRepeat);
    window.listener->OnKey(key, kActionRelease);
    EXPECT_EQ(Only(log, "key 1").size(), 2u) << key;
  }
  // Released before the new window saw it go down: GLFW drops that release,
  // and a later press still acts.
  window.listener->OnKey(GLFW_KEY_F11, kActionPress);
  window.pressedKeys = {GLFW_KEY_F11};
  host.SetDeviceWindow(640, 480, 0);
  window.pressedKeys.clear();
  log.clear();
  window.now += 2.0;
  window.listener->OnKey(GLFW_KEY_F11, kActionPress);
  EXPECT_EQ(Only(log, "key 1").size(), 1u);
}

TEST_F(WindowEvents, AKeyTheKeyboardStillHoldsStaysMarkedHoweverSlowTheChange) {
  window.keyboardKnown = true;
  window.listener->OnKey(GLFW_KEY_F11, kActionPress);
  window.pressedKeys = window.keyboard = {GLFW_KEY_F11, GLFW_KEY_LEFT_SHIFT};
  host.SetDeviceWindow(1920, 1080, 1);
  window.pressedKeys.clear();
  log.clear();
  // The first repeats reach the new window two seconds later.
  window.now += 2.0;
  host.ForgetReleasedKeys();
  window.listener->OnKey(GLFW_KEY_F11, kActionPress);
  window.listener->OnKey(GLFW_KEY_F11, kActionRepeat);
  // Left Shift is held though right Shift, of the same code, is up.
  window.listener->OnKey(GLFW_KEY_LEFT_SHIFT, kActionPress);
  EXPECT_THAT(Only(log, "key 1"), IsEmpty());
  // Released unseen (GLFW drops that release): the next press acts.
  window.keyboard.clear();
  host.ForgetReleasedKeys();
  window.listener->OnKey(GLFW_KEY_F11, kActionPress);
  EXPECT_EQ(Only(log, "key 1").size(), 1u);
}

TEST_F(WindowEvents, AWindowThatCannotOpenEndsTheLoop) {
  window.refuseToOpen = true;
  window.open = false;
  host.Run();
  EXPECT_THAT(Only(log, "render"), IsEmpty());
}

TEST_F(WindowEvents, ANegativeSwapIntervalLeavesTheDriverDefault) {
  window.swapInterval = 7;
  host.SetSwapInterval(-1);
  host.SetDeviceWindow(640, 480, 0);
  EXPECT_EQ(window.swapInterval, 7);
  host.SetSwapInterval(0);
  window.swapInterval = 7;
  host.SetDeviceWindow(640, 480, 0);
  EXPECT_EQ(window.swapInterval, 0);
}

TEST_F(WindowEvents, DeviceSizeCursorAndClock) {
  EXPECT_EQ(host.GetDeviceWidth(), 640);
  EXPECT_EQ(host.GetDeviceHeight(), 480);
  host.SetMouseVisible(false);
  EXPECT_FALSE(window.cursorVisible);
  window.now = 1.2349;
  EXPECT_EQ(host.Millisecs(), 1234);
  // Long runs wrap like a 32-bit counter: 2^31 ms is 24.8 days, 2^32 ms 49.7.
  window.now = 2147483.6485;
  EXPECT_EQ(host.Millisecs(), INT32_MIN);
  window.now = 4294967.3015;
  EXPECT_EQ(host.Millisecs(), 5);
}

TEST(DisplayModes, ComeInTheLibrarysOrderWithAndWithoutColourBits) {
  FakeWindowSystem window{nullptr};
  TestHost host{&window};
  window.modes = {{800, 600, 5, 6, 5}, {640, 480, 8, 8, 8}, {800, 600, 8, 8, 8}};
  Array<RkDisplayMode*> modes = host.GetDisplayModes();
  ASSERT_EQ(modes.Length(), 3);
  EXPECT_EQ(modes[1]->width, 640);
  EXPECT_EQ(modes[2]->height, 600);
  EXPECT_EQ(modes[2]->depth + modes[2]->hertz + modes[2]->flags, 0);
  Array<RkGlfwVideoMode*> videoModes = host.GetGlfwVideoModes();
  ASSERT_EQ(videoModes.Length(), 3);
  EXPECT_EQ(videoModes[0]->greenBits, 6);

  EXPECT_EQ(host.GetDesktopMode()->width, 1920);
  EXPECT_EQ(host.GetGlfwDesktopMode()->blueBits, 8);
  window.hasDesktop = false;
  window.modes.clear();
  EXPECT_EQ(host.GetDesktopMode(), nullptr);
  EXPECT_EQ(host.GetGlfwDesktopMode(), nullptr);
  EXPECT_EQ(host.GetDisplayModes().Length(), 0);
}

class JoystickUnits : public ::testing::Test {
 protected:
  bool Poll(int unit) { return host.PollJoystick(unit, stickX, stickY, triggers, buttons); }

  FakeWindowSystem window{nullptr};
  TestHost host{&window};
  Array<float> stickX{2}, stickY{2}, triggers{2};
  Array<bool> buttons{32};
};

TEST_F(JoystickUnits, GoToThePresentJoysticksInSlotOrderAtEachPollOfUnitZero) {
  RkJoystickReading first, second;
  first.axisCount = 2;
  first.axes[0] = 0.25f;
  second.axisCount = 2;
  second.axes[0] = -0.5f;
  window.joysticks = {{2, first}, {5, second}};
  ASSERT_TRUE(Poll(0));
  EXPECT_EQ(stickX[0], 0.25f);
  ASSERT_TRUE(Poll(1));
  EXPECT_EQ(stickX[0], -0.5f);
  EXPECT_FALSE(Poll(2));

  window.joysticks.erase(2);  // unplugged: the next poll of unit 0 moves the second up
  EXPECT_TRUE(Poll(1));
  ASSERT_TRUE(Poll(0));
  EXPECT_EQ(stickX[0], -0.5f);
  EXPECT_FALSE(Poll(1));
}

TEST_F(JoystickUnits, NoJoystickAndBadUnitsReadAsAbsent) {
  EXPECT_FALSE(Poll(0));
  EXPECT_FALSE(Poll(-1));
  EXPECT_FALSE(Poll(4));
}

}  // namespace
