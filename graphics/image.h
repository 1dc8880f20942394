// graphics/image.h: images, a surface cut into equally sized frames with a
// handle and flag bits, and the module functions that make them.
#pragma once

#include "graphics/surface.h"
#include "runtime/array.h"
#include "runtime/string.h"

// Flag bits of c_Image::m_Flags.
constexpr int rk_graphics_CentreHandle = 1;
constexpr int rk_graphics_PadX = 2;
constexpr int rk_graphics_PadY = 4;
constexpr int rk_graphics_PadXY = 6;
// Set by the image itself: one frame at (0, 0) as large as the surface.
constexpr int rk_graphics_WholeFrame = 65536;

class c_Frame : public Object {
 public:
  int m_X = 0;
  int m_Y = 0;

  c_Frame* m_new(int x, int y);
};

class c_Image : public Object {
 public:
  static int m_DefaultFlags;

  gxtkSurface* m_Surface = nullptr;
  int m_Width = 0;
  int m_Height = 0;
  Array<c_Frame*> m_Frames;
  int m_Flags = 0;
  float m_HandleX = 0;
  float m_HandleY = 0;
  c_Image* m_Source = nullptr;

  c_Image* m_new() { return this; }
  void mark() override;

  // A horizontal strip of `frameCount` frames filling the surface.
  c_Image* p_Init(gxtkSurface* surface, int frameCount, int flags);
  // A grid of frames read left to right, top to bottom from (x, y) inside
  // the source rectangle (srcX, srcY, srcWidth, srcHeight).
  c_Image* p_Init2(gxtkSurface* surface, int x, int y, int frameWidth, int frameHeight,
                   int frameCount, int flags, c_Image* source, int srcX, int srcY, int srcWidth,
                   int srcHeight);
  int p_ApplyFlags(int flags);
  int p_SetHandle(float x, float y);
};

// Loads `path` (an asset name or data path) as a strip of frames; null when it fails to load.
c_Image* rk_graphics_LoadImage(String path, int frameCount, int flags);
// Loads `path` as a grid of frameWidth x frameHeight frames; null when it fails to load.
c_Image* rk_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount,
                                int flags);
// The same, but a picture that cannot hold the frames is named and gives
// null instead of ending the program: for files read while the game runs.
c_Image* rk_graphics_LoadImageFitting(String path, int frameWidth, int frameHeight, int frameCount,
                                      int flags);
// A blank image of `frameCount` frames of width x height.
c_Image* rk_graphics_CreateImage(int width, int height, int frameCount, int flags);
