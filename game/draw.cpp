// game/draw.cpp: the display-list writers, the draw state, the palette, the
// pointer hit tests and the number formatter. Nothing here touches the
// renderer: each writer appends one 15-float record for the render hook.
#include <cmath>

#include "game/app.h"

float* c_MyApp::p_AppendRecord(float kind) {
  if (m_DrawLen > kDrawListLimit) return nullptr;
  float* record = &m_DrawList[m_DrawLen];
  m_DrawLen += kRecordFloats;
  for (int i = 0; i < kRecordFloats - 1; ++i) record[i] = 0;
  record[0] = kind;
  record[kRecordFloats - 1] = static_cast<float>(m_DrawTag);
  record[7] = m_DrawAlpha;
  record[10] = m_DrawRed;
  record[11] = m_DrawGreen;
  record[12] = m_DrawBlue;
  record[13] = static_cast<float>(m_DrawBlend);
  return record;
}

int c_MyApp::p_ResetDraw() {
  m_DrawScaleX = m_DrawScaleY = 1;
  m_DrawRot = 0;
  m_DrawRed = m_DrawGreen = m_DrawBlue = 255;
  m_DrawAlpha = 1;
  m_DrawBlend = 1;
  return 0;
}

int c_MyApp::p_CLS2D(float r, float g, float b, float a) {
  m_ViewX = 0;
  m_ViewY = 0;
  m_ViewW = rk_Game_jscrw;
  m_ViewH = rk_Game_jscrh;
  if (r > kAbsent) {
    m_ClearRed = r;
    m_ClearGreen = g;
    m_ClearBlue = b;
    m_ClearAlpha = a;
  }
  p_ResetDraw();
  p_Unplace();
  m_DrawTag = kTagNone;
  m_DrawLen = 0;
  return 0;
}

int c_MyApp::p_SetSize(float sx, float sy) {
  m_DrawScaleX = sx;
  m_DrawScaleY = sy > kAbsent ? sy : sx;
  return 0;
}

int c_MyApp::p_SetRot(float degrees) {
  m_DrawRot = -degrees;
  return 0;
}

int c_MyApp::p_SetCol(float r, float g, float b, float a) {
  m_DrawRed = r;
  m_DrawGreen = g;
  m_DrawBlue = b;
  if (a > kAbsent) m_DrawAlpha = a;
  return 0;
}

int c_MyApp::p_Alpha(float a) {
  m_DrawAlpha = a;
  return 0;
}

int c_MyApp::p_Ink(int hue, float brightness) {
  static const float kPalette[10][3] = {
      {0.3f, 0.3f, 0.3f}, {1, 0.1f, 0.1f}, {1, 0.5f, 0.1f},   {1, 1, 0.1f},    {0.1f, 1, 0.1f},
      {0.1f, 1, 1},       {0.1f, 0.1f, 1}, {0.5f, 0.1f, 1},   {1, 0.1f, 0.5f}, {1, 1, 1}};
  const float* factors = kPalette[hue >= 1 && hue <= 9 ? hue : 0];
  float* channels[3] = {&m_DrawRed, &m_DrawGreen, &m_DrawBlue};
  for (int i = 0; i < 3; ++i) {
    float value = factors[i] * brightness * 255;
    *channels[i] = value < 0 ? 0 : (value > 255 ? 255 : value);
  }
  return 0;
}

int c_MyApp::p_DrawImg(int slot, float x, float y, float frame) {
  float* record = p_AppendRecord(static_cast<float>(slot));
  if (!record) return 0;
  record[1] = m_Place.offsetX + m_Place.scale * x;
  record[2] = m_Place.offsetY + m_Place.scale * y;
  record[3] = m_DrawRot;
  record[4] = m_Place.scale * m_DrawScaleX;
  record[5] = m_Place.scale * m_DrawScaleY;
  record[6] = frame;
  return 0;
}

void c_MyApp::p_Place(float offsetX, float offsetY, float scale) {
  m_Place = {offsetX, offsetY, scale};
}

// 44 CSS pixels and text 11 pixels tall on a phone 390 pixels wide upright
// (0.61 pixels a unit) or 390 high on its side (0.81).
float c_MyApp::p_FingerSize() const {
  return m_Layout == kLayoutTall ? 74.0f : (m_Layout == kLayoutWide ? 56.0f : 0.0f);
}
float c_MyApp::p_LeastTextSize() const {
  return m_Layout == kLayoutTall ? 1.15f : (m_Layout == kLayoutWide ? 0.87f : 0.0f);
}

// Rectangles, ovals and lines share one layout: four values after the position
// pair, the second pair a point (lines) or a size (the others).
namespace {
void PutShape(const Placement& place, float* record, float a, float b, float c, float d,
              bool point) {
  if (!record) return;
  record[1] = place.offsetX + place.scale * a;
  record[2] = place.offsetY + place.scale * b;
  record[4] = (point ? place.offsetX : 0) + place.scale * c;
  record[5] = (point ? place.offsetY : 0) + place.scale * d;
}
}  // namespace

int c_MyApp::p_Rect(float x, float y, float w, float h) {
  PutShape(m_Place, p_AppendRecord(kRecordRect), x, y, w, h, false);
  return 0;
}

int c_MyApp::p_Oval(float cx, float cy, float rx, float ry) {
  PutShape(m_Place, p_AppendRecord(kRecordOval), cx, cy, rx, ry, false);
  return 0;
}

int c_MyApp::p_Line(float x1, float y1, float x2, float y2) {
  PutShape(m_Place, p_AppendRecord(kRecordLine), x1, y1, x2, y2, true);
  return 0;
}

int c_MyApp::p_Tri(float x1, float y1, float x2, float y2, float x3, float y3) {
  float* record = p_AppendRecord(kRecordTri);
  if (!record) return 0;
  const bool reversed = x2 < x1 || x3 > x2;
  const Placement& p = m_Place;
  const float points[6] = {p.offsetX + p.scale * x1, p.offsetY + p.scale * y1,
                           p.offsetX + p.scale * x2, p.offsetY + p.scale * y2,
                           p.offsetX + p.scale * x3, p.offsetY + p.scale * y3};
  for (int i = 0; i < 3; ++i) {
    const int from = reversed ? 2 - i : i;
    record[1 + 2 * i] = points[2 * from];
    record[2 + 2 * i] = points[2 * from + 1];
  }
  return 0;
}

namespace {
// Touch slot i in the design units of the current placement; false when up.
bool TouchAt(const c_MyApp* app, int i, float* x, float* y) {
  if (!app->m_TouchOn[i]) return false;
  const Placement& place = app->m_Place;
  *x = (static_cast<float>(app->m_TouchX[i]) - place.offsetX) / place.scale;
  *y = (static_cast<float>(app->m_TouchY[i]) - place.offsetY) / place.scale;
  return true;
}
// Notes a hit area given in design units, as it lies on the screen.
void NoteHitArea(c_MyApp* app, float left, float top, float right, float bottom) {
  const Placement& place = app->m_Place;
  app->m_HitAreas.push_back({place.offsetX + place.scale * left, place.offsetY + place.scale * top,
                             place.offsetX + place.scale * right,
                             place.offsetY + place.scale * bottom});
}
// True when touch slot i lies strictly inside left..right by top..bottom.
bool TouchInside(const c_MyApp* app, int i, float left, float top, float right, float bottom) {
  float tx, ty;
  if (!TouchAt(app, i, &tx, &ty)) return false;
  return left < tx && tx < right && top < ty && ty < bottom;
}
bool TouchInBox(const c_MyApp* app, int i, float x, float y, float halfW, float halfH) {
  return TouchInside(app, i, x - halfW, y - halfH, x + halfW, y + halfH);
}
}  // namespace

namespace {
// Draws the image, then tests touch slots 0..touches-1 against its frame size.
int ImageButton(c_MyApp* app, int slot, float x, float y, int frame, int touches) {
  app->p_DrawImg(slot, x, y, static_cast<float>(frame));
  app->m_HitResult = 0;
  if (slot < 0 || slot > 99) return 0;
  const float halfW = app->p_HalfFrame(slot, 0);
  const float halfH = app->p_HalfFrame(slot, 1);
  NoteHitArea(app, x - halfW, y - halfH, x + halfW, y + halfH);
  if (app->m_PointerDown <= 0) return 0;
  for (int i = 0; i < touches && !app->m_HitResult; ++i) {
    if (TouchInBox(app, i, x, y, halfW, halfH)) app->m_HitResult = 1;
  }
  return app->m_HitResult;
}
}  // namespace

int c_MyApp::p_Button(int slot, float x, float y, int frame) {
  return ImageButton(this, slot, x, y, frame, 10);
}

int c_MyApp::p_Button0(int slot, float x, float y, int frame) {
  return ImageButton(this, slot, x, y, frame, 1);
}

int c_MyApp::p_Touch(float x, float y, float w, float h) {
  p_Rect(x, y, w, h);
  NoteHitArea(this, x - 6, y - 6, x + w + 12, y + h + 12);
  for (int i = 0; i < 10; ++i) {
    float tx, ty;
    if (!TouchAt(this, i, &tx, &ty)) continue;
    if (tx > x - 6 && ty > y - 6 && tx < x + w + 12 && ty < y + h + 12) return 1;
  }
  return 0;
}

int c_MyApp::p_MouseIn(float x, float y, float w, float h) {
  NoteHitArea(this, x, y, x + w, y + h);
  for (int i = 0; i < 10; ++i) {
    if (TouchInside(this, i, x, y, x + w, y + h)) return 1;
  }
  return 0;
}

int c_MyApp::p_MouseIn_Centered(float cx, float cy, float w, float h) {
  NoteHitArea(this, cx - w * 0.5f, cy - h * 0.5f, cx + w * 0.5f, cy + h * 0.5f);
  for (int i = 0; i < 10; ++i) {
    if (TouchInBox(this, i, cx, cy, w * 0.5f, h * 0.5f)) return 1;
  }
  return 0;
}

int c_MyApp::p_MouseIn_Radius(float cx, float cy, float w, float h) {
  const float radius2 = (w * 0.5f) * (w * 0.5f) + (h * 0.5f) * (h * 0.5f);
  const float radius = std::sqrt(radius2);
  // The square inside the circle stands for it in the noted areas.
  NoteHitArea(this, cx - radius * 0.7071f, cy - radius * 0.7071f, cx + radius * 0.7071f,
              cy + radius * 0.7071f);
  for (int i = 0; i < 10; ++i) {
    float tx, ty;
    if (!TouchAt(this, i, &tx, &ty)) continue;
    const float dx = tx - cx;
    const float dy = ty - cy;
    if (dx * dx + dy * dy <= radius2) return 1;
  }
  return 0;
}

float c_MyApp::p_HalfFrame(int slot, int axis) const {
  const float scale = axis == 0 ? m_DrawScaleX : m_DrawScaleY;
  return scale * m_ImageScale[slot] * static_cast<float>(m_ImageInfo[slot * 3 + axis]) * 0.5f;
}

// A touch picks anywhere on what is drawn plus a margin (virtual units);
// where the areas of neighbours overlap the nearer centre wins, so one touch
// never lands on two.
int c_MyApp::p_TouchedTarget(const PickTarget* targets, int count) {
  const float kMargin = 16 / m_Place.scale;
  for (int t = 0; t < count; ++t) {
    const PickTarget& target = targets[t];
    if (!target.open) continue;
    NoteHitArea(this, target.x - target.halfW - kMargin, target.y - target.halfH - kMargin,
                target.x + target.halfW + kMargin, target.y + target.halfH + kMargin);
  }
  int best = -1;
  float bestDistance = 0;
  for (int i = 0; i < 10; ++i) {
    float tx, ty;
    if (!TouchAt(this, i, &tx, &ty)) continue;
    for (int t = 0; t < count; ++t) {
      const PickTarget& target = targets[t];
      const float dx = tx - target.x;
      const float dy = ty - target.y;
      if (!target.open || std::fabs(dx) > target.halfW + kMargin ||
          std::fabs(dy) > target.halfH + kMargin) {
        continue;
      }
      const float distance = dx * dx + dy * dy;
      if (best < 0 || distance < bestDistance) {
        best = t;
        bestDistance = distance;
      }
    }
  }
  return best;
}

String c_MyApp::p_rstr(int value, int width, String pad) {
  String padding;
  for (int i = 0; i < width; ++i) padding += pad;
  String text = padding + String(value);
  return text.Slice(text.Length() - width);
}
