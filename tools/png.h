// PNG writing for the generated art: lossless, as small as a build can afford, deterministic.
#pragma once
#include <string>
#include <vector>

namespace art {

// The PNG file of straight-alpha 8-bit RGBA rows. A picture of at most 256
// colours is written with a palette and a transparency table, so it still
// decodes to four channels; any other as RGBA. Each row gets the filter whose
// output compresses best after the row before it.
std::vector<unsigned char> encodePng(int width, int height, const std::vector<unsigned char>& rgba);
bool writePngFile(const std::string& path, int width, int height, const std::vector<unsigned char>& rgba);

}  // namespace art
