// bench/game_frame_stats.cpp: what one frame asks of the renderer, on the menu
// and in a busy game frame: display records, draw calls, state changes, and
// the pixels filled (in window pixels, summed over every draw), split by how
// they blend. Fill is what a software rasteriser pays for.
// Usage: game_frame_stats
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "tests/game/bot.h"

namespace {

double Clamp(double v, double hi) { return std::max(0.0, std::min(v, hi)); }

// Area of a triangle with its corners clamped to the window (exact for the
// axis-aligned quads that make up nearly every frame).
double Area(const RecordedVertex& a, const RecordedVertex& b, const RecordedVertex& c, int w, int h) {
  const double ax = Clamp(a.x, w), ay = Clamp(a.y, h);
  const double bx = Clamp(b.x, w), by = Clamp(b.y, h);
  const double cx = Clamp(c.x, w), cy = Clamp(c.y, h);
  return std::abs((bx - ax) * (cy - ay) - (cx - ax) * (by - ay)) / 2;
}

double DrawArea(const GlDraw& d, int w, int h) {
  auto at = [&](int i) { return d.indexed ? d.vertices.at(d.indices.at(i)) : d.vertices.at(i); };
  double sum = 0;
  if (d.mode == GL_TRIANGLES) {
    for (int i = 0; i + 2 < d.count; i += 3) sum += Area(at(i), at(i + 1), at(i + 2), w, h);
  } else if (d.mode == GL_TRIANGLE_FAN) {
    for (int i = 1; i + 1 < d.count; ++i) sum += Area(at(0), at(i), at(i + 1), w, h);
  }
  return sum;
}

std::string Kind(const GlDraw& d) {
  std::string blend = d.blendDestination == GL_ONE ? "additive" : "alpha";
  return std::string(d.textured ? "textured " : "plain ") + blend;
}

void Report(const char* name, GameHarness& h) {
  h.gl.keepVertices = true;
  h.gl.Reset();
  h.Render();
  const int w = h.gl.windowWidth, h_ = h.gl.windowHeight;
  std::map<std::string, double> fill;
  double total = 0;
  for (const GlDraw& d : h.gl.draws) {
    const double area = DrawArea(d, w, h_);
    fill[Kind(d)] += area;
    total += area;
  }
  fprintf(stderr, "%-6s records %5d  draw calls %4d  state changes %4d  fill %.2f screens\n", name,
         h.app->m_DrawLen / kRecordFloats, h.gl.drawCalls, h.gl.stateChanges,
         total / (double(w) * h_));
  for (const auto& [kind, area] : fill) {
    fprintf(stderr, "         %-18s %.2f screens\n", kind.c_str(), area / (double(w) * h_));
  }
}

}  // namespace

int main() {
  GameHarness h;
  h.FinishLoading();
  h.Update(240);
  Report("menu", h);
  // A busy game frame: two numbers earned, the next roll under way.
  Bot bot(h);
  bot.StartGame(3);
  bot.PlayTurn(false);
  bot.PlayTurn(false);
  h.Update(20);
  Report("play", h);
  return 0;
}
