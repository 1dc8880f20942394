// The list of every file of the game's data folder and how each is made.
#include "tools/assets.h"

#include <filesystem>

#include "tools/art.h"
#include "tools/music.h"
#include "tools/sfx.h"
#include "tools/wav.h"

namespace assets {

using art::ImageAsset;

const std::vector<ImageAsset>& imageTable() {
  // name, frame size at level 1, frame count, columns of the grid, three levels, painter
  static const std::vector<ImageAsset> table = {
      {"dice", 64, 64, 16, 4, true, art::drawDice},
      {"grid", 68, 68, 9, 3, true, art::drawGridCell},
      {"calc", 68, 68, 9, 3, true, art::drawCalcButton},
      {"digits", 28, 44, 13, 7, true, art::drawDisplayDigit},
      {"fonts/shadow_editundo", 16, 16, 128, 16, true, art::drawFontCell},
      {"vuna_font", 10, 14, 96, 96, false, art::drawDefaultGlyph},
      {"common/icons", 32, 32, 16, 4, true, art::drawIcon},
      {"common/Buttons", 64, 64, 16, 4, true, art::drawMenuButton},
      {"common/dpad", 32, 32, 16, 4, true, art::drawDpad},
      {"BadgesA", 64, 64, 64, 8, true, art::drawBadge},
      {"common/circle", 256, 256, 4, 2, true, art::drawCircle},
      {"common/light", 32, 32, 4, 4, true, art::drawLight},
      {"parts", 8, 8, 256, 16, true, art::drawParticle},
      {"common/ZelkLogo", 256, 256, 1, 1, true, art::drawStudioLogo},
      {"logo", 256, 128, 1, 1, true, art::drawTitle},
      {"menu", 256, 256, 4, 2, true, art::drawMenuDecoration},
  };
  return table;
}

const std::vector<SoundAsset>& soundTable() {
  static const std::vector<SoundAsset> table = {
      {"sfx/001.wav", sfx::pick},     {"sfx/002.wav", sfx::lifeLost}, {"sfx/003.wav", sfx::rattle1},
      {"sfx/004.wav", sfx::rattle2},  {"sfx/005.wav", sfx::rattle3},  {"sfx/006.wav", sfx::rattle4},
      {"sfx/095.wav", sfx::earned},   {"sfx/096.wav", sfx::jingle},   {"sfx/098.wav", sfx::refuse},
      {"sfx/099.wav", sfx::menuClick},
  };
  return table;
}

std::vector<Job> allJobs() {
  std::vector<Job> jobs;
  // The music first: it is the longest single job.
  jobs.push_back({kMusicFile, 2, 0, 1});
  const auto& images = imageTable();
  for (int level : {4, 2, 1})
    for (size_t i = 0; i < images.size(); ++i)
      if (images[i].levels || level == 1)
        jobs.push_back({art::imageFile(images[i], level), 0, static_cast<int>(i), level});
  const auto& sounds = soundTable();
  for (size_t i = 0; i < sounds.size(); ++i) jobs.push_back({sounds[i].file, 1, static_cast<int>(i), 1});
  return jobs;
}

bool runJob(const Job& job, const std::string& dataDir, std::string& error) {
  std::filesystem::path out = std::filesystem::path(dataDir) / job.file;
  std::error_code ec;
  std::filesystem::create_directories(out.parent_path(), ec);
  if (ec) {
    error = "cannot create " + out.parent_path().string() + ": " + ec.message();
    return false;
  }
  bool ok = false;
  switch (job.kind) {
    case 0:
      ok = art::writePng(out.string(), art::renderImage(imageTable()[job.index], job.level));
      break;
    case 1:
      ok = sfx::writeWav(out.string(), soundTable()[job.index].make(), sfx::kRate);
      break;
    case 2:
      ok = sfx::writeOgg(out.string(), sfx::composeTheme(), error);
      break;
  }
  if (!ok && error.empty()) error = "cannot write " + out.string();
  return ok;
}

std::string iconFile(int size) {
  std::string side = std::to_string(size);
  return side + "x" + side + "/apps/marvolet.png";
}

namespace {

bool writeIcon(const std::filesystem::path& out, int size, int frame, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(out.parent_path(), ec);
  art::Canvas canvas(size, size);
  art::Pen pen(canvas, size / 256.0f);
  art::drawAppIcon(pen, frame);
  if (ec || !art::writePng(out.string(), canvas)) {
    error = "cannot write " + out.string();
    return false;
  }
  return true;
}

}  // namespace

bool writeIcons(const std::string& iconDir, std::string& error) {
  for (int size : kIconSizes) {
    if (!writeIcon(std::filesystem::path(iconDir) / iconFile(size), size, 0, error)) return false;
  }
  return true;
}

const WebIcon kWebIcons[4] = {{"icon-192.png", 192, 0},
                              {"icon-512.png", 512, 0},
                              {"icon-maskable-192.png", 192, art::kMaskableIcon},
                              {"icon-maskable-512.png", 512, art::kMaskableIcon}};

bool writeWebIcons(const std::string& dir, std::string& error) {
  for (const WebIcon& icon : kWebIcons) {
    if (!writeIcon(std::filesystem::path(dir) / icon.file, icon.size, icon.frame, error)) return false;
  }
  return true;
}

}  // namespace assets
