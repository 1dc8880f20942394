// Badge medals (64 x 64): a ribbon rosette round a metal medal with an emblem.
// Each row of eight shares a ribbon colour, each column an emblem.
#include <string>

#include "tools/art.h"
#include "tools/font.h"
#include "tools/shapes.h"

namespace art {

namespace {

const Vec2 kMedal{32, 28};

void ribbonTails(Pen& pen, Color c) {
  for (int side = -1; side <= 1; side += 2) {
    Path tail;
    float x = kMedal.x + side * 7.0f;
    tail.moveTo({x - 6, 36}).lineTo({x + 6, 36}).lineTo({x + 6 + side * 4.0f, 60}).lineTo({x + side * 4.0f, 55}).lineTo({x - 6 + side * 4.0f, 60});
    Look look;
    look.fill = Paint::linear({x - 6, 0}, {x + 6, 0}, lighter(c, 0.15f), darker(c, 0.2f));
    look.rimWidth = 1.1f;
    look.gloss = 0;
    drawSolid(pen, tail.transformed(Affine::about({x, 36}, Affine::rotate(side * 12.0f))), look);
  }
}

void rosette(Pen& pen, Color c) {
  Path frill = star(kMedal, 25, 21.5f, 18);
  Look look;
  look.fill = Paint::radial(kMedal, 26, lighter(c, 0.25f), c);
  look.rimWidth = 1.1f;
  look.gloss = 0.2f;
  drawSolid(pen, frill, look);
}

void medal(Pen& pen, Color metal) {
  Path disc = circle(kMedal, 17);
  Look look;
  look.fill = Paint::linear({18, 12}, {46, 46}, {{0, lighter(metal, 0.55f)}, {0.45f, metal}, {1, darker(metal, 0.3f)}});
  look.rimWidth = 1.2f;
  look.shadowOpacity = 0.35f;
  drawSolid(pen, disc, look);
  pen.paint(pen.shape(ring(kMedal, 14.5f, 13.3f)), darker(metal, 0.3f), 0.6f);
}

void emblem(Pen& pen, int kind, int number) {
  Figure f(pen, 1.0f);
  const Vec2 c = kMedal;
  switch (kind) {
    case 0: f.fill(star(c, 10, 4.4f, 5), 0.4f); break;
    case 1: f.fill(heart({c.x, c.y + 0.5f}, 18)); break;
    case 2: {
      f.fill(roundRectCentred(c, 16, 16, 3.5f));
      static const int pips[6][6][2] = {{{0, 0}}, {{-1, -1}, {1, 1}}, {{-1, -1}, {0, 0}, {1, 1}},
                                        {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}}, {{-1, -1}, {1, -1}, {0, 0}, {-1, 1}, {1, 1}},
                                        {{-1, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {1, 1}}};
      int face = number % 6;
      for (int i = 0; i <= face; ++i) f.cutOut(circle({c.x + pips[face][i][0] * 4.2f, c.y + pips[face][i][1] * 4.2f}, 1.0f));
      break;
    }
    case 3: {
      Path bolt;
      bolt.moveTo({c.x + 2, c.y - 11}).lineTo({c.x - 6, c.y + 1.5f}).lineTo({c.x - 0.5f, c.y + 1.5f})
          .lineTo({c.x - 2.5f, c.y + 11}).lineTo({c.x + 6, c.y - 2}).lineTo({c.x + 0.5f, c.y - 2});
      f.fill(bolt, 0.3f);
      break;
    }
    case 4: {
      Path crown;
      crown.moveTo({c.x - 10, c.y + 6}).lineTo({c.x - 10, c.y - 6}).lineTo({c.x - 5, c.y - 1}).lineTo({c.x, c.y - 9})
          .lineTo({c.x + 5, c.y - 1}).lineTo({c.x + 10, c.y - 6}).lineTo({c.x + 10, c.y + 6});
      f.fill(crown, 0.6f);
      break;
    }
    case 5: {
      Path digits = boldFont().text(std::to_string(number), {0, 0}, number >= 10 ? 14.0f : 17.0f, -0.5f);
      Path::Box b = digits.bounds();
      f.fill(digits.transformed(Affine::translate(c.x - b.centre().x, c.y - b.centre().y)), 0.2f);
      break;
    }
    case 6:
      for (int i = 0; i < 4; ++i) {
        Affine turn = Affine::about(c, Affine::rotate(90.0f * i + 45));
        f.fill(circle({c.x, c.y - 5}, 4.6f).transformed(turn));
      }
      break;
    default:
      f.fill(polygon(c, 10.5f, 4), 0.6f);
      f.line(polygon(c, 5, 4), 0.5f, true);
      break;
  }
  f.draw(pen, Paint::linear({0, c.y - 10}, {0, c.y + 10}, pal::kWhite, rgb(228, 230, 244)), 0.5f);
}

}  // namespace

void drawBadge(Pen& pen, int frame) {
  static const Color metals[3] = {pal::kBronze, pal::kSilver, pal::kGold};
  if (frame == 0) {
    // the test badge: a gold medal with a tick on a rainbow of ribbons
    ribbonTails(pen, pal::kBlue);
    rosette(pen, pal::kRed);
    medal(pen, pal::kGold);
    Figure tick(pen, 1.0f);
    Path t;
    t.moveTo({kMedal.x - 8, kMedal.y}).lineTo({kMedal.x - 2.5f, kMedal.y + 6}).lineTo({kMedal.x + 8.5f, kMedal.y - 7});
    tick.line(t, 2.4f);
    tick.draw(pen, Paint::solid(pal::kGreen), 0.5f);
    return;
  }
  Color ribbon = pal::kRainbow[(frame / 8) % 8];
  ribbonTails(pen, pal::kRainbow[(frame / 8 + 5) % 8]);
  rosette(pen, ribbon);
  medal(pen, metals[(frame % 8 + frame / 8) % 3]);
  emblem(pen, frame % 8, frame);
}

}  // namespace art
