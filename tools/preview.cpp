// Mock-ups of the game's screens built from the generated frames.
#include "tools/preview.h"

#include <cmath>
#include <cstring>
#include <map>
#include <string>

#include "tools/shapes.h"

namespace art {

namespace {

constexpr float kDeg = 3.14159265f / 180.0f;
const int kW = 640, kH = 480;

// One image of the level, cut into frames like the game's loader does.
struct Sprite {
  Canvas sheet;
  int fw = 0, fh = 0, columns = 1;
};

class Screen {
 public:
  Screen(const std::vector<ImageAsset>& assets, int level, Color background) : m_level(level), m_canvas(kW, kH) {
    for (const ImageAsset& s : assets)
      m_sprites[s.name] = {renderImage(s, s.levels ? level : 1), s.frameW * (s.levels ? level : 1),
                           s.frameH * (s.levels ? level : 1), s.columns};
    Pen pen(m_canvas, 1.0f);
    pen.fill(art::rect(0, 0, kW, kH), background);
  }
  Canvas& canvas() { return m_canvas; }

  void rect(float x, float y, float w, float h, Color c) {
    Pen pen(m_canvas, 1.0f);
    pen.fill(art::rect(x, y, w, h), c);
  }

  // The frame centred on (x, y), turned and sized, sampled nearest as the
  // renderer does, tinted and faded.
  void draw(const std::string& image, int frame, float x, float y, float size = 1, float degrees = 0,
            Color tint = rgb(255, 255, 255), float alpha = 1) {
    const Sprite& s = m_sprites.at(image);
    float scale = size / m_level;
    if (image == "vuna_font") scale = size;
    int fx = (frame % s.columns) * s.fw, fy = (frame / s.columns) * s.fh;
    float cs = std::cos(degrees * kDeg), sn = std::sin(degrees * kDeg);
    float reach = 0.75f * (s.fw + s.fh) * scale;
    for (int py = std::max(0, static_cast<int>(y - reach)); py < std::min(kH, static_cast<int>(y + reach)); ++py)
      for (int px = std::max(0, static_cast<int>(x - reach)); px < std::min(kW, static_cast<int>(x + reach)); ++px) {
        float dx = px + 0.5f - x, dy = py + 0.5f - y;
        float u = (dx * cs + dy * sn) / scale + s.fw * 0.5f, v = (-dx * sn + dy * cs) / scale + s.fh * 0.5f;
        if (u < 0 || v < 0 || u >= s.fw || v >= s.fh) continue;
        const Pixel& src = s.sheet.at(fx + static_cast<int>(u), fy + static_cast<int>(v));
        float a = src.a * alpha;
        Pixel& d = m_canvas.at(px, py);
        d.r = src.r * tint.r * alpha + d.r * (1 - a);
        d.g = src.g * tint.g * alpha + d.g * (1 - a);
        d.b = src.b * tint.b * alpha + d.b * (1 - a);
        d.a = a + d.a * (1 - a);
      }
  }

  // Text as the game writes it: a leading space, advance 7 plus kerning,
  // aligned by hAlign (0 left, 1 centre, 2 right), glyphs drawn from their middle.
  void text(const std::string& body, float x, float y, float size, float hAlign, Color tint = rgb(255, 255, 255), float alpha = 1) {
    std::string t = " " + body;
    float width = 0;
    for (size_t i = 0; i + 1 < t.size(); ++i) width = std::trunc(width + (7 + kerning(t[i])) * size);
    float pen = x - width * hAlign * 0.5f;
    for (size_t i = 0; i < t.size(); ++i) {
      int glyph = t[i] - 32, k = kerning(t[i]);
      if (t[i] == '~' && i + 1 < t.size()) {  // the button escape, keyboard look
        static const char icons[] = "JKLIUOQEFWSAD";
        const char* at = std::strchr(icons, t[++i]);
        glyph = at ? 112 + static_cast<int>(at - icons) : 0;
        k = 4;
      }
      if (glyph > 0 && glyph < 128) draw("fonts/shadow_editundo", glyph, pen, y, size, 0, tint, alpha);
      pen += (7 + k) * size;
    }
  }

 private:
  static int kerning(char c) {
    switch (c) {
      case 'w': case 'm': return 2;
      case 'W': case 'M': return 1;
      case 'i': case 'f': case 'l': return -3;
      case 'j': case 's': case 'k': case 'r': case 'z': case 't': case 'n': return -1;
      default: return 0;
    }
  }
  int m_level;
  Canvas m_canvas;
  std::map<std::string, Sprite> m_sprites;
};

void playScreen(Screen& s) {
  const int card[3][5] = {{3, 27, 41, 0, 88}, {12, 0, 55, 63, 91}, {17, 33, 0, 72, 99}};
  const bool earned[3][5] = {{false, true, false, false, false}, {false, false, true, false, true}, {false, false, false, false, false}};
  const char* letters[5] = {"B", "I", "N", "G", "O"};
  for (int n = 0; n < 5; ++n)
    for (int j = 0; j < 4; ++j) {
      float x = 36 + 66.0f * n, y = kH - 264 + 28 + 66.0f * j;
      if (j == 0) {
        s.draw("grid", 3, x, y);
        s.text(letters[n], x, y, 2, 1);
        continue;
      }
      int v = card[j - 1][n];
      s.draw("grid", v == 0 ? 1 : earned[j - 1][n] ? 2 : 0, x, y);
      if (v > 0) s.text(std::to_string(v), x, y, 2, 1);
    }
  const int faces[5] = {5, 2, 6, 6, 3};
  for (int i = 1; i <= 5; ++i) {
    float x = 20 + 100.0f * i, y = 64;
    if (i == 3) s.rect(x - 32, y - 32, 64, 64, rgb(0, 60, 120));  // the cursor's highlight (an oval in the game)
    s.draw("dice", i == 5 ? 12 : faces[i - 1] - 1, x, y, 1, i == 5 ? 33 : 0);
    if (i >= 2) s.draw("calc", i % 4, x - 50, y + 10, 0.5f);
  }
  s.rect(kW - 198, kH - 260, 150, 250, rgb(20, 80, 20));
  s.rect(kW - 194, kH - 256, 142, 64, rgb(0, 0, 0));
  s.text("020 ", kW - 99, kH - 224, 6, 0.8f);
  for (int b = 0; b < 4; ++b) s.draw("calc", b == 2 ? b + 4 : b, kW - 160 + 72.0f * (b % 2), kH - 130 + 72.0f * (b / 2));
  s.text("00012345", kW / 2, 28, 2, 1, rgb(100, 255, 100), 0.8f);
  s.text("3rd 00042000", kW / 2, 10, 1, 1, rgb(255, 255, 100), 0.8f);
  for (int j = 1; j <= 3; ++j) s.draw("common/icons", 11, kW / 2 + 64 + 16.0f * j, 24, 0.75f, 0, rgb(255, 255, 255), 0.8f);
  s.draw("common/icons", 0, 16, 16, 1, 0, rgb(255, 255, 255), 0.2f);
}

void menuScreen(Screen& s) {
  const float panel = 140, kx = 38, ky = kH - 64;
  s.rect(kW - panel, 0, panel, kH, rgb(10, 30, 70, 0.8f));
  s.text("Top Ten", kW - panel / 2, 20, 1.5f, 1, rgb(255, 255, 100));
  for (int i = 0; i < 10; ++i) s.text(std::to_string(i + 1) + ". " + std::to_string(9000 - 700 * i), kW - panel + 12, 44 + 16.0f * i, 1, 0);
  s.draw("logo", 0, (kW - panel) / 2, 96, 1.5f);
  s.draw("common/icons", 3, kW - panel / 2, kH - 48, 3, 0, rgb(100, 255, 100), 0.5f);
  s.draw("common/circle", 1, kx, ky, 0.5f, 0, rgb(255, 255, 255), 0.8f);
  float g = 40;
  s.draw("common/Buttons", 8, kx, ky, 1.5f, g);
  s.draw("common/Buttons", 9, kx, ky, 1.5f, -2 * g);
  s.draw("common/Buttons", 10, kx, ky, 1.5f, 4 * g);
  float shown = -32;
  s.draw("common/circle", 3, kx, ky, 1.5625f, shown, rgb(255, 255, 255), 0.25f);
  const char* labels[3] = {"5", "10", "15"};
  for (int i = 0; i < 3; ++i) {
    float a = 32.0f * i + 48 + shown, lift = std::max(0.0f, 45 - std::fabs(a - 45)) * 1.5f, r = 116 + lift;
    float x = kx + r * std::sin(a * kDeg), y = ky - r * std::cos(a * kDeg);
    float size = i == 1 ? 1.75f : 0.75f;
    s.draw("common/Buttons", i, x, y, size, (a - 55) / 2);
    s.text(labels[i], x, y, size * 1.5f, 1);
  }
  s.text("Ten numbers to", 240, kH - 52, 1.5f, 0);
  s.text("earn per card.", 240, kH - 37, 1.5f, 0);
  s.text("Hit ~K to Quit", 180, 200, 2, 1);
}

void loadingScreen(Screen& s) {
  float r = std::min(kW, kH), a = 40;
  for (int ring = 0; ring < 3; ++ring)
    for (int f = 0; f <= 10; ++f) {
      float t = (a + 4 * f + 120 * ring) * kDeg, rad = r * (ring == 0 ? 0.45f : ring == 1 ? 0.4f : 0.35f);
      float size = ring == 0 ? 16 : ring == 1 ? 12 : 8;
      Pen pen(s.canvas(), 1.0f);
      pen.fill(circle({kW * 0.5f + rad * std::sin(t), kH * 0.5f - rad * std::cos(t)}, size),
               ring == 0 ? rgb(0, 125, 255, f / 10.0f) : rgb(255, 125, 0, f / 10.0f));
    }
  s.draw("common/ZelkLogo", 0, kW * 0.5f, kH * 0.48f, 2);
  s.text("Loading...", kW * 0.5f, kH - 32, 1, 1);
}

}  // namespace

Canvas previewScreens(const std::vector<ImageAsset>& assets, int level) {
  Screen play(assets, level, rgb(100, 140, 200)), menu(assets, level, rgb(20, 80, 160)), loading(assets, level, rgb(0, 0, 0));
  playScreen(play);
  menuScreen(menu);
  loadingScreen(loading);
  Canvas out(kW * 3 + 16, kH);
  out.blit(play.canvas(), 0, 0);
  out.blit(menu.canvas(), kW + 8, 0);
  out.blit(loading.canvas(), 2 * kW + 16, 0);
  return out;
}

}  // namespace art
