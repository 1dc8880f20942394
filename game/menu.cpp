// game/menu.cpp: the main menu. A dial of card types arched around the
// options gear, a medal in the top-left corner that opens the badge gallery,
// and a dark panel on the right with the top-ten and last-ten lists of the
// chosen type and the play button at its foot. Focus moves between medal,
// gear, dial and panel by keys or by pointing; the panel's own contents are
// in menu_panel.cpp.
#include "game/menu.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "game/badges.h"
#include "host/input.h"
#include "runtime/startup.h"

namespace menu {
namespace {

constexpr int kImageLogo = 98;
constexpr int kImageCircle = 85;
constexpr int kFontLineHeight = 1;  // m_ImageInfo entry of a slot: width, height, frames
constexpr int kKeyEscape = 27;
constexpr int kConsoleBack = 98;
constexpr int kQuitPrompt = 4;

constexpr int kQuitItem = -1;
constexpr int kLastItem = 2;
constexpr float kItemPitch = 32;
// Turn slots the menu borrows while no game runs: the key-repeat counter and delay.
constexpr int kRepeatCounter = 21;
constexpr int kRepeatDelay = 22;
constexpr float kFirstRepeat = 30;

constexpr float kGearBox = 64;
constexpr int kScoreWidth = 9;
// The gear's centre, far enough from the left edge to show it whole.
constexpr float kGearX = 50;
// How far the dial's chips reach right of the screen's left edge and above
// the gear's centre, in the dial's own units; the logo's half height.
constexpr float kDialReachX = 240;
constexpr float kDialReachY = 176;
constexpr float kLogoHalfHeight = 75;
// The gallery's medal: a frame of the badge sheet in the top-left corner,
// above the dial and left of the logo at every screen shape.
constexpr int kImageBadges = 80;
constexpr int kMedalFrame = 55;
constexpr float kMedalCorner = 40;
constexpr float kMedalBox = 56;
constexpr float kDragBox = 500;
// The side of the square inside a smaller dial item's hit circle.
constexpr float kItemHitBox = 52;
// Pointer travel that makes a press on the dial a turn rather than a tap, and
// how far past an end item a held dial goes; it springs back once let go.
constexpr float kGripSlop = 4;
constexpr float kOvershoot = kItemPitch;
constexpr float kMaxSpin = 40;
constexpr int kGripLoose = 0;
constexpr int kGripPressed = 1;
constexpr int kGripTurning = 2;

// The gear's three layers and how fast each turns with m_GearAngle.
struct GearLayer {
  int frame;
  float turn;
};
constexpr GearLayer kGearLayers[] = {{8, 1}, {9, -2}, {10, 4}};

bool OverlayOpen(const c_MyApp* app) {
  return app->m_OptionsOpen == 1 || app->m_SidePanelOpen == 1 || app->m_MenuPanelOpen == 1 ||
         app->m_GalleryOpen == 1;
}
int LowestItem() { return rk_Game_isOuya == 1 ? kQuitItem : 0; }
float RestAngle(int item) { return -kItemPitch * item; }
// Turned by a held pointer or still carrying on after one: it settles by itself.
bool Turning(const c_MyApp* app) {
  return app->m_DialGrip == kGripTurning || app->m_DialSpin != 0;
}

// Carries out the focused area: options, a game (or quitting), or the open panel.
void Activate(c_MyApp* app) {
  app->m_PlayAsked = 0;
  if (app->m_MenuFocus == kFocusGear) {
    app->m_OptionsOpen = 1;
    Sound(app, kSoundMove);
  } else if (app->m_MenuFocus == kFocusMedal) {
    app->m_GalleryOpen = 1;
    Sound(app, kSoundMove);
  } else if (app->m_MenuFocus == kFocusPanel) {
    app->m_SidePanelOpen = 1;
    Sound(app, kSoundMove);
  } else {
    if (app->m_MenuSel == kQuitItem) rkError(String());
    // The way the game was started picks the in-game pause button's look.
    app->m_InputKind = app->m_PointerDown > 0 ? 2 : 1;
    for (int button = 10; button <= 15; ++button) {
      if (AnyPlayerHolds(app, button)) app->m_InputKind = 0;
    }
    TakeLatches(app);
    app->m_DialAngle = RestAngle(app->m_MenuSel);
    app->m_DialGrip = kGripLoose;
    app->m_Screen = kScreenStartGame;
  }
}

// The back action ends the program on a desktop; a console asks first, and
// so does a page, where Escape and Backspace are pressed by habit.
void Leave(c_MyApp* app) {
  if (!LatchesFree(app)) return;
  if (rk_Game_isOuya == 0) {
    if (!AnyPlayerHolds(app, kActionBack)) return;
    if (!rk_app_InPage()) rkError(String());
  } else if (!AnyPlayerHolds(app, kConsoleBack) && !rk_input_KeyDown(kKeyEscape)) {
    return;
  }
  app->m_Screen = kQuitPrompt;
  TakeLatches(app);
}

void RightPanel(c_MyApp* app, float w, float h, float width) {
  const float left = w - width - 8.0f * app->m_MenuSlide;
  const bool focused = app->m_MenuFocus == kFocusPanel;
  app->m_DrawTag = kTagNone;
  app->p_SetCol(255, 255, 255, focused ? 1 : 0.2f);
  app->p_Rect(left - 2, -128, 3, h + 128);
  app->p_SetCol(0, 0, 0, focused ? 0.75f : 0.45f);
  app->p_Rect(left, -128, width + 32, h + 128);
  if (!LatchesFree(app) || !app->p_MouseIn(left, -128, width + 32, h)) return;
  if (!focused) {
    app->m_MenuFocus = kFocusPanel;
    Sound(app, kSoundMove);
    TakeLatches(app);
  } else if (!OverlayOpen(app)) {
    // The press is consumed, or the click that closes the panel would close it at once.
    app->m_PointerLock = 1;
    Activate(app);
  }
}

void PlayButton(c_MyApp* app, float w, float h, float width) {
  const float x = w - width / 2;
  const float y = h - 48;
  app->m_DrawTag = kTagPlayButton;
  app->p_SetSize(3, kAbsent);
  // Shown whenever it answers a click: dimmer while the dial is not focused.
  if (OverlayOpen(app)) return;
  app->p_SetCol(100, 255, 100, app->m_MenuFocus == kFocusDial ? 0.5f : 0.25f);
  app->p_DrawImg(kImageIcons, x, y, 3);
  if (app->m_PlayAsked == 1) {
    // A game asked for waits for its pictures and sounds: dots that count
    // the wait show that it is on its way.
    const char* const dots[] = {"   ", ".  ", ".. ", "..."};
    app->p_SetSize(1.5f, kAbsent);
    app->p_SetCol(255, 255, 255, 0.9f);
    app->p_Text(x, y - 64, String("Loading") + String(dots[rk_app_Millisecs() / 400 % 4]), 1, 1, 0);
  }
  if (!LatchesFree(app) || !app->p_MouseIn_Centered(x, y, 128, 128)) return;
  app->m_MenuFocus = kFocusDial;
  app->m_PointerLock = 1;
  Sound(app, kSoundGo);
  Activate(app);
}

void ScoreLists(c_MyApp* app, float w, float h, float width) {
  const int type = app->m_CardType;
  if (type <= 0 || app->m_MenuPanelOpen == 1 || app->m_OptionsOpen == 1) return;
  const int pitch =
      std::max(1, static_cast<int>(1.5f * app->m_ImageInfo[app->m_FontSlot * 3 + kFontLineHeight]));
  const int count = std::clamp(static_cast<int>(std::floor((h - 90 - h / 2) / pitch)), 1, 10);
  struct List {
    const char* title;
    const char* single;
    int start;
    float red, green, blue, y;
  };
  // High enough that ten entries of the second list end above the play button.
  const List lists[] = {{"Top ", "Highscore", 10 * (type - 1), 255, 200, 100, 36},
                        {"Last ", "Last", 30 + 10 * (type - 1), 200, 255, 100, h / 2 - 24}};
  const float x = w - width - 4.0f * app->m_MenuSlide + 20;
  app->m_DrawTag = kTagScoreLists;
  app->p_SetSize(1.5f, kAbsent);
  for (const List& list : lists) {
    String text = count == 1 ? String(list.single) : String(list.title) + String(count);
    for (int k = 0; k < count; ++k) {
      // Nine places: scores keep clear of the right edge.
      text = text + "\\n" + app->p_rstr(app->m_HiScores[list.start + k], kScoreWidth, " ");
    }
    app->p_SetCol(list.red, list.green, list.blue, 1);
    app->p_Text(x, list.y, text, 0, 0, 0);
  }
}

// A dial that stops turning selects the item nearest its angle, then eases to it.
void Settle(c_MyApp* app) {
  const int item = std::clamp(static_cast<int>(std::lround(-app->m_DialAngle / kItemPitch)),
                              LowestItem(), kLastItem);
  if (item == app->m_MenuSel) return;
  app->m_MenuSel = item;
  Sound(app, kSoundMove);
}

// Letting go of a turning dial carries it on at its speed over the last updates.
void Release(c_MyApp* app) {
  if (app->m_DialGrip == kGripTurning) {
    float sum = 0;
    for (float step : app->m_DialSteps) sum += step;
    const float count = static_cast<float>(std::size(app->m_DialSteps));
    app->m_DialSpin = std::clamp(sum / count, -kMaxSpin, kMaxSpin);
    if (app->m_DialSpin == 0) Settle(app);
  }
  app->m_DialGrip = kGripLoose;
  app->m_DragX = -1;
}

void DialPhysics(c_MyApp* app) {
  if (app->m_PointerDown == 0) Release(app);
  if (app->m_DialSpin != 0) {
    // What is drawn carries on too, rather than trailing behind.
    app->m_DialAngle += app->m_DialSpin;
    app->m_DialShown += app->m_DialSpin;
    app->m_DialSpin *= 0.75f;
    if (std::fabs(app->m_DialSpin) < 1) {
      app->m_DialSpin = 0;
      Settle(app);
    }
  }
  app->m_DialShown += (app->m_DialAngle - app->m_DialShown) / 8;
  if (std::fabs(app->m_DialAngle - app->m_DialShown) < 0.5f) app->m_DialShown = app->m_DialAngle;
}

void Gear(c_MyApp* app, float cx, float cy) {
  const bool focused = app->m_MenuFocus == kFocusGear;
  app->p_ResetDraw();
  app->m_DrawTag = kTagNone;
  app->p_SetSize(0.5f, kAbsent);
  app->p_Alpha(focused ? 0.8f : 0.25f);
  app->p_DrawImg(kImageCircle, cx, cy, 1);
  if (focused) app->m_GearAngle = std::fmod(app->m_GearAngle + 0.3f, 360.0f);
  app->p_SetSize(1.5f, kAbsent);
  app->p_Alpha(1);
  app->m_DrawTag = kTagDial;
  for (const GearLayer& layer : kGearLayers) {
    app->p_SetRot(layer.turn * app->m_GearAngle);
    app->p_DrawImg(kImageButtons, cx, cy, static_cast<float>(layer.frame));
  }
  app->p_SetRot(0);
  app->m_DrawTag = kTagNone;
  if (LatchesFree(app) && app->p_MouseIn_Centered(cx, cy, kGearBox, kGearBox)) {
    app->m_OptionsOpen = 1;
    app->m_PointerLock = 1;
    Sound(app, kSoundMove);
    app->m_MenuFocus = kFocusGear;
  }
}

// Slides in from the top with the menu; a tap opens the gallery.
void Medal(c_MyApp* app) {
  const bool focused = app->m_MenuFocus == kFocusMedal;
  const float y = kMedalCorner + 4.0f * app->m_MenuSlide;
  app->p_ResetDraw();
  // Grown about the corner to a finger's size where fingers tap it.
  app->p_Place(0, 0, std::max(1.0f, app->p_FingerSize() / kMedalBox));
  app->m_DrawTag = kTagMedal;
  app->p_SetSize(focused ? 0.9f : 0.75f, kAbsent);
  app->p_Alpha(focused ? 1 : 0.7f);
  app->p_DrawImg(kImageBadges, kMedalCorner, y, kMedalFrame);
  app->p_ResetDraw();
  if (LatchesFree(app) && app->p_MouseIn_Centered(kMedalCorner, y, kMedalBox, kMedalBox)) {
    app->m_GalleryOpen = 1;
    app->m_PointerLock = 1;
    Sound(app, kSoundMove);
    app->m_MenuFocus = kFocusMedal;
  }
  app->p_Unplace();
}

// Where a point lies seen from the dial's centre, in the items' degrees:
// 0 straight up, growing clockwise.
float Bearing(float cx, float cy, float x, float y) {
  return std::atan2(x - cx, cy - y) * 57.29578f;
}

// A press around the dial, off the gear, grips it and stops a spin. Once the
// pointer has moved a little the dial turns with it, the item under it staying
// under it, and a pause leaves it where it is.
void Grip(c_MyApp* app, float cx, float cy) {
  if (app->m_PointerDown == 0) return;
  // The pointer in the dial's own units (it may be drawn enlarged).
  const Placement& place = app->m_Place;
  auto designX = [&](float x) { return (x - place.offsetX) / place.scale; };
  auto designY = [&](float y) { return (y - place.offsetY) / place.scale; };
  const float x = designX(static_cast<float>(app->m_MouseX));
  const float y = designY(static_cast<float>(app->m_MouseY));
  if (app->m_DialGrip == kGripLoose) {
    if (app->m_PointerLock >= 1 || !app->p_MouseIn_Centered(cx, cy, kDragBox, kDragBox) ||
        app->p_MouseIn_Centered(cx, cy, kGearBox, kGearBox)) {
      return;
    }
    app->m_DialGrip = kGripPressed;
    app->m_DialSpin = 0;
    std::fill(std::begin(app->m_DialSteps), std::end(app->m_DialSteps), 0.0f);
    app->m_MenuFocus = kFocusDial;
  } else {
    const float dx = x - designX(static_cast<float>(app->m_DragX));
    const float dy = y - designY(static_cast<float>(app->m_DragY));
    if (app->m_DialGrip == kGripPressed && std::max(std::fabs(dx), std::fabs(dy)) <= kGripSlop) {
      return;
    }
    app->m_DialGrip = kGripTurning;
    app->m_PointerLock = -1;
    // Over the gear the bearing swings wildly: the pointer moves without turning.
    float step = 0;
    if (!app->p_MouseIn_Centered(cx, cy, kGearBox, kGearBox)) {
      step = Bearing(cx, cy, x, y) - Bearing(cx, cy, designX(static_cast<float>(app->m_DragX)),
                                             designY(static_cast<float>(app->m_DragY)));
      step = std::remainder(step, 360.0f);
    }
    const float angle = std::clamp(app->m_DialAngle + step, RestAngle(kLastItem) - kOvershoot,
                                   RestAngle(LowestItem()) + kOvershoot);
    auto& steps = app->m_DialSteps;
    std::copy_backward(std::begin(steps), std::end(steps) - 1, std::end(steps));
    steps[0] = angle - app->m_DialAngle;
    app->m_DialShown += steps[0];
    app->m_DialAngle = angle;
  }
  app->m_DragX = app->m_MouseX;
  app->m_DragY = app->m_MouseY;
}

// While the dial turns, the item passing the 30..60 degree window becomes
// the selection; once let go it springs back from its ends.
void Spin(c_MyApp* app, int item, float angle) {
  const bool held = app->m_DialGrip == kGripTurning;
  if (!held && std::fabs(app->m_DialSpin) <= 0.05f) return;
  if (!held && item == kLastItem && (angle < 30 || angle > 200)) app->m_DialSpin = 4;
  if (!held && item == 0 && angle > 60 && angle < 200) app->m_DialSpin = -4;
  const int sel = app->m_MenuSel;
  const bool tappedFarther = app->m_DialTapped == 1 && std::abs(item - sel) > 1;
  if (angle > 30 && angle < 60 && item != sel && !tappedFarther) {
    app->m_MenuSel = item;
    Sound(app, kSoundMove);
  }
}

void DrawItem(c_MyApp* app, int item, float angle, float x, float y) {
  const float scale = item == app->m_MenuSel ? 1.75f : 0.75f;
  app->p_SetRot((angle - 55) / 2);
  app->p_Alpha(app->m_MenuFocus == kFocusDial ? 1 : 0.3f);
  if (item == kQuitItem) {
    app->p_SetSize(2 * scale, kAbsent);
    app->p_SetCol(255, 180, 180, kAbsent);
    app->p_DrawImg(kImageIcons, x, y, 1);
  } else {
    app->p_SetSize(scale, kAbsent);
    app->p_SetCol(255, 255, 255, kAbsent);
    app->p_DrawImg(kImageButtons, x, y, static_cast<float>(item % 6));
    app->p_SetSize(1.5f * scale, kAbsent);
    app->p_Text(x, y, rk_Game_MenuSet[2 * (item % 3)], 1, 1, 0);
  }
  app->p_SetRot(0);
}

// A tap on the selected item at rest starts it; a tap on another only selects it.
void Tap(c_MyApp* app, int item, float x, float y) {
  if (app->m_DialTapped != 0 || app->m_DialGrip == kGripTurning ||
      std::fabs(app->m_DialShown - app->m_DialAngle) >= 2) {
    return;
  }
  if (item == app->m_MenuSel) {
    const bool free = app->m_PointerLock == 0 && app->m_PointerDown > 0;
    if (!free || !app->p_MouseIn_Radius(x, y, 64, 64)) return;
    Sound(app, kSoundGo);
    app->m_MenuFocus = kFocusDial;
    app->m_DialAngle = RestAngle(app->m_MenuSel);
    Activate(app);
  } else if (app->m_PointerLock <= 0 && app->p_MouseIn_Radius(x, y, kItemHitBox, kItemHitBox)) {
    app->m_MenuSel = item;
    app->m_DialAngle = RestAngle(item);
    app->m_MenuFocus = kFocusDial;
    app->m_PointerLock = -1;
    app->m_DialTapped = 1;
    Sound(app, kSoundMove);
  }
}

// The dial grows about the screen's bottom-left corner where fingers turn it,
// its smaller items as large as a finger.
Placement DialPlacement(const c_MyApp* app, float h) {
  const float scale = std::max(1.0f, app->p_FingerSize() / kItemHitBox);
  return {0, h * (1 - scale), scale};
}

void GearAndDial(c_MyApp* app, float h) {
  app->p_Place(DialPlacement(app, h));
  const float cx = kGearX + 12 * app->m_MenuSlide;
  const float cy = std::trunc(h - 64 - 8.0f * app->m_MenuSlide);
  Gear(app, cx, cy);
  Grip(app, cx, cy);
  app->p_SetSize(1.5625f, kAbsent);
  app->p_Alpha(0.25f);
  app->p_SetRot(app->m_DialShown);
  app->p_DrawImg(kImageCircle, cx, cy, 3);
  app->p_SetRot(0);
  app->m_DrawTag = kTagDial;
  for (int item = LowestItem(); item <= kLastItem; ++item) {
    const float angle = kItemPitch * item + 48 + app->m_DialShown;
    const float radius = 116 + std::max(0.0f, 45 - std::fabs(angle - 45)) * 1.5f;
    const float x = cx + radius * SinDeg(angle);
    const float y = cy - radius * CosDeg(angle);
    Spin(app, item, angle);
    DrawItem(app, item, angle, x, y);
    Tap(app, item, x, y);
  }
  app->p_Unplace();
}

// Room for banners clear of the logo, the dial, its description and the
// score lists: beside the dial, or above it, whichever lets them stand
// larger (then, more of them at once).
void BannerRoom(c_MyApp* app, float w, float h, float panelWidth, float logoY) {
  const Placement dial = DialPlacement(app, h);
  const float top = logoY + kLogoHalfHeight + 8;
  const float right = w - panelWidth + 12;
  const float beside[4] = {dial.offsetX + dial.scale * kDialReachX + 8, top, right, h - 58};
  const float above[4] = {8, top, right, dial.offsetY + dial.scale * (h - 64 - kDialReachY) - 8};
  auto scale = [](const float* room) { return std::min(1.0f, (room[2] - room[0]) / kWidestBanner); };
  auto count = [&](const float* room) {
    return static_cast<int>((room[3] - room[1]) / (kBannerPitch * scale(room)));
  };
  const bool useAbove = count(above) >= 1 && (scale(above) > scale(beside) ||
                                              (scale(above) == scale(beside) && count(above) > count(beside)));
  std::copy(useAbove ? above : beside, (useAbove ? above : beside) + 4, app->m_BannerRoom);
}

// Held up or down repeats: at once, then after 30 frames, each wait 12 shorter down to 3.
void Repeat(c_MyApp* app, bool held) {
  float& counter = app->m_Turn[kRepeatCounter];
  float& delay = app->m_Turn[kRepeatDelay];
  if (!held) {
    counter = 0;
    delay = kFirstRepeat;
  } else if (--counter < 0) {
    app->m_KeyLock = 0;
  }
}

void MoveSelection(c_MyApp* app, int step) {
  float& delay = app->m_Turn[kRepeatDelay];
  app->m_MenuSel += step;
  app->m_Turn[kRepeatCounter] = delay;
  delay = std::max(delay - 12, 3.0f);
  app->m_DialSpin = 0;
  Sound(app, kSoundMove);
  TakeLatches(app);
}

bool FireHeld(c_MyApp* app) {
  for (int button : {10, 11, 12}) {
    if (AnyPlayerHolds(app, button)) return true;
  }
  return false;
}

void MoveFocus(c_MyApp* app, int step) {
  app->m_MenuFocus += step;
  Sound(app, kSoundMove);
  TakeLatches(app);
}

// Every key needs the key latch free, so each action below sees the latch the one before took.
void Keys(c_MyApp* app) {
  const bool dial = app->m_MenuFocus == kFocusDial;
  const bool up = AnyPlayerHolds(app, kActionUp);
  const bool down = AnyPlayerHolds(app, kActionDown);
  Repeat(app, dial && !OverlayOpen(app) && (up || down));
  if (OverlayOpen(app)) return;
  if (dial && app->m_KeyLock == 0) {
    if (up && app->m_MenuSel > LowestItem()) {
      MoveSelection(app, -1);
    } else if (down && app->m_MenuSel < kLastItem) {
      MoveSelection(app, 1);
    }
    if (!Turning(app)) app->m_DialAngle = RestAngle(app->m_MenuSel);
  }
  if (app->m_KeyLock == 0 && app->m_MenuFocus > kFocusMedal && AnyPlayerHolds(app, kActionLeft)) {
    MoveFocus(app, -1);
  }
  if (app->m_KeyLock == 0 && app->m_MenuFocus < kFocusPanel && AnyPlayerHolds(app, kActionRight)) {
    MoveFocus(app, 1);
  }
  if (app->m_KeyLock == 0 && FireHeld(app)) {
    Sound(app, kSoundGo);
    TakeLatches(app);
    Activate(app);
  }
}

void Description(c_MyApp* app, float w, float h) {
  // Hidden under the panel and the options box, like the dial it describes.
  if (app->m_MenuFocus != kFocusDial || w <= 600 || app->m_MenuSel < 0 || OverlayOpen(app)) return;
  app->p_ResetDraw();
  app->m_DrawTag = kTagDescription;
  app->p_SetSize(1.5f, kAbsent);
  app->p_Text(240, h - 52 - 3.0f * app->m_MenuSlide, rk_Game_MenuSet[2 * (app->m_MenuSel % 3) + 1],
              0, 0, 0);
}

}  // namespace
}  // namespace menu

int c_MyApp::p_Menu() {
  const float w = rk_Game_jscrw;
  const float h = rk_Game_jscrh;
  m_MenuSel = std::min(m_MenuSel, menu::kLastItem);
  p_DoBG(20, 80, 160, -123);
  if (m_MenuSlide < 0) ++m_MenuSlide;
  m_PanelWidth = m_SidePanelSlide + 140;
  const float width = m_PanelWidth;

  menu::Leave(this);
  if (menu::LatchesFree(this)) m_DialTapped = 0;

  p_ResetDraw();
  p_SetSize(1.5f, kAbsent);
  m_DrawTag = kTagLogo;
  // It stays where the closed panel leaves it and fades as the side panel
  // covers it, rather than sliding off the left edge.
  const float closedWidth = 140;
  p_Alpha(std::max(0.0f, 1 - m_SidePanelSlide / std::max(w - closedWidth, 1.0f)));
  // On a tall screen it stands lower, clear of the enlarged medal in the corner.
  const float logoY = m_Layout == kLayoutTall ? 160.0f : 96.0f;
  p_DrawImg(menu::kImageLogo, (w - closedWidth) / 2, logoY + 12 * m_MenuSlide, 0);
  p_Alpha(1);
  menu::RightPanel(this, w, h, width);
  menu::PlayButton(this, w, h, width);
  menu::ScoreLists(this, w, h, width);
  menu::DialPhysics(this);
  if (!menu::OverlayOpen(this)) {
    menu::Medal(this);
    menu::GearAndDial(this, h);
  }
  menu::Keys(this);
  menu::Description(this, w, h);
  menu::BannerRoom(this, w, h, width, logoY);
  m_CardType = std::clamp(m_MenuSel + 1, 1, 3);
  menu::PanelContents(this, w, h, w - width);
  p_ResetDraw();
  m_DrawTag = kTagNone;
  return 0;
}
