// graphics/renderer.cpp: the device's frame set-up, state, batching and flushing.
#include "graphics/renderer.h"

#include <vector>

#include "graphics/gl_layer.h"
#include "host/game.h"

namespace {

// Truncation toward zero that stays defined for any float (NaN and
// out-of-range values give 0), keeping only the low byte as OpenGL will.
uint32_t TruncByte(float value) {
  if (!(value > -2147483648.0f && value < 2147483648.0f)) return 0;
  return static_cast<uint32_t>(static_cast<int>(value)) & 0xff;
}

}  // namespace

gxtkGraphics::gxtkGraphics() {
  Gl().WindowSize(&width, &height);
  batchCount = 0;
  for (int k = 0; k < kBatchQuads; ++k) {
    const uint16_t first = static_cast<uint16_t>(k * 4);
    const uint16_t quad[6] = {first,
                              static_cast<uint16_t>(first + 1),
                              static_cast<uint16_t>(first + 2),
                              first,
                              static_cast<uint16_t>(first + 2),
                              static_cast<uint16_t>(first + 3)};
    for (int i = 0; i < 6; ++i) quadIndices[k * 6 + i] = quad[i];
  }
}

void gxtkGraphics::mark() { gc_push_grey(batchSurface); }

int gxtkGraphics::BeginRender() {
  GlLayer& gl = Gl();
  gl.WindowSize(&width, &height);
  // Asked first: a new window is checked before anything is drawn in it. A
  // new context or size keeps nothing of the frames before.
  const int age = gl.BackBufferAge();
  backBufferAge = lastSeq == glfwGraphicsSeq && lastWidth == width && lastHeight == height ? age : 0;
  lastSeq = glfwGraphicsSeq;
  lastWidth = width;
  lastHeight = height;
  gl.Viewport(0, 0, width, height);
  gl.MatrixMode(GL_PROJECTION);
  gl.LoadIdentity();
  gl.Ortho(0, width, height, 0, -1, 1);
  gl.MatrixMode(GL_MODELVIEW);
  gl.LoadIdentity();
  gl.EnableClientState(GL_VERTEX_ARRAY);
  gl.VertexPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertices[0].x);
  gl.EnableClientState(GL_TEXTURE_COORD_ARRAY);
  gl.TexCoordPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertices[0].u);
  gl.EnableClientState(GL_COLOR_ARRAY);
  gl.ColorPointer(4, GL_UNSIGNED_BYTE, sizeof(gxtkVertex), &vertices[0].color);
  gl.Enable(GL_BLEND);
  gl.BlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  blendMode = 0;
  gl.Disable(GL_TEXTURE_2D);
  batchCount = 0;
  return 1;
}

void gxtkGraphics::PackColor() {
  color = TruncByte(r * alpha) | TruncByte(g * alpha) << 8 | TruncByte(b * alpha) << 16 |
          TruncByte(alpha * 255) << 24;
}

int gxtkGraphics::SetAlpha(float newAlpha) {
  alpha = newAlpha;
  PackColor();
  return 0;
}

int gxtkGraphics::SetColor(float red, float green, float blue) {
  r = red;
  g = green;
  b = blue;
  PackColor();
  return 0;
}

// Only a change of mode ends the batch: setting the mode in force (as a
// display list does for every record) keeps drawing into the same batch.
int gxtkGraphics::SetBlend(int blend) {
  const int mode = blend == 1 ? 1 : 0;
  if (mode == blendMode) return 0;
  Flush();
  Gl().BlendFunc(GL_ONE, mode ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
  blendMode = mode;
  return 0;
}

int gxtkGraphics::SetScissor(int x, int y, int w, int h) {
  Flush();
  GlLayer& gl = Gl();
  if (x == 0 && y == 0 && w == Width() && h == Height()) {
    gl.Disable(GL_SCISSOR_TEST);
  } else {
    gl.Enable(GL_SCISSOR_TEST);
    gl.Scissor(x, Height() - y - h, w, h);
  }
  return 0;
}

int gxtkGraphics::SetMatrix(float newIx, float newIy, float newJx, float newJy, float newTx,
                            float newTy) {
  ix = newIx;
  iy = newIy;
  jx = newJx;
  jy = newJy;
  tx = newTx;
  ty = newTy;
  transformed = !(ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0);
  return 0;
}

int gxtkGraphics::Cls(float red, float green, float blue) {
  ClearTo(red / 255.0f, green / 255.0f, blue / 255.0f);
  return 0;
}

void gxtkGraphics::ClearTo(float red, float green, float blue) {
  // Whatever was drawn before the clear and not yet flushed would be covered anyway.
  batchCount = 0;
  Gl().ClearColor(red, green, blue, 1);
  Gl().Clear(GL_COLOR_BUFFER_BIT);
}

gxtkVertex* gxtkGraphics::Reserve(int count, int type, gxtkSurface* surface, int cell) {
  if (type == batchType && surface == batchSurface && cell == batchCell &&
      batchCount + count <= kBatchVertices) {
    gxtkVertex* room = &vertices[batchCount];
    batchCount += count;
    return room;
  }
  if (batchCount) Flush();
  batchType = type;
  gc_assign(batchSurface, surface);
  batchCell = cell;
  batchCount = count;
  return &vertices[0];
}

void gxtkGraphics::Flush() {
  if (!batchCount) return;
  GlLayer& gl = Gl();
  if (batchSurface) {
    gl.Enable(GL_TEXTURE_2D);
    if (batchCell >= 0) {
      batchSurface->BindCell(batchCell);
    } else {
      batchSurface->Bind();
    }
  }
  switch (batchType) {
    case 1:
      gl.DrawArrays(GL_POINTS, 0, batchCount);
      break;
    case 2:
      gl.DrawArrays(GL_LINES, 0, batchCount);
      break;
    case 3:
      gl.DrawArrays(GL_TRIANGLES, 0, batchCount);
      break;
    case 4:
      gl.DrawElements(GL_TRIANGLES, batchCount / 4 * 6, GL_UNSIGNED_SHORT, quadIndices);
      break;
    default:
      for (int first = 0; first < batchCount; first += batchType) {
        gl.DrawArrays(GL_TRIANGLE_FAN, first, batchType);
      }
      break;
  }
  if (batchSurface) gl.Disable(GL_TEXTURE_2D);
  batchCount = 0;
}

int gxtkGraphics::ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset,
                             int pitch) {
  Flush();
  // A block that does not fit in the array reads nothing; nor does one with
  // more pixels than the array, whose rows could only overwrite each other.
  if (!BlockFitsArray(pixels.Length(), w, h, offset, pitch)) return 0;
  if (static_cast<long>(w) * h > pixels.Length()) return 0;
  std::vector<int> rows(static_cast<size_t>(w) * h);
  Gl().ReadPixels(x, height - y - h, w, h, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
  // OpenGL hands the bottom row first.
  for (int i = 0; i < h; ++i) {
    const int* row = rows.data() + static_cast<size_t>(h - 1 - i) * w;
    int* out = pixels.Data() + offset + static_cast<long>(i) * pitch;
    for (int j = 0; j < w; ++j) out[j] = row[j];
  }
  return 0;
}
