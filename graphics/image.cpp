// graphics/image.cpp: cutting surfaces into frames, image flags, and the image loaders.
#include "graphics/image.h"

#include <string>

#include "graphics/graphics.h"
#include "graphics/renderer.h"
#include "host/data_path.h"
#include "runtime/startup.h"

int c_Image::m_DefaultFlags = 0;

namespace {

// A picture too small for its frames (a wrong file in the data folder) ends
// the game: the report names the file and its size, and what the session
// earned is saved first.
[[noreturn]] void FrameOutsideSurface(gxtkSurface* surface, int frameWidth, int frameHeight,
                                      int frameCount) {
  rkRunEndHook();
  rkError(String("Image frame outside surface: ") + surface->path + String(" is ") +
          String(surface->Width()) + String("x") + String(surface->Height()) +
          String(" pixels, too small for ") + String(frameCount) + String(" frames of ") +
          String(frameWidth) + String("x") + String(frameHeight));
}

}  // namespace

c_Frame* c_Frame::m_new(int x, int y) {
  m_X = x;
  m_Y = y;
  return this;
}

void c_Image::mark() {
  gc_push_grey(m_Surface);
  gc_mark_array(m_Frames);
  gc_push_grey(m_Source);
}

c_Image* c_Image::p_Init(gxtkSurface* surface, int frameCount, int flags) {
  if (m_Surface) rkError(String("Image already initialized"));
  if (!surface) return this;
  // A strip needs at least one frame to divide the surface among.
  if (frameCount < 1) rkError(String("Image frame count must be at least 1"));
  gc_assign(m_Surface, surface);
  m_Width = surface->Width() / frameCount;
  m_Height = surface->Height();
  gc_assign(m_Frames, Array<c_Frame*>(frameCount));
  for (int i = 0; i < frameCount; ++i) {
    gc_assign(m_Frames[i], (new c_Frame())->m_new(i * m_Width, 0));
  }
  p_ApplyFlags(flags);
  return this;
}

namespace {
// Whether frameCount frames, cut row by row from a srcWidth x srcHeight area, all lie inside it.
bool FramesFit(int frameWidth, int frameHeight, int frameCount, int srcWidth, int srcHeight) {
  if (frameCount <= 0) return true;
  if (frameWidth <= 0 || frameHeight <= 0 || frameWidth > srcWidth) return false;
  const long perRow = srcWidth / frameWidth;
  const long rows = (frameCount + perRow - 1) / perRow;
  return rows * frameHeight <= srcHeight;
}
}  // namespace

c_Image* c_Image::p_Init2(gxtkSurface* surface, int x, int y, int frameWidth, int frameHeight,
                          int frameCount, int flags, c_Image* source, int srcX, int srcY,
                          int srcWidth, int srcHeight) {
  if (m_Surface) rkError(String("Image already initialized"));
  if (!surface) return this;
  gc_assign(m_Surface, surface);
  gc_assign(m_Source, source);
  m_Width = frameWidth;
  m_Height = frameHeight;
  gc_assign(m_Frames, Array<c_Frame*>(frameCount));
  for (int i = 0; i < frameCount; ++i) {
    if (x + frameWidth > srcWidth) {
      // The row is full; a frame wider than the whole rectangle fits nowhere.
      if (frameWidth > srcWidth) FrameOutsideSurface(surface, frameWidth, frameHeight, frameCount);
      x = 0;
      y += frameHeight;
    }
    if (y + frameHeight > srcHeight) FrameOutsideSurface(surface, frameWidth, frameHeight, frameCount);
    gc_assign(m_Frames[i], (new c_Frame())->m_new(srcX + x, srcY + y));
    x += frameWidth;
  }
  // Frames laid from the picture's corner fill the grid of its cells.
  if (!source && srcX == 0 && srcY == 0 && frameCount > 1) {
    surface->CutIntoCells(frameWidth, frameHeight);
  }
  p_ApplyFlags(flags);
  return this;
}

int c_Image::p_ApplyFlags(int flags) {
  m_Flags = flags;
  const int frameCount = m_Frames.Length();
  if (m_Flags & rk_graphics_PadX) {
    for (int i = 0; i < frameCount; ++i) m_Frames[i]->m_X += 1;
    m_Width -= 2;
  }
  if (m_Flags & rk_graphics_PadY) {
    for (int i = 0; i < frameCount; ++i) m_Frames[i]->m_Y += 1;
    m_Height -= 2;
  }
  if (m_Flags & rk_graphics_CentreHandle) {
    m_Flags &= ~rk_graphics_CentreHandle;
    m_HandleX = m_Width * 0.5f;
    m_HandleY = m_Height * 0.5f;
  }
  if (frameCount == 1 && m_Frames[0]->m_X == 0 && m_Frames[0]->m_Y == 0 &&
      m_Width == m_Surface->Width() && m_Height == m_Surface->Height()) {
    m_Flags |= rk_graphics_WholeFrame;
  }
  return 0;
}

int c_Image::p_SetHandle(float x, float y) {
  m_HandleX = x;
  m_HandleY = y;
  m_Flags &= ~rk_graphics_CentreHandle;
  return 0;
}

c_Image* rk_graphics_LoadImage(String path, int frameCount, int flags) {
  if (!rk_graphics_device) return nullptr;
  gxtkSurface* surface = rk_graphics_device->LoadSurface(rk_data_FixDataPath(path));
  if (!surface) return nullptr;
  return (new c_Image())->m_new()->p_Init(surface, frameCount, flags);
}

c_Image* rk_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount,
                                int flags) {
  if (!rk_graphics_device) return nullptr;
  gxtkSurface* surface = rk_graphics_device->LoadSurface(rk_data_FixDataPath(path));
  if (!surface) return nullptr;
  return (new c_Image())->m_new()->p_Init2(surface, 0, 0, frameWidth, frameHeight, frameCount,
                                          flags, nullptr, 0, 0, surface->Width(),
                                          surface->Height());
}

c_Image* rk_graphics_LoadImageFitting(String path, int frameWidth, int frameHeight, int frameCount,
                                      int flags) {
  if (!rk_graphics_device) return nullptr;
  gxtkSurface* surface = rk_graphics_device->LoadSurface(rk_data_FixDataPath(path));
  if (!surface) return nullptr;
  if (!FramesFit(frameWidth, frameHeight, frameCount, surface->Width(), surface->Height())) {
    const std::string reason = "its picture, " + std::to_string(surface->Width()) + "x" +
                               std::to_string(surface->Height()) + " pixels, holds no " +
                               std::to_string(frameCount) + " frames of " +
                               std::to_string(frameWidth) + "x" + std::to_string(frameHeight);
    if (RkGame::_game) RkGame::_game->TellLoadFailure(surface->path, reason.c_str());
    surface->Discard();
    return nullptr;
  }
  return (new c_Image())->m_new()->p_Init2(surface, 0, 0, frameWidth, frameHeight, frameCount,
                                          flags, nullptr, 0, 0, surface->Width(),
                                          surface->Height());
}

c_Image* rk_graphics_CreateImage(int width, int height, int frameCount, int flags) {
  const long stripWidth = static_cast<long>(width) * frameCount;
  if (!rk_graphics_device || stripWidth != static_cast<int>(stripWidth)) return nullptr;
  gxtkSurface* surface = rk_graphics_device->CreateSurface(static_cast<int>(stripWidth), height);
  if (!surface) return nullptr;
  return (new c_Image())->m_new()->p_Init(surface, frameCount, flags);
}
