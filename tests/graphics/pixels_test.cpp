// tests/graphics/pixels_test.cpp: what the real device puts in a real
// window's framebuffer (run under a virtual display).
#include "graphics_support.h"

namespace {

class PixelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedSeq = glfwGraphicsSeq;
    glfwGraphicsSeq = 0;
    ASSERT_TRUE(window.Open(320, 240)) << "no display: run under xvfb-run";
    host = std::make_unique<TestHost>();
    host->deviceWidth = 320;
    host->deviceHeight = 240;
    ResetGraphicsModule();
    device = new gxtkGraphics();
    rk_graphics_SetGraphicsDevice(device);
  }
  void TearDown() override {
    window.Close();
    ReleaseGraphicsModule();
    host.reset();
    glfwGraphicsSeq = savedSeq;
  }
  // A frame begun as the delegate begins it, cleared to a colour.
  void BeginFrame(int grey = 0) {
    device->BeginRender();
    rk_graphics_BeginRender();
    device->Cls(grey, grey, grey);
  }
  void EndFrame() {
    rk_graphics_EndRender();
    device->EndRender();
  }
  // A 2 x 2 picture: red, green / blue, white at half alpha.
  c_Image* Checker() {
    host->WritePng("checker.png", 2, 2, 4,
                   {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 128});
    return rk_graphics_LoadImage(String("checker.png"), 1, 0);
  }
  // Draws the checker four times enlarged at (100, 100) and checks the texels.
  void ExpectCheckerDrawn(c_Image* checker, int grey) {
    BeginFrame(grey);
    rk_graphics_DrawImage2(checker, 100, 100, 0, 4, 4, 0);
    EXPECT_EQ(RgbAt(device, 102, 102), Rgb(255, 0, 0));
    EXPECT_EQ(RgbAt(device, 105, 101), Rgb(0, 255, 0));
    EXPECT_EQ(RgbAt(device, 101, 107), Rgb(0, 0, 255));
    // Premultiplied white at alpha 128 over the grey: 128 + grey * 127 / 255.
    int blended = RgbAt(device, 106, 106) & 0xff;
    EXPECT_NEAR(blended, 128 + grey * 127 / 255, 1);
    EXPECT_EQ(RgbAt(device, 108, 102), Rgb(grey, grey, grey));
    EndFrame();
  }

  std::vector<int> Pixels() {
    Array<int> frame(320 * 240);
    device->ReadPixels(frame, 0, 0, 320, 240, 0, 320);
    return std::vector<int>(frame.Data(), frame.Data() + frame.Length());
  }

  // Renders two frames, each drawn by `draw(variant)` (false, then true),
  // and counts the pixels that differ between them.
  template <class Draw>
  int DifferingPixels(Draw draw) {
    Array<int> frames[2];
    for (int variant = 0; variant < 2; ++variant) {
      BeginFrame();
      draw(variant == 1);
      frames[variant] = Array<int>(320 * 240);
      device->ReadPixels(frames[variant], 0, 0, 320, 240, 0, 320);
      EndFrame();
    }
    int differing = 0, varied = 0;
    for (int i = 0; i < frames[0].Length(); ++i) {
      differing += frames[0][i] != frames[1][i];
      varied += frames[0][i] != frames[0][0];
    }
    EXPECT_GT(varied, 0) << "the frame is not one flat colour";
    return differing;
  }

  GlWindow window;
  std::unique_ptr<TestHost> host;
  gxtkGraphics* device = nullptr;
  int savedSeq = 0;
};

TEST_F(PixelTest, RectangleAndEllipseCoverTheirPixels) {
  BeginFrame();
  EXPECT_EQ(device->Width(), 320);
  rk_graphics_SetColor(255, 0, 0);
  rk_graphics_DrawRect(10, 20, 30, 15);
  rk_graphics_SetColor(0, 0, 255);
  rk_graphics_DrawEllipse(200, 100, 40, 20);
  const int inside[][2] = {{10, 20}, {39, 20}, {10, 34}, {39, 34}};
  for (const auto& p : inside) EXPECT_EQ(RgbAt(device, p[0], p[1]), Rgb(255, 0, 0));
  const int outside[][2] = {{9, 20}, {40, 20}, {10, 19}, {10, 35}};
  for (const auto& p : outside) EXPECT_EQ(RgbAt(device, p[0], p[1]), 0);
  EXPECT_EQ(RgbAt(device, 200, 100), Rgb(0, 0, 255));
  EXPECT_EQ(RgbAt(device, 237, 100), Rgb(0, 0, 255));
  EXPECT_EQ(RgbAt(device, 200, 82), Rgb(0, 0, 255));
  EXPECT_EQ(RgbAt(device, 165, 83), 0);  // the corner of the bounding box
  EXPECT_EQ(RgbAt(device, 200, 122), 0);
  EndFrame();
}

TEST_F(PixelTest, TexturedQuadShowsItsTexelsBlendedPremultiplied) {
  c_Image* checker = Checker();
  ASSERT_TRUE(checker);
  ExpectCheckerDrawn(checker, 0);
  ExpectCheckerDrawn(checker, 100);
}

TEST_F(PixelTest, AdditiveBlendingAddsColours) {
  BeginFrame();
  rk_graphics_SetColor(100, 0, 0);
  rk_graphics_DrawRect(0, 0, 50, 50);
  rk_graphics_SetColor(0, 100, 50);
  rk_graphics_DrawRect(20, 0, 50, 50);
  rk_graphics_SetBlend(1);
  rk_graphics_SetColor(30, 20, 10);
  rk_graphics_DrawRect(40, 0, 50, 50);
  EXPECT_EQ(RgbAt(device, 10, 10), Rgb(100, 0, 0));
  EXPECT_EQ(RgbAt(device, 30, 10), Rgb(0, 100, 50));  // alpha blending covers
  EXPECT_EQ(RgbAt(device, 45, 10), Rgb(30, 120, 60));  // additive adds
  EXPECT_EQ(RgbAt(device, 80, 10), Rgb(30, 20, 10));
  EndFrame();
}

// Overlapping shapes, alpha and additive, with the blend set before every
// one as a replayed display list does; `flushEach` ends the batch after
// every blend call, as the renderer did before it batched across them.
void OverlappingFrame(gxtkGraphics* device, bool flushEach) {
  for (int r = 0; r < 300; ++r) {
    rk_graphics_SetAlpha(r % 3 ? 0.6f : 1.0f);
    rk_graphics_SetColor(static_cast<float>(r * 47 % 256), static_cast<float>(r * 91 % 256), 90);
    rk_graphics_SetBlend(0);
    if (r % 11 == 0) rk_graphics_SetBlend(1);
    if (flushEach) device->Flush();
    const float x = static_cast<float>(r * 37 % 280);
    const float y = static_cast<float>(r * 53 % 200);
    if (r % 3 == 0) rk_graphics_DrawRect(x, y, 40, 30);
    if (r % 3 == 1) rk_graphics_DrawEllipse(x, y, 18, 12);
    if (r % 3 == 2) rk_graphics_DrawLine(x, y, x + 40, y + 25);
  }
}

TEST_F(PixelTest, BatchingAcrossRepeatedBlendCallsLeavesThePictureUnchanged) {
  EXPECT_EQ(DifferingPixels([this](bool flushEach) { OverlappingFrame(device, flushEach); }), 0);
}

// A frame of shapes, then an opaque rectangle over the whole window drawn as
// the game clears (a rectangle, which the device turns into a clear) or as a
// polygon (always filled), then a few shapes on top.
void CoveredFrame(gxtkGraphics* device, bool asRect) {
  OverlappingFrame(device, false);
  rk_graphics_SetBlend(0);
  rk_graphics_SetAlpha(1);
  rk_graphics_SetColor(37.7f, 120.2f, 250.9f);
  if (asRect) {
    rk_graphics_DrawRect(-1, -1, 322, 242);
  } else {
    Array<float> corners(8);
    const float xy[8] = {-1, -1, 321, -1, 321, 241, -1, 241};
    for (int i = 0; i < 8; ++i) corners[i] = xy[i];
    rk_graphics_DrawPoly(corners);
  }
  rk_graphics_SetColor(200, 10, 10);
  rk_graphics_DrawRect(50, 60, 30, 20);
}

TEST_F(PixelTest, AnOpaqueWindowCoveringRectangleLeavesThePixelsAFillWould) {
  EXPECT_EQ(DifferingPixels([this](bool asRect) { CoveredFrame(device, asRect); }), 0);
  EXPECT_EQ(RgbAt(device, 300, 200), Rgb(37, 120, 250));
}

// Overlapping shapes, a turned and scaled picture and an ellipse, more shapes
// over them; `moved` turns the picture and moves the ellipse, as a twinkle or
// a cursor changes a small part of a frame. Both lie inside kChanged.
void SceneWithChange(gxtkGraphics* device, c_Image* checker, bool moved) {
  OverlappingFrame(device, false);
  rk_graphics_SetBlend(0);
  rk_graphics_SetAlpha(0.8f);
  rk_graphics_SetColor(255, 255, 255);
  rk_graphics_DrawImage2(checker, 150, 150, moved ? 45.0f : 30.0f, 6, 6, 0);
  rk_graphics_SetColor(250, 200, 0);
  rk_graphics_DrawEllipse(moved ? 210.0f : 200.0f, moved ? 64.0f : 60.0f, 12, 8);
  rk_graphics_SetBlend(1);
  rk_graphics_SetColor(40, 40, 90);
  rk_graphics_DrawRect(140, 40, 80, 120);
}
const int kChanged[4] = {120, 30, 130, 150};  // x, y, width, height

TEST_F(PixelTest, AFrameDrawnInPartOverTheKeptOneHasTheFullFramesPixels) {
  c_Image* checker = Checker();
  ASSERT_TRUE(checker);
  // The first frame of a window has nothing kept to draw over.
  BeginFrame();
  EXPECT_EQ(device->BackBufferAge(), 0);
  SceneWithChange(device, checker, false);
  const std::vector<int> before = Pixels();
  EndFrame();
  window.Swap();

  device->BeginRender();
  rk_graphics_BeginRender();
  if (device->BackBufferAge() != 1) GTEST_SKIP() << "buffer swaps here do not keep the frame";
  rk_graphics_SetScissor(kChanged[0], kChanged[1], kChanged[2], kChanged[3]);
  device->Cls(0, 0, 0);
  SceneWithChange(device, checker, true);
  const std::vector<int> inPart = Pixels();
  EndFrame();
  window.Swap();

  BeginFrame();
  SceneWithChange(device, checker, true);
  const std::vector<int> full = Pixels();
  EndFrame();
  int differing = 0, changed = 0;
  for (size_t i = 0; i < full.size(); ++i) {
    differing += inPart[i] != full[i];
    changed += before[i] != full[i];
  }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(changed, 100) << "the change shows";

  // A new window keeps nothing, whatever was drawn in the one before.
  ASSERT_TRUE(window.Open(320, 240));
  device->BeginRender();
  EXPECT_EQ(device->BackBufferAge(), 0);
  device->EndRender();
}

TEST_F(PixelTest, ScissorClipsToItsArea) {
  BeginFrame();
  rk_graphics_SetScissor(10, 10, 20, 20);
  rk_graphics_DrawRect(0, 0, 320, 240);
  EXPECT_EQ(RgbAt(device, 10, 10), Rgb(255, 255, 255));
  EXPECT_EQ(RgbAt(device, 29, 29), Rgb(255, 255, 255));
  EXPECT_EQ(RgbAt(device, 30, 29), 0);
  EXPECT_EQ(RgbAt(device, 29, 30), 0);
  EXPECT_EQ(RgbAt(device, 9, 10), 0);
  EndFrame();
  // The next frame draws on the whole window again.
  BeginFrame();
  rk_graphics_DrawRect(0, 0, 320, 240);
  EXPECT_EQ(RgbAt(device, 300, 200), Rgb(255, 255, 255));
  EndFrame();
}

TEST_F(PixelTest, TextureStillDrawsAfterTheWindowIsReopened) {
  c_Image* checker = Checker();
  ASSERT_TRUE(checker);
  ExpectCheckerDrawn(checker, 0);
  const int firstSeq = checker->m_Surface->seq;

  // A new window is a new context: the surface must rebuild its texture from its pixels.
  ASSERT_TRUE(window.Open(320, 240));
  ExpectCheckerDrawn(checker, 0);
  EXPECT_EQ(checker->m_Surface->seq, firstSeq + 1);
}

}  // namespace
