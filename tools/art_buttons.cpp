// Menu pieces (64 x 64): dial tokens, the three options-gear layers and the "Coded in" badge.
#include <cmath>

#include "tools/art.h"
#include "tools/font.h"
#include "tools/shapes.h"

namespace art {

namespace {

const Vec2 kC{32, 32};

// A chunky token like a game chip: coloured disc, white notches round its
// edge, an inner ring, room in the middle for a label.
void token(Pen& pen, Color c) {
  Path disc = circle(kC, 25);
  Look look;
  look.fill = toned(disc, c, 0.2f, 0.2f);
  look.rimWidth = 1.4f;
  look.shadowOffset = {1.0f, 2.0f};
  look.shadowBlur = 1.4f;
  drawSolid(pen, disc, look);
  Path notches;
  for (int i = 0; i < 8; ++i) {
    Affine turn = Affine::about(kC, Affine::rotate(45.0f * i + 22.5f));
    notches.add(roundRectCentred({kC.x, kC.y - 21.5f}, 7, 5, 1.5f).transformed(turn));
  }
  pen.paint(intersect(pen.shape(notches), pen.shape(disc)), pal::kWhite, 0.9f);
  Mask ringMask = pen.shape(ring(kC, 17.5f, 15.8f));
  pen.paint(ringMask, pal::kWhite, 0.75f);
  pen.fill(circle(kC, 15.8f), Paint::radial({kC.x, kC.y - 6}, 20, darker(c, 0.05f), darker(c, 0.25f)));
}

void gearLayer(Pen& pen, int layer) {
  // 8: the big outer gear, 9: a middle gear, 10: the hub cap on top
  if (layer == 0) {
    Figure f(pen, 1.4f);
    f.fill(gear(kC, 30, 24.5f, 12)).cutOut(circle(kC, 15.5f));
    for (int i = 0; i < 6; ++i) {
      float a = (60.0f * i + 30.0f) * 3.14159265f / 180.0f;
      f.cutOut(circle({kC.x + 20.0f * std::cos(a), kC.y + 20.0f * std::sin(a)}, 2.2f));
    }
    f.draw(pen, Paint::radial({kC.x - 8, kC.y - 10}, 42, rgb(206, 218, 244), rgb(128, 142, 190)), 0.55f);
  } else if (layer == 1) {
    Figure f(pen, 1.3f);
    f.fill(gear(kC, 19.5f, 15.0f, 9, 20)).cutOut(circle(kC, 7.5f));
    f.draw(pen, Paint::radial({kC.x - 5, kC.y - 7}, 26, lighter(pal::kOrange, 0.25f), darker(pal::kOrange, 0.15f)), 0.5f);
  } else {
    Path cap = circle(kC, 9.5f);
    Look look;
    look.fill = Paint::radial({kC.x - 3, kC.y - 4}, 13, pal::kWhite, rgb(196, 200, 226));
    look.rimWidth = 1.3f;
    look.shadowOffset = {0.6f, 1.4f};
    look.shadowBlur = 1.0f;
    drawSolid(pen, cap, look);
    Figure bolt(pen, 0.8f);
    bolt.fill(polygon(kC, 4.2f, 6, 30));
    bolt.draw(pen, Paint::solid(pal::kTeal), 0.3f);
  }
}

void codeBadge(Pen& pen) {
  // a small screen showing "</>", beside the "Coded in" line
  Path screen = roundRectCentred({kC.x, kC.y - 2}, 40, 30, 6);
  Look look;
  look.fill = toned(screen, pal::kPurple, 0.2f, 0.2f);
  drawSolid(pen, screen, look);
  Figure stand(pen, 1.2f);
  stand.fill(roundRectCentred({kC.x, kC.y + 17}, 18, 4, 2));
  stand.draw(pen, Paint::solid(rgb(196, 200, 226)));
  Path code = boldFont().text("</>", {0, 0}, 15, -0.5f);
  Path::Box b = code.bounds();
  code = code.transformed(Affine::translate(kC.x - b.centre().x, kC.y - 2 - b.centre().y));
  Figure f(pen, 0.9f);
  f.fill(code, 0.2f);
  f.draw(pen, Paint::solid(pal::kWhite), 0.3f);
}

void symbolToken(Pen& pen, Color c, int symbol) {
  token(pen, c);
  Figure f(pen, 1.1f);
  if (symbol == 0) f.fill(triangle({27, 22}, {41, 32}, {27, 42}), 1.5f);
  else if (symbol == 1) f.fill(star(kC, 11, 5, 5));
  else if (symbol == 2) f.fill(heart({32, 33}, 22));
  else f.fill(boldFont().text("?", {25.5f, 39.5f}, 21));
  f.draw(pen, Paint::linear({0, 20}, {0, 44}, pal::kWhite, rgb(224, 228, 244)));
}

}  // namespace

void drawMenuButton(Pen& pen, int frame) {
  static const Color tokens[8] = {pal::kRed, pal::kOrange, pal::kGreen, pal::kBlue, pal::kPurple, pal::kPink, pal::kTeal, pal::kYellow};
  if (frame < 8) token(pen, tokens[frame]);
  else if (frame < 11) gearLayer(pen, frame - 8);
  else if (frame == 12) codeBadge(pen);
  else symbolToken(pen, tokens[(frame * 3) % 8], frame == 11 ? 0 : frame - 12);
}

}  // namespace art
