// game/loader.cpp: the image slots, the detail level that suits the window,
// the sixteen-step loader that runs one step per update, and the loading screen.
#include <algorithm>
#include <cmath>

#include "game/app.h"

namespace {

// One image of the loader: slot, file, level-1 frame size, frames, loader step.
struct ImageAsset {
  int slot;
  const char* name;
  int frameWidth;
  int frameHeight;
  int frames;
  int step;
};
const ImageAsset kImages[] = {
    {97, "common/icons", 32, 32, 16, 1},   {95, "common/Buttons", 64, 64, 16, 2},
    {94, "common/dpad", 32, 32, 16, 3},    {93, "common/ZelkLogo", 256, 256, 1, 4},
    {99, "menu", 256, 256, 4, 6},          {98, "logo", 256, 128, 1, 6},
    {80, "BadgesA", 64, 64, 64, 7},        {96, "parts", 8, 8, 256, 7},
    {85, "common/circle", 256, 256, 4, 8}, {86, "common/light", 32, 32, 4, 8},
    {1, "dice", 64, 64, 16, 9},            {2, "grid", 68, 68, 9, 10},
    {3, "calc", 68, 68, 9, 11},            {4, "digits", 28, 44, 13, 11},
};
const ImageAsset& Asset(int slot) {
  for (const ImageAsset& image : kImages) {
    if (image.slot == slot) return image;
  }
  return kImages[0];
}

// Sound effects by loader step (0: none).
const int kStepSounds[17] = {0, 96, 1, 98, 0, 99, 95, 0, 0, 0, 0, 0, 2, 3, 4, 5, 6};

constexpr int kFontSlot = 90;
const char* const kFontName = "fonts/shadow_editundo";
constexpr int kLogoSlot = 93;
constexpr int kBlankSlot = 81;
constexpr int kLastStep = 16;

String LevelFileName(String name, int level) {
  const char* suffix = level == 4 ? "-hd2" : (level == 2 ? "-hd" : "");
  return name + String(suffix) + String(".png");
}

}  // namespace

// Once the game runs, a reload only brings pictures to the window's level: a
// slot already there stays, and one whose file for the new level cannot be
// read yet (still downloading) keeps drawing the picture it has, scaled, or
// stays empty until a later reload finds its file. A
// slot whose file changed under it is loaded afresh, or left empty when the
// new file cannot give its frames: no file read while the game runs ends it.
int c_MyApp::p_LoadImg(int slot, String name, int frameWidth, int frameHeight, int frameCount,
                       int flags) {
  const bool behind = m_ArtLoaded != 0;
  const c_Image* held = m_Images[slot];
  const bool changed = held && held->m_Surface && held->m_Surface->fileChanged;
  if (behind && !changed && held && m_ImageLevel[slot] == m_HdLevel) return 0;
  if (!behind) p_FreeImg(slot);
  const String file = LevelFileName(name, m_HdLevel);
  const int width = frameWidth * m_HdLevel;
  const int height = frameHeight * m_HdLevel;
  c_Image* image = behind ? rk_graphics_LoadImageFitting(file, width, height, frameCount, flags)
                          : rk_graphics_LoadImage2(file, width, height, frameCount, flags);
  if (behind && !image && !changed) return 0;
  p_FreeImg(slot);
  gc_assign(m_Images[slot], image);
  m_ImageLevel[slot] = m_HdLevel;
  m_ImageScale[slot] = m_HdScale;
  ++m_ImageChanges;
  m_ImageInfo[slot * 3] = frameWidth * m_HdLevel;
  m_ImageInfo[slot * 3 + 1] = frameHeight * m_HdLevel;
  m_ImageInfo[slot * 3 + 2] = frameCount;
  return 0;
}

int c_MyApp::p_LoadFont(int slot, String name, int advance, int lineHeight) {
  p_LoadImg(slot, name, 16, 16, 128, 1);
  m_ImageInfo[slot * 3] = advance;
  m_ImageInfo[slot * 3 + 1] = lineHeight;
  m_FontSlot = slot;
  return 0;
}

// The picture a slot held goes at once, not when the collector finds it: a
// reload then holds one new picture at a time beside the ones still to go.
// Its going is a picture change: a record of it no longer says where it stood.
int c_MyApp::p_FreeImg(int slot) {
  if (c_Image* old = m_Images[slot]) {
    if (old->m_Surface) old->m_Surface->Discard();
    gc_assign(m_Images[slot], nullptr);
    ++m_ImageChanges;
  }
  return 0;
}

int c_MyApp::p_ReserveImg(int slot, int width, int height) {
  if (m_ArtLoaded != 0 && m_Images[slot]) return 0;
  p_FreeImg(slot);
  gc_assign(m_Images[slot], rk_graphics_CreateImage(width, height, 1, 1));
  ++m_ImageChanges;
  m_ImageInfo[slot * 3] = width;
  m_ImageInfo[slot * 3 + 1] = height;
  m_ImageInfo[slot * 3 + 2] = 1;
  m_ImageLevel[slot] = 0;
  m_ImageScale[slot] = 1;
  m_ReservedSlot = slot;
  return 0;
}

// Level 1, 2 or 4: art drawn at twice or four times the size for larger
// windows. The level follows the fit: the window pixels the design width
// spans at the scale the render hook will pick (at 4:3, the window's width).
int c_MyApp::p_ChooseHdLevel() {
  const float width = static_cast<float>(rk_app_DeviceWidth());
  const float height = static_cast<float>(rk_app_DeviceHeight());
  const float span = std::min(width, height * rk_Game_rawscrw / rk_Game_rawscrh);
  m_HdLevel = 1;
  if (span > 630) m_HdLevel = 2;
  if (span > 1230) m_HdLevel = 4;
  if (rk_Game_UseHDImages == 0) m_HdLevel = 1;
  m_HdScale = 1.0f / static_cast<float>(m_HdLevel);
  return 0;
}

bool c_MyApp::p_ArtBehindLevel() const {
  for (const ImageAsset& image : kImages) {
    if (m_Images[image.slot] && m_ImageLevel[image.slot] != m_HdLevel) return true;
  }
  return m_Images[kFontSlot] && m_ImageLevel[kFontSlot] != m_HdLevel;
}

void c_MyApp::p_ReloadChangedArt() {
  auto changed = [this](int slot) {
    const c_Image* image = m_Images[slot];
    return image && image->m_Surface && image->m_Surface->fileChanged;
  };
  for (const ImageAsset& image : kImages) {
    if (changed(image.slot)) {
      p_LoadImg(image.slot, String(image.name), image.frameWidth, image.frameHeight, image.frames, 1);
    }
  }
  if (changed(kFontSlot)) p_LoadFont(kFontSlot, String(kFontName), 7, 10);
}

bool c_MyApp::p_AwaitData() {
  if (m_AwaitingData == 1 && !rk_app_DataArriving()) {
    m_AwaitingData = 0;
    m_LoadStep = 1;
  }
  return m_AwaitingData == 1 || m_LoadStep > 0;
}

int c_MyApp::p_Reload() {
  m_ClearRed = m_ClearGreen = m_ClearBlue = 0;
  m_ClearAlpha = 1;
  p_ChooseHdLevel();
  const ImageAsset& logo = Asset(kLogoSlot);
  p_LoadImg(logo.slot, String(logo.name), logo.frameWidth, logo.frameHeight, logo.frames, 1);
  p_LoadFont(kFontSlot, String(kFontName), 7, 10);
  m_FontSlot = kFontSlot;
  m_LoadStep = 1;
  return 0;
}

int c_MyApp::p_Loader() {
  p_ChooseHdLevel();
  const int step = m_LoadStep;
  if (step >= 1 && step <= kLastStep) {
    for (const ImageAsset& image : kImages) {
      if (image.step != step) continue;
      p_LoadImg(image.slot, String(image.name), image.frameWidth, image.frameHeight,
                image.frames, 1);
    }
    if (step == 1) p_ReserveImg(kBlankSlot, 2048, 2048);
    if (step == 4 && m_LogoSoundPlayed == 0) {
      p_PlaySFX(96, 1, 1, 0);
      m_LogoSoundPlayed = 1;
    }
    if (step == 5) p_LoadFont(kFontSlot, String(kFontName), 7, 10);
    const int sound = kStepSounds[step];
    if (sound && (m_ArtLoaded == 0 || !m_Sounds[sound])) p_LoadSFX(sound);
  } else {
    m_LoadStep = 0;
    if (m_ArtLoaded == 0) {
      // The menu shows from this update: what only a game uses may come now.
      m_ArtLoaded = 1;
      rk_app_FetchLaterData();
      m_AwaitingData = rk_app_DataArriving() ? 1 : 0;
    }
  }
  if (m_LoadStep > 0) ++m_LoadStep;
  // A reload behind the screens shows no loading screen: they draw on.
  if (m_ArtLoaded == 0) p_WaitStart(1);
  return 0;
}

void c_MyApp::p_DropLoadingArt() {
  if (m_Images[kLogoSlot]) p_FreeImg(kLogoSlot);
}

int c_MyApp::p_WaitStart(int mode) {
  m_BgRed -= m_BgRed / 8;
  m_BgGreen -= m_BgGreen / 8;
  m_BgBlue -= m_BgBlue / 8;
  m_BgTargetRed = m_BgTargetGreen = m_BgTargetBlue = 0;
  p_CLS2D(m_BgRed, m_BgGreen, m_BgBlue, 1);
  m_DrawTag = kTagLoading;

  const float w = rk_Game_jscrw;
  const float h = rk_Game_jscrh;
  m_Scratch = static_cast<int>(w < h ? w : h);
  const float radius = static_cast<float>(m_Scratch);
  const float angle = static_cast<float>(m_SpinAngle);
  m_SpinAngle += 3;

  // A ring of fading dots: size, colour, radius factor and angle offset.
  struct Ring {
    float size, red, green, blue, reach, offset;
  };
  const Ring rings[3] = {{16, 0, 125, 255, 0.45f, 0},
                         {12, 255, 125, 0, 0.4f, 120},
                         {8, 255, 125, 0, 0.35f, 240}};
  auto drawRing = [&](const Ring& ring) {
    for (int f = 0; f <= 10; ++f) {
      p_SetCol(ring.red, ring.green, ring.blue, f / 10.0f);
      const float t = angle + 4 * f + ring.offset;
      p_Oval(w * 0.5f + radius * SinDeg(t) * ring.reach,
             h * 0.5f - radius * CosDeg(t) * ring.reach, ring.size * 0.5f, ring.size * 0.5f);
    }
  };
  if (mode == 1) drawRing(rings[0]);
  p_SetCol(255, 255, 255, 1);
  p_SetSize(2, kAbsent);
  p_DrawImg(kLogoSlot, w * 0.5f, h * 0.48f, 0);
  p_SetSize(1, kAbsent);
  if (mode == 1) {
    drawRing(rings[1]);
    drawRing(rings[2]);
  }
  p_SetCol(255, 255, 255, 1);
  p_Text(w * 0.5f, h - 32, String("Loading..."), 1, 1, 0);
  m_DrawTag = kTagNone;
  return 0;
}
