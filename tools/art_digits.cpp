// The calculator display's digits: seven-segment figures drawn at the size
// the display shows them, lit segments glowing over the faint unlit ones.
#include "tools/art.h"
#include "tools/shapes.h"

namespace art {

namespace {

// Segment ends in the 28 x 44 frame: a top, b upper right, c lower right,
// d bottom, e lower left, f upper left, g middle.
constexpr float kLeft = 6, kRight = 22, kTop = 5, kMiddle = 22, kBottom = 39;
constexpr float kThickness = 4.2f;
const Vec2 kEnds[7][2] = {
    {{kLeft, kTop}, {kRight, kTop}},       {{kRight, kTop}, {kRight, kMiddle}},
    {{kRight, kMiddle}, {kRight, kBottom}}, {{kLeft, kBottom}, {kRight, kBottom}},
    {{kLeft, kMiddle}, {kLeft, kBottom}},   {{kLeft, kTop}, {kLeft, kMiddle}},
    {{kLeft, kMiddle}, {kRight, kMiddle}},
};
// Frames 0 to 9, then "N", "/" and "A"; bit i lights segment i (a = bit 0).
constexpr unsigned char kLit[13] = {0x3f, 0x06, 0x5b, 0x4f, 0x66, 0x6d, 0x7d,
                                    0x07, 0x7f, 0x6f, 0x37, 0x00, 0x77};
constexpr int kSlash = 11;

// A segment with pointed ends, a little short of the corners so that each stands apart.
Path Segment(Vec2 from, Vec2 to) {
  const bool across = from.y == to.y;
  const Vec2 along = across ? Vec2{1, 0} : Vec2{0, 1};
  const Vec2 side = across ? Vec2{0, 1} : Vec2{1, 0};
  const float half = kThickness / 2;
  const Vec2 a = from + along * 1.2f, b = to - along * 1.2f;
  Path p;
  p.moveTo(a).lineTo(a + along * half - side * half).lineTo(b - along * half - side * half);
  p.lineTo(b).lineTo(b - along * half + side * half).lineTo(a + along * half + side * half);
  return p;
}

}  // namespace

void drawDisplayDigit(Pen& pen, int frame) {
  const Color lit = rgb(150, 255, 160);
  const Color unlit = rgb(40, 80, 48);
  Path on;
  if (frame == kSlash) {
    Path line;
    line.moveTo({kRight - 1, kTop + 2}).lineTo({kLeft + 1, kBottom - 2});
    pen.glow(pen.stroke(line, 3.5f, false), 2.0f, lit, 0.8f);
    pen.paint(pen.stroke(line, kThickness / 2, false), lit);
    return;
  }
  for (int s = 0; s < 7; ++s) {
    const Path segment = Segment(kEnds[s][0], kEnds[s][1]);
    if (kLit[frame] & (1 << s)) {
      on.add(segment);
    } else {
      pen.fill(segment, unlit, 0.6f);
    }
  }
  pen.glow(pen.grow(on, 0.8f), 2.0f, lit, 0.8f);
  pen.fill(on, lit);
}

}  // namespace art
