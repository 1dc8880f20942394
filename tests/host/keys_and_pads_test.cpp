// The key translation for every key, the characters keys type, and the
// controller layouts from recorded joystick axes and buttons.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <map>

#include "host/joystick.h"
#include "host/keys.h"

namespace {

// Written from the key table, not from the code.
const std::map<int, int> kExpectedCodes = {
    {GLFW_KEY_SPACE, 32},         {GLFW_KEY_APOSTROPHE, 222},   {GLFW_KEY_COMMA, 188},
    {GLFW_KEY_MINUS, 189},        {GLFW_KEY_PERIOD, 190},       {GLFW_KEY_SLASH, 191},
    {GLFW_KEY_SEMICOLON, 186},    {GLFW_KEY_EQUAL, 187},        {GLFW_KEY_LEFT_BRACKET, 219},
    {GLFW_KEY_BACKSLASH, 220},    {GLFW_KEY_RIGHT_BRACKET, 221}, {GLFW_KEY_GRAVE_ACCENT, 192},
    {GLFW_KEY_ESCAPE, 27},        {GLFW_KEY_F1, 112},           {GLFW_KEY_F2, 113},
    {GLFW_KEY_F3, 114},           {GLFW_KEY_F4, 115},           {GLFW_KEY_F5, 116},
    {GLFW_KEY_F6, 117},           {GLFW_KEY_F7, 118},           {GLFW_KEY_F8, 119},
    {GLFW_KEY_F9, 120},           {GLFW_KEY_F10, 121},          {GLFW_KEY_F11, 122},
    {GLFW_KEY_F12, 123},          {GLFW_KEY_UP, 38},            {GLFW_KEY_DOWN, 40},
    {GLFW_KEY_LEFT, 37},          {GLFW_KEY_RIGHT, 39},         {GLFW_KEY_LEFT_SHIFT, 16},
    {GLFW_KEY_RIGHT_SHIFT, 16},   {GLFW_KEY_LEFT_CONTROL, 17},  {GLFW_KEY_RIGHT_CONTROL, 17},
    {GLFW_KEY_TAB, 9},            {GLFW_KEY_ENTER, 13},         {GLFW_KEY_BACKSPACE, 8},
    {GLFW_KEY_INSERT, 45},        {GLFW_KEY_DELETE, 46},        {GLFW_KEY_PAGE_UP, 33},
    {GLFW_KEY_PAGE_DOWN, 34},     {GLFW_KEY_HOME, 36},          {GLFW_KEY_END, 35},
    {GLFW_KEY_KP_0, 96},          {GLFW_KEY_KP_1, 97},          {GLFW_KEY_KP_2, 98},
    {GLFW_KEY_KP_3, 99},          {GLFW_KEY_KP_4, 100},         {GLFW_KEY_KP_5, 101},
    {GLFW_KEY_KP_6, 102},         {GLFW_KEY_KP_7, 103},         {GLFW_KEY_KP_8, 104},
    {GLFW_KEY_KP_9, 105},         {GLFW_KEY_KP_DIVIDE, 111},    {GLFW_KEY_KP_MULTIPLY, 106},
    {GLFW_KEY_KP_ADD, 107},       {GLFW_KEY_KP_SUBTRACT, 109},  {GLFW_KEY_KP_DECIMAL, 110},
};

TEST(KeyTranslation, EveryKeyOfTheTableGivesItsCode) {
  for (const auto& [key, code] : kExpectedCodes) EXPECT_EQ(TranslateGlfwKey(key), code) << key;
}

TEST(KeyTranslation, DigitsAndLettersAreTheirOwnCode) {
  for (int key = GLFW_KEY_0; key <= GLFW_KEY_9; ++key) EXPECT_EQ(TranslateGlfwKey(key), key);
  for (int key = GLFW_KEY_A; key <= GLFW_KEY_Z; ++key) EXPECT_EQ(TranslateGlfwKey(key), key);
}

TEST(KeyTranslation, EveryOtherKeyIsIgnored) {
  for (int key = -1; key <= kLastGlfwKey + 1; ++key) {
    bool ownCode = (key >= GLFW_KEY_0 && key <= GLFW_KEY_9) || (key >= GLFW_KEY_A && key <= GLFW_KEY_Z);
    if (ownCode || kExpectedCodes.count(key)) continue;
    EXPECT_EQ(TranslateGlfwKey(key), 0) << key;
  }
  // Named among the ignored ones, to be sure they exist in this library.
  for (int key : {GLFW_KEY_LEFT_ALT, GLFW_KEY_RIGHT_ALT, GLFW_KEY_KP_ENTER, GLFW_KEY_KP_EQUAL,
                  GLFW_KEY_F13, GLFW_KEY_F25, GLFW_KEY_CAPS_LOCK, GLFW_KEY_MENU}) {
    EXPECT_EQ(TranslateGlfwKey(key), 0) << key;
  }
}

TEST(KeyCharacters, ControlAndNavigationKeysTypeTheirOwn) {
  const std::map<int, int> typed = {{8, 8},         {9, 9},         {13, 13},       {27, 27},
                                    {33, 0x10021}, {34, 0x10022}, {35, 0x10023}, {36, 0x10024},
                                    {37, 0x10025}, {38, 0x10026}, {39, 0x10027}, {40, 0x10028},
                                    {45, 0x1002D}, {46, 127}};
  for (int code = 0; code < 512; ++code) {
    auto found = typed.find(code);
    EXPECT_EQ(KeyCodeChar(code), found == typed.end() ? 0 : found->second) << code;
  }
}

// A reading with the given axes and pressed buttons.
RkJoystickReading Reading(std::initializer_list<float> axes, int buttonCount,
                          std::initializer_list<int> pressed) {
  RkJoystickReading reading;
  for (float axis : axes) reading.axes[reading.axisCount++] = axis;
  reading.buttonCount = buttonCount;
  for (int button : pressed) reading.buttons[button] = 1;
  return reading;
}

std::vector<int> PressedEntries(const RkControllerState& state) {
  std::vector<int> entries;
  for (int i = 0; i < 32; ++i) {
    if (state.buttons[i]) entries.push_back(i);
  }
  return entries;
}

TEST(ControllerLayout, APadWith14ButtonsAnd5AxesUsesThePadLayout) {
  RkControllerState state = LayOutController(Reading({0.1f, 0.2f, 0.3f, 0.4f, 0.5f}, 14, {}));
  EXPECT_EQ(state.stickX[0], 0.1f);
  EXPECT_EQ(state.stickY[0], -0.2f);  // GLFW 3's Y turned up-positive
  EXPECT_EQ(state.triggers[0], 0.3f);
  EXPECT_EQ(state.stickX[1], 0.5f);
  EXPECT_EQ(state.stickY[1], -0.4f);
  EXPECT_EQ(state.triggers[1], -0.3f);
  // Buttons 0-9 in place (8 and 9 as the stick buttons), the hat's four at the end.
  EXPECT_EQ(PressedEntries(LayOutController(Reading({0, 0, 0, 0, 0}, 14, {0, 3, 7}))),
            (std::vector<int>{0, 3, 7}));
  RkJoystickReading pad = Reading({0, 0, 0, 0, 0}, 14, {8, 9, 10, 11, 12, 13});
  EXPECT_EQ(PressedEntries(LayOutController(pad)), (std::vector<int>{8, 9, 10, 11, 12, 13}));
  pad = Reading({0, 0, 0, 0, 0}, 14, {10});
  EXPECT_EQ(PressedEntries(LayOutController(pad)), (std::vector<int>{8}));
}

TEST(ControllerLayout, AnyOtherJoystickUsesTheJoystickLayout) {
  RkControllerState state = LayOutController(Reading({0.1f, 0.2f, 0.3f, 0.4f}, 12, {6}));
  EXPECT_EQ(state.stickX[0], 0.1f);
  EXPECT_EQ(state.stickY[0], -0.2f);
  EXPECT_EQ(state.stickX[1], 0.3f);
  EXPECT_EQ(state.stickY[1], -0.4f);
  EXPECT_EQ(state.triggers[0], 1.0f);  // button 6
  EXPECT_EQ(state.triggers[1], 0.0f);  // button 7
  EXPECT_EQ(PressedEntries(LayOutController(Reading({}, 12, {1, 2, 0}))), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(PressedEntries(LayOutController(Reading({}, 12, {8, 9, 10, 11}))),
            (std::vector<int>{6, 7, 8, 9, 10, 11, 12, 13}));
  // A 14-button pad with 6 axes is not the pad layout.
  EXPECT_EQ(LayOutController(Reading({0, 0, 0.5f, 0, 0, 0}, 14, {})).stickX[1], 0.5f);
}

TEST(ControllerLayout, EntriesCountingFromTheEndStayUpWithTooFewButtons) {
  EXPECT_EQ(PressedEntries(LayOutController(Reading({}, 3, {0, 1, 2}))), (std::vector<int>{0, 1, 2, 9, 10, 11}));
  EXPECT_TRUE(PressedEntries(LayOutController(Reading({}, 0, {}))).empty());
  // More than 32 reported buttons are read as the first 32.
  RkJoystickReading many = Reading({}, 40, {31});
  EXPECT_EQ(PressedEntries(LayOutController(many)), (std::vector<int>{11}));
}

TEST(ControllerLayout, ARecognisedGamepadUsesTheStandardMapping) {
  RkJoystickReading pad;
  pad.isGamepad = true;
  pad.buttonCount = 14;  // ignored for a gamepad
  pad.axisCount = 5;
  const float axes[6] = {0.1f, -0.9f, 0.3f, 0.4f, -1.0f, 1.0f};
  for (int i = 0; i < 6; ++i) pad.gamepadAxes[i] = axes[i];
  // Gamepad order: A B X Y LB RB back start guide LS RS up right down left.
  const int entryOfGamepadButton[15] = {0, 1, 2, 3, 4, 5, 6, 7, -1, 12, 13, 9, 10, 11, 8};
  for (int button = 0; button < 15; ++button) {
    RkJoystickReading one = pad;
    one.gamepadButtons[button] = 1;
    std::vector<int> expected;
    if (entryOfGamepadButton[button] >= 0) expected.push_back(entryOfGamepadButton[button]);
    EXPECT_EQ(PressedEntries(LayOutController(one)), expected) << button;
  }
  RkControllerState state = LayOutController(pad);
  EXPECT_EQ(state.stickX[0], 0.1f);
  EXPECT_EQ(state.stickY[0], 0.9f);  // pushed up: positive, as GLFW 2 had it
  EXPECT_EQ(state.stickX[1], 0.3f);
  EXPECT_EQ(state.stickY[1], -0.4f);
  EXPECT_EQ(state.triggers[0], 0.0f);  // released
  EXPECT_EQ(state.triggers[1], 1.0f);  // fully pulled
}

}  // namespace

TEST(ControllerLayout, AHatReachesTheDpadEntriesAsLeftUpRightDown) {
  // GLFW 3 reports a hat as four trailing buttons: up, right, down, left.
  const char* names[4] = {"up", "right", "down", "left"};
  const int dpadEntry[4] = {9, 10, 11, 8};
  for (int pressed = 0; pressed < 4; ++pressed) {
    RkJoystickReading reading;
    reading.axisCount = 2;
    reading.buttonCount = 12;
    reading.buttons[8 + pressed] = 1;
    PutLastHatInDpadOrder(&reading, 12);
    RkControllerState state = LayOutController(reading);
    for (int entry = 8; entry < 12; ++entry) {
      EXPECT_EQ(state.buttons[entry], entry == dpadEntry[pressed]) << names[pressed] << " " << entry;
    }
  }
}
