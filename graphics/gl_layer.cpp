// graphics/gl_layer.cpp: the real layer, one OpenGL (or GLFW) call per operation.
#include "graphics/gl_layer.h"

#include <GLFW/glfw3.h>

#include <initializer_list>

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

  // Checked once per window, on its first frame, before the game draws it.
  bool SwapKeepsFrame() override {
    GLFWwindow* window = glfwGetCurrentContext();
    if (!window) return false;
    if (window != probed_) {
      probed_ = window;
      keeps_ = SwapCopies(window);
    }
    return keeps_;
  }

 private:
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

  GLFWwindow* probed_ = nullptr;
  bool keeps_ = false;
};

}  // namespace

GlLayer& RealGlLayer() {
  static OpenGlLayer layer;
  return layer;
}
