// game/persistence.cpp: the saved settings, badge flags and high scores, kept
// as one string of decimal values in three sections, each with its checksum.
//
// The string: settings 0 to 24 and their checksum; eight 32-bit badge words
// and their sum; then eight score tables of twenty values (top and last ten,
// interleaved) each followed by its checksum. Only the first three tables
// are ever read back. Sums wrap at 32 bits, so they are added as unsigned.
#include <cstdint>
#include <string>

#include "game/app.h"
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

// Writes the value into the next slot of `values`.
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

}  // namespace

String c_MyApp::p_StateString() {
  std::string text;
  text.reserve(kStateValues * 12);

  uint32_t settingSum = 0;
  for (int i = 0; i < kSettingCount; ++i) {
    Put(text, static_cast<uint32_t>(m_Settings[i]));
    settingSum += static_cast<uint32_t>(i) * static_cast<uint32_t>(m_Settings[i]);
  }
  Put(text, settingSum);

  uint32_t badgeSum = 0;
  for (int k = 0; k < kBadgeWords; ++k) {
    uint32_t word = BadgeWord(m_BadgeFlags, k);
    Put(text, word);
    badgeSum += word;
  }
  Put(text, badgeSum);

  for (int t = 0; t < kScoreTablesSaved; ++t) {
    for (int j = kFirstPair; j <= kLastPair; ++j) {
      Put(text, static_cast<uint32_t>(m_HiScores[TopIndex(t, j)]));
      Put(text, static_cast<uint32_t>(m_HiScores[LastIndex(t, j)]));
    }
    Put(text, TableChecksum(m_HiScores, t));
  }
  return String(text.c_str());
}

int c_MyApp::p_Save() {
  String state = p_StateString();
  if (rk_Game_DebugMode == 1) rkPrint(state);
  rk_app_SaveState(state);
  m_BadgesUnsaved = 0;
  return 0;
}

// Every way out keeps the settings, badges and scores; a game still running
// is not recorded.
int c_MyApp::p_OnEnd() { return p_Save(); }

int c_MyApp::p_Load() {
  String text = rk_app_LoadState();
  Array<String> parts = text.Split(String("|"));
  const int count = parts.Length();
  if (rk_Game_DebugMode == 1) rkPrint(text);

  // Without a full settings section the other sections sit where it would be.
  int badgeStart = 0;
  int scoreStart = kBadgeWords + 1;
  if (count >= kSettingCount + 1) {
    uint32_t sum = 0;
    for (int i = 0; i < kSettingCount; ++i) {
      m_Settings[i] = parts[i].ToInt();
      sum += static_cast<uint32_t>(i) * static_cast<uint32_t>(m_Settings[i]);
    }
    if (parts[kSettingCount].ToInt() == static_cast<int>(sum)) {
      rkPrint(String("Settings Loaded"));
    } else {
      rkPrint(String("Settings Checksum Invalid"));
      for (int i = 0; i < kSettingCount; ++i) m_Settings[i] = 0;
      m_Settings[5] = 1;
    }
    badgeStart = kSettingCount + 1;
    scoreStart = badgeStart + kBadgeWords + 1;
  }

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

  const int badgeChecksum = badgeStart + kBadgeWords;
  if (count > badgeChecksum) {
    uint32_t sum = 0;
    for (int k = 0; k < kBadgeWords; ++k) {
      uint32_t word = static_cast<uint32_t>(parts[badgeStart + k].ToInt());
      for (int b = 0; b < 32; ++b) m_BadgeFlags[32 * k + b] = ((word >> b) & 1u) != 0;
      sum += word;
    }
    if (parts[badgeChecksum].ToInt() == static_cast<int>(sum)) {
      rkPrint(String("Badges Loaded"));
    } else {
      rkPrint(String("Badge Checksum Invalid"));
      for (int i = 0; i < 32 * kBadgeWords; ++i) m_BadgeFlags[i] = false;
    }
  }

  // A table whose values are missing stops the reading; the rest keep theirs.
  for (int t = 0; t < kScoreTablesRead && scoreStart + kTableValues < count; ++t) {
    for (int j = kFirstPair; j <= kLastPair; ++j) {
      int pair = scoreStart + 2 * (j - kFirstPair);
      m_HiScores[TopIndex(t, j)] = parts[pair].ToInt();
      m_HiScores[LastIndex(t, j)] = parts[pair + 1].ToInt();
    }
    if (parts[scoreStart + kTableValues].ToInt() != static_cast<int>(TableChecksum(m_HiScores, t))) {
      for (int j = kFirstPair; j <= kLastPair; ++j) {
        m_HiScores[TopIndex(t, j)] = 0;
        m_HiScores[LastIndex(t, j)] = 0;
      }
    }
    scoreStart += kTableValues + 1;
  }
  rkPrint(String("Highscores Loaded"));
  return 0;
}
