// Interface icons (32 x 32), mostly white with an ink rim so the game can tint them.
#include <cmath>

#include "tools/art.h"
#include "tools/font.h"
#include "tools/shapes.h"

namespace art {

namespace {

const Vec2 kC{16, 16};
constexpr float kRim = 1.1f;

Paint whiteFill() { return Paint::linear({0, 4}, {0, 28}, pal::kWhite, rgb(222, 226, 242)); }

// An arc with an arrow head at its end (angles clockwise from the right).
void curvedArrow(Figure& f, Vec2 c, float r, float a0, float a1, float width, float head = 1.0f) {
  Path arc;
  arc.arcTo(c, r, a0, a1);
  f.line(arc, width);
  float rad = a1 * 3.14159265f / 180.0f;
  Vec2 tip{c.x + r * std::cos(rad), c.y + r * std::sin(rad)};
  float dir = a1 + (a1 > a0 ? 180.0f : 0.0f);  // tangent, in "0 = up" degrees
  f.fill(arrowHead(tip + Vec2{std::cos(rad + (a1 > a0 ? 1.57f : -1.57f)), std::sin(rad + (a1 > a0 ? 1.57f : -1.57f))} * 3.2f,
                   6.0f * head, 8.5f * head, dir), 0.6f);
}

void pause(Pen& pen) {
  Figure f(pen, kRim);
  f.fill(roundRectCentred({11.5f, 16}, 5.5f, 19, 2.2f)).fill(roundRectCentred({20.5f, 16}, 5.5f, 19, 2.2f));
  f.draw(pen, whiteFill());
}

void quit(Pen& pen) {
  Figure f(pen, kRim);
  f.fill(capsule({9, 9}, {23, 23}, 3.2f)).fill(capsule({9, 23}, {23, 9}, 3.2f));
  f.draw(pen, whiteFill());
}

void play(Pen& pen) {
  Figure f(pen, kRim);
  f.fill(triangle({11.5f, 8.5f}, {24, 16}, {11.5f, 23.5f}), 2.2f);
  f.draw(pen, whiteFill());
}

void back(Pen& pen) {
  Figure f(pen, kRim);
  curvedArrow(f, {17, 17}, 8, 40, -180, 2.2f);
  f.draw(pen, whiteFill());
}

void retry(Pen& pen) {
  Figure f(pen, kRim);
  curvedArrow(f, kC, 9, -60, 220, 2.2f);
  f.draw(pen, whiteFill());
}

void speaker(Pen& pen) {
  Figure f(pen, kRim);
  Path box;
  box.moveTo({6, 12.5f}).lineTo({11, 12.5f}).lineTo({17, 7}).lineTo({17, 25}).lineTo({11, 19.5f}).lineTo({6, 19.5f});
  f.fill(box, 1.0f);
  Path wave1, wave2;
  wave1.arcTo({17, 16}, 5.5f, -40, 40);
  wave2.arcTo({17, 16}, 9.5f, -45, 45);
  f.line(wave1, 1.4f).line(wave2, 1.4f);
  f.draw(pen, whiteFill());
}

void ring(Pen& pen) {
  // the selection highlight: a bright ring with a soft halo and four sparkles
  Mask band = pen.shape(art::ring(kC, 14.2f, 11.4f));
  pen.glow(band, 1.4f, pal::kWhite, 1.2f);
  pen.paint(band, pal::kWhite);
  for (int i = 0; i < 4; ++i) {
    float a = 45.0f + 90.0f * i;
    Vec2 at = kC + Vec2{std::sin(a * 3.14159265f / 180.0f), -std::cos(a * 3.14159265f / 180.0f)} * 12.8f;
    pen.fill(star(at, 3.2f, 1.0f, 4), pal::kWhite);
  }
}

void tilt(Pen& pen) {
  // a phone leaning over, between two curved arrows
  Figure f(pen, kRim);
  Affine lean = Affine::about(kC, Affine::rotate(20));
  f.fill(roundRectCentred(kC, 8, 14, 2.2f).transformed(lean));
  f.cutOut(roundRectCentred({16, 15.3f}, 4.2f, 7.8f, 0.8f).transformed(lean));
  curvedArrow(f, kC, 11, 150, 205, 1.1f, 0.7f);
  curvedArrow(f, kC, 11, -30, 25, 1.1f, 0.7f);
  f.draw(pen, whiteFill());
}

void note(Pen& pen) {
  Figure f(pen, kRim);
  f.fill(ellipse({11, 22.5f}, 4.2f, 3.2f)).fill(ellipse({22, 20.5f}, 4.2f, 3.2f));
  f.fill(rect(13.4f, 8, 2.2f, 14.5f)).fill(rect(24.4f, 6, 2.2f, 14.5f));
  Path beam;
  beam.moveTo({13.4f, 8}).lineTo({26.6f, 5}).lineTo({26.6f, 9}).lineTo({13.4f, 12});
  f.fill(beam);
  f.draw(pen, whiteFill());
}

void gearIcon(Pen& pen) {
  Figure f(pen, kRim);
  f.fill(gear(kC, 12.5f, 9.5f, 8)).cutOut(circle(kC, 3.5f));
  f.draw(pen, whiteFill());
}

void home(Pen& pen) {
  Figure f(pen, kRim);
  f.fill(triangle({16, 5.5f}, {27, 15}, {5, 15}), 0.8f).fill(rect(8.5f, 14, 15, 11.5f), 0.8f);
  f.cutOut(rect(14, 18.5f, 4, 7.5f), 0.4f);
  f.draw(pen, whiteFill());
}

void info(Pen& pen) {
  Figure f(pen, kRim);
  f.fill(circle({16, 8.5f}, 2.6f)).fill(roundRect(13.6f, 13, 4.8f, 13, 1.2f));
  f.draw(pen, whiteFill());
}

void heart(Pen& pen) {
  Look look;
  Path h = art::heart({16, 16.5f}, 24);
  look.fill = toned(h, pal::kRed, 0.2f, 0.15f);
  look.rimWidth = kRim;
  drawSolid(pen, h, look);
  pen.fill(ellipse({10.5f, 11}, 3, 2).transformed(Affine::about({10.5f, 11}, Affine::rotate(-35))), pal::kWhite, 0.8f);
}

void starIcon(Pen& pen) {
  Look look;
  Path s = star({16, 17}, 13, 6, 5);
  look.fill = toned(s, pal::kGold, 0.3f, 0.15f);
  look.rimWidth = kRim;
  drawSolid(pen, s, look);
}

void trophy(Pen& pen) {
  Figure f(pen, kRim);
  Path cup;
  cup.moveTo({8, 6}).lineTo({24, 6}).cubicTo({24, 16}, {20, 19}, {16, 19}).cubicTo({12, 19}, {8, 16}, {8, 6});
  f.fill(cup, 0.5f);
  Path handles;
  handles.arcTo({8, 10.5f}, 3.8f, 90, 270);
  f.line(handles, 1.2f);
  Path right;
  right.arcTo({24, 10.5f}, 3.8f, -90, 90);
  f.line(right, 1.2f);
  f.fill(rect(14.5f, 18, 3, 5)).fill(roundRect(10, 22.5f, 12, 4, 1.2f));
  f.draw(pen, Paint::linear({0, 5}, {0, 27}, lighter(pal::kGold, 0.3f), darker(pal::kGold, 0.15f)));
}

void tick(Pen& pen) {
  Figure f(pen, kRim);
  Path t;
  t.moveTo({7, 16}).lineTo({13.5f, 22.5f}).lineTo({25, 9});
  f.line(t, 2.8f);
  f.draw(pen, Paint::linear({0, 8}, {0, 25}, lighter(pal::kGreen, 0.2f), darker(pal::kGreen, 0.15f)));
}

}  // namespace

void drawIcon(Pen& pen, int frame) {
  using Painter = void (*)(Pen&);
  // 0 pause, 1 quit, 2 back, 3 play, 4 retry, 5 sound, 6 selection ring,
  // 7 tilt recalibration, 8 music, 9 star, 10 trophy, 11 life, 12 options,
  // 13 tick, 14 home, 15 information
  static const Painter painters[16] = {pause, quit,    back,  play,     retry, speaker, ring, tilt,
                                       note,  starIcon, trophy, heart, gearIcon, tick,  home, info};
  painters[frame % 16](pen);
}

}  // namespace art
