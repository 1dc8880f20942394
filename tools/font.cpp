// Letters as vector paths, read from a TrueType file with stb_truetype.
#include "tools/font.h"

#include <fstream>
#include <iterator>

#include "stb_truetype.h"

namespace art {

Font::Font() : m_info(new stbtt_fontinfo()) {}
Font::~Font() { delete m_info; }

bool Font::load(const std::string& file, std::string& error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error = "cannot open font " + file;
    return false;
  }
  m_data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (m_data.empty() || !stbtt_InitFont(m_info, m_data.data(), stbtt_GetFontOffsetForIndex(m_data.data(), 0))) {
    error = "not a TrueType font: " + file;
    return false;
  }
  m_loaded = true;
  return true;
}

float Font::unitScale(float em) const { return stbtt_ScaleForMappingEmToPixels(m_info, em); }

Path Font::glyph(int codepoint, Vec2 origin, float em, float xScale) const {
  Path path;
  if (!m_loaded) return path;
  stbtt_vertex* v = nullptr;
  int n = stbtt_GetCodepointShape(m_info, codepoint, &v);
  float s = unitScale(em);
  auto at = [&](float x, float y) { return Vec2{origin.x + x * s * xScale, origin.y - y * s}; };
  for (int i = 0; i < n; ++i) {
    switch (v[i].type) {
      case STBTT_vmove: path.moveTo(at(v[i].x, v[i].y)); break;
      case STBTT_vline: path.lineTo(at(v[i].x, v[i].y)); break;
      case STBTT_vcurve: path.quadTo(at(v[i].cx, v[i].cy), at(v[i].x, v[i].y)); break;
      case STBTT_vcubic:
        path.cubicTo(at(v[i].cx, v[i].cy), at(v[i].cx1, v[i].cy1), at(v[i].x, v[i].y));
        break;
    }
  }
  stbtt_FreeShape(m_info, v);
  return path;
}

float Font::advance(int codepoint, float em, float xScale) const {
  if (!m_loaded) return 0;
  int adv = 0, bearing = 0;
  stbtt_GetCodepointHMetrics(m_info, codepoint, &adv, &bearing);
  return adv * unitScale(em) * xScale;
}

float Font::capHeight(float em) const {
  int x0, y0, x1, y1;
  if (!m_loaded || !stbtt_GetCodepointBox(m_info, 'H', &x0, &y0, &x1, &y1)) return em * 0.73f;
  return y1 * unitScale(em);
}

Path Font::text(const std::string& s, Vec2 origin, float em, float tracking, float xScale) const {
  Path path;
  Vec2 pen = origin;
  for (size_t i = 0; i < s.size(); ++i) {
    int c = static_cast<unsigned char>(s[i]);
    path.add(glyph(c, pen, em, xScale));
    pen.x += advance(c, em, xScale) + tracking;
    if (i + 1 < s.size())
      pen.x += stbtt_GetCodepointKernAdvance(m_info, c, static_cast<unsigned char>(s[i + 1])) * unitScale(em) * xScale;
  }
  return path;
}

float Font::textWidth(const std::string& s, float em, float tracking, float xScale) const {
  Path p = text(s, {0, 0}, em, tracking, xScale);
  return p.bounds().width();
}

namespace {
Font g_bold, g_condensed;
}

bool loadFonts(const std::string& folder, std::string& error) {
  return g_bold.load(folder + "/DejaVuSans-Bold.ttf", error) &&
         g_condensed.load(folder + "/DejaVuSansCondensed-Bold.ttf", error);
}
const Font& boldFont() { return g_bold; }
const Font& condensedFont() { return g_condensed; }

}  // namespace art
