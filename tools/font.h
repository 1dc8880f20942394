// Letters as vector paths, read from a TrueType file with stb_truetype.
#pragma once
#include <string>
#include <vector>

#include "tools/geometry.h"

struct stbtt_fontinfo;

namespace art {

class Font {
 public:
  Font();
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // Reads the file; false (with `error` set) when it is missing or not a font.
  bool load(const std::string& file, std::string& error);
  bool loaded() const { return m_loaded; }

  // Outline of one character with its baseline origin at `origin`; `em` is the
  // em size in level-1 pixels and `xScale` narrows or widens it.
  Path glyph(int codepoint, Vec2 origin, float em, float xScale = 1.0f) const;
  float advance(int codepoint, float em, float xScale = 1.0f) const;
  float capHeight(float em) const;  // height of "H"
  // A line of text; `tracking` is extra space between letters.
  Path text(const std::string& s, Vec2 origin, float em, float tracking = 0, float xScale = 1.0f) const;
  float textWidth(const std::string& s, float em, float tracking = 0, float xScale = 1.0f) const;

 private:
  float unitScale(float em) const;
  std::vector<unsigned char> m_data;
  stbtt_fontinfo* m_info;
  bool m_loaded = false;
};

// The typefaces of the game, loaded once before any drawing starts.
bool loadFonts(const std::string& folder, std::string& error);
const Font& boldFont();       // DejaVu Sans Bold
const Font& condensedFont();  // DejaVu Sans Condensed Bold

}  // namespace art
