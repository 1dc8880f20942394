// graphics/gl_layer.h: the thin layer through which the graphics code reaches OpenGL.
//
// Every OpenGL call of the renderer and the surfaces goes through the current
// layer: the real one calls OpenGL on the current context, and tests install
// a recording one to count draw calls and state changes without a window.
#pragma once

#include <GL/gl.h>

class GlLayer {
 public:
  virtual ~GlLayer() = default;

  // Size of the window whose context is current, or 0 x 0 when there is none.
  virtual void WindowSize(int* width, int* height) = 0;

  virtual void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) = 0;
  virtual void MatrixMode(GLenum mode) = 0;
  virtual void LoadIdentity() = 0;
  virtual void Ortho(double left, double right, double bottom, double top, double zNear,
                     double zFar) = 0;

  virtual void EnableClientState(GLenum array) = 0;
  virtual void VertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) = 0;
  virtual void TexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) = 0;
  virtual void ColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) = 0;

  virtual void Enable(GLenum capability) = 0;
  virtual void Disable(GLenum capability) = 0;
  virtual void BlendFunc(GLenum source, GLenum destination) = 0;
  virtual void Scissor(GLint x, GLint y, GLsizei width, GLsizei height) = 0;
  virtual void ClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) = 0;
  virtual void Clear(GLbitfield mask) = 0;

  virtual void DrawArrays(GLenum mode, GLint first, GLsizei count) = 0;
  virtual void DrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) = 0;
  virtual void ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                          GLenum type, void* pixels) = 0;

  virtual void GenTextures(GLsizei count, GLuint* textures) = 0;
  virtual void DeleteTextures(GLsizei count, const GLuint* textures) = 0;
  virtual void BindTexture(GLenum target, GLuint texture) = 0;
  virtual void TexParameteri(GLenum target, GLenum name, GLint value) = 0;
  virtual void TexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                          GLsizei height, GLint border, GLenum format, GLenum type,
                          const void* pixels) = 0;
  virtual void TexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width,
                             GLsizei height, GLenum format, GLenum type, const void* pixels) = 0;
  virtual void PixelStorei(GLenum name, GLint value) = 0;
  virtual GLenum GetError() = 0;

  // How many frames old the current back buffer's contents are, asked as a
  // frame begins: 1 when it holds the frame presented last, n when the one n
  // swaps ago, 0 when they are undefined or unknown (draw the frame whole).
  // Platforms differ (copy, exchange, several buffers) and can change while
  // a window lives, so it is asked at every frame.
  virtual int BackBufferAge() { return 0; }
};

// The platform's own layer (desktop OpenGL or the browser's WebGL).
GlLayer& RealGlLayer();
// The layer in use: the real one unless another was installed.
GlLayer& Gl();
// Installs a layer (null goes back to the real one); returns the previous one.
GlLayer* SetGlLayer(GlLayer* layer);
