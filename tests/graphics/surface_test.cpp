// tests/graphics/surface_test.cpp: surfaces (premultiplication, lazy textures
// per GL context, the power-of-two retry, written pixels, discarding) and the
// device's surface factories, through the recording GL layer.
#include "graphics_support.h"

namespace {

using SurfaceTest = RecordedFrameTest;

std::vector<int> Bytes(const unsigned char* data, int count) {
  return std::vector<int>(data, data + count);
}

TEST_F(SurfaceTest, PixelsArePremultipliedAtLoad) {
  // Without a GL context the pixel copy stays, to be uploaded later.
  glfwGraphicsSeq = 0;
  host->WritePng("rgba.png", 2, 1, 4, {200, 100, 50, 128, 10, 20, 30, 255});
  host->WritePng("la.png", 2, 1, 2, {200, 128, 7, 0});
  host->WritePng("rgb.png", 1, 1, 3, {200, 100, 50});
  host->WritePng("l.png", 1, 1, 1, {77});
  gxtkSurface* rgba = device->LoadSurface(String("zorvex://data/rgba.png"));
  ASSERT_TRUE(rgba);
  EXPECT_EQ(rgba->format, static_cast<GLenum>(GL_RGBA));
  EXPECT_EQ(Bytes(rgba->data, 8), (std::vector<int>{100, 50, 25, 128, 10, 20, 30, 255}));
  gxtkSurface* la = device->LoadSurface(String("zorvex://data/la.png"));
  ASSERT_TRUE(la);
  EXPECT_EQ(la->format, static_cast<GLenum>(GL_LUMINANCE_ALPHA));
  EXPECT_EQ(Bytes(la->data, 4), (std::vector<int>{100, 128, 0, 0}));
  gxtkSurface* rgb = device->LoadSurface(String("zorvex://data/rgb.png"));
  ASSERT_TRUE(rgb);
  EXPECT_EQ(rgb->format, static_cast<GLenum>(GL_RGB));
  EXPECT_EQ(Bytes(rgb->data, 3), (std::vector<int>{200, 100, 50}));
  gxtkSurface* l = device->LoadSurface(String("zorvex://data/l.png"));
  ASSERT_TRUE(l);
  EXPECT_EQ(l->format, static_cast<GLenum>(GL_LUMINANCE));
  EXPECT_EQ(l->depth, 1);
  EXPECT_EQ(l->data[0], 77);
}

TEST_F(SurfaceTest, ALoadedPictureLeavesItsPixelsToTheTextureAndRereadsThemWhenNeeded) {
  host->WritePng("a.png", 2, 1, 4, {200, 100, 50, 128, 10, 20, 30, 255});
  gxtkSurface* surface = device->LoadSurface(String("zorvex://data/a.png"));
  ASSERT_TRUE(surface);
  // Nothing drawn yet: no texture, and no copy either.
  EXPECT_EQ(gl.Count("GenTextures"), 0);
  EXPECT_EQ(surface->data, nullptr);
  EXPECT_EQ(surface->Width(), 2);

  // The first draw, and a new context, read the file again for the texture and drop it again.
  for (int context = 0; context < 2; ++context) {
    glfwGraphicsSeq += context;
    gl.Reset();
    surface->Bind();
    EXPECT_EQ(gl.Count("GenTextures"), 1);
    ASSERT_EQ(gl.Count("TexSubImage2D"), 1);
    EXPECT_EQ(gl.textures[surface->texture].pixels,
              (std::vector<unsigned char>{100, 50, 25, 128, 10, 20, 30, 255}));
    EXPECT_EQ(surface->data, nullptr);
  }

  // A write needs the whole copy: the rest of the picture comes from the file.
  Array<int> pixel(1);
  pixel[0] = static_cast<int>(0xFF010203u);
  device->WritePixels2(surface, pixel, 1, 0, 1, 1, 0, 1);
  ASSERT_TRUE(surface->data);
  EXPECT_EQ(Bytes(surface->data, 8), (std::vector<int>{100, 50, 25, 128, 1, 2, 3, 255}));
  // The written copy is the picture now and outlives a new context.
  ++glfwGraphicsSeq;
  surface->Bind();
  EXPECT_TRUE(surface->data);

  // A file that no longer gives the picture leaves the new texture transparent.
  gxtkSurface* changing = device->LoadSurface(String("zorvex://data/a.png"));
  ASSERT_TRUE(changing);
  host->WritePng("a.png", 3, 1, 4, std::vector<unsigned char>(12, 9));
  ++glfwGraphicsSeq;
  gl.Reset();
  changing->Bind();
  EXPECT_EQ(gl.Count("GenTextures"), 1);
  EXPECT_EQ(gl.textures[changing->texture].pixels, std::vector<unsigned char>(8, 0));
  EXPECT_EQ(changing->data, nullptr);
}

TEST_F(SurfaceTest, MissingOrUndecodableFilesGiveNull) {
  host->WriteFile("junk.png", "not a picture");
  EXPECT_EQ(device->LoadSurface(String("zorvex://data/absent.png")), nullptr);
  EXPECT_EQ(device->LoadSurface(String("zorvex://data/junk.png")), nullptr);
  EXPECT_EQ(rk_graphics_LoadImage(String("absent.png"), 1, 0), nullptr);
  EXPECT_EQ(rk_graphics_LoadImage2(String("junk.png"), 1, 1, 1, 0), nullptr);
  EXPECT_EQ(gl.Count("GenTextures"), 0);
}

TEST_F(SurfaceTest, TextureIsMadeOncePerContextAndRebuiltForANewOne) {
  host->WritePng("a.png", 3, 2, 4, std::vector<unsigned char>(3 * 2 * 4, 255));
  gxtkSurface* surface = device->LoadSurface(String("zorvex://data/a.png"));
  ASSERT_TRUE(surface);
  // The first draw makes the texture at the picture's own size and uploads the pixels.
  device->DrawSurface(surface, 0, 0);
  EXPECT_EQ(gl.Count("GenTextures"), 1);
  EXPECT_EQ(gl.Count("TexParameteri"), 4);
  EXPECT_EQ(gl.Count("TexSubImage2D"), 1);
  EXPECT_EQ(surface->seq, 1);
  GLuint first = surface->texture;
  EXPECT_EQ(gl.textures[first].width, 3);
  EXPECT_FLOAT_EQ(surface->texScaleU, 1.0f / 3);
  EXPECT_FLOAT_EQ(surface->texScaleV, 0.5f);
  for (const GlCall& c : gl.calls) {
    if (c.name == "TexParameteri") {
      EXPECT_TRUE(c.args[2] == GL_NEAREST || c.args[2] == GL_CLAMP_TO_EDGE);
    }
  }

  gl.Reset();
  surface->Bind();
  EXPECT_EQ(gl.Names(), (std::vector<std::string>{"BindTexture"}));

  // The host opened a new window: the old texture name means nothing there.
  ++glfwGraphicsSeq;
  device->DrawSurface(surface, 0, 0);
  device->EndRender();
  EXPECT_EQ(gl.Count("GenTextures"), 1);
  EXPECT_EQ(gl.Count("TexSubImage2D"), 1);
  EXPECT_NE(surface->texture, first);
  EXPECT_EQ(surface->seq, 2);
  ASSERT_EQ(gl.draws.size(), 1u);
  EXPECT_TRUE(gl.draws[0].textured);
  EXPECT_EQ(gl.draws[0].texture, surface->texture);
  // Texturing is switched off again after the textured batch.
  EXPECT_EQ(gl.calls.back().name, "Disable");

  // No window yet: nothing is made.
  gl.Reset();
  glfwGraphicsSeq = 0;
  EXPECT_TRUE(device->LoadSurface(String("zorvex://data/a.png")));
  EXPECT_TRUE(gl.calls.empty());
}

// A large sheet of frames is drawn from a texture per frame drawn, its file
// read once for the render; a block across frames, or a written sheet, is
// drawn from one texture of the whole.
TEST_F(SurfaceTest, ASheetCutIntoFramesHasATextureForEachFrameDrawn) {
  struct SmallCut {
    long cut = gxtkSurface::cutBytes;
    SmallCut() { gxtkSurface::cutBytes = 128; }
    ~SmallCut() { gxtkSurface::cutBytes = cut; }
  } small;
  // 8 x 4 pixels, four frames of 4 x 2; red is x + 10 y.
  std::vector<unsigned char> pixels;
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) pixels.insert(pixels.end(), {static_cast<unsigned char>(x + 10 * y), 0, 0, 255});
  }
  host->WritePng("sheet.png", 8, 4, 4, pixels);
  c_Image* image = rk_graphics_LoadImage2(String("zorvex://data/sheet.png"), 4, 2, 4, 0);
  ASSERT_TRUE(image);
  gxtkSurface* surface = image->m_Surface;
  EXPECT_EQ(surface->cellWidth, 4);
  EXPECT_EQ(surface->CellOf(4, 2, 4, 2), 3);
  EXPECT_EQ(surface->CellOf(3, 0, 2, 2), -1) << "across two frames";

  gl.Reset();
  device->DrawSurface2(surface, 10, 10, 4, 2, 4, 2);
  device->DrawSurface2(surface, 20, 10, 4, 2, 4, 2);
  device->DrawSurface2(surface, 30, 10, 0, 0, 4, 2);
  device->DrawSurface2(surface, 40, 10, 4, 0, 4, 2);
  device->EndRender();
  ASSERT_EQ(gl.Count("GenTextures"), 3);
  ASSERT_EQ(gl.draws.size(), 3u) << "one batch per cell";
  // The first two from their own pixels, the third from the whole sheet; a row at a time.
  const RecordedTexture& frame3 = gl.textures[gl.draws[0].texture];
  const RecordedTexture& frame0 = gl.textures[gl.draws[1].texture];
  const RecordedTexture& frame1 = gl.textures[gl.draws[2].texture];
  ASSERT_EQ(frame1.pixels.size(), 32u);
  EXPECT_EQ(frame1.pixels[4 * 4 + 3 * 4], 17);
  EXPECT_EQ(frame3.width, 4);
  EXPECT_EQ(frame3.height, 2);
  ASSERT_EQ(frame3.pixels.size(), 32u);
  EXPECT_EQ(frame3.pixels[0], 24);
  EXPECT_EQ(frame3.pixels[4 * 4 + 3 * 4], 37);
  ASSERT_EQ(frame0.pixels.size(), 32u);
  EXPECT_EQ(frame0.pixels[4 * 4 + 3 * 4], 13);
  EXPECT_EQ(gl.draws[0].vertices[0].u, 0);
  EXPECT_EQ(gl.draws[0].vertices[2].u, 1);

  // Cells not drawn for a while are let go, and made again when drawn.
  for (int i = 0; i <= gxtkSurface::kIdleRenders * 5 / 4; ++i) device->EndRender();
  EXPECT_EQ(gl.Count("DeleteTextures"), 3);
  EXPECT_EQ(gxtkSurface::TexturesHeld(), 0);
  device->DrawSurface2(surface, 10, 10, 4, 2, 4, 2);
  device->EndRender();
  EXPECT_EQ(gl.Count("GenTextures"), 4);
  EXPECT_EQ(gl.textures[gl.draws.back().texture].pixels.at(0), 24);
  gxtkSurface::ReleaseAll();
  EXPECT_EQ(gxtkSurface::TexturesHeld(), 0) << "a change of screen lets go of all at once";

  // A new context makes the cell's texture again; the whole picture its own.
  ++glfwGraphicsSeq;
  gl.Reset();
  device->DrawSurface2(surface, 10, 10, 4, 2, 4, 2);
  device->DrawSurface(surface, 0, 0);
  device->EndRender();
  EXPECT_EQ(gl.Count("GenTextures"), 2);
  EXPECT_EQ(gl.textures[surface->texture].width, 8);

  const int written[1] = {static_cast<int>(0xff00ff00)};
  surface->SetSubData(0, 0, 1, 1, written, 1);
  EXPECT_EQ(surface->cellWidth, 0);
  EXPECT_EQ(surface->CellOf(4, 2, 4, 2), -1);
}

TEST_F(SurfaceTest, RefusedSizeRetriesAtPowersOfTwo) {
  gl.refuseNonPowerOfTwo = true;
  host->WritePng("odd.png", 100, 50, 3, std::vector<unsigned char>(100 * 50 * 3, 9));
  gxtkSurface* surface = device->LoadSurface(String("zorvex://data/odd.png"));
  ASSERT_TRUE(surface);
  surface->Prepare();
  ASSERT_EQ(gl.Count("TexImage2D"), 2);
  EXPECT_EQ(gl.textures[surface->texture].width, 128);
  EXPECT_EQ(gl.textures[surface->texture].height, 64);
  EXPECT_FLOAT_EQ(surface->texScaleU, 1.0f / 128);
  EXPECT_FLOAT_EQ(surface->texScaleV, 1.0f / 64);
  // The picture goes into the top-left corner at its own size.
  const GlCall& upload = gl.calls.back();
  EXPECT_EQ(upload.name, "TexSubImage2D");
  EXPECT_EQ(upload.args, (std::vector<double>{0, 0, 100, 50, GL_RGB}));

  // Texture coordinates follow the larger texture.
  device->DrawSurface2(surface, 0, 0, 64, 32, 36, 18);
  device->EndRender();
  const RecordedVertex& bottomRight = gl.draws.at(0).vertices[2];
  EXPECT_FLOAT_EQ(bottomRight.u, 100.0f / 128);
  EXPECT_FLOAT_EQ(bottomRight.v, 50.0f / 64);
  EXPECT_EQ(PowerOfTwoAtLeast(0), 1);
  EXPECT_EQ(PowerOfTwoAtLeast(-5), 1);
  EXPECT_EQ(PowerOfTwoAtLeast(64), 64);
  EXPECT_EQ(PowerOfTwoAtLeast(65), 128);
}

TEST_F(SurfaceTest, CreatedSurfaceTakesWrittenPixelsPremultiplied) {
  gxtkSurface* surface = device->CreateSurface(4, 3);
  EXPECT_EQ(surface->depth, 4);
  EXPECT_EQ(surface->data, nullptr);
  EXPECT_EQ(gl.Count("GenTextures"), 0);  // no texture until the surface is used
  surface->Bind();
  EXPECT_EQ(gl.Count("GenTextures"), 1);
  EXPECT_EQ(gl.Count("TexSubImage2D"), 0);  // contents undefined until written

  gl.Reset();
  Array<int> pixels(1 + 2 * 5);
  pixels[1] = static_cast<int>(0x80C86432u);  // A 128, R 200, G 100, B 50
  pixels[2] = static_cast<int>(0xFF0A141Eu);
  pixels[6] = static_cast<int>(0x00FFFFFFu);
  pixels[7] = static_cast<int>(0x40FF0000u);
  device->WritePixels2(surface, pixels, 1, 1, 2, 2, 1, 5);
  ASSERT_TRUE(surface->data);
  const unsigned char* row1 = surface->data + (1 * 4 + 1) * 4;
  EXPECT_EQ(Bytes(row1, 8), (std::vector<int>{100, 50, 25, 128, 10, 20, 30, 255}));
  const unsigned char* row2 = surface->data + (2 * 4 + 1) * 4;
  EXPECT_EQ(Bytes(row2, 8), (std::vector<int>{0, 0, 0, 0, 64, 0, 0, 64}));
  // Uploaded a row at a time, since the copy's rows are the whole width long.
  EXPECT_EQ(gl.Count("TexSubImage2D"), 2);
  EXPECT_EQ(gl.calls.back().args, (std::vector<double>{1, 2, 2, 1, GL_RGBA}));

  // Blocks outside the surface or the array, and non-RGBA surfaces, take nothing.
  gl.Reset();
  device->WritePixels2(surface, pixels, 3, 0, 2, 1, 0, 5);
  device->WritePixels2(surface, pixels, 0, 0, 2, 3, 1, 5);
  device->WritePixels2(surface, pixels, 0, 0, 1, 1, -1, 5);
  device->WritePixels2(nullptr, pixels, 0, 0, 1, 1, 0, 5);
  host->WritePng("rgb.png", 2, 2, 3, std::vector<unsigned char>(12, 1));
  gxtkSurface* rgb = device->LoadSurface(String("zorvex://data/rgb.png"));
  gl.Reset();
  device->WritePixels2(rgb, pixels, 0, 0, 1, 1, 0, 5);
  EXPECT_TRUE(gl.calls.empty());
  EXPECT_EQ(rgb->data, nullptr);  // nothing read back or written
}

TEST_F(SurfaceTest, SurfaceTooLargeForAPixelCopyTakesNoWrittenPixels) {
  // 40000 x 40000 RGBA is more bytes than a pixel copy can hold.
  gxtkSurface* surface = device->CreateSurface(40000, 40000);
  Array<int> pixels(4);
  pixels[0] = -1;
  gl.Reset();
  device->WritePixels2(surface, pixels, 39999, 39999, 1, 1, 0, 1);
  EXPECT_EQ(surface->data, nullptr);
  EXPECT_EQ(gl.Count("TexSubImage2D"), 0);
}

TEST_F(SurfaceTest, DiscardFreesPixelsAndTheCurrentContextsTexture) {
  host->WritePng("a.png", 2, 2, 4, std::vector<unsigned char>(16, 200));
  gxtkSurface* current = device->LoadSurface(String("zorvex://data/a.png"));
  gxtkSurface* stale = device->LoadSurface(String("zorvex://data/a.png"));
  ASSERT_TRUE(current && stale);
  current->Prepare();
  stale->Prepare();
  GLuint name = current->texture;
  current->Discard();
  EXPECT_EQ(current->data, nullptr);
  EXPECT_EQ(current->seq, -1);
  EXPECT_TRUE(gl.textures[name].deleted);

  // A texture of an older context is not deleted on the new one.
  ++glfwGraphicsSeq;
  gl.Reset();
  stale->Discard();
  EXPECT_EQ(stale->data, nullptr);
  EXPECT_EQ(gl.Count("DeleteTextures"), 0);
}

TEST_F(SurfaceTest, DestroyedSurfaceReleasesItsTexture) {
  host->WritePng("a.png", 2, 2, 4, std::vector<unsigned char>(16, 200));
  gxtkSurface* surface = device->LoadSurface(String("zorvex://data/a.png"));
  surface->Prepare();
  GLuint name = surface->texture;
  EXPECT_FALSE(gl.textures[name].deleted);
  // Destroys every object, as the collector destroys garbage.
  ReleaseGraphicsModule();
  EXPECT_TRUE(gl.textures[name].deleted);
}

}  // namespace
