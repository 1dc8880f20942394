// game/options.cpp: the options box. A panel rises over the screen below it
// with a gear that closes it, rows for the sound and music levels, the window
// mode (a page's is the browser's full screen, and has no row without one)
// and the two thumbstick directions (consoles add an overscan slider and a
// quit row). Pointer and pad both work it; the settings are saved when it closes.
#include <algorithm>
#include <iterator>

#include "game/app.h"
#include "game/lock_actions.h"
#include "runtime/startup.h"

namespace {

constexpr int kSlideOpen = 30;
constexpr int kClick = 99;
constexpr int kAudioModeSetting = 5;
constexpr int kMusicLevelSetting = 7;
constexpr float kRowPitch = 40;
constexpr float kRowHeight = 24;
// The row that shows the window mode rather than a setting.
constexpr int kWindowMode = -1;

// A row cycles one value through its texts, which are indexed by the value.
struct OptionRow {
  int setting;
  int count;
  const char* texts[4];
};
constexpr OptionRow kRows[] = {
    {6, 4, {"Sound : [-  -  - Loud]", "Sound : [-  - Normal-]", "Sound : [- Quiet -  -]",
            "Sound : [OFF  -  -  -]"}},
    {kMusicLevelSetting, 4, {"Music : [-  -  - Loud]", "Music : [-  - Normal-]",
                             "Music : [- Quiet -  -]", "Music : [OFF  -  -  -]"}},
    {kWindowMode, 2, {"Fullscreen", "Windowed"}},
    {15, 2, {"Left Thumbstick Y Flipped", "Left Thumbstick Y Normal"}},
    {16, 2, {"Right Thumbstick Y Flipped", "Right Thumbstick Y Normal"}},
};
constexpr float kMusicVolumes[] = {1.0f, 0.7f, 0.4f, 0.0f};

// The options gear: three wheels of "common/Buttons" turning at their own rates
// (the stored rotation per unit of m_GearAngle); the last one is also the button.
struct GearWheel {
  int frame;
  float rotation;
};
constexpr GearWheel kGearWheels[] = {{8, 0.66f}, {9, -0.33f}, {10, -1.0f}};
constexpr int kGearButtonFrame = 10;

constexpr int kActivateActions[] = {10, 11, 12, 13, 14, 15};
constexpr int kCloseActions[] = {15, 10, 11};

constexpr char16_t kOverscanText[] = u"\u00acU <      Overscan      > \u00acO";

template <size_t N>
bool AnyHeld(c_MyApp* app, const int (&actions)[N]) {
  return std::any_of(std::begin(actions), std::end(actions),
                     [app](int action) { return app->p_PlayKeyAll(action, 1) > 0; });
}

bool AnyHeld(c_MyApp* app, int action) { return app->p_PlayKeyAll(action, 1) > 0; }

bool BoxLocked(const c_MyApp* app) { return app->m_BoxKeyLock != 0 || app->m_BoxPointerLock != 0; }

void Close(c_MyApp* app) {
  app->m_OptionsOpen = 0;
  // Nothing more changes in this update, after the save; the screen below
  // does not see the key or touch that closed the box either.
  app->m_BoxKeyLock = 1;
  app->m_BoxPointerLock = 1;
  app->m_KeyLock = 1;
  app->m_PointerLock = 1;
  app->p_PlaySFX(kClick, 1, 1, 0);
  app->p_Save();
}

// Consoles: a white corner mark at each corner of the screen, to judge the overscan by.
void CornerGuides(c_MyApp* app, float w, float h) {
  for (float x : {0.0f, 1.0f}) {
    for (float y : {0.0f, 1.0f}) {
      app->p_Rect(x * (w - 16), y * (h - 8), 16, 8);
      app->p_Rect(x * (w - 8), y * (h - 16), 8, 16);
    }
  }
}

// The gear and "<[BACK]" slide in from the left; the gear or back closes the box.
void Header(c_MyApp* app, float slide) {
  app->m_GearAngle += 0.2f;
  app->m_LayoutX = static_cast<int>(12 * slide - 260);
  const float x = static_cast<float>(app->m_LayoutX);
  // Focused it grows, but stays clear of the top edge and the first row.
  const float size = app->m_OptionCursor == 0 ? 1.75f : 1.5f;
  app->p_SetSize(size, size);
  app->p_SetCol(255, 255, 255, 1);
  int pressed = 0;
  for (const GearWheel& wheel : kGearWheels) {
    app->m_DrawRot = wheel.rotation * app->m_GearAngle;
    if (wheel.frame == kGearButtonFrame) {
      pressed = app->p_Button(kImageButtons, x, 60, wheel.frame);
    } else {
      app->p_DrawImg(kImageButtons, x, 60, static_cast<float>(wheel.frame));
    }
  }
  app->m_DrawRot = 0;
  if ((pressed || AnyHeld(app, kActionBack)) && !BoxLocked(app)) {
    Close(app);
    app->m_KeyLock = 1;
    app->m_PointerLock = 1;
  }
  app->p_SetSize(2, 2);
  app->p_Text(x + 76, 60, String("<[BACK]"), 0, 1, 0);
}

// Consoles: the overscan margin, lowered by action 14 and raised by action 15.
void OverscanSlider(c_MyApp* app, float w, float slide) {
  const float y = 12 * slide - 268;
  int& overscan = app->m_Settings[kOverscanSetting];
  app->p_SetCol(255, 255, 255, 1);
  app->p_Text(w * 0.6f, y, String(kOverscanText, static_cast<int>(std::size(kOverscanText)) - 1),
              1, 1, 0);
  app->p_SetCol(0, 128, 255, 0.5f);
  app->p_Rect(w * 0.6f - 128, y - 5, 256, 9);
  app->p_SetCol(255, 255, 0, 0.75f);
  app->p_Rect(w * 0.6f - 132 + overscan * 2.67f, y - 8, 8, 16);
  for (int action : {14, 15}) {
    if (app->m_BoxKeyLock != 0 || !AnyHeld(app, action)) continue;
    overscan += action == 14 ? -16 : 16;
    app->m_BoxKeyLock = 1;
  }
  app->p_ApplyOverscan();
}

// Draws the touch area of row m_HitResult under its text, lit when it is the
// cursor row; true when the row is activated by the pointer (which also makes
// it the cursor row) or, as the cursor row, by a pad button.
bool TouchRow(c_MyApp* app, float x, float y, float w, float height, bool windowRow) {
  const int row = app->m_HitResult;
  if (app->m_OptionCursor == row) {
    app->p_SetCol(0, 180, 255, 0.5f);
  } else {
    app->p_SetCol(0, 0, 160, 0.5f);
  }
  const bool touched = app->p_Touch(x, y - 2, w, height) != 0;
  if (touched) app->m_OptionCursor = row;
  const bool keyed = app->m_OptionCursor == row && AnyHeld(app, kActivateActions);
  if (!touched && !keyed) return false;
  if (app->m_BoxPointerLock != 0) return false;
  // Mended: a held key re-flipped the window after every reload; keys need the key lock free.
  if (app->m_BoxKeyLock != 0 && (!windowRow || !touched)) return false;
  app->m_BoxKeyLock = 1;
  app->m_BoxPointerLock = 1;
  return true;
}

// Values outside a row's texts count as its first value, and are stored so.
int RowValue(c_MyApp* app, const OptionRow& row) {
  if (row.setting == kWindowMode) return app->m_Fullscreen != 0 ? 1 : 0;
  int& value = app->m_Settings[row.setting];
  if (value < 0 || value >= row.count) value = 0;
  return value;
}

void Activate(c_MyApp* app, const OptionRow& row, int value) {
  if (row.setting == kWindowMode) {
    app->p_FullscreenFlip();
  } else {
    app->m_Settings[row.setting] = (value + 1) % row.count;
    if (row.setting == kMusicLevelSetting) {
      rk_audio_SetMusicVolume(kMusicVolumes[app->m_Settings[row.setting]]);
    }
  }
  // After the change, so the click already sounds at a new effect level.
  app->p_PlaySFX(kClick, 1, 1, 0);
}

// Rows 1 onward, 40 apart (or a finger's height and a little), rising with the
// panel; leaves m_HitResult at the last row.
void Rows(c_MyApp* app, float w, float slide) {
  // p_Touch takes 6 above a row's area and 12 below it as well.
  const float height = std::max(kRowHeight, app->p_FingerSize() - 18);
  const float pitch = kRowPitch + height - kRowHeight;
  const float textDrop = (height - kRowHeight) / 2;
  app->m_HitResult = 0;
  app->m_LayoutY = static_cast<int>(850 - 24 * slide);
  for (const OptionRow& row : kRows) {
    if (row.setting == kMusicLevelSetting && rk_Game_HasMusicStream != 1) continue;
    if (row.setting == kWindowMode && rk_app_FullScreen() < 0) continue;
    ++app->m_HitResult;
    const float y = static_cast<float>(app->m_LayoutY);
    const int value = RowValue(app, row);
    const bool activated = TouchRow(app, 84, y, w - 168, height, row.setting == kWindowMode);
    app->p_SetCol(255, 255, 255, 1);
    app->p_Text(100, y + textDrop, String(row.texts[value]), 0, 0, 0);
    if (activated) Activate(app, row, value);
    app->m_LayoutY += static_cast<int>(pitch);
  }
  if (rk_Game_isOuya != 1 || app->m_Paused != 0) return;
  ++app->m_HitResult;
  const float x = w - 264;
  const float y = static_cast<float>(app->m_LayoutY) + (app->m_Landscape == 0 ? kRowPitch : 0);
  const bool activated = TouchRow(app, x - 16, y, 180, height, false);
  app->p_SetCol(255, 255, 255, 1);
  app->p_Text(x, y, String("Quit"), 0, 0, 0);
  if (activated) rkError(String(""));
}

// Confirm on the gear row closes; the direction actions move the cursor a row.
void PadNavigation(c_MyApp* app) {
  if (app->m_BoxKeyLock != 0) return;
  const int lastRow = app->m_HitResult;
  if (app->m_OptionCursor == 0 && AnyHeld(app, kCloseActions)) {
    Close(app);
    return;
  }
  int move = 0;
  if (AnyHeld(app, kActionUp) || AnyHeld(app, kActionLeft)) {
    if (app->m_OptionCursor > 0) move = -1;
  } else if (AnyHeld(app, kActionDown) || AnyHeld(app, kActionRight)) {
    if (app->m_OptionCursor < lastRow) move = 1;
  }
  if (move == 0) return;
  app->m_OptionCursor += move;
  app->p_PlaySFX(kClick, 1, 1, 0);
  app->m_BoxKeyLock = 1;
}

}  // namespace

int c_MyApp::p_OptionBox() {
  const float w = rk_Game_jscrw;
  const float h = rk_Game_jscrh;
  const float slide = static_cast<float>(m_OptionsSlide);
  p_ResetDraw();
  if (rk_Game_isOuya == 1) CornerGuides(this, w, h);

  m_KeyLock = 1;
  m_PointerLock = 1;
  // Nothing in the box reacts until it has fully arrived.
  if (m_OptionsSlide != kSlideOpen) {
    m_BoxKeyLock = 1;
    m_BoxPointerLock = 1;
  }

  m_DrawTag = kTagOptions;
  p_SetCol(150, 75, 0, 0.85f);
  p_Rect(50, 720 - 24 * slide, w - 100, h);
  Header(this, slide);
  if (rk_Game_isOuya == 1) OverscanSlider(this, w, slide);
  m_Settings[kAudioModeSetting] = 1;
  p_SetSize(2, 2);
  Rows(this, w, slide);
  PadNavigation(this);

  if (m_PointerDown == 0) m_BoxPointerLock = 0;
  if (!AnyLockActionHeld(this)) m_BoxKeyLock = 0;
  p_ResetDraw();
  m_DrawTag = kTagNone;
  return 0;
}

int c_MyApp::p_ApplyOverscan() {
  int& overscan = m_Settings[kOverscanSetting];
  overscan = std::clamp(overscan, 1, kMaxOverscan);
  rk_Game_overscan = static_cast<float>(overscan);
  return 0;
}
