// graphics/graphics_draw.cpp: the drawing functions of the drawing module and the font choice.
#include "graphics/graphics.h"

namespace {

// The render device with the context's matrix sent to it, or null outside rendering.
gxtkGraphics* ValidatedDevice() {
  if (!rk_graphics_renderDevice) return nullptr;
  rk_graphics_context->p_Validate();
  return rk_graphics_renderDevice;
}

// The frame to draw, or null for a missing image or a frame it does not have.
c_Frame* FrameOf(c_Image* image, int frame) {
  if (!image || !image->m_Surface || frame < 0 || frame >= image->m_Frames.Length()) {
    return nullptr;
  }
  return image->m_Frames[frame];
}

// Draws the frame with its top-left corner at (x, y) in untransformed coordinates.
void DrawFrameAt(gxtkGraphics* device, c_Image* image, c_Frame* f, float x, float y) {
  if (image->m_Flags & rk_graphics_WholeFrame) {
    device->DrawSurface(image->m_Surface, x, y);
  } else {
    device->DrawSurface2(image->m_Surface, x, y, f->m_X, f->m_Y, image->m_Width,
                         image->m_Height);
  }
}

}  // namespace

int rk_graphics_DrawRect(float x, float y, float w, float h) {
  if (gxtkGraphics* device = ValidatedDevice()) device->DrawRect(x, y, w, h);
  return 0;
}

int rk_graphics_DrawLine(float x1, float y1, float x2, float y2) {
  if (gxtkGraphics* device = ValidatedDevice()) device->DrawLine(x1, y1, x2, y2);
  return 0;
}

int rk_graphics_DrawEllipse(float x, float y, float xRadius, float yRadius) {
  if (gxtkGraphics* device = ValidatedDevice()) {
    device->DrawOval(x - xRadius, y - yRadius, xRadius * 2, yRadius * 2);
  }
  return 0;
}

int rk_graphics_DrawPoly(Array<float> xy) {
  if (gxtkGraphics* device = ValidatedDevice()) device->DrawPoly(xy);
  return 0;
}

int rk_graphics_DrawPoly2(Array<float> xyuv, c_Image* image, int frame) {
  c_Frame* f = FrameOf(image, frame);
  if (!f) return 0;
  if (gxtkGraphics* device = ValidatedDevice()) {
    device->DrawPoly2(xyuv, image->m_Surface, f->m_X, f->m_Y);
  }
  return 0;
}

int rk_graphics_DrawImage(c_Image* image, float x, float y, int frame) {
  c_Frame* f = FrameOf(image, frame);
  if (!f) return 0;
  // The handle comes off before the device applies the matrix.
  if (gxtkGraphics* device = ValidatedDevice()) {
    DrawFrameAt(device, image, f, x - image->m_HandleX, y - image->m_HandleY);
  }
  return 0;
}

int rk_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX,
                           float scaleY, int frame) {
  c_Frame* f = FrameOf(image, frame);
  if (!f || !rk_graphics_renderDevice) return 0;
  rk_graphics_PushMatrix();
  rk_graphics_Transform(1, 0, 0, 1, x, y);
  rk_graphics_Rotate(rotation);
  rk_graphics_Transform(scaleX, 0, 0, scaleY, 0, 0);
  rk_graphics_Transform(1, 0, 0, 1, -image->m_HandleX, -image->m_HandleY);
  DrawFrameAt(ValidatedDevice(), image, f, 0, 0);
  rk_graphics_PopMatrix();
  return 0;
}

int rk_graphics_SetFont(c_Image* font, int firstChar) {
  c_GraphicsContext* c = rk_graphics_context;
  if (!font) {
    if (!c->m_DefaultFont) {
      // A strip of 96 glyphs with a one-pixel border left and right of each.
      gc_assign(c->m_DefaultFont, rk_graphics_LoadImage(String("vuna_font.png"), 96,
                                                        rk_graphics_PadX));
    }
    font = c->m_DefaultFont;
    firstChar = 32;
  }
  gc_assign(c->m_Font, font);
  c->m_FirstChar = firstChar;
  return 0;
}
