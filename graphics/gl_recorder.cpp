// graphics/gl_recorder.cpp: the recording GL layer.
#include "graphics/gl_recorder.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsPowerOfTwo(GLsizei n) { return n > 0 && (n & (n - 1)) == 0; }

}  // namespace

int GlRecorder::Count(const std::string& name) const {
  return static_cast<int>(
      std::count_if(calls.begin(), calls.end(), [&](const GlCall& c) { return c.name == name; }));
}

std::vector<std::string> GlRecorder::Names() const {
  std::vector<std::string> names;
  for (const GlCall& c : calls) names.push_back(c.name);
  return names;
}

void GlRecorder::Reset() {
  calls.clear();
  draws.clear();
  drawCalls = 0;
  stateChanges = 0;
}

void GlRecorder::Record(const char* name, std::initializer_list<double> args) {
  if (keepCalls) calls.push_back(GlCall{name, args});
}

void GlRecorder::WindowSize(int* width, int* height) {
  *width = windowWidth;
  *height = windowHeight;
}

void GlRecorder::Viewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  Record("Viewport", {double(x), double(y), double(width), double(height)});
}

void GlRecorder::MatrixMode(GLenum mode) { Record("MatrixMode", {double(mode)}); }

void GlRecorder::LoadIdentity() { Record("LoadIdentity", {}); }

void GlRecorder::Ortho(double left, double right, double bottom, double top, double zNear,
                       double zFar) {
  Record("Ortho", {left, right, bottom, top, zNear, zFar});
}

void GlRecorder::EnableClientState(GLenum array) { Record("EnableClientState", {double(array)}); }

void GlRecorder::VertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
  Record("VertexPointer", {double(size), double(type), double(stride)});
  vertexPointer_ = static_cast<const unsigned char*>(pointer);
  vertexStride_ = stride;
}

void GlRecorder::TexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
  Record("TexCoordPointer", {double(size), double(type), double(stride)});
  texCoordPointer_ = static_cast<const unsigned char*>(pointer);
  texCoordStride_ = stride;
}

void GlRecorder::ColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
  Record("ColorPointer", {double(size), double(type), double(stride)});
  colorPointer_ = static_cast<const unsigned char*>(pointer);
  colorStride_ = stride;
}

void GlRecorder::Enable(GLenum capability) { SetCapability("Enable", capability, true); }

void GlRecorder::Disable(GLenum capability) { SetCapability("Disable", capability, false); }

void GlRecorder::SetCapability(const char* name, GLenum capability, bool on) {
  Record(name, {double(capability)});
  ++stateChanges;
  if (capability == GL_BLEND) blend_ = on;
  if (capability == GL_TEXTURE_2D) texturing_ = on;
  if (capability == GL_SCISSOR_TEST) scissoring_ = on;
}

void GlRecorder::BlendFunc(GLenum source, GLenum destination) {
  Record("BlendFunc", {double(source), double(destination)});
  ++stateChanges;
  blendSource_ = source;
  blendDestination_ = destination;
}

void GlRecorder::Scissor(GLint x, GLint y, GLsizei width, GLsizei height) {
  Record("Scissor", {double(x), double(y), double(width), double(height)});
  ++stateChanges;
  const GLint box[4] = {x, y, width, height};
  std::copy(box, box + 4, scissor_);
}

void GlRecorder::ClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
  Record("ClearColor", {red, green, blue, alpha});
}

void GlRecorder::Clear(GLbitfield mask) { Record("Clear", {double(mask)}); }

RecordedVertex GlRecorder::VertexAt(int index) const {
  RecordedVertex v{};
  float position[2] = {0, 0}, texCoord[2] = {0, 0};
  if (vertexPointer_) memcpy(position, vertexPointer_ + index * vertexStride_, sizeof position);
  if (texCoordPointer_) {
    memcpy(texCoord, texCoordPointer_ + index * texCoordStride_, sizeof texCoord);
  }
  v.x = position[0];
  v.y = position[1];
  v.u = texCoord[0];
  v.v = texCoord[1];
  if (colorPointer_) memcpy(&v.r, colorPointer_ + index * colorStride_, 4);
  return v;
}

void GlRecorder::RecordDraw(GLenum mode, GLint first, GLsizei count, const uint16_t* indices) {
  ++drawCalls;
  if (!keepCalls && !keepVertices) return;
  GlDraw draw;
  draw.mode = mode;
  draw.first = first;
  draw.count = count;
  draw.indexed = indices != nullptr;
  draw.textured = texturing_;
  draw.texture = boundTexture_;
  draw.blendSource = blend_ ? blendSource_ : GL_ONE;
  draw.blendDestination = blend_ ? blendDestination_ : GL_ZERO;
  draw.scissored = scissoring_;
  std::copy(scissor_, scissor_ + 4, draw.scissor);
  if (keepVertices) {
    int from = first, to = first + count;
    if (indices) {
      draw.indices.assign(indices, indices + count);
      from = 0;
      to = count ? *std::max_element(indices, indices + count) + 1 : 0;
    }
    for (int i = from; i < to; ++i) draw.vertices.push_back(VertexAt(i));
  }
  draws.push_back(std::move(draw));
}

void GlRecorder::DrawArrays(GLenum mode, GLint first, GLsizei count) {
  Record("DrawArrays", {double(mode), double(first), double(count)});
  RecordDraw(mode, first, count, nullptr);
}

void GlRecorder::DrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
  Record("DrawElements", {double(mode), double(count), double(type)});
  RecordDraw(mode, 0, count, static_cast<const uint16_t*>(indices));
}

void GlRecorder::ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                            GLenum type, void* pixels) {
  Record("ReadPixels", {double(x), double(y), double(width), double(height), double(format)});
  int* out = static_cast<int*>(pixels);
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) *out++ = row << 16 | column;
  }
}

void GlRecorder::GenTextures(GLsizei count, GLuint* names) {
  Record("GenTextures", {double(count)});
  for (int i = 0; i < count; ++i) {
    names[i] = nextTexture_++;
    textures[names[i]] = RecordedTexture{};
  }
}

void GlRecorder::DeleteTextures(GLsizei count, const GLuint* names) {
  Record("DeleteTextures", {double(count), count > 0 ? double(names[0]) : 0.0});
  for (int i = 0; i < count; ++i) textures[names[i]].deleted = true;
}

void GlRecorder::BindTexture(GLenum target, GLuint texture) {
  Record("BindTexture", {double(target), double(texture)});
  ++stateChanges;
  boundTexture_ = texture;
}

void GlRecorder::TexParameteri(GLenum target, GLenum name, GLint value) {
  Record("TexParameteri", {double(target), double(name), double(value)});
}

void GlRecorder::TexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                            GLsizei height, GLint border, GLenum format, GLenum type,
                            const void* pixels) {
  Record("TexImage2D", {double(width), double(height), double(format)});
  if (width < 0 || height < 0 ||
      (refuseNonPowerOfTwo && !(IsPowerOfTwo(width) && IsPowerOfTwo(height)))) {
    pendingError_ = GL_INVALID_VALUE;
    return;
  }
  RecordedTexture& texture = textures[boundTexture_];
  texture.width = width;
  texture.height = height;
  texture.format = format;
}

void GlRecorder::TexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width,
                               GLsizei height, GLenum format, GLenum type, const void* pixels) {
  Record("TexSubImage2D", {double(x), double(y), double(width), double(height), double(format)});
  RecordedTexture& texture = textures[boundTexture_];
  const int depth = format == GL_RGBA              ? 4
                    : format == GL_RGB             ? 3
                    : format == GL_LUMINANCE_ALPHA ? 2
                                                   : 1;
  if (!pixels || x < 0 || y < 0 || x + width > texture.width || y + height > texture.height) return;
  // Kept at the texture's size, each uploaded block in its place.
  texture.pixels.resize(static_cast<size_t>(texture.width) * texture.height * depth);
  const unsigned char* bytes = static_cast<const unsigned char*>(pixels);
  for (int row = 0; row < height; ++row) {
    memcpy(&texture.pixels[(static_cast<size_t>(y + row) * texture.width + x) * depth],
           bytes + static_cast<size_t>(row) * width * depth, static_cast<size_t>(width) * depth);
  }
}

void GlRecorder::PixelStorei(GLenum name, GLint value) {
  Record("PixelStorei", {double(name), double(value)});
}

GLenum GlRecorder::GetError() {
  GLenum error = pendingError_;
  pendingError_ = GL_NO_ERROR;
  return error;
}
