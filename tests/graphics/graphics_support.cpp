// tests/graphics/graphics_support.cpp: the test host, module set-up and GL window.
#include "graphics_support.h"

#include <GLFW/glfw3.h>
#include <stb_image.h>
#include <stb_image_write.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

std::string MakeScratchFolder() {
  char pattern[] = "/tmp/marvolet-gfx-XXXXXX";
  const char* folder = mkdtemp(pattern);
  return folder ? folder : "/tmp";
}

}  // namespace

TestHost::TestHost() : dataFolder(MakeScratchFolder()) {}

TestHost::~TestHost() {
  std::error_code ignored;
  if (dataFolder.rfind("/tmp/marvolet-gfx-", 0) == 0) {
    std::filesystem::remove_all(dataFolder, ignored);
  }
  if (RkGame::_game == this) RkGame::_game = nullptr;
}

String TestHost::PathToFilePath(String path) {
  const String prefix("zorvex://data/");
  if (path.StartsWith(prefix)) {
    return String(dataFolder.c_str()) + String("/") + path.Slice(prefix.Length());
  }
  return path.StartsWith(String("zorvex:")) ? String() : path;
}

unsigned char* TestHost::LoadImageData(String path, int* width, int* height, int* depth) {
  FILE* file = OpenFile(path, String("rb"));
  if (!file) return nullptr;
  unsigned char* pixels = stbi_load_from_file(file, width, height, depth, 0);
  fclose(file);
  if (pixels) gc_ext_malloced(*width * *height * *depth);
  return pixels;
}

void TestHost::WritePng(const std::string& name, int width, int height, int depth,
                        const std::vector<unsigned char>& pixels) {
  std::string path = dataFolder + "/" + name;
  ASSERT_TRUE(stbi_write_png(path.c_str(), width, height, depth, pixels.data(), width * depth));
}

void TestHost::WriteFile(const std::string& name, const std::string& bytes) {
  std::ofstream(dataFolder + "/" + name, std::ios::binary) << bytes;
}

void ReleaseGraphicsModule() {
  gc_clear_roots();
  gc_release_all();
  rk_graphics_device = rk_graphics_renderDevice = nullptr;
  rk_graphics_context = nullptr;
}

// In the order of the program's start-up: the globals, their roots, then the first marking.
void ResetGraphicsModule() {
  ReleaseGraphicsModule();
  rk_graphics_context = (new c_GraphicsContext())->m_new();
  c_Image::m_DefaultFlags = 0;
  gc_add_root(&rk_graphics_device);
  gc_add_root(&rk_graphics_context);
  gc_add_root(&rk_graphics_renderDevice);
  gc_init2();
}

void RecordedFrameTest::SetUp() {
  SetGlLayer(&gl);
  savedSeq = glfwGraphicsSeq;
  glfwGraphicsSeq = 1;
  host = std::make_unique<TestHost>();
  ResetGraphicsModule();
  device = new gxtkGraphics();
  rk_graphics_SetGraphicsDevice(device);
  BeginFrame();
  gl.Reset();
}

void RecordedFrameTest::TearDown() {
  ReleaseGraphicsModule();
  host.reset();
  glfwGraphicsSeq = savedSeq;
  SetGlLayer(nullptr);
}

void RecordedFrameTest::BeginFrame() {
  device->BeginRender();
  rk_graphics_BeginRender();
}

void RecordedFrameTest::EndFrame() {
  rk_graphics_EndRender();
  device->EndRender();
}

bool GlWindow::Open(int width, int height) {
  Close();
  // A virtual display busy with other tests' windows can refuse one for a
  // moment: a few tries, each failure named.
  GLFWwindow* window = nullptr;
  for (int attempt = 0; attempt < 3 && !window; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (glfwInit()) {
      glfwDefaultWindowHints();
      glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
      glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 1);
      glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
      window = glfwCreateWindow(width, height, "graphics test", nullptr, nullptr);
    }
    const char* description = nullptr;
    if (!window && glfwGetError(&description) != GLFW_NO_ERROR && description) {
      fprintf(stderr, "no window yet: %s\n", description);
    }
  }
  if (!window) return false;
  glfwMakeContextCurrent(window);
  window_ = window;
  ++glfwGraphicsSeq;
  return true;
}

void GlWindow::Close() {
  if (!window_) return;
  glfwMakeContextCurrent(nullptr);
  glfwDestroyWindow(static_cast<GLFWwindow*>(window_));
  window_ = nullptr;
}

void GlWindow::Swap() {
  if (window_) glfwSwapBuffers(static_cast<GLFWwindow*>(window_));
}

int RgbAt(gxtkGraphics* device, int x, int y) {
  Array<int> pixel(1);
  device->ReadPixels(pixel, x, y, 1, 1, 0, 1);
  return pixel[0] & 0xffffff;
}
