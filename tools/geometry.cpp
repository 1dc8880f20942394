// Transforms, curve flattening and the random source of the art generator.
#include "tools/geometry.h"

#include <cmath>

namespace art {

namespace {
constexpr float kPi = 3.14159265358979f;
// Chord length used to flatten curves, in level-1 pixels (a quarter pixel at the
// largest level is finer than the eye can see).
constexpr float kFlatStep = 0.2f;

int segmentsFor(float approxLength) {
  int n = static_cast<int>(std::ceil(approxLength / kFlatStep));
  return n < 4 ? 4 : (n > 2000 ? 2000 : n);
}
}  // namespace

Vec2 lerp(Vec2 a, Vec2 b, float t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }
float length(Vec2 v) { return std::sqrt(v.x * v.x + v.y * v.y); }

Affine Affine::translate(float x, float y) { return {1, 0, 0, 1, x, y}; }
Affine Affine::scale(float sx, float sy) { return {sx, 0, 0, sy, 0, 0}; }
Affine Affine::rotate(float degrees) {
  float r = degrees * kPi / 180.0f, cs = std::cos(r), sn = std::sin(r);
  return {cs, sn, -sn, cs, 0, 0};
}
Affine Affine::about(Vec2 centre, const Affine& inner) {
  return translate(-centre.x, -centre.y).then(inner).then(translate(centre.x, centre.y));
}
Vec2 Affine::apply(Vec2 p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
Affine Affine::then(const Affine& n) const {
  return {n.a * a + n.c * b, n.b * a + n.d * b, n.a * c + n.c * d,
          n.b * c + n.d * d, n.a * e + n.c * f + n.e, n.b * e + n.d * f + n.f};
}

Path& Path::moveTo(Vec2 p) {
  m_contours.push_back({p});
  return *this;
}
Path& Path::lineTo(Vec2 p) {
  if (m_contours.empty()) return moveTo(p);
  m_contours.back().push_back(p);
  return *this;
}
Path& Path::quadTo(Vec2 c, Vec2 to) {
  Vec2 from = m_contours.empty() ? c : m_contours.back().back();
  int n = segmentsFor(length(c - from) + length(to - c));
  for (int i = 1; i <= n; ++i) {
    float t = static_cast<float>(i) / n;
    lineTo(lerp(lerp(from, c, t), lerp(c, to, t), t));
  }
  return *this;
}
Path& Path::cubicTo(Vec2 c1, Vec2 c2, Vec2 to) {
  Vec2 from = m_contours.empty() ? c1 : m_contours.back().back();
  int n = segmentsFor(length(c1 - from) + length(c2 - c1) + length(to - c2));
  for (int i = 1; i <= n; ++i) {
    float t = static_cast<float>(i) / n;
    Vec2 ab = lerp(from, c1, t), bc = lerp(c1, c2, t), cd = lerp(c2, to, t);
    lineTo(lerp(lerp(ab, bc, t), lerp(bc, cd, t), t));
  }
  return *this;
}
Path& Path::arcTo(Vec2 centre, float radius, float a0, float a1) {
  int n = segmentsFor(std::fabs(a1 - a0) * kPi / 180.0f * radius);
  for (int i = 0; i <= n; ++i) {
    float a = (a0 + (a1 - a0) * i / n) * kPi / 180.0f;
    lineTo({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
  }
  return *this;
}
Path& Path::add(const Path& other) {
  m_contours.insert(m_contours.end(), other.m_contours.begin(), other.m_contours.end());
  return *this;
}
Path Path::transformed(const Affine& m) const {
  Path out = *this;
  for (auto& contour : out.m_contours)
    for (auto& p : contour) p = m.apply(p);
  return out;
}
Path Path::reversed() const {
  Path out = *this;
  for (auto& contour : out.m_contours) std::vector<Vec2>(contour.rbegin(), contour.rend()).swap(contour);
  return out;
}

Path::Box Path::bounds() const {
  bool first = true;
  Box b{0, 0, 0, 0};
  for (const auto& contour : m_contours)
    for (Vec2 p : contour) {
      if (first) {
        b = {p.x, p.y, p.x, p.y};
        first = false;
      }
      b.x0 = std::fmin(b.x0, p.x);
      b.y0 = std::fmin(b.y0, p.y);
      b.x1 = std::fmax(b.x1, p.x);
      b.y1 = std::fmax(b.y1, p.y);
    }
  return b;
}

uint32_t Rng::next() {
  m_state ^= m_state << 13;
  m_state ^= m_state >> 17;
  m_state ^= m_state << 5;
  return m_state;
}
float Rng::uniform() { return static_cast<float>(next() >> 8) / 16777216.0f; }
float Rng::range(float lo, float hi) { return lo + (hi - lo) * uniform(); }

}  // namespace art
