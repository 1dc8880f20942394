// tests/graphics/module_test.cpp: the drawing module: matrix composition and
// stack, the per-frame reset, image drawing with handles, ellipses and fonts.
#include "graphics_support.h"

namespace {

class ModuleTest : public RecordedFrameTest {
 protected:
  // The vertices of the only draw of the frame, ended here.
  std::vector<RecordedVertex> OnlyDraw() {
    EndFrame();
    EXPECT_EQ(gl.draws.size(), 1u);
    return gl.draws.empty() ? std::vector<RecordedVertex>() : gl.draws[0].vertices;
  }
  c_Image* Strip(int frames, int flags) {
    host->WritePng("strip.png", 256, 64, 4, std::vector<unsigned char>(256 * 64 * 4, 255));
    return rk_graphics_LoadImage(String("strip.png"), frames, flags);
  }
};

std::vector<float> Matrix(const c_GraphicsContext* c) {
  return {c->m_Ix, c->m_Iy, c->m_Jx, c->m_Jy, c->m_Tx, c->m_Ty};
}

TEST_F(ModuleTest, TranslateThenScaleCoversTheRightPixels) {
  rk_graphics_Translate(10, 20);
  rk_graphics_Scale(2, 2);
  rk_graphics_DrawRect(1, 1, 1, 1);
  std::vector<RecordedVertex> v = OnlyDraw();
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ(v[0].x, 12);
  EXPECT_EQ(v[0].y, 22);
  EXPECT_EQ(v[2].x, 14);
  EXPECT_EQ(v[2].y, 24);
}

TEST_F(ModuleTest, RotateTurnsAnticlockwiseOnScreen) {
  rk_graphics_Rotate(90);
  c_GraphicsContext* c = rk_graphics_context;
  EXPECT_TRUE(c->m_Transformed);
  // (10, 0) goes to (10 ix + tx, 10 iy + ty): straight up the screen.
  EXPECT_NEAR(10 * c->m_Ix + c->m_Tx, 0, 1e-5);
  EXPECT_NEAR(10 * c->m_Iy + c->m_Ty, -10, 1e-5);
  // Transform composes on the right: the later translation moves along the turned axes.
  rk_graphics_Translate(5, 0);
  EXPECT_NEAR(c->m_Tx, 0, 1e-5);
  EXPECT_NEAR(c->m_Ty, -5, 1e-5);
  rk_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
  EXPECT_FALSE(c->m_Transformed);
  rk_graphics_SetMatrix2(Array<float>(6));
  EXPECT_TRUE(c->m_Transformed);
  rk_graphics_Transform2(Array<float>(3));  // too short: ignored
  EXPECT_EQ(Matrix(c), std::vector<float>(6, 0));
}

TEST_F(ModuleTest, ThirtyThreePushesGrowTheStackAndPopsRestoreEveryMatrix) {
  c_GraphicsContext* c = rk_graphics_context;
  ASSERT_EQ(c->m_MatrixStack.Length(), 192);
  std::vector<std::vector<float>> saved;
  for (int i = 0; i < 33; ++i) {
    rk_graphics_Transform(1.5f, 0.25f, -0.5f, 1.25f, i * 3.0f, -i * 0.5f);
    saved.push_back(Matrix(c));
    rk_graphics_PushMatrix();
  }
  EXPECT_EQ(c->m_MatrixStack.Length(), 384);
  EXPECT_EQ(c->m_MatrixDepth, 33 * 6);
  for (int i = 32; i >= 0; --i) {
    rk_graphics_Rotate(17);
    rk_graphics_PopMatrix();
    EXPECT_EQ(Matrix(c), saved[i]) << "level " << i;
  }
  EXPECT_EQ(c->m_MatrixDepth, 0);
  // One pop too many is ignored.
  rk_graphics_PopMatrix();
  EXPECT_EQ(c->m_MatrixDepth, 0);
  EXPECT_EQ(Matrix(c), saved[0]);
}

TEST_F(ModuleTest, MatrixReachesTheDeviceOnlyWhenSomethingIsDrawn) {
  rk_graphics_Translate(3, 4);
  rk_graphics_Scale(2, 2);
  EXPECT_TRUE(rk_graphics_context->m_MatrixChanged);
  EXPECT_FALSE(device->transformed);
  rk_graphics_DrawLine(0, 0, 1, 0);
  EXPECT_FALSE(rk_graphics_context->m_MatrixChanged);
  EXPECT_EQ(device->tx, 3);
  EXPECT_EQ(device->ix, 2);
}

TEST_F(ModuleTest, EveryFrameStartsFromTheSameState) {
  rk_graphics_Translate(5, 5);
  rk_graphics_PushMatrix();
  rk_graphics_SetColor(1, 2, 3);
  rk_graphics_SetAlpha(0.25f);
  rk_graphics_SetBlend(1);
  rk_graphics_SetScissor(10.9f, 20.5f, 30, 40);
  EXPECT_EQ(gl.calls.back().args, (std::vector<double>{10, 480 - 20 - 40, 30, 40}));
  EndFrame();
  EXPECT_EQ(rk_graphics_renderDevice, nullptr);
  gl.Reset();

  BeginFrame();
  c_GraphicsContext* c = rk_graphics_context;
  EXPECT_EQ(rk_graphics_renderDevice, device);
  EXPECT_EQ(Matrix(c), (std::vector<float>{1, 0, 0, 1, 0, 0}));
  EXPECT_EQ(c->m_MatrixDepth, 0);
  EXPECT_TRUE(c->m_MatrixChanged);
  EXPECT_EQ(c->m_ColorR + c->m_ColorG + c->m_ColorB, 765);
  EXPECT_EQ(c->m_Alpha, 1);
  EXPECT_EQ(c->m_Blend, 0);
  EXPECT_EQ(c->m_ScissorWidth, 640);
  EXPECT_EQ(device->color, 0xffffffffu);
  // The device size equals the window: scissoring goes off.
  EXPECT_EQ(gl.calls.back().name, "Disable");
  EXPECT_EQ(gl.calls.back().args[0], GL_SCISSOR_TEST);
  rk_graphics_DrawRect(1, 1, 1, 1);
  EXPECT_EQ(OnlyDraw()[0].x, 1);
}

TEST_F(ModuleTest, DeviceSmallerThanTheWindowIsScissored) {
  host->deviceWidth = 320;
  host->deviceHeight = 200;
  BeginFrame();
  EXPECT_EQ(gl.calls.back().name, "Scissor");
  EXPECT_EQ(gl.calls.back().args, (std::vector<double>{0, 280, 320, 200}));
}

TEST_F(ModuleTest, NothingReachesTheDeviceOutsideAFrame) {
  EndFrame();
  gl.Reset();
  rk_graphics_SetColor(9, 9, 9);
  rk_graphics_SetBlend(1);
  rk_graphics_DrawRect(0, 0, 5, 5);
  rk_graphics_DrawImage2(Strip(1, 0), 0, 0, 0, 1, 1, 0);
  device->EndRender();
  EXPECT_EQ(rk_graphics_context->m_ColorR, 9);
  EXPECT_EQ(gl.drawCalls, 0);
  EXPECT_EQ(gl.Count("BlendFunc"), 0);
}

TEST_F(ModuleTest, DrawImageSubtractsTheHandleBeforeTheMatrix) {
  c_Image* image = Strip(4, rk_graphics_CentreHandle);
  rk_graphics_DrawImage(image, 100, 100, 2);
  std::vector<RecordedVertex> v = OnlyDraw();
  EXPECT_EQ(v[0].x, 68);
  EXPECT_EQ(v[0].y, 68);
  EXPECT_EQ(v[2].x, 132);
  EXPECT_FLOAT_EQ(v[0].u, 0.5f);
  EXPECT_FLOAT_EQ(v[2].u, 0.75f);
  EXPECT_FLOAT_EQ(v[2].v, 1);
}

TEST_F(ModuleTest, WholeFrameImagesDrawTheWholeSurface) {
  c_Image* image = Strip(1, 0);
  ASSERT_TRUE(image->m_Flags & rk_graphics_WholeFrame);
  rk_graphics_DrawImage(image, 10, 20, 0);
  std::vector<RecordedVertex> v = OnlyDraw();
  EXPECT_EQ(v[2].x, 266);
  EXPECT_EQ(v[2].y, 84);
  EXPECT_FLOAT_EQ(v[2].u, 1);
}

TEST_F(ModuleTest, DrawImage2AtRotationZeroAndScaleOneEqualsDrawImage) {
  c_Image* image = Strip(4, rk_graphics_PadX | rk_graphics_CentreHandle);
  for (float outer : {0.0f, 7.0f}) {
    gl.Reset();
    rk_graphics_SetMatrix(1, 0, 0, 1, outer, outer);
    rk_graphics_DrawImage(image, 100.5f, 40.25f, 3);
    rk_graphics_DrawImage2(image, 100.5f, 40.25f, 0, 1, 1, 3);
    EndFrame();
    ASSERT_EQ(gl.draws.size(), 1u);
    const std::vector<RecordedVertex>& v = gl.draws[0].vertices;
    ASSERT_EQ(v.size(), 8u);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(v[i].x, v[i + 4].x) << outer << " corner " << i;
      EXPECT_EQ(v[i].y, v[i + 4].y) << outer << " corner " << i;
      EXPECT_EQ(v[i].u, v[i + 4].u);
      EXPECT_EQ(v[i].v, v[i + 4].v);
    }
    BeginFrame();
  }
}

TEST_F(ModuleTest, DrawImage2TurnsAndScalesAboutTheHandle) {
  c_Image* image = Strip(4, 0);
  image->p_SetHandle(10, 20);
  rk_graphics_DrawImage2(image, 100, 100, 90, 2, 1, 0);
  EXPECT_EQ(rk_graphics_context->m_MatrixDepth, 0);
  std::vector<RecordedVertex> v = OnlyDraw();
  // (x, y) goes to (x - 10, y - 20), is scaled to (2x - 20, y - 20), turned
  // to (y - 20, 20 - 2x) and moved by (100, 100).
  EXPECT_NEAR(v[0].x, 80, 1e-3);
  EXPECT_NEAR(v[0].y, 120, 1e-3);
  EXPECT_NEAR(v[2].x, 144, 1e-3);
  EXPECT_NEAR(v[2].y, -8, 1e-3);
}

TEST_F(ModuleTest, MissingImagesAndFramesDrawNothing) {
  c_Image* image = Strip(4, 0);
  rk_graphics_DrawImage(nullptr, 0, 0, 0);
  rk_graphics_DrawImage(image, 0, 0, 4);
  rk_graphics_DrawImage2(image, 0, 0, 0, 1, 1, -1);
  rk_graphics_DrawPoly2(Array<float>(8), image, 9);
  EndFrame();
  EXPECT_EQ(gl.drawCalls, 0);
}

TEST_F(ModuleTest, DrawPoly2TakesPixelOffsetsInsideTheFrame) {
  c_Image* image = Strip(4, 0);
  Array<float> xyuv(12);
  const float points[12] = {0, 0, 0, 0, 10, 0, 64, 0, 10, 10, 64, 32};
  for (int i = 0; i < 12; ++i) xyuv[i] = points[i];
  rk_graphics_DrawPoly2(xyuv, image, 1);
  std::vector<RecordedVertex> v = OnlyDraw();
  ASSERT_EQ(v.size(), 3u);
  EXPECT_EQ(gl.draws[0].mode, GL_TRIANGLES);
  EXPECT_TRUE(gl.draws[0].textured);
  EXPECT_FLOAT_EQ(v[0].u, 0.25f);
  EXPECT_FLOAT_EQ(v[1].u, 0.5f);
  EXPECT_FLOAT_EQ(v[2].v, 0.5f);
}

TEST_F(ModuleTest, EllipseIsGivenByItsCentreAndRadii) {
  rk_graphics_DrawEllipse(50, 50, 10, 5);
  std::vector<RecordedVertex> v = OnlyDraw();
  float left = 1e9f, right = -1e9f, top = 1e9f, bottom = -1e9f;
  for (const RecordedVertex& p : v) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  EXPECT_NEAR(left, 40, 1e-4);
  EXPECT_NEAR(right, 60, 1e-4);
  EXPECT_NEAR(top, 45, 1e-4);
  EXPECT_NEAR(bottom, 55, 1e-4);
}

TEST_F(ModuleTest, DefaultFontIsAPaddedStripStartingAtSpace) {
  // No font file: the font stays null.
  rk_graphics_SetFont(nullptr, 65);
  EXPECT_EQ(rk_graphics_context->m_Font, nullptr);
  EXPECT_EQ(rk_graphics_context->m_FirstChar, 32);

  host->WritePng("vuna_font.png", 96 * 8, 12, 4, std::vector<unsigned char>(96 * 8 * 12 * 4, 9));
  rk_graphics_SetFont(nullptr, 65);
  c_Image* font = rk_graphics_context->m_Font;
  ASSERT_TRUE(font);
  EXPECT_EQ(font, rk_graphics_context->m_DefaultFont);
  EXPECT_EQ(rk_graphics_context->m_FirstChar, 32);
  EXPECT_EQ(font->m_Frames.Length(), 96);
  EXPECT_EQ(font->m_Width, 6);
  EXPECT_EQ(font->m_Frames[1]->m_X, 9);
  EXPECT_EQ(font->m_Flags, rk_graphics_PadX);

  c_Image* other = Strip(4, 0);
  rk_graphics_SetFont(other, 48);
  EXPECT_EQ(rk_graphics_context->m_Font, other);
  EXPECT_EQ(rk_graphics_context->m_FirstChar, 48);
  rk_graphics_SetFont(nullptr, 0);
  EXPECT_EQ(rk_graphics_context->m_Font, font);  // loaded once, kept
}

}  // namespace
