// Image files of equal frames in a grid at a detail level, and the contact sheet.
#include "tools/sheet.h"

#include <algorithm>

#include "tools/font.h"
#include "tools/shapes.h"

namespace art {

std::string imageFile(const ImageAsset& image, int level) {
  const char* suffix = level == 4 ? "-hd2" : level == 2 ? "-hd" : "";
  return image.name + suffix + ".png";
}

Canvas renderFrame(const ImageAsset& image, int level, int frame) {
  Canvas c(image.frameW * level, image.frameH * level);
  Pen pen(c, static_cast<float>(level));
  image.paint(pen, frame);
  return c;
}

Canvas renderImage(const ImageAsset& image, int level) {
  int rows = (image.frames + image.columns - 1) / image.columns;
  int fw = image.frameW * level, fh = image.frameH * level;
  Canvas sheet(fw * image.columns, fh * rows);
  for (int i = 0; i < image.frames; ++i)
    sheet.blit(renderFrame(image, level, i), (i % image.columns) * fw, (i / image.columns) * fh);
  return sheet;
}

namespace {

void backdrop(Canvas& sheet, int x, int y, int w, int h) {
  // A checker in two game blues, so both light and dark art stand out.
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      bool odd = ((i / 8) + (j / 8)) % 2;
      Color c = odd ? rgb(100, 140, 200) : rgb(86, 124, 184);
      if (x + i < sheet.width() && y + j < sheet.height()) sheet.at(x + i, y + j) = {c.r, c.g, c.b, 1};
    }
}

}  // namespace

Canvas contactSheet(const std::vector<ImageAsset>& assets, int level) {
  const int margin = 8, labelH = 14, maxWidth = 1400;
  std::vector<Canvas> pictures;
  for (const ImageAsset& s : assets) pictures.push_back(renderImage(s, s.levels ? level : 1));
  // Shelf packing: left to right, a new row when the next image does not fit.
  struct Place { int x, y; };
  std::vector<Place> places;
  int x = margin, y = margin, rowH = 0, width = 0;
  for (const Canvas& c : pictures) {
    if (x + c.width() > maxWidth && x > margin) {
      x = margin;
      y += rowH + labelH + margin;
      rowH = 0;
    }
    places.push_back({x, y});
    x += c.width() + margin;
    width = std::max(width, x);
    rowH = std::max(rowH, c.height());
  }
  Canvas sheet(std::max(width, 64), y + rowH + labelH + margin);
  Pen pen(sheet, 1.0f);
  pen.fill(rect(0, 0, static_cast<float>(sheet.width()), static_cast<float>(sheet.height())), rgb(24, 24, 40));
  for (size_t i = 0; i < pictures.size(); ++i) {
    backdrop(sheet, places[i].x, places[i].y + labelH, pictures[i].width(), pictures[i].height());
    sheet.drawAt(pictures[i], places[i].x, places[i].y + labelH);
    Canvas label(std::max(pictures[i].width(), 160), labelH);
    Pen labelPen(label, 1.0f);
    labelPen.fill(boldFont().text(imageFile(assets[i], assets[i].levels ? level : 1), {0, 11}, 11.0f), pal::kWhite);
    sheet.drawAt(label, places[i].x, places[i].y);
  }
  return sheet;
}

}  // namespace art
