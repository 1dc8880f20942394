// graphics/renderer_draw.cpp: the device's drawing operations, each turning
// one primitive into transformed, coloured vertices in the batch.
#include <cmath>

#include "graphics/renderer.h"

int gxtkGraphics::DrawPoint(float x, float y) {
  gxtkVertex* v = Reserve(1, 1, nullptr);
  Put(v, x, y);
  v->x += 0.5f;
  v->y += 0.5f;
  return 0;
}

int gxtkGraphics::DrawLine(float x1, float y1, float x2, float y2) {
  gxtkVertex* v = Reserve(2, 2, nullptr);
  Put(&v[0], x1, y1);
  Put(&v[1], x2, y2);
  for (int i = 0; i < 2; ++i) {
    v[i].x += 0.5f;
    v[i].y += 0.5f;
  }
  return 0;
}

int gxtkGraphics::DrawRect(float x, float y, float w, float h) {
  // An opaque rectangle over the whole window gives the pixels a clear gives,
  // and a clear costs a software rasteriser a fraction of a full-window fill.
  const bool opaque = (color >> 24) == 0xff && blendMode == 0;
  if (opaque && !transformed && x <= 0 && y <= 0 && x + w >= width && y + h >= height) {
    auto channel = [this](int shift) { return static_cast<float>(color >> shift & 0xff) / 255.0f; };
    ClearTo(channel(0), channel(8), channel(16));
    return 0;
  }
  gxtkVertex* v = Reserve(4, 4, nullptr);
  Put(&v[0], x, y);
  Put(&v[1], x + w, y);
  Put(&v[2], x + w, y + h);
  Put(&v[3], x, y + h);
  return 0;
}

int gxtkGraphics::OvalSegments(float rx, float ry) const {
  float s;
  if (transformed) {
    // The lengths of the two radii after transformation.
    s = std::sqrt((rx * ix) * (rx * ix) + (rx * iy) * (rx * iy)) +
        std::sqrt((ry * jx) * (ry * jx) + (ry * jy) * (ry * jy));
  } else {
    s = std::fabs(std::trunc(rx)) + std::fabs(std::trunc(ry));
  }
  if (!(s >= 12)) return 12;  // also a NaN size
  if (s > kBatchVertices) return kBatchVertices;
  return static_cast<int>(s) & ~3;
}

int gxtkGraphics::DrawOval(float x, float y, float w, float h) {
  const float rx = w * 0.5f;
  const float ry = h * 0.5f;
  const float cx = x + rx;
  const float cy = y + ry;
  const int n = OvalSegments(rx, ry);
  gxtkVertex* v = Reserve(n, n, nullptr);
  for (int i = 0; i < n; ++i) {
    const float theta = i * 6.2831855f / n;
    Put(&v[i], cx + rx * std::cos(theta), cy - ry * std::sin(theta));
  }
  return 0;
}

int gxtkGraphics::DrawPoly(Array<float> xy) {
  const int n = xy.Length() / 2;
  if (n < 1 || n > kBatchVertices) return 0;
  gxtkVertex* v = Reserve(n, n, nullptr);
  const float* in = xy.Data();
  for (int k = 0; k < n; ++k) Put(&v[k], in[2 * k], in[2 * k + 1]);
  return 0;
}

int gxtkGraphics::DrawPoly2(Array<float> xyuv, gxtkSurface* surface, int srcX, int srcY) {
  const int n = xyuv.Length() / 4;
  if (!surface || n < 1 || n > kBatchVertices) return 0;
  surface->Prepare();
  gxtkVertex* v = Reserve(n, n, surface);
  const float* in = xyuv.Data();
  for (int k = 0; k < n; ++k, in += 4) {
    Put(&v[k], in[0], in[1]);
    v[k].u = (srcX + in[2]) * surface->texScaleU;
    v[k].v = (srcY + in[3]) * surface->texScaleV;
  }
  return 0;
}

int gxtkGraphics::DrawSurface(gxtkSurface* surface, float x, float y) {
  if (!surface) return 0;
  return DrawSurface2(surface, x, y, 0, 0, surface->Width(), surface->Height());
}

int gxtkGraphics::DrawSurface2(gxtkSurface* surface, float x, float y, int srcX, int srcY,
                               int srcW, int srcH) {
  if (!surface) return 0;
  // A frame of a sheet cut into cells is drawn from its cell's texture.
  const int cell = surface->CellOf(srcX, srcY, srcW, srcH);
  float scaleU, scaleV;
  if (cell >= 0) {
    surface->PrepareCell(cell);
    srcX -= surface->CellX(cell);
    srcY -= surface->CellY(cell);
    scaleU = surface->cellScaleU;
    scaleV = surface->cellScaleV;
  } else {
    surface->Prepare();
    scaleU = surface->texScaleU;
    scaleV = surface->texScaleV;
  }
  const float uL = srcX * scaleU;
  const float vT = srcY * scaleV;
  const float uR = (srcX + srcW) * scaleU;
  const float vB = (srcY + srcH) * scaleV;
  gxtkVertex* v = Reserve(4, 4, surface, cell);
  const float corners[4][4] = {
      {x, y, uL, vT}, {x + srcW, y, uR, vT}, {x + srcW, y + srcH, uR, vB}, {x, y + srcH, uL, vB}};
  for (int i = 0; i < 4; ++i) {
    Put(&v[i], corners[i][0], corners[i][1]);
    v[i].u = corners[i][2];
    v[i].v = corners[i][3];
  }
  return 0;
}
