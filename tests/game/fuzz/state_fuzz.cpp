// tests/game/fuzz/state_fuzz.cpp: feeds state files to p_Load on a real game
// record, through the desktop host's reading of the file on disk, and checks
// what any state file may leave behind.
//
// Input: the first byte picks the shape. Even: the rest is the state file's
// bytes as they are. Odd: the rest fills settings, badge flags and scores,
// the game writes them as its state string, and further bytes may then
// damage that text (bit 1) so that strings with valid checksums but any
// values get through, as well as near-valid ones. After every load each setting the game draws
// or reads by table is in range, no score past the read tables changed, and
// the file saved from it loads back to exactly itself, byte for byte. A generated string
// left whole must load as written, bar the clean-up of out-of-range values.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "game/app.h"
#include "host/data_path.h"
#include "host/glfw_game.h"

namespace {

constexpr int kSettings = 25;
constexpr int kFlags = 256;
constexpr int kScoresRead = 60;

// The desktop host without a window: its state file is ./.zorvexstate.
class FuzzHost : public RkGlfwGame {
 public:
  FuzzHost() : RkGlfwGame(nullptr) {}
};

const char kStateFile[] = ".zorvexstate";

FuzzHost* host = nullptr;
c_MyApp* app = nullptr;

void Fail(const char* what) {
  fprintf(stderr, "state_fuzz: %s\n", what);
  abort();
}

std::string ReadStateFile() {
  std::string bytes;
  if (FILE* file = fopen(kStateFile, "rb")) {
    char block[4096];
    for (size_t got; (got = fread(block, 1, sizeof block, file)) > 0;) bytes.append(block, got);
    fclose(file);
  }
  return bytes;
}

void WriteStateFile(const uint8_t* data, size_t size) {
  FILE* file = fopen(kStateFile, "wb");
  if (!file || fwrite(data, 1, size, file) != size || fclose(file) != 0) Fail("cannot write the state file");
}

void SetUpOnce() {
  // Every load prints its messages; at millions of inputs that is noise.
  if (!freopen("/dev/null", "w", stdout)) Fail("cannot silence standard output");
  // The state file lives in the working folder: a private one, in memory where there is one.
  static char folder[] = "/dev/shm/marvolet-state-fuzz-XXXXXX";
  static char fallback[] = "/tmp/marvolet-state-fuzz-XXXXXX";
  const char* made = mkdtemp(folder);
  if (!made) made = mkdtemp(fallback);
  if (!made || chdir(made) != 0) Fail("cannot make a working folder");
  host = new FuzzHost();
  rk_app__game = host;
  gc_clear_roots();
  gc_add_root(&rk_app__app);
  gc_add_root(&rk_app__delegate);
  rk_Game_InitGlobals1();  // the desktop build, debug off
  app = (new c_MyApp())->m_new();
}

// The record as start-up leaves it just before loading.
void StartUpState() {
  for (int i = 0; i < kSettings; ++i) app->m_Settings[i] = 0;
  app->m_Settings[5] = 1;
  for (int i = 0; i < kFlags; ++i) app->m_BadgeFlags[i] = false;
  for (int i = 0; i < app->m_HiScores.Length(); ++i) app->m_HiScores[i] = 0;
}

struct Reader {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  unsigned Byte() { return at < size ? data[at++] : 0; }
  // Mostly small values, where the game's limits lie; now and then any int.
  int Value() {
    if (Byte() < 224) return static_cast<int8_t>(Byte());
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
    return static_cast<int>(value);
  }
};

struct Generated {
  int settings[kSettings];
  bool flags[kFlags];
  int scores[kScoresRead];
};

std::string Narrow(const String& text) {
  std::string bytes;
  for (int i = 0; i < text.Length(); ++i) bytes += static_cast<char>(text[i]);
  return bytes;
}

// A few edits of the saved text: characters changed, inserted or erased, or
// a cut anywhere or next to the n-th bar (with or without that bar).
std::string Damage(std::string text, Reader& in) {
  static const char kChars[] = "0123456789|-+ x";
  for (int edits = 1 + in.Byte() % 4; edits > 0; --edits) {
    size_t at = (in.Byte() << 8 | in.Byte()) % (text.size() + 1);
    char ch = kChars[in.Byte() % (sizeof kChars - 1)];
    switch (in.Byte() % 5) {
      case 0:
        if (at < text.size()) text[at] = ch;
        break;
      case 1:
        text.insert(at, 1, ch);
        break;
      case 2:
        text.erase(at, 1 + in.Byte() % 8);
        break;
      case 3:
        text.resize(at);
        break;
      default: {
        size_t bar = 0;
        for (unsigned n = in.Byte(); n > 0 && bar != std::string::npos; --n) {
          bar = text.find('|', bar + 1);
        }
        if (bar != std::string::npos) text.resize(bar + (ch & 1));
        break;
      }
    }
  }
  return text;
}

String Generate(Reader& in, Generated& made, bool damage) {
  for (int i = 0; i < kSettings; ++i) app->m_Settings[i] = made.settings[i] = in.Value();
  for (int i = 0; i < kFlags; i += 8) {
    unsigned bits = in.Byte();
    for (int b = 0; b < 8; ++b) app->m_BadgeFlags[i + b] = made.flags[i + b] = (bits >> b) & 1;
  }
  for (int i = 0; i < kScoresRead; ++i) app->m_HiScores[i] = made.scores[i] = in.Value();
  const String text = app->p_StateString();
  if (!damage) return text;
  return String(Damage(Narrow(text), in).c_str());
}

// What the clean-up makes of a setting loaded from a valid section.
int Cleaned(int index, int value) {
  if (index == 6 || index == 7) return value >= 0 && value <= 3 ? value : 0;
  if (index == 15 || index == 16) return value == 0 || value == 1 ? value : 0;
  if (index == 10 || index == 11) return value < 64 ? 64 : value;
  if (index == 12) return value <= 7 ? 10 : value;
  return index == 14 ? 1 : value;
}

void CheckInRange() {
  const Array<int>& s = app->m_Settings;
  if (s[6] < 0 || s[6] > 3 || s[7] < 0 || s[7] > 3) Fail("a sound or music level outside 0..3");
  if (s[15] < 0 || s[15] > 1 || s[16] < 0 || s[16] > 1) Fail("a stick setting outside 0..1");
  if (s[10] < 64 || s[11] < 64) Fail("the pad position below 64");
  if (s[12] < 8) Fail("the pad size below 8");
  if (s[14] != 1 || rk_Game_overscan != 0) Fail("an overscan kept on the desktop");
  for (int i = kScoresRead; i < app->m_HiScores.Length(); ++i) {
    if (app->m_HiScores[i] != 0) Fail("a score past the read tables changed");
  }
}

void CheckLoadedAsWritten(const Generated& made) {
  for (int i = 0; i < kSettings; ++i) {
    if (app->m_Settings[i] != Cleaned(i, made.settings[i])) Fail("a setting differs from the file");
  }
  for (int i = 0; i < kFlags; ++i) {
    if (app->m_BadgeFlags[i] != made.flags[i]) Fail("a badge flag differs from the file");
  }
  for (int i = 0; i < kScoresRead; ++i) {
    if (app->m_HiScores[i] != made.scores[i]) Fail("a score differs from the file");
  }
}

// Saves, overwrites everything a load restores, loads the saved file again.
void CheckReloadsToItself() {
  app->p_Save();
  const std::string saved = ReadStateFile();
  for (int i = 0; i < kSettings; ++i) app->m_Settings[i] = 7919 * (i + 1);
  for (int i = 0; i < kFlags; ++i) app->m_BadgeFlags[i] = !app->m_BadgeFlags[i];
  for (int i = 0; i < kScoresRead; ++i) app->m_HiScores[i] ^= 0x5A5A5A;
  app->p_Load();
  app->p_Save();
  if (ReadStateFile() != saved) Fail("a saved state does not load back to itself");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!app) SetUpOnce();
  Reader in{data, size};
  unsigned shape = in.Byte();
  bool generated = (shape & 1) != 0;
  bool damaged = (shape & 2) != 0;
  Generated made;
  if (generated) {
    const std::string text = ToUtf8(Generate(in, made, damaged));
    WriteStateFile(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  } else {
    WriteStateFile(data + (size > 0), size - (size > 0));
  }

  StartUpState();
  app->p_Load();
  CheckInRange();
  if (generated && !damaged) CheckLoadedAsWritten(made);
  CheckReloadsToItself();
  // The host collects after every event; here after every input.
  gc_collect();
  return 0;
}
