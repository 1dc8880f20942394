// The images of the data folder: frame layouts, ink in every frame, one picture per level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/tools/data_files.h"

namespace {

using namespace datatest;

const int kLevels[3] = {1, 2, 4};

// Mean absolute difference (premultiplied, 0..1) between a frame of `big`,
// box-averaged down by `factor`, and the same frame of `small`.
float frameDifference(const Picture& small, Corner cs, const Picture& big, Corner cb, int fw, int fh, int factor) {
  double sum = 0;
  float norm = 1.0f / (factor * factor);
  for (int y = 0; y < fh; ++y)
    for (int x = 0; x < fw; ++x) {
      float avg[4] = {0, 0, 0, 0};
      for (int j = 0; j < factor; ++j)
        for (int i = 0; i < factor; ++i) {
          const float* p = big.at(cb.x + x * factor + i, cb.y + y * factor + j);
          for (int c = 0; c < 4; ++c) avg[c] += p[c] * norm;
        }
      const float* q = small.at(cs.x + x, cs.y + y);
      for (int c = 0; c < 4; ++c) sum += std::fabs(avg[c] - q[c]);
    }
  return static_cast<float>(sum / (4.0 * fw * fh));
}

TEST(DataImages, EveryLevelLoadsWithItsFrameGrid) {
  for (const ImageLayout& image : gameImages())
    for (int level : kLevels) {
      SCOPED_TRACE(levelFile(image.name, level));
      Picture p = loadPicture(levelFile(image.name, level));
      ASSERT_TRUE(p.ok());
      EXPECT_EQ(p.channels, 4);
      int fw = image.frameW * level, fh = image.frameH * level;
      std::vector<Corner> frames = cutFrames(p.w, p.h, fw, fh, image.frames);
      ASSERT_EQ(static_cast<int>(frames.size()), image.frames) << "frames do not fit in " << p.w << "x" << p.h;
      // whole frames only: no stray half frame at the right or the bottom
      EXPECT_EQ(p.w % fw, 0);
      EXPECT_EQ(p.h % fh, 0);
    }
}

TEST(DataImages, NoFrameIsEmpty) {
  for (const ImageLayout& image : gameImages())
    for (int level : kLevels) {
      Picture p = loadPicture(levelFile(image.name, level));
      ASSERT_TRUE(p.ok()) << image.name;
      int fw = image.frameW * level, fh = image.frameH * level;
      std::vector<Corner> frames = cutFrames(p.w, p.h, fw, fh, image.frames);
      for (int f = 0; f < static_cast<int>(frames.size()); ++f) {
        bool isSpace = std::string(image.name) == "fonts/shadow_editundo" && f == 0;
        float covered = ink(p, frames[f], fw, fh) / (level * level);  // in level-1 pixels
        if (isSpace)
          EXPECT_EQ(covered, 0.0f) << "the space of the font has ink";
        else
          EXPECT_GT(covered, 0.75f) << image.name << " level " << level << " frame " << f << " is empty";
      }
    }
}

TEST(DataImages, EachLevelIsTheSamePictureAtAnotherScale) {
  for (const ImageLayout& image : gameImages()) {
    Picture base = loadPicture(levelFile(image.name, 1));
    ASSERT_TRUE(base.ok()) << image.name;
    std::vector<Corner> baseFrames = cutFrames(base.w, base.h, image.frameW, image.frameH, image.frames);
    for (int level : {2, 4}) {
      Picture big = loadPicture(levelFile(image.name, level));
      ASSERT_TRUE(big.ok());
      std::vector<Corner> bigFrames = cutFrames(big.w, big.h, image.frameW * level, image.frameH * level, image.frames);
      ASSERT_EQ(bigFrames.size(), baseFrames.size());
      float worst = 0;
      size_t worstFrame = 0;
      for (size_t f = 0; f < baseFrames.size(); ++f) {
        float d = frameDifference(base, baseFrames[f], big, bigFrames[f], image.frameW, image.frameH, level);
        if (d > worst) {
          worst = d;
          worstFrame = f;
        }
      }
      EXPECT_LT(worst, 0.03f) << image.name << " at level " << level << " differs from level 1 in frame " << worstFrame;
    }
  }
}

TEST(DataImages, LevelsAreNotPixelCopies) {
  // drawn again at each size, not enlarged: the big level has detail of its own
  for (const ImageLayout& image : gameImages()) {
    Picture base = loadPicture(levelFile(image.name, 1));
    Picture big = loadPicture(levelFile(image.name, 4));
    ASSERT_TRUE(base.ok() && big.ok());
    double spread = 0;  // how much each 4x4 block varies inside
    for (int y = 0; y < base.h; ++y)
      for (int x = 0; x < base.w; ++x) {
        float lo = 1, hi = 0;
        for (int j = 0; j < 4; ++j)
          for (int i = 0; i < 4; ++i) {
            float a = big.at(x * 4 + i, y * 4 + j)[3];
            lo = std::min(lo, a);
            hi = std::max(hi, a);
          }
        spread += hi - lo;
      }
    EXPECT_GT(spread, 0.0) << image.name;
  }
}

TEST(DataImages, TextFontGlyphsAreCentredAndNarrow) {
  Picture p = loadPicture(levelFile("fonts/shadow_editundo", 1));
  ASSERT_TRUE(p.ok());
  std::vector<Corner> frames = cutFrames(p.w, p.h, 16, 16, 128);
  ASSERT_EQ(frames.size(), 128u);
  double widthSum = 0;
  int letters = 0;
  for (int c = 'A'; c <= 'z'; ++c) {
    if (c > 'Z' && c < 'a') continue;
    Corner at = frames[c - 32];
    int x0 = 16, x1 = -1, y0 = 16, y1 = -1;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        if (p.at(at.x + x, at.y + y)[3] > 0.5f) {
          x0 = std::min(x0, x);
          x1 = std::max(x1, x);
          y0 = std::min(y0, y);
          y1 = std::max(y1, y);
        }
    ASSERT_GE(x1, x0) << static_cast<char>(c);
    // the ink, rim and shadow included, sits around the cell's middle
    EXPECT_NEAR((x0 + x1) * 0.5, 8.0, 2.0) << static_cast<char>(c);
    EXPECT_NEAR((y0 + y1) * 0.5, 8.0, 3.0) << static_cast<char>(c);
    widthSum += x1 - x0 + 1;
    ++letters;
  }
  // about 6 pixels of letter plus about 2 of rim and shadow
  double meanWidth = widthSum / letters;
  EXPECT_GT(meanWidth, 6.0);
  EXPECT_LT(meanWidth, 10.5);
}

TEST(DataImages, DefaultFontIsAPaddedStripOfNinetySixGlyphs) {
  Picture p = loadPicture(dataDir() + "/vuna_font.png");
  ASSERT_TRUE(p.ok());
  ASSERT_EQ(p.w % 96, 0);
  int fw = p.w / 96;
  ASSERT_GE(fw, 5);
  for (int f = 0; f < 96; ++f) {
    for (int y = 0; y < p.h; ++y) {
      // the loader cuts one column from each side of every glyph
      EXPECT_EQ(p.at(f * fw, y)[3], 0.0f) << "glyph " << f;
      EXPECT_EQ(p.at(f * fw + fw - 1, y)[3], 0.0f) << "glyph " << f;
    }
    float covered = ink(p, {f * fw, 0}, fw, p.h);
    if (f == 0) EXPECT_EQ(covered, 0.0f) << "the space has ink";
    else EXPECT_GT(covered, 1.0f) << "glyph " << f << " is empty";
  }
}

}  // namespace
