// bench/game_perf.cpp: one game frame as the host runs it: p_OnUpdate, a
// display list of 2,500 records written through the game's drawing helpers,
// and p_OnRender's replay, over a counting GL layer (CPU cost only) and,
// when a display is there, over real OpenGL in a 640 x 480 window.
#include <benchmark/benchmark.h>

#include <GLFW/glfw3.h>

#include "tests/game/harness.h"

namespace {

constexpr int kRecords = 2500;

// A busy frame: runs of rectangles, ovals, lines, triangles, dice and text;
// every `additiveEvery`th record additive (0: none).
void WriteFrame(c_MyApp* app, int additiveEvery) {
  app->p_CLS2D(20, 80, 160, 1);
  for (int r = 0; app->m_DrawLen / kRecordFloats < kRecords - 1; ++r) {
    const float x = static_cast<float>((r * 37) % 600);
    const float y = static_cast<float>((r * 53) % 440);
    app->p_Ink(r % 10, 1);
    app->m_DrawBlend = additiveEvery && r % additiveEvery == 0 ? 3 : 1;
    switch (r / 25 % 6) {
      case 0: app->p_Rect(x, y, 20, 10); break;
      case 1: app->p_Oval(x, y, 6 + r % 20, 6 + r % 20); break;
      case 2: app->p_Line(x, y, x + 30, y + 7); break;
      case 3: app->p_Tri(x, y, x + 10, y, x, y + 10); break;
      case 4: app->p_DrawImg(1, x, y, static_cast<float>(r % 16)); break;
      default: app->p_Text(x, y, String("B"), 1, 1, 0); break;
    }
  }
  app->p_ResetDraw();
}

void Frame(GameHarness& h, int additiveEvery) {
  h.Update();
  WriteFrame(h.app, additiveEvery);
  h.Render();
}

void BM_GameFrameCounting(benchmark::State& state) {
  GameHarness h;
  h.FinishLoading();
  h.gl.keepCalls = false;
  for (auto _ : state) Frame(h, static_cast<int>(state.range(0)));
  state.counters["records"] = static_cast<double>(h.app->m_DrawLen / kRecordFloats);
  h.gl.drawCalls = 0;
  Frame(h, static_cast<int>(state.range(0)));
  state.counters["draw_calls"] = h.gl.drawCalls;
}

// Runs `body(h, window)` with a loaded game drawing into real OpenGL in a
// 640 x 480 window; skipped where there is no display.
template <class Body>
void InOpenGlWindow(benchmark::State& state, const char* title, Body body) {
  if (!glfwInit()) {
    state.SkipWithError("no display");
    return;
  }
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 1);
  GLFWwindow* window = glfwCreateWindow(640, 480, title, nullptr, nullptr);
  if (!window) {
    state.SkipWithError("no window");
    return;
  }
  {
    GameHarness h;
    h.FinishLoading();
    glfwMakeContextCurrent(window);
    ++glfwGraphicsSeq;
    SetGlLayer(nullptr);
    body(h, window);
    SetGlLayer(&h.gl);
  }
  glfwDestroyWindow(window);
}

// The same frame into Mesa; glFinish makes the frame's work count.
void BM_GameFrameOpenGl(benchmark::State& state) {
  InOpenGlWindow(state, "game bench", [&](GameHarness& h, GLFWwindow*) {
    for (auto _ : state) {
      Frame(h, static_cast<int>(state.range(0)));
      glFinish();
    }
  });
}

// A menu frame with one twinkle: a star of the "light" sheet changes its
// frame, as the menu's stars do. Drawn in part (arg 1) over the frame kept
// in the back buffer, or whole (arg 0: a picture change forces it), then
// presented; the update that writes the menu is timed too. CPU is the
// whole process's, the rasteriser's threads included.
void BM_MenuTwinkleOpenGl(benchmark::State& state) {
  InOpenGlWindow(state, "menu bench", [&](GameHarness& h, GLFWwindow* window) {
    h.Update(240);
    int frame = 0;
    for (auto _ : state) {
      h.Update();
      h.app->p_DrawImg(86, 300, 60, static_cast<float>(++frame % 2));
      if (state.range(0) == 0) ++h.app->m_ImageChanges;
      h.Render();
      glfwSwapBuffers(window);
      glFinish();
    }
  });
}

// One update of a game in play: the dice at rest with two of them picked,
// the card, the calculator and the score line drawn (no render).
void BM_GameUpdate(benchmark::State& state) {
  GameHarness h;
  h.FinishLoading();
  h.app->m_CardType = 3;
  h.app->m_Screen = 11;
  h.Update(80);
  for (int key : {13, 39, 13, 13}) {
    h.KeyDown(key);
    h.Update();
    h.KeyUp(key);
    h.Update();
  }
  for (auto _ : state) h.Update();
  state.counters["records"] = static_cast<double>(h.app->m_DrawLen / kRecordFloats);
  state.counters["count"] = h.app->m_Turn[kTurnCount];
}

}  // namespace

BENCHMARK(BM_GameUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GameFrameCounting)->ArgName("additive_every")->Arg(0)->Arg(7)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MenuTwinkleOpenGl)
    ->ArgName("in_part")
    ->Arg(0)
    ->Arg(1)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GameFrameOpenGl)->ArgName("additive_every")->Arg(0)->Arg(7)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
