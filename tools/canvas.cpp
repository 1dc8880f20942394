// Colours, paints and the premultiplied RGBA canvas the art is composed on.
#include "tools/canvas.h"

#include <algorithm>
#include <cmath>

#include "tools/png.h"

namespace art {

Color rgb(int r, int g, int b, float a) { return {r / 255.0f, g / 255.0f, b / 255.0f, a}; }
Color mix(Color x, Color y, float t) {
  return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}
Color withAlpha(Color c, float a) { return {c.r, c.g, c.b, a}; }
Color lighter(Color c, float t) { return mix(c, {1, 1, 1, c.a}, t); }
Color darker(Color c, float t) { return mix(c, {0, 0, 0, c.a}, t); }

Paint Paint::solid(Color c) {
  Paint p;
  p.m_stops = {{0, c}};
  return p;
}
Paint Paint::linear(Vec2 from, Vec2 to, std::vector<Stop> stops) {
  Paint p;
  p.m_kind = Kind::Linear;
  p.m_a = from;
  p.m_b = to;
  p.m_stops = std::move(stops);
  return p;
}
Paint Paint::linear(Vec2 from, Vec2 to, Color c0, Color c1) { return linear(from, to, {{0, c0}, {1, c1}}); }
Paint Paint::radial(Vec2 centre, float radius, std::vector<Stop> stops) {
  Paint p;
  p.m_kind = Kind::Radial;
  p.m_a = centre;
  p.m_radius = radius;
  p.m_stops = std::move(stops);
  return p;
}
Paint Paint::radial(Vec2 centre, float radius, Color inner, Color outer) {
  return radial(centre, radius, {{0, inner}, {1, outer}});
}

Color Paint::sample(float t) const {
  if (t <= m_stops.front().t) return m_stops.front().c;
  for (size_t i = 1; i < m_stops.size(); ++i)
    if (t <= m_stops[i].t) {
      float span = m_stops[i].t - m_stops[i - 1].t;
      return mix(m_stops[i - 1].c, m_stops[i].c, span > 0 ? (t - m_stops[i - 1].t) / span : 1.0f);
    }
  return m_stops.back().c;
}

Color Paint::at(Vec2 p) const {
  switch (m_kind) {
    case Kind::Solid:
      return m_stops.front().c;
    case Kind::Linear: {
      Vec2 d = m_b - m_a;
      float len2 = d.x * d.x + d.y * d.y;
      Vec2 q = p - m_a;
      return sample(len2 > 0 ? (q.x * d.x + q.y * d.y) / len2 : 0.0f);
    }
    case Kind::Radial:
      return sample(length(p - m_a) / m_radius);
  }
  return {};
}

void Canvas::fill(const Mask& mask, const Paint& paint, float scale, float opacity, Vec2 origin) {
  Color solid = paint.at({0, 0});
  for (int y = 0; y < m_h; ++y)
    for (int x = 0; x < m_w; ++x) {
      float cov = mask.a[static_cast<size_t>(y) * mask.w + x] * opacity;
      if (cov <= 0) continue;
      Color c = paint.isSolid() ? solid : paint.at({(x + 0.5f) / scale + origin.x, (y + 0.5f) / scale + origin.y});
      float a = c.a * cov;
      Pixel& d = at(x, y);
      float keep = 1.0f - a;
      d.r = c.r * a + d.r * keep;
      d.g = c.g * a + d.g * keep;
      d.b = c.b * a + d.b * keep;
      d.a = a + d.a * keep;
    }
}

void Canvas::drawAt(const Canvas& src, int x0, int y0, float opacity) {
  for (int y = 0; y < src.m_h; ++y)
    for (int x = 0; x < src.m_w; ++x) {
      int tx = x0 + x, ty = y0 + y;
      if (tx < 0 || ty < 0 || tx >= m_w || ty >= m_h) continue;
      const Pixel& s = src.at(x, y);
      Pixel& d = at(tx, ty);
      float keep = 1.0f - s.a * opacity;
      d.r = s.r * opacity + d.r * keep;
      d.g = s.g * opacity + d.g * keep;
      d.b = s.b * opacity + d.b * keep;
      d.a = s.a * opacity + d.a * keep;
    }
}

void Canvas::blit(const Canvas& src, int x0, int y0) {
  for (int y = 0; y < src.m_h; ++y)
    for (int x = 0; x < src.m_w; ++x) {
      int tx = x0 + x, ty = y0 + y;
      if (tx >= 0 && ty >= 0 && tx < m_w && ty < m_h) at(tx, ty) = src.at(x, y);
    }
}

std::vector<unsigned char> Canvas::rgba8() const {
  std::vector<unsigned char> out(m_px.size() * 4);
  auto byte = [](float v) { return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
  for (size_t i = 0; i < m_px.size(); ++i) {
    const Pixel& p = m_px[i];
    unsigned char a = byte(p.a);
    out[i * 4 + 3] = a;
    if (a == 0) continue;  // fully clear pixels stay black, so they compress well
    float inv = 1.0f / std::max(p.a, 1e-6f);
    out[i * 4 + 0] = byte(p.r * inv);
    out[i * 4 + 1] = byte(p.g * inv);
    out[i * 4 + 2] = byte(p.b * inv);
  }
  return out;
}

Mask Canvas::alpha() const {
  Mask m(m_w, m_h);
  for (size_t i = 0; i < m_px.size(); ++i) m.a[i] = m_px[i].a;
  return m;
}

namespace {
Pixel bilinear(const Canvas& c, float x, float y) {
  x -= 0.5f;
  y -= 0.5f;
  int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
  float tx = x - ix, ty = y - iy;
  Pixel out;
  for (int k = 0; k < 4; ++k) {
    int px = ix + (k & 1), py = iy + (k >> 1);
    if (px < 0 || py < 0 || px >= c.width() || py >= c.height()) continue;
    float w = ((k & 1) ? tx : 1 - tx) * ((k >> 1) ? ty : 1 - ty);
    const Pixel& p = c.at(px, py);
    out.r += p.r * w;
    out.g += p.g * w;
    out.b += p.b * w;
    out.a += p.a * w;
  }
  return out;
}
}  // namespace

Canvas spinBlur(const Canvas& src, Vec2 centre, float degrees) {
  Canvas out(src.width(), src.height());
  float spread = degrees * 3.14159265f / 180.0f;
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x) {
      float dx = x + 0.5f - centre.x, dy = y + 0.5f - centre.y;
      // enough taps that neighbouring ones are under a pixel apart on this arc
      int taps = 2 + static_cast<int>(std::sqrt(dx * dx + dy * dy) * spread / 0.7f);
      float step = spread / (taps - 1), cs = std::cos(step), sn = std::sin(step);
      float rx = dx * std::cos(-spread / 2) - dy * std::sin(-spread / 2);
      float ry = dx * std::sin(-spread / 2) + dy * std::cos(-spread / 2);
      Pixel sum;
      for (int i = 0; i < taps; ++i) {
        Pixel p = bilinear(src, centre.x + rx, centre.y + ry);
        sum.r += p.r;
        sum.g += p.g;
        sum.b += p.b;
        sum.a += p.a;
        float nx = rx * cs - ry * sn;
        ry = rx * sn + ry * cs;
        rx = nx;
      }
      float k = 1.0f / taps;
      out.at(x, y) = {sum.r * k, sum.g * k, sum.b * k, sum.a * k};
    }
  return out;
}

bool writePng(const std::string& path, const Canvas& canvas) {
  return writePngFile(path, canvas.width(), canvas.height(), canvas.rgba8());
}

}  // namespace art
