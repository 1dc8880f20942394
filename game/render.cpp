// game/render.cpp: the render hook. It fits the virtual screen to the window
// with the overscan margin, clears the window with a full-window rectangle and
// replays the display list the last update wrote: not at all when the host can
// leave the same frame on screen, only inside the changed part when the back
// buffer still holds the frame before (render_change.cpp).
#include "game/app.h"
#include "game/replay_fit.h"
#include "runtime/startup.h"

namespace {

// Sends the context's matrix to the renderer if it changed since last sent.
void ValidateMatrix() { rk_graphics_context->p_Validate(); }

}  // namespace

int c_MyApp::p_OnRender() {
  gxtkGraphics* device = rk_graphics_renderDevice ? rk_graphics_renderDevice : rk_graphics_device;
  if (!device) return 0;
  MeasureRate(&m_RenderLastMs, &m_RenderFps, &m_RenderFpsAvg);

  const int devWidth = rk_app_DeviceWidth();
  const int devHeight = rk_app_DeviceHeight();
  if (devWidth != m_LastDevWidth || devHeight != m_LastDevHeight) {
    m_LastDevWidth = devWidth;
    m_LastDevHeight = devHeight;
    // Before the first load is done it starts again; after it, only a window
    // that needs another level reloads, behind the screens.
    if (m_ArtLoaded == 0) {
      m_LoadStep = 1;
    } else if (devWidth > 0 && devHeight > 0) {
      p_ChooseHdLevel();
      if (p_ArtBehindLevel()) m_LoadStep = 1;
    }
  }

  // A window without area (minimised, say) keeps the last fit.
  if (devWidth <= 0 || devHeight <= 0) return 0;

  // The virtual screen is never smaller than the design size in either
  // dimension: the shorter side (relative to 4:3) keeps its design length and
  // the other grows, so a wide window gets a wider screen and a tall one a
  // taller one. The overscan margin keeps the window's aspect, so the choice
  // rests on the window's aspect alone. (At 4:3 this is the fit of old; the
  // old fit took the larger scale and shrank the other side below the design
  // size, which cut or crowded every screen on a 16:9 or a tall window.)
  const float overscan = rk_Game_overscan;
  const bool wide = static_cast<float>(devWidth) * rk_Game_rawscrh >
                    static_cast<float>(devHeight) * rk_Game_rawscrw;
  if (wide) {
    m_FitMode = 2;
    m_ScaleX = m_ScaleY = (devHeight - 2 * overscan * devHeight / devWidth) / rk_Game_rawscrh;
    rk_Game_jscrh = rk_Game_rawscrh;
    rk_Game_jscrw = devWidth / (devHeight / rk_Game_rawscrh);
  } else {
    m_FitMode = 1;
    m_ScaleX = m_ScaleY = (devWidth - 2 * overscan) / rk_Game_rawscrw;
    rk_Game_jscrw = rk_Game_rawscrw;
    rk_Game_jscrh = devHeight / (devWidth / rk_Game_rawscrw);
  }
  m_Landscape = rk_Game_jscrh <= rk_Game_jscrw ? 1 : 0;
  // Upright phones and tall windows (from about 2:3), 16:9 and wider.
  m_Layout = rk_Game_jscrh >= 1.4f * rk_Game_rawscrw
                 ? kLayoutTall
                 : (rk_Game_jscrw >= 1.7f * rk_Game_rawscrh ? kLayoutWide : kLayoutClassic);

  // Menus and games at rest repeat the same frame for seconds, and most other
  // frames change a small part of it (a counter, a cursor): a software
  // rasteriser pays for every pixel drawn, so only what changed is drawn
  // again, over the frame the window's back buffer still holds.
  int area[4] = {0, 0, devWidth, devHeight};
  const int change = p_FrameChange(devWidth, devHeight, area);
  if (change == kChangeNone && rk_app_FrameStillShown()) {
    // Nothing to draw or present: the window shows this frame.
  } else {
    // The back buffer holds a frame some presents old: what changed since is drawn again.
    p_NoteChange(change, area);
    const int redraw = p_RedrawArea(device->BackBufferAge(), devWidth, devHeight, area);
    if (redraw == kChangePart) {
      rk_graphics_SetScissor(static_cast<float>(area[0]), static_cast<float>(area[1]),
                             static_cast<float>(area[2] - area[0]),
                             static_cast<float>(area[3] - area[1]));
      p_DrawFrame(device, devWidth, devHeight);
      rk_graphics_SetScissor(0, 0, static_cast<float>(devWidth), static_cast<float>(devHeight));
    } else if (redraw == kChangeWhole) {
      p_DrawFrame(device, devWidth, devHeight);
    }
    if (redraw != kChangeWhole && rk_app_CheckFrames()) p_CheckFrame(device, devWidth, devHeight);
  }
  rk_graphics_SetAlpha(0.5f);
  rk_graphics_SetColor(255, 255, 255);
  return 0;
}

// The partial redraw's test: the frame as drawn over the kept one (or kept
// as it was) is read back, drawn whole and read again; the two must agree.
void c_MyApp::p_CheckFrame(gxtkGraphics* device, int devWidth, int devHeight) {
  const std::vector<int> kept = rk_graphics_ReadWindow();
  p_DrawFrame(device, devWidth, devHeight);
  const std::vector<int> whole = rk_graphics_ReadWindow();
  ++m_FramesChecked;
  if (kept == whole) return;
  int differing = 0;
  for (size_t i = 0; i < kept.size() && i < whole.size(); ++i) differing += kept[i] != whole[i];
  if (m_FramesDiffering++ == 0) {
    rkPrint(String("Frame check: frame ") + String(m_FramesChecked) + String(" differs in ") +
            String(differing) + String(" pixels from the same frame drawn whole"));
  }
}

// The clear, a full-window rectangle, then the display list.
void c_MyApp::p_DrawFrame(gxtkGraphics* device, int devWidth, int devHeight) {
  device->SetColor(m_ClearRed, m_ClearGreen, m_ClearBlue);
  device->SetAlpha(m_ClearAlpha);
  ValidateMatrix();
  device->DrawRect(-1, -1, static_cast<float>(devWidth + 2), static_cast<float>(devHeight + 2));
  device->SetColor(255, 255, 255);
  device->SetAlpha(1);
  p_ReplayDrawList();
}

int c_MyApp::p_ReplayDrawList() {
  gxtkGraphics* device = rk_graphics_renderDevice ? rk_graphics_renderDevice : rk_graphics_device;
  if (m_DrawLen <= 14) return 0;
  const ReplayFit fit = ReplayFitOf(*this, static_cast<float>(rk_app_DeviceWidth()),
                                    static_cast<float>(rk_app_DeviceHeight()));
  const float scaleX = fit.scaleX;
  const float scaleY = fit.scaleY;
  auto X = [&](float v) { return fit.X(v); };
  auto Y = [&](float v) { return fit.Y(v); };

  const float* list = m_DrawList.Data();
  for (int r = 0; r < m_DrawLen - 14; r += kRecordFloats) {
    const float* rec = list + r;
    rk_graphics_SetAlpha(rec[7]);
    rk_graphics_SetColor(rec[10], rec[11], rec[12]);
    rk_graphics_SetBlend(0);
    if (rec[13] == 3) rk_graphics_SetBlend(1);
    const float kind = rec[0];
    if (kind >= 0 && kind <= 99) {
      c_Image* image = m_Images[static_cast<int>(kind)];
      if (image) {
        const float units = m_ImageScale[static_cast<int>(kind)];
        rk_graphics_DrawImage2(image, X(rec[1]), Y(rec[2]), rec[3], units * scaleX * rec[4],
                               units * scaleY * rec[5], static_cast<int>(rec[6]));
      }
      continue;
    }
    if (kind < kRecordRect || kind > kRecordTri) continue;
    ValidateMatrix();
    if (kind == kRecordRect) {
      device->DrawRect(X(rec[1]), Y(rec[2]), scaleX * rec[4], scaleY * rec[5]);
    } else if (kind == kRecordOval) {
      const float rx = scaleX * rec[4];
      const float ry = scaleY * rec[5];
      device->DrawOval(X(rec[1]) - rx, Y(rec[2]) - ry, 2 * rx, 2 * ry);
    } else if (kind == kRecordLine) {
      device->DrawLine(X(rec[1]), Y(rec[2]), X(rec[4]), Y(rec[5]));
    } else {
      Array<float> points = m_PolyPoints;
      for (int i = 0; i < 3; ++i) {
        points[2 * i] = X(rec[1 + 2 * i]);
        points[2 * i + 1] = Y(rec[2 + 2 * i]);
      }
      device->DrawPoly(points);
    }
  }
  return 0;
}
