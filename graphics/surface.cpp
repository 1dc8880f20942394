// graphics/surface.cpp: surfaces, their lazy textures, and the device's surface factories.
#include "graphics/surface.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/gl_layer.h"
#include "graphics/renderer.h"
#include "host/game.h"

namespace {

const GLenum kFormatOfDepth[5] = {0, GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA};

// Blending is GL_ONE, GL_ONE_MINUS_SRC_ALPHA, so colour channels carry their alpha.
void Premultiply(unsigned char* pixels, int count, int depth) {
  if (depth != 2 && depth != 4) return;
  const int colours = depth - 1;
  for (int i = 0; i < count; ++i, pixels += depth) {
    const int alpha = pixels[colours];
    for (int c = 0; c < colours; ++c) {
      pixels[c] = static_cast<unsigned char>(pixels[c] * alpha / 255);
    }
  }
}

// Bytes of a picture, or -1 when the size is negative or too large to hold.
long PictureBytes(int width, int height, int depth) {
  if (width < 0 || height < 0) return -1;
  long bytes = static_cast<long>(width) * height * depth;
  return bytes > INT_MAX ? -1 : bytes;
}

// The surface whose pixels were read again only for its cells' textures:
// one at a time, so that a render drawing from several sheets holds one
// sheet's pixels beside the textures, not all of them.
gxtkSurface* cellPixelHolder = nullptr;

// The surfaces that have ever made a texture (until discarded), walked to let
// idle ones go, and the renders ended so far.
std::vector<gxtkSurface*> listedSurfaces;
// 64 bits: 32 would wrap after some 400 days of renders at 60 a second.
int64_t rendersEnded = 0;

// Creates and binds a texture of a w x h picture (a larger one of powers of
// two where the driver refuses that size); its reciprocal size goes to scaleU, scaleV.
GLuint NewTexture(GLenum format, int w, int h, float* scaleU, float* scaleV) {
  GlLayer& gl = Gl();
  GLuint texture = 0;
  gl.GenTextures(1, &texture);
  gl.BindTexture(GL_TEXTURE_2D, texture);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

  // An error left over from earlier calls must not pass for a refused size.
  for (int i = 0; i < 8 && gl.GetError() != GL_NO_ERROR; ++i) {
  }
  int textureWidth = w;
  int textureHeight = h;
  gl.TexImage2D(GL_TEXTURE_2D, 0, format, textureWidth, textureHeight, 0, format,
                GL_UNSIGNED_BYTE, nullptr);
  if (gl.GetError() != GL_NO_ERROR) {
    // A driver without non-power-of-two textures: the picture sits top-left in a larger one.
    textureWidth = PowerOfTwoAtLeast(w);
    textureHeight = PowerOfTwoAtLeast(h);
    gl.TexImage2D(GL_TEXTURE_2D, 0, format, textureWidth, textureHeight, 0, format,
                  GL_UNSIGNED_BYTE, nullptr);
  }
  *scaleU = 1.0f / (textureWidth > 0 ? textureWidth : 1);
  *scaleV = 1.0f / (textureHeight > 0 ? textureHeight : 1);
  gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
  return texture;
}

}  // namespace

int PowerOfTwoAtLeast(int n) {
  int size = 1;
  while (size < n && size < (1 << 30)) size <<= 1;
  return size;
}

bool BlockFitsArray(int length, int w, int h, int offset, int pitch) {
  if (w <= 0 || h <= 0 || offset < 0) return false;
  long first = offset + (pitch < 0 ? static_cast<long>(h - 1) * pitch : 0);
  long last = offset + (pitch > 0 ? static_cast<long>(h - 1) * pitch : 0) + w - 1;
  return first >= 0 && last < length;
}

gxtkSurface::~gxtkSurface() { Discard(); }

int gxtkSurface::Discard() {
  if (seq == glfwGraphicsSeq) {
    Gl().DeleteTextures(1, &texture);
    seq = -1;
  }
  DeleteCells();
  if (cellPixelHolder == this) DropCellPixels();
  if (listed_) {
    listedSurfaces.erase(std::find(listedSurfaces.begin(), listedSurfaces.end(), this));
    listed_ = false;
  }
  free(data);
  data = nullptr;
  return 0;
}

void gxtkSurface::Listed() {
  if (listed_) return;
  listed_ = true;
  listedSurfaces.push_back(this);
}

void gxtkSurface::ReleaseIdle(int64_t since) {
  if (seq == glfwGraphicsSeq && lastDrawn_ < since) {
    Gl().DeleteTextures(1, &texture);
    seq = -1;
  }
  for (Cell& cell : cells_) {
    if (cell.seq == glfwGraphicsSeq && cell.lastDrawn < since) {
      Gl().DeleteTextures(1, &cell.texture);
      cell.seq = -1;
    }
  }
}

void gxtkSurface::EndRender() {
  DropCellPixels();
  ++rendersEnded;
  // A walk every quarter of the idle span is soon enough.
  if (rendersEnded % (kIdleRenders / 4) != 0) return;
  for (gxtkSurface* surface : listedSurfaces) surface->ReleaseIdle(rendersEnded - kIdleRenders);
}

void gxtkSurface::ReleaseAll() {
  if (glfwGraphicsSeq == 0) return;
  for (gxtkSurface* surface : listedSurfaces) surface->ReleaseIdle(INT64_MAX);
}

int gxtkSurface::Textures() const {
  int held = seq == glfwGraphicsSeq;
  for (const Cell& cell : cells_) held += cell.seq == glfwGraphicsSeq;
  return held;
}

int gxtkSurface::TexturesHeld() {
  int held = 0;
  for (const gxtkSurface* surface : listedSurfaces) held += surface->Textures();
  return held;
}

void gxtkSurface::DeleteCells() {
  for (Cell& cell : cells_) {
    if (cell.seq == glfwGraphicsSeq) Gl().DeleteTextures(1, &cell.texture);
    cell.seq = -1;
  }
}

long gxtkSurface::cutBytes = 4L << 20;

void gxtkSurface::CutIntoCells(int frameWidth, int frameHeight) {
  if (frameWidth <= 0 || frameHeight <= 0 || path.IsEmpty()) return;
  const int cells = (width / frameWidth) * (height / frameHeight);
  if (PictureBytes(width, height, depth) < cutBytes || cells < 2) return;
  DeleteCells();
  cellWidth = frameWidth;
  cellHeight = frameHeight;
  cells_.assign(cells, Cell());
}

int gxtkSurface::CellOf(int x, int y, int w, int h) const {
  if (cellWidth == 0 || x < 0 || y < 0 || w <= 0 || h <= 0) return -1;
  const int column = x / cellWidth;
  const int row = y / cellHeight;
  if (column >= CellColumns() || (x + w - 1) / cellWidth != column ||
      (y + h - 1) / cellHeight != row) {
    return -1;
  }
  const int cell = row * CellColumns() + column;
  return cell < static_cast<int>(cells_.size()) ? cell : -1;
}

void gxtkSurface::BindCell(int cell) {
  if (glfwGraphicsSeq == 0) return;
  Cell& target = cells_[cell];
  target.lastDrawn = rendersEnded;
  if (target.seq == glfwGraphicsSeq) {
    Gl().BindTexture(GL_TEXTURE_2D, target.texture);
    return;
  }
  target.seq = glfwGraphicsSeq;
  Listed();
  // The whole pixel copy when there is one, else the block read for it.
  const unsigned char* pixels = data;
  int blockX = 0, blockY = 0, blockWidth = width;
  if (!data && !path.IsEmpty()) {
    if (!BlockHolds(cell)) ReadBlock(cell);
    pixels = block_;
    blockX = blockX_, blockY = blockY_, blockWidth = blockWidth_;
  }
  target.texture = NewTexture(format, cellWidth, cellHeight, &cellScaleU, &cellScaleV);
  // A row at a time (a WebGL 1 upload cannot take a part of longer rows),
  // so that no copy of the cell adds to the sheet's pixels while it is made;
  // transparent when the file no longer gives the picture.
  std::vector<unsigned char> blank(pixels ? 0 : static_cast<size_t>(cellWidth) * depth, 0);
  for (int row = 0; row < cellHeight; ++row) {
    const size_t at =
        static_cast<size_t>(CellY(cell) + row - blockY) * blockWidth + CellX(cell) - blockX;
    Gl().TexSubImage2D(GL_TEXTURE_2D, 0, 0, row, cellWidth, 1, format, GL_UNSIGNED_BYTE,
                       pixels ? pixels + at * depth : blank.data());
  }
}

bool gxtkSurface::BlockHolds(int cell) const {
  return block_ && CellX(cell) >= blockX_ && CellY(cell) >= blockY_ &&
         CellX(cell) + cellWidth <= blockX_ + blockWidth_ &&
         CellY(cell) + cellHeight <= blockY_ + blockHeight_;
}

void gxtkSurface::ReadBlock(int cell) {
  if (cellPixelHolder != this) {
    DropCellPixels();
    blocksRead_ = 0;
  }
  free(block_);
  block_ = nullptr;
  // A screen drawing many frames (the gallery) reads the whole sheet once,
  // from its third frame on; a few frames cost their own pixels.
  const bool whole = ++blocksRead_ > 2;
  const int x = whole ? 0 : CellX(cell), y = whole ? 0 : CellY(cell);
  const int w = whole ? width : cellWidth, h = whole ? height : cellHeight;
  int pixelWidth = 0, pixelHeight = 0, pixelDepth = 0;
  unsigned char* pixels =
      RkGame::_game
          ? RkGame::_game->LoadImagePart(path, x, y, w, h, &pixelWidth, &pixelHeight, &pixelDepth)
          : nullptr;
  if (!SamePicture(pixels, pixelWidth, pixelHeight, pixelDepth)) {
    fileChanged = true;
    return;
  }
  Premultiply(pixels, w * h, depth);
  block_ = pixels;
  blockX_ = x, blockY_ = y, blockWidth_ = w, blockHeight_ = h;
  cellPixelHolder = this;
}

void gxtkSurface::DropCellPixels() {
  if (!cellPixelHolder) return;
  free(cellPixelHolder->block_);
  cellPixelHolder->block_ = nullptr;
  cellPixelHolder = nullptr;
}

bool gxtkSurface::Adopt(unsigned char* pixels, int pixelWidth, int pixelHeight, int pixelDepth) {
  if (!pixels || pixelDepth < 1 || pixelDepth > 4) return false;
  if (PictureBytes(pixelWidth, pixelHeight, pixelDepth) < 0) return false;
  free(data);
  data = pixels;
  width = pixelWidth;
  height = pixelHeight;
  depth = pixelDepth;
  format = kFormatOfDepth[depth];
  Premultiply(data, width * height, depth);
  return true;
}

void gxtkSurface::Bind() {
  if (glfwGraphicsSeq == 0) return;
  GlLayer& gl = Gl();
  lastDrawn_ = rendersEnded;
  if (seq == glfwGraphicsSeq) {
    gl.BindTexture(GL_TEXTURE_2D, texture);
    return;
  }
  seq = glfwGraphicsSeq;
  Listed();
  // Read before the texture takes its memory: the decoder's own blocks are
  // gone by then, so the two never add up.
  const bool restored = !data && !path.IsEmpty() && RestorePixels();
  if (!data && !path.IsEmpty() && !restored) fileChanged = true;
  texture = NewTexture(format, width, height, &texScaleU, &texScaleV);
  // A file that no longer gives the picture leaves it transparent, not undefined.
  const long bytes = data || path.IsEmpty() ? 0 : PictureBytes(width, height, depth);
  unsigned char* pixels = bytes > 0 ? static_cast<unsigned char*>(calloc(1, bytes)) : data;
  if (pixels) {
    gl.TexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, pixels);
  }
  if (pixels != data) free(pixels);
  if (restored) {
    free(data);
    data = nullptr;
  }
}

void gxtkSurface::Upload() {
  // Without a context yet the copy stays, for the first texture.
  if (glfwGraphicsSeq != 0 && !path.IsEmpty()) {
    free(data);
    data = nullptr;
  }
}

bool gxtkSurface::SamePicture(unsigned char* pixels, int pixelWidth, int pixelHeight,
                              int pixelDepth) {
  if (pixels && (pixelWidth != width || pixelHeight != height)) {
    const std::string reason = "it changed while the game ran (" + std::to_string(width) + "x" +
                               std::to_string(height) + " pixels, now " +
                               std::to_string(pixelWidth) + "x" + std::to_string(pixelHeight) + ")";
    RkGame::_game->TellLoadFailure(path, reason.c_str());
  }
  if (!pixels || pixelWidth != width || pixelHeight != height || pixelDepth != depth) {
    free(pixels);
    return false;
  }
  return true;
}

bool gxtkSurface::RestorePixels() {
  if (!RkGame::_game) return false;
  int pixelWidth = 0, pixelHeight = 0, pixelDepth = 0;
  unsigned char* pixels =
      RkGame::_game->LoadImageData(path, &pixelWidth, &pixelHeight, &pixelDepth);
  return SamePicture(pixels, pixelWidth, pixelHeight, pixelDepth) &&
         Adopt(pixels, pixelWidth, pixelHeight, pixelDepth);
}

void gxtkSurface::SetSubData(int x, int y, int w, int h, const int* src, int pitch) {
  if (format != GL_RGBA || !src) return;
  if (x < 0 || y < 0 || w <= 0 || h <= 0 || w > width - x || h > height - y) return;
  // The written copy becomes the picture; the file no longer gives it, and
  // it is drawn from one texture.
  if (!data && !path.IsEmpty()) RestorePixels();
  path = String();
  DeleteCells();
  if (cellPixelHolder == this) DropCellPixels();
  cells_.clear();
  cellWidth = cellHeight = 0;
  if (!data) {
    // A picture too large to hold in memory takes no pixels.
    const long bytes = PictureBytes(width, height, 4);
    if (bytes <= 0) return;
    // Zero-filled: the unwritten rest of a blank surface stays transparent.
    data = static_cast<unsigned char*>(calloc(1, bytes));
    if (!data) return;
    gc_ext_malloced(static_cast<int>(bytes));
  }
  for (int i = 0; i < h; ++i) {
    const int* in = src + static_cast<long>(i) * pitch;
    unsigned char* out = data + (static_cast<long>(y + i) * width + x) * 4;
    for (int j = 0; j < w; ++j, out += 4) {
      const unsigned argb = static_cast<unsigned>(in[j]);
      const unsigned a = argb >> 24;
      out[0] = static_cast<unsigned char>(((argb >> 16) & 0xff) * a / 255);
      out[1] = static_cast<unsigned char>(((argb >> 8) & 0xff) * a / 255);
      out[2] = static_cast<unsigned char>((argb & 0xff) * a / 255);
      out[3] = static_cast<unsigned char>(a);
    }
  }
  if (seq != glfwGraphicsSeq) return;
  GlLayer& gl = Gl();
  gl.BindTexture(GL_TEXTURE_2D, texture);
  gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
  // The pixel copy's rows are `width` long, so the block goes up a row at a time.
  for (int i = 0; i < h; ++i) {
    gl.TexSubImage2D(GL_TEXTURE_2D, 0, x, y + i, w, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                     data + (static_cast<long>(y + i) * width + x) * 4);
  }
}

gxtkSurface* gxtkGraphics::LoadSurface(String path) {
  gxtkSurface* surface = new gxtkSurface();
  if (!LoadSurface__UNSAFE__(surface, path)) return nullptr;
  surface->Upload();
  return surface;
}

gxtkSurface* gxtkGraphics::CreateSurface(int surfaceWidth, int surfaceHeight) {
  gxtkSurface* surface = new gxtkSurface();
  surface->width = surfaceWidth;
  surface->height = surfaceHeight;
  surface->depth = 4;
  surface->format = GL_RGBA;
  // The texture is made when the surface is first drawn or written: a blank
  // surface that never is costs no texture memory.
  return surface;
}

bool gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, String path) {
  if (!surface || !RkGame::_game) return false;
  int pixelWidth = 0, pixelHeight = 0, pixelDepth = 0;
  unsigned char* pixels =
      RkGame::_game->LoadImageData(path, &pixelWidth, &pixelHeight, &pixelDepth);
  if (!pixels) return false;
  if (!surface->Adopt(pixels, pixelWidth, pixelHeight, pixelDepth)) {
    free(pixels);
    return false;
  }
  surface->path = path;
  return true;
}

int gxtkGraphics::WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w,
                               int h, int offset, int pitch) {
  if (!surface || !BlockFitsArray(pixels.Length(), w, h, offset, pitch)) return 0;
  surface->SetSubData(x, y, w, h, pixels.Data() + offset, pitch);
  return 0;
}
