// graphics/graphics.cpp: the drawing context, the frame start and the state
// functions of the drawing module, including the matrix and its stack.
#include "graphics/graphics.h"

#include <cmath>

#include "host/game.h"

gxtkGraphics* rk_graphics_device = nullptr;
gxtkGraphics* rk_graphics_renderDevice = nullptr;
c_GraphicsContext* rk_graphics_context = nullptr;

namespace {

constexpr int kInitialStackFloats = 192;

// Truncation toward zero that stays defined for any float (NaN and
// out-of-range values give 0).
int TruncInt(float value) {
  if (!(value > -2147483648.0f && value < 2147483648.0f)) return 0;
  return static_cast<int>(value);
}

void StoreMatrix(c_GraphicsContext* c, float ix, float iy, float jx, float jy, float tx,
                 float ty) {
  c->m_Ix = ix;
  c->m_Iy = iy;
  c->m_Jx = jx;
  c->m_Jy = jy;
  c->m_Tx = tx;
  c->m_Ty = ty;
  c->m_Transformed = !(ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0);
  c->m_MatrixChanged = true;
}

}  // namespace

c_GraphicsContext* c_GraphicsContext::m_new() {
  gc_assign(m_MatrixStack, Array<float>(kInitialStackFloats));
  return this;
}

void c_GraphicsContext::mark() {
  gc_push_grey(m_DefaultFont);
  gc_push_grey(m_Font);
  gc_mark_array(m_MatrixStack);
}

int c_GraphicsContext::p_Validate() {
  if (m_MatrixChanged && rk_graphics_renderDevice) {
    rk_graphics_renderDevice->SetMatrix(m_Ix, m_Iy, m_Jx, m_Jy, m_Tx, m_Ty);
    m_MatrixChanged = false;
  }
  return 0;
}

int rk_graphics_SetGraphicsDevice(gxtkGraphics* device) {
  gc_assign(rk_graphics_device, device);
  return 0;
}

int rk_graphics_BeginRender() {
  gc_assign(rk_graphics_renderDevice, rk_graphics_device);
  c_GraphicsContext* c = rk_graphics_context;
  c->m_MatrixDepth = 0;
  StoreMatrix(c, 1, 0, 0, 1, 0, 0);
  rk_graphics_SetColor(255, 255, 255);
  rk_graphics_SetAlpha(1);
  rk_graphics_SetBlend(0);
  // The device size as the host reports it, the size the delegate keeps current.
  int deviceWidth = 0, deviceHeight = 0;
  if (RkGame::_game) {
    deviceWidth = RkGame::_game->GetDeviceWidth();
    deviceHeight = RkGame::_game->GetDeviceHeight();
  } else if (rk_graphics_device) {
    deviceWidth = rk_graphics_device->Width();
    deviceHeight = rk_graphics_device->Height();
  }
  rk_graphics_SetScissor(0, 0, static_cast<float>(deviceWidth), static_cast<float>(deviceHeight));
  return 0;
}

int rk_graphics_EndRender() {
  gc_assign(rk_graphics_renderDevice, nullptr);
  return 0;
}

int rk_graphics_ReleaseTextures() {
  gxtkSurface::ReleaseAll();
  return 0;
}

int rk_graphics_SetColor(float r, float g, float b) {
  c_GraphicsContext* c = rk_graphics_context;
  c->m_ColorR = r;
  c->m_ColorG = g;
  c->m_ColorB = b;
  if (rk_graphics_renderDevice) rk_graphics_renderDevice->SetColor(r, g, b);
  return 0;
}

int rk_graphics_SetAlpha(float alpha) {
  rk_graphics_context->m_Alpha = alpha;
  if (rk_graphics_renderDevice) rk_graphics_renderDevice->SetAlpha(alpha);
  return 0;
}

int rk_graphics_SetBlend(int blend) {
  rk_graphics_context->m_Blend = blend;
  if (rk_graphics_renderDevice) rk_graphics_renderDevice->SetBlend(blend);
  return 0;
}

std::vector<int> rk_graphics_ReadWindow() {
  gxtkGraphics* device = rk_graphics_renderDevice;
  if (!device || device->Width() <= 0 || device->Height() <= 0) return {};
  Array<int> pixels(device->Width() * device->Height());
  device->ReadPixels(pixels, 0, 0, device->Width(), device->Height(), 0, device->Width());
  return std::vector<int>(pixels.Data(), pixels.Data() + pixels.Length());
}

int rk_graphics_SetScissor(float x, float y, float width, float height) {
  c_GraphicsContext* c = rk_graphics_context;
  c->m_ScissorX = x;
  c->m_ScissorY = y;
  c->m_ScissorWidth = width;
  c->m_ScissorHeight = height;
  if (rk_graphics_renderDevice) {
    rk_graphics_renderDevice->SetScissor(TruncInt(x), TruncInt(y), TruncInt(width),
                                         TruncInt(height));
  }
  return 0;
}

int rk_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
  StoreMatrix(rk_graphics_context, ix, iy, jx, jy, tx, ty);
  return 0;
}

int rk_graphics_SetMatrix2(Array<float> m) {
  if (m.Length() < 6) return 0;
  return rk_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
}

int rk_graphics_Transform(float ix2, float iy2, float jx2, float jy2, float tx2, float ty2) {
  c_GraphicsContext* c = rk_graphics_context;
  StoreMatrix(c, ix2 * c->m_Ix + iy2 * c->m_Jx, ix2 * c->m_Iy + iy2 * c->m_Jy,
              jx2 * c->m_Ix + jy2 * c->m_Jx, jx2 * c->m_Iy + jy2 * c->m_Jy,
              tx2 * c->m_Ix + ty2 * c->m_Jx + c->m_Tx, tx2 * c->m_Iy + ty2 * c->m_Jy + c->m_Ty);
  return 0;
}

int rk_graphics_Transform2(Array<float> m) {
  if (m.Length() < 6) return 0;
  return rk_graphics_Transform(m[0], m[1], m[2], m[3], m[4], m[5]);
}

int rk_graphics_Translate(float x, float y) { return rk_graphics_Transform(1, 0, 0, 1, x, y); }

int rk_graphics_Rotate(float degrees) {
  const double a = degrees * 0.017453292;
  const float cosA = static_cast<float>(std::cos(a));
  const float sinA = static_cast<float>(std::sin(a));
  return rk_graphics_Transform(cosA, -sinA, sinA, cosA, 0, 0);
}

int rk_graphics_Scale(float x, float y) { return rk_graphics_Transform(x, 0, 0, y, 0, 0); }

int rk_graphics_PushMatrix() {
  c_GraphicsContext* c = rk_graphics_context;
  const int length = c->m_MatrixStack.Length();
  if (c->m_MatrixDepth + 6 > length) {
    // Doubling keeps the stack from ever overflowing.
    gc_assign(c->m_MatrixStack, c->m_MatrixStack.Resize(length ? length * 2 : kInitialStackFloats));
  }
  float* top = c->m_MatrixStack.Data() + c->m_MatrixDepth;
  const float saved[6] = {c->m_Ix, c->m_Iy, c->m_Jx, c->m_Jy, c->m_Tx, c->m_Ty};
  for (int i = 0; i < 6; ++i) top[i] = saved[i];
  c->m_MatrixDepth += 6;
  return 0;
}

int rk_graphics_PopMatrix() {
  c_GraphicsContext* c = rk_graphics_context;
  // A pop without a matching push is ignored.
  if (c->m_MatrixDepth < 6) return 0;
  c->m_MatrixDepth -= 6;
  const float* top = c->m_MatrixStack.Data() + c->m_MatrixDepth;
  StoreMatrix(c, top[0], top[1], top[2], top[3], top[4], top[5]);
  return 0;
}
