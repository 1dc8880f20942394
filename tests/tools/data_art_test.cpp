// The frames show what the game means them to show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "tests/tools/data_files.h"

namespace {

using namespace datatest;

struct Frame {
  const Picture* p;
  Corner at;
  int w, h;
  const float* px(int x, int y) const { return p->at(at.x + x, at.y + y); }
};

Frame frameOf(const Picture& p, int fw, int fh, int count, int index) {
  std::vector<Corner> c = cutFrames(p.w, p.h, fw, fh, count);
  return {&p, c.at(index), fw, fh};
}

// Straight colour averaged over the well covered pixels of a region.
struct Average {
  float r = 0, g = 0, b = 0, luma = 0, coverage = 0;
};
Average average(const Frame& f, int x0, int y0, int x1, int y1) {
  Average a;
  int n = 0, all = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x, ++all) {
      const float* q = f.px(x, y);
      a.coverage += q[3];
      if (q[3] < 0.9f) continue;
      a.r += q[0] / q[3];
      a.g += q[1] / q[3];
      a.b += q[2] / q[3];
      ++n;
    }
  if (n) {
    a.r /= n;
    a.g /= n;
    a.b /= n;
  }
  a.luma = 0.3f * a.r + 0.59f * a.g + 0.11f * a.b;
  a.coverage /= all;
  return a;
}
Average average(const Frame& f) { return average(f, 0, 0, f.w, f.h); }

// Number of separate blobs of at least `minSize` pixels for which `inside`
// holds, within a box.
int countBlobs(const Frame& f, int x0, int y0, int x1, int y1, int minSize, const std::function<bool(const float*)>& inside) {
  int w = x1 - x0, h = y1 - y0, blobs = 0;
  std::vector<int> seen(static_cast<size_t>(w) * h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (seen[y * w + x] || !inside(f.px(x0 + x, y0 + y))) continue;
      std::vector<std::pair<int, int>> stack{{x, y}};
      seen[y * w + x] = 1;
      int size = 0;
      while (!stack.empty()) {
        auto [cx, cy] = stack.back();
        stack.pop_back();
        ++size;
        const int d[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& s : d) {
          int nx = cx + s[0], ny = cy + s[1];
          if (nx < 0 || ny < 0 || nx >= w || ny >= h || seen[ny * w + nx] || !inside(f.px(x0 + nx, y0 + ny))) continue;
          seen[ny * w + nx] = 1;
          stack.push_back({nx, ny});
        }
      }
      if (size >= minSize) ++blobs;
    }
  return blobs;
}

TEST(DataArt, RestingDiceShowOneToSixPips) {
  for (int level : {1, 2, 4}) {
    Picture dice = loadPicture(levelFile("dice", level));
    ASSERT_TRUE(dice.ok());
    auto dark = [](const float* q) { return q[3] > 0.9f && (0.3f * q[0] + 0.59f * q[1] + 0.11f * q[2]) / q[3] < 0.55f; };
    for (int face = 1; face <= 6; ++face) {
      Frame f = frameOf(dice, 64 * level, 64 * level, 16, face - 1);
      // inside the die's rim (the middle 40 x 40 of the 64 x 64 frame), pips
      // of well over ten square pixels at level 1
      EXPECT_EQ(countBlobs(f, 12 * level, 12 * level, 52 * level, 52 * level, 12 * level * level, dark), face)
          << "level " << level;
    }
  }
}

TEST(DataArt, LitOperatorButtonsAreBrighterThanPlainOnes) {
  Picture calc = loadPicture(levelFile("calc", 2));
  ASSERT_TRUE(calc.ok());
  for (int b = 0; b < 4; ++b) {
    Average plain = average(frameOf(calc, 136, 136, 9, b)), lit = average(frameOf(calc, 136, 136, 9, b + 4));
    EXPECT_GT(lit.luma, plain.luma + 0.05f) << "button " << b;
    EXPECT_GT(lit.coverage, plain.coverage) << "button " << b << " has no glow";
  }
  // the four plain buttons are told apart by colour, not only by their sign
  for (int a = 0; a < 4; ++a)
    for (int b = a + 1; b < 4; ++b) {
      Average x = average(frameOf(calc, 136, 136, 9, a)), y = average(frameOf(calc, 136, 136, 9, b));
      EXPECT_GT(std::fabs(x.r - y.r) + std::fabs(x.g - y.g) + std::fabs(x.b - y.b), 0.15f) << a << " and " << b;
    }
}

TEST(DataArt, CardCellsKeepWhiteNumbersReadable) {
  Picture grid = loadPicture(levelFile("grid", 2));
  ASSERT_TRUE(grid.ok());
  Average card = average(frameOf(grid, 136, 136, 9, 0), 40, 40, 96, 96);
  Average blank = average(frameOf(grid, 136, 136, 9, 1));
  Average earned = average(frameOf(grid, 136, 136, 9, 2), 40, 40, 96, 96);
  Average header = average(frameOf(grid, 136, 136, 9, 3), 40, 40, 96, 96);
  // white text with a dark rim stays readable on every cell that carries text
  for (const Average& a : {card, earned, header}) EXPECT_LT(a.luma, 0.8f);
  // the blank cell is recessive: see-through and darker than a card cell
  EXPECT_LT(average(frameOf(grid, 136, 136, 9, 1), 40, 40, 96, 96).coverage, 0.95f);
  EXPECT_LT(blank.luma, card.luma);
  // the daub changes the look of the cell clearly
  EXPECT_GT(std::fabs(earned.r - card.r) + std::fabs(earned.g - card.g) + std::fabs(earned.b - card.b), 0.3f);
}

TEST(DataArt, IconsInTheirPlacesAndTintable) {
  Picture icons = loadPicture(levelFile("common/icons", 2));
  ASSERT_TRUE(icons.ok());
  // pause, quit, play, ring and tilt are tinted by the game: near white
  for (int i : {0, 1, 3, 6, 7}) {
    Average a = average(frameOf(icons, 64, 64, 16, i));
    float spread = std::max({a.r, a.g, a.b}) - std::min({a.r, a.g, a.b});
    EXPECT_LT(spread, 0.15f) << "icon " << i;
    EXPECT_GT(a.luma, 0.5f) << "icon " << i;
  }
  Average heart = average(frameOf(icons, 64, 64, 16, 11));
  EXPECT_GT(heart.r, heart.g + 0.3f);
  EXPECT_GT(heart.r, heart.b + 0.3f);
  // the highlight ring is hollow
  EXPECT_LT(frameOf(icons, 64, 64, 16, 6).px(32, 32)[3], 0.1f);
}

TEST(DataArt, FontButtonIconsFollowTheEscapeOrder) {
  Picture font = loadPicture(levelFile("fonts/shadow_editundo", 4));
  ASSERT_TRUE(font.ok());
  auto colour = [&](int frame) { return average(frameOf(font, 64, 64, 128, frame), 16, 16, 48, 48); };
  Average a = colour(96), b = colour(97), x = colour(98), y = colour(99);
  EXPECT_GT(a.g, a.r);  // A green
  EXPECT_GT(b.r, b.g);  // B red
  EXPECT_GT(x.b, x.r);  // X blue
  EXPECT_GT(y.r + y.g, 2 * y.b + 0.3f);  // Y yellow
  // keycaps are light, glyphs of text are white, so both take the game's tint
  for (int k = 112; k < 125; ++k) EXPECT_GT(colour(k).luma, 0.55f) << "keycap " << k;
  for (int c = 'A'; c <= 'Z'; ++c) EXPECT_GT(colour(c - 32).luma, 0.65f) << static_cast<char>(c);
}

TEST(DataArt, SelfContainedPiecesStayInsideTheirFrames) {
  // everything but the pieces meant to meet their neighbours (d-pad arms,
  // soft circles) keeps clear of its frame's edge, so nothing looks cut off
  const char* names[] = {"dice", "grid", "calc", "BadgesA", "common/Buttons", "common/icons",
                         "common/ZelkLogo", "logo", "fonts/shadow_editundo"};
  for (const char* name : names) {
    const ImageLayout* layout = nullptr;
    for (const ImageLayout& l : gameImages())
      if (std::string(l.name) == name) layout = &l;
    ASSERT_NE(layout, nullptr);
    Picture p = loadPicture(levelFile(name, 4));
    ASSERT_TRUE(p.ok());
    int fw = layout->frameW * 4, fh = layout->frameH * 4;
    for (int i = 0; i < layout->frames; ++i) {
      Frame f = frameOf(p, fw, fh, layout->frames, i);
      float edge = 0;
      for (int k = 0; k < fw; ++k) edge = std::max({edge, f.px(k, 0)[3], f.px(k, fh - 1)[3]});
      for (int k = 0; k < fh; ++k) edge = std::max({edge, f.px(0, k)[3], f.px(fw - 1, k)[3]});
      EXPECT_LT(edge, 0.35f) << name << " frame " << i;
    }
  }
}

}  // namespace
