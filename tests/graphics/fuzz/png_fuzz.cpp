// tests/graphics/fuzz/png_fuzz.cpp: fuzzes picture files through the game's
// image loading: the desktop host's decoding, the surface's premultiply, the
// frames cut from it (as the font's 128 frames of 16 x 16, which a picture
// too small for them refuses with a message) and the texture made at the
// first draw, when the file is read once more.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "graphics/gl_recorder.h"
#include "graphics/graphics.h"
#include "tests/graphics/graphics_support.h"
#include "tests/support/folder_host.h"

namespace {

std::string file_path;

void SetUpOnce() {
  static char folder[] = "/tmp/marvolet-png-fuzz-XXXXXX";
  if (!mkdtemp(folder)) abort();
  file_path = std::string(folder) + "/input.png";
  RkGame::_game = new FolderHost(folder);
  static GlRecorder gl;
  gl.keepCalls = false;
  SetGlLayer(&gl);
  glfwGraphicsSeq = 1;
  ResetGraphicsModule();
  rk_graphics_SetGraphicsDevice(new gxtkGraphics());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static long loads = 0;
  if (!loads) SetUpOnce();
  FILE* file = fopen(file_path.c_str(), "wb");
  if (!file || fwrite(data, 1, size, file) != size || fclose(file) != 0) abort();
  c_Image* image = rk_graphics_LoadImageFitting(String("input.png"), 16, 16, 128, 0);
  if (!image) image = rk_graphics_LoadImage(String("input.png"), 1, 0);
  if (image) {
    image->m_Surface->Bind();
    image->m_Surface->Discard();
  }
  // A block alone, as a frame of a large sheet is read for its texture.
  int width = 0, height = 0, depth = 0;
  free(RkGame::_game->LoadImagePart(String("input.png"), 1, 1, 2, 3, &width, &height, &depth));
  // The host collects after every event; a few hundred loads here are one.
  if (++loads % 256 == 0) gc_collect();
  return 0;
}
