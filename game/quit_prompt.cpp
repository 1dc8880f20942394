// game/quit_prompt.cpp: the quit prompt, shown on a console or in a page when
// the player backs out of the menu: confirm or "Keep playing" goes back to the
// menu; the second or third button, back or "Quit" ends the program.
#include <string>

#include "game/app.h"
#include "runtime/startup.h"

namespace {

// A line of the prompt and how far down the next one starts.
struct PromptLine {
  const char16_t* text;
  float size;
  int advance;
};

// "\u00ac" + a letter draws that button's icon.
constexpr PromptLine kPromptLines[] = {
    {u"Unexpected Quit", 3, 36},
    {u"The player is trying to quit", 2, 20},
    {u"without using the lovely", 2, 20},
    {u"quit button on the Menu.", 2, 46},
    {u"What should I do?", 2, 38},
    {u"Hit \u00acK to Quit", 2, 20},
    {u"or \u00acJ to Ignore", 2, 0},
};

// The two choices as buttons for a finger too: at least 72 units tall, 44
// CSS pixels on a phone 390 wide, the least a fingertip hits reliably.
// Left-aligned with the lines above, below the last of them.
struct PromptButton {
  const char* label;
  int red, green, blue;
};
constexpr int kQuit = 0;
constexpr int kKeepPlaying = 1;
constexpr PromptButton kPromptButtons[] = {{"Quit", 170, 40, 40}, {"Keep playing", 0, 0, 128}};
constexpr float kButtonLeft = 64;
constexpr float kButtonWidth = 232;
constexpr float kButtonHeight = 76;
constexpr float kButtonGap = 32;
constexpr float kButtonDrop = 40;

String Utf16(const char16_t* text) {
  return String(text, static_cast<int>(std::char_traits<char16_t>::length(text)));
}

}  // namespace

int c_MyApp::p_OuyaQuit() {
  float w = rk_Game_jscrw;
  float h = rk_Game_jscrh;
  // Clear alpha 1: an alpha of -1 would leave the previous screen showing through.
  p_CLS2D(220, 220, 200, 1.0f);
  p_SetCol(0, 0, 128, 1);
  p_Rect(w - 64, h - 64, 32, 32);

  p_SetCol(255, 0, 0, 0.4f);
  p_Oval(w - 48, h - 16, 3, 3);
  p_Oval(w - 48, h - 16, 2, 2);
  p_Oval(w - 49, h - 17, 1, 1);

  p_SetCol(255, 255, 255, 1);
  m_DrawTag = kTagPrompt;
  int y = static_cast<int>(h * 0.3f);
  for (const PromptLine& line : kPromptLines) {
    p_SetSize(line.size, line.size);
    p_Text(64, y, Utf16(line.text), 0, 1, 0);
    y += line.advance;
  }
  const float top = static_cast<float>(y) + kButtonDrop;
  int pressed = -1;
  for (int i = 0; i < 2; ++i) {
    const PromptButton& button = kPromptButtons[i];
    const float x = kButtonLeft + i * (kButtonWidth + kButtonGap);
    p_SetCol(button.red, button.green, button.blue, 1);
    p_Rect(x, top, kButtonWidth, kButtonHeight);
    p_SetCol(255, 255, 255, 1);
    p_SetSize(1.75f, 1.75f);
    p_Text(x + kButtonWidth / 2, top + kButtonHeight / 2, String(button.label), 1, 1, 0);
    if (p_MouseIn(x, top, kButtonWidth, kButtonHeight)) pressed = i;
  }
  m_DrawTag = kTagNone;

  // Input still held from the screen before does not answer the prompt.
  if (m_PointerLock != 0 || m_KeyLock != 0) return 0;
  if (pressed == kKeepPlaying || p_PlayKeyAll(kActionFire, 1) > 0) {
    m_Screen = 1;
    m_KeyLock = 1;
    m_PointerLock = 1;
  }
  if (pressed == kQuit) rkError(String());
  for (int action : {11, 12, kActionBack}) {
    if (p_PlayKeyAll(action, 1) > 0) rkError(String());
  }
  return 0;
}
