// Path builders for the basic shapes the art is made of.
#include "tools/shapes.h"

#include <cmath>

namespace art {

namespace {
constexpr float kPi = 3.14159265358979f;
Vec2 polar(Vec2 c, float r, float degreesFromUp) {
  float a = degreesFromUp * kPi / 180.0f;
  return {c.x + r * std::sin(a), c.y - r * std::cos(a)};
}
}  // namespace

Path circle(Vec2 c, float r) { return ellipse(c, r, r); }

Path ellipse(Vec2 c, float rx, float ry) {
  Path p;
  int n = static_cast<int>(std::ceil(2 * kPi * std::fmax(rx, ry) / 0.2f));
  if (n < 24) n = 24;
  for (int i = 0; i < n; ++i) {
    float a = 2 * kPi * i / n;
    Vec2 q{c.x + rx * std::cos(a), c.y + ry * std::sin(a)};
    if (i == 0) p.moveTo(q); else p.lineTo(q);
  }
  return p;
}

Path rect(float x, float y, float w, float h) {
  Path p;
  p.moveTo({x, y}).lineTo({x + w, y}).lineTo({x + w, y + h}).lineTo({x, y + h});
  return p;
}

Path roundRect(float x, float y, float w, float h, float r) {
  r = std::fmin(r, std::fmin(w, h) * 0.5f);
  if (r <= 0) return rect(x, y, w, h);
  Path p;
  p.moveTo({x + r, y});
  p.arcTo({x + w - r, y + r}, r, -90, 0);
  p.arcTo({x + w - r, y + h - r}, r, 0, 90);
  p.arcTo({x + r, y + h - r}, r, 90, 180);
  p.arcTo({x + r, y + r}, r, 180, 270);
  return p;
}

Path roundRectCentred(Vec2 c, float w, float h, float r) {
  return roundRect(c.x - w * 0.5f, c.y - h * 0.5f, w, h, r);
}

Path ring(Vec2 c, float outer, float inner) {
  Path p = circle(c, outer);
  p.add(circle(c, inner).reversed());
  return p;
}

Path polygon(Vec2 c, float r, int n, float turn) {
  Path p;
  for (int i = 0; i < n; ++i) {
    Vec2 q = polar(c, r, turn + 360.0f * i / n);
    if (i == 0) p.moveTo(q); else p.lineTo(q);
  }
  return p;
}

Path star(Vec2 c, float outer, float inner, int points, float turn) {
  Path p;
  for (int i = 0; i < points * 2; ++i) {
    Vec2 q = polar(c, (i % 2) ? inner : outer, turn + 180.0f * i / points);
    if (i == 0) p.moveTo(q); else p.lineTo(q);
  }
  return p;
}

Path heart(Vec2 c, float s) {
  // Two lobes and a point, drawn as cubic curves in a unit box scaled by s.
  auto at = [&](float x, float y) { return Vec2{c.x + x * s, c.y + y * s}; };
  Path p;
  p.moveTo(at(0, 0.42f));
  p.cubicTo(at(-0.25f, 0.22f), at(-0.5f, 0.05f), at(-0.5f, -0.17f));
  p.cubicTo(at(-0.5f, -0.38f), at(-0.33f, -0.5f), at(-0.25f, -0.5f));
  p.cubicTo(at(-0.1f, -0.5f), at(-0.02f, -0.42f), at(0, -0.3f));
  p.cubicTo(at(0.02f, -0.42f), at(0.1f, -0.5f), at(0.25f, -0.5f));
  p.cubicTo(at(0.33f, -0.5f), at(0.5f, -0.38f), at(0.5f, -0.17f));
  p.cubicTo(at(0.5f, 0.05f), at(0.25f, 0.22f), at(0, 0.42f));
  return p;
}

Path gear(Vec2 c, float outer, float root, int teeth, float turn) {
  // Per tooth, in angular order: root arc, flank up, top arc, flank down.
  const float marks[][2] = {{-0.5f, root}, {-0.24f, root}, {-0.13f, outer}, {0.13f, outer},
                            {0.24f, root}, {0.5f, root}};
  float step = 360.0f / teeth;
  Path p;
  for (int i = 0; i < teeth; ++i) {
    float a = turn + step * i;
    for (int k = 0; k < 6; ++k) {
      bool arc = (k % 2 == 1);  // segment ending here follows a circle
      int sub = arc ? 8 : 1;
      float fromT = k == 0 ? marks[0][0] : marks[k - 1][0];
      for (int j = (k == 0 ? 0 : 1); j <= sub; ++j) {
        if (k == 0 && i > 0) break;  // the previous tooth ended here
        float t = fromT + (marks[k][0] - fromT) * j / sub;
        Vec2 q = polar(c, marks[k][1], a + t * step);
        if (i == 0 && k == 0) p.moveTo(q); else p.lineTo(q);
      }
    }
  }
  return p;
}

Path triangle(Vec2 a, Vec2 b, Vec2 c) {
  Path p;
  p.moveTo(a).lineTo(b).lineTo(c);
  return p;
}

Path capsule(Vec2 a, Vec2 b, float r) {
  Vec2 d = b - a;
  float angle = std::atan2(d.y, d.x) * 180.0f / kPi;
  Path p;
  p.arcTo(b, r, angle - 90, angle + 90);
  p.arcTo(a, r, angle + 90, angle + 270);
  return p;
}

Path arrowHead(Vec2 tip, float len, float width, float dir) {
  Vec2 base = polar(tip, len, dir + 180);
  Vec2 side = polar({0, 0}, width * 0.5f, dir + 90);
  return triangle(tip, base + side, base - side);
}

}  // namespace art
