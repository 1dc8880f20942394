// Card cells of the bingo grid and the calculator's operator buttons.
#include <cmath>

#include "tools/art.h"
#include "tools/shapes.h"

namespace art {

namespace {

const Vec2 kCentre{34, 34};

Path cellShape() { return roundRectCentred(kCentre, 60, 60, 11); }

void drawCell(Pen& pen, Color c) {
  Look look;
  Path cell = cellShape();
  look.fill = toned(cell, c, 0.22f, 0.18f);
  drawSolid(pen, cell, look);
}

// A blot of ink with a wobbly edge and a few splashes, as a bingo dauber leaves.
void drawDaub(Pen& pen) {
  Path blot;
  const int n = 180;
  for (int i = 0; i < n; ++i) {
    float a = 6.2831853f * i / n;
    float r = 23.5f + 1.4f * std::sin(5 * a + 1.0f) + 0.9f * std::sin(9 * a + 2.5f) + 0.5f * std::sin(17 * a);
    Vec2 p{kCentre.x + 1 + r * std::cos(a), kCentre.y + 1 + r * std::sin(a)};
    if (i == 0) blot.moveTo(p); else blot.lineTo(p);
  }
  const float drops[][3] = {{-19, -19, 2.0f}, {22, -15, 1.5f}, {19, 21, 2.2f}, {-17, 22, 1.3f}}; 
  for (const auto& d : drops) blot.add(circle({kCentre.x + d[0], kCentre.y + d[1]}, d[2]));
  Mask ink = intersect(pen.shape(blot), pen.shape(cellShape()));
  Color pink = rgb(255, 58, 136);
  pen.paint(ink, Paint::radial({kCentre.x - 4, kCentre.y - 5}, 28, {{0, lighter(pink, 0.12f)}, {0.75f, pink}, {1, darker(pink, 0.25f)}}), 0.9f);
  // ink pools a little darker at the rim of the blot
  Mask rim = cut(ink, pen.shrink(blot, 1.2f));
  pen.paint(rim, darker(pink, 0.35f), 0.6f);
  // wet shine
  pen.paint(intersect(pen.shape(ellipse({kCentre.x - 9, kCentre.y - 12}, 8, 4.5f).transformed(Affine::about({kCentre.x - 9, kCentre.y - 12}, Affine::rotate(-30)))), ink),
            pal::kWhite, 0.45f);
}

void drawBlankCell(Pen& pen) {
  // A sunken, free space: darker, no sheen, a faint star in the middle.
  Path cell = cellShape();
  Mask body = pen.shape(cell);
  pen.paint(unite(body, pen.stroke(cell, 1.0f)), withAlpha(pal::kInk, 0.55f));
  pen.paint(body, Paint::linear({0, 4}, {0, 64}, rgb(64, 56, 140, 0.7f), rgb(92, 84, 172, 0.7f)));
  Mask topShade = pen.blur(cut(body, pen.shift(body, {0, 3})), 1.0f);
  pen.paint(intersect(topShade, body), pal::kShadow, 0.45f);
  pen.fill(star(kCentre, 14, 6.2f, 5), pal::kWhite, 0.18f);
}

void drawSign(Pen& pen, int op, Vec2 c, float size) {
  // plus, minus, times, divided by, equals: bars and dots with round ends
  float s = size, w = size * 0.2f;
  Path p;
  switch (op) {
    case 0:
      p.add(capsule({c.x - s, c.y}, {c.x + s, c.y}, w));
      p.add(capsule({c.x, c.y - s}, {c.x, c.y + s}, w));
      break;
    case 1:
      p.add(capsule({c.x - s, c.y}, {c.x + s, c.y}, w));
      break;
    case 2:
      p.add(capsule({c.x - s * 0.72f, c.y - s * 0.72f}, {c.x + s * 0.72f, c.y + s * 0.72f}, w));
      p.add(capsule({c.x - s * 0.72f, c.y + s * 0.72f}, {c.x + s * 0.72f, c.y - s * 0.72f}, w));
      break;
    case 3:
      p.add(capsule({c.x - s, c.y}, {c.x + s, c.y}, w));
      p.add(circle({c.x, c.y - s * 0.62f}, w * 1.15f));
      p.add(circle({c.x, c.y + s * 0.62f}, w * 1.15f));
      break;
    default:
      p.add(capsule({c.x - s, c.y - s * 0.38f}, {c.x + s, c.y - s * 0.38f}, w));
      p.add(capsule({c.x - s, c.y + s * 0.38f}, {c.x + s, c.y + s * 0.38f}, w));
      break;
  }
  // the bars overlap with the same winding, so they fill as one shape
  Mask body = pen.shape(p);
  Mask outer = unite(body, pen.stroke(p, 1.3f));
  pen.shadow(outer, {0.6f, 1.2f}, 0.7f, pal::kShadow, 0.45f);
  pen.paint(outer, pal::kInk);
  pen.paint(body, Paint::linear({0, c.y - s}, {0, c.y + s}, pal::kWhite, rgb(232, 232, 246)));
}

const Color kOperatorColours[5] = {pal::kOrange, pal::kBlue, pal::kPink, pal::kPurple, pal::kTeal};

}  // namespace

void drawGridCell(Pen& pen, int frame) {
  switch (frame) {
    case 0: drawCell(pen, pal::kPurple); break;
    case 1: drawBlankCell(pen); break;
    case 2:
      drawCell(pen, pal::kPurple);
      drawDaub(pen);
      break;
    case 3: drawCell(pen, pal::kOrange); break;
    default: {
      // spare cells in the other house colours
      static const Color spare[5] = {pal::kGreen, pal::kTeal, pal::kBlue, pal::kPink, pal::kRed};
      drawCell(pen, spare[frame - 4]);
      break;
    }
  }
}

void drawCalcButton(Pen& pen, int frame) {
  int op = frame < 8 ? frame % 4 : 4;
  bool lit = frame >= 4 && frame < 8;
  Color c = kOperatorColours[op];
  Path key = roundRectCentred(kCentre, 52, 52, 15);
  if (lit) {
    pen.glow(pen.grow(key, 3.5f), 2.5f, pal::kYellow, 1.8f);
    pen.glow(pen.grow(key, 1.5f), 1.0f, lighter(pal::kYellow, 0.6f), 1.0f);
  }
  Look look;
  look.fill = toned(key, lit ? lighter(c, 0.35f) : c, 0.22f, 0.18f);
  drawSolid(pen, key, look);
  if (lit) pen.paint(cut(pen.shrink(key, 1.0f), pen.shrink(key, 2.6f)), pal::kYellow, 0.9f);
  drawSign(pen, op, {kCentre.x, kCentre.y - 1}, 13.0f);
}

}  // namespace art
