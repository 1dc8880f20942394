// graphics/gl_layer_current.cpp: which GL layer the renderer talks to; tests
// and benchmarks install a recording one.
#include "graphics/gl_layer.h"

namespace {
GlLayer* installed = nullptr;
}  // namespace

GlLayer& Gl() { return installed ? *installed : RealGlLayer(); }

GlLayer* SetGlLayer(GlLayer* layer) {
  GlLayer* previous = installed ? installed : &RealGlLayer();
  installed = layer;
  return previous;
}
