// game/persistence.cpp: the saved settings, badge flags and high scores, kept
// as one string of decimal values in three sections, each with its checksum.
//
// The string: settings 0 to 24 and their checksum; eight 32-bit badge words
// and their sum; then eight score tables of twenty values (top and last ten,
// interleaved) each followed by its checksum. Only the first three tables
// are ever read back. Sums wrap at 32 bits, so they are added as unsigned.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>

#include "game/app.h"
#include "game/badges.h"
#include "runtime/startup.h"

namespace {

constexpr int kSettingCount = 25;
constexpr int kBadgeWords = 8;
constexpr int kScoreTablesSaved = 8;
constexpr int kScoreTablesRead = 3;
// Each table holds the pairs j = 4 to 13; this is where they start and end.
constexpr int kFirstPair = 4;
constexpr int kLastPair = 13;
constexpr int kTableValues = 2 * (kLastPair - kFirstPair + 1);
constexpr int kStateValues =
    kSettingCount + 1 + kBadgeWords + 1 + kScoreTablesSaved * (kTableValues + 1);

// Positions of a score table's entries in m_HiScores for pair j.
int TopIndex(int table, int j) { return 10 * table + j - kFirstPair; }
int LastIndex(int table, int j) { return 10 * table + j + 26; }

uint32_t TableChecksum(const Array<int>& scores, int table) {
  uint32_t sum = 0;
  for (int j = kFirstPair; j <= kLastPair; ++j) {
    sum += static_cast<uint32_t>(j) * static_cast<uint32_t>(scores[TopIndex(table, j)]);
    sum += static_cast<uint32_t>(j + table - 1) * static_cast<uint32_t>(scores[LastIndex(table, j)]);
  }
  return sum;
}

uint32_t BadgeWord(const Array<bool>& flags, int word) {
  uint32_t bits = 0;
  for (int b = 0; b < 32; ++b) {
    if (flags[32 * word + b]) bits |= 1u << b;
  }
  return bits;
}

// Each value as a signed decimal followed by the separator. Built outside the
// collected heap: a save is rare, so its garbage would wait long for a cycle.
void Put(std::string& text, uint32_t value) {
  text += std::to_string(static_cast<int>(value));
  text += '|';
}

// Replaces a setting outside low..high with its default 0.
void ZeroUnlessWithin(Array<int>& settings, int index, int low, int high) {
  if (settings[index] < low || settings[index] > high) settings[index] = 0;
}

// The state string of these settings, flags and scores.
String StateString(const Array<int>& settings, const Array<bool>& flags, const Array<int>& scores) {
  std::string text;
  text.reserve(kStateValues * 12);

  uint32_t settingSum = 0;
  for (int i = 0; i < kSettingCount; ++i) {
    Put(text, static_cast<uint32_t>(settings[i]));
    settingSum += static_cast<uint32_t>(i) * static_cast<uint32_t>(settings[i]);
  }
  Put(text, settingSum);

  uint32_t badgeSum = 0;
  for (int k = 0; k < kBadgeWords; ++k) {
    uint32_t word = BadgeWord(flags, k);
    Put(text, word);
    badgeSum += word;
  }
  Put(text, badgeSum);

  for (int t = 0; t < kScoreTablesSaved; ++t) {
    for (int j = kFirstPair; j <= kLastPair; ++j) {
      Put(text, static_cast<uint32_t>(scores[TopIndex(t, j)]));
      Put(text, static_cast<uint32_t>(scores[LastIndex(t, j)]));
    }
    Put(text, TableChecksum(scores, t));
  }
  return String(text.c_str());
}

// Reads a state string into the arrays the way a start reads it: a section
// whose checksum fails is reset (settings to their start values, flags
// cleared, a score table zeroed) and a missing one is left as it is. `tell`
// prints what each section came to. True when every section was there, whole.
bool ReadState(const String& text, Array<int>& settings, Array<bool>& flags, Array<int>& scores,
               bool tell) {
  Array<String> parts = text.Split(String("|"));
  const int count = parts.Length();
  auto say = [tell](const char* line) {
    if (tell) rkPrint(String(line));
  };
  bool whole = true;

  // Without a full settings section the other sections sit where it would be.
  int badgeStart = 0;
  int scoreStart = kBadgeWords + 1;
  if (count >= kSettingCount + 1) {
    uint32_t sum = 0;
    for (int i = 0; i < kSettingCount; ++i) {
      settings[i] = parts[i].ToInt();
      sum += static_cast<uint32_t>(i) * static_cast<uint32_t>(settings[i]);
    }
    if (parts[kSettingCount].ToInt() == static_cast<int>(sum)) {
      say("Settings Loaded");
    } else {
      say("Settings Checksum Invalid");
      whole = false;
      for (int i = 0; i < kSettingCount; ++i) settings[i] = 0;
      settings[5] = 1;
    }
    badgeStart = kSettingCount + 1;
    scoreStart = badgeStart + kBadgeWords + 1;
  } else {
    whole = false;
  }

  const int badgeChecksum = badgeStart + kBadgeWords;
  if (count > badgeChecksum) {
    uint32_t sum = 0;
    for (int k = 0; k < kBadgeWords; ++k) {
      uint32_t word = static_cast<uint32_t>(parts[badgeStart + k].ToInt());
      for (int b = 0; b < 32; ++b) flags[32 * k + b] = ((word >> b) & 1u) != 0;
      sum += word;
    }
    if (parts[badgeChecksum].ToInt() == static_cast<int>(sum)) {
      say("Badges Loaded");
    } else {
      say("Badge Checksum Invalid");
      whole = false;
      for (int i = 0; i < 32 * kBadgeWords; ++i) flags[i] = false;
    }
  }

  // A table whose values are missing stops the reading; the rest keep theirs.
  int t = 0;
  for (; t < kScoreTablesRead && scoreStart + kTableValues < count; ++t) {
    for (int j = kFirstPair; j <= kLastPair; ++j) {
      int pair = scoreStart + 2 * (j - kFirstPair);
      scores[TopIndex(t, j)] = parts[pair].ToInt();
      scores[LastIndex(t, j)] = parts[pair + 1].ToInt();
    }
    if (parts[scoreStart + kTableValues].ToInt() != static_cast<int>(TableChecksum(scores, t))) {
      whole = false;
      for (int j = kFirstPair; j <= kLastPair; ++j) {
        scores[TopIndex(t, j)] = 0;
        scores[LastIndex(t, j)] = 0;
      }
    }
    scoreStart += kTableValues + 1;
  }
  return whole && t == kScoreTablesRead;
}

// The state to store when `stored` is not what this copy last read or wrote:
// another copy saved meanwhile. Its state is kept, and what this copy did since
// it last loaded or saved is added to it: badges joined, lifetime counts
// raised by this copy's own increase, the games this copy recorded entered in
// the lists, and the settings this copy changed. False when `stored` is not a
// whole state (missing or damaged): this copy's own state is then stored.
bool MergeStored(const c_MyApp* app, const String& stored, Array<int>& settings,
                 Array<bool>& flags, Array<int>& scores) {
  for (int i = 0; i < 150; ++i) scores[i] = app->m_HiScores[i];
  if (stored.IsEmpty() || !ReadState(stored, settings, flags, scores, false)) return false;
  Array<int> baseSettings(kSettingCount);
  Array<bool> baseFlags(32 * kBadgeWords);
  Array<int> baseScores(150);
  ReadState(app->m_BaseState, baseSettings, baseFlags, baseScores, false);

  for (int i = 0; i < kSettingCount; ++i) {
    const int mine = app->m_Settings[i];
    const int before = baseSettings[i];
    if (std::find(std::begin(kCounterSettings), std::end(kCounterSettings), i) !=
        std::end(kCounterSettings)) {
      const int64_t raised = static_cast<int64_t>(settings[i]) + mine - before;
      settings[i] = static_cast<int>(std::clamp<int64_t>(raised, 0, kCountLimit));
    } else if (mine != before) {
      settings[i] = mine;
    }
  }
  for (int i = 0; i < 32 * kBadgeWords; ++i) flags[i] = flags[i] || app->m_BadgeFlags[i];
  for (const RecordedGame& game : app->m_UnsavedGames) {
    RecordScore(scores, game.cardType, game.score);
  }
  return true;
}

}  // namespace

String c_MyApp::p_StateString() { return StateString(m_Settings, m_BadgeFlags, m_HiScores); }

// Nothing is saved before the state has been read: a save then (an error
// while the first pictures load, say) would replace the player's record with
// an empty one.
int c_MyApp::p_Save() {
  m_BadgesUnsaved = 0;
  if (m_StateLoaded == 0) return 0;
  Array<int> settings = m_Settings;
  Array<bool> flags = m_BadgeFlags;
  Array<int> scores = m_HiScores;
  const String stored = rk_app_LoadState();
  if (stored != m_StoredText) {
    Array<int> mergedSettings(kSettingCount);
    Array<bool> mergedFlags(32 * kBadgeWords);
    Array<int> mergedScores(150);
    if (MergeStored(this, stored, mergedSettings, mergedFlags, mergedScores)) {
      settings = mergedSettings;
      flags = mergedFlags;
      scores = mergedScores;
    }
  }
  const String state = StateString(settings, flags, scores);
  if (rk_Game_DebugMode == 1) rkPrint(state);
  // A state not stored changes nothing here: the next save tries again with
  // this copy's changes still counted from the same point.
  if (rk_app_SaveState(state) != 0) return 0;
  for (int i = 0; i < kSettingCount; ++i) m_Settings[i] = settings[i];
  for (int i = 0; i < 32 * kBadgeWords; ++i) m_BadgeFlags[i] = flags[i];
  for (int i = 0; i < 150; ++i) m_HiScores[i] = scores[i];
  m_StoredText = state;
  m_BaseState = state;
  m_UnsavedGames.clear();
  return 0;
}

// Every way out keeps the settings, badges and scores, and records a game in
// play or just over (its overlay still running), as the pause menu's Quit would.
int c_MyApp::p_OnEnd() {
  if (rk_app_CheckFrames()) {
    rkPrint(String("Frame check: ") + String(m_FramesChecked) + String(" frames drawn in part or kept, ") +
            String(m_FramesDiffering) + String(" differ from the whole frame"));
  }
  if (m_Screen == 10 || m_Screen == 2) {
    // As the hand-back to the menu does it, without the menu's chime.
    m_Screen = 2;
    p_LoadMenu();
    m_Screen = 1;
    return 0;
  }
  return p_Save();
}

int c_MyApp::p_Load() {
  String text = rk_app_LoadState();
  if (rk_Game_DebugMode == 1) rkPrint(text);
  const bool whole = ReadState(text, m_Settings, m_BadgeFlags, m_HiScores, true);

  // The on-screen pad's position and size, and the overscan margin.
  if (m_Settings[10] < 64) m_Settings[10] = 64;
  if (m_Settings[11] < 64) m_Settings[11] = 64;
  if (m_Settings[12] <= 7) m_Settings[12] = 10;
  if (m_Settings[kOverscanSetting] <= 0) m_Settings[kOverscanSetting] = 64;
  if (rk_Game_isOuya == 1) rk_Game_overscan = static_cast<float>(m_Settings[kOverscanSetting]);
  if (rk_Game_isOuya == 0) {
    m_Settings[kOverscanSetting] = 1;
    rk_Game_overscan = 0;
  }
  // The file is plain text a player can edit: the sound and music levels
  // index four-entry tables and the stick settings are flags, so a value
  // out of range falls back to its default rather than reading past a table.
  ZeroUnlessWithin(m_Settings, 6, 0, 3);
  ZeroUnlessWithin(m_Settings, 7, 0, 3);
  ZeroUnlessWithin(m_Settings, 15, 0, 1);
  ZeroUnlessWithin(m_Settings, 16, 0, 1);
  rkPrint(String("Highscores Loaded"));

  // What was reset here may yet be recovered by hand from the file: it is
  // kept aside before the first save replaces it.
  if (!text.IsEmpty() && !whole) rk_app_StateDamaged();
  m_StoredText = text;
  m_BaseState = p_StateString();
  m_UnsavedGames.clear();
  m_StateLoaded = 1;
  return 0;
}
