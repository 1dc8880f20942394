// bench/graphics_perf.cpp: the renderer's batcher: quads per second, plain and
// transformed, and one frame of 2,500 mixed display records, over a counting
// GL layer (CPU cost only) and, when a display is there, over real OpenGL.
#include <benchmark/benchmark.h>

#include "graphics/gl_recorder.h"
#include "graphics/graphics.h"
#include "host/game.h"
#include "tests/graphics/graphics_support.h"

namespace {

constexpr int kQuadsPerFrame = 10000;
constexpr int kMixedRecords = 2500;

// The module's globals as start-up leaves them, a device, and a 4-frame sheet.
struct Scene {
  gxtkGraphics* device = nullptr;
  c_Image* sheet = nullptr;

  Scene() {
    ResetGraphicsModule();
    device = new gxtkGraphics();
    rk_graphics_SetGraphicsDevice(device);
    sheet = rk_graphics_CreateImage(32, 32, 4, rk_graphics_CentreHandle);
    rk_graphics_SetFont(sheet, 32);  // keeps the sheet reachable
  }
  ~Scene() { ReleaseGraphicsModule(); }
};

// A GL layer that only counts, installed for one benchmark.
struct CountingGl {
  GlRecorder gl;
  int savedSeq = glfwGraphicsSeq;
  CountingGl() {
    gl.keepCalls = false;
    gl.keepVertices = false;
    SetGlLayer(&gl);
    glfwGraphicsSeq = 1;
  }
  ~CountingGl() {
    SetGlLayer(nullptr);
    glfwGraphicsSeq = savedSeq;
  }
};

void Quads(benchmark::State& state, bool transformed) {
  CountingGl counting;
  Scene scene;
  gxtkGraphics* device = scene.device;
  for (auto _ : state) {
    device->BeginRender();
    device->SetMatrix(transformed ? 0.8f : 1, transformed ? 0.6f : 0, transformed ? -0.6f : 0,
                      transformed ? 0.8f : 1, transformed ? 5 : 0, 0);
    for (int i = 0; i < kQuadsPerFrame; ++i) device->DrawRect(i & 511, i >> 9, 8, 8);
    device->EndRender();
  }
  state.SetItemsProcessed(state.iterations() * kQuadsPerFrame);
  state.counters["draw_calls"] =
      benchmark::Counter(counting.gl.drawCalls, benchmark::Counter::kAvgIterations);
}

void BM_QuadsUntransformed(benchmark::State& state) { Quads(state, false); }
void BM_QuadsTransformed(benchmark::State& state) { Quads(state, true); }

// One frame as the game replays its display list: per record alpha and colour
// (and blend, as the game's replay does), then a rectangle, an ellipse, a line
// or a turned and scaled sheet frame. The kind changes every `run` records.
void MixedFrame(Scene& scene, int run, bool blendPerRecord) {
  for (int r = 0; r < kMixedRecords; ++r) {
    const float x = static_cast<float>((r * 37) % 600);
    const float y = static_cast<float>((r * 53) % 440);
    rk_graphics_SetAlpha(r % 5 ? 1.0f : 0.5f);
    rk_graphics_SetColor(static_cast<float>(r % 256), 128, 255);
    if (blendPerRecord) rk_graphics_SetBlend(0);
    switch (r / run % 4) {
      case 0:
        rk_graphics_DrawRect(x, y, 20, 10);
        break;
      case 1:
        rk_graphics_DrawEllipse(x, y, 6 + r % 20, 6 + r % 20);
        break;
      case 2:
        rk_graphics_DrawLine(x, y, x + 30, y + 7);
        break;
      default:
        rk_graphics_DrawImage2(scene.sheet, x, y, static_cast<float>(r % 360), 1.5f, 1.5f, r % 4);
        break;
    }
  }
}

// Arguments: records per run of one kind, and whether every record sets the blend.
void BM_MixedFrame(benchmark::State& state) {
  CountingGl counting;
  Scene scene;
  for (auto _ : state) {
    scene.device->BeginRender();
    rk_graphics_BeginRender();
    MixedFrame(scene, static_cast<int>(state.range(0)), state.range(1) != 0);
    rk_graphics_EndRender();
    scene.device->EndRender();
  }
  state.counters["draw_calls"] =
      benchmark::Counter(counting.gl.drawCalls, benchmark::Counter::kAvgIterations);
}

// The same frame drawn by real OpenGL into a 640 x 480 window, read back so the
// frame is finished; skipped without a display.
void BM_MixedFrameOpenGl(benchmark::State& state) {
  GlWindow window;
  if (!window.Open(640, 480)) {
    state.SkipWithError("no display");
    return;
  }
  Scene scene;
  for (auto _ : state) {
    scene.device->BeginRender();
    rk_graphics_BeginRender();
    scene.device->Cls(0, 0, 0);
    MixedFrame(scene, static_cast<int>(state.range(0)), state.range(1) != 0);
    rk_graphics_EndRender();
    benchmark::DoNotOptimize(RgbAt(scene.device, 1, 1));
    scene.device->EndRender();
  }
}

}  // namespace

BENCHMARK(BM_QuadsUntransformed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QuadsTransformed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MixedFrame)
    ->ArgNames({"run", "blend"})
    ->Args({1, 1})
    ->Args({25, 1})
    ->Args({25, 0})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MixedFrameOpenGl)
    ->ArgNames({"run", "blend"})
    ->Args({1, 1})
    ->Args({25, 0})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
