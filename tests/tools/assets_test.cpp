// The generator's list of files and its handling of a folder it cannot use.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "tests/tools/data_files.h"
#include "tools/assets.h"
#include "tools/font.h"

namespace {

TEST(Assets, EveryGameFileIsMadeOnceAtEveryLevel) {
  std::set<std::string> files;
  for (const assets::Job& job : assets::allJobs()) EXPECT_TRUE(files.insert(job.file).second) << job.file << " twice";
  for (const datatest::ImageLayout& image : datatest::gameImages())
    for (const char* suffix : {"", "-hd", "-hd2"})
      EXPECT_EQ(files.count(std::string(image.name) + suffix + ".png"), 1u) << image.name << suffix;
  EXPECT_EQ(files.count("vuna_font.png"), 1u);
  EXPECT_EQ(files.count("vuna_font-hd.png"), 0u);  // the default font has one level only
  for (const char* sound : {"001", "002", "003", "004", "005", "006", "095", "096", "098", "099"})
    EXPECT_EQ(files.count(std::string("sfx/") + sound + ".wav"), 1u) << sound;
  EXPECT_EQ(files.count("sfx/fish.ogg"), 1u);
  EXPECT_EQ(files.size(), datatest::gameImages().size() * 3 + 1 + 10 + 1);
}

TEST(Assets, TableMatchesTheLayoutsTheGameLoads) {
  for (const datatest::ImageLayout& expected : datatest::gameImages()) {
    bool found = false;
    for (const art::ImageAsset& image : assets::imageTable())
      if (image.name == expected.name) {
        found = true;
        EXPECT_EQ(image.frameW, expected.frameW) << expected.name;
        EXPECT_EQ(image.frameH, expected.frameH) << expected.name;
        EXPECT_EQ(image.frames, expected.frames) << expected.name;
        EXPECT_TRUE(image.levels) << expected.name;
      }
    EXPECT_TRUE(found) << expected.name;
  }
}

TEST(Assets, AJobReportsAFolderItCannotWriteTo) {
  std::string error;
  ASSERT_TRUE(art::loadFonts(MARVOLET_FONT_DIR, error)) << error;
  // a plain file where the folder should be
  std::filesystem::path blocker = std::filesystem::temp_directory_path() / "marvolet_assets_blocker";
  std::filesystem::remove_all(blocker);
  std::ofstream(blocker.string()) << "not a folder";
  for (const assets::Job& job : assets::allJobs()) {
    if (job.file != "sfx/001.wav" && job.file != "common/light.png") continue;
    error.clear();
    EXPECT_FALSE(assets::runJob(job, blocker.string(), error)) << job.file;
    EXPECT_FALSE(error.empty()) << job.file;
  }
  std::filesystem::remove(blocker);
}

TEST(Assets, AJobWritesItsFile) {
  std::string error;
  ASSERT_TRUE(art::loadFonts(MARVOLET_FONT_DIR, error)) << error;
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "marvolet_assets_job";
  std::filesystem::remove_all(dir);
  for (const assets::Job& job : assets::allJobs())
    if (job.file == "common/light-hd.png" || job.file == "sfx/099.wav") {
      ASSERT_TRUE(assets::runJob(job, dir.string(), error)) << error;
      // the same bytes as the build's data folder: the output depends on nothing else
      EXPECT_EQ(datatest::readFile((dir / job.file).string()), datatest::readFile(datatest::dataDir() + "/" + job.file));
    }
  std::filesystem::remove_all(dir);
}

}  // namespace
