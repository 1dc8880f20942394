// game/controls.cpp: the game's logical actions over keyboard, joysticks,
// sticks and the virtual pad; arcade-cabinet letters; the analogue control
// vector of the game screen; the fullscreen switch.
#include <algorithm>
#include <cmath>

#include "game/app.h"
#include "host/glfw_game.h"
#include "host/input.h"

namespace {

constexpr int kPlayers = 4;
constexpr int kPadSlots = 20;
// Left-stick push that counts as a direction, in mode 1 only.
constexpr float kStickThreshold = 0.4f;

// One action's inputs. Lists end at the first 0 (keys) or -1 (buttons, slots).
struct ActionBinding {
  int action;
  int keys[5];
  int buttons[4];
  // Left stick: 'x' or 'y' and the side (-1 or 1) beyond the threshold; 0 for none.
  char stickAxis;
  int stickSide;
  int padSlots[4];
};

constexpr ActionBinding kActions[] = {
    {0, {38, 'W'}, {9, -1}, 'y', -1, {0, -1}},
    {3, {37, 'A'}, {8, -1}, 'x', -1, {3, -1}},
    {5, {39, 'D'}, {10, -1}, 'x', 1, {5, -1}},
    {8, {40, 'S'}, {11, -1}, 'y', 1, {8, -1}},
    {10, {'Z', 'J', 32, 13}, {0, -1}, 0, 0, {10, -1}},
    {11, {'X', 'K', 17}, {1, -1}, 0, 0, {11, -1}},
    {12, {'C', 'L', 16}, {2, -1}, 0, 0, {12, -1}},
    {13, {'V', 'I'}, {3, -1}, 0, 0, {13, -1}},
    {14, {'B', 'U'}, {4, -1}, 0, 0, {14, -1}},
    {15, {'N', 'O'}, {5, -1}, 0, 0, {15, -1}},
    {kActionBack, {27, 192, 46, 8}, {6, 7, 14, -1}, 0, 0, {16, 17, kPadBackHits, -1}},
};

// A console's back action: escape, its pad's back buttons and the back key's hits.
constexpr ActionBinding kConsoleBack = {kActionBack, {27}, {6, 7, 14, -1}, 0, 0, {kPadBackHits, -1}};

const ActionBinding* FindAction(int action) {
  // 98 is a second name of the back action.
  if (action == 98) action = kActionBack;
  if (action == kActionBack && rk_Game_isOuya == 1) return &kConsoleBack;
  for (const ActionBinding& binding : kActions) {
    if (binding.action == action) return &binding;
  }
  return nullptr;
}

// Arcade-cabinet letters: the press letter holds a pad slot, the release letter frees it.
struct ICadeLetter {
  char press;
  char release;
  int slot;
};

constexpr ICadeLetter kICadeLetters[] = {
    {'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},
    {'Y', 'T', 13}, {'U', 'F', 14}, {'I', 'M', 15}, {'O', 'G', 16},
    {'H', 'R', 10}, {'J', 'N', 11}, {'K', 'P', 12}, {'L', 'V', 17},
};

// Digital axes ramp while their key is held and fall back to 0 when it is not.
constexpr float kAxisRamp = 0.15f;
constexpr float kAxisDecay = 0.2f;
// The touch stick: pointer distance for a full push, dead zone, anchor drag.
constexpr float kTouchStickReach = 72.0f;
constexpr float kTouchStickDeadZone = 0.1f;
constexpr int kAnchorSlack = 64;
constexpr int kAnchorStep = 4;

float Clamp1(float value) { return std::min(1.0f, std::max(-1.0f, value)); }

// Down now, or pressed since the last update: at a few frames a second a key
// can go down and up again between two updates, and that press still counts.
bool KeyHeldOrHit(int code) { return rk_input_KeyDown(code) || rk_input_KeyHit(code) > 0; }

}  // namespace

int c_MyApp::p_PlayKey(int action, int mode, int player) {
  if (player < -1) return 0;
  const ActionBinding* binding = FindAction(action);
  if (binding == nullptr) return 0;
  bool iCade = rk_Game_iCadeControls == 1;
  for (int key : binding->keys) {
    if (key == 0) break;
    // With a cabinet attached the letters are its traffic, not key presses.
    if (iCade && key >= 'A' && key <= 'Z') continue;
    if (KeyHeldOrHit(key)) return 1;
  }
  if (player >= 0) {
    for (int button : binding->buttons) {
      if (button < 0) break;
      int code = KEY_JOY0 + 32 * player + button;
      if (code >= 1 && code < KEY_CODE_COUNT && KeyHeldOrHit(code)) return 1;
    }
    if (mode == 1 && !iCade && binding->stickAxis != 0) {
      float value = binding->stickAxis == 'x' ? p_StickX(0, player) : p_StickY(0, player);
      if (value * binding->stickSide > kStickThreshold) return 1;
    }
  }
  for (int slot : binding->padSlots) {
    if (slot < 0) break;
    if (m_Pad[slot] > 0) return 1;
  }
  return 0;
}

int c_MyApp::p_PlayKeyAll(int action, int mode) {
  int players = 0;
  for (int player = 0; player < kPlayers; ++player) players += p_PlayKey(action, mode, player);
  return players;
}

// The input device has four joystick units of two sticks each; others read 0.
float c_MyApp::p_StickX(int stick, int player) {
  if (player < 0 || player >= kPlayers || stick < 0 || stick > 1) return 0;
  return rk_input_JoyX(stick, player);
}

float c_MyApp::p_StickY(int stick, int player) {
  if (player < 0 || player >= kPlayers || stick < 0 || stick > 1) return 0;
  float y = rk_input_JoyY(stick, player);
  return m_Settings[15 + stick] == 0 ? -y : y;
}

int c_MyApp::p_iCade(int on) {
  rk_app__game->SetKeyboardEnabled(on != 0);
  rk_Game_iCadeControls = on != 0 ? 1 : 0;
  if (on != 0) {
    while (rk_input_GetChar() != 0) {
    }
  } else {
    for (int slot = 0; slot < kPadSlots; ++slot) m_Pad[slot] = 0;
  }
  return 0;
}

int c_MyApp::p_DecodeICade(int character) {
  if (character >= 'a' && character <= 'z') character -= 'a' - 'A';
  for (const ICadeLetter& letter : kICadeLetters) {
    if (character == letter.press) m_Pad[letter.slot] = 2;
    if (character == letter.release) m_Pad[letter.slot] = 0;
  }
  return 0;
}

int c_MyApp::p_FullscreenFlip() {
  auto* host = dynamic_cast<RkGlfwGame*>(rk_app__game);
  if (host == nullptr) return 0;
  RkGlfwVideoMode* desktop = host->GetGlfwDesktopMode();
  int fullscreen = 1 - m_Fullscreen;
  // Without a desktop mode there is no size to go full screen at.
  if (fullscreen == 1 && desktop == nullptr) return 0;
  int red = desktop ? desktop->redBits : 8;
  int green = desktop ? desktop->greenBits : 8;
  int blue = desktop ? desktop->blueBits : 8;
  m_Fullscreen = fullscreen;
  if (fullscreen == 1) {
    host->SetGlfwWindow(desktop->width, desktop->height, red, green, blue, 0, 0, 0, true);
  } else {
    host->SetGlfwWindow(640, 480, red, green, blue, 0, 0, 0, false);
  }
  return 0;
}

int c_MyApp::p_AnalogueControl() {
  m_AnalogX = 0;
  m_AnalogY = 0;

  // Touch stick: the first point pressed is the anchor; the anchor creeps
  // after a pointer that strays far from it.
  if (m_PointerDown == 0) {
    m_DragX = -1;
  } else if (m_DragX < 0) {
    m_DragX = m_MouseX;
    m_DragY = m_MouseY;
  } else {
    m_AnalogX = (m_MouseX - m_DragX) / kTouchStickReach;
    m_AnalogY = (m_MouseY - m_DragY) / kTouchStickReach;
    if (std::fabs(m_AnalogX) < kTouchStickDeadZone && std::fabs(m_AnalogY) < kTouchStickDeadZone) {
      m_AnalogX = 0;
      m_AnalogY = 0;
    }
    auto follow = [](int pointer, int* anchor) {
      if (pointer - *anchor > kAnchorSlack) *anchor += kAnchorStep;
      if (pointer - *anchor < -kAnchorSlack) *anchor -= kAnchorStep;
    };
    follow(m_MouseX, &m_DragX);
    follow(m_MouseY, &m_DragY);
  }
  if (m_PointerDown != 0) {
    p_SetCol(0, 100, 250, 0.25f);
    p_Oval(m_DragX, m_DragY, 12, 12);
    p_Oval(m_MouseX, m_MouseY, 8, 8);
  }

  float stickX = p_StickX(0, 0);
  float stickY = p_StickY(0, 0);
  if (std::fabs(stickX) > 0.2f || std::fabs(stickY) > 0.2f) {
    m_AnalogX = stickX;
    m_AnalogY = stickY;
  }

  struct DigitalAxis {
    int action;
    float side;
    float* axis;
    float* vector;
  };
  const DigitalAxis axes[] = {{kActionUp, -1, &m_KeyAxisY, &m_AnalogY},
                              {kActionDown, 1, &m_KeyAxisY, &m_AnalogY},
                              {kActionLeft, -1, &m_KeyAxisX, &m_AnalogX},
                              {kActionRight, 1, &m_KeyAxisX, &m_AnalogX}};
  for (const DigitalAxis& a : axes) {
    if (p_PlayKey(a.action, 0, 0) == 1) {
      *a.axis += a.side * kAxisRamp;
      *a.vector = *a.axis;
    } else if (*a.axis * a.side > 0) {
      *a.axis = a.side * std::max(0.0f, *a.axis * a.side - kAxisDecay);
      *a.vector = *a.axis;
    }
  }

  m_AnalogX = Clamp1(m_AnalogX);
  m_AnalogY = Clamp1(m_AnalogY);
  m_KeyAxisX = Clamp1(m_KeyAxisX);
  m_KeyAxisY = Clamp1(m_KeyAxisY);

  if (rk_Game_DebugMode == 1 && (std::fabs(m_AnalogX) > 0.05f || std::fabs(m_AnalogY) > 0.05f)) {
    float x = rk_Game_jscrw - 64;
    float y = rk_Game_jscrh - 64;
    p_SetCol(0, 180, 250, 0.5f);
    p_Oval(x, y, 12, 12);
    p_Oval(x + 52 * m_AnalogX, y + 52 * m_AnalogY, 8, 8);
  }
  p_ResetDraw();
  return 0;
}
