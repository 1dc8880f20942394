// host/game.cpp: the host's event guards and its exception and collector hooks.
#include "host/game.h"

#include <unistd.h>

#include <cstdlib>

#include "runtime/startup.h"

RkGame* RkGame::_game = nullptr;
int glfwGraphicsSeq = 0;

namespace {

bool StandardInputIsTerminal() { return isatty(STDIN_FILENO); }

}  // namespace

RkGame::RkGame() {
  _game = this;
  dbg_input_is_terminal = StandardInputIsTerminal;
}

void RkGame::Die(ThrowableObject* ex) {
  rkPrint(String("Zorvex Runtime Error : Uncaught Zorvex Exception"));
  exit(-1);
}

// The delegate is no root: marking it (when white) before every step keeps it
// alive even when nothing but the host holds it.
void RkGame::gc_collect() {
  gc_mark(_gameDelegate);
  ::gc_collect();
}

template <class Event>
void RkGame::Dispatch(Event event) {
  if (!_gameDelegate) return;
  ++_dispatchDepth;
  try {
    event(_gameDelegate);
  } catch (ThrowableObject* ex) {
    Die(ex);
  }
  if (--_dispatchDepth == 0) gc_collect();
}

void RkGame::StartGame() {
  if (_isStarted) return;
  _isStarted = true;
  Dispatch([](RkGameDelegate* d) { d->StartGame(); });
}

void RkGame::SuspendGame() {
  if (!_isStarted || _isSuspended) return;
  _isSuspended = true;
  Dispatch([](RkGameDelegate* d) { d->SuspendGame(); });
}

void RkGame::ResumeGame() {
  if (!_isStarted || !_isSuspended) return;
  _isSuspended = false;
  Dispatch([](RkGameDelegate* d) { d->ResumeGame(); });
}

void RkGame::UpdateGame() {
  if (!_isStarted || _isSuspended) return;
  Dispatch([](RkGameDelegate* d) { d->UpdateGame(); });
}

void RkGame::RenderGame() {
  if (!_isStarted) return;
  Dispatch([](RkGameDelegate* d) { d->RenderGame(); });
}

void RkGame::KeyEvent(int event, int data) {
  if (!_isStarted) return;
  Dispatch([=](RkGameDelegate* d) { d->KeyEvent(event, data); });
}

void RkGame::MouseEvent(int event, int data, float x, float y) {
  if (!_isStarted) return;
  Dispatch([=](RkGameDelegate* d) { d->MouseEvent(event, data, x, y); });
}

void RkGame::TouchEvent(int event, int data, float x, float y) {
  if (!_isStarted) return;
  Dispatch([=](RkGameDelegate* d) { d->TouchEvent(event, data, x, y); });
}

void RkGame::MotionEvent(int event, int data, float x, float y, float z) {
  if (!_isStarted) return;
  Dispatch([=](RkGameDelegate* d) { d->MotionEvent(event, data, x, y, z); });
}

void RkGame::DiscardGraphics() {
  if (!_isStarted) return;
  Dispatch([](RkGameDelegate* d) { d->DiscardGraphics(); });
}
