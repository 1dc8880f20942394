// game/text.cpp: text in the game's bitmap font, with kerning, alignment,
// "\n" line breaks (a backslash and an "n") and "¬" button-icon escapes.
#include <cmath>

#include "game/app.h"

namespace {

constexpr Char kEscape = 0x00AC;  // "¬"

int Kerning(Char c) {
  switch (c) {
    case 'w': case 'm': return 2;
    case 'W': case 'M': return 1;
    case 'i': case 'f': case 'l': return -3;
    case 'j': case 's': case 'k': case 'r': case 'z': case 't': case 'n': return -1;
    default: return 0;
  }
}

// A button icon: the pad frame, the frame it blinks to on a pad (0: none), its kerning.
struct Icon {
  char letter;
  int pad;
  int blink;
  int kerning;
};
const Icon kIcons[] = {
    {'J', 96, 109, 4},  {'K', 97, 109, 4},  {'L', 98, 109, 4},  {'I', 99, 109, 4},
    {'U', 100, 110, 6}, {'O', 101, 110, 6}, {'Q', 102, 0, 4},   {'E', 103, 0, 4},
    {'F', 104, 0, 4},   {'W', 105, 104, 4}, {'S', 106, 104, 4}, {'A', 107, 104, 4},
    {'D', 108, 104, 4},
};

// The frame to draw for "¬" + letter, and its kerning.
int IconFrame(Char letter, int inputKind, int* kerning) {
  Icon icon{0, static_cast<int>(letter), 0, 4};
  for (const Icon& known : kIcons) {
    if (known.letter == letter) icon = known;
  }
  *kerning = icon.kerning;
  if (inputKind != 1) return icon.pad + 16;
  if (icon.blink && rk_app_Millisecs() % 500 < 200) return icon.blink;
  return icon.pad;
}

}  // namespace

int c_MyApp::p_Text(float x, float y, String text, float hAlign, float vAlign, int fontOffset) {
  static const String kLeadingSpace(" ");
  text = kLeadingSpace + text;
  const int length = text.Length();
  const float advance = static_cast<float>(m_ImageInfo[m_FontSlot * 3]);
  const float lineHeight = static_cast<float>(m_ImageInfo[m_FontSlot * 3 + 1]);
  // Text never drops below what the layout's screen can be read at.
  const float least = p_LeastTextSize() / m_Place.scale;
  const float boost = m_DrawScaleY > 0 && m_DrawScaleY < least ? least / m_DrawScaleY : 1;
  const float givenX = m_DrawScaleX;
  const float givenY = m_DrawScaleY;
  m_DrawScaleX *= boost;
  m_DrawScaleY *= boost;
  const float sx = m_DrawScaleX;
  const float sy = m_DrawScaleY;
  const float r = m_DrawRot;

  float width = 0;
  for (int i = 0; i < length - 1; ++i) {
    int kerning = Kerning(text[i]);
    if (text[i] == kEscape) {
      kerning = 2;
      ++i;
    }
    width = truncf(width + (advance + kerning) * sx);
  }

  const float x0 = x + SinDeg(-r - 90) * width * hAlign * 0.5f +
                   SinDeg(-r) * lineHeight * sy * (vAlign - 1) * 0.5f;
  const float y0 = y - CosDeg(-r - 90) * width * hAlign * 0.5f -
                   CosDeg(-r) * lineHeight * sy * (vAlign - 1) * 0.5f;
  float penX = x0;
  float penY = y0;
  int lines = 0;
  for (int i = 0; i < length; ++i) {
    const Char c = text[i];
    if (c == '\\' && i + 1 < length && text[i + 1] == 'n') {
      ++lines;
      const float drop = lines * lineHeight * sy;
      penX = x0 + SinDeg(180 - r) * drop + advance * sx * SinDeg(90 - r);
      penY = y0 - CosDeg(180 - r) * drop;
      ++i;
      continue;
    }
    if (c == 0) continue;
    int kerning = 0;
    int glyph = 0;
    if (c == kEscape && i + 1 < length) {
      glyph = IconFrame(text[i + 1], m_InputKind, &kerning);
      ++i;
    } else {
      glyph = static_cast<int>(c) - 32;
      kerning = Kerning(c);
    }
    if (glyph >= 1 && glyph <= 127) {
      p_DrawImg(m_FontSlot + fontOffset, penX, penY, static_cast<float>(glyph));
    }
    const float step = (advance + kerning) * sx;
    penX += SinDeg(90 - r) * step;
    penY -= CosDeg(90 - r) * step;
  }
  m_DrawScaleX = givenX;
  m_DrawScaleY = givenY;
  return 0;
}
