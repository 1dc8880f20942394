// game/gallery.cpp: the badge gallery. A panel rises over the menu with every
// medal in a grid laid out for the screen's shape: earned ones bright, the
// rest dim. The focused medal (keys, pad, pointer or touch) shows its name,
// what earns it and, for counted goals, how far along the player is. It
// closes as the options box does: its button, back, or a click outside.
#include <algorithm>
#include <cmath>

#include "game/app.h"
#include "game/badges.h"
#include "game/lock_actions.h"

namespace {

constexpr int kSlideOpen = 30;
constexpr int kClick = 99;
constexpr int kBadgeSlot = 80;
constexpr int kMedals = 63;  // ids 1 to 63; the test badge is not shown
constexpr float kMedalPixels = 64;
constexpr float kSideMargin = 50;
constexpr float kWidestPanel = 760;
constexpr float kHeader = 84;
constexpr float kFooter = 96;
constexpr float kLargestCell = 80;
constexpr float kSmallestCell = 44;
constexpr float kFontAdvance = 7;

// The panel and the grid inside it, in screen units with the panel at rest.
struct Layout {
  float panelLeft, panelWidth;
  float gridLeft, gridTop, viewHeight, cell;
  int columns, rows;
};

// The largest cell that shows every medal at once; the smallest one, scrolled, if none does.
Layout LayoutFor(float w, float h) {
  Layout l{};
  l.panelWidth = std::min(w - 2 * kSideMargin, kWidestPanel);
  l.panelLeft = (w - l.panelWidth) / 2;
  const float gridWidth = l.panelWidth - 32;
  // At least one row, however flat the screen.
  l.viewHeight = std::max(h - kHeader - kFooter, kSmallestCell);
  for (l.cell = kLargestCell; l.cell >= kSmallestCell; l.cell -= 2) {
    l.columns = std::max(1, static_cast<int>(gridWidth / l.cell));
    l.rows = (kMedals + l.columns - 1) / l.columns;
    if (l.rows * l.cell <= l.viewHeight) break;
  }
  l.cell = std::max(l.cell, kSmallestCell);
  l.gridLeft = l.panelLeft + (l.panelWidth - l.columns * l.cell) / 2;
  l.gridTop = kHeader;
  return l;
}

bool AnyHeld(c_MyApp* app, int action) { return app->p_PlayKeyAll(action, 1) > 0; }

bool Locked(const c_MyApp* app) {
  return app->m_GalleryKeyLock != 0 || app->m_GalleryPointerLock != 0;
}

void Close(c_MyApp* app) {
  app->m_GalleryOpen = 0;
  app->m_GalleryKeyLock = app->m_GalleryPointerLock = 1;
  app->m_KeyLock = app->m_PointerLock = 1;
  app->p_PlaySFX(kClick, 1, 1, 0);
}

void Focus(c_MyApp* app, int index) {
  if (index == app->m_GalleryFocus) return;
  app->m_GalleryFocus = index;
  app->p_PlaySFX(kClick, 1, 1, 0);
}

// Keeps the focused row inside the view when the grid is taller than it.
void ScrollToFocus(c_MyApp* app, const Layout& l) {
  const float content = l.rows * l.cell;
  const float rowTop = (app->m_GalleryFocus / l.columns) * l.cell;
  float& scroll = app->m_GalleryScroll;
  scroll = std::min(scroll, rowTop);
  scroll = std::max(scroll, rowTop + l.cell - l.viewHeight);
  scroll = std::clamp(scroll, 0.0f, std::max(content - l.viewHeight, 0.0f));
}

// The back button, "<[BACK]" and the count of earned medals.
bool Header(c_MyApp* app, const Layout& l, float dy) {
  int earned = 0;
  for (int id = 1; id <= kMedals; ++id) earned += app->m_BadgeFlags[id] ? 1 : 0;
  const float x = l.panelLeft + 36;
  const float y = dy + kHeader / 2;
  app->p_SetCol(255, 255, 255, 1);
  // Medals are 64 units: three quarters of that, or a finger's size where larger.
  const float size = std::max(0.75f, app->p_FingerSize() / 64);
  app->p_SetSize(size, size);
  const bool pressed = app->p_Button(kBadgeSlot, x, y, kBadgeFirstPlace) != 0;
  app->p_SetSize(2, 2);
  app->p_Text(x + 30 + 32 * (size - 0.75f), y, String("<[BACK]"), 0, 1, 0);
  app->p_SetCol(255, 220, 120, 1);
  app->p_Text(l.panelLeft + l.panelWidth - 20, y, String(earned) + String(" of ") + String(kMedals),
              2, 1, 0);
  return pressed;
}

// Draws the medals; a pointer moving over one, or a touch, focuses it.
void Medals(c_MyApp* app, const Layout& l, float dy) {
  const bool pointerMoved = app->m_MouseX != app->m_MouseOldX || app->m_MouseY != app->m_MouseOldY;
  const float top = dy + l.gridTop;
  for (int index = 0; index < kMedals; ++index) {
    const float x = l.gridLeft + l.cell * (index % l.columns);
    const float y = top + l.cell * (index / l.columns) - app->m_GalleryScroll;
    if (y < top - 0.5f || y + l.cell > top + l.viewHeight + 0.5f) continue;
    const bool focused = index == app->m_GalleryFocus;
    if (focused) {
      app->p_SetCol(0, 180, 255, 0.5f);
      app->p_Rect(x + 2, y + 2, l.cell - 4, l.cell - 4);
    }
    const int id = index + 1;
    if (app->m_BadgeFlags[id]) {
      app->p_SetCol(255, 255, 255, 1);
    } else {
      app->p_SetCol(120, 120, 150, 0.45f);
    }
    const float scale = (l.cell - 8) / kMedalPixels * (focused ? 1.1f : 1.0f);
    app->p_SetSize(scale, scale);
    app->p_DrawImg(kBadgeSlot, x + l.cell / 2, y + l.cell / 2, static_cast<float>(id));
    if (app->m_GallerySlide != kSlideOpen) continue;
    const bool hovered = pointerMoved && app->m_MouseX > x && app->m_MouseX < x + l.cell &&
                         app->m_MouseY > y && app->m_MouseY < y + l.cell;
    if (hovered || app->p_MouseIn(x, y, l.cell, l.cell)) Focus(app, index);
  }
}

// The focused medal's name, what earns it, and its progress or state.
void Details(c_MyApp* app, const Layout& l, float dy, float h) {
  const int id = app->m_GalleryFocus + 1;
  const bool earned = app->m_BadgeFlags[id];
  const float x = l.panelLeft + 24;
  float y = dy + h - kFooter + 6;
  app->p_SetSize(2, 2);
  app->p_SetCol(earned ? 255 : 190, earned ? 220 : 190, earned ? 120 : 200, 1);
  app->p_Text(x, y, app->p_BadgeName(id), 0, 0, 0);
  const String detail = app->p_BadgeDetail(id);
  // A long one is set only as much smaller as the panel needs.
  const float size = std::clamp((l.panelWidth - 48) / (detail.Length() * kFontAdvance), 1.0f, 1.5f);
  app->p_SetSize(size, size);
  app->p_SetCol(255, 255, 255, 1);
  app->p_Text(x, y += 28, detail, 0, 0, 0);
  String state = String(earned ? "Earned" : "Not earned yet");
  const CountedGoal* goal = CountedGoalOf(id);
  if (goal && !earned) {
    const int count = std::clamp(app->m_Settings[kCounterSettings[goal->counter]], 0, kCountLimit);
    state = String(kCounterLabels[goal->counter]) + String(": ") + String(count) + String(" / ") +
            String(goal->goal);
  }
  app->p_SetSize(1.5f, 1.5f);
  app->p_SetCol(150, 220, 150, 1);
  app->p_Text(x, y + 24, state, 0, 0, 0);
}

// Arrows move the focus a medal or a row; each move waits for the keys' release.
void Keys(c_MyApp* app, const Layout& l) {
  if (app->m_GalleryKeyLock != 0) return;
  int to = app->m_GalleryFocus;
  if (AnyHeld(app, kActionLeft)) {
    to -= 1;
  } else if (AnyHeld(app, kActionRight)) {
    to += 1;
  } else if (AnyHeld(app, kActionUp)) {
    to -= l.columns;
  } else if (AnyHeld(app, kActionDown)) {
    to += l.columns;
  }
  to = std::clamp(to, 0, kMedals - 1);
  if (to == app->m_GalleryFocus) return;
  Focus(app, to);
  app->m_GalleryKeyLock = 1;
}

}  // namespace

int c_MyApp::p_Gallery() {
  const float w = rk_Game_jscrw;
  const float h = rk_Game_jscrh;
  const Layout l = LayoutFor(w, h);
  m_GalleryFocus = std::clamp(m_GalleryFocus, 0, kMedals - 1);
  ScrollToFocus(this, l);
  p_ResetDraw();
  // The screen below sees every key and the pointer as taken.
  m_KeyLock = 1;
  m_PointerLock = 1;
  // Nothing in the gallery reacts until it has fully arrived.
  if (m_GallerySlide != kSlideOpen) m_GalleryKeyLock = m_GalleryPointerLock = 1;

  const float dy = std::round(1.5f * h * (1 - m_GallerySlide / static_cast<float>(kSlideOpen)));
  m_DrawTag = kTagGallery;
  p_SetCol(40, 20, 90, 0.95f);
  p_Rect(l.panelLeft, dy, l.panelWidth, h);
  const bool button = Header(this, l, dy);
  Medals(this, l, dy);
  Details(this, l, dy, h);

  const bool outside = m_PointerDown != 0 && !p_MouseIn(l.panelLeft, dy, l.panelWidth, h);
  if ((button || outside || AnyHeld(this, kActionBack)) && !Locked(this)) {
    Close(this);
  } else {
    Keys(this, l);
  }

  if (m_PointerDown == 0) m_GalleryPointerLock = 0;
  if (!AnyLockActionHeld(this)) m_GalleryKeyLock = 0;
  p_ResetDraw();
  m_DrawTag = kTagNone;
  return 0;
}
