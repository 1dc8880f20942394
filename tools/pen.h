// Drawing at a detail level, and the house style of solid shapes.
#pragma once
#include <cmath>

#include "tools/canvas.h"
#include "tools/mask.h"
#include "tools/palette.h"

namespace art {

class Pen {
 public:
  // `origin` is the level-1 point at the canvas's top-left corner (whole units,
  // so it falls on a pixel edge at every level).
  Pen(Canvas& canvas, float scale, Vec2 origin = {0, 0}) : m_canvas(canvas), m_scale(scale), m_origin(origin) {}
  float scale() const { return m_scale; }
  Canvas& canvas() { return m_canvas; }
  int width() const { return m_canvas.width(); }
  int height() const { return m_canvas.height(); }

  Mask shape(const Path& p) const;
  // Band of half-width `radius` along the contours (round caps and joins).
  Mask stroke(const Path& p, float radius, bool closed = true) const;
  Mask grow(const Path& p, float radius) const;    // shape plus a band around it
  Mask shrink(const Path& p, float radius) const;  // shape minus the band
  Mask blur(const Mask& m, float sigma) const;
  Mask shift(const Mask& m, Vec2 offset) const;

  void paint(const Mask& m, const Paint& paint, float opacity = 1.0f);
  void paint(const Mask& m, Color c, float opacity = 1.0f) { paint(m, Paint::solid(c), opacity); }
  void fill(const Path& p, const Paint& paint, float opacity = 1.0f) { this->paint(shape(p), paint, opacity); }
  void fill(const Path& p, Color c, float opacity = 1.0f) { paint(shape(p), Paint::solid(c), opacity); }
  void shadow(const Mask& m, Vec2 offset, float sigma, Color c, float opacity);
  void glow(const Mask& m, float sigma, Color c, float opacity);

  // Runs `draw` on a pen over a small canvas covering `box` widened by
  // `margin`, then lays the result onto this one: many small things on a
  // large frame cost only their own area.
  template <class Draw>
  void local(Path::Box box, float margin, Draw draw);

 private:
  Path toCanvas(const Path& p) const;  // moved by the origin
  Canvas& m_canvas;
  float m_scale;
  Vec2 m_origin;
};

template <class Draw>
void Pen::local(Path::Box box, float margin, Draw draw) {
  float x0 = std::floor(box.x0 - margin), y0 = std::floor(box.y0 - margin);
  float x1 = std::ceil(box.x1 + margin), y1 = std::ceil(box.y1 + margin);
  Canvas part(static_cast<int>((x1 - x0) * m_scale), static_cast<int>((y1 - y0) * m_scale));
  Pen sub(part, m_scale, {x0, y0});
  draw(sub);
  m_canvas.drawAt(part, static_cast<int>(std::lround((x0 - m_origin.x) * m_scale)),
                  static_cast<int>(std::lround((y0 - m_origin.y) * m_scale)));
}

// The house look of a solid object.
struct Look {
  Paint fill = Paint::solid(pal::kWhite);
  Color rim = pal::kInk;
  float rimWidth = 1.2f;  // level-1 pixels outside the shape
  float shadowOpacity = 0.45f;
  Vec2 shadowOffset{0.8f, 1.6f};
  float shadowBlur = 1.2f;
  float gloss = 0.45f;  // white sheen over the upper part
  float shade = 0.22f;  // darkening along the lower edge
};

// A shape built from filled outlines and stroked lines, kept as its body and
// its body plus an ink rim, so that the rim goes round the whole union.
class Figure {
 public:
  Figure(const Pen& pen, float rim);
  Figure& fill(const Path& p, float round = 0);  // round > 0 grows it with round corners
  Figure& line(const Path& p, float halfWidth, bool closed = false);
  Figure& cutOut(const Path& p, float round = 0);  // a hole through body and rim
  const Mask& body() const { return m_body; }
  const Mask& outer() const { return m_outer; }
  // Shadow, ink rim, then the body in `paint`, with a lit top edge.
  void draw(Pen& pen, const Paint& paint, float shadowOpacity = 0.45f) const;

 private:
  const Pen& m_pen;
  float m_rim;
  Mask m_body, m_outer;
};

// A gradient from a lighter to a darker tone of `c`, top to bottom of `p`.
Paint toned(const Path& p, Color c, float light = 0.35f, float dark = 0.18f);
void drawSolid(Pen& pen, const Path& p, const Look& look);

}  // namespace art
