// host/web/web_game.cpp: the browser's loop around the shared host, saving to
// the page's storage (web/pre.js), links and touches.
#include "host/web/web_game.h"

#include <emscripten.h>
#include <emscripten/html5.h>
#include <malloc.h>

#include "host/data_path.h"
#include "runtime/startup.h"

namespace {

// Updates run so far, for the page's tests (a hidden page must run none).
int updateCount = 0;

// An animation frame a little early still takes the update due: frames
// jitter by a few milliseconds, and waiting a whole frame for each late one
// would stutter. A quarter step is less than half a frame at 120 Hz, where
// every other frame must pass.
constexpr double kEarlyFraction = 0.25;

// Why the page stopped saving, numbered as web/pre.js reports it.
const char* const kStorageNotices[] = {
    "Not saving: another copy is running",
    "Not saving: browser storage is full",
    "Not saving: browser storage is blocked",
};
constexpr int kStorageCauses = sizeof kStorageNotices / sizeof kStorageNotices[0];

EM_BOOL OnVisibility(int type, const EmscriptenVisibilityChangeEvent* e, void* data) {
  // A hidden page gets no animation frames, so the loop cannot see it hide:
  // the game goes quiet here and resumes in the first frame it is shown.
  auto* game = static_cast<RkWebGame*>(data);
  if (e->hidden && !game->Suspended()) game->SuspendGame();
  return EM_FALSE;
}

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE int marvolet_updates() { return updateCount; }

// Bytes the program holds of its heap now, for the page's measurements (the
// heap itself only grows, to the most ever held at once).
extern "C" EMSCRIPTEN_KEEPALIVE int marvolet_heap_in_use() { return mallinfo().uordblks; }

// The page is closing, or going into the back/forward cache: the game's end
// hook records a game in progress or just ended and saves it. The hook stays
// set, for a page that is shown again and closed later.
extern "C" EMSCRIPTEN_KEEPALIVE void marvolet_page_hide() {
  void (*hook)() = rk_end_hook;
  if (!hook) return;
  try {
    hook();
  } catch (ThrowableObject* ex) {
    RkWebGame::_webGame->Die(ex);
  }
}

// The page calls this when a detail level's data has arrived after the start.
extern "C" EMSCRIPTEN_KEEPALIVE void marvolet_refit() {
  if (RkWebGame::_webGame) RkWebGame::_webGame->Refit();
}

RkWebGame* RkWebGame::_webGame = nullptr;

RkWebGame::RkWebGame() : RkGlfwGame(&_webWindow), _webWindow(this) { _webGame = this; }

void RkWebGame::Main(int argc, const char* argv[]) {
  RkWebGame* game = new RkWebGame();
  try {
    rk_std_main(argc, argv);
  } catch (ThrowableObject* ex) {
    game->Die(ex);
  }
  if (game->Delegate()) game->Run();
}

void RkWebGame::Run() {
  SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
  if (!_window->WindowOpen()) {
    EM_ASM({ Module['marvoletFailed'] && Module['marvoletFailed']('WebGL'); });
    return;
  }
  emscripten_set_visibilitychange_callback(this, EM_FALSE, OnVisibility);
  StartGame();
  // Never returns: the page's program lives on in the browser's loop.
  emscripten_set_main_loop_arg(Frame, this, 0, 1);
}

void RkWebGame::UpdateGame() {
  ++updateCount;
  RkGlfwGame::UpdateGame();
}

void RkWebGame::Frame(void* game) { static_cast<RkWebGame*>(game)->RunFrame(); }

// The desktop loop's steps in one frame, without its sleep: events, suspend
// or resume, the updates due, then a render when anything moved.
void RkWebGame::RunFrame() {
  _window->PollEvents();
  FollowWindowFocus();
  if (_isSuspended) return;
  bool due = _updateHz == 0 || _updateDue == 0 ||
             _window->Time() >= _updateDue - _updateStep * kEarlyFraction;
  if (!due && _frameOnScreen) return;
  if (due) RunUpdates();
  // A kept frame draws nothing, and the page shows the last one it got.
  PresentFrame();
}

int RkWebGame::SaveState(String state) {
  // Another tab holds the page's lock, or this one has just taken it and is
  // still reading what that tab stored: the game tries again at its next save.
  if (!EM_ASM_INT({ return Module['marvoletMaySave'](); })) return -1;
  int result = RkGlfwGame::SaveState(state);
  if (result == 0) EM_ASM({ Module['marvoletFlush'](); });
  return result;
}

String RkWebGame::TakeStateNotice() {
  int cause = EM_ASM_INT({ return Module['marvoletTakeTrouble'](); });
  if (cause >= 0 && cause < kStorageCauses) return String(kStorageNotices[cause]);
  return RkGlfwGame::TakeStateNotice();
}

int RkWebGame::OpenUrl(String url) {
  std::string text = ToUtf8(url);
  EM_ASM({ window.open(UTF8ToString($0), '_blank', 'noopener'); }, text.c_str());
  return 0;
}

void RkWebGame::FetchLaterData() { EM_ASM({ Module['marvoletFetchLaterData'](); }); }

bool RkWebGame::DataArriving() { return EM_ASM_INT({ return Module['marvoletDataArriving'](); }); }

int RkWebGame::FullScreen() {
  return EM_ASM_INT({ return Module['marvoletFullScreen'] ? Module['marvoletFullScreen']() : -1; });
}

// Browsers grant full screen only soon after a key or a press; the update
// that asks runs in the animation frame after that input, which still counts.
int RkWebGame::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha,
                             int depth, int stencil, bool fullscreen) {
  if (!_window->WindowOpen()) {
    return RkGlfwGame::SetGlfwWindow(width, height, red, green, blue, alpha, depth, stencil,
                                     fullscreen);
  }
  EM_ASM({ Module['marvoletSetFullScreen'] && Module['marvoletSetFullScreen'](!!$0); }, fullscreen);
  return 0;
}

void RkWebGame::OnTouch(int event, int finger, double x, double y) {
  TouchEvent(event, finger, static_cast<float>(x), static_cast<float>(y));
}
