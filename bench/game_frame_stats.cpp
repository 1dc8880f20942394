// bench/game_frame_stats.cpp: what one frame asks of the renderer, on the menu,
// in a busy game frame and in a frame after a cursor move drawn in part over
// the kept one: display records, draw calls, state changes, and
// the pixels filled (in window pixels, summed over every draw), split by how
// they blend. Fill is what a software rasteriser pays for.
// Usage: game_frame_stats
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "tests/game/bot.h"

namespace {

constexpr int kKeyRight = 39;

double Clamp(double v, double hi) { return std::max(0.0, std::min(v, hi)); }

// The pixels a draw can touch: the window, or its scissor box (top-left origin).
struct Box {
  double x0, y0, x1, y1;
  double X(double x) const { return x0 + Clamp(x - x0, x1 - x0); }
  double Y(double y) const { return y0 + Clamp(y - y0, y1 - y0); }
};

// Area of a triangle with its corners clamped to the box (exact for the
// axis-aligned quads that make up nearly every frame).
double Area(const RecordedVertex& a, const RecordedVertex& b, const RecordedVertex& c,
            const Box& box) {
  const double ax = box.X(a.x), ay = box.Y(a.y);
  const double bx = box.X(b.x), by = box.Y(b.y);
  const double cx = box.X(c.x), cy = box.Y(c.y);
  return std::abs((bx - ax) * (cy - ay) - (cx - ax) * (by - ay)) / 2;
}

double DrawArea(const GlDraw& d, int w, int h) {
  auto at = [&](int i) { return d.indexed ? d.vertices.at(d.indices.at(i)) : d.vertices.at(i); };
  Box box{0, 0, double(w), double(h)};
  if (d.scissored) {
    const GLint* s = d.scissor;
    box = {double(s[0]), double(h - s[1] - s[3]), double(s[0] + s[2]), double(h - s[1])};
  }
  double sum = 0;
  if (d.mode == GL_TRIANGLES) {
    for (int i = 0; i + 2 < d.count; i += 3) sum += Area(at(i), at(i + 1), at(i + 2), box);
  } else if (d.mode == GL_TRIANGLE_FAN) {
    for (int i = 1; i + 1 < d.count; ++i) sum += Area(at(0), at(i), at(i + 1), box);
  }
  return sum;
}

std::string Kind(const GlDraw& d) {
  std::string blend = d.blendDestination == GL_ONE ? "additive" : "alpha";
  return std::string(d.textured ? "textured " : "plain ") + blend;
}

// What the render just recorded asked for.
void Summarize(const char* name, GameHarness& h) {
  const int w = h.gl.windowWidth, h_ = h.gl.windowHeight;
  std::map<std::string, double> fill;
  double total = 0;
  for (const GlDraw& d : h.gl.draws) {
    const double area = DrawArea(d, w, h_);
    fill[Kind(d)] += area;
    total += area;
  }
  fprintf(stderr, "%s\n       records %5d  draw calls %4d  state changes %4d  fill %.2f screens\n",
          name, h.app->m_DrawLen / kRecordFloats, h.gl.drawCalls, h.gl.stateChanges,
          total / (double(w) * h_));
  for (const auto& [kind, area] : fill) {
    fprintf(stderr, "         %-18s %.2f screens\n", kind.c_str(), area / (double(w) * h_));
  }
}

void Report(const char* name, GameHarness& h) {
  h.gl.keepVertices = true;
  h.gl.Reset();
  h.Render();
  Summarize(name, h);
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
  // The cursor moved one place, drawn over the frame kept in the back buffer.
  h.gl.backBufferAge = 1;
  h.Render();
  h.KeyDown(kKeyRight);
  h.Update();
  h.KeyUp(kKeyRight);
  Report("play, cursor moved, drawn in part", h);
  return 0;
}
