// Title art: the "Marvolet" wordmark, the studio logo and the menu decorations.
#include <cmath>
#include <string>

#include "tools/art.h"
#include "tools/font.h"
#include "tools/shapes.h"

namespace art {

namespace {

void sparkle(Pen& pen, Vec2 c, float r, Color col) {
  pen.glow(pen.shape(circle(c, r * 0.5f)), r * 0.3f, col, 1.0f);
  pen.fill(star(c, r, r * 0.22f, 4), col);
}

// Letters one by one, each with its own hop and tilt, as one sticker.
void wordmark(Pen& pen, const std::string& word, Vec2 centre, float capHeight, float maxWidth, float hop) {
  const Font& font = boldFont();
  float em = capHeight / font.capHeight(1.0f);
  float width = font.textWidth(word, em, -0.04f * em);
  if (width > maxWidth) {
    em *= maxWidth / width;
    capHeight *= maxWidth / width;
    width = maxWidth;
  }
  float tracking = -0.04f * em;
  std::vector<Path> letters;
  Path all;
  float x = centre.x - width * 0.5f;
  for (size_t i = 0; i < word.size(); ++i) {
    int c = static_cast<unsigned char>(word[i]);
    Path g = font.glyph(c, {x, centre.y + capHeight * 0.5f - hop * std::sin(i * 1.1f + 0.4f)}, em);
    Path::Box b = g.bounds();
    g = g.transformed(Affine::about(b.centre(), Affine::rotate(5.0f * std::sin(i * 2.3f + 1.0f))));
    letters.push_back(g);
    all.add(g);
    x += font.advance(c, em) + tracking;
  }
  // the white backing of the sticker, with its own rim and shadow
  float border = capHeight * 0.14f;
  Mask backing = pen.grow(all, border);
  Mask backingRim = pen.grow(all, border + capHeight * 0.045f);
  pen.shadow(backingRim, {capHeight * 0.03f, capHeight * 0.07f}, capHeight * 0.05f, pal::kShadow, 0.55f);
  pen.paint(backingRim, pal::kInk);
  pen.paint(backing, Paint::linear({0, centre.y - capHeight}, {0, centre.y + capHeight}, pal::kWhite, rgb(226, 228, 246)));
  for (size_t i = 0; i < letters.size(); ++i) {
    Color c = pal::kRainbow[i % 8];
    Look look;
    look.fill = toned(letters[i], c, 0.2f, 0.15f);
    look.rimWidth = capHeight * 0.05f;
    look.shadowOpacity = 0.25f;
    look.shadowOffset = {capHeight * 0.02f, capHeight * 0.04f};
    look.shadowBlur = capHeight * 0.02f;
    look.gloss = 0.55f;
    look.shade = 0.2f;
    drawSolid(pen, letters[i], look);
  }
}

void studioLogo(Pen& pen) {
  const Vec2 c{128, 128};
  // a round emblem: white ring, a deep purple-blue face, the name on a ribbon
  Path disc = circle(c, 62);
  Look look;
  look.fill = Paint::solid(pal::kWhite);
  look.rimWidth = 2.5f;
  look.shadowOffset = {1.5f, 3.5f};
  look.shadowBlur = 3.0f;
  look.gloss = 0;
  drawSolid(pen, disc, look);
  Path face = circle(c, 54);
  pen.fill(face, Paint::linear({0, 74}, {0, 182}, rgb(120, 80, 240), rgb(40, 110, 230)));
  pen.paint(pen.shape(ring(c, 56, 54)), pal::kInk, 0.8f);
  // a ring of little dots and a big star above the ribbon
  for (int i = 0; i < 24; ++i) {
    Affine turn = Affine::about(c, Affine::rotate(15.0f * i));
    pen.fill(circle({128, 79}, 1.6f).transformed(turn), pal::kWhite, 0.5f);
  }
  Look starLook;
  Path big = star({128, 103}, 17, 7.5f, 5);
  starLook.fill = toned(big, pal::kYellow, 0.35f, 0.1f);
  starLook.rimWidth = 2.0f;
  drawSolid(pen, big, starLook);
  // ribbon with folded ends
  for (int side = -1; side <= 1; side += 2) {
    Path end;
    float x = 128 + side * 64.0f;
    end.moveTo({x - side * 12.0f, 128}).lineTo({x + side * 10.0f, 128}).lineTo({x + side * 4.0f, 140}).lineTo({x + side * 10.0f, 152}).lineTo({x - side * 12.0f, 152});
    Look endLook;
    endLook.fill = Paint::solid(darker(pal::kRed, 0.25f));
    endLook.rimWidth = 2.0f;
    endLook.gloss = 0;
    drawSolid(pen, end, endLook);
  }
  Path band = roundRectCentred({128, 136}, 128, 30, 4);
  Look bandLook;
  bandLook.fill = toned(band, pal::kRed, 0.2f, 0.15f);
  bandLook.rimWidth = 2.0f;
  drawSolid(pen, band, bandLook);
  Path name = boldFont().text("ZELK", {0, 0}, 28, 1.5f);
  Path::Box b = name.bounds();
  name = name.transformed(Affine::translate(128 - b.centre().x, 136 - b.centre().y));
  Figure letters(pen, 1.6f);
  letters.fill(name, 0.3f);
  letters.draw(pen, Paint::linear({0, 124}, {0, 148}, pal::kWhite, rgb(255, 236, 200)));
  Path games = boldFont().text("GAMES", {0, 0}, 11, 2.5f);
  b = games.bounds();
  pen.fill(games.transformed(Affine::translate(128 - b.centre().x, 166 - b.centre().y)), pal::kWhite, 0.9f);
  sparkle(pen, {176, 84}, 9, pal::kWhite);
  sparkle(pen, {84, 170}, 6, pal::kWhite);
}

// Twelve rays from `c`, `reach` long.
Path sunRays(Vec2 c, float reach) {
  Path fan;
  for (int i = 0; i < 12; ++i) {
    Affine turn = Affine::about(c, Affine::rotate(30.0f * i));
    fan.add(triangle(c, {c.x - 28, c.y - reach}, {c.x + 28, c.y - reach}).transformed(turn));
  }
  return fan;
}

Paint rayPaint(Vec2 c) {
  return Paint::radial(c, 128, {{0, withAlpha(pal::kYellow, 0.9f)}, {0.6f, withAlpha(pal::kWhite, 0.35f)}, {1, withAlpha(pal::kWhite, 0)}});
}

void sunburst(Pen& pen) {
  const Vec2 c{128, 128};
  pen.fill(sunRays(c, 134), rayPaint(c));
  pen.glow(pen.shape(circle(c, 34)), 10, pal::kYellow, 1.0f);
  pen.fill(circle(c, 30), Paint::radial({120, 118}, 36, pal::kWhite, pal::kYellow));
}

void cloud(Pen& pen) {
  Path puff;
  const float blobs[][3] = {{70, 150, 38}, {112, 118, 50}, {160, 128, 44}, {196, 156, 32}, {128, 162, 40}, {90, 170, 28}, {170, 170, 26}};
  for (const auto& b : blobs) puff.add(circle({b[0], b[1]}, b[2]));
  Look look;
  look.fill = Paint::linear({0, 70}, {0, 200}, pal::kWhite, rgb(214, 226, 252));
  look.rimWidth = 2.5f;
  look.shadowOffset = {2, 5};
  look.shadowBlur = 4;
  look.gloss = 0.3f;
  drawSolid(pen, puff, look);
}

void confetti(Pen& pen) {
  Rng rng(2024);
  for (int i = 0; i < 46; ++i) {
    float a = rng.range(0, 6.2832f), r = 24 + 96 * std::sqrt(rng.uniform());
    Vec2 at{128 + r * std::cos(a), 128 + r * std::sin(a)};
    Affine turn = Affine::about(at, Affine::rotate(rng.range(0, 360)));
    Color c = pal::kRainbow[i % 8];
    Path piece = (i % 3 == 0) ? circle(at, 4.5f) : (i % 3 == 1) ? rect(at.x - 7, at.y - 3.5f, 14, 7) : star(at, 8, 3.5f, 5);
    Look look;
    look.fill = toned(piece, c, 0.25f, 0.15f);
    look.rimWidth = 1.2f;
    look.gloss = 0.3f;
    look.shade = 0;
    piece = piece.transformed(turn);
    pen.local(piece.bounds(), 5, [&](Pen& p) { drawSolid(p, piece, look); });
  }
}

// A large rounded card, shaded from `top` to `bottom` colour, raised off the art.
void card(Pen& pen, const Path& shape, Color top, Color bottom, float rim, float gloss) {
  Path::Box b = shape.bounds();
  Look look;
  look.fill = Paint::linear({0, b.y0}, {0, b.y1}, top, bottom);
  look.rimWidth = rim;
  look.shadowOffset = {2, 5};
  look.shadowBlur = 5;
  look.gloss = gloss;
  drawSolid(pen, shape, look);
}

void panel(Pen& pen) {
  card(pen, roundRect(16, 24, 224, 208, 22), rgb(68, 60, 150), rgb(40, 34, 104), 3, 0.25f);
  Path header = roundRect(16, 24, 224, 48, 22);
  Mask top = intersect(pen.shape(header), pen.shape(rect(16, 24, 224, 44)));
  pen.paint(top, Paint::linear({0, 24}, {0, 68}, lighter(pal::kPink, 0.2f), pal::kPink));
  for (int i = 0; i < 5; ++i) pen.fill(circle({68 + 30.0f * i, 46}, 7), i % 2 ? pal::kYellow : pal::kWhite);
  for (int i = 0; i < 4; ++i) pen.fill(roundRect(40, 92 + 34.0f * i, 176, 20, 10), pal::kWhite, 0.12f);
}

}  // namespace

void drawTitle(Pen& pen, int) {
  wordmark(pen, "Marvolet", {128, 66}, 40, 224, 4);
  sparkle(pen, {230, 24}, 10, pal::kWhite);
  sparkle(pen, {22, 104}, 7, pal::kYellow);
}

void drawStudioLogo(Pen& pen, int) { studioLogo(pen); }

namespace {

// The icon's sign: the wordmark's first letter, a die resting against it, two
// sparkles; `origin` is the pen's.
void iconSign(Pen& pen, Vec2 origin) {
  wordmark(pen, "M", {114, 112}, 112, 170, 0);
  const float dieScale = 1.45f;
  const Vec2 dieAt{180, 180};
  Pen diePen(pen.canvas(), pen.scale() * dieScale,
             {32 - (dieAt.x - origin.x) / dieScale, 32 - (dieAt.y - origin.y) / dieScale});
  drawDie(diePen, 5, Affine::about({32, 32}, Affine::rotate(-12)));
  sparkle(pen, {210, 48}, 16, pal::kWhite);
  sparkle(pen, {52, 202}, 12, pal::kYellow);
}

const Color kTileTop = rgb(70, 124, 232), kTileBottom = rgb(32, 50, 146);

}  // namespace

void drawAppIcon(Pen& pen, int frame) {
  if (frame == kMaskableIcon) {
    // Launchers cut their own shape out of the whole square and promise only
    // the middle circle, 80 % of the side across: the sign is shrunk into it.
    const float shrink = 0.7f;
    const Vec2 sun{128 - 16 * shrink, 128 - 16 * shrink};
    pen.fill(rect(0, 0, 256, 256), Paint::linear({0, 0}, {0, 256}, kTileTop, kTileBottom));
    pen.fill(sunRays(sun, 200), rayPaint(sun), 0.7f);
    const Vec2 origin{128 - 128 / shrink, 128 - 128 / shrink};
    Pen inside(pen.canvas(), pen.scale() * shrink, origin);
    iconSign(inside, origin);
    return;
  }
  // a rounded tile in the menu's blue, lit by the menu's sunburst
  Path tile = roundRect(16, 16, 224, 224, 50);
  card(pen, tile, kTileTop, kTileBottom, 4, 0.3f);
  const Vec2 sun{112, 112};
  pen.paint(intersect(pen.shape(sunRays(sun, 200)), pen.shrink(tile, 0.5f)), rayPaint(sun), 0.7f);
  iconSign(pen, {0, 0});
}

void drawMenuDecoration(Pen& pen, int frame) {
  switch (frame) {
    case 0: sunburst(pen); break;
    case 1: cloud(pen); break;
    case 2: confetti(pen); break;
    default: panel(pen); break;
  }
}

}  // namespace art
