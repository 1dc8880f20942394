// Points, affine transforms and flattened vector paths in level-1 pixel units.
#pragma once
#include <cstdint>
#include <vector>

namespace art {

struct Vec2 {
  float x = 0, y = 0;
};
inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float k) { return {a.x * k, a.y * k}; }
Vec2 lerp(Vec2 a, Vec2 b, float t);
float length(Vec2 v);

// x' = a*x + c*y + e, y' = b*x + d*y + f
struct Affine {
  float a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
  static Affine translate(float x, float y);
  static Affine scale(float sx, float sy);
  static Affine rotate(float degrees);  // clockwise on screen (y points down)
  static Affine about(Vec2 centre, const Affine& inner);  // inner applied around centre
  Vec2 apply(Vec2 p) const;
  Affine then(const Affine& next) const;  // this first, then next
};

// A shape as polygons (contours), each closed from its last point back to its
// first; moveTo starts the next one. Curves are flattened when added, finely
// enough that the same polygons serve every detail level.
class Path {
 public:
  Path& moveTo(Vec2 p);
  Path& lineTo(Vec2 p);
  Path& quadTo(Vec2 control, Vec2 to);
  Path& cubicTo(Vec2 c1, Vec2 c2, Vec2 to);
  // Arc around centre from angle a0 to a1 (degrees, 0 = right, clockwise on screen).
  Path& arcTo(Vec2 centre, float radius, float a0, float a1);
  Path& add(const Path& other);
  Path transformed(const Affine& m) const;
  Path reversed() const;  // every contour in the opposite direction (holes)

  struct Box {
    float x0, y0, x1, y1;
    float width() const { return x1 - x0; }
    float height() const { return y1 - y0; }
    Vec2 centre() const { return {(x0 + x1) * 0.5f, (y0 + y1) * 0.5f}; }
  };
  Box bounds() const;  // all zero for an empty path

  const std::vector<std::vector<Vec2>>& contours() const { return m_contours; }
  bool empty() const { return m_contours.empty(); }

 private:
  std::vector<std::vector<Vec2>> m_contours;
};

// Small deterministic generator (xorshift32) for scattered details.
class Rng {
 public:
  explicit Rng(uint32_t seed) : m_state(seed ? seed : 0x9e3779b9u) {}
  uint32_t next();
  float uniform();                   // [0, 1)
  float range(float lo, float hi);   // [lo, hi)

 private:
  uint32_t m_state;
};

}  // namespace art
