// Coverage masks: anti-aliased rasterising of paths and strokes, and mask operations.
#include "tools/mask.h"

#include <algorithm>
#include <cmath>

namespace art {

float Mask::sum() const {
  double s = 0;
  for (float v : a) s += v;
  return static_cast<float>(s);
}

namespace {

// Signed-area accumulation rasteriser: each edge adds the area it sweeps to the
// cells it crosses; a running sum along each row then gives the coverage.
class Accumulator {
 public:
  Accumulator(int w, int h) : m_w(w), m_h(h), m_acc(static_cast<size_t>(w + 2) * h, 0.0f) {}

  void line(Vec2 p0, Vec2 p1) {
    // Split at the left and right borders; parts outside are pushed onto them,
    // which keeps the area to their right exact.
    float xs[2] = {0.0f, static_cast<float>(m_w)};
    Vec2 pts[4] = {p0};
    int n = 1;
    for (float bx : xs) {
      if ((p0.x - bx) * (p1.x - bx) < 0) {
        float t = (bx - p0.x) / (p1.x - p0.x);
        pts[n++] = lerp(p0, p1, t);
      }
    }
    if (n == 3 && (pts[1].x - p0.x) * (pts[1].x - p0.x) > (pts[2].x - p0.x) * (pts[2].x - p0.x))
      std::swap(pts[1], pts[2]);
    pts[n++] = p1;
    for (int i = 0; i + 1 < n; ++i) {
      Vec2 a = pts[i], b = pts[i + 1];
      a.x = std::clamp(a.x, 0.0f, static_cast<float>(m_w));
      b.x = std::clamp(b.x, 0.0f, static_cast<float>(m_w));
      clippedLine(a, b);
    }
  }

  Mask resolve() const {
    Mask m(m_w, m_h);
    for (int y = 0; y < m_h; ++y) {
      float acc = 0;
      const float* row = &m_acc[static_cast<size_t>(y) * (m_w + 2)];
      for (int x = 0; x < m_w; ++x) {
        acc += row[x];
        m.a[static_cast<size_t>(y) * m_w + x] = std::min(1.0f, std::fabs(acc));
      }
    }
    return m;
  }

 private:
  void add(int y, int x, float v) {
    if (x < 0) x = 0;
    if (x > m_w + 1) return;
    m_acc[static_cast<size_t>(y) * (m_w + 2) + x] += v;
  }

  void clippedLine(Vec2 p0, Vec2 p1) {
    if (std::fabs(p0.y - p1.y) <= 1e-7f) return;
    float dir = 1.0f;
    if (p0.y > p1.y) {
      std::swap(p0, p1);
      dir = -1.0f;
    }
    float dxdy = (p1.x - p0.x) / (p1.y - p0.y);
    float x = p0.x;
    if (p0.y < 0) x -= p0.y * dxdy;
    int yStart = std::max(0, static_cast<int>(std::floor(p0.y)));
    int yEnd = std::min(m_h, static_cast<int>(std::ceil(p1.y)));
    for (int y = yStart; y < yEnd; ++y) {
      float dy = std::min(static_cast<float>(y + 1), p1.y) - std::max(static_cast<float>(y), p0.y);
      float xnext = x + dxdy * dy;
      float d = dy * dir;
      float x0 = std::min(x, xnext), x1 = std::max(x, xnext);
      float x0floor = std::floor(x0);
      int x0i = static_cast<int>(x0floor);
      float x1ceil = std::ceil(x1);
      int x1i = static_cast<int>(x1ceil);
      if (x1i <= x0i + 1) {
        float xmf = 0.5f * (x + xnext) - x0floor;
        add(y, x0i, d - d * xmf);
        add(y, x0i + 1, d * xmf);
      } else {
        float s = 1.0f / (x1 - x0);
        float x0f = x0 - x0floor;
        float a0 = 0.5f * s * (1.0f - x0f) * (1.0f - x0f);
        float x1f = x1 - x1ceil + 1.0f;
        float am = 0.5f * s * x1f * x1f;
        add(y, x0i, d * a0);
        if (x1i == x0i + 2) {
          add(y, x0i + 1, d * (1.0f - a0 - am));
        } else {
          float a1 = s * (1.5f - x0f);
          add(y, x0i + 1, d * (a1 - a0));
          for (int xi = x0i + 2; xi < x1i - 1; ++xi) add(y, xi, d * s);
          float a2 = a1 + (x1i - x0i - 3) * s;
          add(y, x1i - 1, d * (1.0f - a2 - am));
        }
        add(y, x1i, d * am);
      }
      x = xnext;
    }
  }

  int m_w, m_h;
  std::vector<float> m_acc;
};

float segmentDistance(Vec2 p, Vec2 a, Vec2 b) {
  Vec2 ab = b - a, ap = p - a;
  float len2 = ab.x * ab.x + ab.y * ab.y;
  float t = len2 > 0 ? std::clamp((ap.x * ab.x + ap.y * ab.y) / len2, 0.0f, 1.0f) : 0.0f;
  return length(p - (a + ab * t));
}

// Drops points that lie within `tolerance` of the chord that would replace
// them: curves are flattened finely, but a thick stroke needs far fewer edges.
std::vector<Vec2> simplified(const std::vector<Vec2>& pts, float tolerance) {
  if (pts.size() < 3) return pts;
  std::vector<Vec2> out{pts[0]};
  size_t anchor = 0;
  for (size_t j = 2; j < pts.size(); ++j) {
    bool fits = true;
    for (size_t k = anchor + 1; k < j && fits; ++k) fits = segmentDistance(pts[k], pts[anchor], pts[j]) <= tolerance;
    if (!fits || j - anchor > 64) {
      anchor = j - 1;
      out.push_back(pts[anchor]);
    }
  }
  out.push_back(pts.back());
  return out;
}

// A box of 2r + 1 full taps plus a tap of weight f at each end.
struct Box {
  int r;
  float f;
};

// The box whose variance is exactly `variance` (pixels squared).
Box boxFor(float variance) {
  auto full = [](int r) { return r * (r + 1) * (2.0f * r + 1) / 3.0f / (2 * r + 1); };
  int r = 0;
  while (full(r + 1) <= variance) ++r;
  float sumSquares = r * (r + 1) * (2.0f * r + 1) / 3.0f;  // sum of k^2 over -r..r
  float f = (variance * (2 * r + 1) - sumSquares) / (2.0f * (r + 1) * (r + 1) - 2 * variance);
  return {r, std::clamp(f, 0.0f, 1.0f)};
}

// One box pass over n values, in place, using `prefix` as scratch.
void boxPass(float* line, int n, Box box, std::vector<double>& prefix) {
  int r = box.r;
  float f = box.f;
  prefix.assign(n + 1, 0.0);
  for (int i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + line[i];
  auto sample = [&](int i) { return (i < 0 || i >= n) ? 0.0 : prefix[i + 1] - prefix[i]; };
  double norm = 1.0 / (2 * r + 1 + 2 * f);
  for (int i = 0; i < n; ++i) {
    int lo = std::max(i - r, 0), hi = std::min(i + r, n - 1);
    double s = prefix[hi + 1] - prefix[lo] + f * (sample(i - r - 1) + sample(i + r + 1));
    line[i] = static_cast<float>(s * norm);
  }
}

}  // namespace

Mask fillMask(const Path& path, int w, int h, float scale) {
  Accumulator acc(w, h);
  for (const auto& contour : path.contours()) {
    size_t n = contour.size();
    for (size_t i = 0; i < n; ++i) acc.line(contour[i] * scale, contour[(i + 1) % n] * scale);
  }
  return acc.resolve();
}

Mask strokeMask(const Path& path, float radius, int w, int h, float scale, bool closed) {
  Mask m(w, h);
  float r = radius * scale;
  for (const auto& original : path.contours()) {
    std::vector<Vec2> contour;
    for (Vec2 p : original) contour.push_back(p * scale);
    contour = simplified(contour, 0.04f);
    size_t n = contour.size();
    size_t edges = closed ? n : (n > 0 ? n - 1 : 0);
    if (n == 1) edges = 1;
    for (size_t i = 0; i < edges; ++i) {
      Vec2 a = contour[i], b = contour[(i + 1) % n];
      int x0 = std::max(0, static_cast<int>(std::floor(std::min(a.x, b.x) - r - 1)));
      int x1 = std::min(w - 1, static_cast<int>(std::ceil(std::max(a.x, b.x) + r + 1)));
      int y0 = std::max(0, static_cast<int>(std::floor(std::min(a.y, b.y) - r - 1)));
      int y1 = std::min(h - 1, static_cast<int>(std::ceil(std::max(a.y, b.y) + r + 1)));
      for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
          float d = segmentDistance({x + 0.5f, y + 0.5f}, a, b);
          float c = std::clamp(r - d + 0.5f, 0.0f, 1.0f);
          float& dst = m.a[static_cast<size_t>(y) * w + x];
          if (c > dst) dst = c;
        }
    }
  }
  return m;
}

Mask unite(const Mask& a, const Mask& b) {
  Mask m = a;
  for (size_t i = 0; i < m.a.size(); ++i) m.a[i] = std::max(a.a[i], b.a[i]);
  return m;
}
Mask intersect(const Mask& a, const Mask& b) {
  Mask m = a;
  for (size_t i = 0; i < m.a.size(); ++i) m.a[i] = a.a[i] * b.a[i];
  return m;
}
Mask cut(const Mask& a, const Mask& b) {
  Mask m = a;
  for (size_t i = 0; i < m.a.size(); ++i) m.a[i] = a.a[i] * (1.0f - b.a[i]);
  return m;
}
Mask scaled(const Mask& a, float k) {
  Mask m = a;
  for (float& v : m.a) v = std::clamp(v * k, 0.0f, 1.0f);
  return m;
}

Mask shifted(const Mask& src, float dx, float dy) {
  // Scatter each covered pixel onto the four it lands between (bilinear).
  Mask m(src.w, src.h);
  float fx = std::floor(dx), fy = std::floor(dy);
  float tx = dx - fx, ty = dy - fy;
  int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  const float weights[4] = {(1 - tx) * (1 - ty), tx * (1 - ty), (1 - tx) * ty, tx * ty};
  for (int y = 0; y < src.h; ++y)
    for (int x = 0; x < src.w; ++x) {
      float v = src.a[static_cast<size_t>(y) * src.w + x];
      if (v == 0) continue;
      for (int k = 0; k < 4; ++k) {
        int tx2 = x + ix + (k & 1), ty2 = y + iy + (k >> 1);
        if (tx2 >= 0 && ty2 >= 0 && tx2 < src.w && ty2 < src.h) m.a[static_cast<size_t>(ty2) * src.w + tx2] += v * weights[k];
      }
    }
  return m;
}

Mask blurred(const Mask& src, float sigma) {
  if (sigma <= 0.05f) return src;
  // three passes, each with a third of the variance
  Box box = boxFor(sigma * sigma / 3.0f);
  // Only the covered area, widened by how far three passes can spread it.
  int x0 = src.w, y0 = src.h, x1 = -1, y1 = -1;
  for (int y = 0; y < src.h; ++y)
    for (int x = 0; x < src.w; ++x)
      if (src.a[static_cast<size_t>(y) * src.w + x] > 0) {
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
      }
  if (x1 < 0) return src;
  int pad = 3 * (box.r + 1) + 1;
  x0 = std::max(0, x0 - pad);
  y0 = std::max(0, y0 - pad);
  x1 = std::min(src.w - 1, x1 + pad);
  y1 = std::min(src.h - 1, y1 + pad);
  // Rows in place, then columns through a transposed copy (kinder to the cache).
  Mask m = src;
  std::vector<double> prefix;
  int bw = x1 - x0 + 1, bh = y1 - y0 + 1;
  for (int y = y0; y <= y1; ++y)
    for (int pass = 0; pass < 3; ++pass) boxPass(&m.a[static_cast<size_t>(y) * m.w + x0], bw, box, prefix);
  std::vector<float> columns(static_cast<size_t>(bw) * bh);
  for (int y = 0; y < bh; ++y)
    for (int x = 0; x < bw; ++x) columns[static_cast<size_t>(x) * bh + y] = m.a[static_cast<size_t>(y0 + y) * m.w + x0 + x];
  for (int x = 0; x < bw; ++x)
    for (int pass = 0; pass < 3; ++pass) boxPass(&columns[static_cast<size_t>(x) * bh], bh, box, prefix);
  for (int y = 0; y < bh; ++y)
    for (int x = 0; x < bw; ++x) m.a[static_cast<size_t>(y0 + y) * m.w + x0 + x] = columns[static_cast<size_t>(x) * bh + y];
  return m;
}

}  // namespace art
