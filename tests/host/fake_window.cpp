// tests/host/fake_window.cpp: the fake window system and the recording delegate.
#include "tests/host/fake_window.h"

#include <sstream>

void FakeWindowSystem::Log(const std::string& word) {
  if (log_) log_->push_back(word);
}

bool FakeWindowSystem::OpenWindow(const RkWindowRequest& request, RkWindowListener* windowListener) {
  lastRequest = request;
  listener = windowListener;
  if (refuseToOpen) return false;
  open = true;
  ++opened;
  windowWidth = request.width;
  windowHeight = request.height;
  Log(request.fullscreen ? "open fullscreen" : "open window");
  return true;
}

void FakeWindowSystem::CloseWindow() {
  if (!open) return;
  open = false;
  Log("close");
}

void FakeWindowSystem::GetWindowSize(int* width, int* height) {
  *width = open ? windowWidth : 0;
  *height = open ? windowHeight : 0;
}

void FakeWindowSystem::SwapBuffers() {
  Log("swap");
  if (framesLeft > 0) --framesLeft;
}

void FakeWindowSystem::GetCursorPos(double* x, double* y) {
  *x = cursorX;
  *y = cursorY;
}

void FakeWindowSystem::PollEvents() {
  Log("poll");
  if (onPump) onPump();
}

void FakeWindowSystem::WaitEvents() {
  Log("wait");
  if (onPump) onPump();
}

void FakeWindowSystem::Sleep(double seconds) {
  std::ostringstream word;
  word << "sleep " << static_cast<int>(seconds * 1e6 + 0.5);
  Log(word.str());
  now += seconds;
}

bool FakeWindowSystem::DesktopMode(RkVideoMode* mode) {
  if (!hasDesktop) return false;
  *mode = desktop;
  return true;
}

int FakeWindowSystem::VideoModes(RkVideoMode* out, int capacity) {
  int count = 0;
  for (const RkVideoMode& mode : modes) {
    if (count == capacity) break;
    out[count++] = mode;
  }
  return count;
}

void FakeWindowSystem::ReadJoystick(int joystick, RkJoystickReading* reading) {
  auto found = joysticks.find(joystick);
  *reading = found == joysticks.end() ? RkJoystickReading() : found->second;
}

void RecordingDelegate::UpdateGame() {
  log_->push_back("update");
  ++updates;
  if (onUpdate) onUpdate(updates);
}

void RecordingDelegate::RenderGame() {
  log_->push_back("render");
  if (onRender) onRender();
}

namespace {

std::string Words(const char* name, int event, int data, std::initializer_list<float> values = {}) {
  std::ostringstream text;
  text << name << ' ' << event << ' ' << data;
  for (float value : values) text << ' ' << value;
  return text.str();
}

}  // namespace

void RecordingDelegate::KeyEvent(int event, int data) { log_->push_back(Words("key", event, data)); }

void RecordingDelegate::MouseEvent(int event, int data, float x, float y) {
  log_->push_back(Words("mouse", event, data, {x, y}));
}

void RecordingDelegate::TouchEvent(int event, int data, float x, float y) {
  log_->push_back(Words("touch", event, data, {x, y}));
}

void RecordingDelegate::MotionEvent(int event, int data, float x, float y, float z) {
  log_->push_back(Words("motion", event, data, {x, y, z}));
}

std::vector<EventLog> Passes(const EventLog& log) {
  std::vector<EventLog> passes;
  for (const std::string& word : log) {
    if (word == "render") passes.emplace_back();
    if (!passes.empty()) passes.back().push_back(word);
  }
  return passes;
}

std::vector<int> UpdatesPerPass(const EventLog& log) {
  std::vector<int> counts;
  for (const EventLog& pass : Passes(log)) counts.push_back(static_cast<int>(Only(pass, "update").size()));
  return counts;
}

EventLog Only(const EventLog& log, const std::string& prefix) {
  EventLog kept;
  for (const std::string& word : log) {
    if (word.compare(0, prefix.size(), prefix) == 0) kept.push_back(word);
  }
  return kept;
}
