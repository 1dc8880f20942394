// graphics/web/gl_layer_webgl.cpp: the real layer in a browser: the renderer's
// few fixed-function calls on WebGL 1 (OpenGL ES 2), with one shader pair for
// textured or plain, coloured, blended vertices.
//
// The renderer's arrays are client memory, which WebGL cannot draw from: each
// draw copies the vertices it uses into one streaming buffer.
#include "graphics/gl_layer.h"

#include <GLES2/gl2.h>
#include <emscripten/html5.h>

#include <cstring>
#include <vector>

#include "graphics/gl_direct_calls.h"
#include "host/game.h"

namespace {

const char kVertexShader[] =
    "attribute vec2 position;\n"
    "attribute vec2 texCoord;\n"
    "attribute vec4 color;\n"
    "uniform mat4 transform;\n"
    "varying vec2 uv;\n"
    "varying vec4 tint;\n"
    "void main() {\n"
    "  uv = texCoord;\n"
    "  tint = color;\n"
    "  gl_PointSize = 1.0;\n"
    "  gl_Position = transform * vec4(position, 0.0, 1.0);\n"
    "}\n";

const char kFragmentShader[] =
    "precision mediump float;\n"
    "uniform sampler2D picture;\n"
    "uniform float textured;\n"
    "varying vec2 uv;\n"
    "varying vec4 tint;\n"
    "void main() {\n"
    "  vec4 texel = textured > 0.5 ? texture2D(picture, uv) : vec4(1.0);\n"
    "  gl_FragColor = tint * texel;\n"
    "}\n";

enum Attribute { kPosition, kTexCoord, kColor, kAttributes };

struct ClientArray {
  bool enabled = false;
  GLint size = 0;
  GLenum type = GL_FLOAT;
  GLsizei stride = 0;
  const unsigned char* pointer = nullptr;
};

// Column-major 4 x 4, as GL keeps it.
struct Matrix {
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  void Multiply(const float b[16]) {
    float r[16];
    for (int col = 0; col < 4; ++col) {
      for (int row = 0; row < 4; ++row) {
        float sum = 0;
        for (int k = 0; k < 4; ++k) sum += m[k * 4 + row] * b[col * 4 + k];
        r[col * 4 + row] = sum;
      }
    }
    memcpy(m, r, sizeof r);
  }
};

GLuint Compile(GLenum type, const char* source) {
  GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  return shader;
}

class WebGlLayer : public GlDirectCalls {
 public:
  void WindowSize(int* width, int* height) override {
    *width = *height = 0;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_get_current_context();
    if (context > 0) emscripten_webgl_get_drawing_buffer_size(context, width, height);
  }
  void MatrixMode(GLenum mode) override { modelView_ = mode == GL_MODELVIEW; }
  void LoadIdentity() override { Current() = Matrix(); }
  void Ortho(double left, double right, double bottom, double top, double zNear,
             double zFar) override {
    const float o[16] = {static_cast<float>(2 / (right - left)), 0, 0, 0,
                         0, static_cast<float>(2 / (top - bottom)), 0, 0,
                         0, 0, static_cast<float>(-2 / (zFar - zNear)), 0,
                         static_cast<float>(-(right + left) / (right - left)),
                         static_cast<float>(-(top + bottom) / (top - bottom)),
                         static_cast<float>(-(zFar + zNear) / (zFar - zNear)), 1};
    Current().Multiply(o);
  }
  void EnableClientState(GLenum array) override {
    if (ClientArray* a = ArrayOf(array)) a->enabled = true;
  }
  void VertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override {
    SetArray(kPosition, size, type, stride, pointer);
  }
  void TexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override {
    SetArray(kTexCoord, size, type, stride, pointer);
  }
  void ColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) override {
    SetArray(kColor, size, type, stride, pointer);
  }
  // Texturing is the shader's switch; the rest are WebGL's own.
  void Enable(GLenum capability) override {
    if (capability == GL_TEXTURE_2D) {
      textured_ = true;
    } else {
      glEnable(capability);
    }
  }
  void Disable(GLenum capability) override {
    if (capability == GL_TEXTURE_2D) {
      textured_ = false;
    } else {
      glDisable(capability);
    }
  }
  void DrawArrays(GLenum mode, GLint first, GLsizei count) override {
    if (count <= 0 || !Prepare(first + count)) return;
    glDrawArrays(mode, first, count);
  }
  void DrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) override {
    if (count <= 0 || type != GL_UNSIGNED_SHORT) return;
    const auto* index = static_cast<const unsigned short*>(indices);
    unsigned short highest = 0;
    for (GLsizei i = 0; i < count; ++i) highest = index[i] > highest ? index[i] : highest;
    if (!Prepare(highest + 1)) return;
    UploadIndices(index, count);
    glDrawElements(mode, count, GL_UNSIGNED_SHORT, nullptr);
  }
  // WebGL reads only RGBA: BGRA is the same bytes with red and blue swapped.
  void ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  void* pixels) override {
    bool bgra = format == GL_BGRA;
    glReadPixels(x, y, width, height, bgra ? GL_RGBA : format, type, pixels);
    if (!bgra || type != GL_UNSIGNED_BYTE) return;
    auto* bytes = static_cast<unsigned char*>(pixels);
    for (long i = 0, n = static_cast<long>(width) * height; i < n; ++i) {
      unsigned char red = bytes[i * 4];
      bytes[i * 4] = bytes[i * 4 + 2];
      bytes[i * 4 + 2] = red;
    }
  }

 private:
  Matrix& Current() { return modelView_ ? modelViewMatrix_ : projection_; }

  ClientArray* ArrayOf(GLenum array) {
    switch (array) {
      case GL_VERTEX_ARRAY: return &arrays_[kPosition];
      case GL_TEXTURE_COORD_ARRAY: return &arrays_[kTexCoord];
      case GL_COLOR_ARRAY: return &arrays_[kColor];
      default: return nullptr;
    }
  }

  void SetArray(Attribute which, GLint size, GLenum type, GLsizei stride, const void* pointer) {
    ClientArray& a = arrays_[which];
    a.size = size;
    a.type = type;
    a.stride = stride;
    a.pointer = static_cast<const unsigned char*>(pointer);
  }

  // The program on first use in each context (one exists by then; a lost
  // one restored has none), the matrix and the switch, and vertices
  // 0 .. count - 1 of every enabled array in the buffer.
  bool Prepare(int count) {
    if (builtSeq_ != glfwGraphicsSeq && !Build()) return false;
    glUseProgram(program_);
    Matrix transform = projection_;
    transform.Multiply(modelViewMatrix_.m);
    glUniformMatrix4fv(transformAt_, 1, GL_FALSE, transform.m);
    glUniform1f(texturedAt_, textured_ ? 1.0f : 0.0f);
    // The arrays share one block (interleaved) in the renderer; each is
    // copied from its own start all the same, so separate blocks work too.
    size_t offset = 0;
    size_t offsets[kAttributes] = {};
    staging_.clear();
    for (int i = 0; i < kAttributes; ++i) {
      const ClientArray& a = arrays_[i];
      if (!a.enabled || !a.pointer) continue;
      size_t bytes = static_cast<size_t>(a.stride) * (count - 1) + ElementBytes(a);
      offsets[i] = offset;
      staging_.insert(staging_.end(), a.pointer, a.pointer + bytes);
      offset += (bytes + 3) & ~size_t{3};
      staging_.resize(offset);
    }
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    if (staging_.size() > vertexCapacity_) {
      vertexCapacity_ = staging_.size() * 2;
      glBufferData(GL_ARRAY_BUFFER, vertexCapacity_, nullptr, GL_STREAM_DRAW);
    }
    glBufferSubData(GL_ARRAY_BUFFER, 0, staging_.size(), staging_.data());
    for (int i = 0; i < kAttributes; ++i) {
      const ClientArray& a = arrays_[i];
      if (!a.enabled || !a.pointer) {
        glDisableVertexAttribArray(i);
        continue;
      }
      glEnableVertexAttribArray(i);
      glVertexAttribPointer(i, a.size, a.type, a.type == GL_UNSIGNED_BYTE ? GL_TRUE : GL_FALSE,
                            a.stride, reinterpret_cast<const void*>(offsets[i]));
    }
    // Without a colour array the fixed pipeline's current colour is white.
    if (!arrays_[kColor].enabled) glVertexAttrib4f(kColor, 1, 1, 1, 1);
    return true;
  }

  static size_t ElementBytes(const ClientArray& a) {
    return static_cast<size_t>(a.size) * (a.type == GL_UNSIGNED_BYTE ? 1 : 4);
  }

  // The renderer passes the same quad indices every time: sent once, then
  // again only when they differ.
  void UploadIndices(const unsigned short* index, GLsizei count) {
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    size_t bytes = static_cast<size_t>(count) * sizeof(unsigned short);
    if (indices_.size() >= static_cast<size_t>(count) &&
        memcmp(indices_.data(), index, bytes) == 0) {
      return;
    }
    indices_.assign(index, index + count);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, bytes, index, GL_STATIC_DRAW);
  }

  bool Build() {
    GLuint program = glCreateProgram();
    glAttachShader(program, Compile(GL_VERTEX_SHADER, kVertexShader));
    glAttachShader(program, Compile(GL_FRAGMENT_SHADER, kFragmentShader));
    glBindAttribLocation(program, kPosition, "position");
    glBindAttribLocation(program, kTexCoord, "texCoord");
    glBindAttribLocation(program, kColor, "color");
    glLinkProgram(program);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) return false;
    program_ = program;
    transformAt_ = glGetUniformLocation(program, "transform");
    texturedAt_ = glGetUniformLocation(program, "textured");
    glGenBuffers(1, &vertexBuffer_);
    glGenBuffers(1, &indexBuffer_);
    vertexCapacity_ = 0;
    indices_.clear();
    builtSeq_ = glfwGraphicsSeq;
    return true;
  }

  bool modelView_ = false;
  Matrix projection_;
  Matrix modelViewMatrix_;
  bool textured_ = false;
  ClientArray arrays_[kAttributes];
  GLuint program_ = 0;
  // The context count the program and buffers were made under; -1: none yet.
  int builtSeq_ = -1;
  GLint transformAt_ = -1;
  GLint texturedAt_ = -1;
  GLuint vertexBuffer_ = 0;
  GLuint indexBuffer_ = 0;
  size_t vertexCapacity_ = 0;
  std::vector<unsigned char> staging_;
  std::vector<unsigned short> indices_;
};

}  // namespace

GlLayer& RealGlLayer() {
  static WebGlLayer layer;
  return layer;
}
