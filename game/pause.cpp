// game/pause.cpp: the pause menu. The frozen game is dimmed behind a menu of
// three buttons (resume, quit, options) that slides in from the left, beside
// the word "PAUSED" and a two-armed pen toy whose arm and speed the direction
// keys tune; consoles also get a slider for the overscan margin.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "game/app.h"

namespace {

constexpr int kSlideStep = 24;
constexpr float kRestLeft = 68;
// The game screen's background.
constexpr int kGameRed = 100, kGameGreen = 140, kGameBlue = 200;
constexpr int kSlideHidden = -64;
// The toy and "PAUSED" stand this far right of the screen's centre, clear of the buttons.
constexpr float kToyOffsetX = 96;
constexpr int kTrailSegments = 101;
constexpr float kMaxSpin = 128;

// Cursor values of the buttons, and one that none has.
constexpr int kQuit = -1;
constexpr int kResume = 0;
constexpr int kOptions = 1;
constexpr int kNoMove = 2;

// A button: its cursor value, height, image, and the cursor moves from it
// (target and click pitch) for up and down.
struct PauseButton {
  int choice;
  float y;
  int slot;
  int frame;
  int up;
  float upRate;
  int down;
  float downRate;
};

// In the order they run: a move made by one button is seen by the later ones.
constexpr PauseButton kButtons[] = {
    {kResume, 196, kImageIcons, 3, kQuit, 0.8f, kOptions, 1.2f},
    {kQuit, 96, kImageIcons, 1, kNoMove, 0, kResume, 0.8f},
    {kOptions, 296, kImageButtons, 10, kResume, 0.8f, kNoMove, 0},
};

// The options gear: three wheels of "common/Buttons" turning at their own rates
// (degrees per unit of m_GearAngle); the last one is also the button.
struct GearWheel {
  int frame;
  float turn;
};
constexpr GearWheel kGearWheels[] = {{8, -0.66f}, {9, 0.33f}, {10, 0.33f}};

constexpr char16_t kOverscanText[] = u"\u00acU <      Overscan      > \u00acO";

// A colour channel of the trail: truncated, then held to 0..255.
float Channel(float value) {
  return static_cast<float>(std::clamp(static_cast<int>(value), 0, 255));
}

bool AnyPlayerHolds(c_MyApp* app, int action) { return app->p_PlayKeyAll(action, 1) > 0; }

// Carries out a button; `byKey` says which latch the consumed press holds.
void Choose(c_MyApp* app, int choice, bool byKey) {
  if (byKey) {
    app->m_KeyLock = 1;
  } else {
    app->m_PointerLock = 1;
  }
  if (choice == kResume) {
    app->m_PauseState = -1;
    app->p_PlaySFX(98, 1, 0.5f, 0);
  } else if (choice == kQuit) {
    // The game ends at once; the game-over overlay follows with "Quit" and "Game".
    app->m_Paused = 0;
    app->m_PauseState = -1;
    app->m_PauseSlide = kSlideHidden;
    app->m_GameOver = 1;
    app->m_QuitGame = -1;
    app->m_PointerLock = 1;
    app->p_PlaySFX(98, 0.5f, 0.5f, 0);
  } else {
    app->m_OptionsOpen = 1;
    if (byKey) {
      app->p_PlaySFX(98, 1, 0.5f, 0);
    } else {
      app->p_PlaySFX(99, 1, 1, 0);
    }
  }
}

void MoveCursor(c_MyApp* app, int to, float rate) {
  app->m_PauseSel = to;
  // One tap moves one place: a held key would otherwise step on every frame.
  app->m_KeyLock = 1;
  app->p_PlaySFX(99, rate, 0.5f, 0);
}

// Advances the pen, lets held direction keys tune it (unless the options
// box has them), and draws its trail.
void RunToy(c_MyApp* app, float w, float h, bool takesInput) {
  const float centreX = w / 2 + kToyOffsetX;
  const float centreY = h / 2;
  const float reach = std::min(0.45f * h, 0.45f * (w - kToyOffsetX));
  app->m_ToyAngleA = fmodf(app->m_ToyAngleA + 1, 360);
  app->m_ToyAngleB = fmodf(app->m_ToyAngleB + app->m_ToySpin, 360);
  app->m_ToyHue = fmodf(app->m_ToyHue + 1.5f, 360);
  const float arm = app->m_ToyArm;
  const float elbowX = centreX + (reach - arm) * SinDeg(app->m_ToyAngleA);
  const float elbowY = centreY - (reach - arm) * CosDeg(app->m_ToyAngleA);
  const float penX = elbowX + arm * SinDeg(app->m_ToyAngleB);
  const float penY = elbowY - arm * CosDeg(app->m_ToyAngleB);

  // Held keys tune the toy on every frame, without a latch.
  struct Tuning {
    int action;
    float* value;
    float step;
    float high;
  };
  const Tuning tunings[] = {{kActionUp, &app->m_ToyArm, -1, reach},
                            {kActionDown, &app->m_ToyArm, 1, reach},
                            {kActionLeft, &app->m_ToySpin, -0.25f, kMaxSpin},
                            {kActionRight, &app->m_ToySpin, 0.25f, kMaxSpin}};
  for (const Tuning& tuning : tunings) {
    if (takesInput && AnyPlayerHolds(app, tuning.action)) {
      *tuning.value = std::clamp(*tuning.value + tuning.step, 0.0f, tuning.high);
    }
  }
  app->p_SetCol(100, 255, 100, 0.8f);
  app->m_DrawTag = kTagPaused;
  app->p_Text(w - 8, h - 8,
              String(static_cast<int>(app->m_ToyArm)) + String(":") +
                  String(static_cast<int>(app->m_ToySpin)),
              2, 2, 0);

  // Points oldest first; each frame the pen is the newest and all move one older.
  // A pause starts with every point on the pen, so no line runs from stale points.
  app->m_DrawTag = kTagNone;
  float* trail = &app->m_ToyTrail[0];
  if (app->m_ToyTrailLive == 0) {
    for (int i = 0; i <= kTrailSegments; ++i) {
      trail[2 * i] = penX;
      trail[2 * i + 1] = penY;
    }
    app->m_ToyTrailLive = 1;
  }
  trail[2 * kTrailSegments] = penX;
  trail[2 * kTrailSegments + 1] = penY;
  for (int i = 0; i < kTrailSegments; ++i) {
    const float hue = app->m_ToyHue + 2.0f * i;
    app->p_SetCol(Channel(i + i * SinDeg(hue)), Channel(i + i * CosDeg(hue)),
                  Channel(i - i * CosDeg(hue)), 1);
    float* point = &trail[2 * i];
    app->p_Line(point[0], point[1], point[2], point[3]);
    app->p_Line(point[0] - 0.5f, point[1] - 0.5f, point[2] - 0.5f, point[3] - 0.5f);
    point[0] = point[2];
    point[1] = point[3];
  }
}

// Consoles only: the overscan margin, set by a tap on the track or by actions 14 and 15.
void OverscanSlider(c_MyApp* app, float w, bool takesInput) {
  const float slide = static_cast<float>(app->m_PauseSlide);
  int& overscan = app->m_Settings[kOverscanSetting];
  app->p_SetSize(2, 2);
  app->p_Text(w / 2, slide - 150,
              String(kOverscanText, static_cast<int>(std::size(kOverscanText)) - 1), 1, 1, 0);
  app->p_SetCol(0, 128, 255, 0.5f);
  app->p_Rect(w / 2 - 128, slide - 154, 256, 9);
  app->p_SetCol(255, 255, 0, 0.75f);
  app->p_Rect(w / 2 - 132 + 2.67f * overscan, slide - 158, 8, 16);
  if (takesInput && app->m_PointerLock == 0 &&
      app->p_MouseIn_Centered(w / 2, slide - 158, 256, 16)) {
    overscan = overscan >= 32 ? 1 : kMaxOverscan;
    // A held press toggles once.
    app->m_PointerLock = 1;
    app->p_PlaySFX(98, 1, 1, 0);
  }
  if (takesInput && app->m_KeyLock == 0 && AnyPlayerHolds(app, 14)) {
    app->m_KeyLock = 1;
    if (overscan > 0) overscan -= 16;
  }
  if (takesInput && app->m_KeyLock == 0 && AnyPlayerHolds(app, 15)) {
    app->m_KeyLock = 1;
    if (overscan < kMaxOverscan) overscan += 16;
  }
  app->p_ApplyOverscan();
}

// Draws a button and returns 1 while the pointer is held on it.
int DrawButton(c_MyApp* app, const PauseButton& button, float x) {
  if (button.choice != kOptions) return app->p_Button(button.slot, x, button.y, button.frame);
  if (app->m_OptionsOpen != 1) app->m_GearAngle += 0.2f;
  int pressed = 0;
  for (const GearWheel& wheel : kGearWheels) {
    app->p_SetRot(wheel.turn * app->m_GearAngle);
    if (wheel.frame == button.frame) {
      pressed = app->p_Button(button.slot, x, button.y, wheel.frame);
    } else {
      app->p_DrawImg(button.slot, x, button.y, static_cast<float>(wheel.frame));
    }
  }
  app->p_SetRot(0);
  return pressed;
}

// The buttons slide in from the left edge with the menu; the cursor's one is ringed.
void PauseButtons(c_MyApp* app, float h, bool takesInput) {
  float x = truncf(64 - (h / 2 - app->m_PauseSlide));
  // At rest the options gear stays whole whatever the screen's height.
  if (app->m_PauseSlide >= h / 2) x = std::max(x, kRestLeft);
  app->m_DrawTag = kTagPauseMenu;
  for (const PauseButton& button : kButtons) {
    // Twice the frame's size, or a finger's size where larger.
    app->p_SetSize(1, 1);
    const float size = std::max(2.0f, app->p_FingerSize() / (2 * app->p_HalfFrame(button.slot, 1)));
    app->p_SetSize(size, size);
    app->p_SetCol(255, 255, 255, 1);
    const int pressed = DrawButton(app, button, x);
    // Every button, quit included, needs the pointer free: a press still held
    // from the options box (whose close gear lies over quit) must not end the game.
    if (takesInput && pressed && app->m_PointerLock == 0) Choose(app, button.choice, false);
    if (app->m_PauseSel != button.choice) continue;
    app->p_SetSize(1.25f * size, 1.25f * size);
    app->p_SetCol(255, 255, 100, 1);
    app->p_DrawImg(kImageIcons, x, button.y, 6);
    // Fire, quit's too, and cursor moves all need the key latch free.
    if (!takesInput || app->m_KeyLock != 0) continue;
    if (AnyPlayerHolds(app, kActionFire)) {
      Choose(app, button.choice, true);
    } else if (button.up != kNoMove && AnyPlayerHolds(app, kActionUp)) {
      MoveCursor(app, button.up, button.upRate);
    } else if (button.down != kNoMove && AnyPlayerHolds(app, kActionDown)) {
      MoveCursor(app, button.down, button.downRate);
    }
  }
}

}  // namespace

int c_MyApp::p_PauseMenu() {
  const float w = rk_Game_jscrw;
  const float h = rk_Game_jscrh;
  // The game's own colour, not the one kept: a new window reloads the images
  // and the loader fades the background to black.
  p_DoBG(kGameRed, kGameGreen, kGameBlue, -123);
  p_SetCol(0, 0, 0, std::abs(m_PauseSlide) / (0.8f * h));
  p_Rect(0, 0, w, h);

  if (m_PauseState == 1 && m_PauseSlide < h / 2) m_PauseSlide += kSlideStep;
  // A screen that got shorter takes the menu back with it.
  if (m_PauseState == 1 && m_PauseSlide >= h / 2 + kSlideStep) m_PauseSlide -= kSlideStep;
  if (m_PauseState == -1) {
    if (m_PauseSlide >= kSlideHidden + 1) m_PauseSlide -= kSlideStep;
    if (m_PauseSlide < -32) m_Paused = 0;
  }

  // The open options box takes the input; the menu beneath it only draws.
  const bool takesInput = m_OptionsOpen != 1;
  RunToy(this, w, h, takesInput);
  p_SetSize(4, 4);
  p_SetCol(255, 255, 255, 1);
  m_DrawTag = kTagPaused;
  p_Text(w / 2 + kToyOffsetX, h / 2, String("PAUSED"), 1, 1, 0);
  m_DrawTag = kTagNone;

  if (rk_Game_isOuya == 1) OverscanSlider(this, w, takesInput);
  PauseButtons(this, h, takesInput);
  if (takesInput && m_KeyLock == 0 && AnyPlayerHolds(this, kActionBack)) {
    Choose(this, kResume, true);
  }
  m_DrawTag = kTagNone;
  return 0;
}
