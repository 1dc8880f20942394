// game/replay_fit.h: where the replay puts the display list's virtual
// coordinates in the window: past the overscan margin (the vertical one in
// the window's aspect), at the fit's scale. Drawing and the changed-area box
// both use it, so they agree.
#pragma once

#include "game/app.h"

struct ReplayFit {
  float originX, originY, scaleX, scaleY;

  float X(float v) const { return originX + scaleX * v; }
  float Y(float v) const { return originY + scaleY * v; }
};

inline ReplayFit ReplayFitOf(const c_MyApp& app, float devWidth, float devHeight) {
  const float overscan = rk_Game_overscan;
  return {overscan, devWidth > 0 ? overscan * devHeight / devWidth : 0, app.m_ScaleX, app.m_ScaleY};
}
