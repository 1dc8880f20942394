// The list of every file of the game's data folder and how each is made.
#pragma once
#include <string>
#include <vector>

#include "tools/sheet.h"

namespace assets {

// Every image of the game with its frame layout.
const std::vector<art::ImageAsset>& imageTable();

struct SoundAsset {
  std::string file;  // path under the data folder
  std::vector<float> (*make)();  // mono samples at kSfxRate, -1..1
};
const std::vector<SoundAsset>& soundTable();
constexpr const char* kMusicFile = "sfx/fish.ogg";

// One unit of work of the generator: one file.
struct Job {
  std::string file;
  int kind;   // 0 image, 1 sound, 2 music
  int index;  // into the matching table
  int level;  // images only
};
std::vector<Job> allJobs();
// Writes the job's file below `dataDir`; false with `error` set on failure.
bool runJob(const Job& job, const std::string& dataDir, std::string& error);

// The desktop icon's pixel sizes, each written as <size>x<size>/apps/marvolet.png
// below the icon folder, the layout of an icon theme.
inline constexpr int kIconSizes[] = {48, 128, 256};
std::string iconFile(int size);
bool writeIcons(const std::string& iconDir, std::string& error);

// The web page's app icons, named as its manifest names them: launchers want
// 192 and 512 pixels, and a full-bleed (maskable) kind they cut to shape.
struct WebIcon {
  const char* file;
  int size;
  int frame;  // of art::drawAppIcon
};
extern const WebIcon kWebIcons[4];
bool writeWebIcons(const std::string& dir, std::string& error);

}  // namespace assets
