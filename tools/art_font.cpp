// The game's bitmap fonts: the shadowed text font and the plain default font strip.
#include <cmath>

#include "tools/art.h"
#include "tools/font.h"
#include "tools/shapes.h"

namespace art {

namespace {

constexpr float kCapHeight = 8.0f;     // capitals fill whole pixels at level 1
constexpr float kGlyphNarrow = 0.86f;  // horizontal squeeze, about 6 px per letter
constexpr float kBaseline = 11.0f;  // leaves room below for descenders and the shadow
constexpr float kCellCentreX = 7.6f;   // a little left of 8, the shadow falls right

// The glyph centred on centreX, nudged so its left edge sits on a whole
// level-1 pixel: stems then stay crisp at every level.
Path centredGlyph(int c, float capHeight, float narrow, float centreX, float baseline) {
  const Font& font = condensedFont();
  float em = capHeight / font.capHeight(1.0f);
  Path g = font.glyph(c, {0, baseline}, em, narrow);
  if (g.empty()) return g;
  Path::Box b = g.bounds();
  float shift = centreX - b.centre().x;
  shift += std::round(b.x0 + shift) - (b.x0 + shift);
  return g.transformed(Affine::translate(shift, 0));
}

}  // namespace

void drawFontCell(Pen& pen, int frame) {
  if (frame >= 96) {
    drawPadIcon(pen, frame);
    return;
  }
  int c = frame + 32;
  Path glyph = c == 127 ? star({kCellCentreX, 7.5f}, 4.6f, 2.0f, 5) : centredGlyph(c, kCapHeight, kGlyphNarrow, kCellCentreX, kBaseline);
  if (glyph.empty()) return;  // the space
  // a touch of dilation makes the strokes bolder and their corners round
  Mask body = pen.grow(glyph, 0.22f);
  Mask rim = unite(body, pen.stroke(glyph, 0.8f));
  pen.shadow(rim, {0.6f, 1.0f}, 0.25f, pal::kShadow, 0.8f);
  pen.paint(rim, pal::kInk, 0.7f);
  pen.paint(body, Paint::linear({0, 3}, {0, 12}, pal::kWhite, rgb(226, 230, 246)));
}

void drawDefaultGlyph(Pen& pen, int frame) {
  // 10 x 14 frames whose outer columns stay clear: the font is loaded with
  // one pixel of padding cut from each side.
  int c = frame + 32;
  Path glyph = c == 127 ? rect(3, 4, 4, 6) : centredGlyph(c, 7.0f, 0.8f, 4.8f, 10.0f);
  if (glyph.empty()) return;
  Mask inside = pen.shape(rect(1, 0, 8, 14));
  Mask body = intersect(pen.grow(glyph, 0.1f), inside);
  pen.paint(intersect(pen.blur(pen.shift(body, {0.5f, 0.8f}), 0.3f), inside), pal::kShadow, 0.6f);
  pen.paint(body, pal::kWhite);
}

}  // namespace art
