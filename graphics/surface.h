// graphics/surface.h: a decoded picture kept as premultiplied pixels and as a
// texture that is rebuilt lazily for each new GL context.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <vector>

#include "host/game.h"
#include "runtime/gc.h"

class gxtkSurface : public Object {
 public:
  // Owned pixel copy: `depth` bytes per pixel, top row first, premultiplied.
  // A picture loaded from a file drops it once loaded (see Upload).
  unsigned char* data = nullptr;
  // The file the pixels came from, read again when a new GL context needs
  // the texture or a write needs the copy; empty once pixels were written.
  String path;
  int width = 0;
  int height = 0;
  int depth = 0;
  GLenum format = 0;
  // The host's GL context count when `texture` was made; -1 when there is none.
  int seq = -1;
  GLuint texture = 0;
  // Set when the file, read again, no longer gives this picture (replaced
  // while the game ran, say): whoever cut frames from it loads it afresh.
  bool fileChanged = false;
  // Reciprocal texture size: pixel coordinates times these give texture coordinates.
  float texScaleU = 0;
  float texScaleV = 0;
  // A large picture cut into frames is drawn from a texture per frame, each
  // made when its frame is first drawn, so that a screen showing a few
  // frames of a sheet holds only those (the menu shows one medal of the 64
  // on the badge sheet). The frames' size (0: one texture for the whole
  // picture), and the reciprocal size of a cell's texture.
  int cellWidth = 0;
  int cellHeight = 0;
  float cellScaleU = 0;
  float cellScaleV = 0;

  // Destroying a surface releases its texture and pixels like Discard.
  ~gxtkSurface() override;

  virtual int Discard();
  virtual int Width() { return width; }
  virtual int Height() { return height; }
  virtual bool Loaded() { return true; }
  virtual void OnUnsafeLoadComplete() { Upload(); }

  // Takes over a malloc'ed picture of `pixelDepth` (1-4) bytes per pixel and
  // premultiplies it. False (and nothing taken) for a size or depth it cannot hold.
  bool Adopt(unsigned char* pixels, int pixelWidth, int pixelHeight, int pixelDepth);
  // Makes the texture current, creating it first when this context has none.
  void Bind();
  // Creates this context's texture (and binds it) when there is none yet, so
  // that its size, and with it the texture coordinates, are known before a draw.
  void Prepare() {
    if (seq != glfwGraphicsSeq) Bind();
  }
  // Drops the pixel copy when the file can give it again and a context will
  // take it: the texture is made when the picture is first drawn, from the
  // file read once more, so the pictures of screens not shown yet take no
  // texture memory.
  void Upload();
  // Writes a w x h block of 0xAARRGGBB ints (rows `pitch` apart) at (x, y),
  // premultiplied; only RGBA surfaces take it, and only blocks inside the picture.
  void SetSubData(int x, int y, int w, int h, const int* src, int pitch);

  // Cuts a picture of cutBytes or more into cells of the frames' size, when
  // it holds more than one.
  static long cutBytes;
  void CutIntoCells(int frameWidth, int frameHeight);
  // The cell that holds the w x h block at (x, y), or -1 for the whole texture.
  int CellOf(int x, int y, int w, int h) const;
  int CellX(int cell) const { return cell % CellColumns() * cellWidth; }
  int CellY(int cell) const { return cell / CellColumns() * cellHeight; }
  // Makes the cell's texture current, creating it first when this context has none.
  void BindCell(int cell);
  void PrepareCell(int cell) {
    if (cells_[cell].seq != glfwGraphicsSeq) BindCell(cell);
  }
  // The pixels read again for cells' textures (the frame's own, or the
  // whole sheet once a render draws many frames) stay until the render ends
  // or another sheet needs its own: a screen drawing many frames of a sheet
  // reads the whole file once.
  static void DropCellPixels();
  // Ends a render: drops those pixels and lets go of the textures (whole or
  // cells) no render has drawn from in the last kIdleRenders, so that the
  // screens a player has left (the menu's, during a game) hold no texture
  // memory. A texture let go is made again, from the file or the pixel
  // copy, when next drawn. Frames not drawn at all (an unchanged screen) do
  // not count.
  static constexpr int kIdleRenders = 120;
  static void EndRender();
  // Lets go of every texture at once, as a change of screen leaves most of
  // them undrawn: the next screen makes what it draws, without the last
  // screen's textures beside its own.
  static void ReleaseAll();
  // Textures held now, whole or cells: by this surface, and by all.
  int Textures() const;
  static int TexturesHeld();

 private:
  // Reads the pixel copy again from `path`; false if the file no longer gives this picture.
  bool RestorePixels();
  // Whether pixels read again are this picture's (if not, they are freed,
  // and a changed size is named).
  bool SamePicture(unsigned char* pixels, int pixelWidth, int pixelHeight, int pixelDepth);
  // Whether block_ holds the cell's pixels; reads them, or the whole sheet's, into it.
  bool BlockHolds(int cell) const;
  void ReadBlock(int cell);
  int CellColumns() const { return width / cellWidth; }
  void DeleteCells();

  // Notes a new texture of this surface, keeping it in the list EndRender walks.
  void Listed();
  // Lets go of the textures not drawn since render `since`.
  void ReleaseIdle(int64_t since);

  struct Cell {
    int seq = -1;
    GLuint texture = 0;
    int64_t lastDrawn = 0;
  };
  std::vector<Cell> cells_;
  int64_t lastDrawn_ = 0;
  bool listed_ = false;
  // Pixels read again for cells' textures (premultiplied), where they lie
  // in the sheet, and the blocks read since this sheet began to hold them.
  unsigned char* block_ = nullptr;
  int blockX_ = 0, blockY_ = 0, blockWidth_ = 0, blockHeight_ = 0;
  int blocksRead_ = 0;
};

// The smallest power of two >= n, at least 1.
int PowerOfTwoAtLeast(int n);
// True when a w x h block of ints, rows `pitch` apart from index `offset`,
// lies wholly inside an array of `length` ints.
bool BlockFitsArray(int length, int w, int h, int offset, int pitch);
