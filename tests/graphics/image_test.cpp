// tests/graphics/image_test.cpp: images cut into frames: strips, grids,
// padding, handles, the whole-frame bit and the fatal misuses.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "graphics_support.h"

namespace {

class ImageTest : public RecordedFrameTest {
 protected:
  void SetUp() override {
    RecordedFrameTest::SetUp();
    host->WritePng("strip.png", 256, 64, 4, std::vector<unsigned char>(256 * 64 * 4, 255));
    host->WritePng("sheet.png", 256, 160, 4, std::vector<unsigned char>(256 * 160 * 4, 255));
  }
};

std::vector<std::pair<int, int>> FramePositions(c_Image* image) {
  std::vector<std::pair<int, int>> positions;
  for (int i = 0; i < image->m_Frames.Length(); ++i) {
    positions.emplace_back(image->m_Frames[i]->m_X, image->m_Frames[i]->m_Y);
  }
  return positions;
}

using Positions = std::vector<std::pair<int, int>>;

TEST_F(ImageTest, StripFramesPaddingAndHandles) {
  c_Image* plain = rk_graphics_LoadImage(String("strip.png"), 4, 0);
  ASSERT_TRUE(plain);
  EXPECT_EQ(FramePositions(plain), (Positions{{0, 0}, {64, 0}, {128, 0}, {192, 0}}));
  EXPECT_EQ(plain->m_Width, 64);
  EXPECT_EQ(plain->m_Height, 64);
  EXPECT_EQ(plain->m_Source, nullptr);

  c_Image* padded = rk_graphics_LoadImage(String("strip.png"), 4, rk_graphics_PadXY);
  EXPECT_EQ(FramePositions(padded), (Positions{{1, 1}, {65, 1}, {129, 1}, {193, 1}}));
  EXPECT_EQ(padded->m_Width, 62);
  EXPECT_EQ(padded->m_Height, 62);
  EXPECT_EQ(padded->m_Flags, rk_graphics_PadXY);

  c_Image* centred = rk_graphics_LoadImage(String("strip.png"), 4, rk_graphics_CentreHandle);
  EXPECT_EQ(centred->m_HandleX, 32);
  EXPECT_EQ(centred->m_HandleY, 32);
  EXPECT_EQ(centred->m_Flags, 0);

  // The handle is taken after padding.
  c_Image* both = rk_graphics_LoadImage(String("strip.png"), 4, 3);
  EXPECT_EQ(both->m_HandleX, 31);
  EXPECT_EQ(both->m_HandleY, 32);
  EXPECT_EQ(both->m_Flags, rk_graphics_PadX);

  both->p_SetHandle(5, 6);
  EXPECT_EQ(both->m_HandleX, 5);
  EXPECT_EQ(both->m_HandleY, 6);
}

TEST_F(ImageTest, GridFramesReadLikeASpriteSheet) {
  c_Image* grid = rk_graphics_LoadImage2(String("sheet.png"), 100, 50, 5, 0);
  ASSERT_TRUE(grid);
  EXPECT_EQ(FramePositions(grid), (Positions{{0, 0}, {100, 0}, {0, 50}, {100, 50}, {0, 100}}));
  EXPECT_EQ(grid->m_Width, 100);
  EXPECT_EQ(grid->m_Height, 50);

  // A grid inside a source rectangle of another image, from a start cursor.
  c_Image* part = (new c_Image())->m_new();
  part->p_Init2(grid->m_Surface, 10, 0, 20, 10, 3, 0, grid, 100, 50, 50, 20);
  EXPECT_EQ(FramePositions(part), (Positions{{110, 50}, {130, 50}, {100, 60}}));
  EXPECT_EQ(part->m_Source, grid);
}

TEST_F(ImageTest, WholeFrameBitMarksASingleFrameOfTheWholeSurface) {
  c_Image* whole = rk_graphics_LoadImage(String("strip.png"), 1, 0);
  EXPECT_EQ(whole->m_Flags, rk_graphics_WholeFrame);
  EXPECT_EQ(rk_graphics_LoadImage(String("strip.png"), 1, rk_graphics_PadX)->m_Flags,
            rk_graphics_PadX);
  EXPECT_EQ(rk_graphics_LoadImage(String("strip.png"), 2, 0)->m_Flags, 0);
  EXPECT_EQ(rk_graphics_LoadImage2(String("strip.png"), 256, 64, 1, 1)->m_Flags,
            rk_graphics_WholeFrame);
  EXPECT_EQ(rk_graphics_LoadImage2(String("strip.png"), 128, 64, 1, 0)->m_Flags, 0);
}

TEST_F(ImageTest, CreatedImageIsAStripOfBlankFrames) {
  c_Image* image = rk_graphics_CreateImage(30, 20, 3, rk_graphics_CentreHandle);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->m_Surface->Width(), 90);
  EXPECT_EQ(image->m_Surface->Height(), 20);
  EXPECT_EQ(FramePositions(image), (Positions{{0, 0}, {30, 0}, {60, 0}}));
  EXPECT_EQ(image->m_HandleX, 15);
  EXPECT_EQ(gl.Count("GenTextures"), 0) << "a blank image gets its texture when first used";
  EXPECT_EQ(rk_graphics_CreateImage(1 << 16, 1, 1 << 16, 0), nullptr);
}

TEST_F(ImageTest, ImagesSurviveCollectionWhileReachable) {
  rk_graphics_SetFont(rk_graphics_LoadImage2(String("sheet.png"), 100, 50, 5, 0), 32);
  gc_stress = true;
  gc_collect();
  gc_collect();
  gc_stress = false;
  String fault = gc_check_heap();
  EXPECT_EQ(fault.Length(), 0) << String::CString<char>(fault).c_str();
  c_Image* font = rk_graphics_context->m_Font;
  ASSERT_EQ(font->m_Frames.Length(), 5);
  EXPECT_EQ(font->m_Frames[4]->m_Y, 100);
  EXPECT_EQ(font->m_Surface->Width(), 256);
}

// The dying child's scratch folder, removed as it exits.
std::string dying_folder;
void RemoveDyingFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(dying_folder, ignored);
}

// The fatal misuses end the process with the runtime-error report.
class ImageDeathTest : public ImageTest {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ImageTest::SetUp();
  }
  // Runs `body` with the report on standard error and no debugger to answer the stop.
  template <class Body>
  void Fatal(Body body) {
    dying_folder = host->dataFolder;
    atexit(RemoveDyingFolder);
    if (!freopen("/dev/null", "r", stdin)) return;
    dup2(STDERR_FILENO, STDOUT_FILENO);
    body();
  }
};

TEST_F(ImageDeathTest, FramesOutsideTheSurfaceAreFatal) {
  EXPECT_EXIT(Fatal([] { rk_graphics_LoadImage2(String("sheet.png"), 100, 50, 7, 0); }),
              testing::ExitedWithCode(255), "Zorvex Runtime Error : Image frame outside surface");
  EXPECT_EXIT(Fatal([] { rk_graphics_LoadImage2(String("sheet.png"), 257, 10, 1, 0); }),
              testing::ExitedWithCode(255), "Image frame outside surface");
  EXPECT_EXIT(Fatal([] { rk_graphics_LoadImage2(String("sheet.png"), 10, 161, 1, 0); }),
              testing::ExitedWithCode(255), "Image frame outside surface");
  // Six frames fit exactly.
  EXPECT_EQ(rk_graphics_LoadImage2(String("sheet.png"), 100, 50, 6, 0)->m_Frames.Length(), 6);
}

TEST_F(ImageDeathTest, InitialisingTwiceIsFatal) {
  c_Image* image = rk_graphics_LoadImage(String("strip.png"), 1, 0);
  EXPECT_EXIT(Fatal([&] { image->p_Init(image->m_Surface, 1, 0); }),
              testing::ExitedWithCode(255), "Image already initialized");
  EXPECT_EXIT(Fatal([&] {
                image->p_Init2(image->m_Surface, 0, 0, 1, 1, 1, 0, nullptr, 0, 0, 1, 1);
              }),
              testing::ExitedWithCode(255), "Image already initialized");
  EXPECT_EXIT(Fatal([] { rk_graphics_LoadImage(String("strip.png"), 0, 0); }),
              testing::ExitedWithCode(255), "Image frame count must be at least 1");
}

}  // namespace
