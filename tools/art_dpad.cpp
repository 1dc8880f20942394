// The on-screen direction pad (32 x 32 pieces) and its action buttons.
#include "tools/art.h"
#include "tools/shapes.h"

namespace art {

namespace {

const Color kPadFill = rgb(236, 238, 250);

void arm(Pen& pen, float turn, bool lit) {
  // An arm reaching past the frame edge towards the centre, so no rim shows there.
  Affine m = Affine::about({16, 16}, Affine::rotate(turn));
  Path body = roundRect(5, 3, 22, 42, 7).transformed(m);
  Look look;
  look.fill = Paint::linear({0, 0}, {0, 32}, lit ? lighter(pal::kYellow, 0.3f) : pal::kWhite, lit ? pal::kYellow : kPadFill);
  look.rimWidth = 1.3f;
  look.gloss = 0.3f;
  look.shade = 0;
  drawSolid(pen, body, look);
  pen.fill(arrowHead(m.apply({16, 9}), 8, 12, turn), pal::kInk, 0.85f);
}

void centre(Pen& pen) {
  Path cross = rect(5, -10, 22, 52);
  cross.add(rect(-10, 5, 52, 22));
  Look look;
  look.fill = Paint::solid(kPadFill);
  look.rimWidth = 1.3f;
  look.gloss = 0;
  look.shade = 0;
  drawSolid(pen, cross, look);
  pen.fill(circle({16, 16}, 6.5f), Paint::radial({14, 14}, 8, rgb(200, 204, 226), rgb(226, 228, 242)));
}

void actionButton(Pen& pen, Color c, bool pressed) {
  Path disc = circle({16, pressed ? 16.8f : 16}, 13);
  Look look;
  look.fill = Paint::radial({13, 11}, 17, lighter(c, 0.5f), c);
  look.rimWidth = 1.3f;
  look.shadowOffset = pressed ? Vec2{0.3f, 0.5f} : Vec2{0.8f, 1.6f};
  drawSolid(pen, disc, look);
  pen.paint(pen.shape(ring({16, pressed ? 16.8f : 16}, 9.5f, 8.0f)), pal::kInk, 0.35f);
}

}  // namespace

// Frames 0 to 10 are laid out as on a 4-wide sheet: 1 up, 4 left, 5 centre,
// 6 right, 9 down, so the arms meet the centre when the game places them side
// by side; 0 is the action button, the rest spare buttons and lit arms.
void drawDpad(Pen& pen, int frame) {
  switch (frame) {
    case 0: actionButton(pen, kPadFill, false); break;
    case 1: arm(pen, 0, false); break;
    case 4: arm(pen, 270, false); break;
    case 5: centre(pen); break;
    case 6: arm(pen, 90, false); break;
    case 9: arm(pen, 180, false); break;
    // spare action buttons in other colours, and the pressed look
    case 2: actionButton(pen, lighter(pal::kPink, 0.4f), false); break;
    case 8: actionButton(pen, lighter(pal::kTeal, 0.4f), false); break;
    case 10: actionButton(pen, lighter(pal::kGreen, 0.4f), false); break;
    case 3: case 7: case 11: actionButton(pen, pal::kYellow, true); break;
    default: {
      // 12 to 15: the arms held down, lit
      static const float turns[4] = {0, 270, 90, 180};
      arm(pen, turns[frame - 12], true);
    }
  }
}

}  // namespace art
