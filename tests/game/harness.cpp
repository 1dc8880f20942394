// tests/game/harness.cpp: the headless game host of the game tests.
#include "tests/game/harness.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "runtime/startup.h"

namespace {

std::string Utf8(const String& text) {
  std::string out;
  for (int i = 0; i < text.Length(); ++i) out += static_cast<char>(text[i] & 0x7f);
  return out;
}

std::string Words(std::initializer_list<std::string> words) {
  std::string line;
  for (const std::string& word : words) line += (line.empty() ? "" : " ") + word;
  return line;
}

std::string Num(float value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

}  // namespace

gxtkSample* RecordingAudio::LoadSample(String path) {
  loaded.push_back(Utf8(path));
  return loadsSucceed ? new gxtkSample() : nullptr;
}
int RecordingAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
  if (keepLog) log.push_back(Words({"play", "ch", std::to_string(channel), "flags", std::to_string(flags)}));
  return 0;
}
int RecordingAudio::StopChannel(int channel) {
  if (keepLog) log.push_back(Words({"stop", std::to_string(channel)}));
  return 0;
}
int RecordingAudio::SetVolume(int channel, float volume) {
  if (keepLog) log.push_back(Words({"volume", std::to_string(channel), Num(volume)}));
  return 0;
}
int RecordingAudio::SetPan(int channel, float pan) {
  if (keepLog) log.push_back(Words({"pan", std::to_string(channel), Num(pan)}));
  return 0;
}
int RecordingAudio::SetRate(int channel, float rate) {
  if (keepLog) log.push_back(Words({"rate", std::to_string(channel), Num(rate)}));
  return 0;
}
int RecordingAudio::PlayMusic(String path, int flags) {
  if (keepLog) log.push_back(Words({"music", Utf8(path), std::to_string(flags)}));
  return 0;
}
int RecordingAudio::StopMusic() {
  if (keepLog) log.push_back("music stop");
  return 0;
}
int RecordingAudio::PauseMusic() {
  if (keepLog) log.push_back("music pause");
  return 0;
}
int RecordingAudio::ResumeMusic() {
  if (keepLog) log.push_back("music resume");
  return 0;
}
int RecordingAudio::SetMusicVolume(float volume) {
  if (keepLog) log.push_back(Words({"music volume", Num(volume)}));
  return 0;
}
std::vector<std::string> RecordingAudio::Only(const std::string& prefix) const {
  std::vector<std::string> lines;
  for (const std::string& line : log) {
    if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
  }
  return lines;
}

GameHarness::GameHarness(int width, int height, const std::function<void()>& beforeStart) {
  // No sound card here: the real device opens OpenAL's silent back end.
  setenv("ALSOFT_DRIVERS", "null", 1);
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd)) previousDir_ = cwd;
  char scratch[] = "/tmp/marvolet-game-XXXXXX";
  if (mkdtemp(scratch)) folder = scratch;
  EXPECT_EQ(chdir(folder.c_str()), 0);
  // The program folder (with the data folder) is where the test program lives.
  host.SetProgramFolder(String(previousDir_.c_str()));

  previousGl_ = SetGlLayer(&gl);
  gl.windowWidth = width;
  gl.windowHeight = height;
  gl.keepVertices = false;
  gc_clear_roots();
  gc_release_all();
  rkInit();
  gc_init2();
  if (beforeStart) beforeStart();
  testing::internal::CaptureStdout();
  capturing_ = true;
  app = new c_MyApp();
  app->m_new();
  host.SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, false);
  host.StartGame();
  audio = new RecordingAudio();
  gc_assign(rk_app__delegate->m_Audio, static_cast<gxtkAudio*>(audio));
  rk_audio_SetAudioDevice(audio);
  Render();
}

GameHarness::~GameHarness() {
  if (capturing_) {
    // Failure messages went into the capture too: show them.
    std::string printed = testing::internal::GetCapturedStdout();
    if (testing::Test::HasFailure()) fputs(printed.c_str(), stderr);
  }
  gc_clear_roots();
  gc_release_all();
  rk_app__app = nullptr;
  rk_app__delegate = nullptr;
  rk_input_device = nullptr;
  rk_audio_device = nullptr;
  rk_graphics_device = rk_graphics_renderDevice = nullptr;
  rk_graphics_context = nullptr;
  SetGlLayer(previousGl_);
  if (!previousDir_.empty() && chdir(previousDir_.c_str()) != 0) ADD_FAILURE() << "chdir back";
  if (!folder.empty()) system(("rm -rf '" + folder + "'").c_str());
}

std::string GameHarness::Printed() {
  std::string text = testing::internal::GetCapturedStdout();
  if (testing::Test::HasFailure()) fputs(text.c_str(), stderr);
  testing::internal::CaptureStdout();
  return text;
}

void GameHarness::Update(int count) {
  for (int i = 0; i < count; ++i) {
    window.now += 1.0 / 60;
    host.millis += (host.millis % 3 == 0) ? 17 : 16;
    host.UpdateGame();
    if (collect) gc_collect();
  }
}

void GameHarness::Render() {
  host.RenderGame();
  if (collect) gc_collect();
}

int GameHarness::FinishLoading() {
  int updates = 0;
  while (app->m_LoadStep != 0 && updates < 40) {
    Update();
    ++updates;
  }
  return updates;
}

void GameHarness::Resize(int width, int height) {
  window.windowWidth = width;
  window.windowHeight = height;
  gl.windowWidth = width;
  gl.windowHeight = height;
}

void GameHarness::KeyDown(int code) { rk_input_device->p_KeyEvent(::KeyDown, code); }
void GameHarness::KeyUp(int code) { rk_input_device->p_KeyEvent(::KeyUp, code); }
void GameHarness::Char(int character) { rk_input_device->p_KeyEvent(::KeyChar, character); }

void GameHarness::MouseMove(float x, float y) {
  rk_input_device->p_MouseEvent(::MouseMove, 0, x, y);
}
void GameHarness::MouseDown() {
  rk_input_device->p_MouseEvent(::MouseDown, 0, rk_input_device->m_PointerX,
                                rk_input_device->m_PointerY);
}
void GameHarness::MouseUp() {
  rk_input_device->p_MouseEvent(::MouseUp, 0, rk_input_device->m_PointerX,
                                rk_input_device->m_PointerY);
}

void GameHarness::Pad(int unit, const RkJoystickReading& reading) {
  window.joysticks[unit] = reading;
}

void GameHarness::Stick(int unit, float x, float y) {
  RkJoystickReading reading;
  reading.isGamepad = true;
  reading.axisCount = 6;
  reading.buttonCount = 15;
  reading.axes[0] = reading.gamepadAxes[0] = x;
  reading.axes[1] = reading.gamepadAxes[1] = y;
  reading.gamepadAxes[4] = reading.gamepadAxes[5] = -1;
  Pad(unit, reading);
}

std::vector<DrawRecord> GameHarness::Records() const {
  std::vector<DrawRecord> records;
  for (int r = 0; r + kRecordFloats <= app->m_DrawLen; r += kRecordFloats) {
    DrawRecord record;
    for (int i = 0; i < kRecordFloats; ++i) record.f[i] = app->m_DrawList[r + i];
    records.push_back(record);
  }
  return records;
}

std::vector<DrawRecord> GameHarness::RecordsOf(float kind) const {
  std::vector<DrawRecord> records;
  for (const DrawRecord& record : Records()) {
    if (record.kind() == kind) records.push_back(record);
  }
  return records;
}

std::string GameHarness::DrawnText() const {
  std::string text;
  for (const DrawRecord& record : RecordsOf(static_cast<float>(app->m_FontSlot))) {
    text += static_cast<char>(static_cast<int>(record.f[6]) + 32);
  }
  return text;
}

std::string GameHarness::StateFile() const {
  std::ifstream file(".zorvexstate", std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void GameHarness::WriteStateFile(const std::string& text) const {
  std::ofstream file(".zorvexstate", std::ios::binary);
  file << text;
}
