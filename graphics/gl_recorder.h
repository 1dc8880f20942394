// graphics/gl_recorder.h: a GL layer that records instead of drawing, for
// tests and benchmarks: the calls made, each draw with the state it ran in
// and the vertices it read, and counters of draw calls and state changes.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "graphics/gl_layer.h"

struct GlCall {
  std::string name;
  std::vector<double> args;
};

struct RecordedVertex {
  float x, y, u, v;
  uint8_t r, g, b, a;
};

struct GlDraw {
  GLenum mode = 0;
  GLint first = 0;
  GLsizei count = 0;   // vertices, or indices when `indexed`
  bool indexed = false;
  bool textured = false;
  GLuint texture = 0;  // bound when drawn
  GLenum blendSource = 0;
  GLenum blendDestination = 0;
  bool scissored = false;
  GLint scissor[4] = {0, 0, 0, 0};
  // The vertices the call reads: first..first+count-1, or 0..highest index.
  std::vector<RecordedVertex> vertices;
  std::vector<uint16_t> indices;
};

struct RecordedTexture {
  GLsizei width = 0;
  GLsizei height = 0;
  GLenum format = 0;
  bool deleted = false;
  // The bytes of the last upload that covered the whole texture (rows packed).
  std::vector<unsigned char> pixels;
};

class GlRecorder : public GlLayer {
 public:
  int windowWidth = 640;
  int windowHeight = 480;
  // Off for benchmarks: only the counters are kept.
  bool keepCalls = true;
  bool keepVertices = true;
  // Acts like a driver that refuses textures whose sides are not powers of two.
  bool refuseNonPowerOfTwo = false;
  // Acts like a platform whose buffer swaps keep the frame in the back buffer.
  // What BackBufferAge answers.
  int backBufferAge = 0;

  std::vector<GlCall> calls;
  std::vector<GlDraw> draws;
  std::map<GLuint, RecordedTexture> textures;
  int drawCalls = 0;
  // Enable, Disable, BlendFunc, Scissor and BindTexture calls.
  int stateChanges = 0;

  // Number of recorded calls with this name.
  int Count(const std::string& name) const;
  // Names of the recorded calls, in order.
  std::vector<std::string> Names() const;
  void Reset();

  void WindowSize(int* width, int* height) override;
  void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) override;
  void MatrixMode(GLenum mode) override;
  void LoadIdentity() override;
  void Ortho(double left, double right, double bottom, double top, double zNear,
             double zFar) override;
  void EnableClientState(GLenum array) override;
  void VertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override;
  void TexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override;
  void ColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override;
  void Enable(GLenum capability) override;
  void Disable(GLenum capability) override;
  void BlendFunc(GLenum source, GLenum destination) override;
  void Scissor(GLint x, GLint y, GLsizei width, GLsizei height) override;
  void ClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) override;
  void Clear(GLbitfield mask) override;
  void DrawArrays(GLenum mode, GLint first, GLsizei count) override;
  void DrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) override;
  // Fills the block with (GL row << 16) | column, so a reader can check row order.
  void ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  void* pixels) override;
  void GenTextures(GLsizei count, GLuint* names) override;
  void DeleteTextures(GLsizei count, const GLuint* names) override;
  void BindTexture(GLenum target, GLuint texture) override;
  void TexParameteri(GLenum target, GLenum name, GLint value) override;
  void TexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                  GLsizei height, GLint border, GLenum format, GLenum type,
                  const void* pixels) override;
  void TexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width,
                     GLsizei height, GLenum format, GLenum type, const void* pixels) override;
  void PixelStorei(GLenum name, GLint value) override;
  GLenum GetError() override;
  int BackBufferAge() override { return backBufferAge; }

 private:
  void Record(const char* name, std::initializer_list<double> args);
  void SetCapability(const char* name, GLenum capability, bool on);
  void RecordDraw(GLenum mode, GLint first, GLsizei count, const uint16_t* indices);
  RecordedVertex VertexAt(int index) const;

  const unsigned char* vertexPointer_ = nullptr;
  const unsigned char* texCoordPointer_ = nullptr;
  const unsigned char* colorPointer_ = nullptr;
  GLsizei vertexStride_ = 0, texCoordStride_ = 0, colorStride_ = 0;
  bool blend_ = false, texturing_ = false, scissoring_ = false;
  GLenum blendSource_ = GL_ONE, blendDestination_ = GL_ZERO;
  GLint scissor_[4] = {0, 0, 0, 0};
  GLuint boundTexture_ = 0;
  GLuint nextTexture_ = 1;
  GLenum pendingError_ = GL_NO_ERROR;
};
