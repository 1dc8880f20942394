// The generator's PNG writer: what it writes decodes to the very same RGBA bytes.
#include <gtest/gtest.h>

#include <vector>

#include "stb_image.h"
#include "tools/png.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Decodes as the game does (channels as stored) and checks every byte.
void expectDecodesTo(const Bytes& png, int w, int h, const Bytes& rgba) {
  ASSERT_FALSE(png.empty());
  int dw = 0, dh = 0, channels = 0;
  unsigned char* px = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &dw, &dh, &channels, 0);
  ASSERT_NE(px, nullptr) << stbi_failure_reason();
  EXPECT_EQ(dw, w);
  EXPECT_EQ(dh, h);
  EXPECT_EQ(channels, 4);
  EXPECT_EQ(Bytes(px, px + static_cast<size_t>(dw) * dh * channels), rgba);
  stbi_image_free(px);
}

// Colour type byte of the header: 6 RGBA, 3 palette.
int colourType(const Bytes& png) { return png.size() > 25 ? png[25] : -1; }

TEST(PngWriter, ManyColoursRoundTripAsRgba) {
  const int w = 37, h = 23;
  Bytes rgba;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      unsigned char a = static_cast<unsigned char>((x * 7 + y * 3) % 256);
      rgba.insert(rgba.end(), {static_cast<unsigned char>(x * 6), static_cast<unsigned char>(y * 11),
                               static_cast<unsigned char>(x ^ y), a});
    }
  Bytes png = art::encodePng(w, h, rgba);
  EXPECT_EQ(colourType(png), 6);
  expectDecodesTo(png, w, h, rgba);
}

TEST(PngWriter, FewColoursUseAPaletteAndStillDecodeToFourChannels) {
  const int w = 40, h = 9;
  for (bool opaque : {false, true}) {
    Bytes rgba;
    for (int i = 0; i < w * h; ++i) {
      int level = (i * 13) % 256;  // 256 grey levels exactly
      rgba.insert(rgba.end(), {255, 255, 255, static_cast<unsigned char>(opaque ? 255 : level)});
      if (opaque) rgba[rgba.size() - 4] = static_cast<unsigned char>(level);
    }
    Bytes png = art::encodePng(w, h, rgba);
    EXPECT_EQ(colourType(png), 3);
    expectDecodesTo(png, w, h, rgba);
  }
}

TEST(PngWriter, RefusesPixelsThatDoNotFitTheSize) {
  EXPECT_TRUE(art::encodePng(4, 4, Bytes(4 * 4 * 4 - 1)).empty());
  EXPECT_TRUE(art::encodePng(0, 4, Bytes()).empty());
}

}  // namespace
