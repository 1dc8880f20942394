// game/menu.h: what the menu frame (menu.cpp) and its panel (menu_panel.cpp) share.
#pragma once

#include "game/app.h"

namespace menu {

// The menu's focus areas, left to right.
constexpr int kFocusMedal = -1;
constexpr int kFocusGear = 0;
constexpr int kFocusDial = 1;
constexpr int kFocusPanel = 2;

constexpr int kSoundMove = 99;
constexpr int kSoundGo = 98;

inline void Sound(c_MyApp* app, int n) { app->p_PlaySFX(n, 1, 1, 0); }
inline bool AnyPlayerHolds(c_MyApp* app, int action) { return app->p_PlayKeyAll(action, 1) > 0; }
inline bool LatchesFree(const c_MyApp* app) {
  return app->m_KeyLock == 0 && app->m_PointerLock == 0;
}
inline void TakeLatches(c_MyApp* app) { app->m_KeyLock = app->m_PointerLock = 1; }

// Draws the panel's contents at x offset `offset` (off-screen while it is
// closed) and lets fire or a click close it while it is open.
void PanelContents(c_MyApp* app, float w, float h, float offset);

}  // namespace menu
