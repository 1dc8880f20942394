// Soft white shapes the game tints: big circles, glows and particles.
#include <cmath>

#include "tools/art.h"
#include "tools/shapes.h"

namespace art {

namespace {

Paint fade(Vec2 c, float radius, std::vector<Stop> alphas) {
  for (Stop& s : alphas) s.c = withAlpha(pal::kWhite, s.c.a);
  return Paint::radial(c, radius, alphas);
}
Stop a(float t, float alpha) { return {t, withAlpha(pal::kWhite, alpha)}; }

void fillFrame(Pen& pen, const Paint& p) {
  pen.fill(rect(0, 0, pen.width() / pen.scale(), pen.height() / pen.scale()), p);
}

void dialRing(Pen& pen) {
  // a broad band with a tick every 8 degrees and a notch every 32
  const Vec2 c{128, 128};
  Mask band = pen.shape(ring(c, 120, 74));
  Path ticks, notches;
  for (int i = 0; i < 45; ++i) {
    Affine turn = Affine::about(c, Affine::rotate(8.0f * i));
    if (i % 4 == 0) notches.add(circle({128, 14}, 4.2f).transformed(turn));
    else ticks.add(capsule({128, 12}, {128, 20}, 1.1f).transformed(turn));
  }
  pen.paint(band, Paint::radial(c, 120, {a(0.6f, 0.55f), a(0.8f, 0.8f), a(1, 0.55f)}));
  pen.paint(pen.shape(ring(c, 120, 117)), pal::kWhite, 0.9f);
  pen.paint(pen.shape(ring(c, 77, 74)), pal::kWhite, 0.9f);
  pen.paint(pen.shape(ticks), pal::kInk, 0.45f);
  pen.paint(pen.shape(notches), pal::kWhite);
}

void gearDisc(Pen& pen) {
  const Vec2 c{128, 128};
  Path disc = circle(c, 116);
  pen.shadow(pen.shape(disc), {0, 4}, 5, pal::kShadow, 0.35f);
  pen.fill(disc, Paint::radial({110, 100}, 150, pal::kWhite, rgb(200, 214, 246)));
  pen.paint(pen.shape(ring(c, 116, 109)), rgb(150, 170, 230), 0.8f);
  pen.paint(pen.shape(ring(c, 100, 97)), pal::kWhite, 0.9f);
}

// Particle frames: sixteen rows of sixteen, each row one kind growing or turning.
void particle(Pen& pen, int row, int i) {
  const Vec2 c{4, 4};
  float t = i / 15.0f;
  float turn = 360.0f * i / 16.0f;
  Affine spin = Affine::about(c, Affine::rotate(turn));
  switch (row) {
    case 0: pen.fill(circle(c, 0.9f + 2.9f * t), pal::kWhite); break;
    case 1: pen.paint(pen.blur(pen.shape(circle(c, 0.8f + 1.8f * t)), 0.6f), pal::kWhite, 1.0f); break;
    case 2: pen.fill(star(c, 1.8f + 2.1f * t, 0.5f + 0.3f * t, 4), pal::kWhite); break;
    case 3: pen.fill(star(c, 3.8f, 1.6f, 5, turn / 5), pal::kWhite); break;
    case 4: pen.fill(capsule({4, 1.0f}, {4, 7.0f}, 0.8f).transformed(spin), Paint::linear({4, 1}, {4, 7}, withAlpha(pal::kWhite, 0.2f), pal::kWhite)); break;
    case 5: pen.fill(ring(c, 1.4f + 2.4f * t, 0.8f + 1.8f * t), pal::kWhite); break;
    case 6: pen.fill(rect(3.2f, 0.8f, 1.6f, 6.4f).add(rect(0.8f, 3.2f, 6.4f, 1.6f)).transformed(spin), pal::kWhite); break;
    case 7: pen.fill(heart({4, 4.3f}, 2.5f + 4.5f * t), pal::kWhite); break;
    case 8: pen.fill(polygon(c, 1.5f + 2.3f * t, 4), pal::kWhite); break;
    case 9: pen.fill(rect(2.2f, 3.0f, 3.6f, 2.0f).transformed(spin), pal::kWhite); break;
    case 10: pen.fill(polygon(c, 2.6f, 3, turn), pal::kWhite); break;
    case 11:
      pen.fill(ring(c, 1.5f + 2.2f * t, 1.0f + 1.7f * t), pal::kWhite, 0.8f);
      pen.fill(circle({c.x - 0.6f * (1 + t), c.y - 0.6f * (1 + t)}, 0.5f + 0.3f * t), pal::kWhite);
      break;
    case 12:
      for (int k = 0; k < 5; ++k) pen.fill(circle({4, 2.2f}, 1.0f + 0.4f * t).transformed(Affine::about(c, Affine::rotate(72.0f * k + turn / 5))), pal::kWhite);
      break;
    case 13:
      pen.paint(pen.blur(pen.shape(circle(c, 2.6f)), 0.8f), pal::kWhite, 0.6f);
      pen.fill(circle(c, 0.6f + 1.0f * t), pal::kWhite);
      break;
    case 14:
      pen.fill(triangle({7, 4}, {0.5f, 3.4f}, {0.5f, 4.6f}).transformed(spin), pal::kWhite, 0.7f);
      pen.fill(circle(Affine().then(spin).apply({6.2f, 4}), 1.2f), pal::kWhite);
      break;
    default: {
      float s = 1.0f + std::floor(t * 5.99f);
      pen.fill(rect(4 - s * 0.5f, 4 - s * 0.5f, s, s), pal::kWhite);
    }
  }
}

}  // namespace

void drawCircle(Pen& pen, int frame) {
  const Vec2 c{128, 128};
  switch (frame) {
    case 0: fillFrame(pen, fade(c, 126, {a(0, 1), a(0.55f, 0.85f), a(0.85f, 0.3f), a(1, 0)})); break;
    case 1: gearDisc(pen); break;
    case 2: fillFrame(pen, fade(c, 126, {a(0.55f, 0), a(0.78f, 0.85f), a(0.86f, 0.85f), a(1, 0)})); break;
    default: dialRing(pen); break;
  }
}

void drawLight(Pen& pen, int frame) {
  const Vec2 c{16, 16};
  switch (frame) {
    case 0: fillFrame(pen, fade(c, 16, {a(0, 1), a(0.25f, 0.7f), a(0.6f, 0.2f), a(1, 0)})); break;
    case 1: fillFrame(pen, fade(c, 16, {a(0, 1), a(0.15f, 1), a(0.3f, 0.35f), a(0.7f, 0.08f), a(1, 0)})); break;
    case 2:
      fillFrame(pen, fade(c, 12, {a(0, 0.8f), a(0.5f, 0.15f), a(1, 0)}));
      pen.fill(star(c, 15, 1.6f, 4), fade(c, 15, {a(0, 1), a(1, 0.1f)}));
      pen.fill(star(c, 8, 1.2f, 4, 45), fade(c, 8, {a(0, 1), a(1, 0.1f)}));
      break;
    default: fillFrame(pen, fade(c, 16, {a(0.35f, 0), a(0.6f, 0.9f), a(0.72f, 0.9f), a(1, 0)})); break;
  }
}

void drawParticle(Pen& pen, int frame) { particle(pen, frame / 16, frame % 16); }

}  // namespace art
