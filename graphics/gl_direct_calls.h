// graphics/gl_direct_calls.h: the layer calls that every real layer passes
// straight to GL, the same on desktop OpenGL and on WebGL.
#pragma once

#include "graphics/gl_layer.h"

class GlDirectCalls : public GlLayer {
 public:
  void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) override {
    glViewport(x, y, width, height);
  }
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
};
