// host/web/web_game.h: the host in a browser page. The shared host runs
// unchanged over the page's window system; the browser owns the loop, which
// runs one iteration per animation frame. (The shared host keeps its desktop
// names, RkGlfwGame and glfwGraphicsSeq, though no GLFW runs in a page.)
#pragma once

#include "host/glfw_game.h"
#include "host/web/web_window.h"

class RkWebGame : public RkGlfwGame, public RkTouchListener {
 public:
  static RkWebGame* _webGame;

  RkWebGame();

  // Starts the game and hands the loop to the browser; returns at once.
  void Run() override;
  void UpdateGame() override;
  // Each save reaches the browser's storage at once, not when the page closes.
  // Only while this tab holds the page's lock.
  int SaveState(String state) override;
  // The page's own storage troubles first, then the state file's.
  String TakeStateNotice() override;
  int OpenUrl(String url) override;
  bool InPage() override { return true; }
  // The browser's full screen, as the page has it (web/index.html).
  int FullScreen() override;
  // The page's fetch of what a game in play uses (web/index.html).
  void FetchLaterData() override;
  bool DataArriving() override;
  // The page keeps its one canvas: after the first, a call only enters or
  // leaves the browser's full screen.
  int SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                    int stencil, bool fullscreen) override;
  void OnTouch(int event, int finger, double x, double y) override;
  void Refit() { _webWindow.Refit(); }

  // The whole life of the page's program: runtime, application, then the loop.
  static void Main(int argc, const char* argv[]);

 private:
  static void Frame(void* game);
  void RunFrame();

  RkWebWindow _webWindow;
};
