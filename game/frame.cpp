// game/frame.cpp: start-up, the fixed order of work in one update, and the
// suspend and resume hooks. Screens run from the dispatch in the middle of
// the update; everything they draw goes into the display list.
#include <cmath>

#include "game/app.h"
#include "game/lock_actions.h"
#include "net/async_event_source.h"
#include "runtime/startup.h"

namespace {

constexpr int kKeyF1 = 112;
constexpr int kKeyF2 = 113;
constexpr int kKeyF4 = 115;
constexpr int kKeyF11 = 122;
constexpr int kConsoleMenuKey = 270;

// A virtual coordinate as an int; a window not yet fitted (scale 0) maps to 0.
int VirtualCoordinate(float value) {
  if (!std::isfinite(value)) return 0;
  if (value >= 2147483520.0f) return 2147483520;
  if (value <= -2147483520.0f) return -2147483520;
  return static_cast<int>(value);
}

}  // namespace

// The smoothed rate meter shared by updates and renders.
void c_MyApp::MeasureRate(int* lastMs, int* fps, int* average) {
  const int now = rk_app_Millisecs();
  if (now - *lastMs > 0) *fps = 1000 / (now - *lastMs);
  *average = (*fps + 9 * *average) / 10;
  *lastMs = rk_app_Millisecs();
}

int c_MyApp::p_OnCreate() {
  if (rk_Game_isOuya == 1) {
    m_InputKind = 1;
    rk_Game_overscan = 64.0f;
  }
  m_Fullscreen = 0;
  m_LogoSoundPlayed = 0;
  m_MenuSel = 1;
  m_DialAngle = -32.0f;
  if (rk_Game_J_On_Allow == 1) {
    p_GetURL(rk_Game_PingEndpoint, String("hello=1&gameID=") + String(rk_Game_GameNum));
  }
  m_Screen = 1;
  rk_app_SetUpdateRate(60);
  m_LastDevWidth = rk_app_DeviceWidth();
  m_LastDevHeight = rk_app_DeviceHeight();
  m_AccelCalX = m_AccelCalY = 0;
  p_Reload();
  m_CardType = 2;
  m_MenuSlide = -32;
  m_Paused = 0;
  m_PauseState = -1;
  m_PauseSlide = -64;
  for (m_Loop = 0; m_Loop <= 14; ++m_Loop) {
    m_BadgeQueueId[m_Loop] = 0;
    m_BadgeQueueTime[m_Loop] = 0;
  }
  for (m_Loop = 0; m_Loop <= 127; ++m_Loop) m_BadgeFlags[m_Loop] = false;
  for (m_Loop = 0; m_Loop <= 18; ++m_Loop) m_Pad[m_Loop] = 0;
  for (m_Loop = 0; m_Loop <= 24; ++m_Loop) m_Settings[m_Loop] = 0;
  m_Settings[5] = 1;
  for (m_Loop = 0; m_Loop <= 30; ++m_Loop) m_HiScores[m_Loop] = 0;
  p_Load();
  for (m_Loop = 0; m_Loop <= 32; ++m_Loop) m_Channels[m_Loop] = m_Loop;
  return 0;
}

int c_MyApp::p_MapPointer() {
  const float overscan = rk_Game_overscan;
  const float width = static_cast<float>(rk_app_DeviceWidth());
  const float height = static_cast<float>(rk_app_DeviceHeight());
  const float overscanY = width > 0 ? overscan * height / width : 0;
  auto mapX = [&](float x) { return VirtualCoordinate((x - overscan) / m_ScaleX); };
  auto mapY = [&](float y) { return VirtualCoordinate((y - overscanY) / m_ScaleY); };

  m_MouseOldX = m_MouseX;
  m_MouseOldY = m_MouseY;
  m_MouseX = mapX(rk_input_MouseX());
  m_MouseY = mapY(rk_input_MouseY());
  const int leftDown = rk_input_KeyDown(KEY_MOUSE_LEFT);
  // A fresh press never produces a drag delta.
  if (m_MouseWasDown == 0 && leftDown) {
    m_MouseOldX = m_MouseX;
    m_MouseOldY = m_MouseY;
  }
  m_PointerDown = leftDown;
  m_MouseHit = rk_input_KeyHit(KEY_MOUSE_LEFT);

  for (int i = 0; i < 10; ++i) {
    m_TouchOn[i] = 0;
    m_TouchX[i] = m_TouchY[i] = kAbsent;
    if (rk_Game_isOuya == 1 || !rk_input_KeyDown(KEY_FINGER0 + i)) continue;
    m_TouchOn[i] = 1;
    m_TouchX[i] = mapX(rk_input_TouchX(i));
    m_TouchY[i] = mapY(rk_input_TouchY(i));
    m_PointerDown = 1;
  }

  m_MouseWasDown = leftDown;
  if (m_PointerDown == 0) m_PointerLock = 0;
  if (m_Cooldown > 0) --m_Cooldown;
  if (rk_Game_isOuya == 1) {
    m_MouseWasDown = m_PointerDown = m_PointerLock = m_Cooldown = 0;
    m_InputKind = 1;
  }
  return 0;
}

int c_MyApp::p_UpdateInputLocks() {
  if (!AnyLockActionHeld(this)) m_KeyLock = 0;
  if (m_KeyLock == 0 && m_PointerLock == 0 && p_PlayKeyAll(kActionBack, 1) > 0 && m_Screen == 1 &&
      (m_MenuPanelOpen == 1 || m_OptionsOpen == 1 || m_SidePanelOpen == 1)) {
    m_MenuPanelOpen = 0;
    m_SidePanelOpen = 0;
    m_KeyLock = 1;
    m_PointerLock = 1;
  }
  // The screen under the options box or the badge gallery sees its input as held.
  if (m_OptionsOpen == 1 || m_GalleryOpen == 1) m_KeyLock = m_PointerLock = 1;
  return 0;
}

// A game asked for before the data it draws has come waits on the menu, its
// play button saying so, and starts by itself once all is in.
void c_MyApp::p_HoldGameForData() {
  const bool waiting = p_AwaitData();
  if (m_Screen == kScreenStartGame && waiting) {
    m_PlayAsked = 1;
    m_Screen = kScreenMenu;
  } else if (m_PlayAsked == 1 && (!waiting || m_Screen != kScreenMenu)) {
    if (m_Screen == kScreenMenu) m_Screen = kScreenStartGame;
    m_PlayAsked = 0;
  }
}

int c_MyApp::p_ScreenDispatch() {
  // The menu and a game share few pictures: going from one to the other lets
  // go of the textures of the screen left before the next one makes its own.
  const int artOfGame = m_Screen == 10 || m_Screen == kScreenStartGame ? 1 : 0;
  if (artOfGame != m_ArtOfGame) {
    rk_graphics_ReleaseTextures();
    m_ArtOfGame = artOfGame;
  }
  switch (m_Screen) {
    case 1:
      p_Menu();
      break;
    case 2:
      // A finished game hands back: record its score, then the menu runs at once.
      p_LoadMenu();
      p_PlaySFX(96, 1, 1, 0);
      m_Screen = 1;
      p_Menu();
      break;
    case 4:
      p_OuyaQuit();
      break;
    case 10:
      if (m_Paused == 0) p_Game();
      p_InGame();
      break;
    case 11:
      p_LoadGame();
      break;
    default:
      break;
  }
  if (m_Screen == 1 || m_Screen == 2 || (m_Screen == 10 && m_GameOver > 0)) p_GameOver();
  return 0;
}

int c_MyApp::p_OnUpdate() {
  m_HitAreas.clear();
  m_Pad[kPadBackHits] = rk_Game_isOuya == 1 ? (rk_input_KeyHit(kConsoleMenuKey) > 0 ? 1 : 0)
                                            : rk_input_KeyHit(KEY_BACK_BUTTON);

  if (rk_input_KeyHit(kKeyF1)) rk_Game_DebugMode = 1 - rk_Game_DebugMode;
  if (rk_input_KeyHit(kKeyF2)) m_HideHud = 1 - m_HideHud;
  if (rk_input_KeyHit(kKeyF11)) p_FullscreenFlip();
  // A page has its own ways out, and leaves full screen by the browser's
  // Escape without the game: the browser's state is the one shown.
  if (rk_app_InPage()) {
    m_Fullscreen = rk_app_FullScreen() == 1 ? 1 : 0;
  } else if (rk_input_KeyHit(kKeyF4)) {
    rkError(String());
  }
  if (rk_input_KeyHit(KEY_WINDOW_CLOSE)) rkError(String());

  rk_asyncevent_UpdateAsyncEvents();

  if (rk_Game_HasMusicStream == 1 && m_MusicOn == 1) {
    if (m_Paused != 0) {
      rk_audio_PauseMusic();
    } else {
      rk_audio_ResumeMusic();
    }
  }

  MeasureRate(&m_UpdateLastMs, &m_UpdateFps, &m_UpdateFpsAvg);
  p_MapPointer();
  p_UpdateInputLocks();

  if (m_LoadStep == 0 || m_ArtLoaded != 0) {
    p_DropLoadingArt();
    p_ReloadChangedArt();
    p_HoldGameForData();
    p_ScreenDispatch();
    if (m_OptionsOpen == 1 || m_OptionsSlide > 0) p_OptionBox();
    if (m_OptionsOpen == 1 && m_OptionsSlide <= 29) ++m_OptionsSlide;
    if (m_OptionsOpen == 0 && m_OptionsSlide > 0) --m_OptionsSlide;
    if (m_GalleryOpen == 1 || m_GallerySlide > 0) p_Gallery();
    if (m_GalleryOpen == 1 && m_GallerySlide < 30) ++m_GallerySlide;
    if (m_GalleryOpen == 0 && m_GallerySlide > 0) --m_GallerySlide;
    const float target = rk_Game_jscrw - 140;
    // The open panel follows the screen's width down as well as up.
    if (m_SidePanelOpen == 1 && target != m_SidePanelSlide) {
      m_SidePanelSlide += (target - m_SidePanelSlide) / 8;
      if (std::fabs(target - m_SidePanelSlide) < 8) m_SidePanelSlide = target;
    }
    if (m_SidePanelOpen == 0 && m_SidePanelSlide > 0) {
      m_SidePanelSlide -= m_SidePanelSlide / 8;
      if (m_SidePanelSlide < 8) m_SidePanelSlide = 0;
    }
  }
  if (m_LoadStep > 0) p_Loader();

  if (rk_Game_iCadeControls == 1) {
    for (;;) {
      m_LastChar = rk_input_GetChar();
      if (m_LastChar == 0) break;
      if (m_LastChar > 0) p_DecodeICade(m_LastChar);
    }
  }
  for (m_Loop = 0; m_Loop <= 18; ++m_Loop) {
    if (m_Pad[m_Loop] == 1) m_Pad[m_Loop] = 0;
  }
  if (rk_Game_OnScreenControls == 1 && m_Screen > 5 && rk_Game_iCadeControls == 0) {
    p_OnScreenControls();
  }
  if (rk_Game_AccelerometerControls == 1) p_TiltControl();

  if (rk_Game_DebugMode == 1) {
    p_ResetDraw();
    const bool tiltShown = rk_Game_AccelerometerControls == 1 && rk_Game_iCadeControls == 0;
    p_Text(16, tiltShown ? rk_Game_jscrh * 0.5f : rk_Game_jscrh - 16,
           String(m_DrawLen / kRecordFloats) + String(" - ") + String(m_ScaleY) + String(",") +
               String(m_ScaleX) + String(":") + String(m_RenderFpsAvg),
           0, 1, 0);
  }
  // The badges of this update are kept at once, all in one save.
  if (m_BadgesUnsaved != 0) p_Save();
  p_ShowStateNotice();
  p_ShowBadges();
  return 0;
}

namespace {
// Suspend and resume agree on this: a game in progress always comes back paused.
void SetPausedForScreen(c_MyApp* app) {
  const bool playing = app->m_Screen > 9;
  app->m_Paused = playing ? 1 : 0;
  app->m_PauseState = playing ? 1 : 0;
  app->m_PauseSlide = playing ? static_cast<int>(rk_Game_jscrh * 0.5f) : 0;
}
}  // namespace

int c_MyApp::p_OnSuspend() {
  rk_app__game->SetKeyboardEnabled(false);
  rk_Game_iCadeControls = 0;
  for (m_Loop = 0; m_Loop <= 19; ++m_Loop) m_Pad[m_Loop] = 0;
  SetPausedForScreen(this);
  rk_app_SetUpdateRate(5);
  p_Save();
  return 0;
}

int c_MyApp::p_OnResume() {
  SetPausedForScreen(this);
  rk_app_SetUpdateRate(60);
  rk_app__game->SetKeyboardEnabled(false);
  rk_Game_iCadeControls = 0;
  for (m_Loop = 0; m_Loop <= 19; ++m_Loop) m_Pad[m_Loop] = 0;
  return 0;
}
