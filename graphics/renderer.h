// graphics/renderer.h: the graphics device, a 2D renderer that gathers every
// primitive into one client-side vertex batch over fixed-function OpenGL.
#pragma once

#include <cstdint>

#include "graphics/surface.h"
#include "runtime/array.h"

// One vertex as OpenGL reads it: position, texture coordinate, RGBA bytes.
struct gxtkVertex {
  float x;
  float y;
  float u;
  float v;
  uint32_t color;
};
static_assert(sizeof(gxtkVertex) == 20, "OpenGL reads vertices with a 20-byte stride");

class gxtkGraphics : public Object {
 public:
  static constexpr int kBatchVertices = 1024;
  static constexpr int kBatchQuads = kBatchVertices / 4;

  int width = 0;
  int height = 0;
  // Packed R | G << 8 | B << 16 | A << 24, colour premultiplied by alpha.
  uint32_t color = 0;
  float r = 0, g = 0, b = 0;
  float alpha = 0;
  // A point (x, y) maps to (x*ix + y*jx + tx, x*iy + y*jy + ty).
  float ix = 1, iy = 0, jx = 0, jy = 1, tx = 0, ty = 0;
  bool transformed = false;
  // The blend mode OpenGL holds this frame: 1 additive, 0 alpha blending.
  int blendMode = 0;
  gxtkVertex vertices[kBatchVertices];
  // Two triangles per quad: 4k, 4k+1, 4k+2, 4k, 4k+2, 4k+3.
  uint16_t quadIndices[kBatchQuads * 6];
  // Vertices per primitive: 1 points, 2 lines, 3 triangles, 4 quads, n >= 5 one fan of n.
  int batchType = 0;
  int batchCount = 0;
  gxtkSurface* batchSurface = nullptr;
  // The cell of batchSurface the batch draws from, or -1 for its whole texture.
  int batchCell = -1;

  gxtkGraphics();
  void mark() override;

  virtual int Width() { return width; }
  virtual int Height() { return height; }
  virtual int BeginRender();
  virtual void EndRender() {
    Flush();
    gxtkSurface::EndRender();
  }
  virtual void DiscardGraphics() {}
  virtual gxtkSurface* LoadSurface(String path);
  virtual gxtkSurface* CreateSurface(int surfaceWidth, int surfaceHeight);
  virtual bool LoadSurface__UNSAFE__(gxtkSurface* surface, String path);
  virtual int Cls(float red, float green, float blue);
  virtual int SetAlpha(float newAlpha);
  virtual int SetColor(float red, float green, float blue);
  virtual int SetBlend(int blend);
  virtual int SetScissor(int x, int y, int w, int h);
  virtual int SetMatrix(float newIx, float newIy, float newJx, float newJy, float newTx,
                        float newTy);
  virtual int DrawPoint(float x, float y);
  virtual int DrawRect(float x, float y, float w, float h);
  virtual int DrawLine(float x1, float y1, float x2, float y2);
  virtual int DrawOval(float x, float y, float w, float h);
  virtual int DrawPoly(Array<float> xy);
  virtual int DrawPoly2(Array<float> xyuv, gxtkSurface* surface, int srcX, int srcY);
  virtual int DrawSurface(gxtkSurface* surface, float x, float y);
  virtual int DrawSurface2(gxtkSurface* surface, float x, float y, int srcX, int srcY, int srcW,
                           int srcH);
  virtual int ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch);
  virtual int WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h,
                           int offset, int pitch);

  // Draws and empties the pending batch.
  void Flush();

  // From BeginRender: how many frames old the window's back buffer is (see
  // GlLayer::BackBufferAge; 0 on a new context or size). A frame may then
  // redraw only what changed over that many frames.
  int BackBufferAge() const { return backBufferAge; }

  // Segments of an oval with these radii under the current matrix: 12 to 1024, a multiple of 4.
  int OvalSegments(float rx, float ry) const;

 private:
  // Room for `count` vertices of primitive `type` from `surface`, flushing
  // first when the batch cannot take them.
  gxtkVertex* Reserve(int count, int type, gxtkSurface* surface, int cell = -1);
  // Stores a point, through the matrix when one is set, with the current colour.
  void Put(gxtkVertex* vertex, float x, float y) const {
    if (transformed) {
      vertex->x = x * ix + y * jx + tx;
      vertex->y = x * iy + y * jy + ty;
    } else {
      vertex->x = x;
      vertex->y = y;
    }
    vertex->color = color;
  }
  void PackColor();
  int backBufferAge = 0;
  // The context count and window size of the frame drawn last.
  int lastSeq = -1;
  int lastWidth = 0;
  int lastHeight = 0;
  // Clears the window (within the scissor) to an opaque colour, channels 0..1.
  void ClearTo(float red, float green, float blue);
};
