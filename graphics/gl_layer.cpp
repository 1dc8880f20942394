// graphics/gl_layer.cpp: the real layer, one OpenGL (or GLFW) call per operation.
#include "graphics/gl_layer.h"

#include <GLFW/glfw3.h>

#include <initializer_list>

namespace {

class OpenGlLayer : public GlLayer {
 public:
  void WindowSize(int* width, int* height) override {
    *width = *height = 0;
    if (GLFWwindow* window = glfwGetCurrentContext()) glfwGetWindowSize(window, width, height);
  }
  void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) override {
    glViewport(x, y, width, height);
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
  void BlendFunc(GLenum source, GLenum destination) override {
    glBlendFunc(source, destination);
  }
  void Scissor(GLint x, GLint y, GLsizei width, GLsizei height) override {
    glScissor(x, y, width, height);
  }
  void ClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) override {
    glClearColor(red, green, blue, alpha);
  }
  void Clear(GLbitfield mask) override { glClear(mask); }
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
  void GenTextures(GLsizei count, GLuint* textures) override { glGenTextures(count, textures); }
  void DeleteTextures(GLsizei count, const GLuint* textures) override {
    glDeleteTextures(count, textures);
  }
  void BindTexture(GLenum target, GLuint texture) override { glBindTexture(target, texture); }
  void TexParameteri(GLenum target, GLenum name, GLint value) override {
    glTexParameteri(target, name, value);
  }
  void TexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                  GLsizei height, GLint border, GLenum format, GLenum type,
                  const void* pixels) override {
    glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
  }
  void TexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width,
                     GLsizei height, GLenum format, GLenum type, const void* pixels) override {
    glTexSubImage2D(target, level, x, y, width, height, format, type, pixels);
  }
  void PixelStorei(GLenum name, GLint value) override { glPixelStorei(name, value); }
  GLenum GetError() override { return glGetError(); }

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

OpenGlLayer real_layer;
GlLayer* current_layer = &real_layer;

}  // namespace

GlLayer& Gl() { return *current_layer; }

GlLayer* SetGlLayer(GlLayer* layer) {
  GlLayer* previous = current_layer;
  current_layer = layer ? layer : &real_layer;
  return previous;
}
