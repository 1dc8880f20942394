// graphics/gl_layer.cpp: the real layer, one OpenGL (or GLFW) call per operation.
#include "graphics/gl_layer.h"

#include <GLFW/glfw3.h>
#include <GL/glx.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "host/game.h"

// GLFW's native access, declared here: its header wants the XRandR headers too.
extern "C" Display* glfwGetX11Display(void);
extern "C" GLXWindow glfwGetGLXWindow(GLFWwindow* window);

#ifndef GLX_BACK_BUFFER_AGE_EXT
#define GLX_BACK_BUFFER_AGE_EXT 0x20F4
#endif

#include "graphics/gl_direct_calls.h"

namespace {

class OpenGlLayer : public GlDirectCalls {
 public:
  void WindowSize(int* width, int* height) override {
    *width = *height = 0;
    if (GLFWwindow* window = glfwGetCurrentContext()) glfwGetWindowSize(window, width, height);
  }
  void MatrixMode(GLenum mode) override { glMatrixMode(mode); }
  void LoadIdentity() override { glLoadIdentity(); }
  void Ortho(double left, double right, double bottom, double top, double zNear,
             double zFar) override {
    glOrtho(left, right, bottom, top, zNear, zFar);
  }
  void EnableClientState(GLenum array) override { glEnableClientState(array); }
  void VertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override {
    glVertexPointer(size, type, stride, pointer);
  }
  void TexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override {
    glTexCoordPointer(size, type, stride, pointer);
  }
  void ColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override {
    glColorPointer(size, type, stride, pointer);
  }
  void Enable(GLenum capability) override { glEnable(capability); }
  void Disable(GLenum capability) override { glDisable(capability); }
  void DrawArrays(GLenum mode, GLint first, GLsizei count) override {
    glDrawArrays(mode, first, count);
  }
  void DrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) override {
    glDrawElements(mode, count, type, indices);
  }
  void ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  void* pixels) override {
    glReadPixels(x, y, width, height, format, type, pixels);
  }

  // Where the driver reports buffer ages, they are asked at every frame.
  // Elsewhere only a software rasteriser whose swaps are seen to copy is
  // trusted to keep the last frame; anything else gets whole frames. Each
  // context (every window has its own) is probed anew, before its first frame.
  int BackBufferAge() override {
    GLFWwindow* window = glfwGetCurrentContext();
    if (!window) return 0;
    if (probedSeq_ != glfwGraphicsSeq) {
      probedSeq_ = glfwGraphicsSeq;
      reportsAge_ = HasBufferAge();
      copies_ = !reportsAge_ && SoftwareRenderer() && SwapCopies(window);
      // The frame check's test counts these: each new window asks again.
      if (std::getenv("MARVOLET_CHECK_FRAMES")) {
        std::printf("Back buffer of context %d: %s\n", glfwGraphicsSeq,
                    reportsAge_ ? "the driver reports its age"
                    : copies_   ? "swaps copy, the last frame is kept"
                                : "unknown, whole frames drawn");
        std::fflush(stdout);
      }
    }
    if (reportsAge_) {
      unsigned int age = 0;
      glXQueryDrawable(glfwGetX11Display(), glfwGetGLXWindow(window), GLX_BACK_BUFFER_AGE_EXT,
                       &age);
      return static_cast<int>(age);
    }
    return copies_ ? 1 : 0;
  }

 private:
  static bool HasBufferAge() {
    Display* display = glfwGetX11Display();
    if (!display) return false;
    const char* names = glXQueryExtensionsString(display, DefaultScreen(display));
    const size_t length = std::strlen("GLX_EXT_buffer_age");
    for (const char* at = names; at && (at = std::strstr(at, "GLX_EXT_buffer_age")); at += length) {
      const bool starts = at == names || at[-1] == ' ';
      if (starts && (at[length] == ' ' || at[length] == 0)) return true;
    }
    return false;
  }
  // Mesa's software rasterisers draw into memory that a swap copies out.
  static bool SoftwareRenderer() {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (!renderer) return false;
    for (const char* name : {"llvmpipe", "softpipe", "Software Rasterizer"}) {
      if (std::strstr(renderer, name)) return true;
    }
    return false;
  }

  // Two near-black frames in a row: after the second swap the back buffer
  // holds the second only where swaps copy it to the window; where they
  // exchange buffers or leave them undefined it holds something else.
  static bool SwapCopies(GLFWwindow* window) {
    int width = 0, height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    if (width <= 0 || height <= 0) return false;
    glDisable(GL_SCISSOR_TEST);
    constexpr int kBlue = 16;
    for (int blue : {0, kBlue}) {
      glClearColor(0, 0, blue / 255.0f, 1);
      glClear(GL_COLOR_BUFFER_BIT);
      glfwSwapBuffers(window);
    }
    const int points[3][2] = {{0, 0}, {width / 2, height / 2}, {width - 1, height - 1}};
    for (const auto& point : points) {
      unsigned char rgba[4] = {255, 255, 255, 255};
      glReadPixels(point[0], point[1], 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
      // A few levels of slack for buffers of fewer than 8 bits a channel.
      if (rgba[0] != 0 || rgba[1] != 0 || rgba[2] < kBlue - 8 || rgba[2] > kBlue + 8) return false;
    }
    return true;
  }

  int probedSeq_ = -1;
  bool reportsAge_ = false;
  bool copies_ = false;
};

}  // namespace

GlLayer& RealGlLayer() {
  static OpenGlLayer layer;
  return layer;
}
