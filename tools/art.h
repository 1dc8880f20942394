// Frame painters of every image family, in level-1 coordinates of their frame.
#pragma once
#include "tools/pen.h"

namespace art {

// Each draws its frame number `frame` through the pen, with the origin at the
// frame's top-left corner and level-1 pixels as units.

void drawDice(Pen& pen, int frame);           // 64 x 64
void drawDie(Pen& pen, int face, const Affine& m);  // one resting die of a 64 x 64 frame, placed by m
void drawGridCell(Pen& pen, int frame);       // 68 x 68
void drawCalcButton(Pen& pen, int frame);     // 68 x 68
void drawDisplayDigit(Pen& pen, int frame);   // 28 x 44, "0" to "9", "N", "/", "A"
void drawBadge(Pen& pen, int frame);          // 64 x 64
void drawCircle(Pen& pen, int frame);         // 256 x 256
void drawLight(Pen& pen, int frame);          // 32 x 32
void drawParticle(Pen& pen, int frame);       // 8 x 8
void drawFontCell(Pen& pen, int frame);       // 16 x 16, character frame + 32
void drawDefaultGlyph(Pen& pen, int frame);   // 10 x 14, padded strip
void drawPadIcon(Pen& pen, int icon);         // 16 x 16, icons 96 to 127 of the font
void drawStudioLogo(Pen& pen, int frame);     // 256 x 256
void drawDpad(Pen& pen, int frame);           // 32 x 32
void drawMenuButton(Pen& pen, int frame);     // 64 x 64
void drawIcon(Pen& pen, int frame);           // 32 x 32
void drawTitle(Pen& pen, int frame);          // 256 x 128
void drawMenuDecoration(Pen& pen, int frame); // 256 x 256
void drawAppIcon(Pen& pen, int frame);        // 256 x 256, the desktop icon
inline constexpr int kMaskableIcon = 1;       // drawAppIcon's full-bleed frame for launchers

}  // namespace art
