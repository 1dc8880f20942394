// Image files made of equal frames in a grid, rendered at a detail level.
#pragma once
#include <string>
#include <vector>

#include "tools/canvas.h"
#include "tools/pen.h"

namespace art {

using FramePainter = void (*)(Pen& pen, int frame);

struct ImageAsset {
  std::string name;  // path under the data folder, without level suffix and ".png"
  int frameW, frameH;  // level-1 pixels
  int frames, columns;
  bool levels;  // written at 1x, "-hd" 2x and "-hd2" 4x; otherwise one 1x file
  FramePainter paint;
};

// Level 1, 2 or 4 (the pixel scale); the file name carries the matching suffix.
std::string imageFile(const ImageAsset& image, int level);
Canvas renderImage(const ImageAsset& image, int level);
Canvas renderFrame(const ImageAsset& image, int level, int frame);

// Every image at one level on a labelled backdrop, for looking at the art.
Canvas contactSheet(const std::vector<ImageAsset>& assets, int level);

}  // namespace art
