// Controller and keyboard button icons, frames 96 to 127 of the text font.
#include "tools/art.h"
#include "tools/font.h"
#include "tools/shapes.h"

namespace art {

namespace {

const Vec2 kMid{7.8f, 7.3f};  // a little high: the shadow falls below

void letter(Pen& pen, const std::string& text, Vec2 centre, float em, Color c) {
  Path p = boldFont().text(text, {0, 0}, em, 0, 0.9f);
  Path::Box b = p.bounds();
  p = p.transformed(Affine::translate(centre.x - b.centre().x, centre.y - b.centre().y));
  pen.fill(p, c);
}

// A round face button, as on a game pad.
void faceButton(Pen& pen, Color c, const char* name, bool pressed) {
  Vec2 at = pressed ? Vec2{kMid.x + 0.3f, kMid.y + 0.6f} : kMid;
  Path disc = circle(at, 6.2f);
  Look look;
  look.fill = toned(disc, pressed ? darker(c, 0.3f) : c, 0.25f, 0.2f);
  look.rimWidth = 0.9f;
  look.shadowOffset = pressed ? Vec2{0.2f, 0.3f} : Vec2{0.5f, 1.1f};
  look.shadowBlur = 0.4f;
  look.gloss = pressed ? 0.15f : 0.5f;
  drawSolid(pen, disc, look);
  if (*name) letter(pen, name, {at.x, at.y}, 9.0f, pal::kWhite);
}

// A wide rounded shoulder button.
void shoulderButton(Pen& pen, const char* name, bool pressed) {
  Vec2 at = pressed ? Vec2{kMid.x, kMid.y + 0.6f} : kMid;
  Path pill = roundRectCentred(at, 13.2f, 8.6f, 4.3f);
  Look look;
  look.fill = toned(pill, pressed ? rgb(92, 96, 120) : rgb(150, 156, 184), 0.3f, 0.2f);
  look.rimWidth = 0.9f;
  look.shadowOffset = pressed ? Vec2{0.2f, 0.3f} : Vec2{0.5f, 1.1f};
  look.shadowBlur = 0.4f;
  look.gloss = pressed ? 0.15f : 0.5f;
  drawSolid(pen, pill, look);
  if (*name) letter(pen, name, at, 7.4f, pal::kWhite);
}

// A small pill for the select and start buttons, with a little symbol.
void menuButton(Pen& pen, bool start) {
  Path pill = roundRectCentred(kMid, 12.0f, 8.0f, 4.0f);
  Look look;
  look.fill = toned(pill, rgb(120, 126, 156), 0.3f, 0.2f);
  look.rimWidth = 0.9f;
  look.shadowOffset = {0.5f, 1.1f};
  look.shadowBlur = 0.4f;
  drawSolid(pen, pill, look);
  Path mark;
  if (start) {
    for (int i = -1; i <= 1; ++i) mark.add(capsule({kMid.x - 2.6f, kMid.y + i * 1.8f}, {kMid.x + 2.6f, kMid.y + i * 1.8f}, 0.55f));
  } else {
    mark.add(roundRect(kMid.x - 3.2f, kMid.y - 2.4f, 3.6f, 3.2f, 0.6f));
    mark.add(roundRect(kMid.x - 0.4f, kMid.y - 0.8f, 3.6f, 3.2f, 0.6f));
  }
  pen.fill(mark, pal::kWhite);
}

// The cross of a direction pad, one arm lit (0 up, 1 down, 2 left, 3 right) or none (-1).
void directionPad(Pen& pen, int lit) {
  const Vec2 mid{kMid.x, 7.7f};  // as tall as the cell allows, rim included
  Path cross = roundRectCentred(mid, 5.0f, 12.6f, 1.4f);
  cross.add(roundRectCentred(mid, 12.6f, 5.0f, 1.4f));
  Look look;
  look.fill = toned(cross, rgb(96, 100, 128), 0.25f, 0.2f);
  look.rimWidth = 0.9f;
  look.shadowOffset = {0.5f, 1.1f};
  look.shadowBlur = 0.4f;
  look.gloss = 0.3f;
  drawSolid(pen, cross, look);
  if (lit >= 0) {
    static const float dirs[4] = {0, 180, 270, 90};
    static const Vec2 arm[4] = {{0, -4.2f}, {0, 4.2f}, {-4.2f, 0}, {4.2f, 0}};
    Vec2 c = mid + arm[lit];
    pen.fill(roundRectCentred(c, lit < 2 ? 3.8f : 5.0f, lit < 2 ? 5.0f : 3.8f, 1.2f), pal::kYellow);
    pen.fill(arrowHead(c + Vec2{0, 0} + (arm[lit] * 0.3f), 3.0f, 3.4f, dirs[lit]), pal::kInk);
  }
  pen.fill(circle(mid, 1.5f), darker(rgb(96, 100, 128), 0.3f));
}

// A keyboard key with its letter.
void keycap(Pen& pen, const char* name, bool wide, bool pressed) {
  float w = wide ? 13.2f : 12.4f;
  Vec2 at = pressed ? Vec2{kMid.x, kMid.y + 0.6f} : kMid;
  Path base = roundRectCentred({at.x, at.y + 0.5f}, w, 12.4f, 3.0f);
  Path top = roundRectCentred({at.x, at.y - 0.6f}, w - 3.0f, 9.2f, 2.2f);
  Look look;
  look.fill = Paint::solid(pressed ? rgb(170, 168, 190) : rgb(214, 212, 230));
  look.rimWidth = 0.9f;
  look.shadowOffset = pressed ? Vec2{0.2f, 0.3f} : Vec2{0.5f, 1.1f};
  look.shadowBlur = 0.4f;
  look.gloss = 0;
  look.shade = 0.3f;
  drawSolid(pen, base, look);
  pen.fill(top, Paint::linear({0, at.y - 5}, {0, at.y + 4}, pal::kWhite, rgb(238, 236, 248)));
  if (*name) letter(pen, name, {at.x, at.y - 0.6f}, 8.4f, pal::kInk);
}

}  // namespace

void drawPadIcon(Pen& pen, int icon) {
  // Icons 96 to 111 are the pad, 112 to 127 the keyboard, in the order of the
  // text escapes: J K L I, U O, Q E F, W S A D, a pressed face button, a
  // pressed shoulder button, and one spare.
  static const char* const keys[16] = {"J", "K", "L", "I", "U", "O", "Q", "E", "F", "W", "S", "A", "D", "", "", ""};
  int k = icon % 16;
  if (icon >= 112) {
    keycap(pen, keys[k], k == 4 || k == 5 || k == 14, k == 13 || k == 14);
    return;
  }
  static const Color face[4] = {pal::kGreen, pal::kRed, pal::kBlue, pal::kYellow};
  static const char* const faceNames[4] = {"A", "B", "X", "Y"};
  if (k < 4) faceButton(pen, face[k], faceNames[k], false);
  else if (k < 6) shoulderButton(pen, k == 4 ? "L" : "R", false);
  else if (k < 8) menuButton(pen, k == 7);
  else if (k < 13) directionPad(pen, k - 9);
  else if (k == 13) faceButton(pen, rgb(150, 156, 184), "", true);
  else if (k == 14) shoulderButton(pen, "", true);
  else faceButton(pen, rgb(150, 156, 184), "", false);
}

}  // namespace art
