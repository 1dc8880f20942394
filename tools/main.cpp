// The asset generator: writes the game's whole data folder, or a contact sheet of it.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/assets.h"
#include "tools/font.h"
#include "tools/preview.h"

#ifndef MARVOLET_FONT_DIR
#define MARVOLET_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace {

void usage() {
  std::fprintf(stderr,
               "usage: marvolet_assets <data-folder> [--only FILE]... [--threads N] [--icons <icon-folder>] [--web-icons <folder>]\n"
               "       marvolet_assets [--icons <icon-folder>] [--web-icons <folder>]\n"
               "       marvolet_assets --contact-sheet <sheet.png> [--preview <screens.png>] [--level 1|2|4]\n");
}

// Runs the jobs on a few threads; each job writes its own file, so the order
// of completion does not change any output byte.
bool runAll(const std::vector<assets::Job>& jobs, const std::string& dir, unsigned threads) {
  std::atomic<size_t> next{0};
  std::atomic<bool> failed{false};
  std::mutex report;
  auto worker = [&] {
    for (size_t i = next++; i < jobs.size(); i = next++) {
      std::string error;
      if (!assets::runJob(jobs[i], dir, error)) {
        std::lock_guard<std::mutex> lock(report);
        std::fprintf(stderr, "marvolet_assets: %s: %s\n", jobs[i].file.c_str(), error.c_str());
        failed = true;
      }
    }
  };
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < threads; ++t) pool.emplace_back(worker);
  for (auto& t : pool) t.join();
  return !failed;
}

}  // namespace

int main(int argc, char** argv) {
  std::string dataDir, sheetFile, previewFile, iconDir, webIconDir;
  std::vector<std::string> only;
  int level = 2;
  unsigned threads = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--contact-sheet" && hasValue) sheetFile = argv[++i];
    else if (arg == "--preview" && hasValue) previewFile = argv[++i];
    else if (arg == "--level" && hasValue) level = std::atoi(argv[++i]);
    else if (arg == "--icons" && hasValue) iconDir = argv[++i];
    else if (arg == "--web-icons" && hasValue) webIconDir = argv[++i];
    else if (arg == "--only" && hasValue) only.push_back(argv[++i]);
    else if (arg == "--threads" && hasValue) threads = static_cast<unsigned>(std::max(1, std::atoi(argv[++i])));
    else if (!arg.empty() && arg[0] != '-' && dataDir.empty()) dataDir = arg;
    else {
      usage();
      return 2;
    }
  }
  if ((dataDir.empty() && sheetFile.empty() && previewFile.empty() && iconDir.empty() && webIconDir.empty()) || (level != 1 && level != 2 && level != 4)) {
    usage();
    return 2;
  }
  std::string error;
  if (!art::loadFonts(MARVOLET_FONT_DIR, error)) {
    std::fprintf(stderr, "marvolet_assets: %s (install fonts-dejavu-core)\n", error.c_str());
    return 1;
  }
  if (!sheetFile.empty() && !art::writePng(sheetFile, art::contactSheet(assets::imageTable(), level))) {
    std::fprintf(stderr, "marvolet_assets: cannot write %s\n", sheetFile.c_str());
    return 1;
  }
  if (!previewFile.empty() && !art::writePng(previewFile, art::previewScreens(assets::imageTable(), level))) {
    std::fprintf(stderr, "marvolet_assets: cannot write %s\n", previewFile.c_str());
    return 1;
  }
  if ((!iconDir.empty() && !assets::writeIcons(iconDir, error)) ||
      (!webIconDir.empty() && !assets::writeWebIcons(webIconDir, error))) {
    std::fprintf(stderr, "marvolet_assets: %s\n", error.c_str());
    return 1;
  }
  if (dataDir.empty()) return 0;
  std::vector<assets::Job> jobs = assets::allJobs();
  if (!only.empty()) {
    jobs.erase(std::remove_if(jobs.begin(), jobs.end(),
                              [&](const assets::Job& j) {
                                return std::find(only.begin(), only.end(), j.file) == only.end();
                              }),
               jobs.end());
    if (jobs.empty()) {
      std::fprintf(stderr, "marvolet_assets: no such file to make\n");
      return 2;
    }
  }
  return runAll(jobs, dataDir, threads) ? 0 : 1;
}
