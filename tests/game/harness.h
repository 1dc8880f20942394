// tests/game/harness.h: the real game object on a headless host. A fake
// window system with a fake clock, a GL layer that records draw calls, a
// sound device that records what it is asked to play, and input injected
// straight into the input device, so a test drives whole updates and renders
// and asserts on the game's fields and its display list.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game/app.h"
#include "graphics/gl_recorder.h"
#include "tests/host/fake_window.h"

// A sound device that loads nothing from disk and plays nothing: every
// request is logged as a short line ("play 3 ch 1", "volume 1 0.75", ...).
class RecordingAudio : public gxtkAudio {
 public:
  std::vector<std::string> log;
  // Files asked for through LoadSample, in order.
  std::vector<std::string> loaded;
  // When false every load fails, as with a missing file.
  bool loadsSucceed = true;
  // Off for long runs: requests are then not logged.
  bool keepLog = true;

  gxtkSample* LoadSample(String path) override;
  int PlaySample(gxtkSample* sample, int channel, int flags) override;
  int StopChannel(int channel) override;
  int SetVolume(int channel, float volume) override;
  int SetPan(int channel, float pan) override;
  int SetRate(int channel, float rate) override;
  int PlayMusic(String path, int flags) override;
  int StopMusic() override;
  int PauseMusic() override;
  int ResumeMusic() override;
  int SetMusicVolume(float volume) override;
  // Log lines that start with `prefix`.
  std::vector<std::string> Only(const std::string& prefix) const;
};

// One display-list record, as floats.
struct DrawRecord {
  float f[kRecordFloats];
  float kind() const { return f[0]; }
  float x() const { return f[1]; }
  float y() const { return f[2]; }
};

// The game host of the tests: a desktop host on the fake window system.
class GameHost : public TestHost {
 public:
  using TestHost::TestHost;
  int millis = 1000;
  int Millisecs() override { return millis; }
  // Whether the window still shows the last frame (the test host never presents).
  bool frameOnScreen = false;
  bool FrameStillShown() override { return frameOnScreen; }
  // Pictures whose path holds this are not there yet, as while a download runs.
  std::string notYetThere;
  // A picture whose path holds this reads as a blank one of the given size,
  // as if its file had been replaced.
  std::string replaced;
  int replacedWidth = 0;
  int replacedHeight = 0;
  unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override {
    const std::string name = std::string(String::CString<char>(path));
    if (!notYetThere.empty() && name.find(notYetThere) != std::string::npos) return nullptr;
    if (!replaced.empty() && name.find(replaced) != std::string::npos) {
      *width = replacedWidth, *height = replacedHeight, *depth = 4;
      return static_cast<unsigned char*>(calloc(1, 4 * replacedWidth * replacedHeight));
    }
    return TestHost::LoadImageData(path, width, height, depth);
  }
  // Parts are cut from the pictures above.
  unsigned char* LoadImagePart(String path, int x, int y, int w, int h, int* width, int* height,
                               int* depth) override {
    return RkGame::LoadImagePart(path, x, y, w, h, width, height, depth);
  }
  // Data a page fetches once the menu shows: the times asked, and whether it is on its way.
  int laterDataAsked = 0;
  bool dataArriving = false;
  void FetchLaterData() override { ++laterDataAsked; }
  bool DataArriving() override { return dataArriving; }
  // A page's host when set, with the browser's full screen (-1: it has none).
  bool inPage = false;
  int pageFullScreen = 0;
  bool InPage() override { return inPage; }
  int FullScreen() override { return inPage ? pageFullScreen : TestHost::FullScreen(); }
};

class GameHarness {
 public:
  // Starts a fresh game in a window of this size: devices, p_OnCreate (which
  // loads the state file of the working directory) and one render. The
  // working directory is a fresh scratch folder per harness.
  // `beforeStart` runs after the globals have their start values and before
  // the game starts (to switch on the usage ping, say).
  explicit GameHarness(int width = 640, int height = 480,
                       const std::function<void()>& beforeStart = nullptr);
  ~GameHarness();
  GameHarness(const GameHarness&) = delete;
  GameHarness& operator=(const GameHarness&) = delete;

  c_MyApp* app = nullptr;
  EventLog log;
  FakeWindowSystem window{&log};
  GameHost host{&window};
  // Run a collector step after each update and render, as the real host does
  // (the test host only counts them, so that objects in test locals survive).
  bool collect = false;
  GlRecorder gl;
  RecordingAudio* audio = nullptr;
  std::string folder;

  // One update as the host runs it (input begin, p_OnUpdate, input end); the
  // clock moves on by one 60 Hz step first.
  void Update(int count = 1);
  void Render();
  // Updates until the loader is done (at most 40); the number it took.
  int FinishLoading();
  // Resizes the window the host reports (the next render notices it).
  void Resize(int width, int height);

  // Input in the game's key-code space; pointer positions in device pixels.
  void KeyDown(int code);
  void KeyUp(int code);
  // Ends the input's update, as the host does after each: this update's
  // presses stop counting, for tests that read keys between updates.
  void EndOfUpdate() { rk_input_device->p_EndUpdate(); }
  void MouseMove(float x, float y);
  void MouseDown();
  void MouseUp();
  void Char(int character);
  // Connects gamepad `unit` with its left stick at (x, y) as GLFW 3 reports
  // it (y negative when pushed up); the next update polls it.
  void Stick(int unit, float x, float y);
  // Connects gamepad `unit` with this raw reading.
  void Pad(int unit, const RkJoystickReading& reading);

  std::vector<DrawRecord> Records() const;
  // Records of one kind (an image slot or a kRecord constant).
  std::vector<DrawRecord> RecordsOf(float kind) const;
  // The characters drawn by p_Text in the font slot, in order ("" if none).
  std::string DrawnText() const;

  // The state file's contents ("" when there is none).
  std::string StateFile() const;
  void WriteStateFile(const std::string& text) const;
  // What the game printed on standard output since the last call (or the start).
  std::string Printed();

 private:
  GlLayer* previousGl_ = nullptr;
  std::string previousDir_;
  bool capturing_ = false;
};
