// The dice: six resting faces and ten tumbling, motion-blurred ones.
#include <cmath>

#include "tools/art.h"
#include "tools/shapes.h"

namespace art {

namespace {

const Vec2 kCentre{32, 32};

// Pip layout on a 3 x 3 grid, cells numbered 0..8 row by row.
const std::vector<int>& pipCells(int face) {
  static const std::vector<int> layouts[6] = {
      {4}, {2, 6}, {2, 4, 6}, {0, 2, 6, 8}, {0, 2, 4, 6, 8}, {0, 2, 3, 5, 6, 8}};
  return layouts[(face - 1) % 6];
}

void drawPip(Pen& pen, Vec2 c, float r, Color base, const Affine& m) {
  Path pip = circle(c, r).transformed(m);
  Vec2 cc = m.apply(c);
  Mask body = pen.shape(pip);
  pen.paint(body, Paint::radial({cc.x - r * 0.3f, cc.y - r * 0.3f}, r * 1.3f, darker(base, 0.35f), lighter(base, 0.15f)));
  // light caught by the lower-right inner wall of the hollow
  float d = r * 0.3f;
  Mask edge = pen.blur(cut(body, pen.shift(body, {-d, -d})), 0.35f);
  pen.paint(intersect(edge, body), pal::kWhite, 0.45f);
}

}  // namespace

void drawDie(Pen& pen, int face, const Affine& m) {
  Path body = roundRectCentred(kCentre, 50, 50, 12).transformed(m);
  Look look;
  look.fill = Paint::linear({10, 8}, {54, 58}, {{0, rgb(255, 255, 250)}, {0.55f, rgb(252, 244, 232)}, {1, rgb(226, 212, 200)}});
  look.rimWidth = 1.3f;
  look.shadowOffset = {1.2f, 2.4f};
  look.shadowBlur = 1.6f;
  look.shadowOpacity = 0.5f;
  look.gloss = 0.55f;
  look.shade = 0.16f;
  drawSolid(pen, body, look);
  if (face == 1) {
    drawPip(pen, kCentre, 7.5f, pal::kRed, m);
    return;
  }
  for (int cell : pipCells(face)) {
    Vec2 c{kCentre.x + (cell % 3 - 1) * 13.0f, kCentre.y + (cell / 3 - 1) * 13.0f};
    drawPip(pen, c, 4.8f, rgb(70, 52, 140), m);
  }
}

void drawDice(Pen& pen, int frame) {
  if (frame < 6) {
    drawDie(pen, frame + 1, Affine());
    return;
  }
  // Tumbling: the die turned and foreshortened, smeared along its spin.
  int k = frame - 6;
  float turn = 17.0f + 37.0f * k;
  float squashX = 0.72f + 0.26f * std::fabs(std::cos(k * 1.3f));
  float squashY = 0.72f + 0.26f * std::fabs(std::sin(k * 0.9f + 0.4f));
  Canvas sharp(pen.width(), pen.height());
  Pen sub(sharp, pen.scale());
  drawDie(sub, k % 6 + 1, Affine::about(kCentre, Affine::scale(squashX, squashY).then(Affine::rotate(turn))));
  pen.canvas().draw(spinBlur(sharp, kCentre * pen.scale(), 24.0f + 8.0f * (k % 3)));
}

}  // namespace art
