// The saved state: the exact string a fresh game saves, a save carried into
// the next run, damaged and short strings, and the clean-up of values a
// player could have typed into the file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stb/stb_image_write.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/game/harness.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// The values of a state string (the text after the last bar is dropped).
std::vector<std::string> Values(const std::string& text) {
  std::vector<std::string> values;
  for (size_t start = 0, bar; (bar = text.find('|', start)) != std::string::npos; start = bar + 1) {
    values.push_back(text.substr(start, bar - start));
  }
  return values;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Joined(const std::vector<std::string>& values) {
  std::string text;
  for (const std::string& value : values) text += value + "|";
  return text;
}

// The state string a game saves after `change` (made in a run of its own).
std::string SavedBy(const std::function<void(c_MyApp*)>& change) {
  GameHarness h;
  change(h.app);
  h.app->p_Save();
  return h.StateFile();
}

// Loads `text` as the state file of this (fresh) game; what that printed.
std::string LoadFrom(GameHarness& h, const std::string& text) {
  h.WriteStateFile(text);
  h.Printed();
  h.app->p_Load();
  return h.Printed();
}

// What a game keeps between runs, as plain values.
struct Record {
  std::vector<int> settings;
  std::vector<bool> flags;
  std::vector<int> scores;
};

const Record kDefaults = {
    {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 64, 64, 10, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    std::vector<bool>(256, false),
    std::vector<int>(150, 0)};

// Settings as a player could set them (levels and sticks at the top of their
// ranges), badges with the top bit of their words, and scores whose
// checksums wrap past the int range.
Record PlayerRecord() {
  Record record{{-5, 1, 2, 3, 4, 2, 2, 3, 8, 9, 300, 200, 17, 13, 1, 1, 1, 17, 18, 19, 20, 21, 22,
                 23, INT_MAX},
                std::vector<bool>(256),
                std::vector<int>(150)};
  for (int i = 0; i < 256; ++i) record.flags[i] = (i < 224 && i % 3 == 0) || i == 31 || i == 255;
  for (int i = 0; i < 150; ++i) record.scores[i] = 1000 * i + 7;
  record.scores[3] = INT_MAX;
  record.scores[44] = INT_MIN;
  record.scores[59] = -1;
  return record;
}

void Apply(const Record& record, c_MyApp* app) {
  for (int i = 0; i < 25; ++i) app->m_Settings[i] = record.settings[i];
  for (int i = 0; i < 256; ++i) app->m_BadgeFlags[i] = record.flags[i];
  for (int i = 0; i < 150; ++i) app->m_HiScores[i] = record.scores[i];
}

// Compares the loaded part of the record: every setting and flag, and the
// scores of the three card types (entries 0 to 59).
void ExpectLoaded(c_MyApp* app, const Record& record) {
  for (int i = 0; i < 25; ++i) EXPECT_EQ(app->m_Settings[i], record.settings[i]) << "setting " << i;
  for (int i = 0; i < 256; ++i) EXPECT_EQ(app->m_BadgeFlags[i], record.flags[i]) << "flag " << i;
  for (int i = 0; i < 60; ++i) EXPECT_EQ(app->m_HiScores[i], record.scores[i]) << "score " << i;
}

TEST(Persistence, AFreshGameLoadsNothingAndSavesTheDefaultString) {
  GameHarness h;
  std::string printed = h.Printed();
  EXPECT_THAT(printed, HasSubstr("Highscores Loaded\n"));
  EXPECT_THAT(printed, Not(HasSubstr("Settings")));
  EXPECT_THAT(printed, Not(HasSubstr("Badge")));
  ExpectLoaded(h.app, kDefaults);

  std::string expected = "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|0|0|0|0|0|0|0|0|0|0|1483|";
  expected += "0|0|0|0|0|0|0|0|0|";
  for (int table = 0; table < 8; ++table) expected += "0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|";
  h.app->p_Save();
  EXPECT_EQ(h.StateFile(), expected);
  EXPECT_EQ(Values(expected).size(), 203u);
}

TEST(Persistence, SaveThenLoadGivesBackEverySettingFlagAndScore) {
  const Record record = PlayerRecord();
  std::string saved;
  {
    GameHarness h;
    Apply(record, h.app);
    h.Printed();
    rk_Game_DebugMode = 1;
    h.app->p_Save();
    rk_Game_DebugMode = 0;
    saved = h.StateFile();
    EXPECT_EQ(h.Printed(), saved + "\n");
  }
  std::vector<std::string> values = Values(saved);
  ASSERT_EQ(values.size(), 203u);
  // Flags 31 and 255 are the top bits of words 0 and 7; word 7 holds only that.
  EXPECT_EQ(values[26][0], '-');
  EXPECT_EQ(values[33], "-2147483648");

  GameHarness next;
  EXPECT_THAT(LoadFrom(next, saved),
              HasSubstr("Settings Loaded\nBadges Loaded\nHighscores Loaded\n"));
  ExpectLoaded(next.app, record);
  // Entries 60 on are written but never read back.
  for (int i = 60; i < 150; ++i) EXPECT_EQ(next.app->m_HiScores[i], 0) << "score " << i;
  // A whole state is no damaged one: nothing is kept aside.
  next.app->p_Save();
  EXPECT_FALSE(std::filesystem::exists(next.folder + "/.zorvexstate.damaged"));
}

// Collector cycles are paced by collected bytes, which saves hardly allocate:
// garbage a save left there, with its 203 strings, would pile up for hours.
TEST(Persistence, ABadgeIsSavedByTheUpdateThatAwardsIt) {
  GameHarness h;
  h.FinishLoading();
  h.app->p_AwardBadge(5);
  h.Update();
  std::vector<std::string> values = Values(h.StateFile());
  ASSERT_EQ(values.size(), 203u);
  EXPECT_EQ(values[26], "32");  // flag 5 is bit 5 of the first badge word
}

TEST(Persistence, SavingLeavesNothingInTheCollectedHeap) {
  GameHarness h;
  h.app->p_Save();
  const int before = gc_alloced_bytes;
  for (int i = 0; i < 50; ++i) h.app->p_Save();
  EXPECT_EQ(gc_alloced_bytes, before);
}

TEST(Persistence, ADamagedSectionResetsOnlyItself) {
  const Record record = PlayerRecord();
  const std::vector<std::string> saved = Values(SavedBy([&](c_MyApp* app) { Apply(record, app); }));
  // Each case changes one value: the settings' checksum, a badge word, a
  // score of the second card type's table, that table's checksum.
  for (int damaged : {25, 29, 56 + 3, 56 + 20}) {
    SCOPED_TRACE("value " + std::to_string(damaged));
    std::vector<std::string> values = saved;
    values[damaged] += "1";
    Record expected = record;
    if (damaged == 25) expected.settings = kDefaults.settings;
    if (damaged == 29) expected.flags = kDefaults.flags;
    if (damaged > 56) {
      // The second card type's table: its ten best and its last ten.
      for (int i = 10; i < 20; ++i) expected.scores[i] = expected.scores[i + 30] = 0;
    }
    GameHarness h;
    std::string printed = LoadFrom(h, Joined(values));
    EXPECT_THAT(printed, HasSubstr(damaged == 25 ? "Settings Checksum Invalid\n" : "Settings Loaded\n"));
    EXPECT_THAT(printed, HasSubstr(damaged == 29 ? "Badge Checksum Invalid\n" : "Badges Loaded\n"));
    EXPECT_THAT(printed, HasSubstr("Highscores Loaded\n"));
    ExpectLoaded(h.app, expected);
    // The damaged file is kept aside, whole, when the first save replaces it.
    h.app->p_Save();
    EXPECT_EQ(ReadFile(h.folder + "/.zorvexstate.damaged"), Joined(values));
  }
}

TEST(Persistence, ShortStringsLoadWhatTheyHold) {
  const Record record = PlayerRecord();
  std::vector<std::string> saved = Values(SavedBy([&](c_MyApp* app) { Apply(record, app); }));

  // Cut after the settings' checksum; cut before the first table's checksum
  // (no bar after the last value): what is whole loads, the rest is left.
  for (size_t cut : {26u, 55u}) {
    SCOPED_TRACE("cut after " + std::to_string(cut) + " values");
    std::string text = Joined(std::vector<std::string>(saved.begin(), saved.begin() + cut));
    Record expected = kDefaults;
    expected.settings = record.settings;
    if (cut == 55) {
      text.pop_back();
      expected.flags = record.flags;
    }
    GameHarness h;
    std::string printed = LoadFrom(h, text);
    EXPECT_THAT(printed, HasSubstr(cut == 26 ? "Settings Loaded\nHighscores Loaded\n"
                                             : "Settings Loaded\nBadges Loaded\nHighscores Loaded\n"));
    ExpectLoaded(h.app, expected);
    h.app->p_Save();
    EXPECT_EQ(ReadFile(h.folder + "/.zorvexstate.damaged"), text);
  }
  // Under 26 values the badge words come first; their sum wraps.
  {
    GameHarness h;
    std::string printed = LoadFrom(h, "5|0|0|0|0|0|0|-2147483648|-2147483643|");
    EXPECT_THAT(printed, HasSubstr("Badges Loaded\nHighscores Loaded\n"));
    EXPECT_THAT(printed, Not(HasSubstr("Settings")));
    Record expected = kDefaults;
    expected.flags[0] = expected.flags[2] = expected.flags[255] = true;
    ExpectLoaded(h.app, expected);
  }
  // Text that is no state at all changes nothing.
  {
    GameHarness h;
    EXPECT_EQ(LoadFrom(h, "not a saved game"), "Highscores Loaded\n");
    ExpectLoaded(h.app, kDefaults);
  }
}

TEST(Persistence, OutOfRangeLevelsAndSticksAreCleaned) {
  // Values a player typed in, under a checksum that matches them.
  std::string typed = SavedBy([](c_MyApp* app) {
    const int stored[][2] = {{6, 4}, {7, -1}, {15, 2}, {16, -3}, {10, 0}, {11, 63}, {12, 7}, {14, 0}};
    for (const auto& setting : stored) app->m_Settings[setting[0]] = setting[1];
  });
  GameHarness h;
  EXPECT_THAT(LoadFrom(h, typed), HasSubstr("Settings Loaded\n"));
  ExpectLoaded(h.app, kDefaults);
}

// Hands a finished game of this card type and score back to the menu, which records it.
void FinishGame(GameHarness& h, int cardType, int score) {
  h.app->m_CardType = cardType;
  h.app->m_Score = score;
  h.app->m_Screen = 2;
  h.Update();
}

// Saved values of the second card type: its last ten (newest first), its top ten.
std::vector<int> LastTen(const std::vector<std::string>& values) {
  std::vector<int> list;
  for (int j = 0; j < 10; ++j) list.push_back(std::stoi(values[56 + 2 * j + 1]));
  return list;
}
std::vector<int> TopTen(const std::vector<std::string>& values) {
  std::vector<int> list;
  for (int j = 0; j < 10; ++j) list.push_back(std::stoi(values[56 + 2 * j]));
  return list;
}
constexpr int kGamesPlayedValue = 20;

// A picture smaller than its frames ends the game while the first pictures
// load, before the state is read: the player's file must stay as it was.
TEST(PersistenceDeathTest, AnErrorBeforeTheStateIsReadLeavesTheFileAlone) {
  const std::string saved = SavedBy([](c_MyApp* app) { Apply(PlayerRecord(), app); });
  namespace fs = std::filesystem;
  const fs::path program = fs::temp_directory_path() / ("marvolet-small-logo-" + std::to_string(getpid()));
  fs::create_directories(program / "data");
  const fs::path data = fs::current_path() / "data";
  for (const auto& entry : fs::recursive_directory_iterator(data)) {
    const fs::path copy = program / "data" / fs::relative(entry.path(), data);
    if (entry.is_directory()) {
      fs::create_directories(copy);
    } else if (entry.path().filename().string().rfind("ZelkLogo", 0) == 0) {
      const unsigned char pixel[4] = {255, 255, 255, 255};
      stbi_write_png(copy.c_str(), 1, 1, 4, pixel, 4);
    } else {
      fs::create_symlink(entry.path(), copy);
    }
  }
  EXPECT_EXIT(
      {
        if (chdir(program.c_str()) != 0) std::exit(3);
        GameHarness h(640, 480, [&] {
          std::ofstream(".zorvexstate", std::ios::binary) << saved;
          std::ofstream((program / "state-folder").string()) << fs::current_path().string();
        });
        std::exit(4);
      },
      ::testing::ExitedWithCode(255), "");
  const std::string stateFolder = ReadFile((program / "state-folder").string());
  ASSERT_FALSE(stateFolder.empty());
  EXPECT_EQ(ReadFile(stateFolder + "/.zorvexstate"), saved);
  fs::remove_all(stateFolder);
  fs::remove_all(program);
}

// Closing the window in a game, or while its game-over overlay runs, records
// it as the pause menu's Quit does; once, however often the end hook runs.
TEST(PersistenceDeathTest, ClosingTheWindowRecordsTheGameInPlayOrJustOver) {
  auto startGame = [](GameHarness& h, bool over) {
    h.FinishLoading();
    h.app->m_CardType = 2;
    h.app->m_Screen = 11;
    h.Update(2);
    ASSERT_EQ(h.app->m_Screen, 10);
    h.app->m_Score = 150;
    if (!over) return;
    h.app->m_GameOver = 1;
    h.Update(30);
    ASSERT_EQ(h.app->m_Screen, 10);
  };
  auto expectRecordedOnce = [](GameHarness& h) {
    const std::vector<std::string> values = Values(h.StateFile());
    ASSERT_EQ(values.size(), 203u);
    EXPECT_EQ(LastTen(values), std::vector<int>({150, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(values[kGamesPlayedValue], "1");
  };
  for (bool over : {false, true}) {
    SCOPED_TRACE(over ? "game over" : "in play");
    {
      GameHarness h;
      startGame(h, over);
      EXPECT_EXIT(
          {
            h.KeyDown(KEY_WINDOW_CLOSE);
            h.Update();
            std::exit(3);
          },
          ::testing::ExitedWithCode(0), "");
      expectRecordedOnce(h);
    }
    GameHarness h;
    startGame(h, over);
    h.app->p_OnEnd();
    h.app->p_OnEnd();
    expectRecordedOnce(h);
  }
}

// The first of two copies in one folder, run as a process of its own by the
// test below (MARVOLET_FIRST_COPY names the folder): it records a game, says
// so on fd 3, waits for a byte on fd 4, records another and earns badge 5.
TEST(Persistence, FirstOfTwoCopies) {
  const char* folder = getenv("MARVOLET_FIRST_COPY");
  if (!folder) GTEST_SKIP() << "run by ASecondCopyAddsWhatItEarnedToWhatTheFirstStored";
  GameHarness a(640, 480, [&] { ASSERT_EQ(chdir(folder), 0); });
  a.FinishLoading();
  FinishGame(a, 2, 300);
  char byte = 0;
  ASSERT_EQ(write(3, "l", 1), 1);
  ASSERT_EQ(read(4, &byte, 1), 1);
  FinishGame(a, 2, 100);
  a.app->p_AwardBadge(5);
  a.Update();
}

// Two copies in one folder: the second cannot save while the first runs and
// says so on screen; once the first has gone, the second's next save adds its
// own games, counts and badges to what the first stored.
TEST(Persistence, ASecondCopyAddsWhatItEarnedToWhatTheFirstStored) {
  char shared[] = "/tmp/marvolet-copies-XXXXXX";
  ASSERT_NE(mkdtemp(shared), nullptr);
  const std::string folder = shared;
  std::ofstream(folder + "/.zorvexstate", std::ios::binary)
      << SavedBy([](c_MyApp* app) { app->m_Settings[kGamesPlayedValue] = 44; });
  // A process of its own (this program again), not a fork of this one.
  int loaded[2], go[2];
  ASSERT_EQ(pipe(loaded), 0);
  ASSERT_EQ(pipe(go), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, loaded[1], 3);
  posix_spawn_file_actions_adddup2(&actions, go[0], 4);
  std::string filter = "--gtest_filter=Persistence.FirstOfTwoCopies";
  std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
  char* argv[] = {program.data(), filter.data(), nullptr};
  std::string variable = "MARVOLET_FIRST_COPY=" + folder;
  char* envp[] = {variable.data(), nullptr};
  pid_t first = 0;
  ASSERT_EQ(posix_spawn(&first, program.c_str(), &actions, nullptr, argv, envp), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(loaded[1]);
  close(go[0]);
  // Closed however the test ends, so that the first copy never waits for ever.
  std::unique_ptr<int, void (*)(int*)> keepGo(&go[1], [](int* fd) { close(*fd); });
  std::unique_ptr<int, void (*)(int*)> keepLoaded(&loaded[0], [](int* fd) { close(*fd); });
  char byte = 0;
  ASSERT_EQ(read(loaded[0], &byte, 1), 1);
  {
    GameHarness b(640, 480, [&] { ASSERT_EQ(chdir(folder.c_str()), 0); });
    b.FinishLoading();
    FinishGame(b, 2, 200);
    b.app->p_AwardBadge(7);
    b.Update();
    EXPECT_EQ(b.app->m_StateNotice.Find(String("Not saving")), 0);
    EXPECT_EQ(std::count(&b.app->m_BadgeQueueId[0], &b.app->m_BadgeQueueId[0] + 13, kNoticeBanner), 1);

    ASSERT_EQ(write(go[1], "g", 1), 1);
    int status = 0;
    waitpid(first, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    FinishGame(b, 2, 250);
  }
  const std::vector<std::string> values = Values(ReadFile(folder + "/.zorvexstate"));
  ASSERT_EQ(values.size(), 203u);
  EXPECT_EQ(LastTen(values), std::vector<int>({250, 200, 100, 300, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(TopTen(values), std::vector<int>({300, 250, 200, 100, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(values[kGamesPlayedValue], "48");
  // Badge 5 earned by the first copy, 7 by the second.
  EXPECT_EQ(std::stoi(values[26]) & 0xff, (1 << 5) | (1 << 7));
  std::filesystem::remove_all(folder);
}

}  // namespace
