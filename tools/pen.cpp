// Drawing at a detail level and the house style of solid objects.
#include "tools/pen.h"

#include <algorithm>

namespace art {

Path Pen::toCanvas(const Path& p) const {
  return (m_origin.x == 0 && m_origin.y == 0) ? p : p.transformed(Affine::translate(-m_origin.x, -m_origin.y));
}
Mask Pen::shape(const Path& p) const { return fillMask(toCanvas(p), width(), height(), m_scale); }
Mask Pen::stroke(const Path& p, float radius, bool closed) const {
  return strokeMask(toCanvas(p), radius, width(), height(), m_scale, closed);
}
Mask Pen::grow(const Path& p, float radius) const { return unite(shape(p), stroke(p, radius)); }
Mask Pen::shrink(const Path& p, float radius) const { return cut(shape(p), stroke(p, radius)); }
Mask Pen::blur(const Mask& m, float sigma) const { return blurred(m, sigma * m_scale); }
Mask Pen::shift(const Mask& m, Vec2 o) const { return shifted(m, o.x * m_scale, o.y * m_scale); }

void Pen::paint(const Mask& m, const Paint& p, float opacity) { m_canvas.fill(m, p, m_scale, opacity, m_origin); }

void Pen::shadow(const Mask& m, Vec2 offset, float sigma, Color c, float opacity) {
  paint(blur(shift(m, offset), sigma), c, opacity);
}

void Pen::glow(const Mask& m, float sigma, Color c, float opacity) {
  // opacity above 1 makes the glow denser rather than wider
  paint(scaled(blur(m, sigma), std::max(opacity, 1.0f)), c, std::min(opacity, 1.0f));
}

Paint toned(const Path& p, Color c, float light, float dark) {
  Path::Box b = p.bounds();
  return Paint::linear({b.x0, b.y0}, {b.x0, b.y1}, lighter(c, light), darker(c, dark));
}

void drawSolid(Pen& pen, const Path& p, const Look& look) {
  Mask body = pen.shape(p);
  Mask outer = look.rimWidth > 0 ? unite(body, pen.stroke(p, look.rimWidth)) : body;
  if (look.shadowOpacity > 0) pen.shadow(outer, look.shadowOffset, look.shadowBlur, pal::kShadow, look.shadowOpacity);
  if (look.rimWidth > 0) pen.paint(outer, look.rim);
  pen.paint(body, look.fill);
  Path::Box b = p.bounds();
  if (look.shade > 0) {
    // the part of the body whose neighbour a little lower is outside it
    float d = 0.12f * b.height() + 0.5f;
    Mask lowEdge = pen.blur(cut(body, pen.shift(body, {0, -d})), 0.5f);
    pen.paint(intersect(lowEdge, body), pal::kShadow, look.shade);
  }
  if (look.gloss > 0) {
    // a bright rim of light along the upper edge, and a faint sheen below it
    float d = 0.07f * b.height() + 0.5f;
    Mask topEdge = pen.blur(cut(body, pen.shift(body, {0, d})), 0.4f);
    pen.paint(intersect(topEdge, body), pal::kWhite, look.gloss);
    float inset = 0.06f * std::min(b.width(), b.height()) + 0.4f;
    pen.paint(pen.shrink(p, inset), Paint::linear({0, b.y0}, {0, b.y0 + b.height() * 0.5f},
                                                  {{0, withAlpha(pal::kWhite, look.gloss * 0.4f)}, {1, withAlpha(pal::kWhite, 0)}}));
  }
}

Figure::Figure(const Pen& pen, float rim)
    : m_pen(pen), m_rim(rim), m_body(pen.width(), pen.height()), m_outer(pen.width(), pen.height()) {}

Figure& Figure::fill(const Path& p, float round) {
  m_body = unite(m_body, round > 0 ? m_pen.grow(p, round) : m_pen.shape(p));
  m_outer = unite(m_outer, m_pen.grow(p, round + m_rim));
  return *this;
}

Figure& Figure::line(const Path& p, float halfWidth, bool closed) {
  m_body = unite(m_body, m_pen.stroke(p, halfWidth, closed));
  m_outer = unite(m_outer, m_pen.stroke(p, halfWidth + m_rim, closed));
  return *this;
}

Figure& Figure::cutOut(const Path& p, float round) {
  // the ink rim runs round the inside of the hole too
  m_outer = cut(m_outer, round > 0 ? m_pen.grow(p, round) : m_pen.shape(p));
  m_body = cut(m_body, m_pen.grow(p, round + m_rim));
  return *this;
}

void Figure::draw(Pen& pen, const Paint& paint, float shadowOpacity) const {
  pen.shadow(m_outer, {0.5f, 1.0f}, 0.6f, pal::kShadow, shadowOpacity);
  pen.paint(m_outer, pal::kInk);
  pen.paint(m_body, paint);
  Mask topEdge = pen.blur(cut(m_body, pen.shift(m_body, {0, 1.0f})), 0.3f);
  pen.paint(intersect(topEdge, m_body), pal::kWhite, 0.5f);
}

}  // namespace art
