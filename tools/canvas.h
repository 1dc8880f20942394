// Colours, paints and the premultiplied RGBA canvas the art is composed on.
#pragma once
#include <string>
#include <vector>

#include "tools/geometry.h"
#include "tools/mask.h"

namespace art {

struct Color {
  float r = 0, g = 0, b = 0, a = 1;  // straight alpha, 0..1
};
Color rgb(int r, int g, int b, float a = 1.0f);
Color mix(Color x, Color y, float t);
Color withAlpha(Color c, float a);
Color lighter(Color c, float t);  // towards white
Color darker(Color c, float t);   // towards black

struct Stop {
  float t;
  Color c;
};

// Colour as a function of position, positions in level-1 units.
class Paint {
 public:
  static Paint solid(Color c);
  static Paint linear(Vec2 from, Vec2 to, std::vector<Stop> stops);
  static Paint linear(Vec2 from, Vec2 to, Color c0, Color c1);
  static Paint radial(Vec2 centre, float radius, std::vector<Stop> stops);
  static Paint radial(Vec2 centre, float radius, Color inner, Color outer);
  Color at(Vec2 p) const;
  bool isSolid() const { return m_kind == Kind::Solid; }

 private:
  enum class Kind { Solid, Linear, Radial };
  Color sample(float t) const;
  Kind m_kind = Kind::Solid;
  std::vector<Stop> m_stops;
  Vec2 m_a, m_b;
  float m_radius = 1;
};

struct Pixel {
  float r = 0, g = 0, b = 0, a = 0;  // premultiplied
};

class Canvas {
 public:
  Canvas() = default;
  Canvas(int w, int h) : m_w(w), m_h(h), m_px(static_cast<size_t>(w) * h) {}
  int width() const { return m_w; }
  int height() const { return m_h; }
  Pixel& at(int x, int y) { return m_px[static_cast<size_t>(y) * m_w + x]; }
  const Pixel& at(int x, int y) const { return m_px[static_cast<size_t>(y) * m_w + x]; }

  // Source-over of `paint` through `mask`; the paint is read at level-1
  // positions: pixel centre / scale + origin.
  void fill(const Mask& mask, const Paint& paint, float scale, float opacity = 1.0f, Vec2 origin = {0, 0});
  // Source-over of another canvas with its top-left corner at (x, y).
  void draw(const Canvas& src, float opacity = 1.0f) { drawAt(src, 0, 0, opacity); }
  void drawAt(const Canvas& src, int x, int y, float opacity = 1.0f);
  void blit(const Canvas& src, int x, int y);
  // Straight-alpha 8-bit RGBA rows, as written to PNG.
  std::vector<unsigned char> rgba8() const;
  Mask alpha() const;

 private:
  int m_w = 0, m_h = 0;
  std::vector<Pixel> m_px;
};

// Spin blur: every pixel averaged along its arc of `degrees` around `centre`
// (pixel units), as a fast-turning object looks.
Canvas spinBlur(const Canvas& src, Vec2 centre, float degrees);
bool writePng(const std::string& path, const Canvas& canvas);

}  // namespace art
