// graphics/graphics.h: the drawing module: one context of drawing state with a
// matrix stack, and the rk_graphics_ functions that keep it and draw through
// the graphics device while a frame is rendered.
#pragma once

#include <vector>

#include "graphics/image.h"
#include "graphics/renderer.h"

class c_GraphicsContext : public Object {
 public:
  c_Image* m_DefaultFont = nullptr;
  c_Image* m_Font = nullptr;
  int m_FirstChar = 0;
  // Floats in use on the matrix stack, six per saved matrix.
  int m_MatrixDepth = 0;
  float m_Ix = 1, m_Iy = 0, m_Jx = 0, m_Jy = 1, m_Tx = 0, m_Ty = 0;
  bool m_Transformed = false;
  // The matrix changed since it was last sent to the device.
  bool m_MatrixChanged = false;
  float m_ColorR = 0, m_ColorG = 0, m_ColorB = 0;
  float m_Alpha = 0;
  int m_Blend = 0;
  float m_ScissorX = 0, m_ScissorY = 0, m_ScissorWidth = 0, m_ScissorHeight = 0;
  Array<float> m_MatrixStack;

  // A context with the identity matrix and room for 32 saved matrices.
  c_GraphicsContext* m_new();
  void mark() override;
  // Sends the matrix to the render device if it changed since last sent.
  int p_Validate();
};

extern gxtkGraphics* rk_graphics_device;
// The device while a frame is rendered, null otherwise.
extern gxtkGraphics* rk_graphics_renderDevice;
extern c_GraphicsContext* rk_graphics_context;

int rk_graphics_SetGraphicsDevice(gxtkGraphics* device);
// Starts module rendering: the device takes drawing, and the state is reset.
int rk_graphics_BeginRender();
int rk_graphics_EndRender();
// Lets go of every picture's texture; each is made again, from its file or
// its pixels, when next drawn. For a change of screen, so that the screen
// left holds no memory while the next one is drawn.
int rk_graphics_ReleaseTextures();

int rk_graphics_SetColor(float r, float g, float b);
int rk_graphics_SetAlpha(float alpha);
int rk_graphics_SetBlend(int blend);
int rk_graphics_SetScissor(float x, float y, float width, float height);
// The render device's whole window as drawn so far, row by row from the top.
std::vector<int> rk_graphics_ReadWindow();
int rk_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
int rk_graphics_SetMatrix2(Array<float> m);
// current = current x given: a transformation applied later acts first on drawn points.
int rk_graphics_Transform(float ix, float iy, float jx, float jy, float tx, float ty);
int rk_graphics_Transform2(Array<float> m);
int rk_graphics_Translate(float x, float y);
// Positive degrees turn shapes anticlockwise on screen (y points down).
int rk_graphics_Rotate(float degrees);
int rk_graphics_Scale(float x, float y);
int rk_graphics_PushMatrix();
int rk_graphics_PopMatrix();

int rk_graphics_DrawRect(float x, float y, float w, float h);
int rk_graphics_DrawLine(float x1, float y1, float x2, float y2);
// (x, y) is the centre.
int rk_graphics_DrawEllipse(float x, float y, float xRadius, float yRadius);
int rk_graphics_DrawPoly(Array<float> xy);
// u and v are pixel offsets inside the frame.
int rk_graphics_DrawPoly2(Array<float> xyuv, c_Image* image, int frame);
// The frame's handle lands on (x, y).
int rk_graphics_DrawImage(c_Image* image, float x, float y, int frame);
// Turned and scaled about the handle, which lands on (x, y).
int rk_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX,
                           float scaleY, int frame);
// A null font selects the default font ("vuna_font.png", first character 32).
int rk_graphics_SetFont(c_Image* font, int firstChar);
