// The generator's own drawing: coverage, strokes, mask operations, paints, compositing.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/canvas.h"
#include "tools/font.h"
#include "tools/pen.h"
#include "tools/shapes.h"

namespace {

using namespace art;

constexpr float kPi = 3.14159265f;

TEST(Raster, PixelAlignedRectangleIsExact) {
  Mask m = fillMask(rect(2, 3, 4, 5), 10, 10, 1.0f);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      bool inside = x >= 2 && x < 6 && y >= 3 && y < 8;
      EXPECT_FLOAT_EQ(m.at(x, y), inside ? 1.0f : 0.0f) << x << "," << y;
    }
  // at scale 2 the same rectangle covers four times the pixels
  EXPECT_NEAR(fillMask(rect(2, 3, 4, 5), 20, 20, 2.0f).sum(), 80.0f, 1e-3f);
}

TEST(Raster, EdgesCarryFractionalCoverage) {
  Mask m = fillMask(rect(1.5f, 1.25f, 2, 2), 5, 5, 1.0f);
  EXPECT_NEAR(m.at(1, 2), 0.5f, 1e-5f);   // half of the column
  EXPECT_NEAR(m.at(2, 1), 0.75f, 1e-5f);  // three quarters of the row
  EXPECT_NEAR(m.at(1, 1), 0.375f, 1e-5f);
  EXPECT_NEAR(m.sum(), 4.0f, 1e-4f);
  // a sloped edge: the triangle covers half the square exactly
  EXPECT_NEAR(fillMask(triangle({0, 0}, {4, 0}, {0, 4}), 4, 4, 1.0f).sum(), 8.0f, 1e-4f);
}

TEST(Raster, CircleAreaAndHoles) {
  Mask disc = fillMask(circle({20, 20}, 12), 40, 40, 1.0f);
  EXPECT_NEAR(disc.sum(), kPi * 144, kPi * 144 * 0.005f);
  Mask r = fillMask(ring({20, 20}, 12, 6), 40, 40, 1.0f);
  EXPECT_NEAR(r.sum(), kPi * (144 - 36), kPi * 144 * 0.005f);
  EXPECT_NEAR(r.at(20, 20), 0.0f, 1e-5f);
  EXPECT_FLOAT_EQ(r.at(20, 11), 1.0f);
}

TEST(Raster, ShapesPastTheBorderAreClipped) {
  // half outside on the left, half below: only the part inside counts
  Mask m = fillMask(rect(-6, 4, 10, 10), 8, 8, 1.0f);
  EXPECT_FLOAT_EQ(m.at(0, 5), 1.0f);
  EXPECT_FLOAT_EQ(m.at(3, 7), 1.0f);
  EXPECT_FLOAT_EQ(m.at(4, 5), 0.0f);
  EXPECT_NEAR(m.sum(), 16.0f, 1e-4f);
  // entirely outside: nothing, and no crash
  EXPECT_EQ(fillMask(rect(50, 50, 5, 5), 8, 8, 1.0f).sum(), 0.0f);
  EXPECT_EQ(fillMask(rect(-50, -50, 5, 5), 8, 8, 1.0f).sum(), 0.0f);
}

TEST(Raster, StrokeIsARoundBandOfTheGivenHalfWidth) {
  Path line;
  line.moveTo({5, 20}).lineTo({35, 20});
  Mask m = strokeMask(line, 3, 40, 40, 1.0f, false);
  EXPECT_FLOAT_EQ(m.at(20, 20), 1.0f);
  EXPECT_FLOAT_EQ(m.at(20, 17), 1.0f);  // centre 17.5: 2.5 from the line
  EXPECT_FLOAT_EQ(m.at(20, 24), 0.0f);  // centre 24.5: 4.5 from it
  EXPECT_GT(m.at(3, 20), 0.9f);          // round cap reaches past the end
  // area of a capsule: 2r * length + pi r^2
  EXPECT_NEAR(m.sum(), 6 * 30 + kPi * 9, 1.5f);
}

TEST(Raster, MaskOperations) {
  Mask a = fillMask(rect(0, 0, 4, 4), 8, 8, 1.0f), b = fillMask(rect(2, 0, 4, 4), 8, 8, 1.0f);
  EXPECT_FLOAT_EQ(unite(a, b).sum(), 24.0f);
  EXPECT_FLOAT_EQ(intersect(a, b).sum(), 8.0f);
  EXPECT_FLOAT_EQ(cut(a, b).sum(), 8.0f);
  Mask moved = shifted(a, 2, 3);
  EXPECT_FLOAT_EQ(moved.at(2, 3), 1.0f);
  EXPECT_FLOAT_EQ(moved.at(1, 3), 0.0f);
  EXPECT_FLOAT_EQ(moved.sum(), 16.0f);
  Mask half = shifted(a, 0.5f, 0);
  EXPECT_FLOAT_EQ(half.at(0, 0), 0.5f);
  EXPECT_FLOAT_EQ(half.at(4, 0), 0.5f);
}

TEST(Raster, BlurSpreadsButKeepsTheAmount) {
  Mask dot = fillMask(rect(30, 30, 4, 4), 64, 64, 1.0f);
  Mask soft = blurred(dot, 3.0f);
  EXPECT_NEAR(soft.sum(), dot.sum(), 1e-2f);
  EXPECT_LT(soft.at(31, 31), 1.0f);
  EXPECT_GT(soft.at(36, 32), 0.0f);
  // spread about sigma: the second moment along x grows by sigma squared
  double m0 = 0, m2 = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      m0 += soft.at(x, y);
      m2 += soft.at(x, y) * (x + 0.5 - 32) * (x + 0.5 - 32);
    }
  double dotVariance = (16.0 - 1.0) / 12.0;  // of four unit pixels
  EXPECT_NEAR(m2 / m0, dotVariance + 9.0, 0.5);
}

TEST(Raster, PaintsAndCompositing) {
  Paint lin = Paint::linear({0, 0}, {10, 0}, rgb(0, 0, 0), rgb(255, 255, 255));
  EXPECT_NEAR(lin.at({5, 3}).r, 0.5f, 1e-5f);
  EXPECT_NEAR(lin.at({-5, 0}).r, 0.0f, 1e-5f);  // held past the ends
  EXPECT_NEAR(lin.at({15, 0}).r, 1.0f, 1e-5f);
  Paint rad = Paint::radial({0, 0}, 10, rgb(255, 0, 0), rgb(0, 0, 255));
  EXPECT_NEAR(rad.at({0, 5}).r, 0.5f, 1e-5f);

  Canvas c(2, 1);
  Mask full(2, 1);
  full.a = {1.0f, 0.5f};
  c.fill(full, Paint::solid(rgb(255, 0, 0, 0.5f)), 1.0f);
  c.fill(full, Paint::solid(rgb(0, 0, 255)), 1.0f, 0.5f);
  std::vector<unsigned char> bytes = c.rgba8();
  // pixel 0: red at half, then blue at half over it: alpha 0.75, colour 1/3 red
  EXPECT_EQ(bytes[3], 191);
  EXPECT_EQ(bytes[0], 85);
  EXPECT_EQ(bytes[2], 170);
  Canvas clear(1, 1);
  EXPECT_EQ(clear.rgba8(), std::vector<unsigned char>(4, 0));
}

TEST(Raster, SpinBlurKeepsCoverageAndSmearsAlongArcs) {
  Canvas c(64, 64);
  Pen pen(c, 1.0f);
  pen.fill(rect(44, 30, 6, 4), pal::kWhite);
  Canvas spun = spinBlur(c, {32, 32}, 40);
  EXPECT_NEAR(spun.alpha().sum(), c.alpha().sum(), c.alpha().sum() * 0.03f);
  EXPECT_GT(spun.at(45, 38).a, 0.0f);  // reached round the arc
  EXPECT_LT(spun.at(46, 32).a, 1.0f);
}

TEST(Raster, PenDrawsTheSamePictureAtEveryScale) {
  auto coverage = [](float scale) {
    Canvas c(static_cast<int>(32 * scale), static_cast<int>(32 * scale));
    Pen pen(c, scale);
    Look look;
    drawSolid(pen, roundRectCentred({16, 16}, 20, 20, 5), look);
    return c.alpha().sum() / (scale * scale);
  };
  float one = coverage(1), four = coverage(4);
  EXPECT_NEAR(one, four, four * 0.02f);
  // a local pen lays its part at the same place as a pen over the whole frame
  Canvas whole(64, 64), parts(64, 64);
  Pen a(whole, 2.0f), b(parts, 2.0f);
  Path p = star({20, 12}, 6, 3, 5);
  a.fill(p, pal::kRed);
  b.local(p.bounds(), 2, [&](Pen& sub) { sub.fill(p, pal::kRed); });
  EXPECT_EQ(whole.rgba8(), parts.rgba8());
  // and so does a local pen inside another one
  Canvas nested(64, 64);
  Pen c(nested, 2.0f);
  c.local({2, 2, 30, 30}, 0, [&](Pen& outer) { outer.local(p.bounds(), 2, [&](Pen& inner) { inner.fill(p, pal::kRed); }); });
  EXPECT_EQ(whole.rgba8(), nested.rgba8());
}

TEST(Raster, FontOutlinesHaveTheRequestedSize) {
  Font missing;
  std::string error;
  EXPECT_FALSE(missing.load("/nonexistent/font.ttf", error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(missing.glyph('A', {0, 0}, 10).empty());
  ASSERT_TRUE(loadFonts(MARVOLET_FONT_DIR, error)) << error;
  const Font& f = boldFont();
  Path h = f.glyph('H', {0, 100}, 50);
  EXPECT_NEAR(h.bounds().y1, 100.0f, 0.5f);  // sits on the baseline
  EXPECT_NEAR(h.bounds().height(), f.capHeight(50), 0.5f);
  EXPECT_GT(f.textWidth("HHHH", 20), 3 * f.textWidth("H", 20));
  EXPECT_NEAR(f.advance('H', 20, 0.5f), 0.5f * f.advance('H', 20), 1e-4f);
}

}  // namespace
