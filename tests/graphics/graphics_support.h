// tests/graphics/graphics_support.h: what the graphics tests share: a host that
// loads pictures from a scratch data folder, PNG writing, the module's globals
// set up as the program's start-up does, and a real GL window for pixel tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/gl_recorder.h"
#include "graphics/graphics.h"
#include "host/game.h"

// A host whose "zorvex://data/" folder is a scratch folder, decoding with stb_image.
class TestHost : public RkGame {
 public:
  TestHost();
  ~TestHost() override;

  std::string dataFolder;
  int deviceWidth = 640;
  int deviceHeight = 480;

  String PathToFilePath(String path) override;
  unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override;
  int GetDeviceWidth() override { return deviceWidth; }
  int GetDeviceHeight() override { return deviceHeight; }

  // Writes a PNG of `depth` bytes per pixel into the data folder.
  void WritePng(const std::string& name, int width, int height, int depth,
                const std::vector<unsigned char>& pixels);
  // Writes bytes that are no picture at all.
  void WriteFile(const std::string& name, const std::string& bytes);
};

// Resets the collector and gives the drawing module's globals their start-up
// values, with their roots registered and marked: device null, a new context,
// no render device.
void ResetGraphicsModule();

// Destroys every collected object and clears the module's globals and roots.
void ReleaseGraphicsModule();

// The module set up over a recording GL layer with one frame begun on a 640 x 480 device.
class RecordedFrameTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Device and module frame start, as the delegate renders.
  void BeginFrame();
  // Module and device frame end.
  void EndFrame();

  GlRecorder gl;
  std::unique_ptr<TestHost> host;
  gxtkGraphics* device = nullptr;
  int savedSeq = 0;
};

// A real window with a legacy OpenGL context, current on this thread.
class GlWindow {
 public:
  ~GlWindow() { Close(); }
  // Opens (or reopens) the window; counts a new context as the host does.
  bool Open(int width, int height);
  void Close();
  // Presents the back buffer, as the host does after a frame.
  void Swap();

 private:
  void* window_ = nullptr;
};

// The colour of a window pixel as the renderer's ReadPixels gives it, as 0xRRGGBB.
int RgbAt(gxtkGraphics* device, int x, int y);
constexpr int Rgb(int r, int g, int b) { return r << 16 | g << 8 | b; }
