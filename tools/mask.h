// Coverage masks: anti-aliased rasterising of paths and strokes, and mask operations.
#pragma once
#include <cstddef>
#include <vector>

#include "tools/geometry.h"

namespace art {

struct Mask {
  int w = 0, h = 0;
  std::vector<float> a;  // coverage 0..1, rows top to bottom

  Mask() = default;
  Mask(int width, int height) : w(width), h(height), a(static_cast<size_t>(width) * height, 0.0f) {}
  float at(int x, int y) const { return (x < 0 || y < 0 || x >= w || y >= h) ? 0.0f : a[y * w + x]; }
  float sum() const;
};

// Exact area coverage of the path's polygons (non-zero, holes by reversed
// contours), with path coordinates multiplied by `scale`.
Mask fillMask(const Path& path, int w, int h, float scale);
// Round-capped, round-joined band of half-width `radius` along every contour
// (closed contours include their closing edge; `closed` false leaves it open).
Mask strokeMask(const Path& path, float radius, int w, int h, float scale, bool closed = true);

Mask unite(const Mask& a, const Mask& b);     // max
Mask intersect(const Mask& a, const Mask& b); // product
Mask cut(const Mask& a, const Mask& b);       // a minus b
Mask scaled(const Mask& a, float k);
// Content moved by (dx, dy) pixels, bilinear for fractional moves.
Mask shifted(const Mask& a, float dx, float dy);
// Gaussian-like blur: three box passes each way, sigma in pixels.
Mask blurred(const Mask& a, float sigma);

}  // namespace art
