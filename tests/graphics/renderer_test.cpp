// tests/graphics/renderer_test.cpp: the device's frame set-up, batching,
// primitives and state calls, seen through the recording GL layer.
#include <cmath>

#include "graphics_support.h"

namespace {

using RendererTest = RecordedFrameTest;

Array<float> Floats(std::initializer_list<float> values) {
  Array<float> array(static_cast<int>(values.size()));
  int i = 0;
  for (float v : values) array[i++] = v;
  return array;
}

TEST_F(RendererTest, BeginRenderSetsUpProjectionArraysAndBlending) {
  gl.windowWidth = 800;
  gl.windowHeight = 600;
  device->DrawRect(0, 0, 1, 1);
  gl.Reset();
  EXPECT_EQ(device->BeginRender(), 1);
  EXPECT_EQ(device->Width(), 800);
  EXPECT_EQ(device->Height(), 600);
  EXPECT_EQ(device->batchCount, 0);
  const std::vector<std::string> expected = {
      "Viewport",          "MatrixMode",      "LoadIdentity",      "Ortho",
      "MatrixMode",        "LoadIdentity",    "EnableClientState", "VertexPointer",
      "EnableClientState", "TexCoordPointer", "EnableClientState", "ColorPointer",
      "Enable",            "BlendFunc",       "Disable"};
  EXPECT_EQ(gl.Names(), expected);
  EXPECT_EQ(gl.calls[0].args, (std::vector<double>{0, 0, 800, 600}));
  EXPECT_EQ(gl.calls[3].args, (std::vector<double>{0, 800, 600, 0, -1, 1}));
  for (int i : {7, 9, 11}) EXPECT_EQ(gl.calls[i].args[2], 20) << gl.calls[i].name;
  EXPECT_EQ(gl.calls[13].args, (std::vector<double>{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}));
  EXPECT_EQ(gl.calls[14].args[0], GL_TEXTURE_2D);
}

TEST_F(RendererTest, ThreeHundredRectanglesTakeTwoDrawCalls) {
  for (int i = 0; i < 256; ++i) device->DrawRect(i, 0, 1, 1);
  EXPECT_EQ(device->batchCount, 1024);
  EXPECT_EQ(gl.drawCalls, 0);
  device->DrawRect(256, 0, 1, 1);
  ASSERT_EQ(gl.drawCalls, 1);
  for (int i = 257; i < 300; ++i) device->DrawRect(i, 0, 1, 1);
  device->EndRender();
  ASSERT_EQ(gl.drawCalls, 2);
  EXPECT_TRUE(gl.draws[0].indexed);
  EXPECT_EQ(gl.draws[0].mode, GL_TRIANGLES);
  EXPECT_EQ(gl.draws[0].count, 256 * 6);
  EXPECT_EQ(gl.draws[1].count, 44 * 6);
  // The second batch starts with rectangle 256 at the front of the array.
  EXPECT_EQ(gl.draws[1].vertices[0].x, 256);
  EXPECT_EQ(gl.draws[1].vertices[4].x, 257);
}

TEST_F(RendererTest, RectangleCornersAndPointAndLineOffsets) {
  device->DrawRect(10, 20, 30, 40);
  device->DrawPoint(3, 4);
  device->DrawLine(1, 2, 5, 6);
  device->EndRender();
  ASSERT_EQ(gl.draws.size(), 3u);
  const auto& quad = gl.draws[0].vertices;
  const float corners[4][2] = {{10, 20}, {40, 20}, {40, 60}, {10, 60}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(quad[i].x, corners[i][0]);
    EXPECT_EQ(quad[i].y, corners[i][1]);
  }
  EXPECT_EQ(gl.draws[1].mode, GL_POINTS);
  EXPECT_EQ(gl.draws[1].vertices[0].x, 3.5f);
  EXPECT_EQ(gl.draws[1].vertices[0].y, 4.5f);
  EXPECT_EQ(gl.draws[2].mode, GL_LINES);
  EXPECT_EQ(gl.draws[2].vertices[1].x, 5.5f);
  EXPECT_EQ(gl.draws[2].vertices[1].y, 6.5f);
}

TEST_F(RendererTest, BatchesBreakOnlyWhenFull) {
  // Points fill the batch to 1024; lines to 1024 as 512 pairs.
  for (int i = 0; i < 1024; ++i) device->DrawPoint(i, 0);
  EXPECT_EQ(gl.drawCalls, 0);
  device->DrawPoint(0, 1);
  EXPECT_EQ(gl.drawCalls, 1);
  EXPECT_EQ(gl.draws[0].count, 1024);
  device->EndRender();
  gl.Reset();
  for (int i = 0; i < 513; ++i) device->DrawLine(0, 0, 1, 1);
  device->EndRender();
  ASSERT_EQ(gl.drawCalls, 2);
  EXPECT_EQ(gl.draws[0].count, 1024);
  EXPECT_EQ(gl.draws[1].count, 2);
}

TEST_F(RendererTest, ColourIsPremultipliedAndPackedAsRgbaBytes) {
  device->SetColor(255, 128, 0);
  device->SetAlpha(0.5f);
  device->DrawRect(0, 0, 1, 1);
  device->SetAlpha(1);
  device->SetColor(1, 2, 3);
  device->DrawRect(0, 0, 1, 1);
  device->EndRender();
  // Colour changes do not break the batch.
  ASSERT_EQ(gl.drawCalls, 1);
  const RecordedVertex& half = gl.draws[0].vertices[0];
  EXPECT_EQ((std::vector<int>{half.r, half.g, half.b, half.a}),
            (std::vector<int>{127, 64, 0, 127}));
  const RecordedVertex& opaque = gl.draws[0].vertices[4];
  EXPECT_EQ((std::vector<int>{opaque.r, opaque.g, opaque.b, opaque.a}),
            (std::vector<int>{1, 2, 3, 255}));
}

TEST_F(RendererTest, MatrixTransformsOnTheCpuWithoutBreakingTheBatch) {
  device->DrawRect(1, 1, 1, 1);
  device->SetMatrix(2, 0, 0, 3, 10, 20);
  EXPECT_TRUE(device->transformed);
  device->DrawRect(1, 1, 1, 1);
  device->SetMatrix(0, 1, -1, 0, 0, 0);  // a quarter turn
  device->DrawPoint(5, 0);
  device->SetMatrix(1, 0, 0, 1, 0, 0);
  EXPECT_FALSE(device->transformed);
  device->EndRender();
  ASSERT_EQ(gl.draws.size(), 2u);
  EXPECT_EQ(gl.draws[0].count, 12);
  EXPECT_EQ(gl.draws[0].vertices[0].x, 1);
  EXPECT_EQ(gl.draws[0].vertices[4].x, 12);
  EXPECT_EQ(gl.draws[0].vertices[4].y, 23);
  EXPECT_EQ(gl.draws[0].vertices[6].x, 14);
  EXPECT_EQ(gl.draws[0].vertices[6].y, 26);
  EXPECT_EQ(gl.draws[1].vertices[0].x, 0.5f);
  EXPECT_EQ(gl.draws[1].vertices[0].y, 5.5f);
}

TEST_F(RendererTest, OvalSegmentCountsFollowTheRadii) {
  struct Case {
    float w, h;
    int segments;
  } cases[] = {{10, 10, 12}, {60, 40, 48}, {2000, 2000, 1024}, {27, 1, 12}, {30, 2, 16}};
  for (const Case& c : cases) {
    gl.Reset();
    device->DrawOval(0, 0, c.w, c.h);
    device->EndRender();
    ASSERT_EQ(gl.draws.size(), 1u) << c.w << " x " << c.h;
    EXPECT_EQ(gl.draws[0].mode, GL_TRIANGLE_FAN);
    EXPECT_EQ(gl.draws[0].count, c.segments) << c.w << " x " << c.h;
  }
  // Under a matrix the transformed radii count: 5 + 5 scaled by 3 is 30, so 28.
  device->SetMatrix(3, 0, 0, 3, 0, 0);
  EXPECT_EQ(device->OvalSegments(5, 5), 28);
  device->SetMatrix(0, 100, 100, 0, 0, 0);
  EXPECT_EQ(device->OvalSegments(5, 6), 1024);
  EXPECT_EQ(device->OvalSegments(NAN, 5), 12);
}

TEST_F(RendererTest, OvalVerticesRunAnticlockwiseFromTheRight) {
  device->DrawOval(40, 45, 20, 10);
  device->EndRender();
  const auto& v = gl.draws.at(0).vertices;
  ASSERT_EQ(v.size(), 12u);
  EXPECT_FLOAT_EQ(v[0].x, 60);
  EXPECT_FLOAT_EQ(v[0].y, 50);
  EXPECT_NEAR(v[3].x, 50, 1e-4);
  EXPECT_NEAR(v[3].y, 45, 1e-4);  // a quarter turn goes up the screen
  EXPECT_NEAR(v[6].x, 40, 1e-4);
  EXPECT_NEAR(v[9].y, 55, 1e-4);
}

TEST_F(RendererTest, SameSizedOvalsShareABatchAsSeparateFans) {
  device->DrawOval(0, 0, 60, 40);
  device->DrawOval(100, 100, 60, 40);
  device->DrawOval(0, 0, 10, 10);  // 12 segments: another primitive type
  device->EndRender();
  ASSERT_EQ(gl.draws.size(), 3u);
  EXPECT_EQ(gl.draws[0].first, 0);
  EXPECT_EQ(gl.draws[0].count, 48);
  EXPECT_EQ(gl.draws[1].first, 48);
  EXPECT_EQ(gl.draws[1].count, 48);
  EXPECT_EQ(gl.draws[2].first, 0);
  EXPECT_EQ(gl.draws[2].count, 12);
}

TEST_F(RendererTest, PolygonsAreTypedByPointCount) {
  struct Case {
    int points;
    GLenum mode;
    bool indexed;
  } cases[] = {{1, GL_POINTS, false},         {2, GL_LINES, false},
               {3, GL_TRIANGLES, false},      {4, GL_TRIANGLES, true},
               {5, GL_TRIANGLE_FAN, false},   {1024, GL_TRIANGLE_FAN, false}};
  for (const Case& c : cases) {
    gl.Reset();
    Array<float> xy(c.points * 2 + 1);  // the odd value at the end is ignored
    for (int i = 0; i < c.points; ++i) xy[2 * i] = static_cast<float>(i);
    device->DrawPoly(xy);
    device->EndRender();
    ASSERT_EQ(gl.draws.size(), 1u) << c.points;
    EXPECT_EQ(gl.draws[0].mode, c.mode) << c.points;
    EXPECT_EQ(gl.draws[0].indexed, c.indexed) << c.points;
    EXPECT_EQ(static_cast<int>(gl.draws[0].vertices.size()), c.points);
    EXPECT_EQ(gl.draws[0].vertices.back().x, c.points - 1);
  }
  gl.Reset();
  device->DrawPoly(Array<float>());
  device->DrawPoly(Floats({1}));
  device->DrawPoly(Array<float>(1025 * 2));
  device->EndRender();
  EXPECT_EQ(gl.drawCalls, 0);
}

TEST_F(RendererTest, ClsDropsTheUnflushedBatch) {
  device->DrawRect(0, 0, 10, 10);
  device->Cls(255, 51, 0);
  device->EndRender();
  EXPECT_EQ(gl.drawCalls, 0);
  ASSERT_EQ(gl.Count("ClearColor"), 1);
  const std::vector<double>& rgba = gl.calls[0].args;
  EXPECT_FLOAT_EQ(rgba[0], 1);
  EXPECT_FLOAT_EQ(rgba[1], 0.2f);
  EXPECT_FLOAT_EQ(rgba[2], 0);
  EXPECT_FLOAT_EQ(rgba[3], 1);
  EXPECT_EQ(gl.calls[1].args[0], GL_COLOR_BUFFER_BIT);
}

TEST_F(RendererTest, BlendAndScissorFlushFirst) {
  device->DrawRect(0, 0, 1, 1);
  device->SetBlend(1);
  device->DrawRect(0, 0, 1, 1);
  device->SetScissor(10, 20, 30, 40);
  device->DrawRect(0, 0, 1, 1);
  device->SetBlend(7);  // anything but 1 is alpha blending
  device->SetScissor(0, 0, 640, 480);
  ASSERT_EQ(gl.draws.size(), 3u);
  EXPECT_EQ(gl.draws[0].blendDestination, GL_ONE_MINUS_SRC_ALPHA);
  EXPECT_EQ(gl.draws[1].blendDestination, GL_ONE);
  EXPECT_FALSE(gl.draws[1].scissored);
  EXPECT_TRUE(gl.draws[2].scissored);
  // y counts up from the bottom in OpenGL: 480 - 20 - 40.
  EXPECT_EQ((std::vector<int>(gl.draws[2].scissor, gl.draws[2].scissor + 4)),
            (std::vector<int>{10, 420, 30, 40}));
  EXPECT_EQ(gl.calls.back().name, "Disable");
  EXPECT_EQ(gl.calls.back().args[0], GL_SCISSOR_TEST);
  EXPECT_EQ(gl.Count("Scissor"), 1);
  // Nothing pending: the state calls flush nothing more.
  device->SetBlend(0);
  EXPECT_EQ(gl.drawCalls, 3);
}

TEST_F(RendererTest, SettingTheBlendModeInForceKeepsTheBatch) {
  for (int i = 0; i < 3; ++i) {
    device->SetBlend(0);
    device->DrawRect(0, 0, 1, 1);
  }
  device->SetBlend(1);
  device->DrawRect(0, 0, 1, 1);
  device->SetBlend(1);
  device->DrawRect(0, 0, 1, 1);
  device->EndRender();
  ASSERT_EQ(gl.draws.size(), 2u);
  EXPECT_EQ(gl.draws[0].count, 3 * 6);
  EXPECT_EQ(gl.draws[1].blendDestination, GL_ONE);
  EXPECT_EQ(gl.draws[1].count, 2 * 6);
  // A new frame starts in alpha blending, whatever the last one ended in.
  device->BeginRender();
  gl.Reset();
  device->SetBlend(1);
  EXPECT_EQ(gl.Count("BlendFunc"), 1);
}

TEST_F(RendererTest, ReadPixelsFlipsRowsAndRejectsBlocksOutsideTheArray) {
  device->DrawRect(0, 0, 1, 1);
  Array<int> pixels(2 + 3 * 4);
  device->ReadPixels(pixels, 5, 100, 3, 3, 2, 4);
  EXPECT_EQ(gl.drawCalls, 1);
  const GlCall& read = gl.calls.back();
  EXPECT_EQ(read.args, (std::vector<double>{5, 480 - 100 - 3, 3, 3, GL_BGRA}));
  // The recorder numbers GL rows from the bottom: the top row comes last.
  EXPECT_EQ(pixels[2], 2 << 16 | 0);
  EXPECT_EQ(pixels[2 + 4 + 1], 1 << 16 | 1);
  EXPECT_EQ(pixels[2 + 8 + 2], 0 << 16 | 2);
  EXPECT_EQ(pixels[2 + 3], 0);  // the gap between rows is left alone
  gl.Reset();
  device->ReadPixels(pixels, 0, 0, 3, 4, 2, 4);    // one row too many
  device->ReadPixels(pixels, 0, 0, 3, 1, -1, 4);   // negative offset
  device->ReadPixels(pixels, 0, 0, 0, 1, 0, 4);    // empty block
  device->ReadPixels(pixels, 0, 0, 3, 5, 2, 0);    // 15 pixels piled into 3 ints
  EXPECT_EQ(gl.Count("ReadPixels"), 0);
}

TEST_F(RendererTest, FlushWithNothingPendingDrawsNothing) {
  device->Flush();
  device->EndRender();
  device->SetScissor(1, 1, 1, 1);
  EXPECT_EQ(gl.drawCalls, 0);
  EXPECT_EQ(gl.Count("Enable"), 1);
}

}  // namespace
