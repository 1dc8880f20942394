// host/game.h: the host object and the delegate interface it drives.
//
// The host knows nothing of the application: it passes every event to one
// delegate, each inside a guard that turns an escaping program exception into
// the uncaught-exception report, and runs one collector step after each.
#pragma once

#include <cstdio>

#include "runtime/array.h"
#include "runtime/gc.h"

class AudioSink;

// A display mode as the host reports it (the desktop host fills width and height).
class RkDisplayMode : public Object {
 public:
  int width = 0;
  int height = 0;
  int depth = 0;
  int hertz = 0;
  int flags = 0;
};

class RkGameDelegate : public Object {
 public:
  virtual void StartGame() {}
  virtual void SuspendGame() {}
  virtual void ResumeGame() {}
  virtual void UpdateGame() {}
  virtual void RenderGame() {}
  virtual void KeyEvent(int event, int data) {}
  virtual void MouseEvent(int event, int data, float x, float y) {}
  virtual void TouchEvent(int event, int data, float x, float y) {}
  virtual void MotionEvent(int event, int data, float x, float y, float z) {}
  virtual void DiscardGraphics() {}
};

// Counts the GL contexts opened so far; surfaces compare it with the count
// their texture was made under to tell that the texture was lost.
extern int glfwGraphicsSeq;

class RkGame {
 public:
  static RkGame* _game;

  RkGame();
  virtual ~RkGame() {}

  virtual void SetDelegate(RkGameDelegate* delegate) { _gameDelegate = delegate; }
  virtual RkGameDelegate* Delegate() { return _gameDelegate; }
  virtual void SetKeyboardEnabled(bool enabled) { _keysEnabled = enabled; }
  virtual bool KeyboardEnabled() { return _keysEnabled; }
  virtual void SetUpdateRate(int hertz) { _updateHz = hertz; }
  virtual int UpdateRate() { return _updateHz; }
  virtual bool Started() { return _isStarted; }
  virtual bool Suspended() { return _isSuspended; }
  virtual int Millisecs() { return 0; }
  virtual int GetDate(Array<int> date);
  // 0 when the state is stored; negative when it is not (nothing is lost
  // then: the caller keeps its state and tries again at its next save).
  virtual int SaveState(String state) { return -1; }
  // What is stored now; may be asked again before a save, to merge with what
  // another copy of the game stored meanwhile.
  virtual String LoadState() { return String(); }
  // A short line for the player when saving has stopped working, once per
  // cause; else empty. The console has the whole story already.
  virtual String TakeStateNotice() { return String(); }
  // The application found the state it loaded damaged: the stored copy is
  // set aside before a save first replaces it.
  virtual void StateDamaged() {}
  virtual String LoadString(String path);
  virtual bool PollJoystick(int unit, Array<float> stickX, Array<float> stickY,
                            Array<float> triggers, Array<bool> buttons) {
    return false;
  }
  virtual int OpenUrl(String url) { return 0; }
  // A page has nowhere to go once the program ends: the game asks first.
  virtual bool InPage() { return false; }
  // 1 while the game is shown full screen, 0 in a window, -1 where the host
  // has no full screen to offer.
  virtual int FullScreen() { return -1; }
  // Data that comes while the game runs (a page fetches what only a game in
  // play uses once its menu shows): asked for once, then true until it is in.
  virtual void FetchLaterData() {}
  virtual bool DataArriving() { return false; }
  virtual int SetMouseVisible(bool visible) { return 0; }
  virtual int GetDeviceWidth() { return 0; }
  virtual int GetDeviceHeight() { return 0; }
  virtual int SetDeviceWindow(int width, int height, int flags) { return 0; }
  virtual Array<RkDisplayMode*> GetDisplayModes() { return Array<RkDisplayMode*>(); }
  virtual RkDisplayMode* GetDesktopMode() { return nullptr; }
  virtual int SetSwapInterval(int interval) { return 0; }
  // Called from a render that would draw the frame already on screen again:
  // true when the host can leave that frame showing, and then presents
  // nothing for this render; false when the render must draw.
  virtual bool FrameStillShown() { return false; }
  virtual String PathToFilePath(String path) { return path; }
  virtual FILE* OpenFile(String path, String mode);
  // The whole file as a new malloc'ed buffer that the caller owns, or null.
  virtual unsigned char* LoadData(String path, int* length);
  virtual unsigned char* LoadImageData(String path, int* width, int* height, int* depth) {
    return nullptr;
  }
  // Only the w x h block at (x, y) of the picture (width, height and depth
  // are still the whole picture's), or null; a host that can decode a part
  // alone spares the rest. Here: the whole picture, cut.
  virtual unsigned char* LoadImagePart(String path, int x, int y, int w, int h, int* width,
                                       int* height, int* depth);
  // Names a data file that cannot be loaded, and why (once per file).
  virtual void TellLoadFailure(const String& path, const char* reason) {}
  virtual unsigned char* LoadAudioData(String path, int* length, int* channels, int* format,
                                       int* hertz) {
    return nullptr;
  }
  // Decodes the sound into the sink a block at a time (audio/sink.h); false
  // when it cannot (said once on the error output) or the sink stopped it.
  virtual bool DecodeAudio(String path, AudioSink& sink) { return false; }

  // Writes the uncaught-exception report and ends the process.
  [[noreturn]] virtual void Die(ThrowableObject* ex);
  // Marks the delegate, then runs one step of the collector, between events.
  virtual void gc_collect();

  // The guarded event dispatch.
  virtual void StartGame();
  virtual void SuspendGame();
  virtual void ResumeGame();
  virtual void UpdateGame();
  virtual void RenderGame();
  virtual void KeyEvent(int event, int data);
  virtual void MouseEvent(int event, int data, float x, float y);
  virtual void TouchEvent(int event, int data, float x, float y);
  virtual void MotionEvent(int event, int data, float x, float y, float z);
  virtual void DiscardGraphics();

 protected:
  // Calls `event` on the delegate inside the exception guard, then collects.
  template <class Event>
  void Dispatch(Event event);

  RkGameDelegate* _gameDelegate = nullptr;
  bool _keysEnabled = false;
  int _updateHz = 0;
  bool _isStarted = false;
  bool _isSuspended = false;
  // Events being dispatched right now: an event sent from inside another
  // (the key releases of a window change made during an update) runs no
  // collector step, since the application's locals are not roots.
  int _dispatchDepth = 0;
};
